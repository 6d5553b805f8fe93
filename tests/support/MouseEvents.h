#pragma once

#include "tests/support/PointerEvents.h"

// A mouse release at (x, y) in the component's own coordinates, after a press at the same place.
inline juce::MouseEvent releaseAt (juce::Component& component, int x, int y)
{
    const juce::Point<float> position ((float) x, (float) y);
    return pointer::at (component, position, {}, position);
}
