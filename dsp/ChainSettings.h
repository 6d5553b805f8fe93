#pragma once

#include "dsp/DynamicsStage.h"
#include "dsp/EchoStage.h"
#include "dsp/SpaceStage.h"
#include "dsp/ToneStage.h"

// Everything the chain is asked for in one block, read once at its start, in natural units
// (linear gains, 0..1 amounts, milliseconds, indices, on/off).
struct ChainSettings
{
    float inputGain = 1.0f;
    ToneSettings tone;
    DynamicsSettings dynamics;
    SpaceSettings spaceA, spaceB;
    EchoSettings echo;
    float blend = 1.0f;
    float outputGain = 1.0f;
    bool bypass = false;

    // Every field, nested ones included: a setting added later is compared without a word here.
    bool operator== (const ChainSettings&) const = default;
};
