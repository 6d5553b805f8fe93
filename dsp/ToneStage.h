#pragma once

#include "dsp/ShelfBand.h"

// Corner frequency of each band's characters; an index outside the table reads as the last row.
float lowShelfCornerHz (int characterIndex) noexcept;
float highShelfCornerHz (int characterIndex) noexcept;

struct ToneSettings
{
    ShelfBandSettings low, high;

    bool operator== (const ToneSettings&) const = default;
};

// Low shelf, then high shelf.
class ToneStage
{
public:
    void prepare (const juce::dsp::ProcessSpec& spec);
    void setTargets (const ToneSettings& settings, bool jump) noexcept;
    void process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch, int numChannels,
                  int numSamples) noexcept;

    // For idling: the stage's output peak over a block, whether a band still holds something
    // audible, and zeros for every quiet memory.
    void noteOutput (float peak, int numSamples) noexcept;
    bool holdsSound() const noexcept;
    void clear() noexcept;

private:
    ShelfBand low { ShelfBand::Kind::low }, high { ShelfBand::Kind::high };
};
