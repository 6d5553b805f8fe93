#include "tests/support/PaintProbe.h"
#include "ui/VelbriFontOptions.h"
#include "ui/VelbriLookAndFeel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using paintprobe::distance;
using paintprobe::over;

const AccentColours defaultAccents { juce::Colour (0xffa6f0ff), juce::Colour (0xff3d7bff), juce::Colour (0xff7fa8ff) };
const juce::Colour black = juce::Colours::black;

// Every test starts and ends with the accent set the editor installs.
class LookAndFeelTest : public testing::Test
{
protected:
    void TearDown() override { VelbriLookAndFeel restore (defaultAccents); }

    VelbriLookAndFeel lookAndFeel { defaultAccents };
};

VelbriLookAndFeel::FontSources unreadableFonts()
{
    static const char garbage[] = "this is not a TrueType file, nor anything a font loader can read";
    return { { garbage, sizeof (garbage) }, { garbage, sizeof (garbage) } };
}

struct FontFact
{
    juce::String what;
    juce::Font font;
    juce::String face;
    float height;
};

std::vector<FontFact> fontsOf (VelbriLookAndFeel& lookAndFeel, const juce::String& regularFace,
                               const juce::String& displayFace)
{
    juce::Label labelWithItsOwnFont;
    labelWithItsOwnFont.setFont (juce::Font (juce::Font::getDefaultSerifFontName(), 31.0f, juce::Font::bold));
    juce::TextButton button ("TAP");
    juce::ComboBox combo;

    return {
        { "label", lookAndFeel.getLabelFont (labelWithItsOwnFont), regularFace, 15.0f },
        { "short text button", lookAndFeel.getTextButtonFont (button, 10), displayFace, 18.0f },
        { "tall text button", lookAndFeel.getTextButtonFont (button, 80), displayFace, 18.0f },
        { "combo box", lookAndFeel.getComboBoxFont (combo), displayFace, 20.0f },
        { "footer display font", lookAndFeel.getDisplayFont (13.0f), displayFace, 13.0f },
        { "large display font", lookAndFeel.getDisplayFont (40.0f), displayFace, 40.0f },
    };
}

void expectFonts (const std::vector<FontFact>& facts)
{
    for (const auto& fact : facts)
    {
        EXPECT_EQ (fact.font.getTypefaceName(), fact.face) << fact.what;
        EXPECT_FLOAT_EQ (fact.font.getHeight(), fact.height) << fact.what;
        EXPECT_FALSE (fact.font.isBold()) << fact.what;
    }
}

// A toggle laid out as the editor's bypass switch, with the look and feel installed.
struct Toggle
{
    Toggle (VelbriLookAndFeel& lookAndFeel, const juce::String& text, bool on, int width = 110, int height = 38)
        : button (text)
    {
        button.setLookAndFeel (&lookAndFeel);
        button.setToggleState (on, juce::dontSendNotification);
        button.setSize (width, height);
    }

    ~Toggle() { button.setLookAndFeel (nullptr); }

    juce::ToggleButton button;
};

// The caption alone, drawn where a toggle of the given size puts it: right of the square LED strip.
juce::Image expectedCaption (int width, int height, const juce::String& text, juce::Colour colour, juce::Font font)
{
    auto image = paintprobe::canvas (width, height);
    juce::Graphics g (image);
    g.setColour (colour);
    g.setFont (font);
    const auto side = (float) juce::jmin (width, height);
    g.drawText (text, juce::Rectangle<float> (side + 4.0f, 0.0f, juce::jmax ((float) width - side - 8.0f, 0.0f),
                                              (float) height),
                juce::Justification::centredLeft, true);
    return image;
}

juce::Rectangle<int> captionStrip (int width, int height)
{
    const auto side = juce::jmin (width, height);
    return { side, 0, width - side, height };
}
} // namespace

TEST_F (LookAndFeelTest, HandsOutFontsFromTheTwoEmbeddedFacesAtFixedHeights)
{
    expectFonts (fontsOf (lookAndFeel, "Chakra Petch", "VT323"));
}

TEST_F (LookAndFeelTest, EveryFontFallsBackToTheDefaultFaceWhenATypefaceIsMissing)
{
    const auto sans = juce::Font::getDefaultSansSerifFontName();

    VelbriLookAndFeel unreadable (defaultAccents, unreadableFonts());
    expectFonts (fontsOf (unreadable, sans, sans));

    VelbriLookAndFeel absent (defaultAccents, VelbriLookAndFeel::FontSources {});
    expectFonts (fontsOf (absent, sans, sans));

    // The toggle's caption, too, comes out in the default face at 18.
    Toggle toggle (unreadable, {}, false);
    const auto painted = paintprobe::paint (toggle.button);
    const auto expected = expectedCaption (110, 38, "REC", Palette::textPrimary, juce::Font (18.0f));
    EXPECT_EQ (paintprobe::countDifferences (painted, expected, captionStrip (110, 38)), 0);
}

