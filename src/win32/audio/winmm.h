#pragma once

#include <windows.h>

#include <mmsystem.h>

// The multimedia functions the program uses, from the system folder's winmm.dll, loaded when
// one is first called (a program on Windows 7 and later that plays no sound never loads it).
// Without the DLL each answers as the system does without a driver.
namespace qmx::win32::winmm {

MMRESULT mixerOpen(LPHMIXER mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance,
                   DWORD flags);
MMRESULT mixerClose(HMIXER mixer);
MMRESULT mixerGetLineInfoA(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags);
MMRESULT mixerGetLineControlsA(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags);
MMRESULT mixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
MMRESULT mixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
MCIERROR mciSendCommandW(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters);
BOOL mciGetErrorStringW(MCIERROR error, LPWSTR text, UINT length);

}  // namespace qmx::win32::winmm
