// Paint once, blit after: the faceplate comes from a cached picture that equals drawing it
// directly, and is redrawn on a resize or a change of display scale. Each 33 ms tick asks to
// repaint only the parts whose picture changed.

#include "editor/EditorLayout.h"
#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/PaintProbe.h"
#include "tests/support/RepaintRecorder.h"

#include <gtest/gtest.h>

namespace
{
using editorprobe::OpenEditor;

// The editor's own paint (its faceplate, without children) into an image of its size times `scale`.
juce::Image paintFaceplate (VelbrinLumbraEditor& editor, bool cached, float scale = 1.0f)
{
    auto image = paintprobe::canvas (juce::roundToInt ((float) editor.getWidth() * scale),
                                     juce::roundToInt ((float) editor.getHeight() * scale));
    juce::Graphics g (image);
    g.addTransform (juce::AffineTransform::scale (scale));
    if (cached)
        editor.paint (g);
    else
        editor.paintStaticParts (g);
    return image;
}

int differences (const juce::Image& a, const juce::Image& b)
{
    return paintprobe::countDifferences (a, b, a.getBounds(), 2);
}

// An open editor whose repaint requests are recorded, after one tick has brought every display up
// to date.
struct Refresh : public ::testing::Test
{
    Refresh()
        : recorder (RepaintRecorder::attachTo (*open.editor))
    {
        open.processor.inputLevelDb = -20.0f;
        open.processor.outputLevelDb = -20.0f;
        open.processor.gainReductionDb = 3.0f;
        bypass (true); // a steady indicator: nothing moves unless the test moves it
        open.tick();
        recorder.take();
    }

    void bypass (bool on)
    {
        open.parameter (ParamIDs::bypass).setValueNotifyingHost (on ? 1.0f : 0.0f);
        editorprobe::pumpMessages();
    }

    juce::Rectangle<int> boundsOf (const char* name) { return editorprobe::child (*open.editor, name).getBounds(); }

    OpenEditor open;
    RepaintRecorder& recorder;
};
} // namespace

TEST (EditorBackground, TheCachedPictureEqualsTheFaceplateDrawnDirectly)
{
    OpenEditor open;
    const auto cached = paintFaceplate (*open.editor, true);
    EXPECT_EQ (differences (cached, paintFaceplate (*open.editor, false)), 0);

    // Painted twice, the second paint is a blit of the same picture.
    EXPECT_EQ (differences (paintFaceplate (*open.editor, true), cached), 0);
    EXPECT_EQ (open.editor->getBackgroundCache().getRebuildCount(), 1);
}

TEST (EditorBackground, ResizingOrAnotherDisplayScaleRedrawsIt)
{
    OpenEditor open;
    paintFaceplate (*open.editor, true);

    open.editor->setSize (1400, 700);
    EXPECT_FALSE (open.editor->getBackgroundCache().getImage().isValid()) << "a resize drops the old picture";
    EXPECT_EQ (differences (paintFaceplate (*open.editor, true), paintFaceplate (*open.editor, false)), 0);
    EXPECT_EQ (open.editor->getBackgroundCache().getImage().getBounds(), juce::Rectangle<int> (0, 0, 1400, 700));
    EXPECT_EQ (open.editor->getBackgroundCache().getRebuildCount(), 2);

    // On a display at twice the density the picture is redrawn with twice the pixels, and matches
    // the faceplate drawn directly at that scale.
    open.editor->setSize (600, 300);
    const auto sharp = paintFaceplate (*open.editor, true, 2.0f);
    EXPECT_EQ (open.editor->getBackgroundCache().getImage().getBounds(), juce::Rectangle<int> (0, 0, 1200, 600));
    EXPECT_FLOAT_EQ (open.editor->getBackgroundCache().getScale(), 2.0f);
    EXPECT_LT (paintprobe::countDifferences (sharp, paintFaceplate (*open.editor, false, 2.0f), sharp.getBounds(), 8),
               sharp.getWidth() * sharp.getHeight() / 1000);

    paintFaceplate (*open.editor, true, 1.0f);
    EXPECT_FLOAT_EQ (open.editor->getBackgroundCache().getScale(), 1.0f);
    EXPECT_EQ (open.editor->getBackgroundCache().getRebuildCount(), 4);
}

TEST_F (Refresh, ATickWithNothingChangedAsksForNoRepaint)
{
    open.tick();
    EXPECT_TRUE (recorder.take().isEmpty());
}

TEST_F (Refresh, WhileTheChainRunsOnlyTheBypassLedPulses)
{
    bypass (false);
    recorder.take();
    open.tick();
    const auto bypassButton = boundsOf ("bypassButton");
    EXPECT_EQ (recorder.take().getBounds(), bypassButton.withWidth (bypassButton.getHeight()));
}

TEST_F (Refresh, EachDisplayRepaintsWhenItsOwnPictureChanges)
{
    struct Change
    {
        const char* what;
        std::function<void (OpenEditor&)> apply;
        std::vector<const char*> repainted;
    };
    const Change changes[] = {
        { "input level", [] (OpenEditor& o) { o.processor.inputLevelDb = -3.0f; }, { "inputMeter" } },
        { "output level", [] (OpenEditor& o) { o.processor.outputLevelDb = -3.0f; }, { "outputMeter", "vuArc" } },
        { "gain reduction", [] (OpenEditor& o) { o.processor.gainReductionDb = 9.0f; }, { "gainReductionMeter" } },
        // A change of the sound also brings up the preset bar's edited mark.
        { "character", [] (OpenEditor& o) { o.parameter (ParamIDs::compMode).setValueNotifyingHost (1.0f); },
          { "dynamicsModeSelector", "presetBar" } },
        { "manual tempo", [] (OpenEditor& o) { o.processor.setManualBpm (96.0f); }, { "bpmLabel" } },
        { "pre-delay sync", [] (OpenEditor& o) { o.parameter (ParamIDs::spaceBPreDelaySync).setValueNotifyingHost (1.0f); },
          { "spaceBPreDelaySyncButton" } },
        { "oversample", [] (OpenEditor& o) { o.parameter (ParamIDs::compOversample).setValueNotifyingHost (1.0f); },
          { "oversampleBox" } },
    };

    for (const auto& change : changes)
    {
        SCOPED_TRACE (change.what);
        change.apply (open);
        open.tick();

        juce::RectangleList<int> expected;
        const auto asked = recorder.take();
        for (const auto* name : change.repainted)
        {
            expected.add (boundsOf (name));
            EXPECT_TRUE (asked.containsRectangle (boundsOf (name))) << name;
        }
        auto outside = asked;
        outside.subtract (expected);
        EXPECT_TRUE (outside.isEmpty()) << "repainted beyond " << change.what;
    }
}

// A level that moves within one segment of the ladder lights the same picture: no repaint.
TEST_F (Refresh, ALevelThatLightsTheSameSegmentsRepaintsNothing)
{
    open.processor.inputLevelDb = -20.2f;
    open.tick();
    EXPECT_TRUE (recorder.take().isEmpty());
}
