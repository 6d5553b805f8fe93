#include "tests/fuzz/StateInvariants.h"

#include "plugin/PresetSetting.h"

namespace
{
constexpr int blockSize = 64;

juce::String checkParameters (VelbrinLumbraProcessor& processor)
{
    for (auto* parameter : processor.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        const auto normalised = parameter->getValue();
        const auto raw = processor.parameters.getRawParameterValue (ranged->getParameterID())->load();
        const auto& range = ranged->getNormalisableRange();

        if (! std::isfinite (normalised) || normalised < 0.0f || normalised > 1.0f)
            return ranged->getParameterID() + " normalised value out of range";

        if (! std::isfinite (raw) || raw < range.start || raw > range.end)
            return ranged->getParameterID() + " value " + juce::String (raw) + " out of range";
    }

    if (! std::isfinite (processor.manualBpm.load()))
        return "tempo not finite";

    if (const auto name = processor.presetSession.getName(); name != sanitisePresetName (name))
        return "preset name kept unsanitised";

    if (const auto other = processor.abCompare.otherSlot())
    {
        if (other->sound.name != sanitisePresetName (other->sound.name))
            return "compare slot name kept unsanitised";

        for (const auto& [id, value] : other->sound.values)
        {
            const auto* parameter = processor.parameters.getParameter (id);
            if (parameter == nullptr)
                return "compare slot holds unknown id " + id;

            const auto& range = parameter->getNormalisableRange();
            if (! std::isfinite (value) || value < range.start || value > range.end)
                return "compare slot value of " + id + " out of range";
        }
    }

    return {};
}

juce::String checkNextBlock (VelbrinLumbraProcessor& processor)
{
    juce::AudioBuffer<float> audio (2, blockSize);
    juce::Random random (1);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < blockSize; ++i)
            audio.setSample (channel, i, random.nextFloat() - 0.5f);

    juce::MidiBuffer midi;
    processor.processBlock (audio, midi);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < blockSize; ++i)
            if (! std::isfinite (audio.getSample (channel, i)))
                return "non-finite audio after restore";

    if (! std::isfinite (processor.inputLevelDb.load()) || ! std::isfinite (processor.outputLevelDb.load()))
        return "non-finite level reading";

    return {};
}
} // namespace

std::unique_ptr<VelbrinLumbraProcessor> makePreparedProcessor()
{
    auto processor = std::make_unique<VelbrinLumbraProcessor>();
    processor->prepareToPlay (44100.0, blockSize);
    return processor;
}

juce::String restoreAndCheck (VelbrinLumbraProcessor& processor, const void* data, size_t size)
{
    processor.setStateInformation (data, static_cast<int> (juce::jmin (size, static_cast<size_t> (1 << 30))));

    if (auto problem = checkParameters (processor); problem.isNotEmpty())
        return problem;

    if (auto problem = checkNextBlock (processor); problem.isNotEmpty())
        return problem;

    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    processor.setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));

    if (auto problem = checkParameters (processor); problem.isNotEmpty())
        return "after saving again: " + problem;

    return {};
}
