// The built .lv2 bundle as lilv (the library most LV2 hosts use) reads it: `lv2info` from lilv-utils.

#include "plugin/PluginProcessor.h"
#include "tests/support/FormatHosts.h"

namespace
{
constexpr auto pluginUri = "https://velbrilabs.com/plugins/lumbra";

struct Lv2Info
{
    juce::String output, errors;
    int exitCode = -1;
};

Lv2Info runLv2Info()
{
    // lv2info finds bundles through LV2_PATH: only the built bundle's folder.
    const auto folder = builtLv2Bundle().getParentDirectory().getFullPathName();
    const auto errorsFile = juce::File::createTempFile (".lv2info-errors");
    juce::ChildProcess process;
    Lv2Info info;
    const auto command = "env LV2_PATH='" + folder + "' lv2info " + pluginUri + " 2>'" + errorsFile.getFullPathName() + "'";
    if (process.start (juce::StringArray { "sh", "-c", command }))
    {
        info.output = process.readAllProcessOutput();
        process.waitForProcessToFinish (60000);
        info.exitCode = static_cast<int> (process.getExitCode());
    }
    info.errors = errorsFile.loadFileAsString();
    errorsFile.deleteFile();
    return info;
}

// lv2info's description of one port: the lines from "Port N:" up to the next port.
juce::String portSection (const juce::String& output, int index)
{
    const auto start = output.indexOf ("\n\tPort " + juce::String (index) + ":");
    if (start < 0)
        return {};
    const auto end = output.indexOf (start + 1, "\n\tPort ");
    return output.substring (start, end < 0 ? output.length() : end);
}

juce::String fieldOf (const juce::String& section, const juce::String& field)
{
    const auto start = section.indexOf (field + ":");
    if (start < 0)
        return {};
    return section.substring (start + field.length() + 1).upToFirstOccurrenceOf ("\n", false, false).trim();
}

class Lv2Bundle : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { info = runLv2Info(); }
    static inline Lv2Info info;
    VelbrinLumbraProcessor reference;

    // Ports 0-3 are audio, then one port per parameter, then the event ports, latency,
    // free-wheeling and enabled.
    static constexpr int firstParameterPort = 4;
};
} // namespace

TEST_F (Lv2Bundle, LoadsInLilvWithoutErrorAndDescribesThePlugin)
{
    ASSERT_EQ (info.exitCode, 0) << info.errors;
    EXPECT_FALSE (info.errors.containsIgnoreCase ("error")) << info.errors;
    EXPECT_FALSE (info.errors.containsIgnoreCase ("invalid")) << info.errors;

    EXPECT_TRUE (info.output.startsWith (pluginUri)) << info.output;
    EXPECT_EQ (fieldOf (info.output, "Name"), "VelbriLabs Lumbra");
    EXPECT_EQ (fieldOf (info.output, "Author"), "velbrilabs");
    EXPECT_EQ (fieldOf (info.output, "Author Email"), "mailto:plugins@velbrilabs.com");
    EXPECT_EQ (fieldOf (info.output, "Author Homepage"), "https://velbrilabs.com");
    EXPECT_EQ (fieldOf (info.output, "Has latency"), "yes, reported by port 34"); // it always reports 0

    // The editor, as an X11 UI of the same plug-in.
    const auto uis = info.output.fromFirstOccurrenceOf ("UIs:", false, false);
    EXPECT_EQ (uis.upToFirstOccurrenceOf ("Class:", false, false).trim(), "https://velbrilabs.com/plugins/lumbra:UI");
    EXPECT_EQ (fieldOf (uis, "Class"), "http://lv2plug.in/ns/extensions/ui#X11UI");
}

TEST_F (Lv2Bundle, AudioPortsAreTwoInAndTwoOut)
{
    for (int port = 0; port < 4; ++port)
    {
        const auto section = portSection (info.output, port);
        EXPECT_TRUE (section.contains ("lv2core#AudioPort")) << section;
        EXPECT_TRUE (section.contains (port < 2 ? "lv2core#InputPort" : "lv2core#OutputPort")) << section;
    }
}

// Every parameter is a control input port named and ranged as the processor declares it, with its
// unit, and with the choice names as scale points.
TEST_F (Lv2Bundle, EveryParameterIsAControlInputPort)
{
    const auto& parameters = reference.getParameters();
    ASSERT_EQ (parameters.size(), 28);
    EXPECT_EQ (fieldOf (portSection (info.output, firstParameterPort + 28), "Symbol"), "in");

    for (auto* parameter : parameters)
    {
        const auto& own = dynamic_cast<const juce::RangedAudioParameter&> (*parameter);
        const auto section = portSection (info.output, firstParameterPort + own.getParameterIndex());
        SCOPED_TRACE (own.getParameterID().toStdString());

        EXPECT_TRUE (section.contains ("lv2core#ControlPort")) << section;
        EXPECT_TRUE (section.contains ("lv2core#InputPort")) << section;
        EXPECT_EQ (fieldOf (section, "Symbol"), own.getParameterID());
        EXPECT_EQ (fieldOf (section, "Name"), own.getName (256));

        const auto& range = own.getNormalisableRange();
        EXPECT_FLOAT_EQ (fieldOf (section, "Minimum").getFloatValue(), range.start);
        EXPECT_FLOAT_EQ (fieldOf (section, "Maximum").getFloatValue(), range.end);
        EXPECT_FLOAT_EQ (fieldOf (section, "Default").getFloatValue(), own.convertFrom0to1 (own.getDefaultValue()));

        if (own.isBoolean())
        {
            EXPECT_TRUE (section.contains ("lv2core#toggled")) << section;
        }
        else if (own.isDiscrete())
        {
            EXPECT_TRUE (section.contains ("lv2core#enumeration")) << section;
            for (int step = 0; step < own.getNumSteps(); ++step)
            {
                const auto label = own.getText (static_cast<float> (step) / static_cast<float> (own.getNumSteps() - 1), 256);
                EXPECT_TRUE (section.contains (juce::String (step) + ".0 = \"" + label + "\"")) << section;
            }
        }
    }
}

// lv2info does not print units: they are read from the port descriptions in dsp.ttl.
TEST_F (Lv2Bundle, UnitsFollowTheParameterLabels)
{
    const std::map<juce::String, juce::String> units { { "", "" }, { "dB", "units:db" }, { "%", "units:pc" }, { "ms", "units:ms" } };
    const auto ttl = builtLv2Bundle().getChildFile ("dsp.ttl").loadFileAsString();

    for (auto* parameter : reference.getParameters())
    {
        const auto& own = dynamic_cast<const juce::RangedAudioParameter&> (*parameter);
        const auto start = ttl.indexOf ("lv2:symbol \"" + own.getParameterID() + "\"");
        ASSERT_GE (start, 0) << own.getParameterID();
        const auto port = ttl.substring (start, ttl.indexOf (start, "\t]"));
        const auto unit = port.fromFirstOccurrenceOf ("units:unit ", false, false).upToFirstOccurrenceOf (" ;", false, false);
        EXPECT_EQ (unit, units.at (own.getLabel())) << port;
    }
}
