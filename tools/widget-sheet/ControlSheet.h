#pragma once

#include <juce_graphics/juce_graphics.h>

// The plug-in window itself at its default size: the real editor on a processor with sample
// settings that has just played a tone, so every control, meter and the gain-reduction bar shows.
juce::Image renderControlSheet();
