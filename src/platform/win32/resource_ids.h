#pragma once

// Resource identifiers shared by the resource script and the code.
#define QMX_ICON_APP 101
#define QMX_ICON_TRAY_NORMAL 102
#define QMX_ICON_TRAY_MUTED 103
