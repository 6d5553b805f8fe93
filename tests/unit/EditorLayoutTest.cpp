// The window's geometry: the default layout element by element, and what holds when the host
// makes the window larger or much smaller.

#include "editor/EditorLayout.h"
#include "tests/support/EditorProbe.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace
{
using Rect = juce::Rectangle<int>;
using editorprobe::OpenEditor;

struct Placement
{
    const char* element;
    Rect bounds;
};

// The panels the faceplate paints are not components: they come from the layout itself.
std::optional<Rect> panelBounds (const EditorLayout& layout, const juce::String& name)
{
    const std::pair<const char*, Rect> panels[] = {
        { "headerArea", layout.headerArea }, { "titleArea", layout.titleArea },   { "inputArea", layout.inputArea },
        { "modulesArea", layout.modulesArea }, { "tempoArea", layout.tempoArea }, { "outputArea", layout.outputArea },
        { "spaceAArea", layout.spaceAArea },  { "spaceBArea", layout.spaceBArea },
    };
    for (const auto& [panel, bounds] : panels)
        if (name == panel)
            return bounds;
    return std::nullopt;
}

Rect boundsOf (OpenEditor& open, const EditorLayout& layout, const juce::String& name)
{
    if (const auto panel = panelBounds (layout, name))
        return *panel;
    return editorprobe::child (*open.editor, name).getBounds();
}

const Placement defaultPlacements[] = {
    { "headerArea", { 22, 18, 1136, 54 } },        { "titleArea", { 32, 26, 900, 38 } },
    { "bypassButton", { 1038, 26, 110, 38 } },     { "vuArc", { 944, 28, 92, 34 } },
    { "inputArea", { 22, 82, 108, 452 } },         { "modulesArea", { 138, 82, 788, 452 } },
    { "tempoArea", { 934, 82, 108, 452 } },        { "outputArea", { 1050, 82, 108, 452 } },
    { "inputLabel", { 30, 506, 92, 20 } },         { "inputMeter", { 30, 90, 16, 416 } },
    { "inputSlider", { 46, 90, 76, 416 } },        { "lowLabel", { 150, 502, 120, 20 } },
    { "lowEnableButton", { 201, 96, 18, 18 } },    { "lowModeSelector", { 150, 116, 120, 48 } },
    { "lowSlider", { 150, 164, 120, 338 } },       { "highLabel", { 278, 502, 120, 20 } },
    { "highEnableButton", { 329, 96, 18, 18 } },   { "highModeSelector", { 278, 116, 120, 48 } },
    { "highSlider", { 278, 164, 120, 338 } },      { "dynamicsLabel", { 406, 502, 120, 20 } },
    { "dynamicsEnableButton", { 457, 96, 18, 18 } }, { "dynamicsModeSelector", { 406, 116, 120, 48 } },
    { "dynamicsSlider", { 406, 164, 120, 338 } },  { "spaceAArea", { 530, 90, 128, 436 } },
    { "spaceALabel", { 534, 502, 120, 20 } },      { "spaceAEnableButton", { 585, 96, 18, 18 } },
    { "spaceAPreDelayKnob", { 571, 119, 46, 46 } }, { "spaceAPreDelayLabel", { 534, 168, 120, 14 } },
    { "spaceATypeSelector", { 534, 182, 120, 48 } }, { "spaceASlider", { 534, 230, 120, 272 } },
    { "spaceBArea", { 658, 90, 128, 436 } },       { "spaceBLabel", { 662, 502, 120, 20 } },
    { "spaceBEnableButton", { 713, 96, 18, 18 } }, { "spaceBPreDelayKnob", { 699, 119, 46, 46 } },
    { "spaceBPreDelayLabel", { 662, 168, 120, 14 } }, { "spaceBTypeSelector", { 662, 182, 120, 48 } },
    { "spaceBSlider", { 662, 230, 120, 272 } },    { "echoLabel", { 790, 502, 124, 20 } },
    { "echoEnableButton", { 843, 96, 18, 18 } },   { "echoFeedbackKnob", { 829, 119, 46, 46 } },
    { "echoFeedbackLabel", { 790, 168, 124, 14 } }, { "echoDivisionSelector", { 790, 182, 124, 48 } },
    { "echoSlider", { 790, 230, 124, 272 } },      { "tapButton", { 942, 90, 92, 24 } },
    { "bpmLabel", { 942, 114, 92, 16 } },          { "syncButton", { 942, 130, 92, 18 } },
    { "blendLabel", { 942, 506, 92, 20 } },        { "blendSlider", { 942, 148, 92, 358 } },
    { "outputLabel", { 1058, 506, 92, 20 } },      { "outputMeter", { 1058, 90, 16, 416 } },
    { "outputSlider", { 1074, 90, 76, 416 } },     { "gainReductionMeter", { 401, 176, 4, 296 } },
};

const char* const ledButtons[] = { "lowEnableButton",    "highEnableButton",   "dynamicsEnableButton",
                                   "spaceAEnableButton", "spaceBEnableButton", "echoEnableButton" };
const char* const knobs[] = { "spaceAPreDelayKnob", "spaceBPreDelayKnob", "echoFeedbackKnob" };
} // namespace

