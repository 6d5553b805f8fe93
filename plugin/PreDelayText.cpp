#include "plugin/PreDelayText.h"

#include "dsp/NoteValues.h"

#include <cmath>

namespace
{
juce::String limitedTo (const juce::String& text, int maximumLength)
{
    return maximumLength > 0 ? text.substring (0, maximumLength) : text;
}

// The length in whole notes of "1/N", dotted or triplet; nothing for text of another shape.
std::optional<double> typedNoteLength (const juce::String& text)
{
    const auto trimmed = text.trim();
    if (! trimmed.startsWith ("1/"))
        return std::nullopt;

    const auto afterSlash = trimmed.substring (2);
    const auto digits = afterSlash.initialSectionContainingOnly ("0123456789");
    if (digits.isEmpty() || digits.length() > 4)
        return std::nullopt;

    const auto denominator = digits.getIntValue();
    if (denominator <= 0)
        return std::nullopt;

    const auto modifier = afterSlash.substring (digits.length()).trimStart().toUpperCase();
    const auto plain = 1.0 / denominator;

    if (modifier.startsWithChar ('D'))
        return plain * 1.5;
    if (modifier.startsWithChar ('T'))
        return plain * 2.0 / 3.0;
    return plain;
}

// The note value nearest in length, measured as a ratio.
int nearestNoteValue (double wholeNotes)
{
    auto best = 0;
    auto bestDistance = std::numeric_limits<double>::max();

    for (size_t i = 0; i < noteValues.size(); ++i)
    {
        const auto distance = std::abs (std::log (wholeNotes / noteValues[i].wholeNotes));
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = static_cast<int> (i);
        }
    }

    return best;
}
} // namespace

// As JUCE writes a float parameter with a 0.1 step: one decimal.
juce::String preDelayMillisecondsText (float settingMs, int maximumLength)
{
    return limitedTo (juce::String (settingMs, 1), maximumLength);
}

juce::String preDelayNoteText (float settingMs, double bpm, int maximumLength)
{
    const auto index = noteValueIndexFor (settingMs);
    const juce::String name (noteValues[static_cast<size_t> (index)].name);
    const auto full = name + " " + juce::String::charToString (0x00b7) + " "
                      + juce::String (noteValueMs (index, bpm), 1) + " ms";

    return maximumLength <= 0 || full.length() <= maximumLength ? full : limitedTo (name, maximumLength);
}

std::optional<float> preDelaySettingForNoteText (const juce::String& text)
{
    const auto length = typedNoteLength (text);
    if (! length.has_value())
        return std::nullopt;

    return preDelaySettingFor (nearestNoteValue (*length));
}
