// Writes real saved states of the processor as the fuzzers' seed corpus:
//   lumbra_make_state_corpus OUTPUT_FOLDER

#include "plugin/PluginProcessor.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
void save (VelbrinLumbraProcessor& processor, const juce::File& file)
{
    juce::MemoryBlock state;
    processor.getStateInformation (state);
    file.replaceWithData (state.getData(), state.getSize());
    std::cout << file.getFullPathName() << " (" << state.getSize() << " bytes)" << std::endl;
}

void moveEveryParameter (VelbrinLumbraProcessor& processor)
{
    juce::Random random (2026);
    for (auto* parameter : processor.getParameters())
        parameter->setValueNotifyingHost (random.nextFloat());
}
} // namespace

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;
    if (argc != 2)
    {
        std::cerr << "usage: lumbra_make_state_corpus OUTPUT_FOLDER" << std::endl;
        return 2;
    }

    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    folder.createDirectory();

    {
        VelbrinLumbraProcessor processor;
        save (processor, folder.getChildFile ("default.state"));
    }
    {
        VelbrinLumbraProcessor processor;
        moveEveryParameter (processor);
        processor.hostSyncEnabled.store (false);
        save (processor, folder.getChildFile ("every-parameter-moved.state"));
    }
    {
        // Both compare slots held, B active, so the fuzzer starts from a COMPARE element.
        VelbrinLumbraProcessor processor;
        processor.abCompare.switchTo (processor, 1);
        moveEveryParameter (processor);
        save (processor, folder.getChildFile ("compare-slots.state"));
    }
    {
        VelbrinLumbraProcessor processor;
        processor.manualBpm.store (static_cast<float> (60000.0 / 473.0));
        save (processor, folder.getChildFile ("tapped-tempo.state"));
    }
    {
        VelbrinLumbraProcessor processor;
        moveEveryParameter (processor);
        juce::MemoryBlock state;
        processor.getStateInformation (state);
        auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), static_cast<int> (state.getSize()));
        xml->setTagName ("SOMETHING_ELSE");
        xml->setAttribute ("manualBpm", "97.25 BPM");
        xml->setAttribute ("hostSyncEnabled", "yes");
        juce::MemoryBlock odd;
        juce::AudioProcessor::copyXmlToBinary (*xml, odd);
        folder.getChildFile ("odd-root-tag.state").replaceWithData (odd.getData(), odd.getSize());
        std::cout << "odd-root-tag.state (" << odd.getSize() << " bytes)" << std::endl;
    }
    return 0;
}
