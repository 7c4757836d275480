#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace qmx::win32 {

// Screen readers' view of a plain child window, through the system's direct annotation: role,
// name and value, and the event that tells them the value changed. The annotation service is
// loaded only once an accessibility client asks a window of the program for its object, and a
// control's annotations are cleared when the control goes. Needs COM on this thread.
class Accessibility {
public:
    Accessibility();
    ~Accessibility();
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;

    void announceSlider(HWND control, std::string_view name, std::string_view value);
    // The name spoken for a control of the system's own kind (its role stays the system's).
    void name(HWND control, std::string_view name);
    // An accessibility client asked `control` for its object (WM_GETOBJECT).
    void clientAsked(HWND control);
    // The control is being destroyed.
    void forget(HWND control);

private:
    struct Services;
    struct Annotation {
        bool slider = false;  // else only the name is annotated
        std::string name;
        std::string value;
        bool annotated = false;
    };
    void annotate(HWND control, Annotation& annotated);

    std::map<HWND, Annotation> annotations_;
    bool clientsAsked_ = false;
    std::unique_ptr<Services> services_;  // made when a client first asks
};

}  // namespace qmx::win32
