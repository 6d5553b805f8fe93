// The header's preset bar: where it sits (clear of everything that was already there), what it
// draws, where a click lands, and what its arrows, menu, name field and messages do.

#include "editor/EditorLayout.h"
#include "editor/PresetBar.h"
#include "plugin/FactoryPresets.h"
#include "plugin/ParamIDs.h"
#include "plugin/PresetLoading.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/GestureRecorder.h"
#include "tests/support/PaintProbe.h"

#include <gtest/gtest.h>

namespace
{
using Rect = juce::Rectangle<int>;

// A bar on its own, over a temporary user folder, drawn with the editor's look and feel.
struct BarFixture
{
    BarFixture()
    {
        folder.deleteRecursively();
        bar.setLookAndFeel (&lookAndFeel);
        bar.setBounds (0, 0, 300, 26);
    }

    ~BarFixture()
    {
        bar.setLookAndFeel (nullptr);
        folder.deleteRecursively();
    }

    int brightPixels (const juce::Image& image, Rect area) const
    {
        int count = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                count += image.getPixelAt (x, y).getPerceivedBrightness() > 0.45f ? 1 : 0;
        return count;
    }

    const juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                  .getChildFile ("lumbra-bar-" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()));
    VelbriLookAndFeel lookAndFeel { AccentColours { juce::Colour (0xffa6f0ff), juce::Colour (0xff3d7bff), juce::Colour (0xff7fa8ff) } };
    VelbrinLumbraProcessor processor;
    UserPresetLibrary library { folder };
    PresetBar bar { processor, library };
};

juce::StringArray menuTexts (const juce::PopupMenu& menu, bool enabledOnly = false)
{
    juce::StringArray texts;
    for (juce::PopupMenu::MenuItemIterator item (menu); item.next();)
        if (! enabledOnly || item.getItem().isEnabled)
            texts.add (item.getItem().text);
    return texts;
}
} // namespace

// Worked out from the header: the title area is 32, 26, 900, 38; the wordmark's box starts after
// the 38-pixel logo and an 8-pixel gap, is 200 wide and centred in the remaining 854 pixels, so it
// ends at x 605. The bar is 300 x 26, right-aligned in the title area and centred in its height.
TEST (PresetBarLayout, SitsBetweenTheWordmarkAndTheVuArcAtEverySize)
{
    const auto layout = computeEditorLayout ({ 0, 0, 1180, 560 });
    EXPECT_EQ (layout.presetBar, Rect (632, 32, 300, 26));
    EXPECT_GE (layout.presetBar.getX(), 605 + 16);
    EXPECT_TRUE (layout.titleArea.contains (layout.presetBar));
    EXPECT_FALSE (layout.presetBar.intersects (layout.vuArc));
    EXPECT_FALSE (layout.presetBar.intersects (layout.bypassButton));

    const auto large = computeEditorLayout ({ 0, 0, 1400, 700 });
    EXPECT_EQ (large.presetBar, Rect (large.titleArea.getRight() - 300, 32, 300, 26));

    for (const auto& size : { Rect (0, 0, 700, 300), Rect (0, 0, 300, 200), Rect (0, 0, 10, 10) })
    {
        const auto small = computeEditorLayout (size);
        EXPECT_GE (small.presetBar.getWidth(), 0);
        EXPECT_TRUE (small.presetBar.isEmpty() || small.titleArea.contains (small.presetBar)) << size.toString();
    }
}

TEST (PresetBarLayout, TheBarIsTheLastChildAndTakesNothingFromTheOthers)
{
    editorprobe::OpenEditor open;
    const auto layout = computeEditorLayout (open.editor->getLocalBounds());
    auto& bar = open.get<PresetBar> ("presetBar"); // the last in the stacking order
    EXPECT_EQ (bar.getBounds(), layout.presetBar);

    for (const auto* name : editorprobe::stackingOrder)
    {
        if (juce::String (name) != "presetBar")
        {
            EXPECT_FALSE (editorprobe::child (*open.editor, name).getBounds().intersects (bar.getBounds())) << name;
        }
    }
}

