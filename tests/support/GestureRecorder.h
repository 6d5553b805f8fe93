#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A test host's view of edits: what the VST3 wrapper turns into beginEdit, performEdit and endEdit,
// recorded in the order it arrives as "begin ID", "perform ID" and "end ID".
class GestureRecorder : private juce::AudioProcessorListener
{
public:
    explicit GestureRecorder (juce::AudioProcessor& processorToWatch) : processor (processorToWatch)
    {
        processor.addListener (this);
    }

    ~GestureRecorder() override { processor.removeListener (this); }

    juce::StringArray events;

    int count (const juce::String& kind) const
    {
        int total = 0;
        for (const auto& event : events)
            total += event.startsWith (kind + " ") ? 1 : 0;
        return total;
    }

private:
    juce::String idOf (int index) const
    {
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (processor.getParameters()[index]))
            return withId->getParameterID();
        return juce::String (index);
    }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override
    {
        events.add ("perform " + idOf (index));
    }

    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        events.add ("begin " + idOf (index));
    }

    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        events.add ("end " + idOf (index));
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    juce::AudioProcessor& processor;
};
