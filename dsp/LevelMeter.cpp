#include "dsp/LevelMeter.h"

#include "dsp/BlockPeak.h"
#include "dsp/DspTypes.h"

float peakLevelDb (const juce::AudioBuffer<float>& buffer, int numSamples) noexcept
{
    return peakToLevelDb (peakMagnitude (buffer, buffer.getNumChannels(), numSamples));
}

float peakToLevelDb (float peak) noexcept
{
    if (! (peak > 0.0f))
        return -100.0f;

    return juce::jmax (-100.0f, gainToDecibels (peak));
}
