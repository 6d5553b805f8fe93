#pragma once

#include "dsp/DspTypes.h"
#include "dsp/ReturnBuses.h"
#include "plugin/ParameterHandles.h"

// The echo time of a division at a tempo: "Slap" 120 ms, "8th" half a beat, "Quarter" one beat;
// any other index is "Slap". A tempo that is not a number above 0 counts as 120 BPM; an infinite
// one gives 0 ms.
float divisionToMs (int divisionIndex, double bpm);

// The echo time in samples of the line: at least 1 (the line is read before it is written) and at
// most the line's maximum. A time that is not a number gives 1, never an integer made from NaN.
float echoDelayInSamples (float ms, double sampleRate, int maximumDelay);

// True when the echo runs this block (switched on and mix above 0.01 %).
bool echoRuns (const ParameterHandles& params);

// The feedback echo, fed from the send copy and added into the main buffer.
void runEchoStage (FractionalDelayLine& echoLine, const ParameterHandles& params, double bpm,
                   double sampleRate, ReturnBuses& buses);
