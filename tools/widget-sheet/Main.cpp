// Renders the look and feel's controls and the custom widgets into PNG files, headless, so their
// drawing can be looked at without opening the plug-in in a host:
//
//   lumbra-widget-sheet [output folder]
//
// writes sheet.png (the plug-in window itself, drawn by the editor at sample settings) and
// states.png (each control in its states, enlarged), plus one file per widget.

#include "tools/widget-sheet/ControlSheet.h"
#include "tools/widget-sheet/StateSheet.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
bool writePng (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream stream (file);
    if (! stream.openedOk() || ! juce::PNGImageFormat().writeImageToStream (image, stream))
    {
        std::cerr << "cannot write " << file.getFullPathName() << "\n";
        return false;
    }
    std::cout << file.getFullPathName() << "\n";
    return true;
}
} // namespace

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI gui;

    const auto folder = juce::File (argc > 1 ? juce::String (argv[1]) : juce::String (LUMBRA_WIDGET_SHEET_DIR));
    if (! folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }

    auto ok = writePng (renderControlSheet(), folder.getChildFile ("sheet.png"));
    ok = writePng (renderStateSheet(), folder.getChildFile ("states.png")) && ok;

    for (const auto& [name, image] : renderEachWidget())
        ok = writePng (image, folder.getChildFile (name + ".png")) && ok;

    return ok ? 0 : 1;
}
