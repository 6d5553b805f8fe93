#pragma once

#include <juce_core/juce_core.h>

#include <memory>

// Reads the XML document out of a saved state block (JUCE's binary container: the magic "VC2!",
// a little-endian text length, the UTF-8 text). Gives nothing for a block that is too short, has
// another magic number or a zero length, holds text that is not XML, or holds text the parser
// must not see: a document type declaration (its entities expand recursively and a
// self-referencing one exhausts the stack) or far more markup than any saved state holds (deep
// nesting exhausts the stack too).
std::unique_ptr<juce::XmlElement> readStateDocument (const void* data, int sizeInBytes);
