#!/usr/bin/env bash
# Endurance and abuse of the real qmx.exe under Wine. Prints one line per check and its figures.
#   tests/soak/soak.sh          the release soak (up to an hour)
#   tests/soak/soak.sh short    the same assertions in a few minutes (part of make test)
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
mode=${1:-full}
if [ "$mode" = short ]; then
    controller_cycles=60 menu_cycles=60 dialog_cycles=60 storm_seconds=60
else
    controller_cycles=1000 menu_cycles=200 dialog_cycles=200 storm_seconds=600
fi
storm_round_actions=50
E2E_BUILD="$top/build/windows"
E2E_WORK="$E2E_BUILD/soak-$mode"  # its own Wine prefix: make test and make soak may run at once
mkdir -p "$E2E_WORK/app" "$E2E_WORK/driver"
. "$top/tools/wine-env.sh"
. "$top/tests/e2e/lib.sh"
wine_env_start "$E2E_WORK/wine"
trap wine_env_stop EXIT
E2E_ALSA_SOUND=$ALSA_CONFIG_PATH
cp "$E2E_BUILD/qmxdriver.exe" "$E2E_WORK/driver/"
E2E_DRIVER="$E2E_WORK/driver/qmxdriver.exe"
install_copy "$E2E_WORK/app"
APP="$E2E_WORK/app"

message_boxes() { drv windows --class '#32770' --pid "$QMX_PID" --visible 1 | head -n 1; }
fds() { ls "/proc/$1/fd" | wc -l; }
qmx_linux_pid() { prefix_pids 'qmx.exe' | tail -n 1; }
window_count() { drv windows --pid "$QMX_PID" | wc -l; }
# grows BEFORE AFTER: more than 1% above (and, for small counts, more than one above); a figure
# that could not be read counts as growth.
grows() {
    [ -n "$1" ] && [ -n "$2" ] || return 0
    awk -v a="$1" -v b="$2" 'BEGIN { exit !(b > a * 1.01 && b > a + 1) }'
}

# Open/close cycles: resident memory, windows and file descriptors after the first 50 cycles
# and at the end.
test_open_close_cycles_leave_nothing_behind() {
    reset_settings
    check "qmx.exe starts" start_qmx "$APP"
    local pid
    pid=$(qmx_linux_pid)
    local kind count
    for kind in controller menu dialogs; do
        case $kind in
            controller) count=$controller_cycles ;;
            menu) count=$menu_cycles ;;
            dialogs) count=$dialog_cycles ;;
        esac
        check "50 $kind cycles run" holds 'drv cycle "$kind" 50 >"$E2E_WORK/cycle.out" || { cat "$E2E_WORK/cycle.out"; false; }'
        local rss0 win0 fd0 rss1 win1 fd1
        rss0=$(rss_kb "$pid") win0=$(window_count) fd0=$(fds "$pid")
        check "$((count - 50)) more $kind cycles run" holds 'drv cycle "$kind" $((count - 50)) >"$E2E_WORK/cycle.out" || { cat "$E2E_WORK/cycle.out"; false; }'
        rss1=$(rss_kb "$pid") win1=$(window_count) fd1=$(fds "$pid")
        log "$kind: after 50 cycles ${rss0} KB, $win0 windows, $fd0 fds; after $count: ${rss1} KB, $win1 windows, $fd1 fds"
        check "resident memory does not grow ($kind)" holds '! grows "$rss0" "$rss1"'
        check "the number of windows does not grow ($kind)" holds '! grows "$win0" "$win1"'
        check "the open file descriptors do not grow ($kind)" holds '! grows "$fd0" "$fd1"'
    done
    check "no message box appeared" [ -z "$(message_boxes)" ]
    check "the program still answers" program_settled
}

# Sets x and y to a random point on a visible controller, below the top band where the two
# buttons that start the system's programs lie on every visible controller: drags move a
# controller, and a fading one may still stand elsewhere. Fails when no controller is visible.
pick_storm_point() {
    local rects left top width height
    rects=$(drv windows --class QmxController --visible 1 | while read -r line; do rect_of "$line"; done)
    [ -n "$rects" ] || return 1
    read -r left top width height <<<"$rects"
    for _ in $(seq 20); do
        x=$((left + RANDOM % width)) y=$((top + 40 + RANDOM % (height - 40)))
        awk -v x="$x" -v y="$y" '$1 <= x && x < $1 + $3 && $2 <= y && y < $2 + 40 { hit = 1 }
                                 END { exit hit }' <<<"$rects" && return 0
    done
    return 1
}

