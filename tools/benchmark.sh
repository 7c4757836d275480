#!/usr/bin/env bash
# CPU cost of qmx.exe while idle under Wine, with the controller closed and open, beside
# idle_timers.exe, which has the same timers and does nothing in them.
#   tools/benchmark.sh [SECONDS]   (default 30 per measurement)
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build="$top/build/windows"
work="$build/bench"
mkdir -p "$work/app"
cp "$build/qmx.exe" "$build/idle_timers.exe" "$work/app/"
. "$top/tools/wine-env.sh"
wine_env_start "$work/wine"
trap wine_env_stop EXIT
wine reg add "HKCU\\Software\\Korwen's Software\\Velto Volume Controller\\4.0" /f \
    >/dev/null 2>&1 </dev/null
hz=$(getconf CLK_TCK)

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# measure PID: CPU seconds used over the measuring time, after a settling second.
measure() {
    sleep 2
    local before after
    before=$(ticks "$1")
    sleep "$seconds"
    after=$(ticks "$1")
    awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.2f", t / hz }'
}

start() {
    (cd "$work/app" && exec wine "$@") >/dev/null 2>&1 </dev/null &
    echo $!
}

pid=$(start qmx.exe)
sleep 3
qmx_closed=$(measure "$pid")
xdotool mousemove 13 32 click 1
qmx_open=$(measure "$pid")
kill "$pid"
wait "$pid" 2>/dev/null

pid=$(start idle_timers.exe)
base_closed=$(measure "$pid")
kill "$pid"
wait "$pid" 2>/dev/null
pid=$(start idle_timers.exe open)
base_open=$(measure "$pid")
kill "$pid"
wait "$pid" 2>/dev/null

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
echo "CPU seconds over $seconds s under Wine ($(wine --version 2>/dev/null </dev/null))"
echo
echo "| state | qmx.exe | idle_timers.exe | ratio |"
echo "|---|---|---|---|"
echo "| controller closed (100 ms mute poll) | $qmx_closed | $base_closed | $(ratio "$qmx_closed" "$base_closed") |"
echo "| controller open (plus 1 ms volume follow-up) | $qmx_open | $base_open | $(ratio "$qmx_open" "$base_open") |"
