#!/usr/bin/env bash
# The Windows 10 audio path, end to end: the release qmx.exe on the prefix's simulated audio
# system, which answers the Core Audio calls as Windows does (devices that come and go, the
# default per role, the audio service restarting, injected failures).

. "$E2E_HERE/audiosim.sh"
W10_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

# w10_start [COMMAND ARGS... [COMMAND ARGS...]]: the simulator set up with its commands (each
# a known one followed by its arguments), then qmx.exe started.
w10_start() {
    reset_settings
    use_windows10_audio
    local command=()
    for word in "$@" ""; do
        if [ ${#command[@]} -gt 0 ] && { [ -z "$word" ] || grep -qx 'add\|remove\|level\|mute\|default\|fail\|policy\|rename' <<<"$word"; }; then
            check "the simulator takes the set-up: ${command[*]}" sim_do "${command[@]}"
            command=()
        fi
        [ -n "$word" ] && command+=("$word")
    done
    check "qmx.exe starts" start_qmx "$W10_DIR"
}

# label_matches ID: the open controller shows the device's level.
label_matches() { [ "$(controller_label)" = "$(sim_percent "$1")" ]; }

test_windows10_the_controller_writes_and_follows_the_default_device() {
    w10_start level spk 0.8
    check "the controller opens" open_controller
    check "it shows the device's level" [ "$(controller_label)" = 80 ]
    drag_knob 40
    log "after the drag: label $(controller_label), $(audiosim state)"
    check "a drag lowers the volume" [ "$(controller_label)" -lt 80 ]
    check "and writes it to the default device" label_matches spk
    read -r x y < <(at 51 150)
    xdotool mousemove "$x" "$y" click 1 mousemove "$x" $((y - 30))
    input_handled
    check "a track click and move writes the device" label_matches spk
    xdotool mousemove $(at 33 90) key Home Down Down
    wait_until '[ "$(controller_label)" = 98 ]' 10 "the label 98"
    check "the keys write the device" holds '[ "$(controller_label)" = 98 ] && label_matches spk'
    xdotool click --repeat 2 --delay 50 5
    wait_until '[ "$(controller_label)" = 94 ]' 10 "the label 94"
    check "the wheel writes the device" holds '[ "$(controller_label)" = 94 ] && label_matches spk'
    check "the mute box is checked" check_box "$CONTROLLER" 6
    check "it mutes the device" [ "$(sim_field spk mute)" = 1 ]
    check "and the tray icon shows it" tray_shows muted
    audiosim mute spk 0 >/dev/null
    check "a mute changed elsewhere shows on the tray icon" tray_shows sound
    check "and in the mute box" holds '! is_checked "$CONTROLLER" 6'
    audiosim level spk 0.25 >/dev/null
    check "a level changed elsewhere shows on the open controller" label_becomes 25
    check "no message appeared" [ -z "$(qmx_message)" ]
    leave_windows10_audio
}

# Playing sound is not simulated: it goes on to Wine's own device.
test_windows10_test_sound_plays() {
    local played="$E2E_WORK/played.raw"
    rm -f "$played"
    record_sound "$played"
    cp "$E2E_BUILD/POURING.WAV" "$W10_DIR/"
    w10_start
    choose TestSound
    wait_until '[ "$(played_bytes "$played")" = $(($(stat -c %s "$W10_DIR/POURING.WAV") - 44)) ]' 20 "the whole sound"
    check "the whole sound reached the device" \
        [ "$(played_bytes "$played")" = $(($(stat -c %s "$W10_DIR/POURING.WAV") - 44)) ]
    check "no message appeared" [ -z "$(qmx_message)" ]
    rm -f "$W10_DIR/POURING.WAV" "$played"
    leave_windows10_audio
}

test_windows10_a_headset_comes_and_goes() {
    w10_start level spk 0.9
    check "the controller opens" open_controller
    audiosim add hs "Headset" >/dev/null
    audiosim level hs 0.4 >/dev/null
    audiosim mute hs 1 >/dev/null
    audiosim default hs >/dev/null
    check "the open controller follows the headset" label_becomes 40
    check "the tray icon shows the headset muted" tray_shows muted
    drag_knob 30
    log "after the drag: $(audiosim state)"
    check "a drag writes the headset" holds '[ "$(controller_label)" -lt 40 ] && label_matches hs'
    check "and leaves the speakers alone" [ "$(sim_field spk level)" = 0.900000 ]
    choose About
    local about
    about=$(drv windows --class QmxDialog --title About --pid "$QMX_PID" --visible 1 | head -n 1)
    check "the About box names the headset" grep -q '^Mixer : Headset' <<<"$(child_text "${about%% *}" 2)"
    audiosim remove hs >/dev/null
    check "unplugged: the program follows the speakers" holds 'tray_shows sound'
    check "the open controller shows them" holds 'open_controller && label_becomes 90'
    audiosim plug hs >/dev/null
    audiosim default hs >/dev/null
    check "plugged in again and made the default, the headset is followed" label_becomes "$(sim_percent hs)"
    drag_knob -20
    check "and written" label_matches hs
    check "no message appeared" [ -z "$(qmx_message)" ]
    check "the program runs" linux_alive "$QMX_LINUX_PID"
    leave_windows10_audio
}

test_windows10_every_device_gone_and_a_new_one() {
    w10_start
    check "the controller opens" open_controller
    audiosim remove spk >/dev/null
    sleep 1  # time must pass: ten polls without a device show no message
    check "with every device gone no message appears" [ -z "$(qmx_message)" ]
    check "the program runs" linux_alive "$QMX_LINUX_PID"
    audiosim add usb "USB Speakers" >/dev/null
    audiosim level usb 0.7 >/dev/null
    audiosim default usb >/dev/null
    check "a device added and made the default is followed" label_becomes 70
    drag_knob 20
    check "and written" label_matches usb
    leave_windows10_audio
}

test_windows10_the_audio_service_restarts() {
    w10_start level spk 0.6
    check "the controller opens" open_controller
    audiosim restart-service 1000 >/dev/null
    sleep 1.5  # time must pass: the outages and restarts come at their own pace
    audiosim restart-service 1000 >/dev/null
    sleep 0.2  # (as above)
    audiosim restart-service 1000 >/dev/null
    sleep 1.5  # (as above)
    check "no message appeared" [ -z "$(qmx_message)" ]
    check "the program runs" linux_alive "$QMX_LINUX_PID"
    audiosim level spk 0.35 >/dev/null
    check "afterwards the label follows the device" label_becomes 35
    audiosim mute spk 1 >/dev/null
    check "and the tray icon too" tray_shows muted
    drag_knob 20
    check "a drag writes the device" holds '[ "$(controller_label)" -lt 35 ] && label_matches spk'
    audiosim add hs "Headset" >/dev/null
    audiosim level hs 0.45 >/dev/null
    audiosim default hs >/dev/null
    check "a new default is heard of again" label_becomes 45
    leave_windows10_audio
}

# Codes real systems answer for a while: E_FAIL from the default look-up while the audio service
# comes up at logon, E_HANDLE from a write while a Bluetooth headset reconnects. No message; the
# program follows once the system answers, and a failure that lasts ends it with its message.
test_windows10_failures_for_a_while_and_for_good() {
    w10_start fail GetDefaultAudioEndpoint 0x80004005 5 level spk 0.8
    check "its icon appears" [ "$(tray_icon_count)" = 1 ]
    check "the controller opens" open_controller
    check "it shows the level once the system answers" label_becomes 80
    check "no message appeared" [ -z "$(qmx_message)" ]
    sim_do fail SetMasterVolumeLevelScalar 0x80070006 1
    sim_do fail UnregisterEndpointNotificationCallback 0x80004005 1
    drag_knob 30
    log "after the drag: label $(controller_label), $(audiosim state)"
    check "a write refused once is made again: the device has the level shown" \
        holds '[ "$(controller_label)" -lt 80 ] && label_matches spk'
    audiosim add hs "Headset" >/dev/null
    audiosim level hs 0.45 >/dev/null
    audiosim default hs >/dev/null
    check "a new default is followed after the refused unregistering" label_becomes 45
    check "no message appeared" [ -z "$(qmx_message)" ]
    check "the program runs" linux_alive "$QMX_LINUX_PID"
    xdotool key Escape
    sim_do fail GetMute 0x80004005 100000
    sim_do fail GetMasterVolumeLevelScalar 0x80004005 100000
    sleep 5  # time must pass: five seconds of failures
    check "five seconds of failures show no message" [ -z "$(qmx_message)" ]
    answer_message 15
    check "failing for good, the mute poll's message appears" \
        [ "$MESSAGE" = "Error! Unable to get Mixer Control Details." ]
    check "pressing OK ends the program" wait_gone "$QMX_LINUX_PID" 10
    leave_windows10_audio
}

# Each Windows version offers its own policy-config class and interface; the menu's switch works
# on each, and makes the output the default for every role, also when it is the console's only.
test_windows10_the_output_is_switched_on_every_windows_version() {
    w10_start add hs "Headset"
    local mode item device
    for mode in vista win10-1511 win10-1507 win7; do
        sim_do policy "$mode"
        [ "$(sim_field hs roles)" = - ] && item=2 device=hs || item=1 device=spk
        open_output_submenu
        choose_submenu_item "$item"
        check "$mode: the chosen output is the default for every role" \
            [ "$(sim_field "$device" roles)" = console,multimedia,communications ]
        check "$mode: no message" [ -z "$(qmx_message)" ]
    done
    sim_do default hs console
    open_output_submenu
    choose_submenu_item 2
    check "the console's default chosen: its other roles follow" \
        [ "$(sim_field hs roles)" = console,multimedia,communications ]
    sim_do fail CreatePolicyConfig 0x80070005 1
    open_output_submenu
    choose_submenu_item 1
    answer_message
    check "a policy-config class that refuses to be made gives the system's reason" \
        [ "$MESSAGE" = "Unable to switch the playback device. Access denied." ]
    check "and changes nothing" [ "$(sim_field hs roles)" = console,multimedia,communications ]
    open_output_submenu
    audiosim remove spk disabled >/dev/null
    choose_submenu_item 1
    answer_message
    check "an output disabled while the menu was open is said to be gone, in words" \
        grep -q '^Unable to switch the playback device\. [A-Z][a-z]' <<<"$MESSAGE"
    check "the program runs on" linux_alive "$QMX_LINUX_PID"
    leave_windows10_audio
}

# Starts with the headset as the default output and opens the About box; ABOUT is its handle.
about_the_headset() {
    w10_start add hs "Headset"
    sim_do default hs
    choose About
    ABOUT=$(drv windows --class QmxDialog --title About --pid "$QMX_PID" --visible 1 | head -n 1)
    ABOUT=${ABOUT%% *}
    check "the About box names the headset" [ "$(child_text "$ABOUT" 2)" = "Mixer : Headset" ]
}

# The About box names the device in use as it is now: renamed, with a tab, too long for its line,
# with no name at all, or another device after the default was disabled.
test_windows10_names_as_they_are_now() {
    about_the_headset
    mixer_line() { child_text "$ABOUT" 2; }
    audiosim rename hs $'Kopfh\xc3\xb6rer\tBT' >/dev/null
    check "renamed: the open About box follows, the tab a space" \
        within 10 '[ "$(mixer_line)" = "Mixer : Kopfhörer BT" ]'
    audiosim rename hs "Headset Speakers (High Definition Audio Device)" >/dev/null
    wait_until '[ "$(mixer_line)" = "Mixer : Headset Speakers (High Defin…" ]' 10 "the long name"
    log "long name: $(mixer_line)"
    check "a long name is cut with an ellipsis" [ "$(mixer_line)" = "Mixer : Headset Speakers (High Defin…" ]
    local line box_rect label_rect
    read -r -a box_rect < <(rect_of "$(drv windows --class QmxDialog --title About --pid "$QMX_PID" | head -n 1)")
    read -r -a label_rect < <(rect_of "$(child_line "$ABOUT" 2)")
    log "About box ${box_rect[*]}, mixer line ${label_rect[*]}"
    check "and its line ends inside the box" \
        [ $((label_rect[0] + label_rect[2])) -le $((box_rect[0] + box_rect[2])) ]
    import -window root "$E2E_WORK/about-long-name.png" 2>/dev/null
    audiosim rename hs "" >/dev/null
    sleep 1  # time must pass: the name without text is taken and nothing ends
    check "a name without text ends nothing" linux_alive "$QMX_LINUX_PID"
    audiosim remove hs disabled >/dev/null
    check "the default disabled: the open About box names the speakers" \
        within 10 '[ "$(mixer_line)" = "Mixer : Speakers (Simulated)" ]'
    check "no message appeared" [ -z "$(qmx_message)" ]
    leave_windows10_audio
}

test_windows10_start_up_with_no_active_device() {
    w10_start remove spk
    wait_until '[ "$(tray_icon_count)" = 1 ]' 10 "the tray icon"
    check "with every device unplugged it runs with its icon" [ "$(tray_icon_count)" = 1 ]
    check "and no message" [ -z "$(qmx_message)" ]
    check "the controller opens" open_controller
    check "it shows the bottom of the scale" [ "$(controller_label)" = 0 ]
    check "and an unchecked box" holds '! is_checked "$CONTROLLER" 6'
    audiosim level spk 0.55 >/dev/null
    audiosim plug spk >/dev/null
    check "the first device plugged in is followed" label_becomes 55
    close_from_menu
    reset_wine
    reset_settings
    audiosim clear >/dev/null
    check "with no device at all, qmx.exe starts" start_qmx "$W10_DIR"
    answer_message 10
    check "and says the mixer device cannot be opened" \
        [ "$MESSAGE" = "Error! Unable to open a Mixer Device. Program will be terminated." ]
    check "pressing OK ends the program" wait_gone "$QMX_LINUX_PID" 10
    leave_windows10_audio
}

# The Playback Device submenu: every active output by its name (any language), the default
# marked; a choice makes the output the default for every role and the program follows it.
test_windows10_choosing_the_playback_device() {
    w10_start
    audiosim add rt "Lautsprecher (Realtek® Audio)" >/dev/null
    audiosim add hp "Наушники" >/dev/null
    audiosim add amp "Speakers & Mic" >/dev/null
    audiosim add off "Monitor (HDMI)" >/dev/null
    audiosim remove off >/dev/null
    audiosim level hp 0.3 >/dev/null
    audiosim mute hp 1 >/dev/null
    check "the controller opens" open_controller
    check "the Playback Device submenu opens" open_output_submenu
    check "it lists the four active outputs" [ "$(submenu_items)" = 4 ]
    local marks
    read -r marks _ _ < <(menu_marks "$SUB_LINE")
    check "the default output is marked" [ "$marks" -gt 0 ]
    import -window root "$E2E_WORK/output-menu.png" 2>/dev/null
    choose_submenu_item 3
    log "after choosing the third: $(audiosim state | grep '^id=hp')"
    check "the chosen output is the default for every role" \
        [ "$(sim_field hp roles)" = console,multimedia,communications ]
    check "the open controller follows it" label_becomes 30
    check "the tray icon shows its mute" tray_shows muted
    drag_knob 20
    check "a drag writes it" holds '[ "$(controller_label)" -lt 30 ] && label_matches hp'
    choose About
    local about
    about=$(drv windows --class QmxDialog --title About --pid "$QMX_PID" --visible 1 | head -n 1)
    check "the About box names it exactly" [ "$(child_text "${about%% *}" 2)" = "Mixer : Наушники" ]
    audiosim fail SetDefaultEndpoint 0x88890001 1 >/dev/null
    open_output_submenu
    choose_submenu_item 2
    local box
    box=$(drv wait-window --class '#32770' --pid "$QMX_PID" --visible 1 --timeout 5 | head -n 1)
    log "message: $(drv child-text "${box%% *}" 65535)"
    check "a failed switch says so, a code without the system's words in hexadecimal" \
        [ "$(drv child-text "${box%% *}" 65535)" = "Unable to switch the playback device. Error 0x88890001" ]
    check "the message belongs to the tray host" \
        [ "$(drv owner "${box%% *}")" = "$(drv windows --class QmxTrayHost --pid "$QMX_PID" | cut -d' ' -f1)" ]
    drv press-ok "${box%% *}" >/dev/null
    check "and changes nothing" [ "$(sim_field hp roles)" = console,multimedia,communications ]
    check "the program runs on" linux_alive "$QMX_LINUX_PID"
    leave_windows10_audio
}

# Bluetooth headphones refuse volume writes for good (E_HANDLE) and read fine: the label shows
# the level the device has, a mute made elsewhere shows on the icon at once, and after ten
# seconds the write's own message ends the program.
test_windows10_writes_refused_for_good_while_reads_work() {
    w10_start level spk 0.6
    check "the controller opens" open_controller
    sim_do fail SetMasterVolumeLevelScalar 0x80070006 100000000
    local refused_at
    refused_at=$(date +%s%3N)  # milliseconds
    drag_knob 30
    check "the label shows the level the device kept" label_becomes 60
    audiosim mute spk 1 >/dev/null
    check "a mute made elsewhere shows on the tray icon" tray_shows muted
    check "and in the mute box" holds 'is_checked "$CONTROLLER" 6'
    local left=$((refused_at + 5000 - $(date +%s%3N)))
    log "${left} ms left to five seconds after the first refusal"
    [ "$left" -le 0 ] || sleep "$((left / 1000)).$(printf %03d $((left % 1000)))"
    check "five seconds after the first refusal, no message" [ -z "$(qmx_message)" ]
    answer_message 15
    check "refused for ten seconds, the write's message appears" \
        [ "$MESSAGE" = "Error! Unable to set Mixer Control Details." ]
    check "pressing OK ends the program" wait_gone "$QMX_LINUX_PID" 10
    leave_windows10_audio
}

# A drag while the audio service restarts shows at once and reaches the device once the service
# is back.
test_windows10_a_write_during_a_service_restart_reaches_the_device() {
    w10_start level spk 0.6
    check "the controller opens" open_controller
    local top_before shown top
    top_before=$(knob_top)
    audiosim restart-service 3000 >/dev/null
    drag_knob 30
    shown=$(controller_label)
    top=$(knob_top)
    log "shown during the outage: $shown, knob top $top_before -> $top, $(audiosim state)"
    check "the drag shows while the service is away: the knob where the pointer left it" \
        holds '[ $((top - top_before)) -ge 29 ] && [ $((top - top_before)) -le 31 ]'
    check "and the label its level" [ "$top" = "$(expected_knob_top "$shown")" ]
    check "the service back, the device has the level shown" \
        within 10 '[ "$(sim_percent spk)" = "$shown" ]'
    check "and the label still shows it" [ "$(controller_label)" = "$shown" ]
    check "no message appeared" [ -z "$(qmx_message)" ]
    check "the program runs" linux_alive "$QMX_LINUX_PID"
    leave_windows10_audio
}

# Dark pixels of item N (from 1) of the open submenu, beside its radio dot: the caption's text.
submenu_item_ink() {
    count_pixels $((SX + 20)) $((SY + 3 + 16 * ($1 - 1))) $((SW - 26)) 16 0 90 0 90 0 90
}

# A device whose name property is gone (VT_EMPTY, as a device just plugged in may have): the
# About box and the Playback Device submenu say it has no name rather than showing nothing.
test_windows10_a_device_renamed_to_no_name() {
    about_the_headset
    audiosim rename hs --empty >/dev/null
    check "renamed to no name: the open About box says it has none" \
        within 3 '[ "$(child_text "$ABOUT" 2)" = "Mixer : (Unnamed device)" ]'
    check "the Playback Device submenu opens" open_output_submenu
    check "it lists both outputs" [ "$(submenu_items)" = 2 ]
    log "ink of the unnamed item: $(submenu_item_ink 2), of the speakers: $(submenu_item_ink 1)"
    check "the unnamed output's item shows a caption" [ "$(submenu_item_ink 2)" -gt 20 ]
    import -window root "$E2E_WORK/unnamed-output.png" 2>/dev/null
    close_menu
    audiosim rename hs "Kopfhörer" >/dev/null
    check "named again, the About box follows" \
        within 3 '[ "$(child_text "$ABOUT" 2)" = "Mixer : Kopfhörer" ]'
    check "no message appeared" [ -z "$(qmx_message)" ]
    leave_windows10_audio
}

# At logon the audio service is still coming up: the default look-up finds no device for a while
# and counting the installed outputs fails. The program waits with its icon and follows the
# device once the service answers.
test_windows10_start_up_while_the_audio_service_comes_up() {
    w10_start level spk 0.45 mute spk 1 \
        fail GetDefaultAudioEndpoint 0x80070490 20 fail EnumAudioEndpoints 0x88890010 5
    check "its icon appears" within 5 '[ "$(tray_icon_count)" = 1 ]'
    check "no message" [ -z "$(qmx_message)" ]
    check "once the service answers, the icon shows the device muted" within 10 'tray_shows muted'
    check "the controller opens" open_controller
    check "and shows the device's level" label_becomes 45
    check "no message appeared" [ -z "$(qmx_message)" ]
    leave_windows10_audio
}

install_copy "$W10_DIR"
for test in test_windows10_the_controller_writes_and_follows_the_default_device \
    test_windows10_test_sound_plays \
    test_windows10_a_headset_comes_and_goes \
    test_windows10_every_device_gone_and_a_new_one \
    test_windows10_the_audio_service_restarts \
    test_windows10_failures_for_a_while_and_for_good \
    test_windows10_the_output_is_switched_on_every_windows_version \
    test_windows10_names_as_they_are_now \
    test_windows10_start_up_with_no_active_device \
    test_windows10_choosing_the_playback_device \
    test_windows10_writes_refused_for_good_while_reads_work \
    test_windows10_a_write_during_a_service_restart_reaches_the_device \
    test_windows10_a_device_renamed_to_no_name \
    test_windows10_start_up_while_the_audio_service_comes_up; do
    run_test "$test"
done
