#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The 28 host-automatable parameters, in the order the host lists them.
juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();
