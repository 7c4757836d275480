#pragma once

// Resource identifiers shared by the resource script and the code.
#define QMX_ICON_APP 101
#define QMX_ICON_TRAY_NORMAL 102
#define QMX_ICON_TRAY_MUTED 103

// Pictures: PNG (or JPEG) files, each rendered at 100, 200 and 300 percent; a picture's
// resource at a scale is its 100-percent identifier plus QMX_PICTURE_SCALE_STEP for 200 and twice
// that for 300 percent.
#define QMX_PICTURE_VISTA_SKIN 201
#define QMX_PICTURE_CLASSIC_SKIN 202
#define QMX_PICTURE_KNOB 203
#define QMX_PICTURE_VISTA_CLOSE 204
#define QMX_PICTURE_VISTA_CLOSE_HOT 205
#define QMX_PICTURE_CLASSIC_CLOSE 206
#define QMX_PICTURE_ABOUT_BACKGROUND 207
#define QMX_PICTURE_ABOUT_LOGO 208
#define QMX_PICTURE_SCALE_STEP 20

// The hand pointer's AND and XOR planes, SIZE x SIZE one-bit pixels each, at the sizes 32, 40,
// 48, 56, 64, 80 and 96: identifiers QMX_CURSOR_HAND_AND + SIZE and QMX_CURSOR_HAND_XOR + SIZE.
#define QMX_CURSOR_HAND_AND 500
#define QMX_CURSOR_HAND_XOR 600
