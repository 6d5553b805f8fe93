// A damaged project hands the LV2 plug-in arbitrary state: the host must survive all of it. Two
// layers can be damaged: the host's Turtle text (read by lilv) and, inside it, the plug-in's own
// stored text (read by the plug-in).

#include "plugin/PluginProcessor.h"
#include "tests/support/FormatHosts.h"
#include "tests/support/Lv2State.h"
#include "tests/support/ProcessorHarness.h"

#include <cstdlib>

namespace
{
constexpr int blockSize = 256;

std::vector<float> parameterValues (juce::AudioPluginInstance& plugin)
{
    std::vector<float> values;
    for (int index = 0; index < 28; ++index)
        values.push_back (plugin.getParameters()[index]->getValue());
    return values;
}

bool sameValues (const std::vector<float>& a, const std::vector<float>& b)
{
    for (size_t i = 0; i < a.size(); ++i)
        if (std::abs (a[i] - b[i]) > 1.0e-6f)
            return false;
    return true;
}

int mutationCount()
{
    if (const auto* text = std::getenv ("LUMBRA_STATE_MUTATIONS"))
        return juce::jmax (1, juce::String (text).getIntValue());
    return 2000;
}

class Lv2DamagedState : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugin = loadPrepared (builtLv2Bundle(), 48000.0, blockSize);
        ASSERT_NE (plugin, nullptr);

        auto source = loadPrepared (builtLv2Bundle(), 48000.0, blockSize);
        ASSERT_NE (source, nullptr);
        for (const auto& [index, value] : { std::pair { 0, 0.75f }, { 21, 0.25f }, { 12, 1.0f }, { 3, 0.0f }, { 26, 0.5f } })
            source->getParameters()[index]->setValueNotifyingHost (value);
        run (*source);

        source->getStateInformation (saved);
        savedValues = parameterValues (*source);
        own = lv2State::ownBlockOf (saved);
        ASSERT_GT (own.getSize(), 1000u);
    }

    static void run (juce::AudioPluginInstance& instance)
    {
        auto audio = signals::noise (blockSize, 3);
        processInBlocks (instance, audio, blockSize);
        ASSERT_TRUE (allFinite (audio));
    }

    // Restores `bytes`: every parameter stays inside its range, the next block is finite, and
    // unless the damage may have rewritten a value, the parameters end up restored or untouched.
    void expectSurvives (const juce::MemoryBlock& bytes, const juce::String& what, bool restoredOrUntouched = true)
    {
        const auto before = parameterValues (*plugin);
        plugin->setStateInformation (bytes.getData(), static_cast<int> (bytes.getSize()));
        run (*plugin);
        const auto after = parameterValues (*plugin);

        if (restoredOrUntouched)
        {
            EXPECT_TRUE (sameValues (after, before) || sameValues (after, savedValues)) << what;
        }

        for (const auto value : after)
            ASSERT_TRUE (value >= 0.0f && value <= 1.0f) << what;
    }

    void expectOwnTextSurvives (const juce::String& storedText, const juce::String& what, bool restoredOrUntouched = true)
    {
        expectSurvives (lv2State::withStoredValue (saved, storedText), what, restoredOrUntouched);
    }

    std::unique_ptr<juce::AudioPluginInstance> plugin;
    juce::MemoryBlock saved, own;
    std::vector<float> savedValues;
};

void damage (juce::MemoryBlock& bytes, juce::Random& random)
{
    for (int edits = 1 + random.nextInt (4); --edits >= 0 && bytes.getSize() > 0;)
    {
        auto* data = static_cast<juce::uint8*> (bytes.getData());
        const auto position = static_cast<size_t> (random.nextInt (static_cast<int> (bytes.getSize())));
        switch (random.nextInt (4))
        {
            case 0: data[position] ^= static_cast<juce::uint8> (1 << random.nextInt (8)); break;
            case 1: data[position] = static_cast<juce::uint8> (random.nextInt (256)); break;
            case 2: bytes.setSize (position + 1); break;
            default: bytes.removeSection (position, static_cast<size_t> (random.nextInt (16))); break;
        }
    }
}
} // namespace

TEST_F (Lv2DamagedState, AnIntactStateRestoresEverySetting)
{
    expectSurvives (saved, "intact");
    EXPECT_TRUE (sameValues (parameterValues (*plugin), savedValues));
}

