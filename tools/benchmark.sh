#!/usr/bin/env bash
# qmx.exe against its floor under Wine: floor.exe does exactly the prescribed work (a tray icon
# of the same size re-sent with a mute read every 100 ms, and a volume read every 1 ms while
# "open") and nothing else. Alternating rounds measure, for each program:
#   - the CPU time of the whole Wine prefix (program, wineserver, Wine's tray and services),
#     controller closed and open;
#   - the time from launch to a standing tray icon;
#   - the program's resident memory after start-up.
#   tools/benchmark.sh [SECONDS per CPU measurement, default 20] [ROUNDS, default 3]
# BENCH_BUILD names the build (build/windows unless set); an x86 build (build/windows/x86, with
# its own floor.exe) is measured on 32-bit Windows.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
rounds=${2:-3}
build=$(realpath "${BENCH_BUILD:-$top/build/windows}")
work="$build/bench"
mkdir -p "$work/app" "$work/driver"
cp "$build/qmx.exe" "$build/floor.exe" "$work/app/"
cp "$build/qmxdriver.exe" "$work/driver/"
. "$top/tools/wine-env.sh"
wine_env_start "$work/wine" $(wine_env_bitness "$build/qmx.exe")
trap wine_env_stop EXIT
E2E_WORK=$work
E2E_DRIVER="$work/driver/qmxdriver.exe"
. "$top/tests/e2e/lib.sh"
reset_settings
hz=$(getconf CLK_TCK)
app=$(windows_path "$work")\\app

# Clock ticks used so far by every process of this Wine prefix.
prefix_ticks() {
    local total=0 pid
    for pid in $(grep -l -s -z -x "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ | cut -d/ -f3); do
        total=$((total + $(cpu_ticks "$pid" 2>/dev/null || echo 0)))
    done
    echo "$total"
}

# CPU seconds of the prefix over the measuring time, after a settling second.
measure_cpu() {
    sleep 1
    local before after
    before=$(prefix_ticks)
    sleep "$seconds"
    after=$(prefix_ticks)
    awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.2f", t / hz }'
}

linux_pid_of() { prefix_pids "$1" | tail -n 1; }

# launch EXE [ARGUMENT]: starts it, prints the milliseconds to its tray icon; sets PROGRAM_PID.
launch() {
    local line
    line=$(drv launch-to-icon "$app\\$1" ${2:-})
    sed -n 's/.* ms=\([0-9.]*\).*/\1/p' <<<"$line"
}

# While the CPU is measured the pointer rests away from both programs' windows, or with
# BENCH_POINTER=icon on the program's tray icon (where Wine's tray shows the icon's tip).
rest_pointer() {
    if [ "${BENCH_POINTER:-away}" = icon ]; then
        xdotool mousemove $(tray_icon_center)
    else
        xdotool mousemove 300 200
    fi
}

stop_all() {
    kill $(prefix_pids 'qmx.exe') $(prefix_pids 'floor.exe') 2>/dev/null
    sleep 1
}

declare -A sum best
add() { sum[$1]=$(awk -v a="${sum[$1]:-0}" -v b="$2" 'BEGIN { print a + b }'); }
# The launch's best of the rounds as well: on a loaded machine the mean follows the load.
keep_best() { best[$1]=$(awk -v a="${best[$1]:-}" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'); }

for round in $(seq "$rounds"); do
    for program in qmx floor; do
        took=$(launch "$program.exe")
        add "${program}_launch" "$took"
        keep_best "$program" "$took"
        sleep 3
        add "${program}_rss" "$(rss_kb "$(linux_pid_of "$program.exe")")"
        rest_pointer
        add "${program}_closed" "$(measure_cpu)"
        if [ "$program" = qmx ]; then
            # The controller opens with a click on the tray icon.
            xdotool mousemove $(tray_icon_center) click 1
        else
            stop_all
            launch floor.exe open >/dev/null
        fi
        rest_pointer
        add "${program}_open" "$(measure_cpu)"
        stop_all
    done
    echo "round $round of $rounds done" >&2
done

mean() { awk -v s="${sum[$1]}" -v n="$rounds" "BEGIN { printf \"$2\", s / n }"; }
ratio() { awk -v a="${sum[${1}_$2]}" -v b="${sum[floor_$2]}" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
echo "qmx.exe ($(x86_64-w64-mingw32-objdump -f "$build/qmx.exe" | sed -n 's/.*file format //p')) against its floor under $(wine --version 2>/dev/null </dev/null) ($WINEARCH), $rounds alternating rounds"
echo
echo "| measure | qmx.exe | floor.exe | ratio | aim |"
echo "|---|---|---|---|---|"
echo "| CPU of the Wine prefix, controller closed, per $seconds s | $(mean qmx_closed %.2f) s | $(mean floor_closed %.2f) s | $(ratio qmx closed) | 1.15 |"
echo "| CPU of the Wine prefix, controller open, per $seconds s | $(mean qmx_open %.2f) s | $(mean floor_open %.2f) s | $(ratio qmx open) | 1.25 |"
echo "| launch to a standing tray icon | $(mean qmx_launch %.0f) ms | $(mean floor_launch %.0f) ms | $(ratio qmx launch) | 1.3 |"
echo "| launch to a standing tray icon, best of $rounds | $(printf %.0f "${best[qmx]}") ms | $(printf %.0f "${best[floor]}") ms | $(awk -v a="${best[qmx]}" -v b="${best[floor]}" 'BEGIN { printf "%.2f", a / b }') | 1.3 |"
echo "| resident memory after start-up | $(mean qmx_rss %.0f) KB | $(mean floor_rss %.0f) KB | $(ratio qmx rss) | 1.3 |"
echo
"$top/tools/size-report.sh" "$build/qmx.exe"
