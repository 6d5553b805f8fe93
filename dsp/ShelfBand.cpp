#include "dsp/ShelfBand.h"

#include "dsp/Crossfade.h"

namespace
{
constexpr float shelfQ = 0.7071f;

// Silent input for this long lets the slowest shelf (80 Hz) forget its past by far more than 140 dB.
constexpr double settleSeconds = 0.05;

// A corner at or above Nyquist makes the biquad unstable; at the usual rates no corner comes near this.
float limitCorner (float cornerHz, double sampleRate) noexcept
{
    return juce::jmin (cornerHz, static_cast<float> (0.45 * sampleRate));
}

// The same shelf as JUCE's cookbook design, cheap enough to redo every sample while the gain glides:
// the corner's cosine and sine are kept, and the gain's square roots come from one exponential.
class MovingShelfDesign
{
public:
    MovingShelfDesign (ShelfBand::Kind kind, double sampleRate) noexcept : high (kind == ShelfBand::Kind::high), rate (sampleRate) {}

    void setCorner (float cornerHz) noexcept
    {
        const auto omega = juce::MathConstants<float>::twoPi * juce::jmax (limitCorner (cornerHz, rate), 2.0f)
                           / static_cast<float> (rate);
        cosine = std::cos (omega);
        sineOverQ = std::sin (omega) / shelfQ;
    }

    // Writes the normalised b0 b1 b2 a1 a2 for a gain in decibels.
    void write (float gainDb, float* c) const noexcept
    {
        // A = 10^(gain / 40) and its square root, as JUCE's design takes them from the linear gain.
        const auto rootA = gainDb > -100.0f ? std::exp (gainDb * (2.3025851f / 80.0f)) : 0.0f;
        const auto a = rootA * rootA;
        const auto minus = a - 1.0f;
        const auto plus = a + 1.0f;
        const auto beta = sineOverQ * rootA;
        const auto minusCos = minus * cosine;

        float b0, b1, b2, a0, a1, a2;
        if (high)
        {
            b0 = a * (plus + minusCos + beta);
            b1 = a * -2.0f * (minus + plus * cosine);
            b2 = a * (plus + minusCos - beta);
            a0 = plus - minusCos + beta;
            a1 = 2.0f * (minus - plus * cosine);
            a2 = plus - minusCos - beta;
        }
        else
        {
            b0 = a * (plus - minusCos + beta);
            b1 = a * 2.0f * (minus - plus * cosine);
            b2 = a * (plus - minusCos - beta);
            a0 = plus + minusCos + beta;
            a1 = -2.0f * (minus + plus * cosine);
            a2 = plus + minusCos - beta;
        }

        const auto inverse = 1.0f / a0;
        c[0] = b0 * inverse;
        c[1] = b1 * inverse;
        c[2] = b2 * inverse;
        c[3] = a1 * inverse;
        c[4] = a2 * inverse;
    }

private:
    bool high;
    double rate;
    float cosine = 1.0f, sineOverQ = 0.0f;
};
} // namespace

void ShelfBand::prepare (const juce::dsp::ProcessSpec& spec)
{
    sampleRate = spec.sampleRate;
    channelMemories.assign (spec.numChannels, {});

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

    const auto* c = coefficients->getRawCoefficients();
    const auto numSamples = static_cast<int> (block.getNumSamples());

    if (block.getNumChannels() == 2)
    {
        processBiquadPair (c, channelMemories[0], channelMemories[1], block.getChannelPointer (0),
                           block.getChannelPointer (1), numSamples);
        return;
    }

    for (size_t channel = 0; channel < block.getNumChannels(); ++channel)
        processBiquad (c, channelMemories[channel], block.getChannelPointer (channel), numSamples);
}

// A new design every sample: a gain or corner moved in steps, even small ones, would modulate the
// signal at the step rate and be heard as a buzz on a bright shelf.
void ShelfBand::filterWhileMoving (juce::dsp::AudioBlock<float> block) noexcept
{
    MovingShelfDesign design (kind, sampleRate);
    design.setCorner (std::exp2 (cornerOctaves.getCurrentValue()));
    auto* c = coefficients->getRawCoefficients();

    for (size_t i = 0; i < block.getNumSamples(); ++i)
    {
        const auto gain = gainDb.getNextValue();
        if (cornerOctaves.isSmoothing())
            design.setCorner (std::exp2 (cornerOctaves.getNextValue()));

        design.write (gain, c);

        for (size_t channel = 0; channel < block.getNumChannels(); ++channel)
        {
            auto* samples = block.getChannelPointer (channel);
            samples[i] = channelMemories[channel].process (c, samples[i]);
        }
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
    *coefficients = kind == Kind::low ? Design::makeLowShelf (sampleRate, corner, shelfQ, linearGain)
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
        std::fill (channelMemories.begin(), channelMemories.end(), BiquadMemory {});
}
