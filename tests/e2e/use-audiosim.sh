#!/usr/bin/env bash
# Makes the Wine prefix in WINEPREFIX use the simulated audio system built beside the program
# (build/windows/audiosim): its DLL becomes the COM class of the system's device enumerator and
# of the policy-config clients (the simulator's `policy` decides which of them answer), and the
# simulator starts from its reset state. Running it again
# changes nothing more. `use-audiosim.sh --off` gives the prefix Wine's own enumerator back.
set -eu
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
here=$(cd "$(dirname "$0")" && pwd)
sim=${AUDIOSIM_DIR:-$here/../../build/windows/audiosim}
sim=$(cd "$sim" && pwd)
classes='HKLM\Software\Classes\CLSID'
enumerator="$classes\\{BCDE0395-E52F-467C-8E3D-C4579291692E}\\InprocServer32"
policy="$classes\\{870AF99C-171D-4F9E-AF0D-E63DF40C2BC9}"
vista_policy="$classes\\{294935CE-F637-4E7C-A41B-AB255460B862}"

reg() { wine reg "$@" >/dev/null 2>&1 </dev/null; }
serve() { reg add "$1" /ve /d "$2" /f && reg add "$1" /v ThreadingModel /d Both /f; }

if [ "${1:-}" = --off ]; then
    serve "$enumerator" 'C:\windows\system32\mmdevapi.dll'
    reg delete "$policy" /f || true
    reg delete "$vista_policy" /f || true
    exit 0
fi

dll="Z:${sim//\//\\}\\audiosim.dll"
serve "$enumerator" "$dll"
serve "$policy\\InprocServer32" "$dll"
serve "$vista_policy\\InprocServer32" "$dll"
wine "$sim/audiosim.exe" reset >/dev/null 2>&1 </dev/null
