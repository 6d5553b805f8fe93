#include "dsp/ShelfBand.h"

#include "dsp/Crossfade.h"

namespace
{
constexpr float shelfQ = 0.7071f;
constexpr int coefficientInterval = 16;

// Silent input for this long lets the slowest shelf (80 Hz) forget its past by far more than 140 dB.
constexpr double settleSeconds = 0.05;

// A corner at or above Nyquist makes the biquad unstable; at the usual rates no corner comes near this.
float limitCorner (float cornerHz, double sampleRate) noexcept
{
    return juce::jmin (cornerHz, static_cast<float> (0.45 * sampleRate));
}
} // namespace

void ShelfBand::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;
    shelf.prepare (spec);
    prepareGlide (gainDb, sampleRate, gainDb.getTargetValue());
    prepareGlide (cornerOctaves, sampleRate, cornerOctaves.getTargetValue());
    prepareGlide (onAmount, sampleRate, onAmount.getTargetValue());
    coefficientsAtTarget = false;
    memory.prepare (juce::roundToInt (settleSeconds * sampleRate));
}

void ShelfBand::setTargets (const ShelfBandSettings& settings, bool jump) noexcept
{
    // While the band is off, nothing of it is heard: its settings are taken as they are.
    const auto waiting = jump || restsAtZero (onAmount);
    glideTo (onAmount, settings.enabled ? 1.0f : 0.0f, jump);
    glideTo (gainDb, settings.gainDb, waiting);

    // The corner glides in octaves, so a move from 80 Hz to 400 Hz sounds even all the way.
    if (settings.cornerHz != targetCornerHz || waiting)
    {
        targetCornerHz = settings.cornerHz;
        glideTo (cornerOctaves, std::log2 (targetCornerHz), waiting);
        coefficientsAtTarget = false;
    }

    if (gainDb.isSmoothing())
        coefficientsAtTarget = false;
}

void ShelfBand::process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch, int numChannels,
                         int numSamples) noexcept
{
    if (restsAtZero (onAmount))
        return;

    juce::dsp::AudioBlock<float> block (buffer.getArrayOfWritePointers(), static_cast<size_t> (numChannels),
                                        static_cast<size_t> (numSamples));

    if (! onAmount.isSmoothing())
    {
        filter (block);
        return;
    }

    copyBlock (buffer, scratch, numChannels, numSamples);
    filter (block);
    crossfadeInPlace (scratch, buffer, onAmount, numChannels, numSamples);
}

void ShelfBand::filter (juce::dsp::AudioBlock<float> block) noexcept
{
    if (gainDb.isSmoothing() || cornerOctaves.isSmoothing())
    {
        filterWhileMoving (block);
        return;
    }

    // Arrived: the coefficients are those of the exact setting, computed once.
    if (! coefficientsAtTarget)
    {
        design (targetCornerHz, gainDb.getTargetValue());
        coefficientsAtTarget = true;
    }

    shelf.process (ReplacingContext (block));
}

void ShelfBand::filterWhileMoving (juce::dsp::AudioBlock<float> block) noexcept
{
    for (size_t start = 0; start < block.getNumSamples(); start += coefficientInterval)
    {
        const auto length = juce::jmin (static_cast<size_t> (coefficientInterval), block.getNumSamples() - start);
        const auto steps = static_cast<int> (length);
        const auto gain = gainDb.skip (steps);
        const auto octaves = cornerOctaves.skip (steps);
        const auto cornerHz = cornerOctaves.isSmoothing() ? std::exp2 (octaves) : targetCornerHz;

        design (cornerHz, gain);
        auto slice = block.getSubBlock (start, length);
        shelf.process (ReplacingContext (slice));
    }

    coefficientsAtTarget = false;
}

void ShelfBand::design (float cornerHz, float gain) noexcept
{
    using Design = juce::dsp::IIR::ArrayCoefficients<float>;
    const auto corner = limitCorner (cornerHz, sampleRate);
    const auto linearGain = decibelsToGain (gain);

    // Written into the band's shared coefficient set: every channel's filter picks the new values up
    // from its next sample, its memory untouched, and nothing is allocated on the audio thread.
    *shelf.state = kind == Kind::low ? Design::makeLowShelf (sampleRate, corner, shelfQ, linearGain)
                                     : Design::makeHighShelf (sampleRate, corner, shelfQ, linearGain);
}

void ShelfBand::noteOutput (float peak, int numSamples) noexcept
{
    if (! restsAtZero (onAmount))
        memory.note (louderThanQuiet (peak), numSamples);
}

bool ShelfBand::holdsSound() const noexcept
{
    return ! restsAtZero (onAmount) && ! memory.isQuiet();
}

void ShelfBand::clear() noexcept
{
    if (memory.isQuiet())
        shelf.reset();
}
