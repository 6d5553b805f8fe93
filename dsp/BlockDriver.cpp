// The audio-thread half of the processor: preparation and the block chain.

#include "dsp/Crossfade.h"
#include "dsp/InputGuard.h"
#include "dsp/LevelMeter.h"
#include "plugin/PluginProcessor.h"

void VelbrinLumbraProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    const auto channels = juce::jmax (1, getTotalNumOutputChannels());
    const juce::dsp::ProcessSpec spec { sampleRate, static_cast<juce::uint32> (juce::jmax (1, samplesPerBlock)),
                                        static_cast<juce::uint32> (channels) };
    const auto settings = readSettings (syncView->tempo()); // the play head is for processBlock only

    preparedSampleRate = sampleRate;
    preparedChannels = channels;

    inputTrim.prepare (sampleRate);
    outputTrim.prepare (sampleRate);

    tone.prepare (spec);
    dynamics.prepare (spec);
    spaceA.prepare (spec, settings.spaceA.type);
    spaceB.prepare (spec, settings.spaceB.type);
    echo.prepare (spec);
    bypassDelay.prepare (channels, dynamics.latencyOf (OversampledDynamics::numSettings - 1), sampleRate);
    bypassDelay.setTarget (dynamics.latencyOf (settings.dynamics.oversampling), true);
    prepareGlide (blendAmount, sampleRate, settings.blend);
    prepareGlide (chainAmount, sampleRate, settings.bypass ? 0.0f : 1.0f);
    idleWatch.prepare (sampleRate);
    idleZeros.cancel(); // the lines were sized afresh, as zeros
    landingSteps = 0;
    idling.store (false);

    for (auto* scratch : { &dryBuffer, &sendBuffer, &wetBuffer, &bypassBuffer })
        scratch->setSize (channels, static_cast<int> (spec.maximumBlockSize));

    startAtSettings.store (true);
    reportLatency();
}

void VelbrinLumbraProcessor::releaseResources() {}

void VelbrinLumbraProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    processAudio (buffer, false);
}

void VelbrinLumbraProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    processAudio (buffer, true);
}

void VelbrinLumbraProcessor::processAudio (juce::AudioBuffer<float>& buffer, bool hostBypassed)
{
    juce::ScopedNoDenormals noDenormals;
    audioThread.store (juce::Thread::getCurrentThreadId(), std::memory_order_relaxed);

    const auto settings = readSettings (getEffectiveBpm(), hostBypassed);
    const auto jump = startAtSettings.load (std::memory_order_relaxed) && startAtSettings.exchange (false);
    duplicateMonoInput (buffer);

    if (idleWatch.isIdle() && staysIdle (buffer, settings, jump))
        return;

    setStageTargets (settings, jump);

    // After a restore or a new preparation the trims start at their settings too; only the very
    // first blocks after construction fade in from silence.
    if (jump && startedUp)
    {
        inputTrim.jumpTo (settings.inputGain);
        outputTrim.jumpTo (settings.outputGain);
    }

    // Fully in bypass nothing runs: every tail, envelope and glide waits where it is.
    if (restsAtZero (chainAmount))
    {
        passBypassed (buffer);
        return;
    }

    // Channels beyond those the DSP objects were prepared for carry nothing.
    const auto numChannels = juce::jmin (buffer.getNumChannels(), preparedChannels);
    const auto numSamples = buffer.getNumSamples();

    for (int channel = numChannels; channel < buffer.getNumChannels(); ++channel)
        buffer.clear (channel, 0, numSamples);

    if (numSamples == 0 || numChannels == 0)
    {
        inputLevelDb.store (-100.0f, std::memory_order_relaxed);
        outputLevelDb.store (-100.0f, std::memory_order_relaxed);
        gainReductionDb.store (0.0f, std::memory_order_relaxed);
        return;
    }

    silenceNonFiniteSamples (buffer, numChannels, numSamples);
    ensureScratchFits (numChannels, numSamples);

    // Into or out of bypass, the chain runs and crosses over with the untouched input.
    // The bypass path is the input as late as the chain's output.
    const auto crossingBypass = chainAmount.isSmoothing();
    if (crossingBypass)
    {
        copyBlock (buffer, bypassBuffer, numChannels, numSamples);
        bypassDelay.process (bypassBuffer, numChannels, numSamples);
    }
    else
    {
        bypassDelay.feed (buffer, numChannels, numSamples);
    }

    processChain (buffer, settings, numChannels, numSamples);

    if (crossingBypass)
        crossfadeInPlace (bypassBuffer, buffer, chainAmount, numChannels, numSamples);

    outputLevelDb.store (peakLevelDb (buffer, numSamples), std::memory_order_relaxed);
    idleIfSilent (settings);
}

