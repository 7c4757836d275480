#!/usr/bin/env bash
# The keyboard and the wheel: the controller's volume keys, mute key, Esc and wheel (Enter starts
# nothing); the Options dialog answers to Tab, Space, Enter (Apply) and Esc (close without
# applying), and its message is modal to it.

KEYS_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

qmx_message_box() { drv windows --class '#32770' --pid "$QMX_PID" --visible 1 | head -n 1; }
# keys_shot NAME: a screenshot of the screen as it is, kept as keys-NAME.png for a look.
keys_shot() { import -window root "$E2E_WORK/keys-$1.png" 2>/dev/null; }

# keys_give LABEL KEY...: presses the keys; the label then reads LABEL.
keys_give() {
    local expected=$1
    shift
    xdotool key "$@"
    wait_until '[ "$(child_text "$CONTROLLER" 3)" = "$expected" ]' 5 "the label $expected"
    local label
    label=$(child_text "$CONTROLLER" 3)
    check "$* gives $expected" [ "$label" = "$expected" ]
}

# wheel_gives LABEL BUTTON COUNT: turns the wheel over the controller (4 up, 5 down).
wheel_gives() {
    xdotool mousemove $((CX + 33)) $((CY + 90)) click --repeat "$3" --delay 50 "$2"
    input_handled
    check "$3 wheel notches (button $2) give $1" [ "$(child_text "$CONTROLLER" 3)" = "$1" ]
}

test_the_controller_answers_to_keys_and_the_wheel() {
    reset_settings
    set_windows_version xp
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    check "the controller opens" open_controller
    check "the controller is the active window" grep -q 'class=QmxController' <<<"$(drv foreground)"
    xdotool key Return
    input_handled
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
    sleep 0.5  # time must pass: nothing comes of the wheel over the icon
    check "the wheel over the tray icon changes nothing under Wine" \
        [ "$(child_text "$CONTROLLER" 3)" = 50 ]
    xdotool mousemove $((CX + 33)) $((CY + 90))
    xdotool key m
    wait_until 'is_checked "$CONTROLLER" 6 && [ "$(tray_red_pixels)" -gt 10 ]' 5 "the mute box checked and the muted icon"
    check "M checks the mute box" is_checked "$CONTROLLER" 6
    check "and the tray icon shows muted" [ "$(tray_red_pixels)" -gt 10 ]
    xdotool key space
    wait_until '! is_checked "$CONTROLLER" 6 && [ "$(tray_red_pixels)" -lt 3 ]' 5 "the mute box cleared and the sound icon"
    check "Space clears it" holds '! is_checked "$CONTROLLER" 6'
    check "and the tray icon shows sound" [ "$(tray_red_pixels)" -lt 3 ]
    check "no message appeared" [ -z "$(qmx_message_box)" ]
    xdotool key Escape
    wait_until layered 5 "the fade-out"
    check "Esc fades the controller out" layered
    wait_until controller_gone 10 "the end of the fade-out"
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
    wait_until '[ "$(focused)" = "$box" ] && [ "$(look_of 6)" != "$box_plain" ]' 5 "the focus rectangle on the mute box"
    check "Tab moves the focus to the mute box" [ "$(focused)" = "$box" ]
    check "which shows its focus rectangle" [ "$(look_of 6)" != "$box_plain" ]
    check "and the knob looks as it did when it had the focus by the pointer" \
        [ "$(look_of 4)" = "$knob_plain" ]
    xdotool key Tab
    wait_until '[ "$(focused)" = "$knob" ] && [ "$(look_of 4)" != "$knob_plain" ]' 5 "the focus rectangle on the knob"
    check "Tab again brings it back to the knob" [ "$(focused)" = "$knob" ]
    check "which shows its focus rectangle now" [ "$(look_of 4)" != "$knob_plain" ]
    check "and the box looks as before" [ "$(look_of 6)" = "$box_plain" ]
    xdotool key shift+Tab
    wait_until '[ "$(focused)" = "$box" ]' 5 "the focus on the mute box"
    check "Shift+Tab goes back to the mute box" [ "$(focused)" = "$box" ]
    check "the signal button never had the focus" [ "$(focused)" != "$signal" ]
    check "Tab left the volume alone" [ "$(child_text "$CONTROLLER" 3)" = 100 ]
    xdotool key Escape
    wait_until controller_gone 10 "the end of the fade-out"
}

