#!/usr/bin/env bash
# Removes what scripts/build-and-install.sh (scripts/install-home.sh) put into the home folder: the
# two bundles, the app, its menu entry and icon, and the folders the install had to make, if they
# are empty again. Nothing else is touched: your presets (~/.vst3/presets) and the app's settings
# (~/.config/VelbriLabs Lumbra.settings) stay. The package is removed with apt instead:
#   sudo apt remove velbrilabs-lumbra
set -euo pipefail

record="$HOME/.local/share/velbrilabs-lumbra/installed"
paths=()
folders=()
if [ -f "$record" ]; then
    while IFS= read -r line; do
        case "$line" in
            "path "*) paths+=("${line#path }") ;;
            "folder "*) folders+=("${line#folder }") ;;
        esac
    done < "$record"
else
    # An install made before the record existed: its files are known, the folders it made are not.
    paths=("$HOME/.vst3/VelbriLabs Lumbra.vst3" "$HOME/.lv2/VelbriLabs Lumbra.lv2"
           "$HOME/.local/bin/velbrilabs-lumbra" "$HOME/.local/share/applications/velbrilabs-lumbra.desktop"
           "$HOME/.local/share/icons/hicolor/256x256/apps/velbrilabs-lumbra.png")
fi

removed=0
for path in "${paths[@]}"; do
    case "$path" in "$HOME"/*) ;; *) echo "uninstall: skipping $path, outside the home folder" >&2; continue ;; esac
    if [ -e "$path" ] || [ -L "$path" ]; then
        rm -rf -- "$path"
        echo "Removed: $path"
        removed=$((removed + 1))
    fi
done

# Deepest first; a folder that holds anything else (another plug-in, your presets) stays.
for ((i = ${#folders[@]} - 1; i >= 0; i--)); do
    case "${folders[i]}" in "$HOME"/*) rmdir -- "${folders[i]}" 2>/dev/null || true ;; esac
done

if [ "$removed" -eq 0 ]; then
    echo "Nothing of VelbriLabs Lumbra was installed in $HOME."
fi
