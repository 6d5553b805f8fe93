#pragma once

#include <juce_graphics/juce_graphics.h>

// A 1180 x 560 faceplate holding one of every control, placed as in the plug-in window.
juce::Image renderControlSheet();
