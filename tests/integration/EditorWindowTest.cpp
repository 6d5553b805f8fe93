// The editor opened from the built module in a real window, as a DAW opens it, on a virtual X
// screen (Xvfb): what the screen shows must be the whole editor, drawn as the editor draws itself.

#include "editor/EditorLayout.h"
#include "editor/PluginEditor.h"
#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"
#include "plugin/PresetSetting.h"
#include "tests/support/PaintProbe.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include <unistd.h>

namespace
{
struct Snapshot
{
    int exitCode = -1;
    juce::String output;
    juce::Image image;
};

// Runs `lumbra-render snapshot` on a private X server. The server number starts from one derived
// from the process id, so parallel test runs do not race for the same display.
Snapshot takeSnapshot (const juce::StringArray& options)
{
    juce::TemporaryFile png (".png");
    juce::StringArray command { "xvfb-run", "-a", "-n", juce::String (200 + ::getpid() % 700),
                                "-s", "-screen 0 1600x1024x24", LUMBRA_RENDER_TOOL, "snapshot", "--out",
                                png.getFile().getFullPathName(), "--plugin", LUMBRA_VST3_BUNDLE };
    command.addArray (options);

    Snapshot result;
    juce::ChildProcess process;
    if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
    {
        result.output = "cannot start xvfb-run (package xvfb, see scripts/install-deps.sh)";
        return result;
    }

    result.output = process.readAllProcessOutput();
    process.waitForProcessToFinish (60000);
    result.exitCode = static_cast<int> (process.getExitCode());
    result.image = juce::ImageFileFormat::loadFrom (png.getFile());
    return result;
}

// The same editor painted in this process, offscreen, after one refresh tick.
juce::Image paintInProcess (int width, int height)
{
    VelbrinLumbraProcessor processor;
    std::unique_ptr<VelbrinLumbraEditor> editor (dynamic_cast<VelbrinLumbraEditor*> (processor.createEditorIfNeeded()));
    editor->setSize (width, height);
    editor->timerCallback();
    return paintprobe::paint (*editor);
}

int distinctColours (const juce::Image& image)
{
    std::set<juce::uint32> colours;
    for (int y = 0; y < image.getHeight(); y += 5)
        for (int x = 0; x < image.getWidth(); x += 5)
            colours.insert (image.getPixelAt (x, y).getARGB());
    return static_cast<int> (colours.size());
}

// Pixels of `area` that differ from the offscreen paint, leaving out the bypass switch, whose
// indicator pulses with the clock.
int differencesOutsideBypass (const juce::Image& screen, const juce::Image& painted,
                              std::optional<juce::Rectangle<int>> area = std::nullopt)
{
    const auto bypass = computeEditorLayout (screen.getBounds()).bypassButton;
    const auto region = area.value_or (screen.getBounds());
    int count = 0;
    for (int y = region.getY(); y < region.getBottom(); ++y)
        for (int x = region.getX(); x < region.getRight(); ++x)
            if (! bypass.contains (x, y) && paintprobe::distance (screen.getPixelAt (x, y), painted.getPixelAt (x, y)) > 8)
                ++count;
    return count;
}

juce::String argumentOf (juce::Point<int> point)
{
    return juce::String (point.x) + "," + juce::String (point.y);
}

// The "edit: ..." lines of the tool's output, without the prefix.
juce::StringArray editsIn (const juce::String& output)
{
    juce::StringArray edits;
    for (const auto& line : juce::StringArray::fromLines (output))
        if (line.startsWith ("edit: "))
            edits.add (line.fromFirstOccurrenceOf ("edit: ", false, false));
    return edits;
}
} // namespace

TEST (EditorWindow, OpensFromTheModuleAt1180x560AndShowsTheEditorAsItPaintsItself)
{
    const auto snapshot = takeSnapshot ({});
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;
    ASSERT_TRUE (snapshot.image.isValid()) << snapshot.output;
    EXPECT_EQ (snapshot.image.getWidth(), 1180);
    EXPECT_EQ (snapshot.image.getHeight(), 560);
    EXPECT_GT (distinctColours (snapshot.image), 200);

    const auto painted = paintInProcess (1180, 560);
    EXPECT_EQ (differencesOutsideBypass (snapshot.image, painted), 0);
}

TEST (EditorWindow, FollowsTheSizeTheHostAsksFor)
{
    const auto snapshot = takeSnapshot ({ "--width", "1400", "--height", "700" });
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;
    ASSERT_TRUE (snapshot.image.isValid());
    ASSERT_EQ (snapshot.image.getBounds(), juce::Rectangle<int> (0, 0, 1400, 700));

    EXPECT_EQ (differencesOutsideBypass (snapshot.image, paintInProcess (1400, 700)), 0);
}

