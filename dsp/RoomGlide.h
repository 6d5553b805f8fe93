#pragma once

#include "dsp/Glide.h"

// A reverb's room (size and damping, 0..1 as JUCE's reverb takes them) moving to a new type along
// the S-curve of the other controls. JUCE's reverb glides each new room itself, but in a straight
// 10 ms line whose corners are heard on a big change; it cannot be told to curve. So while the room
// moves, the reverb is handed a new room every sample, chosen so that its own one-step move lands
// exactly on the curve, and is handed the curve's end when the curve arrives (its own glide then
// has nowhere left to go).
class RoomGlide
{
public:
    struct Room
    {
        float size = 0.5f;
        float damping = 0.5f;
    };

    // `reverbGlideSteps`: the samples the reverb takes for one of its own glides.
    void prepare (double sampleRate, int reverbGlideSteps, Room room) noexcept
    {
        steps = static_cast<float> (juce::jmax (1, reverbGlideSteps));
        prepareGlide (size, sampleRate, room.size);
        prepareGlide (damping, sampleRate, room.damping);
        inReverb = room;
    }

    void setTarget (Room room, bool jump) noexcept
    {
        glideTo (size, room.size, jump);
        glideTo (damping, room.damping, jump);

        if (jump)
            inReverb = room;
    }

    bool isMoving() const noexcept { return size.isSmoothing() || damping.isSmoothing(); }
    Room target() const noexcept { return { size.getTargetValue(), damping.getTargetValue() }; }

    // What to hand the reverb for the next sample while the room moves.
    Room nextSteering() noexcept
    {
        const Room onCurve { size.getNextValue(), damping.getNextValue() };
        const Room steering { steer (inReverb.size, onCurve.size), steer (inReverb.damping, onCurve.damping) };
        inReverb = onCurve;
        return isMoving() ? steering : onCurve;
    }

private:
    // The reverb moves 1 / steps of the way to what it is handed each sample.
    float steer (float from, float to) const noexcept { return from + steps * (to - from); }

    Glide size, damping;
    Room inReverb;
    float steps = 1.0f;
};
