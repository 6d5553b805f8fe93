// Tempo-synced pre-delays on the library: the note values and their slices of the range, the
// parameter's text and typed values, the delay a synced space hears, and its saved state.

#include "dsp/IdleWatch.h"
#include "dsp/NoteValues.h"
#include "plugin/ParamIDs.h"
#include "plugin/PresetDocument.h"
#include "plugin/PresetLoading.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/FixedPlayHead.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace
{
constexpr double rate = 48000.0;
constexpr int shortestCombLeft = 1214; // the reverb's first echo after its input, at 48 kHz
constexpr float firstEchoAtFullMix = 2.0f * 0.015f * 3.0f * 0.85f;

const char* nameAt (int index) { return noteValues[static_cast<size_t> (index)].name; }

juce::RangedAudioParameter& parameter (VelbrinLumbraProcessor& processor, const juce::String& id)
{
    return *processor.parameters.getParameter (id);
}

juce::String textOf (VelbrinLumbraProcessor& processor, const juce::String& id, float naturalValue, int maximumLength = 0)
{
    auto& p = parameter (processor, id);
    return p.getText (p.convertTo0to1 (naturalValue), maximumLength);
}

float settingForText (VelbrinLumbraProcessor& processor, const juce::String& id, const juce::String& text)
{
    auto& p = parameter (processor, id);
    return p.convertFrom0to1 (p.getValueForText (text));
}

// Space A alone at full mix with its pre-delay synced; tone and dynamics out of the way.
std::unique_ptr<ProcessorHarness> syncedSpaceA (float setting, float manualBpm)
{
    auto harness = std::make_unique<ProcessorHarness> (rate, 512);
    for (const auto* id : { &ParamIDs::lowEnabled, &ParamIDs::highEnabled, &ParamIDs::compEnabled })
        harness->set (*id, 0.0f);
    harness->set (ParamIDs::spaceAMix, 100.0f);
    harness->set (ParamIDs::spaceAPreDelay, setting);
    harness->set (ParamIDs::spaceAPreDelaySync, 1.0f);
    harness->processor->setManualBpm (manualBpm);
    harness->settle();
    return harness;
}

// The first sample the return reaches after an impulse at sample 0 (the dry impulse itself left out).
int onsetAfterImpulse (const juce::AudioBuffer<float>& audio)
{
    for (int i = 1; i < audio.getNumSamples(); ++i)
        if (audio.getSample (0, i) != 0.0f)
            return i;
    return -1;
}
} // namespace

// Shortest first, each named for what it is: 1/N, dotted (x 1.5) or triplet (x 2/3).
TEST (NoteValues, TheListRunsFromTheShortestToTheLongestAndEachIsWhatItsNameSays)
{
    ASSERT_EQ (noteValues.size(), 14u);
    EXPECT_STREQ (nameAt (0), "1/64");
    EXPECT_STREQ (nameAt (13), "1/4 D");

    for (size_t i = 0; i < noteValues.size(); ++i)
    {
        const auto& note = noteValues[i];
        SCOPED_TRACE (note.name);
        const auto factor = note.modifier == 'D' ? 1.5 : note.modifier == 'T' ? 2.0 / 3.0 : 1.0;
        EXPECT_DOUBLE_EQ (note.wholeNotes, factor / note.denominator);

        const juce::String expectedName = "1/" + juce::String (note.denominator)
                                          + (note.modifier != 0 ? juce::String (" ") + note.modifier : juce::String());
        EXPECT_EQ (juce::String (note.name), expectedName);

        if (i > 0)
        {
            EXPECT_GT (note.wholeNotes, noteValues[i - 1].wholeNotes);
        }
    }

    EXPECT_DOUBLE_EQ (longestSyncedPreDelaySeconds, 4.5) << "a dotted quarter at 20 BPM";
}

