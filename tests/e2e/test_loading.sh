#!/usr/bin/env bash
# Start-up and loading: copies started together, a DLL planted beside the program, a folder
# whose name the system's code page cannot spell.

LOADING_DIR="$E2E_WORK/Downloads"

qmx_processes() { prefix_pids 'qmx\.exe' | grep -c .; }

# At logon Windows starts every Run entry at once: of five copies started together exactly one
# runs on, with one icon.
test_five_copies_started_together_leave_one() {
    local round survivors icons fine=0
    for round in $(seq 10); do
        for _ in 1 2 3 4 5; do
            (cd "$LOADING_DIR" && exec wine qmx.exe) >/dev/null 2>&1 </dev/null &
        done
        wait_until '[ "$(qmx_processes)" = 1 ] && [ "$(tray_icon_count)" = 1 ]' 30 \
            "one copy left with one icon"
        survivors=$(qmx_processes)
        icons=$(tray_icon_count)
        log "round $round: $survivors running, $icons tray icons"
        [ "$survivors" = 1 ] && [ "$icons" = 1 ] && fine=$((fine + 1))
        reset_wine
    done
    check "every round ends with one copy and one icon" [ "$fine" = 10 ]
}

# A winmm.dll beside the program (Wine would take it: winmm=n,b) is never loaded: the program
# takes the system's, for the controller, the legacy mixer and Test Sound alike.
test_a_dll_planted_beside_the_program_is_not_loaded() {
    local marker="$LOADING_DIR/planted-dll-was-loaded"
    cp "$E2E_BUILD/planted/winmm.dll" "$E2E_BUILD/POURING.WAV" "$LOADING_DIR/"
    rm -f "$marker"
    reset_settings
    local version
    for version in 7 xp; do
        set_windows_version "$version"
        WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm=n,b" start_qmx "$LOADING_DIR"
        check "windows $version: the controller opens" open_controller
        check "windows $version: it shows the volume" grep -Eq '^[0-9]+$' <<<"$(child_text "$CONTROLLER" 3)"
        choose TestSound
        choose About
        check "windows $version: the About box opens" within 10 \
            '[ -n "$(drv windows --class QmxDialog --title About --pid "$QMX_PID" --visible 1)" ]'
        check "windows $version: no message appeared" \
            [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
        check "windows $version: the planted DLL was never loaded" [ ! -e "$marker" ]
        reset_wine
    done
    set_windows_version 7
    rm -f "$LOADING_DIR/winmm.dll" "$LOADING_DIR/POURING.WAV" "$marker"
}

# A portable copy in a folder whose name the system's code page cannot spell (a Cyrillic or
# Chinese user name on a Western system): it starts, its start-up entry names the folder
# exactly, and Test Sound finds its sound.
test_a_folder_of_any_language_works() {
    local dir="$E2E_WORK/Звук 音" played="$E2E_WORK/played.raw"
    install_copy "$dir"
    cp "$E2E_BUILD/POURING.WAV" "$dir/"
    rm -f "$played"
    record_sound "$played"
    reset_settings
    forget_run_entry
    check "qmx.exe starts" start_qmx "$dir"
    choose Options
    local dialog
    dialog=$(options_dialog)
    check "Run when Windows starts. is checked" check_box "${dialog%% *}" 1
    xdotool key Return
    wait_until '[ -z "$(options_dialog)" ] || [ -n "$(drv windows --class "#32770" --pid "$QMX_PID" --visible 1)" ]' \
        10 "the Options dialog to close or show a message"
    local box
    box=$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1 | head -n 1)
    [ -n "$box" ] && drv press-ok "${box%% *}" >/dev/null
    local entry
    entry=$(drv reg-text HKCU 'Software\Microsoft\Windows\CurrentVersion\Run' 'Velto Volume Controller 4.0')
    log "start-up entry: $entry"
    check "the start-up entry names the folder exactly" \
        [ "$entry" = "\"$(windows_path "$dir")\\qmx.exe\"" ]
    choose TestSound
    wait_until '[ "$(played_bytes "$played")" = $(($(stat -c %s "$dir/POURING.WAV") - 44)) ]' 20 "the whole sound"
    check "Test Sound plays the whole sound" \
        [ "$(played_bytes "$played")" = $(($(stat -c %s "$dir/POURING.WAV") - 44)) ]
    box=$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1 | head -n 1)
    [ -n "$box" ] && log "message: $(drv child-text "${box%% *}" 65535)"
    check "no message appeared" [ -z "$box" ]
    forget_run_entry
    rm -f "$played"
}

install_copy "$LOADING_DIR"
for test in test_five_copies_started_together_leave_one \
    test_a_dll_planted_beside_the_program_is_not_loaded \
    test_a_folder_of_any_language_works; do
    run_test "$test"
done