# Random presses, drags, clicks, double clicks and wheel turns over the controller (away from
# the two buttons that start the system's programs), clicks and wheel turns on the tray icon, in
# Windows XP mode: Wine's Core Audio volume object cannot be written (SetMasterVolumeLevelScalar
# is a stub there), its legacy mixer can. That mixer hands a process only 256 handles in its life
# (the handle's 8-bit counter runs into the device bits; closing gives nothing back), and every
# discovery opens one, so the storm runs in rounds of at most storm_round_actions actions (an
# action opens at most four), each with a program of its own, each ending with the same checks.
storm_round() {
    check "qmx.exe starts" start_qmx "$APP"
    check "the controller opens" open_controller
    local end=$((SECONDS + $1)) actions=0 x y box=
    while [ "$SECONDS" -lt "$end" ] && [ "$actions" -lt "$storm_round_actions" ]; do
        pick_storm_point || { open_controller || true; continue; }
        case $((RANDOM % 7)) in
            0) xdotool mousemove "$x" "$y" click 1 ;;
            1) xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1 ;;
            2) xdotool mousemove "$x" "$y" mousedown 1 mousemove "$x" $((y + RANDOM % 60 - 30)) \
                   mousemove $((x + RANDOM % 20 - 10)) $((y + RANDOM % 60 - 30)) mouseup 1 ;;
            3) xdotool mousemove "$x" "$y" click $((4 + RANDOM % 2)) ;;
            4) xdotool mousemove "$x" "$y" ;;
            5) tray_click 1 ;;
            6) xdotool mousemove $(tray_icon_center) click $((4 + RANDOM % 2)) ;;
        esac
        actions=$((actions + 1))
        box=$(message_boxes)
        [ -z "$box" ] || break
    done
    STORM_ACTIONS=$((STORM_ACTIONS + actions))
    [ -z "$box" ] || log "message after $actions actions: $(drv children "${box%% *}" |
        grep -o 'text=.*' | tr '\n' ' ')"
    check "the program never ended" linux_alive "$QMX_LINUX_PID"
    check "no message appeared" [ -z "$box" ]
    xdotool mousemove 600 300
    check "the controller opens at the end" open_controller
    input_handled
    local shown
    shown=$(child_text "$CONTROLLER" 3)
    check "a fresh controller reads the same level" open_controller
    log "$actions actions; label $shown, then $(child_text "$CONTROLLER" 3) in a fresh controller"
    check "the label equals the mixer's level" \
        holds '[ -n "$shown" ] && [ "$(child_text "$CONTROLLER" 3)" = "$shown" ]'
    [ "$(child_text "$CONTROLLER" 3)" = "$shown" ] ||
        log "the controllers: $(drv windows --class QmxController | tr '\n' ';')"
    check "the program ends from its menu" close_from_menu
}

test_a_pointer_storm_ends_with_the_label_on_the_mixers_level() {
    reset_settings
    set_windows_version xp
    STORM_ACTIONS=0
    local end=$((SECONDS + storm_seconds))
    while [ "$SECONDS" -lt "$end" ]; do
        storm_round $((end - SECONDS))
    done
    log "$STORM_ACTIONS pointer actions in $storm_seconds s"
    set_windows_version 7
}

