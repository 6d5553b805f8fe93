#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock containerWith (const std::string& text)
{
    juce::MemoryOutputStream out;
    out.writeInt (0x21324356); // "VC2!"
    out.writeInt (static_cast<int> (text.size()));
    out.write (text.data(), text.size());
    out.writeByte (0);
    return out.getMemoryBlock();
}
} // namespace

TEST (StateTextEncoding, MalformedUtf8IsIgnoredLikeAnyUnreadableText)
{
    const std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <PARAMETERS manualBpm=\"90.0\">"
                                 "<PARAM id=\"inputTrim\" value=\"6.0\"/></PARAMETERS>";
    const std::string damagedEndings[] = { "\xF0", "\xE2\x82", "\xC3", "\xFF\xFE", "\x80" };

    for (const auto& ending : damagedEndings)
    {
        ProcessorHarness harness;
        const auto block = containerWith (document + ending);
        harness.processor->setStateInformation (block.getData(), static_cast<int> (block.getSize()));
        EXPECT_FLOAT_EQ (harness.processor->manualBpm.load(), 120.0f);
        EXPECT_FLOAT_EQ (harness.get ("inputTrim"), 0.0f);
    }

    // The same document, well-formed, is restored; so is text with proper multi-byte characters.
    ProcessorHarness harness;
    const auto block = containerWith (document + "<!-- \xC3\xA9t\xC3\xA9 -->");
    harness.processor->setStateInformation (block.getData(), static_cast<int> (block.getSize()));
    EXPECT_FLOAT_EQ (harness.processor->manualBpm.load(), 90.0f);
    EXPECT_FLOAT_EQ (harness.get ("inputTrim"), 6.0f);
}

TEST (StateTextEncoding, AProcessingInstructionAfterTheDeclarationIsRefused)
{
    // JUCE's parser never returns from this one; a saved state only ever starts with the declaration.
    const std::string documents[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <PARAMETERS manualBpm=\"90.0\"><P><?pi?>9</P></PARAMETERS>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <PARAMETERS manualBpm=\"90.0\"/><?pi?>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" <PARAMETERS manualBpm=\"90.0\"/>",
    };

    for (const auto& document : documents)
    {
        ProcessorHarness harness;
        const auto block = containerWith (document);
        harness.processor->setStateInformation (block.getData(), static_cast<int> (block.getSize()));
        EXPECT_FLOAT_EQ (harness.processor->manualBpm.load(), 120.0f) << document;
    }

    ProcessorHarness harness;
    const auto block = containerWith ("  <PARAMETERS manualBpm=\"90.0\"/>");
    harness.processor->setStateInformation (block.getData(), static_cast<int> (block.getSize()));
    EXPECT_FLOAT_EQ (harness.processor->manualBpm.load(), 90.0f);
}

TEST (StateTextEncoding, NumbersBeyondADoubleRestoreAsUnusable)
{
    // JUCE's number reader overflows an int on such exponents; these read as out of range.
    struct Case { const char* bpm; const char* trim; float expectedBpm; float expectedTrim; };
    const Case cases[] = {
        { "1e99999999999", "1e99999999999", 120.0f, 0.0f },
        { "95e-99999999999", "-1e-99999999999", 120.0f, 0.0f },
        { "  +97.5 BPM", "-6.5dB", 97.5f, -6.5f },
        { "1e2", "2e1", 100.0f, 20.0f },
    };

    for (const auto& c : cases)
    {
        ProcessorHarness harness;
        const auto block = containerWith (std::string ("<PARAMETERS manualBpm=\"") + c.bpm + "\"><PARAM id=\"inputTrim\" value=\""
                                          + c.trim + "\"/></PARAMETERS>");
        harness.processor->setStateInformation (block.getData(), static_cast<int> (block.getSize()));
        EXPECT_FLOAT_EQ (harness.processor->manualBpm.load(), c.expectedBpm) << c.bpm;
        EXPECT_FLOAT_EQ (harness.get ("inputTrim"), c.expectedTrim) << c.trim;
    }
}
