; What the installer and the uninstaller share: the account's rights, paths in their long form,
; and the program's copy that runs from the installation. Each macro makes the function once for
; the installer ("") and once for the uninstaller ("un.").

; Whether the installer closed the copy running from the folder (closeProgramFirst).
Var closedCopy

; $0: 1 on Windows that gets the x64 program (64-bit Windows on an x64 processor), else 0: 32-bit
; Windows, where only the x86 program runs, or Windows on ARM, which runs x86 programs on every
; version and x64 ones on some.
!macro IS_X64_WINDOWS un
Function ${un}isX64Windows
    StrCpy $0 0
    ${If} ${RunningX64}
    ${AndIfNot} ${IsNativeARM64}
        StrCpy $0 1
    ${EndIf}
FunctionEnd
!macroend
!insertmacro IS_X64_WINDOWS ""
!insertmacro IS_X64_WINDOWS "un."

; The installer and its uninstaller are 32-bit programs. Where they install the x64 program they
; read and write the registry's 64-bit view, which that program reads; where they install the
; x86 one, the view that program reads too (the only one on 32-bit Windows, the 32-bit one on
; Windows on ARM).
!macro USE_PROGRAMS_REGISTRY_VIEW un
Function ${un}useProgramsRegistryView
    Call ${un}isX64Windows
    ${If} $0 == 1
        SetRegView 64
    ${EndIf}
FunctionEnd
!macroend
!insertmacro USE_PROGRAMS_REGISTRY_VIEW ""
!insertmacro USE_PROGRAMS_REGISTRY_VIEW "un."

; $0: the account's rights as UserInfo names them ("Admin" with an administrator's). A test build
; takes the account for a standard user's unless the test says Windows gave the rights
; (/GrantedByTest): Wine runs every program as an administrator.
!macro ACCOUNT_TYPE un
Function ${un}accountType
    UserInfo::GetAccountType
    Pop $0
    !ifdef TEST_STANDARD_USER
        ${GetParameters} $1
        ClearErrors
        ${GetOptions} $1 "/GrantedByTest" $2
        ${IfThen} ${Errors} ${|} StrCpy $0 "User" ${|}
    !endif
FunctionEnd
!macroend
!insertmacro ACCOUNT_TYPE ""
!insertmacro ACCOUNT_TYPE "un."

; $R0 made a full path in its long form (uses $R1 to $R5). Windows names a folder two ways
; (C:\PROGRA~1 is C:\Program Files), and only the long form is stored or compared: its longest
; existing part is looked up (GetLongPathNameW answers only for what exists), the rest, a folder
; still to be made, stays as given.
!macro LONG_PATH un
Function ${un}longPath
    System::Call 'kernel32::GetFullPathNameW(w R0, i ${NSIS_MAX_STRLEN}, w .R1, p 0) i.R4'
    ${IfThen} $R4 = 0 ${|} StrCpy $R1 $R0 ${|}
    StrCpy $R2 ""
    ${Do}
        System::Call 'kernel32::GetLongPathNameW(w R1, w .R3, i ${NSIS_MAX_STRLEN}) i.R4'
        ${If} $R4 > 0
        ${AndIf} $R4 < ${NSIS_MAX_STRLEN}
            StrCpy $R0 "$R3$R2"
            Return
        ${EndIf}
        ; The last part of $R1 goes to the front of $R2.
        StrLen $R4 $R1
        ${Do}
            IntOp $R4 $R4 - 1
            ${IfThen} $R4 < 0 ${|} ${Break} ${|}
            StrCpy $R5 $R1 1 $R4
        ${LoopUntil} $R5 == "\"
        ${If} $R4 < 3
            StrCpy $R0 "$R1$R2"
            Return
        ${EndIf}
        StrCpy $R5 $R1 "" $R4
        StrCpy $R2 "$R5$R2"
        StrCpy $R1 $R1 $R4
    ${Loop}
FunctionEnd
!macroend
!insertmacro LONG_PATH ""
!insertmacro LONG_PATH "un."

