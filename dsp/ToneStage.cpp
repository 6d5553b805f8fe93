#include "dsp/ToneStage.h"

float lowShelfCornerHz (int characterIndex) noexcept
{
    switch (characterIndex)
    {
        case 0: return 200.0f; // "Warm"
        case 1: return 80.0f;  // "Deep"
        default: return 400.0f; // "Air-Cut"
    }
}

float highShelfCornerHz (int characterIndex) noexcept
{
    switch (characterIndex)
    {
        case 0: return 8000.0f; // "Silk"
        case 1: return 5000.0f; // "Sheen"
        default: return 10000.0f; // "Crisp"
    }
}

void ToneStage::prepare (const juce::dsp::ProcessSpec& spec)
{
    low.prepare (spec);
    high.prepare (spec);
}

void ToneStage::setTargets (const ToneSettings& settings, bool jump) noexcept
{
    low.setTargets (settings.low, jump);
    high.setTargets (settings.high, jump);
}

void ToneStage::process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch, int numChannels,
                         int numSamples) noexcept
{
    low.process (buffer, scratch, numChannels, numSamples);
    high.process (buffer, scratch, numChannels, numSamples);
}

// The high shelf cuts by 12 dB at most, so the stage's output is a fair measure of both memories.
void ToneStage::noteOutput (float peak, int numSamples) noexcept
{
    low.noteOutput (peak, numSamples);
    high.noteOutput (peak, numSamples);
}

bool ToneStage::holdsSound() const noexcept
{
    return low.holdsSound() || high.holdsSound();
}

void ToneStage::clear() noexcept
{
    low.clear();
    high.clear();
}
