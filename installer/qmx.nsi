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
; default, and the choice is the first page when the installer runs as an administrator. The
; uninstaller does not use it: it removes the installation it lies in, whatever its switches.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_NOUNINSTALL
!define MULTIUSER_INSTALLMODE_FUNCTION keepFolderFromCommandLine
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
; A file that cannot be written fails the installation rather than being skipped.
AllowSkipFiles off
; The manifest asks for no elevation: a standard user, and /S /CurrentUser, never see a prompt.
; An administrator who starts the installer elevated chooses between the two scopes.
RequestExecutionLevel user

Name "${TITLE}"
OutFile "${OUTFILE}"
BrandingText "${PUBLISHER}"

; Exit codes besides NSIS's own (0 done, 1 cancelled, 2 aborted).
!define EXIT_FOLDER_REFUSED 3      ; for everyone, but outside Program Files
!define EXIT_OTHER_FOLDER 4        ; /D= names another folder than this kind's installation
!define EXIT_FILE_IN_USE 5         ; the program's file could not be replaced
!define EXIT_ELEVATION_REFUSED 6   ; the uninstaller of an installation for everyone got no rights

Var folderFromCommandLine

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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE checkFolderPage
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

; Files in use cannot be replaced or removed: the copy that runs from the folder being installed
; to or removed is asked to close (it ends as its Close command does) and, if it is still there,
; the user is asked to close it; copies elsewhere (the other kind of installation, a portable
; copy) run on. A silent run then gives up (exit code 2) rather than leave a half-installed
; program. Done once the user has confirmed, never before the first page.
; Where text $R0 contains $R1: its index into $R2, or -1.
!macro INDEX_OF un
Function ${un}indexOf
    StrLen $R3 $R1
    StrCpy $R2 0
    ${Do}
        StrCpy $R4 $R0 $R3 $R2
        ${IfThen} $R4 == $R1 ${|} Return ${|}
        ${IfThen} $R4 == "" ${|} ${Break} ${|}
        IntOp $R2 $R2 + 1
    ${Loop}
    StrCpy $R2 -1
FunctionEnd
!macroend
!insertmacro INDEX_OF ""
!insertmacro INDEX_OF "un."

; A file of the installation that is in use (a copy running in another user's session, which
; no window search finds) fails the run before anything changed: never the old program beside
; new files, never entries without their program.
!macro FAIL_WHEN_IN_USE un
Function ${un}failWhenInUse
    ${If} ${FileExists} "$INSTDIR\qmx.exe"
        ClearErrors
        FileOpen $0 "$INSTDIR\qmx.exe" a
        ${If} ${Errors}
            MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\qmx.exe is in use (${PRODUCT} may be running \
                for another user of this computer). Nothing was changed: close the program \
                there, then try again." /SD IDOK
            SetErrorLevel ${EXIT_FILE_IN_USE}
            Quit
        ${EndIf}
        FileClose $0
    ${EndIf}
FunctionEnd
!macroend
!insertmacro FAIL_WHEN_IN_USE ""
!insertmacro FAIL_WHEN_IN_USE "un."

!macro CLOSE_PROGRAM_FIRST un
; The tray-host window of the copy running $INSTDIR\qmx.exe into $0, or 0.
Function ${un}findOwnCopy
    StrCpy $0 0
    ${Do}
        System::Call 'user32::FindWindowExW(p 0, p r0, w "QmxTrayHost", p 0) p.r0'
        ${IfThen} $0 == 0 ${|} ${Break} ${|}
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        ; The limited query right reads an elevated copy's path too (Vista and later); XP
        ; needs the full one and psapi, from the system folder.
        System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r1) p.r2'
        ${If} $2 == 0
            System::Call 'kernel32::OpenProcess(i 0x0410, i 0, i r1) p.r2'
        ${EndIf}
        StrCpy $3 ""
        ${If} $2 != 0
            System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i.r4'
            ${If} $4 == error
            ${OrIf} $4 == 0
                System::Call '$SYSDIR\psapi.dll::GetModuleFileNameExW(p r2, p 0, w .r3, i ${NSIS_MAX_STRLEN})'
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r2)'
        ${EndIf}
        ${If} $3 == "$INSTDIR\qmx.exe"
            ${Break}
        ${EndIf}
    ${Loop}
FunctionEnd

Function ${un}closeProgramFirst
    ${Do}
        Call ${un}findOwnCopy
        ${IfThen} $0 == 0 ${|} ${Break} ${|}
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        ${For} $5 1 50
            Sleep 100
            Call ${un}findOwnCopy
            ${IfThen} $0 == 0 ${|} ${ExitFor} ${|}
        ${Next}
        ${IfThen} $0 == 0 ${|} ${Break} ${|}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${PRODUCT} is running from $INSTDIR. Close it from its tray icon's menu \
            ($\"Close Velto Volume Controller$\"), then choose Retry." \
            /SD IDCANCEL IDRETRY +3
        SetErrorLevel 2
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

; NSIS sets $INSTDIR from /D= before .onInit, and the multi-user support would set it again for
; the chosen kind: the folder the user named stays.
Function keepFolderFromCommandLine
    ${If} $folderFromCommandLine != ""
        StrCpy $INSTDIR $folderFromCommandLine
    ${EndIf}
FunctionEnd

