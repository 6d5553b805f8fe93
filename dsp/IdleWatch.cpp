#include "dsp/IdleWatch.h"

namespace
{
// The input must stay silent at least this long before the chain idles: as long as the tone
// stage's memory takes to settle, so a quiet chain is never judged on a moment's pause.
constexpr double settleSeconds = 0.05;
} // namespace

bool sameSettings (const ChainSettings& a, const ChainSettings& b) noexcept
{
    return a == b;
}

void IdleWatch::prepare (double sampleRate) noexcept
{
    settleSamples = juce::jmax (1, juce::roundToInt (settleSeconds * sampleRate));
    silentFor = 0;
    idle = false;
}

void IdleWatch::noteInput (float peak, int numSamples) noexcept
{
    silentFor = peak < wakeLevel ? juce::jmin (settleSamples, silentFor + numSamples) : 0;
}

void IdleWatch::enter (const ChainSettings& settings) noexcept
{
    heard = settings;
    idle = true;
}

void IdleWatch::wake() noexcept
{
    idle = false;
    silentFor = 0;
}

bool IdleWatch::takeSettings (const ChainSettings& settings) noexcept
{
    if (sameSettings (settings, heard))
        return false;

    heard = settings;
    return true;
}
