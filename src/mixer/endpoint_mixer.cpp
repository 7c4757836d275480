#include "mixer/endpoint_mixer.h"

#include "common/device_name.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace qmx::mixer {

namespace {
using platform::EndpointStatus;
using platform::MixerControl;
using platform::MixerLine;

constexpr std::uint32_t kLineId = 0xFFFF0000;
constexpr std::uint32_t kVolumeId = 1;
constexpr std::uint32_t kMuteId = 2;
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
        const std::string fits = cutToBytes(mixer_.deviceName(), line.targetProductName.size() - 1);
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

EndpointMixer::EndpointMixer(platform::AudioEndpoints& endpoints, Clock clock)
    : endpoints_(endpoints), clock_(std::move(clock)) {}

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
    if (reach == Reach::Lost || reach == Reach::Failed) {
        renewConnection();
        reach = reachDefaultOutput();
    }
    if (settle(reach == Reach::Failed ? Outcome::NoAnswer : Outcome::Done) !=
        platform::kMixerNoError) {
        return platform::kMixerError;
    }
    // With no active output the program waits when outputs are installed (a monitor that is
    // off, headphones not yet connected) or when the audio service is not answering yet.
    std::size_t installed = 0;
    if (reach == Reach::NoDevice && !opened_ &&
        (endpoints_.installedOutputs(installed) != EndpointStatus::Ok || installed == 0)) {
        return platform::kMixerNoDriver;
    }
    opened_ = true;
    device = std::make_unique<Device>(*this);
    return platform::kMixerNoError;
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
    const EndpointStatus status = endpoints_.defaultOutput(platform::Role::Console, id);
    if (status == EndpointStatus::NoDevice || status == EndpointStatus::DeviceGone) {
        forgetDevice();
        return status == EndpointStatus::NoDevice ? Reach::NoDevice : Reach::Lost;
    }
    if (status != EndpointStatus::Ok) return Reach::Failed;
    if (rewatch_) {
        watch();
        rewatch_ = !watching_;
    }
    const bool notified = changed_;
    changed_ = false;
    if (volume_ && id == volumeOf_) {
        if (notified) readName(id);  // a change may have been the device's new name
        return Reach::Device;
    }
    forgetDevice();
    std::unique_ptr<platform::EndpointVolume> volume;
    const EndpointStatus activated = endpoints_.activateVolume(id, volume);
    if (activated == EndpointStatus::NoDevice || activated == EndpointStatus::DeviceGone) {
        return Reach::Lost;
    }
    if (activated != EndpointStatus::Ok) return Reach::Failed;
    volume_ = std::move(volume);
    volumeOf_ = id;
    changed_ = false;
    if (id != lastUsed_) {
        lastUsed_ = id;
        ++deviceSerial_;
        // A write kept for the device used before is not made on this one.
        pendingLevel_.reset();
        pendingMute_.reset();
    }
    readName(id);
    return Reach::Device;
}

void EndpointMixer::readName(const std::string& id) {
    std::string name;
    if (endpoints_.friendlyName(id, name) == EndpointStatus::Ok) lastName_ = printableName(name);
}

void EndpointMixer::forgetDevice() {
    volume_.reset();
    volumeOf_.clear();
    changed_ = true;
}

// A new connection to the audio service, with the watch registered on it; a watch that cannot
// be registered now (the service is still down) is registered at the next look-up that works.
void EndpointMixer::renewConnection() {
    forgetDevice();
    const std::uint32_t now = clock_();
    if (lastRenewal_ && now - *lastRenewal_ < kRenewalIntervalMs) return;
    lastRenewal_ = now;
    watching_ = endpoints_.reconnect();
    rewatch_ = !watching_;
}

// Runs `call` on the default output's volume object. A loss looks again on a renewed
// connection; a failure is no answer for now.
template <typename Call>
EndpointMixer::Outcome EndpointMixer::attempt(Call&& call) {
    for (bool renewed = false;; renewed = true) {
        const Reach reach = reachDefaultOutput();
        if (reach == Reach::NoDevice) return Outcome::NothingNow;
        if (reach == Reach::Failed) {
            renewConnection();
            return Outcome::NoAnswer;
        }
        if (reach == Reach::Device) {
            const EndpointStatus status = call(*volume_);
            if (status == EndpointStatus::Ok) return Outcome::Done;
            if (status == EndpointStatus::Failed) {
                renewConnection();
                return Outcome::NoAnswer;
            }
        }
        if (renewed) return Outcome::NothingNow;
        renewConnection();
    }
}

// A write the user made that has not gone through yet is tried again; it is dropped once done,
// when there is nothing to act on (as a write then is), and when another output has become the
// one in use.
EndpointMixer::Outcome EndpointMixer::writeKept(Control control) {
    std::optional<std::uint32_t>& kept = control == Control::Volume ? pendingLevel_ : pendingMute_;
    if (!kept) return Outcome::Done;
    const std::uint32_t value = *kept;
    const Outcome outcome = attempt([&](platform::EndpointVolume& v) {
        if (!kept) return EndpointStatus::Ok;
        return control == Control::Volume ? v.setMasterScalar(scalarForLevel(value))
                                          : v.setMute(value != 0);
    });
    if (outcome != Outcome::NoAnswer) kept.reset();
    return outcome;
}

EndpointMixer::Outcome EndpointMixer::writePending() {
    if (writeKept(Control::Volume) == Outcome::NoAnswer) return Outcome::NoAnswer;
    return writeKept(Control::Mute) == Outcome::NoAnswer ? Outcome::NoAnswer : Outcome::Done;
}

// The result of a call: a failure only when every call has failed for the sustained span.
std::uint32_t EndpointMixer::settle(Outcome outcome) {
    if (outcome != Outcome::NoAnswer) {
        failingSince_.reset();
        return platform::kMixerNoError;
    }
    const std::uint32_t now = clock_();
    if (!failingSince_) failingSince_ = now;
    return now - *failingSince_ >= kSustainedFailureMs ? platform::kMixerError
                                                       : platform::kMixerNoError;
}

std::uint32_t EndpointMixer::readVolume(std::uint32_t& level) {
    Outcome outcome = writePending();
    if (outcome != Outcome::NoAnswer) {
        float scalar = 0;
        outcome = attempt([&](auto& v) { return v.masterScalar(scalar); });
        if (outcome == Outcome::Done) lastLevel_ = levelForScalar(scalar);
    }
    level = lastLevel_;
    return settle(outcome);
}

std::uint32_t EndpointMixer::writeVolume(std::uint32_t level) {
    pendingLevel_ = level;
    const Outcome outcome = writeKept(Control::Volume);
    if (outcome != Outcome::NothingNow) lastLevel_ = level;
    return settle(outcome);
}

std::uint32_t EndpointMixer::readMute(std::uint32_t& value) {
    Outcome outcome = writePending();
    if (outcome != Outcome::NoAnswer) {
        bool muted = false;
        outcome = attempt([&](auto& v) { return v.mute(muted); });
        if (outcome == Outcome::Done) lastMute_ = muted ? 1 : 0;
    }
    value = lastMute_;
    return settle(outcome);
}

std::uint32_t EndpointMixer::writeMute(std::uint32_t value) {
    pendingMute_ = value != 0 ? 1 : 0;
    const Outcome outcome = writeKept(Control::Mute);
    if (outcome != Outcome::NothingNow) lastMute_ = value != 0 ? 1 : 0;
    return settle(outcome);
}

// The name of the output in use, or of the last one while there is none.
std::string EndpointMixer::deviceName() {
    reachDefaultOutput();
    return lastName_;
}

}  // namespace qmx::mixer