// 0..500 ms in 14 equal slices of 35.714 ms, the lowest the shortest value.
TEST (NoteValues, EqualSlicesOfTheRangeSelectTheValuesInOrder)
{
    struct Case
    {
        float setting;
        const char* name;
    };
    const Case cases[] = {
        { 0.0f, "1/64" },    { 35.7f, "1/64" },   { 35.8f, "1/32 T" }, { 71.4f, "1/32 T" }, { 71.5f, "1/64 D" },
        { 249.9f, "1/16" },  { 250.0f, "1/8 T" }, { 340.0f, "1/8" },   { 400.0f, "1/8 D" }, { 464.2f, "1/4" },
        { 464.3f, "1/4 D" }, { 500.0f, "1/4 D" }, { -3.0f, "1/64" },   { 900.0f, "1/4 D" }, { NAN, "1/64" },
    };

    for (const auto& c : cases)
        EXPECT_STREQ (nameAt (noteValueIndexFor (c.setting)), c.name) << c.setting;

    // The setting a typed note value takes lies inside its own slice, on the 0.1 ms grid.
    for (int i = 0; i < 14; ++i)
    {
        const auto setting = preDelaySettingFor (i);
        EXPECT_EQ (noteValueIndexFor (setting), i);
        EXPECT_FLOAT_EQ (std::round (setting * 10.0f) / 10.0f, setting);
    }
}

TEST (NoteValues, LengthsAtATempo)
{
    struct Case
    {
        int index;
        double bpm, ms;
    };
    const Case cases[] = {
        { 13, 20.0, 4500.0 },               // dotted quarter: 1.5 beats of 3 s
        { 9, 120.0, 250.0 },                // eighth: half a beat
        { 1, 60.0, 4000.0 / 48.0 },         // 1/32 triplet: a 48th of a 4 s whole note
        { 0, 300.0, 200.0 / 16.0 },         // 1/64: a sixteenth of a 200 ms beat
        { 11, 120.5, 60000.0 / 120.5 * 0.75 },
        { 9, std::nan (""), 250.0 },        // no usable tempo: 120 BPM
        { 9, -5.0, 250.0 },
        { 9, INFINITY, 0.0 },
    };

    for (const auto& c : cases)
        EXPECT_NEAR (noteValueMs (c.index, c.bpm), c.ms, 1.0e-9) << nameAt (c.index) << " at " << c.bpm;
}

// In milliseconds as before with sync off; with it on, the note value and its time at the tempo in
// force, or the note value alone where the host leaves no room.
TEST (SyncedPreDelayText, ReadsAsMillisecondsOrAsTheNoteValueAtTheTempoInForce)
{
    ProcessorHarness harness;
    auto& processor = *harness.processor;
    const auto dot = juce::String::charToString (0x00b7);

    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 400.0f), "400.0");
    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 123.4f, 3), "123");

    harness.set (ParamIDs::spaceAPreDelaySync, 1.0f);
    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 400.0f), "1/8 D " + dot + " 375.0 ms");
    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 400.0f, 16), "1/8 D " + dot + " 375.0 ms");
    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 400.0f, 15), "1/8 D");
    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 400.0f, 3), "1/8");
    EXPECT_EQ (textOf (processor, ParamIDs::spaceBPreDelay, 400.0f), "400.0") << "each space has its own switch";

    processor.setManualBpm (20.0f);
    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 500.0f), "1/4 D " + dot + " 4500.0 ms");

    // With SYNC the host's tempo, as the last block saw it; the manual one once SYNC is off.
    FixedPlayHead playHead;
    playHead.bpm = 98.5;
    processor.setPlayHead (&playHead);
    auto block = signals::noise (512, 3, 0.0f);
    harness.process (block);
    processor.setPlayHead (nullptr);
    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 460.0f), "1/4 " + dot + " 609.1 ms"); // 60000 / 98.5
    processor.hostSyncEnabled = false;
    EXPECT_EQ (textOf (processor, ParamIDs::spaceAPreDelay, 460.0f), "1/4 " + dot + " 3000.0 ms");

    harness.set (ParamIDs::spaceBPreDelaySync, 1.0f);
    EXPECT_EQ (textOf (processor, ParamIDs::spaceBPreDelay, 0.0f, 4), "1/64");
}

