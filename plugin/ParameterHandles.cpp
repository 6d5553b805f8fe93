#include "plugin/ParameterHandles.h"

#include "plugin/ParamIDs.h"

namespace
{
std::atomic<float>& rawValue (juce::AudioProcessorValueTreeState& state, const juce::String& id)
{
    auto* raw = state.getRawParameterValue (id);
    jassert (raw != nullptr);
    return *raw;
}
} // namespace

ParameterHandles::ParameterHandles (juce::AudioProcessorValueTreeState& state)
    : inputTrim (rawValue (state, ParamIDs::inputTrim)),
      lowGain (rawValue (state, ParamIDs::lowGain)),
      lowMode (rawValue (state, ParamIDs::lowMode)),
      lowEnabled (rawValue (state, ParamIDs::lowEnabled)),
      highGain (rawValue (state, ParamIDs::highGain)),
      highMode (rawValue (state, ParamIDs::highMode)),
      highEnabled (rawValue (state, ParamIDs::highEnabled)),
      compAmount (rawValue (state, ParamIDs::compAmount)),
      compMode (rawValue (state, ParamIDs::compMode)),
      compEnabled (rawValue (state, ParamIDs::compEnabled)),
      compOversample (rawValue (state, ParamIDs::compOversample)),
      spaceAMix (rawValue (state, ParamIDs::spaceAMix)),
      spaceAType (rawValue (state, ParamIDs::spaceAType)),
      spaceAPreDelay (rawValue (state, ParamIDs::spaceAPreDelay)),
      spaceAPreDelaySync (rawValue (state, ParamIDs::spaceAPreDelaySync)),
      spaceAEnabled (rawValue (state, ParamIDs::spaceAEnabled)),
      spaceBMix (rawValue (state, ParamIDs::spaceBMix)),
      spaceBType (rawValue (state, ParamIDs::spaceBType)),
      spaceBPreDelay (rawValue (state, ParamIDs::spaceBPreDelay)),
      spaceBPreDelaySync (rawValue (state, ParamIDs::spaceBPreDelaySync)),
      spaceBEnabled (rawValue (state, ParamIDs::spaceBEnabled)),
      echoMix (rawValue (state, ParamIDs::echoMix)),
      echoDivision (rawValue (state, ParamIDs::echoDivision)),
      echoFeedback (rawValue (state, ParamIDs::echoFeedback)),
      echoEnabled (rawValue (state, ParamIDs::echoEnabled)),
      blend (rawValue (state, ParamIDs::blend)),
      outputTrim (rawValue (state, ParamIDs::outputTrim)),
      bypass (rawValue (state, ParamIDs::bypass))
{
}

float ParameterHandles::TrimGain::of (float newDecibels) noexcept
{
    if (newDecibels != decibels)
    {
        decibels = newDecibels;
        gain = decibelsToGain (newDecibels);
    }

    return gain;
}

ChainSettings ParameterHandles::read (double bpm) noexcept
{
    ChainSettings settings;
    settings.inputGain = inputGain.of (inputTrim.load());
    settings.tone.low = { isSwitchOn (lowEnabled), lowShelfCornerHz (choiceIndex (lowMode)), lowGain.load() };
    settings.tone.high = { isSwitchOn (highEnabled), highShelfCornerHz (choiceIndex (highMode)), highGain.load() };
    settings.dynamics = { isSwitchOn (compEnabled), choiceIndex (compMode), percentToUnit (compAmount),
                          choiceIndex (compOversample) };
    settings.spaceA = { isSwitchOn (spaceAEnabled), choiceIndex (spaceAType), percentToUnit (spaceAMix),
                        spaceAPreDelay.load(), isSwitchOn (spaceAPreDelaySync), bpm };
    settings.spaceB = { isSwitchOn (spaceBEnabled), choiceIndex (spaceBType), percentToUnit (spaceBMix),
                        spaceBPreDelay.load(), isSwitchOn (spaceBPreDelaySync), bpm };
    settings.echo = { isSwitchOn (echoEnabled), choiceIndex (echoDivision), percentToUnit (echoMix),
                      percentToUnit (echoFeedback), bpm };
    settings.blend = percentToUnit (blend);
    settings.outputGain = outputGain.of (outputTrim.load());
    settings.bypass = isSwitchOn (bypass);
    return settings;
}
