#pragma once

#include <juce_graphics/juce_graphics.h>

// The colours shared by the look and feel, the widgets and the editor.
namespace Palette
{
inline const juce::Colour windowBackground { 0xff06070d };
inline const juce::Colour controlBackground { 0xff0d0f18 };
inline const juce::Colour trackBackground { 0xff11131a };
inline const juce::Colour textPrimary { 0xffc9d2e0 };
inline const juce::Colour textMuted { 0xff7a87a3 };
inline const juce::Colour alert { 0xffff5a36 };

// The accent set: process-wide, rewritten by every VelbriLookAndFeel that is constructed, and read
// afresh by every paint. Message thread only.
inline juce::Colour accentGlow { 0xffa6f0ff };
inline juce::Colour accent { 0xff3d7bff };
inline juce::Colour accentBright { 0xff7fa8ff };
} // namespace Palette