TEST (EditorWindow, ShowsTheTooltipOfTheControlThePointerRestsOn)
{
    const auto bpmLabel = computeEditorLayout ({ 0, 0, 1180, 560 }).tempo.bpmLabel;
    const auto snapshot = takeSnapshot ({ "--hover", juce::String (bpmLabel.getCentreX()) + "," + juce::String (bpmLabel.getCentreY()) });
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;
    ASSERT_TRUE (snapshot.image.isValid());

    // The tip is a plate of two lines near the pointer; nowhere else does the window change.
    const auto painted = paintInProcess (1180, 560);
    const auto nearPointer = bpmLabel.withSizeKeepingCentre (700, 140);
    const auto changedNear = differencesOutsideBypass (snapshot.image, painted, nearPointer);
    EXPECT_GT (changedNear, 3000);
    EXPECT_EQ (differencesOutsideBypass (snapshot.image, painted), changedNear);
}

// The compressor's reading crosses from the module's audio thread to its editor: after a full-scale
// tone through "Squash" at full amount (threshold -24 dB, ratio 8), the bar beside the Dynamics
// fader shows about 24 x (1 - 1/8) = 21 dB of its 24, in the alert colour.
TEST (EditorWindow, ShowsTheCompressorsGainReductionBesideTheDynamicsFader)
{
    const auto snapshot = takeSnapshot ({ "--tone", "0", "--set", "compAmount=100", "--set", "compMode=Squash" });
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;
    ASSERT_TRUE (snapshot.image.isValid());

    const auto bar = computeEditorLayout ({ 0, 0, 1180, 560 }).gainReductionMeter;
    const auto alertAt = [&] (float proportion)
    {
        const auto y = bar.getY() + juce::roundToInt (proportion * (float) bar.getHeight());
        return paintprobe::distance (snapshot.image.getPixelAt (bar.getCentreX(), y), Palette::alert) <= 8;
    };
    EXPECT_TRUE (alertAt (0.02f));
    EXPECT_TRUE (alertAt (0.8f));
    EXPECT_FALSE (alertAt (0.95f));

    // Nothing compresses without the tone: the bar stays dark.
    const auto quiet = takeSnapshot ({ "--set", "compAmount=100", "--set", "compMode=Squash" });
    ASSERT_EQ (quiet.exitCode, 0) << quiet.output;
    EXPECT_GT (paintprobe::distance (quiet.image.getPixelAt (bar.getCentreX(), bar.getY() + 4), Palette::alert), 64);
}

// What a host records when the user edits in the module's own window: the host counts what reaches
// it as VST3 beginEdit, performEdit and endEdit. A click on a new row of the Low selector is one
// gesture; the preset bar's next arrow (from no preset: the first of the factory bank) is one
// gesture per sound parameter, one after the other, and nothing for bypass.
TEST (EditorWindow, ASelectorClickAndAPresetLoadReachTheHostAsBeginPerformEnd)
{
    const auto layout = computeEditorLayout ({ 0, 0, 1180, 560 });
    const auto airCutRow = layout.low.selector.getPosition() + juce::Point<int> (60, 40);
    const auto nextArrow = juce::Point<int> (layout.presetBar.getRight() - 12, layout.presetBar.getCentreY());

    const auto snapshot = takeSnapshot ({ "--click", argumentOf (airCutRow), "--click", argumentOf (nextArrow) });
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;

    VelbrinLumbraProcessor reference;
    const auto gestureOf = [&] (const juce::String& id)
    {
        const auto name = reference.parameters.getParameter (id)->getName (64);
        return juce::StringArray { "begin " + name, "perform " + name, "end " + name };
    };

    auto expected = gestureOf (ParamIDs::lowMode);
    for (const auto& id : soundParameterIds())
        expected.addArray (gestureOf (id));

    EXPECT_EQ (editsIn (snapshot.output), expected) << snapshot.output;
}

