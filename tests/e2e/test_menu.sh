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
    check "Keep Controller on Top is checked" [ "$count" -gt 4 ]
    xdotool mousemove $((MX + 40)) $((MY + MENU_ROW[OnTop])) click 1
    sleep 1
    check "ontopstat is stored as 0" [ "$(setting ontopstat)" = 0x0 ]
    check "the controller is no longer topmost" holds '! topmost'
}

test_options_store_the_logon_entry_and_the_shadow() {
    reset_settings
    wine reg delete "$RUN_KEY" /v 'Velto Volume Controller 4.0' /f >/dev/null 2>&1 </dev/null
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose Options
    local dialog
    dialog=$(drv windows --class QmxDialog --pid "$QMX_PID" --visible 1 | head -n 1)
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
    sleep 0.5
    local entry
    entry=$(run_entry)
    log "Run entry: $entry"
    check "the start-at-logon entry holds the quoted path of qmx.exe" \
        [ "$entry" = "\"$(windows_path "$MENU_DIR")\\qmx.exe\"" ]
    check "shadow is stored as 1" [ "$(setting shadow)" = 0x1 ]
    check "the dialog closed" [ -z "$(drv windows --class QmxDialog --pid "$QMX_PID" --visible 1)" ]
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
    check "qmx.exe starts" start_qmx "$MENU_DIR"
    choose TestSound
    sleep 2
    check "no message appears" [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    choose TestSound
    sleep 2
    check "a second time neither (the device was closed after playing)" \
        [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    rm -f "$MENU_DIR/POURING.WAV"
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
        sleep 0.7
    done
    check "the missing-file message shows twice" [ "$shown" = 2 ]
    check "the program runs on" linux_alive "$QMX_LINUX_PID"
}

install_copy "$MENU_DIR"
for test in test_skins_from_the_menu_are_stored_and_shown \
    test_keep_on_top_toggles_the_setting_the_mark_and_the_z_order \
    test_options_store_the_logon_entry_and_the_shadow test_about_names_the_mixer \
    test_test_sound_plays_the_wave_file test_test_sound_without_the_file_says_so_for_open_and_play; do
    run_test "$test"
done
