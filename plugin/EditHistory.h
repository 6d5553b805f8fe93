#pragma once

#include "plugin/PresetSession.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// The window's own edits, for undo and redo. Every gesture the plug-in itself begins (a drag, a
// click, a reset, a typed value, a wheel notch) becomes one step holding the parameter's value
// before and after; a preset load groups its gestures into one step, the preset's name with them;
// an A/B switch is one step that switches back. Host automation and restored states set values
// without a gesture of the plug-in's, so they are never recorded. An undo or a redo sets each
// parameter it touches in a gesture of its own, so it glides and the host records it like any edit.
// Lives in the processor, so it outlasts the window, and is never saved. Message thread only.
class EditHistory : private juce::AudioProcessorListener
{
public:
    static constexpr size_t capacity = 200;

    EditHistory (juce::AudioProcessor& processor, PresetSession& session);
    ~EditHistory() override;

    bool canUndo() { return dropIfRestored(), cursor > 0; }
    bool canRedo() { return dropIfRestored(), cursor < steps.size(); }
    size_t size() { return dropIfRestored(), steps.size(); }

    // A restored state is a new starting point: its steps no longer describe the sound, so the
    // history is dropped at its next use. Any thread (hosts restore states off the message thread).
    void forgetOnNextUse() noexcept { restored.store (true); }

    bool undo();
    bool redo();

    // Every gesture made while one of these lives becomes part of one step.
    class Group
    {
    public:
        explicit Group (EditHistory& history);
        ~Group();

    private:
        EditHistory& history;
        JUCE_DECLARE_NON_COPYABLE (Group)
    };

    // Nothing made while one of these lives is recorded (a switch records itself as a whole).
    class Ignoring
    {
    public:
        explicit Ignoring (EditHistory& history) : applying (history.applying, true) {}

    private:
        juce::ScopedValueSetter<bool> applying;
        JUCE_DECLARE_NON_COPYABLE (Ignoring)
    };

    // Records a switch between the A/B slots as one step; undoing it switches back through this.
    std::function<void (int slot)> switchSlot;
    void recordSlotSwitch (int from, int to);

private:
    struct Change
    {
        int index;
        float before, after;
    };

    struct Step
    {
        std::vector<Change> changes;
        std::optional<PresetSession::Snapshot> sessionBefore, sessionAfter;
        int slotBefore = -1, slotAfter = -1;
    };

    void dropIfRestored();
    void push (Step step);
    void apply (const Step& step, bool backwards);
    void setParameter (int index, float value);
    void openGroup();
    void closeGroup();
    void noteChange (const Change& change);

    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    juce::AudioProcessor& processor;
    PresetSession& session;
    std::deque<Step> steps;
    size_t cursor = 0; // steps before it are done, from it on undone
    std::map<int, float> openGestures;
    int groupDepth = 0;
    Step group;
    bool applying = false;
    std::atomic<bool> restored { false };
};
