#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace
{
using Values = std::map<juce::String, float>;

struct Snapshot
{
    Values values;
    float bpm;
    bool sync;
};

Snapshot snapshotOf (VelbrinLumbraProcessor& processor)
{
    Snapshot snapshot { {}, processor.manualBpm.load(), processor.hostSyncEnabled.load() };
    for (auto* parameter : processor.getParameters())
        if (auto* withId = dynamic_cast<juce::RangedAudioParameter*> (parameter))
            snapshot.values[withId->getParameterID()] = withId->convertFrom0to1 (withId->getValue());
    return snapshot;
}

void expectSame (const Snapshot& actual, const Snapshot& expected)
{
    EXPECT_EQ (actual.bpm, expected.bpm);
    EXPECT_EQ (actual.sync, expected.sync);
    ASSERT_EQ (actual.values.size(), 28u);
    for (const auto& [id, value] : expected.values)
        EXPECT_EQ (actual.values.at (id), value) << id;
}

// Every parameter away from its default, in natural units.
const std::pair<const char*, float> movedValues[] = {
    { "inputTrim", 3.5f },       { "lowGain", -4.2f },          { "lowMode", 2.0f },
    { "lowEnabled", 0.0f },      { "highGain", 7.1f },          { "highMode", 1.0f },
    { "highEnabled", 0.0f },     { "compAmount", 42.3f },       { "compMode", 2.0f },
    { "compOversample", 1.0f },  { "compEnabled", 0.0f },       { "spaceAMix", 12.5f },
    { "spaceAType", 2.0f },      { "spaceAPreDelay", 123.4f },  { "spaceAPreDelaySync", 1.0f },
    { "spaceAEnabled", 0.0f },   { "spaceBMix", 66.6f },        { "spaceBType", 1.0f },
    { "spaceBPreDelay", 321.0f }, { "spaceBPreDelaySync", 1.0f }, { "spaceBEnabled", 0.0f },
    { "echoMix", 55.5f },        { "echoDivision", 2.0f },      { "echoFeedback", 77.7f },
    { "echoEnabled", 0.0f },     { "blend", 43.2f },            { "outputTrim", -33.3f },
    { "bypass", 1.0f },
};

// A processor whose every setting differs from a fresh one, so a restore that changes nothing
// and one that restores defaults can be told apart.
std::unique_ptr<ProcessorHarness> movedProcessor()
{
    auto harness = std::make_unique<ProcessorHarness>();
    for (const auto& [id, value] : movedValues)
        harness->set (id, value);
    harness->processor->manualBpm = 97.25f;
    harness->processor->hostSyncEnabled = false;
    return harness;
}

juce::MemoryBlock stateOf (VelbrinLumbraProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

void restore (VelbrinLumbraProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), static_cast<int> (block.getSize()));
}

// JUCE's container around raw text: magic "VC2!", a length field, the text, a zero byte.
juce::MemoryBlock containerWith (const juce::String& text, std::optional<juce::uint32> lengthField = {})
{
    const auto utf8 = text.toRawUTF8();
    const auto length = static_cast<juce::uint32> (std::strlen (utf8));
    juce::MemoryOutputStream out;
    out.write ("VC2!", 4);
    out.writeInt (static_cast<int> (lengthField.value_or (length)));
    out.write (utf8, length);
    out.writeByte (0);
    return out.getMemoryBlock();
}

// Bytes kept exactly as given, invalid UTF-8 included.
juce::String rawUtf8 (const char* bytes)
{
    return juce::String::fromUTF8 (bytes, static_cast<int> (std::strlen (bytes)));
}

juce::MemoryBlock documentBlock (const juce::String& rootAndChildren)
{
    return containerWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> " + rootAndChildren);
}

bool everyValueFiniteAndInRange (VelbrinLumbraProcessor& processor)
{
    for (auto* parameter : processor.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        const auto raw = processor.parameters.getRawParameterValue (ranged->getParameterID())->load();
        const auto& range = ranged->getNormalisableRange();
        if (! std::isfinite (raw) || raw < range.start || raw > range.end)
            return false;
    }
    return std::isfinite (processor.manualBpm.load());
}
} // namespace