TEST (EditorLayout, OpensAt1180x560WithEveryElementWhereTheLayoutTablePutsIt)
{
    OpenEditor open;
    ASSERT_EQ (open.editor->getBounds(), Rect (0, 0, 1180, 560));
    const auto layout = computeEditorLayout (open.editor->getLocalBounds());

    for (const auto& [element, expected] : defaultPlacements)
        EXPECT_EQ (boundsOf (open, layout, element), expected) << element;

    EXPECT_EQ (footerArea ({ 0, 0, 1180, 560 }), juce::Rectangle<float> (16, 541, 1148, 16));
}

TEST (EditorLayout, StacksItsChildrenBackToFrontInConstructionOrderWithTheCaptionsTheyShow)
{
    OpenEditor open;
    const std::pair<const char*, const char*> captions[] = {
        { "inputLabel", "[ INPUT ]" },       { "lowLabel", "[ LOW ]" },         { "highLabel", "[ HIGH ]" },
        { "dynamicsLabel", "[ DYNAMICS ]" }, { "spaceALabel", "[ SPACE A ]" },  { "spaceBLabel", "[ SPACE B ]" },
        { "echoLabel", "[ ECHO ]" },         { "blendLabel", "[ BLEND ]" },     { "outputLabel", "[ OUTPUT ]" },
        { "spaceAPreDelayLabel", "PRE-DELAY" }, { "spaceBPreDelayLabel", "PRE-DELAY" },
        { "echoFeedbackLabel", "FEEDBACK" },
    };
    for (const auto& [label, text] : captions)
        EXPECT_EQ (open.get<juce::Label> (label).getText(), text) << label;

    const std::pair<const char*, juce::StringArray> items[] = {
        { "lowModeSelector", { "Warm", "Deep", "Air-Cut" } },  { "highModeSelector", { "Silk", "Sheen", "Crisp" } },
        { "dynamicsModeSelector", { "Glue", "Snap", "Squash" } }, { "spaceATypeSelector", { "Room", "Hall", "Cathedral" } },
        { "spaceBTypeSelector", { "Close", "Wide", "Vast" } }, { "echoDivisionSelector", { "Slap", "8th", "Quarter" } },
    };
    for (const auto& [selector, expected] : items)
        EXPECT_EQ (open.get<VelbriLedStackSelector> (selector).getItems(), expected) << selector;

    for (const auto* fader : { "inputSlider", "lowSlider", "echoSlider", "blendSlider", "outputSlider" })
    {
        auto& slider = open.get<juce::Slider> (fader);
        EXPECT_EQ (slider.getSliderStyle(), juce::Slider::LinearVertical) << fader;
        EXPECT_EQ (slider.getTextBoxPosition(), juce::Slider::TextBoxBelow) << fader;
        EXPECT_TRUE (slider.isTextBoxEditable()) << fader;
    }
    for (const auto* knob : knobs)
    {
        EXPECT_EQ (open.get<juce::Slider> (knob).getSliderStyle(), juce::Slider::RotaryHorizontalVerticalDrag);
        EXPECT_EQ (open.get<juce::Slider> (knob).getTextBoxPosition(), juce::Slider::NoTextBox);
    }
    for (const auto* led : ledButtons)
        open.get<VelbriLedButton> (led);

    EXPECT_EQ (open.get<juce::TextButton> ("tapButton").getButtonText(), "TAP");
    EXPECT_EQ (open.get<juce::ToggleButton> ("syncButton").getButtonText(), "SYNC");
    EXPECT_EQ (open.get<juce::ToggleButton> ("bypassButton").getButtonText(), "");
    open.get<VelbriLadderMeter> ("inputMeter");
    open.get<VelbriLadderMeter> ("outputMeter");
    open.get<VelbriVuArc> ("vuArc");
    open.get<VelbriGainReductionMeter> ("gainReductionMeter");

    // Every one of them is showing, and nothing the editor adds later covers them except the
    // resize corner and the (hidden) tooltip window.
    for (const auto* name : editorprobe::stackingOrder)
        EXPECT_TRUE (editorprobe::child (*open.editor, name).isVisible()) << name;
}

