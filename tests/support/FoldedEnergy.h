#pragma once

#include <juce_core/juce_core.h>

#include <cmath>
#include <complex>
#include <vector>

// The spectrum of a steady tone's response: how much of its energy lies in lines that are no
// harmonic of the tone (products folded back from above half the sample rate), and the level of
// each harmonic. A 2 s Kaiser window (beta 20), zero-padded; a line within 6 Hz of a harmonic (or
// of 0 Hz) belongs to it. A Blackman window's own leakage beyond 6 Hz sums to -80.6 dB of the tone,
// above what a gentle compressor folds back; this window's stays below -160 dB, its main lobe
// within 3.3 Hz. The transform is in double precision for the same reason.
class ToneSpectrum
{
public:
    ToneSpectrum (const float* samples, int numSamples, double sampleRate, double toneHz)
        : rate (sampleRate), tone (toneHz)
    {
        std::vector<std::complex<double>> data (static_cast<size_t> (fftSize));
        const auto length = juce::jmin (numSamples, fftSize);

        for (int i = 0; i < length; ++i)
        {
            const auto r = 2.0 * i / (length - 1) - 1.0;
            const auto window = besselI0 (beta * std::sqrt (juce::jmax (0.0, 1.0 - r * r))) / besselI0 (beta);
            data[static_cast<size_t> (i)] = window * samples[i];
        }

        transform (data);
        power.resize (static_cast<size_t> (fftSize / 2 + 1));
        for (size_t bin = 0; bin < power.size(); ++bin)
            power[bin] = std::norm (data[bin]);
    }

    // Energy in lines further than 6 Hz from every harmonic, against the tone's own, in dB.
    double foldedDb() const
    {
        auto folded = 0.0;
        for (size_t bin = 0; bin < power.size(); ++bin)
            if (! nearHarmonic (frequencyOf (bin)))
                folded += power[bin];
        return 10.0 * std::log10 (folded / energyAround (tone));
    }

    // Harmonic k's energy against the tone's, in dB.
    double harmonicDb (int k) const { return 10.0 * std::log10 (energyAround (k * tone) / energyAround (tone)); }

private:
    static constexpr int fftSize = 1 << 17;
    static constexpr double beta = 20.0;
    static constexpr double reach = 6.0;

    static double besselI0 (double x)
    {
        auto term = 1.0, sum = 1.0;
        for (int k = 1; term > 1.0e-17 * sum; ++k)
        {
            term *= (x / (2.0 * k)) * (x / (2.0 * k));
            sum += term;
        }
        return sum;
    }

    // In-place radix-2 transform.
    static void transform (std::vector<std::complex<double>>& x)
    {
        const auto n = x.size();
        for (size_t i = 1, j = 0; i < n; ++i)
        {
            auto bit = n >> 1;
            for (; (j & bit) != 0; bit >>= 1)
                j ^= bit;
            j ^= bit;
            if (i < j)
                std::swap (x[i], x[j]);
        }

        for (size_t length = 2; length <= n; length <<= 1)
        {
            const auto angle = -2.0 * juce::MathConstants<double>::pi / static_cast<double> (length);
            for (size_t start = 0; start < n; start += length)
                for (size_t k = 0; k < length / 2; ++k)
                {
                    const auto w = std::polar (1.0, angle * static_cast<double> (k));
                    const auto even = x[start + k];
                    const auto odd = w * x[start + k + length / 2];
                    x[start + k] = even + odd;
                    x[start + k + length / 2] = even - odd;
                }
        }
    }

    double frequencyOf (size_t bin) const { return static_cast<double> (bin) * rate / fftSize; }

    bool nearHarmonic (double frequency) const
    {
        return std::abs (frequency - std::round (frequency / tone) * tone) <= reach;
    }

    double energyAround (double frequency) const
    {
        auto energy = 0.0;
        for (size_t bin = 0; bin < power.size(); ++bin)
            if (std::abs (frequencyOf (bin) - frequency) <= reach)
                energy += power[bin];
        return energy;
    }

    std::vector<double> power;
    double rate, tone;
};
