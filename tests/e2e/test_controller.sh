#!/usr/bin/env bash
# The controller window as a user sees it: opened from the tray icon in the stored skin, placed
# above the work area's corner, rounded, showing the volume; the tray menu with its marks.

CONTROLLER_DIR="$E2E_WORK/Program Files/Velto Volume Controller"

test_a_left_click_opens_the_controller_at_home_showing_the_volume() {
    reset_settings
    check "qmx.exe starts" start_qmx "$CONTROLLER_DIR"
    check "a left click on the tray icon opens the controller" open_controller
    local left top right bottom
    read -r left top right bottom < <(drv workarea)
    log "work area $left,$top-$right,$bottom; controller at $CX,$CY size ${CW}x$CH"
    check "its top-left corner is 150 and 190 pixels from the work area's corner" \
        [ "$CX,$CY" = "$((right - 150)),$((bottom - 190))" ]
    local region
    region=$(drv region "$CONTROLLER")
    log "region: $region"
    check "its region is 67 x 186" grep -q 'box=0,0,67,186' <<<"$region"
    check "its region has rounded corners" grep -q 'corner=0 centre=1' <<<"$region"
    local percent knob kx ky kw kh expected
    percent=$(child_text "$CONTROLLER" 3)
    knob=$(child_line "$CONTROLLER" 4)
    read -r kx ky kw kh < <(rect_of "$knob")
    expected=$(awk -v p="$percent" 'BEGIN { t = (100 - p) * 13.8 + 470; printf "%d", t / 15 + 0.5 }')
    log "label '$percent', knob top $((ky - CY)) px (expected $expected)"
    check "the label shows a volume percent" grep -Eq '^[0-9]{1,3}$' <<<"$percent"
    check "the knob stands at the percent's place" [ "$((ky - CY))" = "$expected" ]
    check "the knob is 15 x 19" [ "${kw}x$kh" = 15x19 ]
    check "the controller is not topmost" [ $(( $(sed -n 's/.*exstyle=\(0x[0-9a-f]*\).*/\1/p' <<<"$CONTROLLER_LINE") & 0x8 )) = 0 ]
    check "the mute box carries its state" grep -q 'class=Button' <<<"$(child_line "$CONTROLLER" 6)"
    check "the tooltip texts name the picture buttons" \
        [ "$(child_text "$CONTROLLER" 1)" = "Open Volume Control / Mixture" ]
}

# expect_skin SKIN_SETTING_OR_EMPTY vista|classic
expect_skin() {
    reset_settings
    [ -n "$1" ] && set_setting skin REG_SZ "$1"
    check "qmx.exe starts" start_qmx "$CONTROLLER_DIR"
    check "the controller opens" open_controller
    local vista classic mute expected_top
    vista=$(child_line "$CONTROLLER" 7)
    classic=$(child_line "$CONTROLLER" 8)
    mute=$(child_line "$CONTROLLER" 6)
    local mx my mw mh
    read -r mx my mw mh < <(rect_of "$mute")
    if [ "$2" = vista ]; then
        check "the Vista close button shows" grep -q 'visible=1' <<<"$vista"
        check "the Classic close button is hidden" grep -q 'visible=0' <<<"$classic"
        expected_top=148
    else
        check "the Classic close button shows" grep -q 'visible=1' <<<"$classic"
        check "the Vista close button is hidden" grep -q 'visible=0' <<<"$vista"
        expected_top=150
    fi
    check "the mute box sits at its skin's top" [ "$((my - CY))" = "$expected_top" ]
    import -window root "$E2E_WORK/controller-$2.png"
    convert "$E2E_WORK/controller-$2.png" +repage -crop "${CW}x${CH}+$CX+$CY" +repage \
        "$E2E_WORK/controller-$2.png"
}

test_the_vista_skin_is_stored_as_vista() { expect_skin vista vista; }
test_the_classic_skin_is_the_default() { expect_skin "" classic; }
test_a_capitalised_vista_is_classic() { expect_skin Vista classic; }

test_keep_on_top_makes_the_controller_topmost() {
    reset_settings
    set_setting ontopstat REG_DWORD 1
    check "qmx.exe starts" start_qmx "$CONTROLLER_DIR"
    check "the controller opens" open_controller
    check "the controller is topmost" \
        [ $(( $(sed -n 's/.*exstyle=\(0x[0-9a-f]*\).*/\1/p' <<<"$CONTROLLER_LINE") & 0x8 )) = 8 ]
}

# shoot_controller FILE: the open controller's pixels; DESKTOP becomes the colour beside it.
shoot_controller() {
    import -window root "$1"
    DESKTOP=$(pixel_colours "$1" "$((CX - 3)),$((CY + CH / 2))")
    convert "$1" +repage -crop "${CW}x${CH}+$CX+$CY" +repage "$1"
}

