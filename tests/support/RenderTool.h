#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

// Runs the command-line host `lumbra-render` on the built module (unless the arguments name another
// bundle), as a user would.
struct ToolRun
{
    int exitCode;
    juce::String output;
};

inline ToolRun runRenderTool (const juce::StringArray& arguments)
{
    juce::StringArray command { LUMBRA_RENDER_TOOL };
    command.addArray (arguments);
    if (! arguments.contains ("--plugin"))
        command.addArray ({ "--plugin", LUMBRA_VST3_BUNDLE });

    juce::ChildProcess process;
    if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return { -1, "cannot start " + command.joinIntoString (" ") };

    const auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (120000);
    return { static_cast<int> (process.getExitCode()), output };
}

inline bool writeWavFile (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate)
{
    file.deleteFile();
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer;
    if (auto stream = file.createOutputStream())
        writer.reset (wav.createWriterFor (stream.release(), sampleRate, static_cast<unsigned int> (audio.getNumChannels()),
                                           24, {}, 0));
    return writer != nullptr && writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
}

inline std::unique_ptr<juce::AudioFormatReader> openWavReader (const juce::File& file)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader;
    if (auto stream = file.createInputStream())
        reader.reset (wav.createReaderFor (stream.release(), true));
    return reader;
}

inline juce::AudioBuffer<float> readWavFile (const juce::File& file)
{
    const auto reader = openWavReader (file);
    if (reader == nullptr)
        return {};

    juce::AudioBuffer<float> audio (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);
    return audio;
}
