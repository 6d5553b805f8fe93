#include "tools/widget-sheet/ControlSheet.h"

#include "ui/VelbriLadderMeter.h"
#include "ui/VelbriLedButton.h"
#include "ui/VelbriLedStackSelector.h"
#include "ui/VelbriLookAndFeel.h"
#include "ui/VelbriVuArc.h"

#include <BinaryData.h>

#include <array>
#include <memory>

namespace
{
using Box = juce::Rectangle<int>;

struct FaderSpec
{
    const char* caption;
    double lo, hi, value;
    Box fader, label;
};

struct ModuleSpec
{
    Box led, selector;
    juce::StringArray items;
    int lit;
    bool on;
};

// The window at its default size, with sample values, drawn the way the editor will draw it.
class Faceplate : public juce::Component
{
public:
    Faceplate()
    {
        setLookAndFeel (&lookAndFeel);
        addFaders();
        addKnobs();
        addModules();
        addHeaderAndTempo();
        addMeters();
        setSize (1180, 560);
    }

    ~Faceplate() override { setLookAndFeel (nullptr); }

    void paint (juce::Graphics& g) override
    {
        const auto bounds = getLocalBounds().toFloat();
        VelbriLookAndFeel::drawFaceplate (g, bounds, 14.0f);
        VelbriLookAndFeel::drawSideRails (g, bounds);
        VelbriLookAndFeel::drawScrews (g, bounds, 12.0f);

        const std::pair<Box, bool> panels[] = {
            { { 22, 18, 1136, 54 }, false }, { { 22, 82, 108, 452 }, true },  { { 138, 82, 788, 452 }, false },
            { { 530, 90, 128, 436 }, true }, { { 658, 90, 128, 436 }, true }, { { 934, 82, 108, 452 }, false },
            { { 1050, 82, 108, 452 }, true },
        };
        for (const auto& [area, accented] : panels)
            VelbriLookAndFeel::drawPanel (g, area.toFloat(), accented, 8.0f);

        paintTitle (g, { 32, 26, 900, 38 });

        g.setColour (Palette::textMuted);
        g.setFont (lookAndFeel.getDisplayFont (13.0f));
        const juce::Rectangle<float> footer (16.0f, 541.0f, 1148.0f, 16.0f);
        g.drawText ("VELBRILABS LUMBRA  //  CHANNEL STRIP", footer, juce::Justification::centredLeft, true);
        g.drawText ("velbrilabs.com", footer, juce::Justification::centredRight, true);
    }

private:
    void paintTitle (juce::Graphics& g, Box area) const
    {
        // drawImage takes the context's current opacity, which the panels left at 0.06.
        g.setOpacity (1.0f);
        if (logo.isValid())
        {
            g.drawImage (logo, area.removeFromLeft (area.getHeight()).toFloat(), juce::RectanglePlacement::centred);
            area.removeFromLeft (8);
        }
        if (wordmark.isValid())
            g.drawImage (wordmark,
                         area.withSizeKeepingCentre (juce::jmin (200, area.getWidth()), area.getHeight() - 14).toFloat(),
                         juce::RectanglePlacement::xLeft | juce::RectanglePlacement::yMid);
    }

    void addFaders()
    {
        const FaderSpec specs[] = {
            { "Input", -24, 24, 3, { 46, 90, 76, 416 }, { 30, 506, 92, 20 } },
            { "Low", -12, 12, 4.5, { 150, 164, 120, 338 }, { 150, 502, 120, 20 } },
            { "High", -12, 12, -3, { 278, 164, 120, 338 }, { 278, 502, 120, 20 } },
            { "Dynamics", 0, 100, 60, { 406, 164, 120, 338 }, { 406, 502, 120, 20 } },
            { "Space A", 0, 100, 35, { 534, 230, 120, 272 }, { 534, 502, 120, 20 } },
            { "Space B", 0, 100, 20, { 662, 230, 120, 272 }, { 662, 502, 120, 20 } },
            { "Echo", 0, 100, 25, { 790, 230, 124, 272 }, { 790, 502, 124, 20 } },
            { "Blend", 0, 100, 100, { 942, 148, 92, 358 }, { 942, 506, 92, 20 } },
            { "Output", -60, 24, -2, { 1074, 90, 76, 416 }, { 1058, 506, 92, 20 } },
        };
        for (size_t i = 0; i < faders.size(); ++i)
        {
            const auto& spec = specs[i];
            auto& fader = faders[i];
            fader.setSliderStyle (juce::Slider::LinearVertical);
            fader.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 56, 18);
            fader.setRange (spec.lo, spec.hi, 0.1);
            fader.setValue (spec.value, juce::dontSendNotification);
            fader.setBounds (spec.fader);
            addAndMakeVisible (fader);

            auto& label = faderLabels[i];
            label.setText ("[ " + juce::String (spec.caption).toUpperCase() + " ]", juce::dontSendNotification);
            label.setJustificationType (juce::Justification::centred);
            label.setColour (juce::Label::textColourId, Palette::textPrimary);
            label.setBounds (spec.label);
            addAndMakeVisible (label);
        }
    }

