#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

// How long a continuous control takes to reach a new value, and a switch to cross from one path
// to the other: long enough that no step is heard, short enough to feel immediate.
constexpr double glideSeconds = 0.02;

using LinearGlide = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

// Glides in decibels: each sample multiplies by the same factor. Only for values above zero.
using DecibelGlide = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Multiplicative>;

// Sets a glide's length for a sample rate and puts it at `value` at once.
template <typename Glide>
void prepareGlide (Glide& glide, double sampleRate, float value) noexcept
{
    glide.reset (sampleRate, glideSeconds);
    glide.setCurrentAndTargetValue (value);
}

// Heads for a new value, or sits on it at once when the chain starts from a setting (after
// preparing or a restore). A value that is not a finite number is refused: the glide keeps its course.
template <typename Glide>
void glideTo (Glide& glide, float target, bool jump) noexcept
{
    if (! std::isfinite (target))
        return;

    if (jump)
        glide.setCurrentAndTargetValue (target);
    else
        glide.setTargetValue (target);
}

// Whether a glide rests on zero: the path it scales is silent and need not run.
template <typename Glide>
bool restsAtZero (const Glide& glide) noexcept
{
    return ! glide.isSmoothing() && glide.getTargetValue() == 0.0f;
}