// A click on each pre-delay's SYNC switch, as a user clicks in the module's own window, reaches the
// host as one gesture each, under the parameter's name.
TEST (EditorWindow, ASyncSwitchClickReachesTheHostAsBeginPerformEnd)
{
    const auto layout = computeEditorLayout ({ 0, 0, 1180, 560 });
    const auto snapshot = takeSnapshot ({ "--click", argumentOf (layout.spaceAPreDelaySync.getCentre()), "--click",
                                          argumentOf (layout.spaceBPreDelaySync.getCentre()) });
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;

    juce::StringArray expected;
    for (const auto* name : { "Space A Pre-Delay Sync", "Space B Pre-Delay Sync" })
        expected.addArray ({ juce::String ("begin ") + name, juce::String ("perform ") + name, juce::String ("end ") + name });

    EXPECT_EQ (editsIn (snapshot.output), expected) << snapshot.output;
}

// The Oversample box opens its menu below itself on a click: the menu's border and its heading
// take 34 pixels, then each choice a row as tall as the box's text (16). A click on the third row
// picks 4x: one gesture, and the box then shows it.
TEST (EditorWindow, PickingFromTheOversampleMenuReachesTheHostAsBeginPerformEnd)
{
    const auto box = computeEditorLayout ({ 0, 0, 1180, 560 }).oversample;
    const auto fourX = juce::Point<int> (box.getCentreX(), box.getBottom() + 34 + 2 * 16 + 8);
    const auto snapshot = takeSnapshot ({ "--click", argumentOf (box.getCentre()), "--click", argumentOf (fourX) });
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;

    EXPECT_EQ (editsIn (snapshot.output), juce::StringArray ({ "begin Oversample", "perform Oversample", "end Oversample" }))
        << snapshot.output;

    VelbrinLumbraProcessor processor;
    processor.parameters.getParameter (ParamIDs::compOversample)->setValueNotifyingHost (1.0f);
    std::unique_ptr<VelbrinLumbraEditor> editor (dynamic_cast<VelbrinLumbraEditor*> (processor.createEditorIfNeeded()));
    editor->timerCallback();
    EXPECT_EQ (differencesOutsideBypass (snapshot.image, paintprobe::paint (*editor), box), 0)
        << "the window shows 4x as the editor paints it";
}

// In the module's own window: the undo and redo buttons each send the selector's gesture again,
// and the A/B slots switch with one gesture per parameter that differs (none for the first switch,
// where B is a copy). Cells left of the preset bar: A, B, then undo and redo, 22 pixels each.
TEST (EditorWindow, UndoRedoAndTheCompareSlotsReachTheHostAsBeginPerformEnd)
{
    const auto layout = computeEditorLayout ({ 0, 0, 1180, 560 });
    const auto cell = [&] (int x) { return juce::Point<int> (layout.headerActions.getX() + x, layout.headerActions.getCentreY()); };
    const auto airCutRow = layout.low.selector.getPosition() + juce::Point<int> (60, 40);
    const auto crispRow = layout.high.selector.getPosition() + juce::Point<int> (60, 40);

    const auto snapshot = takeSnapshot ({ "--click", argumentOf (airCutRow), "--click", argumentOf (cell (65)), // undo
                                          "--click", argumentOf (cell (89)),                                     // redo
                                          "--click", argumentOf (cell (35)),                                     // to B
                                          "--click", argumentOf (crispRow), "--click", argumentOf (cell (11)) }); // to A
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;

    juce::StringArray expected;
    for (const auto* name : { "Low Character", "Low Character", "Low Character", "High Character", "High Character" })
        expected.addArray ({ juce::String ("begin ") + name, juce::String ("perform ") + name, juce::String ("end ") + name });

    EXPECT_EQ (editsIn (snapshot.output), expected) << snapshot.output;
}

// Real keys in the module's own window: after a click on the Low fader, Tab moves the focus to the
// High switch (Space flips it), Shift-Tab back to the fader (Up moves it), and Ctrl+Z undoes that
// move. Each reaches the host as one gesture.
TEST (EditorWindow, TabSpaceArrowsAndCtrlZWorkInTheModulesWindow)
{
    const auto layout = computeEditorLayout ({ 0, 0, 1180, 560 });
    const auto lowFader = layout.low.fader.getCentre();

    const auto snapshot = takeSnapshot ({ "--click", argumentOf (lowFader), "--key", "tab", "--key", "space", "--key",
                                          "shift+tab", "--key", "up", "--key", "ctrl+z" });
    ASSERT_EQ (snapshot.exitCode, 0) << snapshot.output;

    juce::StringArray expected;
    for (const auto* name : { "Low", "High Enabled", "Low", "Low" })
        expected.addArray ({ juce::String ("begin ") + name, juce::String ("perform ") + name, juce::String ("end ") + name });

    EXPECT_EQ (editsIn (snapshot.output), expected) << snapshot.output;
}
