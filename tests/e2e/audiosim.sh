#!/usr/bin/env bash
# Helpers for the stories of the Windows 10 audio path: the prefix's simulated audio system
# (tests/audiosim), driven with audiosim.exe and read back from its device table.

AUDIOSIM_DIR="$E2E_BUILD/audiosim"

# audiosim ARGS...: runs the control program and prints the device table it answers with.
audiosim() {
    wine "$AUDIOSIM_DIR/audiosim.exe" "$@" >"$E2E_WORK/audiosim.out" 2>/dev/null </dev/null
    local rc=$?
    tr -d '\r' <"$E2E_WORK/audiosim.out"
    return $rc
}

# sim_do ARGS...: runs the control program for its effect; fails, saying why, when it refuses.
sim_do() {
    audiosim "$@" >/dev/null && return 0
    local rc=$?
    log "audiosim $* ended with $rc: $(tr -d '\r' <"$E2E_WORK/audiosim.out" | head -n 1)"
    return "$rc"
}

# sim_field ID FIELD: one field of a device's line in the table (level, mute, roles, state).
sim_field() {
    audiosim state | awk -v id="id=$1" -v field="$2=" '
        $1 == id { for (i = 2; i <= NF; i++) if (index($i, field) == 1) print substr($i, length(field) + 1) }'
}

# The volume percent the program shows for a device's level: the scalar as a mixer level
# (0..65535), then as a percent, each rounded.
sim_percent() {
    awk -v s="$(sim_field "$1" level)" 'BEGIN { l = int(s * 65535 + 0.5); printf "%d", int(l / 65535 * 100 + 0.5) }'
}

# Windows 10 with the simulated audio system in its reset state (one device, spk, at 0.5).
use_windows10_audio() {
    set_windows_version 10
    AUDIOSIM_DIR="$AUDIOSIM_DIR" "$E2E_HERE/use-audiosim.sh"
}

leave_windows10_audio() {
    AUDIOSIM_DIR="$AUDIOSIM_DIR" "$E2E_HERE/use-audiosim.sh" --off
    set_windows_version 7
}

qmx_message() { drv windows --class '#32770' --pid "$QMX_PID" --visible 1 | head -n 1; }

controller_label() { child_text "$CONTROLLER" 3; }

# label_becomes TEXT: waits for the open controller's label to read TEXT.
label_becomes() {
    local text=$1
    wait_until '[ "$(controller_label)" = "$text" ]' 10 "the label to read $text"
}

# tray_shows muted|sound: waits for the tray icon's picture.
tray_shows() {
    if [ "$1" = muted ]; then wait_until '[ "$(tray_red_pixels)" -gt 10 ]' 10 "the muted icon"
    else wait_until '[ "$(tray_red_pixels)" -lt 3 ]' 10 "the sound icon"; fi
}

# Opens the tray menu's Playback Device submenu; sets SUB_LINE and SX SY SW SH.
open_output_submenu() {
    open_menu || return 1
    xdotool mousemove $((MX + 40)) $((MY + MENU_ROW[PlaybackDevice]))
    wait_until 'SUB_LINE=$(menus | grep -v "^${MENU_LINE%% *} " | head -n 1); [ -n "$SUB_LINE" ]' \
        10 "the Playback Device submenu" || return 1
    read -r SX SY SW SH < <(rect_of "$SUB_LINE")
}

# The number of items the open submenu shows (16 pixels each at 96 DPI, and a 3-pixel frame).
submenu_items() { echo $(((SH - 6) / 16)); }

# Clicks item N (from 1) of the open submenu.
choose_submenu_item() { xdotool mousemove $((SX + 30)) $((SY + 3 + 16 * ($1 - 1) + 8)) click 1; menu_chosen; }
