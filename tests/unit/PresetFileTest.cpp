// User presets as standard VST3 preset files: the layout hosts expect, a library folder, and a
// reader that refuses anything damaged or foreign with a reason and applies nothing of it.

#include "plugin/FactoryPresets.h"
#include "plugin/ParamIDs.h"
#include "plugin/PresetDocument.h"
#include "plugin/PresetLoading.h"
#include "plugin/UserPresetLibrary.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
const PresetSetting& samplePreset() { return factoryPresets()[3].setting; }

juce::MemoryBlock sampleFile() { return presetFileData (samplePreset()); }

juce::int64 readInt64 (const juce::MemoryBlock& data, size_t offset)
{
    return static_cast<juce::int64> (juce::ByteOrder::littleEndianInt64 (juce::addBytesToPointer (data.getData(), offset)));
}

void writeInt64 (juce::MemoryBlock& data, size_t offset, juce::int64 value)
{
    const auto little = juce::ByteOrder::swapIfBigEndian (static_cast<juce::uint64> (value));
    data.copyFrom (&little, static_cast<int> (offset), 8);
}

// Where `text` first appears in the bytes (they hold zero bytes, so not read as a string).
size_t find (const juce::MemoryBlock& data, const char* text)
{
    const auto* begin = static_cast<const char*> (data.getData());
    const auto* found = std::search (begin, begin + data.getSize(), text, text + std::strlen (text));
    EXPECT_NE (found, begin + data.getSize()) << text;
    return static_cast<size_t> (found - begin);
}

std::optional<PresetSetting> read (const juce::MemoryBlock& data, juce::String& error)
{
    static VelbrinLumbraProcessor reference;
    return readPresetFileData (data.getData(), data.getSize(), reference.parameters, "fallback", error);
}

struct TemporaryLibrary
{
    TemporaryLibrary() { folder.deleteRecursively(); }
    ~TemporaryLibrary() { folder.deleteRecursively(); }

    const juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                  .getChildFile ("lumbra-presets-" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()));
    UserPresetLibrary library { folder };
};
} // namespace

// The bytes worked out by hand from the VST3 preset format: the class ID is the framework's two
// words ABCDEF01 9182FAEB, then "Vlbr" and "Lmb1" as hexadecimal ASCII.
TEST (PresetFiles, AFileHasTheVst3HeaderOurClassIdAndAChunkListWithStateAndMetadata)
{
    const auto file = sampleFile();
    const auto* bytes = static_cast<const char*> (file.getData());

    EXPECT_EQ (juce::String (bytes, 4), "VST3");
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), 1u);
    EXPECT_EQ (juce::String (bytes + 8, 32), "ABCDEF019182FAEB566C62724C6D6231");

    const auto listOffset = static_cast<size_t> (readInt64 (file, 40));
    ASSERT_LT (listOffset, file.getSize());
    EXPECT_EQ (juce::String (bytes + listOffset, 4), "List");
    ASSERT_EQ (juce::ByteOrder::littleEndianInt (bytes + listOffset + 4), 2u);
    EXPECT_EQ (file.getSize(), listOffset + 8 + 2 * 20);

    const auto entry = [&] (int index) { return listOffset + 8 + static_cast<size_t> (index) * 20; };
    EXPECT_EQ (juce::String (bytes + entry (0), 4), "Comp");
    EXPECT_EQ (readInt64 (file, entry (0) + 4), 48);
    const auto component = presetStateBlock (samplePreset());
    EXPECT_EQ (readInt64 (file, entry (0) + 12), static_cast<juce::int64> (component.getSize()));
    EXPECT_EQ (std::memcmp (bytes + 48, component.getData(), component.getSize()), 0);

    EXPECT_EQ (juce::String (bytes + entry (1), 4), "Info");
    const auto infoOffset = static_cast<size_t> (readInt64 (file, entry (1) + 4));
    const auto infoSize = static_cast<size_t> (readInt64 (file, entry (1) + 12));
    const auto info = juce::parseXML (juce::String::fromUTF8 (bytes + infoOffset, static_cast<int> (infoSize)));
    ASSERT_NE (info, nullptr);
    EXPECT_EQ (info->getTagName(), "MetaInfo");
    juce::StringPairArray attributes;
    for (auto* attribute : info->getChildWithTagNameIterator ("Attr"))
        attributes.set (attribute->getStringAttribute ("id"), attribute->getStringAttribute ("value"));
    EXPECT_EQ (attributes["MediaType"], "VstPreset");
    EXPECT_EQ (attributes["PlugInName"], "VelbriLabs Lumbra");
    EXPECT_EQ (attributes["Name"], samplePreset().name);
}

