#include "editor/EditorLayout.h"

namespace
{
constexpr int sideColumnWidth = 108;
constexpr int columnGap = 8;
constexpr int captionHeight = 20;
constexpr int ledSize = 18;
constexpr int knobSize = 46;
constexpr int meterWidth = 16;
constexpr int moduleCount = 6;

// A fader's travel: its value box (18 high) below, and the cap's half-height (12, the framework's
// thumb radius) kept clear at both ends.
constexpr int faderValueBoxHeight = 18;
constexpr int faderThumbIndent = 12;
constexpr int gainReductionWidth = 4;
constexpr int gainReductionGap = 1;

// The controls added beside a knob or an LED: a gap from it (clear of the LED's ring), and the
// most they take.
constexpr int knobSwitchGap = 3;
constexpr int knobSwitchWidth = 34;
constexpr int knobSwitchHeight = 30;
constexpr int ledChoiceGap = 6;
constexpr int ledChoiceWidth = 44;

// A side column pinned to the right edge keeps its full width even when the window is too narrow
// for it, so it overlaps its left neighbour instead of collapsing.
juce::Rectangle<int> takeRightColumn (juce::Rectangle<int>& body)
{
    const juce::Rectangle<int> column (body.getRight() - sideColumnWidth, body.getY(), sideColumnWidth,
                                       body.getHeight());
    body.removeFromRight (sideColumnWidth + columnGap);
    return column;
}

StripBounds layoutStrip (juce::Rectangle<int> column)
{
    auto area = column.reduced (8, 8);
    StripBounds strip;
    strip.caption = area.removeFromBottom (captionHeight);
    strip.meter = area.removeFromLeft (meterWidth);
    strip.fader = area;
    return strip;
}

TempoBounds layoutTempo (juce::Rectangle<int> column)
{
    auto area = column.reduced (8, 8);
    TempoBounds tempo;
    tempo.tapButton = area.removeFromTop (24);
    tempo.bpmLabel = area.removeFromTop (16);
    tempo.syncButton = area.removeFromTop (18);
    tempo.blendLabel = area.removeFromBottom (captionHeight);
    tempo.blendSlider = area;
    return tempo;
}

// Right-aligned in the title area, starting no closer than 16 pixels to the wordmark's box (the
// box the editor draws the wordmark into, right of the square logo).
juce::Rectangle<int> layoutPresetBar (juce::Rectangle<int> title)
{
    constexpr int width = 300, height = 26, gapToWordmark = 16;
    auto afterLogo = title;
    afterLogo.removeFromLeft (title.getHeight() + 8);
    const auto wordmarkRight = afterLogo.withSizeKeepingCentre (juce::jmin (200, afterLogo.getWidth()), title.getHeight()).getRight();

    auto free = title.withLeft (juce::jmin (title.getRight(), wordmarkRight + gapToWordmark));
    const auto bar = free.removeFromRight (width);
    return bar.withSizeKeepingCentre (bar.getWidth(), juce::jmin (height, bar.getHeight()));
}

// Four 22-pixel cells (A, B, undo, redo) with their gaps, ending 6 pixels left of the bar.
juce::Rectangle<int> headerActionsBeside (juce::Rectangle<int> presetBar)
{
    constexpr int cell = 22, width = 4 * cell + 2 + 8 + 2, gap = 6;
    if (presetBar.isEmpty())
        return {};

    return { presetBar.getX() - gap - width, presetBar.getCentreY() - cell / 2, width, cell };
}

void layoutHeader (EditorLayout& layout)
{
    auto hdr = layout.headerArea.reduced (10, 8);
    layout.bypassButton = hdr.removeFromRight (110);
    layout.vuArc = hdr.removeFromRight (96).reduced (2, 2);
    hdr.removeFromRight (10);
    layout.titleArea = hdr;
    layout.presetBar = layoutPresetBar (layout.titleArea);
    layout.headerActions = headerActionsBeside (layout.presetBar);
}

void layoutModules (EditorLayout& layout)
{
    auto area = layout.modulesArea.reduced (8, 8);
    const auto columnWidth = area.getWidth() / moduleCount;

    layout.low = layoutModule (area.removeFromLeft (columnWidth));
    layout.high = layoutModule (area.removeFromLeft (columnWidth));
    layout.dynamics = layoutModule (area.removeFromLeft (columnWidth));
    layout.spaceAArea = area.removeFromLeft (columnWidth);
    layout.spaceA = layoutSpaceModule (layout.spaceAArea);
    layout.spaceBArea = area.removeFromLeft (columnWidth);
    layout.spaceB = layoutSpaceModule (layout.spaceBArea);
    layout.echo = layoutSpaceModule (area); // absorbs the remainder of the division
    layout.gainReductionMeter = gainReductionMeterBeside (layout.dynamics.fader);

    layout.spaceAPreDelaySync = switchBesideKnob (layout.spaceA);
    layout.spaceBPreDelaySync = switchBesideKnob (layout.spaceB);
    layout.oversample = choiceBesideLed (layout.dynamics);
}
} // namespace

