#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/audio_endpoints.h"
#include "platform/mixer.h"

namespace qmx::mixer {

// Mixer levels 0..65535 as the endpoint's master volume 0.0..1.0 and back; every level survives
// the round trip unchanged.
float scalarForLevel(std::uint32_t level);
std::uint32_t levelForScalar(float scalar);

// Mixer device 0 over the default audio output: a speakers line with a volume and a mute
// control whose every value call acts on the output that is the default at that moment.
//
// The volume object of the default output is kept between calls and looked up again when the
// system reports a change of devices (before every call when it cannot report them). A loss
// (the device went away, the audio service stopped or restarted) renews the connection to the
// audio service and looks again; while there is still nothing to act on, reads give the last
// values known, writes are skipped, and the next call looks again.
//
// Any other failure is taken for "no answer now", as Windows gives for a while when the audio
// service is still starting at logon, while a device changes or a Bluetooth headset reconnects:
// reads give the last values, a write is kept and tried again at the next call until it goes
// through (a newer write of the same control replaces it), and the connection is made anew.
// Only when every call has failed for kSustainedFailureMs does a call fail. The connection is
// renewed at most once per kRenewalIntervalMs; calls in between keep the last state.
//
// With no active output at start-up the program waits when outputs are installed or when the
// audio service is not answering yet; opening fails when no output device is installed at all.
// deviceInUse() counts the outputs acted on: it changes when the values start acting on another
// output, not when the same one comes back.
class EndpointMixer : public platform::Mixer {
public:
    // Milliseconds since some start, wrapping around.
    using Clock = std::function<std::uint32_t()>;
    // Longer than the audio service takes to come up after a restart or at logon and than a
    // Bluetooth headset takes to reconnect its audio, so that only a lasting fault ends the
    // program.
    static constexpr std::uint32_t kSustainedFailureMs = 10000;
    static constexpr std::uint32_t kRenewalIntervalMs = 1000;

    EndpointMixer(platform::AudioEndpoints& endpoints, Clock clock);
    ~EndpointMixer() override;

    std::uint32_t open(std::uint32_t deviceId,
                       std::unique_ptr<platform::MixerDevice>& device) override;
    std::uint32_t deviceInUse() override;

private:
    class Device;
    enum class Reach { Device, NoDevice, Lost, Failed };
    enum class Outcome { Done, NothingNow, NoAnswer };
    enum class Control { Volume, Mute };
    template <typename Call>
    Outcome attempt(Call&& call);
    Outcome writeKept(Control control);
    Outcome writePending();
    std::uint32_t settle(Outcome outcome);
    Reach reachDefaultOutput();
    void readName(const std::string& id);
    void watch();
    void renewConnection();
    void forgetDevice();
    std::uint32_t readVolume(std::uint32_t& level);
    std::uint32_t writeVolume(std::uint32_t level);
    std::uint32_t readMute(std::uint32_t& value);
    std::uint32_t writeMute(std::uint32_t value);
    std::string deviceName();

    platform::AudioEndpoints& endpoints_;
    Clock clock_;
    bool watchAsked_ = false;
    bool watching_ = false;
    bool rewatch_ = false;  // the watch was lost with the connection: register it again
    bool changed_ = true;   // look the default output up again before the next call
    bool opened_ = false;
    std::string volumeOf_;  // the device whose volume object volume_ is
    std::unique_ptr<platform::EndpointVolume> volume_;
    std::string lastUsed_;  // the device last acted on, kept while there is none
    std::uint32_t deviceSerial_ = 0;
    std::uint32_t lastLevel_ = 0;
    std::uint32_t lastMute_ = 0;
    std::string lastName_;
    std::optional<std::uint32_t> pendingLevel_;
    std::optional<std::uint32_t> pendingMute_;
    std::optional<std::uint32_t> failingSince_;
    std::optional<std::uint32_t> lastRenewal_;
};

}  // namespace qmx::mixer
