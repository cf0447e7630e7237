#!/usr/bin/env bash
# Installs what is missing (Debian 12 or 13), builds, then starts the program or runs the tests.
#   scripts/sitewarden.sh run            build and start the program
#   scripts/sitewarden.sh test           build and run every test, then again under ASan and UBSan
#   scripts/sitewarden.sh package        build the Debian package sitewarden_<version>_<arch>.deb in build-package/
#   scripts/sitewarden.sh bench          build and run the benchmarks, then check their ratios
#   scripts/sitewarden.sh startup       race real starts on Xvfb against the floors, then check the ratios
#   scripts/sitewarden.sh keys [TRIES]  time from Alt+S and Alt+U to the record file's change, at 32,767 and 1 records
#   scripts/sitewarden.sh fuzz [SECONDS] build the libFuzzer targets with clang and run each a while
#   scripts/sitewarden.sh test-in debian12|debian13 [root|user|both]
#                                        the test command in a bare Debian (debootstrap --variant=minbase
#                                        with git, ca-certificates and sudo), run from a clean clone of
#                                        HEAD as root from /root, as a sudo user from a home of mode 700, or both
#   scripts/sitewarden.sh reproducible  build the package twice from clean clones, varying the path, umask,
#                                        time zone and language, and compare the two byte for byte
#   scripts/sitewarden.sh mutants [PATTERN] plant each fault of tests/mutants.tsv (or those of the files
#                                        matching PATTERN) in a copy of the tree, and print how many are caught
#   scripts/sitewarden.sh screenshot     make docs/screenshot.png of the main window under Xvfb
set -euo pipefail

cd "$(dirname "$0")/.."
what=${1:-run}
build=${BUILD_DIR:-build}

# qt6-translations-l10n: Qt's own texts (buttons, menus of the text boxes) in the user's language.
packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins qt6-wayland qt6-translations-l10n libgl-dev libxcb1-dev
          libxcb-xkb-dev
          libfontconfig-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fonts-wqy-microhei)
# The X servers, window managers and tools the tests and the start-up races drive the program with
# (strace watches the store sync its folder; GNOME's and KDE's window managers and fcitx5 want a session
# bus; IBus with libpinyin is the other way Chinese is typed; gio is GNOME's launcher of desktop entries,
# and pkill ends what it started; the AT-SPI bus and its Python binding ask the program what a screen
# reader asks; Syncthing keeps two machines' folders in sync; locales has the sources of the languages a
# test starts the program in).
desktop_packages=(locales xvfb xauth xdotool x11-utils desktop-file-utils libglib2.0-bin procps openbox weston xwayland strace
                  mutter kwin-x11 kwin-wayland dbus-daemon fcitx5 fcitx5-chinese-addons fcitx5-frontend-qt6
                  ibus ibus-libpinyin at-spi2-core python3-gi gir1.2-atspi-2.0 syncthing)

# Debian's tools that build and check the package (dpkg-shlibdeps, file, lintian, appstreamcli).
package_packages=(dpkg-dev file lintian appstream)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR [TARGET] [CMAKE OPTIONS...]
configure_and_build() {
    local dir=$1 target=$2
    shift 2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" --parallel "$(nproc)" ${target:+--target "$target"}
}

# make_package DIR: the Debian package of what DIR built, installed under /usr, in $build-package.
make_package() {
    rm -f "$build-package"/sitewarden_*.deb
    # CPack gives the archive's members the modes its files were made with: as dpkg-deb does, 644.
    (umask 022 && cpack -G DEB --config "$1/CPackConfig.cmake" -B "$build-package" >/dev/null)
    ls "$build-package"/sitewarden_*.deb
}

case "$what" in
run)
    # Chinese typed through fcitx5 reaches Qt 6 programs through its Qt 6 module; IBus's comes with Qt.
    if dpkg-query -W -f='${Status}' fcitx5 2>/dev/null | grep -q 'ok installed'; then
        packages+=(fcitx5-frontend-qt6)
    fi
    install_missing "${packages[@]}"
    configure_and_build "$build" sitewarden
    exec "$build/bin/sitewarden"
    ;;
