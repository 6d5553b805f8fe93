#include "plugin/PluginProcessor.h"

#include <cmath>

// Typed tempo, limited to 20 to 300 BPM. Text that reads as no number at all changes nothing.
void VelbrinLumbraProcessor::setManualBpm (float bpm)
{
    if (std::isnan (bpm))
        return;

    manualBpm.store (juce::jlimit (20.0f, 300.0f, bpm));
}

// Two taps 200 to 2000 ms apart set the tempo (30 to 300 BPM); every tap restarts the
// measurement, so a first tap or one after a long pause only starts it.
void VelbrinLumbraProcessor::registerTap()
{
    const auto now = tapClockMs();
    const auto interval = now - lastTapMs;

    if (interval >= 200.0 && interval <= 2000.0)
        manualBpm.store (static_cast<float> (60000.0 / interval));

    lastTapMs = now;
}

// The host's tempo when sync is on and the host reports one above 1 BPM, else the manual tempo.
// It asks the play head, which JUCE allows only while processing; what the host said is kept for
// the pre-delays' text and the next preparation.
double VelbrinLumbraProcessor::getEffectiveBpm()
{
    if (hostSyncEnabled.load())
    {
        const auto bpm = hostBpm();
        syncView->noteHostBpm (bpm);

        if (bpm > 1.0)
            return bpm;
    }

    return static_cast<double> (manualBpm.load());
}

// The play head's tempo, 0 without a play head, a position or a tempo.
double VelbrinLumbraProcessor::hostBpm()
{
    if (auto* playHead = getPlayHead())
        if (const auto position = playHead->getPosition())
            if (const auto bpm = position->getBpm(); bpm.hasValue())
                return *bpm;

    return 0.0;
}
