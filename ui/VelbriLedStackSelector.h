#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// A vertical stack of LED rows with captions, one of them lit. A click picks the row under the
// pointer when the button is released and reports it through onChange, every time; lighting a row
// from outside (setSelectedIndex) reports nothing.
class VelbriLedStackSelector : public juce::Component
{
public:
    VelbriLedStackSelector() = default;

    // Replaces the row captions, top to bottom; the lit row index stays as it was.
    void setItems (const juce::StringArray& newItems);
    const juce::StringArray& getItems() const noexcept { return items; }

    // Lights a row without calling onChange. An index outside the rows lights none.
    void setSelectedIndex (int index);
    int getSelectedIndex() const noexcept { return selectedIndex; }

    // Called with the clicked row's index after every click, also on the row already lit.
    std::function<void (int)> onChange;

    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;

private:
    void paintRow (juce::Graphics&, int row, int rowHeight) const;

    juce::StringArray items;
    int selectedIndex = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriLedStackSelector)
};
