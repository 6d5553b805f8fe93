// The tempo column: TAP, the typed BPM readout and SYNC, and the readout the timer keeps fresh.

#include "tests/support/EditorProbe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// An open editor whose processor's tap clock is driven by the test.
struct TempoPanel : public ::testing::Test
{
    TempoPanel()
    {
        open.processor.tapClockMs = [this] { return now; };
    }

    void tapAfter (double milliseconds)
    {
        now += milliseconds;
        open.get<juce::TextButton> ("tapButton").triggerClick();
        editorprobe::pumpMessages();
    }

    juce::Label& bpmLabel() { return open.get<juce::Label> ("bpmLabel"); }

    juce::String readout()
    {
        open.tick();
        return bpmLabel().getText();
    }

    // Double-clicks the readout, deletes it, types the keys and presses Return.
    void type (const juce::String& keys)
    {
        auto& label = bpmLabel();
        editorprobe::doubleClick (label, 10, 8);
        auto* editor = label.getCurrentTextEditor();
        ASSERT_NE (editor, nullptr);

        editor->keyPressed (juce::KeyPress (juce::KeyPress::backspaceKey)); // clears the selected readout
        for (auto character : keys)
            editor->keyPressed (juce::KeyPress ((int) character, {}, character));

        editor->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
        editorprobe::pumpMessages(); // the text editor reports keys through the message loop
    }

    editorprobe::OpenEditor open;
    double now = 3.6e6;
};
} // namespace

TEST_F (TempoPanel, TheReadoutStartsEmptyAndShowsTheTruncatedTempoFromTheFirstTick)
{
    EXPECT_EQ (bpmLabel().getText(), "");
    EXPECT_EQ (readout(), "120 BPM");

    open.processor.setManualBpm (119.9f);
    EXPECT_EQ (readout(), "119 BPM");
}

// A restored state stores its tempo without the typing limits; a huge one must not be converted
// to an integer (undefined behaviour), and an ordinary one shows as it is.
TEST_F (TempoPanel, TheReadoutShowsRestoredTempiOutsideTheTypingLimits)
{
    const std::pair<float, const char*> cases[] = {
        { 400.0f, "400 BPM" }, { 0.5f, "0 BPM" }, { 1.0e30f, "--- BPM" }, { INFINITY, "--- BPM" }, { NAN, "--- BPM" },
    };
    for (const auto& [stored, shown] : cases)
    {
        open.processor.manualBpm = stored;
        EXPECT_EQ (readout(), shown) << stored;
    }
}

TEST_F (TempoPanel, TwoTapsSetTheTempoTheReadoutShows)
{
    const std::pair<double, const char*> cases[] = {
        { 500.0, "120 BPM" }, { 700.0, "85 BPM" }, { 200.0, "300 BPM" }, { 2000.0, "30 BPM" },
    };

    for (const auto& [interval, shown] : cases)
    {
        SCOPED_TRACE (interval);
        tapAfter (5000.0); // a fresh measurement
        tapAfter (interval);
        EXPECT_EQ (readout(), shown);
    }
    EXPECT_TRUE (open.processor.hostSyncEnabled.load());
}

TEST_F (TempoPanel, TapsTooCloseOrTooFarApartChangeNothing)
{
    tapAfter (5000.0);
    tapAfter (199.0);
    tapAfter (2001.0);
    EXPECT_EQ (open.processor.manualBpm.load(), 120.0f);
    EXPECT_EQ (readout(), "120 BPM");

    tapAfter (600.0); // measured from the last ignored tap
    EXPECT_EQ (readout(), "100 BPM");
}

TEST_F (TempoPanel, ATypedTempoIsCommittedWithReturnAndLimitedTo20To300)
{
    const std::pair<const char*, const char*> cases[] = {
        { "95", "95 BPM" }, { "5", "20 BPM" }, { "999", "300 BPM" }, { "0", "300 BPM" }, { "000", "300 BPM" },
        { "", "300 BPM" },  { "020", "20 BPM" },
    };

    for (const auto& [typed, shown] : cases)
    {
        SCOPED_TRACE (typed);
        type (typed);
        EXPECT_EQ (bpmLabel().getCurrentTextEditor(), nullptr);
        EXPECT_EQ (readout(), shown);
    }
}

// Headless, the field never holds the keyboard focus, which is what leaving it looks like.
TEST_F (TempoPanel, LeavingTheFieldCommitsTheEntryToo)
{
    auto& label = bpmLabel();
    editorprobe::doubleClick (label, 10, 8);
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    editor->keyPressed (juce::KeyPress ('8', {}, '8'));
    editor->keyPressed (juce::KeyPress ('8', {}, '8'));

    editorprobe::pumpMessages();
    EXPECT_EQ (label.getCurrentTextEditor(), nullptr);
    EXPECT_EQ (readout(), "88 BPM");
}

