#pragma once

#include <juce_dsp/juce_dsp.h>

// Runs the block through the compressor in place, exactly as its own process() would, and
// returns the largest gain reduction it applied to any sample, in dB (0 or more). Only samples
// well above the noise floor count, so a near-silent block reads 0.
float compressMeasuringReduction (juce::dsp::Compressor<float>& compressor,
                                  juce::dsp::AudioBlock<float>& block) noexcept;
