#pragma once

#include "plugin/PluginProcessor.h"

#include <juce_core/juce_core.h>

// What must hold after a processor restores any bytes at all: parameters finite and inside their
// ranges, the tempo finite, the next block finite, and the state saved again restorable. Returns
// the first broken invariant, or an empty string.
juce::String restoreAndCheck (VelbrinLumbraProcessor& processor, const void* data, size_t size);

// A processor prepared as a host would, ready for restoreAndCheck.
std::unique_ptr<VelbrinLumbraProcessor> makePreparedProcessor();
