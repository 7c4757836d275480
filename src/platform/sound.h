#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_events.h"

namespace qmx::platform {

// The multimedia (MCI) devices: open a device of a type on a file, play it with a notification
// to a window when it has finished, stop and close it. Every call returns the system's result
// code, 0 on success.
class Sound {
public:
    Sound() = default;
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    virtual ~Sound() = default;

    virtual std::uint32_t open(std::string_view deviceType, std::string_view fileName,
                               std::uint32_t& deviceId) = 0;
    // When playback ends, `notify` receives onMultimediaNotify with the notification code and
    // the device: successful at the end, aborted when stopped or closed before, superseded when
    // a later command asked for the notification instead, failure on an error.
    virtual std::uint32_t play(std::uint32_t deviceId, WindowId notify) = 0;
    virtual std::uint32_t stop(std::uint32_t deviceId) = 0;
    virtual std::uint32_t close(std::uint32_t deviceId) = 0;
    virtual std::string errorText(std::uint32_t error) = 0;
};

inline constexpr int kMciNotifySuccessful = 1;
inline constexpr int kMciNotifySuperseded = 2;
inline constexpr int kMciNotifyAborted = 4;
inline constexpr int kMciNotifyFailure = 8;

}  // namespace qmx::platform
