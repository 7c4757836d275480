#!/usr/bin/env bash
# Starts qmx.exe under Wine. On the current X display the program runs until it is closed; with
# no display it runs on a virtual one, screenshots go to build/screens/, and it is ended again.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/wine-env.sh"
work="$top/build/run"
app="$work/Velto Volume Controller"
mkdir -p "$app" "$top/build/screens"
cp "$top/build/windows/qmx.exe" "$app/"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wine_env_start "$work/wine" --use-display
    echo "Velto Volume Controller runs on $DISPLAY; its icon is in the tray. Close it from the tray menu."
    (cd "$app" && exec wine qmx.exe) </dev/null
    wineserver -k
    exit 0
fi

wine_env_start "$work/wine"
trap wine_env_stop EXIT
(cd "$app" && exec wine qmx.exe) >/dev/null 2>&1 </dev/null &
pid=$!
sleep 4
if ! kill -0 "$pid" 2>/dev/null; then
    echo "qmx.exe ended early" >&2
    exit 1
fi
import -window root "$top/build/screens/desktop.png"
convert "$top/build/screens/desktop.png" +repage -crop 170x50+0+0 +repage -scale 300% \
    "$top/build/screens/tray.png"
echo "Velto Volume Controller started on a virtual display (no X display here)."
echo "Screenshots: build/screens/desktop.png, build/screens/tray.png"
