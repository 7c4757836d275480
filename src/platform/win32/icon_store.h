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

    HICON small(platform::IconId icon) const;
    HICON large(platform::IconId icon) const;
    HICON applicationIcon() const { return appLarge_.get(); }
    HICON applicationSmallIcon() const { return appSmall_.get(); }

private:
    UniqueIcon normalSmall_, normalLarge_, mutedSmall_, mutedLarge_, appSmall_, appLarge_;
};

}  // namespace qmx::win32
