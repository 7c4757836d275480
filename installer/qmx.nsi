; The Windows installer of Velto Volume Controller: makensis -DBUILD=<folder with qmx.exe and
; POURING.WAV> -DICON=<app.ico> -DOUTFILE=<setup.exe> qmx.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; No file times in the installer: the same sources give the same bytes.
SetDateSave off

!define PRODUCT "Velto Volume Controller"
!define VERSION "4.0"
!define TITLE "Velto Volume Controller 4.0"
!define PUBLISHER "Korwen's Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VeltoVolumeController"
!define SETTINGS_KEY "Software\Korwen's Software\Velto Volume Controller\4.0"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

; Install for anyone using this computer (Program Files, HKLM; needs an administrator) or just
; for the user (their own Programs folder, HKCU; never elevated), through NSIS's multi-user
; support: /AllUsers and /CurrentUser choose silently, an earlier installation's scope is the
; default, and the choice is the first page when the installer runs as an administrator.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
; The manifest asks for no elevation: a standard user, and /S /CurrentUser, never see a prompt.
; An administrator who starts the installer elevated chooses between the two scopes.
RequestExecutionLevel user

Name "${TITLE}"
OutFile "${OUTFILE}"
BrandingText "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION startUnelevated

!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_PRE checkOtherScope
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "4.0.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${TITLE} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

; Files in use cannot be replaced or removed: a running program is asked to close (it ends as
; its Close command does) and, if it is still there, the user is asked to close it. A silent run
; then gives up (exit code 2) rather than leave a half-installed program.
!macro CLOSE_PROGRAM_FIRST un
Function ${un}closeProgramFirst
    ${Do}
        FindWindow $0 "QmxTrayHost"
        ${If} $0 == 0
            ${Break}
        ${EndIf}
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        ${For} $1 1 50
            Sleep 100
            FindWindow $0 "QmxTrayHost"
            ${IfThen} $0 == 0 ${|} ${ExitFor} ${|}
        ${Next}
        ${If} $0 == 0
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${PRODUCT} is running. Close it from its tray icon's menu \
            ($\"Close Velto Volume Controller$\"), then choose Retry." \
            /SD IDCANCEL IDRETRY +2
        Quit
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM_FIRST ""
!insertmacro CLOSE_PROGRAM_FIRST "un."

; The program must not run elevated (its settings are the user's, its browser windows would run
; elevated, and a later normal start could not see it): the desktop shell starts it as the user
; who is logged on.
Function startUnelevated
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\qmx.exe"'
FunctionEnd

; Two installations at two paths are allowed, one for everyone and one for a user: say so before
; the second one is made, and let the user go on or cancel.
Function checkOtherScope
    ${If} $MultiUser.InstallMode == "CurrentUser"
        ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        StrCpy $1 "for anyone using this computer"
        StrCpy $2 "just for you"
    ${Else}
        ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        StrCpy $1 "just for you"
        StrCpy $2 "for anyone using this computer"
    ${EndIf}
    ${If} $0 != ""
        MessageBox MB_OKCANCEL|MB_ICONINFORMATION \
            "${PRODUCT} is already installed $1, in $0.$\r$\n$\r$\nInstall another copy $2 \
            in $INSTDIR?" /SD IDOK IDOK +2
        Quit
    ${EndIf}
FunctionEnd

; The program's start-up entry in one Run key, removed only when it starts this installation's
; qmx.exe (quoted when the path has a space, as the program writes it).
!macro REMOVE_RUN_ENTRY root
    ReadRegStr $0 ${root} "${RUN_KEY}" "${TITLE}"
    ${If} $0 == "$\"$INSTDIR\qmx.exe$\""
    ${OrIf} $0 == "$INSTDIR\qmx.exe"
        DeleteRegValue ${root} "${RUN_KEY}" "${TITLE}"
    ${EndIf}
!macroend

Function .onInit
    SetRegView 64
    !insertmacro MULTIUSER_INIT
    Call closeProgramFirst
    ${If} ${Silent}
        Call checkOtherScope
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
    Call un.closeProgramFirst
FunctionEnd

Section "${PRODUCT}"
    SetOutPath "$INSTDIR"
    File "${BUILD}\qmx.exe"
    File "${BUILD}\POURING.WAV"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The program keeps its settings here (it creates the key itself when a choice is first
    ; stored); the installer makes it for the installing user now. Values already in it (an
    ; earlier installation's) stay as they are.
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "installing" 1
    DeleteRegValue HKCU "${SETTINGS_KEY}" "installing"

    CreateShortcut "${SHORTCUT}" "$INSTDIR\qmx.exe" "" "$INSTDIR\qmx.exe" 0 SW_SHOWNORMAL "" \
        "Master volume control in the notification area"

    ; The installed-programs entry of this scope (HKLM for everyone, HKCU just for the user);
    ; installing again over it keeps one entry.
    ${If} $MultiUser.InstallMode == "AllUsers"
        StrCpy $1 "/AllUsers"
    ${Else}
        StrCpy $1 "/CurrentUser"
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qmx.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\" $1"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        "$\"$INSTDIR\uninstall.exe$\" /S $1"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    Delete "$INSTDIR\qmx.exe"
    Delete "$INSTDIR\POURING.WAV"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${If} $MultiUser.InstallMode == "AllUsers"
        !insertmacro REMOVE_RUN_ENTRY HKLM
    ${EndIf}
    !insertmacro REMOVE_RUN_ENTRY HKCU

    ; The settings go only when the user says so; a silent uninstall keeps them.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "Remove your ${PRODUCT} settings (skin, keep on top, shadow) too?" /SD IDNO IDNO done
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Korwen's Software\Velto Volume Controller"
    DeleteRegKey /ifempty HKCU "Software\Korwen's Software"
    done:
SectionEnd
