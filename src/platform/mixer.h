#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace qmx::platform {

// The operating system's audio mixer. A program opens a device, finds a destination line by its
// component type, finds one control of a type on that line, and reads or writes the control's
// single value. Every call returns the operating system's result code: 0 is success, anything
// else a failure. A device stays open until its object is destroyed.

inline constexpr std::uint32_t kMixerNoError = 0;
inline constexpr std::uint32_t kMixerError = 1;
inline constexpr std::uint32_t kMixerBadDeviceId = 2;
inline constexpr std::uint32_t kMixerInvalidHandle = 5;
inline constexpr std::uint32_t kMixerNoDriver = 6;
inline constexpr std::uint32_t kMixerInvalidParameter = 11;
inline constexpr std::uint32_t kMixerInvalidLine = 1024;
inline constexpr std::uint32_t kMixerInvalidControl = 1025;
// Not the system's: a mixer that keeps a failed write to make it again answers this to a later
// call once that write has failed for good, so that the caller reports the write's failure.
inline constexpr std::uint32_t kMixerKeptWriteFailed = 0x7FFF0001;
// Not the system's either: a mixer that could not count its devices when it was opened answers
// this to a later call once a count finds none installed, so that the caller reports that
// opening failed.
inline constexpr std::uint32_t kMixerNoDeviceInstalled = 0x7FFF0002;

// The device behind an open mixer went away (unplugged, driver removed): opening device 0
// again may reach its successor.
inline bool mixerDeviceVanished(std::uint32_t rc) {
    return rc == kMixerBadDeviceId || rc == kMixerInvalidHandle || rc == kMixerNoDriver;
}
inline constexpr std::uint32_t kComponentTypeSpeakers = 4;
inline constexpr std::uint32_t kControlTypeVolume = 0x50030001;
inline constexpr std::uint32_t kControlTypeMute = 0x20010002;

struct MixerLine {
    std::uint32_t lineId = 0;
    std::uint32_t componentType = 0;
    // The whole field, NUL padding included: the product's name in UTF-8, cut where a
    // character ends.
    std::array<char, 32> targetProductName{};
};

struct MixerControl {
    std::uint32_t controlId = 0;
    std::uint32_t controlType = 0;
};

class MixerDevice {
public:
    MixerDevice() = default;
    MixerDevice(const MixerDevice&) = delete;
    MixerDevice& operator=(const MixerDevice&) = delete;
    virtual ~MixerDevice() = default;

    virtual std::uint32_t lineInfoByComponentType(std::uint32_t componentType, MixerLine& line) = 0;
    virtual std::uint32_t lineControlByType(std::uint32_t lineId, std::uint32_t controlType,
                                            MixerControl& control) = 0;
    virtual std::uint32_t controlValue(std::uint32_t controlId, std::uint32_t& value) = 0;
    virtual std::uint32_t setControlValue(std::uint32_t controlId, std::uint32_t value) = 0;
};

class Mixer {
public:
    Mixer() = default;
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;
    virtual ~Mixer() = default;

    // Opens device `deviceId` without notifications. On success `device` holds the open device.
    virtual std::uint32_t open(std::uint32_t deviceId, std::unique_ptr<MixerDevice>& device) = 0;
    // A number for the device that value calls act on now; it changes when the system switches
    // them to another device. A mixer bound to one device answers 0.
    virtual std::uint32_t deviceSerial() { return 0; }
};

}  // namespace qmx::platform