    void addKnobs()
    {
        const std::pair<Box, Box> places[] = {
            { { 571, 119, 46, 46 }, { 534, 168, 120, 14 } },
            { { 699, 119, 46, 46 }, { 662, 168, 120, 14 } },
            { { 829, 119, 46, 46 }, { 790, 168, 124, 14 } },
        };
        const char* captions[] = { "PRE-DELAY", "PRE-DELAY", "FEEDBACK" };
        const double values[] = { 0.2, 0.55, 0.35 };
        for (size_t i = 0; i < knobs.size(); ++i)
        {
            knobs[i].setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
            knobs[i].setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
            knobs[i].setRange (0.0, 1.0);
            knobs[i].setValue (values[i], juce::dontSendNotification);
            knobs[i].setBounds (places[i].first);
            addAndMakeVisible (knobs[i]);

            knobLabels[i].setText (captions[i], juce::dontSendNotification);
            knobLabels[i].setJustificationType (juce::Justification::centred);
            knobLabels[i].setColour (juce::Label::textColourId, Palette::textMuted);
            knobLabels[i].setBounds (places[i].second);
            addAndMakeVisible (knobLabels[i]);
        }
    }

    void addModules()
    {
        const ModuleSpec specs[] = {
            { { 201, 96, 18, 18 }, { 150, 116, 120, 48 }, { "Warm", "Deep", "Air-Cut" }, 0, true },
            { { 329, 96, 18, 18 }, { 278, 116, 120, 48 }, { "Silk", "Sheen", "Crisp" }, 1, true },
            { { 457, 96, 18, 18 }, { 406, 116, 120, 48 }, { "Glue", "Snap", "Squash" }, 2, false },
            { { 585, 96, 18, 18 }, { 534, 182, 120, 48 }, { "Room", "Hall", "Cathedral" }, 1, true },
            { { 713, 96, 18, 18 }, { 662, 182, 120, 48 }, { "Close", "Wide", "Vast" }, 0, false },
            { { 843, 96, 18, 18 }, { 790, 182, 124, 48 }, { "Slap", "8th", "Quarter" }, 2, true },
        };
        for (size_t i = 0; i < leds.size(); ++i)
        {
            leds[i].setToggleState (specs[i].on, juce::dontSendNotification);
            leds[i].setBounds (specs[i].led);
            addAndMakeVisible (leds[i]);

            selectors[i].setItems (specs[i].items);
            selectors[i].setSelectedIndex (specs[i].lit);
            selectors[i].setBounds (specs[i].selector);
            addAndMakeVisible (selectors[i]);
        }
    }

    void addHeaderAndTempo()
    {
        bypass.setBounds (1038, 26, 110, 38);
        addAndMakeVisible (bypass);
        tap.setBounds (942, 90, 92, 24);
        addAndMakeVisible (tap);
        bpm.setText ("120 BPM", juce::dontSendNotification);
        bpm.setJustificationType (juce::Justification::centred);
        bpm.setColour (juce::Label::textColourId, Palette::textMuted);
        bpm.setBounds (942, 114, 92, 16);
        addAndMakeVisible (bpm);
        sync.setToggleState (true, juce::dontSendNotification);
        sync.setBounds (942, 130, 92, 18);
        addAndMakeVisible (sync);
    }

    void addMeters()
    {
        inputMeter.setLevelDb (-9.0f);
        inputMeter.setBounds (30, 90, 16, 416);
        addAndMakeVisible (inputMeter);
        outputMeter.setLevelDb (-2.5f);
        outputMeter.setBounds (1058, 90, 16, 416);
        addAndMakeVisible (outputMeter);
        vuArc.setLevelDb (-6.0f);
        vuArc.setBounds (944, 28, 92, 34);
        addAndMakeVisible (vuArc);
    }

    VelbriLookAndFeel lookAndFeel { { juce::Colour (0xffa6f0ff), juce::Colour (0xff3d7bff),
                                      juce::Colour (0xff7fa8ff) } };
    juce::Image wordmark { juce::ImageFileFormat::loadFrom (BinaryData::wordmark_png, BinaryData::wordmark_pngSize) };
    juce::Image logo { juce::ImageFileFormat::loadFrom (BinaryData::dog_png, BinaryData::dog_pngSize) };
    std::array<juce::Slider, 9> faders;
    std::array<juce::Label, 9> faderLabels;
    std::array<juce::Slider, 3> knobs;
    std::array<juce::Label, 3> knobLabels;
    std::array<VelbriLedButton, 6> leds;
    std::array<VelbriLedStackSelector, 6> selectors;
    juce::ToggleButton bypass;
    juce::TextButton tap { "TAP" };
    juce::Label bpm;
    juce::ToggleButton sync { "SYNC" };
    VelbriLadderMeter inputMeter, outputMeter;
    VelbriVuArc vuArc;
};
} // namespace

juce::Image renderControlSheet()
{
    Faceplate faceplate;
    juce::Image image (juce::Image::ARGB, faceplate.getWidth(), faceplate.getHeight(), true);
    juce::Graphics g (image);
    faceplate.paintEntireComponent (g, false);
    return image;
}
