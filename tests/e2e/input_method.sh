# Sourced by the tests that type Chinese, after sandbox.sh and on a session bus of the test's own: an
# input method with pinyin on, and QT_IM_MODULE set for the program.
#   start_input_method fcitx5|ibus
#   input_method_ready fcitx5|ibus    true once the focused box has an input context with pinyin on
start_input_method() {
    case "$1" in
    fcitx5)
        mkdir -p "$work/config/fcitx5"
        printf '%s\n' '[Groups/0]' 'Name=Default' 'Default Layout=us' 'DefaultIM=pinyin' '' '[Groups/0/Items/0]' \
            'Name=keyboard-us' 'Layout=' '' '[Groups/0/Items/1]' 'Name=pinyin' 'Layout=' '' '[GroupOrder]' \
            '0=Default' >"$work/config/fcitx5/profile"
        printf '%s\n' '[Behavior]' 'ActiveByDefault=True' >"$work/config/fcitx5/config"
        fcitx5 --disable=all --enable=pinyin,keyboard,dbus,dbusfrontend,punctuation >"$work/fcitx5.log" 2>&1 &
        pids+=($!)
        until_true 30 grep -q "Loaded addon pinyin" "$work/fcitx5.log" || fail "fcitx5 has no pinyin"
        export QT_IM_MODULE=fcitx
        ;;
    ibus)
        # Its settings in memory (libpinyin wants a config service), not in the dconf database of
        # whoever runs the tests.
        export GSETTINGS_BACKEND=memory
        ibus-daemon --panel=disable --emoji-extension=disable --config=/usr/libexec/ibus-memconf >"$work/ibus.log" 2>&1 &
        pids+=($!)
        # It says it failed even when the engine is set: the engine is asked for afterwards.
        until_true 30 eval 'ibus engine libpinyin >/dev/null 2>&1; [ "$(ibus engine 2>/dev/null)" = libpinyin ]' ||
            fail "IBus has no libpinyin"
        # The engine and the config service the daemon started end with the test too.
        pids+=($(pgrep -P "${pids[-1]}"))
        # The program finds the daemon as IBus's own clients do, by the address it left in the config folder.
        export QT_IM_MODULE=ibus
        ;;
    esac
}

input_method_ready() {
    case "$1" in
    # 2: an active input context.
    fcitx5) until_true 10 eval '[ "$(fcitx5-remote)" = 2 ]' ;;
    ibus) until_true 10 eval '[ "$(ibus engine)" = libpinyin ]' ;;
    esac
}
