// The mouse conventions of the window's faders and knobs, each reaching the host as one gesture:
// Ctrl/Cmd-click and double-click reset, Shift-drag and Shift-wheel move a tenth as far, the wheel
// moves by the control's step, and the value box takes typed values with or without units.

#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/GestureRecorder.h"
#include "tests/support/PointerEvents.h"

#include <gtest/gtest.h>

namespace
{
using editorprobe::OpenEditor;

struct Control
{
    const char* name;
    const juce::String& parameterId;
    float defaultValue, start; // natural units; start is where each case begins
    float step;                // one wheel notch
    float rangeWidth;
    bool knob;
};

const Control controls[] = {
    { "inputSlider", ParamIDs::inputTrim, 0.0f, -6.0f, 0.5f, 48.0f, false },
    { "dynamicsSlider", ParamIDs::compAmount, 0.0f, 40.0f, 1.0f, 100.0f, false },
    { "spaceAPreDelayKnob", ParamIDs::spaceAPreDelay, 0.0f, 200.0f, 1.0f, 500.0f, true },
    { "echoFeedbackKnob", ParamIDs::echoFeedback, 35.0f, 60.0f, 1.0f, 100.0f, true },
};

juce::StringArray oneGesture (const juce::String& id) { return { "begin " + id, "perform " + id, "end " + id }; }

struct MouseConventions : public ::testing::Test
{
    OpenEditor open;

    VelbriSlider& startAt (const Control& control)
    {
        auto& parameter = open.parameter (control.parameterId);
        parameter.setValueNotifyingHost (parameter.convertTo0to1 (control.start));
        editorprobe::pumpMessages();
        return open.get<VelbriSlider> (control.name);
    }
};
} // namespace

TEST_F (MouseConventions, CtrlClickAndDoubleClickReturnToTheDefaultAsOneGesture)
{
    const juce::ModifierKeys command (juce::ModifierKeys::commandModifier);

    for (const auto& control : controls)
        for (const auto byDoubleClick : { false, true })
        {
            SCOPED_TRACE (juce::String (control.name) + (byDoubleClick ? " double-click" : " Ctrl/Cmd-click"));
            auto& slider = startAt (control);
            GestureRecorder host (open.processor);
            const auto centre = slider.getLocalBounds().getCentre().toFloat();

            if (byDoubleClick)
                static_cast<juce::MouseListener&> (slider).mouseDoubleClick (
                    pointer::at (slider, centre, pointer::left, centre, 2));
            else
                pointer::click (slider, centre, command);

            EXPECT_EQ (open.raw (control.parameterId), control.defaultValue);
            EXPECT_EQ (host.events, oneGesture (control.parameterId));
        }
}

// A fader's travel is its height and a knob turns through its range over 250 pixels; with Shift a
// 20-pixel drag moves a tenth of what those give, from where the value was (no jump to the pointer).
TEST_F (MouseConventions, ShiftDragMovesATenthAsFarAsOneGesture)
{
    for (const auto& control : controls)
    {
        SCOPED_TRACE (control.name);
        auto& slider = startAt (control);
        GestureRecorder host (open.processor);
        const auto from = slider.getLocalBounds().getCentre().toFloat().translated (0.0f, 30.0f);
        const auto pixelsForRange = control.knob ? 250.0f : (float) slider.getHeight();

        pointer::drag (slider, from, from.translated (0.0f, -20.0f), juce::ModifierKeys::shiftModifier);

        const auto expected = control.start + 0.1f * control.rangeWidth * 20.0f / pixelsForRange;
        EXPECT_NEAR (open.raw (control.parameterId), expected, 0.051f);
        EXPECT_EQ (host.count ("begin"), 1);
        EXPECT_EQ (host.count ("end"), 1);
        EXPECT_EQ (host.events.getReference (0), "begin " + control.parameterId);
        EXPECT_EQ (host.events.strings.getLast(), "end " + control.parameterId);
    }
}

