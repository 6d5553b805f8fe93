#include "tools/render/Arguments.h"

namespace
{
bool isCommand (const juce::String& word)
{
    return word == "info" || word == "render" || word == "generate" || word == "save-state" || word == "snapshot"
           || word == "clicks" || word == "presets" || word == "save-preset" || word == "null";
}

std::optional<double> parsePositiveNumber (const juce::String& text)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789.eE+-"))
        return std::nullopt;

    const auto value = trimmed.getDoubleValue();
    if (! std::isfinite (value) || value <= 0.0)
        return std::nullopt;

    return value;
}

std::optional<double> parseLevel (const juce::String& text)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789.+-"))
        return std::nullopt;

    const auto value = trimmed.getDoubleValue();
    if (value < -100.0 || value > 6.0)
        return std::nullopt;

    return value;
}

// "X,Y" with two whole numbers of 0 or more.
std::optional<juce::Point<int>> parsePoint (const juce::String& text)
{
    const auto parts = juce::StringArray::fromTokens (text, ",", "");
    if (parts.size() != 2 || ! parts[0].trim().containsOnly ("0123456789") || ! parts[1].trim().containsOnly ("0123456789")
        || parts[0].trim().isEmpty() || parts[1].trim().isEmpty() || parts[0].length() > 5 || parts[1].length() > 5)
        return std::nullopt;

    return juce::Point<int> (parts[0].trim().getIntValue(), parts[1].trim().getIntValue());
}

juce::File fileFromArgument (const juce::String& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path);
}
} // namespace

juce::String usageText()
{
    return "usage: lumbra-render <command> [options]\n"
           "       lumbra-render --version\n"
           "commands:\n"
           "  info                         print the plug-in's description and parameter list\n"
           "  render --in IN.wav --out OUT.wav\n"
           "                               process a WAV file offline through the plug-in\n"
           "  generate --out OUT.wav       write a test signal (tone bursts and clicks)\n"
           "  save-state --out FILE        save the plug-in's state after --set / --load-state\n"
           "  presets                      list the factory presets and the user presets\n"
           "  save-preset --out FILE.vstpreset\n"
           "                               save the sound after --preset / --set as a VST3 preset file\n"
           "  snapshot --out FILE.png      open the editor in a window (needs an X display, e.g. xvfb-run)\n"
           "                               and save a PNG of it as it appears on screen\n"
           "  clicks                       move each control on a 100 Hz sine and print the energy it\n"
           "                               adds above 3 kHz (at --rate, default 48000, and --block)\n"
           "  null --in A.wav --against B.wav [--below DB]\n"
           "                               print the peak of A - B in dBFS; exit 1 when it is at or above DB\n"
           "                               (default -120) or the files differ in length or channels\n"
           "options:\n"
           "  --plugin PATH                a .vst3 or .lv2 bundle (default: the .vst3 built with this tool)\n"
           "  --rate HZ                    processing sample rate (render: resamples the input)\n"
           "  --block N                    block size in samples (default 512)\n"
           "  --bits 16|24|32              WAV sample format of render and generate: 32 (default) is float\n"
           "                               and keeps levels above 0 dBFS; 16 and 24 are integers, refused\n"
           "                               (with the count of clipped samples and the peak) where they clip\n"
           "  --allow-clip                 write a 16 or 24-bit file even where it clips\n"
           "  --mono                       mono input (render: the first channel; generate: one channel)\n"
           "  --seconds S                  generate: length in seconds (default 2);\n"
           "                               snapshot: how long the window runs first (default 1)\n"
           "  --width W, --height H        snapshot: resize the editor to this size first\n"
           "  --tone DBFS                  snapshot: play a 440 Hz sine at this level first, for the meters\n"
           "  --hover X,Y                  snapshot: click the window's header, then rest the pointer at\n"
           "                               X,Y of the editor (tooltips appear after 0.7 s)\n"
           "  --key KEY                    snapshot: press a key (ctrl+z, shift+tab, up, ...) after the clicks\n"
           "                               given before it (repeatable)\n"
           "  --click X,Y                  snapshot: click at X,Y of the editor (repeatable, in order) and\n"
           "                               print every edit the host receives as 'edit: begin|perform|end NAME'\n"
           "  --preset NAME                apply a factory or user preset (before any --set)\n"
           "  --name NAME                  save-preset: the preset's name (default: the file's name)\n"
           "  --set NAME=VALUE             set a parameter by identifier or name, in its own units\n"
           "  --load-state FILE            restore a saved state before processing\n"
           "  --save-state FILE            render: also save the state after processing\n";
}

