#pragma once

#include "tools/render/Arguments.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

// Each command returns the process exit code; failures print one line to stderr.
int runInfo (const RenderArguments& args);
int runRender (const RenderArguments& args);
int runGenerate (const RenderArguments& args);
int runSaveState (const RenderArguments& args);
int runSnapshot (const RenderArguments& args);
int runClicks (const RenderArguments& args);
int runPresets (const RenderArguments& args);
int runSavePreset (const RenderArguments& args);
int runNull (const RenderArguments& args);

// Without --plugin: the .vst3 built with this tool, else the one installed beside it (the package's
// /usr/bin next to /usr/lib/vst3), else the one installed into the home folder.
juce::File defaultBundle();

// Loads the bundle, prepares it (mono input when asked and the format offers it), restores
// --load-state, applies --preset and then the --set assignments.
std::unique_ptr<juce::AudioPluginInstance> openPlugin (const RenderArguments& args, double sampleRate, juce::String& error,
                                                       bool monoInput = false);

int fail (const juce::String& message);
