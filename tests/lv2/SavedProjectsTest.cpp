// Projects saved by every earlier release still load and sound as they did: each release's VST3
// and LV2 states and .vstpreset files (tests/fixtures/saved-projects/<release>) are loaded through
// the built modules, and must give the parameters and the levels recorded when they were saved.

#include "tests/support/HostedState.h"
#include "tests/support/Lv2State.h"
#include "tests/support/SavedProjects.h"

#include <gtest/gtest.h>

namespace
{
using namespace savedProjects;

// A benign change (rounding in a kernel, the idle clearing far below the floor) moves a 100 ms level
// by far less; a lost or misread setting moves several by decibels.
constexpr float levelToleranceDb = 0.5f;

struct Fixture
{
    juce::File file, expectation;
    juce::String format; // "vst3", "lv2" or "vstpreset"
};

std::vector<Fixture> everyFixture()
{
    std::vector<Fixture> fixtures;
    for (const auto& release : fixtureRoot().findChildFiles (juce::File::findDirectories, false))
        for (const auto& file : release.findChildFiles (juce::File::findFiles, false))
        {
            const auto name = file.getFileName();
            const auto format = name.endsWith (".vstpreset") ? juce::String ("vstpreset")
                                                              : name.upToLastOccurrenceOf (".state", false, false)
                                                                    .fromLastOccurrenceOf (".", false, false);
            const auto stem = name.endsWith (".state") ? name.upToLastOccurrenceOf (".state", false, false) : name;
            fixtures.push_back ({ file, release.getChildFile ("expected").getChildFile (stem + ".txt"), format });
        }
    return fixtures;
}

std::unique_ptr<juce::AudioPluginInstance> load (const Fixture& fixture)
{
    juce::MemoryBlock data;
    EXPECT_TRUE (fixture.file.loadFileAsData (data));
    auto instance = loadPrepared (fixture.format == "lv2" ? builtLv2Bundle() : builtVst3Bundle(), sampleRate, blockSize);
    if (instance == nullptr)
        return nullptr;
    if (fixture.format == "vstpreset")
    {
        EXPECT_TRUE (loadVstPreset (*instance, data));
    }
    else
    {
        instance->setStateInformation (data.getData(), static_cast<int> (data.getSize()));
    }
    return instance;
}
} // namespace

TEST (SavedProjects, EveryReleasesStatesAndPresetsLoadWithTheirSettingsAndSound)
{
    const auto fixtures = everyFixture();
    ASSERT_GE (fixtures.size(), 6u) << fixtureRoot().getFullPathName();

    for (const auto& fixture : fixtures)
    {
        SCOPED_TRACE (fixture.file.getFullPathName());
        juce::StringArray expectedTexts;
        std::vector<float> expectedLevels;
        readExpectation (fixture.expectation, expectedTexts, expectedLevels);
        ASSERT_EQ (expectedTexts.size(), 28);
        ASSERT_EQ (expectedLevels.size(), 60u);

        auto instance = load (fixture);
        ASSERT_NE (instance, nullptr);
        const auto texts = parameterTexts (*instance);
        for (int index = 0; index < 28; ++index)
            EXPECT_EQ (texts[index], expectedTexts[index]) << instance->getParameters()[index]->getName (64);

        const auto levels = levelFigures (render (*instance));
        ASSERT_EQ (levels.size(), expectedLevels.size());
        for (size_t n = 0; n < levels.size(); ++n)
            EXPECT_NEAR (levels[n], expectedLevels[n], levelToleranceDb) << "100 ms window " << n % 30 << ", channel " << n / 30;
    }
}

TEST (SavedProjects, EverythingStatesKeepTheirTempoAndEveryMovedSetting)
{
    for (const auto& fixture : everyFixture())
    {
        if (! fixture.file.getFileName().startsWith ("everything") || fixture.format == "vstpreset")
            continue;
        SCOPED_TRACE (fixture.file.getFullPathName());
        auto instance = load (fixture);
        ASSERT_NE (instance, nullptr);
        juce::AudioBuffer<float> silence (2, blockSize);
        silence.clear();
        processInBlocks (*instance, silence, blockSize);

        juce::MemoryBlock resaved;
        instance->getStateInformation (resaved);
        const auto document = fixture.format == "lv2" ? lv2State::ownDocumentOf (resaved) : hostedState::ownDocumentOf (resaved);
        ASSERT_NE (document, nullptr);
        EXPECT_NEAR (document->getDoubleAttribute ("manualBpm"), everythingBpm, 1.0e-4);
        EXPECT_EQ (document->getStringAttribute ("hostSyncEnabled"), "0");

        // Every sound parameter is off its default, checked against our own parameter list.
        VelbrinLumbraProcessor reference;
        for (const auto& [id, natural] : everything())
        {
            auto& own = ownParameter (reference, id);
            const auto loaded = instance->getParameters()[own.getParameterIndex()]->getValue();
            EXPECT_NEAR (loaded, own.convertTo0to1 (natural), 1.0e-5f) << id;
            if (id != ParamIDs::bypass && ! id.endsWith ("Enabled"))
            {
                EXPECT_NE (own.convertTo0to1 (natural), own.getDefaultValue()) << id;
            }
        }
    }
}

TEST (SavedProjects, TheSameProjectSoundsTheSameThroughBothFormats)
{
    for (const auto* setting : { "defaults", "everything" })
    {
        SCOPED_TRACE (setting);
        std::vector<juce::AudioBuffer<float>> renders;
        for (const auto& fixture : everyFixture())
        {
            if (fixture.file.getFileName().startsWith (setting) && fixture.format != "vstpreset"
                && fixture.file.getParentDirectory().getFileName() == "1.0.0")
            {
                if (auto instance = load (fixture))
                    renders.push_back (render (*instance));
            }
        }
        ASSERT_EQ (renders.size(), 2u);

        auto worst = 0.0f;
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < renders[0].getNumSamples(); ++i)
                worst = juce::jmax (worst, std::abs (renders[0].getSample (channel, i) - renders[1].getSample (channel, i)));
        EXPECT_LT (juce::Decibels::gainToDecibels (worst, -200.0f), -120.0f);
    }
}