TEST (EditorLayout, At1400x700TheSideColumnsKeepTheirWidthAndTheModulesTakeTheRest)
{
    OpenEditor open;
    open.editor->setSize (1400, 700);
    const auto layout = computeEditorLayout (open.editor->getLocalBounds());

    for (const auto& column : { layout.inputArea, layout.tempoArea, layout.outputArea })
        EXPECT_EQ (column.getWidth(), 108);

    const std::pair<const char*, int> faderWidths[] = {
        { "lowSlider", 157 },    { "highSlider", 157 },   { "dynamicsSlider", 157 },
        { "spaceASlider", 157 }, { "spaceBSlider", 157 }, { "echoSlider", 159 },
    };
    for (const auto& [fader, width] : faderWidths)
        EXPECT_EQ (open.get<juce::Slider> (fader).getWidth(), width) << fader;

    EXPECT_EQ (layout.spaceAArea.getWidth(), 165);
    const auto& low = open.get<juce::Slider> ("lowSlider");
    EXPECT_EQ (low.getY(), 164);
    EXPECT_EQ (low.getBottom(), 642);

    const std::pair<const char*, Rect> moduleSlices[] = {
        { "lowEnableButton", { 146, 90, 165, 576 } },  { "highEnableButton", { 311, 90, 165, 576 } },
        { "echoEnableButton", { 971, 90, 167, 576 } },
    };
    for (const auto& [led, slice] : moduleSlices)
    {
        const auto bounds = open.get<VelbriLedButton> (led).getBounds();
        EXPECT_EQ (bounds.getWidth(), 18) << led;
        EXPECT_EQ (bounds.getHeight(), 18) << led;
        EXPECT_EQ (bounds.getCentreX(), slice.getCentreX()) << led;
    }
}

TEST (EditorLayout, At300x200TheSideColumnsOverlapAndTheModulesAreEmpty)
{
    OpenEditor open;
    open.editor->setSize (300, 200);
    const auto layout = computeEditorLayout (open.editor->getLocalBounds());

    EXPECT_EQ (layout.tempoArea.getX(), 54);
    EXPECT_EQ (layout.outputArea.getX(), 170);
    for (const auto& column : { layout.inputArea, layout.tempoArea, layout.outputArea })
        EXPECT_EQ (column.getWidth(), 108);
    EXPECT_EQ (layout.modulesArea.getWidth(), 0);
    EXPECT_LT (layout.tempoArea.getX(), layout.inputArea.getRight());

    for (const auto* fader : { "lowSlider", "highSlider", "dynamicsSlider", "spaceASlider", "spaceBSlider", "echoSlider" })
        EXPECT_TRUE (open.get<juce::Slider> (fader).getBounds().isEmpty()) << fader;

    for (const auto* led : ledButtons)
        EXPECT_EQ (open.get<VelbriLedButton> (led).getBounds().withPosition (0, 0), Rect (0, 0, 18, 18)) << led;
    for (const auto* knob : knobs)
        EXPECT_EQ (open.get<juce::Slider> (knob).getBounds().withPosition (0, 0), Rect (0, 0, 46, 46)) << knob;

    for (const auto* name : editorprobe::stackingOrder)
    {
        const auto bounds = editorprobe::child (*open.editor, name).getBounds();
        EXPECT_GE (bounds.getWidth(), 0) << name;
        EXPECT_GE (bounds.getHeight(), 0) << name;
    }
}

