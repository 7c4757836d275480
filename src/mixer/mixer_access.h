#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/program_end.h"
#include "platform/mixer.h"

namespace qmx::mixer {

// Mixer state shared by the whole program: the newest open device (every discovery replaces it
// and the one it replaces is closed), the result of the latest mixer call and the device name.
struct MixerShared {
    std::unique_ptr<platform::MixerDevice> hmixer;
    std::uint32_t mixerRc = 0;
    std::string mixerName;      // the whole 32-character product-name field; empty until known
    std::uint32_t reopens = 0;  // how often a vanished device was replaced by device 0 anew
};

// One window's own records: the line and the control its latest discovery found, and the value
// last read or written.
struct MixerRecords {
    platform::MixerLine lineInfo;
    platform::MixerControl controlInfo;
    std::uint32_t detailValue = 0;
    std::uint32_t reopensSeen = 0;  // the shared reopen count these records were found at
};

// Discovery and value calls on the master (speakers) line of mixer device 0. Every failing call
// is reported with its own message and ends the program.
class MixerAccess {
public:
    MixerAccess(platform::Mixer& mixer, ProgramEnd& programEnd);
    MixerAccess(const MixerAccess&) = delete;
    MixerAccess& operator=(const MixerAccess&) = delete;

    MixerShared& shared() { return shared_; }

    // Opens device 0 anew, finds the speakers line and its control of `controlType`, and keeps
    // them in `records`.
    void discover(MixerRecords& records, std::uint32_t controlType);
    // Reads the control in `records` into records.detailValue; `failureMessage` is the caller's.
    std::uint32_t read(MixerRecords& records, std::string_view failureMessage);
    // Writes `value` (also kept in records.detailValue) to the control in `records`.
    void write(MixerRecords& records, std::uint32_t value);
    // Updates mixerName from the device in use and returns it.
    const std::string& refreshMixerName();
    // Changes when the values start acting on another device (the system's default output).
    std::uint32_t deviceSerial() { return mixer_.deviceSerial(); }

private:
    std::uint32_t findControl(platform::MixerDevice& device, std::uint32_t controlType,
                              MixerRecords& records, std::string_view& failedStep);
    bool reopen(MixerRecords& records);
    template <typename Call>
    void callWithReopen(MixerRecords& records, Call&& call);
    platform::MixerDevice& device();
    void check(std::string_view failureMessage);

    platform::Mixer& mixer_;
    ProgramEnd& programEnd_;
    MixerShared shared_;
};

}  // namespace qmx::mixer
