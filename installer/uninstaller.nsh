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
; the user's own run, once the machine's part succeeded. A silent run asks at once; one with
; pages asks when the user confirms on its first page, whose window the consent prompt then
; stands in front of, and the run Windows starts skips that page.

Var machineOnly       ; 1: the user who started the uninstaller does the user's part
Var machineRunEntry   ; 1: the machine-wide start-up entry starts this installation's program
Var userRunEntry      ; 1: the user's start-up entry starts this installation's program
Var elevateOnConfirm  ; 1: the machine's part is asked for once the user confirmed

; What ShellExecuteEx answers when the user, or the administrator asked, declines the consent
; prompt (GetLastError; "Windows via C/C++", the chapter on elevation).
!define ERROR_CANCELLED 1223

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
    Call un.useProgramsRegistryView
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
    !insertmacro INSTALL_LOCATION "un." HKLM
    ${If} $EXEFILE != "uninstall.exe"
    ${AndIf} $R0 != $INSTDIR
        Call un.refuseOtherFolder
    ${EndIf}
    ${If} $R0 == $INSTDIR
        StrCpy $MultiUser.InstallMode "AllUsers"
        SetShellVarContext all
        Call un.accountType
        ${If} $0 != "Admin"
            ; The run Windows started for the machine's part still has no rights (with User
            ; Account Control off, "runas" starts a standard user's program as it is): it asks
            ; no more.
            ${If} $machineOnly == 1
                StrCpy $5 ""
                Call un.notElevated
            ${EndIf}
            ${If} ${Silent}
                Call un.startElevated
            ${EndIf}
            StrCpy $elevateOnConfirm 1
        ${EndIf}
    ${Else}
        StrCpy $MultiUser.InstallMode "CurrentUser"
        SetShellVarContext current
    ${EndIf}
FunctionEnd

; A copy NSIS made takes its folder from its command line, where /D= names any folder: with an
; administrator's rights it acts only on the machine's installation (its caller checked) or on
; the one the user's own installed-programs entry names, whose uninstaller was started, and
; refuses any other folder, having removed nothing. (Run in its folder, the uninstaller takes
; that folder, whatever its command line.)
Function un.refuseOtherFolder
    Call un.accountType
    ${IfThen} $0 != "Admin" ${|} Return ${|}
    Push $R0
    !insertmacro INSTALL_LOCATION "un." HKCU
    ${If} $R0 == $INSTDIR
        Pop $R0
        Return
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR is not an installation of ${PRODUCT} that this \
        uninstaller removes. Nothing was removed." /SD IDOK
    SetErrorLevel ${EXIT_OTHER_FOLDER}
    Quit
FunctionEnd

; The user confirmed on the first page already: the run Windows starts for the machine's part
; does not ask again.
Function un.confirmPre
    ${IfThen} $machineOnly == 1 ${|} Abort ${|}
FunctionEnd

Function un.confirmLeave
    ${IfThen} $elevateOnConfirm == 1 ${|} Call un.startElevated ${|}
FunctionEnd

; Ends the run without the rights, having removed nothing. $5: what ShellExecuteEx answered, or ""
; when the run Windows started has no rights. Only ERROR_CANCELLED is a refusal; anything else
; has a code of its own.
Function un.notElevated
    ${If} $5 = ${ERROR_CANCELLED}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for anyone using this computer: \
            removing it needs an administrator's permission, which was refused. Nothing was \
            removed." /SD IDOK
        SetErrorLevel ${EXIT_ELEVATION_REFUSED}
    ${Else}
        ${IfThen} $5 == "" ${|} StrCpy $5 "it started without them" ${|}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for anyone using this computer: \
            removing it needs an administrator's rights, and Windows could not start the \
            uninstaller with them ($5). Nothing was removed." /SD IDOK
        SetErrorLevel ${EXIT_NOT_ELEVATED}
    ${EndIf}
    Quit
FunctionEnd

