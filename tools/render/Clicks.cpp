// lumbra-render clicks: the energy each control's movement adds above 3 kHz, as a table.

#include "tools/host/ClickMeasurement.h"
#include "tools/render/Commands.h"

#include <cstdio>

int runClicks (const RenderArguments& args)
{
    const ClickConditions conditions { args.sampleRate.value_or (48000.0), args.blockSize };
    std::printf ("Energy above 3 kHz on a 100 Hz sine at -6 dBFS, %.0f Hz, %d-sample blocks\n", conditions.sampleRate,
                 conditions.blockSize);
    std::printf ("%-52s %10s %10s %10s\n", "what moved", "change dB", "steady dB", "limit dB");

    auto allWithin = true;
    for (const auto& clickCase : clickCases())
    {
        juce::String error;
        const auto bundle = args.plugin != juce::File() ? args.plugin : juce::File (LUMBRA_DEFAULT_BUNDLE);
        const auto result = measureClick (bundle, clickCase, conditions, error);
        if (! result.has_value())
            return fail (error);

        allWithin = allWithin && result->withinLimit();
        std::printf ("%-52s %10.1f %10.1f %10.1f%s\n", clickCase.what.toRawUTF8(), result->changeDb, result->steadyDb,
                     result->limitDb, result->withinLimit() ? "" : "  over");
    }

    return allWithin ? 0 : 1;
}
