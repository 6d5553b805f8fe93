#include "dsp/DynamicsStage.h"

void runDynamicsStage (juce::dsp::Compressor<float>&, const ParameterHandles&, const ReplacingContext&)
{
}
