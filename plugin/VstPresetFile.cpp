#include "plugin/VstPresetFile.h"

#include <cstring>

namespace
{
constexpr int classIdSize = 32;
constexpr size_t headerSize = 4 + 4 + classIdSize + 8;
constexpr size_t listOffsetPosition = headerSize - 8;
constexpr size_t entrySize = 4 + 8 + 8;
constexpr int formatVersion = 1;
// Far more than the chunks a preset carries; bounds what a damaged count can make the reader do.
constexpr juce::int32 maximumEntries = 128;
// A preset of this plug-in is a few kilobytes; anything near this is not one.
constexpr juce::int64 maximumComponentStateSize = 1 << 20;

// The first two words are fixed by the framework's VST3 wrapper for the processor component,
// the last two are the manufacturer and plug-in codes.
juce::String hexWord (juce::uint32 word) { return juce::String::toHexString (static_cast<juce::int64> (word)).paddedLeft ('0', 8).toUpperCase(); }

juce::String metaInfo (const juce::String& presetName)
{
    juce::XmlElement info ("MetaInfo");

    const auto addAttribute = [&info] (const char* id, const juce::String& value, bool writeProtected)
    {
        auto* attribute = info.createNewChildElement ("Attr");
        attribute->setAttribute ("id", id);
        attribute->setAttribute ("value", value);
        attribute->setAttribute ("type", "string");
        attribute->setAttribute ("flags", writeProtected ? "writeProtected" : "");
    };

    addAttribute ("MediaType", "VstPreset", true);
    addAttribute ("PlugInName", JucePlugin_Name, true);
    addAttribute ("PlugInCategory", "Fx", true);
    addAttribute ("Name", presetName, false);
    return info.toString();
}

void writeEntry (juce::MemoryOutputStream& out, const char* id, juce::int64 offset, juce::int64 size)
{
    out.write (id, 4);
    out.writeInt64 (offset);
    out.writeInt64 (size);
}

struct Entry
{
    char id[4];
    juce::int64 offset, size;
};
} // namespace

namespace vstpreset
{
juce::String processorClassId()
{
    return hexWord (0xABCDEF01) + hexWord (0x9182FAEB) + hexWord (JucePlugin_ManufacturerCode)
           + hexWord (JucePlugin_PluginCode);
}

juce::MemoryBlock write (const juce::MemoryBlock& componentState, const juce::String& presetName)
{
    juce::MemoryOutputStream out;
    out.write ("VST3", 4);
    out.writeInt (formatVersion);
    out.write (processorClassId().toRawUTF8(), classIdSize);
    out.writeInt64 (0); // the list offset, filled in below

    const auto componentOffset = static_cast<juce::int64> (out.getPosition());
    out.write (componentState.getData(), componentState.getSize());

    const auto infoOffset = static_cast<juce::int64> (out.getPosition());
    const auto info = metaInfo (presetName);
    out.write (info.toRawUTF8(), info.getNumBytesAsUTF8());

    const auto listOffset = static_cast<juce::int64> (out.getPosition());
    out.write ("List", 4);
    out.writeInt (2);
    writeEntry (out, "Comp", componentOffset, infoOffset - componentOffset);
    writeEntry (out, "Info", infoOffset, listOffset - infoOffset);

    out.setPosition (static_cast<juce::int64> (listOffsetPosition));
    out.writeInt64 (listOffset);
    return out.getMemoryBlock();
}

std::optional<juce::MemoryBlock> readComponentState (const void* data, size_t size, juce::String& error)
{
    const auto refuse = [&error] (const juce::String& reason) -> std::optional<juce::MemoryBlock>
    {
        error = reason;
        return std::nullopt;
    };

    if (data == nullptr || size < headerSize || std::memcmp (data, "VST3", 4) != 0)
        return refuse ("not a VST3 preset file");

    juce::MemoryInputStream in (data, size, false);
    in.skipNextBytes (4);

    if (in.readInt() != formatVersion)
        return refuse ("a VST3 preset file of an unknown format version");

    char classId[classIdSize];
    in.read (classId, classIdSize);

    // Compared as bytes: a foreign file may hold anything there, not only ASCII.
    if (std::memcmp (classId, processorClassId().toRawUTF8(), classIdSize) != 0)
        return refuse ("a preset of another plug-in");

    const auto fileSize = static_cast<juce::int64> (size);
    const auto listOffset = in.readInt64();

    // The list needs its ID and count; entries are checked one by one below.
    if (listOffset < static_cast<juce::int64> (headerSize) || listOffset > fileSize - 8)
        return refuse ("the preset file's chunk list lies outside the file");

    in.setPosition (listOffset);
    char listId[4];
    in.read (listId, 4);
    const auto count = in.readInt();

    if (std::memcmp (listId, "List", 4) != 0 || count <= 0 || count > maximumEntries
        || count > (fileSize - listOffset - 8) / static_cast<juce::int64> (entrySize))
        return refuse ("the preset file's chunk list is damaged");

    std::optional<Entry> component;

    for (juce::int32 i = 0; i < count; ++i)
    {
        Entry entry {};
        in.read (entry.id, 4);
        entry.offset = in.readInt64();
        entry.size = in.readInt64();

        // Every chunk lies between the header and the list.
        if (entry.offset < static_cast<juce::int64> (headerSize) || entry.size < 0 || entry.offset > listOffset
            || entry.size > listOffset - entry.offset)
            return refuse ("a chunk of the preset file lies outside it");

        if (std::memcmp (entry.id, "Comp", 4) == 0 && ! component.has_value())
            component = entry;
    }

    if (! component.has_value() || component->size == 0)
        return refuse ("the preset file holds no plug-in state");

    if (component->size > maximumComponentStateSize)
        return refuse ("the preset file's plug-in state is far too large");

    return juce::MemoryBlock (juce::addBytesToPointer (data, component->offset), static_cast<size_t> (component->size));
}

juce::File userPresetFolder()
{
    return juce::File::getSpecialLocation (juce::File::userHomeDirectory)
        .getChildFile (".vst3/presets")
        .getChildFile (JucePlugin_Manufacturer)
        .getChildFile (JucePlugin_Name);
}
} // namespace vstpreset
