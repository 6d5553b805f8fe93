#include "dsp/ToneStage.h"

namespace
{
using ShelfDesign = std::array<float, 6> (*) (double, float, float, float);

constexpr float shelfQ = 0.7071f;

// A corner at or above Nyquist makes the biquad unstable; at the usual rates no corner comes near this.
float limitCorner (float cornerHz, double sampleRate) noexcept
{
    return juce::jmin (cornerHz, static_cast<float> (0.45 * sampleRate));
}

void runBand (ShelfFilter& shelf, ShelfDesign design, float cornerHz, float gainDb, double sampleRate,
              const ReplacingContext& context)
{
    // Written into the band's shared coefficient set: every channel's filter picks the new values up
    // from its next sample, its memory untouched, and nothing is allocated on the audio thread.
    *shelf.state = design (sampleRate, limitCorner (cornerHz, sampleRate), shelfQ, decibelsToGain (gainDb));
    shelf.process (context);
}
} // namespace

float lowShelfCornerHz (int characterIndex) noexcept
{
    switch (characterIndex)
    {
        case 0: return 200.0f; // "Warm"
        case 1: return 80.0f;  // "Deep"
        default: return 400.0f; // "Air-Cut"
    }
}

float highShelfCornerHz (int characterIndex) noexcept
{
    switch (characterIndex)
    {
        case 0: return 8000.0f; // "Silk"
        case 1: return 5000.0f; // "Sheen"
        default: return 10000.0f; // "Crisp"
    }
}

void runToneStage (ShelfFilter& lowShelf, ShelfFilter& highShelf, const ParameterHandles& params,
                   double sampleRate, const ReplacingContext& context)
{
    using Design = juce::dsp::IIR::ArrayCoefficients<float>;

    if (isSwitchOn (params.lowEnabled))
        runBand (lowShelf, &Design::makeLowShelf, lowShelfCornerHz (choiceIndex (params.lowMode)),
                 params.lowGain.load(), sampleRate, context);

    if (isSwitchOn (params.highEnabled))
        runBand (highShelf, &Design::makeHighShelf, highShelfCornerHz (choiceIndex (params.highMode)),
                 params.highGain.load(), sampleRate, context);
}
