#!/usr/bin/env bash
# Installs built plug-ins into the home folder (no build): the VST3 bundle to ~/.vst3, the LV2
# bundle to ~/.lv2, the app to ~/.local/bin with its menu entry and icon.
#   scripts/install-home.sh [ARTEFACTS]     default build/VelbriLabsLumbra_artefacts/Release
# Every file it puts there and every folder it had to make is written to the install record
# ~/.local/share/velbrilabs-lumbra/installed, which scripts/uninstall.sh reads.
set -euo pipefail
cd "$(dirname "$0")/.."

artefacts="${1:-build/VelbriLabsLumbra_artefacts/Release}"
record_dir="$HOME/.local/share/velbrilabs-lumbra"
record="$record_dir/installed"

# A reinstall keeps the folders the first install made: they are still the install's.
made_folders=()
if [ -f "$record" ]; then
    while IFS= read -r line; do
        case "$line" in "folder "*) made_folders+=("${line#folder }") ;; esac
    done < "$record"
fi

make_folder() { # make_folder PATH: mkdir -p, noting each folder that did not exist
    local path="$1" missing=()
    while [ ! -d "$path" ]; do
        missing=("$path" "${missing[@]}")
        path="$(dirname "$path")"
    done
    for path in "${missing[@]}"; do
        mkdir "$path"
        made_folders+=("$path")
    done
}

install_bundle() { # install_bundle SOURCE_BUNDLE DESTINATION_FOLDER
    local name
    name="$(basename "$1")"
    make_folder "$2"
    rm -rf "${2:?}/$name"
    cp -R "$1" "$2/"
    echo "Installed: $2/$name"
}

make_folder "$record_dir"
install_bundle "$artefacts/VST3/VelbriLabs Lumbra.vst3" "$HOME/.vst3"
install_bundle "$artefacts/LV2/VelbriLabs Lumbra.lv2" "$HOME/.lv2"

app="$HOME/.local/bin/velbrilabs-lumbra"
icon="$HOME/.local/share/icons/hicolor/256x256/apps/velbrilabs-lumbra.png"
desktop="$HOME/.local/share/applications/velbrilabs-lumbra.desktop"
make_folder "$HOME/.local/bin"
make_folder "$(dirname "$desktop")"
make_folder "$(dirname "$icon")"
install -m 755 "$artefacts/Standalone/VelbriLabs Lumbra" "$app"
scripts/make-app-icon.sh resources/images/dog.png "$icon"
cat > "$desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=VelbriLabs Lumbra
Comment=Channel strip: trim, EQ, dynamics, two spaces and a tempo-locked echo
Exec="$app"
Icon=velbrilabs-lumbra
Terminal=false
Categories=AudioVideo;Audio;
DESKTOP
echo "Installed: $app and $desktop"

{
    printf 'path %s\n' "$HOME/.vst3/VelbriLabs Lumbra.vst3" "$HOME/.lv2/VelbriLabs Lumbra.lv2" "$app" "$desktop" "$icon" "$record"
    [ ${#made_folders[@]} -eq 0 ] || printf 'folder %s\n' "${made_folders[@]}"
} > "$record"
