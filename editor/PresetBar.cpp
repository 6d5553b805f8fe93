#include "editor/PresetBar.h"

#include "plugin/FactoryPresets.h"
#include "plugin/PluginProcessor.h"
#include "plugin/PresetLoading.h"
#include "ui/VelbriLookAndFeel.h"

namespace
{
constexpr double messageDurationMs = 4000.0;
const juce::String unnamedSound ("Default");

double nowMs() { return juce::Time::getMillisecondCounterHiRes(); }
} // namespace

PresetBar::PresetBar (VelbrinLumbraProcessor& processorToUse, UserPresetLibrary libraryToUse)
    : processor (processorToUse), library (std::move (libraryToUse))
{
    nameField.setInputRestrictions (maximumPresetNameLength, {});
    nameField.setJustification (juce::Justification::centred);
    nameField.setSelectAllWhenFocused (true);
    nameField.setColour (juce::TextEditor::backgroundColourId, Palette::controlBackground);
    nameField.setColour (juce::TextEditor::textColourId, Palette::textPrimary);
    nameField.setColour (juce::TextEditor::outlineColourId, Palette::accentBright);
    nameField.setColour (juce::TextEditor::focusedOutlineColourId, Palette::accentBright);
    nameField.setTextToShowWhenEmpty ("preset name", Palette::textMuted);
    nameField.addListener (this);
    addChildComponent (nameField);
    setTooltip ("Click for the preset menu");
    setTitle ("Preset");
    setWantsKeyboardFocus (true);
    refresh();
}

void PresetBar::refresh()
{
    auto next = look;
    const auto name = processor.presetSession.getName();
    next.name = name.isNotEmpty() ? name : unnamedSound;
    next.edited = processor.presetSession.isEdited (processor.parameters);

    if (next.message.isNotEmpty() && nowMs() > messageUntilMs)
        next.message.clear();

    setLook (next);
}

void PresetBar::setLook (const PresetBarLook& newLook)
{
    const auto changed = newLook.name != look.name || newLook.edited != look.edited || newLook.message != look.message
                         || newLook.hoveredPart != look.hoveredPart;
    look = newLook;

    if (changed)
        repaint();
}

void PresetBar::showMessage (const juce::String& text)
{
    auto next = look;
    next.message = text;
    messageUntilMs = nowMs() + messageDurationMs;
    setLook (next);
}

PresetBar::Part PresetBar::partAt (juce::Point<int> position) const
{
    const auto parts = PresetBarParts::of (getLocalBounds());

    if (parts.previous.contains (position))
        return Part::previous;
    if (parts.next.contains (position))
        return Part::next;
    if (parts.name.contains (position))
        return Part::name;
    return Part::none;
}

juce::StringArray PresetBar::presetNames() const
{
    juce::StringArray names;
    for (const auto& preset : factoryPresets())
        names.add (preset.setting.name);
    names.addArray (library.names());
    return names;
}

bool PresetBar::isUserPreset (const juce::String& name) const
{
    return name.isNotEmpty() && library.names().contains (name, true) && findFactoryPreset (name) == nullptr;
}

// From the current preset to its neighbour, wrapping at both ends; from an unnamed sound, next is
// the first preset and previous the last.
void PresetBar::step (int delta)
{
    const auto names = presetNames();

    if (names.isEmpty())
        return;

    const auto current = names.indexOf (processor.presetSession.getName(), true);
    const auto from = current >= 0 ? current : (delta > 0 ? -1 : 0);
    loadByName (names[((from + delta) % names.size() + names.size()) % names.size()]);
}

void PresetBar::loadByName (const juce::String& name)
{
    if (const auto* factory = findFactoryPreset (name))
    {
        loadPreset (processor, factory->setting);
    }
    else
    {
        juce::String error;
        if (! loadUserPreset (processor, library, name, error))
        {
            showMessage ("Cannot load: " + error.fromLastOccurrenceOf (": ", false, false));
            return;
        }
    }

    refresh();
}

juce::PopupMenu PresetBar::buildMenu() const
{
    juce::PopupMenu menu;
    const auto current = processor.presetSession.getName();
    juce::String category;
    int item = firstFactoryItem;

    for (const auto& preset : factoryPresets())
    {
        if (preset.category != category)
            menu.addSectionHeader (category = preset.category);
        menu.addItem (item++, preset.setting.name, true, preset.setting.name == current);
    }

    const auto userNames = library.names();
    menu.addSectionHeader ("User");

    if (userNames.isEmpty())
        menu.addItem (firstUserItem - 1, "(none saved yet)", false);

    for (int i = 0; i < userNames.size(); ++i)
        menu.addItem (firstUserItem + i, userNames[i], true, userNames[i] == current);

    menu.addSeparator();
    menu.addItem (copySlotItem, processor.abCompare.activeSlot() == 0 ? "Copy A to B" : "Copy B to A");
    menu.addItem (saveAsItem, "Save As...");
    menu.addItem (deleteItem, "Delete", isUserPreset (current));
    return menu;
}

