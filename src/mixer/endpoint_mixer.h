#pragma once

#include <cstdint>
#include <memory>
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
// audio service once per call and looks again; while there is still nothing to act on, reads
// give the last values known, writes are skipped, and the next call looks again. Only a failure
// that is not a loss fails a call. Opening fails on such a failure too, and when no output
// device is installed at all before any was opened; with devices installed but none active the
// program waits for one. deviceInUse() counts the outputs acted on: it changes when the values
// start acting on another output, not when the same one comes back.
class EndpointMixer : public platform::Mixer {
public:
    explicit EndpointMixer(platform::AudioEndpoints& endpoints);
    ~EndpointMixer() override;

    std::uint32_t open(std::uint32_t deviceId,
                       std::unique_ptr<platform::MixerDevice>& device) override;
    std::uint32_t deviceInUse() override;

private:
    class Device;
    enum class Reach { Device, NoDevice, Lost, Failed };
    template <typename Call>
    std::uint32_t onDefaultOutput(Call&& call);
    Reach reachDefaultOutput();
    bool worthWaitingFor(Reach reach);
    void watch();
    void reconnect();
    void forgetDevice();
    std::uint32_t readVolume(std::uint32_t& level);
    std::uint32_t writeVolume(std::uint32_t level);
    std::uint32_t readMute(std::uint32_t& value);
    std::uint32_t writeMute(std::uint32_t value);
    std::string deviceName();

    platform::AudioEndpoints& endpoints_;
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
};

}  // namespace qmx::mixer
