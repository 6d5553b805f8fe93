#pragma once

#include <juce_graphics/juce_graphics.h>

#include <utility>
#include <vector>

// Every control in each of its states, enlarged, captioned.
juce::Image renderStateSheet();

// One image per widget (file stem, image), at twice their size.
std::vector<std::pair<juce::String, juce::Image>> renderEachWidget();