void PresetBar::handleMenuItem (int itemId)
{
    const auto factoryCount = static_cast<int> (factoryPresets().size());

    if (itemId >= firstFactoryItem && itemId < firstFactoryItem + factoryCount)
        loadByName (factoryPresets()[static_cast<size_t> (itemId - firstFactoryItem)].setting.name);
    else if (itemId >= firstUserItem && itemId < saveAsItem)
        loadByName (library.names()[itemId - firstUserItem]);
    else if (itemId == saveAsItem)
        beginSaveAs();
    else if (itemId == copySlotItem)
    {
        processor.abCompare.copyToOther (processor);
        showMessage (processor.abCompare.activeSlot() == 0 ? "Copied A to B" : "Copied B to A");
    }
    else if (itemId == deleteItem)
    {
        juce::String error;
        if (! library.remove (processor.presetSession.getName(), error))
            showMessage ("Cannot delete the preset");
        else
            showMessage ("Deleted");
    }
}

void PresetBar::beginSaveAs()
{
    const auto current = processor.presetSession.getName();
    nameField.setText (current.isNotEmpty() ? current : "My Preset", juce::dontSendNotification);
    nameField.setVisible (true);
    nameField.grabKeyboardFocus();
    nameField.selectAll();
}

void PresetBar::commitSaveAs (const juce::String& name)
{
    closeNameField();
    const auto setting = currentSetting (processor, name);
    juce::String error;

    if (! library.save (setting, error))
    {
        showMessage ("Cannot save: " + error);
        return;
    }

    processor.presetSession.markLoaded (setting);
    refresh();
}

void PresetBar::closeNameField()
{
    nameField.setVisible (false);
}

void PresetBar::textEditorReturnKeyPressed (juce::TextEditor& editor) { commitSaveAs (editor.getText()); }
void PresetBar::textEditorEscapeKeyPressed (juce::TextEditor&) { closeNameField(); }
void PresetBar::textEditorFocusLost (juce::TextEditor&) { closeNameField(); }

void PresetBar::paint (juce::Graphics& g)
{
    if (auto* velbri = dynamic_cast<VelbriLookAndFeel*> (&getLookAndFeel()))
        velbri->drawPresetBar (g, getLocalBounds(), look);
}

void PresetBar::resized()
{
    nameField.setBounds (PresetBarParts::of (getLocalBounds()).name.reduced (1));
}

void PresetBar::mouseUp (const juce::MouseEvent& event)
{
    if (! getLocalBounds().contains (event.getPosition()))
        return;

    switch (partAt (event.getPosition()))
    {
        case Part::previous: step (-1); break;
        case Part::next: step (1); break;
        case Part::name: showMenu(); break;
        case Part::none: break;
    }
}

void PresetBar::mouseMove (const juce::MouseEvent& event)
{
    auto next = look;
    next.hoveredPart = static_cast<int> (partAt (event.getPosition()));
    setLook (next);
}

void PresetBar::mouseExit (const juce::MouseEvent&)
{
    auto next = look;
    next.hoveredPart = 0;
    setLook (next);
}

void PresetBar::showMenu()
{
    juce::Component::SafePointer<PresetBar> safeThis (this);
    buildMenu().showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this),
                               [safeThis] (int itemId)
                               {
                                   if (safeThis != nullptr && itemId != 0)
                                       safeThis->handleMenuItem (itemId);
                               });
}

bool PresetBar::keyPressed (const juce::KeyPress& key)
{
    if (key.getModifiers().isCommandDown() || key.getModifiers().isAltDown())
        return false;

    const auto code = key.getKeyCode();

    if (code == juce::KeyPress::leftKey || code == juce::KeyPress::upKey)
        step (-1);
    else if (code == juce::KeyPress::rightKey || code == juce::KeyPress::downKey)
        step (1);
    else if (code == juce::KeyPress::returnKey || code == juce::KeyPress::spaceKey)
        showMenu();
    else
        return false;

    return true;
}

namespace
{
class ShownName : public juce::AccessibilityTextValueInterface
{
public:
    explicit ShownName (const PresetBar& barToRead) : bar (barToRead) {}

    bool isReadOnly() const override { return true; }
    juce::String getCurrentValueAsString() const override { return bar.getShownName(); }
    void setValueAsString (const juce::String&) override {}

private:
    const PresetBar& bar;
};
} // namespace

std::unique_ptr<juce::AccessibilityHandler> PresetBar::createAccessibilityHandler()
{
    const auto open = [this] { showMenu(); };
    return std::make_unique<juce::AccessibilityHandler> (
        *this, juce::AccessibilityRole::comboBox,
        juce::AccessibilityActions()
            .addAction (juce::AccessibilityActionType::press, open)
            .addAction (juce::AccessibilityActionType::showMenu, open),
        juce::AccessibilityHandler::Interfaces { std::make_unique<ShownName> (*this) });
}
