#!/usr/bin/env bash
# Fresh machine to working plug-in: installs the packages, builds the plug-in in Release, installs
# the bundle to ~/.vst3 and renders a generated test signal through the installed module.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

scripts/configure.sh build
cmake --build build -j2 --target VelbriLabsLumbra_VST3 lumbra-render

bundle="build/VelbriLabsLumbra_artefacts/Release/VST3/VelbriLabs Lumbra.vst3"
installed="$HOME/.vst3/VelbriLabs Lumbra.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$installed"
cp -R "$bundle" "$HOME/.vst3/"
echo "Installed: $installed"

mkdir -p out
render=build/tools/lumbra-render
"$render" info --plugin "$installed" > out/plugin-info.txt
head -n 8 out/plugin-info.txt
"$render" generate --out out/test-signal.wav --seconds 4
"$render" render --plugin "$installed" --in out/test-signal.wav --out out/rendered.wav \
    --set compAmount=40 --set spaceAMix=30 --set spaceAType=Hall --set spaceAPreDelay=20 \
    --set echoMix=20 --set echoDivision=8th --set lowGain=2 --set highGain=1.5
echo "Done: out/rendered.wav"
