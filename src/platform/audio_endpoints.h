#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qmx::platform {

// The system's audio output devices (endpoints) as Windows Vista and later present them: one is
// the default output, each has an id that stays the same when it is unplugged and comes back,
// and each gives a volume object with the master volume (0.0 to 1.0) and the mute state. A
// volume object belongs to one appearance of its device: once the device is gone, the object
// answers a loss for good, even after the device has returned. Every call answers the system's
// result code: a success code (0, S_FALSE) or a failure that endpointStatusOf() tells apart.

enum class EndpointStatus {
    Ok,
    DeviceGone,  // a loss: the device was removed, disabled or invalidated, or the audio service
                 // stopped or restarted under the object asked
    Failed,      // any other failure
};

// Result codes of the Core Audio calls (audioclient.h, winerror.h). The AUDCLNT_E_* texts are
// Microsoft's ("IAudioClient::Start", return values).
inline constexpr std::uint32_t kAudioDeviceInvalidated =
    0x88890004;  // AUDCLNT_E_DEVICE_INVALIDATED: unplugged, disabled, removed or reconfigured
inline constexpr std::uint32_t kAudioDeviceInUse =
    0x8889000A;  // AUDCLNT_E_DEVICE_IN_USE: used in exclusive mode by another program
inline constexpr std::uint32_t kAudioServiceNotRunning =
    0x88890010;                                                     // AUDCLNT_E_SERVICE_NOT_RUNNING
inline constexpr std::uint32_t kNotFound = 0x80070490;              // E_NOTFOUND
inline constexpr std::uint32_t kDeviceNotConnected = 0x8007048F;    // ERROR_DEVICE_NOT_CONNECTED
inline constexpr std::uint32_t kRpcDisconnected = 0x80010108;       // RPC_E_DISCONNECTED
inline constexpr std::uint32_t kRpcServerUnavailable = 0x800706BA;  // RPC_S_SERVER_UNAVAILABLE
inline constexpr std::uint32_t kRpcCallFailed = 0x800706BE;         // RPC_S_CALL_FAILED
// REGDB_E_CLASSNOTREG: what setDefaultOutput answers when no policy-config pairing answers,
// whichever was tried last.
inline constexpr std::uint32_t kNoPolicyConfig = 0x80040154;

inline bool succeeded(std::uint32_t result) {
    return (result & 0x80000000u) == 0;
}

// The device went away: it was unplugged, disabled or removed.
inline bool deviceLost(std::uint32_t result) {
    return result == kAudioDeviceInvalidated || result == kNotFound ||
           result == kDeviceNotConnected;
}

// The audio service stopped or restarted under the caller: a connection made before answers
// nothing else.
inline bool serviceLost(std::uint32_t result) {
    return result == kAudioServiceNotRunning || result == kRpcDisconnected ||
           result == kRpcServerUnavailable || result == kRpcCallFailed;
}

// What a result code of a Core Audio call means for the program.
inline EndpointStatus endpointStatusOf(std::uint32_t result) {
    if (succeeded(result)) return EndpointStatus::Ok;
    return deviceLost(result) || serviceLost(result) ? EndpointStatus::DeviceGone
                                                     : EndpointStatus::Failed;
}

class EndpointVolume {
public:
    EndpointVolume() = default;
    EndpointVolume(const EndpointVolume&) = delete;
    EndpointVolume& operator=(const EndpointVolume&) = delete;
    virtual ~EndpointVolume() = default;

    virtual std::uint32_t masterScalar(float& scalar) = 0;
    virtual std::uint32_t setMasterScalar(float scalar) = 0;
    virtual std::uint32_t mute(bool& muted) = 0;
    virtual std::uint32_t setMute(bool muted) = 0;
};

// The roles an output can be the default for; the program follows the console's.
enum class Role { Console, Multimedia, Communications };
inline constexpr Role kRoles[] = {Role::Console, Role::Multimedia, Role::Communications};

// An output device as the system lists it; the name is UTF-8.
struct OutputDevice {
    std::string id;
    std::string name;
};

class AudioEndpoints {
public:
    AudioEndpoints() = default;
    AudioEndpoints(const AudioEndpoints&) = delete;
    AudioEndpoints& operator=(const AudioEndpoints&) = delete;
    virtual ~AudioEndpoints() = default;

    // The id of the current default output device for a role; kNotFound when there is none.
    virtual std::uint32_t defaultOutput(Role role, std::string& id) = 0;
    virtual std::uint32_t activateVolume(const std::string& id,
                                         std::unique_ptr<EndpointVolume>& volume) = 0;
    // The device's name as the system shows it, in UTF-8; empty when the device has none (yet).
    virtual std::uint32_t friendlyName(const std::string& id, std::string& name) = 0;
    // The active output devices with their names, in the order the system lists them.
    virtual std::uint32_t activeOutputs(std::vector<OutputDevice>& outputs) = 0;
    // Makes a device the default output for one role; the watch of watchChanges hears of a new
    // console default before the call returns.
    virtual std::uint32_t setDefaultOutput(Role role, const std::string& id) = 0;
    // A short name of the policy-config pairing that answered the last setDefaultOutput, for the
    // log; empty when none did.
    virtual std::string policyConfigInUse() const = 0;
    // How many output devices the system knows in any state: active, disabled, unplugged or
    // not present.
    virtual std::uint32_t installedOutputs(std::size_t& count) = 0;
    // From now on `changed` runs on the user-interface thread, between events, whenever the
    // default output changes, a device is added, removed, enabled or disabled, or a device's name
    // changes. False when the system cannot tell.
    virtual bool watchChanges(std::function<void()> changed) = 0;
    // Drops the connection to the audio service and makes it anew, with the watch of
    // watchChanges registered again: after the service restarted, the old connection answers
    // nothing but losses. True when the watch is on again.
    virtual bool reconnect() = 0;
};

}  // namespace qmx::platform
