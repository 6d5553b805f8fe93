#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

// Program-like test signals for judging presets by ear-like numbers: stereo, at any rate.
namespace referenceSignals
{
// The command-line host's test signal: half a second of 220 Hz and 3 kHz, a click every half second.
inline juce::AudioBuffer<float> toneAndClicks (double rate, double seconds)
{
    const auto length = static_cast<int> (rate * seconds);
    juce::AudioBuffer<float> audio (2, length);
    for (int i = 0; i < length; ++i)
    {
        const auto t = i / rate;
        auto value = t < 0.5 ? 0.25 * std::sin (juce::MathConstants<double>::twoPi * 220.0 * t)
                                   + 0.1 * std::sin (juce::MathConstants<double>::twoPi * 3000.0 * t)
                             : 0.0;
        if (i % static_cast<int> (rate * 0.5) == 0)
            value += 0.8;
        for (int channel = 0; channel < 2; ++channel)
            audio.setSample (channel, i, static_cast<float> (value));
    }
    return audio;
}

// A kick (a falling 50 to 120 Hz thump) and a snare (a noise burst over 190 Hz) at 120 BPM.
inline juce::AudioBuffer<float> drums (double rate, double seconds)
{
    const auto length = static_cast<int> (rate * seconds);
    const auto beat = static_cast<int> (rate * 0.5);
    juce::AudioBuffer<float> audio (2, length);
    juce::Random random (7);
    double phase = 0.0;

    for (int i = 0; i < length; ++i)
    {
        const auto sinceBeat = (i % beat) / rate;
        const auto snare = (i / beat) % 2 == 1;
        double value;

        if (snare)
            value = std::exp (-sinceBeat * 25.0)
                    * (0.45 * (random.nextDouble() * 2.0 - 1.0)
                       + 0.3 * std::sin (juce::MathConstants<double>::twoPi * 190.0 * sinceBeat));
        else
        {
            phase += juce::MathConstants<double>::twoPi * (50.0 + 70.0 * std::exp (-sinceBeat * 30.0)) / rate;
            value = 0.7 * std::exp (-sinceBeat * 9.0) * std::sin (phase);
        }

        for (int channel = 0; channel < 2; ++channel)
            audio.setSample (channel, i, static_cast<float> (value));
    }
    return audio;
}

// A sung vowel: a 180 Hz fundamental with vibrato and falling harmonics, in four syllables a second.
inline juce::AudioBuffer<float> voice (double rate, double seconds)
{
    const auto length = static_cast<int> (rate * seconds);
    juce::AudioBuffer<float> audio (2, length);
    double phase = 0.0;

    for (int i = 0; i < length; ++i)
    {
        const auto t = i / rate;
        phase += juce::MathConstants<double>::twoPi * 180.0 * (1.0 + 0.01 * std::sin (juce::MathConstants<double>::twoPi * 5.5 * t)) / rate;
        double value = 0.0;
        for (int harmonic = 1; harmonic <= 12; ++harmonic)
            value += std::sin (harmonic * phase) / (harmonic * (harmonic == 3 || harmonic == 4 ? 0.6 : 1.0));
        const auto syllable = std::pow (std::sin (juce::MathConstants<double>::pi * std::fmod (t * 4.0, 1.0)), 2.0);

        for (int channel = 0; channel < 2; ++channel)
            audio.setSample (channel, i, static_cast<float> (0.2 * syllable * value));
    }
    return audio;
}
} // namespace referenceSignals
