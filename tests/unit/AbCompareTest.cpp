// The A/B compare slots: B starts as a copy, each slot keeps its sound and preset name, a switch
// reaches the host as one gesture per parameter that differs and is one undo step, "copy" copies,
// and both slots travel in the saved state, which older states (without them) load as slot A.

#include "editor/HeaderActions.h"
#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/GestureRecorder.h"
#include "tests/support/PointerEvents.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
using editorprobe::OpenEditor;

std::vector<float> allValues (VelbrinLumbraProcessor& processor)
{
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back (parameter->getValue());
    return values;
}

int changedCount (const std::vector<float>& a, const std::vector<float>& b)
{
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i] ? 1 : 0;
    return count;
}

juce::MemoryBlock stateOf (juce::AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

juce::MemoryBlock blockOf (const juce::XmlElement& xml)
{
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (xml, block);
    return block;
}

struct AbSlots : public ::testing::Test
{
    OpenEditor open;
    HeaderActions& actions = open.get<HeaderActions> ("headerActions");
    PresetBar& bar = open.get<PresetBar> ("presetBar");

    void switchTo (int slot) { (slot == 0 ? actions.slotAButton : actions.slotBButton).onClick(); }

    // A in "Vocal Slap", B in "Lead Vocal Plate" with the input raised by a wheel notch.
    void makeTwoSounds()
    {
        bar.loadByName ("Vocal Slap");
        switchTo (1);
        bar.loadByName ("Lead Vocal Plate");
        pointer::wheel (open.get<juce::Slider> ("inputSlider"), 1);
    }
};
} // namespace

TEST_F (AbSlots, BStartsAsACopyAndEachSlotKeepsItsSoundAndName)
{
    bar.loadByName ("Vocal Slap");
    const auto soundA = allValues (open.processor);

    {
        GestureRecorder host (open.processor);
        switchTo (1);
        EXPECT_TRUE (host.events.isEmpty()); // a copy: nothing changes
    }
    EXPECT_EQ (open.processor.abCompare.activeSlot(), 1);
    EXPECT_EQ (allValues (open.processor), soundA);
    EXPECT_EQ (open.processor.presetSession.getName(), "Vocal Slap");

    bar.loadByName ("Lead Vocal Plate");
    pointer::wheel (open.get<juce::Slider> ("inputSlider"), 1);
    const auto soundB = allValues (open.processor);

    {
        GestureRecorder host (open.processor);
        switchTo (0);
        const auto differing = changedCount (soundA, soundB);
        EXPECT_EQ (host.count ("begin"), differing);
        EXPECT_EQ (host.count ("perform"), differing);
        EXPECT_EQ (host.count ("end"), differing);
    }
    EXPECT_EQ (allValues (open.processor), soundA);
    EXPECT_EQ (open.processor.presetSession.getName(), "Vocal Slap");
    EXPECT_FALSE (open.processor.presetSession.isEdited (open.processor.parameters));

    switchTo (1);
    EXPECT_EQ (allValues (open.processor), soundB);
    bar.refresh();
    EXPECT_EQ (bar.getShownName(), "Lead Vocal Plate (edited)");

    open.tick();
    EXPECT_TRUE (actions.slotBButton.getToggleState());
    EXPECT_FALSE (actions.slotAButton.getToggleState());
}

TEST_F (AbSlots, CopyPutsTheActiveSoundIntoTheOtherSlot)
{
    makeTwoSounds();
    const auto soundB = allValues (open.processor);
    bar.handleMenuItem (PresetBar::copySlotItem); // "Copy B to A"

    GestureRecorder host (open.processor);
    switchTo (0);
    EXPECT_EQ (allValues (open.processor), soundB);
    EXPECT_TRUE (host.events.isEmpty());
    EXPECT_EQ (open.processor.presetSession.getName(), "Lead Vocal Plate");
}

TEST_F (AbSlots, ASwitchIsOneUndoStepThatSwitchesBack)
{
    makeTwoSounds();
    const auto soundB = allValues (open.processor);
    switchTo (0);
    const auto soundA = allValues (open.processor);

    open.editor->keyPressed (juce::KeyPress ('z', juce::ModifierKeys::commandModifier, 0));
    EXPECT_EQ (open.processor.abCompare.activeSlot(), 1);
    EXPECT_EQ (allValues (open.processor), soundB);

    open.editor->keyPressed (juce::KeyPress ('y', juce::ModifierKeys::commandModifier, 0));
    EXPECT_EQ (open.processor.abCompare.activeSlot(), 0);
    EXPECT_EQ (allValues (open.processor), soundA);
}

TEST_F (AbSlots, BothSlotsTravelInTheSavedState)
{
    makeTwoSounds();
    const auto soundB = allValues (open.processor);
    switchTo (0);
    const auto soundA = allValues (open.processor);
    switchTo (1);

    const auto saved = stateOf (open.processor);
    VelbrinLumbraProcessor restored;
    restored.setStateInformation (saved.getData(), (int) saved.getSize());

    EXPECT_EQ (restored.abCompare.activeSlot(), 1);
    EXPECT_EQ (allValues (restored), soundB);
    restored.abCompare.switchTo (restored, 0);
    EXPECT_EQ (allValues (restored), soundA);
    EXPECT_EQ (restored.presetSession.getName(), "Vocal Slap");
    EXPECT_FALSE (restored.presetSession.isEdited (restored.parameters));
}