# Chooses Options from the menu; OPTIONS becomes the dialog's handle.
open_options() {
    choose Options
    OPTIONS=$(options_dialog)
    OPTIONS=${OPTIONS%% *}
    check "the Options dialog opens" [ -n "$OPTIONS" ]
}

test_the_options_dialog_answers_to_the_keyboard() {
    reset_settings
    forget_run_entry
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    open_options
    local dialog=$OPTIONS
    check "Apply is the default button" \
        holds '[ $(($(sed -n "s/.*style=\(0x[0-9a-f]*\).*/\1/p" <<<"$(child_line "$dialog" 5)") & 0xf)) = 1 ]'
    xdotool key space
    wait_until 'is_checked "$dialog" 1' 5 "the first box checked"
    check "Space checks the first box" is_checked "$dialog" 1
    xdotool key Tab space
    wait_until 'is_checked "$dialog" 3' 5 "the shadow box checked"
    check "Tab then Space checks the shadow box" is_checked "$dialog" 3
    xdotool key Return
    local box
    box=$(drv wait-window --class '#32770' --pid "$QMX_PID" --visible 1 --timeout 5 | head -n 1)
    check "Enter applies: the shadow message appears" [ -n "$box" ]
    check "the message is modal to the dialog" [ "$(drv owner "${box%% *}")" = "$dialog" ]
    check "the dialog takes no clicks meanwhile" holds \
        '[ $(($(sed -n "s/.* style=\(0x[0-9a-f]*\).*/\1/p" <<<"$(options_dialog)") & 0x8000000)) != 0 ]'
    drv press-ok "${box%% *}" >/dev/null
    wait_until '[ -n "$(user_run_entry)" ]' 10 "the start-at-logon entry"
    check "the start-at-logon entry was written" [ -n "$(user_run_entry)" ]
    check "the shadow was stored" [ "$(setting shadow)" = 0x1 ]
    check "the dialog closed" [ -z "$(options_dialog)" ]

    choose Options
    dialog=$(options_dialog)
    dialog=${dialog%% *}
    xdotool key space Escape
    wait_until '[ -z "$(options_dialog)" ]' 10 "the dialog to close"
    check "Esc closes the dialog" [ -z "$(options_dialog)" ]
    check "without a message" [ -z "$(qmx_message_box)" ]
    check "and without applying: the entry stays" [ -n "$(user_run_entry)" ]
    forget_run_entry
}

# Wine hears keys only while one of its windows has the X keyboard focus: its tray's.
focus_wine() { xdotool windowfocus --sync "$(xdotool search --name 'Wine System Tray' | head -n 1)" 2>/dev/null; }
tray_host() { drv windows --class QmxTrayHost --pid "$QMX_PID" | head -n 1 | cut -d' ' -f1; }
# tray_key EVENT: the shell's callback for a key on the selected icon, sent as the shell sends it.
tray_key() { drv notify "$(tray_host)" 0x201 1 "$1" >/dev/null; }
new_controller() { drv wait-window --class QmxController --pid "$QMX_PID" --visible 1 --timeout 5 | head -n 1; }
menu_count() { menus | grep -c . || true; }
# Waits up to 4 s for the open controller to fade out and go.
controller_closes() {
    for _ in $(seq 40); do
        [ -z "$(new_controller)" ] && return 0
        sleep 0.1
    done
    return 1
}
# x_window_of LINE: the X window that shows a window of `drv windows` (the one of its place).
x_window_of() {
    local x y w h candidate
    read -r x y w h < <(rect_of "$1")
    for candidate in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
        xdotool getwindowgeometry "$candidate" 2>/dev/null | tr '\n' ' ' |
            grep -q "Position: $x,$y .*Geometry: ${w}x$h" && { echo "$candidate"; return; }
    done
}

