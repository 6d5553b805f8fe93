#pragma once

#include "dsp/DspTypes.h"
#include "plugin/ParameterHandles.h"

// The one-knob compressor with its makeup gain, only while switched on.
void runDynamicsStage (juce::dsp::Compressor<float>& compressor, const ParameterHandles& params,
                       const ReplacingContext& context);
