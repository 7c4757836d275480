; The Windows installer of Velto Volume Controller: makensis -DBUILD=<folder with the x64 qmx.exe
; and POURING.WAV> -DBUILD_X86=<folder with the x86 qmx.exe> -DICON=<app.ico> -DART=<folder with
; installer_wizard@100.bmp, @150 and @200, tools/render-wizard.sh> -DOUTFILE=<setup.exe> qmx.nsi
; One installer for 32-bit and 64-bit Windows: a 32-bit program, which installs the x64 program
; on 64-bit Windows and the x86 one on 32-bit Windows, each in the Program Files and the registry
; view that program reads (useProgramsRegistryView).
Unicode true
Target x86-unicode
; Debian's stubs are built with mingw-w64, whose code may use structured exception handling: the
; header does not claim it has none, as Debian's makensis writes it for them.
PEDllCharacteristics 0 0x0400
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
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
; The name of the user's RunOnce value that removes an uninstaller left in FOLDER at the next
; logon: "${REMOVE_AT_LOGON} FOLDER".
!define REMOVE_AT_LOGON "${TITLE}: remove"

; Install for anyone using this computer (Program Files, HKLM; needs an administrator) or just
; for the user (their own Programs folder, HKCU; never elevated), through NSIS's multi-user
; support: /AllUsers and /CurrentUser choose silently, an earlier installation's scope is the
; default, and the choice is the page after Welcome when the installer runs as an administrator.
; The uninstaller does not use it: it removes the installation it lies in, whatever its switches.
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
!include "x64.nsh"
; A file that cannot be written fails the installation rather than being skipped.
AllowSkipFiles off
; The manifest asks for no elevation: a standard user, and /S /CurrentUser, never see a prompt.
; An administrator who starts the installer elevated chooses between the two scopes.
RequestExecutionLevel user
; Windows draws the installer at the display's resolution rather than enlarging, blurred, what it
; drew at 96 DPI: its dialogs are laid out in dialog units, which grow with the font.
ManifestDPIAware true

Name "${TITLE}"
OutFile "${OUTFILE}"
; A signed build (-DSIGN=<tools/sign.sh>) signs the uninstaller before it is packed, so that the
; one WriteUninstaller writes on the user's machine carries the signature, and the installer once
; written. A signing that fails stops the build.
!ifdef SIGN
    !uninstfinalize '"${SIGN}" "%1"' = 0
    !finalize '"${SIGN}" "%1"' = 0
!endif
BrandingText "${PUBLISHER}"

; Exit codes besides NSIS's own (0 done, 1 cancelled, 2 aborted).
!define EXIT_FOLDER_REFUSED 3      ; for everyone, but not a folder of its own directly in Program
                                   ; Files, or one that could not be made one only administrators
                                   ; can change
!define EXIT_OTHER_FOLDER 4        ; /D= names another folder than this kind's installation; for
                                   ; an administrator's uninstaller, one that is neither its own
                                   ; nor the machine's installation
!define EXIT_FILE_IN_USE 5         ; the program's file is in use: nothing was changed (with pages)
!define EXIT_ELEVATION_REFUSED 6   ; the uninstaller of an installation for everyone was refused
                                   ; the rights
!define EXIT_NO_ADMINISTRATOR 7    ; /AllUsers without an administrator's rights
!define EXIT_NOT_REMOVED 8         ; the uninstaller could not remove a file; it stays, to run again
!define EXIT_NOT_ELEVATED 9        ; the uninstaller of an installation for everyone could not be
                                   ; started with an administrator's rights (not a refusal)
!define EXIT_RETRY_LATER 1618      ; silent: the program's file is in use and could not be put
                                   ; aside; nothing was changed (ERROR_INSTALL_ALREADY_RUNNING,
                                   ; which deployment tools retry)

; How many files moved aside ("qmx.<n>.old": moveAside) a folder can hold until the next restart.
!define ASIDE_NAMES 20

Var folderFromCommandLine

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The Welcome and Finish pages' picture: 164 x 314 pixels at 96 DPI, replaced by a larger one on a
; display of a higher resolution (wizardPictureForDisplay).
!define MUI_WELCOMEFINISHPAGE_BITMAP "${ART}\installer_wizard@100.bmp"
!define MUI_CUSTOMFUNCTION_GUIINIT wizardPictureForDisplay
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION startUnelevated