TEST (SavedState, AFreshInstanceRoundTripsWithTheDocumentLaidOutAsSaved)
{
    ProcessorHarness source, target;
    const auto block = stateOf (*source.processor);
    const auto* bytes = static_cast<const char*> (block.getData());

    ASSERT_GT (block.getSize(), 9u);
    EXPECT_EQ (std::memcmp (bytes, "VC2!", 4), 0);
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), block.getSize() - 9);
    EXPECT_EQ (bytes[block.getSize() - 1], 0);

    const juce::String text (juce::CharPointer_UTF8 (bytes + 8));
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <PARAMETERS manualBpm=\"120.0\" "
                                  "hostSyncEnabled=\"1\">"))
        << text;
    EXPECT_FALSE (text.containsChar ('\n'));

    const auto document = juce::parseXML (text);
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (document->getNumChildElements(), 28);
    EXPECT_EQ (document->getChildByAttribute ("id", "echoFeedback")->getStringAttribute ("value"), "35.0");
    EXPECT_EQ (document->getChildByAttribute ("id", "outputTrim")->getStringAttribute ("value"), "0.0");

    target.processor->manualBpm = 61.0f;
    target.processor->hostSyncEnabled = false;
    restore (*target.processor, block);
    expectSame (snapshotOf (*target.processor), snapshotOf (*source.processor));
    EXPECT_EQ (target.processor->manualBpm.load(), 120.0f);
    EXPECT_TRUE (target.processor->hostSyncEnabled.load());
}

TEST (SavedState, EverySettingAndATappedTempoSurviveBitForBit)
{
    auto source = movedProcessor();
    double now = 1.0e6;
    source->processor->tapClockMs = [&now] { return now; };
    source->processor->registerTap();
    now += 473.0;
    source->processor->registerTap();

    const auto tapped = static_cast<float> (60000.0 / 473.0);
    ASSERT_EQ (source->processor->manualBpm.load(), tapped);

    ProcessorHarness target;
    restore (*target.processor, stateOf (*source->processor));

    const auto restored = target.processor->manualBpm.load();
    EXPECT_EQ (std::memcmp (&restored, &tapped, sizeof (float)), 0);
    expectSame (snapshotOf (*target.processor), snapshotOf (*source->processor));
    for (const auto& [id, value] : movedValues)
        EXPECT_NEAR (target.get (id), value, 1.0e-4f) << id;
}

TEST (SavedState, UnreadableBlocksChangeNothing)
{
    const auto valid = documentBlock ("<PARAMETERS manualBpm=\"61.0\"><PARAM id=\"echoMix\" value=\"12.0\"/></PARAMETERS>");
    auto withMagic = [&] (const char* magic)
    {
        auto block = valid;
        std::memcpy (block.getData(), magic, 4);
        return block;
    };

    juce::MemoryBlock eightBytes (valid.getData(), 8);
    juce::String deepNesting;
    for (int i = 0; i < 100000; ++i)
        deepNesting << "<PARAMETERS>";

    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        { "empty block", juce::MemoryBlock() },
        { "header only (8 bytes)", eightBytes },
        { "zero length field", containerWith ("<PARAMETERS manualBpm=\"61.0\"/>", 0u) },
        { "length field with the top bit set", containerWith ("<PARAMETERS manualBpm=\"61.0\"/>", 0x80000010u) },
        { "wrong magic", withMagic ("VC3!") },
        { "text that is not XML", containerWith ("manualBpm=61, echoMix=12") },
        { "declaration without a root", containerWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") },
        { "self-referencing entity",
          containerWith ("<?xml version=\"1.0\"?><!DOCTYPE PARAMETERS [<!ENTITY a \"&xa;\">]>"
                         "<PARAMETERS manualBpm=\"61.0\">&a;</PARAMETERS>") },
        { "document type hidden in an over-long UTF-8 '<'",
          containerWith (rawUtf8 ("<?xml version=\"1.0\"?>\xc0\xbc!DOCTYPE PARAMETERS [<!ENTITY a \"&xa;\">]>"
                                  "<PARAMETERS manualBpm=\"61.0\">&a;</PARAMETERS>")) },
        { "100000 nested elements", containerWith (deepNesting) },
    };

    for (const auto& [name, block] : cases)
    {
        SCOPED_TRACE (name);
        auto harness = movedProcessor();
        const auto before = snapshotOf (*harness->processor);
        restore (*harness->processor, block);
        expectSame (snapshotOf (*harness->processor), before);
    }

    auto harness = movedProcessor();
    const auto before = snapshotOf (*harness->processor);
    harness->processor->setStateInformation (nullptr, 0);
    harness->processor->setStateInformation (valid.getData(), -5);
    expectSame (snapshotOf (*harness->processor), before);
}

