#!/usr/bin/env bash
# Every combination of the documented build options configures, or stops with the reason; and a
# JUCE release other than the one the wrapper patches were made for is refused with a message.
#   configure-refusals.sh SOURCE_DIR
set -euo pipefail
source_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
flat() { tr '\n' ' ' < "$1" | tr -s ' '; }

for tests in ON OFF; do
    for tools in ON OFF; do
        for bench in ON OFF; do
            name="tests=$tests tools=$tools bench=$bench"
            dir="$work/$tests-$tools-$bench"
            if cmake -S "$source_dir" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DLUMBRA_BUILD_TESTS=$tests \
                   -DLUMBRA_BUILD_TOOLS=$tools -DLUMBRA_BUILD_BENCH=$bench > "$dir.log" 2>&1; then
                outcome=configures
            else
                outcome=refused
            fi
            expected=configures
            [ "$tests/$tools" = "ON/OFF" ] && expected=refused
            if [ "$outcome" != "$expected" ]; then
                echo "FAIL: $name $outcome, expected it $expected"; tail -n 15 "$dir.log"; failures=$((failures + 1))
            elif [ "$outcome" = refused ] && ! flat "$dir.log" | grep -q "LUMBRA_BUILD_TESTS=ON needs LUMBRA_BUILD_TOOLS=ON"; then
                echo "FAIL: $name refused without its reason"; tail -n 15 "$dir.log"; failures=$((failures + 1))
            else
                echo "ok: $name $outcome"
            fi
            rm -rf "$dir"
        done
    done
done

# Fuzzers without clang and libFuzzer: refused with the way to build them.
cmake -S "$source_dir" -B "$work/fuzz" -DLUMBRA_BUILD_FUZZERS=ON -DLUMBRA_BUILD_TESTS=OFF > "$work/fuzz.log" 2>&1 && \
    { echo "FAIL: fuzzers without libFuzzer configured"; failures=$((failures + 1)); }
if flat "$work/fuzz.log" | grep -q "LUMBRA_BUILD_FUZZERS=ON needs clang"; then
    echo "ok: fuzzers without libFuzzer refused"
else
    echo "FAIL: fuzzers without libFuzzer not refused with the reason"; failures=$((failures + 1))
fi

# Another JUCE release: a copy of the version header saying 7.0.6, and the real one.
mkdir -p "$work/juce-7.0.6/juce_core/system"
sed 's/^#define JUCE_BUILDNUMBER .*/#define JUCE_BUILDNUMBER        6/' \
    /usr/share/juce/modules/juce_core/system/juce_StandardHeader.h > "$work/juce-7.0.6/juce_core/system/juce_StandardHeader.h"
cat > "$work/check.cmake" <<CHECK
list(APPEND CMAKE_MODULE_PATH "$source_dir/cmake")
include(JuceVersion)
lumbra_require_juce_version("\${MODULES}" found)
message(STATUS "accepted JUCE \${found}")
CHECK
if cmake -DMODULES="$work/juce-7.0.6" -P "$work/check.cmake" > "$work/juce.log" 2>&1; then
    echo "FAIL: JUCE 7.0.6 was accepted"; failures=$((failures + 1))
elif ! flat "$work/juce.log" | grep -q "JUCE 7.0.6 found in .* but the wrapper patches .* were made for JUCE 7.0.5"; then
    echo "FAIL: JUCE 7.0.6 refused without naming both versions"; cat "$work/juce.log"; failures=$((failures + 1))
else
    echo "ok: JUCE 7.0.6 refused"
fi
cmake -DMODULES=/usr/share/juce/modules -P "$work/check.cmake" 2>&1 | grep -q "accepted JUCE 7.0.5" \
    && echo "ok: JUCE 7.0.5 accepted" || { echo "FAIL: Debian's JUCE 7.0.5 refused"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ]
