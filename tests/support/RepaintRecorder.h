#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Records every area a component (or any of its children) asks to have repainted, as a window
// would collect them before its next paint. Install with `RepaintRecorder::attachTo`; the
// component owns the recorder from then on.
class RepaintRecorder : public juce::CachedComponentImage
{
public:
    static RepaintRecorder& attachTo (juce::Component& component)
    {
        auto* recorder = new RepaintRecorder (component);
        component.setVisible (true); // hidden components send no repaints
        component.setCachedComponentImage (recorder);
        return *recorder;
    }

    // The areas asked for since the last call, and forgets them.
    juce::RectangleList<int> take()
    {
        auto taken = dirty;
        dirty.clear();
        return taken;
    }

    void paint (juce::Graphics&) override {}
    bool invalidateAll() override
    {
        dirty.add (owner.getLocalBounds());
        return true;
    }
    bool invalidate (const juce::Rectangle<int>& area) override
    {
        dirty.add (area.getIntersection (owner.getLocalBounds()));
        return true;
    }
    void releaseResources() override {}

private:
    explicit RepaintRecorder (juce::Component& component)
        : owner (component)
    {
    }

    juce::Component& owner;
    juce::RectangleList<int> dirty;
};
