#!/usr/bin/env bash
# The log a user asks for (`log` = 1 in the settings key): what a start-up leaves in it, that an
# idle program adds nothing, that without the setting no file is written, and that a log that
# cannot be written changes nothing the user sees.

APP_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

# The user's local application data as Wine names it (drive_c/users/USER/AppData/Local in the
# prefix), asked of Wine itself.
wine cmd /c 'echo %LOCALAPPDATA%' >"$E2E_WORK/cmd.out" 2>/dev/null </dev/null
winepath -u "$(tr -d '\r\n' <"$E2E_WORK/cmd.out")" >"$E2E_WORK/winepath.out" 2>/dev/null </dev/null
LOG_DIR="$(tr -d '\n' <"$E2E_WORK/winepath.out")/Velto Volume Controller"
LOG_FILE="$LOG_DIR/qmx.log"

# The log's lines without their time stamps.
log_lines() { sed 's/^\xEF\xBB\xBF//; s/^[0-9-]* [0-9:.]* //; s/\r$//' "$LOG_FILE" 2>/dev/null; }

# log_has LINE: the log holds exactly this line.
log_has() { log_lines | grep -qxF "$1"; }

# Ends the program as a close request does (taskkill, an installer) and waits for its end.
close_qmx() {
    drv send "$(drv windows --class QmxTrayHost --pid "$QMX_PID" | cut -d' ' -f1)" 0x10 >/dev/null
    wait_gone "$QMX_LINUX_PID" 10
}

# Starts the program with the log asked for; true once it stands idle with its start-up lines
# written (the audio line is the last of them).
start_logged() {
    reset_settings
    set_setting log REG_DWORD 1
    start_qmx "$APP_DIR" && program_settled && within 10 'log_lines | grep -q "^Audio: "'
}

test_a_logged_start_up_keeps_its_facts_and_an_idle_minute_adds_nothing() {
    set_windows_version 7
    rm -rf "$LOG_DIR"
    check "qmx.exe starts with the log asked for" start_logged
    log_lines | sed 's/^/      /'
    check "the first line names the program and its process" \
        [ "$(log_lines | head -n 1)" = "Velto Volume Controller 4.0 started, process $QMX_PID" ]
    check "then the Windows version and build" log_has "Windows 6.1 build 7601"
    check "the resolution" log_has "Resolution 96 DPI"
    check "and the audio path with the device's id and name" \
        holds 'log_lines | grep -q "^Audio: Core Audio, default output {.*} \".*\"$"'
    local before
    before=$(md5sum <"$LOG_FILE")
    sleep 60
    check "a minute idle adds nothing" [ "$(md5sum <"$LOG_FILE")" = "$before" ]
    check "a close request ends the program" close_qmx
    check "the last line says how it ended" \
        [ "$(log_lines | tail -n 1)" = "Ended by a request to close its window, exit code 0" ]
}

test_without_the_setting_no_log_is_written() {
    rm -rf "$LOG_DIR"
    reset_settings
    check "qmx.exe starts" start_qmx "$APP_DIR"
    program_settled
    sleep 2
    check "a close request ends the program" close_qmx
    check "no log and no folder for it" [ ! -e "$LOG_DIR" ]
}

# A file where the log's folder would be: nothing can be written there.
test_a_log_that_cannot_be_written_changes_nothing_the_user_sees() {
    rm -rf "$LOG_DIR"
    : >"$LOG_DIR"
    reset_settings
    set_setting log REG_DWORD 1
    check "qmx.exe starts" start_qmx "$APP_DIR"
    program_settled
    sleep 2
    check "no message appears" [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    check "it runs with its tray icon" [ "$(tray_icon_count)" = 1 ]
    check "a close request ends the program" close_qmx
    rm -f "$LOG_DIR"
}

install_copy "$APP_DIR"
for test in test_without_the_setting_no_log_is_written \
    test_a_logged_start_up_keeps_its_facts_and_an_idle_minute_adds_nothing \
    test_a_log_that_cannot_be_written_changes_nothing_the_user_sees; do
    run_test "$test"
done
reset_settings
rm -rf "$LOG_DIR"
