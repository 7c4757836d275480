#include "win32/audio/win32_mixer.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstring>

#include "common/utf8.h"
#include "win32/audio/winmm.h"
#include "win32/system/unique_handle.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

namespace {

using platform::MixerControl;
using platform::MixerDevice;
using platform::MixerLine;

// The legacy mixer (winmm).
class LegacyDevice : public MixerDevice {
public:
    explicit LegacyDevice(HMIXER handle) : mixer_(handle) {}

    std::uint32_t lineInfoByComponentType(std::uint32_t type, MixerLine& line) override {
        MIXERLINEA info{};
        info.cbStruct = sizeof(info);
        info.dwComponentType = type;
        const MMRESULT rc =
            winmm::mixerGetLineInfoA(object(), &info, MIXER_GETLINEINFOF_COMPONENTTYPE);
        if (rc == MMSYSERR_NOERROR) {
            line.lineId = info.dwLineID;
            line.componentType = info.dwComponentType;
            // The driver names the product in the system's code page.
            const std::size_t length = strnlen(info.Target.szPname, sizeof(info.Target.szPname));
            wchar_t wide[sizeof(info.Target.szPname)] = {};
            const int count = MultiByteToWideChar(CP_ACP, 0, info.Target.szPname,
                                                  static_cast<int>(length), wide, std::size(wide));
            const std::string name =
                utf8Of(std::wstring_view(wide, static_cast<std::size_t>(count)));
            const std::string_view fits = utf8Prefix(name, line.targetProductName.size() - 1);
            line.targetProductName.fill('\0');
            std::memcpy(line.targetProductName.data(), fits.data(), fits.size());
        }
        return rc;
    }

    std::uint32_t lineControlByType(std::uint32_t lineId, std::uint32_t type,
                                    MixerControl& control) override {
        MIXERCONTROLA found{};
        found.cbStruct = sizeof(found);
        MIXERLINECONTROLSA request{};
        request.cbStruct = sizeof(request);
        request.dwLineID = lineId;
        request.dwControlType = type;
        request.cControls = 1;
        request.cbmxctrl = sizeof(found);
        request.pamxctrl = &found;
        const MMRESULT rc =
            winmm::mixerGetLineControlsA(object(), &request, MIXER_GETLINECONTROLSF_ONEBYTYPE);
        if (rc == MMSYSERR_NOERROR) {
            control.controlId = found.dwControlID;
            control.controlType = found.dwControlType;
        }
        return rc;
    }

    std::uint32_t controlValue(std::uint32_t controlId, std::uint32_t& value) override {
        MIXERCONTROLDETAILS_UNSIGNED detail{};
        MIXERCONTROLDETAILS details = request(controlId, detail);
        const MMRESULT rc =
            winmm::mixerGetControlDetailsA(object(), &details, MIXER_GETCONTROLDETAILSF_VALUE);
        if (rc == MMSYSERR_NOERROR) value = detail.dwValue;
        return rc;
    }

    std::uint32_t setControlValue(std::uint32_t controlId, std::uint32_t value) override {
        MIXERCONTROLDETAILS_UNSIGNED detail{value};
        MIXERCONTROLDETAILS details = request(controlId, detail);
        return winmm::mixerSetControlDetails(object(), &details, MIXER_SETCONTROLDETAILSF_VALUE);
    }

private:
    HMIXEROBJ object() const { return reinterpret_cast<HMIXEROBJ>(mixer_.get()); }

    static MIXERCONTROLDETAILS request(std::uint32_t controlId,
                                       MIXERCONTROLDETAILS_UNSIGNED& detail) {
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof(details);
        details.dwControlID = controlId;
        details.cChannels = 1;
        details.cMultipleItems = 0;
        details.cbDetails = sizeof(detail);
        details.paDetails = &detail;
        return details;
    }

    UniqueMixer mixer_;
};

class LegacyMixer : public platform::Mixer {
public:
    std::uint32_t open(std::uint32_t deviceId, std::unique_ptr<MixerDevice>& device) override {
        HMIXER handle = nullptr;
        const MMRESULT rc = winmm::mixerOpen(&handle, deviceId, 0, 0, CALLBACK_NULL);
        if (rc == MMSYSERR_NOERROR) device = std::make_unique<LegacyDevice>(handle);
        return rc;
    }
};

}  // namespace

std::unique_ptr<platform::Mixer> makeLegacyMixer() {
    return std::make_unique<LegacyMixer>();
}

}  // namespace qmx::win32
