#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <cstring>

// A glitching interface or a broken upstream plug-in can hand us NaN or infinity. One such sample
// would poison every filter memory, envelope, reverb and delay line for the rest of the session,
// so non-finite input samples are treated as silence before any stage sees them.
inline void silenceNonFiniteSamples (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto* samples = buffer.getWritePointer (channel);

        // A sample is NaN or infinite exactly when its exponent bits are all set; the integer
        // scan vectorises, so clean blocks cost next to nothing.
        constexpr juce::uint32 exponentBits = 0x7f800000u;
        juce::uint32 largestExponent = 0;
        for (int i = 0; i < numSamples; ++i)
        {
            juce::uint32 bits;
            std::memcpy (&bits, samples + i, sizeof (bits));
            largestExponent = std::max (largestExponent, bits & exponentBits);
        }

        if (largestExponent != exponentBits)
            continue;

        for (int i = 0; i < numSamples; ++i)
            if (! std::isfinite (samples[i]))
                samples[i] = 0.0f;
    }
}
