#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstring>

// What a hosted VST3 instance's saved state holds, layer by layer. JUCE's hosting code keeps the
// module's component state as base64 text in <VST3PluginState><IComponent>; inside it, the
// plug-in's own block (magic, length, document, zero byte) comes first and the wrapper's private
// data, ending in "JUCEPrivateData", follows.
namespace hostedState
{
inline std::unique_ptr<juce::XmlElement> envelopeOf (const juce::MemoryBlock& hosted)
{
    return juce::AudioProcessor::getXmlFromBinary (hosted.getData(), static_cast<int> (hosted.getSize()));
}

inline juce::MemoryBlock componentStateOf (const juce::MemoryBlock& hosted)
{
    juce::MemoryBlock component;
    if (auto envelope = envelopeOf (hosted))
        if (auto* element = envelope->getChildByName ("IComponent"))
            component.fromBase64Encoding (element->getAllSubText());
    return component;
}

inline juce::MemoryBlock withComponentState (const juce::MemoryBlock& hosted, const juce::MemoryBlock& component)
{
    auto envelope = envelopeOf (hosted);
    jassert (envelope != nullptr);
    auto* element = envelope->getChildByName ("IComponent");
    element->deleteAllChildElements();
    element->addTextElement (component.toBase64Encoding());

    juce::MemoryBlock result;
    juce::AudioProcessor::copyXmlToBinary (*envelope, result);
    return result;
}

// The plug-in's own block: 8 header bytes, the document, a zero byte.
inline size_t ownBlockSize (const juce::MemoryBlock& component)
{
    const auto* bytes = static_cast<const char*> (component.getData());
    if (component.getSize() < 9 || std::memcmp (bytes, "VC2!", 4) != 0)
        return 0;
    return juce::jmin (component.getSize(), 9 + static_cast<size_t> (juce::ByteOrder::littleEndianInt (bytes + 4)));
}

inline juce::MemoryBlock ownBlockOf (const juce::MemoryBlock& hosted)
{
    const auto component = componentStateOf (hosted);
    return juce::MemoryBlock (component.getData(), ownBlockSize (component));
}

inline std::unique_ptr<juce::XmlElement> ownDocumentOf (const juce::MemoryBlock& hosted)
{
    const auto own = ownBlockOf (hosted);
    return juce::AudioProcessor::getXmlFromBinary (own.getData(), static_cast<int> (own.getSize()));
}

// The hosted state with the plug-in's own block replaced and the wrapper's private data kept.
inline juce::MemoryBlock withOwnBlock (const juce::MemoryBlock& hosted, const juce::MemoryBlock& own)
{
    const auto component = componentStateOf (hosted);
    const auto oldSize = ownBlockSize (component);
    juce::MemoryBlock replaced (own);
    replaced.append (juce::addBytesToPointer (component.getData(), oldSize), component.getSize() - oldSize);
    return withComponentState (hosted, replaced);
}
} // namespace hostedState