TEST_F (LookAndFeelTest, ConstructionInstallsTheAccentsAndTheColourTable)
{
    const AccentColours custom { juce::Colour (0xff112233), juce::Colour (0xff445566), juce::Colour (0xff778899) };
    VelbriLookAndFeel tinted (custom);

    EXPECT_EQ (Palette::accentGlow, custom.glow);
    EXPECT_EQ (Palette::accent, custom.accent);
    EXPECT_EQ (Palette::accentBright, custom.accentBright);

    const std::pair<int, juce::uint32> table[] = {
        { juce::ResizableWindow::backgroundColourId, 0xff06070d },
        { juce::Label::textColourId, 0xffc9d2e0 },
        { juce::ComboBox::backgroundColourId, 0xff0d0f18 },
        { juce::ComboBox::textColourId, 0xffc9d2e0 },
        { juce::ComboBox::outlineColourId, 0xff7a87a3 },
        { juce::PopupMenu::backgroundColourId, 0xff0d0f18 },
        { juce::PopupMenu::textColourId, 0xffc9d2e0 },
        { juce::PopupMenu::highlightedBackgroundColourId, 0xff445566 },
        { juce::Slider::textBoxTextColourId, 0xffc9d2e0 },
        { juce::Slider::textBoxBackgroundColourId, 0xff0d0f18 },
        { juce::Slider::textBoxOutlineColourId, 0xff7a87a3 },
        { juce::TextButton::textColourOffId, 0xffc9d2e0 },
        { juce::TextButton::textColourOnId, 0xff06070d },
    };
    for (const auto& [id, argb] : table)
        EXPECT_EQ (tinted.findColour (id).getARGB(), argb) << "colour id 0x" << juce::String::toHexString (id);

    // Another construction writes the accent set again.
    VelbriLookAndFeel second (defaultAccents);
    EXPECT_EQ (Palette::accentGlow.getARGB(), 0xffa6f0ffu);
}

TEST_F (LookAndFeelTest, ToggleCaptionAndLedFollowTheStateAndTheButtonText)
{
    struct Case
    {
        const char* text;
        bool on;
        const char* caption;
        juce::Colour captionColour;
        juce::Colour ledColour; // as painted over black; a transparent colour means "the pulsing alert"
    };
    const Case cases[] = {
        { "", true, "BYPASS", Palette::textMuted, Palette::textMuted },
        { "", false, "REC", Palette::textPrimary, juce::Colours::transparentBlack },
        { "SYNC", true, "SYNC", Palette::textPrimary, Palette::accentGlow },
        { "SYNC", false, "SYNC", Palette::textMuted, over (black, Palette::textMuted.withAlpha (0.35f)) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.text) + (c.on ? " on" : " off"));
        Toggle toggle (lookAndFeel, c.text, c.on);
        const auto painted = paintprobe::paint (toggle.button);

        const auto expected = expectedCaption (110, 38, c.caption, c.captionColour, lookAndFeel.getDisplayFont (18.0f));
        EXPECT_EQ (paintprobe::countDifferences (painted, expected, captionStrip (110, 38)), 0);

        // The LED is the ellipse (5, 5, 28, 28); its centre is (19, 19).
        const auto led = painted.getPixelAt (19, 19);
        if (c.ledColour.isTransparent())
            EXPECT_GT (led.getRed(), 20) << "the alert LED never drops below alpha 0.1";
        else
            EXPECT_LE (distance (led, c.ledColour), 3) << led.toDisplayString (false).toStdString();
        EXPECT_EQ (painted.getPixelAt (2, 19), black) << "nothing outside the LED on the left";
    }
}

TEST_F (LookAndFeelTest, BypassLedPulsesInTheAlertColourWhileOff)
{
    Toggle toggle (lookAndFeel, {}, false);
    const auto before = juce::Time::getMillisecondCounterHiRes();
    const auto led = paintprobe::paint (toggle.button).getPixelAt (19, 19);
    const auto after = juce::Time::getMillisecondCounterHiRes();

    // alpha = 0.55 + 0.45 sin (0.003 t): bracket it over the time the paint took.
    const auto a0 = 0.55 + 0.45 * std::sin (0.003 * before);
    const auto a1 = 0.55 + 0.45 * std::sin (0.003 * after);
    const auto alpha = led.getRed() / 255.0;
    EXPECT_GE (alpha, std::min (a0, a1) - 0.01);
    EXPECT_LE (alpha, std::max (a0, a1) + 0.01);
    EXPECT_NEAR (led.getGreen(), 0x5a * alpha, 2.0);
    EXPECT_NEAR (led.getBlue(), 0x36 * alpha, 2.0);
}

