// The "VelbriLabs Lumbra" app: JUCE's standalone window around the plug-in (the editor, with the
// audio settings under Options), plus a notice in the window while no audio device is open.

#include <juce_audio_plugin_client/juce_audio_plugin_client.h>
#include <juce_audio_utils/juce_audio_utils.h>

#include <juce_audio_plugin_client/Standalone/juce_StandaloneFilterWindow.h>

#include <iostream>

namespace
{
const juce::String noDeviceNotice { "No audio device: the strip is silent. Choose one under Options > Audio/MIDI Settings." };

// JUCE's reader trusts the byte count in front of the saved plug-in state and would allocate what a
// damaged settings file claims; such a state is dropped (the plug-in then starts at its defaults).
void dropUnreadableSavedState (juce::PropertySet& settings)
{
    const auto text = settings.getValue ("filterState");
    const auto count = text.upToFirstOccurrenceOf (".", false, false);
    const auto coded = text.fromFirstOccurrenceOf (".", false, false);
    const auto readable = count.isNotEmpty() && count.length() <= 9 && count.containsOnly ("0123456789")
                          && count.getLargeIntValue() <= (coded.length() * 6) / 8;

    if (text.isNotEmpty() && ! readable)
        settings.removeValue ("filterState");
}

class LumbraStandaloneWindow : public juce::StandaloneFilterWindow, private juce::ChangeListener
{
public:
    explicit LumbraStandaloneWindow (juce::PropertySet* settings)
        : StandaloneFilterWindow (JucePlugin_Name,
                                  juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId),
                                  settings, false)
    {
        notice.setText (noDeviceNotice, juce::dontSendNotification);
        notice.setJustificationType (juce::Justification::centredRight);
        notice.setColour (juce::Label::textColourId, juce::Colours::orange);
        Component::addChildComponent (notice);

        getDeviceManager().addChangeListener (this);
        showDeviceState();
    }

    ~LumbraStandaloneWindow() override { getDeviceManager().removeChangeListener (this); }

    void resized() override
    {
        StandaloneFilterWindow::resized();
        const auto titleHeight = getTitleBarHeight();
        notice.setBounds (getWidth() / 2 + 80, 2, getWidth() / 2 - 140, titleHeight - 4);
        notice.toFront (false);
    }

    bool isShowingNoDeviceNotice() const { return notice.isVisible(); }

private:
    void changeListenerCallback (juce::ChangeBroadcaster*) override { showDeviceState(); }

    void showDeviceState()
    {
        notice.setVisible (getDeviceManager().getCurrentAudioDevice() == nullptr);
        resized();
    }

    juce::Label notice;
};

class LumbraStandaloneApp : public juce::JUCEApplication
{
public:
    LumbraStandaloneApp()
    {
        juce::PropertiesFile::Options options;
        options.applicationName = getApplicationName();
        options.filenameSuffix = ".settings";
        options.folderName = "~/.config";
        properties.setStorageParameters (options);
    }

    const juce::String getApplicationName() override { return JucePlugin_Name; }
    const juce::String getApplicationVersion() override { return JucePlugin_VersionString; }
    bool moreThanOneInstanceAllowed() override { return true; }
    void anotherInstanceStarted (const juce::String&) override {}

    void initialise (const juce::String& commandLine) override
    {
        // Packagers and the release checks ask the app which release it is without opening a window.
        if (commandLine.trim() == "--version")
        {
            std::cout << getApplicationName() << " " << getApplicationVersion() << std::endl;
            setApplicationReturnValue (0);
            quit();
            return;
        }

        if (auto* settings = properties.getUserSettings())
            dropUnreadableSavedState (*settings);

        window = std::make_unique<LumbraStandaloneWindow> (properties.getUserSettings());
        window->setVisible (true);

        // The start-up check reads this line: the window is up, with or without a device.
        std::cout << "VelbriLabs Lumbra: window open, "
                  << (window->isShowingNoDeviceNotice() ? "no audio device" : "audio device open") << std::endl;
    }

    void shutdown() override
    {
        window = nullptr;
        properties.saveIfNeeded();
    }

    void systemRequestedQuit() override
    {
        if (window != nullptr)
            window->pluginHolder->savePluginState();

        if (juce::ModalComponentManager::getInstance()->cancelAllModalComponents())
            juce::Timer::callAfterDelay (100, [] {
                if (auto* app = juce::JUCEApplicationBase::getInstance())
                    app->systemRequestedQuit();
            });
        else
            quit();
    }

private:
    juce::ApplicationProperties properties;
    std::unique_ptr<LumbraStandaloneWindow> window;
};
} // namespace

juce::JUCEApplicationBase* juce_CreateApplication();
juce::JUCEApplicationBase* juce_CreateApplication() { return new LumbraStandaloneApp(); }