TEST (PresetFiles, TheLibrarySavesListsLoadsAndDeletesPresetFilesByName)
{
    TemporaryLibrary temporary;
    auto& library = temporary.library;
    VelbrinLumbraProcessor processor;
    juce::String error;

    EXPECT_TRUE (library.names().isEmpty());
    ASSERT_TRUE (library.save ({ "My Vocal", samplePreset().values }, error)) << error;
    ASSERT_TRUE (library.save ({ "a/b: Drums?", factoryPresets()[5].setting.values }, error)) << error;
    EXPECT_EQ (library.names(), (juce::StringArray { "ab Drums", "My Vocal" }));
    EXPECT_TRUE (temporary.folder.getChildFile ("My Vocal.vstpreset").existsAsFile());

    const auto loaded = library.load ("My Vocal", processor.parameters, error);
    ASSERT_TRUE (loaded.has_value()) << error;
    EXPECT_EQ (loaded->name, "My Vocal");
    ASSERT_EQ (loaded->values.size(), samplePreset().values.size());
    for (size_t i = 0; i < loaded->values.size(); ++i)
    {
        EXPECT_EQ (loaded->values[i].id, samplePreset().values[i].id);
        EXPECT_FLOAT_EQ (loaded->values[i].value, samplePreset().values[i].value);
    }

    EXPECT_TRUE (library.remove ("My Vocal", error));
    EXPECT_EQ (library.names(), juce::StringArray { "ab Drums" });
    EXPECT_FALSE (library.remove ("My Vocal", error));
    EXPECT_FALSE (library.load ("My Vocal", processor.parameters, error).has_value());
    EXPECT_TRUE (error.contains ("My Vocal.vstpreset")) << error;

    EXPECT_FALSE (library.save ({ "\t/\n", samplePreset().values }, error)) << "a name of nothing printable";
}

TEST (PresetFiles, EveryTruncationIsRefusedWithAReason)
{
    const auto file = sampleFile();

    for (size_t size = 0; size < file.getSize(); ++size)
    {
        juce::String error;
        EXPECT_FALSE (read (juce::MemoryBlock (file.getData(), size), error).has_value()) << size;
        EXPECT_TRUE (error.isNotEmpty()) << size;
    }
}

