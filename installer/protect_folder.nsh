; The folder of an installation for everyone holds the program every user's logon starts and the
; uninstaller an administrator runs: it gets the protected permissions of Program Files itself,
; owned by Administrators: full control for Administrators and SYSTEM, read and execute for
; Users, nothing inherited. A new folder is made with them, so nobody can put a file into it
; first. An existing one gets them on the folder alone, through a handle to the folder itself
; (never a link in its place), with SetKernelObjectSecurity, which leaves what the folder holds
; as it is: SetNamedSecurityInfo would rewrite the permissions of every file in it, links'
; targets included. The program's files in it are then deleted and written new (qmx.nsi), so
; they inherit the folder's. The folder refused, $0 says why and nothing is installed.
!define PROTECTED_FOLDER "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
; OWNER_, DACL_ and PROTECTED_DACL_SECURITY_INFORMATION
!define OWNER_AND_PROTECTED_DACL 0x80000005
; READ_CONTROL, WRITE_DAC, WRITE_OWNER; FILE_FLAG_BACKUP_SEMANTICS (a folder) with
; FILE_FLAG_OPEN_REPARSE_POINT (the link itself, not where it leads)
!define FOLDER_SECURITY_ACCESS 0xE0000
!define FOLDER_ITSELF 0x02200000
!define /ifndef FILE_ATTRIBUTE_DIRECTORY 0x10
!define /ifndef FILE_ATTRIBUTE_REPARSE_POINT 0x400

Function protectFolder
    StrCpy $0 "ok"
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(\
        w "${PROTECTED_FOLDER}", i 1, *p .r1, p 0) i.r2'
    ${If} $2 == 0
        StrCpy $0 "Windows could not describe the permissions of $INSTDIR."
        Return
    ${EndIf}
    ; SECURITY_ATTRIBUTES: nLength, the descriptor, bInheritHandle (12 bytes in the 32-bit
    ; layout; 24 in the 64-bit one, padded after nLength and at the end).
    !if ${NSIS_PTR_SIZE} > 4
        System::Call '*(i 24, i 0, p r1, i 0, i 0) p.r3'
    !else
        System::Call '*(i 12, p r1, i 0) p.r3'
    !endif
    System::Call 'kernel32::CreateDirectoryW(w "$INSTDIR", p r3)'
    System::Free $3
    System::Call 'kernel32::CreateFileW(w "$INSTDIR", i ${FOLDER_SECURITY_ACCESS}, i 7, p 0, i 3, \
        i ${FOLDER_ITSELF}, p 0) p.r3 ?e'
    Pop $2
    ${If} $3 = -1
        StrCpy $0 "Windows answered $2 when $INSTDIR was opened to set its permissions."
        Goto done
    ${EndIf}
    ; BY_HANDLE_FILE_INFORMATION begins with the attributes.
    System::Alloc 52
    Pop $4
    System::Call 'kernel32::GetFileInformationByHandle(p r3, p r4) i.r2'
    System::Call '*$4(i .r5)'
    System::Free $4
    IntOp $6 $5 & ${FILE_ATTRIBUTE_REPARSE_POINT}
    IntOp $5 $5 & ${FILE_ATTRIBUTE_DIRECTORY}
    ${If} $2 == 0
    ${OrIf} $5 == 0
    ${OrIf} $6 != 0
        StrCpy $0 "$INSTDIR is not a folder of its own (a link to another one, or a file)."
    ${Else}
        System::Call 'advapi32::SetKernelObjectSecurity(p r3, i ${OWNER_AND_PROTECTED_DACL}, \
            p r1) i.r2 ?e'
        Pop $5
        ${If} $2 == 0
            StrCpy $0 "Windows answered $5 when $INSTDIR was given permissions for \
                administrators only."
        ${EndIf}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r3)'
    done:
    System::Call 'kernel32::LocalFree(p r1)'
FunctionEnd
