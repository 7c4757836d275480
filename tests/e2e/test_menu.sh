#!/usr/bin/env bash
# The menu's commands, chosen through the real popup menu: skins, keep on top, Options with the
# start-at-logon entry, About, Test Sound.

MENU_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

test_skins_from_the_menu_are_stored_and_shown() {
    reset_settings
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose Vista
    check "the skin is stored as vista" [ "$(setting skin)" = vista ]
    local line
    line=$(controller_line 3)
    check "the closed controller opened" [ -n "$line" ]
    CONTROLLER=${line%% *}
    check "it shows the Vista close button" grep -q 'visible=1' <<<"$(child_line "$CONTROLLER" 7)"
    choose Classic
    check "the skin is stored as classic" [ "$(setting skin)" = classic ]
    check "the open controller changed to the Classic close button" \
        grep -q 'visible=1' <<<"$(child_line "$CONTROLLER" 8)"
    check "and hid the Vista one" grep -q 'visible=0' <<<"$(child_line "$CONTROLLER" 7)"
}

topmost() { [ $(($(sed -n 's/.*exstyle=\(0x[0-9a-f]*\).*/\1/p' <<<"$(controller_line 2)") & 0x8)) = 8 ]; }

test_keep_on_top_toggles_the_setting_the_mark_and_the_z_order() {
    reset_settings
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose OnTop
    check "ontopstat is stored as 1" [ "$(setting ontopstat)" = 0x1 ]
    check "the controller opened topmost" topmost
    check "the popup menu opens" open_menu
    local count mean height
    read -r count mean height < <(menu_marks "$MENU_LINE")
    log "check-mark pixels: $count around row $((mean + 2)) (Keep Controller on Top: ${MENU_ROW[OnTop]})"
    check "Keep Controller on Top is checked" \
        holds '[ "$count" -gt 4 ] && [ $((mean + 2 - MENU_ROW[OnTop])) -ge -6 ] &&
               [ $((mean + 2 - MENU_ROW[OnTop])) -le 6 ]'
    close_menu
    check "the popup menu opens" open_menu
    xdotool mousemove $((MX + 40)) $((MY + MENU_ROW[OnTop])) click 1
    menu_chosen
    check "ontopstat is stored as 0" [ "$(setting ontopstat)" = 0x0 ]
    check "the controller is no longer topmost" holds '! topmost'
}

test_options_store_the_logon_entry_and_the_shadow() {
    reset_settings
    forget_run_entry
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose Options
    local dialog
    dialog=$(options_dialog)
    check "the Options dialog opens" [ -n "$dialog" ]
    local handle=${dialog%% *} x y w h
    check "Run when Windows starts. can be checked" check_box "$handle" 1
    check "Controller Shadow can be checked" check_box "$handle" 3
    check "Apply is a button" [ "$(child_text "$handle" 5)" = Apply ]
    read -r x y w h < <(rect_of "$(child_line "$handle" 5)")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    local box
    box=$(drv wait-window --class '#32770' --title 'Velto Volume Controller 4.0' --pid "$QMX_PID" \
        --timeout 10 | head -n 1)
    check "a message appears" [ -n "$box" ]
    check "it says when the shadow applies" [ "$(drv child-text "${box%% *}" 65535)" = \
        "The shadow will be applied when you launch the application next time." ]
    drv press-ok "${box%% *}" >/dev/null
    wait_until '[ -n "$(user_run_entry)" ]' 10 "the start-at-logon entry"
    local entry
    entry=$(user_run_entry)
    log "Run entry: $entry"
    check "the user's start-at-logon entry holds the quoted path of qmx.exe" \
        [ "$entry" = "\"$(windows_path "$MENU_DIR")\\qmx.exe\"" ]
    check "a copy outside Program Files writes no machine-wide entry, even elevated" \
        [ -z "$(run_entry)" ]
    check "shadow is stored as 1" [ "$(setting shadow)" = 0x1 ]
    check "the dialog closed" [ -z "$(options_dialog)" ]
}

test_about_names_the_mixer() {
    reset_settings
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose About
    local about
    about=$(drv windows --class QmxDialog --title About --pid "$QMX_PID" --visible 1 | head -n 1)
    check "the About box opens" [ -n "$about" ]
    local mixer
    mixer=$(child_text "${about%% *}" 2)
    log "mixer line: $mixer"
    check "it reads 'Mixer : ' and the device's name" grep -Eq '^Mixer : .+' <<<"$mixer"
    check "its title is the product's" \
        [ "$(child_text "${about%% *}" 1)" = "Velto Volume Controller 4.0" ]
    local x y w h
    read -r x y w h < <(rect_of "$about")
    import -window root "$E2E_WORK/about.png"
    convert "$E2E_WORK/about.png" +repage -crop "${w}x$h+$x+$y" +repage "$E2E_WORK/about.png"
}

