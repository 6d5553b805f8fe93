#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class VelbrinLumbraProcessor;

// Placeholder window until the full editor lands: the right size, resizable, dark.
class VelbrinLumbraEditor : public juce::AudioProcessorEditor
{
public:
    explicit VelbrinLumbraEditor (VelbrinLumbraProcessor& processor);

    void paint (juce::Graphics& g) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbrinLumbraEditor)
};