ModuleBounds layoutModule (juce::Rectangle<int> area)
{
    area = area.reduced (4, 4);
    ModuleBounds module;
    module.caption = area.removeFromBottom (captionHeight);
    module.ledButton = area.removeFromTop (22).withSizeKeepingCentre (ledSize, ledSize);
    module.selector = area.removeFromTop (48);
    module.fader = area;
    return module;
}

ModuleBounds layoutSpaceModule (juce::Rectangle<int> area)
{
    area = area.reduced (4, 4);
    ModuleBounds module;
    module.caption = area.removeFromBottom (captionHeight);
    module.ledButton = area.removeFromTop (22).withSizeKeepingCentre (ledSize, ledSize);
    module.knob = area.removeFromTop (52).withSizeKeepingCentre (knobSize, knobSize);
    module.knobCaption = area.removeFromTop (14);
    module.selector = area.removeFromTop (48);
    module.fader = area;
    return module;
}

EditorLayout computeEditorLayout (juce::Rectangle<int> localBounds)
{
    EditorLayout layout;
    auto body = localBounds.reduced (22, 18);

    layout.headerArea = body.removeFromTop (54);
    body.removeFromTop (10);
    body.removeFromBottom (8);
    layoutHeader (layout);

    layout.inputArea = body.removeFromLeft (sideColumnWidth);
    body.removeFromLeft (columnGap);
    layout.outputArea = takeRightColumn (body);
    layout.tempoArea = takeRightColumn (body);
    layout.modulesArea = body;

    layout.input = layoutStrip (layout.inputArea);
    layoutModules (layout);
    layout.tempo = layoutTempo (layout.tempoArea);
    layout.output = layoutStrip (layout.outputArea);
    return layout;
}

// The caption spans the module's full inner width: its right edge is the module's.
juce::Rectangle<int> switchBesideKnob (const ModuleBounds& module)
{
    const auto left = module.knob.getRight() + knobSwitchGap;
    const auto width = juce::jlimit (0, knobSwitchWidth, module.caption.getRight() - left);
    return { left, module.knob.getCentreY() - knobSwitchHeight / 2, width, knobSwitchHeight };
}

juce::Rectangle<int> choiceBesideLed (const ModuleBounds& module)
{
    const auto left = module.ledButton.getRight() + ledChoiceGap;
    const auto width = juce::jlimit (0, ledChoiceWidth, module.caption.getRight() - left);
    return { left, module.ledButton.getY(), width, module.ledButton.getHeight() };
}

juce::Rectangle<int> gainReductionMeterBeside (juce::Rectangle<int> fader)
{
    const auto travel = juce::jmax (0, fader.getHeight() - faderValueBoxHeight - 2 * faderThumbIndent);
    return { fader.getX() - gainReductionGap - gainReductionWidth, fader.getY() + faderThumbIndent, gainReductionWidth,
             travel };
}

juce::Rectangle<float> footerArea (juce::Rectangle<int> localBounds)
{
    return localBounds.removeFromBottom (22).reduced (16, 3).toFloat();
}
