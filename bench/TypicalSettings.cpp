#include "bench/TypicalSettings.h"

#include "plugin/ParamIDs.h"

void TypicalSettings::applyTo (VelbrinLumbraProcessor& processor) const
{
    auto set = [&processor] (const juce::String& id, float naturalValue)
    {
        auto* parameter = processor.parameters.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (naturalValue));
    };

    set (ParamIDs::inputTrim, inputTrimDb);
    set (ParamIDs::lowGain, lowGainDb);
    set (ParamIDs::lowMode, static_cast<float> (lowMode));
    set (ParamIDs::highGain, highGainDb);
    set (ParamIDs::highMode, static_cast<float> (highMode));
    set (ParamIDs::compAmount, compAmountPercent);
    set (ParamIDs::compMode, static_cast<float> (compMode));
    set (ParamIDs::spaceAMix, spaceAMixPercent);
    set (ParamIDs::spaceAType, static_cast<float> (spaceAType));
    set (ParamIDs::spaceAPreDelay, spaceAPreDelayMs);
    set (ParamIDs::spaceBMix, spaceBMixPercent);
    set (ParamIDs::spaceBType, static_cast<float> (spaceBType));
    set (ParamIDs::spaceBPreDelay, spaceBPreDelayMs);
    set (ParamIDs::echoMix, echoMixPercent);
    set (ParamIDs::echoDivision, static_cast<float> (echoDivision));
    set (ParamIDs::echoFeedback, echoFeedbackPercent);
    set (ParamIDs::blend, blendPercent);
    set (ParamIDs::outputTrim, outputTrimDb);

    for (const auto* id : { &ParamIDs::lowEnabled, &ParamIDs::highEnabled, &ParamIDs::compEnabled,
                            &ParamIDs::spaceAEnabled, &ParamIDs::spaceBEnabled, &ParamIDs::echoEnabled })
        set (*id, 1.0f);
    set (ParamIDs::bypass, 0.0f);
}
