#include "dsp/EchoStage.h"

#include <cmath>
#include <limits>

namespace
{
float msToFloat (double ms) noexcept
{
    return static_cast<float> (juce::jmin (ms, static_cast<double> (std::numeric_limits<float>::max())));
}
} // namespace

float divisionToMs (int divisionIndex, double bpm)
{
    const auto beatMs = 60000.0 / (bpm > 0.0 ? bpm : 120.0);

    switch (divisionIndex)
    {
        case 1: return msToFloat (beatMs * 0.5); // "8th"
        case 2: return msToFloat (beatMs);       // "Quarter"
        default: return 120.0f;                  // "Slap"
    }
}

float echoDelayInSamples (float ms, double sampleRate, int maximumDelay)
{
    const auto delay = static_cast<float> (sampleRate) * (ms * 0.001f);

    if (! (delay >= 1.0f))
        return 1.0f;

    return juce::jmin (delay, static_cast<float> (maximumDelay));
}

void EchoStage::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;
    line.prepare (static_cast<int> (spec.numChannels), static_cast<int> (sampleRate + sampleRate));
    time.prepare (sampleRate, 1.0f);
    memory.prepare (line.getMaximumDelayInSamples() + 2);
    prepareGlide (level, sampleRate, level.getTargetValue());
    prepareGlide (feed, sampleRate, feed.getTargetValue());
    prepareGlide (feedback, sampleRate, feedback.getTargetValue());
}

void EchoStage::setTargets (const EchoSettings& settings, bool jump) noexcept
{
    // While the echo waits, nothing of it is heard: its settings are taken as they are.
    const auto waiting = jump || restsAtZero (level);
    const auto runs = settings.enabled && settings.mix > minimumRunningMix;
    glideTo (level, runs ? settings.mix : 0.0f, jump);
    glideTo (feed, runs ? 1.0f : 0.0f, jump);
    glideTo (feedback, std::isfinite (settings.feedback) ? settings.feedback : 0.0f, waiting);

    const auto ms = divisionToMs (settings.division, settings.bpm);
    time.setTarget (echoDelayInSamples (ms, sampleRate, line.getMaximumDelayInSamples()), waiting);
}

void EchoStage::process (ReturnBuses& buses) noexcept
{
    if (restsAtZero (level))
        return;

    if (time.isFading() || level.isSmoothing() || feed.isSmoothing() || feedback.isSmoothing())
        processWhileMoving (buses);
    else
        processAtRest (buses);

    // What entered the line this block is the send plus at most the repeats read.
    memory.note (louderThanQuiet (buses.sendPeak + repeatPeak), buses.numSamples);
    time.endBlock();
}

bool EchoStage::holdsSound() const noexcept
{
    return ! restsAtZero (level) && ! memory.isQuiet();
}

void EchoStage::clear() noexcept
{
    SpreadClear now;
    clear (now);
    now.finish();
}

// The read positions stay: a line of zeros reads the same from anywhere.
void EchoStage::clear (SpreadClear& later) noexcept
{
    if (memory.isQuiet())
        line.forWholeLine ([&later] (float* samples, std::size_t count) { later.add (samples, count); });
}

// Read before write, so a repeat d samples late is y[n] = x[n - d] + feedback y[n - d]. A run
// is never longer than the delay: all it reads was written before it.
void EchoStage::processAtRest (ReturnBuses& buses) noexcept
{
    const auto mix = level.getTargetValue();
    const auto gain = feedback.getTargetValue();
    const auto delay = time.current();
    const auto tap = line.tapAt (delay);
    float repeats[runCapacity], fed[runCapacity];
    auto peak = 0.0f;

    for (int channel = 0; channel < buses.numChannels; ++channel)
    {
        const auto* send = buses.send.getReadPointer (channel);
        auto* out = buses.main.getWritePointer (channel);

        for (int start = 0; start < buses.numSamples;)
        {
            const auto n = longestRun (buses.numSamples - start);
            line.read (channel, tap, repeats, n);

            for (int i = 0; i < n; ++i)
            {
                fed[i] = send[start + i] + gain * repeats[i];
                out[start + i] += mix * repeats[i];
                peak = juce::jmax (peak, std::abs (repeats[i]));
            }

            line.write (channel, fed, n);
            line.advance (channel, n);
            start += n;
        }
    }

    repeatPeak = peak;
}

void EchoStage::processWhileMoving (ReturnBuses& buses) noexcept
{
    const auto startLevel = level;
    const auto startFeed = feed;
    const auto startFeedback = feedback;
    const auto startFade = time.progress();
    float repeats[runCapacity], fed[runCapacity];
    auto peak = 0.0f;

    for (int channel = 0; channel < buses.numChannels; ++channel)
    {
        level = startLevel;
        feed = startFeed;
        feedback = startFeedback;
        auto& fade = time.progress();
        fade = startFade;
        const auto* send = buses.send.getReadPointer (channel);
        auto* out = buses.main.getWritePointer (channel);

        for (int start = 0; start < buses.numSamples;)
        {
            const auto n = longestRun (buses.numSamples - start);
            readRepeats (channel, fade, repeats, n);

            for (int i = 0; i < n; ++i)
            {
                fed[i] = feed.getNextValue() * send[start + i] + feedback.getNextValue() * repeats[i];
                out[start + i] += level.getNextValue() * repeats[i];
                peak = juce::jmax (peak, std::abs (repeats[i]));
            }

            line.write (channel, fed, n);
            line.advance (channel, n);
            start += n;
        }
    }

    repeatPeak = peak;
}

// The next run: at most the shorter delay in use (whole samples), and what the scratch holds.
int EchoStage::longestRun (int remaining) const noexcept
{
    const auto shortest = time.isFading() ? juce::jmin (time.current(), time.next()) : time.current();
    return juce::jmax (1, juce::jmin (remaining, runCapacity, static_cast<int> (shortest)));
}

// Both read positions while the time crosses over, blended by the fade sample by sample.
void EchoStage::readRepeats (int channel, Glide& fade, float* repeats, int numSamples) noexcept
{
    if (! time.isFading())
    {
        line.read (channel, time.current(), repeats, numSamples);
        return;
    }

    float fresh[runCapacity];
    line.read (channel, time.current(), repeats, numSamples);
    line.read (channel, time.next(), fresh, numSamples);

    for (int i = 0; i < numSamples; ++i)
    {
        const auto f = fade.getNextValue();
        repeats[i] = (1.0f - f) * repeats[i] + f * fresh[i];
    }
}
