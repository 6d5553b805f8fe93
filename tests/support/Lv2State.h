#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// What JUCE's LV2 hosting keeps for an instance: a lilv state in Turtle text, holding the control
// ports' values and, under the plug-in's state key, our own saved block as "<bytes>.<base 64>".
namespace lv2State
{
inline juce::String textOf (const juce::MemoryBlock& hosted) { return hosted.toString(); }

inline juce::MemoryBlock hostedFrom (const juce::String& text)
{
    return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

// The quoted value that follows the plug-in's state key, as [start, end) of the text.
inline juce::Range<int> storedValueRange (const juce::String& text)
{
    const auto key = text.indexOf ("lumbra:StateString>");
    const auto open = key >= 0 ? text.indexOfChar (key, '"') : -1;
    const auto close = open >= 0 ? text.indexOfChar (open + 1, '"') : -1;
    return close > open && open >= 0 ? juce::Range<int> (open + 1, close) : juce::Range<int>();
}

inline juce::String storedValueOf (const juce::MemoryBlock& hosted)
{
    const auto text = textOf (hosted);
    return text.substring (storedValueRange (text).getStart(), storedValueRange (text).getEnd());
}

inline juce::MemoryBlock ownBlockOf (const juce::MemoryBlock& hosted)
{
    juce::MemoryBlock block;
    block.fromBase64Encoding (storedValueOf (hosted));
    return block;
}

inline std::unique_ptr<juce::XmlElement> ownDocumentOf (const juce::MemoryBlock& hosted)
{
    const auto block = ownBlockOf (hosted);
    return juce::AudioProcessor::getXmlFromBinary (block.getData(), static_cast<int> (block.getSize()));
}

inline juce::MemoryBlock withStoredValue (const juce::MemoryBlock& hosted, const juce::String& value)
{
    const auto text = textOf (hosted);
    const auto range = storedValueRange (text);
    return hostedFrom (text.substring (0, range.getStart()) + value + text.substring (range.getEnd()));
}

inline juce::MemoryBlock withOwnBlock (const juce::MemoryBlock& hosted, const juce::MemoryBlock& own)
{
    return withStoredValue (hosted, own.toBase64Encoding());
}

// The state without the control ports' values: what a host that keeps only the plug-in's own
// state hands back.
inline juce::MemoryBlock withoutPortValues (const juce::MemoryBlock& hosted)
{
    auto text = textOf (hosted);
    const auto start = text.indexOf ("lv2:port");
    const auto stateStart = text.indexOf ("state:state");
    if (start < 0 || stateStart < start)
        return hosted;
    return hostedFrom (text.substring (0, start) + text.substring (stateStart));
}
} // namespace lv2State

namespace lv2State
{
// The value the host saved for one control port, or NaN.
inline float portValueOf (const juce::MemoryBlock& hosted, const juce::String& symbol)
{
    const auto text = textOf (hosted);
    const auto at = text.indexOf ("lv2:symbol \"" + symbol + "\"");
    if (at < 0)
        return std::numeric_limits<float>::quiet_NaN();
    return text.substring (text.indexOf (at, "pset:value ") + 11).upToFirstOccurrenceOf ("\n", false, false).getFloatValue();
}
} // namespace lv2State
