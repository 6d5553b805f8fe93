#pragma once

#include "dsp/ChainSettings.h"
#include "dsp/QuietSpan.h"

// A block whose input (after the input trim) reaches this, -120 dBFS, is sound: it wakes the chain.
constexpr float wakeLevel = 1.0e-6f;

// Whether the strip may idle: it counts how long its input has been silent, remembers the settings
// it idles at, and knows when it idles. The stages themselves say whether they still hold sound.
class IdleWatch
{
public:
    // A strip that never idles (for tests comparing against one) still runs every stage as before.
    void allow (bool allowed) noexcept { enabled = allowed; }

    // Running again from scratch, the input not yet heard silent.
    void prepare (double sampleRate) noexcept;

    // After the input trim of a block that runs the chain: its peak.
    void noteInput (float peak, int numSamples) noexcept;

    // Whether this block's input was silent, so the stages measure whether they are quiet (also in
    // a strip that never idles: the reverbs end their tails alike).
    bool isMeasuring() const noexcept { return silentFor > 0; }

    // Whether the input has been silent long enough for the chain to idle once no stage holds sound.
    bool mayIdle() const noexcept { return enabled && silentFor >= settleSamples; }

    bool isIdle() const noexcept { return idle; }
    void enter (const ChainSettings& settings) noexcept;
    void wake() noexcept;

    // While idle: whether these settings differ from those last taken (and takes them).
    bool takeSettings (const ChainSettings& settings) noexcept;

private:
    ChainSettings heard;
    int silentFor = 0, settleSamples = 1;
    bool idle = false, enabled = true;
};

// Every field of two settings equal.
bool sameSettings (const ChainSettings& a, const ChainSettings& b) noexcept;
