#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace qmx::win32 {

struct CursorTraits {
    using Handle = HCURSOR;
    static void close(HCURSOR h) { DestroyCursor(h); }
};
using UniqueCursor = UniqueHandle<CursorTraits>;

// The pointing-hand cursor, made once from its two one-bit planes in the resources.
class CursorStore {
public:
    explicit CursorStore(HINSTANCE instance);
    HCURSOR hand() const { return hand_ ? hand_.get() : LoadCursorA(nullptr, IDC_ARROW); }

private:
    UniqueCursor hand_;
};

}  // namespace qmx::win32
