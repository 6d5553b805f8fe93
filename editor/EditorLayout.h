#pragma once

#include <juce_graphics/juce_graphics.h>

// Where every part of the editor goes for a given window size. Pure arithmetic on integer
// rectangles, so the window can be checked without building it.

// One module column: caption at the bottom, LED on top, then (Space A, Space B and Echo only) a
// small knob with its caption, the character selector and the fader filling the rest.
struct ModuleBounds
{
    juce::Rectangle<int> caption, ledButton, knob, knobCaption, selector, fader;
};

// The input and output columns: caption at the bottom, a ladder meter beside the fader.
struct StripBounds
{
    juce::Rectangle<int> caption, meter, fader;
};

struct TempoBounds
{
    juce::Rectangle<int> tapButton, bpmLabel, syncButton, blendLabel, blendSlider;
};

struct EditorLayout
{
    // The panels the faceplate paints.
    juce::Rectangle<int> headerArea, inputArea, modulesArea, tempoArea, outputArea, spaceAArea, spaceBArea, titleArea;

    juce::Rectangle<int> bypassButton, vuArc;

    // The compressor's gain-reduction bar, in the gap left of the Dynamics fader.
    juce::Rectangle<int> gainReductionMeter;

    // In the header's free space, right of the wordmark and clear of the VU arc.
    juce::Rectangle<int> presetBar;

    // The A/B slots and undo/redo, just left of the preset bar.
    juce::Rectangle<int> headerActions;
    StripBounds input, output;
    ModuleBounds low, high, dynamics, spaceA, spaceB, echo;
    TempoBounds tempo;

    // Added into room the modules leave free: each pre-delay knob's SYNC switch right of the knob,
    // and the Oversample choice right of the Dynamics LED, in the LED's row.
    juce::Rectangle<int> spaceAPreDelaySync, spaceBPreDelaySync, oversample;
};

EditorLayout computeEditorLayout (juce::Rectangle<int> localBounds);

// A module without a knob (Low, High, Dynamics), from its slice of the modules area.
ModuleBounds layoutModule (juce::Rectangle<int> area);

// A module with a knob (Space A, Space B, Echo), from its slice of the modules area.
ModuleBounds layoutSpaceModule (juce::Rectangle<int> area);

// A small switch right of a module's knob, centred on it and kept inside the module.
juce::Rectangle<int> switchBesideKnob (const ModuleBounds& module);

// A compact choice right of a module's LED, as tall as the LED and kept inside the module.
juce::Rectangle<int> choiceBesideLed (const ModuleBounds& module);

// A thin bar just left of a fader, as tall as the fader's travel (the groove its cap runs in).
juce::Rectangle<int> gainReductionMeterBeside (juce::Rectangle<int> fader);

// The line of small text along the bottom edge.
juce::Rectangle<float> footerArea (juce::Rectangle<int> localBounds);
