#!/usr/bin/env bash
# Start-up as a user sees it: one tray icon, no window, an idle process; the mixer failure
# message; the single-instance guard.

APP_DIR="$E2E_WORK/Program Files/Velto Volume Controller"
OTHER_DIR="$E2E_WORK/another copy"

expect_running_idle_with_one_icon() {
    check "qmx.exe starts and its tray host exists" start_qmx "$APP_DIR"
    wait_until '[ "$(tray_icon_count)" = 1 ]' 20 "the tray icon"
    check "exactly one icon in the tray" [ "$(tray_icon_count)" = 1 ]
    check "no window of the program is visible" [ -z "$(visible_windows_of "$QMX_PID")" ]
    local before after
    before=$(cpu_ticks "$QMX_LINUX_PID")
    sleep 5  # time itself must pass: the idle program uses next to no processor time meanwhile
    after=$(cpu_ticks "$QMX_LINUX_PID")
    log "cpu over 5 s idle: $((after - before)) ticks"
    check "the process stays alive" linux_alive "$QMX_LINUX_PID"
    check "the process is idle (under 5% of a core)" [ $((after - before)) -lt 25 ]
}

test_startup_shows_one_tray_icon_and_stays_idle_on_windows_7() {
    set_windows_version 7
    expect_running_idle_with_one_icon
}

test_startup_shows_one_tray_icon_and_stays_idle_on_windows_xp() {
    set_windows_version xp
    expect_running_idle_with_one_icon
    set_windows_version 7
}

expect_mixer_failure_message() {
    export ALSA_CONFIG_PATH="$E2E_ALSA_SILENT"
    check "qmx.exe starts" start_qmx "$APP_DIR"
    local box handle
    box=$(drv wait-window --class '#32770' --title 'Velto Volume Controller 4.0' --pid "$QMX_PID" \
        --timeout 15 | head -n 1)
    check "a message box captioned with the title appears" [ -n "$box" ]
    handle=${box%% *}
    check "it says the mixer device cannot be opened" [ "$(drv child-text "$handle" 65535)" = \
        "Error! Unable to open a Mixer Device. Program will be terminated." ]
    local icon x y w h
    icon=$(drv children "$handle" | grep 'class=Static' | grep 'style=0x50000003' | head -n 1)
    read -r x y w h < <(sed -n 's/.*rect=\([-0-9]*\),\([-0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' \
        <<<"$icon")
    check "the message box has an icon" [ -n "$x" ]
    if [ -n "$x" ]; then
        local orange red
        orange=$(count_pixels "$x" "$y" "$w" "$h" 200 255 100 200 0 90)
        red=$(count_pixels "$x" "$y" "$w" "$h" 150 255 0 60 0 60)
        log "icon pixels: $orange orange, $red red"
        check "the icon is the exclamation mark, not the stop sign" holds '[ "$orange" -gt 100 ] && [ "$red" -lt 50 ]'
    fi
    check "the program is still there while the message is open" linux_alive "$QMX_LINUX_PID"
    drv press-ok "$handle" >/dev/null
    check "pressing OK ends the program" wait_gone "$QMX_LINUX_PID" 10
    check "its tray icon is gone" [ "$(tray_icon_count)" = 0 ]
}

# Windows keeps the outputs it has seen as "not present", and Wine does the same: a system that
# never had an output is one without them.
test_no_mixer_device_shows_the_message_and_ends_on_windows_7() {
    set_windows_version 7
    wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\MMDevices\Audio\Render' /f \
        >/dev/null 2>&1 </dev/null
    expect_mixer_failure_message
}

# Outputs that were there before but are not now (a USB headset unplugged, a monitor that is
# off): the program waits for one.
test_with_outputs_known_but_none_present_it_waits_on_windows_7() {
    set_windows_version 7
    export ALSA_CONFIG_PATH="$E2E_ALSA_SILENT"
    check "qmx.exe starts" start_qmx "$APP_DIR"
    sleep 2  # time must pass: no message comes meanwhile
    check "no message appears" \
        [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    check "it runs with its tray icon" [ "$(tray_icon_count)" = 1 ]
}

test_no_mixer_device_shows_the_message_and_ends_on_windows_xp() {
    set_windows_version xp
    expect_mixer_failure_message
    set_windows_version 7
}

test_a_second_copy_ends_with_its_process_id_and_another_folder_runs_on() {
    check "the first copy starts" start_qmx "$APP_DIR"
    local first=$QMX_LINUX_PID result pid code
    result=$(drv run "$(windows_path "$APP_DIR")\\qmx.exe" 20)
    pid=$(sed -n 's/^pid=//p' <<<"$result")
    code=$(sed -n 's/^exit=//p' <<<"$result")
    log "second copy: pid $pid, exit code ${code:-none}"
    check "a second copy from the same file ends" [ -n "$code" ]
    check "its exit code is its own process id" [ "$code" = "$pid" ]
    check "the first copy runs on" linux_alive "$first"
    wait_until '[ "$(tray_icon_count)" = 1 ]' 10 "one tray icon"
    check "one icon stays in the tray" [ "$(tray_icon_count)" = 1 ]
    result=$(drv run "$(windows_path "$OTHER_DIR")\\qmx.exe" 4)
    check "a copy in another folder keeps running" grep -q '^running' <<<"$result"
    check "the first copy still runs" linux_alive "$first"
}

# taskkill without /F, an installer closing applications and Alt+F4 ask the program's windows to
# close: the program ends as its Close command does, and the next start runs.
test_a_close_request_ends_the_program_and_the_next_start_runs() {
    check "qmx.exe starts" start_qmx "$APP_DIR"
    local owner
    owner=$(drv windows --class QmxOwner --pid "$QMX_PID" | head -n 1)
    drv send "${owner%% *}" 0x10 >/dev/null  # WM_CLOSE to the hidden owner alone
    program_settled
    check "the hidden owner window stays" [ -n "$(drv windows --class QmxOwner --pid "$QMX_PID")" ]
    check "the program runs on" linux_alive "$QMX_LINUX_PID"
    wine taskkill /im qmx.exe >/dev/null 2>&1 </dev/null
    check "taskkill without /F ends the program" wait_gone "$QMX_LINUX_PID" 10
    check "its tray icon is gone" [ "$(tray_icon_count)" = 0 ]
    check "the next start runs" start_qmx "$APP_DIR"
    wait_until '[ "$(tray_icon_count)" = 1 ]' 20 "its tray icon, past the single-instance guard"
    check "and keeps running" linux_alive "$QMX_LINUX_PID"
}

install_copy "$APP_DIR"
install_copy "$OTHER_DIR"
for test in test_startup_shows_one_tray_icon_and_stays_idle_on_windows_7 \
    test_startup_shows_one_tray_icon_and_stays_idle_on_windows_xp \
    test_with_outputs_known_but_none_present_it_waits_on_windows_7 \
    test_no_mixer_device_shows_the_message_and_ends_on_windows_7 \
    test_no_mixer_device_shows_the_message_and_ends_on_windows_xp \
    test_a_second_copy_ends_with_its_process_id_and_another_folder_runs_on \
    test_a_close_request_ends_the_program_and_the_next_start_runs; do
    run_test "$test"
done
