#include "mixer/endpoint_mixer.h"

#include "common/device_name.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "resources/tray_menu.h"

namespace qmx::mixer {

namespace {
using platform::EndpointStatus;
using platform::MixerControl;
using platform::MixerLine;
using platform::succeeded;

constexpr std::uint32_t kLineId = 0xFFFF0000;
constexpr std::uint32_t kVolumeId = 1;
constexpr std::uint32_t kMuteId = 2;

bool lost(std::uint32_t code) {
    return platform::endpointStatusOf(code) == EndpointStatus::DeviceGone;
}
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

EndpointMixer::EndpointMixer(platform::AudioEndpoints& endpoints, EventLog& log, Clock clock)
    : endpoints_(endpoints),
      log_(log),
      clock_(std::move(clock)),
      streaks_(log, clock_, kSustainedFailureMs),
      outputLog_(log, endpoints) {}

// Also a watch the system refused is handed back: the endpoints keep the callback whatever the
// system answered, and may call it (a switch of the console's default) after the mixer is gone.
EndpointMixer::~EndpointMixer() {
    endpoints_.watchChanges(nullptr);
}

std::uint32_t EndpointMixer::open(std::uint32_t deviceId,
                                  std::unique_ptr<platform::MixerDevice>& device) {
    if (deviceId != 0) return platform::kMixerBadDeviceId;
    if (!watchAsked_) {
        watchAsked_ = true;
        watch();
    }
    const Reach reach = reachDefaultOutput();
    if (reach == Reach::Failed && streaks_.lasting(lookUpFailed_)) return platform::kMixerError;
    if (reach == Reach::NoDevice && noneInstalled_) return platform::kMixerNoDriver;
    device = std::make_unique<Device>(*this);
    return platform::kMixerNoError;
}

// With no active output the program waits when outputs are installed (a monitor that is off,
// headphones not yet connected) or when the system cannot count them now (the audio service
// still starting at logon, when a failed count would otherwise never be made again): only a
// count that finds none installed ends it.
void EndpointMixer::countInstalledOutputs() {
    std::size_t installed = 0;
    const std::uint32_t startedAt = clock_();
    const std::uint32_t code = endpoints_.installedOutputs(installed);
    if (!succeeded(code)) {
        streaks_.failed(EndpointCall::InstalledCount, code, lost(code), startedAt);
        count_.tried(clock_());
        return;
    }
    streaks_.answered(EndpointCall::InstalledCount);
    countNeeded_ = false;
    noneInstalled_ = installed == 0;
}

void EndpointMixer::watch() {
    watched(endpoints_.watchChanges([this] { changed_ = notified_ = true; }));
}

// A watch the system refuses is asked for again on its own while the connection answers, never
// by renewing a connection that works: an idle program then adds nothing to the log after the
// first refusal of a streak.
void EndpointMixer::watched(bool on) {
    watching_ = on;
    if (on) {
        if (const std::uint32_t refusals = registration_.tries(); refusals > 0) {
            log_.write("Device notifications registered after " + std::to_string(refusals) +
                       (refusals == 1 ? " refusal" : " refusals"));
            // Nothing was heard while refused: the outputs and the name are read again.
            changed_ = notified_ = true;
        }
        registration_.reset();
        if (volume_) renewal_.reset();
        return;
    }
    if (registration_.tries() == 0) log_.write("Device notifications refused (first of a streak)");
    registration_.tried(clock_());
}

std::uint32_t EndpointMixer::deviceSerial() {
    reachDefaultOutput();
    return deviceSerial_;
}

// Makes volume_ the volume object of the current default output. Without change notifications
// the default output is looked up before every call, and, while the connection answers, the
// watch is asked for again when that is due.
EndpointMixer::Reach EndpointMixer::reachDefaultOutput() {
    if (volume_ && !changed_ && watching_) return Reach::Device;
    Reach reach = lookUp();
    if ((reach == Reach::Lost || reach == Reach::Failed) && renewal_.due(clock_())) {
        renewConnection();
        reach = lookUp();
    }
    if (watchAsked_ && !watching_ && (reach == Reach::Device || reach == Reach::NoDevice) &&
        registration_.due(clock_())) {
        watch();
    }
    return reach;
}

EndpointMixer::Reach EndpointMixer::lookUp() {
    std::string id;
    const std::uint32_t startedAt = clock_();
    const std::uint32_t code = endpoints_.defaultOutput(platform::Role::Console, id);
    if (!succeeded(code) && code != platform::kNotFound) {
        const bool loss = lost(code);
        streaks_.failed(EndpointCall::DefaultLookup, code, loss, startedAt);
        // No activation is made while the look-up is lost: its time does not count against one.
        if (loss) streaks_.interrupted(EndpointCall::Activate);
        forgetDevice();
        lookUpFailed_ = EndpointCall::DefaultLookup;
        return loss ? Reach::Lost : Reach::Failed;
    }
    streaks_.answered(EndpointCall::DefaultLookup);
    // Only the system's notices (and a renewed connection, which heard none meanwhile) list the
    // outputs again: a loss of the volume object alone, met at every poll while a device keeps
    // reporting itself gone, does not. The list goes first, also when no output is left, so that
    // the log tells an output removed or added before the default it took or gave.
    const bool notified = std::exchange(notified_, false);
    if (notified) outputLog_.devicesChanged();
    if (code == platform::kNotFound) {
        streaks_.interrupted(EndpointCall::Activate);
        noDevice();
        return Reach::NoDevice;
    }
    changed_ = false;
    if (volume_ && id == volumeOf_) {
        // A change may have been the device's new name.
        if (notified) readName(id);
        return Reach::Device;
    }
    return activate(id);
}

EndpointMixer::Reach EndpointMixer::activate(const std::string& id) {
    forgetDevice();
    std::unique_ptr<platform::EndpointVolume> volume;
    const std::uint32_t startedAt = clock_();
    const std::uint32_t activated = endpoints_.activateVolume(id, volume);
    if (!succeeded(activated)) {
        // A device that went away since the look-up: look again, never wait it through.
        const bool loss = lost(activated);
        streaks_.failed(EndpointCall::Activate, activated, loss, startedAt);
        lookUpFailed_ = EndpointCall::Activate;
        return loss ? Reach::Lost : Reach::Failed;
    }
    streaks_.answered(EndpointCall::Activate);
    volume_ = std::move(volume);
    volumeOf_ = id;
    changed_ = false;
    noDevice_ = false;
    countNeeded_ = false;  // an output is installed
    if (id != lastUsed_) {
        lastUsed_ = id;
        ++deviceSerial_;
        // A write kept for the device used before is not made on this one.
        dropKeptWrites();
        lastName_.reset();
        nameRead_.reset();
    }
    readName(id);
    outputLog_.defaultIs(id, lastName_.value_or(""));
    if (watching_) renewal_.reset();
    return Reach::Device;
}

// What start-up shows without a device: the bottom of the scale, not muted.
void EndpointMixer::noDevice() {
    forgetDevice();
    noDevice_ = true;
    lastLevel_ = 0;
    lastMute_ = 0;
    dropKeptWrites();
    outputLog_.noDefault();
    if (countNeeded_ && count_.due(clock_())) countInstalledOutputs();
}

// A name the system gives without text (a device just plugged in) replaces the one before. No
// notice comes when a name that could not be read becomes readable, nor of a rename while the
// system does not report changes: the name is read again then, at the pace of the renewals.
void EndpointMixer::readName(const std::string& id) {
    std::string name;
    const std::uint32_t startedAt = clock_();
    const std::uint32_t code = endpoints_.friendlyName(id, name);
    if (succeeded(code)) {
        streaks_.answered(EndpointCall::Name);
        if (lastName_ && *lastName_ != name) outputLog_.renamed(id, name);
        lastName_ = std::move(name);
    } else {
        streaks_.failed(EndpointCall::Name, code, lost(code), startedAt);
    }
    if (nameUnheard()) {
        nameRead_.tried(clock_());
    } else {
        nameRead_.reset();
    }
}

bool EndpointMixer::nameShowsNothing() const {
    return !lastName_ || showsNothing(*lastName_);
}

bool EndpointMixer::nameUnheard() const {
    return !watching_ || nameShowsNothing();
}

void EndpointMixer::forgetDevice() {
    volume_.reset();
    volumeOf_.clear();
    changed_ = true;
}

// A new connection to the audio service, with the watch registered on it. The log tells the
// renewals while their wait grows; at the longest wait it says so once, so that an outage of
// hours adds no line every half minute (the look-up's streak tells when the service answers).
void EndpointMixer::renewConnection() {
    forgetDevice();
    notified_ = true;
    const std::uint32_t waitBefore = renewal_.tries() == 0 ? 0 : renewal_.waitMs();
    renewal_.tried(clock_());
    const bool on = endpoints_.reconnect();
    if (const std::uint32_t wait = renewal_.waitMs(); log_.started() && wait != waitBefore) {
        log_.write(std::string("Connection to the audio service renewed, notifications ") +
                   (on ? "on" : "off") + "; the next renewal waits " + std::to_string(wait / 1000) +
                   " s" + (wait == kLongestRenewalWaitMs ? ", and so each one after" : ""));
    }
    watched(on);
}

// Runs `call` on the default output's volume object. A loss looks the default up again, on a
// renewed connection when the look-up is lost too; any other failure is no answer for now. A
// call that is not made because there is nothing to make it on starts its kind's span again.
//
// A device may answer a call with a loss code for good while its look-up, activation and other
// calls work (public reports name ERROR_DEVICE_NOT_CONNECTED and RPC_S_CALL_FAILED from writes):
// when a volume object made anew for the same device loses the call again, the device refuses it,
// and the refusal counts as any other failure, or the call would be tried for ever. The object is
// still made anew at the next call's loss, so that one made while the service was coming up is
// not kept; that loss keeps the span going until the new object tells a loss from a refusal.
template <typename Call>
EndpointMixer::Outcome EndpointMixer::attempt(EndpointCall kind, Call&& call) {
    const std::uint32_t kindBit = 1u << static_cast<unsigned>(kind);
    std::string lostOn;  // the device whose volume object lost the call at the first look
    for (int look = 0; look < 2; ++look) {
        switch (reachDefaultOutput()) {
            case Reach::NoDevice:
                streaks_.interrupted(kind);
                refusedAsLost_ &= ~kindBit;
                return {Outcome::NoDevice};
            case Reach::Lost:
                streaks_.interrupted(kind);
                refusedAsLost_ &= ~kindBit;
                return {Outcome::Lost};
            case Reach::Failed:
                return {Outcome::NoAnswer, lookUpFailed_};
            case Reach::Device:
                break;
        }
        const std::uint32_t startedAt = clock_();
        const std::uint32_t code = call(*volume_);
        if (succeeded(code)) {
            streaks_.answered(kind);
            refusedAsLost_ &= ~kindBit;
            return {Outcome::Done};
        }
        const bool refused = lost(code) && volumeOf_ == lostOn;
        if (!lost(code) || refused) {
            if (refused) refusedAsLost_ |= kindBit;
            streaks_.failed(kind, code, false, startedAt);
            return {Outcome::NoAnswer, kind};
        }
        const bool refusedBefore = look == 0 && (refusedAsLost_ & kindBit) != 0;
        streaks_.failed(kind, code, !refusedBefore, startedAt);
        if (!refusedBefore) refusedAsLost_ &= ~kindBit;
        lostOn = volumeOf_;
        forgetDevice();
    }
    return {Outcome::Lost};
}

// A write the user made that has not gone through yet is tried again; it is dropped once done,
// when there is nothing to act on (as a write then is), and when another output has become the
// one in use.
EndpointMixer::Outcome EndpointMixer::writeKept(Control control) {
    std::optional<std::uint32_t>& kept = control == Control::Volume ? pendingLevel_ : pendingMute_;
    if (!kept) return {Outcome::Done};
    const std::uint32_t value = *kept;
    const EndpointCall kind =
        control == Control::Volume ? EndpointCall::VolumeWrite : EndpointCall::MuteWrite;
    const Outcome outcome = attempt(kind, [&](platform::EndpointVolume& v) -> std::uint32_t {
        if (!kept) return 0;  // dropped on the way: another output is in use
        return control == Control::Volume ? v.setMasterScalar(scalarForLevel(value))
                                          : v.setMute(value != 0);
    });
    if (outcome.kind == Outcome::Done || outcome.kind == Outcome::NoDevice) kept.reset();
    return outcome;
}

// Makes the writes kept; true when one of them was made now and its failure has lasted, never
// from a clock alone while the write could not be made.
bool EndpointMixer::writePending() {
    const auto failedFor = [this](const Outcome& outcome, EndpointCall kind) {
        return outcome.kind == Outcome::NoAnswer && outcome.failed == kind &&
               streaks_.lasting(kind);
    };
    const bool volume = failedFor(writeKept(Control::Volume), EndpointCall::VolumeWrite);
    const bool mute = failedFor(writeKept(Control::Mute), EndpointCall::MuteWrite);
    return volume || mute;
}

void EndpointMixer::dropKeptWrites() {
    if (pendingLevel_) streaks_.dropped(EndpointCall::VolumeWrite);
    if (pendingMute_) streaks_.dropped(EndpointCall::MuteWrite);
    pendingLevel_.reset();
    pendingMute_.reset();
}

// The result of a call: a failure only when its kind of call has failed for the sustained span,
// or when no output is active and a count found none installed.
std::uint32_t EndpointMixer::resultFor(const Outcome& outcome) const {
    if (outcome.kind == Outcome::NoDevice && noneInstalled_) {
        return platform::kMixerNoDeviceInstalled;
    }
    return outcome.kind == Outcome::NoAnswer && streaks_.lasting(outcome.failed)
               ? platform::kMixerError
               : platform::kMixerNoError;
}

// A read first makes the writes kept; whatever they answer, it reads the device for itself.
std::uint32_t EndpointMixer::readVolume(std::uint32_t& level) {
    const bool keptWriteFailed = writePending();
    float scalar = 0;
    const Outcome outcome =
        attempt(EndpointCall::VolumeRead, [&](auto& v) { return v.masterScalar(scalar); });
    if (outcome.kind == Outcome::Done) lastLevel_ = levelForScalar(scalar);
    level = lastLevel_;
    return keptWriteFailed ? platform::kMixerKeptWriteFailed : resultFor(outcome);
}

// A write kept across a loss shows as made: it will be once the device is back. The device is
// reached first, so that another output having become the default drops only what was kept for
// the one before, not this write.
std::uint32_t EndpointMixer::writeVolume(std::uint32_t level) {
    reachDefaultOutput();
    pendingLevel_ = level;
    const Outcome outcome = writeKept(Control::Volume);
    if (outcome.kind == Outcome::Done || outcome.kind == Outcome::Lost) lastLevel_ = level;
    return resultFor(outcome);
}

std::uint32_t EndpointMixer::readMute(std::uint32_t& value) {
    const bool keptWriteFailed = writePending();
    bool muted = false;
    const Outcome outcome = attempt(EndpointCall::MuteRead, [&](auto& v) { return v.mute(muted); });
    if (outcome.kind == Outcome::Done) lastMute_ = muted ? 1 : 0;
    value = lastMute_;
    return keptWriteFailed ? platform::kMixerKeptWriteFailed : resultFor(outcome);
}

std::uint32_t EndpointMixer::writeMute(std::uint32_t value) {
    reachDefaultOutput();
    pendingMute_ = value != 0 ? 1 : 0;
    const Outcome outcome = writeKept(Control::Mute);
    if (outcome.kind == Outcome::Done || outcome.kind == Outcome::Lost) {
        lastMute_ = value != 0 ? 1 : 0;
    }
    return resultFor(outcome);
}

// The name of the output in use, or of the last one while the system does not answer. With no
// active output it says there is none; a device in use whose name is not known, or shows
// nothing, says it has none. An open About box asks twice a second: a name no notice would tell
// of is read only when its wait is over.
std::string EndpointMixer::deviceName() {
    if (reachDefaultOutput() == Reach::Device && nameUnheard() && nameRead_.due(clock_())) {
        readName(volumeOf_);
    }
    if (noDevice_) return resources::tray_menu::kNoPlaybackDeviceCaption;
    if (!nameShowsNothing()) return printableName(*lastName_);
    return lastUsed_.empty() ? std::string() : resources::tray_menu::kUnnamedOutputCaption;
}

}  // namespace qmx::mixer
