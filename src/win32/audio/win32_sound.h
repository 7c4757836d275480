#pragma once

#include "platform/sound.h"

namespace qmx::win32 {

// MCI devices through mciSendCommand.
class Win32Sound : public platform::Sound {
public:
    std::uint32_t open(std::string_view deviceType, std::string_view fileName,
                       std::uint32_t& deviceId) override;
    std::uint32_t play(std::uint32_t deviceId, platform::WindowId notify) override;
    std::uint32_t stop(std::uint32_t deviceId) override;
    std::uint32_t close(std::uint32_t deviceId) override;
    std::string errorText(std::uint32_t error) override;
};

}  // namespace qmx::win32