; $0: "ok", or why $INSTDIR cannot take this kind of installation (and the exit code in $1).
; Every user may change a folder outside Program Files, and with it the program every user
; starts and the uninstaller an administrator runs: an installation for everyone goes into
; Program Files only. An installation of this kind in another folder is uninstalled first.
Function folderProblem
    StrCpy $0 "ok"
    GetFullPathName $2 $INSTDIR
    ${If} $2 == ""
        StrCpy $2 $INSTDIR
    ${EndIf}
    StrCpy $R0 $2
    StrCpy $R1 "\.."
    Call indexOf
    ${If} $MultiUser.InstallMode == "AllUsers"
    ${AndIf} $R2 != -1
        StrCpy $0 "Name the folder for anyone using this computer without $\"..$\"."
        StrCpy $1 ${EXIT_FOLDER_REFUSED}
        Return
    ${EndIf}
    ${If} $MultiUser.InstallMode == "AllUsers"
        StrLen $3 "$PROGRAMFILES64\"
        StrCpy $4 $2 $3
        StrLen $5 "$PROGRAMFILES32\"
        StrCpy $6 $2 $5
        GetFullPathName /SHORT $8 "$PROGRAMFILES64"
        StrLen $9 "$8\"
        StrCpy $9 $2 $9
        ${If} $4 != "$PROGRAMFILES64\"
        ${AndIf} $6 != "$PROGRAMFILES32\"
        ${AndIf} $9 != "$8\"
            StrCpy $0 "An installation for anyone using this computer goes into \
                $PROGRAMFILES64, where only administrators can change the program. \
                Choose a folder there, or install just for you."
            StrCpy $1 ${EXIT_FOLDER_REFUSED}
            Return
        ${EndIf}
        ${If} $2 != $INSTDIR
            StrCpy $INSTDIR $2
        ${EndIf}
    ${EndIf}
    ReadRegStr $7 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $7 != ""
    ${AndIf} $7 != $2
        StrCpy $0 "${PRODUCT} is already installed this way in $7. Uninstall it first to install \
            it in $2, or install it there again."
        StrCpy $1 ${EXIT_OTHER_FOLDER}
    ${EndIf}
FunctionEnd

Function checkFolderPage
    Call folderProblem
    ${If} $0 != "ok"
        MessageBox MB_OK|MB_ICONEXCLAMATION $0
        Abort
    ${EndIf}
FunctionEnd

Function .onInit
    SetRegView 64
    StrCpy $folderFromCommandLine $INSTDIR
    !insertmacro MULTIUSER_INIT
    ${If} ${Silent}
        Call folderProblem
        ${If} $0 != "ok"
            SetErrorLevel $1
            Quit
        ${EndIf}
        Call checkOtherScope
    ${EndIf}
FunctionEnd

; The installation this uninstaller belongs to is the one in its own folder: for everyone when
; the machine's installed-programs entry names that folder, else the user's. An installation
; for everyone needs an administrator: without one, the uninstaller starts itself again with
; the same switches and asks Windows for the rights (Windows' Apps page and Programs and
; Features start it unelevated).
Function un.onInit
    SetRegView 64
    UserInfo::GetAccountType
    Pop $MultiUser.Privileges
    !ifdef TEST_STANDARD_USER
        ; A test build: the account counts as a standard user's until Windows was asked.
        ${GetParameters} $0
        ${GetOptions} $0 "/GrantedByTest" $1
        ${If} ${Errors}
            StrCpy $MultiUser.Privileges "User"
        ${EndIf}
    !endif
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} $0 == $INSTDIR
        StrCpy $MultiUser.InstallMode "AllUsers"
        SetShellVarContext all
        ${If} $MultiUser.Privileges != "Admin"
            Call un.startElevated
        ${EndIf}
    ${Else}
        StrCpy $MultiUser.InstallMode "CurrentUser"
        SetShellVarContext current
    ${EndIf}
FunctionEnd

; Starts this uninstaller again with the administrator's rights and the same switches, waits for
; it and ends with its exit code; a refusal ends with a message (none when silent).
Function un.startElevated
    ${GetParameters} $0
    ; Without the folder switch of the copy that runs now: the new one is given its own, last.
    StrCpy $R0 $0
    StrCpy $R1 "_?="
    Call un.indexOf
    ${If} $R2 != -1
        StrCpy $0 $0 $R2
    ${EndIf}
    !ifdef TEST_STANDARD_USER
        StrCpy $0 "$0 /GrantedByTest"
        ReadEnvStr $1 QMX_TEST_REFUSE_ELEVATION
        ${If} $1 == 1
            StrCpy $0 "refused"
        ${EndIf}
    !endif
    ${If} $0 != "refused"
        ; SHELLEXECUTEINFOW with SEE_MASK_NOCLOSEPROCESS and the verb "runas"; the paddings
        ; are the 64-bit layout's.
        System::Call '*(i 112, i 0x40, p $HWNDPARENT, w "runas", w "$EXEPATH", \
            w "$0 _?=$INSTDIR", p 0, i ${SW_SHOWNORMAL}, i 0, p 0, p 0, p 0, p 0, i 0, i 0, \
            p 0, p 0) p.r1'
        System::Call 'shell32::ShellExecuteExW(p r1) i.r2'
        ${If} $2 != 0
            System::Call '*$1(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r3)'
            System::Free $1
            System::Call 'kernel32::WaitForSingleObject(p r3, i -1)'
            System::Call 'kernel32::GetExitCodeProcess(p r3, *i .r4)'
            System::Call 'kernel32::CloseHandle(p r3)'
            SetErrorLevel $4
            Quit
        ${EndIf}
        System::Free $1
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for anyone using this computer: \
        removing it needs an administrator's permission, which Windows did not give. Nothing \
        was removed." /SD IDOK
    SetErrorLevel ${EXIT_ELEVATION_REFUSED}
    Quit
FunctionEnd

Section "${PRODUCT}"
    Call closeProgramFirst
    Call failWhenInUse
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
    Call un.closeProgramFirst
    Call un.failWhenInUse
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
