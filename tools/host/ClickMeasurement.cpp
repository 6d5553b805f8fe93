#include "tools/host/ClickMeasurement.h"

#include "plugin/PluginProcessor.h"
#include "tools/host/PluginLoader.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
constexpr double sineHz = 100.0;
constexpr float sineAmplitude = 0.5012f; // -6 dBFS
constexpr double warmUpSeconds = 0.5;    // past the start-up fade, the glides and the first tails
constexpr int switchWindow = 8192;
constexpr int switchLead = 2048; // samples of the window before a switch changes

// One second-order section of a Butterworth high-pass, in double precision (cookbook form).
struct HighPassSection
{
    HighPassSection (double sampleRate, double cornerHz, double q)
    {
        const auto w0 = juce::MathConstants<double>::twoPi * cornerHz / sampleRate;
        const auto alpha = std::sin (w0) / (2.0 * q);
        const auto cosW0 = std::cos (w0);
        const auto a0 = 1.0 + alpha;
        b0 = (1.0 + cosW0) / 2.0 / a0;
        b1 = -(1.0 + cosW0) / a0;
        b2 = b0;
        a1 = -2.0 * cosW0 / a0;
        a2 = (1.0 - alpha) / a0;
    }

    double process (double x)
    {
        const auto y = b0 * x + s1;
        s1 = b1 * x - a1 * y + s2;
        s2 = b2 * x - a2 * y;
        return y;
    }

    double b0, b1, b2, a1, a2, s1 = 0.0, s2 = 0.0;
};

// Energy above 3 kHz against the total over [start, end): an eighth-order Butterworth high-pass
// (100 Hz lies 236 dB down) run over the whole render so its own start has died away by then.
double highBandRatioDb (const juce::AudioBuffer<float>& audio, double sampleRate, int start, int end)
{
    double total = 0.0, high = 0.0;

    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
    {
        std::vector<HighPassSection> sections;
        for (const auto q : { 0.50980, 0.60134, 0.89998, 2.56292 })
            sections.emplace_back (sampleRate, 3000.0, q);

        const auto* samples = audio.getReadPointer (channel);
        for (int i = 0; i < end; ++i)
        {
            auto y = static_cast<double> (samples[i]);
            for (auto& section : sections)
                y = section.process (y);

            if (i >= start)
            {
                high += y * y;
                total += static_cast<double> (samples[i]) * samples[i];
            }
        }
    }

    return 10.0 * std::log10 (juce::jmax (high, 1.0e-300) / juce::jmax (total, 1.0e-300));
}

// The host's own bypass switch, which its wrapper lists after the plug-in's parameters.
const juce::String hostBypassId { "hostBypass" };

// A host transport that reports a tempo, for the rows that move it.
struct TransportTempo : juce::AudioPlayHead
{
    double bpm = 120.0;

    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo position;
        position.setBpm (bpm);
        return position;
    }
};

// The plug-in's own parameter by identifier, for turning natural units into the host's 0..1 values.
struct ParameterMap
{
    VelbrinLumbraProcessor own;

    juce::AudioProcessorParameter* hosted (juce::AudioPluginInstance& plugin, const juce::String& id) const
    {
        return id == hostBypassId ? plugin.getParameters().getLast() : plugin.getParameters()[indexOf (id)];
    }

    int indexOf (const juce::String& id) const
    {
        const auto& parameters = own.getParameters();
        for (int i = 0; i < parameters.size(); ++i)
            if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameters[i]))
                if (withId->getParameterID() == id)
                    return i;
        return -1;
    }

    float normalised (const juce::String& id, float natural) const
    {
        if (id == hostBypassId)
            return natural;

        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (own.getParameters()[indexOf (id)]);
        return ranged != nullptr ? ranged->convertTo0to1 (natural) : 0.0f;
    }
};

struct Timeline
{
    int total, windowStart, windowEnd, changeStart, changeEnd;
};

