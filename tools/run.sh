#!/usr/bin/env bash
# Installs Velto Volume Controller into a Wine prefix with its installer (silently) and starts it
# from the installed folder, as a user would, on one of three systems:
#   tools/run.sh [windows10]  Windows 10 on the simulated audio system (tests/audiosim, the one the
#                             end-to-end tests use): two outputs, speakers (the default) and
#                             headphones, whose volume and mute the program reads and writes
#   tools/run.sh windows7     Windows 7 on Wine's own Core Audio: one output, whose volume Wine
#                             reads but will not change (E_NOTIMPL), so a drag of the knob ends
#                             the program with its write-failure message after ten seconds
#   tools/run.sh xp           Windows XP x64 on the legacy mixer of Wine's winmm, which works
# On the current X display it runs until it is closed from its tray menu; with no display it runs
# on a virtual one, opens its controller and its menu (with the Playback Device submenu where
# there is one), writes screenshots of them to build/screens/, and is ended again.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-windows10}
case $mode in
    windows10 | windows7 | xp) ;;
    *)
        echo "usage: tools/run.sh [windows10|windows7|xp]" >&2
        exit 2
        ;;
esac
. "$top/tools/wine-env.sh"
work="$top/build/run"
screens="$top/build/screens"
setup="$top/build/windows/VeltoVolumeController-4.0-setup.exe"
simulator="$top/build/windows/audiosim"
installed='C:\Program Files\Velto Volume Controller\qmx.exe'
mkdir -p "$work" "$screens"

install() {
    (cd "$work" && wine "$setup" /S) >/dev/null 2>&1 </dev/null ||
        { echo "The installer failed (is the program still running?)" >&2; exit 1; }
    echo "Installed into C:\\Program Files\\Velto Volume Controller in the Wine prefix $WINEPREFIX"
}

# The Windows version the program is told and the audio system it finds. The prefix is kept from
# run to run: each run sets both, and the simulator starts from its two outputs again.
choose_system() {
    local version=
    case $mode in
        windows10) version=win10 ;;
        xp) version=winxp64 ;;
    esac
    if [ -n "$version" ]; then
        wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f
    else
        wine reg delete 'HKCU\Software\Wine' /v Version /f
    fi >/dev/null 2>&1 </dev/null
    if [ "$mode" != windows10 ]; then
        AUDIOSIM_DIR="$simulator" "$top/tests/e2e/use-audiosim.sh" --off
        return
    fi
    AUDIOSIM_DIR="$simulator" "$top/tests/e2e/use-audiosim.sh" &&
        (wine "$simulator/audiosim.exe" add hp "Headphones (Simulated)") >/dev/null 2>&1 </dev/null ||
        { echo "The simulated audio system could not be set up in $WINEPREFIX" >&2; exit 1; }
}

# describe_system [--live]: what the program runs on; --live: and how to change it meanwhile.
describe_system() {
    case $mode in
        windows10)
            echo "It runs as on Windows 10, on a simulated audio system with two outputs."
            [ "${1:-}" = --live ] || return 0
            echo "Change that system as a user or another program would, from another terminal:"
            echo "  WINEPREFIX=$WINEPREFIX wine $simulator/audiosim.exe COMMAND"
            echo "  (remove hp, plug hp, default hp, level spk 0.3, mute spk 1, rename hp \"Headset\","
            echo "  restart-service 3000, state; with no command it prints them all)"
            ;;
        windows7) echo "It runs as on Windows 7, on Wine's own Core Audio: the knob cannot change the volume." ;;
        xp) echo "It runs as on Windows XP x64, on the legacy mixer." ;;
    esac
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wine_env_start "$work/wine" --use-display
    install
    choose_system
    describe_system --live
    echo "Velto Volume Controller runs on $DISPLAY: its icon is in the system tray."
    echo "Left-click it for the controller, right-click it for the menu."
    (exec wine "$installed") </dev/null
    wineserver -k
    exit 0
fi

wine_env_start "$work/wine"
trap wine_env_stop EXIT
install
choose_system
(exec wine "$installed") >/dev/null 2>&1 </dev/null &
pid=$!
sleep 4
if ! kill -0 "$pid" 2>/dev/null; then
    echo "qmx.exe ended early" >&2
    exit 1
fi
tray=$(xdotool search --name 'Wine System Tray' | head -n 1)
# The first icon sits near the tray window's top-left corner.
xdotool mousemove 13 32 click 1
sleep 1.5
# Page Up over the controller, which stands in the work area's bottom-right corner, turns the
# volume up by ten, where the system lets the program change it.
if [ "$mode" != windows7 ]; then
    xdotool mousemove 905 680 key Prior
    sleep 1
fi
import -window root "$screens/controller.png"
if [ "$mode" = windows10 ]; then
    (wine "$simulator/audiosim.exe" state) >"$work/audiosim.out" 2>/dev/null </dev/null
    echo "Page Up on the controller: the simulated outputs now stand at"
    tr -d '\r' <"$work/audiosim.out" | sed 's/^/  /'
fi
xdotool windowfocus --sync "$tray" 2>/dev/null
xdotool mousemove 13 32 click 3
sleep 1.5
# The menu opens at the pointer; its Playback Device item (Windows Vista and later) stands 118
# pixels below its top, and the pointer resting there opens the submenu.
[ "$mode" = xp ] || { xdotool mousemove 53 150; sleep 1.5; }
import -window root "$screens/menu.png"
xdotool mousemove 600 300 click 1
describe_system
echo "Velto Volume Controller ran on a virtual display (there is no X display here)."
echo "Screenshots of the open controller and the tray menu: build/screens/controller.png, build/screens/menu.png"
