#include "plugin/StateDocument.h"

namespace
{
constexpr juce::uint32 containerMagic = 0x21324356; // "VC2!" read as a little-endian word
constexpr int headerSize = 8;

// JUCE's parser, the value tree and the XML writer all recurse once per nesting level, about
// 320 bytes of stack each: 1600 levels already overflow a 512 kB thread stack. Every level needs a
// '<' of its own in the text (without a document type declaration nothing expands into markup),
// so capping the count of '<' caps the depth. A saved state holds about thirty elements.
constexpr int maximumMarkupCount = 512;

// The text handed to the parser: the bytes after the header, min (size - 8, stored length) of them,
// provided they are well-formed UTF-8.
juce::String decodeText (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= headerSize || juce::ByteOrder::littleEndianInt (data) != containerMagic)
        return {};

    // A length with the top bit set reads as negative and, like zero, means no document.
    const auto storedLength = static_cast<int> (juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4)));

    if (storedLength <= 0)
        return {};

    const auto* text = static_cast<const char*> (data) + headerSize;
    const auto textLength = juce::jmin (sizeInBytes - headerSize, storedLength);

    // JUCE's string and XML code step over multi-byte characters by their lead byte alone: a
    // damaged sequence at the end of the text would make the parser read past it.
    if (! juce::CharPointer_UTF8::isValidString (text, textLength))
        return {};

    return juce::String::fromUTF8 (text, textLength);
}

// JUCE's parser loops forever on a processing instruction followed by text inside an element. The
// only one a saved state holds is the XML declaration at its very start.
bool hasProcessingInstructionAfterDeclaration (const juce::String& text)
{
    auto body = text.trimStart();

    if (body.startsWith ("<?"))
    {
        const auto endOfDeclaration = body.indexOf ("?>");

        if (endOfDeclaration < 0)
            return true;

        body = body.substring (endOfDeclaration + 2);
    }

    return body.contains ("<?");
}

// These checks read the text as decoded characters, as the parser does, so a '<' written as an
// over-long UTF-8 sequence counts as a '<' here too.
bool isSafeToParse (const juce::String& text)
{
    if (text.contains ("<!DOCTYPE") || hasProcessingInstructionAfterDeclaration (text))
        return false;

    int markupCount = 0;

    for (auto character = text.getCharPointer(); ! character.isEmpty();)
        if (character.getAndAdvance() == '<' && ++markupCount > maximumMarkupCount)
            return false;

    return true;
}
} // namespace

std::unique_ptr<juce::XmlElement> readStateDocument (const void* data, int sizeInBytes)
{
    const auto text = decodeText (data, sizeInBytes);

    if (text.isEmpty() || ! isSafeToParse (text))
        return {};

    return juce::parseXML (text);
}
