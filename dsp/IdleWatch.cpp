#include "dsp/IdleWatch.h"

namespace
{
// The input must stay silent at least this long before the chain idles: as long as the tone
// stage's memory takes to settle, so a quiet chain is never judged on a moment's pause.
constexpr double settleSeconds = 0.05;

bool sameBand (const ShelfBandSettings& a, const ShelfBandSettings& b) noexcept
{
    return a.enabled == b.enabled && a.cornerHz == b.cornerHz && a.gainDb == b.gainDb;
}

bool sameSpace (const SpaceSettings& a, const SpaceSettings& b) noexcept
{
    return a.enabled == b.enabled && a.type == b.type && a.mix == b.mix && a.preDelayMs == b.preDelayMs;
}

bool sameEcho (const EchoSettings& a, const EchoSettings& b) noexcept
{
    return a.enabled == b.enabled && a.division == b.division && a.mix == b.mix && a.feedback == b.feedback
           && a.bpm == b.bpm;
}

bool sameDynamics (const DynamicsSettings& a, const DynamicsSettings& b) noexcept
{
    return a.enabled == b.enabled && a.character == b.character && a.amount == b.amount && a.oversampling == b.oversampling;
}
} // namespace

// A setting added to the chain must be compared here too, or a change to it while idle would go unseen.
static_assert (sizeof (ChainSettings) == 120, "compare every field of ChainSettings in sameSettings");

bool sameSettings (const ChainSettings& a, const ChainSettings& b) noexcept
{
    return a.inputGain == b.inputGain && sameBand (a.tone.low, b.tone.low) && sameBand (a.tone.high, b.tone.high)
           && sameDynamics (a.dynamics, b.dynamics) && sameSpace (a.spaceA, b.spaceA) && sameSpace (a.spaceB, b.spaceB)
           && sameEcho (a.echo, b.echo) && a.blend == b.blend && a.outputGain == b.outputGain && a.bypass == b.bypass;
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
