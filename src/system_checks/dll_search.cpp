#include "system_checks/dll_search.h"

namespace qmx::system_checks {

// Vista (6.0) keeps the usual search even with KB2533623: NSIS's installer stub and 7-Zip both
// report that CoCreateInstance(CLSID_ShellLink) fails there once SetDefaultDllDirectories has
// been called, and skip the call on 6.0 alone (NSIS Source/exehead/Main.c, 7-Zip
// C/DllSecur.c). Neither explains the cause, so whether it spares the classes this program
// creates (the audio device enumerator and policy-config client, the accessibility property
// service, Internet Explorer) cannot be told without Vista; the preload is what a Vista without
// the update gets in any case.
DllSearchPlan dllSearchPlan(const platform::OsVersion& version, bool searchFlagsKnown) {
    const bool vista = version.major == 6 && version.minor == 0;
    const bool restrict = searchFlagsKnown && !vista;
    return {restrict, !restrict};
}

}  // namespace qmx::system_checks
