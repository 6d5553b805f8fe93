#include "plugin/EditHistory.h"

EditHistory::EditHistory (juce::AudioProcessor& processorToWatch, PresetSession& sessionToUse)
    : processor (processorToWatch), session (sessionToUse)
{
    processor.addListener (this);
}

EditHistory::~EditHistory() { processor.removeListener (this); }

// The value as the gesture finds it: begin comes before the first value of a gesture.
void EditHistory::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    if (applying || ! juce::MessageManager::existsAndIsCurrentThread())
        return;

    if (auto* parameter = processor.getParameters()[index])
        openGestures.try_emplace (index, parameter->getValue());
}

void EditHistory::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    if (applying || ! juce::MessageManager::existsAndIsCurrentThread())
        return;

    const auto open = openGestures.find (index);
    auto* parameter = processor.getParameters()[index];

    if (open == openGestures.end() || parameter == nullptr)
        return;

    const Change change { index, open->second, parameter->getValue() };
    openGestures.erase (open);
    noteChange (change);
}

void EditHistory::noteChange (const Change& change)
{
    if (groupDepth > 0)
    {
        for (auto& existing : group.changes)
            if (existing.index == change.index)
            {
                existing.after = change.after;
                return;
            }

        group.changes.push_back (change);
        return;
    }

    if (change.before != change.after)
        push ({ { change }, {}, {}, -1, -1 });
}

EditHistory::Group::Group (EditHistory& historyToUse) : history (historyToUse) { history.openGroup(); }
EditHistory::Group::~Group() { history.closeGroup(); }

void EditHistory::openGroup()
{
    if (groupDepth++ == 0)
        group = { {}, session.snapshot(), {}, -1, -1 };
}

void EditHistory::closeGroup()
{
    if (--groupDepth > 0)
        return;

    std::erase_if (group.changes, [] (const Change& c) { return c.before == c.after; });
    group.sessionAfter = session.snapshot();

    if (! group.changes.empty() || group.sessionAfter->name != group.sessionBefore->name)
        push (std::move (group));

    group = {};
}

void EditHistory::recordSlotSwitch (int from, int to)
{
    if (! applying)
        push ({ {}, {}, {}, from, to });
}

void EditHistory::dropIfRestored()
{
    if (! restored.exchange (false))
        return;

    steps.clear();
    cursor = 0;
}

// A new edit drops whatever had been undone; the oldest step goes once the history is full.
void EditHistory::push (Step step)
{
    dropIfRestored();
    steps.erase (steps.begin() + static_cast<std::ptrdiff_t> (cursor), steps.end());
    steps.push_back (std::move (step));

    if (steps.size() > capacity)
        steps.pop_front();

    cursor = steps.size();
}

bool EditHistory::undo()
{
    if (applying || ! canUndo())
        return false;

    apply (steps[--cursor], true);
    return true;
}

bool EditHistory::redo()
{
    if (applying || ! canRedo())
        return false;

    apply (steps[cursor++], false);
    return true;
}

void EditHistory::apply (const Step& step, bool backwards)
{
    const juce::ScopedValueSetter<bool> applyingNow (applying, true);

    if (step.slotBefore >= 0)
    {
        if (switchSlot != nullptr)
            switchSlot (backwards ? step.slotBefore : step.slotAfter);
        return;
    }

    if (backwards)
        for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change)
            setParameter (change->index, change->before);
    else
        for (const auto& change : step.changes)
            setParameter (change.index, change.after);

    if (const auto& name = backwards ? step.sessionBefore : step.sessionAfter; name.has_value())
        session.restore (*name);
}

// One gesture per parameter, as a preset load sends them; a value already there sends nothing.
void EditHistory::setParameter (int index, float value)
{
    auto* parameter = processor.getParameters()[index];

    if (parameter == nullptr || parameter->getValue() == value)
        return;

    parameter->beginChangeGesture();
    parameter->setValueNotifyingHost (value);
    parameter->endChangeGesture();
}
