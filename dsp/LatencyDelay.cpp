#include "dsp/LatencyDelay.h"

void LatencyDelay::prepare (int numChannels, int maximumDelay, double sampleRate)
{
    line.prepare (numChannels, maximumDelay);
    time.prepare (sampleRate, 0.0f);
    fed = false;
}

void LatencyDelay::setTarget (int samples, bool jump) noexcept
{
    time.setTarget (static_cast<float> (juce::jlimit (0, line.getMaximumDelayInSamples(), samples)), jump);
}

void LatencyDelay::process (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    if (! isActive())
    {
        fed = false;
        return;
    }

    if (! fed)
        line.reset();

    if (time.isFading())
        crossfadeDelays (buffer, numChannels, numSamples);
    else
        for (int channel = 0; channel < numChannels; ++channel)
            line.process (channel, buffer.getWritePointer (channel), numSamples, time.current());

    fed = true;
    time.endBlock();
}

void LatencyDelay::feed (const juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    if (! isActive())
    {
        fed = false;
        return;
    }

    if (! fed)
        line.reset();

    for (int channel = 0; channel < numChannels; ++channel)
        for (int start = 0; start < numSamples; start += RingDelay::maximumRun)
        {
            const auto n = juce::jmin (RingDelay::maximumRun, numSamples - start);
            line.write (channel, buffer.getReadPointer (channel, start), n);
            line.advance (channel, n);
        }

    fed = true;
    if (time.isFading())
        time.progress().skip (numSamples);
    time.endBlock();
}

// The old and the new delay read side by side and crossed over sample by sample.
void LatencyDelay::crossfadeDelays (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    const auto from = line.tapAt (time.current());
    const auto to = line.tapAt (time.next());
    const auto start = time.progress();
    constexpr int longestRun = 256;
    float old[longestRun], fresh[longestRun];

    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto& progress = time.progress();
        progress = start;
        auto* samples = buffer.getWritePointer (channel);

        for (int runStart = 0; runStart < numSamples; runStart += longestRun)
        {
            const auto n = juce::jmin (longestRun, numSamples - runStart);
            auto* x = samples + runStart;
            line.write (channel, x, n);
            line.read (channel, from, old, n);
            line.read (channel, to, fresh, n);
            line.advance (channel, n);

            for (int i = 0; i < n; ++i)
            {
                const auto f = progress.getNextValue();
                x[i] = (1.0f - f) * old[i] + f * fresh[i];
            }
        }
    }
}
