#include "editor/PluginEditor.h"

#include "plugin/PluginProcessor.h"

VelbrinLumbraEditor::VelbrinLumbraEditor (VelbrinLumbraProcessor& processor)
    : AudioProcessorEditor (processor)
{
    setResizable (true, true);
    setSize (1180, 560);
}

void VelbrinLumbraEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff16181c));
}
