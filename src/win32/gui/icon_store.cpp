#include "win32/gui/icon_store.h"

#include <utility>

#include "win32/gui/dpi.h"
#include "win32/gui/resource_ids.h"

namespace qmx::win32 {

namespace {
HICON loadIcon(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
}  // namespace

IconStore::IconStore(HINSTANCE instance) : instance_(instance) {
    setFor(systemDpi());
}

HICON IconStore::applicationIcon() const {
    return setFor(systemDpi()).application.large.get();
}

const IconStore::Set& IconStore::setFor(int dpi) const {
    auto [it, added] = sets_.try_emplace(dpi);
    if (!added) return it->second;
    Set& set = it->second;
    const int small = systemMetric(SM_CXSMICON, dpi);
    const int large = systemMetric(SM_CXICON, dpi);
    for (auto [sizes, id] : {std::pair{&set.normal, QMX_ICON_TRAY_NORMAL},
                             {&set.muted, QMX_ICON_TRAY_MUTED},
                             {&set.application, QMX_ICON_APP}}) {
        sizes->small.reset(loadIcon(instance_, id, small));
        sizes->large.reset(loadIcon(instance_, id, large));
    }
    return set;
}

const IconStore::Sizes& IconStore::sizes(platform::IconId icon, int dpi) const {
    const Set& set = setFor(dpi);
    switch (icon) {
        case platform::IconId::TrayNormal:
            return set.normal;
        case platform::IconId::TrayMuted:
            return set.muted;
        case platform::IconId::None:
            break;
    }
    return set.none;
}

}  // namespace qmx::win32