// The window's pre-delay knobs read and take text through their parameters, so they follow the
// sync switch too.
TEST (SyncedPreDelayText, TheWindowsKnobsReadAndTakeNoteValues)
{
    editorprobe::OpenEditor open;
    auto& knob = open.get<juce::Slider> ("spaceBPreDelayKnob");
    EXPECT_EQ (knob.getTextFromValue (400.0), "400.0");

    open.parameter (ParamIDs::spaceBPreDelaySync).setValueNotifyingHost (1.0f);
    EXPECT_EQ (knob.getTextFromValue (400.0), "1/8 D " + juce::String::charToString (0x00b7) + " 375.0 ms");
    EXPECT_STREQ (nameAt (noteValueIndexFor (static_cast<float> (knob.getValueFromText ("1/16")))), "1/16");
}

// Typed note values select their slice while sync is on (a note value not in the list, the nearest
// in length); a plain number is the setting itself, as it is with sync off. Every text the
// parameter shows reads back as the value it came from.
TEST (SyncedPreDelayText, TypedNoteValuesAndMillisecondsReadBack)
{
    ProcessorHarness harness;
    auto& processor = *harness.processor;

    EXPECT_FLOAT_EQ (settingForText (processor, ParamIDs::spaceAPreDelay, "123.4"), 123.4f);
    EXPECT_FLOAT_EQ (settingForText (processor, ParamIDs::spaceAPreDelay, "250 ms"), 250.0f);

    harness.set (ParamIDs::spaceAPreDelaySync, 1.0f);
    struct Case
    {
        const char* typed;
        const char* selects;
    };
    const Case cases[] = {
        { "1/8", "1/8" },          { "1/8 D", "1/8 D" },   { "1/8T", "1/8 T" },         { " 1/8 t ", "1/8 T" },
        { "1/16 dotted", "1/16 D" }, { "1/32 triplet", "1/32 T" }, { "1/4 D", "1/4 D" }, { "1/64", "1/64" },
        { "1/2", "1/4 D" },       { "1/128", "1/64" },    { "1/4 D \xc2\xb7 999.0 ms", "1/4 D" },
    };
    for (const auto& c : cases)
        EXPECT_STREQ (nameAt (noteValueIndexFor (settingForText (processor, ParamIDs::spaceAPreDelay, juce::String::fromUTF8 (c.typed)))),
                      c.selects)
            << c.typed;

    EXPECT_FLOAT_EQ (settingForText (processor, ParamIDs::spaceAPreDelay, "123.4"), 123.4f);

    for (int sync = 0; sync < 2; ++sync)
    {
        harness.set (ParamIDs::spaceAPreDelaySync, static_cast<float> (sync));
        for (float setting = 0.0f; setting <= 500.0f; setting += 12.5f)
        {
            const auto back = settingForText (processor, ParamIDs::spaceAPreDelay, textOf (processor, ParamIDs::spaceAPreDelay, setting));
            if (sync == 0)
            {
                EXPECT_FLOAT_EQ (back, setting);
            }
            else
            {
                EXPECT_EQ (noteValueIndexFor (back), noteValueIndexFor (setting)) << setting;
            }
        }
    }
}

