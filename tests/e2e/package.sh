#!/usr/bin/env bash
# The Debian package as a user meets it: lintian finds no error in it; apt-get installs it with its
# libraries; its command, desktop entry, metainfo and manual page are in place; a user's data in their
# home outlives an upgrade to a newer version and a purge, which leaves nothing of the program behind.
#   package.sh PACKAGE.deb    (as root; the package is purged at the end)
set -euo pipefail
source "$(dirname "$0")/wait.sh"

deb=$(realpath "$1")
work=$(mktemp -d)
cleanup() {
    dpkg -s sitewarden >/dev/null 2>&1 && apt-get purge -y -q sitewarden >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
[ "$(id -u)" -eq 0 ] || { echo "the package test installs packages: run it as root"; exit 1; }
if dpkg -s sitewarden >/dev/null 2>&1; then
    trap 'rm -rf "$work"' EXIT
    echo "SKIP: the sitewarden package is installed on this machine, and the test would remove it"
    exit 0
fi

HOME="$work" TMPDIR="$work" lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 \
    || { cat "$work/lintian.log"; fail "lintian reports errors"; }
grep -v 'root privileges' "$work/lintian.log" || true
# No maintainer scripts: nothing runs at an upgrade or a purge that could reach a user's files.
dpkg-deb -I "$deb" | grep -E '^ +[0-9]+ bytes, +[0-9]+ lines +(pre|post)(inst|rm) ' && fail "maintainer scripts"

DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 || { tail "$work/apt.log"; fail "install"; }
[ "$(readlink -f /usr/bin/sitewarden)" = /usr/lib/sitewarden/sitewarden ] || fail "/usr/bin/sitewarden"
version=$(dpkg-deb -f "$deb" Version)
[ "$(sitewarden --version)" = "sitewarden $version" ] || fail "sitewarden --version says $(sitewarden --version)"
desktop-file-validate /usr/share/applications/sitewarden.desktop || fail "the desktop entry"
grep -qx 'Exec="/usr/lib/sitewarden/sitewarden"' /usr/share/applications/sitewarden.desktop || fail "Exec"
appstreamcli validate --no-net /usr/share/metainfo/example.sitewarden.Sitewarden.metainfo.xml || fail "metainfo"
[ -f /usr/share/man/man1/sitewarden.1.gz ] && [ -f /usr/share/doc/sitewarden/copyright ] || fail "man page, copyright"

# A user's data, as the program keeps it for a system-wide install.
data="$work/home/.local/share/Sitewarden"
mkdir -p "$data"
printf 'a@x.org\r\n' >"$data/Email.dta"
before=$(cat "$data/Email.dta")

# The same package as a newer version.
dpkg-deb -R "$deb" "$work/newer"
sed -i 's/^Version: .*/&+1/' "$work/newer/DEBIAN/control"
dpkg-deb -b --root-owner-group "$work/newer" "$work/sitewarden_newer.deb" >/dev/null
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$work/sitewarden_newer.deb" >"$work/apt.log" 2>&1 \
    || { tail "$work/apt.log"; fail "upgrade"; }
dpkg-query -W -f='${Version}' sitewarden | grep -q '+1$' || fail "not upgraded"

apt-get purge -y -q sitewarden >"$work/apt.log" 2>&1 || { tail "$work/apt.log"; fail "purge"; }
for gone in /usr/lib/sitewarden /usr/bin/sitewarden /usr/share/applications/sitewarden.desktop /usr/share/doc/sitewarden \
    /usr/share/man/man1/sitewarden.1.gz /usr/share/metainfo/example.sitewarden.Sitewarden.metainfo.xml; do
    [ ! -e "$gone" ] && [ ! -L "$gone" ] || fail "$gone is left after the purge"
done
[ "$(cat "$data/Email.dta")" = "$before" ] || fail "the user's data changed"
echo "1 passed, 0 failed"
