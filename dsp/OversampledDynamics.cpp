#include "dsp/OversampledDynamics.h"

#include "dsp/Crossfade.h"

namespace
{
// Linear-phase half-band stages, one per doubling, at JUCE's higher quality: the filters' own
// ripple and images stay far below what the compressor folds back at the host rate.
std::unique_ptr<juce::dsp::Oversampling<float>> makeResampler (int doublings)
{
    auto resampler = std::make_unique<juce::dsp::Oversampling<float>> (2);
    for (int stage = 0; stage < doublings; ++stage)
        resampler->addOversamplingStage (juce::dsp::Oversampling<float>::filterHalfBandFIREquiripple,
                                         stage == 0 ? 0.05f : 0.10f, -100.0f, stage == 0 ? 0.03f : 0.10f, -100.0f);
    resampler->setUsingIntegerLatency (true);
    return resampler;
}
} // namespace

OversampledDynamics::OversampledDynamics()
{
    for (int setting = 1; setting < numSettings; ++setting)
    {
        paths[static_cast<size_t> (setting)].resampler = makeResampler (setting);
        paths[static_cast<size_t> (setting)].factor = 1 << setting;
    }
}

void OversampledDynamics::prepare (const juce::dsp::ProcessSpec& spec)
{
    maximumBlock = static_cast<int> (spec.maximumBlockSize);

    for (auto& path : paths)
    {
        const auto factor = static_cast<juce::uint32> (path.factor);
        path.stage.prepare ({ spec.sampleRate * path.factor, spec.maximumBlockSize * factor, spec.numChannels });

        if (path.resampler != nullptr)
        {
            path.resampler->initProcessing (spec.maximumBlockSize);
            path.scratch.setSize (static_cast<int> (spec.numChannels), static_cast<int> (spec.maximumBlockSize * factor));
        }
    }

    outgoingBuffer.setSize (static_cast<int> (spec.numChannels), maximumBlock);
    prepareGlide (crossover, spec.sampleRate, 1.0f);
    outgoing = -1;
}

int OversampledDynamics::latencyOf (int setting) const noexcept
{
    const auto& resampler = paths[static_cast<size_t> (oversamplingSetting (setting))].resampler;
    return resampler != nullptr ? juce::roundToInt (resampler->getLatencyInSamples()) : 0;
}

void OversampledDynamics::setTargets (const DynamicsSettings& settings, bool jump) noexcept
{
    wanted = oversamplingSetting (settings.oversampling);

    if (jump)
    {
        crossover.setCurrentAndTargetValue (1.0f);
        outgoing = -1;

        if (wanted != active)
        {
            active = wanted;
            auto& path = paths[static_cast<size_t> (active)];
            if (path.resampler != nullptr)
                path.resampler->reset();
        }
    }
    else if (wanted != active && outgoing < 0)
    {
        startCrossover (wanted, settings);
    }

    paths[static_cast<size_t> (active)].stage.setTargets (settings, jump);

    if (outgoing >= 0)
        paths[static_cast<size_t> (outgoing)].stage.setTargets (settings, false);
}

// The stage taking over starts at the settings and the envelope of the one it replaces, from
// empty resampler memories: its first output samples rise from silence within the latency, a
// millisecond at most, while the crossover has barely begun.
void OversampledDynamics::startCrossover (int setting, const DynamicsSettings& settings) noexcept
{
    auto& from = paths[static_cast<size_t> (active)];
    auto& to = paths[static_cast<size_t> (setting)];

    to.stage.setTargets (settings, true);
    to.stage.continueFrom (from.stage);
    if (to.resampler != nullptr)
        to.resampler->reset();

    outgoing = active;
    active = setting;
    crossover.setCurrentAndTargetValue (0.0f);
    crossover.setTargetValue (1.0f);
}

float OversampledDynamics::process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch,
                                    int numChannels, int numSamples) noexcept
{
    auto& current = paths[static_cast<size_t> (active)];

    if (outgoing < 0)
        return run (current, buffer, scratch, numChannels, numSamples);

    copyBlock (buffer, outgoingBuffer, numChannels, numSamples);
    const auto outgoingReduction = run (paths[static_cast<size_t> (outgoing)], outgoingBuffer, scratch, numChannels, numSamples);
    const auto reduction = run (current, buffer, scratch, numChannels, numSamples);
    crossfadeInPlace (outgoingBuffer, buffer, crossover, numChannels, numSamples);

    if (! crossover.isSmoothing())
        outgoing = -1;

    return juce::jmax (reduction, outgoingReduction);
}

// The host-rate stage works on the block itself; a resampled one a prepared block's length at a
// time, as long blocks as the host sends.
float OversampledDynamics::run (Path& path, juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch,
                                int numChannels, int numSamples) noexcept
{
    if (path.resampler == nullptr)
        return path.stage.process (buffer, scratch, numChannels, numSamples);

    auto reduction = 0.0f;

    for (int start = 0; start < numSamples; start += maximumBlock)
    {
        const auto n = juce::jmin (maximumBlock, numSamples - start);
        float* channels[2] = { buffer.getWritePointer (0, start), buffer.getWritePointer (numChannels > 1 ? 1 : 0, start) };
        juce::AudioBuffer<float> part (channels, numChannels, n); // refers to the block: allocates nothing
        reduction = juce::jmax (reduction, runResampled (path, part, numChannels, n));
    }

    return reduction;
}

float OversampledDynamics::runResampled (Path& path, juce::AudioBuffer<float>& buffer, int numChannels,
                                         int numSamples) noexcept
{
    juce::dsp::AudioBlock<float> block (buffer.getArrayOfWritePointers(), static_cast<size_t> (numChannels),
                                        static_cast<size_t> (numSamples));
    auto up = path.resampler->processSamplesUp (block);

    float* channels[2] = { up.getChannelPointer (0), up.getChannelPointer (numChannels > 1 ? 1 : 0) };
    const auto upSamples = static_cast<int> (up.getNumSamples());
    juce::AudioBuffer<float> upBuffer (channels, numChannels, upSamples);
    const auto reduction = path.stage.process (upBuffer, path.scratch, numChannels, upSamples);

    path.resampler->processSamplesDown (block);
    return reduction;
}

bool OversampledDynamics::holdsSound() const noexcept
{
    return paths[static_cast<size_t> (active)].stage.holdsSound()
           || (outgoing >= 0 && paths[static_cast<size_t> (outgoing)].stage.holdsSound());
}

// Idling starts after a stretch of silent input far longer than any latency, so the resamplers
// hold only quiet samples: they are cleared with the envelopes.
void OversampledDynamics::clear() noexcept
{
    for (auto& path : paths)
    {
        path.stage.clear();
        if (path.resampler != nullptr && ! path.stage.holdsSound())
            path.resampler->reset();
    }
}

bool OversampledDynamics::awaitsChange() const noexcept
{
    return paths[static_cast<size_t> (active)].stage.awaitsCharacter() || wanted != active;
}
