// The preset's name travels with the project; a preset handed over as a state changes the sound
// only; a hostile name is never trusted.

#include "plugin/FactoryPresets.h"
#include "plugin/ParamIDs.h"
#include "plugin/PresetDocument.h"
#include "plugin/PresetLoading.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock stateOf (VelbrinLumbraProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

// The document inside a state block (after the 8-byte header, before the closing zero byte).
juce::String textOf (const juce::MemoryBlock& block)
{
    return juce::String::fromUTF8 (static_cast<const char*> (block.getData()) + 8, static_cast<int> (block.getSize()) - 9);
}

void restore (VelbrinLumbraProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), static_cast<int> (block.getSize()));
}

juce::MemoryBlock stateWithRootAttribute (const juce::String& name, const juce::String& value)
{
    VelbrinLumbraProcessor source;
    auto xml = source.parameters.copyState().createXml();
    xml->setAttribute (name, value);
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (*xml, block);
    return block;
}

const FactoryPreset& firstPreset() { return factoryPresets().front(); }
} // namespace

TEST (PresetState, AReopenedProjectShowsTheLoadedPresetAndWhetherItWasEdited)
{
    VelbrinLumbraProcessor original;
    loadPreset (original, firstPreset().setting);

    VelbrinLumbraProcessor reopened;
    restore (reopened, stateOf (original));
    EXPECT_EQ (reopened.presetSession.getName(), firstPreset().setting.name);
    EXPECT_FALSE (reopened.presetSession.isEdited (reopened.parameters));

    auto* low = original.parameters.getParameter (ParamIDs::lowGain);
    low->setValueNotifyingHost (low->convertTo0to1 (9.0f));
    VelbrinLumbraProcessor reopenedEdited;
    restore (reopenedEdited, stateOf (original));
    EXPECT_EQ (reopenedEdited.presetSession.getName(), firstPreset().setting.name);
    EXPECT_TRUE (reopenedEdited.presetSession.isEdited (reopenedEdited.parameters));

    // The name lives beside the tempo settings, not in the parameter tree: saving again writes it once.
    const auto text = textOf (stateOf (reopenedEdited));
    EXPECT_GE (text.indexOf ("presetName"), 0);
    EXPECT_EQ (text.indexOf ("presetName"), text.lastIndexOf ("presetName"));
}

TEST (PresetState, AFreshInstanceAndAnOldProjectHaveNoPresetName)
{
    VelbrinLumbraProcessor fresh;
    EXPECT_EQ (fresh.presetSession.getName(), juce::String());
    EXPECT_TRUE (textOf (stateOf (fresh)).contains ("manualBpm"));
    EXPECT_FALSE (textOf (stateOf (fresh)).contains ("presetName"));

    VelbrinLumbraProcessor loaded;
    loadPreset (loaded, firstPreset().setting);
    restore (loaded, stateOf (fresh));
    EXPECT_EQ (loaded.presetSession.getName(), juce::String());
}

TEST (PresetState, AHostileNameIsCleanedShortenedAndNeverAPath)
{
    const std::pair<juce::String, juce::String> cases[] = {
        { "../../etc/passwd", "....etcpasswd" },
        { juce::String ("Bell") + juce::String::charToString (7) + "\x1b[31mRed", "Bell[31mRed" },
        { "  Tabs\tand\nlines  ", "Tabs and lines" },
        { juce::String::repeatedString ("x", 100000), juce::String::repeatedString ("x", maximumPresetNameLength) },
        { "C:\\Windows*?<>|\"", "CWindows" },
        { juce::String (juce::CharPointer_UTF8 ("Caf\xc3\xa9 \xe2\x80\xae" "evil")), juce::String (juce::CharPointer_UTF8 ("Caf\xc3\xa9 evil")) },
    };

    for (const auto& [hostile, shown] : cases)
    {
        VelbrinLumbraProcessor processor;
        restore (processor, stateWithRootAttribute ("presetName", hostile));
        EXPECT_EQ (processor.presetSession.getName(), shown);

        VelbrinLumbraProcessor again;
        restore (again, stateOf (processor));
        EXPECT_EQ (again.presetSession.getName(), shown);
    }
}

