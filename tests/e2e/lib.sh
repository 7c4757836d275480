#!/usr/bin/env bash
# Helpers for the end-to-end tests: the real qmx.exe under Wine, observed from outside through
# qmxdriver.exe (windows, texts, styles, processes), the X screen and /proc.

E2E_PASSED=0
E2E_FAILED=0
E2E_CURRENT_OK=1

log() { printf '    %s\n' "$*"; }

# within SECONDS CONDITION: true once CONDITION (shell text) holds, looked at ten times a second
# for at most SECONDS.
within() {
    local deadline=$((SECONDS + $1))
    until eval "$2"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# wait_until CONDITION SECONDS WHAT: the same, and when it never holds, says what was awaited.
wait_until() { within "$2" "$1" || { log "waited $2 s in vain for $3"; return 1; }; }

# check DESCRIPTION COMMAND...: one assertion of the current test.
check() {
    local description=$1
    shift
    if "$@"; then
        log "ok: $description"
    else
        log "FAILED: $description"
        E2E_CURRENT_OK=0
    fi
}

# Runs qmxdriver.exe; its output goes through a file, never a pipe that Wine could inherit.
drv() {
    wine "$E2E_DRIVER" "$@" >"$E2E_WORK/driver.out" 2>/dev/null </dev/null
    local rc=$?
    tr -d '\r' <"$E2E_WORK/driver.out"
    return $rc
}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Installs qmx.exe into a folder of its own: install_copy DIR
install_copy() {
    mkdir -p "$1"
    cp "$E2E_BUILD/qmx.exe" "$1/qmx.exe"
}

# Starts qmx.exe from DIR in the background and waits for its tray host window.
# Sets QMX_PID (Windows process id) and QMX_LINUX_PID.
# A copy started while Windows still lists the last one from the same folder ends at once (the
# single-instance guard), so a start after an ending waits until Windows has let the last one go;
# when Windows takes longer than that and the new copy ended itself for it, it starts once more.
# A copy that runs on without its tray host fails the start.
start_qmx() {
    local dir=$1 last=${QMX_PID:-} line
    for _ in 1 2; do
        if [ -n "$last" ] && ! linux_alive "${QMX_LINUX_PID:-0}"; then
            for _ in $(seq 150); do
                drv processes qmx.exe | grep -qx "$last" || break
                sleep 0.2
            done
        fi
        (cd "$dir" && exec wine qmx.exe) >/dev/null 2>&1 </dev/null &
        QMX_LINUX_PID=$!
        QMX_PID= QMX_HOST_PID=
        # A start on a loaded machine can take many seconds; a minute is a generous bound.
        line=$(drv wait-window --class QmxTrayHost --timeout 60 | tail -n 1)
        QMX_PID=$(sed -n 's/.* pid=\([0-9]*\) .*/\1/p' <<<"$line")
        [ -n "$QMX_PID" ] && return 0
        log "no tray host within 60 s; qmx.exe processes: $(drv processes qmx.exe | tr '\n' ' ')"
        linux_alive "$QMX_LINUX_PID" && return 1
    done
    return 1
}

linux_alive() { kill -0 "$1" 2>/dev/null && [ "$(awk '{print $3}' "/proc/$1/stat")" != Z ]; }

# Waits up to SECONDS for a Linux process to end.
wait_gone() {
    local pid=$1 seconds=${2:-10}
    for _ in $(seq $((seconds * 10))); do
        linux_alive "$pid" || return 0
        sleep 0.1
    done
    return 1
}

# CPU time of a Linux process in clock ticks (user + system).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Wine's tray window; nothing while it is hidden (Wine hides it while it holds no icon and shows
# it again for the first icon added).
tray_window() {
    drv windows --class __winex11_standalone_tray --visible 1 | head -n 1 | cut -d' ' -f1
}

# Whether the X server shows Wine's tray: clicks only reach its icons once it does.
tray_mapped() { xwininfo -name 'Wine System Tray' 2>/dev/null | grep -q 'IsViewable'; }

# The driver's lines of the icons in Wine's tray; nothing while the tray is hidden.
tray_icons() {
    local tray
    tray=$(tray_window)
    [ -z "$tray" ] || drv children "$tray" | grep 'class=__winex11_tray_icon'
}

tray_icon_count() { tray_icons | grep -c .; }

visible_windows_of() { drv windows --pid "$1" --visible 1 | grep -v 'class=IME' || true; }

# Counts the pixels of the screen area X Y W H whose colour lies in the given ranges:
# count_pixels X Y W H RMIN RMAX GMIN GMAX BMIN BMAX
count_pixels() {
    local shot="$E2E_WORK/screen-count.png"
    import -window root "$shot" 2>/dev/null
    convert "$shot" +repage -crop "$3x$4+$1+$2" +repage -depth 8 txt:- 2>/dev/null |
        awk -v r0="$5" -v r1="$6" -v g0="$7" -v g1="$8" -v b0="$9" -v b1="${10}" '
            NR > 1 { gsub(/[()]/, "", $2); split($2, c, ",");
                     if (c[1] >= r0 && c[1] <= r1 && c[2] >= g0 && c[2] <= g1 &&
                         c[3] >= b0 && c[3] <= b1) n++ }
            END { print n + 0 }'
}

# Makes the next Wine process report Windows XP (5.2, or 5.1 on 32-bit Windows), Windows 10 (10.0)
# or the default Windows 7 (6.1).
set_windows_version() {
    if [ "$1" = xp ] || [ "$1" = 10 ]; then
        local version=winxp64
        [ "$WINEARCH" = win32 ] && version=winxp  # 32-bit XP: NT 5.1
        [ "$1" = 10 ] && version=win10
        wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1 </dev/null
    else
        wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 </dev/null
    fi
}

# Ends every program in the prefix and starts its server afresh: a clean tray for the next test.
reset_wine() {
    QMX_HOST_PID=
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    (wineserver -p) >/dev/null 2>&1 </dev/null
    export ALSA_CONFIG_PATH="$E2E_ALSA_SOUND"
}

# Runs one test; E2E_TEST=PART runs only the tests whose names contain PART, and E2E_STORIES
# (names, one a line), when set, only those it names.
run_test() {
    local name=$1
    [ -n "${E2E_TEST:-}" ] && [[ $name != *"$E2E_TEST"* ]] && return 0
    [ -n "${E2E_STORIES:-}" ] && ! grep -qxF "$name" <<<"$E2E_STORIES" && return 0
    echo "  $name"
    E2E_CURRENT_OK=1
    "$name"
    if [ "$E2E_CURRENT_OK" = 1 ]; then
        E2E_PASSED=$((E2E_PASSED + 1))
    else
        E2E_FAILED=$((E2E_FAILED + 1))
        import -window root "$E2E_WORK/failed-$name.png" 2>/dev/null || true
    fi
    reset_wine
}

SETTINGS_KEY="HKCU\\Software\\Korwen's Software\\Velto Volume Controller\\4.0"

# What the settings key holds, as `reg query` lists it (nothing when the key is missing). Only its
# standard output: Wine's own tools now and then print a loader complaint on ending.
stored_settings() { wine reg query "$SETTINGS_KEY" 2>/dev/null </dev/null; }

# The per-user settings key, as installation leaves it: present and empty. A test that starts
# from the last one's settings tests nothing, so the key is looked at and reset again if need be.
reset_settings() {
    local stored
    for _ in 1 2 3; do
        wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 </dev/null
        wine reg add "$SETTINGS_KEY" /f >/dev/null 2>&1 </dev/null
        stored=$(stored_settings | tr -d '\r')
        # An empty key lists only its unset default value.
        grep -q . <<<"$stored" && ! grep -v '(Default)' <<<"$stored" | grep -q 'REG_' && return 0
        log "the settings key was not reset: $(tr '\n' ';' <<<"$stored")"
    done
    return 1
}

# set_setting NAME REG_DWORD|REG_SZ DATA
set_setting() {
    wine reg add "$SETTINGS_KEY" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1 </dev/null
}

# Prints a setting's data as `wine reg query` shows it, or nothing when absent.
setting() {
    wine reg query "$SETTINGS_KEY" /v "$1" >"$E2E_WORK/reg.out" 2>/dev/null </dev/null
    tr -d '\r' <"$E2E_WORK/reg.out" | awk -v name="$1" '$1 == name { print $3 }'
}

# Prints "x y w h" of the (first) tray icon; nothing when there is none.
tray_icon_rect() { rect_of "$(tray_icons | head -n 1)"; }

# Prints "x y" of the centre of the (first) tray icon; nothing when there is none.
tray_icon_center() {
    local x y w h
    read -r x y w h < <(tray_icon_rect)
    [ -n "$x" ] && echo "$((x + w / 2)) $((y + h / 2))"
}

# Clicks the program's tray icon: tray_click 1 (left) or 3 (right).
# A program just started may not have added its icon yet, or Wine not yet shown its tray again.
tray_click() {
    local center=
    for _ in $(seq 100); do
        center=$(tray_icon_center)
        [ -n "$center" ] && tray_mapped && break
        center=
        sleep 0.1
    done
    [ -n "$center" ] || return 1
    xdotool mousemove $center
    if [ "$1" = 3 ]; then
        xdotool windowfocus --sync "$(xdotool search --name 'Wine System Tray' | head -n 1)" 2>/dev/null
    fi
    xdotool click "$1"
}

# Prints "x y w h" of a window in screen pixels: window_rect LINE (a line of `drv windows`).
rect_of() { sed -n 's/.*rect=\([-0-9]*\),\([-0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' <<<"$1"; }

controller_line() { drv wait-window --class QmxController --visible 1 --timeout "${1:-5}" | head -n 1; }

# The program's child windows carry their control's id plus 100 (ids 1 and 2 are the dialog
# manager's OK and Cancel). child_id ID: the child window's id of a control.
child_id() { echo $(($1 + ${E2E_ID_BASE:-100})); }

# child_line HWND ID: the driver's line for one control's child window.
child_line() { drv children "$1" | grep "^id=$(child_id "$2") " | head -n 1; }

# child_text HWND ID: the text of one control's child window.
child_text() { drv child-text "$1" "$(child_id "$2")"; }

# click_control HWND ID: a left click in the middle of one control's child window.
click_control() {
    local x y w h
    read -r x y w h < <(rect_of "$(child_line "$1" "$2")")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# The resident memory of a Linux process in KB: rss_kb PID.
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }

# is_checked HWND ID: whether a check box shows checked.
is_checked() { drv checked "$1" "$(child_id "$2")" >/dev/null; }

# Waits until the program is back in its message loop: a message sent to its tray host is
# answered only after whatever it was handling has finished.
program_settled() {
    if [ "${QMX_HOST_PID:-}" != "$QMX_PID" ]; then  # the tray host of the program started last
        QMX_HOST=$(drv windows --class QmxTrayHost --pid "$QMX_PID" | cut -d' ' -f1)
        QMX_HOST_PID=$QMX_PID
    fi
    drv send "$QMX_HOST" 0 >/dev/null
}

# Waits until the program has handled the input given so far: a sent message is answered before
# the input queued with it, so a second one is answered after that input.
input_handled() { program_settled && program_settled; }

# Opens the controller with a left click; sets CONTROLLER (handle) and CX CY CW CH. Every click
# opens a new controller, so the one to use is a visible controller that was not there before,
# once the program has finished setting it up.
open_controller() {
    local before line
    before=$(drv windows --class QmxController --visible 1 | cut -d' ' -f1)
    if ! tray_click 1; then
        log "no tray icon to click within 10 s; the tray: $(tray_icons | tr '\n' ';')"
        return 1
    fi
    for _ in $(seq 25); do
        line=$(drv windows --class QmxController --visible 1 |
            awk -v old="$before" 'BEGIN { split(old, seen, "\n"); for (i in seen) was[seen[i]] = 1 }
                                  !($1 in was) { print; exit }')
        [ -n "$line" ] && break
        sleep 0.1
    done
    if [ -z "$line" ]; then
        log "no new controller; tray icon at $(tray_icon_rect); the program's windows:" \
            "$(drv windows --pid "$QMX_PID" | tr '\n' ';')"
        return 1
    fi
    if ! program_settled; then
        log "the program did not answer after the controller opened"
        return 1
    fi
    CONTROLLER=${line%% *}
    read -r CX CY CW CH < <(rect_of "$line")
    CONTROLLER_LINE=$line
}

# Screen position of a point given in the open controller's own pixels.
at() { echo "$((CX + $1)) $((CY + $2))"; }

# The knob's top in the controller's pixels.
knob_top() {
    local x y w h
    read -r x y w h < <(rect_of "$(child_line "$CONTROLLER" 4)")
    echo $((y - CY))
}

# Where the knob's top rests for a volume percent, in pixels at 96 DPI.
expected_knob_top() {
    awk -v p="$1" 'BEGIN { t = (100 - p) * 13.8 + 470; printf "%d", t / 15 + 0.5 }'
}

# Grabs the knob in its middle and pulls it down by PIXELS (up when negative) in small steps.
drag_knob() {
    local x y top
    top=$(knob_top)
    read -r x y < <(at 51 $((top + 9)))
    xdotool mousemove "$x" "$y" mousedown 1
    for step in $(seq 1 8); do
        xdotool mousemove "$x" $((y + step * $1 / 8))
        sleep 0.05  # a hand's pace
    done
    xdotool mouseup 1
    input_handled
}

# The sound device writes what it plays to a file: record_sound FILE (until reset_wine).
record_sound() {
    printf 'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\nctl.!default { type hw card 0 }\n' \
        "$1" >"$E2E_WORK/asoundrc-record"
    { cat /usr/share/alsa/alsa.conf; echo "<$E2E_WORK/asoundrc-record>"; } >"$E2E_WORK/alsa-record.conf"
    export ALSA_CONFIG_PATH="$E2E_WORK/alsa-record.conf"
}

played_bytes() { stat -c %s "$1" 2>/dev/null || echo 0; }

# holds 'SHELL CONDITION': for checks that combine several tests.
holds() { eval "$1"; }

# answer_message [SECONDS]: waits up to SECONDS (5) for the program's message box, logs its text
# into the output and MESSAGE, and presses OK. False when no message came.
answer_message() {
    local box
    MESSAGE=
    box=$(drv wait-window --class '#32770' --pid "$QMX_PID" --visible 1 --timeout "${1:-5}" |
        head -n 1)
    [ -n "$box" ] || return 1
    MESSAGE=$(drv child-text "${box%% *}" 65535)
    log "message: $MESSAGE"
    drv press-ok "${box%% *}" >/dev/null
}

# Counts the check-mark pixels (dark, in the left margin) of a menu window given by its line of
# `drv windows`: prints "count meanY height".
menu_marks() {
    local x y w h
    read -r x y w h < <(rect_of "$1")
    [ -n "$x" ] || { echo "0 0 0"; return; }
    import -window root "$E2E_WORK/menu.png" 2>/dev/null
    convert "$E2E_WORK/menu.png" +repage -crop "16x$((h - 4))+$((x + 2))+$((y + 2))" +repage \
        -depth 8 txt:- | awk -v h="$h" '
        NR > 1 { split($1, p, "[,:]"); gsub(/[()]/, "", $2); split($2, c, ",");
                 if (c[1] < 90 && c[2] < 90 && c[3] < 90) { n++; sy += p[2] } }
        END { printf "%d %d %d\n", n, n ? sy / n : 0, h }'
}

menus() { drv windows --class '#32768' --visible 1; }

# Opens the tray menu; sets MENU_LINE and MX MY MW MH. A menu that closes at once (the tray
# window had not got the X focus yet) is opened once more.
open_menu() {
    tray_click 3
    if ! drv wait-window --class '#32768' --visible 1 --timeout 5 >/dev/null; then
        tray_click 3
        drv wait-window --class '#32768' --visible 1 --timeout 5 >/dev/null || return 1
    fi
    program_settled  # the menu's own loop answers: it takes clicks and keys
    MENU_LINE=$(menus | head -n 1)
    read -r MX MY MW MH < <(rect_of "$MENU_LINE")
}

# Closes any open menu with a click beside it.
close_menu() {
    xdotool mousemove 600 300 click 1
    wait_until '[ -z "$(menus)" ]' 10 "the menu to close"
}

# Clicks a check box of a window until it shows checked (the first click can reach a window
# that is still becoming active): check_box WINDOW ID
check_box() {
    local x y w h box=$1 id=$2
    for _ in 1 2 3; do
        read -r x y w h < <(rect_of "$(child_line "$1" "$2")")
        xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
        within 2 'is_checked "$box" "$id"' && return 0
    done
    return 1
}

RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

# Rows of the menu, in pixels below its top edge at 96 DPI.
# With Core Audio the Playback Device submenu stands after Keep Controller on Top's separator.
declare -A MENU_ROW=([About]=11 [Skin]=36 [Options]=52 [TestSound]=77 [OnTop]=93 [PlaybackDevice]=118 [Close]=184)

# choose ITEM: opens the tray menu and picks an item (a MENU_ROW name, Vista or Classic).
choose() {
    check "the popup menu opens" open_menu
    if [ "$1" = Vista ] || [ "$1" = Classic ]; then
        xdotool mousemove $((MX + 40)) $((MY + MENU_ROW[Skin]))
        local submenu sx sy sw sh
        wait_until 'submenu=$(menus | grep -v "^${MENU_LINE%% *} " | head -n 1); [ -n "$submenu" ]' \
            10 "the Skin submenu"
        read -r sx sy sw sh < <(rect_of "$submenu")
        local row=11
        [ "$1" = Classic ] && row=27
        xdotool mousemove $((sx + 20)) $((sy + row))
    else
        xdotool mousemove $((MX + 40)) $((MY + MENU_ROW[$1]))
    fi
    # A menu closes as soon as it takes a click on an item: one still open after a few seconds
    # (a loaded machine may lose the click) is clicked once more.
    xdotool click 1
    within 3 '[ -z "$(menus)" ]' || xdotool click 1
    menu_chosen
}

# Waits until the menu has closed and the item chosen has run (or opened its window): the
# program runs it as the menu closes, before it answers a message again.
menu_chosen() { wait_until '[ -z "$(menus)" ]' 10 "the menu to close" && program_settled; }

# run_entry [KEY]: the start-at-logon entry's data in a Run key (the machine-wide one unless
# KEY names another), or nothing.
run_entry() {
    wine reg query "${1:-$RUN_KEY}" /v 'Velto Volume Controller 4.0' >"$E2E_WORK/run.out" 2>/dev/null </dev/null
    tr -d '\r' <"$E2E_WORK/run.out" | sed -n 's/.*REG_SZ[[:space:]]*//p'
}
USER_RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
user_run_entry() { run_entry "$USER_RUN_KEY"; }

# Removes the start-at-logon entries, the machine-wide one and the user's.
forget_run_entry() {
    local key
    for key in "$RUN_KEY" "$USER_RUN_KEY"; do
        wine reg delete "$key" /v 'Velto Volume Controller 4.0' /f >/dev/null 2>&1 </dev/null
    done
}

# The driver's line for the open Options dialog, or nothing.
options_dialog() { drv windows --class QmxDialog --pid "$QMX_PID" --visible 1 | head -n 1; }

# Chooses Close from the tray menu and waits for the program to end.
close_from_menu() {
    open_menu || return 1
    xdotool mousemove $((MX + 40)) $((MY + MH - 11)) click 1
    wait_gone "$QMX_LINUX_PID" 30
}

# Red pixels in the program's tray icon: the muted picture has many.
tray_red_pixels() {
    local x y w h
    read -r x y w h < <(tray_icon_rect)
    count_pixels "$x" "$y" "$w" "$h" 180 255 0 90 0 90
}

# The controller is layered (fading) and still a tool window, out of Alt+Tab.
layered() {
    local line
    line=$(drv windows --class QmxController --visible 1 | head -n 1)
    [ -n "$line" ] &&
        [ $(($(sed -n 's/.*exstyle=\(0x[0-9a-f]*\).*/\1/p' <<<"$line") & 0x80080)) = $((0x80080)) ]
}

controller_gone() { [ -z "$(drv windows --class QmxController | head -n 1)" ]; }
