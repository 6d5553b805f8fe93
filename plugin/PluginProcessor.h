#pragma once

#include "dsp/ChainSettings.h"
#include "dsp/IdleWatch.h"
#include "dsp/LatencyDelay.h"
#include "dsp/OversampledDynamics.h"
#include "dsp/TrimStage.h"
#include "plugin/AbCompare.h"
#include "plugin/EditHistory.h"
#include "plugin/ParameterHandles.h"
#include "plugin/PresetSession.h"
#include "plugin/SyncView.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <functional>

class VelbrinLumbraProcessor : public juce::AudioProcessor,
                               private juce::AudioProcessorValueTreeState::Listener,
                               private juce::Timer
{
public:
    VelbrinLumbraProcessor();
    ~VelbrinLumbraProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using AudioProcessor::processBlock;

    // The host's own bypass switch runs the strip's bypass: crossfaded and delayed by the latency.
    void processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using AudioProcessor::processBlockBypassed;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destination) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    // Tempo operations used by the tempo panel and the echo.
    void setManualBpm (float bpm);
    void registerTap();
    double getEffectiveBpm();

    // The sync switches and the tempo as the pre-delays' text reads them; made before the parameters.
    std::shared_ptr<SyncView> syncView = std::make_shared<SyncView>();

    juce::AudioProcessorValueTreeState parameters;

    std::atomic<float> manualBpm { 120.0f };
    std::atomic<bool> hostSyncEnabled { true };

    // The one place registerTap reads the time: ms of JUCE's high-resolution counter, which runs
    // from system start. Tests replace it to tap at exact times.
    std::function<double()> tapClockMs { [] { return juce::Time::getMillisecondCounterHiRes(); } };

    // Peak of the last block in dBFS, floor -100, for the editor's meters. The editor reads each
    // meter on its own, so the audio thread stores them with no ordering (a plain store).
    std::atomic<float> inputLevelDb { -100.0f };
    std::atomic<float> outputLevelDb { -100.0f };

    // The compressor's largest gain reduction in the last block, in dB (0 or more, makeup left
    // out); 0 while the dynamics stage is off or the plug-in is bypassed.
    std::atomic<float> gainReductionDb { 0.0f };

    // The preset the sound was loaded from, saved with the project (message thread).
    PresetSession presetSession;

    // The window's own edits, for its undo and redo; kept while the window is closed, never saved.
    EditHistory editHistory { *this, presetSession };

    // The A/B compare slots; the other slot is kept in the saved state.
    AbCompare abCompare;

    // Whether the chain idles: its input and every tail have died away, and no stage runs.
    std::atomic<bool> idling { false };

    // The quiet lines are zeroed after idle entry a slice per idle block, this many samples per
    // host sample and channel, so no block pays for all of them (tests set it high to zero at once).
    int idleZerosPerSample = SpreadClear::defaultPerSampleAndChannel;
    bool isZeroingIdleMemories() const noexcept { return landingSteps > landingStepsAfterHandover || idleZeros.isPending(); }

private:
    double preparedSampleRate = 44100.0;
    double lastTapMs = 0.0;

    TrimStage inputTrim, outputTrim;
    ToneStage tone;
    OversampledDynamics dynamics;
    SpaceStage spaceA { SpaceKind::a }, spaceB { SpaceKind::b };
    EchoStage echo;
    Glide blendAmount, chainAmount; // chainAmount: 1 while the chain is heard, 0 in bypass
    juce::AudioBuffer<float> dryBuffer, sendBuffer, wetBuffer, bypassBuffer;
    LatencyDelay bypassDelay; // the untouched input, held back as long as the chain's latency

    // Set after preparing and after a restore: the next block starts at the settings as they are,
    // with no glide from the values before.
    std::atomic<bool> startAtSettings { true };
    bool startedUp = false; // the trims' fade in from silence after construction has begun

    // Idles the chain while the input and every tail are silent.
    IdleWatch idleWatch;
    SpreadClear idleZeros; // the quiet lines still to be zeroed while the strip idles
    int landingSteps = 0; // idle entered: the memories are handed over and the glides land over this many of the next blocks
    static constexpr int handoverSteps = 4, landingStepsAfterHandover = 2;
    ChainSettings enteredIdleAt;
    ChainSettings handedSettings; // what the stages were last handed

    // Not part of the host contract: the audio thread's view of the parameters and the
    // channel count the DSP objects were prepared for.
    ParameterHandles params { parameters };
    int preparedChannels = 2;

    void restorePreset (const juce::XmlElement& document);
    double hostBpm();

    // The latency of the "Oversample" setting, told to the host off the audio thread: at once where
    // the setting changes there, within a timer tick where it changes on the audio thread
    // (automation), which must not reach the host itself.
    void reportLatency();
    std::atomic<juce::Thread::ThreadID> audioThread { nullptr }; // the thread that last processed a block
    void parameterChanged (const juce::String& parameterID, float newValue) override;
    void timerCallback() override;

    // Block driver steps (dsp/BlockDriver.cpp).
    ChainSettings readSettings (double bpm, bool hostBypassed = false);
    void setStageTargets (const ChainSettings& settings, bool jump) noexcept;
    void duplicateMonoInput (juce::AudioBuffer<float>& buffer) const;
    void publishBypassLevels (const juce::AudioBuffer<float>& buffer);
    void ensureScratchFits (int numChannels, int numSamples);
    void processAudio (juce::AudioBuffer<float>& buffer, bool hostBypassed);
    void passBypassed (juce::AudioBuffer<float>& buffer);
    void processChain (juce::AudioBuffer<float>& buffer, const ChainSettings& settings, int numChannels, int numSamples);
    void takeSnapshot (const juce::AudioBuffer<float>& buffer, int numChannels, int numSamples);
    bool blendRestsAtFull() const noexcept;
    void applyBlend (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;
    bool staysIdle (juce::AudioBuffer<float>& buffer, const ChainSettings& settings, bool jump) noexcept;
    void idleIfSilent (const ChainSettings& settings) noexcept;
    void wake() noexcept;
    void zeroSomeIdleMemories (int numChannels, int numSamples) noexcept;
    bool anyStageHoldsSound() const noexcept;
    void landAtSettings (const ChainSettings& settings) noexcept;
    void landFront (const ChainSettings& settings) noexcept;
    void landReturns (const ChainSettings& settings) noexcept;
    void finishLanding() noexcept;
    void handOverQuietMemories (int step) noexcept;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbrinLumbraProcessor)
};