TEST_F (LookAndFeelTest, ToggleNarrowerThanTallShowsAnUprightLedAndNoCaption)
{
    Toggle toggle (lookAndFeel, {}, true, 20, 38);
    const auto painted = paintprobe::paint (toggle.button);

    // side = 20: the LED is the ellipse (5, 5, 10, 28).
    EXPECT_LE (distance (painted.getPixelAt (10, 8), Palette::textMuted), 3) << "upper part of the upright LED";
    EXPECT_LE (distance (painted.getPixelAt (10, 30), Palette::textMuted), 3) << "lower part of the upright LED";
    EXPECT_EQ (painted.getPixelAt (17, 19), black) << "right of the LED";
    EXPECT_EQ (painted.getPixelAt (10, 2), black) << "above the LED";
}

TEST_F (LookAndFeelTest, ButtonBackgroundIsFlatAndFollowsDownAndHover)
{
    struct Case
    {
        bool highlighted, down;
        juce::Colour fill;
    };
    const Case cases[] = {
        { false, false, Palette::controlBackground },
        { true, false, Palette::controlBackground.brighter (0.2f) },
        { false, true, Palette::accent },
        { true, true, Palette::accent },
    };

    juce::TextButton button;
    button.setSize (92, 24);
    for (const auto& c : cases)
    {
        auto image = paintprobe::canvas (92, 24);
        juce::Graphics g (image);
        lookAndFeel.drawButtonBackground (g, button, juce::Colours::red, c.highlighted, c.down);

        EXPECT_EQ (image.getPixelAt (46, 12), c.fill) << c.highlighted << c.down;
        EXPECT_EQ (image.getPixelAt (1, 1), c.fill) << "square corners";
        EXPECT_EQ (image.getPixelAt (0, 12), Palette::textMuted) << "outline";
        EXPECT_EQ (image.getPixelAt (91, 0), Palette::textMuted) << "outline";
    }
}

TEST_F (LookAndFeelTest, ComboArrowCentresInItsLastEighteenPixels)
{
    juce::ComboBox box;
    for (const int width : { 120, 12 })
    {
        box.setSize (width, 26);
        auto image = paintprobe::canvas (width, 26);
        juce::Graphics g (image);
        lookAndFeel.drawComboBox (g, width, 26, false, 0, 0, width, 26, box);

        const auto arrowX = width - juce::jmin (width, 18) / 2;
        EXPECT_EQ (image.getPixelAt (arrowX, 12), Palette::accentGlow) << width;
        EXPECT_EQ (image.getPixelAt (arrowX, 6), Palette::controlBackground) << width;
        EXPECT_EQ (image.getPixelAt (0, 13), Palette::textMuted) << width;
    }
}

namespace
{
// A 40 x 200 fader without a text box: its thumb travels from y 12 to y 188 (the V4 thumb
// indent is 12), so the value v of a range [lo, hi] sits at 12 + 176 (hi - v) / (hi - lo).
struct Fader
{
    Fader (VelbriLookAndFeel& lookAndFeel, double lo, double hi, double value)
    {
        slider.setLookAndFeel (&lookAndFeel);
        slider.setSliderStyle (juce::Slider::LinearVertical);
        slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        slider.setRange (lo, hi);
        slider.setValue (value, juce::dontSendNotification);
        slider.setSize (40, 200);
    }

    ~Fader() { slider.setLookAndFeel (nullptr); }

    static int yOf (double lo, double hi, double v) { return (int) std::lround (12.0 + 176.0 * (hi - v) / (hi - lo)); }

    juce::Slider slider;
};

bool isLit (juce::Colour pixel)
{
    return pixel.getBlue() > 0xc0 && distance (pixel, Palette::trackBackground) > 80;
}
} // namespace

