#include "ui/VelbriSlider.h"

#include <cmath>

namespace
{
constexpr double fineFactor = 0.1;

// One notch of an ordinary wheel; smooth-scrolling trackpads send fractions of it.
constexpr float wheelNotch = 50.0f / 256.0f;

// The value a screen reader reads and sets: the slider's own text, and every change it makes is a
// gesture like the mouse's.
class SliderValue : public juce::AccessibilityValueInterface
{
public:
    explicit SliderValue (VelbriSlider& sliderToUse) : slider (sliderToUse) {}

    bool isReadOnly() const override { return ! slider.isEnabled(); }
    double getCurrentValue() const override { return slider.getValue(); }
    void setValue (double newValue) override { slider.setValueAsGesture (newValue); }
    juce::String getCurrentValueAsString() const override { return slider.getSpokenText(); }
    void setValueAsString (const juce::String& text) override { slider.setValueAsGesture (slider.getValueFromText (text)); }

    AccessibleValueRange getRange() const override
    {
        return { { slider.getMinimum(), slider.getMaximum() }, slider.getStep() };
    }

private:
    VelbriSlider& slider;
};

class SliderAccessibility : public juce::AccessibilityHandler
{
public:
    explicit SliderAccessibility (VelbriSlider& slider)
        : AccessibilityHandler (slider, juce::AccessibilityRole::slider, juce::AccessibilityActions{},
                                { std::make_unique<SliderValue> (slider) })
    {
    }
};
} // namespace

VelbriSlider::VelbriSlider()
{
    setWantsKeyboardFocus (true);
}

juce::String VelbriSlider::getSpokenText()
{
    const auto text = getTextFromValue (getValue());

    if (spokenUnit.isEmpty() || text.isEmpty() || ! juce::CharacterFunctions::isDigit (text.getLastCharacter()))
        return text;

    return text + " " + spokenUnit;
}

double VelbriSlider::getFineStep() const noexcept
{
    return juce::jmax (step * fineFactor, getInterval());
}

void VelbriSlider::setValueAsGesture (double newValue)
{
    if (! std::isfinite (newValue) || ! isEnabled())
        return;

    auto limited = juce::jlimit (getMinimum(), getMaximum(), newValue);

    if (const auto interval = getInterval(); interval > 0.0)
        limited = juce::jmin (getMaximum(), getMinimum() + interval * std::round ((limited - getMinimum()) / interval));

    if (limited == getValue())
        return;

    if (onDragStart != nullptr)
        onDragStart();

    setValue (limited, juce::sendNotificationSync);

    if (onDragEnd != nullptr)
        onDragEnd();
}

void VelbriSlider::resetToDefault()
{
    if (isDoubleClickReturnEnabled())
        setValueAsGesture (getDoubleClickReturnValue());
}

void VelbriSlider::nudge (int direction, bool fine)
{
    setValueAsGesture (getValue() + direction * (fine ? getFineStep() : step));
}

// A fader's travel is its height; a knob turns through its range over the framework's drag distance.
double VelbriSlider::dragPixelsForFullRange() const
{
    if (isRotary())
        return juce::jmax (1, getMouseDragSensitivity());

    return juce::jmax (1, isHorizontal() ? getWidth() : getHeight());
}

// Shift held at the press: the drag is fine, relative to where it starts, never a jump to the
// pointer. Otherwise the framework's own drag (and its Ctrl/Cmd-click reset).
void VelbriSlider::mouseDown (const juce::MouseEvent& e)
{
    fineDragging = isEnabled() && e.mods.isShiftDown() && ! e.mods.isPopupMenu() && ! e.mods.isCommandDown();

    if (! fineDragging)
    {
        juce::Slider::mouseDown (e);
        return;
    }

    fineProportion = valueToProportionOfLength (getValue());
    lastFinePosition = e.position;

    if (onDragStart != nullptr)
        onDragStart();
}

void VelbriSlider::mouseDrag (const juce::MouseEvent& e)
{
    if (! fineDragging)
    {
        juce::Slider::mouseDrag (e);
        return;
    }

    const auto moved = e.position - lastFinePosition;
    lastFinePosition = e.position;
    const auto pixels = isRotary() ? (double) (moved.x - moved.y)
                                   : (isHorizontal() ? (double) moved.x : (double) -moved.y);

    fineProportion = juce::jlimit (0.0, 1.0, fineProportion + fineFactor * pixels / dragPixelsForFullRange());
    setValue (proportionOfLengthToValue (fineProportion), juce::sendNotificationSync);
}

void VelbriSlider::mouseUp (const juce::MouseEvent& e)
{
    if (! fineDragging)
    {
        juce::Slider::mouseUp (e);
        return;
    }

    fineDragging = false;

    if (onDragEnd != nullptr)
        onDragEnd();
}

// One step per notch, whichever way the wheel turns; a trackpad's small deltas add up to notches.
void VelbriSlider::mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    if (! isEnabled() || ! isScrollWheelEnabled() || fineDragging)
    {
        juce::Component::mouseWheelMove (e, wheel);
        return;
    }

    auto amount = std::abs (wheel.deltaX) > std::abs (wheel.deltaY) ? -wheel.deltaX : wheel.deltaY;
    if (wheel.isReversed)
        amount = -amount;

    if (! wheel.isSmooth && amount != 0.0f)
        amount = std::copysign (wheelNotch, amount);

    wheelRemainder += amount;
    const auto notches = static_cast<int> (wheelRemainder / (wheelNotch * 0.99f));

    if (notches == 0)
        return;

    wheelRemainder -= (float) notches * wheelNotch;
    setValueAsGesture (getValue() + notches * (e.mods.isShiftDown() ? getFineStep() : step));
}

bool VelbriSlider::keyPressed (const juce::KeyPress& key)
{
    const auto mods = key.getModifiers();

    if (mods.isCommandDown() || mods.isCtrlDown() || mods.isAltDown())
        return false;

    const auto fine = mods.isShiftDown();
    const auto code = key.getKeyCode();

    if (code == juce::KeyPress::upKey || code == juce::KeyPress::rightKey)
        nudge (1, fine);
    else if (code == juce::KeyPress::downKey || code == juce::KeyPress::leftKey)
        nudge (-1, fine);
    else if (code == juce::KeyPress::homeKey)
        setValueAsGesture (getMinimum());
    else if (code == juce::KeyPress::endKey)
        setValueAsGesture (getMaximum());
    else if (code == juce::KeyPress::deleteKey || code == juce::KeyPress::backspaceKey)
        resetToDefault();
    else if (code == juce::KeyPress::returnKey && ! isTextBoxEditable())
        return false;
    else if (code == juce::KeyPress::returnKey)
        showTextBox();
    else
        return false;

    return true;
}

void VelbriSlider::lookAndFeelChanged()
{
    juce::Slider::lookAndFeelChanged();

    for (auto* child : getChildren())
        if (dynamic_cast<juce::Label*> (child) != nullptr)
            child->setWantsKeyboardFocus (false);
}

std::unique_ptr<juce::AccessibilityHandler> VelbriSlider::createAccessibilityHandler()
{
    return std::make_unique<SliderAccessibility> (*this);
}
