#pragma once

#include "dsp/DspTypes.h"
#include "plugin/ParameterHandles.h"

// Corner frequency of each band's characters; an index outside the table reads as the last row.
float lowShelfCornerHz (int characterIndex) noexcept;
float highShelfCornerHz (int characterIndex) noexcept;

// Low shelf, then high shelf, each only while switched on (a band that is off keeps its memory).
void runToneStage (ShelfFilter& lowShelf, ShelfFilter& highShelf, const ParameterHandles& params,
                   double sampleRate, const ReplacingContext& context);