// Sync on hears the note value: bit for bit what the same time typed in milliseconds gives (an
// eighth at 120 BPM is 250 ms, a sixteenth 125 ms).
TEST (SyncedPreDelay, ASyncedSpaceHearsItsNoteValueAsThatTimeInMilliseconds)
{
    const auto input = signals::noise (48000, 57);
    auto render = [&input] (bool sync, float settingA, float settingB)
    {
        ProcessorHarness harness (rate, 480);
        for (const auto* id : { &ParamIDs::lowEnabled, &ParamIDs::highEnabled, &ParamIDs::compEnabled })
            harness.set (*id, 0.0f);
        harness.set (ParamIDs::spaceAMix, 60.0f);
        harness.set (ParamIDs::spaceAType, 1.0f);
        harness.set (ParamIDs::spaceAPreDelay, settingA);
        harness.set (ParamIDs::spaceBMix, 40.0f);
        harness.set (ParamIDs::spaceBPreDelay, settingB);
        harness.set (ParamIDs::spaceAPreDelaySync, sync ? 1.0f : 0.0f);
        harness.set (ParamIDs::spaceBPreDelaySync, sync ? 1.0f : 0.0f);
        auto audio = input;
        harness.process (audio);
        return audio;
    };

    const auto synced = render (true, 340.0f, 230.0f);
    const auto typed = render (false, 250.0f, 125.0f);
    const auto unsynced = render (false, 340.0f, 230.0f);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ (synced.getSample (channel, i), typed.getSample (channel, i)) << channel << ", " << i;

    auto difference = synced;
    difference.addFrom (0, 0, unsynced, 0, 0, 48000, -1.0f);
    EXPECT_GT (difference.getMagnitude (0, 0, 48000), 0.01f) << "sync changes what is heard";
}

// The longest value at the slowest tempo, a dotted quarter at 20 BPM (4.5 s, 216000 samples): the
// line holds it, and the strip stays awake through the silence until it has come out.
TEST (SyncedPreDelay, TheLineHoldsADottedQuarterAt20BpmAndTheStripWaitsForIt)
{
    auto harness = syncedSpaceA (480.0f, 20.0f);
    auto audio = signals::impulse (216000 + shortestCombLeft + 2400);
    harness->process (audio);

    EXPECT_EQ (onsetAfterImpulse (audio), 216000 + shortestCombLeft);
    EXPECT_NEAR (audio.getSample (0, 216000 + shortestCombLeft), firstEchoAtFullMix, 1.0e-6f);
    EXPECT_FALSE (harness->processor->idling.load());
}

// Idling clears only as far back as the pre-delay reads (here a 1/64 at 20 BPM, within the 0.6 s
// every line clears); asked for a dotted quarter (4.5 s) after waking, the line gives silence, not
// the noise it held from before the strip idled.
TEST (SyncedPreDelay, ALongerNoteValueAfterIdlingReadsNothingFromBeforeIt)
{
    auto harness = syncedSpaceA (0.0f, 20.0f);
    auto noise = signals::noise (24000, 5);
    harness->process (noise);

    int silentSamples = 0;
    juce::AudioBuffer<float> silence (2, 512);
    while (! harness->processor->idling.load() && silentSamples < 30 * 48000)
    {
        silence.clear();
        harness->process (silence);
        silentSamples += 512;
    }
    ASSERT_TRUE (harness->processor->idling.load());
    ASSERT_LT (silentSamples + 24000, 216000) << "the noise must still lie within 4.5 s of the line's position";

    harness->set (ParamIDs::spaceAPreDelay, 480.0f);
    juce::AudioBuffer<float> after (2, 216000 + 4 * 48000);
    after.clear();
    harness->process (after);
    EXPECT_EQ (after.getMagnitude (0, after.getNumSamples()), 0.0f);
}

