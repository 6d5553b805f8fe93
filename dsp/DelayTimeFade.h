#pragma once

#include "dsp/Glide.h"

// A delay line's time changing without a jump of its read position: the old and the new position
// are both read and crossed over (equal gain) in 20 ms. A glide of the time itself would bend the
// pitch of everything in the line; a crossfade only blends two clean copies. A new time asked for
// during a crossfade waits for it to finish, then crosses over from there.
class DelayTimeFade
{
public:
    void prepare (double sampleRate, float delay) noexcept;

    // `delay` in samples; `jump` sets it at once.
    void setTarget (float delay, bool jump) noexcept;

    bool isFading() const noexcept { return fading; }
    float current() const noexcept { return from; }
    float next() const noexcept { return to; }

    // How far the crossfade has come (0: all `current`, 1: all `next`), one value per sample.
    Glide& progress() noexcept { return amount; }

    // After a block: a finished crossfade makes `next` current, and a waiting time starts its own.
    void endBlock() noexcept;

private:
    void startIfWaiting() noexcept;

    Glide amount;
    float from = 0.0f, to = 0.0f, wanted = 0.0f;
    bool fading = false;
};
