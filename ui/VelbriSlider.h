#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A fader or knob with the hand engineers expect. Ctrl/Cmd-click, a double-click, Delete or
// Backspace return it to its default; Shift-drag and Shift-wheel move it at a tenth of the speed;
// the wheel and the arrow keys move it by its step (Shift: a tenth of it, no finer than the
// value's resolution); Home and End go to its ends. Each such edit is one gesture: onDragStart,
// the new value, onDragEnd, exactly as a drag reports, so whatever binds it to a parameter needs
// no other path. Keys with Ctrl, Cmd or Alt are left to the parent (the window's undo).
class VelbriSlider : public juce::Slider
{
public:
    VelbriSlider();

    // How far one wheel notch or arrow key moves it, in its own units.
    void setStep (double newStep) noexcept { step = newStep; }
    double getStep() const noexcept { return step; }
    double getFineStep() const noexcept;

    // The unit a screen reader says after a number ("dB", "%", "ms"); none after text such as a
    // note value, which names itself.
    void setSpokenUnit (const juce::String& unit) { spokenUnit = unit; }
    juce::String getSpokenText();

    // Sets the value as one complete gesture; a value it already holds changes nothing.
    void setValueAsGesture (double newValue);
    void resetToDefault();

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;
    bool keyPressed (const juce::KeyPress&) override;

    // The value box is typed into through its slider (Enter), so Tab stops once per slider.
    void lookAndFeelChanged() override;

    // Public so that what a screen reader is told can be checked without a window on the desktop.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void nudge (int direction, bool fine);
    double dragPixelsForFullRange() const;

    juce::String spokenUnit;
    double step = 1.0;
    bool fineDragging = false;
    double fineProportion = 0.0;
    juce::Point<float> lastFinePosition;
    float wheelRemainder = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriSlider)
};