test)
    install_missing "${packages[@]}" "${desktop_packages[@]}" "${package_packages[@]}"
    # The tests keep to folders of their own: the home of whoever runs them must come out as it went in.
    home_now() { find "$HOME" -xdev -path "$PWD" -prune -o -printf '%P %y %s %T@\n' 2>/dev/null | sort; }
    home_before=$(mktemp)
    trap 'rm -f "$home_before"' EXIT
    home_now >"$home_before"
    configure_and_build "$build" "" -DSITEWARDEN_TESTS=ON -DSITEWARDEN_BENCH=OFF
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
    # Unoptimized: the sanitizers' build is made only to be tested, and compiles in less time.
    configure_and_build "$build-asan" "" -DSITEWARDEN_TESTS=ON -DSITEWARDEN_SANITIZE=ON -DSITEWARDEN_BENCH=OFF \
        -DCMAKE_BUILD_TYPE=Debug
    # Where every user a test runs the program as may read it, whatever the mode of this folder.
    suppressions=$(mktemp /tmp/sitewarden-lsan.XXXXXX)
    trap 'rm -f "$home_before" "$suppressions"' EXIT
    cp tests/lsan.supp "$suppressions"
    chmod 644 "$suppressions"
    LSAN_OPTIONS="suppressions=$suppressions" ctest --test-dir "$build-asan" --output-on-failure --parallel "$(nproc)"
    # The Debian package of the build just tested: checked by lintian, installed, upgraded and purged.
    as_root bash tests/e2e/package.sh "$(make_package "$build")"
    if ! home_now | diff "$home_before" - >&2; then
        echo "FAIL: the tests changed $HOME (above)" >&2
        exit 1
    fi
    ;;
package)
    install_missing "${packages[@]}" "${package_packages[@]}"
    configure_and_build "$build-program" sitewarden -DSITEWARDEN_TESTS=OFF -DSITEWARDEN_BENCH=OFF
    make_package "$build-program"
    ;;
bench)
    install_missing "${packages[@]}" python3
    configure_and_build "$build" sitewarden_bench -DSITEWARDEN_BENCH=ON
    export QT_QPA_PLATFORM=offscreen
    "$build/bin/sitewarden_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_out="$build/bench.json" --benchmark_out_format=json 2>/dev/null
    # Real starts, each in a process of its own: time to the first paint, and peak memory.
    "$build/bin/sitewarden_bench" --make-folder 32767
    "$build/bin/sitewarden_bench" --make-folder 1
    # One start first, as a user's later starts find their settings and files already there.
    "$build/bin/sitewarden_bench" --cold full 32767 >/dev/null 2>&1
    for run in 1 2 3 4 5 6 7 8 9; do
        for start in "full 32767" "full 1" "bare 1" "caption 1"; do
            # shellcheck disable=SC2086
            echo "$start $("$build/bin/sitewarden_bench" --cold $start 2>/dev/null)"
        done
    done > "$build/cold.txt"
    python3 scripts/bench_check.py "$build/bench.json" "$build/cold.txt"
    ;;
startup)
    # The floors (bench/floors), the race and the record files are the project's own.
    install_missing "${packages[@]}" "${desktop_packages[@]}" python3
    configure_and_build "$build" sitewarden
    cmake -S bench/floors -B "$build/qtbare" -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build/qtbare" --parallel "$(nproc)"
    races=$(realpath "$build")/startup
    for records in 32767 1; do
        folder="$races/$records"
        rm -rf "$folder"
        mkdir -p "$folder"
        cp "$build/bin/sitewarden" "$folder/sitewarden"
        python3 bench/make-records "$records" "$folder/Sitewarden2.dta"
    done
    python3 scripts/startup_check.py bench "$races/32767/sitewarden" "$races/1/sitewarden" \
        "$(realpath "$build")/qtbare/qtcjk" $(command -v keepassxc || true)
    ;;
