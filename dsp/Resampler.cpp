#include "dsp/Resampler.h"

namespace
{
// The outer stage sits next to the audio band: a narrow transition (20.7 to 23.4 kHz at 44.1 kHz)
// and 100 dB of stopband, so little the compressor makes above the band folds back into it. The
// inner stage's transition lies far above the audio band, where a wide one costs few taps.
std::unique_ptr<HalfBandStage> makeStage (bool outer)
{
    return outer ? std::make_unique<HalfBandStage> (0.05f, -100.0f, 0.03f, -100.0f)
                 : std::make_unique<HalfBandStage> (0.10f, -100.0f, 0.10f, -100.0f);
}
} // namespace

Resampler::Resampler (int doublings)
{
    for (int stage = 0; stage < doublings; ++stage)
        stages.push_back (makeStage (stage == 0));

    // Delays in samples of the rate after the outer stage, from the inside out: each stage's two
    // filters delay by an odd number of its own samples each, an even number in all.
    auto inner = 0;
    for (size_t stage = stages.size() - 1; stage >= 1; --stage)
        inner = (stages[stage]->upDelay() + stages[stage]->downDelay() + inner) / 2;

    const auto total = stages[0]->upDelay() + stages[0]->downDelay() + inner;
    const auto phase = total % 2;
    stages[0]->setDownPhase (phase);
    latencySamples = (total - phase) / 2;
}

void Resampler::prepare (int numChannels, int maximumBlock)
{
    raised.clear();
    auto length = maximumBlock;
    for (auto& stage : stages)
    {
        stage->prepare (numChannels, length);
        length *= 2;
        raised.emplace_back (static_cast<size_t> (numChannels), std::vector<float> (static_cast<size_t> (length), 0.0f));
    }
}

void Resampler::reset() noexcept
{
    for (auto& stage : stages)
        stage->reset();
}

float* Resampler::up (int channel, const float* input, int numSamples) noexcept
{
    const auto* source = input;
    auto length = numSamples;
    float* result = nullptr;

    for (size_t stage = 0; stage < stages.size(); ++stage)
    {
        result = raised[stage][static_cast<size_t> (channel)].data();
        stages[stage]->up (channel, source, result, length);
        source = result;
        length *= 2;
    }

    return result;
}

void Resampler::down (int channel, float* output, int numSamples) noexcept
{
    auto length = numSamples << (stages.size() - 1);

    for (size_t stage = stages.size(); stage-- > 0;)
    {
        auto* destination = stage == 0 ? output : raised[stage - 1][static_cast<size_t> (channel)].data();
        stages[stage]->down (channel, raised[stage][static_cast<size_t> (channel)].data(), destination, length);
        length /= 2;
    }
}
