#pragma once

#include "plugin/PluginProcessor.h"

// A channel strip as it is typically used: every stage engaged at moderate settings.
struct TypicalSettings
{
    float inputTrimDb = 0.0f;
    float lowGainDb = 3.0f;
    int lowMode = 0; // "Warm"
    float highGainDb = 2.0f;
    int highMode = 0; // "Silk"
    float compAmountPercent = 40.0f;
    int compMode = 0; // "Glue"
    float spaceAMixPercent = 25.0f;
    int spaceAType = 1; // "Hall"
    float spaceAPreDelayMs = 20.0f;
    float spaceBMixPercent = 15.0f;
    int spaceBType = 0; // "Close"
    float spaceBPreDelayMs = 8.0f;
    float echoMixPercent = 20.0f;
    int echoDivision = 1; // "8th"
    float echoFeedbackPercent = 35.0f;
    float blendPercent = 100.0f;
    float outputTrimDb = 0.0f;

    // Sets every parameter of the processor (all stages switched on) to these values.
    void applyTo (VelbrinLumbraProcessor& processor) const;
};
