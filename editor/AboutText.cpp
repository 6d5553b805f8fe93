#include "editor/AboutText.h"

// JucePlugin_Name and JucePlugin_VersionString come from the project, through the compile definitions.

juce::String aboutTitle()
{
    return juce::String (JucePlugin_Name) + " " + JucePlugin_VersionString;
}

juce::String aboutText()
{
    return aboutTitle() + "\n"
           "Copyright (C) 2026 VelbriLabs\n\n"
           "Free software under the GNU General Public License, version 3 or (at your option) any later "
           "version (GPL-3.0-or-later). It comes with no warranty.\n\n"
           "Built with JUCE 7 (GPL-3.0) and the Steinberg VST3 SDK (GPL-3.0). "
           "Fonts: Chakra Petch and VT323, SIL Open Font License 1.1.";
}
