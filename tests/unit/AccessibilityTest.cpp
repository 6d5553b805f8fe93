// What a screen reader is told about every control of the window: a handler with the right role,
// the parameter's name as its title, its value as the parameter's own text, and actions that edit
// as the mouse does (one gesture each). Handlers are made directly: JUCE hands them out through
// getAccessibilityHandler only to components in a window on the desktop.

#include "editor/HeaderActions.h"
#include "plugin/ParamIDs.h"
#include "tests/support/AccessibilityProbe.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/GestureRecorder.h"

#include <gtest/gtest.h>

namespace
{
using editorprobe::OpenEditor;
using Role = juce::AccessibilityRole;

using accessprobe::handlerOf;

struct Expected
{
    const char* control;
    const juce::String* parameterId; // null: not a parameter
    Role role;
    const char* title;               // for controls without a parameter
};

const Expected controls[] = {
    { "inputSlider", &ParamIDs::inputTrim, Role::slider, nullptr },
    { "lowSlider", &ParamIDs::lowGain, Role::slider, nullptr },
    { "highSlider", &ParamIDs::highGain, Role::slider, nullptr },
    { "dynamicsSlider", &ParamIDs::compAmount, Role::slider, nullptr },
    { "spaceASlider", &ParamIDs::spaceAMix, Role::slider, nullptr },
    { "spaceBSlider", &ParamIDs::spaceBMix, Role::slider, nullptr },
    { "echoSlider", &ParamIDs::echoMix, Role::slider, nullptr },
    { "blendSlider", &ParamIDs::blend, Role::slider, nullptr },
    { "outputSlider", &ParamIDs::outputTrim, Role::slider, nullptr },
    { "spaceAPreDelayKnob", &ParamIDs::spaceAPreDelay, Role::slider, nullptr },
    { "spaceBPreDelayKnob", &ParamIDs::spaceBPreDelay, Role::slider, nullptr },
    { "echoFeedbackKnob", &ParamIDs::echoFeedback, Role::slider, nullptr },
    { "bypassButton", &ParamIDs::bypass, Role::toggleButton, nullptr },
    { "lowEnableButton", &ParamIDs::lowEnabled, Role::toggleButton, nullptr },
    { "highEnableButton", &ParamIDs::highEnabled, Role::toggleButton, nullptr },
    { "dynamicsEnableButton", &ParamIDs::compEnabled, Role::toggleButton, nullptr },
    { "spaceAEnableButton", &ParamIDs::spaceAEnabled, Role::toggleButton, nullptr },
    { "spaceBEnableButton", &ParamIDs::spaceBEnabled, Role::toggleButton, nullptr },
    { "echoEnableButton", &ParamIDs::echoEnabled, Role::toggleButton, nullptr },
    { "spaceAPreDelaySyncButton", &ParamIDs::spaceAPreDelaySync, Role::toggleButton, nullptr },
    { "spaceBPreDelaySyncButton", &ParamIDs::spaceBPreDelaySync, Role::toggleButton, nullptr },
    { "lowModeSelector", &ParamIDs::lowMode, Role::group, nullptr },
    { "highModeSelector", &ParamIDs::highMode, Role::group, nullptr },
    { "dynamicsModeSelector", &ParamIDs::compMode, Role::group, nullptr },
    { "spaceATypeSelector", &ParamIDs::spaceAType, Role::group, nullptr },
    { "spaceBTypeSelector", &ParamIDs::spaceBType, Role::group, nullptr },
    { "echoDivisionSelector", &ParamIDs::echoDivision, Role::group, nullptr },
    { "oversampleBox", &ParamIDs::compOversample, Role::comboBox, nullptr },
    { "tapButton", nullptr, Role::button, "Tap tempo" },
    { "bpmLabel", nullptr, Role::editableText, "Manual tempo" },
    { "syncButton", nullptr, Role::toggleButton, "Host tempo sync" },
    { "presetBar", nullptr, Role::comboBox, "Preset" },
    { "inputMeter", nullptr, Role::progressBar, "Input level" },
    { "outputMeter", nullptr, Role::progressBar, "Output level" },
    { "vuArc", nullptr, Role::progressBar, "Output VU" },
    { "gainReductionMeter", nullptr, Role::progressBar, "Dynamics gain reduction" },
};

struct ScreenReader : public ::testing::Test
{
    OpenEditor open;

    // Every parameter away from its default, as a host would set them, so values are worth reading.
    void SetUp() override
    {
        juce::Random random (24);
        for (auto* parameter : open.processor.getParameters())
            parameter->setValueNotifyingHost (random.nextFloat());
        editorprobe::pumpMessages();
        open.tick(); // the selectors relight on the window's timer
    }
};
} // namespace

