#include "tests/support/PaintProbe.h"
#include "ui/Palette.h"
#include "ui/VelbriLadderMeter.h"
#include "ui/VelbriVuArc.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using paintprobe::distance;
using paintprobe::over;

const juce::Colour black = juce::Colours::black;
const juce::Colour yellow { 0xffffff00 };
const auto unlitSegment = over (black, Palette::textMuted.withAlpha (0.15f));

juce::Colour litColourOfSegment (int segment)
{
    if (segment <= 10)
        return Palette::accentGlow;
    return segment <= 13 ? yellow : Palette::alert;
}

juce::Image paintLadder (float levelDb, int height, int width = 16)
{
    VelbriLadderMeter meter;
    meter.setSize (width, height);
    meter.setLevelDb (levelDb);
    return paintprobe::paint (meter, juce::Colours::white);
}

// With segment height s, segment i occupies rows h + 1 - (i + 1)(s + 1) .. that + s - 1.
int segmentTop (int height, int segmentHeight, int segment)
{
    return height + 1 - (segment + 1) * (segmentHeight + 1);
}
} // namespace

TEST (VelbriLadderMeter, LightsThreeDecibelSegmentsWithHalfwayLevelsGoingToTheEvenCount)
{
    // Segment i lights above 3i - 46.5 dB; exactly at a threshold, odd segments light, even ones not.
    const std::pair<float, int> levels[] = {
        { -100.0f, 0 }, { -48.0f, 0 }, { -46.5f, 0 }, { -46.0f, 1 }, { -45.0f, 1 }, { -43.5f, 2 },
        { -30.0f, 6 },  { -16.5f, 10 }, { -15.0f, 11 }, { -13.5f, 12 }, { -7.5f, 14 }, { -4.5f, 14 },
        { -3.0f, 15 },  { -1.5f, 16 }, { 0.0f, 16 },   { 3.0f, 16 },    { 40.0f, 16 },
    };

    for (const auto& [level, expectedLit] : levels)
    {
        // Height 95: segments of 5 rows, the stack fills the meter exactly.
        const auto image = paintLadder (level, 95);
        for (int segment = 0; segment < 16; ++segment)
        {
            const auto expected = segment < expectedLit ? litColourOfSegment (segment) : unlitSegment;
            const auto top = segmentTop (95, 5, segment);
            for (const int y : { top, top + 4 })
                EXPECT_LE (distance (image.getPixelAt (8, y), expected), 2)
                    << level << " dB, segment " << segment << ", row " << y;
            if (segment < 15)
            {
                EXPECT_EQ (image.getPixelAt (8, top - 1), black) << "gap above segment " << segment;
            }
        }
    }
}

TEST (VelbriLadderMeter, StandsOnTheBottomEdgeAndLeavesSpareRowsBlackAtTheTop)
{
    const auto exact = paintLadder (0.0f, 95);
    EXPECT_LE (distance (exact.getPixelAt (0, 0), Palette::alert), 2) << "height 95: segment 15 starts at row 0";
    EXPECT_LE (distance (exact.getPixelAt (15, 94), Palette::accentGlow), 2) << "segment 0 ends on the last row";

    const auto taller = paintLadder (0.0f, 100);
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ (taller.getPixelAt (8, y), black) << "height 100: row " << y << " is spare";
    EXPECT_LE (distance (taller.getPixelAt (8, 5), Palette::alert), 2) << "segment 15 starts at row 5";
    EXPECT_LE (distance (taller.getPixelAt (8, 99), Palette::accentGlow), 2);
}

TEST (VelbriLadderMeter, ShortLadderKeepsOnePixelSegmentsAndClipsTheTop)
{
    // Height 20: segH is forced to 1, so segment i is the single row 20 + 1 - 2(i + 1).
    const auto image = paintLadder (0.0f, 20);
    EXPECT_LE (distance (image.getPixelAt (8, 19), Palette::accentGlow), 2) << "segment 0";
    EXPECT_EQ (image.getPixelAt (8, 18), black);
    EXPECT_LE (distance (image.getPixelAt (8, 17), Palette::accentGlow), 2) << "segment 1";
    EXPECT_LE (distance (image.getPixelAt (8, 1), Palette::accentGlow), 2) << "segment 9 is the last one inside";
    EXPECT_EQ (image.getPixelAt (8, 0), black);
}

