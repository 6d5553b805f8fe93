#include "dsp/PreDelay.h"

void PreDelay::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;
    line.prepare (static_cast<int> (spec.numChannels), static_cast<int> (sampleRate * 0.6));
    time.prepare (sampleRate, 0.0f);
    memory.prepare (line.getMaximumDelayInSamples() + 2);
}

void PreDelay::setTarget (float milliseconds, bool jump) noexcept
{
    if (! (milliseconds > 0.01f))
    {
        time.setTarget (0.0f, jump);
        return;
    }

    const auto delaySamples = static_cast<float> (sampleRate) * (milliseconds * 0.001f);
    time.setTarget (juce::jmin (delaySamples, static_cast<float> (line.getMaximumDelayInSamples())), jump);
}

void PreDelay::process (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    if (time.isFading())
        crossfadeTimes (buffer, numChannels, numSamples);
    else if (time.current() > 0.0f)
    {
        const auto tap = line.tapAt (time.current());

        for (int channel = 0; channel < numChannels; ++channel)
            line.process (channel, buffer.getWritePointer (channel), numSamples, tap);
    }

    time.endBlock();
}

// Both times are read from the one line (a time of zero is the undelayed sample), and the read
// position moves on once per sample. Leaving or joining the undelayed signal, the line's feed
// fades in or out with the crossfade, so what the line holds starts and ends smoothly when it is
// played out later. The line is fed a run, then both times are read from it.
void PreDelay::crossfadeTimes (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    const auto from = time.current();
    const auto to = time.next();
    const auto start = time.progress();
    constexpr int longestRun = 256;
    float fade[longestRun], old[longestRun], fresh[longestRun];

    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto& progress = time.progress();
        progress = start;
        auto* samples = buffer.getWritePointer (channel);

        for (int runStart = 0; runStart < numSamples; runStart += longestRun)
        {
            const auto n = juce::jmin (longestRun, numSamples - runStart);
            auto* x = samples + runStart;

            for (int i = 0; i < n; ++i)
            {
                const auto f = progress.getNextValue();
                const auto feed = from > 0.0f ? (to > 0.0f ? 1.0f : 1.0f - f) : f;
                fade[i] = f;
                old[i] = feed * x[i];
            }

            line.write (channel, old, n);
            readOrPass (channel, from, x, old, n);
            readOrPass (channel, to, x, fresh, n);
            line.advance (channel, n);

            for (int i = 0; i < n; ++i)
                x[i] = (1.0f - fade[i]) * old[i] + fade[i] * fresh[i];
        }
    }
}

// A time above zero reads the line; zero is the undelayed input itself.
void PreDelay::readOrPass (int channel, float delay, const float* input, float* output, int numSamples) const noexcept
{
    if (delay > 0.0f)
        line.read (channel, delay, output, numSamples);
    else
        std::copy_n (input, numSamples, output);
}

void PreDelay::noteFeed (float peak, int numSamples) noexcept
{
    if (time.isFading() || time.current() > 0.0f)
        memory.note (louderThanQuiet (peak), numSamples);
}

void PreDelay::clear() noexcept
{
    if (memory.isQuiet())
        line.reset();
}
