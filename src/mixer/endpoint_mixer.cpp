#include "mixer/endpoint_mixer.h"

#include "common/utf8.h"

#include <cmath>
#include <cstring>

namespace qmx::mixer {

namespace {
using platform::EndpointStatus;
using platform::MixerControl;
using platform::MixerLine;

constexpr std::uint32_t kLineId = 0xFFFF0000;
constexpr std::uint32_t kVolumeId = 1;
constexpr std::uint32_t kMuteId = 2;
constexpr std::uint32_t kNoDeviceNow = 0xFFFFFFFF;  // internal: nothing to act on right now
}  // namespace

float scalarForLevel(std::uint32_t level) {
    return static_cast<float>(level) / 65535.0f;
}

std::uint32_t levelForScalar(float scalar) {
    if (!(scalar > 0.0f)) return 0;
    if (scalar >= 1.0f) return 65535;
    return static_cast<std::uint32_t>(std::nearbyint(static_cast<double>(scalar) * 65535.0));
}

// What MixerAccess sees: the speakers line of whatever output is the default at each call.
class EndpointMixer::Device : public platform::MixerDevice {
public:
    explicit Device(EndpointMixer& mixer) : mixer_(mixer) {}

    std::uint32_t lineInfoByComponentType(std::uint32_t type, MixerLine& line) override {
        if (type != platform::kComponentTypeSpeakers) return platform::kMixerInvalidLine;
        line.lineId = kLineId;
        line.componentType = type;
        line.targetProductName.fill('\0');
        const std::string name = mixer_.deviceName();
        const std::string_view fits = utf8Prefix(name, line.targetProductName.size() - 1);
        std::memcpy(line.targetProductName.data(), fits.data(), fits.size());
        return platform::kMixerNoError;
    }

    std::uint32_t lineControlByType(std::uint32_t lineId, std::uint32_t type,
                                    MixerControl& control) override {
        if (lineId != kLineId) return platform::kMixerInvalidLine;
        if (type == platform::kControlTypeVolume) {
            control.controlId = kVolumeId;
        } else if (type == platform::kControlTypeMute) {
            control.controlId = kMuteId;
        } else {
            return platform::kMixerInvalidControl;
        }
        control.controlType = type;
        return platform::kMixerNoError;
    }

    std::uint32_t controlValue(std::uint32_t controlId, std::uint32_t& value) override {
        if (controlId == kVolumeId) return mixer_.readVolume(value);
        if (controlId == kMuteId) return mixer_.readMute(value);
        return platform::kMixerInvalidControl;
    }