TEST_F (TempoPanel, OnlyThreeDigitsCanBeTyped)
{
    auto& label = bpmLabel();
    readout();
    editorprobe::doubleClick (label, 10, 8);
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getText(), "120 BPM");

    for (auto character : juce::String ("a1.b-2 3e4x5"))
        editor->keyPressed (juce::KeyPress ((int) character, {}, character));
    EXPECT_EQ (editor->getText(), "123");

    editor->insertTextAtCaret ("9 BPM"); // a paste goes through the same filter
    EXPECT_EQ (editor->getText(), "123");

    editor->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    editorprobe::pumpMessages();
    EXPECT_EQ (open.processor.manualBpm.load(), 123.0f);
}

TEST_F (TempoPanel, ASingleClickDoesNotOpenTheEntry)
{
    auto& label = bpmLabel();
    editorprobe::click (label, 10, 8);
    EXPECT_EQ (label.getCurrentTextEditor(), nullptr);
}

TEST_F (TempoPanel, TheTimerLeavesTheReadoutAloneWhileItIsBeingTypedInto)
{
    readout();
    auto& label = bpmLabel();
    editorprobe::doubleClick (label, 10, 8);
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    editor->keyPressed (juce::KeyPress ('9', {}, '9'));

    open.processor.setManualBpm (140.0f);
    open.processor.inputLevelDb = -6.0f;
    open.tick();

    EXPECT_EQ (label.getCurrentTextEditor(), editor);
    EXPECT_EQ (editor->getText(), "9");
    EXPECT_EQ (open.get<VelbriLadderMeter> ("inputMeter").getLevelDb(), -6.0f); // the rest keeps refreshing

    editor->keyPressed (juce::KeyPress ('7', {}, '7'));
    editor->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    editorprobe::pumpMessages();
    EXPECT_EQ (readout(), "97 BPM");
}

TEST_F (TempoPanel, SyncShowsTheFlagAtOpeningFollowsItAndStoresEachClick)
{
    auto& sync = open.get<juce::ToggleButton> ("syncButton");
    EXPECT_TRUE (sync.getToggleState());

    sync.triggerClick();
    editorprobe::pumpMessages();
    EXPECT_FALSE (open.processor.hostSyncEnabled.load());

    sync.triggerClick();
    editorprobe::pumpMessages();
    EXPECT_TRUE (open.processor.hostSyncEnabled.load());

    // A restored state changes the flag behind the open window: the toggle follows on the next
    // tick, and the next window shows the flag too.
    open.processor.hostSyncEnabled = false;
    open.tick();
    EXPECT_FALSE (sync.getToggleState());

    open.close();
    open.open();
    EXPECT_FALSE (open.get<juce::ToggleButton> ("syncButton").getToggleState());
    EXPECT_EQ (open.processor.manualBpm.load(), 120.0f);
}

TEST_F (TempoPanel, TheTapReferenceOutlivesTheWindow)
{
    tapAfter (5000.0);
    open.close();
    now += 500.0;
    open.open();
    tapAfter (0.0);
    EXPECT_EQ (readout(), "120 BPM");
}

TEST_F (TempoPanel, TheTimerFeedsTheMetersAndTheArcWithTheLatestLevels)
{
    open.processor.inputLevelDb = -12.5f;
    open.processor.outputLevelDb = 1.5f;
    open.tick();

    EXPECT_EQ (open.get<VelbriLadderMeter> ("inputMeter").getLevelDb(), -12.5f);
    EXPECT_EQ (open.get<VelbriLadderMeter> ("outputMeter").getLevelDb(), 1.5f);
    EXPECT_EQ (open.get<VelbriVuArc> ("vuArc").getLevelDb(), 1.5f);
}

TEST_F (TempoPanel, BothTooltipsAreShownByTheWindowsOwnTooltipWindow)
{
    EXPECT_EQ (open.get<juce::ToggleButton> ("syncButton").getTooltip(),
               "ON: el tempo del host manda cuando esta disponible (default). OFF: fuerza el BPM manual/TAP aunque "
               "haya host.");
    EXPECT_EQ (bpmLabel().getTooltip(), "Tempo manual (fallback sin host): doble click para escribirlo, o TAP");

    juce::TooltipWindow* tooltips = nullptr;
    for (auto* child : open.editor->getChildren())
        if (auto* window = dynamic_cast<juce::TooltipWindow*> (child))
            tooltips = window;
    ASSERT_NE (tooltips, nullptr);
    EXPECT_FALSE (tooltips->isVisible());

    // Shown inside the window, in front of every control.
    tooltips->displayTip (open.editor->getScreenPosition() + juce::Point<int> (960, 140), bpmLabel().getTooltip());
    EXPECT_TRUE (tooltips->isVisible());
    EXPECT_TRUE (open.editor->getLocalBounds().contains (tooltips->getBounds()));
    EXPECT_EQ (open.editor->getChildren().getLast(), tooltips);
    tooltips->hideTip();
}
