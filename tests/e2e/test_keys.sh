#!/usr/bin/env bash
# The keyboard: Enter and Esc on the controller start nothing; the Options dialog answers to
# Tab, Space, Enter (Apply) and Esc (close without applying), and its message is modal to it.

KEYS_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

qmx_message_box() { drv windows --class '#32770' --pid "$QMX_PID" --visible 1 | head -n 1; }

test_enter_and_esc_on_the_controller_start_nothing() {
    reset_settings
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    check "the controller opens" open_controller
    check "the controller is the active window" grep -q 'class=QmxController' <<<"$(drv foreground)"
    xdotool key Return
    sleep 1
    check "Enter shows no message (starts no volume control)" [ -z "$(qmx_message_box)" ]
    check "the controller stays open" [ -n "$(controller_line 1)" ]
    xdotool key Escape
    sleep 1
    check "Esc shows no message either" [ -z "$(qmx_message_box)" ]
}

options_dialog() { drv windows --class QmxDialog --pid "$QMX_PID" --visible 1 | head -n 1; }

test_the_options_dialog_answers_to_the_keyboard() {
    reset_settings
    wine reg delete "$RUN_KEY" /v 'Velto Volume Controller 4.0' /f >/dev/null 2>&1 </dev/null
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
    wine reg delete "$RUN_KEY" /v 'Velto Volume Controller 4.0' /f >/dev/null 2>&1 </dev/null
}

install_copy "$KEYS_DIR"
for test in test_enter_and_esc_on_the_controller_start_nothing \
    test_the_options_dialog_answers_to_the_keyboard; do
    run_test "$test"
done