# Win+B and the arrow keys select the icon in Windows' notification area; Wine's tray has no
# keyboard navigation, so the shell's keyboard callbacks are sent here as the shell sends them.
test_the_tray_icon_answers_to_the_keyboard() {
    reset_settings
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    local answer
    answer=$(drv tray-version "$(tray_host)" 1 3)
    log "Wine's tray answers the callback form's declaration with $answer"
    check "Wine's tray takes the declared callback form" [ "$answer" = 1 ]
    tray_key 0x401
    CONTROLLER_LINE=$(new_controller)
    CONTROLLER=${CONTROLLER_LINE%% *}
    check "Enter on the icon opens the controller" [ -n "$CONTROLLER" ]
    program_settled
    check "in front" grep -q 'class=QmxController' <<<"$(drv foreground)"
    check "with the focus on the knob" [ "$(focused)" = "$(control_handle 4)" ]
    xdotool key Escape
    check "Esc closes it" controller_closes
    tray_key 0x7B
    wait_until '[ "$(menu_count)" = 1 ]' 10 "the menu"
    check "the menu key on the icon opens the menu" [ "$(menu_count)" = 1 ]
    keys_shot keyboard-menu
    # Windows gives the keyboard to the menu in front; Wine without a window manager needs the X
    # focus put on it.
    xdotool windowfocus --sync "$(x_window_of "$(menus | head -n 1)")" 2>/dev/null
    xdotool key Down Return
    check "whose items the keyboard reaches at once: Down and Enter choose About" \
        [ -n "$(drv wait-window --class QmxDialog --title About --pid "$QMX_PID" --visible 1 --timeout 5)" ]
    # Wine's tray, told the callback form, reports a click also as a selection and a right click
    # also as a context-menu request: each gesture still acts once.
    check "a left click opens the controller" open_controller
    sleep 1  # time must pass: a second gesture would have opened another by now
    check "once: the same controller stands a second later" \
        [ "$(new_controller | cut -d' ' -f1)" = "$CONTROLLER" ]
    check "the popup menu opens" open_menu
    close_menu
    sleep 1  # time must pass: the menu would have come again by now
    check "a right click's menu, closed, does not come again" [ "$(menu_count)" = 0 ]
}

# Starts the program with Ctrl+Alt+V stored as its shortcut and opens the controller with it.
open_with_the_stored_shortcut() {
    reset_settings
    set_setting hotkey REG_DWORD 0x656  # Ctrl+Alt+V
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    program_settled  # start-up, which registers the shortcut, has finished
    focus_wine
    xdotool key ctrl+alt+v
    CONTROLLER_LINE=$(new_controller)
    CONTROLLER=${CONTROLLER_LINE%% *}
    check "Ctrl+Alt+V opens the controller" [ -n "$CONTROLLER" ]
    program_settled
}

test_a_shortcut_key_opens_and_closes_the_controller_and_a_taken_one_is_refused() {
    open_with_the_stored_shortcut
    check "with the focus on the knob" [ "$(focused)" = "$(control_handle 4)" ]
    xdotool key ctrl+alt+v
    check "pressed again it closes the controller" controller_closes

    open_options
    local dialog=$OPTIONS
    xdotool key Tab Tab
    wait_until '[ "$(focus_in "$dialog")" = "$(handle_in "$dialog" 7)" ]' 5 "the focus in the shortcut box"
    check "Tab reaches the shortcut box" [ "$(focus_in "$dialog")" = "$(handle_in "$dialog" 7)" ]
    xdotool key ctrl+alt+b
    input_handled
    # Then another program takes Ctrl+Alt+B (MOD_CONTROL | MOD_ALT, 'B') before Apply.
    (wine "$E2E_DRIVER" hold-hotkey 3 0x42 60 >"$E2E_WORK/holder.out" 2>/dev/null </dev/null) &
    local holder=$!
    for _ in $(seq 50); do grep -q held "$E2E_WORK/holder.out" 2>/dev/null && break; sleep 0.1; done
    xdotool key Tab Return
    answer_message
    check "a shortcut another program holds is refused with a message" \
        grep -q '^Unable to set the shortcut to open the controller\.' <<<"$MESSAGE"
    input_handled
    check "the dialog stays open for another key" [ "$(options_dialog | cut -d" " -f1)" = "$dialog" ]
    keys_shot refused-dialog-open
    xdotool key Escape
    check "Esc closes it" within 5 '[ -z "$(options_dialog)" ]'
    check "the working shortcut stays stored" [ "$(setting hotkey)" = 0x656 ]
    focus_wine
    xdotool key ctrl+alt+v
    check "and still opens the controller" [ -n "$(new_controller)" ]
    kill "$holder" 2>/dev/null
}

