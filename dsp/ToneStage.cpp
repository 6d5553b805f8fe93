#include "dsp/ToneStage.h"

void runToneStage (ShelfFilter&, ShelfFilter&, const ParameterHandles&, double, const ReplacingContext&)
{
}
