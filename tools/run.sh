#!/usr/bin/env bash
# Installs Velto Volume Controller into a Wine prefix with its installer (silently) and starts it
# from the installed folder, as a user would. On the current X display it runs until it is
# closed from its tray menu; with no display it runs on a virtual one, opens its controller and
# its menu, writes screenshots of them to build/screens/, and is ended again.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/wine-env.sh"
work="$top/build/run"
screens="$top/build/screens"
setup="$top/build/windows/VeltoVolumeController-4.0-setup.exe"
installed='C:\Program Files\Velto Volume Controller\qmx.exe'
mkdir -p "$work" "$screens"

install() {
    (cd "$work" && wine "$setup" /S) >/dev/null 2>&1 </dev/null ||
        { echo "The installer failed (is the program still running?)" >&2; exit 1; }
    echo "Installed into C:\\Program Files\\Velto Volume Controller in the Wine prefix $WINEPREFIX"
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wine_env_start "$work/wine" --use-display
    install
    echo "Velto Volume Controller runs on $DISPLAY: its icon is in the system tray."
    echo "Left-click it for the controller, right-click it for the menu."
    (exec wine "$installed") </dev/null
    wineserver -k
    exit 0
fi

wine_env_start "$work/wine"
trap wine_env_stop EXIT
install
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
import -window root "$screens/controller.png"
xdotool windowfocus --sync "$tray" 2>/dev/null
xdotool mousemove 13 32 click 3
sleep 1.5
import -window root "$screens/menu.png"
xdotool mousemove 600 300 click 1
echo "Velto Volume Controller ran on a virtual display (there is no X display here)."
echo "Screenshots of the open controller and the tray menu: build/screens/controller.png, build/screens/menu.png"
