#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"
#include "platform/window_system.h"

namespace qmx::win32 {

// The program's icons, loaded once and kept for the life of the program, so that showing an
// icon again (ten times a second for the tray) makes nothing new.
class IconStore {
public:
    explicit IconStore(HINSTANCE instance);

    HICON small(platform::IconId icon) const { return sizes(icon).small.get(); }
    HICON large(platform::IconId icon) const { return sizes(icon).large.get(); }
    HICON applicationIcon() const { return application_.large.get(); }

private:
    struct Sizes {
        UniqueIcon small;  // for the notification area and title bars
        UniqueIcon large;
    };
    const Sizes& sizes(platform::IconId icon) const;

    Sizes normal_, muted_, application_, none_;
};

}  // namespace qmx::win32
