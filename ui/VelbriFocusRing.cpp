#include "ui/VelbriFocusRing.h"

#include "ui/Palette.h"

VelbriFocusRing::VelbriFocusRing()
{
    setInterceptsMouseClicks (false, false);
    setWantsKeyboardFocus (false);
    setAccessible (false);
    juce::Desktop::getInstance().addFocusChangeListener (this);
}

VelbriFocusRing::~VelbriFocusRing() { juce::Desktop::getInstance().removeFocusChangeListener (this); }

void VelbriFocusRing::globalFocusChanged (juce::Component* focused)
{
    // Focus that a click just gave is the mouse's: the pointer already shows where the user is.
    const auto sinceClick = juce::Time::getCurrentTime() - juce::Desktop::getInstance().getMainMouseSource().getLastMouseDownTime();
    if (sinceClick.inMilliseconds() < mouseFocusWindowMs)
        focused = nullptr;

    // A text box being typed into rings the control it belongs to.
    while (focused != nullptr && focused->getParentComponent() != getParentComponent()
           && ! focused->getWantsKeyboardFocus())
        focused = focused->getParentComponent();

    follow (focused);
}

void VelbriFocusRing::follow (juce::Component* newTarget)
{
    auto* parent = getParentComponent();

    if (newTarget == nullptr || parent == nullptr || newTarget == parent || ! parent->isParentOf (newTarget))
    {
        target = nullptr;
        setVisible (false);
        return;
    }

    target = newTarget;
    setBounds (parent->getLocalArea (newTarget, newTarget->getLocalBounds()).expanded (margin));
    setVisible (true);
}

void VelbriFocusRing::paint (juce::Graphics& g)
{
    g.setColour (Palette::accentBright.withAlpha (0.9f));
    g.drawRoundedRectangle (getLocalBounds().toFloat().reduced (1.0f), 4.0f, 1.5f);
}