Timeline timelineFor (const ClickCase& clickCase, const ClickConditions& conditions)
{
    const auto block = conditions.blockSize;
    const auto warmUpBlocks = static_cast<int> (std::ceil (warmUpSeconds * conditions.sampleRate / block));
    const auto changeStart = warmUpBlocks * block;

    if (clickCase.ramp)
    {
        const auto rampBlocks = static_cast<int> (std::ceil (conditions.sampleRate / block));
        const auto changeEnd = changeStart + rampBlocks * block;

        // The window runs on past the last step for whatever the last glide still does.
        return { changeEnd + switchWindow, changeStart, changeEnd + switchWindow / 2, changeStart, changeEnd };
    }

    const auto windowStart = juce::jmax (0, changeStart - switchLead);
    return { windowStart + switchWindow + block, windowStart, windowStart + switchWindow, changeStart, changeStart };
}

// Renders the sine with the control held at `from`, moved to `to` over the change, or held steady.
juce::AudioBuffer<float> render (juce::AudioPluginInstance& plugin, const ParameterMap& map, const ClickCase& clickCase,
                                 const ClickConditions& conditions, const Timeline& timeline, float from, float to)
{
    for (const auto& setting : clickCase.setup)
        map.hosted (plugin, setting.id)->setValueNotifyingHost (map.normalised (setting.id, setting.value));

    TransportTempo transport;
    const auto movesTempo = clickCase.id == hostTempoControl;
    if (movesTempo)
        plugin.setPlayHead (&transport);

    auto* moved = movesTempo ? nullptr : map.hosted (plugin, clickCase.id);
    juce::AudioBuffer<float> audio (2, timeline.total);
    for (int i = 0; i < timeline.total; ++i)
        for (int channel = 0; channel < 2; ++channel)
            audio.setSample (channel, i,
                             sineAmplitude * static_cast<float> (std::sin (juce::MathConstants<double>::twoPi * sineHz * i / conditions.sampleRate)));

    juce::MidiBuffer midi;
    for (int start = 0; start < timeline.total; start += conditions.blockSize)
    {
        // The value for this block: `from` before the change, `to` after it, in between on a ramp.
        const auto length = juce::jmin (conditions.blockSize, timeline.total - start);
        const auto span = juce::jmax (1, timeline.changeEnd - timeline.changeStart);
        const auto progress = juce::jlimit (0.0f, 1.0f, static_cast<float> (start + length - timeline.changeStart) / span);
        const auto natural = start < timeline.changeStart ? from : from + (to - from) * progress;
        if (movesTempo)
            transport.bpm = natural;
        else
            moved->setValueNotifyingHost (map.normalised (clickCase.id, natural));

        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), 2, start, length);
        plugin.processBlock (view, midi);
    }

    plugin.setPlayHead (nullptr);

    return audio;
}

ClickCase::Setting set (const char* id, float value) { return { id, value }; }
} // namespace

