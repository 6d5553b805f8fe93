#include "ui/VelbriLedStackSelector.h"

#include "ui/Palette.h"
#include "ui/VelbriFontOptions.h"

namespace
{
constexpr float captionFontHeight = 12.5f;
}

// One row as a screen reader sees it: a radio button named by its caption.
class VelbriLedStackSelector::Row : public juce::Component
{
public:
    Row (VelbriLedStackSelector& ownerToUse, int indexToUse) : owner (ownerToUse), index (indexToUse)
    {
        setInterceptsMouseClicks (false, false);
        setWantsKeyboardFocus (false);
        setTitle (owner.items[index]);
    }

    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override
    {
        return std::make_unique<Handler> (*this);
    }

    bool isLit() const { return owner.selectedIndex == index; }

private:
    class Handler : public juce::AccessibilityHandler
    {
    public:
        explicit Handler (Row& rowToUse)
            : AccessibilityHandler (rowToUse, juce::AccessibilityRole::radioButton,
                                    juce::AccessibilityActions().addAction (juce::AccessibilityActionType::press,
                                                                            [&rowToUse] { rowToUse.press(); })),
              row (rowToUse)
        {
        }

        juce::AccessibleState getCurrentState() const override
        {
            const auto state = AccessibilityHandler::getCurrentState().withCheckable();
            return row.isLit() ? state.withChecked() : state;
        }

    private:
        Row& row;
    };

    void press() { owner.pick (index); }

    VelbriLedStackSelector& owner;
    const int index;
};

VelbriLedStackSelector::VelbriLedStackSelector()
{
    setWantsKeyboardFocus (true);
}

VelbriLedStackSelector::~VelbriLedStackSelector() = default;

void VelbriLedStackSelector::setItems (const juce::StringArray& newItems)
{
    items = newItems;
    rows.clear();

    for (int i = 0; i < items.size(); ++i)
    {
        rows.push_back (std::make_unique<Row> (*this, i));
        addAndMakeVisible (*rows.back());
    }

    resized();
    repaint();
}

void VelbriLedStackSelector::setSelectedIndex (int index)
{
    if (index == selectedIndex)
        return;

    selectedIndex = index;
    repaint();
}

void VelbriLedStackSelector::pick (int index)
{
    if (! juce::isPositiveAndBelow (index, items.size()))
        return;

    setSelectedIndex (index);

    if (onChange)
        onChange (index);
}

bool VelbriLedStackSelector::keyPressed (const juce::KeyPress& key)
{
    if (key.getModifiers().isCommandDown() || key.getModifiers().isAltDown() || items.isEmpty())
        return false;

    const auto code = key.getKeyCode();
    const auto last = items.size() - 1;
    const auto from = juce::jlimit (0, last, selectedIndex);
    auto to = from;

    if (code == juce::KeyPress::upKey || code == juce::KeyPress::leftKey)
        to = juce::jmax (0, from - 1);
    else if (code == juce::KeyPress::downKey || code == juce::KeyPress::rightKey)
        to = juce::jmin (last, from + 1);
    else if (code == juce::KeyPress::homeKey)
        to = 0;
    else if (code == juce::KeyPress::endKey)
        to = last;
    else
        return false;

    // At an end the key is still the selector's, but it changes nothing and tells no one.
    if (to != selectedIndex)
        pick (to);

    return true;
}

void VelbriLedStackSelector::resized()
{
    const auto rowHeight = rows.empty() ? 0 : getHeight() / static_cast<int> (rows.size());

    for (size_t i = 0; i < rows.size(); ++i)
        rows[i]->setBounds (0, static_cast<int> (i) * rowHeight, getWidth(), rowHeight);
}

std::unique_ptr<juce::AccessibilityHandler> VelbriLedStackSelector::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler> (*this, juce::AccessibilityRole::group);
}

// The row is taken from the release position; a release above or below the stack (the press
// started inside it) picks the nearest end row.
void VelbriLedStackSelector::mouseUp (const juce::MouseEvent& e)
{
    const auto rowCount = items.size();
    if (rowCount == 0)
        return;

    const auto rowHeight = juce::jmax (getHeight() / rowCount, 1);
    const auto index = juce::jlimit (0, rowCount - 1, e.y / rowHeight);

    if (index != selectedIndex)
    {
        selectedIndex = index;
        repaint();
    }

    if (onChange)
        onChange (index);
}

void VelbriLedStackSelector::paint (juce::Graphics& g)
{
    const auto rowCount = items.size();
    if (rowCount == 0)
        return;

    const auto rowHeight = getHeight() / rowCount;
    g.setFont (VelbriFontOptions (captionFontHeight).toFont());

    for (int row = 0; row < rowCount; ++row)
        paintRow (g, row, rowHeight);
}

void VelbriLedStackSelector::paintRow (juce::Graphics& g, int row, int rowHeight) const
{
    const auto width = getWidth();
    const auto rowY = row * rowHeight;
    const auto ledBox = juce::jmin (width, rowHeight);
    const auto margin = 0.3f * (float) rowHeight;
    const auto lit = row == selectedIndex;

    g.setColour (lit ? Palette::accentGlow : Palette::textMuted.withAlpha (0.4f));
    g.fillEllipse (margin, (float) rowY + margin, juce::jmax ((float) ledBox - 2.0f * margin, 0.0f),
                   juce::jmax ((float) rowHeight - 2.0f * margin, 0.0f));

    g.setColour (lit ? Palette::textPrimary : Palette::textMuted);
    g.drawText (items[row], juce::Rectangle<int> (ledBox + 2, rowY, juce::jmax (width - ledBox - 4, 0), rowHeight),
                juce::Justification::centredLeft, true);
}
