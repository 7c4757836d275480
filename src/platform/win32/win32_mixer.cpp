#include "platform/win32/win32_mixer.h"

#include <windows.h>
// clang-format off
#include <mmsystem.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include <propsys.h>
// clang-format on

#include <cmath>
#include <cstring>
#include <string>

#include "platform/win32/unique_handle.h"

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
        const MMRESULT rc = mixerGetLineInfoA(object(), &info, MIXER_GETLINEINFOF_COMPONENTTYPE);
        if (rc == MMSYSERR_NOERROR) {
            line.lineId = info.dwLineID;
            line.componentType = info.dwComponentType;
            static_assert(sizeof(info.Target.szPname) == sizeof(line.targetProductName));
            std::memcpy(line.targetProductName.data(), info.Target.szPname,
                        sizeof(info.Target.szPname));
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
            mixerGetLineControlsA(object(), &request, MIXER_GETLINECONTROLSF_ONEBYTYPE);
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
            mixerGetControlDetailsA(object(), &details, MIXER_GETCONTROLDETAILSF_VALUE);
        if (rc == MMSYSERR_NOERROR) value = detail.dwValue;
        return rc;
    }

    std::uint32_t setControlValue(std::uint32_t controlId, std::uint32_t value) override {
        MIXERCONTROLDETAILS_UNSIGNED detail{value};
        MIXERCONTROLDETAILS details = request(controlId, detail);
        return mixerSetControlDetails(object(), &details, MIXER_SETCONTROLDETAILSF_VALUE);
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
        const MMRESULT rc = mixerOpen(&handle, deviceId, 0, 0, CALLBACK_NULL);
        if (rc == MMSYSERR_NOERROR) device = std::make_unique<LegacyDevice>(handle);
        return rc;
    }
};

// The default playback endpoint, presented as a device whose speakers line carries a volume
// and a mute control. Levels map to the endpoint's scalar volume as level / 65535, so every
// level written reads back unchanged.
constexpr DWORD kEndpointLineId = 0xFFFF0000;
constexpr DWORD kEndpointVolumeId = 1;
constexpr DWORD kEndpointMuteId = 2;
constexpr PROPERTYKEY kFriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};

std::uint32_t fromHresult(HRESULT hr) {
    return SUCCEEDED(hr) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

class EndpointDevice : public MixerDevice {
public:
    EndpointDevice(ComPtr<IMMDevice> endpoint, ComPtr<IAudioEndpointVolume> volume)
        : endpoint_(std::move(endpoint)), volume_(std::move(volume)) {}

    std::uint32_t lineInfoByComponentType(std::uint32_t type, MixerLine& line) override {
        if (type != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS) return MIXERR_INVALLINE;
        line.lineId = kEndpointLineId;
        line.componentType = type;
        line.targetProductName.fill('\0');
        ComPtr<IPropertyStore> store;
        if (FAILED(endpoint_->OpenPropertyStore(STGM_READ, store.put()))) return MMSYSERR_ERROR;
        PROPVARIANT name;
        PropVariantInit(&name);
        if (SUCCEEDED(store->GetValue(kFriendlyName, &name)) && name.vt == VT_LPWSTR) {
            char text[64] = {};
            WideCharToMultiByte(CP_ACP, 0, name.pwszVal, -1, text, sizeof(text) - 1, nullptr,
                                nullptr);
            std::memcpy(line.targetProductName.data(), text,
                        strnlen(text, line.targetProductName.size() - 1));
        }
        PropVariantClear(&name);
        return MMSYSERR_NOERROR;
    }

    std::uint32_t lineControlByType(std::uint32_t lineId, std::uint32_t type,
                                    MixerControl& control) override {
        if (lineId != kEndpointLineId) return MIXERR_INVALLINE;
        if (type == MIXERCONTROL_CONTROLTYPE_VOLUME) {
            control.controlId = kEndpointVolumeId;
        } else if (type == MIXERCONTROL_CONTROLTYPE_MUTE) {
            control.controlId = kEndpointMuteId;
        } else {
            return MIXERR_INVALCONTROL;
        }
        control.controlType = type;
        return MMSYSERR_NOERROR;
    }

    std::uint32_t controlValue(std::uint32_t controlId, std::uint32_t& value) override {
        if (controlId == kEndpointVolumeId) {
            float scalar = 0;
            const HRESULT hr = volume_->GetMasterVolumeLevelScalar(&scalar);
            if (SUCCEEDED(hr)) value = static_cast<std::uint32_t>(std::nearbyint(scalar * 65535.0));
            return fromHresult(hr);
        }
        if (controlId == kEndpointMuteId) {
            BOOL muted = FALSE;
            const HRESULT hr = volume_->GetMute(&muted);
            if (SUCCEEDED(hr)) value = muted ? 1 : 0;
            return fromHresult(hr);
        }
        return MIXERR_INVALCONTROL;
    }

    std::uint32_t setControlValue(std::uint32_t controlId, std::uint32_t value) override {
        if (controlId == kEndpointVolumeId) {
            if (value > 65535) return MMSYSERR_INVALPARAM;
            return fromHresult(volume_->SetMasterVolumeLevelScalar(value / 65535.0f, nullptr));
        }
        if (controlId == kEndpointMuteId) {
            return fromHresult(volume_->SetMute(value != 0, nullptr));
        }
        return MIXERR_INVALCONTROL;
    }

private:
    ComPtr<IMMDevice> endpoint_;
    ComPtr<IAudioEndpointVolume> volume_;
};

// Every open looks up the default playback endpoint afresh, so a change of the default device
// is followed; while it stays the same endpoint, its volume object is reused rather than
// activated again for each of the many opens.
class EndpointMixer : public platform::Mixer {
public:
    std::uint32_t open(std::uint32_t deviceId, std::unique_ptr<MixerDevice>& device) override {
        if (deviceId != 0) return MMSYSERR_BADDEVICEID;
        if (!enumerator_.get() &&
            FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                    __uuidof(IMMDeviceEnumerator), enumerator_.putVoid()))) {
            return MMSYSERR_ERROR;
        }
        ComPtr<IMMDevice> endpoint;
        if (FAILED(enumerator_->GetDefaultAudioEndpoint(eRender, eConsole, endpoint.put()))) {
            return MMSYSERR_NODRIVER;
        }
        LPWSTR id = nullptr;
        if (FAILED(endpoint->GetId(&id))) return MMSYSERR_ERROR;
        const std::wstring endpointId(id);
        CoTaskMemFree(id);
        if (endpointId != volumeOf_ || !volume_.get()) {
            if (FAILED(endpoint->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                          volume_.putVoid()))) {
                volumeOf_.clear();
                return MMSYSERR_ERROR;
            }
            volumeOf_ = endpointId;
        }
        device = std::make_unique<EndpointDevice>(std::move(endpoint), volume_.share());
        return MMSYSERR_NOERROR;
    }

private:
    ComPtr<IMMDeviceEnumerator> enumerator_;
    ComPtr<IAudioEndpointVolume> volume_;
    std::wstring volumeOf_;  // the endpoint whose volume object volume_ is
};

}  // namespace

std::unique_ptr<platform::Mixer> makeMixer(unsigned osMajorVersion) {
    if (osMajorVersion >= 6) return std::make_unique<EndpointMixer>();
    return std::make_unique<LegacyMixer>();
}

}  // namespace qmx::win32
