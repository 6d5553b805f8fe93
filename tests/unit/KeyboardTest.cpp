// The window by keyboard: Tab and Shift-Tab walk every control once in the order the signal flows,
// the keys move faders, knobs, selectors, switches and the preset bar (each edit one gesture), and
// the focus ring rings only the focused control.

#include "editor/HeaderActions.h"
#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/GestureRecorder.h"

#include <gtest/gtest.h>

namespace
{
using editorprobe::OpenEditor;

const char* const signalFlowOrder[] = {
    "inputSlider",
    "lowEnableButton",      "lowModeSelector",      "lowSlider",
    "highEnableButton",     "highModeSelector",     "highSlider",
    "dynamicsEnableButton", "oversampleBox",        "dynamicsModeSelector", "dynamicsSlider",
    "spaceAEnableButton",   "spaceAPreDelayKnob",   "spaceAPreDelaySyncButton", "spaceATypeSelector", "spaceASlider",
    "spaceBEnableButton",   "spaceBPreDelayKnob",   "spaceBPreDelaySyncButton", "spaceBTypeSelector", "spaceBSlider",
    "echoEnableButton",     "echoFeedbackKnob",     "echoDivisionSelector", "echoSlider",
    "tapButton",            "bpmLabel",             "syncButton",
    "blendSlider",          "outputSlider",         "bypassButton",
    "presetBar",
};

std::vector<juce::Component*> expectedTabOrder (OpenEditor& open)
{
    std::vector<juce::Component*> order;
    for (const auto* name : signalFlowOrder)
        order.push_back (&editorprobe::child (*open.editor, name));

    auto& actions = open.get<HeaderActions> ("headerActions");
    for (auto* button : std::initializer_list<juce::Component*> { &actions.slotAButton, &actions.slotBButton,
                                                                  &actions.undoButton, &actions.redoButton })
        order.push_back (button);

    // Last, the footer's name and version, which opens the About box.
    order.push_back (&editorprobe::child (*open.editor, "aboutButton"));
    return order;
}

juce::StringArray oneGesture (const juce::String& id)
{
    return juce::StringArray { "begin " + id, "perform " + id, "end " + id };
}

// Key handlers are protected in the framework's buttons; the component interface reaches them.
bool sendKey (juce::Component& component, const juce::KeyPress& pressed)
{
    return component.keyPressed (pressed);
}

juce::KeyPress key (int code, int mods = 0) { return juce::KeyPress (code, juce::ModifierKeys (mods), 0); }

struct Keyboard : public ::testing::Test
{
    OpenEditor open;

    void setFromHost (const juce::String& id, float value)
    {
        open.parameter (id).setValueNotifyingHost (open.parameter (id).convertTo0to1 (value));
        editorprobe::pumpMessages();
    }
};
} // namespace

TEST_F (Keyboard, TabAndShiftTabWalkEveryControlOnceInSignalFlowOrder)
{
    const auto expected = expectedTabOrder (open);
    auto traverser = open.editor->createKeyboardFocusTraverser();
    EXPECT_EQ (traverser->getAllComponents (open.editor.get()), expected);

    // Tab from the first control reaches each once and stops at the last; Shift-Tab walks back.
    std::vector<juce::Component*> forwards { traverser->getDefaultComponent (open.editor.get()) };
    while (auto* next = traverser->getNextComponent (forwards.back()))
        forwards.push_back (next);
    EXPECT_EQ (forwards, expected);

    std::vector<juce::Component*> backwards { expected.back() };
    while (auto* previous = traverser->getPreviousComponent (backwards.back()))
        backwards.push_back (previous);
    EXPECT_EQ (std::vector<juce::Component*> (backwards.rbegin(), backwards.rend()), expected);
}