const std::vector<ClickCase>& clickCases()
{
    static const std::vector<ClickCase> cases {
        { "Input trim 0 to -12 dB", {}, "inputTrim", 0.0f, -12.0f, true },
        { "Output trim 0 to -12 dB", {}, "outputTrim", 0.0f, -12.0f, true },
        { "Input trim 0 to +12 dB (reference: over the knee)", {}, "inputTrim", 0.0f, 12.0f, true, {}, true },
        { "Input trim 0 to +11 dB at once (reference: over the knee)", {}, "inputTrim", 0.0f, 11.0f, false, {}, true },
        { "Low shelf gain 0 to +12 dB", {}, "lowGain", 0.0f, 12.0f, true, "Input trim 0 to +12 dB (reference: over the knee)" },
        { "Low shelf gain 0 to +12 dB (Dynamics off)", { set ("compEnabled", 0.0f) }, "lowGain", 0.0f, 12.0f, true },
        { "Dynamics 0 to 100 %", {}, "compAmount", 0.0f, 100.0f, true, "Input trim 0 to +12 dB (reference: over the knee)" },
        { "Space A 0 to 100 %", {}, "spaceAMix", 0.0f, 100.0f, true },
        { "Space B 0 to 100 %", {}, "spaceBMix", 0.0f, 100.0f, true },
        { "Space A Pre-Delay ramped 0 to 250 ms (mix 100 %)", { set ("spaceAMix", 100.0f) }, "spaceAPreDelay", 0.0f, 250.0f, true },
        { "Echo 0 to 100 %", {}, "echoMix", 0.0f, 100.0f, true },
        { "Echo Feedback 0 to 90 % (Echo 100 %)", { set ("echoMix", 100.0f) }, "echoFeedback", 0.0f, 90.0f, true },
        { "Blend 100 to 0 % (Echo 100 %)", { set ("echoMix", 100.0f) }, "blend", 100.0f, 0.0f, true },
        { "Dynamics Enabled on (100 %)", { set ("compAmount", 100.0f) }, "compEnabled", 0.0f, 1.0f, false },
        { "Bypass on (Low +12 dB)", { set ("lowGain", 12.0f) }, "bypass", 0.0f, 1.0f, false },
        { "Host's bypass on (Low +12 dB)", { set ("lowGain", 12.0f) }, hostBypassId, 0.0f, 1.0f, false },
        { "Host's bypass on (Low +12 dB, Oversample 4x)", { set ("lowGain", 12.0f), set ("compOversample", 2.0f) },
          hostBypassId, 0.0f, 1.0f, false },
        // Leaving bypass, the compressor takes over a sine that the shelf carries over its knee.
        { "Bypass off (Low +12 dB)", { set ("lowGain", 12.0f) }, "bypass", 1.0f, 0.0f, false,
          "Input trim 0 to +11 dB at once (reference: over the knee)" },
        { "Host's bypass off (Low +12 dB, Oversample 4x)", { set ("lowGain", 12.0f), set ("compOversample", 2.0f) },
          hostBypassId, 1.0f, 0.0f, false, "Input trim 0 to +11 dB at once (reference: over the knee)" },
        { "Host's bypass off (Low +12 dB, Dynamics off, Oversample 4x)",
          { set ("lowGain", 12.0f), set ("compOversample", 2.0f), set ("compEnabled", 0.0f) }, hostBypassId, 1.0f, 0.0f, false },
        { "Oversample Off to 2x (Dynamics 100 %)", { set ("compAmount", 100.0f) }, "compOversample", 0.0f, 1.0f, false },
        { "Oversample Off to 4x (Dynamics 100 %)", { set ("compAmount", 100.0f) }, "compOversample", 0.0f, 2.0f, false },
        { "Oversample 4x to Off (Dynamics 100 %)", { set ("compAmount", 100.0f) }, "compOversample", 2.0f, 0.0f, false },
        { "Oversample 2x to 4x (Dynamics 100 %)", { set ("compAmount", 100.0f) }, "compOversample", 1.0f, 2.0f, false },
        { "Low Enabled on (+12 dB)", { set ("lowGain", 12.0f) }, "lowEnabled", 0.0f, 1.0f, false,
          "Input trim 0 to +11 dB at once (reference: over the knee)" },
        { "Low Enabled on (+12 dB, Dynamics off)", { set ("lowGain", 12.0f), set ("compEnabled", 0.0f) }, "lowEnabled", 0.0f, 1.0f, false },
        { "High Enabled on (+12 dB)", { set ("highGain", 12.0f) }, "highEnabled", 0.0f, 1.0f, false },
        { "Space A Enabled on (100 %)", { set ("spaceAMix", 100.0f) }, "spaceAEnabled", 0.0f, 1.0f, false },
        { "Space B Enabled on (100 %)", { set ("spaceBMix", 100.0f) }, "spaceBEnabled", 0.0f, 1.0f, false },
        { "Echo Enabled on (100 %)", { set ("echoMix", 100.0f) }, "echoEnabled", 0.0f, 1.0f, false },
        { "Low Character Warm to Deep (+12 dB)", { set ("lowGain", 12.0f) }, "lowMode", 0.0f, 1.0f, false },
        { "High Character Silk to Sheen (+12 dB)", { set ("highGain", 12.0f) }, "highMode", 0.0f, 1.0f, false },
        { "Dynamics Character Glue to Squash (100 %)", { set ("compAmount", 100.0f) }, "compMode", 0.0f, 2.0f, false },
        { "Space A Pre-Delay 0 to 250 ms (mix 100 %)", { set ("spaceAMix", 100.0f) }, "spaceAPreDelay", 0.0f, 250.0f, false },
        { "Space B Pre-Delay 0 to 250 ms (mix 100 %)", { set ("spaceBMix", 100.0f) }, "spaceBPreDelay", 0.0f, 250.0f, false },
        { "Space A Type Room to Cathedral (mix 100 %)", { set ("spaceAMix", 100.0f) }, "spaceAType", 0.0f, 2.0f, false },
        { "Space B Type Close to Vast (mix 100 %)", { set ("spaceBMix", 100.0f) }, "spaceBType", 0.0f, 2.0f, false },
        { "Echo Division Slap to Quarter (mix 100 %)", { set ("echoMix", 100.0f) }, "echoDivision", 0.0f, 2.0f, false },
        // 250 ms selects the eighth triplet: 166.7 ms at the manual 120 BPM.
        { "Space A Pre-Delay Sync on (250 ms, mix 100 %)", { set ("spaceAMix", 100.0f), set ("spaceAPreDelay", 250.0f) },
          "spaceAPreDelaySync", 0.0f, 1.0f, false },
        { "Space B Pre-Delay Sync on (250 ms, mix 100 %)", { set ("spaceBMix", 100.0f), set ("spaceBPreDelay", 250.0f) },
          "spaceBPreDelaySync", 0.0f, 1.0f, false },
        // 340 ms selects the eighth: 250 ms at 120 BPM, 333.3 ms at 90.
        { "Host tempo 120 to 90 BPM (Space A synced, mix 100 %)",
          { set ("spaceAMix", 100.0f), set ("spaceAPreDelay", 340.0f), set ("spaceAPreDelaySync", 1.0f) },
          hostTempoControl, 120.0f, 90.0f, false },
        { "Host tempo ramped 120 to 90 BPM (Space B synced, mix 100 %)",
          { set ("spaceBMix", 100.0f), set ("spaceBPreDelay", 340.0f), set ("spaceBPreDelaySync", 1.0f) },
          hostTempoControl, 120.0f, 90.0f, true },
    };
    return cases;
}

