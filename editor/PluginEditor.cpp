#include "editor/PluginEditor.h"

#include "editor/EditorLayout.h"
#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"

#include <BinaryData.h>

namespace
{
const AccentColours editorAccents { juce::Colour (0xffa6f0ff), juce::Colour (0xff3d7bff), juce::Colour (0xff7fa8ff) };

constexpr int defaultWidth = 1180;
constexpr int defaultHeight = 560;
constexpr int refreshIntervalMs = 33;

// One wheel notch or arrow key: half a decibel, one percent or one millisecond.
double stepFor (const juce::RangedAudioParameter& parameter)
{
    return parameter.getLabel() == "dB" ? 0.5 : 1.0;
}

juce::Image decodeImage (const void* data, int size)
{
    return juce::ImageFileFormat::loadFrom (data, static_cast<size_t> (size));
}
} // namespace

VelbrinLumbraEditor::VelbrinLumbraEditor (VelbrinLumbraProcessor& processor)
    : AudioProcessorEditor (processor)
    , processorRef (processor)
    , lookAndFeel (editorAccents)
{
    setLookAndFeel (&lookAndFeel);
    styleTooltips();

    wordmarkImage = decodeImage (BinaryData::wordmark_png, BinaryData::wordmark_pngSize);
    logoImage = decodeImage (BinaryData::dog_png, BinaryData::dog_pngSize);

    setupFader (inputSlider, inputLabel, "Input");
    setupFader (lowSlider, lowLabel, "Low");
    setupFader (highSlider, highLabel, "High");
    setupFader (dynamicsSlider, dynamicsLabel, "Dynamics");
    setupFader (spaceASlider, spaceALabel, "Space A");
    setupFader (spaceBSlider, spaceBLabel, "Space B");
    setupFader (echoSlider, echoLabel, "Echo");
    setupFader (blendSlider, blendLabel, "Blend");
    setupFader (outputSlider, outputLabel, "Output");

    setupKnob (spaceAPreDelayKnob);
    setupKnob (spaceBPreDelayKnob);
    setupKnob (echoFeedbackKnob);

    styleSmallCaption (spaceAPreDelayLabel, "PRE-DELAY");
    styleSmallCaption (spaceBPreDelayLabel, "PRE-DELAY");
    styleSmallCaption (echoFeedbackLabel, "FEEDBACK");

    setupSelector (lowModeSelector, { "Warm", "Deep", "Air-Cut" }, ParamIDs::lowMode);
    setupSelector (highModeSelector, { "Silk", "Sheen", "Crisp" }, ParamIDs::highMode);
    setupSelector (dynamicsModeSelector, { "Glue", "Snap", "Squash" }, ParamIDs::compMode);
    setupSelector (spaceATypeSelector, { "Room", "Hall", "Cathedral" }, ParamIDs::spaceAType);
    setupSelector (spaceBTypeSelector, { "Close", "Wide", "Vast" }, ParamIDs::spaceBType);
    setupSelector (echoDivisionSelector, { "Slap", "8th", "Quarter" }, ParamIDs::echoDivision);

    for (auto* ledButton : { &lowEnableButton, &highEnableButton, &dynamicsEnableButton, &spaceAEnableButton,
                             &spaceBEnableButton, &echoEnableButton })
        addAndMakeVisible (*ledButton);

    addAndMakeVisible (bypassButton);
    addAndMakeVisible (tapButton);

    setupTempoPanel();

    addAndMakeVisible (inputMeter);
    addAndMakeVisible (outputMeter);
    addAndMakeVisible (vuArc);
    addAndMakeVisible (gainReductionMeter);
    inputMeter.setTitle ("Input level");
    outputMeter.setTitle ("Output level");
    vuArc.setTitle ("Output VU");
    gainReductionMeter.setTitle ("Dynamics gain reduction");
    setupStageOptions();
    addAndMakeVisible (presetBar);
    addAndMakeVisible (aboutButton);
    addAndMakeVisible (headerActions);
    addChildComponent (focusRing);

    createAttachments();
    setupKeyboardOrder();

    setSize (defaultWidth, defaultHeight);
    setResizable (true, true);
    startTimer (refreshIntervalMs);
}