TEST (PresetState, APresetGivenAsAStateChangesTheSoundButNotBypassOrTempo)
{
    ProcessorHarness harness;
    auto& processor = *harness.processor;
    harness.set (ParamIDs::bypass, 1.0f);
    processor.setManualBpm (88.0f);
    processor.hostSyncEnabled.store (false);

    const auto& preset = factoryPresets().back();
    restore (processor, presetStateBlock (preset.setting));

    for (const auto& [id, value] : preset.setting.values)
        EXPECT_NEAR (harness.get (id), value, 1.0e-4f) << id;
    EXPECT_EQ (harness.get (ParamIDs::bypass), 1.0f);
    EXPECT_EQ (processor.manualBpm.load(), 88.0f);
    EXPECT_FALSE (processor.hostSyncEnabled.load());
    EXPECT_EQ (processor.presetSession.getName(), preset.setting.name);
}

TEST (PresetState, ADamagedPresetGivenAsAStateChangesNothing)
{
    auto setting = factoryPresets().back().setting;
    auto missing = setting;
    missing.values.erase (missing.values.begin() + 3);
    auto outOfRange = setting;
    outOfRange.values[0].value = 30.0f;
    auto notFinite = setting;
    notFinite.values[1].value = std::numeric_limits<float>::quiet_NaN();

    for (const auto* damaged : { &missing, &outOfRange, &notFinite })
    {
        ProcessorHarness harness;
        const auto before = stateOf (*harness.processor);
        restore (*harness.processor, presetStateBlock (*damaged));
        EXPECT_EQ (stateOf (*harness.processor), before);
        EXPECT_EQ (harness.processor->presetSession.getName(), juce::String());
    }
}

// A preset is an edit like any other, however it arrives (chosen in the bar, or handed over as a
// state by a host's preset browser): the sound glides to it over about 20 ms instead of jumping.
// On a -6 dBFS 1 kHz sine, a preset that differs from the running sound only by an Output of
// -24 dB keeps the first block after the load near -6 dBFS and is at -30 dBFS once 30 ms have passed.
TEST (PresetState, APresetLoadedWhilePlayingGlidesToItsSetting)
{
    using Load = void (*) (VelbrinLumbraProcessor&, const PresetSetting&);
    const std::pair<const char*, Load> loads[] = {
        { "chosen in the bar", [] (VelbrinLumbraProcessor& p, const PresetSetting& s) { loadPreset (p, s); } },
        { "handed over as a state", [] (VelbrinLumbraProcessor& p, const PresetSetting& s) { restore (p, presetStateBlock (s)); } },
    };

    for (const auto& [how, load] : loads)
    {
        SCOPED_TRACE (how);
        constexpr double rate = 48000.0;
        constexpr int block = 64;
        ProcessorHarness harness (rate, block);
        harness.settle();
        auto before = signals::sine (1000.0, rate, static_cast<int> (rate * 0.1), 0.5f);
        harness.process (before);
        ASSERT_NEAR (peakDb (before, 0, before.getNumSamples() - 480, 480), -6.02f, 0.1f);

        auto quieter = currentSetting (*harness.processor, "Quiet");
        for (auto& [id, value] : quieter.values)
            value = id == ParamIDs::outputTrim ? -24.0f : value;
        load (*harness.processor, quieter);
        ASSERT_NEAR (harness.get (ParamIDs::outputTrim), -24.0f, 1.0e-4f);

        auto after = signals::sine (1000.0, rate, static_cast<int> (rate * 0.1), 0.5f);
        harness.process (after);
        EXPECT_GT (peakDb (after, 0, 0, block), -8.0f) << "the first block after the load has not jumped";
        EXPECT_NEAR (peakDb (after, 0, static_cast<int> (rate * 0.03), 480), -30.02f, 0.3f);
        EXPECT_NEAR (peakDb (after, 1, static_cast<int> (rate * 0.03), 480), -30.02f, 0.3f);
    }
}
