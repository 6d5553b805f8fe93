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