VelbrinLumbraEditor::~VelbrinLumbraEditor()
{
    stopTimer();
    setLookAndFeel (nullptr);
}

// A small dark plate with a thin accent edge, like the panels it floats over. Tooltips take their
// colours from the look and feel itself, not from the tooltip window.
void VelbrinLumbraEditor::styleTooltips()
{
    lookAndFeel.setColour (juce::TooltipWindow::backgroundColourId, Palette::controlBackground);
    lookAndFeel.setColour (juce::TooltipWindow::outlineColourId, Palette::accent.withAlpha (0.7f));
    lookAndFeel.setColour (juce::TooltipWindow::textColourId, Palette::textPrimary);
    tooltipWindow.setOpaque (false); // its corners are rounded: let the faceplate show there
}

void VelbrinLumbraEditor::setupFader (juce::Slider& slider, juce::Label& label, const juce::String& caption)
{
    slider.setSliderStyle (juce::Slider::LinearVertical);
    slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 56, 18);
    addAndMakeVisible (slider);

    label.setText ("[ " + caption.toUpperCase() + " ]", juce::dontSendNotification);
    label.setJustificationType (juce::Justification::centred);
    label.setColour (juce::Label::textColourId, Palette::textPrimary);
    addAndMakeVisible (label);
}

void VelbrinLumbraEditor::setupKnob (juce::Slider& knob)
{
    knob.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    knob.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    knob.setPopupDisplayEnabled (true, true, this); // a knob has no value box: show it while turning
    addAndMakeVisible (knob);
}

void VelbrinLumbraEditor::styleSmallCaption (juce::Label& label, const juce::String& text)
{
    label.setText (text, juce::dontSendNotification);
    label.setJustificationType (juce::Justification::centred);
    label.setColour (juce::Label::textColourId, Palette::textMuted);
    addAndMakeVisible (label);
}

// Selectors have no attachment: a click sets the choice directly, and the timer relights them
// from the parameter, which also brings in changes made by the host. Each click is one complete
// gesture, so hosts record it in their automation and undo history.
void VelbrinLumbraEditor::setupSelector (VelbriLedStackSelector& selector, const juce::StringArray& choices,
                                         const juce::String& parameterId)
{
    selector.setItems (choices);
    nameForScreenReaders (selector, parameterId);
    selector.setSelectedIndex (choiceIndexOf (parameterId));
    addAndMakeVisible (selector);

    selector.onChange = [this, parameterId, count = choices.size()] (int index)
    {
        if (auto* parameter = processorRef.parameters.getParameter (parameterId))
        {
            parameter->beginChangeGesture();
            parameter->setValueNotifyingHost (static_cast<float> (index)
                                              / static_cast<float> (juce::jmax (1, count - 1)));
            parameter->endChangeGesture();
        }
    };
}

// The index a choice parameter holds, truncated toward zero like the chain reads it.
int VelbrinLumbraEditor::choiceIndexOf (const juce::String& parameterId) const
{
    if (const auto* value = processorRef.parameters.getRawParameterValue (parameterId))
        return static_cast<int> (value->load());

    return -1;
}

