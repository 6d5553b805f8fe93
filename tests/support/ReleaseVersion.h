#pragma once

#include <juce_core/juce_core.h>

// The release every artefact must report: the newest "## [X.Y.Z]" entry of CHANGELOG.md, read here
// rather than taken from the build, so a binary built with another version fails its test.
inline juce::String releasedVersion()
{
    juce::StringArray lines;
    lines.addLines (juce::File (LUMBRA_CHANGELOG).loadFileAsString());
    for (const auto& line : lines)
        if (line.startsWith ("## ["))
            return line.fromFirstOccurrenceOf ("[", false, false).upToFirstOccurrenceOf ("]", false, false);
    return {};
}