# pixel_colours FILE X,Y...: "r,g,b" of each point.
pixel_colours() {
    local file=$1 point
    shift
    for point in "$@"; do
        convert "$file" -crop "1x1+${point%,*}+${point#*,}" -depth 8 txt:- |
            sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
    done
}

# differing_pixels A B: how many pixels of two pictures of one size differ by more than 5%.
differing_pixels() { compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# side_at PIXELS DPI: a side of PIXELS at 96 DPI at another resolution, halves to the even one.
side_at() {
    local q=$(($1 * $2 / 96)) r=$(($1 * $2 % 96))
    if [ $((2 * r)) -gt 96 ] || { [ $((2 * r)) = 96 ] && [ $((q % 2)) = 1 ]; }; then q=$((q + 1)); fi
    echo "$q"
}

# skin_as_drawn PICTURE W H OUT: a skin picture on the controller's white, stretched to its window
# as the program stretches it.
skin_as_drawn() {
    convert "$1" -background white -alpha remove -alpha off -filter Point -resize "$2x$3!" "$4"
}

# expect_crisp DPI SKIN: the controller in SKIN at DPI against its skin rendered for DPI (the
# nearest larger rendering, scaled down smoothly, between the rendered scales) and against the
# 96-DPI skin enlarged by repeating pixels; its corners.
expect_crisp() {
    local dpi=$1 skin=$2 shot="$E2E_WORK/controller-${1}dpi-$2.png"
    local art="$E2E_BUILD/src/win32/assets" scale=200
    set_setting skin REG_SZ "$skin"
    check "the controller opens in the $skin skin at $dpi DPI" open_controller
    shoot_controller "$shot"
    # 150 % is drawn from 300 % at exactly half.
    case $dpi in 144 | 288) scale=300 ;; esac
    convert "$art/${skin}_skin@$scale.png" -filter Box \
        -resize "$(side_at 66 "$dpi")x$(side_at 186 "$dpi")!" "$E2E_WORK/own.png"
    skin_as_drawn "$E2E_WORK/own.png" "$CW" "$CH" "$E2E_WORK/own.png"
    skin_as_drawn "$art/${skin}_skin.png" "$CW" "$CH" "$E2E_WORK/repeated.png"
    local own repeated
    own=$(differing_pixels "$shot" "$E2E_WORK/own.png")
    repeated=$(differing_pixels "$shot" "$E2E_WORK/repeated.png")
    log "$skin at $dpi DPI: $own pixels differ from its own rendering, $repeated from the 96-DPI one enlarged"
    check "the $skin skin at $dpi DPI is drawn for it, not enlarged by repeating pixels" \
        [ "$own" -lt "$repeated" ]
    if [ "$dpi" -gt 192 ]; then
        # Nor the 200 % rendering enlarged smoothly, which is soft beside every other window.
        convert "$art/${skin}_skin@200.png" -filter Triangle \
            -resize "$(side_at 66 "$dpi")x$(side_at 186 "$dpi")!" "$E2E_WORK/soft.png"
        skin_as_drawn "$E2E_WORK/soft.png" "$CW" "$CH" "$E2E_WORK/soft.png"
        local soft
        soft=$(differing_pixels "$shot" "$E2E_WORK/soft.png")
        log "$skin at $dpi DPI: $soft pixels differ from the 200 % rendering enlarged"
        check "the $skin skin at $dpi DPI is its own rendering, not the 200 % one enlarged" \
            [ "$own" -lt "$soft" ]
    fi
    # The corner pixels outside the rounded frame show the desktop.
    local corners
    corners=$(pixel_colours "$shot" 0,0 1,0 0,1 $((CW - 1)),0 $((CW - 2)),0 $((CW - 1)),1 \
        0,$((CH - 1)) 1,$((CH - 1)) 0,$((CH - 2)) $((CW - 1)),$((CH - 1)) \
        $((CW - 2)),$((CH - 1)) $((CW - 1)),$((CH - 2)) | sort -u | tr '\n' ' ')
    log "corner pixels: $corners(desktop $DESKTOP)"
    check "the $skin skin's corners at $dpi DPI show the desktop" [ "$corners" = "$DESKTOP " ]
    # Within the frame's rounded corners nothing light shows: not the window's white beside the
    # picture's rounded edge, nor the picture beside the window's.
    local n light
    n=$(side_at 5 "$dpi")
    light=$(convert "$shot" \( +clone -crop "${n}x$n+0+0" \) \( -clone 0 -crop "${n}x$n+$((CW - n))+0" \) \
        \( -clone 0 -crop "${n}x$n+0+$((CH - n))" \) \( -clone 0 -crop "${n}x$n+$((CW - n))+$((CH - n))" \) \
        -delete 0 +repage -append -depth 8 txt:- |
        awk 'NR > 1 { gsub(/[()]/, "", $2); split($2, c, ",");
                      if (c[1] >= 224 && c[2] >= 224 && c[3] >= 224) n++ } END { print n + 0 }')
    log "light pixels in the ${n}-pixel corners: $light"
    check "no light pixel shows in the $skin skin's corners at $dpi DPI" [ "$light" = 0 ]
}

