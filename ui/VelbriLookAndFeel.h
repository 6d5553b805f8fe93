#pragma once

#include "ui/AccentColours.h"
#include "ui/Palette.h"
#include "ui/PresetBarLook.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The plug-in's dark, hardware-styled look: JUCE's dark V4 scheme with the palette's colours, two
// embedded typefaces, its own faders, knobs, buttons, toggles and combo boxes, and the static
// routines the editor paints its faceplate with.
class VelbriLookAndFeel : public juce::LookAndFeel_V4
{
public:
    // Raw font files to create the two typefaces from.
    struct FontSources
    {
        struct Data
        {
            const void* bytes = nullptr;
            size_t size = 0;
        };

        Data regular;
        Data display;

        // The Chakra Petch and VT323 files embedded in the plug-in.
        static FontSources embedded();
    };

    explicit VelbriLookAndFeel (const AccentColours& accents);
    VelbriLookAndFeel (const AccentColours& accents, const FontSources& fonts);

    // The VT323 pixel face at the given height (the footer uses 13).
    juce::Font getDisplayFont (float height) const;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;
    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                       int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    // The text fills the box left of the arrow's cell, so a narrow box still shows a short choice.
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;
    static juce::Rectangle<int> comboBoxTextArea (juce::Rectangle<int> boxBounds);
    juce::Font getLabelFont (juce::Label&) override;
    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle, juce::Slider&) override;
    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;

    // The square at the left of a toggle button that holds its LED: all a pulse needs to redraw.
    static juce::Rectangle<int> toggleLedArea (juce::Rectangle<int> buttonBounds);

    // The header's preset bar: a dark display plate with an arrow cell at each end and the preset's
    // name (and edited mark, or a message) in the display face between them.
    void drawPresetBar (juce::Graphics&, juce::Rectangle<int> bounds, const PresetBarLook& look) const;

    // Faceplate routines; they read only the palette.
    static void drawFaceplate (juce::Graphics&, juce::Rectangle<float> bounds, float cornerRadius);
    static void drawSideRails (juce::Graphics&, juce::Rectangle<float> bounds);
    static void drawScrews (juce::Graphics&, juce::Rectangle<float> bounds, float inset);
    static void drawPanel (juce::Graphics&, juce::Rectangle<float> area, bool accented, float cornerRadius);
    static void drawLed (juce::Graphics&, juce::Rectangle<float> bounds, juce::Colour colour);

    // The compressor's gain-reduction bar: a dark slot with the reduction growing down from its top,
    // in whole pixels, full length at 24 dB.
    static void drawGainReductionMeter (juce::Graphics&, juce::Rectangle<float> bounds, float reductionDb);
    static int gainReductionBarLength (float reductionDb, int height);

private:
    static juce::Font makeFont (const juce::Typeface::Ptr& typeface, float height);
    static juce::Typeface::Ptr createTypeface (const FontSources::Data& data);

    void installColours();
    void drawFaderValueBar (juce::Graphics&, juce::Rectangle<float> groove, float thumbPos, juce::Slider&) const;
    static void drawFaderCap (juce::Graphics&, float x, float width, float thumbPos, bool hot);
    static void drawToggleCaption (juce::Graphics&, const juce::String& caption, juce::Colour colour,
                                   juce::Rectangle<float> area, juce::Font font);

    juce::Typeface::Ptr regularTypeface;
    juce::Typeface::Ptr displayTypeface;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriLookAndFeel)
};
