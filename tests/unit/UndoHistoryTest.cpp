// Undo and redo of the window's own edits: one step per gesture (a drag, a reset, a selector click,
// a switch click, a preset load), values restored bit for bit, each parameter reaching the host as
// one gesture, the history kept while the window closes but never saved, automation never in it.

#include "editor/HeaderActions.h"
#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/GestureRecorder.h"
#include "tests/support/PointerEvents.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace
{
using editorprobe::OpenEditor;

const juce::KeyPress undoKey ('z', juce::ModifierKeys::commandModifier, 0);
const juce::KeyPress redoKey ('z', juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier, 0);
const juce::KeyPress redoKeyY ('y', juce::ModifierKeys::commandModifier, 0);

std::vector<float> allValues (VelbrinLumbraProcessor& processor)
{
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back (dynamic_cast<juce::RangedAudioParameter*> (parameter)->convertFrom0to1 (parameter->getValue()));
    return values;
}

int changedCount (const std::vector<float>& a, const std::vector<float>& b)
{
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i] ? 1 : 0;
    return count;
}

// Each changed parameter arrives as begin, perform, end of its own, and nothing else arrives.
void expectOneGesturePerParameter (const GestureRecorder& host, int parameters)
{
    ASSERT_EQ (host.events.size(), 3 * parameters) << host.events.joinIntoString (", ");
    for (int i = 0; i < host.events.size(); i += 3)
    {
        const auto id = host.events[i].fromFirstOccurrenceOf (" ", false, false);
        EXPECT_EQ (host.events[i], "begin " + id);
        EXPECT_EQ (host.events[i + 1], "perform " + id);
        EXPECT_EQ (host.events[i + 2], "end " + id);
    }
}

struct Edit
{
    const char* name;
    std::function<void (OpenEditor&)> make;
};

const Edit edits[] = {
    { "a fader drag",
      [] (OpenEditor& open)
      {
          auto& fader = open.get<juce::Slider> ("lowSlider");
          const auto x = (float) fader.getWidth() / 2.0f;
          pointer::drag (fader, { x, (float) fader.getHeight() * 0.5f }, { x, (float) fader.getHeight() * 0.3f });
      } },
    { "a knob reset",
      [] (OpenEditor& open)
      {
          auto& knob = open.get<juce::Slider> ("echoFeedbackKnob");
          pointer::click (knob, knob.getLocalBounds().getCentre().toFloat(), juce::ModifierKeys::commandModifier);
      } },
    { "a selector click",
      [] (OpenEditor& open)
      {
          auto& selector = open.get<VelbriLedStackSelector> ("spaceATypeSelector");
          selector.mouseUp (releaseAt (selector, 20, selector.getHeight() - 2));
      } },
    { "a switch click",
      [] (OpenEditor& open)
      {
          open.get<juce::Button> ("echoEnableButton").triggerClick();
          editorprobe::pumpMessages();
      } },
    { "a preset load", [] (OpenEditor& open) { open.get<PresetBar> ("presetBar").loadByName ("Lead Vocal Plate"); } },
};

struct UndoHistory : public ::testing::Test
{
    OpenEditor open;

    // Away from the defaults, set as the host would (so not itself a step).
    void SetUp() override
    {
        for (const auto& [id, value] : { std::pair { ParamIDs::lowGain, -2.3f }, std::pair { ParamIDs::echoFeedback, 71.3f },
                                         std::pair { ParamIDs::echoEnabled, 1.0f } })
            open.parameter (id).setValueNotifyingHost (open.parameter (id).convertTo0to1 (value));
        editorprobe::pumpMessages();
    }

    bool press (const juce::KeyPress& key) { return open.editor->keyPressed (key); }
};
} // namespace

TEST_F (UndoHistory, EachEditIsOneStepUndoneAndRedoneBitExactlyAsHostGestures)
{
    for (const auto& edit : edits)
    {
        SCOPED_TRACE (edit.name);
        const auto before = allValues (open.processor);
        const auto stepsBefore = open.processor.editHistory.size();

        edit.make (open);
        const auto after = allValues (open.processor);
        const auto changed = changedCount (before, after);
        ASSERT_GT (changed, 0);
        EXPECT_EQ (open.processor.editHistory.size(), stepsBefore + 1);

        {
            GestureRecorder host (open.processor);
            EXPECT_TRUE (press (undoKey));
            EXPECT_EQ (allValues (open.processor), before);
            expectOneGesturePerParameter (host, changed);
        }
        {
            GestureRecorder host (open.processor);
            EXPECT_TRUE (press (redoKey));
            EXPECT_EQ (allValues (open.processor), after);
            expectOneGesturePerParameter (host, changed);
        }

        // The header buttons do the same as the keys; Ctrl/Cmd+Y redoes too.
        auto& actions = open.get<HeaderActions> ("headerActions");
        actions.undoButton.onClick();
        EXPECT_EQ (allValues (open.processor), before);
        EXPECT_TRUE (press (redoKeyY));
        EXPECT_EQ (allValues (open.processor), after);
    }
}