// The chain, top to bottom as the signal flows.
void VelbrinLumbraProcessor::processChain (juce::AudioBuffer<float>& buffer, const ChainSettings& settings,
                                           int numChannels, int numSamples)
{
    juce::dsp::AudioBlock<float> block (buffer.getArrayOfWritePointers(), static_cast<size_t> (numChannels),
                                        static_cast<size_t> (numSamples));

    inputTrim.process (settings.inputGain, block);
    const auto inputPeak = peakMagnitude (buffer, numChannels, numSamples);
    inputLevelDb.store (peakToLevelDb (inputPeak), std::memory_order_relaxed);
    idleWatch.noteInput (inputPeak, numSamples);

    // Only after silent input do the stages measure whether they have fallen quiet.
    const auto measuring = idleWatch.isMeasuring();

    // The wet scratch buffer is free until the spaces: tone and dynamics keep their crossover copy there.
    tone.process (buffer, wetBuffer, numChannels, numSamples);
    tone.noteOutput (measuring ? peakMagnitude (buffer, numChannels, numSamples) : 1.0f, numSamples);
    gainReductionDb.store (dynamics.process (buffer, wetBuffer, numChannels, numSamples), std::memory_order_relaxed);

    takeSnapshot (buffer, numChannels, numSamples);

    ReturnBuses buses { sendBuffer, wetBuffer, buffer, numChannels, numSamples };
    buses.sendPeak = measuring ? peakMagnitude (sendBuffer, numChannels, numSamples) : 1.0f;
    spaceA.process (buses);
    spaceB.process (buses);
    echo.process (buses);

    applyBlend (buffer, numChannels, numSamples);
    outputTrim.process (settings.outputGain, block);
    startedUp = true;
}

// One read of every parameter per block, with the tempo in force (the host's or the tempo panel's)
// for the echo and the synced pre-delays. The host's bypass switch counts as the strip's own.
ChainSettings VelbrinLumbraProcessor::readSettings (double bpm, bool hostBypassed)
{
    auto settings = params.read (bpm);
    settings.bypass = settings.bypass || hostBypassed;
    return settings;
}

// Every stage heads for this block's settings, also in bypass, so that leaving bypass glides from
// what was last heard. The very settings of the last block change nothing and are not handed
// again: a glide already heads for them, and a stage resting silent takes them as they are when
// something changes, before it runs again. Only a compressor character or oversampling setting
// waiting for a crossover to end is asked again every block.
void VelbrinLumbraProcessor::setStageTargets (const ChainSettings& settings, bool jump) noexcept
{
    if (! jump && sameSettings (settings, handedSettings) && ! dynamics.awaitsChange())
        return;

    handedSettings = settings;
    tone.setTargets (settings.tone, jump);
    dynamics.setTargets (settings.dynamics, jump);
    bypassDelay.setTarget (dynamics.currentLatency(), jump);
    spaceA.setTargets (settings.spaceA, jump);
    spaceB.setTargets (settings.spaceB, jump);
    echo.setTargets (settings.echo, jump);
    glideTo (blendAmount, settings.blend, jump);
    glideTo (chainAmount, settings.bypass ? 0.0f : 1.0f, jump);
}

// A mono input arrives in channel 0 of a stereo buffer: both sides carry it from here on.
void VelbrinLumbraProcessor::duplicateMonoInput (juce::AudioBuffer<float>& buffer) const
{
    if (getMainBusNumInputChannels() == 1 && buffer.getNumChannels() > 1)
        buffer.copyFrom (1, 0, buffer, 0, 0, buffer.getNumSamples());
}

// The untouched input, delayed by the latency, and its level on both meters.
void VelbrinLumbraProcessor::passBypassed (juce::AudioBuffer<float>& buffer)
{
    dynamics.pause();
    bypassDelay.process (buffer, juce::jmin (buffer.getNumChannels(), preparedChannels), buffer.getNumSamples());
    publishBypassLevels (buffer);
}

