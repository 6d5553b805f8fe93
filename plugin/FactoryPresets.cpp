#include "plugin/FactoryPresets.h"

namespace
{
// Choice indices, named as the parameter layout lists them.
enum LowCharacter { warm, deep, airCut };
enum HighCharacter { silk, sheen, crisp };
enum DynamicsCharacter { glue, snap, squash };
enum Oversample { oversampleOff, oversample2x, oversample4x };
enum SpaceAType { room, hall, cathedral };
enum SpaceBType { close, wide, vast };
enum EchoDivision { slap, eighth, quarter };
constexpr bool on = true, off = false;

// Every sound parameter, in the layout's order, so no row can leave one out.
struct Row
{
    const char* name;
    const char* category;
    const char* intent;
    float inputTrim;
    float lowGain; LowCharacter lowMode; bool lowEnabled;
    float highGain; HighCharacter highMode; bool highEnabled;
    float compAmount; DynamicsCharacter compMode; Oversample compOversample; bool compEnabled;
    float spaceAMix; SpaceAType spaceAType; float spaceAPreDelay; bool spaceAPreDelaySync; bool spaceAEnabled;
    float spaceBMix; SpaceBType spaceBType; float spaceBPreDelay; bool spaceBPreDelaySync; bool spaceBEnabled;
    float echoMix; EchoDivision echoDivision; float echoFeedback; bool echoEnabled;
    float blend;
    float outputTrim;
};

// clang-format off
const Row bank[] = {
    //    input | low               | high               | dynamics                       | space A                         | space B                        | echo                        | blend | output
    { "Lead Vocal Plate", "Vocals", "A lead vocal in front of the mix: mud cut, presence lifted, firm levelling, a short hall behind it and a faint eighth-note echo.",
          0.0f, -3.0f, airCut, on, 3.0f, sheen, on, 45.0f, snap, oversampleOff, on, 16.0f, hall, 40.0f, off, on, 0.0f, close, 0.0f, off, off, 6.0f, eighth, 20.0f, on, 100.0f, -4.5f },
    { "Vocal Slap", "Vocals", "Rock and rockabilly vocals: a single slapback repeat and a small room, light glue.",
          0.0f, -2.0f, airCut, on, 2.0f, sheen, on, 30.0f, glue, oversampleOff, on, 6.0f, room, 0.0f, off, on, 0.0f, close, 0.0f, off, off, 18.0f, slap, 10.0f, on, 100.0f, -2.5f },
    { "Backing Vocal Wash", "Vocals", "Stacked backing vocals pushed behind the lead: thinned lows, air on top, squashed flat and spread wide.",
          0.0f, -4.0f, airCut, on, 2.5f, silk, on, 40.0f, squash, oversampleOff, on, 0.0f, room, 0.0f, off, off, 22.0f, wide, 25.0f, off, on, 0.0f, slap, 35.0f, off, 100.0f, -3.5f },
    { "Podcast Voice", "Vocals", "Dry spoken word: boom cut, clarity lifted, even level, no ambience.",
          0.0f, -3.0f, warm, on, 2.0f, sheen, on, 55.0f, snap, oversampleOff, on, 0.0f, room, 0.0f, off, off, 0.0f, close, 0.0f, off, off, 0.0f, slap, 35.0f, off, 100.0f, -4.0f },

    { "Drum Room", "Drums", "A drum kit in a live room: weight and crack lifted, glued together, a short room around it.",
          0.0f, 2.0f, deep, on, 2.0f, crisp, on, 40.0f, glue, oversampleOff, on, 22.0f, room, 0.0f, off, on, 0.0f, close, 0.0f, off, off, 0.0f, slap, 35.0f, off, 100.0f, -3.0f },
    { "Snare Hall", "Drums", "A snare or toms with a big hall tail, pre-delayed by a 64th note so the hit stays dry and sharp and the tail sits in the groove.",
          0.0f, 0.0f, warm, on, 3.0f, crisp, on, 35.0f, snap, oversampleOff, on, 20.0f, hall, 17.9f, on, on, 0.0f, close, 0.0f, off, off, 0.0f, slap, 35.0f, off, 100.0f, -3.5f },
    { "Drum Bus Squash", "Drums", "The drum bus: hard 8:1 squash for energy, deep lows and top crack, a touch of room.",
          0.0f, 2.0f, deep, on, 1.5f, crisp, on, 50.0f, squash, oversample2x, on, 8.0f, room, 0.0f, off, on, 0.0f, close, 0.0f, off, off, 0.0f, slap, 35.0f, off, 100.0f, -3.0f },

    { "Bass DI Tight", "Bass", "A direct bass guitar: low end under control and forward, fizz rolled off, firm 4:1 levelling, dry.",
          0.0f, 3.0f, deep, on, -3.0f, silk, on, 50.0f, snap, oversampleOff, on, 0.0f, room, 0.0f, off, off, 0.0f, close, 0.0f, off, off, 0.0f, slap, 35.0f, off, 100.0f, -1.5f },
    { "Warm Bass Glue", "Bass", "A synth or upright bass made round: low mids lifted, top darkened, gentle glue.",
          0.0f, 2.0f, warm, on, -4.0f, sheen, on, 35.0f, glue, oversampleOff, on, 0.0f, room, 0.0f, off, off, 0.0f, close, 0.0f, off, off, 0.0f, slap, 35.0f, off, 100.0f, -2.5f },

    { "Slapback Guitar", "Guitars", "Fifties electric guitar: a single slap repeat, a little room, low mids cleared.",
          0.0f, -2.0f, airCut, on, 1.5f, sheen, on, 25.0f, glue, oversampleOff, on, 8.0f, room, 0.0f, off, on, 0.0f, close, 0.0f, off, off, 25.0f, slap, 15.0f, on, 100.0f, -2.0f },
    { "Acoustic Sparkle", "Guitars", "Strummed acoustic guitar: boom cut, silky top, light glue, a close ambience.",
          0.0f, -3.0f, airCut, on, 3.0f, silk, on, 30.0f, glue, oversampleOff, on, 0.0f, room, 0.0f, off, off, 12.0f, close, 10.0f, off, on, 0.0f, slap, 35.0f, off, 100.0f, -3.5f },
    { "Lead Guitar Delay", "Guitars", "A solo guitar: quarter-note echo with repeats, a hall pre-delayed by a 32nd note, present upper mids.",
          0.0f, -1.0f, airCut, on, 2.0f, sheen, on, 30.0f, snap, oversampleOff, on, 10.0f, hall, 125.0f, on, on, 0.0f, close, 0.0f, off, off, 16.0f, quarter, 40.0f, on, 100.0f, -4.5f },

    { "Piano Hall", "Keys", "A grand piano in a concert hall: open top, gentle glue, hall with a short pre-delay.",
          0.0f, 0.0f, warm, on, 1.5f, silk, on, 20.0f, glue, oversampleOff, on, 22.0f, hall, 20.0f, off, on, 0.0f, close, 0.0f, off, off, 0.0f, slap, 35.0f, off, 100.0f, -2.0f },
    { "Wide Keys", "Keys", "Electric piano or pads made wide: a wide space and an eighth-note echo, low end trimmed.",
          0.0f, -2.0f, warm, on, 1.0f, silk, on, 20.0f, glue, oversampleOff, on, 0.0f, room, 0.0f, off, off, 18.0f, wide, 15.0f, off, on, 12.0f, eighth, 30.0f, on, 100.0f, -2.5f },

    { "Mix Bus Glue", "Busses", "The stereo mix: 2:1 glue, a little low end and air, no ambience.",
          0.0f, 1.0f, deep, on, 1.0f, silk, on, 30.0f, glue, oversample2x, on, 0.0f, room, 0.0f, off, off, 0.0f, close, 0.0f, off, off, 0.0f, slap, 35.0f, off, 100.0f, -1.5f },

    { "Cathedral Pad", "Ambience", "Pads and drones in a huge space: cathedral and vast spaces, long quarter-note echo, dull top.",
          0.0f, -2.0f, warm, on, -2.0f, silk, on, 15.0f, glue, oversampleOff, on, 24.0f, cathedral, 80.0f, off, on, 16.0f, vast, 40.0f, off, on, 12.0f, quarter, 45.0f, on, 100.0f, -5.5f },
};
// clang-format on

float asValue (bool value) { return value ? 1.0f : 0.0f; }
float asValue (int value) { return static_cast<float> (value); }

FactoryPreset toPreset (const Row& row)
{
    const float values[] = {
        row.inputTrim,
        row.lowGain, asValue (row.lowMode), asValue (row.lowEnabled),
        row.highGain, asValue (row.highMode), asValue (row.highEnabled),
        row.compAmount, asValue (row.compMode), asValue (row.compOversample), asValue (row.compEnabled),
        row.spaceAMix, asValue (row.spaceAType), row.spaceAPreDelay, asValue (row.spaceAPreDelaySync),
        asValue (row.spaceAEnabled),
        row.spaceBMix, asValue (row.spaceBType), row.spaceBPreDelay, asValue (row.spaceBPreDelaySync),
        asValue (row.spaceBEnabled),
        row.echoMix, asValue (row.echoDivision), row.echoFeedback, asValue (row.echoEnabled),
        row.blend,
        row.outputTrim,
    };
    static_assert (std::size (values) == 27, "a row sets every sound parameter");

    FactoryPreset preset { { row.name, {} }, row.category, row.intent };
    const auto& ids = soundParameterIds();

    for (int i = 0; i < ids.size(); ++i)
        preset.setting.values.push_back ({ ids[i], values[i] });

    return preset;
}
} // namespace

const std::vector<FactoryPreset>& factoryPresets()
{
    static const std::vector<FactoryPreset> presets = []
    {
        std::vector<FactoryPreset> list;
        for (const auto& row : bank)
            list.push_back (toPreset (row));
        return list;
    }();
    return presets;
}

const FactoryPreset* findFactoryPreset (const juce::String& name)
{
    for (const auto& preset : factoryPresets())
        if (preset.setting.name.equalsIgnoreCase (name.trim()))
            return &preset;

    return nullptr;
}
