#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The footer's name and version: rest the pointer on it to read the licence, click it (or press
// Return on it) for the About box. It draws nothing itself; the footer text lies under it.
class AboutButton : public juce::Button
{
public:
    AboutButton();

    void paintButton (juce::Graphics&, bool, bool) override {}
    void clicked() override;
};