TEST_F (UndoHistory, UndoingAPresetLoadPutsBackThePresetNameToo)
{
    auto& bar = open.get<PresetBar> ("presetBar");
    bar.loadByName ("Vocal Slap");
    bar.loadByName ("Lead Vocal Plate");

    press (undoKey);
    EXPECT_EQ (open.processor.presetSession.getName(), "Vocal Slap");
    press (undoKey);
    EXPECT_EQ (open.processor.presetSession.getName(), "");
    press (redoKey);
    EXPECT_EQ (open.processor.presetSession.getName(), "Vocal Slap");
}

TEST_F (UndoHistory, AHundredAndFiftyWheelNotchesAreAllUndone)
{
    auto& fader = open.get<juce::Slider> ("outputSlider");
    const auto start = open.raw (ParamIDs::outputTrim);

    for (int notch = 0; notch < 150; ++notch)
        pointer::wheel (fader, notch % 3 == 2 ? 1 : -1);

    ASSERT_NE (open.raw (ParamIDs::outputTrim), start);

    for (int step = 0; step < 150; ++step)
        ASSERT_TRUE (press (undoKey)) << step;

    EXPECT_EQ (open.raw (ParamIDs::outputTrim), start);
    EXPECT_FALSE (open.processor.editHistory.canUndo());
}

TEST_F (UndoHistory, HostAutomationIsNeverRecordedAndARestoredStateStartsAfresh)
{
    pointer::wheel (open.get<juce::Slider> ("inputSlider"), 1);
    ASSERT_EQ (open.processor.editHistory.size(), 1u);

    auto& parameter = open.parameter (ParamIDs::blend);
    std::thread host ([&] { parameter.setValueNotifyingHost (0.25f); });
    host.join();
    parameter.setValueNotifyingHost (0.5f); // the message thread, still without a gesture
    editorprobe::pumpMessages();
    EXPECT_EQ (open.processor.editHistory.size(), 1u);

    // The one step undoes the wheel notch only; the automated blend stays.
    EXPECT_TRUE (press (undoKey));
    EXPECT_EQ (open.raw (ParamIDs::inputTrim), 0.0f);
    EXPECT_EQ (open.raw (ParamIDs::blend), 50.0f);
    EXPECT_TRUE (press (redoKey));

    // A restored state is a new start: the steps before it no longer describe the sound.
    juce::MemoryBlock state;
    open.processor.getStateInformation (state);
    open.processor.setStateInformation (state.getData(), (int) state.getSize());
    editorprobe::pumpMessages();
    EXPECT_FALSE (open.processor.editHistory.canUndo());
    EXPECT_FALSE (open.processor.editHistory.canRedo());
    EXPECT_EQ (open.raw (ParamIDs::inputTrim), 0.5f);
}

TEST_F (UndoHistory, TheHistoryOutlivesTheWindowButNotTheProject)
{
    open.get<PresetBar> ("presetBar").loadByName ("Vocal Slap");
    const auto loaded = allValues (open.processor);
    open.close();
    open.open();
    press (undoKey);
    EXPECT_NE (allValues (open.processor), loaded);
    press (redoKey);
    EXPECT_EQ (allValues (open.processor), loaded);

    juce::MemoryBlock state;
    open.processor.getStateInformation (state);
    VelbrinLumbraProcessor restored;
    restored.setStateInformation (state.getData(), (int) state.getSize());
    EXPECT_EQ (allValues (restored), loaded);
    EXPECT_FALSE (restored.editHistory.canUndo());
    EXPECT_FALSE (restored.editHistory.canRedo());
}

TEST_F (UndoHistory, ANewEditAfterAnUndoDropsTheRedo)
{
    auto& fader = open.get<juce::Slider> ("inputSlider");
    pointer::wheel (fader, 1);
    press (undoKey);
    EXPECT_TRUE (open.processor.editHistory.canRedo());
    pointer::wheel (fader, -1);
    EXPECT_FALSE (open.processor.editHistory.canRedo());
    EXPECT_EQ (open.raw (ParamIDs::inputTrim), -0.5f);
}

// A focused control leaves Ctrl/Cmd+Z to the window; the window takes no other key.
TEST_F (UndoHistory, TheUndoKeysPassFromAFocusedControlToTheWindowAndNothingElseIsTaken)
{
    auto& fader = open.get<VelbriSlider> ("inputSlider");
    EXPECT_FALSE (fader.keyPressed (undoKey));
    EXPECT_FALSE (open.get<VelbriLedStackSelector> ("lowModeSelector").keyPressed (undoKey));

    for (const auto& key : { juce::KeyPress ('z', {}, 'z'), juce::KeyPress ('a', juce::ModifierKeys::commandModifier, 0),
                             juce::KeyPress (juce::KeyPress::spaceKey), juce::KeyPress (juce::KeyPress::upKey),
                             juce::KeyPress ('z', juce::ModifierKeys::altModifier, 0) })
        EXPECT_FALSE (press (key)) << key.getTextDescription();

    EXPECT_FALSE (open.editor->getWantsKeyboardFocus());
}
