#include "win32/gui/accessibility.h"

// The annotation property ids are defined here, once.
#include <initguid.h>
// clang-format off
#include <oleacc.h>
// clang-format on

#include "win32/system/unique_handle.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

namespace {
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
    Annotation& slider = annotations_[control];
    slider.slider = true;
    slider.name = name;
    slider.value = value;
    if (clientsAsked_) annotate(control, slider);
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void Accessibility::name(HWND control, std::string_view name) {
    if (control == nullptr) return;
    Annotation& named = annotations_[control];
    named.name = name;
    if (clientsAsked_) annotate(control, named);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void Accessibility::clientAsked(HWND control) {
    clientsAsked_ = true;
    auto it = annotations_.find(control);
    if (it != annotations_.end() && !it->second.annotated) annotate(control, it->second);
}

void Accessibility::forget(HWND control) {
    auto it = annotations_.find(control);
    if (it == annotations_.end()) return;
    if (it->second.annotated && services_ && !services_->unavailable) {
        services_->annotation->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, kAnnotated,
                                              static_cast<int>(std::size(kAnnotated)));
    }
    annotations_.erase(it);
}

void Accessibility::annotate(HWND control, Annotation& annotated) {
    if (!services_) {
        services_ = std::make_unique<Services>();
        services_->unavailable =
            FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, services_->annotation.putVoid()));
    }
    if (services_->unavailable) return;
    IAccPropServices& annotation = *services_->annotation.get();
    annotation.SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                              widen(annotated.name).c_str());
    if (annotated.slider) {
        VARIANT role;
        VariantInit(&role);
        role.vt = VT_I4;
        role.lVal = ROLE_SYSTEM_SLIDER;
        annotation.SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, role);
        annotation.SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_VALUE,
                                  widen(annotated.value).c_str());
    }
    annotated.annotated = true;
}

}  // namespace qmx::win32
