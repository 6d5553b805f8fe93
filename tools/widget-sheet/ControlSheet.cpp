#include "tools/widget-sheet/ControlSheet.h"

#include "editor/PluginEditor.h"
#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"

#include <cmath>
#include <memory>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

// Settings that move every fader, knob, switch and selector away from its default, so the
// picture shows each control in a telling position.
void applySampleSettings (VelbrinLumbraProcessor& processor)
{
    const std::pair<const juce::String*, float> settings[] = {
        { &ParamIDs::inputTrim, 3.0f },       { &ParamIDs::lowGain, 4.5f },       { &ParamIDs::lowMode, 0.0f },
        { &ParamIDs::highGain, -3.0f },       { &ParamIDs::highMode, 1.0f },      { &ParamIDs::compAmount, 60.0f },
        { &ParamIDs::compMode, 2.0f },        { &ParamIDs::spaceAMix, 35.0f },    { &ParamIDs::spaceAType, 1.0f },
        { &ParamIDs::spaceAPreDelay, 100.0f }, { &ParamIDs::spaceBMix, 20.0f },   { &ParamIDs::spaceBType, 0.0f },
        { &ParamIDs::spaceBPreDelay, 275.0f }, { &ParamIDs::spaceBEnabled, 0.0f }, { &ParamIDs::echoMix, 25.0f },
        { &ParamIDs::echoDivision, 2.0f },    { &ParamIDs::echoFeedback, 35.0f }, { &ParamIDs::outputTrim, -2.0f },
    };
    for (const auto& [id, value] : settings)
        if (auto* parameter = processor.parameters.getParameter (*id))
            parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

// A quarter of a second of a 440 Hz tone at -6 dBFS, so the meters and the gain-reduction bar show
// what the chain really does with it.
void playTone (VelbrinLumbraProcessor& processor)
{
    processor.setPlayConfigDetails (2, 2, sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);

    juce::AudioBuffer<float> block (2, blockSize);
    juce::MidiBuffer midi;
    for (int start = 0; start < static_cast<int> (sampleRate / 4); start += blockSize)
    {
        for (int i = 0; i < blockSize; ++i)
        {
            const auto phase = juce::MathConstants<double>::twoPi * 440.0 * (start + i) / sampleRate;
            const auto sample = 0.5f * static_cast<float> (std::sin (phase));
            block.setSample (0, i, sample);
            block.setSample (1, i, sample);
        }
        processor.processBlock (block, midi);
    }
}
} // namespace

juce::Image renderControlSheet()
{
    VelbrinLumbraProcessor processor;
    applySampleSettings (processor);
    playTone (processor);

    std::unique_ptr<VelbrinLumbraEditor> editor (dynamic_cast<VelbrinLumbraEditor*> (processor.createEditorIfNeeded()));
    editor->stopTimer();
    editor->timerCallback();

    juce::Image image (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
    juce::Graphics g (image);
    editor->paintEntireComponent (g, false);
    return image;
}
