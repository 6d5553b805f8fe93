#pragma once

#include "dsp/DspTypes.h"
#include "plugin/ParameterHandles.h"

// The one-knob compressor with its makeup gain, only while switched on (when off, its envelope
// keeps its value and resumes from it).
void runDynamicsStage (juce::dsp::Compressor<float>& compressor, const ParameterHandles& params,
                       const ReplacingContext& context);
