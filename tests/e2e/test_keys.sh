#!/usr/bin/env bash
# The keyboard and the wheel: the controller's volume keys, mute key, Esc and wheel (Enter starts
# nothing); the Options dialog answers to Tab, Space, Enter (Apply) and Esc (close without
# applying), and its message is modal to it.

KEYS_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

qmx_message_box() { drv windows --class '#32770' --pid "$QMX_PID" --visible 1 | head -n 1; }

# keys_give LABEL KEY...: presses the keys; the label then reads LABEL.
keys_give() {
    local expected=$1
    shift
    xdotool key "$@"
    sleep 0.3
    local label
    label=$(child_text "$CONTROLLER" 3)
    check "$* gives $expected" [ "$label" = "$expected" ]
}

# wheel_gives LABEL BUTTON COUNT: turns the wheel over the controller (4 up, 5 down).
wheel_gives() {
    xdotool mousemove $((CX + 33)) $((CY + 90)) click --repeat "$3" --delay 50 "$2"
    sleep 0.3
    check "$3 wheel notches (button $2) give $1" [ "$(child_text "$CONTROLLER" 3)" = "$1" ]
}

test_the_controller_answers_to_keys_and_the_wheel() {
    reset_settings
    set_windows_version xp
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    check "the controller opens" open_controller
    check "the controller is the active window" grep -q 'class=QmxController' <<<"$(drv foreground)"
    xdotool key Return
    sleep 1
    check "Enter shows no message (starts no volume control)" [ -z "$(qmx_message_box)" ]
    keys_give 100 Home
    keys_give 100 Up
    keys_give 99 Down
    keys_give 98 Left
    keys_give 99 Right
    keys_give 89 Next
    keys_give 99 Prior
    keys_give 100 Prior
    keys_give 0 End
    keys_give 0 Down
    wheel_gives 4 4 2
    wheel_gives 2 5 1
    wheel_gives 0 5 3
    keys_give 50 Home Next Next Next Next Next
    # (100 - 50) x 13.8 + 470 = 1160 twips: 77 pixels below the controller's top.
    check "the knob rests on the grid" \
        [ "$(($(rect_of "$(child_line "$CONTROLLER" 4)" | cut -d' ' -f2) - CY))" = 77 ]
    # Wine's shell cannot tell where a tray icon stands, so there the wheel over the icon stays
    # off (as on Windows XP and Vista): hovering and turning change nothing.
    local x y w h
    read -r x y w h < <(tray_icon_rect)
    xdotool mousemove $((x + w / 2 - 2)) $((y + h / 2)) sleep 0.2 mousemove $((x + w / 2)) $((y + h / 2))
    xdotool click --repeat 2 --delay 100 4
    sleep 0.5
    check "the wheel over the tray icon changes nothing under Wine" \
        [ "$(child_text "$CONTROLLER" 3)" = 50 ]
    xdotool mousemove $((CX + 33)) $((CY + 90))
    xdotool key m
    sleep 0.5
    check "M checks the mute box" is_checked "$CONTROLLER" 6
    check "and the tray icon shows muted" [ "$(tray_red_pixels)" -gt 10 ]
    xdotool key space
    sleep 0.5
    check "Space clears it" holds '! is_checked "$CONTROLLER" 6'
    check "and the tray icon shows sound" [ "$(tray_red_pixels)" -lt 3 ]
    check "no message appeared" [ -z "$(qmx_message_box)" ]
    xdotool key Escape
    sleep 0.2
    check "Esc fades the controller out" layered
    sleep 2
    check "and it is gone" controller_gone
    set_windows_version 7
}

# focused: the handle of the window that has the keyboard focus in the controller's thread.
focused() { drv focus "$CONTROLLER" | sed -n 's/.* focus=\(0x[0-9a-f]*\).*/\1/p'; }
control_handle() { child_line "$CONTROLLER" "$1" | cut -d' ' -f2; }
# look_of ID: a fingerprint of how one of the controller's controls looks on the screen.
look_of() {
    local x y w h
    read -r x y w h < <(rect_of "$(child_line "$CONTROLLER" "$1")")
    import -window root -crop "${w}x${h}+$x+$y" +repage rgb:- 2>/dev/null | md5sum
}

