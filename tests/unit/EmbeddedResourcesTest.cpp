#include <BinaryData.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

namespace
{
struct ImageFact
{
    const char* name;
    const char* data;
    int size;
    int width, height;
};

// Opaque pixels in the picture, and fully transparent ones in its corners.
int countOpaque (const juce::Image& image)
{
    int count = 0;
    for (int y = 0; y < image.getHeight(); y += 3)
        for (int x = 0; x < image.getWidth(); x += 3)
            if (image.getPixelAt (x, y).getAlpha() == 255)
                ++count;
    return count;
}
} // namespace

TEST (EmbeddedResources, ArtworkDecodesAtItsSizeOnTransparency)
{
    const ImageFact images[] = {
        { "wordmark_png", BinaryData::wordmark_png, BinaryData::wordmark_pngSize, 895, 232 },
        { "dog_png", BinaryData::dog_png, BinaryData::dog_pngSize, 900, 1017 },
    };

    for (const auto& fact : images)
    {
        const auto image = juce::ImageFileFormat::loadFrom (fact.data, (size_t) fact.size);
        ASSERT_TRUE (image.isValid()) << fact.name;
        EXPECT_EQ (image.getWidth(), fact.width) << fact.name;
        EXPECT_EQ (image.getHeight(), fact.height) << fact.name;
        EXPECT_TRUE (image.hasAlphaChannel()) << fact.name;
        EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0) << fact.name;
        EXPECT_EQ (image.getPixelAt (fact.width - 1, fact.height - 1).getAlpha(), 0) << fact.name;
        EXPECT_GT (countOpaque (image), fact.width * fact.height / 9 / 10) << fact.name << " has a picture";
    }
}

TEST (EmbeddedResources, FontsLoadAsTheirFamilies)
{
    const std::pair<juce::String, std::pair<const char*, int>> fonts[] = {
        { "Chakra Petch", { BinaryData::ChakraPetchRegular_ttf, BinaryData::ChakraPetchRegular_ttfSize } },
        { "VT323", { BinaryData::VT323Regular_ttf, BinaryData::VT323Regular_ttfSize } },
    };
    for (const auto& [family, file] : fonts)
    {
        const auto typeface = juce::Typeface::createSystemTypefaceFor (file.first, (size_t) file.second);
        EXPECT_EQ (typeface->getName(), family);
        EXPECT_EQ (typeface->getStyle(), "Regular") << family;
    }
}
