#include "tools/render/Commands.h"

#include "plugin/PluginProcessor.h"
#include "tools/render/PresetCommands.h"
#include "tools/render/WavOutput.h"
#include "tools/host/PluginLoader.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <iostream>

int fail (const juce::String& message)
{
    std::cerr << "lumbra-render: error: " << message << std::endl;
    return 1;
}

namespace
{
constexpr double defaultSampleRate = 48000.0;

void print (const juce::String& line) { std::cout << line << std::endl; }

juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& plugin,
                                              const juce::Array<juce::AudioProcessorParameter*>& ownParameters,
                                              const juce::String& name)
{
    // Our own identifiers line up with the hosted list by index; names are matched as shown.
    for (int i = 0; i < ownParameters.size(); ++i)
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (ownParameters[i]))
            if (withId->getParameterID().equalsIgnoreCase (name))
                return plugin.getParameters()[i];

    for (auto* parameter : plugin.getParameters())
        if (parameter->getName (256).equalsIgnoreCase (name))
            return parameter;

    return nullptr;
}

// Converts a natural-unit value (or a choice or switch name) to the parameter's 0..1 value.
std::optional<float> normalisedValue (const juce::RangedAudioParameter& own, const juce::String& text, juce::String& error)
{
    const auto trimmed = text.trim();
    const auto isNumber = trimmed.isNotEmpty() && trimmed.containsOnly ("0123456789.eE+-")
                          && trimmed.containsAnyOf ("0123456789");

    if (isNumber)
    {
        const auto value = trimmed.getFloatValue();
        const auto& range = own.getNormalisableRange();

        if (! std::isfinite (value) || value < range.start || value > range.end)
        {
            error = "value " + trimmed + " for '" + own.getParameterID() + "' is outside " + juce::String (range.start)
                    + " .. " + juce::String (range.end);
            return std::nullopt;
        }
        return own.convertTo0to1 (value);
    }

    for (int step = 0; step < own.getNumSteps() && own.getNumSteps() <= 16; ++step)
    {
        const auto candidate = static_cast<float> (step) / static_cast<float> (juce::jmax (1, own.getNumSteps() - 1));
        if (own.getText (candidate, 256).equalsIgnoreCase (trimmed))
            return candidate;
    }

    error = "cannot read '" + trimmed + "' as a value of '" + own.getParameterID() + "'";
    return std::nullopt;
}

bool applyAssignments (juce::AudioPluginInstance& plugin, const RenderArguments& args, juce::String& error)
{
    VelbrinLumbraProcessor reference;
    const auto& own = reference.getParameters();

    for (const auto& assignment : args.assignments)
    {
        auto* target = findParameter (plugin, own, assignment.name);
        const auto index = target != nullptr ? plugin.getParameters().indexOf (target) : -1;
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (own[index]);

        if (target == nullptr || ranged == nullptr)
        {
            error = "unknown parameter '" + assignment.name + "'";
            return false;
        }

        const auto value = normalisedValue (*ranged, assignment.value, error);
        if (! value.has_value())
            return false;

        target->setValueNotifyingHost (*value);
    }
    return true;
}

bool loadState (juce::AudioPluginInstance& plugin, const juce::File& file, juce::String& error)
{
    juce::MemoryBlock state;
    if (! file.existsAsFile() || ! file.loadFileAsData (state))
    {
        error = "cannot read state file " + file.getFullPathName();
        return false;
    }
    plugin.setStateInformation (state.getData(), static_cast<int> (state.getSize()));
    return true;
}

bool saveState (juce::AudioPluginInstance& plugin, const juce::File& file, juce::String& error)
{
    juce::MemoryBlock state;
    plugin.getStateInformation (state);
    if (! file.replaceWithData (state.getData(), state.getSize()))
    {
        error = "cannot write state file " + file.getFullPathName();
        return false;
    }
    return true;
}

std::unique_ptr<juce::AudioBuffer<float>> readWav (const juce::File& file, double& fileRate, juce::String& error)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader;

    if (auto stream = file.createInputStream())
        reader.reset (wav.createReaderFor (stream.release(), true));

    if (reader == nullptr || reader->numChannels < 1 || reader->lengthInSamples > (1 << 30))
    {
        error = "cannot read WAV file " + file.getFullPathName();
        return nullptr;
    }

    fileRate = reader->sampleRate;
    auto audio = std::make_unique<juce::AudioBuffer<float>> (static_cast<int> (reader->numChannels),
                                                              static_cast<int> (reader->lengthInSamples));
    reader->read (audio.get(), 0, audio->getNumSamples(), 0, true, true);
    return audio;
}

juce::AudioBuffer<float> resample (const juce::AudioBuffer<float>& source, double fromRate, double toRate)
{
    if (fromRate == toRate)
        return source;

    const auto ratio = fromRate / toRate;
    const auto length = static_cast<int> (std::ceil (source.getNumSamples() / ratio));
    juce::AudioBuffer<float> result (source.getNumChannels(), length);

    for (int channel = 0; channel < source.getNumChannels(); ++channel)
    {
        juce::LagrangeInterpolator interpolator;
        interpolator.process (ratio, source.getReadPointer (channel), result.getWritePointer (channel), length,
                              source.getNumSamples(), 0);
    }
    return result;
}

