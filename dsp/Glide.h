#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

// How long a continuous control takes to reach a new value, and a switch to cross from one path
// to the other: long enough that no step is heard, short enough to feel immediate.
constexpr double glideSeconds = 0.02;

// A value heading for its target along an S-curve: it leaves with the speed and the bend it had
// and arrives with neither, so a stream of new targets (automation, one per block) moves the value
// without a corner, and a switch's crossfade starts and ends without a kink. A linear ramp has a
// corner at each end, heard as a soft click on a loud low signal; a curve that only meets the
// speed still leaves a kink in the bend that is measurable on a big change. Each curve stays
// between where it left and its target and lands on the target exactly, after which the glide
// costs nothing. Used like JUCE's SmoothedValue.
class Glide
{
public:
    Glide() noexcept = default;
    explicit Glide (float initialValue) noexcept : current (initialValue), target (initialValue) {}

    void reset (double sampleRate, double seconds) noexcept
    {
        steps = juce::jmax (1, juce::roundToInt (sampleRate * seconds));
        inverseSteps = 1.0f / static_cast<float> (steps);
        setCurrentAndTargetValue (target);
    }

    void setCurrentAndTargetValue (float value) noexcept
    {
        current = target = value;
        remaining = 0;
    }

    // A new target bends the course from here; the same target again changes nothing.
    void setTargetValue (float value) noexcept
    {
        if (value == target)
            return;

        startCurve (value);
    }

    float getNextValue() noexcept { return skip (1); }

    float skip (int numSamples) noexcept
    {
        if (remaining <= 0)
            return target;

        remaining -= numSamples;
        if (remaining <= 0)
        {
            setCurrentAndTargetValue (target);
            return target;
        }

        current = juce::jlimit (lowest, highest, valueAt (position()));
        return current;
    }

    bool isSmoothing() const noexcept { return remaining > 0; }
    float getCurrentValue() const noexcept { return current; }
    float getTargetValue() const noexcept { return target; }

private:
    // The curve is a quintic in x = 0..1 over the glide that starts with the current value, speed
    // and bend, and arrives at the target with no speed and no bend.
    void startCurve (float value) noexcept
    {
        auto speed = 0.0f, bend = 0.0f;
        const auto distance = value - current;

        // Turning back starts from rest; otherwise the course carries on from where it was.
        if (remaining > 0 && slope (position()) * distance > 0.0f)
        {
            const auto x = position();
            speed = juce::jlimit (-3.0f * std::abs (distance), 3.0f * std::abs (distance), slope (x));
            bend = curvature (x);
        }

        const auto rest = distance - speed - 0.5f * bend;
        const auto endSpeed = -speed - bend;
        c1 = speed;
        c2 = 0.5f * bend;
        c5 = 0.5f * (-bend + 12.0f * rest - 6.0f * endSpeed);
        c4 = 7.0f * endSpeed - 15.0f * rest + bend;
        c3 = rest - c4 - c5;
        start = current;
        lowest = juce::jmin (current, value);
        highest = juce::jmax (current, value);
        target = value;
        remaining = steps;
    }

    float position() const noexcept { return static_cast<float> (steps - remaining) * inverseSteps; }
    float valueAt (float x) const noexcept { return start + x * (c1 + x * (c2 + x * (c3 + x * (c4 + x * c5)))); }

    // Speed and bend over the whole glide (per x, not per sample): a new curve has the same length.
    float slope (float x) const noexcept { return c1 + x * (2.0f * c2 + x * (3.0f * c3 + x * (4.0f * c4 + x * 5.0f * c5))); }
    float curvature (float x) const noexcept { return 2.0f * c2 + x * (6.0f * c3 + x * (12.0f * c4 + x * 20.0f * c5)); }

    float current = 0.0f, target = 0.0f, start = 0.0f, lowest = 0.0f, highest = 0.0f;
    float c1 = 0.0f, c2 = 0.0f, c3 = 0.0f, c4 = 0.0f, c5 = 0.0f;
    int steps = 1, remaining = 0;
    float inverseSteps = 1.0f;
};

// A glide of a gain or a frequency ratio: the same S-curve drawn in decibels, so equal ratios take
// equal time. Only for values above zero.
class DecibelGlide
{
public:
    void reset (double sampleRate, double seconds) noexcept { logarithm.reset (sampleRate, seconds); }

    void setCurrentAndTargetValue (float value) noexcept
    {
        if (! (value > 0.0f))
            return;

        target = value;
        logarithm.setCurrentAndTargetValue (std::log (value));
    }

    void setTargetValue (float value) noexcept
    {
        if (value == target || ! (value > 0.0f))
            return;

        target = value;
        logarithm.setTargetValue (std::log (value));
    }

    float getNextValue() noexcept { return skip (1); }

    float skip (int numSamples) noexcept
    {
        const auto value = logarithm.skip (numSamples);
        return logarithm.isSmoothing() ? std::exp (value) : target;
    }

    bool isSmoothing() const noexcept { return logarithm.isSmoothing(); }
    float getTargetValue() const noexcept { return target; }

private:
    Glide logarithm;
    float target = 1.0f;
};

// Sets a glide's length for a sample rate and puts it at `value` at once.
template <typename GlideType>
void prepareGlide (GlideType& glide, double sampleRate, float value) noexcept
{
    glide.reset (sampleRate, glideSeconds);
    glide.setCurrentAndTargetValue (value);
}

// Heads for a new value, or sits on it at once when the chain starts from a setting (after
// preparing or a restore). A value that is not a finite number is refused: the glide keeps its course.
template <typename GlideType>
void glideTo (GlideType& glide, float target, bool jump) noexcept
{
    if (! std::isfinite (target))
        return;

    if (jump)
        glide.setCurrentAndTargetValue (target);
    else
        glide.setTargetValue (target);
}

// Whether a glide rests on zero: the path it scales is silent and need not run.
template <typename GlideType>
bool restsAtZero (const GlideType& glide) noexcept
{
    return ! glide.isSmoothing() && glide.getTargetValue() == 0.0f;
}
