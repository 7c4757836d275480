#pragma once

#include <windows.h>

#include <map>

#include "win32/system/unique_handle.h"

namespace qmx::win32 {

// The pointing-hand cursor at each resolution, made from its two one-bit planes in the resources
// when a window at that resolution first shows it.
class CursorStore {
public:
    explicit CursorStore(HINSTANCE instance) : instance_(instance) {}
    HCURSOR hand(int dpi) const;

private:
    HINSTANCE instance_;
    mutable std::map<int, UniqueCursor> hands_;  // by pixel size; empty where none could be made
};

}  // namespace qmx::win32
