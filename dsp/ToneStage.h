#pragma once

#include "dsp/DspTypes.h"
#include "plugin/ParameterHandles.h"

// Low shelf, then high shelf, each only while switched on (a band that is off keeps its memory).
void runToneStage (ShelfFilter& lowShelf, ShelfFilter& highShelf, const ParameterHandles& params,
                   double sampleRate, const ReplacingContext& context);
