#!/usr/bin/env bash
# cmake --install lays out a program folder, a command, a valid desktop entry, the key icon in the
# hicolor sizes, the metainfo, the manual page and the copyright; removing what the install manifest
# lists leaves nothing behind, with DESTDIR and with another --prefix, whose path the entry names. A desktop entry for a
# folder with a blank in its name starts the program through GLib's launcher (GNOME's menus).
#   install_layout.sh BUILD_DIR SOURCE_DIR PROGRAM
set -euo pipefail
source "$(dirname "$0")/wait.sh"

build=$1 source=$2 program=$3
work=$(mktemp -d)
trap 'pkill -f "^$work/" || true; rm -rf "$work"' EXIT
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" >/dev/null
root="$stage$prefix"

[ -x "$root/lib/sitewarden/sitewarden" ] || fail "no program in lib/sitewarden"
[ "$(readlink "$root/bin/sitewarden")" = ../lib/sitewarden/sitewarden ] || fail "bin/sitewarden"
desktop="$root/share/applications/sitewarden.desktop"
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -qx "Exec=\"$prefix/lib/sitewarden/sitewarden\"" "$desktop" || fail "desktop entry Exec"
grep -qx "Icon=sitewarden" "$desktop" || fail "desktop entry Icon"
grep -qx "StartupWMClass=sitewarden" "$desktop" || fail "desktop entry StartupWMClass"
grep -qx "StartupNotify=true" "$desktop" || fail "desktop entry StartupNotify"
for size in 16 32 48 64 128 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/sitewarden.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{print (($1 * 256 + $2) * 256 + $3) * 256 + $4}')
    [ "$width" -eq "$size" ] || fail "the ${size}x${size} icon is $width pixels wide"
done
metainfo="$root/share/metainfo/example.sitewarden.Sitewarden.metainfo.xml"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || fail "the metainfo does not validate"
fi
for file in share/man/man1/sitewarden.1.gz share/doc/sitewarden/copyright share/doc/sitewarden/changelog.gz; do
    [ -s "$root/$file" ] || fail "no $file"
done
[ -z "$(find "$stage" -name '*.dta')" ] || fail "installing must not lay down data files"

# The manifest names the installed paths without DESTDIR.
sed "s|^|$stage|" "$build/install_manifest.txt" | xargs -d '\n' rm --
[ -z "$(find "$stage" ! -type d)" ] || fail "the manifest does not list $(find "$stage" ! -type d | head -n 3)"

# Another prefix at install time, as packagers give it: the entry names that one.
elsewhere="$work/elsewhere"
cmake --install "$build" --prefix "$elsewhere" >/dev/null || fail "an install with --prefix"
grep -qx "Exec=\"$elsewhere/lib/sitewarden/sitewarden\"" "$elsewhere/share/applications/sitewarden.desktop" \
    || fail "the entry of an install with --prefix names $(grep ^Exec "$elsewhere/share/applications/sitewarden.desktop")"
desktop-file-validate "$elsewhere/share/applications/sitewarden.desktop" || fail "the entry with --prefix"
xargs -d '\n' rm -- <"$build/install_manifest.txt"
[ -z "$(find "$elsewhere" ! -type d)" ] || fail "the manifest of --prefix misses $(find "$elsewhere" ! -type d | head -n 3)"

# An entry for a program in "my programs", made as the build makes its own.
app="$work/my programs/lib/sitewarden"
mkdir -p "$app" "$work/runtime"
chmod 700 "$work/runtime"
cp "$program" "$app/sitewarden"
cmake -DPROGRAM="$app/sitewarden" -DOUTPUT="$work/sitewarden.desktop" -P "$source/resources/DesktopEntry.cmake"
desktop-file-validate "$work/sitewarden.desktop" || fail "the entry for a folder with a blank does not validate"
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
    gio launch "$work/sitewarden.desktop" || fail "GLib refuses the desktop entry"
until_true 10 test -f "$work/config/Sitewarden/Sitewarden.ini" || fail "the program did not start from its desktop entry"
echo "1 passed, 0 failed"
