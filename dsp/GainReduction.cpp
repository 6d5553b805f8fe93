#include "dsp/GainReduction.h"

namespace
{
// -80 dBFS: below it a sample says nothing useful about the compressor's gain.
constexpr float measuringFloor = 1.0e-4f;
} // namespace

float compressMeasuringReduction (juce::dsp::Compressor<float>& compressor,
                                  juce::dsp::AudioBlock<float>& block) noexcept
{
    auto smallestGain = 1.0f;

    for (size_t channel = 0; channel < block.getNumChannels(); ++channel)
    {
        auto* samples = block.getChannelPointer (channel);

        for (size_t i = 0; i < block.getNumSamples(); ++i)
        {
            const auto in = samples[i];
            const auto out = compressor.processSample (static_cast<int> (channel), in);
            samples[i] = out;

            const auto inMagnitude = std::abs (in);
            if (inMagnitude > measuringFloor && std::abs (out) < smallestGain * inMagnitude)
                smallestGain = std::abs (out) / inMagnitude;
        }
    }

    return smallestGain < 1.0f ? -20.0f * std::log10 (juce::jmax (smallestGain, 1.0e-6f)) : 0.0f;
}