TEST_F (AbSlots, AStateWithoutSlotsLoadsAsSlotAWithBACopy)
{
    VelbrinLumbraProcessor older; // untouched: its state has no COMPARE element, as before slots existed
    const auto oldState = stateOf (older);
    ASSERT_FALSE (juce::AudioProcessor::getXmlFromBinary (oldState.getData(), (int) oldState.getSize())
                      ->getChildByName (AbCompare::elementTag));

    makeTwoSounds(); // in B, with A held
    open.processor.setStateInformation (oldState.getData(), (int) oldState.getSize());

    EXPECT_EQ (open.processor.abCompare.activeSlot(), 0);
    EXPECT_FALSE (open.processor.abCompare.otherSlot().has_value());
    const auto restored = allValues (open.processor);
    open.processor.abCompare.switchTo (open.processor, 1);
    EXPECT_EQ (allValues (open.processor), restored);
}

// Whatever the COMPARE element holds, the slot B it gives is a finite sound inside every range.
TEST_F (AbSlots, ADamagedSlotInTheStateIsLimitedNeverTrusted)
{
    struct Damage
    {
        const char* active;
        const char* value; // for the input trim
        float expectedInput;
        int expectedActive;
    };

    const Damage cases[] = {
        { "1", "-7.5", -7.5f, 1 }, { "7", "-7.5", -7.5f, 0 },     { "yes", "nan", 0.0f, 0 }, { "1", "inf", 0.0f, 1 },
        { "-1", "1e999", 0.0f, 0 }, { "1", "1000", 24.0f, 1 },    { "1", "-1e30", -24.0f, 1 }, { "1", "", 0.0f, 1 },
        { "1", "abc", 0.0f, 1 },   { "1", "-3.33333", -3.3f, 1 },
    };

    for (const auto& damage : cases)
    {
        SCOPED_TRACE (juce::String ("active=") + damage.active + " value=" + damage.value);
        VelbrinLumbraProcessor source;
        auto xml = juce::AudioProcessor::getXmlFromBinary (stateOf (source).getData(), (int) stateOf (source).getSize());
        auto* compare = xml->createNewChildElement (AbCompare::elementTag);
        compare->setAttribute ("active", damage.active);
        auto* slot = compare->createNewChildElement ("SLOT");
        slot->setAttribute ("name", "bad/name:*?");
        for (const auto& [id, value] : { std::pair { ParamIDs::inputTrim, juce::String (damage.value) },
                                         std::pair { ParamIDs::inputTrim, juce::String ("9") }, // a repeat: ignored
                                         std::pair { juce::String ("noSuchParameter"), juce::String ("1") },
                                         std::pair { ParamIDs::bypass, juce::String ("1") } }) // not part of the sound
        {
            auto* saved = slot->createNewChildElement ("VALUE");
            saved->setAttribute ("id", id);
            saved->setAttribute ("value", value);
        }

        VelbrinLumbraProcessor processor;
        const auto block = blockOf (*xml);
        processor.setStateInformation (block.getData(), (int) block.getSize());

        EXPECT_EQ (processor.abCompare.activeSlot(), damage.expectedActive);
        const auto other = processor.abCompare.otherSlot();
        ASSERT_TRUE (other.has_value());
        EXPECT_EQ (other->sound.name, sanitisePresetName ("bad/name:*?"));

        for (const auto& [id, value] : other->sound.values)
        {
            const auto& range = processor.parameters.getParameter (id)->getNormalisableRange();
            EXPECT_TRUE (std::isfinite (value) && value >= range.start && value <= range.end) << id;
            if (id == ParamIDs::inputTrim)
            {
                EXPECT_NEAR (value, damage.expectedInput, 1.0e-5f);
            }
        }

        processor.abCompare.switchTo (processor, 1 - damage.expectedActive);
        EXPECT_EQ (processor.parameters.getRawParameterValue (ParamIDs::bypass)->load(), 0.0f);
    }
}

// A switch glides like a preset load: from slot B's output trim of -24 dB back to A's 0 dB, a
// 1 kHz sine rises over the trims' 20 ms glide, 4 ms at a time, from the old level to the new.
TEST (AbSlotsAudio, ASwitchGlidesFromOneSlotsLevelToTheOthers)
{
    ProcessorHarness harness (48000.0, 64);
    harness.settle();
    auto& processor = *harness.processor;
    processor.abCompare.switchTo (processor, 1);
    harness.set (ParamIDs::outputTrim, -24.0f);
    auto warmUp = signals::sine (1000.0, 48000.0, 9600, 0.5f);
    harness.process (warmUp);

    processor.abCompare.switchTo (processor, 0);
    EXPECT_EQ (harness.get (ParamIDs::outputTrim), 0.0f);
    auto after = signals::sine (1000.0, 48000.0, 4800, 0.5f);
    harness.process (after);

    const auto source = 20.0f * std::log10 (0.5f);
    EXPECT_NEAR (peakDb (after, 0, 0, 48), source - 24.0f, 3.0f); // the first millisecond: still near B
    float previous = -200.0f;
    for (int window = 0; window < 5; ++window)
    {
        const auto level = peakDb (after, 0, window * 192, 192);
        EXPECT_GT (level, previous) << "window " << window;
        previous = level;
    }
    EXPECT_NEAR (peakDb (after, 0, 2400, 2400), source, 0.1f); // landed on A
}
