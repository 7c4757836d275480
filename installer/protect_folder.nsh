; The folder of an installation for everyone holds the program every user's logon starts and the
; uninstaller an administrator runs: it gets the protected permissions of Program Files itself,
; owned by Administrators: full control for Administrators and SYSTEM, read and execute for
; Users, nothing inherited. A new folder is made with them, so nobody can put a file into it
; first; an earlier installation's folder gets them, and the program's files in it (nothing else
; is there: folderProblem) lose any permissions and owner of their own and inherit the folder's.
; The folder refused, $0 says why and nothing is installed.
!define PROTECTED_FOLDER "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
!define INHERITED_ONLY "O:BAD:AI"
; SE_FILE_OBJECT; OWNER_ and DACL_SECURITY_INFORMATION with PROTECTED_ or UNPROTECTED_DACL_...
!define SE_FILE_OBJECT 1
!define OWNER_AND_PROTECTED_DACL 0x80000005
!define OWNER_AND_INHERITED_DACL 0x20000005
!define /ifndef FILE_ATTRIBUTE_REPARSE_POINT 0x400

; $1: the security descriptor SDDL describes (LocalFree it), $5 its owner, $7 its DACL; $2 = 0
; when it could not be made.
!macro SECURITY_DESCRIPTOR sddl
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${sddl}", \
        i 1, *p .r1, p 0) i.r2'
    ${If} $2 != 0
        System::Call 'advapi32::GetSecurityDescriptorOwner(p r1, *p .r5, *i .r6)'
        System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r6, *p .r7, *i .r6)'
    ${EndIf}
!macroend

; A file of the folder keeps only what it inherits (the descriptor in $1, $5, $7).
!macro INHERIT_ONLY file
    ${If} ${FileExists} "${file}"
        System::Call 'advapi32::SetNamedSecurityInfoW(w "${file}", i ${SE_FILE_OBJECT}, \
            i ${OWNER_AND_INHERITED_DACL}, p r5, p 0, p r7, p 0) i.r2'
        ${IfThen} $2 != 0 ${|} StrCpy $0 "Windows answered $2 for the permissions of ${file}." ${|}
    ${EndIf}
!macroend

Function protectFolder
    StrCpy $0 "ok"
    ; A junction or link in its place would take the permissions and the files elsewhere.
    System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR") i.r2'
    ${If} $2 <> -1
        IntOp $2 $2 & ${FILE_ATTRIBUTE_REPARSE_POINT}
        ${If} $2 <> 0
            StrCpy $0 "$INSTDIR is a link to another folder."
            Return
        ${EndIf}
    ${EndIf}
    !insertmacro SECURITY_DESCRIPTOR "${PROTECTED_FOLDER}"
    ${IfThen} $2 == 0 ${|} Goto undescribed ${|}
    ; SECURITY_ATTRIBUTES, in the 64-bit layout: nLength, padding, the descriptor, bInheritHandle.
    System::Call '*(i 24, i 0, p r1, i 0, i 0) p.r3'
    System::Call 'kernel32::CreateDirectoryW(w "$INSTDIR", p r3)'
    System::Free $3
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i ${SE_FILE_OBJECT}, \
        i ${OWNER_AND_PROTECTED_DACL}, p r5, p 0, p r7, p 0) i.r2'
    System::Call 'kernel32::LocalFree(p r1)'
    ${If} $2 != 0
        StrCpy $0 "Windows answered $2 when $INSTDIR was given permissions for administrators \
            only."
        Return
    ${EndIf}
    !insertmacro SECURITY_DESCRIPTOR "${INHERITED_ONLY}"
    ${IfThen} $2 == 0 ${|} Goto undescribed ${|}
    !insertmacro INHERIT_ONLY "$INSTDIR\qmx.exe"
    !insertmacro INHERIT_ONLY "$INSTDIR\POURING.WAV"
    !insertmacro INHERIT_ONLY "$INSTDIR\uninstall.exe"
    System::Call 'kernel32::LocalFree(p r1)'
    Return
    undescribed:
    StrCpy $0 "Windows could not describe the permissions of $INSTDIR."
FunctionEnd
