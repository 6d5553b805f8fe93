// The compressor's gain-reduction bar: what it draws for a reduction, when it asks to be redrawn,
// and where the editor puts it.

#include "editor/EditorLayout.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/PaintProbe.h"
#include "tests/support/RepaintRecorder.h"
#include "ui/Palette.h"
#include "ui/VelbriGainReductionMeter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr int meterHeight = 296;

juce::Image paintMeter (float reductionDb)
{
    VelbriGainReductionMeter meter;
    meter.setSize (4, meterHeight);
    meter.setReductionDb (reductionDb);
    return paintprobe::paint (meter);
}

// Rows from the top whose middle pixels show the alert colour, counted until the first that does not.
int alertRowsFromTheTop (const juce::Image& image, int x = 1)
{
    int rows = 0;
    while (rows < image.getHeight() && paintprobe::distance (image.getPixelAt (x, rows), Palette::alert) <= 2)
        ++rows;
    return rows;
}

int alertPixels (const juce::Image& image)
{
    int count = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (paintprobe::distance (image.getPixelAt (x, y), Palette::alert) <= 2)
                ++count;
    return count;
}
} // namespace

TEST (VelbriGainReductionMeter, GrowsDownFromTheTopInTheAlertColourFullAtTwentyFourDecibels)
{
    const std::pair<float, int> cases[] = {
        { 0.0f, 0 },          { 3.0f, 37 },  { 12.0f, 148 }, { 21.0f, 259 },
        { 24.0f, meterHeight }, { 40.0f, meterHeight }, // beyond the scale it stays full
        { -5.0f, 0 },         { std::nanf (""), 0 },          // nothing to show
    };
    for (const auto& [reduction, rows] : cases)
    {
        SCOPED_TRACE (reduction);
        const auto image = paintMeter (reduction);
        EXPECT_EQ (alertRowsFromTheTop (image, 1), rows);
        EXPECT_EQ (alertRowsFromTheTop (image, 2), rows);
        EXPECT_EQ (alertPixels (image), 4 * rows) << "the bar is a solid block from the top";
    }
}

TEST (VelbriGainReductionMeter, UnlitItIsADarkSlotWithAFaintEdge)
{
    const auto image = paintMeter (0.0f);
    EXPECT_EQ (image.getPixelAt (1, meterHeight / 2), Palette::trackBackground);
    EXPECT_LE (paintprobe::distance (image.getPixelAt (0, meterHeight / 2),
                                     paintprobe::over (Palette::trackBackground, Palette::textMuted.withAlpha (0.5f))),
               2);
}

TEST (VelbriGainReductionMeter, AsksForARepaintOnlyWhenTheBarChangesLength)
{
    juce::Component parent;
    parent.setSize (10, meterHeight);
    VelbriGainReductionMeter meter;
    meter.setBounds (3, 0, 4, meterHeight);
    parent.addAndMakeVisible (meter);
    auto& recorder = RepaintRecorder::attachTo (parent);
    recorder.take();

    meter.setReductionDb (6.0f);
    EXPECT_EQ (recorder.take().getBounds(), meter.getBounds());

    meter.setReductionDb (6.01f); // the same 74 pixels
    EXPECT_TRUE (recorder.take().isEmpty());
    EXPECT_FLOAT_EQ (meter.getReductionDb(), 6.01f);

    meter.setReductionDb (30.0f);
    EXPECT_FALSE (recorder.take().isEmpty());
    meter.setReductionDb (40.0f); // both past full scale
    EXPECT_TRUE (recorder.take().isEmpty());
}

TEST (VelbriGainReductionMeter, ItsTooltipReadsTheReductionShown)
{
    VelbriGainReductionMeter meter;
    meter.setSize (4, meterHeight);
    meter.setReductionDb (6.04f);
    EXPECT_EQ (meter.getTooltip(), "Dynamics gain reduction: -6.0 dB (scale 0 to -24 dB)");
}

// Left of the Dynamics fader, in the gap between two modules, exactly as long as the travel of the
// fader's cap; nothing else is under it, so its tooltip can show and the cap never hides it.
TEST (VelbriGainReductionMeter, StandsBesideTheDynamicsFaderAlongItsTravelAndCoversNothing)
{
    editorprobe::OpenEditor open;
    open.editor->setVisible (true);
    for (const auto& size : { juce::Point<int> (1180, 560), juce::Point<int> (1400, 700) })
    {
        SCOPED_TRACE (size.toString());
        open.editor->setSize (size.x, size.y);
        auto& fader = open.get<juce::Slider> ("dynamicsSlider");
        const auto meter = open.get<VelbriGainReductionMeter> ("gainReductionMeter").getBounds();

        EXPECT_EQ (meter.getRight(), fader.getX() - 1);
        EXPECT_EQ (meter.getWidth(), 4);
        EXPECT_EQ (meter.getY(), fader.getY() + juce::roundToInt (fader.getPositionOfValue (fader.getMaximum())));
        EXPECT_EQ (meter.getBottom(), fader.getY() + juce::roundToInt (fader.getPositionOfValue (fader.getMinimum())));

        for (const auto* name : editorprobe::stackingOrder)
        {
            const auto other = editorprobe::child (*open.editor, name).getBounds();
            EXPECT_TRUE (juce::String (name) == "gainReductionMeter" || ! other.intersects (meter)) << name;
        }

        const auto layout = computeEditorLayout (open.editor->getLocalBounds());
        EXPECT_FALSE (layout.spaceAArea.intersects (meter));
        EXPECT_EQ (open.editor->getComponentAt (meter.getCentre()),
                   &editorprobe::child (*open.editor, "gainReductionMeter"));
    }
}

// The processor's reading reaches the bar on the next tick and shows in the editor's picture.
TEST (VelbriGainReductionMeter, TheEditorsTickHandsItTheCompressorsReading)
{
    editorprobe::OpenEditor open;
    auto& meter = open.get<VelbriGainReductionMeter> ("gainReductionMeter");
    open.processor.gainReductionDb = 12.0f;
    open.tick();
    EXPECT_FLOAT_EQ (meter.getReductionDb(), 12.0f);

    const auto picture = paintprobe::paint (*open.editor);
    const auto bounds = meter.getBounds();
    const auto bar = picture.getClippedImage (bounds);
    EXPECT_EQ (alertRowsFromTheTop (bar), bounds.getHeight() / 2);
}
