#pragma once

#include "dsp/DspTypes.h"
#include "dsp/ReturnBuses.h"
#include "plugin/ParameterHandles.h"

// The echo time of a division at a tempo: "Slap" 120 ms, "8th" half a beat, "Quarter" one beat.
float divisionToMs (int divisionIndex, double bpm);

// True when the echo runs this block (switched on and mix above 0.01 %).
bool echoRuns (const ParameterHandles& params);

// The feedback echo, fed from the send copy and added into the main buffer.
void runEchoStage (FractionalDelayLine& echoLine, const ParameterHandles& params, double bpm,
                   double sampleRate, ReturnBuses& buses);
