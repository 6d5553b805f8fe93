#include "editor/SliderBinding.h"

#include <cmath>

namespace
{
bool startsWithNumber (const juce::String& text)
{
    auto t = text.trimStart();
    if (t.startsWithChar ('-') || t.startsWithChar ('+'))
        t = t.substring (1).trimStart();

    return t.isNotEmpty() && (juce::CharacterFunctions::isDigit (t[0]) || (t[0] == '.' && juce::CharacterFunctions::isDigit (t[1])));
}
} // namespace

SliderBinding::SliderBinding (juce::RangedAudioParameter& parameterToUse, VelbriSlider& sliderToUse)
    : parameter (parameterToUse)
    , slider (sliderToUse)
    , attachment (parameterToUse, [this] (float value) { showParameterValue (value); })
{
    const auto& range = parameter.getNormalisableRange();
    slider.setNormalisableRange ({ range.start, range.end, range.interval, range.skew });
    slider.textFromValueFunction = [this] (double value)
    { return parameter.getText (parameter.convertTo0to1 ((float) value), 0); };
    slider.valueFromTextFunction = [this] (const juce::String& text) { return valueForText (text); };
    slider.setSpokenUnit (parameter.getLabel());
    slider.setDoubleClickReturnValue (true, range.convertFrom0to1 (parameter.getDefaultValue()),
                                      juce::ModifierKeys::commandModifier);

    slider.onDragStart = [this]
    {
        inGesture = true;
        attachment.beginGesture();
    };
    slider.onValueChange = [this] { sliderMoved(); };
    slider.onDragEnd = [this]
    {
        inGesture = false;
        attachment.endGesture();
    };

    attachment.sendInitialUpdate();
}

SliderBinding::~SliderBinding()
{
    slider.onDragStart = nullptr;
    slider.onValueChange = nullptr;
    slider.onDragEnd = nullptr;
    slider.textFromValueFunction = nullptr;
    slider.valueFromTextFunction = nullptr;
}

void SliderBinding::showParameterValue (float denormalisedValue)
{
    const juce::ScopedValueSetter<bool> showing (showingParameter, true);
    slider.setValue (denormalisedValue, juce::sendNotificationSync);
}

// Every edit of the slider's own arrives inside a gesture; anything else that moves it is made one.
void SliderBinding::sliderMoved()
{
    if (showingParameter)
        return;

    const auto value = (float) slider.getValue();

    if (inGesture)
        attachment.setValueAsPartOfGesture (value);
    else
        attachment.setValueAsCompleteGesture (value);
}

// Nonsense gives the value already held, which the slider takes as no change.
double SliderBinding::valueForText (const juce::String& text) const
{
    if (! startsWithNumber (text))
        return slider.getValue();

    const auto value = parameter.convertFrom0to1 (parameter.getValueForText (text.trim()));
    return std::isfinite (value) ? (double) value : slider.getValue();
}