keys)
    install_missing "${packages[@]}" "${desktop_packages[@]}" python3
    configure_and_build "$build" sitewarden
    for records in 32767 1; do
        mkdir -p "$build/keys/$records"
        python3 bench/make-records "$records" "$build/keys/$records/Sitewarden2.dta"
    done
    python3 scripts/key_to_file.py "$build/bin/sitewarden" "${2:-17}" "$build/keys/32767" "$build/keys/1"
    ;;
screenshot)
    install_missing "${packages[@]}" "${desktop_packages[@]}" imagemagick
    configure_and_build "$build" sitewarden
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp "$build/bin/sitewarden" "$work/sitewarden"
    field() { LC_ALL=C printf '%-*s' "$2" "$1"; }
    record() { # slot description user password address
        printf "\\x$(printf %02x "$1")\\x00"
        field "$2" 35; field "$3" 35; field "$4" 35; field "$5" 200
    }
    {
        record 1 'Example Bank' 'jane.doe' 'c0rrect-h0rse' 'https://bank.example.org'
        record 2 'Mail' 'jane@example.org' 'b4ttery-st4ple' 'https://mail.example.org'
        record 3 '(Deleted)' '' '' ''
        record 4 "$(printf '\xd3\xca\xbc\xfe')" 'jane' 'p4ss-w0rd' 'www.example.net'
        record 5 'Library' 'jdoe' 'r3ading-r00m' 'http://library.example.org'
    } > "$work/Sitewarden2.dta"
    printf 'jane@example.org\r\njane.doe@example.net\r\n' > "$work/Email.dta"
    XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb xvfb-run --auto-servernum \
        --server-args="-screen 0 1024x768x24" bash scripts/screenshot.sh "$work/sitewarden" docs/screenshot.png
    echo "docs/screenshot.png"
    ;;
fuzz)
    install_missing "${packages[@]}" clang libclang-rt-14-dev
    CC=clang CXX=clang++ configure_and_build "$build-fuzz" "" -DSITEWARDEN_FUZZ=ON
    seconds=${2:-60}
    for target in FuzzRecord FuzzEmailList FuzzDefaultUserId FuzzCsv; do
        corpus="$build-fuzz/corpus/$target"
        mkdir -p "$corpus"
        cp tests/corpus/*.dta tests/corpus/*.csv "$corpus/"
        echo "== $target for ${seconds}s"
        "$build-fuzz/bin/$target" -max_total_time="$seconds" -rss_limit_mb=4096 "$corpus" 2>&1 | tail -n 3
    done
    ;;
test-in)
    case "${2:-}" in
    debian12) suite=bookworm ;;
    debian13) suite=trixie ;;
    *) echo "usage: $0 test-in debian12|debian13 [root|user|both]" >&2; exit 2 ;;
    esac
    who=${3:-both}
    install_missing debootstrap git
    root=$(realpath -m "$build-$2")
    # The mirror the host's own apt uses.
    mirror=$({ cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null || true; } \
        | sed -n 's/^URIs: *\([^ ]*\/debian\)$/\1/p; s/^deb \(\[[^]]*\] \)\?\([^ ]*\/debian\) .*/\2/p' | head -n 1)
    if [ ! -x "$root/usr/bin/sudo" ]; then
        rm -rf "$root"
        as_root debootstrap --variant=minbase --include=git,ca-certificates,sudo "$suite" "$root" "$mirror"
    fi
    mounted=()
    unmount() {
        for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do as_root umount -l "${mounted[i]}" || true; done
    }
    trap unmount EXIT
    mount_in() { as_root mount "$@" && mounted+=("${*: -1}"); }
    # What an interrupted run left mounted goes first.
    for left in run tmp dev sys proc; do as_root umount -R -l "$root/$left" 2>/dev/null || true; done
    mount_in -t proc proc "$root/proc"
    mount_in -t sysfs sys "$root/sys"
    mount_in --rbind /dev "$root/dev"
    mount_in -t tmpfs tmpfs "$root/dev/shm"
    mount_in -t tmpfs tmpfs "$root/tmp"
    mount_in -t tmpfs tmpfs "$root/run"
    as_root cp /etc/resolv.conf "$root/etc/resolv.conf"
    inside() { as_root chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 TERM=dumb "$@"; }
    # A clean clone of what is committed, as a newcomer gets it.
    if [ "$who" != user ]; then
        as_root rm -rf "$root/root/sitewarden"
        as_root git clone --quiet --no-hardlinks "$PWD" "$root/root/sitewarden"
        inside HOME=/root /bin/bash -c 'cd /root/sitewarden && bash scripts/sitewarden.sh test'
    fi
    if [ "$who" != root ]; then
        inside /bin/bash -c 'id tester >/dev/null 2>&1 || useradd --create-home --shell /bin/bash tester
            chmod 700 /home/tester
            echo "tester ALL=(ALL) NOPASSWD: ALL" > /etc/sudoers.d/tester
            rm -rf /home/tester/sitewarden'
        as_root git clone --quiet --no-hardlinks "$PWD" "$root/home/tester/sitewarden"
        inside /bin/bash -c 'chown -R tester: /home/tester/sitewarden'
        inside /usr/sbin/runuser -u tester -- /usr/bin/env HOME=/home/tester /bin/bash -c \
            'cd ~/sitewarden && bash scripts/sitewarden.sh test'
    fi
    ;;
