#pragma once

#include <juce_core/juce_core.h>

// What the window's About box says: the release, the licence and what the plug-in is built from.
juce::String aboutTitle();
juce::String aboutText();
