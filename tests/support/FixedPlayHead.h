#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <optional>

// A host transport that reports a fixed tempo, no tempo, or no position at all.
struct FixedPlayHead : juce::AudioPlayHead
{
    std::optional<double> bpm;
    bool reportsPosition = true;

    juce::Optional<PositionInfo> getPosition() const override
    {
        if (! reportsPosition)
            return {};

        PositionInfo position;
        if (bpm.has_value())
            position.setBpm (*bpm);
        return position;
    }
};
