#include "tests/support/MouseEvents.h"
#include "tests/support/PaintProbe.h"
#include "ui/Palette.h"
#include "ui/VelbriLedButton.h"
#include "ui/VelbriLedSwitch.h"
#include "ui/VelbriLookAndFeel.h"
#include "ui/VelbriLedStackSelector.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using paintprobe::distance;
using paintprobe::over;

const juce::Colour black = juce::Colours::black;

juce::Image paintLed (bool on, bool highlighted, int side = 60)
{
    VelbriLedButton button;
    button.setSize (side, side);
    button.setToggleState (on, juce::dontSendNotification);
    auto image = paintprobe::canvas (side, side);
    juce::Graphics g (image);
    button.paintButton (g, highlighted, false);
    return image;
}

// A selector sized as in the editor (120 x 48, three rows) that records what it reports.
struct Selector
{
    explicit Selector (int height = 48, juce::StringArray items = { "Room", "Hall", "Cathedral" })
    {
        selector.setSize (120, height);
        selector.setItems (items);
        selector.onChange = [this] (int index) { reported.push_back (index); };
    }

    void releaseAt (int y) { selector.mouseUp (::releaseAt (selector, 30, y)); }

    VelbriLedStackSelector selector;
    std::vector<int> reported;
};

// Captions as the selector should draw them: default face at 12.5, right of each LED box.
juce::Image expectedCaptions (const juce::StringArray& items, int lit, int width, int rowHeight)
{
    auto image = paintprobe::canvas (width, rowHeight * items.size());
    juce::Graphics g (image);
    g.setFont (juce::Font (12.5f));
    const auto ledBox = juce::jmin (width, rowHeight);
    for (int row = 0; row < items.size(); ++row)
    {
        g.setColour (row == lit ? Palette::textPrimary : Palette::textMuted);
        g.drawText (items[row], ledBox + 2, row * rowHeight, width - ledBox - 4, rowHeight,
                    juce::Justification::centredLeft, true);
    }
    return image;
}
} // namespace

TEST (VelbriLedButton, IsATextlessToggleThatClicksFlip)
{
    VelbriLedButton button;
    EXPECT_TRUE (button.getName().isEmpty());
    EXPECT_TRUE (button.getButtonText().isEmpty());
    EXPECT_TRUE (button.getClickingTogglesState());
}

TEST (VelbriLedButton, GlowsWhenOnAndDimsWhenOffBrighteningUnderTheMouse)
{
    // On a 60-pixel LED the lens gradient runs from white at (21, 18) to the corner (60, 60); the
    // pure LED colour sits at 45 % of that, around pixel (38, 36).
    struct Case
    {
        bool on, highlighted;
        juce::Colour expected;
    };
    const Case cases[] = {
        { true, false, Palette::accentGlow },
        { true, true, Palette::accentGlow },
        { false, false, over (black, Palette::textMuted.withAlpha (0.35f)) },
        { false, true, over (black, Palette::textMuted.withAlpha (0.6f)) },
    };

    for (const auto& c : cases)
    {
        const auto image = paintLed (c.on, c.highlighted);
        const auto pixel = image.getPixelAt (38, 36);
        EXPECT_LE (distance (pixel, c.expected), 6)
            << "on " << c.on << " hovered " << c.highlighted << ": " << pixel.toDisplayString (false);
        EXPECT_GT (image.getPixelAt (25, 22).getPerceivedBrightness(), pixel.getPerceivedBrightness()) << "highlight towards upper left";
        EXPECT_LT (image.getPixelAt (52, 44).getPerceivedBrightness(), pixel.getPerceivedBrightness()) << "darker towards lower right";
    }
}

TEST (VelbriLedButton, RingShowsOnlyTowardsTheCorners)
{
    // The ring is the ellipse 1.5 pixels outside the button, radius 31.5 around (30, 30): on the
    // diagonal it passes (52.3, 52.3), inside the square; mid-side it lies outside and is cut off.
    const auto image = paintLed (true, false);
    const auto glow = Palette::accentGlow;
    for (const auto& [x, y] : { std::pair { 52, 52 }, { 7, 7 }, { 52, 7 }, { 7, 52 } })
    {
        const auto ring = image.getPixelAt (x, y);
        EXPECT_NEAR (ring.getHue(), glow.getHue(), 0.02f) << "ring towards the corner at " << x << "," << y;
        EXPECT_GT (ring.getPerceivedBrightness(), 0.5f * glow.getPerceivedBrightness()) << x << "," << y;
    }
    EXPECT_EQ (image.getPixelAt (56, 56), black) << "outside the ring";
    EXPECT_EQ (image.getPixelAt (0, 0), black) << "the corner itself";
}

