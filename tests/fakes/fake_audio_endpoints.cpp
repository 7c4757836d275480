#include "fakes/fake_audio_endpoints.h"

#include <utility>

namespace qmx::fakes {

namespace {
constexpr std::uint32_t kFail = 0x80004005;  // E_FAIL
}

class FakeAudioEndpoints::Volume : public platform::EndpointVolume {
public:
    Volume(FakeAudioEndpoints& system, std::string id)
        : system_(system),
          id_(std::move(id)),
          appearance_(system.devices.at(id_).appearance),
          serviceLife_(system.serviceLife_) {}

    std::uint32_t masterScalar(float& scalar) override {
        return call("GetMasterVolumeLevelScalar", [&](Device& d) { scalar = d.scalar; });
    }
    std::uint32_t setMasterScalar(float scalar) override {
        return call("SetMasterVolumeLevelScalar", [&](Device& d) { d.scalar = scalar; });
    }
    std::uint32_t mute(bool& muted) override {
        return call("GetMute", [&](Device& d) { muted = d.muted; });
    }
    std::uint32_t setMute(bool muted) override {
        return call("SetMute", [&](Device& d) { d.muted = muted; });
    }

private:
    template <typename Action>
    std::uint32_t call(const char* method, Action&& action) {
        if (system_.failNextValueCalls > 0) {
            --system_.failNextValueCalls;
            return kFail;
        }
        if (const std::uint32_t code = system_.failure(method)) return code;
        if (system_.serviceDown_) return platform::kAudioServiceNotRunning;
        if (serviceLife_ != system_.serviceLife_) return platform::kAudioDeviceInvalidated;
        auto it = system_.devices.find(id_);
        if (it == system_.devices.end() || !it->second.present ||
            it->second.appearance != appearance_) {
            return platform::kAudioDeviceInvalidated;
        }
        action(it->second);
        return 0;
    }

    FakeAudioEndpoints& system_;
    std::string id_;
    int appearance_;
    int serviceLife_;
};

std::uint32_t FakeAudioEndpoints::failure(const char* method) const {
    const auto it = failing.find(method);
    if (it == failing.end()) return 0;
    if (whileFailing) whileFailing();
    return it->second;
}

// A connection made before the service restarted answers as Windows' stale objects do.
std::uint32_t FakeAudioEndpoints::connectionCode() const {
    if (serviceDown_) return platform::kAudioServiceNotRunning;
    return connectionLife_ != serviceLife_ ? platform::kAudioDeviceInvalidated : 0;
}

std::uint32_t FakeAudioEndpoints::defaultOutput(platform::Role role, std::string& id) {
    ++defaultLookups;
    if (const std::uint32_t code = connectionCode()) return code;
    if (const std::uint32_t code = failure("GetDefaultAudioEndpoint")) return code;
    if (defaultFor(role).empty()) return platform::kNotFound;
    id = defaultFor(role);
    return 0;
}

std::string FakeAudioEndpoints::defaultFor(platform::Role role) const {
    const auto it = otherDefaults.find(role);
    return role == platform::Role::Console || it == otherDefaults.end() ? defaultId : it->second;
}

std::uint32_t FakeAudioEndpoints::activateVolume(
    const std::string& id, std::unique_ptr<platform::EndpointVolume>& volume) {
    if (const std::uint32_t code = connectionCode()) return code;
    if (const std::uint32_t code = failure("Activate")) return code;
    auto it = devices.find(id);
    if (it == devices.end() || !it->second.present) return platform::kAudioDeviceInvalidated;
    ++activations;
    volume = std::make_unique<Volume>(*this, id);
    return 0;
}

std::uint32_t FakeAudioEndpoints::friendlyName(const std::string& id, std::string& name) {
    ++nameReads;
    if (const std::uint32_t code = connectionCode()) return code;
    if (const std::uint32_t code = failure("GetValue")) return code;
    auto it = devices.find(id);
    if (it == devices.end()) return platform::kNotFound;
    name = it->second.name;
    return 0;
}

std::uint32_t FakeAudioEndpoints::activeOutputs(std::vector<platform::OutputDevice>& outputs) {
    ++listings;
    if (const std::uint32_t code = connectionCode()) return code;
    outputs.clear();
    for (const std::string& id : order_) {
        if (devices.at(id).present) outputs.push_back({id, devices.at(id).name});
    }
    return 0;
}

std::uint32_t FakeAudioEndpoints::setDefaultOutput(platform::Role role, const std::string& id) {
    SetDefaultAnswer answer{0, true};
    if (!setDefaultAnswers.empty()) {
        answer = setDefaultAnswers.front();
        setDefaultAnswers.pop_front();
    }
    if (answer.code == 0 || answer.made) setDefault(role, id);
    if (answer.code == 0) defaultsSet.emplace_back(role, id);
    if (answer.thenServiceStops) stopService();
    return answer.code;
}

std::uint32_t FakeAudioEndpoints::installedOutputs(std::size_t& count) {
    if (const std::uint32_t code = connectionCode()) return code;
    if (const std::uint32_t code = failure("EnumAudioEndpoints")) return code;
    count = devices.size();
    return 0;
}

bool FakeAudioEndpoints::watchChanges(std::function<void()> changed) {
    watcher_ = std::move(changed);
    watching_ = watcher_ && !watchFails && !connectionLost();
    return watching_;
}

bool FakeAudioEndpoints::reconnect() {
    ++reconnects;
    connectionLife_ = serviceLife_;
    watching_ = watcher_ && !watchFails && !serviceDown_;
    return watching_;
}

void FakeAudioEndpoints::stopService() {
    serviceDown_ = true;
    ++serviceLife_;
}

void FakeAudioEndpoints::startService() {
    serviceDown_ = false;
}

void FakeAudioEndpoints::add(const std::string& id, const std::string& name, float scalar,
                             bool muted) {
    if (!devices.count(id)) order_.push_back(id);
    Device& device = devices[id];
    device.name = name;
    device.scalar = scalar;
    device.muted = muted;
    device.present = true;
    ++device.appearance;
    if (defaultId.empty()) defaultId = id;
    changed();
}

void FakeAudioEndpoints::remove(const std::string& id) {
    devices.at(id).present = false;
    std::erase_if(otherDefaults, [&](const auto& role) { return role.second == id; });
    if (defaultId == id) {
        defaultId.clear();
        for (const auto& [other, device] : devices) {
            if (device.present) {
                defaultId = other;
                break;
            }
        }
    }
    changed();
}

void FakeAudioEndpoints::setDefault(const std::string& id) {
    defaultId = id;
    otherDefaults.clear();
    changed();
}

// Each role on its own from now on: the roles that followed the console keep its device.
void FakeAudioEndpoints::setDefault(platform::Role role, const std::string& id) {
    for (platform::Role other : platform::kRoles) {
        if (other != platform::Role::Console && !otherDefaults.count(other)) {
            otherDefaults[other] = defaultId;
        }
    }
    (role == platform::Role::Console ? defaultId : otherDefaults[role]) = id;
    changed();
}

void FakeAudioEndpoints::rename(const std::string& id, const std::string& name) {
    devices.at(id).name = name;
    changed();
}

void FakeAudioEndpoints::changed() {
    if (notifications && watcher_ && watching()) watcher_();
}

}  // namespace qmx::fakes