TEST (PresetBar, ClicksLandOnTheArrowsAtTheEndsAndTheNameBetween)
{
    BarFixture fixture;
    using Part = PresetBar::Part;
    const std::pair<juce::Point<int>, Part> cases[] = {
        { { 0, 0 }, Part::previous },   { { 25, 25 }, Part::previous }, { { 26, 13 }, Part::name },
        { { 150, 13 }, Part::name },    { { 273, 13 }, Part::name },    { { 274, 13 }, Part::next },
        { { 299, 25 }, Part::next },    { { 300, 13 }, Part::none },    { { 150, 26 }, Part::none },
    };
    for (const auto& [point, part] : cases)
        EXPECT_EQ (fixture.bar.partAt (point), part) << point.toString();
}

TEST (PresetBar, PaintsArrowsAndTheNameAndAMarkOnlyOnceTheSoundIsEdited)
{
    BarFixture fixture;
    loadPreset (fixture.processor, factoryPresets()[0].setting);
    fixture.bar.refresh();
    EXPECT_EQ (fixture.bar.getLook().name, factoryPresets()[0].setting.name);
    EXPECT_FALSE (fixture.bar.getLook().edited);

    const auto clean = paintprobe::paint (fixture.bar);
    const Rect previousCell (0, 0, 26, 26), nextCell (274, 0, 26, 26), markCell (258, 4, 10, 18);
    EXPECT_GT (fixture.brightPixels (clean, previousCell.reduced (6)), 4);
    EXPECT_GT (fixture.brightPixels (clean, nextCell.reduced (6)), 4);
    EXPECT_GT (fixture.brightPixels (clean, { 32, 0, 220, 26 }), 40) << "the name is written";
    EXPECT_EQ (fixture.brightPixels (clean, markCell), 0);

    auto* low = fixture.processor.parameters.getParameter (ParamIDs::lowGain);
    low->setValueNotifyingHost (low->convertTo0to1 (11.0f));
    fixture.bar.refresh();
    EXPECT_TRUE (fixture.bar.getLook().edited);
    const auto edited = paintprobe::paint (fixture.bar);
    EXPECT_GT (fixture.brightPixels (edited, markCell), 3);
    EXPECT_EQ (paintprobe::countDifferences (clean, edited, { 0, 0, 256, 26 }), 0) << "only the mark changes";

    // Back to the preset's value: the mark goes away.
    low->setValueNotifyingHost (low->convertTo0to1 (-3.0f));
    fixture.bar.refresh();
    EXPECT_FALSE (fixture.bar.getLook().edited);
}

TEST (PresetBar, TheArrowsStepThroughFactoryThenUserPresetsAndWrapAround)
{
    BarFixture fixture;
    juce::String error;
    ASSERT_TRUE (fixture.library.save ({ "Zed", factoryPresets()[2].setting.values }, error));
    const auto& bank = factoryPresets();
    EXPECT_EQ (fixture.bar.getLook().name, "Default");

    fixture.bar.mouseUp (releaseAt (fixture.bar, 290, 10)); // next, from no preset: the first
    EXPECT_EQ (fixture.processor.presetSession.getName(), bank.front().setting.name);
    EXPECT_EQ (fixture.bar.getLook().name, bank.front().setting.name);

    fixture.bar.mouseUp (releaseAt (fixture.bar, 10, 10)); // previous from the first: the last, a user preset
    EXPECT_EQ (fixture.processor.presetSession.getName(), "Zed");
    fixture.bar.mouseUp (releaseAt (fixture.bar, 10, 10));
    EXPECT_EQ (fixture.processor.presetSession.getName(), bank.back().setting.name);
    fixture.bar.step (2);
    EXPECT_EQ (fixture.processor.presetSession.getName(), bank.front().setting.name);
    EXPECT_NEAR (fixture.processor.parameters.getRawParameterValue (ParamIDs::compAmount)->load(),
                 bank.front().setting.values[7].value, 1.0e-4f);
}

