#include "plugin/AbCompare.h"

#include "plugin/FactoryPresets.h"
#include "plugin/PluginProcessor.h"
#include "plugin/PresetLoading.h"

#include <charconv>
#include <cmath>
#include <set>

namespace
{
const juce::String slotTag ("SLOT"), valueTag ("VALUE");

// A saved number, read without the framework's parser (which overflows on long exponents);
// nothing unless it is finite.
std::optional<double> readFinite (const juce::String& saved)
{
    const auto text = saved.trim();
    const auto* begin = text.toRawUTF8();
    const auto* end = begin + text.getNumBytesAsUTF8();
    double value = 0.0;
    const auto [stop, error] = std::from_chars (begin, end, value);

    if (stop == begin || error != std::errc() || ! std::isfinite (value))
        return std::nullopt;

    return value;
}

// Sets each sound parameter that differs in a gesture of its own, as a preset load does.
void applySound (VelbrinLumbraProcessor& processor, const PresetSetting& sound)
{
    for (const auto& [id, value] : sound.values)
    {
        auto* parameter = processor.parameters.getParameter (id);

        if (parameter == nullptr || ! soundParameterIds().contains (id))
            continue;

        const auto normalised = parameter->convertTo0to1 (value);

        if (parameter->getValue() == normalised)
            continue;

        parameter->beginChangeGesture();
        parameter->setValueNotifyingHost (normalised);
        parameter->endChangeGesture();
    }
}

PresetSession::Snapshot sessionFor (const juce::String& name, const std::vector<PresetValue>& values)
{
    if (name.isEmpty())
        return {};

    if (const auto* factory = findFactoryPreset (name))
        return { name, factory->setting.values };

    return { name, values };
}
} // namespace

int AbCompare::activeSlot() const
{
    const juce::ScopedLock held (lock);
    return active;
}

std::optional<AbCompare::Slot> AbCompare::otherSlot() const
{
    const juce::ScopedLock held (lock);
    return other;
}

void AbCompare::switchTo (VelbrinLumbraProcessor& processor, int slot)
{
    const auto from = activeSlot();

    if (slot == from || (slot != 0 && slot != 1))
        return;

    const auto name = processor.presetSession.getName();
    Slot leaving { currentSetting (processor, name), processor.presetSession.snapshot() };
    const auto entering = otherSlot().value_or (leaving);

    {
        const EditHistory::Ignoring notRecorded (processor.editHistory);
        applySound (processor, entering.sound);
        processor.presetSession.restore (entering.session);
    }

    {
        const juce::ScopedLock held (lock);
        other = std::move (leaving);
        active = slot;
    }

    processor.editHistory.recordSlotSwitch (from, slot);
}

void AbCompare::copyToOther (const VelbrinLumbraProcessor& processor)
{
    const auto name = processor.presetSession.getName();
    Slot copy { currentSetting (processor, name), processor.presetSession.snapshot() };

    const juce::ScopedLock held (lock);
    other = std::move (copy);
}

void AbCompare::writeTo (juce::XmlElement& root) const
{
    const juce::ScopedLock held (lock);

    if (active == 0 && ! other.has_value())
        return;

    auto* element = root.createNewChildElement (elementTag);
    element->setAttribute ("active", active);

    if (! other.has_value())
        return;

    auto* slot = element->createNewChildElement (slotTag);
    slot->setAttribute ("name", other->sound.name);

    for (const auto& [id, value] : other->sound.values)
    {
        auto* saved = slot->createNewChildElement (valueTag);
        saved->setAttribute ("id", id);
        saved->setAttribute ("value", static_cast<double> (value));
    }
}

void AbCompare::readFrom (const juce::XmlElement* element, const VelbrinLumbraProcessor& processor)
{
    int restoredActive = 0;
    std::optional<Slot> restoredOther;

    if (element != nullptr)
    {
        restoredActive = element->getStringAttribute ("active").trim() == "1" ? 1 : 0;

        if (const auto* slot = element->getChildByName (slotTag))
        {
            auto sound = currentSetting (processor, slot->getStringAttribute ("name"));
            std::set<juce::String> seen;

            for (const auto* saved : slot->getChildWithTagNameIterator (valueTag))
            {
                const auto id = saved->getStringAttribute ("id");
                const auto* parameter = processor.parameters.getParameter (id);

                if (parameter == nullptr || ! soundParameterIds().contains (id) || ! seen.insert (id).second)
                    continue;

                if (const auto value = readFinite (saved->getStringAttribute ("value")))
                {
                    const auto& range = parameter->getNormalisableRange();
                    const auto limited = static_cast<float> (juce::jlimit<double> (range.start, range.end, *value));

                    for (auto& current : sound.values)
                        if (current.id == id)
                            current.value = range.snapToLegalValue (limited);
                }
            }

            restoredOther = Slot { sound, sessionFor (sound.name, sound.values) };
        }
    }

    const juce::ScopedLock held (lock);
    active = restoredActive;
    other = std::move (restoredOther);
}
