#include "tests/support/Vst3Fixture.h"
#include "tools/host/ClickMeasurement.h"

#include <cmath>

namespace
{
class ClickFreeThroughHost : public ::testing::TestWithParam<ClickConditions>
{
};

std::string describe (const ::testing::TestParamInfo<ClickConditions>& info)
{
    return std::to_string (static_cast<int> (info.param.sampleRate)) + "Hz_" + std::to_string (info.param.blockSize)
           + "Samples";
}
} // namespace

// Every continuous control ramped over a second and every switch, character and type changed at
// once, on a 100 Hz sine: the energy the move adds above 3 kHz stays within the louder of -120 dB
// and 3 dB over what the two steady settings make there on their own. A move that carries the sine
// over the compressor's knee may also make what the input trim's own glide over the knee makes.
TEST_P (ClickFreeThroughHost, NoControlStepsOrClicks)
{
    juce::String error;
    const auto results = measureClicks (builtBundle(), GetParam(), error);
    ASSERT_TRUE (results.has_value()) << error;
    ASSERT_EQ (results->size(), clickCases().size());

    for (size_t i = 0; i < results->size(); ++i)
    {
        const auto& result = (*results)[i];
        SCOPED_TRACE (clickCases()[i].what);
        ASSERT_TRUE (std::isfinite (result.changeDb));
        if (! result.isReference)
        {
            EXPECT_LE (result.changeDb, result.limitDb) << "steady settings: " << result.steadyDb << " dB";
        }
    }
}

// The references are what they claim: the input trim's glide over the knee makes harmonics only
// because the compressor is there (switched off, the same glide is clean).
TEST (ClickFreeThroughHost, TheKneeReferencesAreTheCompressorsOwn)
{
    juce::String error;
    const auto results = measureClicks (builtBundle(), { 48000.0, 512 }, error);
    ASSERT_TRUE (results.has_value()) << error;

    for (size_t i = 0; i < results->size(); ++i)
    {
        const auto& clickCase = clickCases()[i];
        if (clickCase.id == "lowGain" || clickCase.id == "lowEnabled")
        {
            SCOPED_TRACE (clickCase.what);
            const auto withDynamicsOff = clickCase.what.contains ("Dynamics off");
            EXPECT_EQ (withDynamicsOff, (*results)[i].changeDb < -120.0) << (*results)[i].changeDb;
        }
    }
}

INSTANTIATE_TEST_SUITE_P (RatesAndBlocks, ClickFreeThroughHost,
                          ::testing::Values (ClickConditions { 44100.0, 64 }, ClickConditions { 44100.0, 512 },
                                             ClickConditions { 44100.0, 2048 }, ClickConditions { 48000.0, 64 },
                                             ClickConditions { 48000.0, 512 }, ClickConditions { 48000.0, 2048 },
                                             ClickConditions { 96000.0, 64 }, ClickConditions { 96000.0, 512 },
                                             ClickConditions { 96000.0, 2048 }),
                          describe);