!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!define MUI_PAGE_CUSTOMFUNCTION_PRE checkOtherScope
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE checkFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_PAGE_CUSTOMFUNCTION_PRE un.confirmPre
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE un.confirmLeave
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

!include "common.nsh"
!include "start_as_desktop_user.nsh"
!include "protect_folder.nsh"

; Two installations at two paths are allowed, one for everyone and one for a user: say so before
; the second one is made, and let the user go on or cancel.
Function checkOtherScope
    Call otherInstallation
    ${If} $0 != ""
        MessageBox MB_OKCANCEL|MB_ICONINFORMATION \
            "${PRODUCT} is already installed $1, in $0.$\r$\n$\r$\nInstall another copy $2 \
            in $INSTDIR?" /SD IDOK IDOK +2
        Quit
    ${EndIf}
FunctionEnd

; The Welcome and Finish pages stretch their picture to its control, which grows with the
; display's resolution (the installer is DPI-aware): the picture drawn for the smallest scale
; that is not smaller replaces the one MUI put into the plug-ins folder, so that at 100, 150 and
; 200 % it is shown pixel for pixel, and in between only shrunk, never enlarged.
Function wizardPictureForDisplay
    System::Call 'user32::GetDC(p 0) p.r0'
    System::Call 'gdi32::GetDeviceCaps(p r0, i 88) i.r1'  ; LOGPIXELSX
    System::Call 'user32::ReleaseDC(p 0, p r0)'
    ${If} $1 > 144
        File "/oname=$PLUGINSDIR\modern-wizard.bmp" "${ART}\installer_wizard@200.bmp"
    ${ElseIf} $1 > 96
        File "/oname=$PLUGINSDIR\modern-wizard.bmp" "${ART}\installer_wizard@150.bmp"
    ${EndIf}
FunctionEnd

; NSIS sets $INSTDIR from /D= before .onInit, and the multi-user support would set it again for
; the chosen kind: the folder the user named stays. The x86 program's folder for everyone on
; 64-bit Windows (on ARM) is the Program Files of 32-bit programs.
Function keepFolderFromCommandLine
    ${If} $folderFromCommandLine != ""
        StrCpy $INSTDIR $folderFromCommandLine
    ${ElseIf} $INSTDIR == "$PROGRAMFILES64\${PRODUCT}"
        Push $0
        Call isX64Windows
        ${IfThen} $0 == 0 ${|} StrCpy $INSTDIR "$PROGRAMFILES32\${PRODUCT}" ${|}
        Pop $0
    ${EndIf}
FunctionEnd

