#include "dsp/SpaceStage.h"

#include "plugin/ParameterHandles.h"

namespace
{
struct Room
{
    float size;
    float damping;
};

Room roomFor (SpaceKind kind, int typeIndex) noexcept
{
    if (kind == SpaceKind::a)
    {
        switch (typeIndex)
        {
            case 0: return { 0.3f, 0.5f }; // "Room"
            case 1: return { 0.6f, 0.4f }; // "Hall"
            default: return { 0.9f, 0.2f }; // "Cathedral"
        }
    }

    switch (typeIndex)
    {
        case 0: return { 0.2f, 0.6f }; // "Close"
        case 1: return { 0.5f, 0.4f }; // "Wide"
        default: return { 0.95f, 0.1f }; // "Vast"
    }
}

bool spaceRuns (const SpaceControls& controls, float mix) noexcept
{
    return isSwitchOn (controls.enabled) && mix > 0.0001f;
}

// At 0.01 ms or less the line is left alone: neither fed nor read, its contents kept for later.
void applyPreDelay (FractionalDelayLine& line, float preDelayMs, double sampleRate, const ReplacingContext& context)
{
    if (! (preDelayMs > 0.01f))
        return;

    const auto delaySamples = static_cast<float> (sampleRate) * (preDelayMs * 0.001f);
    line.setDelay (juce::jmin (delaySamples, static_cast<float> (line.getMaximumDelayInSamples())));
    line.process (context);
}
} // namespace

juce::dsp::Reverb::Parameters spaceSettings (SpaceKind kind, int typeIndex, float mix) noexcept
{
    const auto room = roomFor (kind, typeIndex);
    return { room.size, room.damping, mix * 0.85f, 0.0f, 1.0f, 0.0f };
}

void prepareSpaceReverb (SpaceKind kind, juce::dsp::Reverb& reverb, const std::atomic<float>& type,
                         const juce::dsp::ProcessSpec& spec)
{
    // Preparing sets the reverb's gains to these targets at once: dry 0 and wet 0.
    reverb.setParameters (spaceSettings (kind, choiceIndex (type), 0.0f));
    reverb.prepare (spec);
}

void runSpaceStage (SpaceKind kind, juce::dsp::Reverb& reverb, FractionalDelayLine& preDelayLine,
                    const SpaceControls& controls, double sampleRate, ReturnBuses& buses)
{
    const auto mix = percentToUnit (controls.mix);

    if (! spaceRuns (controls, mix))
        return;

    reverb.setParameters (spaceSettings (kind, choiceIndex (controls.type), mix));

    // Each space starts again from the send copy, so neither hears the other.
    for (int channel = 0; channel < buses.numChannels; ++channel)
        buses.wet.copyFrom (channel, 0, buses.send, channel, 0, buses.numSamples);

    juce::dsp::AudioBlock<float> wetBlock (buses.wet.getArrayOfWritePointers(), static_cast<size_t> (buses.numChannels),
                                           static_cast<size_t> (buses.numSamples));
    const ReplacingContext context (wetBlock);

    applyPreDelay (preDelayLine, controls.preDelay.load(), sampleRate, context);
    reverb.process (context);

    for (int channel = 0; channel < buses.numChannels; ++channel)
        buses.main.addFrom (channel, 0, buses.wet, channel, 0, buses.numSamples);
}
