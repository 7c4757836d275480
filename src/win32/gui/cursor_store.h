#pragma once

#include <windows.h>

#include "win32/system/unique_handle.h"

namespace qmx::win32 {

// The pointing-hand cursor, made once from its two one-bit planes in the resources.
class CursorStore {
public:
    explicit CursorStore(HINSTANCE instance);
    HCURSOR hand() const { return hand_ ? hand_.get() : LoadCursorA(nullptr, IDC_ARROW); }

private:
    UniqueCursor hand_;
};

}  // namespace qmx::win32
