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
    staleNewest = 1;
    staleOldest = 0;
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
// held before the strip idled. That older part becomes zeros a block's reach at a time, just before
// it is read (zeroing up to 4.5 s of line at once would make this one block far dearer than any other).
void PreDelay::clearStaleBefore (float delay) noexcept
{
    const auto reach = juce::jmin (static_cast<int> (std::ceil (delay)) + 2, line.getCapacity());
    if (reach <= fresh)
        return;

    if (staleNewest > staleOldest)
        staleNewest = fresh + 1;

    staleOldest = reach;
    fresh = reach;
}

// Before a block: the stale samples its reads reach (from the longest time read and the sample the
// interpolation takes beyond it, forward to the block's last sample) become zeros. Reads move
// forward through the line a block at a time, so each stale sample is zeroed once, just in time.
// Stale samples older than this block reads are left out of the fresh part again: a longer time
// asked later zeros them then.
void PreDelay::zeroStaleAhead (int numSamples) noexcept
{
    const auto longest = juce::jmax (time.current(), time.isFading() ? time.next() : 0.0f);
    if (staleNewest > staleOldest || ! (longest > 0.0f))
        return;

    const auto oldestRead = static_cast<int> (std::floor (longest)) + 1;
    const auto newestRead = juce::jmax (staleNewest, oldestRead - 1 - numSamples);
    const auto oldestToZero = juce::jmin (staleOldest, oldestRead);

    if (newestRead <= oldestToZero)
        line.clearBehind (newestRead - 1, oldestToZero - newestRead + 1);

    fresh = juce::jmin (fresh, juce::jmax (oldestToZero, newestRead - 1));
    staleOldest = newestRead - 1;
}

// Everything written ages by the block; so do the stale samples still waiting to be zeroed.
void PreDelay::noteWritten (int numSamples) noexcept
{
    fresh = juce::jmin (line.getCapacity(), fresh + numSamples);

    if (staleNewest <= staleOldest)
    {
        staleNewest += numSamples;
        staleOldest = juce::jmin (line.getCapacity(), staleOldest + numSamples);
    }
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
    zeroStaleAhead (numSamples);

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
    staleNewest = 1; // the hand-over covers all that may be read
    staleOldest = 0;
    memory.prepare (reach);
}
