#include "dsp/Biquad.h"
#include "dsp/DspTypes.h"
#include "tests/support/EquivalenceSignals.h"

#include <gtest/gtest.h>

namespace
{
using Coefficients = juce::dsp::IIR::Coefficients<float>;
using Design = juce::dsp::IIR::ArrayCoefficients<float>;

// The shelves the tone stage uses, at rest for a third of the render each, with the middle third
// redesigned every sample as while a gain glides.
enum class Stretch
{
    lowShelf,
    moving,
    highShelf
};

Stretch stretchAt (int sample, int length)
{
    return sample < length / 3 ? Stretch::lowShelf : (sample < 2 * length / 3 ? Stretch::moving : Stretch::highShelf);
}

void designFor (Coefficients& coefficients, Stretch stretch, double rate, int sample)
{
    if (stretch == Stretch::lowShelf)
        coefficients = Design::makeLowShelf (rate, 200.0f, 0.7071f, 2.0f);
    else if (stretch == Stretch::highShelf)
        coefficients = Design::makeHighShelf (rate, 6000.0f, 0.7071f, 0.5f);
    else
        coefficients = Design::makeLowShelf (rate, 200.0f, 0.7071f, 1.0f + 0.0001f * static_cast<float> (sample % 5000));
}

// JUCE's filter, one per channel sharing the coefficients: blocks at rest, sample by sample while moving.
juce::AudioBuffer<float> renderJuce (const EquivalenceCase& c, const juce::AudioBuffer<float>& signal)
{
    Coefficients::Ptr coefficients { new Coefficients (1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f) };
    std::vector<juce::dsp::IIR::Filter<float>> filters;
    for (int channel = 0; channel < c.numChannels; ++channel)
        filters.emplace_back (coefficients);

    auto audio = signal;
    const auto length = audio.getNumSamples();

    forEachBlock (audio, c.blockSize, [&] (juce::AudioBuffer<float>& block, int start)
    {
        const auto stretch = stretchAt (start, length);

        if (stretch != Stretch::moving)
        {
            designFor (*coefficients, stretch, c.sampleRate, start);
            for (int channel = 0; channel < c.numChannels; ++channel)
            {
                juce::dsp::AudioBlock<float> view (block);
                auto channelView = view.getSingleChannelBlock (static_cast<size_t> (channel));
                filters[static_cast<size_t> (channel)].process (ReplacingContext (channelView));
            }
            return;
        }

        for (int i = 0; i < block.getNumSamples(); ++i)
        {
            designFor (*coefficients, stretch, c.sampleRate, start + i);
            for (int channel = 0; channel < c.numChannels; ++channel)
                block.setSample (channel, i, filters[static_cast<size_t> (channel)].processSample (block.getSample (channel, i)));
        }
    });

    return audio;
}

juce::AudioBuffer<float> renderOwn (const EquivalenceCase& c, const juce::AudioBuffer<float>& signal)
{
    Coefficients coefficients (1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f);
    std::vector<BiquadMemory> memories (static_cast<size_t> (c.numChannels));
    auto audio = signal;
    const auto length = audio.getNumSamples();

    forEachBlock (audio, c.blockSize, [&] (juce::AudioBuffer<float>& block, int start)
    {
        const auto stretch = stretchAt (start, length);
        const auto* k = coefficients.getRawCoefficients();

        if (stretch != Stretch::moving)
        {
            designFor (coefficients, stretch, c.sampleRate, start);
            if (c.numChannels == 2)
                processBiquadPair (k, memories[0], memories[1], block.getWritePointer (0), block.getWritePointer (1),
                                   block.getNumSamples());
            else
                processBiquad (k, memories[0], block.getWritePointer (0), block.getNumSamples());
            return;
        }

        for (int i = 0; i < block.getNumSamples(); ++i)
        {
            designFor (coefficients, stretch, c.sampleRate, start + i);
            for (int channel = 0; channel < c.numChannels; ++channel)
                block.setSample (channel, i, memories[static_cast<size_t> (channel)].process (k, block.getSample (channel, i)));
        }
    });

    return audio;
}

class BiquadEquivalence : public ::testing::TestWithParam<EquivalenceCase>
{
};

TEST_P (BiquadEquivalence, FiltersLikeJuceIirFilterAtRestAndWhileRedesigned)
{
    const auto c = GetParam();
    const auto signal = equivalenceSignal (c.numChannels, c.sampleRate, 0.6);
    const auto expected = renderJuce (c, signal);
    const auto actual = renderOwn (c, signal);

    ASSERT_GT (peakOf (expected), 0.1f);
    const auto differenceDb = largestDifferenceDb (expected, actual);
    RecordProperty ("largestDifferenceDb", std::to_string (differenceDb));
    EXPECT_LT (differenceDb, -100.0);
}

INSTANTIATE_TEST_SUITE_P (RatesChannelsAndBlocks, BiquadEquivalence, ::testing::ValuesIn (equivalenceCases()),
                          [] (const auto& info) { return equivalenceCaseName (info.param); });

// A +6.02 dB low shelf (gain 2) passes DC at twice its level and leaves 20 kHz alone, worked out
// from the shelf's definition rather than from the filter. 20 kHz at 48 kHz repeats every 12
// samples, so the RMS over whole repeats is exactly the amplitude over root two.
TEST (Biquad, LowShelfDoublesDcAndLeavesTheTopAlone)
{
    Coefficients coefficients;
    coefficients = Design::makeLowShelf (48000.0, 200.0f, 0.7071f, 2.0f);
    BiquadMemory memory;
    std::vector<float> dc (4800, 0.5f);
    processBiquad (coefficients.getRawCoefficients(), memory, dc.data(), static_cast<int> (dc.size()));
    EXPECT_NEAR (dc.back(), 1.0f, 1.0e-3f); // within 0.01 dB: the float coefficients' rounding at DC

    BiquadMemory top;
    std::vector<float> sine (4800);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<float> (std::sin (juce::MathConstants<double>::twoPi * 20000.0 * static_cast<double> (i) / 48000.0));
    processBiquad (coefficients.getRawCoefficients(), top, sine.data(), static_cast<int> (sine.size()));

    double power = 0.0;
    for (size_t i = 2400; i < sine.size(); ++i)
        power += static_cast<double> (sine[i]) * sine[i];
    EXPECT_NEAR (std::sqrt (power / 2400.0), std::sqrt (0.5), 0.005);
}
} // namespace