TEST_F (LookAndFeelTest, FaderLightsItsGrooveFromZeroOrFromTheBottomToTheThumb)
{
    struct Case
    {
        double lo, hi, value;
        double litFrom, litTo;   // values whose span must be lit
        double darkFrom, darkTo; // values whose span must stay dark
    };
    const Case cases[] = {
        { -24.0, 24.0, 12.0, 1.0, 9.0, -23.0, -1.0 },  // boost: up from the zero line
        { -24.0, 24.0, -12.0, -9.0, -1.0, 1.0, 23.0 }, // cut: down from the zero line
        { -24.0, 24.0, 0.0, 0.0, 0.0, -23.0, 23.0 },   // at zero: nothing lit
        { 0.0, 100.0, 50.0, 2.0, 44.0, 56.0, 98.0 },   // no zero in range: up from the bottom
        { 0.0, 100.0, 0.0, 0.0, 0.0, 2.0, 98.0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.lo) + ".." + juce::String (c.hi) + " at " + juce::String (c.value));
        Fader fader (lookAndFeel, c.lo, c.hi, c.value);
        const auto image = paintprobe::paint (fader.slider);

        // The cap (5.5 either side) and its shadow (radius 5, 2 down) cover up to 13 pixels.
        const auto thumbY = Fader::yOf (c.lo, c.hi, c.value);
        const auto clearOfCap = [thumbY] (int y) { return std::abs (y - thumbY) > 13; };

        for (auto y = Fader::yOf (c.lo, c.hi, c.litTo); y <= Fader::yOf (c.lo, c.hi, c.litFrom); ++y)
            if (c.litTo > c.litFrom && clearOfCap (y))
            {
                EXPECT_TRUE (isLit (image.getPixelAt (20, y))) << "y " << y;
            }
        for (auto y = Fader::yOf (c.lo, c.hi, c.darkTo); y <= Fader::yOf (c.lo, c.hi, c.darkFrom); ++y)
            if (clearOfCap (y))
            {
                EXPECT_EQ (image.getPixelAt (20, y), Palette::trackBackground) << "y " << y;
            }
    }
}

TEST_F (LookAndFeelTest, FaderDrawsTheZeroLineOnlyWhenItsRangeSpansZero)
{
    const auto line = over (black, Palette::textMuted.withAlpha (0.8f));
    {
        Fader spanning (lookAndFeel, -24.0, 24.0, 20.0);
        const auto image = paintprobe::paint (spanning.slider);
        // A one-pixel line on y = 100 (the position of 0) covers half of rows 99 and 100.
        for (const int x : { 3, 36 })
        {
            const auto upper = image.getPixelAt (x, 99);
            const auto lower = image.getPixelAt (x, 100);
            EXPECT_NEAR (upper.getRed() + lower.getRed(), line.getRed(), 4) << x;
            EXPECT_NEAR (upper.getBlue() + lower.getBlue(), line.getBlue(), 4) << x;
            EXPECT_EQ (image.getPixelAt (x, 97), black) << x;
            EXPECT_EQ (image.getPixelAt (x, 102), black) << x;
        }
    }
    {
        Fader positive (lookAndFeel, 0.0, 100.0, 80.0);
        const auto image = paintprobe::paint (positive.slider);
        // The thumb of 80 sits at y 47; below its cap and shadow nothing crosses the fader.
        for (int y = 60; y < 200; ++y)
            EXPECT_EQ (image.getPixelAt (3, y), black) << "y " << y;
    }
}

TEST_F (LookAndFeelTest, FaderCapSpansTheWholeWidthAtTheThumb)
{
    Fader fader (lookAndFeel, -24.0, 24.0, 12.0);
    const auto image = paintprobe::paint (fader.slider);
    const auto thumbY = Fader::yOf (-24.0, 24.0, 12.0);

    for (const int x : { 2, 20, 37 })
    {
        EXPECT_GT (image.getPixelAt (x, thumbY - 3).getBrightness(), 0.55f) << "moulded cap at x " << x;
        EXPECT_LT (image.getPixelAt (x, thumbY).getBrightness(), 0.5f) << "dark grip line at x " << x;
    }
    EXPECT_EQ (image.getPixelAt (2, thumbY - 20), black) << "nothing but the groove away from the cap";
}

namespace
{
juce::Point<int> polar (float cx, float cy, float distance, float angle)
{
    return { (int) std::floor (cx + distance * std::sin (angle)), (int) std::floor (cy - distance * std::cos (angle)) };
}
} // namespace