void VelbrinLumbraProcessor::publishBypassLevels (const juce::AudioBuffer<float>& buffer)
{
    const auto level = peakLevelDb (buffer, buffer.getNumSamples());
    inputLevelDb.store (level, std::memory_order_relaxed);
    outputLevelDb.store (level, std::memory_order_relaxed);
    gainReductionDb.store (0.0f, std::memory_order_relaxed);
}

// The scratch copies grow only when the host sends a longer block or other channels than before.
void VelbrinLumbraProcessor::ensureScratchFits (int numChannels, int numSamples)
{
    if (dryBuffer.getNumSamples() >= numSamples && dryBuffer.getNumChannels() == numChannels)
        return;

    for (auto* scratch : { &dryBuffer, &sendBuffer, &wetBuffer, &bypassBuffer })
        scratch->setSize (numChannels, numSamples, false, false, true);
}

// The post-dynamics signal: the feed of every ambience return, and the blend's dry path unless
// the blend rests at full, where nothing reads it.
void VelbrinLumbraProcessor::takeSnapshot (const juce::AudioBuffer<float>& buffer, int numChannels, int numSamples)
{
    const auto blendReadsDry = ! blendRestsAtFull();

    for (int channel = 0; channel < numChannels; ++channel)
    {
        sendBuffer.copyFrom (channel, 0, buffer, channel, 0, numSamples);

        if (blendReadsDry)
            dryBuffer.copyFrom (channel, 0, buffer, channel, 0, numSamples);
    }
}

// At a blend of one, where it usually sits, the output is already dry plus the returns.
bool VelbrinLumbraProcessor::blendRestsAtFull() const noexcept
{
    return ! blendAmount.isSmoothing() && blendAmount.getTargetValue() == 1.0f;
}

// out = (1 - b) dry + b out: since out is dry plus the returns, blend sets the returns' level only.
void VelbrinLumbraProcessor::applyBlend (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    if (blendRestsAtFull())
        return;

    const auto start = blendAmount;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        blendAmount = start;
        auto* out = buffer.getWritePointer (channel);
        const auto* dryIn = dryBuffer.getReadPointer (channel);

        if (! blendAmount.isSmoothing())
        {
            const auto wet = blendAmount.getTargetValue();
            const auto dry = 1.0f - wet;

            for (int i = 0; i < numSamples; ++i)
                out[i] = dry * dryIn[i] + wet * out[i];
            continue;
        }

        for (int i = 0; i < numSamples; ++i)
        {
            const auto wet = blendAmount.getNextValue();
            out[i] = (1.0f - wet) * dryIn[i] + wet * out[i];
        }
    }
}

// While idle nothing runs and the output is silence (or the input, in bypass). Every block still
// takes the settings, and every glide and crossfade lands at once, as it would have during the
// silence; a stage that was waiting with sound in its memory and is asked to run wakes the chain,
// as does input at or above -120 dBFS. Returns false when this block wakes the chain: it then
// runs in full from its first sample.
bool VelbrinLumbraProcessor::staysIdle (juce::AudioBuffer<float>& buffer, const ChainSettings& settings,
                                        bool jump) noexcept
{
    const auto numChannels = juce::jmin (buffer.getNumChannels(), preparedChannels);
    const auto numSamples = buffer.getNumSamples();

    // The quiet memories are handed over, and the glides land (at the settings idle was entered
    // with), over the blocks after idle entry, not in the entry block itself, which has run the
    // whole chain already: the memories first, a stage or two per block, then the tone and dynamics
    // stages' glides, then the returns and the trims. A landing block zeroes nothing.
    const auto landsNow = landingSteps > 0;
    if (landingSteps > landingStepsAfterHandover)
        handOverQuietMemories (landingSteps - landingStepsAfterHandover);
    else if (landingSteps == 2)
        landFront (enteredIdleAt);
    else if (landingSteps == 1)
        landReturns (enteredIdleAt);
    landingSteps = landsNow ? landingSteps - 1 : 0;

    if (! (peakMagnitude (buffer, numChannels, numSamples) * settings.inputGain < wakeLevel))
    {
        finishLanding();
        wake();
        return false;
    }

    if (idleWatch.takeSettings (settings) || jump)
    {
        finishLanding();
        setStageTargets (settings, jump);

        if (anyStageHoldsSound())
        {
            wake();
            return false;
        }

        landAtSettings (settings);
    }

    if (! landsNow)
        zeroSomeIdleMemories (numChannels, numSamples);

    if (restsAtZero (chainAmount))
    {
        passBypassed (buffer);
        return true;
    }

    buffer.clear();
    inputLevelDb.store (-100.0f, std::memory_order_relaxed);
    outputLevelDb.store (-100.0f, std::memory_order_relaxed);
    gainReductionDb.store (0.0f, std::memory_order_relaxed);
    return true;
}