TEST_F (ScreenReader, EveryControlHasARoleATitleAndTheParametersTextAsItsValue)
{
    for (const auto& expected : controls)
    {
        SCOPED_TRACE (expected.control);
        auto& control = editorprobe::child (*open.editor, expected.control);
        const auto handler = handlerOf (control);
        ASSERT_NE (handler, nullptr);
        EXPECT_EQ (handler->getRole(), expected.role);

        if (expected.parameterId == nullptr)
        {
            EXPECT_EQ (handler->getTitle(), expected.title);
            continue;
        }

        auto& parameter = open.parameter (*expected.parameterId);
        EXPECT_EQ (handler->getTitle(), parameter.getName (64));
        EXPECT_TRUE (handler->getTitle().isNotEmpty());
        const auto text = parameter.getCurrentValueAsText();

        switch (expected.role)
        {
            case Role::slider:
                ASSERT_NE (handler->getValueInterface(), nullptr);
                // The parameter's text, its unit after a number ("-3.0 dB", "1/8").
                EXPECT_EQ (handler->getValueInterface()->getCurrentValueAsString(),
                           juce::CharacterFunctions::isDigit (text.getLastCharacter()) ? text + " " + parameter.getLabel()
                                                                                        : text);
                EXPECT_FALSE (handler->getValueInterface()->isReadOnly());
                break;
            case Role::toggleButton:
                EXPECT_TRUE (handler->getCurrentState().isCheckable());
                EXPECT_EQ (handler->getCurrentState().isChecked(), parameter.getValue() >= 0.5f);
                EXPECT_NE (handler->getActions().contains (juce::AccessibilityActionType::toggle)
                               || handler->getActions().contains (juce::AccessibilityActionType::press),
                           false);
                break;
            case Role::group:
            {
                // The items are the rows; the checked one names the parameter's choice.
                juce::StringArray checked;
                for (auto* row : control.getChildren())
                {
                    const auto item = handlerOf (*row);
                    EXPECT_EQ (item->getRole(), Role::radioButton);
                    EXPECT_TRUE (item->getTitle().isNotEmpty());
                    if (item->getCurrentState().isChecked())
                        checked.add (item->getTitle());
                }
                EXPECT_EQ (checked, juce::StringArray (text));
                break;
            }
            case Role::comboBox:
                EXPECT_EQ (handler->getValueInterface()->getCurrentValueAsString(),
                           juce::StringArray ({ "1x", "2x", "4x" })[(int) open.raw (*expected.parameterId)]);
                break;
            default: FAIL();
        }
    }
}

TEST_F (ScreenReader, EveryControlTabReachesHasAHandlerAndATitle)
{
    auto traverser = open.editor->createKeyboardFocusTraverser();
    for (auto* control : traverser->getAllComponents (open.editor.get()))
    {
        const auto handler = handlerOf (*control);
        ASSERT_NE (handler, nullptr) << control->getName();
        EXPECT_TRUE (handler->getTitle().isNotEmpty()) << control->getName();
        EXPECT_NE (handler->getRole(), Role::unspecified) << control->getName();
    }
}

TEST_F (ScreenReader, SettingAValueOrPressingAnItemEditsAsOneGesture)
{
    {
        auto handler = handlerOf (open.get<juce::Slider> ("outputSlider"));
        GestureRecorder host (open.processor);
        handler->getValueInterface()->setValueAsString ("-12 dB");
        EXPECT_EQ (open.raw (ParamIDs::outputTrim), -12.0f);
        handler->getValueInterface()->setValue (3.5);
        EXPECT_EQ (open.raw (ParamIDs::outputTrim), 3.5f);
        handler->getValueInterface()->setValueAsString ("loud"); // refused
        EXPECT_EQ (open.raw (ParamIDs::outputTrim), 3.5f);
        EXPECT_EQ (host.count ("begin"), 2);
        EXPECT_EQ (host.count ("end"), 2);
    }
    {
        auto& selector = open.get<VelbriLedStackSelector> ("echoDivisionSelector");
        const auto target = ((int) open.raw (ParamIDs::echoDivision) + 1) % 3;
        auto row = handlerOf (*selector.getChildComponent (target));
        GestureRecorder host (open.processor);
        EXPECT_TRUE (row->getActions().invoke (juce::AccessibilityActionType::press));
        EXPECT_EQ (open.raw (ParamIDs::echoDivision), (float) target);
        EXPECT_EQ (host.count ("begin"), 1);
        EXPECT_TRUE (row->getCurrentState().isChecked());
    }
    {
        auto field = handlerOf (open.get<juce::Label> ("bpmLabel"));
        field->getValueInterface()->setValueAsString ("97");
        EXPECT_EQ (open.processor.manualBpm.load(), 97.0f);
    }
}

TEST_F (ScreenReader, MetersReadTheirLevelAsTextOnlyWhenAsked)
{
    open.processor.inputLevelDb = -12.5f;
    open.processor.outputLevelDb = -100.0f;
    open.processor.gainReductionDb = 3.25f;
    open.tick();

    const std::pair<const char*, const char*> readings[] = {
        { "inputMeter", "-12.5 dB" },
        { "outputMeter", "silent" },
        { "vuArc", "silent" },
        { "gainReductionMeter", "3.2 dB reduction" },
    };
    for (const auto& [meter, text] : readings)
    {
        auto handler = handlerOf (editorprobe::child (*open.editor, meter));
        ASSERT_NE (handler->getValueInterface(), nullptr) << meter;
        EXPECT_TRUE (handler->getValueInterface()->isReadOnly()) << meter;
        EXPECT_EQ (handler->getValueInterface()->getCurrentValueAsString(), text) << meter;
    }
}

TEST_F (ScreenReader, TheHeaderButtonsAreNamedAndTheSlotsAreARadioPair)
{
    auto& actions = open.get<HeaderActions> ("headerActions");
    EXPECT_EQ (handlerOf (actions.undoButton)->getTitle(), "Undo");
    EXPECT_EQ (handlerOf (actions.redoButton)->getTitle(), "Redo");

    auto slotA = handlerOf (actions.slotAButton);
    auto slotB = handlerOf (actions.slotBButton);
    EXPECT_EQ (slotA->getRole(), Role::radioButton);
    EXPECT_EQ (slotA->getTitle(), "Compare slot A");
    EXPECT_TRUE (slotA->getCurrentState().isChecked());
    EXPECT_FALSE (slotB->getCurrentState().isChecked());

    auto bar = handlerOf (open.get<PresetBar> ("presetBar"));
    open.get<PresetBar> ("presetBar").loadByName ("Vocal Slap");
    open.tick();
    EXPECT_EQ (bar->getValueInterface()->getCurrentValueAsString(), "Vocal Slap");
}