reproducible)
    # Two packages from two clean clones of HEAD, built as reprotest varies a build: another path,
    # umask, time zone and language; then compared byte for byte, member by member.
    install_missing "${packages[@]}" "${package_packages[@]}"
    export SOURCE_DATE_EPOCH
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    variants=("a/sitewarden 022 UTC C.UTF-8" "b/another/longer/path/sw 002 Asia/Shanghai zh_CN.UTF-8")
    for i in 0 1; do
        read -r folder mask zone language <<<"${variants[$i]}"
        git clone -q . "$work/$folder"
        (cd "$work/$folder" && umask "$mask" && TZ=$zone LANG=$language LC_ALL=$language \
            bash scripts/sitewarden.sh package >"$work/build-$i.log" 2>&1) || { tail -n 20 "$work/build-$i.log"; exit 1; }
        mkdir -p "$work/deb-$i"
        cp "$work/$folder"/build-package/sitewarden_*.deb "$work/deb-$i/"
    done
    first=$(ls "$work"/deb-0/*.deb) second=$(ls "$work"/deb-1/*.deb)
    if cmp -s "$first" "$second"; then
        echo "The two packages are identical: $(basename "$first"), $(sha256sum <"$first" | cut -c1-16)"
        exit 0
    fi
    # What differs: the archive's members, each part's listing (modes, owners, times), each file.
    for i in 0 1; do
        mkdir -p "$work/x-$i/control" "$work/x-$i/data"
        (cd "$work/x-$i" && ar x "$(ls "$work"/deb-"$i"/*.deb)" && ar tv "$(ls "$work"/deb-"$i"/*.deb)" >members &&
            for part in control data; do
                tar -xf $part.tar.* -C $part && tar -tvf $part.tar.* >$part.list && zcat -f $part.tar.* >$part.tar
            done)
    done
    for member in members debian-binary control.tar data.tar $(ar t "$first"); do
        cmp -s "$work/x-0/$member" "$work/x-1/$member" || echo "differs: $member"
    done
    diff -r "$work/x-0" "$work/x-1" | grep -v '^Only in' || true
    echo "The two packages differ (above)" >&2
    exit 1
    ;;
mutants)
    install_missing "${packages[@]}" "${desktop_packages[@]}" python3
    python3 scripts/mutants.py tests/mutants.tsv "${2:-}"
    ;;
*)
    echo "usage: $0 run|test|package|reproducible|bench|startup|keys [TRIES]|fuzz [SECONDS]|screenshot|mutants [PATTERN]" >&2
    exit 2
    ;;
esac