TEST (SavedState, RawOverLongUtf8IsDecodedTheWayTheParserReadsIt)
{
    // The byte pair C0 BC is an over-long '<': the parser reads it as markup, so it counts as such.
    auto harness = movedProcessor();
    restore (*harness->processor, containerWith (rawUtf8 ("<?xml version=\"1.0\"?> <PARAMETERS manualBpm=\"61.0\">"
                                                          "\xc0\xbcPARAM id=\"echoMix\" value=\"12.0\"/></PARAMETERS>")));
    EXPECT_EQ (harness->processor->manualBpm.load(), 61.0f);
    EXPECT_EQ (harness->get (ParamIDs::echoMix), 12.0f);
}

TEST (SavedState, ALengthFieldBeyondTheBlockReadsOnlyTheBytesThere)
{
    auto harness = movedProcessor();
    restore (*harness->processor,
             containerWith ("<PARAMETERS manualBpm=\"61.0\"><PARAM id=\"echoMix\" value=\"12.0\"/></PARAMETERS>", 1000000u));
    EXPECT_EQ (harness->processor->manualBpm.load(), 61.0f);
    EXPECT_EQ (harness->get (ParamIDs::echoMix), 12.0f);
}

TEST (SavedState, HostSyncReadsTheFirstCharacterAfterWhiteSpace)
{
    const std::pair<const char*, bool> cases[] = {
        { "true", true },   { "yes", true },  { "Y", true },      { "1", true },   { "T", true },
        { "  yes", true },  { "TRUE", true }, { "false", false }, { "no", false }, { "0", false },
        { "", false },      { " ", false },   { "on", false },    { "2", false },  { "N", false },
    };

    for (const auto& [text, expected] : cases)
    {
        SCOPED_TRACE (text);
        ProcessorHarness harness;
        harness.processor->hostSyncEnabled = ! expected;
        restore (*harness.processor, documentBlock (juce::String ("<PARAMETERS hostSyncEnabled=\"") + text + "\"/>"));
        EXPECT_EQ (harness.processor->hostSyncEnabled.load(), expected);
    }

    ProcessorHarness harness;
    harness.processor->hostSyncEnabled = false;
    restore (*harness.processor, documentBlock ("<PARAMETERS manualBpm=\"90\"/>"));
    EXPECT_TRUE (harness.processor->hostSyncEnabled.load());
}

TEST (SavedState, ManualTempoIsKeptUncheckedUnlessItIsNoUsableNumber)
{
    const std::pair<const char*, float> cases[] = {
        { "400", 400.0f },        { "5", 5.0f },      { "0.001", 0.001f }, { "98.5", 98.5f },
        { "  98.5 bpm", 98.5f },  { "nan", 120.0f },  { "inf", 120.0f },   { "-inf", 120.0f },
        { "info", 120.0f },       { "0", 120.0f },    { "-5", 120.0f },    { "tempo", 120.0f },
        { "", 120.0f },           { "1e300", 120.0f }, { "1e-50", 120.0f },
    };

    for (const auto& [text, expected] : cases)
    {
        SCOPED_TRACE (text);
        ProcessorHarness harness;
        harness.processor->manualBpm = 77.0f;
        restore (*harness.processor, documentBlock (juce::String ("<PARAMETERS manualBpm=\"") + text + "\"/>"));
        EXPECT_EQ (harness.processor->manualBpm.load(), expected);
    }

    ProcessorHarness harness;
    harness.processor->manualBpm = 77.0f;
    restore (*harness.processor, documentBlock ("<PARAMETERS hostSyncEnabled=\"0\"/>"));
    EXPECT_EQ (harness.processor->manualBpm.load(), 120.0f);
}

