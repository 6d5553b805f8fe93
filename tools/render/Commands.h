#pragma once

#include "tools/render/Arguments.h"

// Each command returns the process exit code; failures print one line to stderr.
int runInfo (const RenderArguments& args);
int runRender (const RenderArguments& args);
int runGenerate (const RenderArguments& args);
int runSaveState (const RenderArguments& args);

int fail (const juce::String& message);
