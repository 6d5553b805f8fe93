// Preset files as hosts use them: written by the plug-in, read by JUCE's own VST3 hosting into the
// built module, saved through the command-line host, and refused whole when damaged.

#include "plugin/FactoryPresets.h"
#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"
#include "plugin/UserPresetLibrary.h"
#include "tests/support/HostedState.h"
#include "tests/support/RenderTool.h"
#include "tests/support/Vst3Fixture.h"

namespace
{
juce::MemoryBlock stateOf (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock state;
    plugin.getStateInformation (state);
    return state;
}

bool loadPresetFile (juce::AudioPluginInstance& plugin, const juce::MemoryBlock& file)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    return juce::VST3PluginFormat::setStateFromVSTPresetFile (&plugin, file);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

// Bypass on, a typed tempo of 97 BPM and host sync off: what no preset may touch.
void setBypassAndTempo (juce::AudioPluginInstance& plugin)
{
    const auto hosted = stateOf (plugin);
    auto document = hostedState::ownDocumentOf (hosted);
    ASSERT_NE (document, nullptr);
    document->setAttribute ("manualBpm", 97.0);
    document->setAttribute ("hostSyncEnabled", 0);
    juce::MemoryBlock own;
    juce::AudioProcessor::copyXmlToBinary (*document, own);
    const auto replaced = hostedState::withOwnBlock (hosted, own);
    plugin.setStateInformation (replaced.getData(), static_cast<int> (replaced.getSize()));
    plugin.getParameters()[27]->setValueNotifyingHost (1.0f);
}

void expectBypassAndTempoKept (juce::AudioPluginInstance& plugin)
{
    EXPECT_EQ (plugin.getParameters()[27]->getValue(), 1.0f);
    const auto document = hostedState::ownDocumentOf (stateOf (plugin));
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (document->getStringAttribute ("manualBpm"), "97.0");
    EXPECT_EQ (document->getStringAttribute ("hostSyncEnabled"), "0");
}

// The hosted parameters line up with our own layout by index.
void expectSetting (juce::AudioPluginInstance& plugin, const std::vector<PresetValue>& values)
{
    VelbrinLumbraProcessor reference;
    for (const auto& [id, value] : values)
    {
        auto* own = reference.parameters.getParameter (id);
        EXPECT_NEAR (plugin.getParameters()[own->getParameterIndex()]->getValue(), own->convertTo0to1 (value), 1.0e-5f) << id;
    }
}
} // namespace

TEST_F (Vst3Fixture, EveryFactoryPresetFileIsReadByJucesVst3HostingIntoItsSetting)
{
    ASSERT_NE (plugin, nullptr);
    setBypassAndTempo (*plugin);

    for (const auto& preset : factoryPresets())
    {
        SCOPED_TRACE (preset.setting.name);
        ASSERT_TRUE (loadPresetFile (*plugin, presetFileData (preset.setting)));
        expectSetting (*plugin, preset.setting.values);
        expectBypassAndTempoKept (*plugin);

        const auto document = hostedState::ownDocumentOf (stateOf (*plugin));
        EXPECT_EQ (document->getStringAttribute ("presetName"), preset.setting.name);
    }
}