# What a screen reader follows: the focus. Wine's accessibility layer reads window texts and the
# focus but neither roles nor annotations, so the knob's slider role and the Options boxes' names
# are pinned by the unit tests.
test_the_focus_rests_on_the_knob_and_tab_moves_it() {
    reset_settings
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    check "the controller opens" open_controller
    local knob box signal knob_plain box_plain
    knob=$(control_handle 4)
    box=$(control_handle 6)
    signal=$(control_handle 9)
    check "the knob has the focus after opening" [ "$(focused)" = "$knob" ]
    knob_plain=$(look_of 4)
    box_plain=$(look_of 6)
    xdotool key Tab
    sleep 0.3
    check "Tab moves the focus to the mute box" [ "$(focused)" = "$box" ]
    check "which shows its focus rectangle" [ "$(look_of 6)" != "$box_plain" ]
    check "and the knob looks as it did when it had the focus by the pointer" \
        [ "$(look_of 4)" = "$knob_plain" ]
    xdotool key Tab
    sleep 0.3
    check "Tab again brings it back to the knob" [ "$(focused)" = "$knob" ]
    check "which shows its focus rectangle now" [ "$(look_of 4)" != "$knob_plain" ]
    check "and the box looks as before" [ "$(look_of 6)" = "$box_plain" ]
    xdotool key shift+Tab
    sleep 0.3
    check "Shift+Tab goes back to the mute box" [ "$(focused)" = "$box" ]
    check "the signal button never had the focus" [ "$(focused)" != "$signal" ]
    check "Tab left the volume alone" [ "$(child_text "$CONTROLLER" 3)" = 100 ]
    xdotool key Escape
    sleep 2
}

test_the_options_dialog_answers_to_the_keyboard() {
    reset_settings
    forget_run_entry
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    choose Options
    local dialog
    dialog=$(options_dialog)
    dialog=${dialog%% *}
    check "the Options dialog opens" [ -n "$dialog" ]
    check "Apply is the default button" \
        holds '[ $(($(sed -n "s/.*style=\(0x[0-9a-f]*\).*/\1/p" <<<"$(child_line "$dialog" 5)") & 0xf)) = 1 ]'
    xdotool key space
    sleep 0.3
    check "Space checks the first box" is_checked "$dialog" 1
    xdotool key Tab space
    sleep 0.3
    check "Tab then Space checks the shadow box" is_checked "$dialog" 3
    xdotool key Return
    local box
    box=$(drv wait-window --class '#32770' --pid "$QMX_PID" --visible 1 --timeout 5 | head -n 1)
    check "Enter applies: the shadow message appears" [ -n "$box" ]
    check "the message is modal to the dialog" [ "$(drv owner "${box%% *}")" = "$dialog" ]
    check "the dialog takes no clicks meanwhile" holds \
        '[ $(($(sed -n "s/.* style=\(0x[0-9a-f]*\).*/\1/p" <<<"$(options_dialog)") & 0x8000000)) != 0 ]'
    drv press-ok "${box%% *}" >/dev/null
    sleep 0.5
    check "the start-at-logon entry was written" [ -n "$(run_entry)" ]
    check "the shadow was stored" [ "$(setting shadow)" = 0x1 ]
    check "the dialog closed" [ -z "$(options_dialog)" ]

    choose Options
    dialog=$(options_dialog)
    dialog=${dialog%% *}
    xdotool key space Escape
    sleep 0.5
    check "Esc closes the dialog" [ -z "$(options_dialog)" ]
    check "without a message" [ -z "$(qmx_message_box)" ]
    check "and without applying: the entry stays" [ -n "$(run_entry)" ]
    forget_run_entry
}

install_copy "$KEYS_DIR"
for test in test_the_controller_answers_to_keys_and_the_wheel \
    test_the_focus_rests_on_the_knob_and_tab_moves_it \
    test_the_options_dialog_answers_to_the_keyboard; do
    run_test "$test"
done
