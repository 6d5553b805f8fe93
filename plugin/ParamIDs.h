#pragma once

#include <juce_core/juce_core.h>

// The host derives each parameter's numeric VST3 ID from these strings: never change them.
namespace ParamIDs
{
inline const juce::String inputTrim { "inputTrim" };
inline const juce::String lowGain { "lowGain" };
inline const juce::String lowMode { "lowMode" };
inline const juce::String lowEnabled { "lowEnabled" };
inline const juce::String highGain { "highGain" };
inline const juce::String highMode { "highMode" };
inline const juce::String highEnabled { "highEnabled" };
inline const juce::String compAmount { "compAmount" };
inline const juce::String compMode { "compMode" };
inline const juce::String compOversample { "compOversample" };
inline const juce::String compEnabled { "compEnabled" };
inline const juce::String spaceAMix { "spaceAMix" };
inline const juce::String spaceAType { "spaceAType" };
inline const juce::String spaceAPreDelay { "spaceAPreDelay" };
inline const juce::String spaceAPreDelaySync { "spaceAPreDelaySync" };
inline const juce::String spaceAEnabled { "spaceAEnabled" };
inline const juce::String spaceBMix { "spaceBMix" };
inline const juce::String spaceBType { "spaceBType" };
inline const juce::String spaceBPreDelay { "spaceBPreDelay" };
inline const juce::String spaceBPreDelaySync { "spaceBPreDelaySync" };
inline const juce::String spaceBEnabled { "spaceBEnabled" };
inline const juce::String echoMix { "echoMix" };
inline const juce::String echoDivision { "echoDivision" };
inline const juce::String echoFeedback { "echoFeedback" };
inline const juce::String echoEnabled { "echoEnabled" };
inline const juce::String blend { "blend" };
inline const juce::String outputTrim { "outputTrim" };
inline const juce::String bypass { "bypass" };
} // namespace ParamIDs