TEST_F (Keyboard, KeysMoveAFaderAndAKnobByAStepAsOneGesture)
{
    struct Case
    {
        const char* control;
        const juce::String& id;
        float start;
        juce::KeyPress pressed;
        float expected;
    };

    const int shift = juce::ModifierKeys::shiftModifier;
    const Case cases[] = {
        { "inputSlider", ParamIDs::inputTrim, -6.0f, key (juce::KeyPress::upKey), -5.5f },
        { "inputSlider", ParamIDs::inputTrim, -6.0f, key (juce::KeyPress::rightKey), -5.5f },
        { "inputSlider", ParamIDs::inputTrim, -6.0f, key (juce::KeyPress::downKey), -6.5f },
        { "inputSlider", ParamIDs::inputTrim, -6.0f, key (juce::KeyPress::upKey, shift), -5.9f },
        { "inputSlider", ParamIDs::inputTrim, -6.0f, key (juce::KeyPress::homeKey), -24.0f },
        { "inputSlider", ParamIDs::inputTrim, -6.0f, key (juce::KeyPress::endKey), 24.0f },
        { "inputSlider", ParamIDs::inputTrim, -6.0f, key (juce::KeyPress::deleteKey), 0.0f },
        { "inputSlider", ParamIDs::inputTrim, -6.0f, key (juce::KeyPress::backspaceKey), 0.0f },
        { "echoFeedbackKnob", ParamIDs::echoFeedback, 60.0f, key (juce::KeyPress::upKey), 61.0f },
        { "echoFeedbackKnob", ParamIDs::echoFeedback, 60.0f, key (juce::KeyPress::leftKey, shift), 59.9f },
        { "echoFeedbackKnob", ParamIDs::echoFeedback, 60.0f, key (juce::KeyPress::endKey), 100.0f },
        { "echoFeedbackKnob", ParamIDs::echoFeedback, 60.0f, key (juce::KeyPress::deleteKey), 35.0f },
        { "spaceBPreDelayKnob", ParamIDs::spaceBPreDelay, 20.0f, key (juce::KeyPress::downKey), 19.0f },
        { "spaceBPreDelayKnob", ParamIDs::spaceBPreDelay, 20.0f, key (juce::KeyPress::homeKey), 0.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.control) + " " + c.pressed.getTextDescription());
        setFromHost (c.id, c.start);
        auto& slider = open.get<VelbriSlider> (c.control);
        GestureRecorder host (open.processor);

        EXPECT_TRUE (slider.keyPressed (c.pressed));
        EXPECT_NEAR (open.raw (c.id), c.expected, 1.0e-4f);
        EXPECT_EQ (host.events, oneGesture (c.id));
    }

    // Enter opens a fader's value box for typing.
    auto& fader = open.get<VelbriSlider> ("inputSlider");
    EXPECT_TRUE (fader.keyPressed (key (juce::KeyPress::returnKey)));
    bool editing = false;
    for (auto* child : fader.getChildren())
        if (auto* box = dynamic_cast<juce::Label*> (child))
            editing = box->isBeingEdited();
    EXPECT_TRUE (editing);
}

TEST_F (Keyboard, ArrowsMoveWithinASelectorAndTheOversampleBox)
{
    auto& selector = open.get<VelbriLedStackSelector> ("dynamicsModeSelector");
    {
        GestureRecorder host (open.processor);
        EXPECT_TRUE (selector.keyPressed (key (juce::KeyPress::downKey)));
        EXPECT_EQ (open.raw (ParamIDs::compMode), 1.0f);
        EXPECT_TRUE (selector.keyPressed (key (juce::KeyPress::endKey)));
        EXPECT_EQ (open.raw (ParamIDs::compMode), 2.0f);
        EXPECT_TRUE (selector.keyPressed (key (juce::KeyPress::downKey))); // at the end: nothing more
        EXPECT_EQ (open.raw (ParamIDs::compMode), 2.0f);
        EXPECT_TRUE (selector.keyPressed (key (juce::KeyPress::upKey)));
        EXPECT_EQ (open.raw (ParamIDs::compMode), 1.0f);
        EXPECT_EQ (host.count ("begin"), 3);
        EXPECT_EQ (host.count ("end"), 3);
    }

    auto& box = open.get<juce::ComboBox> ("oversampleBox");
    GestureRecorder host (open.processor);
    EXPECT_TRUE (box.keyPressed (key (juce::KeyPress::downKey)));
    editorprobe::pumpMessages();
    EXPECT_EQ (open.raw (ParamIDs::compOversample), 1.0f);
    EXPECT_EQ (host.events, oneGesture (ParamIDs::compOversample));
}

