#include "ui/VelbriLookAndFeel.h"

#include "ui/VelbriFontOptions.h"

#include <BinaryData.h>

#include <cmath>

namespace
{
constexpr float labelFontHeight = 15.0f;
constexpr float textButtonFontHeight = 18.0f;
constexpr float toggleCaptionFontHeight = 18.0f;
constexpr float comboBoxFontHeight = 20.0f;
constexpr float comboArrowCell = 18.0f;

// JUCE 7.0.5's FreeType loader dereferences a null face when the data is not a font, so anything
// without a TrueType, OpenType or collection signature is refused before it gets there.
bool hasFontSignature (const void* bytes, size_t size)
{
    if (bytes == nullptr || size < 12)
        return false;

    const auto* b = static_cast<const unsigned char*> (bytes);
    const auto tag = (juce::uint32) ((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]);
    return tag == 0x00010000 || tag == 0x4f54544f /* OTTO */ || tag == 0x74727565 /* true */
           || tag == 0x74746366 /* ttcf */;
}
} // namespace

VelbriLookAndFeel::FontSources VelbriLookAndFeel::FontSources::embedded()
{
    return { { BinaryData::ChakraPetchRegular_ttf, (size_t) BinaryData::ChakraPetchRegular_ttfSize },
             { BinaryData::VT323Regular_ttf, (size_t) BinaryData::VT323Regular_ttfSize } };
}

VelbriLookAndFeel::VelbriLookAndFeel (const AccentColours& accents)
    : VelbriLookAndFeel (accents, FontSources::embedded())
{
}

VelbriLookAndFeel::VelbriLookAndFeel (const AccentColours& accents, const FontSources& fonts)
{
    Palette::accentGlow = accents.glow;
    Palette::accent = accents.accent;
    Palette::accentBright = accents.accentBright;

    regularTypeface = createTypeface (fonts.regular);
    displayTypeface = createTypeface (fonts.display);

    installColours();
}

juce::Typeface::Ptr VelbriLookAndFeel::createTypeface (const FontSources::Data& data)
{
    if (! hasFontSignature (data.bytes, data.size))
        return nullptr;

    auto typeface = juce::Typeface::createSystemTypefaceFor (data.bytes, data.size);
    return VelbriFontOptions::isLoaded (typeface) ? typeface : nullptr;
}

void VelbriLookAndFeel::installColours()
{
    setColour (juce::ResizableWindow::backgroundColourId, Palette::windowBackground);
    setColour (juce::Label::textColourId, Palette::textPrimary);
    setColour (juce::ComboBox::backgroundColourId, Palette::controlBackground);
    setColour (juce::ComboBox::textColourId, Palette::textPrimary);
    setColour (juce::ComboBox::outlineColourId, Palette::textMuted);
    setColour (juce::PopupMenu::backgroundColourId, Palette::controlBackground);
    setColour (juce::PopupMenu::textColourId, Palette::textPrimary);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, Palette::accent);
    setColour (juce::Slider::textBoxTextColourId, Palette::textPrimary);
    setColour (juce::Slider::textBoxBackgroundColourId, Palette::controlBackground);
    setColour (juce::Slider::textBoxOutlineColourId, Palette::textMuted);
    setColour (juce::TextButton::textColourOffId, Palette::textPrimary);
    setColour (juce::TextButton::textColourOnId, Palette::windowBackground);
}

juce::Font VelbriLookAndFeel::makeFont (const juce::Typeface::Ptr& typeface, float height)
{
    return VelbriFontOptions().withHeight (height).withTypeface (typeface).toFont();
}

juce::Font VelbriLookAndFeel::getDisplayFont (float height) const
{
    return makeFont (displayTypeface, height);
}

juce::Font VelbriLookAndFeel::getTextButtonFont (juce::TextButton&, int)
{
    return makeFont (displayTypeface, textButtonFontHeight);
}

juce::Font VelbriLookAndFeel::getComboBoxFont (juce::ComboBox&)
{
    return makeFont (displayTypeface, comboBoxFontHeight);
}

juce::Font VelbriLookAndFeel::getLabelFont (juce::Label&)
{
    return makeFont (regularTypeface, labelFontHeight);
}

void VelbriLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                              bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    auto bounds = button.getLocalBounds().toFloat();

    if (shouldDrawButtonAsDown)
        g.setColour (Palette::accent);
    else if (shouldDrawButtonAsHighlighted)
        g.setColour (Palette::controlBackground.brighter (0.2f));
    else
        g.setColour (Palette::controlBackground);

    g.fillRect (bounds);
    g.setColour (Palette::textMuted);
    g.drawRect (bounds, 1.0f);
}

// The text-less toggle is the bypass switch: a pulsing red "REC" LED while the audio runs through
// the chain, a dim "BYPASS" once bypassed. A toggle with its own caption (SYNC) is an ordinary
// indicator instead: lit glow when on, dim when off, its own text beside it.
juce::Rectangle<int> VelbriLookAndFeel::toggleLedArea (juce::Rectangle<int> buttonBounds)
{
    return buttonBounds.withWidth (juce::jmin (buttonBounds.getWidth(), buttonBounds.getHeight()));
}

void VelbriLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    auto bounds = button.getLocalBounds().toFloat();
    const auto on = button.getToggleState();
    const auto side = juce::jmin (bounds.getWidth(), bounds.getHeight());
    const auto ledArea = juce::Rectangle<float> (bounds.getX() + 5.0f, bounds.getY() + 5.0f,
                                                 juce::jmax (side - 10.0f, 0.0f),
                                                 juce::jmax (bounds.getHeight() - 10.0f, 0.0f));
    const auto captionArea = juce::Rectangle<float> (bounds.getX() + side + 4.0f, bounds.getY(),
                                                     juce::jmax (bounds.getWidth() - side - 8.0f, 0.0f),
                                                     bounds.getHeight());
    const auto ownCaption = button.getButtonText();
    juce::Colour ledColour;
    juce::Colour captionColour;
    juce::String caption;

    if (ownCaption.isEmpty())
    {
        const auto pulse = 0.55 + 0.45 * std::sin (0.003 * juce::Time::getMillisecondCounterHiRes());
        ledColour = on ? Palette::textMuted : Palette::alert.withAlpha ((float) pulse);
        captionColour = on ? Palette::textMuted : Palette::textPrimary;
        caption = on ? "BYPASS" : "REC";
    }
    else
    {
        ledColour = on ? Palette::accentGlow : Palette::textMuted.withAlpha (0.35f);
        captionColour = on ? Palette::textPrimary : Palette::textMuted;
        caption = ownCaption;
    }

    g.setColour (ledColour);
    g.fillEllipse (ledArea);
    drawToggleCaption (g, caption, captionColour, captionArea, makeFont (displayTypeface, toggleCaptionFontHeight));
}

void VelbriLookAndFeel::drawToggleCaption (juce::Graphics& g, const juce::String& caption, juce::Colour colour,
                                           juce::Rectangle<float> area, juce::Font font)
{
    g.setColour (colour);
    g.setFont (font);
    g.drawText (caption, area, juce::Justification::centredLeft, true);
}

void VelbriLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
                                      juce::ComboBox& box)
{
    const auto bounds = juce::Rectangle<float> (0.0f, 0.0f, (float) width, (float) height);
    g.setColour (Palette::controlBackground);
    g.fillRect (bounds);
    g.setColour (box.isMouseOver (false) ? Palette::accentBright : Palette::textMuted);
    g.drawRect (bounds, 1.0f);

    const auto arrowBox = juce::jmin ((float) width, comboArrowCell);
    const auto cx = (float) width - arrowBox / 2.0f;
    const auto cy = (float) height / 2.0f;
    juce::Path arrow;
    arrow.addTriangle (cx - 4.0f, cy - 3.0f, cx + 4.0f, cy - 3.0f, cx, cy + 4.0f);
    g.setColour (Palette::accentGlow);
    g.fillPath (arrow);
}

juce::Rectangle<int> VelbriLookAndFeel::comboBoxTextArea (juce::Rectangle<int> boxBounds)
{
    auto inside = boxBounds.withZeroOrigin().reduced (1);
    inside.removeFromRight ((int) comboArrowCell - 1);
    return inside;
}

void VelbriLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (comboBoxTextArea (box.getBounds()));
    label.setBorderSize ({ 0, 4, 0, 1 });
    label.setFont (getComboBoxFont (box));
}
