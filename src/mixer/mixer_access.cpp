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

void MixerAccess::check(std::string_view failureMessage) {
    if (shared_.mixerRc != platform::kMixerNoError) {
        programEnd_.fatal(failureMessage, kMbIconExclamation);
    }
}

void MixerAccess::discover(MixerRecords& records, std::uint32_t controlType) {
    std::unique_ptr<platform::MixerDevice> opened;
    shared_.mixerRc = mixer_.open(0, opened);
    check(kOpenFailed);
    // The superseded device is never used again: replacing it closes it.
    shared_.hmixer = std::move(opened);

    platform::MixerLine line;
    shared_.mixerRc = device().lineInfoByComponentType(platform::kComponentTypeSpeakers, line);
    check(kLineInfoFailed);
    records.lineInfo = line;

    platform::MixerControl control;
    shared_.mixerRc = device().lineControlByType(records.lineInfo.lineId, controlType, control);
    check(kLineControlsFailed);
    records.controlInfo = control;
}

std::uint32_t MixerAccess::read(MixerRecords& records, std::string_view failureMessage) {
    std::uint32_t value = 0;
    shared_.mixerRc = device().controlValue(records.controlInfo.controlId, value);
    check(failureMessage);
    records.detailValue = value;
    return value;
}

void MixerAccess::write(MixerRecords& records, std::uint32_t value) {
    records.detailValue = value;
    shared_.mixerRc = device().setControlValue(records.controlInfo.controlId, value);
    check(kWriteFailed);
}

}  // namespace qmx::mixer
