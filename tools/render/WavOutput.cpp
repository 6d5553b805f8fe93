#include "tools/render/WavOutput.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cmath>

ClipReport measureClipping (const juce::AudioBuffer<float>& audio)
{
    ClipReport report;
    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
    {
        const auto* samples = audio.getReadPointer (channel);
        for (int i = 0; i < audio.getNumSamples(); ++i)
        {
            const auto magnitude = std::abs (samples[i]);
            report.peak = juce::jmax (report.peak, magnitude);
            if (magnitude > 1.0f)
                ++report.clippedSamples;
        }
    }
    return report;
}

bool writeWav (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bits,
               bool allowClip, juce::String& error)
{
    if (bits != 32 && ! allowClip)
    {
        const auto clip = measureClipping (audio);
        if (clip.clippedSamples > 0)
        {
            error = juce::String (clip.clippedSamples) + " samples would clip in a " + juce::String (bits)
                    + "-bit file (peak " + juce::String (juce::Decibels::gainToDecibels (clip.peak), 2)
                    + " dBFS); nothing written. Lower the level, write 32-bit float (--bits 32) or pass --allow-clip";
            return false;
        }
    }

    file.deleteFile();
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer;

    if (auto stream = file.createOutputStream())
        writer.reset (wav.createWriterFor (stream.release(), sampleRate, static_cast<unsigned int> (audio.getNumChannels()),
                                           bits, {}, 0));

    if (writer == nullptr || ! writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples()))
    {
        error = "cannot write WAV file " + file.getFullPathName();
        return false;
    }
    return true;
}