; $0: "ok", or why $INSTDIR cannot take this kind of installation (and the exit code in $1).
; The folder is kept, and stored, in its full long form, however it was named. The folder of an
; installation for everyone holds the program every user starts and the uninstaller an
; administrator runs, and gets permissions only administrators can change (protectFolder). Those
; hold only where its parent lets nobody else rename or replace it (FILE_DELETE_CHILD on a parent
; folder allows that whatever the folder's own permissions: "File Security and Access Rights",
; Microsoft's documentation), so the folder is a direct child of Program Files, whose own
; permissions give that to administrators, SYSTEM and TrustedInstaller alone; and the new
; permissions pass down to whatever the folder holds, so a folder that exists holds the program's
; files only (another product's folder, or Common Files, would lose its own). An installation of
; this kind in another folder is uninstalled first.
Function folderProblem
    StrCpy $0 "ok"
    StrCpy $R0 $INSTDIR
    Call longPath
    StrCpy $INSTDIR $R0
    ${If} $MultiUser.InstallMode == "AllUsers"
        ${GetParent} $INSTDIR $3
        ${If} $3 != $PROGRAMFILES64
        ${AndIf} $3 != $PROGRAMFILES32
            StrCpy $0 "An installation for anyone using this computer goes into a folder of its \
                own in $PROGRAMFILES64, where only administrators can change the program. \
                Choose a folder there, or install just for you."
            StrCpy $1 ${EXIT_FOLDER_REFUSED}
            Return
        ${EndIf}
        Call otherFilesInFolder
        ${If} $3 != ""
            StrCpy $0 "$INSTDIR holds more than the files of ${PRODUCT} ($3). An installation \
                for anyone using this computer goes into a folder of its own: choose a new one, \
                or install just for you."
            StrCpy $1 ${EXIT_FOLDER_REFUSED}
            Return
        ${EndIf}
    ${EndIf}
    !insertmacro INSTALL_LOCATION "" SHCTX
    ${If} $R0 != ""
    ${AndIf} $R0 != $INSTDIR
        StrCpy $0 "${PRODUCT} is already installed this way in $R0. Uninstall it first to \
            install it in $INSTDIR, or install it there again."
        StrCpy $1 ${EXIT_OTHER_FOLDER}
    ${EndIf}
FunctionEnd

; $3: the first thing in $INSTDIR that is not one of the program's files or one moved aside
; (qmx.<n>.old; a sub-folder is never one), or "" (uses $4 to $6).
Function otherFilesInFolder
    StrCpy $3 ""
    ClearErrors
    FindFirst $4 $3 "$INSTDIR\*"
    ${Do}
        ${IfThen} $3 == "" ${|} ${Break} ${|}
        ${If} $3 != "."
        ${AndIf} $3 != ".."
            ${IfThen} ${FileExists} "$INSTDIR\$3\*.*" ${|} ${Break} ${|}
            StrCpy $5 $3 4
            StrCpy $6 $3 "" -4
            ${If} $3 != "qmx.exe"
            ${AndIf} $3 != "POURING.WAV"
            ${AndIf} $3 != "uninstall.exe"
            ${AndIfNot} $5$6 == "qmx..old"
                ${Break}
            ${EndIf}
        ${EndIf}
        FindNext $4 $3
    ${Loop}
    FindClose $4
FunctionEnd

Function checkFolderPage
    Call folderProblem
    ${If} $0 != "ok"
        MessageBox MB_OK|MB_ICONEXCLAMATION $0
        Abort
    ${EndIf}
FunctionEnd

Function .onInit
    Call useProgramsRegistryView
    StrCpy $folderFromCommandLine $INSTDIR
    ; An installation for everyone needs an administrator: without one, /AllUsers ends with its
    ; own code before anything is shown (the multi-user support's message would hold a silent
    ; run forever).
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/AllUsers" $2
    ${IfNot} ${Errors}
        Call accountType
        ${If} $0 != "Admin"
            MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} for anyone using this computer \
                needs an administrator: start the installer with $\"Run as administrator$\", or \
                install it just for you." /SD IDOK
            SetErrorLevel ${EXIT_NO_ADMINISTRATOR}
            Quit
        ${EndIf}
    ${EndIf}
    !insertmacro MULTIUSER_INIT
    ; NSIS's multi-user support offers the installation for everyone to XP's Power Users too, who
    ; cannot give its folder to Administrators (protectFolder): like every account without an
    ; administrator's rights, they install just for themselves, and are not asked.
    Call accountType
    ${If} $0 != "Admin"
        StrCpy $MultiUser.Privileges "User"
        Call MultiUser.InstallMode.CurrentUser
    ${EndIf}
    ${If} ${Silent}
        Call folderProblem
        ${If} $0 != "ok"
            SetErrorLevel $1
            Quit
        ${EndIf}
        Call checkOtherScope
    ${EndIf}
FunctionEnd

; Ends the run (endInUse) unless the file $R9 is missing or could be deleted or renamed now: a
; handle with DELETE access opens unless a program holds the file without sharing that (a
; running program's own file opens: it can be renamed), so that a held test sound or uninstaller
; stops the run before the program file was touched. The link itself is opened, not its target.
Function endUnlessMovable
    ${IfNot} ${FileExists} $R9
        Return
    ${EndIf}
    System::Call 'kernel32::CreateFileW(w R9, i 0x10000, i 7, p 0, i 3, i 0x00200000, p 0) p.r0'
    ${IfThen} $0 = -1 ${|} Call endInUse ${|}
    System::Call 'kernel32::CloseHandle(p r0)'
FunctionEnd

; $0: 1 when the installer runs as LocalSystem (WinLocalSystemSid; the test build: when the test
; says so, /SystemByTest), else 0 (uses $1 to $3).
Function isLocalSystem
    StrCpy $0 0
    !ifdef TEST_STANDARD_USER
        ${GetParameters} $1
        ClearErrors
        ${GetOptions} $1 "/SystemByTest" $2
        ${IfNot} ${Errors}
            StrCpy $0 1
            Return
        ${EndIf}
    !endif
    ; TOKEN_QUERY; TokenUser, whose TOKEN_USER begins with the SID's address.
    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i.r2'
    ${IfThen} $2 == 0 ${|} Return ${|}
    System::Alloc 256
    Pop $3
    System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r3, i 256, *i .r2) i.r2'
    ${If} $2 != 0
        System::Call '*$3(p .r2)'
        System::Call 'advapi32::IsWellKnownSid(p r2, i 22) i.r0'
        ${IfThen} $0 != 0 ${|} StrCpy $0 1 ${|}
    ${EndIf}
    System::Free $3
    System::Call 'kernel32::CloseHandle(p r1)'
FunctionEnd

Section "${PRODUCT}"
    ; LocalSystem, as deployment tools run the installer, cannot start the program again as the
    ; desktop's user: the copies it would close run on, their file moved aside.
    Call isLocalSystem
    ${IfThen} $0 != 1 ${|} Call closeProgramFirst ${|}
    ; The folder for everyone is made one only administrators can change before anything in it
    ; is touched, and what it holds is looked at once more: a file put there since the folder was
    ; chosen keeps it from being taken. Then the program's names in it are deleted (a link under
    ; one of them goes, never what it leads to), and the files written new, inheriting the
    ; folder's permissions, or moved aside where a copy out of sight holds them.
    ${If} $MultiUser.InstallMode == "AllUsers"
        Call protectFolder
        ${If} $0 == "ok"
            Call otherFilesInFolder
            ${If} $3 != ""
                StrCpy $0 "$INSTDIR holds more than the files of ${PRODUCT} ($3)."
            ${EndIf}
        ${EndIf}
        ${If} $0 != "ok"
            MessageBox MB_OK|MB_ICONSTOP "$0 Nothing was installed." /SD IDOK
            SetErrorLevel ${EXIT_FOLDER_REFUSED}
            Call startClosedCopy
            Quit
        ${EndIf}
    ${EndIf}
    StrCpy $R9 "$INSTDIR\POURING.WAV"
    Call endUnlessMovable
    StrCpy $R9 "$INSTDIR\uninstall.exe"
    Call endUnlessMovable
    Call removeProgramFile
    StrCpy $R9 "$INSTDIR\POURING.WAV"
    Call removeOrMoveAside
    StrCpy $R9 "$INSTDIR\uninstall.exe"
    Call removeOrMoveAside
    SetOutPath "$INSTDIR"
    Call isX64Windows
    ${If} $0 == 1
        File "${BUILD}\qmx.exe"
    ${Else}
        File "/oname=qmx.exe" "${BUILD_X86}\qmx.exe"
    ${EndIf}
    File "${BUILD}\POURING.WAV"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; An uninstaller of this folder left its file to the user's next logon: the new one stays.
    DeleteRegValue HKCU "${RUNONCE_KEY}" "${REMOVE_AT_LOGON} $INSTDIR"

    ; The program keeps its settings here (it creates the key itself when a choice is first
    ; stored); the installer makes it for the installing user now. Values already in it (an
    ; earlier installation's) stay as they are.
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "installing" 1
    DeleteRegValue HKCU "${SETTINGS_KEY}" "installing"

    CreateShortcut "${SHORTCUT}" "$INSTDIR\qmx.exe" "" "$INSTDIR\qmx.exe" 0 SW_SHOWNORMAL "" \
        "Master volume control in the notification area"

    ; The installed-programs entry of this scope (HKLM for everyone, HKCU just for the user);
    ; installing again over it keeps one entry. Its commands start the uninstaller in its folder
    ; (_?=, last), so that their caller waits for it and gets its exit code.
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
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        "$\"$INSTDIR\uninstall.exe$\" $1 _?=$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        "$\"$INSTDIR\uninstall.exe$\" /S $1 _?=$INSTDIR"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"

    ; A silent run shows no finish page: the copy it closed is started again, as the finish page
    ; would (winget, for one, upgrades with /S).
    ${IfThen} ${Silent} ${|} Call startClosedCopy ${|}
SectionEnd

!include "uninstaller.nsh"
