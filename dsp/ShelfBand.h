#pragma once

#include "dsp/Biquad.h"
#include "dsp/DspTypes.h"
#include "dsp/Glide.h"
#include "dsp/QuietSpan.h"

#include <vector>

// What one shelving band is asked for this block.
struct ShelfBandSettings
{
    bool enabled = true;
    float cornerHz = 200.0f;
    float gainDb = 0.0f;

    bool operator== (const ShelfBandSettings&) const = default;
};

// One shelving band. Its gain and corner glide (the coefficients follow sample by sample while
// either moves, and are left alone once both have arrived); switching it on or off crosses over
// from the unfiltered signal and back. Once off it stops and keeps its memory.
class ShelfBand
{
public:
    enum class Kind
    {
        low,
        high
    };

    explicit ShelfBand (Kind kind) : kind (kind) {}

    void prepare (const juce::dsp::ProcessSpec& spec);
    void setTargets (const ShelfBandSettings& settings, bool jump) noexcept;

    // `scratch` holds the unfiltered block while the band crosses over.
    void process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch, int numChannels,
                  int numSamples) noexcept;

    // For idling: the peak the band's output reached in a block (counted only while it runs),
    // whether it runs and still holds something audible, and zeros for a memory that is quiet.
    void noteOutput (float peak, int numSamples) noexcept;
    bool holdsSound() const noexcept;
    void clear() noexcept;

private:
    using Coefficients = juce::dsp::IIR::Coefficients<float>;

    void filter (juce::dsp::AudioBlock<float> block) noexcept;
    void filterWhileMoving (juce::dsp::AudioBlock<float> block) noexcept;
    void design (float cornerHz, float gainDb) noexcept;

    Kind kind;
    // Every channel's filter shares one coefficient set: a new design reaches all of them at once.
    Coefficients::Ptr coefficients { new Coefficients (1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f) };
    std::vector<BiquadMemory> channelMemories;
    double sampleRate = 44100.0;
    Glide gainDb, cornerOctaves, onAmount;
    float targetCornerHz = 200.0f;
    bool coefficientsAtTarget = false;
    QuietSpan memory;
};
