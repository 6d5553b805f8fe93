#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

// A vertical stack of LED rows with captions, one of them lit. A click picks the row under the
// pointer when the button is released and reports it through onChange, every time; lighting a row
// from outside (setSelectedIndex) reports nothing. With the keyboard focus, the arrow keys pick
// the row above or below. Screen readers see a radio group whose items are the rows (each a
// child that draws nothing and takes no click), read the lit one as checked and can press any.
class VelbriLedStackSelector : public juce::Component
{
public:
    VelbriLedStackSelector();
    ~VelbriLedStackSelector() override;

    // Replaces the row captions, top to bottom; the lit row index stays as it was.
    void setItems (const juce::StringArray& newItems);
    const juce::StringArray& getItems() const noexcept { return items; }

    // Lights a row without calling onChange. An index outside the rows lights none.
    void setSelectedIndex (int index);
    int getSelectedIndex() const noexcept { return selectedIndex; }

    // Lights a row and reports it, as a click on it does.
    void pick (int index);

    // Called with the clicked row's index after every click, also on the row already lit.
    std::function<void (int)> onChange;

    void mouseUp (const juce::MouseEvent&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

    // Public so that what a screen reader is told can be checked without a window on the desktop.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    class Row;

    void paintRow (juce::Graphics&, int row, int rowHeight) const;

    juce::StringArray items;
    int selectedIndex = 0;
    std::vector<std::unique_ptr<Row>> rows;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriLedStackSelector)
};
