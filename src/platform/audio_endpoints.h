#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qmx::platform {

// The system's audio output devices (endpoints) as Windows Vista and later present them: one is
// the default output, each has an id that stays the same when it is unplugged and comes back,
// and each gives a volume object with the master volume (0.0 to 1.0) and the mute state. A
// volume object belongs to one appearance of its device: once the device is gone, the object
// answers DeviceGone for good, even after the device has returned.

enum class EndpointStatus {
    Ok,
    NoDevice,    // there is no output device at all
    DeviceGone,  // the device was removed, disabled or invalidated (the audio service restarted)
    Failed,      // any other failure
};

class EndpointVolume {
public:
    EndpointVolume() = default;
    EndpointVolume(const EndpointVolume&) = delete;
    EndpointVolume& operator=(const EndpointVolume&) = delete;
    virtual ~EndpointVolume() = default;

    virtual EndpointStatus masterScalar(float& scalar) = 0;
    virtual EndpointStatus setMasterScalar(float scalar) = 0;
    virtual EndpointStatus mute(bool& muted) = 0;
    virtual EndpointStatus setMute(bool muted) = 0;
};

class AudioEndpoints {
public:
    AudioEndpoints() = default;
    AudioEndpoints(const AudioEndpoints&) = delete;
    AudioEndpoints& operator=(const AudioEndpoints&) = delete;
    virtual ~AudioEndpoints() = default;

    // The id of the current default output device for the console role.
    virtual EndpointStatus defaultOutput(std::string& id) = 0;
    virtual EndpointStatus activateVolume(const std::string& id,
                                          std::unique_ptr<EndpointVolume>& volume) = 0;
    // The device's name as the system shows it.
    virtual EndpointStatus friendlyName(const std::string& id, std::string& name) = 0;
    // From now on `changed` runs on the user-interface thread, between events, whenever the
    // default output changes or a device is added, removed, enabled or disabled. False when the
    // system cannot tell.
    virtual bool watchChanges(std::function<void()> changed) = 0;
};

}  // namespace qmx::platform
