#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Mouse and wheel events with modifier keys, delivered straight to a component's handlers (no
// window needed): a press at one place, drags to others, a release.
namespace pointer
{
inline juce::MouseEvent at (juce::Component& component, juce::Point<float> position, juce::ModifierKeys mods,
                            juce::Point<float> pressedAt, int clicks = 1)
{
    const auto now = juce::Time::getCurrentTime();
    return { juce::Desktop::getInstance().getMainMouseSource(),
             position,
             mods,
             juce::MouseInputSource::defaultPressure,
             juce::MouseInputSource::defaultOrientation,
             juce::MouseInputSource::defaultRotation,
             juce::MouseInputSource::defaultTiltX,
             juce::MouseInputSource::defaultTiltY,
             &component,
             &component,
             now,
             pressedAt,
             now,
             clicks,
             position != pressedAt };
}

inline const juce::ModifierKeys left { juce::ModifierKeys::leftButtonModifier };

// Press at `from`, drag through `to`, release there, all with `mods` held.
inline void drag (juce::Component& component, juce::Point<float> from, juce::Point<float> to,
                  juce::ModifierKeys mods = {})
{
    auto& listener = static_cast<juce::MouseListener&> (component);
    const auto held = mods.withFlags (juce::ModifierKeys::leftButtonModifier);
    listener.mouseDown (at (component, from, held, from));
    listener.mouseDrag (at (component, (from + to) / 2.0f, held, from));
    listener.mouseDrag (at (component, to, held, from));
    listener.mouseUp (at (component, to, mods, from));
}

inline void click (juce::Component& component, juce::Point<float> where, juce::ModifierKeys mods = {})
{
    drag (component, where, where, mods);
}

// One notch of an ordinary wheel, up (+1) or down (-1).
inline void wheel (juce::Component& component, int notches, juce::ModifierKeys mods = {})
{
    juce::MouseWheelDetails details {};
    details.deltaY = (float) notches * 50.0f / 256.0f;
    details.isReversed = false;
    details.isSmooth = false;
    details.isInertial = false;
    const auto centre = component.getLocalBounds().getCentre().toFloat();
    static_cast<juce::MouseListener&> (component).mouseWheelMove (at (component, centre, mods, centre), details);
}
} // namespace pointer