TEST_F (LookAndFeelTest, KnobPointerAndValueArcFollowThePosition)
{
    // A 106-pixel knob: bounds reduced by 3 leave a 100-pixel square, R = 50, centre (53, 53).
    const float start = -2.5f, end = 2.5f, radius = 50.0f, centre = 53.0f;

    for (const float position : { 0.0f, 0.25f, 0.5f, 1.0f })
    {
        SCOPED_TRACE (position);
        juce::Slider knob;
        knob.setSize (106, 106);
        auto image = paintprobe::canvas (106, 106);
        juce::Graphics g (image);
        lookAndFeel.drawRotarySlider (g, 0, 0, 106, 106, position, start, end, knob);

        const auto angle = start + position * (end - start);
        const auto onPointer = image.getPixelAt (polar (centre, centre, 0.45f * radius, angle).x,
                                                 polar (centre, centre, 0.45f * radius, angle).y);
        const auto opposite = polar (centre, centre, 0.45f * radius, angle + juce::MathConstants<float>::pi);
        EXPECT_GT (onPointer.getBlue(), 0xd0) << onPointer.toDisplayString (false);
        EXPECT_LT (image.getPixelAt (opposite.x, opposite.y).getBlue(), 0xb0) << "body, not pointer";

        // The value arc at 0.78 R runs from the start angle to the value's angle and no further.
        const auto arcStart = polar (centre, centre, 0.78f * radius, start + 0.05f);
        const auto beyond = polar (centre, centre, 0.78f * radius, angle + 0.2f);
        if (position > 0.05f)
        {
            EXPECT_GT (image.getPixelAt (arcStart.x, arcStart.y).getBlue(), 0xc0);
        }
        if (position < 0.95f)
        {
            EXPECT_LT (image.getPixelAt (beyond.x, beyond.y).getBlue(), 0x60);
        }
    }
}

TEST_F (LookAndFeelTest, KnobsWithoutRoomCollapseOntoTheirCentre)
{
    juce::Slider knob;
    for (const int side : { 0, 3, 6 })
    {
        auto image = paintprobe::canvas (20, 20);
        juce::Graphics g (image);
        lookAndFeel.drawRotarySlider (g, 7, 7, side, side, 0.7f, -2.5f, 2.5f, knob);
        EXPECT_EQ (image.getPixelAt (0, 0), black) << side;
    }
}

TEST_F (LookAndFeelTest, FaceplateRoutinesPutRailsAndScrewsAtTheEdges)
{
    auto image = paintprobe::canvas (300, 200, juce::Colours::white);
    juce::Graphics g (image);
    const juce::Rectangle<float> area (0.0f, 0.0f, 300.0f, 200.0f);
    VelbriLookAndFeel::drawSideRails (g, area);
    VelbriLookAndFeel::drawScrews (g, area, 12.0f);

    // Rails straddle the edges (x -8..8 and 292..308) from y 10 to 190.
    EXPECT_LT (image.getPixelAt (4, 100).getBrightness(), 0.2f);
    EXPECT_LT (image.getPixelAt (296, 100).getBrightness(), 0.2f);
    EXPECT_EQ (image.getPixelAt (4, 4), juce::Colours::white) << "above the rail";
    EXPECT_EQ (image.getPixelAt (12, 100), juce::Colours::white) << "right of the left rail";

    // Screws are 13-pixel domes whose squares start 12 in from each corner.
    for (const auto& [x, y] : { std::pair { 18, 18 }, { 281, 18 }, { 18, 181 }, { 281, 181 } })
    {
        EXPECT_LT (image.getPixelAt (x + 3, y).getBrightness(), 0.5f) << x << "," << y;
        EXPECT_EQ (image.getPixelAt (x, y - 9), juce::Colours::white) << x << "," << y;
    }
}

TEST (VelbriFontOptions, ATypefaceWithoutANameCountsAsMissing)
{
    // What JUCE 7.0.5 hands back when it could not read a font: an object with an empty name.
    struct NamelessTypeface : juce::Typeface
    {
        NamelessTypeface() : Typeface ({}, {}) {}
        float getAscent() const override { return 0.8f; }
        float getDescent() const override { return 0.2f; }
        float getHeightToPointsFactor() const override { return 1.0f; }
        float getStringWidth (const juce::String&) override { return 0.0f; }
        void getGlyphPositions (const juce::String&, juce::Array<int>&, juce::Array<float>&) override {}
        bool getOutlineForGlyph (int, juce::Path&) override { return false; }
    };

    const auto font = VelbriFontOptions (12.5f).withTypeface (new NamelessTypeface()).toFont();
    EXPECT_EQ (font.getTypefaceName(), juce::Font::getDefaultSansSerifFontName());
    EXPECT_FLOAT_EQ (font.getHeight(), 12.5f);
    EXPECT_EQ (VelbriFontOptions (11.0f).toFont().getTypefaceName(), juce::Font::getDefaultSansSerifFontName());
}