// Longer times asked after idling, in blocks of several sizes, one after another and back: the line
// gives nothing from before the strip idled, and an impulse played after the last change comes out
// once, at that time (at 20 BPM: 1/4 D 4.5 s, 1/8 D 2.25 s, 1/16 0.75 s).
TEST (SyncedPreDelay, LongerTimesAfterIdlingReadOnlyWhatCameAfter)
{
    struct Change
    {
        int atSample;
        float setting;
    };
    struct Case
    {
        const char* name;
        int blockSize;
        std::vector<Change> changes;
        int finalDelay;
    };
    const Case cases[] = {
        { "1/4 D in 32-sample blocks", 32, { { 0, 480.0f } }, 216000 },
        { "1/8 D, then 1/4 D a second later", 512, { { 0, 400.0f }, { 48000, 480.0f } }, 216000 },
        { "1/4 D, 1/16, then 1/4 D again", 64, { { 0, 480.0f }, { 24000, 249.9f }, { 72000, 480.0f } }, 216000 },
        { "1/4 D, then 1/8 D", 100, { { 0, 480.0f }, { 30000, 400.0f } }, 108000 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto harness = syncedSpaceA (0.0f, 20.0f);
        auto noise = signals::noise (24000, 5);
        harness->process (noise);

        juce::AudioBuffer<float> silence (2, 512);
        for (int waited = 0; ! harness->processor->idling.load() && waited < 30 * 48000; waited += 512)
        {
            silence.clear();
            harness->process (silence);
        }
        ASSERT_TRUE (harness->processor->idling.load());

        const auto impulseAt = c.changes.back().atSample + 12000;
        const auto onset = impulseAt + c.finalDelay + shortestCombLeft;
        juce::AudioBuffer<float> after (2, onset + 2400);
        after.clear();
        after.setSample (0, impulseAt, 1.0f);
        after.setSample (1, impulseAt, 1.0f);

        for (int start = 0; start < after.getNumSamples(); start += c.blockSize)
        {
            for (const auto& change : c.changes)
                if (change.atSample >= start && change.atSample < start + c.blockSize)
                    harness->set (ParamIDs::spaceAPreDelay, change.setting);

            const auto length = juce::jmin (c.blockSize, after.getNumSamples() - start);
            juce::AudioBuffer<float> block (after.getArrayOfWritePointers(), 2, start, length);
            harness->process (block, length);
        }

        for (int channel = 0; channel < 2; ++channel)
        {
            EXPECT_EQ (after.getMagnitude (channel, 0, impulseAt), 0.0f);
            EXPECT_EQ (after.getMagnitude (channel, impulseAt + 1, onset - impulseAt - 1), 0.0f);
        }
        EXPECT_NEAR (after.getSample (0, onset), firstEchoAtFullMix, 1.0e-6f);
    }
}

// Preparing never asks the host's play head (JUCE allows it only while processing); processing does.
TEST (SyncedPreDelay, OnlyProcessingAsksThePlayHead)
{
    struct CountingPlayHead : juce::AudioPlayHead
    {
        mutable int asked = 0;
        juce::Optional<PositionInfo> getPosition() const override
        {
            ++asked;
            PositionInfo position;
            position.setBpm (90.0);
            return position;
        }
    };

    CountingPlayHead playHead;
    VelbrinLumbraProcessor processor;
    processor.setPlayHead (&playHead);
    processor.setPlayConfigDetails (2, 2, rate, 512);
    processor.prepareToPlay (rate, 512);
    EXPECT_EQ (playHead.asked, 0);

    juce::AudioBuffer<float> block (2, 512);
    block.clear();
    juce::MidiBuffer midi;
    processor.processBlock (block, midi);
    EXPECT_GE (playHead.asked, 1);

    processor.prepareToPlay (rate, 512);
    processor.setPlayHead (nullptr);
    EXPECT_EQ (processor.syncView->tempo(), 90.0) << "the last tempo seen stays in force";
}

// A state or a preset saved with the sync switches on restores them, and the restored strip sounds
// synced: bit for bit the instance it was saved from, the return arriving a dotted eighth at
// 100 BPM (450 ms, 21600 samples) after the impulse.
TEST (SyncedPreDelay, StatesAndPresetsWithSyncOnRestoreTheSyncedSound)
{
    auto source = syncedSpaceA (400.0f, 100.0f);
    source->processor->hostSyncEnabled = false;
    source->set (ParamIDs::spaceBPreDelaySync, 1.0f);
    source->set (ParamIDs::spaceBPreDelay, 100.0f);

    juce::MemoryBlock state;
    source->processor->getStateInformation (state);
    const auto presetBlock = presetStateBlock (currentSetting (*source->processor, "Synced"));
    juce::String error;
    const auto preset = presetFromStateBlock (presetBlock.getData(), presetBlock.getSize(), source->processor->parameters, error);
    ASSERT_TRUE (preset.has_value()) << error;

    auto expected = signals::impulse (21600 + shortestCombLeft + 512);
    source->process (expected);
    ASSERT_EQ (onsetAfterImpulse (expected), 21600 + shortestCombLeft);

    for (int viaPreset = 0; viaPreset < 2; ++viaPreset)
    {
        SCOPED_TRACE (viaPreset ? "preset" : "state");
        ProcessorHarness restored (rate, 512);
        if (viaPreset)
        {
            restored.processor->setManualBpm (100.0f); // a preset leaves the tempo as it is
            restored.processor->hostSyncEnabled = false;
            loadPreset (*restored.processor, *preset);
        }
        else
        {
            restored.processor->setStateInformation (state.getData(), static_cast<int> (state.getSize()));
        }

        EXPECT_EQ (restored.get (ParamIDs::spaceAPreDelaySync), 1.0f);
        EXPECT_EQ (restored.get (ParamIDs::spaceBPreDelaySync), 1.0f);
        EXPECT_TRUE (textOf (*restored.processor, ParamIDs::spaceAPreDelay, restored.get (ParamIDs::spaceAPreDelay))
                         .startsWith ("1/8 D"));

        restored.settle();
        auto audio = signals::impulse (expected.getNumSamples());
        restored.process (audio);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < audio.getNumSamples(); ++i)
                ASSERT_EQ (audio.getSample (channel, i), expected.getSample (channel, i)) << channel << ", " << i;
    }
}