# Odd stored data: every start runs, shows no message, and rewrites nothing.
test_odd_settings_are_read_and_never_rewritten() {
    local long
    long=$(printf 'vista%0300d' 0)
    # name|type|data|expected skin (vista/classic, or - for any)
    local cases=(
        "skin|REG_DWORD|1|classic" "skin|REG_BINARY|7669737461|-" "skin|REG_QWORD|5|classic"
        "skin|REG_SZ||classic" "skin|REG_SZ|$long|classic" "skin|REG_SZ|vistaé|vista"
        "skin|REG_SZ|Vista|classic" "skin|REG_SZ|ñandú|classic" "skin|REG_MULTI_SZ|vista|vista"
        "ontopstat|REG_SZ|1|classic" "ontopstat|REG_DWORD|4294967295|classic"
        "ontopstat|REG_QWORD|99999999999|classic" "shadow|REG_DWORD|2147483648|classic"
        "shadow|REG_BINARY||classic" "missing-key|||classic"
    )
    local entry name type data skin before after
    for entry in "${cases[@]}"; do
        IFS='|' read -r name type data skin <<<"$entry"
        if [ "$name" = missing-key ]; then
            wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 </dev/null
        else
            reset_settings
            wine reg add "$SETTINGS_KEY" /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1 </dev/null
        fi
        stored_settings >"$E2E_WORK/before.reg"
        check "starts with $name as $type '${data:0:12}'" start_qmx "$APP"
        check "the controller opens" open_controller
        if [ "$skin" != - ]; then
            local id=8
            [ "$skin" = vista ] && id=7
            check "in the $skin skin" grep -q 'visible=1' <<<"$(child_line "$CONTROLLER" "$id")"
        fi
        check "no message appears" [ -z "$(message_boxes)" ]
        check "the program ends from its menu" close_from_menu
        stored_settings >"$E2E_WORK/after.reg"
        check "nothing stored changed" cmp -s "$E2E_WORK/before.reg" "$E2E_WORK/after.reg"
    done
}

# Wine's tray (its explorer process) ends and a tray starts again. Wine 8 cannot start its own
# tray again in the same session (a new "explorer.exe /desktop" finds the ended one's desktop
# window and quits), so a stand-in takes its place: a window of the class Shell_NotifyIcon talks
# to, announced with "TaskbarCreated" as a restarted shell does. The program is muted first, so
# that the right picture is the muted one.
test_the_icon_comes_back_with_its_picture_when_the_tray_starts_again() {
    reset_settings
    check "qmx.exe starts" start_qmx "$APP"
    check "the controller opens" open_controller
    click_control "$CONTROLLER" 6
    wait_until '[ "$(tray_red_pixels)" -gt 10 ]' 10 "the muted picture"
    check "the tray icon shows the muted picture" [ "$(tray_red_pixels)" -gt 10 ]
    kill $(prefix_pids 'explorer.exe')
    wait_until '[ -z "$(tray_window)" ]' 20 "Wine's tray to go"
    check "Wine's tray is gone" [ -z "$(tray_window)" ]
    check "a tray starts again" holds 'drv stand-in-tray 3 4 >"$E2E_WORK/tray.out"'
    log "the new tray received: $(tr '\n' ';' <"$E2E_WORK/tray.out")"
    local host add from red
    host=$(drv windows --class QmxTrayHost --pid "$QMX_PID" | cut -d' ' -f1)
    add=$(grep -m 1 '^message=0 ' "$E2E_WORK/tray.out")
    from=$(sed -n 's/.* from=\([0-9a-fA-F]*\) .*/\1/p' <<<"$add")
    red=$(sed -n 's/.* red=\([0-9]*\) .*/\1/p' <<<"$add")
    check "the program adds its icon to it" holds '[ -n "$from" ] && [ $((0x$from)) = $((host)) ]'
    check "with the muted picture" [ "${red:-0}" -gt 10 ]
    check "and hands over that same picture at every mute poll" \
        holds 'grep -q "^message=1 .*same-picture-as-add=1" "$E2E_WORK/tray.out" &&
            ! grep -q "^message=1 .*same-picture-as-add=0" "$E2E_WORK/tray.out"'
    check "the program runs on and answers" program_settled
    check "no message appeared" [ -z "$(message_boxes)" ]
}

for test in test_open_close_cycles_leave_nothing_behind \
    test_a_pointer_storm_ends_with_the_label_on_the_mixers_level \
    test_odd_settings_are_read_and_never_rewritten \
    test_the_icon_comes_back_with_its_picture_when_the_tray_starts_again; do
    run_test "$test"
done
echo "soak: $E2E_PASSED passed, $E2E_FAILED failed"
[ "$E2E_FAILED" = 0 ]
