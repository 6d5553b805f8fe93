#include "dsp/SpaceStage.h"

void runSpaceStage (SpaceKind, juce::dsp::Reverb&, FractionalDelayLine&, const SpaceControls&, double, ReturnBuses&)
{
}
