; The uninstaller. It removes the installation it lies in, whatever its switches: for everyone
; when the machine's installed-programs entry names its folder, else the user's.
;
; How it runs: the installed-programs entry's commands start it in its folder, with the folder
; as NSIS's _?= (last), so that the process Windows' Apps page or a deployment tool started does
; the work and ends with its exit code. Started without _?=, NSIS's own start copies it to the
; temporary folder, starts the copy and ends at once with 0, whatever the copy does.
;
; An installation for everyone needs an administrator; Windows' Apps page and Programs and
; Features start the uninstaller without one. It then asks Windows to start the uninstaller in
; the installation's folder (which only administrators can change) with an administrator's
; rights, never the copy it may run from (a copy in the user's temporary folder, which any of
; the user's programs could replace before the administrator approves), waits for it, and ends
; with its exit code. That run does only the machine's part (/MachineOnly): the administrator
; who approved it may be another account than the user's. The user's part (their start-up
; entry, the question about their settings, their settings and the program's log) is done by
; the user's own run, once the machine's part succeeded.

Var machineOnly       ; 1: the user who started the uninstaller does the user's part
Var machineRunEntry   ; 1: the machine-wide start-up entry starts this installation's program
Var userRunEntry      ; 1: the user's start-up entry starts this installation's program

; Whether a Run key's entry starts this installation's qmx.exe (the program writes the path,
; quoted when it has a space; an earlier version may have written its short form): looked at
; while the program is there, so that a short name still leads to it.
!macro RUN_ENTRY_IS_OURS root result
    StrCpy ${result} 0
    ReadRegStr $R0 ${root} "${RUN_KEY}" "${TITLE}"
    StrCpy $R1 $R0 1
    ${IfThen} $R1 == '"' ${|} StrCpy $R0 $R0 -1 1 ${|}
    ${If} $R0 != ""
        Call un.longPath
        ${IfThen} $R0 == "$INSTDIR\qmx.exe" ${|} StrCpy ${result} 1 ${|}
    ${EndIf}
!macroend

Function un.onInit
    SetRegView 64
    ; In its folder, the installation is that folder, whatever _?= said; a copy NSIS made was
    ; told the folder it came from.
    ${If} $EXEFILE == "uninstall.exe"
        StrCpy $INSTDIR $EXEDIR
    ${EndIf}
    StrCpy $R0 $INSTDIR
    Call un.longPath
    StrCpy $INSTDIR $R0
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/MachineOnly" $2
    ${IfNot} ${Errors}
        StrCpy $machineOnly 1
    ${EndIf}
    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 != ""
        Call un.longPath
    ${EndIf}
    ${If} $R0 == $INSTDIR
        StrCpy $MultiUser.InstallMode "AllUsers"
        SetShellVarContext all
        Call un.accountType
        ${If} $0 != "Admin"
            ; A run Windows gave the rights to that still has none asks no more.
            ${IfThen} $machineOnly == 1 ${|} Goto refused ${|}
            Call un.startElevated
        ${EndIf}
    ${Else}
        StrCpy $MultiUser.InstallMode "CurrentUser"
        SetShellVarContext current
    ${EndIf}
    Return
    refused:
    Call un.refused
FunctionEnd

Function un.refused
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for anyone using this computer: \
        removing it needs an administrator's permission, which Windows did not give. Nothing \
        was removed." /SD IDOK
    SetErrorLevel ${EXIT_ELEVATION_REFUSED}
    Quit
FunctionEnd

; Asks Windows to run the installation's own uninstaller with an administrator's rights and the
; same switches for the machine's part, waits for it, does the user's part when it succeeded and
; ends with its exit code; a refusal ends with a message (none when silent).
Function un.startElevated
    ${GetParameters} $0
    !ifdef TEST_STANDARD_USER
        ; Windows' consent prompt: the test says when the administrator answered, and how; the
        ; prompt's showing is told by a file beside the answer's.
        ReadEnvStr $2 QMX_TEST_CONSENT_FILE
        ${If} $2 != ""
            FileOpen $3 "$2.asked" w
            FileClose $3
            ${For} $3 1 600
                ${IfThen} ${FileExists} $2 ${|} ${ExitFor} ${|}
                Sleep 100
            ${Next}
        ${EndIf}
        StrCpy $0 "$0 /GrantedByTest"
        ReadEnvStr $1 QMX_TEST_REFUSE_ELEVATION
        ${IfThen} $1 == 1 ${|} Call un.refused ${|}
    !endif
    !insertmacro RUN_ENTRY_IS_OURS HKCU $userRunEntry
    ; SHELLEXECUTEINFOW with SEE_MASK_NOCLOSEPROCESS and the verb "runas"; the paddings are the
    ; 64-bit layout's.
    System::Call '*(i 112, i 0x40, p $HWNDPARENT, w "runas", w "$INSTDIR\uninstall.exe", \
        w "$0 /MachineOnly _?=$INSTDIR", p 0, i ${SW_SHOWNORMAL}, i 0, p 0, p 0, p 0, p 0, \
        i 0, i 0, p 0, p 0) p.r1'
    System::Call 'shell32::ShellExecuteExW(p r1) i.r2'
    System::Call '*$1(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r3)'
    System::Free $1
    ${If} $2 == 0
    ${OrIf} $3 == 0
        Call un.refused
    ${EndIf}
    System::Call 'kernel32::WaitForSingleObject(p r3, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r3, *i .r4)'
    System::Call 'kernel32::CloseHandle(p r3)'
    ${If} $4 == 0
        Call un.userPart
    ${EndIf}
    SetErrorLevel $4
    Quit
FunctionEnd

; The user's part, as the user who started the uninstaller: their start-up entry for this
; installation and, when they say so, every setting the program keeps for them and its log.
Function un.userPart
    ${If} $userRunEntry == 1
        DeleteRegValue HKCU "${RUN_KEY}" "${TITLE}"
    ${EndIf}
    ; The settings go only when the user says so; a silent uninstall keeps them.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "Remove your ${PRODUCT} settings (skin, keep on top, shadow, shortcut, log) and its log \
        files too?" /SD IDNO IDYES +2
    Return
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Korwen's Software\Velto Volume Controller"
    DeleteRegKey /ifempty HKCU "Software\Korwen's Software"
    SetShellVarContext current
    Delete "$LOCALAPPDATA\${PRODUCT}\qmx.log"
    Delete "$LOCALAPPDATA\${PRODUCT}\qmx.old.log"
    RMDir "$LOCALAPPDATA\${PRODUCT}"
FunctionEnd

; A file of the installation that cannot be removed fails the run; the uninstaller and the
; entries stay, so that it can run again.
Function un.notRemoved
    MessageBox MB_OK|MB_ICONSTOP "Some files of ${PRODUCT} in $INSTDIR could not be removed: \
        close what uses them, then uninstall again." /SD IDOK
    SetErrorLevel ${EXIT_NOT_REMOVED}
    Quit
FunctionEnd

Section "Uninstall"
    Call un.closeProgramFirst
    Call un.failWhenInUse
    !insertmacro RUN_ENTRY_IS_OURS HKLM $machineRunEntry
    ${If} $machineOnly != 1
        !insertmacro RUN_ENTRY_IS_OURS HKCU $userRunEntry
    ${EndIf}
    ClearErrors
    Delete "$INSTDIR\qmx.exe"
    Delete "$INSTDIR\POURING.WAV"
    ${IfThen} ${Errors} ${|} Call un.notRemoved ${|}
    ; Running from the folder, the uninstaller cannot remove its own file: Windows lets it move
    ; the file out, into its temporary folder (removed with it, or when Windows starts again);
    ; where it cannot (another drive), Windows removes the file and the folder when it starts
    ; again, if this is an administrator's run (MOVEFILE_DELAY_UNTIL_REBOOT).
    Delete "$INSTDIR\uninstall.exe"
    ${If} ${Errors}
        InitPluginsDir
        System::Call 'kernel32::MoveFileExW(w "$INSTDIR\uninstall.exe", \
            w "$PLUGINSDIR\uninstall.exe", i 0) i.r0'
        ${If} $0 == 0
            System::Call 'kernel32::MoveFileExW(w "$INSTDIR\uninstall.exe", p 0, i 4) i.r0'
            ${IfThen} $0 == 0 ${|} Call un.notRemoved ${|}
            System::Call 'kernel32::MoveFileExW(w "$INSTDIR", p 0, i 4)'
        ${EndIf}
    ${EndIf}
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    ; The installed-programs entry goes only when it is this installation's: a user's entry of
    ; the same name may belong to the user's own copy elsewhere.
    ReadRegStr $R0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 != ""
        Call un.longPath
        ${IfThen} $R0 == $INSTDIR ${|} DeleteRegKey SHCTX "${UNINSTALL_KEY}" ${|}
    ${EndIf}
    ${If} $machineRunEntry == 1
        DeleteRegValue HKLM "${RUN_KEY}" "${TITLE}"
    ${EndIf}
    ${If} $machineOnly != 1
        Call un.userPart
    ${EndIf}
SectionEnd
