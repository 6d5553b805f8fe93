#pragma once

#include "plugin/SyncView.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

// The 28 host-automatable parameters, in the order the host lists them. The pre-delays' text
// follows `syncView` (their sync switches and the tempo); without one it reads in milliseconds.
juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout (std::shared_ptr<const SyncView> syncView = {});
