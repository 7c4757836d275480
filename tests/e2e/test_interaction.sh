#!/usr/bin/env bash
# Using the controller with a real pointer: the knob, the track, the mute box, the close buttons
# and the volume-control button. The legacy mixer (Windows XP mode) takes the volume writes.

INTERACTION_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

start_with_controller() {
    reset_settings
    [ -n "${1:-}" ] && set_setting skin REG_SZ "$1"
    set_windows_version xp
    check "qmx.exe starts" start_qmx "$INTERACTION_DIR"
    check "the controller opens" open_controller
}

test_dragging_the_knob_changes_the_volume_on_the_grid() {
    start_with_controller
    local before top
    before=$(child_text "$CONTROLLER" 3)
    top=$(knob_top)
    log "before: label $before, knob top $top"
    drag_knob 40
    local after
    after=$(child_text "$CONTROLLER" 3)
    top=$(knob_top)
    log "after: label $after, knob top $top"
    check "the label shows a lower volume" [ "$after" -lt "$before" ]
    check "the knob rests on the grid at the label's place" [ "$top" = "$(expected_knob_top "$after")" ]
    set_windows_version 7
}

# Glides the pointer to the middle of the mute box in small steps, as a hand does, and clicks
# at once.
glide_and_click_mute_box() {
    local mx my mw mh px py
    read -r mx my mw mh < <(rect_of "$(child_line "$CONTROLLER" 6)")
    read -r px py < <(xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')
    for i in $(seq 1 10); do
        xdotool mousemove $((px + (mx + mw / 2 - px) * i / 10)) $((py + (my + mh / 2 - py) * i / 10))
        sleep 0.02  # a hand's pace
    done
    xdotool click 1
    input_handled
}

mute_box_checked() { is_checked "$CONTROLLER" 6; }

test_clicking_the_track_then_moving_jumps_the_knob() {
    start_with_controller
    local top before
    top=$(knob_top)
    before=$(child_text "$CONTROLLER" 3)
    # Below the knob on the track, click; then move over the track to 1000 twips below its top.
    read -r x y < <(at 51 135)
    xdotool mousemove "$x" "$y" click 1
    input_handled
    check "a click alone moves nothing" [ "$(child_text "$CONTROLLER" 3)" = "$before" ]
    read -r x y < <(at 51 100)
    xdotool mousemove "$x" "$y"
    wait_until '[ "$(child_text "$CONTROLLER" 3)" = 50 ]' 5 "the label 50"
    # The pointer is 67 pixels (1005 twips) below the track's top: the knob's top goes to 1155,
    # step 49.6 -> 50, and the level written shows 50 percent.
    local label
    label=$(child_text "$CONTROLLER" 3)
    log "label after the jump: $label, knob top $(knob_top)"
    check "the knob jumped to the pointer's place: 50 percent" [ "$label" = 50 ]
    check "the knob rests on the grid" [ "$(knob_top)" = "$(expected_knob_top 50)" ]
    glide_and_click_mute_box
    check "the first click on the mute box after the slider counts" mute_box_checked
    set_windows_version 7
}

# Another window takes the pointer in the middle of a drag (as a popup or Alt+Tab does): the
# drag ends, and hovering over the knob afterwards changes nothing.
test_a_drag_that_loses_the_pointer_ends() {
    start_with_controller
    local top before
    top=$(knob_top)
    read -r x y < <(at 51 $((top + 9)))
    xdotool mousemove "$x" "$y" mousedown 1
    xdotool mousemove "$x" $((y + 10))
    wait_until '[ "$(child_text "$CONTROLLER" 3)" != 100 ]' 5 "the knob to move"
    log "label while dragging: $(child_text "$CONTROLLER" 3)"
    check "the knob is dragged" [ "$(child_text "$CONTROLLER" 3)" != 100 ]
    local knob
    knob=$(child_line "$CONTROLLER" 4 | cut -d' ' -f2)
    check "the knob holds the pointer" grep -q "capture=$knob" <<<"$(drv focus "$CONTROLLER")"
    drv send "$knob" 0x1F >/dev/null  # WM_CANCELMODE, as a popup sends: the capture goes
    # Released beside the controller, at the knob's height: nothing there ends the drag.
    xdotool mousemove $((CX - 150)) $((y + 10)) mouseup 1
    input_handled
    before=$(child_text "$CONTROLLER" 3)
    top=$(knob_top)
    for dy in 4 8 12 16; do
        xdotool mousemove "$x" $((CY + top + dy))
        sleep 0.1  # a hand's pace
    done
    input_handled
    log "label $before before hovering, $(child_text "$CONTROLLER" 3) after"
    check "hovering over the knob changes nothing" [ "$(child_text "$CONTROLLER" 3)" = "$before" ]
    glide_and_click_mute_box
    check "the first click on the mute box after the drag counts" mute_box_checked
    set_windows_version 7
}

# The knob's centre on the screen: knob_centre -> X Y
knob_centre() {
    local x y w h
    read -r x y w h < <(rect_of "$(child_line "$CONTROLLER" 4)")
    echo $((x + w / 2)) $((y + h / 2))
}

# Two drags, the second released above the controller, a click on the track and the jump that
# follows, then one click on the mute box the moment the pointer gets there: the click counts,
# round after round. (The tray icon's tooltip, sent anew with every icon update, used to follow
# the pointer onto the controller and take the click.)
test_the_first_click_on_the_mute_box_counts_after_a_drag_ends_outside() {
    start_with_controller classic
    local round x y mx my mw mh was
    for round in 1 2 3 4 5; do
        [ "$round" = 1 ] || check "the controller opens again" open_controller
        read -r x y < <(knob_centre)
        xdotool mousemove "$x" "$y" mousedown 1 mousemove "$x" $((y + 46)) mouseup 1
        read -r x y < <(knob_centre)
        xdotool mousemove "$x" "$y" mousedown 1 mousemove "$x" $((CY - 40)) mouseup 1
        read -r x y < <(at 45 120)
        xdotool mousemove "$x" "$y" click 1 mousemove "$x" $((y + 1))
        wait_until '[ "$(child_text "$CONTROLLER" 3)" = 28 ]' 5 "the label 28"
        check "round $round: the track click and the move put the knob at 28" \
            [ "$(child_text "$CONTROLLER" 3)" = 28 ]
        was=$(is_checked "$CONTROLLER" 6 && echo 1 || echo 0)
        check "round $round: no other window covers the controller" \
            [ -z "$(drv windows --class tooltips_class32 --visible 1 | grep -v "pid=$QMX_PID")" ]
        read -r mx my mw mh < <(rect_of "$(child_line "$CONTROLLER" 6)")
        xdotool mousemove $((mx + mw / 2)) $((my + mh / 2)) click 1
        wait_until '[ "$(is_checked "$CONTROLLER" 6 && echo 1 || echo 0)" != "$was" ]' 5 "the mute box to switch"
        check "round $round: the first click switched the mute box" \
            [ "$(is_checked "$CONTROLLER" 6 && echo 1 || echo 0)" != "$was" ]
        xdotool key Escape
        wait_until controller_gone 10 "the end of the fade-out"
    done
    set_windows_version 7
}

expect_mute_box_mutes() {
    local before after
    before=$(tray_red_pixels)
    click_control "$CONTROLLER" 6
    wait_until '[ "$(tray_red_pixels)" -gt 10 ]' 10 "the muted picture"
    after=$(tray_red_pixels)
    log "red pixels in the tray icon: $before before, $after after"
    check "the tray icon shows the muted picture" holds '[ "$before" -lt 3 ] && [ "$after" -gt 10 ]'
    click_control "$CONTROLLER" 6
    wait_until '[ "$(tray_red_pixels)" -lt 3 ]' 10 "the normal picture"
    check "unmuting brings the normal picture back" [ "$(tray_red_pixels)" -lt 3 ]
}

test_the_mute_box_switches_the_tray_icon_on_windows_xp() {
    start_with_controller
    expect_mute_box_mutes
    set_windows_version 7
}

test_the_mute_box_switches_the_tray_icon_on_windows_7() {
    reset_settings
    set_windows_version 7
    check "qmx.exe starts" start_qmx "$INTERACTION_DIR"
    check "the controller opens" open_controller
    expect_mute_box_mutes
}



test_the_classic_close_button_fades_the_controller_out() {
    start_with_controller
    read -r x y < <(at 53 176)
    xdotool mousemove "$x" "$y" click 1
    wait_until layered 5 "the fade-out"
    check "the controller is fading (layered, still a tool window)" layered
    wait_until controller_gone 10 "the end of the fade-out"
    check "then it is gone" controller_gone
    set_windows_version 7
}

test_the_vista_close_button_waits_after_a_window_move() {
    start_with_controller vista
    # Drag the window by its background 40 pixels to the left, then click its close button.
    read -r x y < <(at 10 100)
    xdotool mousemove "$x" "$y" mousedown 1
    for step in 1 2 3 4; do
        xdotool mousemove $((x - step * 10)) "$y"
        sleep 0.05  # a hand's pace
    done
    xdotool mouseup 1
    local line
    line=$(controller_line 2)
    read -r CX CY CW CH < <(rect_of "$line")
    log "controller moved to $CX,$CY"
    check "the window followed the pointer" [ "$CX" -lt "$((874 - 30))" ]
    read -r x y < <(at 51 172)
    xdotool mousemove "$x" "$y" click 1
    sleep 1  # time must pass: the button would have faded the controller by now
    check "a click on the Vista close button right after the move does nothing" holds '! layered'
    check "the controller is still there" [ -n "$(controller_line 1)" ]
    xdotool click 1
    wait_until layered 5 "the fade-out"
    check "later the same click fades it out" layered
    wait_until controller_gone 10 "the end of the fade-out"
    check "and it is gone" controller_gone
    set_windows_version 7
}

test_the_volume_control_button_reports_a_missing_program() {
    start_with_controller
    read -r x y < <(at 13 12)
    xdotool mousemove "$x" "$y" click 1
    local box text
    box=$(drv wait-window --class '#32770' --title 'Velto Volume Controller 4.0' --pid "$QMX_PID" \
        --timeout 10 | head -n 1)
    check "a message box appears" [ -n "$box" ]
    text=$(drv child-text "${box%% *}" 65535)
    log "message: $text"
    check "it names the volume control and the system's description" \
        grep -Eq '^Unable to open Windows Volume Control .+' <<<"$text"
    drv press-ok "${box%% *}" >/dev/null
    input_handled
    check "the program runs on" linux_alive "$QMX_LINUX_PID"
    set_windows_version 7
}

# A program named like a system program, planted beside qmx.exe, never runs in its place.
test_a_planted_rundll32_beside_the_program_does_not_run() {
    cp "$E2E_BUILD/qmxdriver.exe" "$INTERACTION_DIR/rundll32.exe"
    rm -f "$INTERACTION_DIR/rundll32.exe.ran"
    start_with_controller
    read -r x y < <(at 31 24)  # the audio-properties button
    xdotool mousemove "$x" "$y" click 1
    sleep 2  # time must pass: a program started by the button would have run by now
    check "the planted rundll32.exe did not run" [ ! -e "$INTERACTION_DIR/rundll32.exe.ran" ]
    check "no message appears (the system's one ran)" \
        [ -z "$(drv windows --class '#32770' --pid "$QMX_PID" --visible 1)" ]
    rm -f "$INTERACTION_DIR/rundll32.exe" "$INTERACTION_DIR/rundll32.exe.ran"
    set_windows_version 7
}

# The x86 program started on 64-bit Windows (the portable zip's other folder) runs there as a
# 32-bit process, and its knob changes the volume.
test_the_x86_program_runs_on_64_bit_windows() {
    local dir="$E2E_WORK/32-bit Windows"
    mkdir -p "$dir"
    cp "$E2E_RELEASE/x86/qmx.exe" "$dir/"
    INTERACTION_DIR=$dir test_dragging_the_knob_changes_the_volume_on_the_grid
    # ELF's class byte of the process's loader: 1 for Wine's 32-bit one, 2 for the 64-bit one.
    local pid
    pid=$(prefix_pids '32-bit Windows.qmx\.exe' | head -n 1)
    check "it runs as a 32-bit process" \
        [ "$(od -An -t u1 -j 4 -N 1 "/proc/${pid:-0}/exe" 2>/dev/null | tr -d ' ')" = 1 ]
}

install_copy "$INTERACTION_DIR"
for test in test_dragging_the_knob_changes_the_volume_on_the_grid \
    test_the_x86_program_runs_on_64_bit_windows \
    test_clicking_the_track_then_moving_jumps_the_knob \
    test_a_drag_that_loses_the_pointer_ends \
    test_the_first_click_on_the_mute_box_counts_after_a_drag_ends_outside \
    test_the_mute_box_switches_the_tray_icon_on_windows_xp \
    test_the_mute_box_switches_the_tray_icon_on_windows_7 \
    test_the_classic_close_button_fades_the_controller_out \
    test_the_vista_close_button_waits_after_a_window_move \
    test_the_volume_control_button_reports_a_missing_program \
    test_a_planted_rundll32_beside_the_program_does_not_run; do
    run_test "$test"
done
