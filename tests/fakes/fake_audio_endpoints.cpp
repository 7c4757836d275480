#include "fakes/fake_audio_endpoints.h"

#include <utility>

namespace qmx::fakes {

using platform::EndpointStatus;

class FakeAudioEndpoints::Volume : public platform::EndpointVolume {
public:
    Volume(FakeAudioEndpoints& system, std::string id)
        : system_(system),
          id_(std::move(id)),
          appearance_(system.devices.at(id_).appearance),
          serviceLife_(system.serviceLife_) {}

    EndpointStatus masterScalar(float& scalar) override {
        return call([&](Device& d) { scalar = d.scalar; });
    }
    EndpointStatus setMasterScalar(float scalar) override {
        return call([&](Device& d) { d.scalar = scalar; });
    }
    EndpointStatus mute(bool& muted) override {
        return call([&](Device& d) { muted = d.muted; });
    }
    EndpointStatus setMute(bool muted) override {
        return call([&](Device& d) { d.muted = muted; });
    }

private:
    template <typename Action>
    EndpointStatus call(Action&& action) {
        if (system_.failNextValueCalls > 0) {
            --system_.failNextValueCalls;
            return EndpointStatus::Failed;
        }
        if (system_.failValueCalls != EndpointStatus::Ok) return system_.failValueCalls;
        if (system_.serviceDown_ || serviceLife_ != system_.serviceLife_) {
            return EndpointStatus::DeviceGone;
        }
        auto it = system_.devices.find(id_);
        if (it == system_.devices.end() || !it->second.present ||
            it->second.appearance != appearance_) {
            return EndpointStatus::DeviceGone;
        }
        action(it->second);
        return EndpointStatus::Ok;
    }

    FakeAudioEndpoints& system_;
    std::string id_;
    int appearance_;
    int serviceLife_;
};

EndpointStatus FakeAudioEndpoints::defaultOutput(platform::Role role, std::string& id) {
    ++defaultLookups;
    if (connectionLost()) return EndpointStatus::DeviceGone;
    if (failDefaultOutput != EndpointStatus::Ok) return failDefaultOutput;
    if (defaultFor(role).empty()) return EndpointStatus::NoDevice;
    id = defaultFor(role);
    return EndpointStatus::Ok;
}

std::string FakeAudioEndpoints::defaultFor(platform::Role role) const {
    const auto it = otherDefaults.find(role);
    return role == platform::Role::Console || it == otherDefaults.end() ? defaultId : it->second;
}

EndpointStatus FakeAudioEndpoints::activateVolume(
    const std::string& id, std::unique_ptr<platform::EndpointVolume>& volume) {
    auto it = devices.find(id);
    if (connectionLost() || it == devices.end() || !it->second.present) {
        return EndpointStatus::DeviceGone;
    }
    ++activations;
    volume = std::make_unique<Volume>(*this, id);
    return EndpointStatus::Ok;
}

EndpointStatus FakeAudioEndpoints::friendlyName(const std::string& id, std::string& name) {
    auto it = devices.find(id);
    if (connectionLost() || it == devices.end()) return EndpointStatus::DeviceGone;
    name = it->second.name;
    return EndpointStatus::Ok;
}

EndpointStatus FakeAudioEndpoints::activeOutputs(std::vector<platform::OutputDevice>& outputs) {
    if (connectionLost()) return EndpointStatus::DeviceGone;
    outputs.clear();
    for (const std::string& id : order_) {
        if (devices.at(id).present) outputs.push_back({id, devices.at(id).name});
    }
    return EndpointStatus::Ok;
}

std::uint32_t FakeAudioEndpoints::setDefaultOutput(platform::Role role, const std::string& id) {
    if (failSetDefault != 0) return std::exchange(failSetDefault, 0);
    if (const auto it = failSetDefaultFor.find(role); it != failSetDefaultFor.end()) {
        const std::uint32_t rc = it->second;
        failSetDefaultFor.erase(it);
        return rc;
    }
    defaultsSet.emplace_back(role, id);
    setDefault(role, id);
    return 0;
}

EndpointStatus FakeAudioEndpoints::installedOutputs(std::size_t& count) {
    if (connectionLost()) return EndpointStatus::DeviceGone;
    count = devices.size();
    return EndpointStatus::Ok;
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
