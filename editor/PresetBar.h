#pragma once

#include "plugin/UserPresetLibrary.h"
#include "ui/PresetBarLook.h"

#include <juce_gui_basics/juce_gui_basics.h>

class VelbrinLumbraProcessor;

// The header's preset bar: the current preset's name with a mark once the sound is edited,
// arrows to step through the factory and user presets, and a click on the name for the menu
// (every preset, "Save As..." and "Delete"). Saving asks for the name in a field inside the bar, so
// nothing waits in a modal loop. A preset that cannot be read is refused with a message in the bar.
class PresetBar : public juce::Component, public juce::SettableTooltipClient, private juce::TextEditor::Listener
{
public:
    enum class Part { none, previous, name, next };

    // Menu item IDs: factory presets from 1, user presets from 1001.
    static constexpr int firstFactoryItem = 1, firstUserItem = 1001, saveAsItem = 5001, deleteItem = 5002,
                         copySlotItem = 5003;

    explicit PresetBar (VelbrinLumbraProcessor& processor, UserPresetLibrary library = {});

    // From the editor's timer: picks up the name and the edited mark, repainting only on a change.
    void refresh();

    Part partAt (juce::Point<int> position) const;

    // Every preset in menu order: the factory bank, then the user's.
    juce::StringArray presetNames() const;
    void step (int delta);
    void loadByName (const juce::String& name);

    juce::PopupMenu buildMenu() const;
    void handleMenuItem (int itemId);

    void beginSaveAs();
    void commitSaveAs (const juce::String& name);
    bool isNameFieldShown() const { return nameField.isVisible(); }
    juce::TextEditor& getNameField() { return nameField; }

    const PresetBarLook& getLook() const { return look; }

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseUp (const juce::MouseEvent& event) override;
    void mouseMove (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;

    // With the keyboard focus: Left/Right (or Up/Down) step through the presets, Enter or Space
    // opens the menu.
    bool keyPressed (const juce::KeyPress& key) override;
    void showMenu();

    // Public so that what a screen reader is told can be checked without a window on the desktop:
    // a combo box named "Preset" whose value is the name shown, opened by press.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    juce::String getShownName() const { return look.name + (look.edited ? " (edited)" : ""); }

private:
    bool isUserPreset (const juce::String& name) const;
    void showMessage (const juce::String& text);
    void setLook (const PresetBarLook& newLook);
    void closeNameField();

    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorEscapeKeyPressed (juce::TextEditor&) override;
    void textEditorFocusLost (juce::TextEditor&) override;

    VelbrinLumbraProcessor& processor;
    const UserPresetLibrary library;
    PresetBarLook look;
    double messageUntilMs = 0.0;
    juce::TextEditor nameField;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetBar)
};
