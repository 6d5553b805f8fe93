#!/usr/bin/env python3
"""The strip in a live JACK graph, next to the same graph with a plain pass-through client.

Three graphs run side by side, each on its own JACK server with the dummy driver (no sound card),
48 kHz, 1024-frame periods (21 ms; at shorter ones a shared two-core machine makes the dummy driver report xruns of its own that swamp any comparison): a noise source and listener (lumbra-jack-probe) feeding

  - a pass-through client (lumbra-jack-probe thru), the baseline,
  - the LV2 plug-in in jalv, its control ports moved through jalv's console every half second,
  - the standalone app on JACK (under Xvfb, with its own HOME holding its audio settings and a
    state with every stage engaged),

for SECONDS each (30 by default). Passes when no client crashed, every graph played the whole time,
the strip's output never held a non-finite sample and was not silent, and the xruns the server
reported with the plug-in or the app are no more than with the pass-through client (the dummy driver
reports xruns of its own on a busy machine: the graphs share the machine at the same moment, so the
baseline counts those). Every process it starts is stopped at the end, also on failure.

  live_graph.py PROBE LV2_BUNDLE APP [SECONDS]
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

PLUGIN_URI = "https://velbrilabs.com/plugins/lumbra"
RATE, PERIOD = 48000, 1024
APP_CLIENT = "VelbriLabs Lumbra"

# Every stage engaged at moderate settings, as the benchmarks' typical strip.
TYPICAL = {
    "lowGain": 3, "highGain": 2, "compAmount": 40, "spaceAMix": 25, "spaceAType": 1, "spaceAPreDelay": 20,
    "spaceBMix": 15, "spaceBPreDelay": 8, "echoMix": 20, "echoDivision": 1, "echoFeedback": 35,
}

# What jalv's console moves while the noise plays: continuous controls, switches, characters, types
# and the oversampling, each in turn.
MOVES = [
    ("spaceAMix", 60), ("lowGain", -6), ("compAmount", 90), ("spaceAType", 2), ("echoDivision", 3),
    ("compOversample", 2), ("compMode", 1), ("highMode", 2), ("echoFeedback", 80), ("spaceBType", 2),
    ("spaceAPreDelaySync", 1), ("inputTrim", 6), ("bypass", 1), ("bypass", 0), ("compOversample", 1),
    ("spaceAEnabled", 0), ("echoEnabled", 0), ("blend", 40), ("spaceAEnabled", 1), ("echoEnabled", 1),
    ("spaceAMix", 25), ("lowGain", 3), ("compAmount", 40), ("spaceAType", 1), ("echoDivision", 1),
    ("compOversample", 0), ("compMode", 0), ("highMode", 0), ("echoFeedback", 35), ("spaceBType", 0),
    ("spaceAPreDelaySync", 0), ("inputTrim", 0), ("blend", 100),
]


class Graph:
    """One JACK server, its probe and the client under test."""

    def __init__(self, kind, seconds, work):
        self.kind, self.seconds = kind, seconds
        # One name per graph, the same every run: a server that did not end cleanly leaves its entry
        # in JACK's table of servers (eight at most), and only a server of the same name takes it back.
        self.server = f"lumbra-live-{kind}"
        self.env = dict(os.environ, JACK_DEFAULT_SERVER=self.server, JACK_NO_START_SERVER="1")
        self.log = open(os.path.join(work, f"{kind}.log"), "w+")
        self.processes = []
        self.result, self.error = None, None

    def start(self, command, **options):
        options.setdefault("stdout", self.log)
        process = subprocess.Popen(command, env=options.pop("env", self.env), stderr=self.log,
                                   start_new_session=True, **options)
        self.processes.append(process)
        return process

    def start_server(self):
        self.jackd = self.start(["jackd", "-n", self.server, "-d", "dummy", "-r", str(RATE), "-p", str(PERIOD),
                                 "-C", "2", "-P", "2"])
        deadline = time.time() + 15
        while time.time() < deadline:
            if self.jackd.poll() is not None:
                raise RuntimeError(f"{self.kind}: jackd ended at start")
            if subprocess.run(["jack_lsp"], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                return
            time.sleep(0.2)
        raise RuntimeError(f"{self.kind}: jackd did not come up")

    def stop(self):
        # The clients first, then the server (so it closes its entry cleanly); each by its own
        # process group, killed if it has not ended after 5 s.
        clients = [process for process in self.processes if process is not getattr(self, "jackd", None)]
        for group in (clients, [self.jackd] if hasattr(self, "jackd") else []):
            for process in group:
                if process.poll() is None:
                    try:
                        os.killpg(process.pid, signal.SIGTERM)
                    except ProcessLookupError:
                        pass
            for process in group:
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()

    def log_text(self):
        self.log.flush()
        self.log.seek(0)
        return self.log.read()


def juce_base64(data):
    """A MemoryBlock's text form as JUCE writes it: the size, a dot, 6-bit groups little-endian."""
    table = ".ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+"
    bits = int.from_bytes(data, "little")
    return f"{len(data)}." + "".join(table[(bits >> (6 * i)) & 63] for i in range((len(data) * 8 + 5) // 6))


def app_settings(source_client):
    """The app's settings file: JACK with the probe as its device, input not muted, typical state."""
    params = "".join(f'<PARAM id="{key}" value="{value}"/>' for key, value in TYPICAL.items())
    for switch in ("lowEnabled", "highEnabled", "compEnabled", "spaceAEnabled", "spaceBEnabled", "echoEnabled"):
        params += f'<PARAM id="{switch}" value="1"/>'
    xml = f'<?xml version="1.0" encoding="UTF-8"?>\n<PARAMETERS>{params}</PARAMETERS>'.encode() + b"\0"
    state = (0x21324356).to_bytes(4, "little") + (len(xml) - 1).to_bytes(4, "little") + xml
    setup = (f'<DEVICESETUP deviceType="JACK" audioOutputDeviceName="{source_client}" '
             f'audioInputDeviceName="{source_client}" audioDeviceRate="{RATE}" audioDeviceBufferSize="{PERIOD}"/>')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<PROPERTIES>\n'
            '  <VALUE name="shouldMuteInput" val="0"/>\n'
            f'  <VALUE name="audioSetup">{setup}</VALUE>\n'
            f'  <VALUE name="filterState" val="{juce_base64(state)}"/>\n'
            '</PROPERTIES>\n')


def run_graph(graph, probe, lv2_bundle, app, work):
    try:
        graph.start_server()
        source = f"lumbra-source-{graph.kind}"

        if graph.kind == "thru":
            target = "lumbra-thru"
            graph.start([probe, "thru", target])
        elif graph.kind == "lv2":
            target = "lumbra-jalv"
            env = dict(graph.env, LV2_PATH=os.path.dirname(os.path.abspath(lv2_bundle)))
            settings = [argument for key, value in TYPICAL.items() for argument in ("-c", f"{key}={value}")]
            jalv = graph.start(["jalv", "-x", "-n", target, *settings, PLUGIN_URI], env=env, stdin=subprocess.PIPE)
            threading.Thread(target=move_controls, args=(jalv, graph.seconds + 10), daemon=True).start()
        else:
            target = APP_CLIENT

        probe_process = graph.start([probe, "source", source, target, str(graph.seconds)], stdout=subprocess.PIPE,
                                    text=True)
        if graph.kind == "app":
            home = os.path.join(work, "home")
            os.makedirs(os.path.join(home, ".config"), exist_ok=True)
            with open(os.path.join(home, ".config", "VelbriLabs Lumbra.settings"), "w") as settings_file:
                settings_file.write(app_settings(source))
            time.sleep(0.5)  # the probe's ports exist before the app opens them as its device
            atoms = "for atom in WM_PROTOCOLS WM_DELETE_WINDOW _NET_WM_PING WM_STATE _MOTIF_WM_HINTS; do " \
                    "xprop -root -f $atom 32a -set $atom $atom; done; exec \"$0\""
            graph.start(["xvfb-run", "-a", "-s", "-screen 0 1400x900x24", "sh", "-c", atoms, app],
                        env=dict(graph.env, HOME=home))

        output, _ = probe_process.communicate(timeout=graph.seconds + 40)
        for process in graph.processes:
            if process is not probe_process and process is not graph.jackd and process.poll() is not None:
                graph.error = f"{graph.kind}: a client ended while playing (exit {process.returncode})"
        if probe_process.returncode != 0:
            graph.error = graph.error or f"{graph.kind}: the probe failed (exit {probe_process.returncode})"
        graph.result = dict(item.split("=") for item in output.split()) if output.strip() else None
        if graph.result is None:
            graph.error = graph.error or f"{graph.kind}: no result from the probe"
    except Exception as failure:  # reported with the graph's log below
        graph.error = f"{graph.kind}: {failure}"
    finally:
        graph.stop()


def move_controls(jalv, seconds):
    """A control a half second, through jalv's console, for as long as the graph plays."""
    end = time.time() + seconds
    index = 0
    while time.time() < end and jalv.poll() is None:
        symbol, value = MOVES[index % len(MOVES)]
        try:
            jalv.stdin.write(f"{symbol} = {value}\n".encode())
            jalv.stdin.flush()
        except (BrokenPipeError, ValueError):
            return
        index += 1
        time.sleep(0.5)


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    probe, lv2_bundle, app = sys.argv[1:4]
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 30.0

    for tool in ("jackd", "jack_lsp", "jalv", "xvfb-run", "xprop"):
        if shutil.which(tool) is None:
            print(f"FAIL: {tool} is not installed (scripts/install-deps.sh installs it)")
            return 1

    began = time.time()
    work = tempfile.mkdtemp(prefix="lumbra-live-")
    graphs = [Graph(kind, seconds, work) for kind in ("thru", "lv2", "app")]
    threads = [threading.Thread(target=run_graph, args=(graph, probe, lv2_bundle, app, work)) for graph in graphs]
    try:
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
    finally:
        for graph in graphs:
            graph.stop()

    failures = [graph.error for graph in graphs if graph.error]
    baseline = graphs[0].result
    for graph in graphs:
        print(f"{graph.kind:5s}: {graph.result}")
    for graph in graphs[1:]:
        if graph.result is None or baseline is None:
            continue
        seconds_heard = int(graph.result["frames"]) / RATE
        if seconds_heard < seconds:
            failures.append(f"{graph.kind}: played {seconds_heard:.1f} s only")
        if int(graph.result["nonfinite"]) != 0:
            failures.append(f"{graph.kind}: {graph.result['nonfinite']} non-finite output samples")
        if not float(graph.result["peak"]) > 1.0e-3:
            failures.append(f"{graph.kind}: the output was silent")
        if int(graph.result["xruns"]) > int(baseline["xruns"]):
            failures.append(f"{graph.kind}: {graph.result['xruns']} xruns, the pass-through graph {baseline['xruns']}")

    print(f"ran for {time.time() - began:.1f} s")
    if failures:
        for graph in graphs:
            print(f"--- {graph.kind} log\n{graph.log_text()}")
        for failure in failures:
            print("FAIL:", failure)
        shutil.rmtree(work, ignore_errors=True)
        return 1

    shutil.rmtree(work, ignore_errors=True)
    print("PASS: the LV2 plug-in in jalv and the app ran live with no more xruns than a pass-through client")
    return 0


if __name__ == "__main__":
    sys.exit(main())
