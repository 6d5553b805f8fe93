#pragma once

#include "dsp/Glide.h"

#include <juce_dsp/juce_dsp.h>

// Input or output trim: a linear gain that glides to each new setting (a gain that is not a finite
// number is refused, and the glide keeps its course). Before its first setting it sits at zero, so
// a new instance fades in from silence.
class TrimStage
{
public:
    void prepare (double sampleRate) noexcept { gain.reset (sampleRate, glideSeconds); }

    // Puts the trim at a gain at once, with no glide.
    void jumpTo (float linearGain) noexcept { glideTo (gain, linearGain, true); }

    void process (float linearGain, juce::dsp::AudioBlock<float> block) noexcept
    {
        glideTo (gain, linearGain, false);

        // At rest; a gain of exactly one (the 0 dB most tracks sit at) leaves the samples as they are.
        if (! gain.isSmoothing())
        {
            if (gain.getTargetValue() != 1.0f)
                block.multiplyBy (gain.getTargetValue());
            return;
        }

        // One gain per sample, shared by every channel, taken in slices that fit on the stack.
        constexpr size_t sliceLength = 64;
        float gains[sliceLength];

        for (size_t start = 0; start < block.getNumSamples(); start += sliceLength)
        {
            const auto length = juce::jmin (sliceLength, block.getNumSamples() - start);
            for (size_t i = 0; i < length; ++i)
                gains[i] = gain.getNextValue();

            for (size_t channel = 0; channel < block.getNumChannels(); ++channel)
                juce::FloatVectorOperations::multiply (block.getChannelPointer (channel) + start, gains,
                                                       static_cast<int> (length));
        }
    }

private:
    Glide gain;
};
