#include "platform/win32/win32_sound.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

namespace qmx::win32 {

std::uint32_t Win32Sound::open(std::string_view deviceType, std::string_view fileName,
                               std::uint32_t& deviceId) {
    const std::string type(deviceType);
    const std::string file(fileName);
    MCI_OPEN_PARMSA parameters{};
    parameters.lpstrDeviceType = type.c_str();
    parameters.lpstrElementName = file.c_str();
    const MCIERROR rc = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                                        reinterpret_cast<DWORD_PTR>(&parameters));
    if (rc == 0) deviceId = parameters.wDeviceID;
    return rc;
}

std::uint32_t Win32Sound::play(std::uint32_t deviceId, platform::WindowId notify) {
    MCI_PLAY_PARMS parameters{};
    parameters.dwCallback = static_cast<DWORD_PTR>(notify);
    return mciSendCommandA(deviceId, MCI_PLAY, MCI_NOTIFY,
                           reinterpret_cast<DWORD_PTR>(&parameters));
}

std::uint32_t Win32Sound::stop(std::uint32_t deviceId) {
    MCI_GENERIC_PARMS parameters{};
    return mciSendCommandA(deviceId, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parameters));
}

std::uint32_t Win32Sound::close(std::uint32_t deviceId) {
    MCI_GENERIC_PARMS parameters{};
    return mciSendCommandA(deviceId, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parameters));
}

std::string Win32Sound::errorText(std::uint32_t error) {
    char text[256] = {};
    if (!mciGetErrorStringA(error, text, sizeof(text))) return "MCI error " + std::to_string(error);
    return text;
}

}  // namespace qmx::win32
