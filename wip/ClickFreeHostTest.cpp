#include "tests/support/Vst3Fixture.h"
#include "tools/host/ClickMeasurement.h"

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
// and 3 dB over what the two steady settings make there on their own.
TEST_P (ClickFreeThroughHost, NoControlStepsOrClicks)
{
    for (const auto& clickCase : clickCases())
    {
        SCOPED_TRACE (clickCase.what);
        juce::String error;
        const auto result = measureClick (builtBundle(), clickCase, GetParam(), error);
        ASSERT_TRUE (result.has_value()) << error;
        EXPECT_LE (result->changeDb, result->limitDb) << "steady settings: " << result->steadyDb << " dB";
    }
}

INSTANTIATE_TEST_SUITE_P (RatesAndBlocks, ClickFreeThroughHost,
                          ::testing::Values (ClickConditions { 48000.0, 64 }, ClickConditions { 48000.0, 512 },
                                             ClickConditions { 48000.0, 2048 }, ClickConditions { 44100.0, 512 },
                                             ClickConditions { 96000.0, 512 }),
                          describe);
