// The window shows what the strip holds after every way the strip can change behind a control:
// a restored state, a preset load, an undo, a redo and an A/B switch. Every fader, knob, switch,
// selector and the Oversample box, the tempo SYNC switch, the BPM readout and the lit slot.

#include "editor/HeaderActions.h"
#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/PointerEvents.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using editorprobe::OpenEditor;

const std::pair<const char*, const juce::String&> sliders[] = {
    { "inputSlider", ParamIDs::inputTrim },         { "lowSlider", ParamIDs::lowGain },
    { "highSlider", ParamIDs::highGain },           { "dynamicsSlider", ParamIDs::compAmount },
    { "spaceASlider", ParamIDs::spaceAMix },        { "spaceBSlider", ParamIDs::spaceBMix },
    { "echoSlider", ParamIDs::echoMix },            { "blendSlider", ParamIDs::blend },
    { "outputSlider", ParamIDs::outputTrim },       { "spaceAPreDelayKnob", ParamIDs::spaceAPreDelay },
    { "spaceBPreDelayKnob", ParamIDs::spaceBPreDelay }, { "echoFeedbackKnob", ParamIDs::echoFeedback },
};

const std::pair<const char*, const juce::String&> switches[] = {
    { "bypassButton", ParamIDs::bypass },           { "lowEnableButton", ParamIDs::lowEnabled },
    { "highEnableButton", ParamIDs::highEnabled },  { "dynamicsEnableButton", ParamIDs::compEnabled },
    { "spaceAEnableButton", ParamIDs::spaceAEnabled }, { "spaceBEnableButton", ParamIDs::spaceBEnabled },
    { "echoEnableButton", ParamIDs::echoEnabled },  { "spaceAPreDelaySyncButton", ParamIDs::spaceAPreDelaySync },
    { "spaceBPreDelaySyncButton", ParamIDs::spaceBPreDelaySync },
};

const std::pair<const char*, const juce::String&> selectors[] = {
    { "lowModeSelector", ParamIDs::lowMode },       { "highModeSelector", ParamIDs::highMode },
    { "dynamicsModeSelector", ParamIDs::compMode }, { "spaceATypeSelector", ParamIDs::spaceAType },
    { "spaceBTypeSelector", ParamIDs::spaceBType }, { "echoDivisionSelector", ParamIDs::echoDivision },
};

void expectTheWindowShowsTheStrip (OpenEditor& open)
{
    editorprobe::pumpMessages();
    open.tick();

    for (const auto& [name, id] : sliders)
        EXPECT_NEAR (open.get<juce::Slider> (name).getValue(), open.raw (id), 1.0e-4) << name;
    for (const auto& [name, id] : switches)
        EXPECT_EQ (open.get<juce::Button> (name).getToggleState(), open.raw (id) >= 0.5f) << name;
    for (const auto& [name, id] : selectors)
        EXPECT_EQ (open.get<VelbriLedStackSelector> (name).getSelectedIndex(), (int) open.raw (id)) << name;

    EXPECT_EQ (open.get<juce::ComboBox> ("oversampleBox").getSelectedItemIndex(), (int) open.raw (ParamIDs::compOversample));
    EXPECT_EQ (open.get<juce::Button> ("syncButton").getToggleState(), open.processor.hostSyncEnabled.load());
    EXPECT_EQ (open.get<juce::Label> ("bpmLabel").getText(),
               juce::String ((int) open.processor.manualBpm.load()) + " BPM");

    auto& actions = open.get<HeaderActions> ("headerActions");
    EXPECT_EQ (actions.slotBButton.getToggleState(), open.processor.abCompare.activeSlot() == 1);
    EXPECT_EQ (actions.slotAButton.getToggleState(), open.processor.abCompare.activeSlot() == 0);
}

// A sound far from the defaults, with the tempo settings changed too.
juce::MemoryBlock anotherProject()
{
    VelbrinLumbraProcessor other;
    juce::Random random (7);
    for (auto* parameter : other.getParameters())
        parameter->setValueNotifyingHost (random.nextFloat());
    other.hostSyncEnabled = false;
    other.manualBpm = 97.0f;
    juce::MemoryBlock state;
    other.getStateInformation (state);
    return state;
}

struct Change
{
    const char* name;
    std::function<void (OpenEditor&)> make;
};

void press (OpenEditor& open, char letter, bool shift = false)
{
    const auto mods = juce::ModifierKeys::commandModifier | (shift ? juce::ModifierKeys::shiftModifier : 0);
    open.editor->keyPressed (juce::KeyPress (letter, juce::ModifierKeys (mods), 0));
}

const Change changes[] = {
    { "a restored state",
      [] (OpenEditor& open)
      {
          const auto state = anotherProject();
          open.processor.setStateInformation (state.getData(), (int) state.getSize());
      } },
    { "a preset load", [] (OpenEditor& open) { open.get<PresetBar> ("presetBar").loadByName ("Lead Vocal Plate"); } },
    { "an undo", [] (OpenEditor& open) { press (open, 'z'); } },
    { "a redo", [] (OpenEditor& open) { press (open, 'z', true); } },
    { "an A/B switch", [] (OpenEditor& open) { open.get<HeaderActions> ("headerActions").slotBButton.onClick(); } },
    { "an undone A/B switch", [] (OpenEditor& open) { press (open, 'z'); } },
    { "a state without slots", [] (OpenEditor& open)
      {
          VelbrinLumbraProcessor fresh;
          juce::MemoryBlock state;
          fresh.getStateInformation (state);
          open.processor.setStateInformation (state.getData(), (int) state.getSize());
      } },
};
} // namespace

TEST (WindowFollowsState, EveryControlShowsTheStripAfterEachKindOfChange)
{
    OpenEditor open;
    expectTheWindowShowsTheStrip (open);

    for (const auto& change : changes)
    {
        SCOPED_TRACE (change.name);
        change.make (open);
        expectTheWindowShowsTheStrip (open);
    }
}

TEST (WindowFollowsState, AWindowOpenedAfterAChangeShowsIt)
{
    OpenEditor open;
    open.close();
    const auto state = anotherProject();
    open.processor.setStateInformation (state.getData(), (int) state.getSize());
    open.processor.abCompare.switchTo (open.processor, 1);
    open.open();
    expectTheWindowShowsTheStrip (open);
}
