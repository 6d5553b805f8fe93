#include "tools/host/PluginLoader.h"

#include <cstdlib>

namespace
{
std::unique_ptr<juce::AudioPluginInstance> instantiate (std::unique_ptr<juce::AudioPluginFormat> format,
                                                        const juce::PluginDescription& description,
                                                        double sampleRate, int blockSize, juce::String& error)
{
    juce::AudioPluginFormatManager formats;
    formats.addFormat (format.release());
    return formats.createPluginInstance (description, sampleRate, blockSize, error);
}

// JUCE's LV2 hosting always reads ~/.lv2 first, and of two bundles with one URI lilv keeps the
// first it read: an installed copy would hide the bundle asked for. HOME points elsewhere while the
// format reads its default folders, so that only the named bundle's folder provides the plug-in.
class HomeHiddenFromLv2Scan
{
public:
    HomeHiddenFromLv2Scan()
    {
        if (const auto* home = std::getenv ("HOME"))
            savedHome = home;
        ::setenv ("HOME", "/nonexistent-home-for-lv2-scan", 1);
    }

    ~HomeHiddenFromLv2Scan()
    {
        if (savedHome.has_value())
            ::setenv ("HOME", savedHome->c_str(), 1);
        else
            ::unsetenv ("HOME");
    }

private:
    std::optional<std::string> savedHome;
};
} // namespace

bool isLv2Bundle (const juce::File& bundle)
{
    return bundle.getFileExtension().equalsIgnoreCase (".lv2");
}

std::unique_ptr<juce::PluginDescription> describeVst3Plugin (const juce::File& bundle)
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, bundle.getFullPathName());

    if (found.isEmpty())
        return nullptr;

    return std::make_unique<juce::PluginDescription> (*found.getFirst());
}

juce::String lv2PluginUriOf (const juce::File& bundle)
{
    // The manifest names the plug-in as "<URI>" followed by "a lv2:Plugin".
    const auto manifest = bundle.getChildFile ("manifest.ttl").loadFileAsString();
    const auto declaration = manifest.indexOf ("a lv2:Plugin");

    if (declaration < 0)
        return {};

    const auto close = manifest.substring (0, declaration).lastIndexOfChar ('>');
    const auto open = close > 0 ? manifest.substring (0, close).lastIndexOfChar ('<') : -1;
    return open >= 0 ? manifest.substring (open + 1, close) : juce::String();
}

std::unique_ptr<juce::AudioPluginInstance> loadVst3Plugin (const juce::File& bundle, double sampleRate,
                                                          int blockSize, juce::String& error)
{
    if (! bundle.exists())
    {
        error = "no plug-in at " + bundle.getFullPathName();
        return nullptr;
    }

    const auto description = describeVst3Plugin (bundle);

    if (description == nullptr)
    {
        error = "no VST3 plug-in found in " + bundle.getFullPathName();
        return nullptr;
    }

    return instantiate (std::make_unique<juce::VST3PluginFormat>(), *description, sampleRate, blockSize, error);
}

std::unique_ptr<juce::AudioPluginInstance> loadLv2Plugin (const juce::File& bundle, double sampleRate,
                                                         int blockSize, juce::String& error)
{
    const auto uri = lv2PluginUriOf (bundle);

    if (! bundle.isDirectory() || uri.isEmpty())
    {
        error = bundle.isDirectory() ? "no LV2 plug-in declared in " + bundle.getFullPathName()
                                     : "no plug-in at " + bundle.getFullPathName();
        return nullptr;
    }

    auto format = [&]
    {
        const HomeHiddenFromLv2Scan hidden;
        return std::make_unique<juce::LV2PluginFormat>();
    }();

    format->searchPathsForPlugins (juce::FileSearchPath (bundle.getParentDirectory().getFullPathName()), false, false);

    juce::OwnedArray<juce::PluginDescription> found;
    format->findAllTypesForFile (found, uri);

    if (found.isEmpty())
    {
        error = "the LV2 plug-in " + uri + " in " + bundle.getFullPathName() + " cannot be loaded";
        return nullptr;
    }

    return instantiate (std::move (format), *found.getFirst(), sampleRate, blockSize, error);
}

std::unique_ptr<juce::AudioPluginInstance> loadPlugin (const juce::File& bundle, double sampleRate, int blockSize,
                                                       juce::String& error)
{
    return isLv2Bundle (bundle) ? loadLv2Plugin (bundle, sampleRate, blockSize, error)
                                : loadVst3Plugin (bundle, sampleRate, blockSize, error);
}