test_test_sound_plays_the_wave_file() {
    reset_settings
    cp "$E2E_BUILD/POURING.WAV" "$MENU_DIR/"
    local played="$E2E_WORK/played.raw"
    rm -f "$played"
    record_sound "$played"
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    local before wave
    before=$(played_bytes "$played")
    wave=$(stat -c %s "$MENU_DIR/POURING.WAV")
    choose TestSound
    wait_until '[ $(($(played_bytes "$played") - before)) = $((wave - 44)) ]' 20 "the whole sound"
    local first
    first=$(played_bytes "$played")
    log "sound played: $((first - before)) bytes"
    check "the whole sound reached the device" [ $((first - before)) = $((wave - 44)) ]
    check "no message appears" [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    rm -f "$played"  # the device writes its file anew each time it opens
    choose TestSound
    wait_until '[ "$(played_bytes "$played")" = "$first" ]' 20 "the whole sound again"
    check "a second time it plays again (the device was closed after playing)" \
        [ "$(played_bytes "$played")" = "$first" ]
    check "without a message" [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    rm -f "$MENU_DIR/POURING.WAV"
}

# A user other than the one who installed has no settings key: the first choice creates it.
test_a_new_users_skin_choice_is_kept_without_the_settings_key() {
    wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 </dev/null
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose Vista
    check "the skin is stored as vista" [ "$(setting skin)" = vista ]
    check "Close from the menu ends the program" close_from_menu
    check "qmx.exe starts again" start_qmx "$MENU_DIR"
    check "the controller opens" open_controller
    check "in the Vista skin" grep -q 'visible=1' <<<"$(child_line "$CONTROLLER" 7)"
}

# Test Sound chosen again while the sound still plays (a ten-second sound in the file's place).
test_test_sound_twice_in_a_row_shows_no_message() {
    reset_settings
    sox -n -r 44100 -b 16 -c 1 "$MENU_DIR/POURING.WAV" trim 0 10
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    for _ in 1 2; do
        check "the popup menu opens" open_menu
        xdotool mousemove $((MX + 40)) $((MY + MENU_ROW[TestSound])) click 1
        menu_chosen
    done
    sleep 1  # time must pass: a message about the sound in use would show by now
    check "no message appears" [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    rm -f "$MENU_DIR/POURING.WAV"
}

test_about_and_options_come_to_the_front_when_chosen_again() {
    reset_settings
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose About
    choose Options
    check "Options is in front" grep -q 'class=QmxDialog .*text=$' <<<"$(drv foreground)"
    choose About
    check "choosing About again brings it to the front" \
        grep -q 'class=QmxDialog .*text=About$' <<<"$(drv foreground)"
    check "still one About box" \
        [ "$(drv windows --class QmxDialog --title About --pid "$QMX_PID" | wc -l)" = 1 ]
}

test_test_sound_without_the_file_says_so_for_open_and_play() {
    reset_settings
    rm -f "$MENU_DIR/POURING.WAV"
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose TestSound
    local box shown=0
    for _ in 1 2; do
        box=$(drv wait-window --class '#32770' --pid "$QMX_PID" --visible 1 --timeout 5 | head -n 1)
        [ -n "$box" ] || break
        if [ "$(drv child-text "${box%% *}" 65535)" = "The .wav file referred by the Velto Volume Controller is missing. Please reinstall the program to install the sound file. " ]; then
            shown=$((shown + 1))
        fi
        drv press-ok "${box%% *}" >/dev/null
        wait_until '! drv windows --class "#32770" --pid "$QMX_PID" --visible 1 | grep -q "^${box%% *} "' 5 "the message to close"
    done
    check "the missing-file message shows twice" [ "$shown" = 2 ]
    check "the program runs on" linux_alive "$QMX_LINUX_PID"
}

install_copy "$MENU_DIR"
for test in test_skins_from_the_menu_are_stored_and_shown \
    test_keep_on_top_toggles_the_setting_the_mark_and_the_z_order \
    test_options_store_the_logon_entry_and_the_shadow test_about_names_the_mixer \
    test_test_sound_plays_the_wave_file test_test_sound_without_the_file_says_so_for_open_and_play \
    test_about_and_options_come_to_the_front_when_chosen_again \
    test_a_new_users_skin_choice_is_kept_without_the_settings_key \
    test_test_sound_twice_in_a_row_shows_no_message; do
    run_test "$test"
done