; $R0: the folder the installed-programs entry under ROOT names, in its long form, or "".
!macro INSTALL_LOCATION un root
    ReadRegStr $R0 ${root} "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 != ""
        Call ${un}longPath
    ${EndIf}
!macroend

; $0: where the other kind of installation than $MultiUser.InstallMode's lies, or ""; $1 names
; that kind and $2 this one, as the messages say them.
!macro OTHER_INSTALLATION un
Function ${un}otherInstallation
    ${If} $MultiUser.InstallMode == "CurrentUser"
        ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        StrCpy $1 "for anyone using this computer"
        StrCpy $2 "just for you"
    ${Else}
        ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        StrCpy $1 "just for you"
        StrCpy $2 "for anyone using this computer"
    ${EndIf}
FunctionEnd
!macroend
!insertmacro OTHER_INSTALLATION ""
!insertmacro OTHER_INSTALLATION "un."

; A running program's file cannot be replaced or removed, but Windows lets it be renamed. An
; administrator's run moves such a file aside, under a name of its own in the folder
; ("qmx.<n>.old", that no earlier one holds: MoveFileEx without MOVEFILE_REPLACE_EXISTING fails on
; an existing name), and has Windows remove it at the next restart (MOVEFILE_DELAY_UNTIL_REBOOT,
; which only administrators and LocalSystem may ask for: MoveFileEx, Microsoft's documentation).
; $R9: the file; $0: 1 when it was moved aside (uses $1).
!macro MOVE_ASIDE un
Function ${un}moveAside
    Call ${un}accountType
    ${If} $0 != "Admin"
        StrCpy $0 0
        Return
    ${EndIf}
    StrCpy $0 0
    ${For} $1 1 ${ASIDE_NAMES}
        System::Call 'kernel32::MoveFileExW(w R9, w "$INSTDIR\qmx.$1.old", i 0) i.r0'
        ${If} $0 != 0
            System::Call 'kernel32::MoveFileExW(w "$INSTDIR\qmx.$1.old", p 0, i 4)'
            Return
        ${EndIf}
    ${Next}
FunctionEnd
!macroend
!insertmacro MOVE_ASIDE ""
!insertmacro MOVE_ASIDE "un."

; Ends the run, having changed nothing, because the file $R9 is in use: a silent run with 1618,
; which deployment tools take for "try again later" (the return codes of Intune's Win32 apps and
; of Configuration Manager's deployment types), one with pages with a message and 5. A copy the
; installer closed for the run is started again.
!macro END_IN_USE un
Function ${un}endInUse
    MessageBox MB_OK|MB_ICONSTOP "$R9 is in use (${PRODUCT} may be running for another user of \
        this computer). Nothing was changed: close the program there, then try again." /SD IDOK
    ${If} ${Silent}
        SetErrorLevel ${EXIT_RETRY_LATER}
    ${Else}
        SetErrorLevel ${EXIT_FILE_IN_USE}
    ${EndIf}
    !if "${un}" == ""
        Call startClosedCopy
    !endif
    Quit
FunctionEnd
!macroend
!insertmacro END_IN_USE ""
!insertmacro END_IN_USE "un."

; A file of the program that a copy holds where no window search reaches it (another user's
; session; a deployment tool runs the installer and the uninstaller as SYSTEM, in session 0) is
; moved aside ($R9; moveAside); the running copies go on until they end. Where it can be neither
; removed nor moved aside (held open by a program that lets nobody rename it, a run without an
; administrator's rights), the run ends (endInUse).
!macro REMOVE_OR_MOVE_ASIDE un
Function ${un}removeOrMoveAside
    Delete $R9
    ${IfNot} ${FileExists} $R9
        Return
    ${EndIf}
    Call ${un}moveAside
    ${IfThen} $0 == 0 ${|} Call ${un}endInUse ${|}
FunctionEnd
!macroend
!insertmacro REMOVE_OR_MOVE_ASIDE ""
!insertmacro REMOVE_OR_MOVE_ASIDE "un."

; The program file goes first, having changed nothing else where it cannot; the files moved aside
; by earlier runs go too, once nothing runs them.
!macro REMOVE_PROGRAM_FILE un
Function ${un}removeProgramFile
    Delete "$INSTDIR\qmx.*.old"
    StrCpy $R9 "$INSTDIR\qmx.exe"
    Call ${un}removeOrMoveAside
FunctionEnd
!macroend
!insertmacro REMOVE_PROGRAM_FILE ""
!insertmacro REMOVE_PROGRAM_FILE "un."

; Files in use cannot be replaced or removed: the copy that runs from the folder being installed
; to or removed is asked to close (it ends as its Close command does) and, if it is still there,
; the user is asked to close it; copies elsewhere (the other kind of installation, a portable
; copy) run on. A silent run then gives up (exit code 2) rather than leave a half-installed
; program. Done once the user has confirmed, never before the first page. $closedCopy tells
; whether a copy was closed, so that a silent installation can start the program again.
!macro CLOSE_PROGRAM_FIRST un
; The tray-host window of the copy running $INSTDIR\qmx.exe into $0, or 0.
Function ${un}findOwnCopy
    StrCpy $0 0
    ${Do}
        System::Call 'user32::FindWindowExW(p 0, p r0, w "QmxTrayHost", p 0) p.r0'
        ${IfThen} $0 == 0 ${|} ${Break} ${|}
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        ; The limited query right reads an elevated copy's path too (Vista and later); XP
        ; needs the full one and psapi, from the system folder (imageNameOnXP).
        System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r1) p.r2'
        ${If} $2 == 0
            System::Call 'kernel32::OpenProcess(i 0x0410, i 0, i r1) p.r2'
        ${EndIf}
        StrCpy $3 ""
        ${If} $2 != 0
            StrCpy $4 ""
            !ifdef TEST_STANDARD_USER
                ; XP and Server 2003 have no QueryFullProcessImageNameW: the test says when the
                ; installer runs as it does there.
                ReadEnvStr $4 QMX_TEST_XP_PROCESS_NAMES
                ${IfThen} $4 != "" ${|} StrCpy $4 error ${|}
            !endif
            ${If} $4 == ""
                System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i.r4'
            ${EndIf}
            ${If} $4 == error
            ${OrIf} $4 == 0
                Call ${un}imageNameOnXP
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r2)'
        ${EndIf}
        ; A copy started by the folder's short name is the installation's too.
        ${If} $3 != ""
            StrCpy $R0 $3
            Call ${un}longPath
            ${IfThen} $R0 == "$INSTDIR\qmx.exe" ${|} ${Break} ${|}
        ${EndIf}
    ${Loop}
FunctionEnd

; XP and Server 2003: the program file of the process whose handle is $2, into $3, or "". psapi's
; image name reads a 64-bit process from this 32-bit one too (its module list, which
; GetModuleFileNameEx reads, is out of a WOW64 process's reach), in the kernel's form
; (\Device\HarddiskVolume1\...): a name on the installation's drive gets that drive's letter.
Function ${un}imageNameOnXP
    Push $5
    Push $6
    System::Call '$SYSDIR\psapi.dll::GetProcessImageFileNameW(p r2, w .r3, i ${NSIS_MAX_STRLEN}) i.r4'
    StrCpy $5 $INSTDIR 2
    System::Call 'kernel32::QueryDosDeviceW(w r5, w .r6, i ${NSIS_MAX_STRLEN}) i.r4'
    StrLen $4 $6
    StrCpy $6 "$6\"
    IntOp $4 $4 + 1
    StrCpy $5 $3 $4
    ${If} $5 == $6
    ${AndIf} $4 > 1
        StrCpy $5 $INSTDIR 2
        StrCpy $3 $3 "" $4
        StrCpy $3 "$5\$3"
    ${Else}
        StrCpy $3 ""
    ${EndIf}
    Pop $6
    Pop $5
FunctionEnd

Function ${un}closeProgramFirst
    ${Do}
        Call ${un}findOwnCopy
        ${IfThen} $0 == 0 ${|} ${Break} ${|}
        StrCpy $closedCopy 1
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