// Settings that differ in any one field, nested or new, are not the same to the idle watch.
TEST (SyncedPreDelay, SettingsDifferingInAnyFieldAreNotTheSame)
{
    const std::function<void (ChainSettings&)> changes[] = {
        [] (ChainSettings& s) { s.inputGain = 0.5f; },
        [] (ChainSettings& s) { s.tone.low.enabled = false; },
        [] (ChainSettings& s) { s.tone.high.cornerHz = 5000.0f; },
        [] (ChainSettings& s) { s.tone.high.gainDb = 1.0f; },
        [] (ChainSettings& s) { s.dynamics.character = 2; },
        [] (ChainSettings& s) { s.dynamics.amount = 0.5f; },
        [] (ChainSettings& s) { s.spaceA.type = 1; },
        [] (ChainSettings& s) { s.spaceA.preDelayMs = 12.0f; },
        [] (ChainSettings& s) { s.spaceA.preDelaySync = true; },
        [] (ChainSettings& s) { s.spaceB.preDelaySync = true; },
        [] (ChainSettings& s) { s.spaceB.bpm = 121.0; },
        [] (ChainSettings& s) { s.spaceB.mix = 0.3f; },
        [] (ChainSettings& s) { s.echo.bpm = 99.0; },
        [] (ChainSettings& s) { s.echo.feedback = 0.1f; },
        [] (ChainSettings& s) { s.blend = 0.5f; },
        [] (ChainSettings& s) { s.outputGain = 2.0f; },
        [] (ChainSettings& s) { s.bypass = true; },
    };

    const ChainSettings reference;
    EXPECT_TRUE (sameSettings (reference, ChainSettings {}));
    for (size_t i = 0; i < std::size (changes); ++i)
    {
        auto changed = reference;
        changes[i] (changed);
        EXPECT_FALSE (sameSettings (changed, reference)) << "change " << i;
    }
}
