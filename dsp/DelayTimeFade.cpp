#include "dsp/DelayTimeFade.h"

void DelayTimeFade::prepare (double sampleRate, float delay) noexcept
{
    prepareGlide (amount, sampleRate, 0.0f);
    from = to = wanted = delay;
    fading = false;
}

void DelayTimeFade::setTarget (float delay, bool jump) noexcept
{
    if (! std::isfinite (delay))
        return;

    wanted = delay;

    if (jump)
    {
        amount.setCurrentAndTargetValue (0.0f);
        from = to = wanted;
        fading = false;
        return;
    }

    startIfWaiting();
}

void DelayTimeFade::endBlock() noexcept
{
    if (fading && ! amount.isSmoothing())
    {
        from = to;
        fading = false;
        amount.setCurrentAndTargetValue (0.0f);
    }

    startIfWaiting();
}

void DelayTimeFade::startIfWaiting() noexcept
{
    if (fading || wanted == from)
        return;

    to = wanted;
    fading = true;
    amount.setTargetValue (1.0f);
}
