#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// What a screen reader would be handed for a component, without a window on the desktop. JUCE
// gives handlers out (getAccessibilityHandler) only to components in a native window and keeps the
// virtual factory behind them private. An explicit template instantiation may name a private member
// (the language exempts it from access checks), which gives a pointer to that virtual; calling it
// makes the handler the component's most derived class makes, exactly as JUCE would.
namespace accessprobe
{
using HandlerFactory = std::unique_ptr<juce::AccessibilityHandler> (juce::Component::*)();

HandlerFactory handlerFactory();

template <HandlerFactory factory>
struct Expose
{
    friend HandlerFactory handlerFactory() { return factory; }
};

template struct Expose<&juce::Component::createAccessibilityHandler>;

inline std::unique_ptr<juce::AccessibilityHandler> handlerOf (juce::Component& component)
{
    return (component.*handlerFactory())();
}
} // namespace accessprobe
