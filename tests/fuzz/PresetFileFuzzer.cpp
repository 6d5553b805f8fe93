// libFuzzer target: arbitrary bytes as a .vstpreset file. The reader must refuse with a reason or
// return a complete setting inside the ranges, which then loads and processes finite audio.

#include "plugin/PresetLoading.h"
#include "plugin/UserPresetLibrary.h"
#include "tests/fuzz/StateInvariants.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <cstdlib>

namespace
{
[[noreturn]] void broken (const char* what)
{
    std::fprintf (stderr, "preset invariant broken: %s\n", what);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static auto* juceRuntime = new juce::ScopedJuceInitialiser_GUI();
    juce::ignoreUnused (juceRuntime);

    auto processor = makePreparedProcessor();
    juce::String error;
    const auto setting = readPresetFileData (data, size, processor->parameters, "fuzzed", error);

    if (! setting.has_value())
    {
        if (error.isEmpty())
            broken ("refused without a reason");
        return 0;
    }

    if (static_cast<int> (setting->values.size()) != soundParameterIds().size() || setting->name != sanitisePresetName (setting->name))
        broken ("incomplete setting or unsanitised name");

    loadPreset (*processor, *setting);
    const auto state = presetFileData (*setting);

    if (const auto problem = restoreAndCheck (*processor, nullptr, 0); problem.isNotEmpty())
        broken (problem.toRawUTF8());

    juce::String again;
    if (! readPresetFileData (state.getData(), state.getSize(), processor->parameters, "fuzzed", again).has_value())
        broken ("a preset written again does not read back");

    return 0;
}
