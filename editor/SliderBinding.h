#pragma once

#include "ui/VelbriSlider.h"

#include <juce_audio_processors/juce_audio_processors.h>

// Binds a fader or knob to its parameter: the parameter's range, default and text, a gesture for
// every drag and for each of the slider's one-shot edits (reset, wheel, keys, typed value), and
// the host's changes shown as they come. Typed text must start with a number ("-3", "-3 dB",
// "250ms", a note value); anything else is refused and the box shows the value again.
class SliderBinding
{
public:
    SliderBinding (juce::RangedAudioParameter& parameter, VelbriSlider& slider);
    ~SliderBinding();

private:
    void showParameterValue (float denormalisedValue);
    void sliderMoved();
    double valueForText (const juce::String& text) const;

    juce::RangedAudioParameter& parameter;
    VelbriSlider& slider;
    juce::ParameterAttachment attachment;
    bool showingParameter = false;
    bool inGesture = false;

    JUCE_DECLARE_NON_COPYABLE (SliderBinding)
};
