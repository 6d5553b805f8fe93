#include "dsp/OversampledDynamics.h"

#include "dsp/Crossfade.h"

#include <cmath>

OversampledDynamics::OversampledDynamics()
{
    for (int setting = 1; setting < numSettings; ++setting)
    {
        paths[static_cast<size_t> (setting)].resampler = std::make_unique<Resampler> (setting);
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
            path.resampler->prepare (static_cast<int> (spec.numChannels), maximumBlock);
            path.scratch.setSize (static_cast<int> (spec.numChannels), static_cast<int> (spec.maximumBlockSize * factor));
            path.fadingInput.setSize (static_cast<int> (spec.numChannels), maximumBlock);
            path.freshSamples = fadeInSamples;
        }
    }

    outgoingBuffer.setSize (static_cast<int> (spec.numChannels), maximumBlock);
    prepareGlide (crossover, spec.sampleRate, 1.0f);
    outgoing = -1;
    paused = false;
}

int OversampledDynamics::latencyOf (int setting) const noexcept
{
    const auto& resampler = paths[static_cast<size_t> (oversamplingSetting (setting))].resampler;
    return resampler != nullptr ? resampler->latency() : 0;
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
// empty resampler memories into which the signal fades.
void OversampledDynamics::startCrossover (int setting, const DynamicsSettings& settings) noexcept
{
    auto& from = paths[static_cast<size_t> (active)];
    auto& to = paths[static_cast<size_t> (setting)];

    to.stage.setTargets (settings, true);
    to.stage.continueFrom (from.stage);
    restart (to);

    outgoing = active;
    active = setting;
    crossover.setCurrentAndTargetValue (0.0f);
    crossover.setTargetValue (1.0f);
}

float OversampledDynamics::process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch,
                                    int numChannels, int numSamples) noexcept
{
    auto& current = paths[static_cast<size_t> (active)];

    if (paused)
    {
        restart (current);
        paused = false;
    }

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
    float* raised[2] = {};
    for (int channel = 0; channel < juce::jmin (numChannels, 2); ++channel)
        raised[channel] = path.resampler->up (channel, fadedIn (path, channel, buffer.getReadPointer (channel), numSamples), numSamples);
    path.freshSamples = juce::jmin (fadeInSamples, path.freshSamples + numSamples);
    path.resamplerUsed = true;

    const auto raisedSamples = numSamples * path.factor;
    juce::AudioBuffer<float> raisedBuffer (raised, numChannels, raisedSamples); // refers: allocates nothing
    const auto reduction = path.stage.process (raisedBuffer, path.scratch, numChannels, raisedSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        path.resampler->down (channel, buffer.getWritePointer (channel), numSamples);

    return reduction;
}

void OversampledDynamics::restart (Path& path) noexcept
{
    if (path.resampler == nullptr)
        return;

    path.resampler->reset();
    path.freshSamples = 0;
}

// A raised-cosine fade over the first samples after a fresh start; afterwards the input as it is.
const float* OversampledDynamics::fadedIn (Path& path, int channel, const float* input, int numSamples) noexcept
{
    if (path.freshSamples >= fadeInSamples)
        return input;

    auto* faded = path.fadingInput.getWritePointer (channel);
    for (int i = 0; i < numSamples; ++i)
    {
        const auto position = juce::jmin (1.0f, static_cast<float> (path.freshSamples + i) / fadeInSamples);
        faded[i] = input[i] * 0.5f * (1.0f - std::cos (juce::MathConstants<float>::pi * position));
    }
    return faded;
}

bool OversampledDynamics::holdsSound() const noexcept
{
    return paths[static_cast<size_t> (active)].stage.holdsSound()
           || (outgoing >= 0 && paths[static_cast<size_t> (outgoing)].stage.holdsSound());
}

// Idling starts after a stretch of silent input far longer than any latency, so the resamplers
// hold only quiet samples: they are cleared with the envelopes. One that has not run since it was
// last cleared holds zeros already and is left untouched (its memory is out of the cache by then).
void OversampledDynamics::clear() noexcept
{
    for (auto& path : paths)
    {
        path.stage.clear();
        if (path.resampler != nullptr && path.resamplerUsed && ! path.stage.holdsSound())
        {
            path.resampler->reset();
            path.resamplerUsed = false;
        }
    }
}

bool OversampledDynamics::awaitsChange() const noexcept
{
    return paths[static_cast<size_t> (active)].stage.awaitsCharacter() || wanted != active;
}
