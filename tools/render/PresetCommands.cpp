#include "tools/render/Commands.h"
#include "tools/render/PresetCommands.h"

#include "plugin/FactoryPresets.h"
#include "plugin/PluginProcessor.h"
#include "plugin/UserPresetLibrary.h"

#include <iostream>

namespace
{
void print (const juce::String& line) { std::cout << line << std::endl; }

// The hosted plug-in's current sound, read out of the preset file JUCE's hosting writes for it.
struct HostedPresetReader : juce::ExtensionsVisitor
{
    void visitVST3Client (const VST3Client& client) override { file = client.getPreset(); }
    juce::MemoryBlock file;
};

// Hands a preset file to the hosted plug-in through JUCE's hosting, as a host's preset browser does.
struct HostedPresetWriter : juce::ExtensionsVisitor
{
    explicit HostedPresetWriter (juce::MemoryBlock presetFile) : file (std::move (presetFile)) {}
    void visitVST3Client (const VST3Client& client) override { accepted = client.setPreset (file); }
    juce::MemoryBlock file;
    bool accepted = false;
};

std::optional<PresetSetting> hostedSound (juce::AudioPluginInstance& plugin, const juce::String& name, juce::String& error)
{
    HostedPresetReader reader;
    plugin.getExtensions (reader);

    VelbrinLumbraProcessor reference;
    auto setting = readPresetFileData (reader.file.getData(), reader.file.getSize(), reference.parameters, name, error);

    if (setting.has_value())
        setting->name = sanitisePresetName (name);

    return setting;
}
} // namespace

bool applyPreset (juce::AudioPluginInstance& plugin, const juce::String& name, juce::String& error)
{
    VelbrinLumbraProcessor reference;
    std::optional<PresetSetting> setting;

    if (const auto* factory = findFactoryPreset (name))
        setting = factory->setting;
    else if (UserPresetLibrary library; library.names().contains (sanitisePresetName (name), true))
        setting = library.load (name, reference.parameters, error);
    else
        error = "unknown preset '" + name + "' (lumbra-render presets lists them)";

    if (! setting.has_value())
        return false;

    HostedPresetWriter writer (presetFileData (*setting));
    plugin.getExtensions (writer);

    if (! writer.accepted)
    {
        error = "the plug-in refused the preset '" + name + "'";
        return false;
    }
    return true;
}

int runPresets (const RenderArguments&)
{
    print ("factory presets (category | name | intent):");
    for (const auto& preset : factoryPresets())
        print (preset.category + " | " + preset.setting.name + " | " + preset.intent);

    const UserPresetLibrary library;
    print ("user presets in " + library.folder.getFullPathName() + ":");
    for (const auto& name : library.names())
        print ("User | " + name);
    return 0;
}

int runSavePreset (const RenderArguments& args)
{
    juce::String error;
    auto plugin = openPlugin (args, 48000.0, error);
    if (plugin == nullptr)
        return fail (error);

    const auto name = args.presetName.isNotEmpty() ? args.presetName : args.output.getFileNameWithoutExtension();
    const auto setting = hostedSound (*plugin, name, error);

    if (! setting.has_value())
        return fail ("cannot read the plug-in's sound: " + error);

    if (setting->name.isEmpty())
        return fail ("the preset needs a name with printable characters (--name)");

    const auto data = presetFileData (*setting);
    if (! args.output.replaceWithData (data.getData(), data.getSize()))
        return fail ("cannot write preset file " + args.output.getFullPathName());

    print ("saved preset '" + setting->name + "' to " + args.output.getFullPathName());
    return 0;
}