TEST (VelbriLadderMeter, KeepsTheLevelItWasGivenAndStartsDark)
{
    VelbriLadderMeter meter;
    EXPECT_FLOAT_EQ (meter.getLevelDb(), -100.0f);
    meter.setLevelDb (12.5f);
    EXPECT_FLOAT_EQ (meter.getLevelDb(), 12.5f);
    meter.setLevelDb (-300.0f);
    EXPECT_FLOAT_EQ (meter.getLevelDb(), -300.0f);
}

namespace
{
constexpr double pi = juce::MathConstants<double>::pi;

// A 216 x 132 arc: hh = 120, r0 = 102, halfW = 100, so R = 100 and the pivot is (108, 108).
constexpr int arcWidth = 216, arcHeight = 132;
constexpr double pivotX = 108.0, pivotY = 108.0, radius = 100.0;

juce::Image paintArc (float levelDb, int width = arcWidth, int height = arcHeight)
{
    VelbriVuArc arc;
    arc.setSize (width, height);
    arc.setLevelDb (levelDb);
    return paintprobe::paint (arc, juce::Colours::white);
}

juce::Point<double> pointAt (double distanceFromPivot, double angle)
{
    return { pivotX + distanceFromPivot * std::sin (angle), pivotY - distanceFromPivot * std::cos (angle) };
}

// The needle-coloured pixel farthest from the pivot, inside the scale (whose 5-pixel stroke
// starts 2.5 inside the radius and blends its two zones into similar tones): the needle's tip.
juce::Point<double> needleTip (const juce::Image& image)
{
    juce::Point<double> tip { pivotX, pivotY };
    double farthest = 0.0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const juce::Point<double> centre { x + 0.5, y + 0.5 };
            const auto fromPivot = centre.getDistanceFrom ({ pivotX, pivotY });
            if (fromPivot < radius - 3.0 && fromPivot > farthest
                && distance (image.getPixelAt (x, y), Palette::textPrimary) <= 24)
            {
                farthest = fromPivot;
                tip = centre;
            }
        }
    return tip;
}

int countNear (const juce::Image& image, juce::Colour colour, int tolerance = 24)
{
    int count = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (distance (image.getPixelAt (x, y), colour) <= tolerance)
                ++count;
    return count;
}
} // namespace

TEST (VelbriVuArc, NeedleReachesNinetyTwoPercentOfTheRadiusAtTheLevelsAngle)
{
    // n = (level + 36) / 39 clamped to 0..1, angle = n pi - pi/2 from twelve o'clock.
    const std::pair<float, double> levels[] = {
        { -100.0f, -pi / 2.0 },
        { -36.0f, -pi / 2.0 },
        { -17.0f, (19.0 / 39.0) * pi - pi / 2.0 },
        { 0.0f, (36.0 / 39.0) * pi - pi / 2.0 }, // 76.2 degrees right of twelve o'clock
        { 3.0f, pi / 2.0 },
        { 20.0f, pi / 2.0 },
    };

    for (const auto& [level, angle] : levels)
    {
        const auto expected = pointAt (0.92 * radius, angle);
        const auto tip = needleTip (paintArc (level));
        EXPECT_NEAR (tip.x, expected.x, 1.6) << level << " dB";
        EXPECT_NEAR (tip.y, expected.y, 1.6) << level << " dB";
    }
}

