#include "tests/support/FixedPlayHead.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
// A processor whose tap clock is driven by the test, starting far from 0 as the real one does.
struct TappedProcessor
{
    TappedProcessor() { processor.tapClockMs = [this] { return now; }; }

    void tapAfter (double milliseconds)
    {
        now += milliseconds;
        processor.registerTap();
    }

    VelbrinLumbraProcessor processor;
    double now = 3.6e6;
};
} // namespace

TEST (TempoSettings, TypedTempoIsLimitedTo20To300)
{
    const std::pair<float, float> cases[] = {
        { 5.0f, 20.0f },   { 19.99f, 20.0f }, { 20.0f, 20.0f },    { 98.5f, 98.5f },
        { 300.0f, 300.0f }, { 400.0f, 300.0f }, { -1.0f, 20.0f },  { INFINITY, 300.0f },
        { -INFINITY, 20.0f },
    };

    for (const auto& [typed, expected] : cases)
    {
        SCOPED_TRACE (typed);
        VelbrinLumbraProcessor processor;
        processor.setManualBpm (typed);
        EXPECT_EQ (processor.manualBpm.load(), expected);
    }

    VelbrinLumbraProcessor processor;
    processor.setManualBpm (87.0f);
    processor.setManualBpm (NAN);
    EXPECT_EQ (processor.manualBpm.load(), 87.0f);
}

TEST (TempoSettings, TwoTapsFrom200To2000MsApartSetTheTempo)
{
    const std::pair<double, float> cases[] = {
        { 199.0, 120.0f },
        { 200.0, 300.0f },
        { 500.0, 120.0f },
        { 700.0, static_cast<float> (60000.0 / 700.0) },
        { 2000.0, 30.0f },
        { 2001.0, 120.0f },
    };

    for (const auto& [interval, expected] : cases)
    {
        SCOPED_TRACE (interval);
        TappedProcessor tapped;
        tapped.processor.manualBpm = 120.0f;
        tapped.tapAfter (0.0);
        EXPECT_EQ (tapped.processor.manualBpm.load(), 120.0f) << "a first tap only starts the measurement";
        tapped.tapAfter (interval);
        EXPECT_EQ (tapped.processor.manualBpm.load(), expected);
    }
}

TEST (TempoSettings, EveryTapRestartsTheMeasurement)
{
    TappedProcessor tapped;
    tapped.processor.setManualBpm (100.0f);

    tapped.tapAfter (0.0);
    tapped.tapAfter (150.0); // too fast: ignored, but measured from here on
    EXPECT_EQ (tapped.processor.manualBpm.load(), 100.0f);
    tapped.tapAfter (500.0);
    EXPECT_EQ (tapped.processor.manualBpm.load(), 120.0f);

    tapped.tapAfter (2500.0); // after a pause: only starts a new measurement
    EXPECT_EQ (tapped.processor.manualBpm.load(), 120.0f);
    tapped.tapAfter (400.0);
    EXPECT_EQ (tapped.processor.manualBpm.load(), 150.0f);
}

TEST (TempoSettings, AFirstTapOnTheRealClockOnlyStartsAMeasurement)
{
    VelbrinLumbraProcessor processor;
    processor.registerTap();
    EXPECT_EQ (processor.manualBpm.load(), 120.0f);
}

TEST (TempoSettings, TheHostTempoIsInForceOnlyWhenSyncedAndAbove1Bpm)
{
    struct Case
    {
        const char* name;
        bool sync;
        bool hasPlayHead;
        bool reportsPosition;
        std::optional<double> hostBpm;
        double expected;
    };

    const Case cases[] = {
        { "synced, host at 98.5", true, true, true, 98.5, 98.5 },
        { "synced, host just above 1", true, true, true, 1.001, 1.001 },
        { "sync off", false, true, true, 98.5, 87.0 },
        { "host at exactly 1", true, true, true, 1.0, 87.0 },
        { "host at 0", true, true, true, 0.0, 87.0 },
        { "host tempo not a number", true, true, true, NAN, 87.0 },
        { "no tempo reported", true, true, true, std::nullopt, 87.0 },
        { "no position reported", true, true, false, 98.5, 87.0 },
        { "no play head", true, false, true, 98.5, 87.0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        VelbrinLumbraProcessor processor;
        FixedPlayHead playHead;
        playHead.bpm = c.hostBpm;
        playHead.reportsPosition = c.reportsPosition;
        processor.setPlayHead (c.hasPlayHead ? &playHead : nullptr);
        processor.setManualBpm (87.0f);
        processor.hostSyncEnabled = c.sync;

        EXPECT_EQ (processor.getEffectiveBpm(), c.expected);
        EXPECT_EQ (processor.manualBpm.load(), 87.0f) << "the host tempo is never copied into the manual one";
    }
}