TEST (EditorLayout, PaintsAtAnySizeTheHostAsksFor)
{
    OpenEditor open;
    for (const auto& size : { Rect (0, 0, 1180, 560), Rect (0, 0, 1400, 700), Rect (0, 0, 300, 200),
                              Rect (0, 0, 40, 30), Rect (0, 0, 1, 1) })
    {
        open.editor->setSize (size.getWidth(), size.getHeight());
        juce::Image image (juce::Image::RGB, size.getWidth(), size.getHeight(), true);
        juce::Graphics g (image);
        open.editor->paintEntireComponent (g, false);
    }
}

TEST (EditorLayout, PaintsAFaceplateNotAnEmptyBox)
{
    OpenEditor open;
    juce::Image image (juce::Image::RGB, 1180, 560, true);
    {
        juce::Graphics g (image);
        open.editor->paintEntireComponent (g, false);
    }

    // Count distinct colours on a coarse grid: a blank or flat window has one or two.
    std::set<juce::uint32> colours;
    for (int y = 0; y < image.getHeight(); y += 7)
        for (int x = 0; x < image.getWidth(); x += 7)
            colours.insert (image.getPixelAt (x, y).getARGB());
    EXPECT_GT (colours.size(), 200u);
}

// The pre-delay SYNC switches and the Oversample choice take room the modules leave free: right of
// a pre-delay knob, right of the Dynamics LED. Nothing that was there moves (the table above).
TEST (EditorLayout, TheStageOptionsSitBesideTheirKnobsAndTheDynamicsLed)
{
    OpenEditor open;
    const std::pair<const char*, Rect> placements[] = {
        { "spaceAPreDelaySyncButton", { 620, 127, 34, 30 } },
        { "spaceBPreDelaySyncButton", { 748, 127, 34, 30 } },
        { "oversampleBox", { 481, 96, 44, 18 } },
    };
    for (const auto& [element, expected] : placements)
        EXPECT_EQ (editorprobe::child (*open.editor, element).getBounds(), expected) << element;

    EXPECT_EQ (open.get<VelbriLedSwitch> ("spaceAPreDelaySyncButton").getButtonText(), "SYNC");
    EXPECT_EQ (open.get<VelbriLedSwitch> ("spaceBPreDelaySyncButton").getButtonText(), "SYNC");

    auto& oversample = open.get<juce::ComboBox> ("oversampleBox");
    ASSERT_EQ (oversample.getNumItems(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ (oversample.getItemText (i), juce::StringArray ({ "1x", "2x", "4x" })[i]);
}

namespace
{
// The column a stage option belongs to: its module from the LED row to the caption.
Rect columnOf (const ModuleBounds& module)
{
    return module.caption.withTop (module.ledButton.getY());
}

// The text a combo box shows, in the font its label is drawn with, fits the label's text area.
bool comboTextFits (juce::ComboBox& box)
{
    auto* label = dynamic_cast<juce::Label*> (box.getChildComponent (0));
    if (label == nullptr)
        return false;

    const auto area = label->getBorderSize().subtractedFrom (label->getLocalBounds());
    const auto font = label->getLookAndFeel().getLabelFont (*label);
    for (int i = 0; i < box.getNumItems(); ++i)
        if (font.getStringWidthFloat (box.getItemText (i)) > (float) area.getWidth()
            || font.getHeight() > (float) label->getHeight() + 1.0f)
            return false;
    return true;
}
} // namespace

// From the size the window opens at to well beyond the larger size it is tested at, each added
// control stays in its own column, covers no other control, and is large enough to read: the LED
// and the whole caption inside a switch, every choice's text inside the box.
TEST (EditorLayout, TheStageOptionsStayInTheirColumnsClearOfEverythingAndReadableAtEverySize)
{
    OpenEditor open;
    for (const auto& size : { Rect (0, 0, 1180, 560), Rect (0, 0, 1290, 630), Rect (0, 0, 1400, 700),
                              Rect (0, 0, 1920, 1080) })
    {
        SCOPED_TRACE (size.toString());
        open.editor->setSize (size.getWidth(), size.getHeight());
        const auto layout = computeEditorLayout (open.editor->getLocalBounds());

        const std::pair<const char*, Rect> columns[] = {
            { "spaceAPreDelaySyncButton", columnOf (layout.spaceA) },
            { "spaceBPreDelaySyncButton", columnOf (layout.spaceB) },
            { "oversampleBox", columnOf (layout.dynamics) },
        };
        for (const auto& [element, column] : columns)
        {
            const auto bounds = editorprobe::child (*open.editor, element).getBounds();
            EXPECT_TRUE (column.contains (bounds)) << element << " " << bounds.toString();
            for (const auto* other : editorprobe::stackingOrder)
            {
                if (juce::String (other) != element)
                {
                    EXPECT_FALSE (editorprobe::child (*open.editor, other).getBounds().intersects (bounds))
                        << element << " covers " << other;
                }
            }
        }

        for (const auto* name : { "spaceAPreDelaySyncButton", "spaceBPreDelaySyncButton" })
        {
            auto& sync = open.get<VelbriLedSwitch> (name);
            EXPECT_GE (sync.getWidth(), 30) << name;
            EXPECT_GE (sync.getHeight(), 28) << name;
            const auto local = sync.getLocalBounds();
            EXPECT_TRUE (local.toFloat().contains (VelbriLedSwitch::ledArea (local))) << name;
            EXPECT_FALSE (VelbriLedSwitch::ledArea (local).intersects (VelbriLedSwitch::captionArea (local).toFloat()));
            EXPECT_LE (sync.getCaptionFont().getStringWidthFloat (sync.getButtonText()),
                       (float) VelbriLedSwitch::captionArea (local).getWidth()) << name;
            EXPECT_GE (sync.getCaptionFont().getHeight(), 12.0f) << name;
        }

        auto& oversample = open.get<juce::ComboBox> ("oversampleBox");
        EXPECT_GE (oversample.getWidth(), 44);
        EXPECT_EQ (oversample.getHeight(), 18);
        EXPECT_TRUE (comboTextFits (oversample));
    }
}

// Below the size it opens at the window has no room for every module; the added controls shrink
// with their columns and never take room outside them.
TEST (EditorLayout, BelowTheOpeningSizeTheStageOptionsShrinkInsideTheirColumns)
{
    for (const auto& size : { Rect (0, 0, 1000, 480), Rect (0, 0, 700, 300), Rect (0, 0, 300, 200) })
    {
        SCOPED_TRACE (size.toString());
        const auto layout = computeEditorLayout (size);
        const std::pair<Rect, Rect> placed[] = {
            { layout.spaceAPreDelaySync, columnOf (layout.spaceA) },
            { layout.spaceBPreDelaySync, columnOf (layout.spaceB) },
            { layout.oversample, columnOf (layout.dynamics) },
        };
        for (const auto& [bounds, column] : placed)
        {
            EXPECT_GE (bounds.getWidth(), 0);
            EXPECT_TRUE (bounds.isEmpty() || column.contains (bounds)) << bounds.toString();
        }
    }
}
