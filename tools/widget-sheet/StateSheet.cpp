#include "tools/widget-sheet/StateSheet.h"

#include "ui/VelbriChoiceBox.h"
#include "ui/VelbriLadderMeter.h"
#include "ui/VelbriLedButton.h"
#include "ui/VelbriLedSwitch.h"
#include "ui/VelbriLedStackSelector.h"
#include "ui/VelbriLookAndFeel.h"
#include "ui/VelbriGainReductionMeter.h"
#include "ui/VelbriVuArc.h"

#include <functional>

namespace
{
constexpr float zoom = 2.0f;
const juce::Colour panelColour { 0xff171a24 };

using Painter = std::function<void (juce::Graphics&)>;

struct Cell
{
    juce::String caption;
    int width, height;
    Painter paint;
};

// Cells flow left to right in rows, each drawn at `zoom` over the faceplate colour with a caption.
class Sheet
{
public:
    // `key` names the row's files: <key>-<caption>.png.
    void row (const juce::String& key, const juce::String& title) { rows.push_back ({ key, title, {} }); }
    void add (const juce::String& caption, int width, int height, Painter paint)
    {
        rows.back().cells.push_back ({ caption, width, height, std::move (paint) });
    }

    juce::Image render() const
    {
        int sheetWidth = 600;
        for (const auto& r : rows)
            sheetWidth = juce::jmax (sheetWidth, rowWidth (r.cells) + 20);
        int height = 20;
        for (const auto& r : rows)
            height += rowHeight (r.cells) + 40;

        juce::Image image (juce::Image::ARGB, sheetWidth, height, true);
        juce::Graphics g (image);
        g.fillAll (panelColour);
        int y = 20;
        for (const auto& [key, title, cells] : rows)
        {
            g.setColour (Palette::textPrimary);
            g.setFont (juce::Font (15.0f, juce::Font::bold));
            g.drawText (title, 20, y, sheetWidth - 40, 18, juce::Justification::centredLeft);
            y += 22;
            int x = 20;
            for (const auto& cell : cells)
            {
                drawCell (g, cell, x, y);
                x += (int) ((float) cell.width * zoom) + 28;
            }
            y += rowHeight (cells) + 18;
        }
        return image;
    }

    static juce::Image renderAlone (const Cell& cell)
    {
        juce::Image image (juce::Image::ARGB, (int) ((float) cell.width * zoom), (int) ((float) cell.height * zoom),
                           true);
        juce::Graphics g (image);
        g.fillAll (panelColour);
        g.addTransform (juce::AffineTransform::scale (zoom));
        cell.paint (g);
        return image;
    }

    std::vector<std::pair<juce::String, juce::Image>> renderEach() const
    {
        std::vector<std::pair<juce::String, juce::Image>> images;
        for (const auto& r : rows)
            for (const auto& cell : r.cells)
                images.emplace_back (fileStem (r.key + " " + cell.caption), renderAlone (cell));
        return images;
    }

private:
    static int rowWidth (const std::vector<Cell>& cells)
    {
        int w = 20;
        for (const auto& cell : cells)
            w += (int) ((float) cell.width * zoom) + 28;
        return w;
    }

    static int rowHeight (const std::vector<Cell>& cells)
    {
        int h = 0;
        for (const auto& cell : cells)
            h = juce::jmax (h, (int) ((float) cell.height * zoom) + 18);
        return h;
    }

    static void drawCell (juce::Graphics& g, const Cell& cell, int x, int y)
    {
        {
            juce::Graphics::ScopedSaveState state (g);
            g.reduceClipRegion (x, y, (int) ((float) cell.width * zoom), (int) ((float) cell.height * zoom));
            g.addTransform (juce::AffineTransform::scale (zoom).translated ((float) x, (float) y));
            cell.paint (g);
        }
        g.setColour (Palette::textMuted);
        g.setFont (juce::Font (12.0f));
        g.drawText (cell.caption, x, y + (int) ((float) cell.height * zoom) + 2,
                    juce::jmax ((int) ((float) cell.width * zoom), 60), 14, juce::Justification::centredLeft);
    }

