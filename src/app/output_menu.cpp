#include "app/output_menu.h"

#include "common/device_name.h"

namespace qmx::app {

namespace {

using namespace resources::tray_menu;
constexpr std::size_t kMaxNameCharacters = 64;

}  // namespace

std::string OutputMenu::captionFor(const std::string& name) {
    if (showsNothing(name)) return kUnnamedOutputCaption;
    std::string caption;
    for (char c : cutToCharacters(printableName(name), kMaxNameCharacters)) {
        caption += c;
        if (c == '&') caption += '&';
    }
    return caption;
}

std::span<const resources::MenuItemDefinition> OutputMenu::build(
    std::span<const resources::MenuItemDefinition> base,
    std::vector<platform::OutputDevice> outputs, const std::string& defaultId,
    platform::MenuState& state) {
    outputs_ = std::move(outputs);
    captions_.clear();
    for (const auto& output : outputs_) captions_.push_back(captionFor(output.name));
    for (auto it = state.checked.begin(); it != state.checked.end();) {
        it = *it >= FirstOutput ? state.checked.erase(it) : std::next(it);
    }
    state.radio.clear();
    state.disabled.clear();

    items_.clear();
    for (std::size_t i = 0; i < base.size(); ++i) {
        items_.push_back(base[i]);
        const bool beforeSystemTools =
            base[i].id == 0 && i + 1 < base.size() && base[i + 1].id == Omc;
        if (!beforeSystemTools) continue;
        items_.push_back({PlaybackDevice, "playbackdevice", kPlaybackDeviceCaption, 1});
        if (outputs_.empty()) {
            items_.push_back({NoPlaybackDevice, "noplaybackdevice", kNoPlaybackDeviceCaption, 2});
            state.disabled.insert(NoPlaybackDevice);
        }
        for (std::size_t n = 0; n < outputs_.size(); ++n) {
            const int id = FirstOutput + static_cast<int>(n);
            items_.push_back({id, "output", captions_[n].c_str(), 2});
            state.radio.insert(id);
            if (outputs_[n].id == defaultId) state.checked.insert(id);
        }
    }
    return items_;
}

const platform::OutputDevice* OutputMenu::outputFor(int item) const {
    if (item < FirstOutput || item - FirstOutput >= static_cast<int>(outputs_.size())) {
        return nullptr;
    }
    return &outputs_[static_cast<std::size_t>(item - FirstOutput)];
}

}  // namespace qmx::app