TEST (PresetBar, TheMenuListsEveryPresetWithSaveAsAndDeleteOnlyForAUserPreset)
{
    BarFixture fixture;
    juce::String error;
    ASSERT_TRUE (fixture.library.save ({ "Mine", factoryPresets()[1].setting.values }, error));

    const auto texts = menuTexts (fixture.bar.buildMenu());
    for (const auto& preset : factoryPresets())
    {
        EXPECT_TRUE (texts.contains (preset.setting.name)) << preset.setting.name;
        EXPECT_TRUE (texts.contains (preset.category)) << "section " << preset.category;
    }
    EXPECT_TRUE (texts.contains ("Mine"));
    EXPECT_TRUE (texts.contains ("Save As..."));
    EXPECT_FALSE (menuTexts (fixture.bar.buildMenu(), true).contains ("Delete")) << "nothing to delete yet";

    fixture.bar.handleMenuItem (PresetBar::firstFactoryItem + 4);
    EXPECT_EQ (fixture.processor.presetSession.getName(), factoryPresets()[4].setting.name);
    EXPECT_FALSE (menuTexts (fixture.bar.buildMenu(), true).contains ("Delete")) << "factory presets stay";

    fixture.bar.handleMenuItem (PresetBar::firstUserItem);
    EXPECT_EQ (fixture.processor.presetSession.getName(), "Mine");
    EXPECT_TRUE (menuTexts (fixture.bar.buildMenu(), true).contains ("Delete"));
    fixture.bar.handleMenuItem (PresetBar::deleteItem);
    EXPECT_FALSE (fixture.library.fileFor ("Mine").exists());
    EXPECT_TRUE (fixture.library.names().isEmpty());
}

TEST (PresetBar, SaveAsAsksForTheNameInTheBarAndStoresTheSoundAsAUserPreset)
{
    BarFixture fixture;
    auto* echo = fixture.processor.parameters.getParameter (ParamIDs::echoMix);
    echo->setValueNotifyingHost (echo->convertTo0to1 (42.0f));

    fixture.bar.handleMenuItem (PresetBar::saveAsItem);
    ASSERT_TRUE (fixture.bar.isNameFieldShown());
    EXPECT_EQ (fixture.bar.getNameField().getText(), "My Preset");

    fixture.bar.getNameField().setText ("Late/Night: Vox", juce::dontSendNotification);
    fixture.bar.commitSaveAs (fixture.bar.getNameField().getText());
    EXPECT_FALSE (fixture.bar.isNameFieldShown());
    EXPECT_EQ (fixture.bar.getLook().name, "LateNight Vox");
    EXPECT_FALSE (fixture.bar.getLook().edited);

    VelbrinLumbraProcessor other;
    juce::String error;
    const auto saved = fixture.library.load ("LateNight Vox", other.parameters, error);
    ASSERT_TRUE (saved.has_value()) << error;
    EXPECT_EQ (saved->values[21].id, ParamIDs::echoMix);
    EXPECT_FLOAT_EQ (saved->values[21].value, 42.0f);

    fixture.bar.beginSaveAs(); // escape leaves everything as it was
    fixture.bar.getNameField().setText ("Never", juce::dontSendNotification);
    fixture.bar.getNameField().keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
    editorprobe::pumpMessages(); // the field reports keys asynchronously
    EXPECT_FALSE (fixture.bar.isNameFieldShown());
    EXPECT_FALSE (fixture.library.fileFor ("Never").exists());
}

TEST (PresetBar, ADamagedUserPresetIsRefusedWithAMessageAndChangesNothing)
{
    BarFixture fixture;
    ASSERT_TRUE (fixture.folder.createDirectory());
    fixture.library.fileFor ("Broken").replaceWithText ("VST3 but not really");

    juce::MemoryBlock before, after;
    fixture.processor.getStateInformation (before);
    fixture.bar.loadByName ("Broken");
    fixture.processor.getStateInformation (after);

    EXPECT_EQ (after, before);
    EXPECT_TRUE (fixture.bar.getLook().message.startsWith ("Cannot load")) << fixture.bar.getLook().message;
    const auto shown = paintprobe::paint (fixture.bar);
    int alertPixels = 0;
    for (int y = 0; y < 26; ++y)
        for (int x = 26; x < 274; ++x)
            alertPixels += paintprobe::distance (shown.getPixelAt (x, y), Palette::alert) < 60 ? 1 : 0;
    EXPECT_GT (alertPixels, 20) << "the message is shown in the alert colour";
}

TEST (PresetBar, LoadingAPresetReachesTheHostAsOneGesturePerParameter)
{
    BarFixture fixture;
    GestureRecorder host (fixture.processor);
    fixture.bar.handleMenuItem (PresetBar::firstFactoryItem);

    const auto& ids = soundParameterIds();
    ASSERT_EQ (host.events.size(), 3 * ids.size());
    for (int i = 0; i < ids.size(); ++i)
    {
        EXPECT_EQ (host.events[3 * i], "begin " + ids[i]);
        EXPECT_EQ (host.events[3 * i + 1], "perform " + ids[i]);
        EXPECT_EQ (host.events[3 * i + 2], "end " + ids[i]);
    }
    EXPECT_EQ (host.count ("perform"), ids.size());
}
