#!/usr/bin/env bash
# Every built artefact reports the release named by CHANGELOG.md's newest entry, read back from the
# artefact itself: the VST3 module (its factory, through lumbra-render info), the LV2 bundle
# (lv2:minorVersion and lv2:microVersion in dsp.ttl, as JUCE's LV2 helper writes the last two
# numbers), the app (--version), lumbra-render --version and the man pages made for the package.
#   versions-agree.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir="$1"
build="$2"
artefacts="$build/VelbriLabsLumbra_artefacts/Release"
release="$(sed -n 's/^## \[\([0-9.]*\)\].*/\1/p' "$source_dir/CHANGELOG.md" | sed -n 1p)"
minor="$(echo "$release" | cut -d. -f2)"
micro="$(echo "$release" | cut -d. -f3)"
failures=0
check() { # check WHAT FOUND EXPECTED
    if [ "$2" = "$3" ]; then echo "ok: $1 is '$2'"; else echo "FAIL: $1 is '$2', expected '$3'"; failures=$((failures + 1)); fi
}

[ -n "$release" ] || { echo "FAIL: no release heading in CHANGELOG.md"; exit 1; }
check "lumbra-render --version" "$("$build/tools/lumbra-render" --version)" "lumbra-render $release"
info="$("$build/tools/lumbra-render" info --plugin "$artefacts/VST3/VelbriLabs Lumbra.vst3")"
check "the VST3 module's version" "$(echo "$info" | sed -n 's/^version: //p')" "$release"
dsp_ttl="$artefacts/LV2/VelbriLabs Lumbra.lv2/dsp.ttl"
check "the LV2 bundle's lv2:minorVersion" "$(sed -n 's/^\tlv2:minorVersion \([0-9]*\) ;/\1/p' "$dsp_ttl")" "$minor"
check "the LV2 bundle's lv2:microVersion" "$(sed -n 's/^\tlv2:microVersion \([0-9]*\) ;/\1/p' "$dsp_ttl")" "$micro"
check "the app's --version" "$("$artefacts/Standalone/VelbriLabs Lumbra" --version 2>/dev/null | tail -n 1)" \
    "VelbriLabs Lumbra $release"
for page in lumbra-render velbrilabs-lumbra; do
    if [ -f "$build/packaging/$page.1" ]; then
        check "the $page man page's release" "$(sed -n 's/^\.TH [^ ]* 1 "[^"]*" "VelbriLabs Lumbra \([^"]*\)".*/\1/p' "$build/packaging/$page.1")" "$release"
    fi
done
[ "$failures" -eq 0 ]
