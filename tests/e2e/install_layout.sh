#!/usr/bin/env bash
# cmake --install lays out a self-contained program folder, a command, a valid desktop entry and
# the key icon in the hicolor sizes; installed into a folder with a blank in its name, GLib's launcher
# (GNOME's menus) starts the program from the entry.
#   install_layout.sh BUILD_DIR
set -euo pipefail

work=$(mktemp -d)
trap 'pkill -f "^$prefix/lib/sitewarden/sitewarden" || true; rm -rf "$work"' EXIT
prefix="$work/my programs"
cmake --install "$1" --prefix "$prefix" > /dev/null

fail() { echo "FAIL: $*"; exit 1; }
[ -x "$prefix/lib/sitewarden/sitewarden" ] || fail "no program in lib/sitewarden"
[ "$(readlink -f "$prefix/bin/sitewarden")" = "$(readlink -f "$prefix/lib/sitewarden/sitewarden")" ] || fail "bin/sitewarden"
desktop="$prefix/share/applications/sitewarden.desktop"
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -qx "Exec=\"$prefix/lib/sitewarden/sitewarden\"" "$desktop" || fail "desktop entry Exec"
grep -qx "Icon=sitewarden" "$desktop" || fail "desktop entry Icon"
grep -qx "StartupWMClass=sitewarden" "$desktop" || fail "desktop entry StartupWMClass"
grep -qx "StartupNotify=true" "$desktop" || fail "desktop entry StartupNotify"
for size in 16 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/sitewarden.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{print (($1 * 256 + $2) * 256 + $3) * 256 + $4}')
    [ "$width" -eq "$size" ] || fail "the ${size}x${size} icon is $width pixels wide"
done
[ -z "$(find "$prefix" -name '*.dta')" ] || fail "installing must not lay down data files"

mkdir -m 700 "$work/runtime"
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen gio launch "$desktop" \
    || fail "GLib refuses the desktop entry"
for _ in $(seq 100); do [ -f "$work/config/Sitewarden/Sitewarden.ini" ] && break; sleep 0.1; done
[ -f "$work/config/Sitewarden/Sitewarden.ini" ] || fail "the program did not start from its desktop entry"
echo "1 passed, 0 failed"