TEST (VelbriLedStackSelector, ReleaseRowFollowsTheIntegerRowHeightAndClampsToTheEnds)
{
    // 48 pixels, three rows: 16 each.
    const std::pair<int, int> releases[] = {
        { -40, 0 }, { -1, 0 }, { 0, 0 }, { 15, 0 }, { 16, 1 }, { 31, 1 }, { 32, 2 }, { 47, 2 }, { 48, 2 }, { 90, 2 },
    };
    for (const auto& [y, row] : releases)
    {
        Selector s;
        s.selector.setSelectedIndex (row == 1 ? 0 : 1);
        s.releaseAt (y);
        EXPECT_EQ (s.selector.getSelectedIndex(), row) << "release at y " << y;
        EXPECT_EQ (s.reported, std::vector<int> { row }) << "release at y " << y;
    }
}

TEST (VelbriLedStackSelector, ReportsEveryReleaseEvenOnTheLitRow)
{
    Selector s;
    s.releaseAt (20);
    s.releaseAt (20);
    s.releaseAt (40);
    s.releaseAt (3);
    EXPECT_EQ (s.reported, (std::vector<int> { 1, 1, 2, 0 }));
    EXPECT_EQ (s.selector.getSelectedIndex(), 0);
}

TEST (VelbriLedStackSelector, SettingTheIndexFromOutsideNeverReports)
{
    Selector s;
    s.selector.setSelectedIndex (2);
    s.selector.setSelectedIndex (2);
    s.selector.setSelectedIndex (-1);
    s.selector.setSelectedIndex (5);
    EXPECT_TRUE (s.reported.empty());
    EXPECT_EQ (s.selector.getSelectedIndex(), 5);

    s.selector.setItems ({ "Slap", "8th", "Quarter" });
    EXPECT_EQ (s.selector.getSelectedIndex(), 5) << "new captions keep the index";
}

TEST (VelbriLedStackSelector, WithoutItemsPaintsNothingAndIgnoresClicks)
{
    Selector s (48, {});
    s.selector.setSelectedIndex (1);
    s.releaseAt (20);
    EXPECT_TRUE (s.reported.empty());
    EXPECT_EQ (s.selector.getSelectedIndex(), 1);

    const auto image = paintprobe::paint (s.selector);
    EXPECT_EQ (paintprobe::countDifferences (image, paintprobe::canvas (120, 48), { 0, 0, 120, 48 }, 0), 0);
}

TEST (VelbriLedStackSelector, PaintsOneLedAndCaptionPerRowWithTheLitRowHighlighted)
{
    const juce::StringArray items { "Warm", "Deep", "Air-Cut" };
    const auto unlitLed = over (black, Palette::textMuted.withAlpha (0.4f));

    for (const int lit : { 0, 1, 2, -1, 3 })
    {
        SCOPED_TRACE (lit);
        Selector s (48, items);
        s.selector.setSelectedIndex (lit);
        const auto image = paintprobe::paint (s.selector);

        // rowH 16: each LED is the ellipse (4.8, rowY + 4.8, 6.4, 6.4), centred at (8, rowY + 8).
        for (int row = 0; row < 3; ++row)
        {
            const auto centre = image.getPixelAt (7, row * 16 + 7);
            EXPECT_LE (distance (centre, row == lit ? Palette::accentGlow : unlitLed), 3) << "row " << row;
            EXPECT_EQ (image.getPixelAt (3, row * 16 + 8), black) << "left of the LED, row " << row;
            EXPECT_EQ (image.getPixelAt (12, row * 16 + 8), black) << "right of the LED, row " << row;
        }

        // Captions begin at x = 18 (ledBox 16 + 2).
        const auto expected = expectedCaptions (items, lit, 120, 16);
        EXPECT_EQ (paintprobe::countDifferences (image, expected, { 16, 0, 104, 48 }), 0);
    }
}

TEST (VelbriLedStackSelector, LeftoverStripBelowTheRowsBelongsToTheLastRowForClicksOnly)
{
    Selector s (50);
    s.selector.setSelectedIndex (0);
    const auto image = paintprobe::paint (s.selector, juce::Colours::white);
    for (int x = 0; x < 120; ++x)
    {
        EXPECT_EQ (image.getPixelAt (x, 48), juce::Colours::white) << x;
        EXPECT_EQ (image.getPixelAt (x, 49), juce::Colours::white) << x;
    }

    s.releaseAt (49);
    EXPECT_EQ (s.reported, std::vector<int> { 2 });
}

