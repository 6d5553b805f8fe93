// The pre-delay SYNC switches and the Oversample choice: a click or a key reaches the host as one
// begin, perform, end gesture; a host change shows in the window; screen readers and the keyboard
// reach them like the other controls.

#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/GestureRecorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace
{
using editorprobe::OpenEditor;

void setFromHostThread (juce::RangedAudioParameter& parameter, float normalised)
{
    std::thread host ([&] { parameter.setValueNotifyingHost (normalised); });
    host.join();
}

juce::StringArray gestureOf (const juce::String& parameterId)
{
    return { "begin " + parameterId, "perform " + parameterId, "end " + parameterId };
}

struct UserEdit
{
    const char* what;
    const juce::String& parameterId;
    std::function<void (OpenEditor&)> edit;
    float normalisedAfter;
};

void press (juce::Component& control, int keyCode)
{
    control.keyPressed (juce::KeyPress (keyCode));
}

const UserEdit userEdits[] = {
    { "click Space A SYNC", ParamIDs::spaceAPreDelaySync,
      [] (OpenEditor& o) { editorprobe::click (o.get<juce::Button> ("spaceAPreDelaySyncButton"), 17, 10); }, 1.0f },
    { "click Space B SYNC", ParamIDs::spaceBPreDelaySync,
      [] (OpenEditor& o) { editorprobe::click (o.get<juce::Button> ("spaceBPreDelaySyncButton"), 17, 25); }, 1.0f },
    { "Return on Space A SYNC", ParamIDs::spaceAPreDelaySync,
      [] (OpenEditor& o) { press (o.get<juce::Button> ("spaceAPreDelaySyncButton"), juce::KeyPress::returnKey); }, 1.0f },
    { "pick 4x", ParamIDs::compOversample,
      [] (OpenEditor& o) { o.get<juce::ComboBox> ("oversampleBox").setSelectedItemIndex (2); }, 1.0f },
    { "pick 2x", ParamIDs::compOversample,
      [] (OpenEditor& o) { o.get<juce::ComboBox> ("oversampleBox").setSelectedItemIndex (1); }, 0.5f },
    { "arrow down on Oversample", ParamIDs::compOversample,
      [] (OpenEditor& o) { press (o.get<juce::ComboBox> ("oversampleBox"), juce::KeyPress::downKey); }, 0.5f },
};
} // namespace

// Each edit starts from a fresh window at the defaults (switches off, Oversample Off).
TEST (EditorStageOptions, AClickOrAKeyReachesTheHostAsOneGesture)
{
    for (const auto& userEdit : userEdits)
    {
        SCOPED_TRACE (userEdit.what);
        OpenEditor open;
        GestureRecorder host (open.processor);

        userEdit.edit (open);
        editorprobe::pumpMessages();

        EXPECT_EQ (host.events, gestureOf (userEdit.parameterId));
        EXPECT_EQ (open.parameter (userEdit.parameterId).getValue(), userEdit.normalisedAfter);
    }
}

TEST (EditorStageOptions, AHostChangeShowsInTheWindowWithoutASingleEditBack)
{
    OpenEditor open;
    GestureRecorder host (open.processor);
    auto& oversample = open.get<juce::ComboBox> ("oversampleBox");
    ASSERT_EQ (oversample.getSelectedItemIndex(), 0);

    for (const auto& [normalised, index] : { std::pair { 1.0f, 2 }, { 0.5f, 1 }, { 0.0f, 0 } })
    {
        setFromHostThread (open.parameter (ParamIDs::compOversample), normalised);
        editorprobe::pumpMessages();
        EXPECT_EQ (oversample.getSelectedItemIndex(), index) << normalised;
        EXPECT_EQ (oversample.getText(), juce::StringArray ({ "1x", "2x", "4x" })[index]);
    }

    for (const auto* name : { "spaceAPreDelaySyncButton", "spaceBPreDelaySyncButton" })
    {
        const auto& id = juce::String (name).startsWith ("spaceA") ? ParamIDs::spaceAPreDelaySync
                                                                   : ParamIDs::spaceBPreDelaySync;
        auto& sync = open.get<juce::Button> (name);
        for (const auto on : { true, false, true })
        {
            setFromHostThread (open.parameter (id), on ? 1.0f : 0.0f);
            editorprobe::pumpMessages();
            EXPECT_EQ (sync.getToggleState(), on) << name;
        }
    }

    // What the host set is not sent back to it as an edit of the user's.
    EXPECT_EQ (host.count ("begin"), 0);
    EXPECT_EQ (host.count ("end"), 0);
}

