#pragma once

#include "editor/AboutButton.h"
#include "editor/BackgroundCache.h"
#include "editor/HeaderActions.h"
#include "editor/SliderBinding.h"
#include "ui/VelbriChoiceBox.h"
#include "ui/VelbriGainReductionMeter.h"
#include "editor/PresetBar.h"
#include "ui/VelbriLadderMeter.h"
#include "ui/VelbriLedButton.h"
#include "ui/VelbriLedSwitch.h"
#include "ui/VelbriLedStackSelector.h"
#include "ui/VelbriLookAndFeel.h"
#include "ui/VelbriSlider.h"
#include "ui/VelbriFocusRing.h"
#include "ui/VelbriValueField.h"
#include "ui/KeyClickButton.h"
#include "ui/VelbriVuArc.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>

class VelbrinLumbraProcessor;
struct EditorLayout;
struct ModuleBounds;

// The plug-in window: a dark channel-strip faceplate with a fader per stage, LED switches and
// character selectors, the tempo panel and the level meters. It holds no parameter value of its
// own: faders, knobs, switches and the Oversample box are bound through attachments, the
// selectors and the tempo panel talk to the processor directly, and a 33 ms timer brings the
// displays up to date.
class VelbrinLumbraEditor : public juce::AudioProcessorEditor, public juce::Timer
{
public:
    explicit VelbrinLumbraEditor (VelbrinLumbraProcessor& processor);
    ~VelbrinLumbraEditor() override;

    // Blits the static faceplate from its cache, redrawing the cache first after a resize or a
    // change of display scale.
    void paint (juce::Graphics& g) override;
    void resized() override;

    // The static parts (faceplate, rails, screws, panels, artwork, footer) drawn directly: what the
    // cache holds.
    void paintStaticParts (juce::Graphics& g) const;
    const BackgroundCache& getBackgroundCache() const noexcept { return backgroundCache; }

    // Meters, bypass pulse, BPM readout and selector lights; each repaints only when what it shows
    // changed.
    void timerCallback() override;

    // Ctrl/Cmd+Z undoes the window's last edit, Ctrl/Cmd+Shift+Z (or Ctrl/Cmd+Y) redoes it. Reaches
    // the window only from a focused control: with none focused, every key stays the host's.
    bool keyPressed (const juce::KeyPress& key) override;

private:
    using ButtonAttachment = juce::AudioProcessorValueTreeState::ButtonAttachment;
    using ComboBoxAttachment = juce::AudioProcessorValueTreeState::ComboBoxAttachment;

    void styleTooltips();
    void setupFader (juce::Slider& slider, juce::Label& label, const juce::String& caption);
    void setupKnob (juce::Slider& knob);
    void styleSmallCaption (juce::Label& label, const juce::String& text);
    void setupSelector (VelbriLedStackSelector& selector, const juce::StringArray& choices,
                        const juce::String& parameterId);
    void setupTempoPanel();
    void setupStageOptions();
    void nameForScreenReaders (juce::Component& control, const juce::String& parameterId);
    void createAttachments();
    void setupKeyboardOrder();
    void refreshSyncButton();

    void applyLayout (const EditorLayout& layout);
    static void placeModule (const ModuleBounds& bounds, juce::Button& ledButton, VelbriLedStackSelector& selector,
                             juce::Slider& fader, juce::Label& caption);
    static void placeSpaceModule (const ModuleBounds& bounds, juce::Button& ledButton, juce::Slider& knob,
                                  juce::Label& knobCaption, VelbriLedStackSelector& selector, juce::Slider& fader,
                                  juce::Label& caption);

    void refreshMeters();
    void pulseBypassIndicator();

    void paintHeaderArtwork (juce::Graphics& g) const;
    void paintFooter (juce::Graphics& g) const;

    void commitTypedBpm();
    void refreshBpmReadout();
    void relightSelectors();
    int choiceIndexOf (const juce::String& parameterId) const;

    VelbrinLumbraProcessor& processorRef;
    VelbriLookAndFeel lookAndFeel;

    juce::Image wordmarkImage;
    juce::Image logoImage;

    juce::Rectangle<int> headerArea, inputArea, modulesArea, tempoArea, outputArea, spaceAArea, spaceBArea, titleArea;

    VelbriSlider inputSlider, lowSlider, highSlider, dynamicsSlider, spaceASlider, spaceBSlider, echoSlider,
        blendSlider, outputSlider;
    juce::Label inputLabel, lowLabel, highLabel, dynamicsLabel, spaceALabel, spaceBLabel, echoLabel, blendLabel,
        outputLabel;

    VelbriSlider spaceAPreDelayKnob, spaceBPreDelayKnob, echoFeedbackKnob;
    juce::Label spaceAPreDelayLabel, spaceBPreDelayLabel, echoFeedbackLabel;

    KeyClickButton<VelbriLedButton> lowEnableButton, highEnableButton, dynamicsEnableButton, spaceAEnableButton, spaceBEnableButton,
        echoEnableButton;
    VelbriLedStackSelector lowModeSelector, highModeSelector, dynamicsModeSelector, spaceATypeSelector,
        spaceBTypeSelector, echoDivisionSelector;

    KeyClickButton<juce::ToggleButton> bypassButton;
    KeyClickButton<juce::TextButton> tapButton { "TAP" };
    VelbriValueField bpmLabel;
    KeyClickButton<juce::ToggleButton> syncButton { "SYNC" };

    // The pre-delays' tempo lock beside their knobs, and the compressor's oversampling.
    KeyClickButton<VelbriLedSwitch> spaceAPreDelaySyncButton { "SYNC" }, spaceBPreDelaySyncButton { "SYNC" };
    VelbriChoiceBox oversampleBox;

    VelbriLadderMeter inputMeter, outputMeter;
    VelbriVuArc vuArc;
    VelbriGainReductionMeter gainReductionMeter;

    BackgroundCache backgroundCache;
    PresetBar presetBar { processorRef };
    AboutButton aboutButton;
    HeaderActions headerActions { processorRef };
    VelbriFocusRing focusRing;

    // Without a tooltip window in the editor no tooltip would ever appear. It keeps itself on top
    // of the other children and stays hidden until the mouse rests on a control with a tip.
    juce::TooltipWindow tooltipWindow { this, 700 };

    std::array<std::unique_ptr<SliderBinding>, 12> sliderBindings;
    std::array<std::unique_ptr<ButtonAttachment>, 9> buttonAttachments;
    std::unique_ptr<ComboBoxAttachment> oversampleAttachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbrinLumbraEditor)
};
