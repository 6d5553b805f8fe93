#include "plugin/PresetSetting.h"

#include "plugin/ParamIDs.h"

#include <string>

const juce::StringArray& soundParameterIds()
{
    static const juce::StringArray ids {
        ParamIDs::inputTrim,      ParamIDs::lowGain,          ParamIDs::lowMode,        ParamIDs::lowEnabled,
        ParamIDs::highGain,       ParamIDs::highMode,         ParamIDs::highEnabled,    ParamIDs::compAmount,
        ParamIDs::compMode,       ParamIDs::compOversample,   ParamIDs::compEnabled,    ParamIDs::spaceAMix,
        ParamIDs::spaceAType,     ParamIDs::spaceAPreDelay,   ParamIDs::spaceAPreDelaySync, ParamIDs::spaceAEnabled,
        ParamIDs::spaceBMix,      ParamIDs::spaceBType,       ParamIDs::spaceBPreDelay, ParamIDs::spaceBPreDelaySync,
        ParamIDs::spaceBEnabled,  ParamIDs::echoMix,          ParamIDs::echoDivision,   ParamIDs::echoFeedback,
        ParamIDs::echoEnabled,    ParamIDs::blend,            ParamIDs::outputTrim,
    };
    return ids;
}

namespace
{
bool isShownCharacter (juce::juce_wchar c)
{
    const auto printable = c >= 0x20 && c != 0x7f && ! (c >= 0x80 && c < 0xa0) && c != 0xfeff
                           && ! (c >= 0x2028 && c <= 0x202e) && ! (c >= 0xd800 && c <= 0xdfff) && c < 0x110000;
    return printable && juce::CharPointer_ASCII ("/\\:*?\"<>|").indexOf (c) < 0;
}
} // namespace

// One pass that stops as soon as the name is full, so a hostile name of any length costs little.
juce::String sanitisePresetName (const juce::String& name)
{
    std::u32string kept;

    for (auto character = name.getCharPointer(); ! character.isEmpty() && kept.size() < static_cast<size_t> (maximumPresetNameLength);)
    {
        auto c = character.getAndAdvance();

        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';

        if (isShownCharacter (c) && ! (c == ' ' && kept.empty()))
            kept += static_cast<char32_t> (c);
    }

    return juce::String (juce::CharPointer_UTF32 (reinterpret_cast<const juce::CharPointer_UTF32::CharType*> (kept.c_str()))).trimEnd();
}
