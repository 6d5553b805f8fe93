#include "dsp/EchoStage.h"

#include <cmath>
#include <limits>

namespace
{
constexpr float minimumRunningMix = 0.0001f;

float msToFloat (double ms) noexcept
{
    return static_cast<float> (juce::jmin (ms, static_cast<double> (std::numeric_limits<float>::max())));
}
} // namespace

float divisionToMs (int divisionIndex, double bpm)
{
    const auto beatMs = 60000.0 / (bpm > 0.0 ? bpm : 120.0);

    switch (divisionIndex)
    {
        case 1: return msToFloat (beatMs * 0.5); // "8th"
        case 2: return msToFloat (beatMs);       // "Quarter"
        default: return 120.0f;                  // "Slap"
    }
}

float echoDelayInSamples (float ms, double sampleRate, int maximumDelay)
{
    const auto delay = static_cast<float> (sampleRate) * (ms * 0.001f);

    if (! (delay >= 1.0f))
        return 1.0f;

    return juce::jmin (delay, static_cast<float> (maximumDelay));
}

std::optional<float> runningEchoMix (const ParameterHandles& params)
{
    if (! isSwitchOn (params.echoEnabled))
        return std::nullopt;

    const auto mix = percentToUnit (params.echoMix);
    return mix > minimumRunningMix ? std::optional<float> (mix) : std::nullopt;
}

void runEchoStage (FractionalDelayLine& echoLine, float mix, const ParameterHandles& params, double bpm,
                   double sampleRate, ReturnBuses& buses)
{
    const auto ms = divisionToMs (choiceIndex (params.echoDivision), bpm);
    const auto feedbackValue = percentToUnit (params.echoFeedback);
    const auto feedback = std::isfinite (feedbackValue) ? feedbackValue : 0.0f;

    echoLine.setDelay (echoDelayInSamples (ms, sampleRate, echoLine.getMaximumDelayInSamples()));

    // Read before write, so a repeat d samples late is y[n] = x[n - d] + feedback y[n - d].
    for (int channel = 0; channel < buses.numChannels; ++channel)
    {
        const auto* send = buses.send.getReadPointer (channel);
        auto* out = buses.main.getWritePointer (channel);

        for (int i = 0; i < buses.numSamples; ++i)
        {
            const auto repeat = echoLine.popSample (channel);
            echoLine.pushSample (channel, send[i] + feedback * repeat);
            out[i] += mix * repeat;
        }
    }
}