# The controller's handle once only one controller stands; nothing while none or several do.
sole_controller() {
    local lines
    lines=$(drv windows --class QmxController --pid "$QMX_PID" --visible 1)
    [ "$(grep -c . <<<"$lines")" = 1 ] && cut -d' ' -f1 <<<"$lines"
}

# Windows sends the key selection twice for one Enter on the icon; the second finds the
# controller open in front and keeps it: the same window, the focus still on the knob.
test_a_doubled_key_selection_keeps_one_controller() {
    reset_settings
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    tray_key 0x401
    CONTROLLER_LINE=$(new_controller)
    CONTROLLER=${CONTROLLER_LINE%% *}
    check "Enter on the icon opens the controller" [ -n "$CONTROLLER" ]
    program_settled
    tray_key 0x401
    program_settled
    check "the second key selection keeps it: one controller, the same" \
        [ "$(sole_controller)" = "$CONTROLLER" ]
    check "with the focus on the knob" [ "$(focused)" = "$(control_handle 4)" ]
}

# Pressed while the controller fades out, the shortcut opens it: the fade stops and it stands.
test_the_shortcut_during_the_fade_out_leaves_the_controller_open() {
    open_with_the_stored_shortcut
    xdotool key --delay 150 ctrl+alt+v ctrl+alt+v
    check "pressed twice, the controller fades and stands again" \
        holds 'sleep 2; [ "$(sole_controller)" = "$CONTROLLER" ]'
    keys_shot standing-after-fade
    check "with the focus on the knob" [ "$(focused)" = "$(control_handle 4)" ]
    xdotool key ctrl+alt+v
    check "the next press closes it" controller_closes
}

# In the Options dialog the shortcut goes to the box: it is typed there, and opens nothing.
test_the_shortcut_pressed_in_the_options_box_is_recorded() {
    reset_settings
    set_setting hotkey REG_DWORD 0x656 # Ctrl+Alt+V
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    program_settled
    open_options
    xdotool key Tab Tab BackSpace ctrl+alt+v
    program_settled
    keys_shot shortcut-in-the-box
    check "pressed in the box, the shortcut opens no controller" controller_gone
    xdotool key Tab Return
    check "Apply closes the dialog" within 5 '[ -z "$(options_dialog)" ]'
    check "the box recorded it" [ "$(setting hotkey)" = 0x656 ]
    focus_wine
    xdotool key ctrl+alt+v
    check "and with the dialog closed it opens the controller" [ -n "$(new_controller)" ]
}

# Ctrl+key would take the key from every program: the box makes it Ctrl+Alt+key.
test_ctrl_c_typed_in_the_box_is_stored_as_ctrl_alt_c() {
    reset_settings
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    open_options
    xdotool key Tab Tab ctrl+c
    program_settled
    keys_shot ctrl-c-in-the-box
    xdotool key Tab Return
    check "Apply closes the dialog" within 5 '[ -z "$(options_dialog)" ]'
    check "Ctrl+C is stored as Ctrl+Alt+C" [ "$(setting hotkey)" = 0x643 ]
}