; Asks Windows to run the installation's own uninstaller with an administrator's rights and the
; same switches for the machine's part, waits for it, does the user's part when it succeeded and
; ends with its exit code; without the rights it ends with a message (none when silent). The
; consent prompt's owner is the uninstaller's window, the active one when the user has just
; confirmed (a silent run has none): given none, Windows may only flash the prompt in the
; taskbar ("CorrectShellExecuteHWND", Microsoft's application compatibility documentation). The
; run starts in the system folder, never in a current folder the user can write to.
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
        ; Not given, the error ShellExecuteEx answers.
        ReadEnvStr $5 QMX_TEST_ELEVATION_ERROR
        ${IfThen} $5 != "" ${|} Call un.notElevated ${|}
    !endif
    !insertmacro RUN_ENTRY_IS_OURS HKCU $userRunEntry
    ; SHELLEXECUTEINFOW with SEE_MASK_NOCLOSEPROCESS and the verb "runas": 60 bytes in the
    ; 32-bit layout, 112 in the 64-bit one, which pads after nShow and dwHotKey.
    !if ${NSIS_PTR_SIZE} > 4
        !define /redef PAD "i 0,"
        !define /redef PAD_OUT "i,"
        !define /redef EXECUTE_INFO_SIZE 112
    !else
        !define /redef PAD ""
        !define /redef PAD_OUT ""
        !define /redef EXECUTE_INFO_SIZE 60
    !endif
    System::Call '*(i ${EXECUTE_INFO_SIZE}, i 0x40, p $HWNDPARENT, w "runas", \
        w "$INSTDIR\uninstall.exe", w "$0 /MachineOnly _?=$INSTDIR", w "$SYSDIR", \
        i ${SW_SHOWNORMAL}, ${PAD} p 0, p 0, p 0, p 0, i 0, ${PAD} p 0, p 0) p.r1'
    System::Call 'shell32::ShellExecuteExW(p r1) i.r2 ?e'
    Pop $5
    System::Call '*$1(i, i, p, p, p, p, p, i, ${PAD_OUT} p, p, p, p, i, ${PAD_OUT} p, p .r3)'
    System::Free $1
    ${If} $2 == 0
        Call un.notElevated
    ${EndIf}
    ${If} $3 == 0
        StrCpy $5 "no process"
        Call un.notElevated
    ${EndIf}
    ; The window stands aside while the administrator's run shows its own, and comes back for
    ; the user's part.
    HideWindow
    System::Call 'kernel32::WaitForSingleObject(p r3, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r3, *i .r4)'
    System::Call 'kernel32::CloseHandle(p r3)'
    ${IfThen} $HWNDPARENT != 0 ${|} BringToFront ${|}
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
    ; The settings go only when the user says so; a silent uninstall keeps them. They are the
    ; user's, whichever installation runs: the other kind's, when it stays, loses them too.
    Call un.otherInstallation
    ${If} $0 != ""
        StrCpy $0 "${PRODUCT} is still installed $1, in $0. It uses the same settings as \
            this installation: if you remove them, it starts again with the default \
            ones.$\r$\n$\r$\n"
    ${EndIf}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "$0Remove your ${PRODUCT} settings (skin, keep on top, shadow, shortcut, log) and its \
        log files too?" /SD IDNO IDYES +2
    Return
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Korwen's Software\Velto Volume Controller"
    DeleteRegKey /ifempty HKCU "Software\Korwen's Software"
    SetShellVarContext current
    Delete "$LOCALAPPDATA\${PRODUCT}\qmx.log"
    Delete "$LOCALAPPDATA\${PRODUCT}\qmx.old.log"
    RMDir "$LOCALAPPDATA\${PRODUCT}"
FunctionEnd

; The uninstaller's own file and the folder, left to the user's next logon: a RunOnce entry of
; the user's (which a standard user may write) has the system's command processor delete the file
; and remove the folder if it is empty then. Windows runs the entry's command line, at most 260
; characters ("Run and RunOnce Registry Keys", Microsoft's documentation), and cmd keeps quoted
; paths literal except for %, which it expands even there; a folder whose name holds % or makes
; the command too long keeps the file, and the user is told. The value is named after the
; folder, so that installing there again takes it away (qmx.nsi).
Function un.removeAtLogon
    StrLen $1 $INSTDIR
    ${For} $2 1 $1
        IntOp $3 $2 - 1
        StrCpy $3 $INSTDIR 1 $3
        ${If} $3 == "%"
            StrCpy $1 -1
            ${ExitFor}
        ${EndIf}
    ${Next}
    StrCpy $0 '"$SYSDIR\cmd.exe" /d /v:off /c del "$INSTDIR\uninstall.exe" & rd "$INSTDIR"'
    StrLen $2 $0
    ${If} $1 >= 0
    ${AndIf} $2 <= 260
        ClearErrors
        WriteRegStr HKCU "${RUNONCE_KEY}" "${REMOVE_AT_LOGON} $INSTDIR" $0
        ${IfNot} ${Errors}
            Return
        ${EndIf}
    ${EndIf}
    MessageBox MB_OK|MB_ICONINFORMATION "$INSTDIR\uninstall.exe could not be removed: delete \
        it, and the folder, yourself." /SD IDOK
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
    !insertmacro RUN_ENTRY_IS_OURS HKLM $machineRunEntry
    ${If} $machineOnly != 1
        !insertmacro RUN_ENTRY_IS_OURS HKCU $userRunEntry
    ${EndIf}
    Call un.removeProgramFile
    ClearErrors
    Delete "$INSTDIR\POURING.WAV"
    ${IfThen} ${Errors} ${|} Call un.notRemoved ${|}
    ; Running from the folder, the uninstaller cannot remove its own file: Windows lets it move
    ; the file out, into its temporary folder, on the same drive only (MoveFileEx; with
    ; MOVEFILE_COPY_ALLOWED the copy would succeed and the running file stay). Where it cannot,
    ; an administrator's run moves it aside in the folder, to go at the next restart (moveAside):
    ; an installation there before then writes an uninstaller of its own, which stays. Any other
    ; run leaves the file to the user's next logon.
    Delete "$INSTDIR\uninstall.exe"
    ${If} ${Errors}
        InitPluginsDir
        System::Call 'kernel32::MoveFileExW(w "$INSTDIR\uninstall.exe", \
            w "$PLUGINSDIR\uninstall.exe", i 0) i.r0'
        ${If} $0 == 0
            StrCpy $R9 "$INSTDIR\uninstall.exe"
            Call un.moveAside
            ${IfThen} $0 == 0 ${|} Call un.removeAtLogon ${|}
        ${EndIf}
    ${EndIf}
    RMDir "$INSTDIR"
    ; Files moved aside go at the next restart, and the folder after them.
    ${If} ${FileExists} "$INSTDIR\qmx.*.old"
        System::Call 'kernel32::MoveFileExW(w "$INSTDIR", p 0, i 4)'
    ${EndIf}
    Delete "${SHORTCUT}"
    ; The installed-programs entry goes only when it is this installation's: a user's entry of
    ; the same name may belong to the user's own copy elsewhere.
    !insertmacro INSTALL_LOCATION "un." SHCTX
    ${IfThen} $R0 == $INSTDIR ${|} DeleteRegKey SHCTX "${UNINSTALL_KEY}" ${|}
    ${If} $machineRunEntry == 1
        DeleteRegValue HKLM "${RUN_KEY}" "${TITLE}"
    ${EndIf}
    ${If} $machineOnly != 1
        Call un.userPart
    ${EndIf}
SectionEnd
