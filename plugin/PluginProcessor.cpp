#include "plugin/PluginProcessor.h"

#include "editor/PluginEditor.h"
#include "plugin/ParameterLayout.h"
#include "plugin/ParamIDs.h"

VelbrinLumbraProcessor::VelbrinLumbraProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "PARAMETERS", createParameterLayout (syncView))
{
    syncView->attach (*parameters.getRawParameterValue (ParamIDs::spaceAPreDelaySync),
                      *parameters.getRawParameterValue (ParamIDs::spaceBPreDelaySync), manualBpm, hostSyncEnabled);

    // Read once, here, never on the audio thread: tests compare the strip with one that never idles.
    idleWatch.allow (juce::SystemStats::getEnvironmentVariable ("LUMBRA_NEVER_IDLE", {}).isEmpty());

    // Undoing or redoing an A/B switch switches again.
    editHistory.switchSlot = [this] (int slot) { abCompare.switchTo (*this, slot); };

    parameters.addParameterListener (ParamIDs::compOversample, this);
    reportLatency();
    startTimerHz (20);
}

// The parameters outlive this object's members: their text stops reading them first.
VelbrinLumbraProcessor::~VelbrinLumbraProcessor()
{
    stopTimer();
    syncView->detach();
    parameters.removeParameterListener (ParamIDs::compOversample, this);
}

// The latency of the setting asked for, which the chain reaches with that setting's first block.
// JUCE hands it to the host (VST3: a restart with the latency flag; LV2: the latency port).
void VelbrinLumbraProcessor::reportLatency()
{
    setLatencySamples (dynamics.latencyOf (choiceIndex (params.compOversample)));
}

// Told at once on the message thread and on any other thread but the audio thread (an LV2 host
// restores a state on its own).
void VelbrinLumbraProcessor::parameterChanged (const juce::String&, float)
{
    if (juce::MessageManager::existsAndIsCurrentThread()
        || juce::Thread::getCurrentThreadId() != audioThread.load (std::memory_order_relaxed))
        reportLatency();
}

void VelbrinLumbraProcessor::timerCallback() { reportLatency(); }

const juce::String VelbrinLumbraProcessor::getName() const { return "VelbriLabs Lumbra"; }

double VelbrinLumbraProcessor::getTailLengthSeconds() const { return 4.0; }
bool VelbrinLumbraProcessor::acceptsMidi() const { return false; }
bool VelbrinLumbraProcessor::producesMidi() const { return false; }

juce::AudioProcessorEditor* VelbrinLumbraProcessor::createEditor() { return new VelbrinLumbraEditor (*this); }
bool VelbrinLumbraProcessor::hasEditor() const { return true; }

// One program only. The VST3 wrapper always publishes a program list, and the VST3 contract wants
// each program in it named, so the single program is called "Default".
int VelbrinLumbraProcessor::getNumPrograms() { return 1; }
int VelbrinLumbraProcessor::getCurrentProgram() { return 0; }
void VelbrinLumbraProcessor::setCurrentProgram (int) {}
const juce::String VelbrinLumbraProcessor::getProgramName (int) { return "Default"; }
void VelbrinLumbraProcessor::changeProgramName (int, const juce::String&) {}

// Stereo out only, fed by a stereo or a mono input.
bool VelbrinLumbraProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    if (layouts.getMainOutputChannelSet() != juce::AudioChannelSet::stereo())
        return false;

    const auto input = layouts.getMainInputChannelSet();
    return input == juce::AudioChannelSet::stereo() || input == juce::AudioChannelSet::mono();
}

// The host's entry point: one new processor per plug-in instance, owned by the wrapper.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new VelbrinLumbraProcessor();
}