std::optional<RenderArguments> parseArguments (const juce::StringArray& args, juce::String& error)
{
    RenderArguments result;

    if (args.isEmpty() || ! isCommand (args[0]))
    {
        error = args.isEmpty() ? "no command given" : "unknown command '" + args[0] + "'";
        return std::nullopt;
    }

    result.command = args[0];

    for (int i = 1; i < args.size(); ++i)
    {
        const auto& option = args[i];
        const auto needsValue = option != "--mono" && option != "--allow-clip";

        if (needsValue && i + 1 >= args.size())
        {
            error = "option " + option + " needs a value";
            return std::nullopt;
        }

        const auto value = needsValue ? args[++i] : juce::String();

        if (option == "--plugin")           result.plugin = fileFromArgument (value);
        else if (option == "--in")          result.input = fileFromArgument (value);
        else if (option == "--out")         result.output = fileFromArgument (value);
        else if (option == "--load-state")  result.loadState = fileFromArgument (value);
        else if (option == "--save-state")  result.saveState = fileFromArgument (value);
        else if (option == "--against")     result.against = fileFromArgument (value);
        else if (option == "--below")
        {
            const auto trimmed = value.trim();
            if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789.-") || trimmed.getDoubleValue() > 0.0)
            {
                error = "invalid level '" + value + "' for --below (dBFS, 0 or less)";
                return std::nullopt;
            }
            result.nullLimitDb = trimmed.getDoubleValue();
        }
        else if (option == "--mono")        result.mono = true;
        else if (option == "--allow-clip")  result.allowClip = true;
        else if (option == "--bits")
        {
            const auto trimmed = value.trim();
            if (trimmed != "16" && trimmed != "24" && trimmed != "32")
            {
                error = "invalid value '" + value + "' for --bits (16, 24 or 32)";
                return std::nullopt;
            }
            result.bits = trimmed.getIntValue();
        }
        else if (option == "--preset")      result.preset = value.trim();
        else if (option == "--name")        result.presetName = value.trim();
        else if (option == "--tone")
        {
            result.toneDb = parseLevel (value);
            if (! result.toneDb.has_value())
            {
                error = "invalid level '" + value + "' for --tone (-100 .. 6 dBFS)";
                return std::nullopt;
            }
        }
        else if (option == "--hover")
        {
            result.hover = parsePoint (value);
            if (! result.hover.has_value())
            {
                error = "--hover wants X,Y in the editor, got '" + value + "'";
                return std::nullopt;
            }
        }
        else if (option == "--click")
        {
            const auto point = parsePoint (value);
            if (! point.has_value())
            {
                error = "--click wants X,Y in the editor, got '" + value + "'";
                return std::nullopt;
            }
            result.clicks.push_back (*point);
        }
        else if (option == "--key")
        {
            if (value.isEmpty())
            {
                error = "--key wants a key such as ctrl+z, shift+tab or up";
                return std::nullopt;
            }
            result.keys.push_back ({ result.clicks.size(), value });
        }
        else if (option == "--width" || option == "--height")
        {
            const auto number = parsePositiveNumber (value);
            if (! number.has_value() || *number > 16384.0 || *number != std::floor (*number))
            {
                error = "invalid value '" + value + "' for " + option;
                return std::nullopt;
            }
            (option == "--width" ? result.width : result.height) = static_cast<int> (*number);
        }
        else if (option == "--rate" || option == "--block" || option == "--seconds")
        {
            const auto number = parsePositiveNumber (value);
            if (! number.has_value() || (option == "--block" && (*number > 65536.0 || *number != std::floor (*number))))
            {
                error = "invalid value '" + value + "' for " + option;
                return std::nullopt;
            }

            if (option == "--rate")         result.sampleRate = *number;
            else if (option == "--block")   result.blockSize = static_cast<int> (*number);
            else                            result.seconds = *number;
        }
        else if (option == "--set")
        {
            if (! value.contains ("="))
            {
                error = "--set wants NAME=VALUE, got '" + value + "'";
                return std::nullopt;
            }
            result.assignments.push_back ({ value.upToFirstOccurrenceOf ("=", false, false).trim(),
                                            value.fromFirstOccurrenceOf ("=", false, false).trim() });
        }
        else
        {
            error = "unknown option '" + option + "'";
            return std::nullopt;
        }
    }

    if (result.command == "null" && (result.input == juce::File() || result.against == juce::File()))
    {
        error = "null needs --in and --against";
        return std::nullopt;
    }

    if ((result.command == "render" && (result.input == juce::File() || result.output == juce::File()))
        || ((result.command == "generate" || result.command == "save-state" || result.command == "snapshot"
             || result.command == "save-preset")
            && result.output == juce::File()))
    {
        error = result.command + " needs " + (result.command == "render" ? "--in and --out" : "--out");
        return std::nullopt;
    }

    return result;
}
