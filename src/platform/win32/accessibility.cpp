#include "platform/win32/accessibility.h"

// The annotation property ids are defined here, once.
#include <initguid.h>
// clang-format off
#include <oleacc.h>
// clang-format on

#include <string>

#include "platform/win32/unique_handle.h"

namespace qmx::win32 {

struct Accessibility::Services {
    ComPtr<IAccPropServices> annotation;
    bool unavailable = false;
};

Accessibility::Accessibility() = default;

Accessibility::~Accessibility() = default;

namespace {
std::wstring widen(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}
}  // namespace

void Accessibility::announceSlider(HWND control, std::string_view name, std::string_view value) {
    if (control == nullptr) return;
    if (services_ == nullptr) {
        services_ = std::make_unique<Services>();
        services_->unavailable =
            FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, services_->annotation.putVoid()));
    }
    if (!services_->unavailable) {
        IAccPropServices& annotation = *services_->annotation.get();
        VARIANT role;
        VariantInit(&role);
        role.vt = VT_I4;
        role.lVal = ROLE_SYSTEM_SLIDER;
        annotation.SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, role);
        annotation.SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                  widen(name).c_str());
        annotation.SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_VALUE,
                                  widen(value).c_str());
    }
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace qmx::win32