# The controller's size, shape, knob and pictures at a resolution:
# expect_scaled DPI "W H" "KNOB_W KNOB_H"
expect_scaled() {
    local dpi=$1 size=$2 knob=$3
    reset_settings
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1 </dev/null
    check "qmx.exe starts at $dpi DPI" start_qmx "$CONTROLLER_DIR"
    check "the controller opens" open_controller
    local region x y w h
    region=$(drv region "$CONTROLLER")
    log "region at $dpi DPI: $region"
    check "its region is ${size/ / x }" grep -q "box=0,0,${size/ /,}" <<<"$region"
    check "the window is ${size/ / x }" [ "$CW $CH" = "$size" ]
    read -r x y w h < <(rect_of "$(child_line "$CONTROLLER" 4)")
    check "the knob is ${knob/ / x }" [ "$w $h" = "$knob" ]
    local left top right bottom
    read -r left top right bottom < <(drv workarea)
    check "it still ends above the work area's bottom edge" [ $((CY + CH)) -le "$bottom" ]
    expect_crisp "$dpi" classic
    expect_crisp "$dpi" vista
    reset_wine  # the next resolution needs a new start
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f \
        >/dev/null 2>&1 </dev/null
}

test_the_controller_is_drawn_for_120_144_192_and_288_dpi() {
    expect_scaled 120 "84 232" "19 24"
    expect_scaled 144 "100 279" "22 28"
    expect_scaled 192 "134 372" "30 38"
    expect_scaled 288 "201 558" "45 57"
}

# expect_marks ONTOP SKIN: opens the menu and its Skin submenu and checks their marks.
expect_marks() {
    check "the popup menu opens" open_menu
    local count mean height
    read -r count mean height < <(menu_marks "$MENU_LINE")
    log "marks in the menu: $count pixels around y $mean of $height"
    if [ "$1" = 1 ]; then
        check "Keep Controller on Top is checked" [ "$count" -gt 4 ]
    else
        check "Keep Controller on Top is not checked" [ "$count" -lt 4 ]
    fi
    # Resting on "Skin", the third row, opens the submenu.
    xdotool mousemove $((MX + 40)) $((MY + 36))
    wait_until '[ "$(menus | wc -l)" = 2 ]' 10 "the Skin submenu"
    local submenu
    submenu=$(menus | grep -v "^${MENU_LINE%% *} " | head -n 1)
    check "the Skin submenu opens" [ -n "$submenu" ]
    [ "$2" = vista ] && [ "$1" = 1 ] && import -window root "$E2E_WORK/menu-screen.png"
    read -r count mean height < <(menu_marks "$submenu")
    log "marks in the Skin submenu: $count pixels around y $mean of $height"
    if [ "$2" = vista ]; then
        check "Vista is checked" holds '[ "$count" -gt 4 ] && [ "$mean" -lt $((height / 2)) ]'
    else
        check "Classic is checked" holds '[ "$count" -gt 4 ] && [ "$mean" -ge $((height / 2)) ]'
    fi
    close_menu
}

test_the_menu_marks_follow_the_registry() {
    reset_settings
    check "qmx.exe starts" start_qmx "$CONTROLLER_DIR"
    expect_marks 0 classic
    set_setting ontopstat REG_DWORD 1
    set_setting skin REG_SZ vista
    expect_marks 1 vista
    set_setting ontopstat REG_DWORD 0
    expect_marks 0 vista
}

test_close_from_the_menu_ends_the_program() {
    reset_settings
    check "qmx.exe starts" start_qmx "$CONTROLLER_DIR"
    check "the popup menu opens" open_menu
    # The last row, the default item.
    xdotool mousemove $((MX + 40)) $((MY + MH - 11)) click 1
    check "choosing Close Velto Volume Controller ends the program" wait_gone "$QMX_LINUX_PID" 10
    check "its tray icon is gone" [ "$(tray_icon_count)" = 0 ]
}

install_copy "$CONTROLLER_DIR"
for test in test_a_left_click_opens_the_controller_at_home_showing_the_volume \
    test_the_vista_skin_is_stored_as_vista test_the_classic_skin_is_the_default \
    test_a_capitalised_vista_is_classic test_keep_on_top_makes_the_controller_topmost \
    test_the_controller_is_drawn_for_120_144_192_and_288_dpi test_the_menu_marks_follow_the_registry \
    test_close_from_the_menu_ends_the_program; do
    run_test "$test"
done