    std::uint32_t setControlValue(std::uint32_t controlId, std::uint32_t value) override {
        if (controlId == kVolumeId) {
            if (value > 65535) return platform::kMixerInvalidParameter;
            return mixer_.writeVolume(value);
        }
        if (controlId == kMuteId) return mixer_.writeMute(value);
        return platform::kMixerInvalidControl;
    }

private:
    EndpointMixer& mixer_;
};

EndpointMixer::EndpointMixer(platform::AudioEndpoints& endpoints) : endpoints_(endpoints) {}

EndpointMixer::~EndpointMixer() {
    if (watching_) endpoints_.watchChanges(nullptr);
}

std::uint32_t EndpointMixer::open(std::uint32_t deviceId,
                                  std::unique_ptr<platform::MixerDevice>& device) {
    if (deviceId != 0) return platform::kMixerBadDeviceId;
    if (!watchAsked_) {
        watchAsked_ = true;
        watch();
    }
    Reach reach = reachDefaultOutput();
    if (reach == Reach::Lost) {
        reconnect();
        reach = reachDefaultOutput();
    }
    if (reach == Reach::Failed) return platform::kMixerError;
    if (reach != Reach::Device && !opened_ && !worthWaitingFor(reach)) {
        return platform::kMixerNoDriver;
    }
    opened_ = true;
    device = std::make_unique<Device>(*this);
    return platform::kMixerNoError;
}

// With no active output at start-up the program waits when outputs are installed (a monitor
// that is off, headphones not yet connected) or when the audio service is not answering yet.
bool EndpointMixer::worthWaitingFor(Reach reach) {
    if (reach == Reach::Lost) return true;
    std::size_t installed = 0;
    return endpoints_.installedOutputs(installed) == EndpointStatus::Ok && installed > 0;
}

void EndpointMixer::watch() {
    watching_ = endpoints_.watchChanges([this] { changed_ = true; });
}

std::uint32_t EndpointMixer::deviceInUse() {
    reachDefaultOutput();
    return deviceSerial_;
}

// Makes volume_ the volume object of the current default output. Without change
// notifications the default output is looked up before every call.
EndpointMixer::Reach EndpointMixer::reachDefaultOutput() {
    if (volume_ && !changed_ && watching_) return Reach::Device;
    std::string id;
    const EndpointStatus status = endpoints_.defaultOutput(id);
    if (status == EndpointStatus::NoDevice || status == EndpointStatus::DeviceGone) {
        forgetDevice();
        return status == EndpointStatus::NoDevice ? Reach::NoDevice : Reach::Lost;
    }
    if (status != EndpointStatus::Ok) return Reach::Failed;
    if (rewatch_) {
        watch();
        rewatch_ = !watching_;
    }
    changed_ = false;
    if (volume_ && id == volumeOf_) return Reach::Device;
    forgetDevice();
    std::unique_ptr<platform::EndpointVolume> volume;
    const EndpointStatus activated = endpoints_.activateVolume(id, volume);
    if (activated == EndpointStatus::NoDevice || activated == EndpointStatus::DeviceGone) {
        changed_ = true;
        return Reach::Lost;
    }
    if (activated != EndpointStatus::Ok) return Reach::Failed;
    volume_ = std::move(volume);
    volumeOf_ = id;
    if (id != lastUsed_) {
        lastUsed_ = id;
        ++deviceSerial_;
    }
    std::string name;
    if (endpoints_.friendlyName(id, name) == EndpointStatus::Ok) lastName_ = name;
    return Reach::Device;
}

void EndpointMixer::forgetDevice() {
    volume_.reset();
    volumeOf_.clear();
    changed_ = true;
}

// A new connection to the audio service, with the watch registered on it; a watch that cannot
// be registered now (the service is still down) is registered at the next look-up that works.
void EndpointMixer::reconnect() {
    forgetDevice();
    watching_ = endpoints_.reconnect();
    rewatch_ = !watching_;
}

// Runs `call` on the default output's volume object. A loss renews the connection and tries
// once more; when there is still nothing to act on the call is skipped.
template <typename Call>
std::uint32_t EndpointMixer::onDefaultOutput(Call&& call) {
    for (bool renewed = false;; renewed = true) {
        const Reach reach = reachDefaultOutput();
        if (reach == Reach::NoDevice) return kNoDeviceNow;
        if (reach == Reach::Failed) return platform::kMixerError;
        if (reach == Reach::Device) {
            const EndpointStatus status = call(*volume_);
            if (status == EndpointStatus::Ok) return platform::kMixerNoError;
            if (status != EndpointStatus::DeviceGone && status != EndpointStatus::NoDevice) {
                return platform::kMixerError;
            }
        }
        if (renewed) return kNoDeviceNow;
        reconnect();
    }
}

std::uint32_t EndpointMixer::readVolume(std::uint32_t& level) {
    float scalar = 0;
    const std::uint32_t rc = onDefaultOutput([&](auto& v) { return v.masterScalar(scalar); });
    if (rc == platform::kMixerNoError) lastLevel_ = levelForScalar(scalar);
    if (rc == kNoDeviceNow || rc == platform::kMixerNoError) {
        level = lastLevel_;
        return platform::kMixerNoError;
    }
    return rc;
}

std::uint32_t EndpointMixer::writeVolume(std::uint32_t level) {
    const std::uint32_t rc =
        onDefaultOutput([&](auto& v) { return v.setMasterScalar(scalarForLevel(level)); });
    if (rc == platform::kMixerNoError) lastLevel_ = level;
    return rc == kNoDeviceNow ? platform::kMixerNoError : rc;
}

std::uint32_t EndpointMixer::readMute(std::uint32_t& value) {
    bool muted = false;
    const std::uint32_t rc = onDefaultOutput([&](auto& v) { return v.mute(muted); });
    if (rc == platform::kMixerNoError) lastMute_ = muted ? 1 : 0;
    if (rc == kNoDeviceNow || rc == platform::kMixerNoError) {
        value = lastMute_;
        return platform::kMixerNoError;
    }
    return rc;
}

std::uint32_t EndpointMixer::writeMute(std::uint32_t value) {
    const std::uint32_t rc = onDefaultOutput([&](auto& v) { return v.setMute(value != 0); });
    if (rc == platform::kMixerNoError) lastMute_ = value != 0 ? 1 : 0;
    return rc == kNoDeviceNow ? platform::kMixerNoError : rc;
}

// The name of the output in use, or of the last one while there is none.
std::string EndpointMixer::deviceName() {
    reachDefaultOutput();
    return lastName_;
}

}  // namespace qmx::mixer
