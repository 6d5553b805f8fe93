#!/usr/bin/env bash
# Checks a built package without installing it on this machine:
#   scripts/check-package.sh PACKAGE.deb BUILD_DIR
# its fields and contents against what it must hold, lintian (no errors), and the bundles extracted
# from it loaded and rendered through lumbra-render in both formats, nulling against the build's own.
set -euo pipefail
cd "$(dirname "$0")/.."
deb="$1"
build="$2"
artefacts="$build/VelbriLabsLumbra_artefacts/Release"
render="$build/tools/lumbra-render"
release="$(sed -n 's/^## \[\([0-9.]*\)\].*/\1/p' CHANGELOG.md | head -n 1)"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The control fields.
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = velbrilabs-lumbra ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$release" ] || fail "Version is '$(field Version)', the changelog's newest release is $release"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = sound ] || fail "Section is '$(field Section)'"
[ "$(basename "$deb")" = "velbrilabs-lumbra_${release}_$(dpkg --print-architecture).deb" ] || fail "file name $(basename "$deb")"
depends="$(field Depends)"
for library in libc6 libstdc++6 libfreetype6 libx11-6 libxtst6 libasound2; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library (worked out from the binaries): $depends"
done
field Maintainer | grep -q '<plugins@velbrilabs.com>' || fail "Maintainer is '$(field Maintainer)'"
echo "fields: $(field Package) $(field Version) $(field Architecture); Depends: $depends"

# The contents: every expected path, owned by root, and nothing outside /usr.
dpkg-deb --contents "$deb" > "$work/contents"
for path in "./usr/lib/vst3/VelbriLabs Lumbra.vst3/Contents/x86_64-linux/VelbriLabs Lumbra.so" \
            "./usr/lib/lv2/VelbriLabs Lumbra.lv2/manifest.ttl" "./usr/lib/lv2/VelbriLabs Lumbra.lv2/dsp.ttl" \
            "./usr/lib/lv2/VelbriLabs Lumbra.lv2/ui.ttl" "./usr/lib/lv2/VelbriLabs Lumbra.lv2/libVelbriLabs Lumbra.so" \
            ./usr/bin/velbrilabs-lumbra ./usr/bin/lumbra-render \
            ./usr/share/applications/velbrilabs-lumbra.desktop \
            ./usr/share/icons/hicolor/256x256/apps/velbrilabs-lumbra.png \
            ./usr/share/man/man1/lumbra-render.1.gz ./usr/share/man/man1/velbrilabs-lumbra.1.gz \
            ./usr/share/doc/velbrilabs-lumbra/copyright ./usr/share/doc/velbrilabs-lumbra/changelog.gz; do
    grep -qF " $path" "$work/contents" || fail "the package lacks $path"
done
awk '{ print $2 }' "$work/contents" | grep -v '^root/root$' && fail "files not owned by root/root"
awk '{ $1 = $2 = $3 = $4 = $5 = ""; print }' "$work/contents" | sed 's/^ *//' | grep -v '^\./usr/\|^\./$' \
    && fail "files outside /usr"

# lintian: no errors. Each warning left is explained in the README ("Debian package").
command -v lintian > /dev/null || { echo "FAIL: lintian is not installed (scripts/install-deps.sh)"; exit 1; }
lintian --tag-display-limit 0 "$deb" > "$work/lintian" 2>&1 || true
cat "$work/lintian"
grep -q '^E: ' "$work/lintian" && fail "lintian reports errors"

# The extracted files: the versions they report, then renders through both bundles against the build's.
dpkg-deb -x "$deb" "$work/root"
root="$work/root/usr"
[ "$("$root/bin/lumbra-render" --version)" = "lumbra-render $release" ] || fail "packaged lumbra-render --version"
# JUCE's LV2 helper writes the release's last two numbers as lv2:minorVersion and lv2:microVersion.
dsp_ttl="$root/lib/lv2/VelbriLabs Lumbra.lv2/dsp.ttl"
grep -qP "^\tlv2:minorVersion $(echo "$release" | cut -d. -f2) ;" "$dsp_ttl" || fail "the packaged LV2 bundle's lv2:minorVersion"
grep -qP "^\tlv2:microVersion $(echo "$release" | cut -d. -f3) ;" "$dsp_ttl" || fail "the packaged LV2 bundle's lv2:microVersion"
[ "$("$root/bin/velbrilabs-lumbra" --version 2>/dev/null | tail -n 1)" = "VelbriLabs Lumbra $release" ] \
    || fail "the packaged app's --version"
zcat "$root/share/doc/velbrilabs-lumbra/changelog.gz" | sed -n 1p | grep -qF "velbrilabs-lumbra ($release)" \
    || fail "the packaged changelog's newest entry"
grep -q '^License: GPL-3+$' "$root/share/doc/velbrilabs-lumbra/copyright" || fail "copyright lacks GPL-3+"
[ "$(grep -c '^License: OFL-1.1$' "$root/share/doc/velbrilabs-lumbra/copyright")" = 1 ] || fail "copyright lacks OFL-1.1"
desktop-file-validate "$root/share/applications/velbrilabs-lumbra.desktop" || fail "the menu entry does not validate"

"$render" generate --out "$work/signal.wav" --seconds 2 --rate 48000 > /dev/null
settings=(--set compAmount=60 --set spaceAMix=40 --set spaceAType=Hall --set echoMix=30 --set lowGain=3 --set outputTrim=-3)
for format in vst3 lv2; do
    case "$format" in
        vst3) packaged="$root/lib/vst3/VelbriLabs Lumbra.vst3"; built="$artefacts/VST3/VelbriLabs Lumbra.vst3" ;;
        lv2) packaged="$root/lib/lv2/VelbriLabs Lumbra.lv2"; built="$artefacts/LV2/VelbriLabs Lumbra.lv2" ;;
    esac
    if [ "$format" = vst3 ]; then
        "$render" info --plugin "$packaged" > "$work/info-$format.txt"
        grep -qx "version: $release" "$work/info-$format.txt" || fail "the packaged VST3 module's version"
    fi
    "$render" render --plugin "$packaged" --in "$work/signal.wav" --out "$work/packaged-$format.wav" "${settings[@]}" > /dev/null \
        || fail "the packaged $format bundle does not render"
    "$render" render --plugin "$built" --in "$work/signal.wav" --out "$work/built-$format.wav" "${settings[@]}" > /dev/null
    "$render" null --in "$work/packaged-$format.wav" --against "$work/built-$format.wav" --below -120 \
        || fail "the packaged $format bundle does not null against the build's"
done

if [ "$failures" -gt 0 ]; then
    echo "Package check: $failures failure(s)"
    exit 1
fi
echo "Package check passed: $deb"
