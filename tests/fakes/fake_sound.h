#pragma once

#include <set>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/sound.h"

namespace qmx::fakes {

// Simulated MCI devices: opening a file that is not in `files` fails with MCI's "file not
// found"; playing records the window to notify, which the test then delivers. Device numbers
// are reused as soon as their device is closed.
class FakeSound : public platform::Sound {
public:
    explicit FakeSound(CallLog& log) : log_(log) {}

    std::uint32_t open(std::string_view deviceType, std::string_view fileName,
                       std::uint32_t& deviceId) override {
        log_.add("sound.open " + std::string(deviceType) + " " + std::string(fileName));
        if (!files.count(std::string(fileName))) return kFileNotFound;
        // As MCI does, the lowest number not in use: a closed device's number comes back.
        deviceId = 1;
        while (openDevices.count(deviceId)) ++deviceId;
        openDevices.insert(deviceId);
        return 0;
    }
    std::uint32_t play(std::uint32_t deviceId, platform::WindowId notify) override {
        log_.add("sound.play");
        if (!openDevices.count(deviceId)) return kNotOpen;
        if (failPlay) return failPlay;
        notifyWindow = notify;
        return 0;
    }
    std::uint32_t stop(std::uint32_t deviceId) override {
        log_.add("sound.stop");
        return openDevices.count(deviceId) ? 0 : kNotOpen;
    }
    std::uint32_t close(std::uint32_t deviceId) override {
        log_.add("sound.close");
        return openDevices.erase(deviceId) ? 0 : kNotOpen;
    }
    std::string errorText(std::uint32_t error) override {
        return "MCI error " + std::to_string(error);
    }

    static constexpr std::uint32_t kFileNotFound = 275;
    static constexpr std::uint32_t kNotOpen = 263;
    std::set<std::string> files;
    std::set<std::uint32_t> openDevices;
    std::uint32_t failPlay = 0;  // the result of every play when not 0
    platform::WindowId notifyWindow = platform::kNoWindow;

private:
    CallLog& log_;
};

}  // namespace qmx::fakes
