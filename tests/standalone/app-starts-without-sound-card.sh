#!/usr/bin/env bash
# The app on a machine with no sound card: under a virtual X display it opens its window, says in
# the window that no audio device is open, and exits 0 when asked to quit (SIGINT, as Ctrl+C).
#   app-starts-without-sound-card.sh APP [SCREENSHOT.png]
set -euo pipefail

app="$1"
screenshot="${2:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if [ -z "${LUMBRA_UNDER_XVFB:-}" ]; then
    # Own HOME (the app keeps its settings there); no JACK server may start for it.
    export HOME="$work/home" LUMBRA_UNDER_XVFB=1 JACK_NO_START_SERVER=1
    mkdir -p "$HOME"
    exec xvfb-run -a -s "-screen 0 1400x900x24" "$0" "$@"
fi

# The display may take a moment to answer on a busy machine: wait for it (up to 10 s).
for _ in $(seq 1 50); do
    xprop -root > /dev/null 2>&1 && break
    sleep 0.2
done

# A fresh server lacks the window-manager atoms JUCE looks up; create them once.
for atom in WM_PROTOCOLS WM_DELETE_WINDOW _NET_WM_PING WM_STATE _MOTIF_WM_HINTS; do
    xprop -root -f "$atom" 32a -set "$atom" "$atom"
done

"$app" > "$work/out.txt" 2>&1 &
pid=$!

for _ in $(seq 1 300); do
    grep -q "window open" "$work/out.txt" && break
    kill -0 "$pid" 2> /dev/null || { cat "$work/out.txt"; echo "FAIL: the app ended before its window opened"; exit 1; }
    sleep 0.1
done
sleep 1

status=0
grep -q "window open, no audio device" "$work/out.txt" || { echo "FAIL: no notice of the missing audio device"; status=1; }
xwininfo -root -tree | grep -q '"VelbriLabs Lumbra"' || { echo "FAIL: no window named VelbriLabs Lumbra"; status=1; }
if [ -n "$screenshot" ]; then import -window root "$screenshot"; fi

kill -INT "$pid"
for _ in $(seq 1 100); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2> /dev/null; then
    kill -KILL "$pid"
    echo "FAIL: the app did not quit within 10 s"
    status=1
fi
set +e
wait "$pid"
exit_code=$?
set -e
cat "$work/out.txt"
[ "$exit_code" -eq 0 ] || { echo "FAIL: exit code $exit_code"; status=1; }
[ "$status" -eq 0 ] && echo "PASS: window opened with the no-device notice, quit with exit code 0"
exit "$status"
