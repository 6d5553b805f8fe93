#pragma once

#include "dsp/HalfBandStage.h"

#include <memory>
#include <vector>

// Two or four times the host rate and back, through one or two half-band stages. The down-sampler
// of the first stage keeps whichever phase makes the whole delay a whole number of host samples,
// so the latency is exact and a plain delay line lines anything up with it.
class Resampler
{
public:
    explicit Resampler (int doublings); // designs the filters (allocates)

    void prepare (int numChannels, int maximumBlock);
    void reset() noexcept;

    int factor() const noexcept { return 1 << static_cast<int> (stages.size()); }
    int latency() const noexcept { return latencySamples; }

    // The raised-rate copy of a block (factor x numSamples), which the caller may change in place
    // before taking it down again into `output`.
    float* up (int channel, const float* input, int numSamples) noexcept;
    void down (int channel, float* output, int numSamples) noexcept;

private:
    std::vector<std::unique_ptr<HalfBandStage>> stages;
    std::vector<std::vector<std::vector<float>>> raised; // [stage][channel]: the stage's up-sampled block
    int latencySamples = 0;
};
