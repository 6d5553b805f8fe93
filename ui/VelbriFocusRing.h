#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The ring around the control that has the keyboard focus: one small component on top of the
// window that follows the focus, so no control draws anything extra and nothing is drawn at all
// while no control of the window has the focus. Focus given by a click shows no ring (the pointer
// is there already); the next Tab shows it. It never takes a click.
class VelbriFocusRing : public juce::Component, private juce::FocusChangeListener
{
public:
    VelbriFocusRing();
    ~VelbriFocusRing() override;

    // Rings `target` (a control inside the ring's parent), or hides for anything else.
    void follow (juce::Component* target);
    juce::Component* getTarget() const noexcept { return target.getComponent(); }

    void paint (juce::Graphics&) override;

    static constexpr int margin = 3;
    static constexpr int mouseFocusWindowMs = 300;

private:
    void globalFocusChanged (juce::Component* focused) override;

    juce::Component::SafePointer<juce::Component> target;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriFocusRing)
};
