#!/usr/bin/env bash
# Sourced by the end-to-end tests and `make run`: a Wine prefix of the build's own, a virtual
# X display when there is none, and ALSA pointed at a null sound device.
#   wine_env_start DIR [--no-sound] [--use-display] [--win32]
#                  prepares DIR/prefix (64-bit Windows, or 32-bit with --win32) and starts its
#                  wineserver
#   wine_env_stop  ends the wineserver and the virtual display
# The virtual display is WINE_ENV_SCREEN pixels (1024x768 unless set).

wine_env_start() {
    local dir=$1
    shift
    local sound=1 own_display=1 arch=win64
    for option in "$@"; do
        case $option in
            --no-sound) sound=0 ;;
            --use-display) [ -n "${DISPLAY:-}" ] && own_display=0 ;;
            --win32) arch=win32 ;;
        esac
    done
    mkdir -p "$dir/bin"
    export WINEPREFIX="$dir/prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=$arch
    # Debian's `wine` starts Wine's 32-bit loader whenever wine32 is installed, and on 64-bit
    # Windows that runs Wine's own tools (reg, cmd) as their 32-bit builds, which see the
    # registry's 32-bit view. On 64-bit Windows they are 64-bit programs: `wine` is the 64-bit
    # loader there, which hands a 32-bit program on to the 32-bit one.
    if [ "$arch" = win64 ] && [ -x /usr/lib/wine/wine64 ]; then
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$dir/bin/wine"
        chmod +x "$dir/bin/wine"
    else
        rm -f "$dir/bin/wine"
    fi
    case ":$PATH:" in
        *":$dir/bin:"*) ;;
        *) export PATH="$dir/bin:$PATH" ;;
    esac

    if [ "$sound" = 1 ]; then
        printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$dir/asoundrc"
        { cat /usr/share/alsa/alsa.conf; echo "<$dir/asoundrc>"; } > "$dir/alsa.conf"
        export ALSA_CONFIG_PATH="$dir/alsa.conf"
    else
        printf '' > "$dir/alsa-empty.conf"
        export ALSA_CONFIG_PATH="$dir/alsa-empty.conf"
    fi

    WINE_ENV_XVFB_PID=
    if [ "$own_display" = 1 ]; then
        # Another suite may take a free display at the same moment: the display is ours once its
        # lock file names our server, and the next free one is tried when it does not.
        local display
        for display in $(seq 90 130); do
            [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
            Xvfb ":$display" -screen 0 "${WINE_ENV_SCREEN:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 </dev/null &
            WINE_ENV_XVFB_PID=$!
            for _ in $(seq 100); do
                { [ -e "/tmp/.X11-unix/X$display" ] || ! kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null; } && break
                sleep 0.1
            done
            [ "$(tr -d ' ' <"/tmp/.X$display-lock" 2>/dev/null)" = "$WINE_ENV_XVFB_PID" ] && break
            kill "$WINE_ENV_XVFB_PID" 2>/dev/null
            wait "$WINE_ENV_XVFB_PID" 2>/dev/null
            WINE_ENV_XVFB_PID=
        done
        export DISPLAY=":$display"
    fi

    if [ ! -f "$WINEPREFIX/.qmx-ready" ]; then
        wineboot -i >/dev/null 2>&1 </dev/null
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
        wineserver -w
        touch "$WINEPREFIX/.qmx-ready"
    fi
    (wineserver -p) >/dev/null 2>&1 </dev/null
    (wine cmd /c exit) >/dev/null 2>&1 </dev/null
}

# The wine_env_start option for a Windows program: --win32 when EXE is an x86 program (it runs on
# 32-bit Windows), nothing for an x64 one.
wine_env_bitness() {
    x86_64-w64-mingw32-objdump -f "$1" | grep -q "file format pei-i386" && echo --win32
    return 0
}

# The Linux process ids of this prefix's processes whose command line matches PATTERN.
prefix_pids() {
    local pid
    for pid in $(pgrep -f "$1"); do
        grep -q -s -z -x "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" && echo "$pid"
    done
}

wine_env_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    fi
}
