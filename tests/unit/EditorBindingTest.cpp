// Every control of the window moves its parameter and follows the parameter back when the host
// changes it.

#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
using editorprobe::OpenEditor;

struct SliderBinding
{
    const char* control;
    const juce::String& parameterId;
    float fromEditor; // natural units, a multiple of the parameters' 0.1 step
    float fromHost;
};

const SliderBinding sliderBindings[] = {
    { "inputSlider", ParamIDs::inputTrim, -7.5f, 12.3f },
    { "lowSlider", ParamIDs::lowGain, 4.2f, -9.9f },
    { "highSlider", ParamIDs::highGain, -3.3f, 11.0f },
    { "dynamicsSlider", ParamIDs::compAmount, 62.5f, 5.1f },
    { "spaceASlider", ParamIDs::spaceAMix, 18.0f, 99.9f },
    { "spaceBSlider", ParamIDs::spaceBMix, 27.3f, 50.0f },
    { "echoSlider", ParamIDs::echoMix, 44.4f, 0.1f },
    { "blendSlider", ParamIDs::blend, 71.0f, 12.0f },
    { "outputSlider", ParamIDs::outputTrim, -20.5f, -59.9f },
    { "spaceAPreDelayKnob", ParamIDs::spaceAPreDelay, 125.0f, 480.2f },
    { "spaceBPreDelayKnob", ParamIDs::spaceBPreDelay, 333.3f, 7.7f },
    { "echoFeedbackKnob", ParamIDs::echoFeedback, 80.0f, 2.5f },
};

const std::pair<const char*, const juce::String&> buttonBindings[] = {
    { "bypassButton", ParamIDs::bypass },
    { "lowEnableButton", ParamIDs::lowEnabled },
    { "highEnableButton", ParamIDs::highEnabled },
    { "dynamicsEnableButton", ParamIDs::compEnabled },
    { "spaceAEnableButton", ParamIDs::spaceAEnabled },
    { "spaceBEnableButton", ParamIDs::spaceBEnabled },
    { "echoEnableButton", ParamIDs::echoEnabled },
    { "spaceAPreDelaySyncButton", ParamIDs::spaceAPreDelaySync },
    { "spaceBPreDelaySyncButton", ParamIDs::spaceBPreDelaySync },
};

const std::pair<const char*, const juce::String&> selectorBindings[] = {
    { "lowModeSelector", ParamIDs::lowMode },
    { "highModeSelector", ParamIDs::highMode },
    { "dynamicsModeSelector", ParamIDs::compMode },
    { "spaceATypeSelector", ParamIDs::spaceAType },
    { "spaceBTypeSelector", ParamIDs::spaceBType },
    { "echoDivisionSelector", ParamIDs::echoDivision },
};

// Automation arrives on the audio thread in a real host, so host changes come from another thread
// and reach the controls through the message loop.
void setFromHostThread (juce::RangedAudioParameter& parameter, float naturalValue)
{
    std::thread host ([&] { parameter.setValueNotifyingHost (parameter.convertTo0to1 (naturalValue)); });
    host.join();
}
} // namespace

TEST (EditorBindings, FadersAndKnobsMoveTheirParameterAndFollowTheHost)
{
    OpenEditor open;

    for (const auto& binding : sliderBindings)
    {
        SCOPED_TRACE (binding.control);
        auto& slider = open.get<juce::Slider> (binding.control);

        slider.setValue (binding.fromEditor, juce::sendNotificationSync);
        EXPECT_NEAR (open.raw (binding.parameterId), binding.fromEditor, 1.0e-4f);

        setFromHostThread (open.parameter (binding.parameterId), binding.fromHost);
        editorprobe::pumpMessages();
        EXPECT_NEAR (slider.getValue(), binding.fromHost, 1.0e-4);
        EXPECT_NEAR (open.raw (binding.parameterId), binding.fromHost, 1.0e-4f);
    }
}

