#include "ui/VelbriLookAndFeel.h"

#include <cmath>

namespace
{
juce::Point<float> pointAtAngle (float cx, float cy, float distance, float angle)
{
    return { cx + distance * std::sin (angle), cy - distance * std::cos (angle) };
}
} // namespace

void VelbriLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                          float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle,
                                          juce::Slider& slider)
{
    const auto groove = juce::Rectangle<float> ((float) x + (float) (width - 6) / 2.0f, (float) y, 6.0f,
                                                (float) height);
    g.setColour (Palette::trackBackground);
    g.fillRect (groove);
    g.setColour (Palette::textMuted.withAlpha (0.5f));
    g.drawRect (groove, 1.0f);

    const auto top = juce::jmin (minSliderPos, maxSliderPos);
    const auto bottom = juce::jmax (minSliderPos, maxSliderPos);
    drawFaderValueBar (g, groove, sliderPos, slider);

    if (slider.getMinimum() < 0.0 && slider.getMaximum() > 0.0)
    {
        const auto zeroY = bottom + (float) slider.valueToProportionOfLength (0.0) * (top - bottom);
        g.setColour (Palette::textMuted.withAlpha (0.8f));
        g.drawLine ((float) x, zeroY, (float) (x + width), zeroY, 1.0f);
    }

    drawFaderCap (g, (float) x, (float) width, sliderPos, slider.isMouseOverOrDragging (false));
}

// The lit part of the groove: from the zero line when the range spans zero (a gain cut lights
// downwards), otherwise from the bottom of the travel, to the thumb. Accent at the anchor, glowing
// towards the end of the travel it points at.
void VelbriLookAndFeel::drawFaderValueBar (juce::Graphics& g, juce::Rectangle<float> groove, float thumbPos,
                                           juce::Slider& slider) const
{
    if (slider.getMaximum() <= slider.getMinimum())
        return;

    const auto spansZero = slider.getMinimum() < 0.0 && slider.getMaximum() > 0.0;
    const auto anchor = slider.getPositionOfValue (spansZero ? 0.0 : slider.getMinimum());
    const auto thumb = juce::jlimit (groove.getY(), groove.getBottom(), thumbPos);
    const auto barTop = juce::jmin (anchor, thumb);
    const auto barBottom = juce::jmax (anchor, thumb);

    if (barBottom - barTop <= 0.0f)
        return;

    const auto glowEnd = thumb < anchor ? groove.getY() : groove.getBottom();
    g.setGradientFill ({ Palette::accent, groove.getX(), anchor, Palette::accentGlow, groove.getX(), glowEnd, false });
    g.fillRect (juce::Rectangle<float> (groove.getX(), barTop, groove.getWidth(), barBottom - barTop));
}

void VelbriLookAndFeel::drawFaderCap (juce::Graphics& g, float x, float width, float thumbPos, bool hot)
{
    juce::Path cap;
    cap.addRoundedRectangle (x, thumbPos - 5.5f, width, 11.0f, 2.0f, 2.0f);

    juce::DropShadow (juce::Colours::black.withAlpha (0.55f), 5, { 0, 2 }).drawForPath (g, cap);

    juce::ColourGradient moulding (juce::Colours::white, x, thumbPos - 5.5f,
                                   hot ? Palette::accentBright : juce::Colour (0xff5a6280), x, thumbPos + 5.5f,
                                   false);
    moulding.addColour (0.18, juce::Colour (0xffd7dce6));
    moulding.addColour (0.46, juce::Colour (0xff98a3ba));
    moulding.addColour (0.58, juce::Colour (0xffb7c0d4));
    g.setGradientFill (moulding);
    g.fillPath (cap);

    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.strokePath (cap, juce::PathStrokeType (1.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));

    g.setColour (Palette::windowBackground.withAlpha (0.6f));
    g.drawLine (x + 2.0f, thumbPos, x + width - 2.0f, thumbPos, 1.5f);
}

void VelbriLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                          float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                                          juce::Slider&)
{
    const auto bounds = juce::Rectangle<float> ((float) x, (float) y, (float) width, (float) height).reduced (3.0f);
    const auto radius = juce::jmin (bounds.getWidth(), bounds.getHeight()) / 2.0f;
    const auto cx = bounds.getCentreX();
    const auto cy = bounds.getCentreY();
    const auto valueAngle = rotaryStartAngle + sliderPosProportional * (rotaryEndAngle - rotaryStartAngle);

    g.setColour (Palette::textMuted.withAlpha (0.5f));
    for (int i = 0; i <= 20; ++i)
    {
        const auto angle = rotaryStartAngle + ((float) i / 20.0f) * (rotaryEndAngle - rotaryStartAngle);
        g.drawLine ({ pointAtAngle (cx, cy, 0.86f * radius, angle), pointAtAngle (cx, cy, 0.98f * radius, angle) },
                    1.0f);
    }

    juce::Path valueArc;
    valueArc.addCentredArc (cx, cy, 0.78f * radius, 0.78f * radius, 0.0f, rotaryStartAngle, valueAngle, true);
    g.setGradientFill ({ Palette::accent, cx - radius, cy, Palette::accentGlow, cx + radius, cy, false });
    g.strokePath (valueArc,
                  juce::PathStrokeType (3.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    const auto body = bounds.reduced (0.34f * radius);
    juce::Path bodyPath;
    bodyPath.addEllipse (body);
    juce::DropShadow (juce::Colours::black.withAlpha (0.6f), 8, { 0, 3 }).drawForPath (g, bodyPath);

    g.setGradientFill ({ juce::Colour (0xff454b60), body.getTopLeft(), juce::Colour (0xff1a1c26),
                         body.getBottomRight(), false });
    g.fillEllipse (body);

    const auto highlightX = body.getX() + 0.32f * body.getWidth();
    g.setGradientFill ({ juce::Colours::white.withAlpha (0.35f), highlightX, body.getY() + 0.26f * body.getHeight(),
                         juce::Colours::transparentWhite, highlightX, body.getY() + 0.75f * body.getHeight(), true });
    g.fillEllipse (body);

    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.drawEllipse (body, 1.0f);

    const auto centre = juce::Point<float> (cx, cy);
    const auto tip = pointAtAngle (cx, cy, 0.6f * radius, valueAngle);
    g.setColour (Palette::accentGlow.withAlpha (0.4f));
    g.drawLine ({ centre, tip }, 4.0f);
    g.setGradientFill ({ Palette::accentGlow, centre, Palette::accentBright, tip, false });
    g.drawLine ({ centre, tip }, 2.0f);
}
