#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "fakes/call_log.h"
#include "platform/mixer.h"

namespace qmx::fakes {

// A simulated mixer device 0 with a speakers line carrying a volume and a mute control. Any call
// can be told to fail with a result code. Counts how many devices are open at once.
class FakeMixer : public platform::Mixer {
public:
    explicit FakeMixer(CallLog& log) : log_(log) {}

    std::uint32_t open(std::uint32_t deviceId,
                       std::unique_ptr<platform::MixerDevice>& device) override;

    // Device set-up.
    bool present = true;
    bool hasMute = true;
    std::string productName = "Fake Audio Mixer";
    std::uint32_t speakersLineId = 0xFFFF0000;
    std::uint32_t volumeControlId = 7;
    std::uint32_t muteControlId = 9;
    std::uint32_t volume = 32768;
    std::uint32_t mute = 0;

    // Failures: result code returned by the named call from its next use on.
    std::uint32_t failOpen = 0;
    std::uint32_t failLineInfo = 0;
    std::uint32_t failLineControls = 0;
    std::uint32_t failGet = 0;
    std::uint32_t failSet = 0;

    // The devices open now lose their hardware (the card was unplugged): their value calls fail
    // with MMSYSERR_NODRIVER, while a device opened later works.
    void vanishOpenDevices() { ++generation_; }

    int openDevices = 0;
    int opens = 0;

private:
    class Device;
    CallLog& log_;
    int generation_ = 0;
};

}  // namespace qmx::fakes
