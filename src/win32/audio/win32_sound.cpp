#include "win32/audio/win32_sound.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

#include "win32/audio/winmm.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

namespace {

// The file's path as the wave device can open it. The wide-character commands take any path,
// but some wave drivers (Wine's among them) pass the name on in the system's code page: a
// folder name the code page cannot spell is then given by its short name, where it has one.
std::wstring openablePath(const std::wstring& path) {
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr,
                        &lossy);
    if (!lossy) return path;
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size) return path;
    shortPath.resize(length);
    return shortPath;
}

}  // namespace

std::uint32_t Win32Sound::open(std::string_view deviceType, std::string_view fileName,
                               std::uint32_t& deviceId) {
    const std::wstring type = widen(deviceType);
    const std::wstring file = openablePath(widen(fileName));
    MCI_OPEN_PARMSW parameters{};
    parameters.lpstrDeviceType = type.c_str();
    parameters.lpstrElementName = file.c_str();
    const MCIERROR rc =
        winmm::mciSendCommandW(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                               reinterpret_cast<DWORD_PTR>(&parameters));
    if (rc == 0) deviceId = parameters.wDeviceID;
    return rc;
}

std::uint32_t Win32Sound::play(std::uint32_t deviceId, platform::WindowId notify) {
    MCI_PLAY_PARMS parameters{};
    parameters.dwCallback = static_cast<DWORD_PTR>(notify);
    return winmm::mciSendCommandW(deviceId, MCI_PLAY, MCI_NOTIFY,
                                  reinterpret_cast<DWORD_PTR>(&parameters));
}

std::uint32_t Win32Sound::stop(std::uint32_t deviceId) {
    MCI_GENERIC_PARMS parameters{};
    return winmm::mciSendCommandW(deviceId, MCI_STOP, MCI_WAIT,
                                  reinterpret_cast<DWORD_PTR>(&parameters));
}

std::uint32_t Win32Sound::close(std::uint32_t deviceId) {
    MCI_GENERIC_PARMS parameters{};
    return winmm::mciSendCommandW(deviceId, MCI_CLOSE, MCI_WAIT,
                                  reinterpret_cast<DWORD_PTR>(&parameters));
}

std::string Win32Sound::errorText(std::uint32_t error) {
    wchar_t text[256] = {};
    if (!winmm::mciGetErrorStringW(error, text, 256)) return "MCI error " + std::to_string(error);
    return utf8Of(text);
}

}  // namespace qmx::win32
