#!/usr/bin/env bash
# Fresh machine to working plug-in: installs the packages, builds the plug-in in Release in every
# format, installs the VST3 bundle to ~/.vst3, the LV2 bundle to ~/.lv2 and the app to ~/.local/bin
# (with a menu entry), and renders a generated test signal through both installed plug-in formats.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

scripts/configure.sh build
cmake --build build -j2 --target VelbriLabsLumbra_VST3 VelbriLabsLumbra_LV2 VelbriLabsLumbra_Standalone lumbra-render

scripts/install-home.sh build/VelbriLabsLumbra_artefacts/Release

mkdir -p out
render=build/tools/lumbra-render
"$render" info --plugin "$HOME/.vst3/VelbriLabs Lumbra.vst3" > out/plugin-info.txt
head -n 8 out/plugin-info.txt
"$render" generate --out out/test-signal.wav --seconds 4
demo_settings=(--set compAmount=40 --set spaceAMix=30 --set spaceAType=Hall --set spaceAPreDelay=20
               --set echoMix=20 --set echoDivision=8th --set lowGain=2 --set highGain=1.5 --set outputTrim=-4)
"$render" render --plugin "$HOME/.vst3/VelbriLabs Lumbra.vst3" --in out/test-signal.wav --out out/rendered.wav \
    "${demo_settings[@]}"
"$render" render --plugin "$HOME/.lv2/VelbriLabs Lumbra.lv2" --in out/test-signal.wav --out out/rendered-lv2.wav \
    "${demo_settings[@]}"
echo "Done: out/rendered.wav (VST3) and out/rendered-lv2.wav (LV2), 32-bit float"
echo "To remove the install: scripts/uninstall.sh"