TEST_F (MouseConventions, AKnobDraggedWithoutShiftMovesTenTimesAsFar)
{
    auto& knob = startAt (controls[2]);
    const auto from = knob.getLocalBounds().getCentre().toFloat();
    pointer::drag (knob, from, from.translated (0.0f, -25.0f));
    EXPECT_NEAR (open.raw (ParamIDs::spaceAPreDelay), 200.0f + 500.0f * 25.0f / 250.0f, 0.051f);
}

TEST_F (MouseConventions, EachWheelNotchMovesOneStepOrATenthWithShift)
{
    const juce::ModifierKeys shift (juce::ModifierKeys::shiftModifier);

    for (const auto& control : controls)
        for (const auto& [notch, mods, fraction] : { std::tuple { 1, juce::ModifierKeys(), 1.0f },
                                                     std::tuple { -1, juce::ModifierKeys(), 1.0f },
                                                     std::tuple { 1, shift, 0.1f },
                                                     std::tuple { -1, shift, 0.1f } })
        {
            SCOPED_TRACE (juce::String (control.name) + " notch " + juce::String (notch)
                          + (mods.isShiftDown() ? " with Shift" : ""));
            auto& slider = startAt (control);
            GestureRecorder host (open.processor);

            pointer::wheel (slider, notch, mods);

            // 0.5 dB, 1 % or 1 ms; a tenth, but never finer than the parameters' 0.1 resolution.
            const auto moved = juce::jmax (0.1f, control.step * fraction);
            EXPECT_NEAR (open.raw (control.parameterId), control.start + (float) notch * moved, 1.0e-4f);
            EXPECT_EQ (host.events, oneGesture (control.parameterId));
        }
}

TEST_F (MouseConventions, TheValueBoxTakesNumbersWithOrWithoutUnitsAndRefusesNonsense)
{
    struct Typed
    {
        const char* text;
        float expected; // natural units; the start value when refused
        bool accepted;
    };

    const Typed cases[] = {
        { "-3", -3.0f, true },    { "-3 dB", -3.0f, true }, { "4.5dB", 4.5f, true }, { " +2.5 dB ", 2.5f, true },
        { "99", 24.0f, true },    { "abc", -6.0f, false },  { "", -6.0f, false },    { "dB", -6.0f, false },
        { "nan", -6.0f, false },  { "-inf", -6.0f, false }, { "--3", -6.0f, false },
    };

    for (const auto& typed : cases)
    {
        SCOPED_TRACE (juce::String ("typed \"") + typed.text + "\"");
        auto& fader = startAt (controls[0]);
        GestureRecorder host (open.processor);
        juce::Label* box = nullptr;
        for (auto* child : fader.getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child))
                box = label;
        ASSERT_NE (box, nullptr);

        box->setText (typed.text, juce::sendNotificationSync);

        EXPECT_EQ (open.raw (ParamIDs::inputTrim), typed.expected);
        EXPECT_EQ (host.events, typed.accepted ? oneGesture (ParamIDs::inputTrim) : juce::StringArray());
        EXPECT_EQ (box->getText(), open.parameter (ParamIDs::inputTrim).getCurrentValueAsText());
    }
}

TEST_F (MouseConventions, AKnobReadsTypedMillisecondsAndShowsItsValueWhileTurned)
{
    auto& knob = startAt (controls[2]);
    EXPECT_EQ (knob.getValueFromText ("250ms"), 250.0);
    EXPECT_EQ (knob.getValueFromText ("250 ms"), 250.0);
    EXPECT_NEAR (knob.getValueFromText ("a while"), 200.0, 1.0e-3); // refused: the value it holds

    const auto centre = knob.getLocalBounds().getCentre().toFloat();
    static_cast<juce::MouseListener&> (knob).mouseDown (pointer::at (knob, centre, pointer::left, centre));
    EXPECT_NE (knob.getCurrentPopupDisplay(), nullptr);
    static_cast<juce::MouseListener&> (knob).mouseUp (pointer::at (knob, centre, {}, centre));
}
