// Every seed and every input the state fuzzer ever flagged, replayed through the same checks.

#include "tests/fuzz/StateInvariants.h"

#include <gtest/gtest.h>

TEST (StateFuzzRegressions, EverySeedAndFoundInputKeepsTheInvariants)
{
    const juce::File fuzzFolder (LUMBRA_FUZZ_DIR);
    auto files = fuzzFolder.getChildFile ("corpus/state").findChildFiles (juce::File::findFiles, false);
    files.addArray (fuzzFolder.getChildFile ("corpus/state-grown").findChildFiles (juce::File::findFiles, false));
    files.addArray (fuzzFolder.getChildFile ("regressions/state").findChildFiles (juce::File::findFiles, false));
    ASSERT_GE (files.size(), 4);

    for (const auto& file : files)
    {
        juce::MemoryBlock bytes;
        ASSERT_TRUE (file.loadFileAsData (bytes));
        auto processor = makePreparedProcessor();
        EXPECT_EQ (restoreAndCheck (*processor, bytes.getData(), bytes.getSize()), juce::String()) << file.getFileName();
    }
}