void VelbrinLumbraEditor::createAttachments()
{
    auto& state = processorRef.parameters;
    const std::array<std::pair<const juce::String*, VelbriSlider*>, 12> sliders { {
        { &ParamIDs::inputTrim, &inputSlider },
        { &ParamIDs::lowGain, &lowSlider },
        { &ParamIDs::highGain, &highSlider },
        { &ParamIDs::compAmount, &dynamicsSlider },
        { &ParamIDs::spaceAMix, &spaceASlider },
        { &ParamIDs::spaceBMix, &spaceBSlider },
        { &ParamIDs::echoMix, &echoSlider },
        { &ParamIDs::blend, &blendSlider },
        { &ParamIDs::outputTrim, &outputSlider },
        { &ParamIDs::spaceAPreDelay, &spaceAPreDelayKnob },
        { &ParamIDs::spaceBPreDelay, &spaceBPreDelayKnob },
        { &ParamIDs::echoFeedback, &echoFeedbackKnob },
    } };
    const std::array<std::pair<const juce::String*, juce::Button*>, 9> buttons { {
        { &ParamIDs::bypass, &bypassButton },
        { &ParamIDs::lowEnabled, &lowEnableButton },
        { &ParamIDs::highEnabled, &highEnableButton },
        { &ParamIDs::compEnabled, &dynamicsEnableButton },
        { &ParamIDs::spaceAEnabled, &spaceAEnableButton },
        { &ParamIDs::spaceBEnabled, &spaceBEnableButton },
        { &ParamIDs::echoEnabled, &echoEnableButton },
        { &ParamIDs::spaceAPreDelaySync, &spaceAPreDelaySyncButton },
        { &ParamIDs::spaceBPreDelaySync, &spaceBPreDelaySyncButton },
    } };

    for (size_t i = 0; i < sliders.size(); ++i)
    {
        auto& parameter = *state.getParameter (*sliders[i].first);
        sliders[i].second->setStep (stepFor (parameter));
        sliderBindings[i] = std::make_unique<SliderBinding> (parameter, *sliders[i].second);
        nameForScreenReaders (*sliders[i].second, *sliders[i].first);
    }

    for (size_t i = 0; i < buttons.size(); ++i)
    {
        buttonAttachments[i] = std::make_unique<ButtonAttachment> (state, *buttons[i].first, *buttons[i].second);
        nameForScreenReaders (*buttons[i].second, *buttons[i].first);
    }

    oversampleAttachment = std::make_unique<ComboBoxAttachment> (state, ParamIDs::compOversample, oversampleBox);
}

void VelbrinLumbraEditor::resized()
{
    const auto layout = computeEditorLayout (getLocalBounds());

    headerArea = layout.headerArea;
    inputArea = layout.inputArea;
    modulesArea = layout.modulesArea;
    tempoArea = layout.tempoArea;
    outputArea = layout.outputArea;
    spaceAArea = layout.spaceAArea;
    spaceBArea = layout.spaceBArea;
    titleArea = layout.titleArea;

    applyLayout (layout);
    // Over the footer's "name version" text, at its left.
    aboutButton.setBounds (footerArea (getLocalBounds()).toNearestInt().withWidth (220));
    focusRing.follow (focusRing.getTarget());
    backgroundCache.invalidate();
}

void VelbrinLumbraEditor::applyLayout (const EditorLayout& layout)
{
    bypassButton.setBounds (layout.bypassButton);
    vuArc.setBounds (layout.vuArc);
    gainReductionMeter.setBounds (layout.gainReductionMeter);
    presetBar.setBounds (layout.presetBar);
    headerActions.setBounds (layout.headerActions);

    inputLabel.setBounds (layout.input.caption);
    inputMeter.setBounds (layout.input.meter);
    inputSlider.setBounds (layout.input.fader);

    placeModule (layout.low, lowEnableButton, lowModeSelector, lowSlider, lowLabel);
    placeModule (layout.high, highEnableButton, highModeSelector, highSlider, highLabel);
    placeModule (layout.dynamics, dynamicsEnableButton, dynamicsModeSelector, dynamicsSlider, dynamicsLabel);
    placeSpaceModule (layout.spaceA, spaceAEnableButton, spaceAPreDelayKnob, spaceAPreDelayLabel, spaceATypeSelector,
                      spaceASlider, spaceALabel);
    placeSpaceModule (layout.spaceB, spaceBEnableButton, spaceBPreDelayKnob, spaceBPreDelayLabel, spaceBTypeSelector,
                      spaceBSlider, spaceBLabel);
    placeSpaceModule (layout.echo, echoEnableButton, echoFeedbackKnob, echoFeedbackLabel, echoDivisionSelector,
                      echoSlider, echoLabel);

    spaceAPreDelaySyncButton.setBounds (layout.spaceAPreDelaySync);
    spaceBPreDelaySyncButton.setBounds (layout.spaceBPreDelaySync);
    oversampleBox.setBounds (layout.oversample);

    tapButton.setBounds (layout.tempo.tapButton);
    bpmLabel.setBounds (layout.tempo.bpmLabel);
    syncButton.setBounds (layout.tempo.syncButton);
    blendLabel.setBounds (layout.tempo.blendLabel);
    blendSlider.setBounds (layout.tempo.blendSlider);

    outputLabel.setBounds (layout.output.caption);
    outputMeter.setBounds (layout.output.meter);
    outputSlider.setBounds (layout.output.fader);
}