    // "ladder -1.5 dB" becomes "ladder-minus1p5-db".
    static juce::String fileStem (const juce::String& text)
    {
        auto stem = (" " + text.toLowerCase()).replace (" -", " minus").replace ("+", "plus").replace (".", "p");
        stem = stem.trim().replaceCharacters (" /", "--").retainCharacters ("abcdefghijklmnopqrstuvwxyz0123456789-");
        while (stem.contains ("--"))
            stem = stem.replace ("--", "-");
        return stem;
    }

    struct Row
    {
        juce::String key, title;
        std::vector<Cell> cells;
    };

    std::vector<Row> rows;
};

// Paints a component (with its look and feel) into the cell.
template <typename ComponentType>
Painter componentPainter (std::shared_ptr<ComponentType> component)
{
    return [component] (juce::Graphics& g) { component->paintEntireComponent (g, false); };
}

struct Fixture
{
    VelbriLookAndFeel lookAndFeel { { juce::Colour (0xffa6f0ff), juce::Colour (0xff3d7bff),
                                      juce::Colour (0xff7fa8ff) } };
};

template <typename ComponentType, typename Setup>
Painter make (Fixture& fixture, int width, int height, Setup setup)
{
    auto component = std::shared_ptr<ComponentType> (new ComponentType(), [] (ComponentType* c) {
        c->setLookAndFeel (nullptr);
        delete c;
    });
    component->setLookAndFeel (&fixture.lookAndFeel);
    component->setSize (width, height);
    setup (*component);
    return componentPainter (component);
}

void addLedRows (Sheet& sheet, Fixture& fixture)
{
    sheet.row ("led", "VelbriLedButton (18 x 18) and VelbriLedStackSelector (120 x 48)");
    struct LedCase
    {
        const char* caption;
        bool on, hover;
    };
    for (const auto& c : { LedCase { "on", true, false }, LedCase { "off", false, false },
                           LedCase { "off hovered", false, true } })
    {
        sheet.add (c.caption, 18, 18, [on = c.on, hover = c.hover] (juce::Graphics& g) {
            VelbriLedButton button;
            button.setSize (18, 18);
            button.setToggleState (on, juce::dontSendNotification);
            button.paintButton (g, hover, false);
        });
    }
    const juce::StringArray items[] = { { "Warm", "Deep", "Air-Cut" },
                                        { "Room", "Hall", "Cathedral" },
                                        { "Slap", "8th", "Quarter" },
                                        { "Close", "Wide", "Vast" } };
    const int lit[] = { 0, 1, 2, 7 };
    for (int i = 0; i < 4; ++i)
        sheet.add (i < 3 ? "row " + juce::String (lit[i]) + " lit" : juce::String ("index 7: none lit"), 120, 48,
                   make<VelbriLedStackSelector> (fixture, 120, 48, [&, i] (VelbriLedStackSelector& s) {
                       s.setItems (items[i]);
                       s.setSelectedIndex (lit[i]);
                   }));
    sheet.add ("narrow, long captions", 70, 48,
               make<VelbriLedStackSelector> (fixture, 70, 48, [] (VelbriLedStackSelector& s) {
                   s.setItems ({ "Cathedral", "Quarter note", "Air-Cut" });
                   s.setSelectedIndex (0);
               }));

    sheet.row ("led-switch", "VelbriLedSwitch (34 x 30, a pre-delay's SYNC, caption in the display face 16)");
    for (const auto& c : { LedCase { "on", true, false }, LedCase { "off", false, false },
                           LedCase { "off hovered", false, true } })
    {
        sheet.add (c.caption, 34, 30, [&fixture, on = c.on, hover = c.hover] (juce::Graphics& g) {
            VelbriLedSwitch sync ("SYNC");
            sync.setSize (34, 30);
            sync.setCaptionFont (fixture.lookAndFeel.getDisplayFont (16.0f));
            sync.setToggleState (on, juce::dontSendNotification);
            sync.paintButton (g, hover, false);
        });
    }
}

void addMeterRows (Sheet& sheet, Fixture& fixture)
{
    sheet.row ("ladder", "VelbriLadderMeter (16 x 416, as in the window)");
    for (const float level : { -100.0f, -45.0f, -30.0f, -13.5f, -9.0f, -4.5f, -1.5f, 0.0f, 6.0f })
        sheet.add (juce::String (level, 1) + " dB", 16, 416, make<VelbriLadderMeter> (fixture, 16, 416, [level] (auto& m) {
                       m.setLevelDb (level);
                   }));
    sheet.add ("h 95 at -3", 16, 95, make<VelbriLadderMeter> (fixture, 16, 95, [] (auto& m) { m.setLevelDb (-3.0f); }));
    sheet.add ("h 100 at -3", 16, 100,
               make<VelbriLadderMeter> (fixture, 16, 100, [] (auto& m) { m.setLevelDb (-3.0f); }));
    sheet.add ("h 20 at 0", 16, 20, make<VelbriLadderMeter> (fixture, 16, 20, [] (auto& m) { m.setLevelDb (0.0f); }));

    sheet.row ("vu", "VelbriVuArc (92 x 34, as in the header; then larger and degenerate sizes)");
    for (const float level : { -100.0f, -20.0f, -8.7f, 0.0f, 3.0f })
        sheet.add (juce::String (level, 1) + " dB", 92, 34,
                   make<VelbriVuArc> (fixture, 92, 34, [level] (auto& m) { m.setLevelDb (level); }));
    sheet.add ("216 x 132 at 0 dB", 216, 132,
               make<VelbriVuArc> (fixture, 216, 132, [] (auto& m) { m.setLevelDb (0.0f); }));
    sheet.add ("60 x 120 at -6", 60, 120, make<VelbriVuArc> (fixture, 60, 120, [] (auto& m) { m.setLevelDb (-6.0f); }));
    sheet.add ("14 x 30", 14, 30, make<VelbriVuArc> (fixture, 14, 30, [] (auto& m) { m.setLevelDb (0.0f); }));

    sheet.row ("gain-reduction", "VelbriGainReductionMeter (4 x 296, as beside the Dynamics fader)");
    for (const float reduction : { 0.0f, 3.0f, 12.0f, 21.0f, 30.0f })
        sheet.add (juce::String (reduction, 1) + " dB", 4, 296,
                   make<VelbriGainReductionMeter> (fixture, 4, 296, [reduction] (auto& m) {
                       m.setReductionDb (reduction);
                   }));
}

void addButtonRows (Sheet& sheet, Fixture& fixture)
{
    sheet.row ("button", "Toggles (110 x 38 bypass, 92 x 18 SYNC), TAP button (92 x 24), combo box");
    for (const auto on : { false, true })
        sheet.add (on ? "bypass on" : "bypass off", 110, 38,
                   make<juce::ToggleButton> (fixture, 110, 38, [on] (juce::ToggleButton& b) {
                       b.setToggleState (on, juce::dontSendNotification);
                   }));
    for (const auto on : { true, false })
        sheet.add (on ? "SYNC on" : "SYNC off", 92, 18, make<juce::ToggleButton> (fixture, 92, 18, [on] (auto& b) {
                       b.setButtonText ("SYNC");
                       b.setToggleState (on, juce::dontSendNotification);
                   }));
    sheet.add ("narrow toggle", 20, 38, make<juce::ToggleButton> (fixture, 20, 38, [] (auto&) {}));

    struct ButtonCase
    {
        const char* caption;
        bool hover, down;
    };
    for (const auto& c : { ButtonCase { "TAP", false, false }, ButtonCase { "TAP hovered", true, false },
                           ButtonCase { "TAP down", true, true } })
    {
        auto button = std::make_shared<juce::TextButton> ("TAP");
        button->setLookAndFeel (&fixture.lookAndFeel);
        button->setSize (92, 24);
        sheet.add (c.caption, 92, 24, [button, &fixture, hover = c.hover, down = c.down] (juce::Graphics& g) {
            fixture.lookAndFeel.drawButtonBackground (g, *button, {}, hover, down);
            fixture.lookAndFeel.drawButtonText (g, *button, hover, down);
        });
    }
    sheet.add ("combo box", 120, 26, make<juce::ComboBox> (fixture, 120, 26, [] (juce::ComboBox& c) {
                   c.addItemList ({ "Quarter", "8th" }, 1);
                   c.setSelectedId (1, juce::dontSendNotification);
               }));
    for (const auto& choice : { "1x", "4x" })
        sheet.add ("Oversample " + juce::String (choice), 44, 18,
                   make<VelbriChoiceBox> (fixture, 44, 18, [choice] (juce::ComboBox& c) {
                       c.addItemList ({ choice }, 1);
                       c.setSelectedId (1, juce::dontSendNotification);
                   }));
}

void addSliderRows (Sheet& sheet, Fixture& fixture)
{
    sheet.row ("slider", "Faders (76 x 416 with text box) and knobs (46 x 46)");
    struct FaderCase
    {
        const char* caption;
        double lo, hi, value;
    };
    for (const auto& c : { FaderCase { "-24 to 24 at +9", -24, 24, 9 }, FaderCase { "-24 to 24 at -12", -24, 24, -12 },
                           FaderCase { "-24 to 24 at 0", -24, 24, 0 }, FaderCase { "0 to 100 at 70", 0, 100, 70 },
                           FaderCase { "0 to 100 at 0", 0, 100, 0 } })
        sheet.add (c.caption, 76, 416, make<juce::Slider> (fixture, 76, 416, [c] (juce::Slider& s) {
                       s.setSliderStyle (juce::Slider::LinearVertical);
                       s.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 56, 18);
                       s.setRange (c.lo, c.hi, 0.1);
                       s.setValue (c.value, juce::dontSendNotification);
                   }));
    for (const double value : { 0.0, 0.35, 0.5, 1.0 })
        sheet.add ("knob " + juce::String (value), 46, 46, make<juce::Slider> (fixture, 46, 46, [value] (auto& s) {
                       s.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
                       s.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
                       s.setRange (0.0, 1.0);
                       s.setValue (value, juce::dontSendNotification);
                   }));
}

