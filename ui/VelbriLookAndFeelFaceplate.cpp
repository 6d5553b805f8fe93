#include "ui/VelbriLookAndFeel.h"

namespace
{
const juce::Colour panelEdge { 0xff2a2e3d };

void drawTopHighlight (juce::Graphics& g, juce::Rectangle<float> area, float cornerRadius)
{
    g.setColour (juce::Colours::white.withAlpha (0.06f));
    g.drawLine (area.getX() + cornerRadius, area.getY() + 1.0f, area.getRight() - cornerRadius, area.getY() + 1.0f,
                1.0f);
}

void drawRail (juce::Graphics& g, juce::Rectangle<float> rail)
{
    g.setColour (juce::Colour (0xff0a0b10));
    g.fillRoundedRectangle (rail, 5.0f);

    g.setColour (juce::Colour (0xff1c1f2b));
    for (auto slotY = rail.getY() + 3.0f; slotY < rail.getBottom(); slotY += 6.0f)
        g.fillRect (rail.getX() + 1.0f, slotY, rail.getWidth() - 2.0f, 3.0f);

    g.setColour (juce::Colours::black);
    g.drawRoundedRectangle (rail, 5.0f, 1.0f);
}

void drawScrew (juce::Graphics& g, float sx, float sy)
{
    juce::ColourGradient dome (juce::Colour (0xff6a7186), sx + 4.16f, sy + 3.64f, juce::Colour (0xff0e0f14),
                               sx + 13.0f, sy + 13.0f, true);
    dome.addColour (0.55, juce::Colour (0xff363b4a));
    g.setGradientFill (dome);
    g.fillEllipse (sx, sy, 13.0f, 13.0f);

    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.drawEllipse (sx, sy, 13.0f, 13.0f, 1.0f);

    const auto cx = sx + 6.5f;
    const auto cy = sy + 6.5f;
    const auto arm = 4.16f;
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.drawLine (cx - arm, cy - arm, cx + arm, cy + arm, 1.0f);
    g.drawLine (cx - arm, cy + arm, cx + arm, cy - arm, 1.0f);
}
} // namespace

void VelbriLookAndFeel::drawFaceplate (juce::Graphics& g, juce::Rectangle<float> r, float cornerRadius)
{
    juce::ColourGradient body (juce::Colour (0xff1c1f2b), r.getX(), r.getY(), juce::Colour (0xff14161f), r.getX(),
                               r.getBottom(), false);
    body.addColour (0.6, juce::Colour (0xff14161f));
    g.setGradientFill (body);
    g.fillRoundedRectangle (r, cornerRadius);

    juce::ColourGradient sheen (juce::Colours::transparentWhite, r.getX(), r.getY(), juce::Colours::transparentWhite,
                                r.getRight(), r.getBottom(), false);
    sheen.addColour (0.42, juce::Colours::transparentWhite);
    sheen.addColour (0.5, juce::Colours::white.withAlpha (0.05f));
    sheen.addColour (0.58, juce::Colours::transparentWhite);
    g.setGradientFill (sheen);
    g.fillRoundedRectangle (r, cornerRadius);

    g.setColour (panelEdge);
    g.drawRoundedRectangle (r.reduced (0.5f), cornerRadius, 1.0f);
    drawTopHighlight (g, r, cornerRadius);
}

void VelbriLookAndFeel::drawSideRails (juce::Graphics& g, juce::Rectangle<float> r)
{
    const auto railHeight = r.getHeight() - 20.0f;
    drawRail (g, { r.getX() - 8.0f, r.getY() + 10.0f, 16.0f, railHeight });
    drawRail (g, { r.getRight() - 8.0f, r.getY() + 10.0f, 16.0f, railHeight });
}

void VelbriLookAndFeel::drawScrews (juce::Graphics& g, juce::Rectangle<float> r, float inset)
{
    const auto left = r.getX() + inset;
    const auto right = r.getRight() - inset - 13.0f;
    const auto top = r.getY() + inset;
    const auto bottom = r.getBottom() - inset - 13.0f;
    drawScrew (g, left, top);
    drawScrew (g, right, top);
    drawScrew (g, left, bottom);
    drawScrew (g, right, bottom);
}

void VelbriLookAndFeel::drawPanel (juce::Graphics& g, juce::Rectangle<float> a, bool accented, float cornerRadius)
{
    g.setColour (accented ? Palette::accent.withAlpha (0.1f) : juce::Colours::white.withAlpha (0.015f));
    g.fillRoundedRectangle (a, cornerRadius);

    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.drawRoundedRectangle (a.reduced (0.5f).translated (0.0f, 1.0f), cornerRadius, 2.0f);

    g.setColour (accented ? Palette::accent.withAlpha (0.3f) : panelEdge);
    g.drawRoundedRectangle (a.reduced (0.5f), cornerRadius, 1.0f);
    drawTopHighlight (g, a, cornerRadius);
}

void VelbriLookAndFeel::drawLed (juce::Graphics& g, juce::Rectangle<float> r, juce::Colour colour)
{
    juce::ColourGradient lens (juce::Colours::white, r.getX() + 0.35f * r.getWidth(), r.getY() + 0.3f * r.getHeight(),
                               colour.darker (0.4f), r.getRight(), r.getBottom(), true);
    lens.addColour (0.45, colour);
    g.setGradientFill (lens);
    g.fillEllipse (r);

    g.setColour (colour);
    g.drawEllipse (r.expanded (1.5f), 1.0f);
}
