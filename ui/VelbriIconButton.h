#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A small square header button drawn as a curved arrow: undo turns back to the left, redo to the
// right. Dimmed while there is nothing to do (it stays enabled, so the keyboard still reaches it).
class VelbriIconButton : public juce::Button
{
public:
    enum class Icon { undo, redo };

    VelbriIconButton (const juce::String& name, Icon icon);

    void setAvailable (bool shouldBeAvailable);
    bool isAvailable() const noexcept { return available; }

    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    Icon icon;
    bool available = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriIconButton)
};