TEST (PresetFiles, DamagedAndForeignFilesAreRefusedWithTheirReason)
{
    const auto good = sampleFile();
    const auto listOffset = static_cast<size_t> (readInt64 (good, 40));
    const auto entry = [&] (int index) { return listOffset + 8 + static_cast<size_t> (index) * 20; };

    struct Damage
    {
        const char* what;
        std::function<void (juce::MemoryBlock&)> apply;
        const char* reason;
    };

    const Damage damages[] = {
        { "another magic", [] (auto& f) { f[0] = 'X'; }, "not a VST3 preset" },
        { "another version", [] (auto& f) { f[4] = 2; }, "format version" },
        { "another plug-in's class ID", [] (auto& f) { f[39] = '0'; }, "another plug-in" },
        { "list offset past the end", [&] (auto& f) { writeInt64 (f, 40, static_cast<juce::int64> (f.getSize())); }, "outside the file" },
        { "negative list offset", [] (auto& f) { writeInt64 (f, 40, -1); }, "outside the file" },
        { "list offset into the header", [] (auto& f) { writeInt64 (f, 40, 8); }, "outside the file" },
        { "list not marked", [&] (auto& f) { f[listOffset] = 'l'; }, "chunk list is damaged" },
        { "huge entry count", [&] (auto& f) { f[listOffset + 7] = 0x7f; }, "chunk list is damaged" },
        { "zero entries", [&] (auto& f) { f[listOffset + 4] = 0; }, "chunk list is damaged" },
        { "chunk past the list", [&] (auto& f) { writeInt64 (f, entry (0) + 12, static_cast<juce::int64> (listOffset)); }, "outside it" },
        { "chunk of negative size", [&] (auto& f) { writeInt64 (f, entry (0) + 12, -5); }, "outside it" },
        { "chunk at a huge offset", [&] (auto& f) { writeInt64 (f, entry (0) + 4, std::numeric_limits<juce::int64>::max()); }, "outside it" },
        { "no state chunk", [&] (auto& f) { f[entry (0)] = 'X'; }, "no plug-in state" },
        { "state not ours", [] (auto& f) { f[48] = 'X'; }, "not a readable state" },
        { "state text cut short", [] (auto& f) { f[52] = 40; f[53] = 0; }, "not a readable state" },
        { "a parameter renamed", [] (auto& f) { f[find (f, "\"lowGain\"") + 1] = 'X'; }, "no value for lowGain" },
        { "a value not a number", [] (auto& f) { f[find (f, "id=\"compAmount\" value=\"") + 23] = 'z'; }, "compAmount is not a number" },
    };

    for (const auto& damage : damages)
    {
        SCOPED_TRACE (damage.what);
        auto damaged = good;
        damage.apply (damaged);

        juce::String error;
        EXPECT_FALSE (read (damaged, error).has_value());
        EXPECT_TRUE (error.contains (damage.reason)) << error;
    }
}

// Random damage: whatever the reader accepts must be a complete setting inside the ranges, and
// whatever it refuses changes nothing in a processor and says why.
TEST (PresetFiles, RandomlyDamagedFilesNeverApplyHalfASetting)
{
    const auto good = sampleFile();
    VelbrinLumbraProcessor reference;
    juce::Random random (14);
    int refused = 0;

    for (int trial = 0; trial < 3000; ++trial)
    {
        auto damaged = good;
        for (int flips = 1 + random.nextInt (4); flips > 0; --flips)
            damaged[static_cast<size_t> (random.nextInt (static_cast<int> (damaged.getSize())))] = static_cast<char> (random.nextInt (256));

        juce::String error;
        const auto setting = read (damaged, error);

        if (! setting.has_value())
        {
            ++refused;
            ASSERT_TRUE (error.isNotEmpty()) << trial;
            continue;
        }

        ASSERT_EQ (setting->values.size(), soundParameterIds().size()) << trial;
        for (const auto& [id, value] : setting->values)
        {
            const auto& range = reference.parameters.getParameter (id)->getNormalisableRange();
            ASSERT_TRUE (std::isfinite (value) && value >= range.start && value <= range.end) << trial << " " << id;
        }
        ASSERT_LE (setting->name.length(), maximumPresetNameLength);
    }

    EXPECT_GT (refused, 100);
}

TEST (PresetFiles, LoadingAUserPresetThatIsDamagedLeavesTheProcessorAsItWas)
{
    TemporaryLibrary temporary;
    juce::String error;
    ASSERT_TRUE (temporary.library.save ({ "Broken", samplePreset().values }, error));
    const auto file = temporary.library.fileFor ("Broken");
    juce::MemoryBlock data;
    file.loadFileAsData (data);
    data.setSize (data.getSize() - 3);
    file.replaceWithData (data.getData(), data.getSize());

    ProcessorHarness harness;
    juce::MemoryBlock before, after;
    harness.processor->getStateInformation (before);

    EXPECT_FALSE (loadUserPreset (*harness.processor, temporary.library, "Broken", error));
    EXPECT_TRUE (error.startsWith ("Broken.vstpreset: ")) << error;
    harness.processor->getStateInformation (after);
    EXPECT_EQ (after, before);
}
