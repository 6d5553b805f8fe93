#pragma once

#include "dsp/DspTypes.h"
#include "dsp/ReturnBuses.h"
#include "plugin/ParameterHandles.h"

#include <optional>

// The echo time of a division at a tempo: "Slap" 120 ms, "8th" half a beat, "Quarter" one beat;
// any other index is "Slap". A tempo that is not a number above 0 counts as 120 BPM; an infinite
// one gives 0 ms.
float divisionToMs (int divisionIndex, double bpm);

// The echo time in samples of the line: at least 1 (the line is read before it is written) and at
// most the line's maximum. A time that is not a number gives 1, never an integer made from NaN.
float echoDelayInSamples (float ms, double sampleRate, int maximumDelay);

// The level of the echo's return this block, or nothing when the echo does not run (switched off,
// or mix at 0.01 % or below). Read once per block; the stage is then run with that level.
std::optional<float> runningEchoMix (const ParameterHandles& params);

// The feedback echo, fed from the send copy and added into the main buffer at `mix`.
void runEchoStage (FractionalDelayLine& echoLine, float mix, const ParameterHandles& params, double bpm,
                   double sampleRate, ReturnBuses& buses);
