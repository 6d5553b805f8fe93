// What drawing the editor costs with JUCE's software renderer: a full repaint of the window
// (opening, uncovering it) at its default and a larger size, a resize (the faceplate is drawn
// anew), and the 33 ms refresh as a window runs it: the tick, then a paint clipped to the areas
// the tick asked to repaint, with every meter moving or with nothing changed.

#include "editor/PluginEditor.h"
#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"
#include "tests/support/RepaintRecorder.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

namespace
{
struct OpenWindow
{
    OpenWindow (int width, int height, float levelDb)
    {
        setLevels (levelDb, 6.0f);
        editor.reset (dynamic_cast<VelbrinLumbraEditor*> (processor.createEditorIfNeeded()));
        editor->stopTimer();
        editor->setSize (width, height);
        recorder = &RepaintRecorder::attachTo (*editor);
        editor->timerCallback();
        recorder->take();
    }

    void setLevels (float levelDb, float reductionDb)
    {
        processor.inputLevelDb = levelDb;
        processor.outputLevelDb = levelDb;
        processor.gainReductionDb = reductionDb;
    }

    void setBypass (bool on)
    {
        processor.parameters.getParameter (ParamIDs::bypass)->setValueNotifyingHost (on ? 1.0f : 0.0f);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
        editor->timerCallback();
        recorder->take();
    }

    // One refresh: the timer, then a paint of what it invalidated. Returns the pixels repainted.
    int tick (juce::Image& image)
    {
        editor->timerCallback();
        const auto dirty = recorder->take();
        if (dirty.isEmpty())
            return 0;

        juce::Graphics g (image);
        g.reduceClipRegion (dirty);
        editor->paintEntireComponent (g, false);

        int pixels = 0;
        for (const auto& area : dirty)
            pixels += area.getWidth() * area.getHeight();
        return pixels;
    }

    VelbrinLumbraProcessor processor;
    std::unique_ptr<VelbrinLumbraEditor> editor;
    RepaintRecorder* recorder = nullptr;
};

void fullRepaint (benchmark::State& state)
{
    const auto width = static_cast<int> (state.range (0));
    const auto height = static_cast<int> (state.range (1));
    OpenWindow window (width, height, static_cast<float> (state.range (2)));
    juce::Image image (juce::Image::RGB, width, height, true);

    for (auto _ : state)
    {
        juce::Graphics g (image);
        window.editor->paintEntireComponent (g, false);
    }
}

// The editor's own paint alone, without its children: the cached faceplate's blit.
void faceplateBlit (benchmark::State& state)
{
    OpenWindow window (1180, 560, -6.0f);
    juce::Image image (juce::Image::RGB, 1180, 560, true);

    for (auto _ : state)
    {
        juce::Graphics g (image);
        window.editor->paint (g);
    }
}

// Each iteration changes the size, so the faceplate is drawn into its cache again.
void resizeAndRepaint (benchmark::State& state)
{
    OpenWindow window (1180, 560, -6.0f);
    juce::Image image (juce::Image::RGB, 1181, 561, true);
    auto wide = false;

    for (auto _ : state)
    {
        wide = ! wide;
        window.editor->setSize (wide ? 1181 : 1180, wide ? 561 : 560);
        juce::Graphics g (image);
        window.editor->paintEntireComponent (g, false);
    }
}

// Both ladders, the VU needle and the gain-reduction bar change on every tick; the chain runs, so
// the bypass indicator pulses too.
void tickEveryMeterMoving (benchmark::State& state)
{
    OpenWindow window (1180, 560, -6.0f);
    window.setBypass (false);
    juce::Image image (juce::Image::RGB, 1180, 560, true);
    auto loud = false;
    int pixels = 0;

    for (auto _ : state)
    {
        loud = ! loud;
        window.setLevels (loud ? -6.0f : -30.0f, loud ? 12.0f : 3.0f);
        pixels = window.tick (image);
    }
    state.counters["pixels"] = pixels;
}

// Levels, choices and tempo as they were, and the bypass indicator steady (bypass on).
void tickNothingChanged (benchmark::State& state)
{
    OpenWindow window (1180, 560, -6.0f);
    window.setBypass (true);
    juce::Image image (juce::Image::RGB, 1180, 560, true);
    int pixels = 0;

    for (auto _ : state)
        pixels += window.tick (image);
    state.counters["pixels"] = pixels;
}
} // namespace

// Arguments: width, height, meter level in dB (-100: dark, -6: most segments lit).
BENCHMARK (fullRepaint)->Args ({ 1180, 560, -100 })->Args ({ 1180, 560, -6 })->Args ({ 1400, 700, -6 })
    ->Unit (benchmark::kMillisecond)->MinTime (2.0);
BENCHMARK (faceplateBlit)->Unit (benchmark::kMillisecond)->MinTime (1.0);
BENCHMARK (resizeAndRepaint)->Unit (benchmark::kMillisecond)->MinTime (2.0);
BENCHMARK (tickEveryMeterMoving)->Unit (benchmark::kMillisecond)->MinTime (2.0);
BENCHMARK (tickNothingChanged)->Unit (benchmark::kMillisecond)->MinTime (2.0);

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