// Runs the whole signal through the prepared plug-in in blocks; it always gives back two channels.
// A format whose ports are fixed at stereo (LV2) refused the mono layout: the one input channel
// then feeds both inputs, as a host wires a mono track into a stereo plug-in.
juce::AudioBuffer<float> process (juce::AudioPluginInstance& plugin, const juce::AudioBuffer<float>& input,
                                  int blockSize, bool mono)
{
    const auto monoAccepted = mono && plugin.getTotalNumInputChannels() == 1;

    juce::AudioBuffer<float> output (2, input.getNumSamples());
    juce::AudioBuffer<float> block (2, blockSize);
    juce::MidiBuffer midi;

    for (int start = 0; start < input.getNumSamples(); start += blockSize)
    {
        const auto length = juce::jmin (blockSize, input.getNumSamples() - start);
        block.setSize (2, length, false, false, true);
        block.clear();
        block.copyFrom (0, 0, input, 0, start, length);
        if (! monoAccepted)
            block.copyFrom (1, 0, input, mono ? 0 : juce::jmin (1, input.getNumChannels() - 1), start, length);

        plugin.processBlock (block, midi);

        for (int channel = 0; channel < 2; ++channel)
            output.copyFrom (channel, start, block, channel, 0, length);
    }

    plugin.releaseResources();
    return output;
}
} // namespace

juce::File defaultBundle()
{
    const auto name = juce::String ("VelbriLabs Lumbra.vst3");
    const auto toolFolder = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory();
    for (const auto& candidate : { juce::File (LUMBRA_DEFAULT_BUNDLE),
                                   toolFolder.getSiblingFile ("lib").getChildFile ("vst3").getChildFile (name),
                                   juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".vst3").getChildFile (name) })
        if (candidate.isDirectory())
            return candidate;
    return juce::File (LUMBRA_DEFAULT_BUNDLE);
}

std::unique_ptr<juce::AudioPluginInstance> openPlugin (const RenderArguments& args, double sampleRate, juce::String& error,
                                                       bool monoInput)
{
    const auto bundle = args.plugin != juce::File() ? args.plugin : defaultBundle();
    auto plugin = loadPlugin (bundle, sampleRate, args.blockSize, error);

    // Prepared before any setting arrives, as in a host: the plug-in then meets the state and the
    // settings the same way in every format (an LV2 plug-in reads its ports only while it runs).
    if (plugin != nullptr)
    {
        const auto stereo = juce::AudioChannelSet::stereo();
        if (! (monoInput && plugin->setBusesLayout ({ { juce::AudioChannelSet::mono() }, { stereo } })))
            plugin->setBusesLayout ({ { stereo }, { stereo } });
        plugin->prepareToPlay (sampleRate, args.blockSize);
    }

    if (plugin != nullptr && args.loadState != juce::File() && ! loadState (*plugin, args.loadState, error))
        return nullptr;

    if (plugin != nullptr && args.preset.isNotEmpty() && ! applyPreset (*plugin, args.preset, error))
        return nullptr;

    if (plugin != nullptr && ! applyAssignments (*plugin, args, error))
        return nullptr;

    return plugin;
}

int runInfo (const RenderArguments& args)
{
    juce::String error;
    auto plugin = openPlugin (args, args.sampleRate.value_or (defaultSampleRate), error);
    if (plugin == nullptr)
        return fail (error);

    const auto description = plugin->getPluginDescription();
    print ("name: " + description.name);
    print ("vendor: " + description.manufacturerName);
    print ("version: " + description.version);
    print ("format: " + description.pluginFormatName);
    print ("category: " + description.category);
    print ("inputs: " + juce::String (description.numInputChannels) + ", outputs: "
           + juce::String (description.numOutputChannels));
    print ("latency: " + juce::String (plugin->getLatencySamples()) + " samples, tail: "
           + juce::String (plugin->getTailLengthSeconds(), 1) + " s");
    print ("parameters: " + juce::String (plugin->getParameters().size()));
    print ("index | name | unit | default | value");

    for (auto* parameter : plugin->getParameters())
    {
        const auto defaultValue = parameter->getDefaultValue();
        print (juce::String (parameter->getParameterIndex()) + " | " + parameter->getName (256) + " | "
               + parameter->getLabel() + " | " + juce::String (defaultValue, 7) + " ("
               + parameter->getText (defaultValue, 256) + ") | " + parameter->getCurrentValueAsText());
    }
    return 0;
}