// A slice of the quiet lines in each idle block (also in bypass: nothing else runs then either).
void VelbrinLumbraProcessor::zeroSomeIdleMemories (int numChannels, int numSamples) noexcept
{
    if (idleZeros.isPending())
        idleZeros.clearSomeFor (numChannels, numSamples, idleZerosPerSample);
}

// After a block that ran the chain: once the input has been silent long enough and no running
// stage holds anything above -140 dBFS, every quiet memory becomes exact zeros and the chain idles.
// The entry block only marks the strip idle: the memories are handed over in the next block
// (handOverQuietMemories), as nothing runs in between, and the long lines are zeroed a slice per
// idle block after the landing (zeroSomeIdleMemories).
void VelbrinLumbraProcessor::idleIfSilent (const ChainSettings& settings) noexcept
{
    if (! idleWatch.mayIdle() || anyStageHoldsSound())
        return;

    landingSteps = landingStepsAfterHandover + handoverSteps;
    enteredIdleAt = settings;
    idleWatch.enter (settings);
    idling.store (true);
}

// One of the handover's steps, counted down from handoverSteps: the filters' and envelopes' few
// samples are zeroed at once; the long lines of the spaces and the echo are handed to idleZeros:
// they hold nothing above -140 dBFS, so a wake before the last slice plays at most that, as a
// strip that never idles would. Each step touches its own stages only and nothing runs between
// them, so the stages end as handing everything over in the entry block would leave them.
void VelbrinLumbraProcessor::handOverQuietMemories (int step) noexcept
{
    switch (step)
    {
        case 4:
            tone.clear();
            dynamics.clear();
            idleZeros.cancel();
            break;
        case 3: spaceA.clear (idleZeros); break;
        case 2: spaceB.clear (idleZeros); break;
        case 1: echo.clear (idleZeros); break;
        default: break;
    }
}

void VelbrinLumbraProcessor::wake() noexcept
{
    idleZeros.cancel(); // the stages write over what is left, all of it below -140 dBFS
    idleWatch.wake();
    idling.store (false);
}

bool VelbrinLumbraProcessor::anyStageHoldsSound() const noexcept
{
    return tone.holdsSound() || dynamics.holdsSound() || spaceA.holdsSound() || spaceB.holdsSound()
           || echo.holdsSound();
}

// Every glide and crossfade at its end, the trims included.
void VelbrinLumbraProcessor::landAtSettings (const ChainSettings& settings) noexcept
{
    setStageTargets (settings, true);
    inputTrim.jumpTo (settings.inputGain);
    outputTrim.jumpTo (settings.outputGain);
}

// The first half of landAtSettings: the stages before the returns.
void VelbrinLumbraProcessor::landFront (const ChainSettings& settings) noexcept
{
    tone.setTargets (settings.tone, true);
    dynamics.setTargets (settings.dynamics, true);
    bypassDelay.setTarget (dynamics.currentLatency(), true);
}

// The rest: landing the front again would change nothing, so this completes landAtSettings.
void VelbrinLumbraProcessor::landReturns (const ChainSettings& settings) noexcept
{
    handedSettings = settings;
    spaceA.setTargets (settings.spaceA, true);
    spaceB.setTargets (settings.spaceB, true);
    echo.setTargets (settings.echo, true);
    glideTo (blendAmount, settings.blend, true);
    glideTo (chainAmount, settings.bypass ? 0.0f : 1.0f, true);
    inputTrim.jumpTo (settings.inputGain);
    outputTrim.jumpTo (settings.outputGain);
}

// Before anything runs or takes new settings, a landing under way ends at once.
void VelbrinLumbraProcessor::finishLanding() noexcept
{
    for (; landingSteps > landingStepsAfterHandover; --landingSteps)
        handOverQuietMemories (landingSteps - landingStepsAfterHandover);
    if (landingSteps > 0)
        landAtSettings (enteredIdleAt);
    landingSteps = 0;
}
