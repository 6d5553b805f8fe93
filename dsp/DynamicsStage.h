#pragma once

#include "dsp/DspTypes.h"
#include "plugin/ParameterHandles.h"

struct CompressorCharacter
{
    float ratio;
    float attackMs;
    float releaseMs;
};

// Ratio and ballistics of each character; an index outside the table reads as "Glue".
CompressorCharacter compressorCharacter (int index) noexcept;

// The one-knob compressor with its makeup gain, only while switched on (when off, its envelope
// keeps its value and resumes from it). Returns the block's largest gain reduction in dB, makeup
// left out; 0 while switched off.
float runDynamicsStage (juce::dsp::Compressor<float>& compressor, const ParameterHandles& params,
                        const ReplacingContext& context);