TEST (VelbriLedStackSelector, ShorterThanItsRowsClicksWithOnePixelRows)
{
    Selector s (2);
    const auto image = paintprobe::paint (s.selector);
    EXPECT_EQ (paintprobe::countDifferences (image, paintprobe::canvas (120, 2), { 0, 0, 120, 2 }, 0), 0)
        << "rows of height 0 paint nothing";

    s.releaseAt (0);
    s.releaseAt (1);
    s.releaseAt (2);
    s.releaseAt (7);
    EXPECT_EQ (s.reported, (std::vector<int> { 0, 1, 2, 2 }));
}

namespace
{
// A switch sized as beside a pre-delay knob (34 x 30), painted in the given state.
juce::Image paintSwitch (bool on, bool highlighted)
{
    VelbriLedSwitch sync ("SYNC");
    sync.setSize (34, 30);
    sync.setToggleState (on, juce::dontSendNotification);
    auto image = paintprobe::canvas (34, 30);
    juce::Graphics g (image);
    sync.paintButton (g, highlighted, false);
    return image;
}
} // namespace

TEST (VelbriLedSwitch, IsACaptionedToggleThatClicksFlip)
{
    VelbriLedSwitch sync ("SYNC");
    EXPECT_EQ (sync.getButtonText(), "SYNC");
    EXPECT_TRUE (sync.getClickingTogglesState());
    EXPECT_TRUE (sync.getWantsKeyboardFocus());

    sync.setSize (34, 30);
    EXPECT_EQ (VelbriLedSwitch::ledArea (sync.getLocalBounds()), juce::Rectangle<float> (11, 2, 12, 12));
    EXPECT_EQ (VelbriLedSwitch::captionArea (sync.getLocalBounds()), juce::Rectangle<int> (0, 16, 34, 14));
}

// The LED is drawn as the LED buttons draw theirs, in the same colours; the caption below it is
// bright when on and muted when off, centred under the LED.
TEST (VelbriLedSwitch, PaintsTheLedButtonsLedAboveACaptionInTheStateColours)
{
    struct Case
    {
        bool on, highlighted;
        juce::Colour led, caption;
    };
    const Case cases[] = {
        { true, false, Palette::accentGlow, Palette::textPrimary },
        { true, true, Palette::accentGlow, Palette::textPrimary },
        { false, false, Palette::textMuted.withAlpha (0.35f), Palette::textMuted },
        { false, true, Palette::textMuted.withAlpha (0.6f), Palette::textMuted },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String ("on ") + (c.on ? "yes" : "no") + ", hovered " + (c.highlighted ? "yes" : "no"));
        const auto image = paintSwitch (c.on, c.highlighted);

        auto expected = paintprobe::canvas (34, 30);
        {
            juce::Graphics g (expected);
            VelbriLookAndFeel::drawLed (g, { 11, 2, 12, 12 }, c.led);
            g.setColour (c.caption);
            g.setFont (juce::Font (14.0f));
            g.drawText ("SYNC", juce::Rectangle<int> (0, 16, 34, 14), juce::Justification::centred, false);
        }
        EXPECT_EQ (paintprobe::countDifferences (image, expected, image.getBounds(), 0), 0);

        int captionPixels = 0;
        for (int y = 16; y < 30; ++y)
            for (int x = 0; x < 34; ++x)
                captionPixels += image.getPixelAt (x, y) != black ? 1 : 0;
        EXPECT_GT (captionPixels, 20) << "the caption is drawn";
    }

    // On and off differ in the caption as well as in the LED.
    const auto on = paintSwitch (true, false);
    const auto off = paintSwitch (false, false);
    EXPECT_GT (paintprobe::countDifferences (on, off, { 0, 16, 34, 14 }, 8), 10);
    EXPECT_GT (paintprobe::countDifferences (on, off, { 11, 2, 12, 12 }, 8), 60);
}

TEST (VelbriLedSwitch, SmallerThanItsLedItStillPaintsInsideItself)
{
    for (const auto& size : { juce::Point<int> (6, 30), juce::Point<int> (34, 10), juce::Point<int> (0, 0) })
    {
        const juce::Rectangle<int> bounds (0, 0, size.x, size.y);
        EXPECT_LE (VelbriLedSwitch::ledArea (bounds).getWidth(), (float) size.x);
        EXPECT_TRUE (bounds.contains (VelbriLedSwitch::captionArea (bounds)) || VelbriLedSwitch::captionArea (bounds).isEmpty());

        VelbriLedSwitch sync ("SYNC");
        sync.setSize (size.x, size.y);
        paintprobe::paint (sync); // nothing to crash on
    }
}
