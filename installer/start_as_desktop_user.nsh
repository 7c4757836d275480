; Starts the installed program from the finish page as the user whose desktop it is, never with
; the installer's rights: the program must not run elevated (its settings are the user's, its
; browser windows would run elevated), nor as the administrator who approved the installation
; for a standard user. The desktop's shell starts it, through the documented way
; (IShellDispatch2::ShellExecute of the desktop's folder view, reached through ShellWindows:
; FindWindowSW with SWC_DESKTOP, the top-level browser's active view, its background object's
; Application). Where no shell answers, an installer without elevation starts the program itself;
; an elevated one leaves the start to the user.

; Vtable slots: IUnknown QueryInterface 0, Release 2; IShellWindows::FindWindowSW 15;
; IServiceProvider::QueryService 3; IShellBrowser::QueryActiveShellView 15;
; IShellView::GetItemObject 15; IShellFolderViewDual::get_Application 7;
; IShellDispatch2::ShellExecute 31 (shldisp.h, exdisp.h, shobjidl.h, servprov.h).
!define CLSID_ShellWindows "{9BA05972-F6A8-11CF-A442-00A0C90A8F39}"
!define IID_IShellWindows "{85CB6900-4D95-11CF-960C-0080C7F4EE85}"
!define IID_IServiceProvider "{6D5140C1-7436-11CE-8034-00AA006009FA}"
!define SID_STopLevelBrowser "{4C96BE40-915C-11CF-99D3-00AA004AE837}"
!define IID_IShellBrowser "{000214E2-0000-0000-C000-000000000046}"
!define IID_IDispatch "{00020400-0000-0000-C000-000000000046}"
!define IID_IShellFolderViewDual "{E7A1AF80-4D96-11CF-960C-0080C7F4EE85}"
!define IID_IShellDispatch2 "{A4C6892C-3BA9-11D2-9DEA-00C04FB16162}"

; One step of the chain: CALL leaves its HRESULT in $R9 (S_OK is 0); a failure skips the steps
; after it, so that no call goes to an interface that was not given.
!macro DESKTOP_STEP call
    ${If} $R9 == 0
        System::Call '${call} i.R9'
    ${EndIf}
!macroend

!macro RELEASE_IF_HELD interface
    ${If} ${interface} != 0
        System::Call "${interface}->2()"
    ${EndIf}
!macroend

; The copy the run closed (closeProgramFirst), started again.
Function startClosedCopy
    ${IfThen} $closedCopy == 1 ${|} Call startUnelevated ${|}
FunctionEnd

Function startUnelevated
    ; $R1 windows, $R2 desktop, $R3 services, $R4 browser, $R5 view, $R6 background,
    ; $R7 folder view, $R8 application, $0 shell dispatch; $1 an empty VARIANT, for the
    ; arguments that take its address, $2 the program's path as a BSTR.
    StrCpy $R1 0
    StrCpy $R2 0
    StrCpy $R3 0
    StrCpy $R4 0
    StrCpy $R5 0
    StrCpy $R6 0
    StrCpy $R7 0
    StrCpy $R8 0
    StrCpy $0 0
    StrCpy $R9 0
    System::Alloc 24
    Pop $1
    System::Call 'oleaut32::SysAllocString(w "$INSTDIR\qmx.exe") p.r2'
    !insertmacro DESKTOP_STEP 'ole32::CoCreateInstance(g "${CLSID_ShellWindows}", p 0, i 4, g "${IID_IShellWindows}", *p .R1)'
    ; SWC_DESKTOP 8, SWFO_NEEDDISPATCH 1; S_FALSE (no desktop) fails too.
    !insertmacro DESKTOP_STEP '$R1->15(p r1, p r1, i 8, *i .r3, i 1, *p .R2)'
    !insertmacro DESKTOP_STEP '$R2->0(g "${IID_IServiceProvider}", *p .R3)'
    !insertmacro DESKTOP_STEP '$R3->3(g "${SID_STopLevelBrowser}", g "${IID_IShellBrowser}", *p .R4)'
    !insertmacro DESKTOP_STEP '$R4->15(*p .R5)'
    ; SVGIO_BACKGROUND 0
    !insertmacro DESKTOP_STEP '$R5->15(i 0, g "${IID_IDispatch}", *p .R6)'
    !insertmacro DESKTOP_STEP '$R6->0(g "${IID_IShellFolderViewDual}", *p .R7)'
    !insertmacro DESKTOP_STEP '$R7->7(*p .R8)'
    !insertmacro DESKTOP_STEP '$R8->0(g "${IID_IShellDispatch2}", *p .r0)'
    ; ShellExecute takes four VARIANTs by value: the 64-bit calling convention passes each
    ; larger argument as the address of a copy, the 32-bit one copies its 16 bytes onto the stack.
    !if ${NSIS_PTR_SIZE} > 4
        !insertmacro DESKTOP_STEP '$0->31(p r2, p r1, p r1, p r1, p r1)'
    !else
        !define /redef EMPTY_VARIANT "i 0, i 0, i 0, i 0"
        !insertmacro DESKTOP_STEP '$0->31(p r2, ${EMPTY_VARIANT}, ${EMPTY_VARIANT}, \
            ${EMPTY_VARIANT}, ${EMPTY_VARIANT})'
    !endif
    StrCpy $3 $R9
    !insertmacro RELEASE_IF_HELD $0
    !insertmacro RELEASE_IF_HELD $R8
    !insertmacro RELEASE_IF_HELD $R7
    !insertmacro RELEASE_IF_HELD $R6
    !insertmacro RELEASE_IF_HELD $R5
    !insertmacro RELEASE_IF_HELD $R4
    !insertmacro RELEASE_IF_HELD $R3
    !insertmacro RELEASE_IF_HELD $R2
    !insertmacro RELEASE_IF_HELD $R1
    System::Call 'oleaut32::SysFreeString(p r2)'
    System::Free $1
    ${If} $3 != 0
        Call accountType
        ${If} $0 == "Admin"
            MessageBox MB_OK|MB_ICONINFORMATION "Windows did not start ${PRODUCT} for you: \
                start it from its shortcut in the Start menu." /SD IDOK
        ${Else}
            Exec '"$INSTDIR\qmx.exe"'
        ${EndIf}
    ${EndIf}
FunctionEnd
