#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A mouse release at (x, y) in the component's own coordinates, after a press at the same place.
inline juce::MouseEvent releaseAt (juce::Component& component, int x, int y)
{
    const auto now = juce::Time::getCurrentTime();
    const juce::Point<float> position ((float) x, (float) y);
    return { juce::Desktop::getInstance().getMainMouseSource(),
             position,
             {},
             juce::MouseInputSource::defaultPressure,
             juce::MouseInputSource::defaultOrientation,
             juce::MouseInputSource::defaultRotation,
             juce::MouseInputSource::defaultTiltX,
             juce::MouseInputSource::defaultTiltY,
             &component,
             &component,
             now,
             position,
             now,
             1,
             false };
}
