#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// The standard VST3 preset file (.vstpreset), the format hosts' preset browsers read:
//   header   "VST3", format version 1 (int32), the processor's class ID as 32 ASCII hex digits,
//            the offset of the chunk list (int64)
//   chunks   "Comp": the component state; "Info": metadata (XML)
//   list     "List", the entry count (int32), then per entry its ID, offset and size (int64 each)
// All numbers little-endian.
namespace vstpreset
{
// The processor component's class ID as preset files spell it.
juce::String processorClassId();

// A complete preset file holding `componentState` and metadata naming the preset.
juce::MemoryBlock write (const juce::MemoryBlock& componentState, const juce::String& presetName);

// The component state inside a preset file, or nothing with `error` saying why: a file that is
// not a VST3 preset, one made for another plug-in, or one whose chunk list points outside it.
std::optional<juce::MemoryBlock> readComponentState (const void* data, size_t size, juce::String& error);

// Where hosts look for this plug-in's user presets: ~/.vst3/presets/<vendor>/<plug-in name>.
juce::File userPresetFolder();

constexpr const char* fileExtension = ".vstpreset";
} // namespace vstpreset