TEST (EditorBindings, ClickingTheBypassToggleAndTheLedButtonsFlipsTheirSwitches)
{
    OpenEditor open;

    for (const auto& [control, parameterId] : buttonBindings)
    {
        SCOPED_TRACE (control);
        auto& button = open.get<juce::Button> (control);
        const auto before = open.raw (parameterId) > 0.5f;
        ASSERT_EQ (button.getToggleState(), before);

        button.triggerClick();
        editorprobe::pumpMessages();
        EXPECT_EQ (open.raw (parameterId) > 0.5f, ! before);
        EXPECT_EQ (button.getToggleState(), ! before);

        setFromHostThread (open.parameter (parameterId), before ? 1.0f : 0.0f);
        editorprobe::pumpMessages();
        EXPECT_EQ (button.getToggleState(), before);
    }
}

TEST (EditorBindings, ASelectorClickSetsTheChoiceToZeroHalfOrOne)
{
    OpenEditor open;
    // Rows are 16 pixels high in the 48-pixel selector; the press and release land mid-row.
    const std::array<std::pair<int, float>, 4> clicks { { { 40, 1.0f }, { 8, 0.0f }, { 24, 0.5f }, { 24, 0.5f } } };

    for (const auto& [control, parameterId] : selectorBindings)
    {
        SCOPED_TRACE (control);
        auto& selector = open.get<VelbriLedStackSelector> (control);

        for (const auto& [y, normalised] : clicks)
        {
            selector.mouseUp (releaseAt (selector, 60, y));
            EXPECT_EQ (open.parameter (parameterId).getValue(), normalised) << y;
            EXPECT_EQ (open.raw (parameterId), normalised * 2.0f) << y;
            EXPECT_EQ (selector.getSelectedIndex(), y / 16);
        }
    }
}

TEST (EditorBindings, AHostChoiceChangeRelightsItsSelectorOnTheNextTick)
{
    OpenEditor open;
    open.editor->stopTimer(); // the test ticks it by hand

    for (const auto& [control, parameterId] : selectorBindings)
    {
        SCOPED_TRACE (control);
        auto& selector = open.get<VelbriLedStackSelector> (control);
        ASSERT_EQ (selector.getSelectedIndex(), 0);

        setFromHostThread (open.parameter (parameterId), 2.0f);
        editorprobe::pumpMessages();
        EXPECT_EQ (selector.getSelectedIndex(), 0); // selectors have no attachment: only the timer relights them

        open.tick();
        EXPECT_EQ (selector.getSelectedIndex(), 2);

        open.parameter (parameterId).setValueNotifyingHost (0.5f);
        open.tick();
        EXPECT_EQ (selector.getSelectedIndex(), 1);
    }
}

TEST (EditorBindings, AWindowOpenedOverAChangedSessionShowsItAtOnce)
{
    editorprobe::OpenEditor open;
    open.close();

    open.parameter (ParamIDs::spaceBType).setValueNotifyingHost (1.0f);
    open.parameter (ParamIDs::echoDivision).setValueNotifyingHost (0.5f);
    open.parameter (ParamIDs::lowGain).setValueNotifyingHost (open.parameter (ParamIDs::lowGain).convertTo0to1 (-6.0f));
    open.parameter (ParamIDs::highEnabled).setValueNotifyingHost (0.0f);
    open.open();

    EXPECT_EQ (open.get<VelbriLedStackSelector> ("spaceBTypeSelector").getSelectedIndex(), 2);
    EXPECT_EQ (open.get<VelbriLedStackSelector> ("echoDivisionSelector").getSelectedIndex(), 1);
    EXPECT_EQ (open.get<VelbriLedStackSelector> ("lowModeSelector").getSelectedIndex(), 0);
    EXPECT_NEAR (open.get<juce::Slider> ("lowSlider").getValue(), -6.0, 1.0e-4);
    EXPECT_FALSE (open.get<juce::Button> ("highEnableButton").getToggleState());
    EXPECT_TRUE (open.get<juce::Button> ("lowEnableButton").getToggleState());
}
