#pragma once

#include "editor/PluginEditor.h"
#include "plugin/PluginProcessor.h"
#include "tests/support/MouseEvents.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>
#include <stdexcept>

// Reaches the editor's controls the way the window stacks them, back to front, so tests can
// press, drag and read them without the editor exposing its members.
namespace editorprobe
{
inline const std::array<const char*, 50> stackingOrder {
    "inputSlider",         "inputLabel",           "lowSlider",           "lowLabel",
    "highSlider",          "highLabel",            "dynamicsSlider",      "dynamicsLabel",
    "spaceASlider",        "spaceALabel",          "spaceBSlider",        "spaceBLabel",
    "echoSlider",          "echoLabel",            "blendSlider",         "blendLabel",
    "outputSlider",        "outputLabel",          "spaceAPreDelayKnob",  "spaceBPreDelayKnob",
    "echoFeedbackKnob",    "spaceAPreDelayLabel",  "spaceBPreDelayLabel", "echoFeedbackLabel",
    "lowModeSelector",     "highModeSelector",     "dynamicsModeSelector", "spaceATypeSelector",
    "spaceBTypeSelector",  "echoDivisionSelector", "lowEnableButton",     "highEnableButton",
    "dynamicsEnableButton", "spaceAEnableButton",  "spaceBEnableButton",  "echoEnableButton",
    "bypassButton",        "tapButton",            "syncButton",          "bpmLabel",
    "inputMeter",          "outputMeter",          "vuArc",               "gainReductionMeter",
    "spaceAPreDelaySyncButton", "spaceBPreDelaySyncButton", "oversampleBox", "presetBar",
    "aboutButton",
    "headerActions",
};

// The ring that follows the keyboard focus: hidden while no control has it, so not in the list.
template <typename Ring>
Ring& focusRingOf (juce::Component& editor)
{
    for (auto* child : editor.getChildren())
        if (auto* ring = dynamic_cast<Ring*> (child))
            return *ring;

    throw std::runtime_error ("no focus ring");
}

inline juce::Component& child (juce::Component& editor, const juce::String& name)
{
    for (size_t i = 0; i < stackingOrder.size(); ++i)
        if (name == stackingOrder[i])
            if (auto* found = editor.getChildComponent (static_cast<int> (i)))
                return *found;

    throw std::runtime_error (("no editor child " + name).toStdString());
}

template <typename Type>
Type& get (juce::Component& editor, const juce::String& name)
{
    if (auto* typed = dynamic_cast<Type*> (&child (editor, name)))
        return *typed;

    throw std::runtime_error (("editor child " + name + " has another type").toStdString());
}

// Lets queued messages (attachment updates, button clicks) be delivered.
inline void pumpMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}

// Mouse handlers are protected in some widgets; the listener interface reaches them all.
inline void click (juce::Component& component, int x, int y)
{
    auto& listener = static_cast<juce::MouseListener&> (component);
    listener.mouseDown (releaseAt (component, x, y));
    listener.mouseUp (releaseAt (component, x, y));
}

inline void doubleClick (juce::Component& component, int x, int y)
{
    static_cast<juce::MouseListener&> (component).mouseDoubleClick (releaseAt (component, x, y));
}

// A processor with its editor open, as the host opens it.
struct OpenEditor
{
    OpenEditor() { open(); }
    ~OpenEditor() { close(); }

    void open() { editor.reset (dynamic_cast<VelbrinLumbraEditor*> (processor.createEditorIfNeeded())); }
    void close() { editor.reset(); }

    template <typename Type>
    Type& get (const juce::String& name)
    {
        return editorprobe::get<Type> (*editor, name);
    }

    juce::RangedAudioParameter& parameter (const juce::String& id)
    {
        return *processor.parameters.getParameter (id);
    }

    float raw (const juce::String& id) { return processor.parameters.getRawParameterValue (id)->load(); }

    void tick() { editor->timerCallback(); }

    VelbrinLumbraProcessor processor;
    std::unique_ptr<VelbrinLumbraEditor> editor;
};
} // namespace editorprobe
