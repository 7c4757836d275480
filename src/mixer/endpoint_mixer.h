#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/event_log.h"
#include "mixer/backoff.h"
#include "mixer/failure_streaks.h"
#include "mixer/output_change_log.h"
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
// system reports a change of devices (before every call when it cannot report them). A device
// lost looks the default up again; a connection lost (the audio service stopped or restarted)
// is renewed, the first time at once, then after waits that double from kFirstRenewalWaitMs up
// to kLongestRenewalWaitMs until the default output is reached on a watched connection again.
// A watch the system refuses on a connection that answers is asked for again on its own, after
// waits that double the same way. Meanwhile reads give the last values known.
//
// Any other failure is "no answer now", as Windows gives for a while when the audio service is
// still starting at logon, while a device changes or a Bluetooth headset reconnects. Reads are
// always made and answer for themselves; a write is kept and made again at the next call until
// it goes through (a newer write of the same control replaces it), across a loss while the same
// device comes back; it is dropped when another device is in use or none is left. Each kind of
// call (the default look-up, the activation, each read and each write) keeps its own streak of
// failures, and a call fails only when its own kind has failed for kSustainedFailureMs, counted
// from its first failure since it could last be made (a loss, or no output, starts it again); a
// kept write made again that has failed that long fails the call that made it with
// kMixerKeptWriteFailed. A call that a new volume object of the same device loses again is
// refused, not lost: it counts as any other failure.
//
// With no active output the values are those of start-up without a device (level 0, not muted)
// and the device's name says there is none. At start-up the program waits when outputs are
// installed or when the system cannot count them now, and counts again, while no output is
// active, until the count answers; opening, or a later call with kMixerNoDeviceInstalled, fails
// only when a count finds no output device installed at all. While the name of the output in use
// cannot be read or shows nothing, or the system reports no changes, it is read again after
// waits that double as the renewals' do (not at every call); a name that shows nothing makes the
// device's name say it has none. deviceSerial() is a serial number of the output acted on: it
// changes when the values start acting on another output, not when the same one comes back.
class EndpointMixer : public platform::Mixer {
public:
    // Milliseconds since some start, wrapping around.
    using Clock = std::function<std::uint32_t()>;
    // Longer than the audio service takes to come up after a restart or at logon and than a
    // Bluetooth headset takes to reconnect its audio, so that only a lasting fault ends the
    // program.
    static constexpr std::uint32_t kSustainedFailureMs = 10000;
    static constexpr std::uint32_t kFirstRenewalWaitMs = 1000;
    static constexpr std::uint32_t kLongestRenewalWaitMs = 30000;

    EndpointMixer(platform::AudioEndpoints& endpoints, EventLog& log, Clock clock);
    ~EndpointMixer() override;

    std::uint32_t open(std::uint32_t deviceId,
                       std::unique_ptr<platform::MixerDevice>& device) override;
    std::uint32_t deviceSerial() override;

private:
    class Device;
    enum class Reach { Device, NoDevice, Lost, Failed };
    struct Outcome {
        enum Kind { Done, NoDevice, Lost, NoAnswer } kind;
        EndpointCall failed = EndpointCall::DefaultLookup;  // for NoAnswer
    };
    enum class Control { Volume, Mute };
    template <typename Call>
    Outcome attempt(EndpointCall kind, Call&& call);
    Outcome writeKept(Control control);
    bool writePending();
    void dropKeptWrites();
    std::uint32_t resultFor(const Outcome& outcome) const;
    Reach reachDefaultOutput();
    Reach lookUp();
    Reach activate(const std::string& id);
    void noDevice();
    void countInstalledOutputs();
    void readName(const std::string& id);
    bool nameShowsNothing() const;
    // No notice would tell of a new name: the system reports no changes, or the name shows
    // nothing (no notice comes when it becomes readable).
    bool nameUnheard() const;
    void watch();
    void watched(bool on);
    void renewConnection();
    void forgetDevice();
    std::uint32_t readVolume(std::uint32_t& level);
    std::uint32_t writeVolume(std::uint32_t level);
    std::uint32_t readMute(std::uint32_t& value);
    std::uint32_t writeMute(std::uint32_t value);
    std::string deviceName();

    platform::AudioEndpoints& endpoints_;
    EventLog& log_;
    Clock clock_;
    FailureStreaks streaks_;
    OutputChangeLog outputLog_;
    bool watchAsked_ = false;
    bool watching_ = false;
    bool changed_ = true;   // look the default output up again before the next call
    bool notified_ = true;  // the system told of a change: the outputs and the name may be new
    std::string volumeOf_;  // the device whose volume object volume_ is
    std::unique_ptr<platform::EndpointVolume> volume_;
    // A bit per EndpointCall whose last call a new volume object refused with a loss code.
    std::uint32_t refusedAsLost_ = 0;
    EndpointCall lookUpFailed_ = EndpointCall::DefaultLookup;  // the call of a Failed look-up
    std::string lastUsed_;  // the device last acted on, kept while there is none
    std::uint32_t deviceSerial_ = 0;
    bool noDevice_ = false;  // the system answered that no output is active
    std::uint32_t lastLevel_ = 0;
    std::uint32_t lastMute_ = 0;
    std::optional<std::string> lastName_;  // unknown until first read
    std::optional<std::uint32_t> pendingLevel_;
    std::optional<std::uint32_t> pendingMute_;
    // Renewals since the default output was last reached, watched.
    Backoff renewal_{kFirstRenewalWaitMs, kLongestRenewalWaitMs};
    Backoff registration_{kFirstRenewalWaitMs, kLongestRenewalWaitMs};  // refusals of the watch
    Backoff nameRead_{kFirstRenewalWaitMs, kLongestRenewalWaitMs};      // names no notice tells of
    Backoff count_{kFirstRenewalWaitMs, kLongestRenewalWaitMs};         // counts that failed
    bool countNeeded_ = true;  // no output was active yet, nor did a count answer
    bool noneInstalled_ = false;
};

}  // namespace qmx::mixer
