#include "platform/win32/accessibility.h"

// The annotation property ids are defined here, once.
#include <initguid.h>
// clang-format off
#include <oleacc.h>
// clang-format on

#include "platform/win32/unique_handle.h"

namespace qmx::win32 {

namespace {
std::wstring widen(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}

constexpr MSAAPROPID kAnnotated[] = {PROPID_ACC_ROLE, PROPID_ACC_NAME, PROPID_ACC_VALUE};
}  // namespace

struct Accessibility::Services {
    ComPtr<IAccPropServices> annotation;
    bool unavailable = false;
};

Accessibility::Accessibility() = default;

Accessibility::~Accessibility() = default;

void Accessibility::announceSlider(HWND control, std::string_view name, std::string_view value) {
    if (control == nullptr) return;
    Slider& slider = sliders_[control];
    slider.name = name;
    slider.value = value;
    if (clientsAsked_) annotate(control, slider);
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void Accessibility::clientAsked(HWND control) {
    clientsAsked_ = true;
    auto it = sliders_.find(control);
    if (it != sliders_.end() && !it->second.annotated) annotate(control, it->second);
}

void Accessibility::forget(HWND control) {
    auto it = sliders_.find(control);
    if (it == sliders_.end()) return;
    if (it->second.annotated && services_ && !services_->unavailable) {
        services_->annotation->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, kAnnotated,
                                              static_cast<int>(std::size(kAnnotated)));
    }
    sliders_.erase(it);
}

void Accessibility::annotate(HWND control, Slider& slider) {
    if (!services_) {
        services_ = std::make_unique<Services>();
        services_->unavailable =
            FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, services_->annotation.putVoid()));
    }
    if (services_->unavailable) return;
    IAccPropServices& annotation = *services_->annotation.get();
    VARIANT role;
    VariantInit(&role);
    role.vt = VT_I4;
    role.lVal = ROLE_SYSTEM_SLIDER;
    annotation.SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, role);
    annotation.SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                              widen(slider.name).c_str());
    annotation.SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_VALUE,
                              widen(slider.value).c_str());
    slider.annotated = true;
}

}  // namespace qmx::win32