TEST_F (Keyboard, SpaceOrEnterTogglesASwitchAndPressesAButton)
{
    const std::pair<const char*, const juce::String*> switches[] = {
        { "lowEnableButton", &ParamIDs::lowEnabled },
        { "spaceAPreDelaySyncButton", &ParamIDs::spaceAPreDelaySync },
        { "bypassButton", &ParamIDs::bypass },
    };

    for (const auto& [name, id] : switches)
        for (const auto code : { (int) juce::KeyPress::spaceKey, (int) juce::KeyPress::returnKey })
        {
            SCOPED_TRACE (juce::String (name) + " " + key (code).getTextDescription());
            const auto before = open.raw (*id);
            GestureRecorder host (open.processor);
            EXPECT_TRUE (sendKey (open.get<juce::Button> (name), key (code)));
            editorprobe::pumpMessages();
            EXPECT_EQ (open.raw (*id), 1.0f - before);
            EXPECT_EQ (host.count ("begin"), 1);
            EXPECT_EQ (host.count ("end"), 1);
        }

    auto& sync = open.get<juce::Button> ("syncButton");
    EXPECT_TRUE (sendKey (sync, key (juce::KeyPress::spaceKey)));
    editorprobe::pumpMessages();
    EXPECT_FALSE (open.processor.hostSyncEnabled.load());

    auto& actions = open.get<HeaderActions> ("headerActions");
    EXPECT_TRUE (actions.slotBButton.keyPressed (key (juce::KeyPress::spaceKey)));
    editorprobe::pumpMessages();
    EXPECT_EQ (open.processor.abCompare.activeSlot(), 1);
}

TEST_F (Keyboard, ThePresetBarStepsWithArrowsAndTheTempoFieldOpensWithEnter)
{
    auto& bar = open.get<PresetBar> ("presetBar");
    const auto names = bar.presetNames();
    EXPECT_TRUE (bar.keyPressed (key (juce::KeyPress::rightKey)));
    EXPECT_EQ (open.processor.presetSession.getName(), names[0]);
    EXPECT_TRUE (bar.keyPressed (key (juce::KeyPress::rightKey)));
    EXPECT_EQ (open.processor.presetSession.getName(), names[1]);
    EXPECT_TRUE (bar.keyPressed (key (juce::KeyPress::leftKey)));
    EXPECT_EQ (open.processor.presetSession.getName(), names[0]);
    EXPECT_FALSE (bar.keyPressed (key ('z', juce::ModifierKeys::commandModifier)));

    auto& bpm = open.get<juce::Label> ("bpmLabel");
    EXPECT_TRUE (bpm.keyPressed (key (juce::KeyPress::returnKey)));
    EXPECT_TRUE (bpm.isBeingEdited());
}

TEST_F (Keyboard, TheFocusRingRingsOnlyTheFocusedControl)
{
    auto& ring = editorprobe::focusRingOf<VelbriFocusRing> (*open.editor);
    EXPECT_FALSE (ring.isVisible());

    auto& knob = open.get<juce::Slider> ("echoFeedbackKnob");
    ring.follow (&knob);
    EXPECT_TRUE (ring.isVisible());
    EXPECT_EQ (ring.getBounds(), knob.getBounds().expanded (VelbriFocusRing::margin));
    bool clicks = true, childClicks = true;
    ring.getInterceptsMouseClicks (clicks, childClicks);
    EXPECT_FALSE (clicks);

    auto& undo = open.get<HeaderActions> ("headerActions").undoButton;
    ring.follow (&undo);
    EXPECT_EQ (ring.getBounds(),
               open.editor->getLocalArea (&undo, undo.getLocalBounds()).expanded (VelbriFocusRing::margin));

    ring.follow (nullptr);
    EXPECT_FALSE (ring.isVisible());
    ring.follow (open.editor.get()); // the window itself is not a control
    EXPECT_FALSE (ring.isVisible());
}
