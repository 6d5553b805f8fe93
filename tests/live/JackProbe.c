/* The live graph's two plain JACK clients.
 *
 *   lumbra-jack-probe source NAME TARGET SECONDS
 *       Feeds white noise (-12 dBFS peak, its own seed per channel) into TARGET's first two audio
 *       inputs and takes TARGET's first two audio outputs back. Once connected it listens SECONDS of
 *       the server's time, then prints one line: frames heard, xruns the server reported, samples
 *       that were not finite, the peak, and whether it ever lost the connection; exit 0 when done.
 *   lumbra-jack-probe thru NAME
 *       Copies its two inputs to its two outputs, the plain client the plug-in is compared with.
 *
 * The server is the one JACK_DEFAULT_SERVER names; neither mode starts one. */

#include <jack/jack.h>

#include <errno.h>
#include <math.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { channels = 2 };

static jack_client_t* client;
static jack_port_t* inputs[channels];
static jack_port_t* outputs[channels];
static int isSource;
static uint32_t noiseState[channels] = { 0x12345678u, 0x9abcdef1u };

static atomic_int listening;       /* set once connected: from then on the block is counted */
static atomic_llong framesHeard;
static atomic_llong notFinite;
static atomic_int xruns;
static atomic_int quitAsked;
static float peakHeard;            /* written by the process thread only, read after it stops */

static float nextNoise (uint32_t* state)
{
    *state = *state * 1664525u + 1013904223u;
    return 0.25f * ((float) (*state >> 8) / 8388608.0f - 1.0f);
}

static int process (jack_nframes_t frames, void* unused)
{
    (void) unused;

    for (int c = 0; c < channels; ++c)
    {
        const float* in = jack_port_get_buffer (inputs[c], frames);
        float* out = jack_port_get_buffer (outputs[c], frames);

        if (! isSource)
        {
            memcpy (out, in, sizeof (float) * frames);
            continue;
        }

        for (jack_nframes_t i = 0; i < frames; ++i)
            out[i] = nextNoise (&noiseState[c]);

        if (! atomic_load (&listening))
            continue;

        long long bad = 0;
        for (jack_nframes_t i = 0; i < frames; ++i)
        {
            if (! isfinite (in[i]))
                ++bad;
            else if (fabsf (in[i]) > peakHeard)
                peakHeard = fabsf (in[i]);
        }
        atomic_fetch_add (&notFinite, bad);
    }

    if (isSource && atomic_load (&listening))
        atomic_fetch_add (&framesHeard, (long long) frames);
    return 0;
}

static int countXrun (void* unused)
{
    (void) unused;
    if (atomic_load (&listening))
        atomic_fetch_add (&xruns, 1);
    return 0;
}

static void onSignal (int signalNumber)
{
    (void) signalNumber;
    atomic_store (&quitAsked, 1);
}

/* The first two audio ports of `target` flowing the given way, or 0 while it has fewer. */
static int findPorts (const char* target, unsigned long flags, char names[channels][256])
{
    char pattern[300];
    snprintf (pattern, sizeof pattern, "^%s:", target);
    const char** found = jack_get_ports (client, pattern, JACK_DEFAULT_AUDIO_TYPE, flags);
    int count = 0;

    for (; found != NULL && found[count] != NULL && count < channels; ++count)
        snprintf (names[count], 256, "%s", found[count]);

    jack_free (found);
    return count == channels;
}

static char targetInputs[channels][256], targetOutputs[channels][256];

/* Whatever else the client connected itself to (a host's physical ports) stays: the dummy
   driver's capture is silence and its playback discards. */
static int connectBothWays (int tellWhy)
{
    for (int c = 0; c < channels; ++c)
    {
        int error = jack_connect (client, jack_port_name (outputs[c]), targetInputs[c]);
        const char* missing = error != 0 && error != EEXIST ? targetInputs[c] : NULL;
        if (missing == NULL)
        {
            error = jack_connect (client, targetOutputs[c], jack_port_name (inputs[c]));
            missing = error != 0 && error != EEXIST ? targetOutputs[c] : NULL;
        }
        if (missing != NULL)
        {
            if (tellWhy)
                fprintf (stderr, "probe: not yet connected with %s\n", missing);
            return 0;
        }
    }
    return 1;
}

static int connectTo (const char* target)
{
    /* The client under test may take a while to start (an app opening its window). */
    for (int tries = 0; ! (findPorts (target, JackPortIsInput, targetInputs) && findPorts (target, JackPortIsOutput, targetOutputs)); ++tries)
    {
        if (tries > 300 || atomic_load (&quitAsked))
        {
            fprintf (stderr, "probe: no two audio inputs and outputs of '%s' appeared\n", target);
            return 0;
        }
        usleep (100000);
    }

    /* Its ports exist before it is active (an app prepares its processor in between), and JACK
       connects only active clients' ports: asked again until it is active, for up to 30 s. */
    for (int tries = 0; ! connectBothWays (tries % 50 == 49); ++tries)
    {
        if (tries > 300 || atomic_load (&quitAsked))
            return fprintf (stderr, "probe: cannot connect to or from '%s'\n", target), 0;
        usleep (100000);
    }
    return 1;
}

int main (int argc, char** argv)
{
    if (argc < 3 || (strcmp (argv[1], "source") == 0 && argc < 5))
    {
        fprintf (stderr, "usage: %s source NAME TARGET SECONDS | thru NAME\n", argv[0]);
        return 2;
    }

    isSource = strcmp (argv[1], "source") == 0;
    jack_status_t status;
    client = jack_client_open (argv[2], JackNoStartServer | JackUseExactName, &status);
    if (client == NULL)
    {
        fprintf (stderr, "probe: no JACK server (status 0x%x)\n", (unsigned) status);
        return 1;
    }

    for (int c = 0; c < channels; ++c)
    {
        char name[32];
        snprintf (name, sizeof name, "in_%d", c + 1);
        inputs[c] = jack_port_register (client, name, JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        snprintf (name, sizeof name, "out_%d", c + 1);
        outputs[c] = jack_port_register (client, name, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    }

    signal (SIGINT, onSignal);
    signal (SIGTERM, onSignal);
    jack_set_process_callback (client, process, NULL);
    jack_set_xrun_callback (client, countXrun, NULL);
    if (jack_activate (client) != 0)
        return fprintf (stderr, "probe: cannot activate\n"), 1;

    if (! isSource)
    {
        while (! atomic_load (&quitAsked))
            usleep (100000);
        jack_client_close (client);
        return 0;
    }

    if (! connectTo (argv[3]))
    {
        jack_client_close (client);
        return 1;
    }

    const long long wanted = (long long) (atof (argv[4]) * jack_get_sample_rate (client));
    atomic_store (&listening, 1);

    while (atomic_load (&framesHeard) < wanted && ! atomic_load (&quitAsked))
        usleep (50000);

    atomic_store (&listening, 0);
    jack_deactivate (client);
    printf ("frames=%lld xruns=%d nonfinite=%lld peak=%.6f rate=%u\n", atomic_load (&framesHeard), atomic_load (&xruns),
            atomic_load (&notFinite), peakHeard, (unsigned) jack_get_sample_rate (client));
    jack_client_close (client);
    return atomic_load (&framesHeard) >= wanted ? 0 : 1;
}
