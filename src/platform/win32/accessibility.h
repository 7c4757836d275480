#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

namespace qmx::win32 {

// Screen readers' view of a plain child window, through the system's direct annotation: role,
// name and value, and the event that tells them the value changed. Needs COM on this thread.
class Accessibility {
public:
    Accessibility();
    ~Accessibility();
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;

    void announceSlider(HWND control, std::string_view name, std::string_view value);

private:
    struct Services;
    std::unique_ptr<Services> services_;  // made on first use
};

}  // namespace qmx::win32