TEST (SavedState, AParameterValueThatIsNoFiniteNumberRestoresTheDefault)
{
    struct Case
    {
        const char* id;
        const char* text;
        float expected;
    };
    const Case cases[] = {
        { "echoFeedback", "nan", 35.0f },    { "echoFeedback", "inf", 35.0f },     { "echoFeedback", "-inf", 35.0f },
        { "echoFeedback", "info", 35.0f },   { "echoFeedback", "text", 35.0f },    { "echoFeedback", "", 35.0f },
        { "echoFeedback", "1e400", 35.0f },  { "echoFeedback", "1e30", 100.0f },   { "echoFeedback", "-1e30", 0.0f },
        { "echoFeedback", "1e300", 100.0f }, { "echoFeedback", " 42.5", 42.5f },   { "echoFeedback", "42.5%", 42.5f },
        { "outputTrim", "nan", 0.0f },       { "outputTrim", "-1e30", -60.0f },    { "echoDivision", "nan", 0.0f },
        { "echoDivision", "7", 2.0f },       { "echoDivision", "-3", 0.0f },       { "echoDivision", "1", 1.0f },
        { "bypass", "inf", 0.0f },           { "bypass", "1", 1.0f },
    };

    for (const auto& [id, text, expected] : cases)
    {
        SCOPED_TRACE (juce::String (id) + " = \"" + text + "\"");
        auto harness = movedProcessor();
        restore (*harness->processor, documentBlock (juce::String ("<PARAMETERS><PARAM id=\"") + id + "\" value=\""
                                                     + text + "\"/></PARAMETERS>"));
        EXPECT_EQ (harness->get (id), expected);
        EXPECT_TRUE (everyValueFiniteAndInRange (*harness->processor));
    }
}

TEST (SavedState, MissingChildrenRestoreDefaultsAndAForeignRootIsAdopted)
{
    ProcessorHarness fresh;
    const auto defaults = snapshotOf (*fresh.processor);

    auto harness = movedProcessor();
    restore (*harness->processor, documentBlock ("<PARAMETERS/>"));
    expectSame (snapshotOf (*harness->processor), defaults);

    harness = movedProcessor();
    restore (*harness->processor,
             documentBlock ("<LumbraPreset author=\"x\" manualBpm=\"90\" hostSyncEnabled=\"no\">"
                            "<PARAM id=\"echoMix\" value=\"40\"/><NOTES text=\"kept\"/></LumbraPreset>"));
    auto expected = defaults;
    expected.values["echoMix"] = 40.0f;
    expected.bpm = 90.0f;
    expected.sync = false;
    expectSame (snapshotOf (*harness->processor), expected);

    // The tag, the root's own attributes in their places and the foreign child are written back.
    const auto saved = stateOf (*harness->processor);
    const juce::String text (juce::CharPointer_UTF8 (static_cast<const char*> (saved.getData()) + 8));
    EXPECT_TRUE (text.contains ("<LumbraPreset author=\"x\" manualBpm=\"90.0\" hostSyncEnabled=\"0\">")) << text;
    EXPECT_TRUE (text.contains ("<NOTES text=\"kept\"/>")) << text;
}

TEST (SavedState, GarbageStateNeverReachesTheAudio)
{
    VelbrinLumbraProcessor reference;
    juce::String children;
    for (auto* parameter : reference.getParameters())
        children << "<PARAM id=\"" << dynamic_cast<juce::RangedAudioParameter*> (parameter)->getParameterID()
                 << "\" value=\"nan\"/>";

    ProcessorHarness harness (44100.0, 512);
    restore (*harness.processor, documentBlock ("<PARAMETERS manualBpm=\"nan\">" + children + "</PARAMETERS>"));
    EXPECT_TRUE (everyValueFiniteAndInRange (*harness.processor));

    harness.set (ParamIDs::echoMix, 50.0f);
    harness.set (ParamIDs::echoDivision, 2.0f);
    auto audio = signals::noise (44100, 4);
    harness.process (audio);
    EXPECT_TRUE (allFinite (audio));
}