// A window opened over a session that already has them set shows them at once.
TEST (EditorStageOptions, AWindowOpenedOverAChangedSessionShowsThem)
{
    OpenEditor open;
    open.close();
    open.parameter (ParamIDs::compOversample).setValueNotifyingHost (1.0f);
    open.parameter (ParamIDs::spaceBPreDelaySync).setValueNotifyingHost (1.0f);
    open.open();

    EXPECT_EQ (open.get<juce::ComboBox> ("oversampleBox").getSelectedItemIndex(), 2);
    EXPECT_TRUE (open.get<juce::Button> ("spaceBPreDelaySyncButton").getToggleState());
    EXPECT_FALSE (open.get<juce::Button> ("spaceAPreDelaySyncButton").getToggleState());
}

// Screen readers announce them by the parameter's own name; each takes the keyboard focus, tells
// what it does when the pointer rests on it, and reads its state.
TEST (EditorStageOptions, ScreenReadersAndTheKeyboardReachThemByTheParametersNames)
{
    OpenEditor open;
    const std::pair<const char*, const char*> titles[] = {
        { "spaceAPreDelaySyncButton", "Space A Pre-Delay Sync" },
        { "spaceBPreDelaySyncButton", "Space B Pre-Delay Sync" },
        { "oversampleBox", "Oversample" },
    };
    for (const auto& [name, title] : titles)
    {
        SCOPED_TRACE (name);
        auto& control = editorprobe::child (*open.editor, name);
        EXPECT_EQ (control.getTitle(), title);
        EXPECT_TRUE (control.getWantsKeyboardFocus());

        auto* tooltip = dynamic_cast<juce::TooltipClient*> (&control);
        ASSERT_NE (tooltip, nullptr);
        EXPECT_TRUE (tooltip->getTooltip().startsWith (juce::String (name).startsWith ("space") ? "ON:" : "Oversample"));

        EXPECT_TRUE (control.isAccessible());
    }

    // The framework's button handler announces the title as set; the box's handler is its own.
    auto handler = open.get<VelbriChoiceBox> ("oversampleBox").createAccessibilityHandler();
    EXPECT_EQ (handler->getRole(), juce::AccessibilityRole::comboBox);
    EXPECT_EQ (handler->getTitle(), "Oversample");
    EXPECT_TRUE (handler->getHelp().startsWith ("Oversample"));
    open.parameter (ParamIDs::compOversample).setValueNotifyingHost (0.5f);
    editorprobe::pumpMessages();
    ASSERT_NE (handler->getValueInterface(), nullptr);
    EXPECT_EQ (handler->getValueInterface()->getCurrentValueAsString(), "2x");
}

// A pre-delay knob tells its value (to screen readers, and wherever the window shows it) in the
// parameter's own text, so with SYNC on it reads as whatever the parameter calls a note value.
TEST (EditorStageOptions, ThePreDelayKnobsReadThroughTheParametersOwnTextWithSyncOnOrOff)
{
    OpenEditor open;
    const std::pair<const char*, const juce::String&> knobs[] = {
        { "spaceAPreDelayKnob", ParamIDs::spaceAPreDelay },
        { "spaceBPreDelayKnob", ParamIDs::spaceBPreDelay },
    };
    const std::pair<const char*, const juce::String&> switches[] = {
        { "spaceAPreDelaySyncButton", ParamIDs::spaceAPreDelaySync },
        { "spaceBPreDelaySyncButton", ParamIDs::spaceBPreDelaySync },
    };

    for (size_t i = 0; i < 2; ++i)
    {
        auto& knob = open.get<juce::Slider> (knobs[i].first);
        auto& preDelay = open.parameter (knobs[i].second);
        for (const auto syncOn : { false, true })
        {
            if (open.get<juce::Button> (switches[i].first).getToggleState() != syncOn)
                open.get<juce::Button> (switches[i].first).triggerClick();
            editorprobe::pumpMessages();
            ASSERT_EQ (open.raw (switches[i].second) > 0.5f, syncOn);

            for (const auto ms : { 0.0f, 62.5f, 125.0f, 480.2f, 500.0f })
                EXPECT_EQ (knob.getTextFromValue (ms), preDelay.getText (preDelay.convertTo0to1 (ms), 0))
                    << knobs[i].first << " at " << ms << " ms, sync " << syncOn;
        }
    }
}
