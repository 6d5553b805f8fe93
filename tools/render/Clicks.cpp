// lumbra-render clicks: the energy each control's movement adds above 3 kHz, as a table.

#include "tools/host/ClickMeasurement.h"
#include "tools/render/Commands.h"

#include <cstdio>

int runClicks (const RenderArguments& args)
{
    const ClickConditions conditions { args.sampleRate.value_or (48000.0), args.blockSize };
    std::printf ("Energy above 3 kHz on a 100 Hz sine at -6 dBFS, %.0f Hz, %d-sample blocks\n", conditions.sampleRate,
                 conditions.blockSize);
    std::printf ("%-60s %10s %10s %10s\n", "what moved", "change dB", "steady dB", "limit dB");

    juce::String error;
    const auto bundle = args.plugin != juce::File() ? args.plugin : defaultBundle();
    const auto results = measureClicks (bundle, conditions, error);
    if (! results.has_value())
        return fail (error);

    auto allWithin = true;
    for (size_t i = 0; i < results->size(); ++i)
    {
        const auto& result = (*results)[i];
        allWithin = allWithin && result.withinLimit();
        const auto limit = result.isReference ? juce::String ("reference") : juce::String (result.limitDb, 1);
        std::printf ("%-60s %10.1f %10.1f %10s%s\n", clickCases()[i].what.toRawUTF8(), result.changeDb, result.steadyDb,
                     limit.toRawUTF8(), result.withinLimit() ? "" : "  over");
    }

    return allWithin ? 0 : 1;
}
