#include "dsp/DynamicsStage.h"

#include "dsp/GainReduction.h"

CompressorCharacter compressorCharacter (int index) noexcept
{
    switch (index)
    {
        case 1: return { 4.0f, 5.0f, 80.0f };  // "Snap"
        case 2: return { 8.0f, 1.0f, 400.0f }; // "Squash"
        default: return { 2.0f, 30.0f, 250.0f }; // "Glue"
    }
}

float runDynamicsStage (juce::dsp::Compressor<float>& compressor, const ParameterHandles& params,
                        const ReplacingContext& context)
{
    if (! isSwitchOn (params.compEnabled))
        return 0.0f;

    // One knob: the threshold falls 24 dB over the amount's range while the makeup rises 6 dB.
    const auto amount = percentToUnit (params.compAmount);
    const auto character = compressorCharacter (choiceIndex (params.compMode));

    compressor.setThreshold (-24.0f * amount);
    compressor.setRatio (character.ratio);
    compressor.setAttack (character.attackMs);
    compressor.setRelease (character.releaseMs);
    auto block = context.getOutputBlock();
    const auto reductionDb = compressMeasuringReduction (compressor, block);

    block.multiplyBy (decibelsToGain (6.0f * amount));
    return reductionDb;
}
