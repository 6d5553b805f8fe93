#include "plugin/UserPresetLibrary.h"

#include "plugin/PresetDocument.h"

namespace
{
// A preset file is a few kilobytes; a larger file is not read at all.
constexpr juce::int64 maximumFileSize = 2 << 20;
} // namespace

UserPresetLibrary::UserPresetLibrary() : UserPresetLibrary (vstpreset::userPresetFolder()) {}

UserPresetLibrary::UserPresetLibrary (juce::File presetFolder) : folder (std::move (presetFolder)) {}

juce::StringArray UserPresetLibrary::names() const
{
    juce::StringArray result;

    for (const auto& file : folder.findChildFiles (juce::File::findFiles, false, juce::String ("*") + vstpreset::fileExtension))
        if (const auto name = sanitisePresetName (file.getFileNameWithoutExtension()); name.isNotEmpty())
            result.addIfNotAlreadyThere (name, true);

    result.sortNatural();
    return result;
}

juce::File UserPresetLibrary::fileFor (const juce::String& name) const
{
    return folder.getChildFile (sanitisePresetName (name) + vstpreset::fileExtension);
}

bool UserPresetLibrary::save (const PresetSetting& setting, juce::String& error) const
{
    const auto name = sanitisePresetName (setting.name);

    if (name.isEmpty())
    {
        error = "a preset needs a name";
        return false;
    }

    if (! folder.createDirectory())
    {
        error = "cannot create the preset folder " + folder.getFullPathName();
        return false;
    }

    const auto data = presetFileData ({ name, setting.values });

    if (! fileFor (name).replaceWithData (data.getData(), data.getSize()))
    {
        error = "cannot write " + fileFor (name).getFullPathName();
        return false;
    }

    return true;
}

std::optional<PresetSetting> UserPresetLibrary::load (const juce::String& name,
                                                      const juce::AudioProcessorValueTreeState& parameters,
                                                      juce::String& error) const
{
    return readPresetFile (fileFor (name), parameters, error);
}

bool UserPresetLibrary::remove (const juce::String& name, juce::String& error) const
{
    const auto file = fileFor (name);

    if (! file.existsAsFile() || ! file.deleteFile())
    {
        error = "cannot delete " + file.getFullPathName();
        return false;
    }

    return true;
}

juce::MemoryBlock presetFileData (const PresetSetting& setting)
{
    return vstpreset::write (presetStateBlock (setting), sanitisePresetName (setting.name));
}

std::optional<PresetSetting> readPresetFileData (const void* data, size_t size,
                                                 const juce::AudioProcessorValueTreeState& parameters,
                                                 const juce::String& fallbackName, juce::String& error)
{
    const auto component = vstpreset::readComponentState (data, size, error);

    if (! component.has_value())
        return std::nullopt;

    auto setting = presetFromStateBlock (component->getData(), component->getSize(), parameters, error);

    if (setting.has_value() && setting->name.isEmpty())
        setting->name = sanitisePresetName (fallbackName);

    return setting;
}

std::optional<PresetSetting> readPresetFile (const juce::File& file, const juce::AudioProcessorValueTreeState& parameters,
                                             juce::String& error)
{
    juce::MemoryBlock data;

    if (! file.existsAsFile() || file.getSize() > maximumFileSize || ! file.loadFileAsData (data))
    {
        error = "cannot read the preset file " + file.getFileName();
        return std::nullopt;
    }

    auto setting = readPresetFileData (data.getData(), data.getSize(), parameters, file.getFileNameWithoutExtension(), error);

    if (! setting.has_value())
        error = file.getFileName() + ": " + error;

    return setting;
}
