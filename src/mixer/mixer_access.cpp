#include "mixer/mixer_access.h"

#include <cassert>

#include "mixer/mixer_messages.h"

namespace qmx::mixer {

MixerAccess::MixerAccess(platform::Mixer& mixer, ProgramEnd& programEnd)
    : mixer_(mixer), programEnd_(programEnd) {}

platform::MixerDevice& MixerAccess::device() {
    assert(shared_.hmixer && "a value call runs only after a successful discovery");
    return *shared_.hmixer;
}

// A call that found a write made before it failed for good reports that write's failure; one
// that found no device installed after all, the opening's.
void MixerAccess::check(std::string_view failureMessage) {
    if (shared_.mixerRc == platform::kMixerKeptWriteFailed) {
        programEnd_.fatal(kWriteFailed, kMbIconExclamation);
    } else if (shared_.mixerRc == platform::kMixerNoDeviceInstalled) {
        programEnd_.fatal(kOpenFailed, kMbIconExclamation);
    } else if (shared_.mixerRc != platform::kMixerNoError) {
        programEnd_.fatal(failureMessage, kMbIconExclamation);
    }
}

void MixerAccess::discover(MixerRecords& records, std::uint32_t controlType) {
    std::unique_ptr<platform::MixerDevice> opened;
    shared_.mixerRc = mixer_.open(0, opened);
    check(kOpenFailed);
    // The superseded device is never used again: replacing it closes it.
    shared_.hmixer = std::move(opened);
    std::string_view failedStep;
    shared_.mixerRc = findControl(device(), controlType, records, failedStep);
    check(failedStep);
}

// Finds the speakers line and its control of `controlType` on `device` and keeps them in
// `records`; on a failure `failedStep` learns which step's message tells it, and the records stay.
std::uint32_t MixerAccess::findControl(platform::MixerDevice& device, std::uint32_t controlType,
                                       MixerRecords& records, std::string_view& failedStep) {
    platform::MixerLine line;
    platform::MixerControl control;
    std::uint32_t rc = device.lineInfoByComponentType(platform::kComponentTypeSpeakers, line);
    if (rc != platform::kMixerNoError) {
        failedStep = kLineInfoFailed;
        return rc;
    }
    rc = device.lineControlByType(line.lineId, controlType, control);
    if (rc != platform::kMixerNoError) {
        failedStep = kLineControlsFailed;
        return rc;
    }
    records.lineInfo = line;
    records.controlInfo = control;
    records.reopensSeen = shared_.reopens;
    return rc;
}

// Opens device 0 again and finds the same line and control on it, quietly; false when any step
// fails.
bool MixerAccess::reopen(MixerRecords& records) {
    std::unique_ptr<platform::MixerDevice> opened;
    if (mixer_.open(0, opened) != platform::kMixerNoError) return false;
    ++shared_.reopens;
    std::string_view failedStep;
    if (findControl(*opened, records.controlInfo.controlType, records, failedStep) !=
        platform::kMixerNoError) {
        --shared_.reopens;
        return false;
    }
    shared_.hmixer = std::move(opened);
    return true;
}

// A value call whose device vanished (a sound card unplugged, its driver replaced) reopens
// device 0 and tries once more before the failure is reported. The other window's records name
// controls of the vanished device: they are found anew on the successor before their next call.
template <typename Call>
void MixerAccess::callWithReopen(MixerRecords& records, Call&& call) {
    if (records.reopensSeen != shared_.reopens) {
        std::string_view failedStep;
        shared_.mixerRc =
            findControl(device(), records.controlInfo.controlType, records, failedStep);
        if (shared_.mixerRc != platform::kMixerNoError) return;
    }
    shared_.mixerRc = call();
    if (platform::mixerDeviceVanished(shared_.mixerRc) && reopen(records)) {
        shared_.mixerRc = call();
    }
}

std::uint32_t MixerAccess::read(MixerRecords& records, std::string_view failureMessage) {
    std::uint32_t value = 0;
    callWithReopen(records,
                   [&] { return device().controlValue(records.controlInfo.controlId, value); });
    check(failureMessage);
    records.detailValue = value;
    return value;
}

void MixerAccess::write(MixerRecords& records, std::uint32_t value) {
    records.detailValue = value;
    callWithReopen(records,
                   [&] { return device().setControlValue(records.controlInfo.controlId, value); });
    check(kWriteFailed);
}

// The name of the device in use now, as its line reports it; the last one known when it cannot
// be read.
const std::string& MixerAccess::refreshMixerName() {
    platform::MixerLine line;
    if (shared_.hmixer && shared_.hmixer->lineInfoByComponentType(
                              platform::kComponentTypeSpeakers, line) == platform::kMixerNoError) {
        shared_.mixerName.assign(line.targetProductName.data(), line.targetProductName.size());
    }
    return shared_.mixerName;
}

}  // namespace qmx::mixer
