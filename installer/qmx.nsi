; The Windows installer of Velto Volume Controller: makensis -DBUILD=<folder with qmx.exe and
; POURING.WAV> -DICON=<app.ico> -DOUTFILE=<setup.exe> qmx.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; No file times in the installer: the same sources give the same bytes.
SetDateSave off

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Velto Volume Controller"
!define VERSION "4.0"
!define TITLE "Velto Volume Controller 4.0"
!define PUBLISHER "Korwen's Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VeltoVolumeController"
!define SETTINGS_KEY "Software\Korwen's Software\Velto Volume Controller\4.0"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION startUnelevated

!insertmacro MUI_PAGE_WELCOME
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

; Files in use cannot be replaced or removed: the running program must be closed first. A silent
; run gives up (exit code 2) rather than leave a half-installed program.
!macro CLOSE_PROGRAM_FIRST un
Function ${un}closeProgramFirst
    ${Do}
        FindWindow $0 "QmxTrayHost"
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

; The installer runs elevated; the program must not (its settings are the user's, its browser
; windows would run elevated, and a later normal start could not see it). The desktop shell
; starts it as the user who is logged on.
Function startUnelevated
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\qmx.exe"'
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
    Call closeProgramFirst
FunctionEnd

Function un.onInit
    SetRegView 64
    Call un.closeProgramFirst
FunctionEnd

Section "${PRODUCT}"
    SetShellVarContext all
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

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qmx.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\qmx.exe"
    Delete "$INSTDIR\POURING.WAV"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    !insertmacro REMOVE_RUN_ENTRY HKLM
    !insertmacro REMOVE_RUN_ENTRY HKCU

    ; The settings go only when the user says so; a silent uninstall keeps them.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "Remove your ${PRODUCT} settings (skin, keep on top, shadow) too?" /SD IDNO IDNO done
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Korwen's Software\Velto Volume Controller"
    DeleteRegKey /ifempty HKCU "Software\Korwen's Software"
    done:
SectionEnd
