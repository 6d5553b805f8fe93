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
    line.setMaximumDelayInSamples (static_cast<int> (sampleRate + sampleRate));
    line.prepare (spec);
    line.reset();
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
    if (memory.isQuiet())
        line.reset();
}

// Read before write, so a repeat d samples late is y[n] = x[n - d] + feedback y[n - d].
void EchoStage::processAtRest (ReturnBuses& buses) noexcept
{
    const auto mix = level.getTargetValue();
    const auto gain = feedback.getTargetValue();
    line.setDelay (time.current());
    auto peak = 0.0f;

    for (int channel = 0; channel < buses.numChannels; ++channel)
    {
        const auto* send = buses.send.getReadPointer (channel);
        auto* out = buses.main.getWritePointer (channel);

        for (int i = 0; i < buses.numSamples; ++i)
        {
            const auto repeat = line.popSample (channel);
            line.pushSample (channel, send[i] + gain * repeat);
            out[i] += mix * repeat;
            peak = juce::jmax (peak, std::abs (repeat));
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
    line.setDelay (time.current());
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

        for (int i = 0; i < buses.numSamples; ++i)
        {
            const auto repeat = readRepeat (channel, fade.getNextValue());
            line.pushSample (channel, feed.getNextValue() * send[i] + feedback.getNextValue() * repeat);
            out[i] += level.getNextValue() * repeat;
            peak = juce::jmax (peak, std::abs (repeat));
        }
    }

    repeatPeak = peak;
}

// Both read positions while the time crosses over; the read position moves on once per sample.
float EchoStage::readRepeat (int channel, float fade) noexcept
{
    if (! time.isFading())
        return line.popSample (channel);

    const auto old = line.popSample (channel, time.current(), false);
    const auto fresh = line.popSample (channel, time.next(), true);
    return (1.0f - fade) * old + fade * fresh;
}
