// A damaged project file hands the module arbitrary state bytes: the host must survive all of them.

#include "tests/support/ComponentState.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/Vst3Fixture.h"

#include <cstdlib>

namespace
{
std::vector<float> parameterValues (juce::AudioPluginInstance& plugin)
{
    std::vector<float> values;
    for (auto* parameter : plugin.getParameters())
        values.push_back (parameter->getValue());
    return values;
}

bool sameValues (const std::vector<float>& a, const std::vector<float>& b)
{
    for (size_t i = 0; i < a.size() && i < 28; ++i)
        if (std::abs (a[i] - b[i]) > 1.0e-6f)
            return false;
    return true;
}

int mutationCount()
{
    if (const auto* text = std::getenv ("LUMBRA_STATE_MUTATIONS"))
        return juce::jmax (1, juce::String (text).getIntValue());
    return 2000;
}

class DamagedState : public Vst3Fixture
{
protected:
    void SetUp() override
    {
        Vst3Fixture::SetUp();
        ASSERT_NE (plugin, nullptr);

        // A real saved state with several settings away from their defaults.
        auto source = load (48000.0, 512);
        ASSERT_NE (source, nullptr);
        for (const auto& [name, value] : { std::pair { "Input", 0.75f }, { "Echo", 0.25f }, { "Space A Type", 1.0f },
                                           { "Low Enabled", 0.0f }, { "Output", 0.5f } })
            parameterNamed (*source, name)->setValueNotifyingHost (value);

        saved = componentState::read (*source);
        savedValues = parameterValues (*source);
        ASSERT_GT (saved.getSize(), 1000u);
        ASSERT_EQ (juce::String (static_cast<const char*> (saved.getData()) + saved.getSize() - 15, 15), "JUCEPrivateData");
    }

    // Restores `bytes` into the fixture's instance: every parameter stays inside its range, the
    // next block is finite, and unless the damage may have rewritten a value inside the document
    // itself, the parameters end up either restored or untouched.
    void expectSurvives (const juce::MemoryBlock& bytes, const juce::String& what, bool restoredOrUntouched = true)
    {
        const auto before = parameterValues (*plugin);
        componentState::write (*plugin, bytes);
        const auto after = parameterValues (*plugin);

        if (restoredOrUntouched)
        {
            EXPECT_TRUE (sameValues (after, before) || sameValues (after, savedValues)) << what;
        }

        for (const auto value : after)
            ASSERT_TRUE (value >= 0.0f && value <= 1.0f) << what;

        auto audio = signals::noise (256, 3);
        process (*plugin, audio, 256);
        ASSERT_TRUE (allFinite (audio)) << what;
    }

    juce::MemoryBlock withPrivateSize (juce::uint64 privateSize) const
    {
        auto copy = saved;
        const auto littleEndian = juce::ByteOrder::swapIfBigEndian (privateSize);
        copy.copyFrom (&littleEndian, static_cast<int> (componentState::privateSizeFieldOffset (copy)), 8);
        return copy;
    }

    juce::MemoryBlock saved;
    std::vector<float> savedValues;
};
} // namespace

TEST_F (DamagedState, AnIntactStateRestoresEverySetting)
{
    componentState::write (*plugin, saved);
    EXPECT_TRUE (sameValues (parameterValues (*plugin), savedValues));
}

TEST_F (DamagedState, AnyPrivateDataSizeFieldIsSurvived)
{
    std::vector<juce::uint64> sizes;
    for (int bit = 0; bit < 64; ++bit)
        sizes.push_back (juce::uint64 { 1 } << bit);
    sizes.push_back (saved.getSize() + 1);
    sizes.push_back (saved.getSize() - 1);
    sizes.push_back (saved.getSize() - 23);
    sizes.push_back (saved.getSize() - 24);
    sizes.push_back (~juce::uint64 { 0 });

    for (const auto size : sizes)
        expectSurvives (withPrivateSize (size), "private size " + juce::String ((juce::int64) size));

    // A size too large for the block leaves the plug-in's own part readable: it is restored.
    componentState::write (*plugin, withPrivateSize (juce::uint64 { 1 } << 40));
    EXPECT_TRUE (sameValues (parameterValues (*plugin), savedValues));
}

TEST_F (DamagedState, EveryTruncationIsSurvived)
{
    for (size_t length = 0; length <= saved.getSize(); ++length)
        expectSurvives (juce::MemoryBlock (saved.getData(), length), "length " + juce::String ((int) length));
}

TEST_F (DamagedState, BytesAddedBeforeOrAfterAreSurvived)
{
    juce::Random random (42);
    for (int trial = 0; trial < 200; ++trial)
    {
        juce::MemoryBlock extra (static_cast<size_t> (1 + random.nextInt (64)));
        random.fillBitsRandomly (extra.getData(), extra.getSize());

        auto appended = saved;
        appended.append (extra.getData(), extra.getSize());
        expectSurvives (appended, "appended " + juce::String (trial));

        auto prepended = extra;
        prepended.append (saved.getData(), saved.getSize());
        expectSurvives (prepended, "prepended " + juce::String (trial));
    }
}

// Random damage of real saved states. LUMBRA_STATE_MUTATIONS sets the number of inputs (the long
// run uses 100000); run it in the sanitizer build to catch reads outside the block.
TEST_F (DamagedState, RandomDamageIsSurvived)
{
    juce::Random random (1234);
    const auto count = mutationCount();

    for (int trial = 0; trial < count; ++trial)
    {
        auto bytes = saved;
        auto* data = static_cast<juce::uint8*> (bytes.getData());

        for (int edits = 1 + random.nextInt (4); --edits >= 0;)
        {
            const auto position = static_cast<size_t> (random.nextInt (static_cast<int> (bytes.getSize())));
            switch (random.nextInt (5))
            {
                case 0: data[position] ^= static_cast<juce::uint8> (1 << random.nextInt (8)); break;
                case 1: data[position] = static_cast<juce::uint8> (random.nextInt (256)); break;
                case 2: bytes.setSize (position + 1); break;
                case 3: bytes.removeSection (position, static_cast<size_t> (random.nextInt (16))); break;
                default:
                {
                    const auto size = juce::uint64 (random.nextInt64());
                    if (bytes.getSize() >= 23)
                        bytes.copyFrom (&size, static_cast<int> (componentState::privateSizeFieldOffset (bytes)), 8);
                    break;
                }
            }
            data = static_cast<juce::uint8*> (bytes.getData());
            if (bytes.getSize() == 0)
                break;
        }

        expectSurvives (bytes, "mutation " + juce::String (trial), false);
        if (HasFatalFailure())
            return;
    }
}
