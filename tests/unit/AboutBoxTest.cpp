// The footer's About button: the release the window shows and the licence it names.

#include "tests/support/EditorProbe.h"
#include "tests/support/ReleaseVersion.h"

#include <gtest/gtest.h>

TEST (AboutBox, FooterNamesTheReleaseFromTheChangelogAndTheLicence)
{
    VelbrinLumbraProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    auto& about = editorprobe::get<juce::Button> (*editor, "aboutButton");

    const auto release = releasedVersion();
    ASSERT_TRUE (release.isNotEmpty());
    EXPECT_EQ (about.getTitle(), "About VelbriLabs Lumbra " + release);
    EXPECT_TRUE (about.getDescription().startsWith ("VelbriLabs Lumbra " + release + "\n")) << about.getDescription();
    for (const auto* named : { "GPL-3.0-or-later", "JUCE", "VST3 SDK", "Chakra Petch", "VT323", "Open Font License" })
        EXPECT_TRUE (about.getDescription().contains (named)) << named;

    // It sits over the footer's text, at the window's bottom left, and takes the keyboard focus.
    EXPECT_EQ (about.getBottom(), editor->getHeight() - 3);
    EXPECT_LT (about.getX(), 20);
    EXPECT_TRUE (about.getWantsKeyboardFocus());
}
