#include "dsp/LevelMeter.h"

float peakLevelDb (const juce::AudioBuffer<float>& buffer, int numSamples) noexcept
{
    const auto peak = buffer.getMagnitude (0, numSamples);

    if (! (peak > 0.0f))
        return -100.0f;

    return juce::jmax (-100.0f, 20.0f * std::log10 (peak));
}