TEST (VelbriVuArc, ScaleTurnsFromGlowToAlertAtSeventyPercent)
{
    const auto image = paintArc (-100.0f);
    const auto hotStart = 0.7 * pi - pi / 2.0;

    const std::pair<double, juce::Colour> marks[] = {
        { -pi / 2.0 + 0.1, Palette::accentGlow }, { 0.0, Palette::accentGlow },
        { hotStart - 0.06, Palette::accentGlow }, { hotStart + 0.06, Palette::alert },
        { pi / 2.0 - 0.1, Palette::alert },
    };
    for (const auto& [angle, colour] : marks)
    {
        const auto p = pointAt (radius, angle);
        EXPECT_LE (distance (image.getPixelAt ((int) p.x, (int) p.y), colour), 8) << "angle " << angle;
    }

    // The stroke is 5 wide: 4 pixels inside or outside the radius is face again.
    const auto inside = pointAt (radius - 4.5, 0.0);
    const auto outside = pointAt (radius + 4.5, 0.0);
    EXPECT_EQ (image.getPixelAt ((int) inside.x, (int) inside.y), juce::Colour (0xff030304));
    EXPECT_EQ (image.getPixelAt ((int) outside.x, (int) outside.y), juce::Colour (0xff030304));
}

TEST (VelbriVuArc, FaceIsARoundedDarkPlateWithAVuLegend)
{
    const auto image = paintArc (-100.0f);
    EXPECT_EQ (image.getPixelAt (0, 0), juce::Colours::white) << "rounded corner";
    EXPECT_EQ (image.getPixelAt (20, 4), juce::Colour (0xff030304));

    // The legend: "VU" in the default face at 11, kerning 0.1, centred in the lowest 14 rows.
    auto expected = paintprobe::canvas (arcWidth, arcHeight, juce::Colour (0xff030304));
    {
        juce::Graphics g (expected);
        g.setColour (Palette::textMuted);
        g.setFont (juce::Font (11.0f).withExtraKerningFactor (0.1f));
        g.drawText ("VU", juce::Rectangle<float> (0.0f, (float) arcHeight - 14.0f, (float) arcWidth, 14.0f),
                    juce::Justification::centred, true);
    }
    EXPECT_EQ (paintprobe::countDifferences (image, expected, { 20, arcHeight - 14, arcWidth - 40, 12 }), 0);
    EXPECT_GT (countNear (expected, Palette::textMuted, 40), 10) << "the legend is visible at all";
}

TEST (VelbriVuArc, TinyArcsCollapseOntoThePivotWithoutError)
{
    // Width below 16 or height below 12 gives radius 0: no scale, no needle, only the cap.
    for (const auto& [width, height] : { std::pair { 14, 40 }, { 60, 10 }, { 0, 0 }, { 1, 1 } })
    {
        SCOPED_TRACE (juce::String (width) + " x " + juce::String (height));
        const auto image = paintArc (0.0f, width, height);
        EXPECT_EQ (countNear (image, Palette::alert, 20), 0);
        EXPECT_EQ (countNear (image, Palette::accentGlow, 20), 0);
    }

    // 14 x 40: pivot at (8 + 0, 6 + 0.85 * 28) = (8, 29.8); the 4-pixel cap is all that shows there.
    const auto image = paintArc (0.0f, 14, 40);
    EXPECT_LE (distance (image.getPixelAt (7, 29), Palette::textPrimary), 24);
    EXPECT_EQ (image.getPixelAt (7, 20), juce::Colour (0xff030304));
}

TEST (VelbriVuArc, TallNarrowArcKeepsItsPivotLow)
{
    // 60 x 200: hh = 188, r0 = 159.8, halfW = 22: R = 22, pivot (30, 165.8), not R below the top.
    const auto image = paintArc (-36.0f, 60, 200);
    const auto leftEnd = juce::Point<int> (30 - 22, 165);
    EXPECT_LE (distance (image.getPixelAt (leftEnd.x, leftEnd.y), Palette::accentGlow), 8);
    EXPECT_LE (distance (image.getPixelAt (30, 166 - 22), Palette::accentGlow), 8) << "top of the arc";
    for (int y = 8; y < 130; ++y)
        EXPECT_EQ (image.getPixelAt (30, y), juce::Colour (0xff030304)) << "empty face above the arc, row " << y;
}

TEST (VelbriVuArc, KeepsTheLevelItWasGivenAndStartsAtTheFloor)
{
    VelbriVuArc arc;
    EXPECT_FLOAT_EQ (arc.getLevelDb(), -100.0f);
    arc.setLevelDb (9.0f);
    EXPECT_FLOAT_EQ (arc.getLevelDb(), 9.0f);
}
