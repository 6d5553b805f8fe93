#pragma once

#include "dsp/Glide.h"
#include "dsp/PreDelay.h"
#include "dsp/ReturnBuses.h"
#include "dsp/ReverbKernel.h"
#include "dsp/TailFloor.h"
#include "dsp/RoomGlide.h"

enum class SpaceKind
{
    a,
    b
};

struct SpaceSettings
{
    bool enabled = true;
    int type = 0;
    float mix = 0.0f; // 0..1
    float preDelayMs = 0.0f; // the setting; with sync on it selects a note value (dsp/NoteValues.h)
    bool preDelaySync = false;
    double bpm = 120.0; // the tempo in force, for a synced pre-delay

    bool operator== (const SpaceSettings&) const = default;
};

// The reverb settings of a space's type at a mix (0..1): wet only. An index outside the table
// reads as the last row.
juce::dsp::Reverb::Parameters spaceSettings (SpaceKind kind, int typeIndex, float mix) noexcept;

// One reverb space with its pre-delay: a wet-only return of the send copy added to the main buffer.
// Its level (the mix, or zero while switched off) glides; it runs while that level is above 0.01 %
// or still moving, and otherwise its tail and pre-delay wait. Starting and stopping, its feed fades
// in and out with its level, so nothing enters or leaves its lines with a step. A new type moves
// the room (size and damping) along the same S-curve as the other controls. A tail fed silence
// that has sunk to the reverb's rounding floor (95 dB down or lower) is cleared, so it ends
// instead of circling: the reverb rests while its lines are zeroed a slice per block.
class SpaceStage
{
public:
    explicit SpaceStage (SpaceKind kind) : kind (kind) {}

    // Sized for the spec and silent: the reverb's gains start from zero, so the first block it
    // runs fades in from nothing.
    void prepare (const juce::dsp::ProcessSpec& spec, int typeIndex);
    void setTargets (const SpaceSettings& settings, bool jump) noexcept;
    void process (ReturnBuses& buses) noexcept;

    // For idling: whether the space runs and its reverb or pre-delay still holds anything above
    // -140 dBFS, and zeros for every quiet memory.
    bool holdsSound() const noexcept;
    void clear() noexcept;
    void clear (SpreadClear& later) noexcept;

private:
    void setPreDelay (const SpaceSettings& settings, bool jump) noexcept;
    void feedFromSend (ReturnBuses& buses) noexcept;
    void reverberate (juce::dsp::AudioBlock<float> block) noexcept;
    void reverberateWhileRoomMoves (juce::dsp::AudioBlock<float> block) noexcept;
    void reverberateStereoWhileRoomMoves (juce::dsp::AudioBlock<float> block) noexcept;
    void addReturn (ReturnBuses& buses) noexcept;
    void noteTail (const ReturnBuses& buses) noexcept;
    bool fedQuiet (const ReturnBuses& buses) const noexcept;
    bool restsWhileFloorClears (ReturnBuses& buses) noexcept;
    void setRoom (RoomGlide::Room room) noexcept;

    SpaceKind kind;
    ReverbKernel reverb;
    PreDelay preDelay;
    RoomGlide room;
    RoomGlide::Room handedRoom; // what the reverb was last handed, once `roomHanded`
    bool roomHanded = false;
    Glide level, feed;
    QuietSpan tail; // the reverb's own memory
    TailFloor floor;
    SpreadClear floorZeros; // the reverb's lines, zeroed a slice per block once its tail sits on its floor
};
