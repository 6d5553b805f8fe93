#include "dsp/EchoStage.h"

float divisionToMs (int, double)
{
    return 120.0f;
}

bool echoRuns (const ParameterHandles&)
{
    return false;
}

void runEchoStage (FractionalDelayLine&, const ParameterHandles&, double, double, ReturnBuses&)
{
}
