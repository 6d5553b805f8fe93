// Opening and closing the window, many times over, leaves the session exactly as it was.

#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
// Counts every parameter change the host would hear about.
struct HostListener : public juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override { ++changes; }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int) override { ++gestures; }

    int changes = 0;
    int gestures = 0;
};

// Moves every parameter off its default so that a reset or a stray write would show.
void moveEveryParameter (VelbrinLumbraProcessor& processor)
{
    auto proportion = 0.13f;
    for (auto* parameter : processor.getParameters())
    {
        parameter->setValueNotifyingHost (proportion);
        proportion = std::fmod (proportion + 0.29f, 1.0f);
    }
    processor.setManualBpm (97.3f);
    processor.hostSyncEnabled = false;
}

std::vector<float> valuesOf (VelbrinLumbraProcessor& processor)
{
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back (parameter->getValue());
    values.push_back (processor.manualBpm.load());
    values.push_back (processor.hostSyncEnabled.load() ? 1.0f : 0.0f);
    return values;
}
} // namespace

TEST (EditorLifecycle, OpeningAndClosingFiftyTimesChangesNothingAndTellsTheHostNothing)
{
    VelbrinLumbraProcessor processor;
    moveEveryParameter (processor);
    const auto before = valuesOf (processor);
    juce::MemoryBlock stateBefore;
    processor.getStateInformation (stateBefore);

    HostListener host;
    processor.addListener (&host);

    for (int round = 0; round < 50; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        ASSERT_EQ (processor.getActiveEditor(), editor.get());
        if (round % 10 == 0)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (80); // a few real timer ticks
        editor.reset();
        ASSERT_EQ (processor.getActiveEditor(), nullptr);
    }

    processor.removeListener (&host);
    EXPECT_EQ (valuesOf (processor), before);
    EXPECT_EQ (host.changes, 0);
    EXPECT_EQ (host.gestures, 0);

    juce::MemoryBlock stateAfter;
    processor.getStateInformation (stateAfter);
    EXPECT_EQ (stateAfter, stateBefore);
}
