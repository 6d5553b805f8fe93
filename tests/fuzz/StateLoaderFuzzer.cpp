// libFuzzer target: arbitrary bytes as a saved state, then a block, then the state saved again.

#include "tests/fuzz/StateInvariants.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static auto* juceRuntime = new juce::ScopedJuceInitialiser_GUI();
    juce::ignoreUnused (juceRuntime);

    auto processor = makePreparedProcessor();
    const auto problem = restoreAndCheck (*processor, data, size);

    if (problem.isNotEmpty())
    {
        std::fprintf (stderr, "state invariant broken: %s\n", problem.toRawUTF8());
        std::abort();
    }
    return 0;
}
