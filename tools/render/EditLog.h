#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The host's side of the plug-in's edits: every beginEdit, performEdit and endEdit the VST3 (or
// LV2) plug-in sends reaches the hosted instance as a gesture or a value change, recorded here as
// "begin NAME", "perform NAME" and "end NAME" in the order they arrive.
class EditLog : private juce::AudioProcessorListener
{
public:
    explicit EditLog (juce::AudioProcessor& processorToWatch) : processor (processorToWatch)
    {
        processor.addListener (this);
    }

    ~EditLog() override { processor.removeListener (this); }

    EditLog (const EditLog&) = delete;
    EditLog& operator= (const EditLog&) = delete;

    const juce::StringArray& getEvents() const noexcept { return events; }

private:
    juce::String nameOf (int index) const
    {
        auto* parameter = processor.getParameters()[index];
        return parameter != nullptr ? parameter->getName (64) : juce::String (index);
    }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override
    {
        events.add ("perform " + nameOf (index));
    }

    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        events.add ("begin " + nameOf (index));
    }

    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        events.add ("end " + nameOf (index));
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    juce::AudioProcessor& processor;
    juce::StringArray events;
};