int runRender (const RenderArguments& args)
{
    juce::String error;
    double fileRate = 0.0;
    const auto input = readWav (args.input, fileRate, error);
    if (input == nullptr)
        return fail (error);

    const auto sampleRate = args.sampleRate.value_or (fileRate);
    const auto mono = args.mono || input->getNumChannels() == 1;
    auto plugin = openPlugin (args, sampleRate, error, mono);
    if (plugin == nullptr)
        return fail (error);

    const auto output = process (*plugin, resample (*input, fileRate, sampleRate), args.blockSize, mono);

    if (! writeWav (args.output, output, sampleRate, args.bits, args.allowClip, error))
        return fail (error);

    if (args.saveState != juce::File() && ! saveState (*plugin, args.saveState, error))
        return fail (error);

    // The peak printed is the file's own: an integer file let clip (--allow-clip) holds full scale at most.
    const auto clip = measureClipping (output);
    const auto filePeak = args.bits == 32 ? clip.peak : juce::jmin (clip.peak, 1.0f);
    print ("rendered " + juce::String (output.getNumSamples()) + " samples at " + juce::String (sampleRate) + " Hz to "
           + args.output.getFullPathName() + " (" + juce::String (args.bits) + (args.bits == 32 ? "-bit float" : "-bit")
           + ", peak " + juce::String (juce::Decibels::gainToDecibels (filePeak), 1) + " dBFS"
           + (clip.clippedSamples > 0 && args.bits != 32
                  ? ", " + juce::String (clip.clippedSamples) + " samples clipped, "
                        + juce::String (juce::Decibels::gainToDecibels (clip.peak), 1) + " dBFS before clipping"
                  : juce::String())
           + (clip.peak > 1.0f && args.bits == 32 ? ", above full scale: lower it before an integer format" : "")
           + ")");
    return 0;
}

int runGenerate (const RenderArguments& args)
{
    const auto sampleRate = args.sampleRate.value_or (defaultSampleRate);
    const auto length = static_cast<int> (args.seconds.value_or (2.0) * sampleRate);
    juce::AudioBuffer<float> signal (args.mono ? 1 : 2, length);
    signal.clear();

    // Half a second of 220 Hz and 3 kHz, then a click every half second to excite the ambience.
    for (int i = 0; i < length; ++i)
    {
        const auto t = i / sampleRate;
        auto value = t < 0.5 ? 0.25 * std::sin (juce::MathConstants<double>::twoPi * 220.0 * t)
                                   + 0.1 * std::sin (juce::MathConstants<double>::twoPi * 3000.0 * t)
                             : 0.0;
        if (i % static_cast<int> (sampleRate * 0.5) == 0)
            value += 0.8;

        for (int channel = 0; channel < signal.getNumChannels(); ++channel)
            signal.setSample (channel, i, static_cast<float> (value));
    }

    juce::String error;
    if (! writeWav (args.output, signal, sampleRate, args.bits, args.allowClip, error))
        return fail (error);

    print ("wrote " + juce::String (args.seconds.value_or (2.0)) + " s test signal to " + args.output.getFullPathName());
    return 0;
}

int runSaveState (const RenderArguments& args)
{
    juce::String error;
    const auto sampleRate = args.sampleRate.value_or (defaultSampleRate);
    auto plugin = openPlugin (args, sampleRate, error);
    if (plugin == nullptr)
        return fail (error);

    // An LV2 plug-in takes its control ports' values only while it runs: one silent block lets the
    // saved document hold the settings just made (a VST3 module already holds them).
    juce::AudioBuffer<float> silence (2, args.blockSize);
    silence.clear();
    process (*plugin, silence, args.blockSize, false);

    if (! saveState (*plugin, args.output, error))
        return fail (error);

    print ("saved state to " + args.output.getFullPathName());
    return 0;
}

int runNull (const RenderArguments& args)
{
    juce::String error;
    double rateA = 0.0, rateB = 0.0;
    const auto a = readWav (args.input, rateA, error);
    if (a == nullptr)
        return fail (error);
    const auto b = readWav (args.against, rateB, error);
    if (b == nullptr)
        return fail (error);

    if (a->getNumChannels() != b->getNumChannels() || a->getNumSamples() != b->getNumSamples() || rateA != rateB)
    {
        print ("no null: the files differ in channels, length or rate");
        return 1;
    }

    float difference = 0.0f;
    for (int channel = 0; channel < a->getNumChannels(); ++channel)
        for (int i = 0; i < a->getNumSamples(); ++i)
            difference = juce::jmax (difference, std::abs (a->getSample (channel, i) - b->getSample (channel, i)));

    const auto differenceDb = difference > 0.0f ? juce::Decibels::gainToDecibels (difference, -1000.0f) : -1000.0f;
    const auto nulls = differenceDb < args.nullLimitDb;
    print (juce::String (nulls ? "null" : "no null") + ": largest difference "
           + (difference > 0.0f ? juce::String (differenceDb, 1) + " dBFS" : juce::String ("none (identical)"))
           + ", limit " + juce::String (args.nullLimitDb, 1) + " dBFS");
    return nulls ? 0 : 1;
}
