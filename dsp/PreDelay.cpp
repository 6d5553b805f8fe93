#include "dsp/PreDelay.h"

#include "dsp/NoteValues.h"

namespace
{
// The shortest span of quiet samples after which the line counts as quiet: longer than any
// pre-delay in milliseconds (500 ms), so an unsynced line idles as soon as it always has.
constexpr double shortestQuietSeconds = 0.6;
} // namespace

void PreDelay::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;
    line.prepare (static_cast<int> (spec.numChannels),
                  static_cast<int> (std::ceil (sampleRate * longestSyncedPreDelaySeconds)) + 1);
    time.prepare (sampleRate, 0.0f);
    lastAsked = 0.0f;
    fresh = line.getCapacity();
    memory.prepare (quietSpanFor (0.0f));
}

void PreDelay::setTarget (float milliseconds, bool jump) noexcept
{
    if (! (milliseconds > 0.01f))
        setDelay (0.0f, jump);
    else
        setDelay (static_cast<float> (sampleRate) * (milliseconds * 0.001f), jump);
}

// Worked out in double precision, so a note value's length lands on its sample and fraction.
void PreDelay::setTargetSeconds (double seconds, bool jump) noexcept
{
    if (! (seconds > 0.00001))
        setDelay (0.0f, jump);
    else
        setDelay (static_cast<float> (juce::jmin (seconds * sampleRate, static_cast<double> (line.getMaximumDelayInSamples()))), jump);
}

// Zero is the undelayed signal; anything longer than the line is held at its end.
void PreDelay::setDelay (float delaySamples, bool jump) noexcept
{
    lastAsked = juce::jmin (delaySamples, static_cast<float> (line.getMaximumDelayInSamples()));
    if (lastAsked > 0.0f)
    {
        memory.lengthen (quietSpanFor (lastAsked));
        clearStaleBefore (lastAsked);
    }
    time.setTarget (lastAsked, jump);
}

// A time reaching past what was cleared or written since the last clear would read what the line
// held before the strip idled: that older part becomes zeros first (once, at this change).
void PreDelay::clearStaleBefore (float delay) noexcept
{
    if (static_cast<int> (std::ceil (delay)) + 2 <= fresh)
        return;

    line.clearBehind (fresh, line.getCapacity() - fresh);
    fresh = line.getCapacity();
}

// What the line must have taken quietly before nothing it holds can be read louder: the delay
// (and the sample the interpolation reads beyond it), but never less than the shortest span.
int PreDelay::quietSpanFor (float delay) const noexcept
{
    const auto shortest = static_cast<int> (sampleRate * shortestQuietSeconds) + 2;
    return juce::jmax (shortest, static_cast<int> (std::ceil (delay)) + 2);
}

void PreDelay::process (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    if (time.isFading())
    {
        crossfadeTimes (buffer, numChannels, numSamples);
        noteWritten (numSamples);
    }
    else if (time.current() > 0.0f)
    {
        const auto tap = line.tapAt (time.current());

        for (int channel = 0; channel < numChannels; ++channel)
            line.process (channel, buffer.getWritePointer (channel), numSamples, tap);
        noteWritten (numSamples);
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
    SpreadClear now;
    clear (now);
    now.finish();
}

void PreDelay::clear (SpreadClear& later) noexcept
{
    if (! memory.isQuiet())
        return;

    // Only as far back as the times the line may still be read at: a long line costs no more to
    // idle than the times in use. Anything older is cleared if a longer time is asked for.
    const auto reach = juce::jmax (quietSpanFor (time.current()), quietSpanFor (time.next()), quietSpanFor (lastAsked));
    line.forEachStretchBehind (0, reach, [&later] (float* samples, std::size_t count) { later.add (samples, count); });
    fresh = juce::jmin (reach, line.getCapacity());
    memory.prepare (reach);
}
