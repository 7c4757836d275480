#pragma once

// Resource identifiers shared by the resource script and the code.
#define QMX_ICON_APP 101
#define QMX_ICON_TRAY_NORMAL 102
#define QMX_ICON_TRAY_MUTED 103

// Pictures: raw 8-bit RGBA pixels, rows from the top.
#define QMX_PICTURE_VISTA_SKIN 201
#define QMX_PICTURE_CLASSIC_SKIN 202
#define QMX_PICTURE_KNOB 203
#define QMX_PICTURE_VISTA_CLOSE 204
#define QMX_PICTURE_VISTA_CLOSE_HOT 205
#define QMX_PICTURE_CLASSIC_CLOSE 206
#define QMX_PICTURE_ABOUT_BACKGROUND 207
#define QMX_PICTURE_ABOUT_LOGO 208

// The hand pointer's AND and XOR planes, 32 x 32 one-bit pixels each.
#define QMX_CURSOR_HAND_AND 301
#define QMX_CURSOR_HAND_XOR 302