// The stored text starts with a byte count that JUCE's decoder would trust and allocate.
TEST_F (Lv2DamagedState, StoredTextWithAnImpossibleLengthIsRefused)
{
    const auto coded = lv2State::storedValueOf (saved).fromFirstOccurrenceOf (".", false, false);
    for (const auto& count : { "-1", "-2147483648", "2147483647", "4294967295", "99999999999999999999", "0", "",
                               "12a", " 12", "+5" })
        expectOwnTextSurvives (juce::String (count) + "." + coded, juce::String ("count ") + count);

    for (const auto& text : { "", ".", "..", "1.", "not base 64 at all", "\xc3\xa9\xc3\xa9.\xc3\xa9" })
        expectOwnTextSurvives (juce::String::fromUTF8 (text), juce::String ("text ") + text);

    // A count larger than the text holds is refused; one that fits decodes as usual.
    expectOwnTextSurvives (juce::String (own.getSize() * 2) + "." + coded, "count twice the data");
    expectOwnTextSurvives (juce::String (own.getSize()) + "." + coded, "the real count");
    EXPECT_TRUE (sameValues (parameterValues (*plugin), savedValues));
}

// The stored text itself damaged: characters changed, dropped or cut off inside the quotes.
TEST_F (Lv2DamagedState, RandomDamageOfTheStoredTextIsSurvived)
{
    const juce::String alphabet ("./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+-~ ");
    const auto stored = lv2State::storedValueOf (saved);
    juce::Random random (99);

    for (int trial = 0; trial < juce::jmax (1, mutationCount() / 4); ++trial)
    {
        auto text = stored;
        for (int edits = 1 + random.nextInt (4); --edits >= 0 && text.isNotEmpty();)
        {
            const auto position = random.nextInt (text.length());
            switch (random.nextInt (3))
            {
                case 0: text = text.replaceSection (position, 1, juce::String::charToString (alphabet[random.nextInt (alphabet.length())])); break;
                case 1: text = text.replaceSection (position, 1 + random.nextInt (8), {}); break;
                default: text = text.substring (0, position); break;
            }
        }
        expectOwnTextSurvives (text, "stored text mutation " + juce::String (trial), false);
        if (HasFatalFailure())
            return;
    }
}

// The plug-in's own block damaged inside an intact host text, as a broken project would carry it:
// the mutations of the VST3 path, on the LV2 path.
TEST_F (Lv2DamagedState, RandomDamageOfTheOwnBlockIsSurvived)
{
    juce::Random random (1234);
    const auto count = mutationCount();

    for (int trial = 0; trial < count; ++trial)
    {
        auto bytes = own;
        damage (bytes, random);
        expectSurvives (lv2State::withOwnBlock (saved, bytes), "own block mutation " + juce::String (trial), false);
        if (HasFatalFailure())
            return;
    }
}

// The host hands back port values of any size, or not numbers at all: the plug-in keeps every
// parameter inside its range and the audio finite.
TEST_F (Lv2DamagedState, HostilePortValuesAreSurvived)
{
    const juce::String values[] = { "1.0e30", "-1.0e30", "1.0e39", "-1.0e39", "\"NaN\"^^<http://www.w3.org/2001/XMLSchema#double>",
                                    "\"INF\"^^<http://www.w3.org/2001/XMLSchema#double>", "7", "-3", "0.5" };
    VelbrinLumbraProcessor reference;

    for (const auto& value : values)
    {
        SCOPED_TRACE (value.toStdString());
        auto text = lv2State::textOf (saved);
        for (int at = text.indexOf ("pset:value "); at >= 0; at = text.indexOf (at + 1, "pset:value "))
        {
            const auto start = at + 11;
            const auto end = text.indexOfChar (start, '\n');
            text = text.replaceSection (start, end - start, value);
        }

        auto restored = loadPrepared (builtLv2Bundle(), 48000.0, blockSize);
        ASSERT_NE (restored, nullptr);
        const auto hostile = lv2State::hostedFrom (text);
        restored->setStateInformation (hostile.getData(), static_cast<int> (hostile.getSize()));
        run (*restored);

        // What the plug-in itself holds: its document, saved again.
        juce::MemoryBlock resaved;
        restored->getStateInformation (resaved);
        const auto document = lv2State::ownDocumentOf (resaved);
        ASSERT_NE (document, nullptr);
        for (auto* parameter : reference.getParameters())
        {
            const auto& own = dynamic_cast<const juce::RangedAudioParameter&> (*parameter);
            const auto stored = document->getChildByAttribute ("id", own.getParameterID())->getDoubleAttribute ("value");
            EXPECT_TRUE (std::isfinite (stored) && stored >= own.getNormalisableRange().start
                         && stored <= own.getNormalisableRange().end)
                << own.getParameterID() << " = " << stored;
        }
    }
}
