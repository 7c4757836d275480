#pragma once

#include <windows.h>

#include <map>

#include "platform/window_events.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

// The program's icons, loaded once for each resolution they are asked for and kept for the life
// of the program, so that showing an icon again (ten times a second for the tray) makes nothing
// new, and a window or the shell never holds an icon that is gone.
class IconStore {
public:
    explicit IconStore(HINSTANCE instance);

    // For the notification area and title bars, and the large one, in the sizes for `dpi`.
    HICON small(platform::IconId icon, int dpi) const { return sizes(icon, dpi).small.get(); }
    HICON large(platform::IconId icon, int dpi) const { return sizes(icon, dpi).large.get(); }
    // At the system's resolution, for window classes.
    HICON applicationIcon() const;

private:
    struct Sizes {
        UniqueIcon small;
        UniqueIcon large;
    };
    struct Set {
        Sizes normal, muted, application, none;
    };
    const Sizes& sizes(platform::IconId icon, int dpi) const;
    const Set& setFor(int dpi) const;

    HINSTANCE instance_;
    mutable std::map<int, Set> sets_;
};

}  // namespace qmx::win32
