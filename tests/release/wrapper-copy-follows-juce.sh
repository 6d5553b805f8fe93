#!/usr/bin/env bash
# The patched wrapper copy follows the JUCE it was made from: made once, kept while nothing changes,
# made afresh when a pristine wrapper file changes (JUCE upgraded in place, same folder), and
# refused when the version header names another release. Runs on a copy of Debian's modules.
#   wrapper-copy-follows-juce.sh SOURCE_DIR
set -euo pipefail
source_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
modules="$work/modules"
mkdir -p "$modules/juce_core/system"
cp -R /usr/share/juce/modules/juce_audio_plugin_client "$modules/"
cp /usr/share/juce/modules/juce_core/system/juce_StandardHeader.h "$modules/juce_core/system/"

cat > "$work/copy.cmake" <<SCRIPT
list(APPEND CMAKE_MODULE_PATH "$source_dir/cmake")
include(PatchedClientCopy)
file(GLOB patches "$source_dir/cmake/patches/*.patch")
list(SORT patches)
lumbra_patch_client_copy("$modules" "$work/build/juce-patched" files \${patches})
SCRIPT
copy() { cmake -P "$work/copy.cmake" > "$work/log" 2>&1; }
stamp="$work/build/juce-patched/juce_audio_plugin_client/.patched"
lv2_client="$work/build/juce-patched/juce_audio_plugin_client/LV2/juce_LV2_Client.cpp"
failures=0
fail() { echo "FAIL: $*"; cat "$work/log"; failures=$((failures + 1)); }

copy || fail "the first copy"
grep -q "JUCE 7.0.5 from $modules" "$stamp" || fail "the stamp does not name JUCE's version"
grep -q "VelbriLabs Lumbra: every parameter is an LV2 control input port" "$lv2_client" \
    || fail "the copy is not the patched wrapper"
first="$(stat -c %Y.%N "$stamp")"

sleep 1
copy || fail "the second run"
[ "$(stat -c %Y.%N "$stamp")" = "$first" ] && echo "ok: kept while nothing changed" || fail "copied again though nothing changed"

# JUCE upgraded in place: one pristine file changes, the folder and the version stay.
echo "// upgraded" >> "$modules/juce_audio_plugin_client/LV2/juce_LV2_Client.cpp"
copy || fail "the run after the upgrade"
tail -n 1 "$lv2_client" | grep -q "// upgraded" && grep -q "every parameter is an LV2 control input port" "$lv2_client" \
    && echo "ok: made and patched afresh from the changed wrapper" || fail "the copy still holds the old wrapper"

# Another release: refused, naming both versions, before anything is copied.
sed -i 's/^#define JUCE_BUILDNUMBER .*/#define JUCE_BUILDNUMBER        6/' "$modules/juce_core/system/juce_StandardHeader.h"
if copy; then
    fail "JUCE 7.0.6 was patched"
elif tr '\n' ' ' < "$work/log" | tr -s ' ' | grep -q "JUCE 7.0.6 found in .* were made for JUCE 7.0.5"; then
    echo "ok: JUCE 7.0.6 refused"
else
    fail "JUCE 7.0.6 refused without its reason"
fi
[ "$failures" -eq 0 ]
