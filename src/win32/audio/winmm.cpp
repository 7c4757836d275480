#include "win32/audio/winmm.h"

#include "win32/system/system_library.h"

namespace qmx::win32::winmm {

namespace {

template <typename Function>
Function resolve(const char* name) {
    static SystemLibrary winmm(L"winmm.dll");
    return winmm.function<Function>(name);
}

}  // namespace

// decltype(&::f) names the system's declaration without importing it.
#define QMX_WINMM_CALL(name, fallback, ...)                     \
    static const auto call = resolve<decltype(&::name)>(#name); \
    return call ? call(__VA_ARGS__) : fallback

MMRESULT mixerOpen(LPHMIXER mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance,
                   DWORD flags) {
    QMX_WINMM_CALL(mixerOpen, MMSYSERR_NODRIVER, mixer, device, callback, instance, flags);
}

MMRESULT mixerClose(HMIXER mixer) {
    QMX_WINMM_CALL(mixerClose, MMSYSERR_INVALHANDLE, mixer);
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags) {
    QMX_WINMM_CALL(mixerGetLineInfoA, MMSYSERR_NODRIVER, mixer, line, flags);
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags) {
    QMX_WINMM_CALL(mixerGetLineControlsA, MMSYSERR_NODRIVER, mixer, controls, flags);
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    QMX_WINMM_CALL(mixerGetControlDetailsA, MMSYSERR_NODRIVER, mixer, details, flags);
}

MMRESULT mixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    QMX_WINMM_CALL(mixerSetControlDetails, MMSYSERR_NODRIVER, mixer, details, flags);
}

MCIERROR mciSendCommandW(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    QMX_WINMM_CALL(mciSendCommandW, MCIERR_DEVICE_NOT_INSTALLED, device, message, flags,
                   parameters);
}

BOOL mciGetErrorStringW(MCIERROR error, LPWSTR text, UINT length) {
    QMX_WINMM_CALL(mciGetErrorStringW, FALSE, error, text, length);
}

}  // namespace qmx::win32::winmm
