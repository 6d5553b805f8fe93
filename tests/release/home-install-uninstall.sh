#!/usr/bin/env bash
# The from-source install and scripts/uninstall.sh in a temporary home folder: after install then
# uninstall, the home folder holds exactly what it held before (names, kinds, modes, contents),
# once starting empty and once already holding another plug-in, a user preset and other menu entries.
#   home-install-uninstall.sh SOURCE_DIR ARTEFACTS_DIR
set -euo pipefail
source_dir="$1"
artefacts="$2"

snapshot() { # every entry under HOME with its kind, mode and (for files) content hash
    (cd "$HOME" && find . -mindepth 1 -printf '%p %y %m\n' | sort
     find . -type f -print0 | sort -z | xargs -0 -r md5sum)
}

check_round_trip() { # check_round_trip CASE
    local before after
    before="$(snapshot)"
    "$source_dir/scripts/install-home.sh" "$artefacts" > /dev/null
    for installed in ".vst3/VelbriLabs Lumbra.vst3/Contents/x86_64-linux/VelbriLabs Lumbra.so" \
                     ".lv2/VelbriLabs Lumbra.lv2/manifest.ttl" ".local/bin/velbrilabs-lumbra" \
                     ".local/share/applications/velbrilabs-lumbra.desktop" \
                     ".local/share/icons/hicolor/256x256/apps/velbrilabs-lumbra.png"; do
        [ -f "$HOME/$installed" ] || { echo "FAIL ($1): install did not put $installed"; exit 1; }
    done
    # A second install over the first must not make the uninstall forget the folders it made.
    "$source_dir/scripts/install-home.sh" "$artefacts" > /dev/null
    "$source_dir/scripts/uninstall.sh" > /dev/null
    after="$(snapshot)"
    if [ "$before" != "$after" ]; then
        echo "FAIL ($1): the home folder differs after install and uninstall:"
        diff <(echo "$before") <(echo "$after") || true
        exit 1
    fi
    echo "ok ($1)"
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export HOME="$work/empty-home"
mkdir -p "$HOME"
check_round_trip "empty home folder"

export HOME="$work/used-home"
mkdir -p "$HOME/.vst3/Other.vst3/Contents" "$HOME/.vst3/presets/velbrilabs/VelbriLabs Lumbra" \
         "$HOME/.local/share/applications" "$HOME/.local/bin" "$HOME/.config"
echo "another plug-in" > "$HOME/.vst3/Other.vst3/Contents/moduleinfo.json"
echo "a preset of the user's" > "$HOME/.vst3/presets/velbrilabs/VelbriLabs Lumbra/Mine.vstpreset"
echo "[Desktop Entry]" > "$HOME/.local/share/applications/other.desktop"
echo "settings" > "$HOME/.config/VelbriLabs Lumbra.settings"
chmod 700 "$HOME/.local/bin"
check_round_trip "home folder in use"

# Uninstalling twice, or with nothing installed, changes nothing and succeeds.
before="$(snapshot)"
"$source_dir/scripts/uninstall.sh" | grep -q "Nothing of VelbriLabs Lumbra was installed"
[ "$before" = "$(snapshot)" ] || { echo "FAIL: uninstall without an install changed the home folder"; exit 1; }
echo "ok (nothing installed)"
