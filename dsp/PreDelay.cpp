#include "dsp/PreDelay.h"

void PreDelay::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;
    line.setMaximumDelayInSamples (static_cast<int> (sampleRate * 0.6));
    line.prepare (spec);
    line.reset();
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
        juce::dsp::AudioBlock<float> block (buffer.getArrayOfWritePointers(), static_cast<size_t> (numChannels),
                                            static_cast<size_t> (numSamples));
        line.setDelay (time.current());
        line.process (ReplacingContext (block));
    }

    time.endBlock();
}

// Both times are read from the one line (a time of zero is the undelayed sample), and the read
// position moves on once per sample. Leaving or joining the undelayed signal, the line's feed
// fades in or out with the crossfade, so what the line holds starts and ends smoothly when it is
// played out later.
void PreDelay::crossfadeTimes (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    const auto from = time.current();
    const auto to = time.next();
    const auto start = time.progress();

    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto& fade = time.progress();
        fade = start;
        auto* samples = buffer.getWritePointer (channel);

        for (int i = 0; i < numSamples; ++i)
        {
            const auto input = samples[i];
            const auto f = fade.getNextValue();
            const auto feed = from > 0.0f ? (to > 0.0f ? 1.0f : 1.0f - f) : f;
            line.pushSample (channel, feed * input);
            const auto old = from > 0.0f ? line.popSample (channel, from, ! (to > 0.0f)) : input;
            const auto fresh = to > 0.0f ? line.popSample (channel, to, true) : input;
            samples[i] = (1.0f - f) * old + f * fresh;
        }
    }
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
