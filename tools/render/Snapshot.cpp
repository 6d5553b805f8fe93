// snapshot: opens the plug-in's editor as a DAW does (the VST3 view embedded in a window of the
// host on the desktop), lets it run, and saves what the screen shows of it as a PNG.

#include "tools/render/Commands.h"
#include "tools/render/EditLog.h"
#include "tools/render/XScreen.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
constexpr double sampleRate = 48000.0;
const juce::Point<int> windowOrigin { 32, 32 };

// The host's window: it holds the plug-in's view and follows its size.
class HostWindow : public juce::Component
{
public:
    explicit HostWindow (juce::AudioProcessorEditor* pluginEditor)
        : editor (pluginEditor)
    {
        addAndMakeVisible (*editor);
        setSize (editor->getWidth(), editor->getHeight());
    }

    ~HostWindow() override { editor.reset(); }

    void childBoundsChanged (juce::Component*) override { setSize (editor->getWidth(), editor->getHeight()); }

    juce::AudioProcessorEditor& getEditor() { return *editor; }

private:
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

void runMessageLoop (double seconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (juce::roundToInt (seconds * 1000.0));
}

// A 440 Hz sine through the chain, so the meters have a level to show.
void playTone (juce::AudioPluginInstance& plugin, double levelDb, int blockSize)
{
    plugin.setBusesLayout ({ { juce::AudioChannelSet::stereo() }, { juce::AudioChannelSet::stereo() } });
    plugin.prepareToPlay (sampleRate, blockSize);

    const auto amplitude = static_cast<float> (juce::Decibels::decibelsToGain (levelDb, -100.0));
    juce::AudioBuffer<float> block (2, blockSize);
    juce::MidiBuffer midi;
    int64_t position = 0;

    for (int samples = 0; samples < static_cast<int> (sampleRate / 4); samples += blockSize, position += blockSize)
    {
        for (int i = 0; i < blockSize; ++i)
        {
            const auto phase = juce::MathConstants<double>::twoPi * 440.0 * static_cast<double> (position + i) / sampleRate;
            block.setSample (0, i, amplitude * static_cast<float> (std::sin (phase)));
            block.setSample (1, i, block.getSample (0, i));
        }
        plugin.processBlock (block, midi);
    }
}

// A click on the faceplate gives the window the keyboard focus, as a user's first click does; only
// then does the plug-in count as the active application and show tooltips.
void restPointerOn (XScreen& screen, juce::Component& editor, juce::Point<int> point)
{
    const auto origin = editor.getScreenPosition();
    screen.clickAt (origin.x + editor.getWidth() / 2, origin.y + 6);
    runMessageLoop (0.3);
    screen.movePointerTo (origin.x + point.x, origin.y + point.y);
    runMessageLoop (0.1);
    screen.movePointerTo (origin.x + point.x + 1, origin.y + point.y);
    runMessageLoop (1.5);
}

// Clicks each point in turn and presses each key where it was given among the clicks, as a user
// would, and prints what the host received from the plug-in.
void clickAndPrintEdits (XScreen& screen, juce::AudioPluginInstance& plugin, juce::Component& editor,
                         const std::vector<juce::Point<int>>& points,
                         const std::vector<std::pair<size_t, juce::String>>& keys)
{
    EditLog log (plugin);
    const auto origin = editor.getScreenPosition();

    const auto pressKeysBefore = [&] (size_t click)
    {
        for (const auto& [position, key] : keys)
            if (position == click)
            {
                if (! screen.pressKey (key.toStdString()))
                    std::cerr << "unknown key " << key << std::endl;
                runMessageLoop (0.3);
            }
    };

    for (size_t i = 0; i < points.size(); ++i)
    {
        pressKeysBefore (i);
        screen.clickAt (origin.x + points[i].x, origin.y + points[i].y);
        runMessageLoop (0.3);
    }

    pressKeysBefore (points.size());

    for (const auto& event : log.getEvents())
        std::cout << "edit: " << event << std::endl;
}

juce::Image imageFromPixels (const std::vector<std::uint32_t>& pixels, int width, int height)
{
    juce::Image image (juce::Image::RGB, width, height, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelAt (x, y, juce::Colour (pixels[static_cast<size_t> (y * width + x)]));
    return image;
}

bool writePng (const juce::Image& image, const juce::File& file, juce::String& error)
{
    file.deleteFile();
    juce::FileOutputStream stream (file);
    if (! stream.openedOk() || ! juce::PNGImageFormat().writeImageToStream (image, stream))
    {
        error = "cannot write PNG file " + file.getFullPathName();
        return false;
    }
    return true;
}
} // namespace

int runSnapshot (const RenderArguments& args)
{
    XScreen screen;
    if (! screen.isOpen())
        return fail ("no X display to open the editor on (set DISPLAY, or run under xvfb-run)");
    screen.createWindowManagerAtoms();
    screen.movePointerTo (0, 0); // away from the window, so nothing shows its hover look

    juce::String error;
    auto plugin = openPlugin (args, sampleRate, error);
    if (plugin == nullptr)
        return fail (error);

    if (args.toneDb.has_value())
        playTone (*plugin, *args.toneDb, args.blockSize);

    auto* editor = plugin->createEditorIfNeeded();
    if (editor == nullptr)
        return fail ("the plug-in did not open an editor");

    HostWindow window (editor);
    window.setTopLeftPosition (windowOrigin);
    window.addToDesktop (juce::ComponentPeer::windowAppearsOnTaskbar);
    window.setVisible (true);
    runMessageLoop (0.2);

    if (args.width.has_value() || args.height.has_value())
        window.getEditor().setSize (args.width.value_or (window.getEditor().getWidth()),
                                    args.height.value_or (window.getEditor().getHeight()));

    runMessageLoop (args.seconds.value_or (1.0));

    if (! args.clicks.empty() || ! args.keys.empty())
        clickAndPrintEdits (screen, *plugin, window.getEditor(), args.clicks, args.keys);

    if (args.hover.has_value())
        restPointerOn (screen, window.getEditor(), *args.hover);

    const auto area = window.getEditor().getScreenBounds();
    std::vector<std::uint32_t> pixels;
    std::string readError;
    if (! screen.read (area.getX(), area.getY(), area.getWidth(), area.getHeight(), pixels, readError))
        return fail (readError);

    if (! writePng (imageFromPixels (pixels, area.getWidth(), area.getHeight()), args.output, error))
        return fail (error);

    std::cout << "saved a " << area.getWidth() << " x " << area.getHeight() << " snapshot of the editor to "
              << args.output.getFullPathName() << std::endl;
    return 0;
}