void addFaceplateRow (Sheet& sheet)
{
    sheet.row ("faceplate", "Faceplate routines: plate, rails, screws, plain and accented panels");
    sheet.add ("plate, rails and screws", 300, 160, [] (juce::Graphics& g) {
        const juce::Rectangle<float> r (8.0f, 0.0f, 284.0f, 160.0f);
        VelbriLookAndFeel::drawFaceplate (g, r, 14.0f);
        VelbriLookAndFeel::drawSideRails (g, r);
        VelbriLookAndFeel::drawScrews (g, r, 12.0f);
    });
    sheet.add ("panels off and on", 300, 160, [] (juce::Graphics& g) {
        VelbriLookAndFeel::drawFaceplate (g, { 0.0f, 0.0f, 300.0f, 160.0f }, 14.0f);
        VelbriLookAndFeel::drawPanel (g, { 16.0f, 16.0f, 124.0f, 128.0f }, false, 8.0f);
        VelbriLookAndFeel::drawPanel (g, { 160.0f, 16.0f, 124.0f, 128.0f }, true, 8.0f);
    });
}

Sheet buildSheet (Fixture& fixture)
{
    Sheet sheet;
    addLedRows (sheet, fixture);
    addButtonRows (sheet, fixture);
    addMeterRows (sheet, fixture);
    addSliderRows (sheet, fixture);
    addFaceplateRow (sheet);
    return sheet;
}
} // namespace

juce::Image renderStateSheet()
{
    Fixture fixture;
    return buildSheet (fixture).render();
}

std::vector<std::pair<juce::String, juce::Image>> renderEachWidget()
{
    Fixture fixture;
    return buildSheet (fixture).renderEach();
}