void VelbrinLumbraEditor::placeModule (const ModuleBounds& bounds, juce::Button& ledButton,
                                       VelbriLedStackSelector& selector, juce::Slider& fader, juce::Label& caption)
{
    caption.setBounds (bounds.caption);
    ledButton.setBounds (bounds.ledButton);
    selector.setBounds (bounds.selector);
    fader.setBounds (bounds.fader);
}

void VelbrinLumbraEditor::placeSpaceModule (const ModuleBounds& bounds, juce::Button& ledButton, juce::Slider& knob,
                                            juce::Label& knobCaption, VelbriLedStackSelector& selector,
                                            juce::Slider& fader, juce::Label& caption)
{
    placeModule (bounds, ledButton, selector, fader, caption);
    knob.setBounds (bounds.knob);
    knobCaption.setBounds (bounds.knobCaption);
}

void VelbrinLumbraEditor::paint (juce::Graphics& g)
{
    backgroundCache.draw (g, getLocalBounds(), [this] (juce::Graphics& cacheGraphics) { paintStaticParts (cacheGraphics); });
}

void VelbrinLumbraEditor::paintStaticParts (juce::Graphics& g) const
{
    const auto bounds = getLocalBounds().toFloat();
    VelbriLookAndFeel::drawFaceplate (g, bounds, 14.0f);
    VelbriLookAndFeel::drawSideRails (g, bounds);
    VelbriLookAndFeel::drawScrews (g, bounds, 12.0f);

    const std::pair<juce::Rectangle<int>, bool> panels[] = {
        { headerArea, false }, { inputArea, true },  { modulesArea, false }, { spaceAArea, true },
        { spaceBArea, true },  { tempoArea, false }, { outputArea, true },
    };
    for (const auto& [area, accented] : panels)
        VelbriLookAndFeel::drawPanel (g, area.toFloat(), accented, 8.0f);

    paintHeaderArtwork (g);
    paintFooter (g);
}

void VelbrinLumbraEditor::paintHeaderArtwork (juce::Graphics& g) const
{
    auto r = titleArea;
    g.setOpacity (1.0f); // images take the opacity of the last colour, a faint panel highlight

    if (logoImage.isValid())
    {
        g.drawImage (logoImage, r.removeFromLeft (r.getHeight()).toFloat(), juce::RectanglePlacement::centred);
        r.removeFromLeft (8);
    }

    if (wordmarkImage.isValid())
    {
        const auto box = r.withSizeKeepingCentre (juce::jmin (200, r.getWidth()), juce::jmax (0, r.getHeight() - 14));
        g.drawImage (wordmarkImage, box.toFloat(), juce::RectanglePlacement::xLeft | juce::RectanglePlacement::yMid);
    }
}

void VelbrinLumbraEditor::paintFooter (juce::Graphics& g) const
{
    const auto area = footerArea (getLocalBounds());
    g.setColour (Palette::textMuted);
    g.setFont (lookAndFeel.getDisplayFont (13.0f));
    g.drawText (juce::String (JucePlugin_Name) + " " + JucePlugin_VersionString, area,
                juce::Justification::centredLeft, true);
    g.drawText (JucePlugin_ManufacturerWebsite, area, juce::Justification::centredRight, true);
}
