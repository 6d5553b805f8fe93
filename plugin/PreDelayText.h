#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// How a pre-delay setting reads as text and how typed text becomes a setting, in milliseconds or,
// with sync on, as the note value it selects. `maximumLength` 0 or less means no limit; a note
// value shows its time beside it ("1/8 D · 187.5 ms") where that fits, else the note value alone.
juce::String preDelayMillisecondsText (float settingMs, int maximumLength);
juce::String preDelayNoteText (float settingMs, double bpm, int maximumLength);

// A typed note value ("1/8", "1/8 D", "1/8T", "1/16 dotted", also the text above) as the setting
// in the middle of its slice. A note value not in the list picks the one nearest in length; text
// that is no note value gives nothing.
std::optional<float> preDelaySettingForNoteText (const juce::String& text);
