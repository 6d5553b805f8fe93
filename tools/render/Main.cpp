// lumbra-render: loads the VelbriLabs Lumbra VST3 or LV2 bundle as a DAW does and drives it offline.

#include "tools/render/Commands.h"

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray words;
    for (int i = 1; i < argc; ++i)
        words.add (juce::String::fromUTF8 (argv[i]));

    if (words.isEmpty() || words[0] == "--help" || words[0] == "-h")
    {
        std::cout << usageText();
        return words.isEmpty() ? 2 : 0;
    }

    if (words.size() == 1 && words[0] == "--version")
    {
        std::cout << "lumbra-render " << LUMBRA_VERSION << "\n";
        return 0;
    }

    juce::String error;
    const auto args = parseArguments (words, error);
    if (! args.has_value())
    {
        fail (error + " (see lumbra-render --help)");
        return 2;
    }

    if (args->command == "info")
        return runInfo (*args);
    if (args->command == "render")
        return runRender (*args);
    if (args->command == "generate")
        return runGenerate (*args);
    if (args->command == "snapshot")
        return runSnapshot (*args);
    if (args->command == "clicks")
        return runClicks (*args);
    if (args->command == "presets")
        return runPresets (*args);
    if (args->command == "null")
        return runNull (*args);
    if (args->command == "save-preset")
        return runSavePreset (*args);
    return runSaveState (*args);
}
