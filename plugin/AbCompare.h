#pragma once

#include "plugin/PresetSession.h"
#include "plugin/PresetSetting.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

class VelbrinLumbraProcessor;

// Two slots to compare settings. The active slot is the current sound; the other is held here,
// with the preset name and reference it had. A switch stores the current sound in the active slot
// and loads the other one, each parameter in a gesture of its own (so it glides and the host
// records it, like a preset load), and the preset name follows. The other slot starts as a copy of
// the current sound. Both slots travel in the saved state in a COMPARE element that older states
// lack: they load as slot A with B a copy. Message thread, apart from the state calls.
class AbCompare
{
public:
    struct Slot
    {
        PresetSetting sound;
        PresetSession::Snapshot session;
    };

    int activeSlot() const;

    // To slot 0 (A) or 1 (B); the active one changes nothing. Recorded as one undo step.
    void switchTo (VelbrinLumbraProcessor& processor, int slot);

    // The current sound (and its preset name) into the other slot.
    void copyToOther (const VelbrinLumbraProcessor& processor);

    // The other slot as held (empty: a copy of the current sound).
    std::optional<Slot> otherSlot() const;

    // Writes the COMPARE element into a state's root, when there is anything to keep.
    void writeTo (juce::XmlElement& root) const;

    // Takes the slots from a restored state's COMPARE element (none: slot A, B a copy). Every
    // value is checked: unknown ids and repeats are skipped, numbers must be finite and are limited
    // to their range, missing ones are the current sound's, and the name is sanitised.
    void readFrom (const juce::XmlElement* element, const VelbrinLumbraProcessor& processor);

    static inline const juce::String elementTag { "COMPARE" };

private:
    mutable juce::CriticalSection lock;
    int active = 0;
    std::optional<Slot> other;
};
