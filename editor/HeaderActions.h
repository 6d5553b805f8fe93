#pragma once

#include "ui/KeyClickButton.h"
#include "ui/VelbriIconButton.h"

#include <juce_gui_basics/juce_gui_basics.h>

class VelbrinLumbraProcessor;

// The header's small buttons left of the preset bar: undo and redo of the window's own edits, and
// the A and B compare slots (the lit one holds the current sound; a click on the other switches).
class HeaderActions : public juce::Component
{
public:
    explicit HeaderActions (VelbrinLumbraProcessor& processor);

    // From the editor's timer: the lit slot and whether undo and redo have anything to do.
    void refresh();

    void resized() override;

    KeyClickButton<VelbriIconButton> undoButton { "Undo", VelbriIconButton::Icon::undo };
    KeyClickButton<VelbriIconButton> redoButton { "Redo", VelbriIconButton::Icon::redo };
    KeyClickButton<juce::TextButton> slotAButton { "A" }, slotBButton { "B" };

private:
    VelbrinLumbraProcessor& processor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HeaderActions)
};
