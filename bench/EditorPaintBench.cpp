// What drawing the editor costs with JUCE's software renderer: a full repaint of the window
// (opening, resizing, uncovering it) at its default and a larger size, and the part the 33 ms
// refresh repaints on every tick (both ladder meters, the VU arc and the bypass switch).

#include "editor/EditorLayout.h"
#include "editor/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

namespace
{
struct OpenWindow
{
    OpenWindow (int width, int height, float levelDb)
    {
        processor.inputLevelDb = levelDb;
        processor.outputLevelDb = levelDb;
        editor.reset (dynamic_cast<VelbrinLumbraEditor*> (processor.createEditorIfNeeded()));
        editor->stopTimer();
        editor->setSize (width, height);
        editor->timerCallback();
    }

    // Paints what the refresh invalidates, clipped as JUCE clips a repaint of those areas.
    void paintTickAreas (juce::Graphics& g)
    {
        const auto layout = computeEditorLayout (editor->getLocalBounds());
        juce::RectangleList<int> dirty;
        for (const auto& area : { layout.input.meter, layout.output.meter, layout.vuArc, layout.bypassButton })
            dirty.add (area);
        g.reduceClipRegion (dirty);
        editor->paintEntireComponent (g, false);
    }

    VelbrinLumbraProcessor processor;
    std::unique_ptr<VelbrinLumbraEditor> editor;
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

void tickRepaint (benchmark::State& state)
{
    OpenWindow window (1180, 560, -6.0f);
    juce::Image image (juce::Image::RGB, 1180, 560, true);

    for (auto _ : state)
    {
        juce::Graphics g (image);
        window.paintTickAreas (g);
    }
}
} // namespace

// Arguments: width, height, meter level in dB (-100: dark, -6: most segments lit).
BENCHMARK (fullRepaint)->Args ({ 1180, 560, -100 })->Args ({ 1180, 560, -6 })->Args ({ 1400, 700, -6 })
    ->Unit (benchmark::kMillisecond)->MinTime (2.0);
BENCHMARK (tickRepaint)->Unit (benchmark::kMillisecond)->MinTime (2.0);

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