TEST_F (Vst3Fixture, AUserPresetSavedThroughTheModuleRestoresEveryParameterButNotBypassOrTempo)
{
    ASSERT_NE (plugin, nullptr);
    const auto folder = juce::File::createTempFile ("presets");
    const auto file = folder.getChildFile ("Late Night Keys.vstpreset");
    ASSERT_TRUE (folder.createDirectory());

    const auto run = runRenderTool ({ "save-preset", "--out", file.getFullPathName(), "--preset", "Piano Hall", "--set",
                                      "lowGain=-7.5", "--set", "Space B=33" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    juce::MemoryBlock data;
    ASSERT_TRUE (file.loadFileAsData (data));
    setBypassAndTempo (*plugin);
    ASSERT_TRUE (loadPresetFile (*plugin, data));

    auto expected = findFactoryPreset ("Piano Hall")->setting.values;
    for (auto& [id, value] : expected)
        value = id == ParamIDs::lowGain ? -7.5f : id == ParamIDs::spaceBMix ? 33.0f : value;
    expectSetting (*plugin, expected);
    expectBypassAndTempoKept (*plugin);
    EXPECT_EQ (hostedState::ownDocumentOf (stateOf (*plugin))->getStringAttribute ("presetName"), "Late Night Keys");

    // The plug-in's own reader sees the same file as the same preset.
    VelbrinLumbraProcessor reference;
    juce::String error;
    const auto setting = readPresetFile (file, reference.parameters, error);
    ASSERT_TRUE (setting.has_value()) << error;
    EXPECT_EQ (setting->name, "Late Night Keys");
    folder.deleteRecursively();
}

TEST_F (Vst3Fixture, DamagedOrForeignPresetFilesChangeNothingInTheModule)
{
    ASSERT_NE (plugin, nullptr);
    ASSERT_TRUE (loadPresetFile (*plugin, presetFileData (findFactoryPreset ("Drum Room")->setting)));
    const auto before = hostedState::ownBlockOf (stateOf (*plugin));
    const auto good = presetFileData (findFactoryPreset ("Cathedral Pad")->setting);

    std::vector<std::pair<juce::String, juce::MemoryBlock>> damaged;
    // JUCE's reader keeps the list entries before a cut one, so the cuts reach into the state's own
    // entry at the latest (the last 40 bytes are the two entries, the state's first).
    for (const auto size : { size_t { 20 }, size_t { 48 }, size_t { 300 }, good.getSize() - 30, good.getSize() - 21 })
        damaged.push_back ({ "cut to " + juce::String (size), juce::MemoryBlock (good.getData(), size) });

    auto foreign = good;
    foreign[10] = 'F';
    damaged.push_back ({ "another plug-in's class ID", foreign });

    auto badValue = good;
    const auto* bytes = static_cast<const char*> (good.getData());
    const char* pattern = "id=\"echoFeedback\" value=\"";
    const auto at = std::search (bytes, bytes + good.getSize(), pattern, pattern + std::strlen (pattern)) - bytes;
    badValue[static_cast<size_t> (at) + std::strlen (pattern)] = 'x';
    damaged.push_back ({ "a value that is no number", badValue });

    for (const auto& [what, file] : damaged)
    {
        SCOPED_TRACE (what);
        loadPresetFile (*plugin, file);
        ASSERT_EQ (hostedState::ownBlockOf (stateOf (*plugin)), before);
    }
}

TEST (RenderToolPresets, ListsTheBankAppliesAPresetBeforeSetAndRefusesAnUnknownOne)
{
    const auto list = runRenderTool ({ "presets" });
    ASSERT_EQ (list.exitCode, 0) << list.output;
    for (const auto& preset : factoryPresets())
        EXPECT_TRUE (list.output.contains (preset.category + " | " + preset.setting.name + " | ")) << preset.setting.name;

    juce::TemporaryFile state (".state");
    const auto saved = runRenderTool ({ "save-state", "--out", state.getFile().getFullPathName(), "--set", "lowGain=4",
                                        "--preset", "bass di tight", "--set", "highGain=-6.5" });
    ASSERT_EQ (saved.exitCode, 0) << saved.output;
    juce::MemoryBlock hosted;
    ASSERT_TRUE (state.getFile().loadFileAsData (hosted));
    const auto document = hostedState::ownDocumentOf (hosted);
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (document->getStringAttribute ("presetName"), "Bass DI Tight");
    const auto valueOf = [&] (const juce::String& id)
    { return document->getChildByAttribute ("id", id)->getDoubleAttribute ("value"); };
    EXPECT_DOUBLE_EQ (valueOf (ParamIDs::highGain), -6.5) << "--set comes after --preset";
    EXPECT_DOUBLE_EQ (valueOf (ParamIDs::lowGain), 4.0) << "a --set before --preset still comes after it";
    EXPECT_DOUBLE_EQ (valueOf (ParamIDs::compAmount), 50.0);

    const auto unknown = runRenderTool ({ "save-preset", "--out", "/tmp/never.vstpreset", "--preset", "No Such Sound" });
    EXPECT_NE (unknown.exitCode, 0);
    EXPECT_TRUE (unknown.output.startsWith ("lumbra-render: error: unknown preset 'No Such Sound'")) << unknown.output;
    EXPECT_EQ (unknown.output.trim().indexOfChar ('\n'), -1);
}