namespace
{
std::optional<ClickResult> measureClick (const juce::File& bundle, const ClickCase& clickCase,
                                         const ClickConditions& conditions, juce::String& error)
{
    const ParameterMap map;
    if (clickCase.id != hostTempoControl && clickCase.id != hostBypassId && map.indexOf (clickCase.id) < 0)
    {
        error = "no parameter '" + clickCase.id + "'";
        return std::nullopt;
    }

    const auto timeline = timelineFor (clickCase, conditions);
    auto measure = [&] (float from, float to) -> std::optional<double>
    {
        auto plugin = loadVst3Plugin (bundle, conditions.sampleRate, conditions.blockSize, error);
        if (plugin == nullptr)
            return std::nullopt;

        plugin->prepareToPlay (conditions.sampleRate, conditions.blockSize);
        const auto audio = render (*plugin, map, clickCase, conditions, timeline, from, to);
        return highBandRatioDb (audio, conditions.sampleRate, timeline.windowStart, timeline.windowEnd);
    };

    const auto change = measure (clickCase.from, clickCase.to);
    const auto steadyFrom = measure (clickCase.from, clickCase.from);
    const auto steadyTo = measure (clickCase.to, clickCase.to);
    if (! change || ! steadyFrom || ! steadyTo)
        return std::nullopt;

    const auto steady = juce::jmax (*steadyFrom, *steadyTo);
    return ClickResult { *change, steady, juce::jmax (-120.0, steady + 3.0), clickCase.kneeReference };
}
} // namespace

std::optional<std::vector<ClickResult>> measureClicks (const juce::File& bundle, const ClickConditions& conditions,
                                                       juce::String& error)
{
    std::vector<ClickResult> results;
    const auto& cases = clickCases();

    for (const auto& clickCase : cases)
    {
        auto result = measureClick (bundle, clickCase, conditions, error);
        if (! result.has_value())
            return std::nullopt;

        // The compressor's own reaction to the same crossing, as the input trim makes it, is allowed.
        for (size_t i = 0; i < results.size(); ++i)
            if (clickCase.overKneeLike.isNotEmpty() && cases[i].what == clickCase.overKneeLike)
                result->limitDb = juce::jmax (result->limitDb, results[i].changeDb + 3.0);

        results.push_back (*result);
    }

    return results;
}