# A stored shortcut another program holds is refused at start-up; Options shows it as it is,
# Apply with it unchanged stores the rest, and None (Backspace) and Apply remove it.
test_a_refused_stored_shortcut_is_cleared_with_none_and_apply() {
    reset_settings
    forget_run_entry
    set_setting hotkey REG_DWORD 0x642 # Ctrl+Alt+B
    (wine "$E2E_DRIVER" hold-hotkey 3 0x42 60 >"$E2E_WORK/holder.out" 2>/dev/null </dev/null) &
    local holder=$!
    check "another program holds Ctrl+Alt+B" \
        within 10 'grep -q held "$E2E_WORK/holder.out" 2>/dev/null'
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    answer_message
    check "the stored shortcut is refused at start-up" \
        grep -q '^Unable to set the shortcut to open the controller\.' <<<"$MESSAGE"
    open_options
    keys_shot refused-shortcut-shown
    xdotool key space Return
    check "unchanged, it lets Apply close the dialog" within 5 '[ -z "$(options_dialog)" ]'
    check "without a message" [ -z "$(qmx_message_box)" ]
    check "having written the start-at-logon entry" within 5 '[ -n "$(user_run_entry)" ]'
    check "and kept the shortcut stored" [ "$(setting hotkey)" = 0x642 ]
    forget_run_entry
    open_options
    xdotool key Tab Tab BackSpace Tab Return
    check "None and Apply close the dialog" within 5 '[ -z "$(options_dialog)" ]'
    check "and remove the stored shortcut" [ -z "$(setting hotkey)" ]
    check "with no message again" [ -z "$(qmx_message_box)" ]
    kill "$holder" 2>/dev/null
}

focus_in() { drv focus "$1" | sed -n 's/.* focus=\(0x[0-9a-f]*\).*/\1/p'; }
handle_in() { child_line "$1" "$2" | cut -d' ' -f2; }
# look_in WINDOW ID: a fingerprint of how a control of a window looks on the screen.
look_in() {
    local x y w h
    read -r x y w h < <(rect_of "$(child_line "$1" "$2")")
    import -window root -crop "${w}x${h}+$x+$y" +repage rgb:- 2>/dev/null | md5sum
}

# The About box's two addresses are links for the keyboard too (the browser is a stand-in that
# notes the address).
test_the_about_boxs_links_take_the_focus_and_open_with_enter() {
    reset_settings
    local stub="$E2E_WORK/stub-bin" opened="$E2E_WORK/opened.txt"
    mkdir -p "$stub"
    printf '#!/bin/sh\necho "$1" >>"%s"\n' "$opened" >"$stub/xdg-open"
    chmod +x "$stub/xdg-open"
    rm -f "$opened"
    local path=$PATH
    export PATH="$stub:$PATH"
    check "qmx.exe starts" start_qmx "$KEYS_DIR"
    export PATH=$path
    choose About
    local about plain
    about=$(drv windows --class QmxDialog --title About --pid "$QMX_PID" --visible 1 | head -n 1)
    about=${about%% *}
    check "the About box opens" [ -n "$about" ]
    xdotool key Tab
    wait_until '[ "$(focus_in "$about")" = "$(handle_in "$about" 10)" ]' 5 "the focus on the graphics address" && input_handled
    check "Tab reaches the graphics address" [ "$(focus_in "$about")" = "$(handle_in "$about" 10)" ]
    plain=$(look_in "$about" 6)
    xdotool key shift+Tab
    wait_until '[ "$(focus_in "$about")" = "$(handle_in "$about" 6)" ] && [ "$(look_in "$about" 6)" != "$plain" ]' 5 "the focus rectangle on the maker's address"
    check "Shift+Tab the maker's address" [ "$(focus_in "$about")" = "$(handle_in "$about" 6)" ]
    check "which shows its focus rectangle" [ "$(look_in "$about" 6)" != "$plain" ]
    xdotool key Return
    check "Enter opens it" holds 'for _ in $(seq 50); do grep -q "www.korwen-software.example" "$opened" 2>/dev/null && break; sleep 0.2; done; grep -q "www.korwen-software.example" "$opened"'
}

install_copy "$KEYS_DIR"
for test in test_the_controller_answers_to_keys_and_the_wheel \
    test_the_focus_rests_on_the_knob_and_tab_moves_it \
    test_the_options_dialog_answers_to_the_keyboard test_the_tray_icon_answers_to_the_keyboard \
    test_a_shortcut_key_opens_and_closes_the_controller_and_a_taken_one_is_refused \
    test_a_doubled_key_selection_keeps_one_controller \
    test_the_shortcut_during_the_fade_out_leaves_the_controller_open \
    test_the_shortcut_pressed_in_the_options_box_is_recorded \
    test_ctrl_c_typed_in_the_box_is_stored_as_ctrl_alt_c \
    test_a_refused_stored_shortcut_is_cleared_with_none_and_apply \
    test_the_about_boxs_links_take_the_focus_and_open_with_enter; do
    run_test "$test"
done
