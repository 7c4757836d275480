#include "common/result_words.h"

#include "platform/audio_endpoints.h"

namespace qmx {

// The AUDCLNT_E_* meanings are Microsoft's ("IAudioClient::Start" and "IAudioClient::Initialize",
// return values); a device lost is said as the system says ERROR_DEVICE_NOT_CONNECTED (Microsoft,
// "System Error Codes (1000-1299)").
std::string resultWords(std::uint32_t code) {
    if (platform::deviceLost(code)) return "The device is not connected.";
    if (platform::serviceLost(code)) return "The audio service is not running.";
    if (code == platform::kAudioDeviceInUse) return "Another program uses the device exclusively.";
    if (code == platform::kNoPolicyConfig) {
        return "This version of Windows does not let programs choose the playback device.";
    }
    return {};
}

}  // namespace qmx
