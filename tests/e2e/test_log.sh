#!/usr/bin/env bash
# The log a user asks for (`log` = 1 in the settings key), on the simulated audio system of
# Windows 10, whose calls can fail for a while.

. "$E2E_HERE/audiosim.sh"

APP_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

# The user's local application data as Wine names it (drive_c/users/USER/AppData/Local in the
# prefix), asked of Wine itself.
wine cmd /c 'echo %LOCALAPPDATA%' >"$E2E_WORK/cmd.out" 2>/dev/null </dev/null
winepath -u "$(tr -d '\r\n' <"$E2E_WORK/cmd.out")" >"$E2E_WORK/winepath.out" 2>/dev/null </dev/null
LOG_DIR="$(tr -d '\n' <"$E2E_WORK/winepath.out")/Velto Volume Controller"
LOG_FILE="$LOG_DIR/qmx.log"

# The log's lines without their time stamps.
log_lines() { sed 's/^\xEF\xBB\xBF//; s/^[0-9-]* [0-9:.]* //; s/\r$//' "$LOG_FILE" 2>/dev/null; }
# The device lines after the first N lines, in order, each ended by "|" (a read that a device
# change met may add lines of its own between them).
device_lines_since() {
    log_lines | tail -n +$(($1 + 1)) | grep -E "^(Output|No default|Default output)" | tr "\n" "|"
}

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

# Without the setting no file is written; with it a start-up whose mute reads fail for a while
# leaves the run's facts and the failing call with its code, once, and its end; an idle minute
# adds nothing; the only output unplugged, plugged in again and left without a name is told in
# that order, once each; and the end adds how it ended. Where the log's folder cannot be written (a file
# stands in its place) the program runs as ever.
test_the_log_keeps_a_start_up_and_its_end_and_nothing_while_idle() {
    use_windows10_audio
    rm -rf "$LOG_DIR"
    reset_settings
    check "qmx.exe starts without the log asked for" start_qmx "$APP_DIR"
    program_settled
    check "a close request ends it" close_qmx
    check "no log and no folder for it" [ ! -e "$LOG_DIR" ]

    check "the simulator fails the next five mute reads" sim_do fail GetMute 0x80004005 5
    check "qmx.exe starts with the log asked for" start_logged
    check "the failing mute read is written once, with its code" \
        within 10 'log_has "GetMute failed 0x80004005 (first of a streak)"'
    check "and its answer again, with the count" within 10 'log_has "GetMute answers again after 5 failures"'
    log_lines | sed 's/^/      /'
    check "the first line names the program and its process" \
        [ "$(log_lines | head -n 1)" = "Velto Volume Controller 4.0 started, process $QMX_PID" ]
    check "then the Windows version and build" holds 'log_lines | grep -q "^Windows 10\.0 build [0-9]*, the program is told 6\.2$"'
    check "the resolution" log_has "Resolution 96 DPI"
    check "and the audio path with the device's id and name" \
        holds 'log_lines | grep -q "^Audio: Core Audio, default output spk \"[^\"]*\"$"'
    local before
    before=$(md5sum <"$LOG_FILE")
    sleep 60
    check "a minute idle adds nothing" [ "$(md5sum <"$LOG_FILE")" = "$before" ]
    check "no default output change at start-up" holds '! log_lines | grep -q "^Default output"'
    local seen
    seen=$(log_lines | wc -l)
    sim_do remove spk
    check "the only output unplugged: its removal, then no default" within 20 \
        '[ "$(device_lines_since "$seen")" = "Output removed: spk (Speakers (Simulated))|No default output: no output is active|" ]'
    seen=$(log_lines | wc -l)
    sim_do plug spk
    check "plugged in again: its return, then the default" within 20 \
        '[ "$(device_lines_since "$seen")" = "Output added: spk (Speakers (Simulated))|Default output changed to spk (Speakers (Simulated))|" ]'
    log_lines | tail -n +$((seen + 1)) | sed 's/^/      /'
    sim_do rename spk --empty
    check "a name removed: renamed as the menu shows it, once" within 10 \
        '[ "$(log_lines | grep -c "^Output renamed: spk (Unnamed device)$")" = 1 ]'
    check "a close request ends it" close_qmx
    check "the last line says how it ended" \
        [ "$(log_lines | tail -n 1)" = "Ended by a request to close its window, exit code 0" ]

    rm -rf "$LOG_DIR"
    : >"$LOG_DIR"
    check "with a file in the log folder's place it starts" start_qmx "$APP_DIR"
    program_settled
    check "without a message" [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    check "and runs" linux_alive "$QMX_LINUX_PID"
    rm -f "$LOG_DIR"
    leave_windows10_audio
}

install_copy "$APP_DIR"
run_test test_the_log_keeps_a_start_up_and_its_end_and_nothing_while_idle
reset_settings
rm -rf "$LOG_DIR"
