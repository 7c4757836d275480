#!/usr/bin/env bash
# Installing, using and uninstalling the program with its installer, silently, as a user's
# software deployment would.

SETUP="$E2E_RELEASE/VeltoVolumeController-4.0-setup.exe"
INSTALLED='C:\Program Files\Velto Volume Controller'
INSTALLED_DIR="$WINEPREFIX/drive_c/Program Files/Velto Volume Controller"
SHORTCUT="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velto Volume Controller.lnk"
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VeltoVolumeController'
USER_RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# run_setup SETUP ARGS...: runs an installer and prints its exit code (124 when it still runs
# after a minute, waiting on a message).
run_setup() {
    local setup=$1
    shift
    (cd "$E2E_WORK" && timeout 60 wine "$setup" "$@") >/dev/null 2>&1 </dev/null
    echo $?
}

# uninstall_from FOLDER ARGS...: runs FOLDER's uninstaller as a user who opens it does (NSIS's
# start goes on from a copy of itself and ends at once) and waits until every run of it ended.
uninstall_from() {
    local folder=$1
    shift
    (cd "$E2E_WORK" && wine "$folder\\uninstall.exe" "$@") >/dev/null 2>&1 </dev/null
    uninstallers_ended
}

uninstallers_ended() {
    for _ in $(seq 150); do
        [ -z "$(prefix_pids '(uninstall|\\Un)\.exe')" ] && break
        sleep 0.2
    done
    wait_until '[ -z "$(prefix_pids "~nsu")" ]' 20 "the uninstaller's copy to end"
}

install_silently() { run_setup "$SETUP" /S; }
uninstall_silently() { uninstall_from "$INSTALLED" /S; }

registry_has() {  # registry_has KEY [VALUE]
    if [ -n "${2:-}" ]; then
        wine reg query "$1" /v "$2" >/dev/null 2>&1 </dev/null
    else
        wine reg query "$1" >/dev/null 2>&1 </dev/null
    fi
}

uninstall_entry() {
    wine reg query "$UNINSTALL_KEY" /v "$1" >"$E2E_WORK/reg.out" 2>/dev/null </dev/null
    tr -d '\r' <"$E2E_WORK/reg.out" | awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# nsis_at_least_3_11 FILE: the NSIS version FILE's manifest names is 3.11 or later (3.11 fixed the
# plug-ins folder of an installer run as SYSTEM).
nsis_at_least_3_11() {
    local version
    version=$(grep -ao 'Nullsoft Install System v[0-9.]*' "$1" | head -n 1 | sed 's/.* v//')
    log "$(basename "$1"): NSIS ${version:-unknown}"
    [ -n "$version" ] && [ "$(printf '3.11\n%s\n' "$version" | sort -V | head -n 1)" = 3.11 ]
}

# The Linux process of the installed program, running from its folder.
running_from_installed() { prefix_pids '^"?C:.Program Files.Velto Volume Controller.qmx\.exe'; }

start_installed() {
    (exec wine "$INSTALLED\\qmx.exe") >/dev/null 2>&1 </dev/null &
    QMX_LINUX_PID=$!
    local line
    line=$(drv wait-window --class QmxTrayHost --timeout 20 | tail -n 1)
    QMX_PID=$(sed -n 's/.* pid=\([0-9]*\) .*/\1/p' <<<"$line")
    [ -n "$QMX_PID" ]
}

test_install_use_and_uninstall() {
    wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 </dev/null
    check "a silent install succeeds" [ "$(install_silently)" = 0 ]
    check "it puts qmx.exe into Program Files" [ -f "$INSTALLED_DIR/qmx.exe" ]
    check "with the test sound beside it" [ -f "$INSTALLED_DIR/POURING.WAV" ]
    check "it creates the settings key" registry_has "$SETTINGS_KEY"
    check "it adds the Start-menu shortcut" [ -f "$SHORTCUT" ]
    check "the installed-programs entry names the product" \
        [ "$(uninstall_entry DisplayName)" = "Velto Volume Controller 4.0" ]
    check "and its publisher" [ "$(uninstall_entry Publisher)" = "Korwen's Software" ]
    check "and how to uninstall, for everyone" \
        [ "$(uninstall_entry UninstallString)" = "\"$INSTALLED\\uninstall.exe\" /AllUsers _?=$INSTALLED" ]
    check "the setup and its uninstaller are NSIS 3.11 or later" \
        holds 'nsis_at_least_3_11 "$SETUP" && nsis_at_least_3_11 "$INSTALLED_DIR/uninstall.exe"'

    check "the installed program starts from its folder" start_installed
    wait_until '[ "$(tray_icon_count)" = 1 ]' 10 "the tray icon"
    check "its icon is in the tray" [ "$(tray_icon_count)" = 1 ]
    local path
    path=$(drv windows --class QmxTrayHost | head -n 1)

    # A skin chosen now is still chosen at the next start.
    check "the popup menu opens" open_menu
    xdotool mousemove $((MX + 40)) $((MY + 36))
    wait_until '[ "$(menus | wc -l)" = 2 ]' 10 "the Skin submenu"
    local submenu sx sy sw sh
    submenu=$(menus | grep -v "^${MENU_LINE%% *} " | head -n 1)
    read -r sx sy sw sh < <(rect_of "$submenu")
    xdotool mousemove $((sx + 20)) $((sy + 11)) click 1
    menu_chosen
    check "Close from the menu ends the program" close_from_menu
    check "the installed program starts again" start_installed
    check "a left click opens the controller" open_controller
    check "still in the Vista skin" grep -q 'visible=1' <<<"$(child_line "$CONTROLLER" 7)"

    # The start-at-logon entry points at the installed program.
    check "the popup menu opens" open_menu
    xdotool mousemove $((MX + 40)) $((MY + 52)) click 1
    local dialog x y w h
    dialog=$(drv wait-window --class QmxDialog --pid "$QMX_PID" --visible 1 --timeout 5 | head -n 1)
    check "the Options dialog opens" [ -n "$dialog" ]
    check "Run when Windows starts. can be checked" check_box "${dialog%% *}" 1
    read -r x y w h < <(rect_of "$(child_line "${dialog%% *}" 5)")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    local entry=
    for _ in $(seq 20); do
        wine reg query "$RUN_KEY" /v 'Velto Volume Controller 4.0' >"$E2E_WORK/run.out" \
            2>/dev/null </dev/null
        entry=$(tr -d '\r' <"$E2E_WORK/run.out" | sed -n 's/.*REG_SZ[[:space:]]*//p')
        [ -n "$entry" ] && break
        sleep 0.25
    done
    log "Run entry: $entry"
    check "the start-at-logon entry points at the installed qmx.exe" \
        [ "$entry" = "\"$INSTALLED\\qmx.exe\"" ]
    check "Close from the menu ends the program" close_from_menu

    # A portable copy elsewhere starts with this user's logon: not the installation's to remove.
    wine reg add "$USER_RUN_KEY" /v 'Velto Volume Controller 4.0' /d 'D:\Portable\qmx.exe' /f \
        >/dev/null 2>&1 </dev/null
    uninstall_silently
    check "a silent uninstall removes the program" [ ! -e "$INSTALLED_DIR/qmx.exe" ]
    check "and the test sound and the uninstaller" \
        holds '[ ! -e "$INSTALLED_DIR/POURING.WAV" ] && [ ! -e "$INSTALLED_DIR/uninstall.exe" ]'
    check "and the shortcut" [ ! -e "$SHORTCUT" ]
    check "and the installed-programs entry" holds '! registry_has "$UNINSTALL_KEY"'
    check "and the start-at-logon entry" holds '! registry_has "$RUN_KEY" "Velto Volume Controller 4.0"'
    check "but not another copy's entry" registry_has "$USER_RUN_KEY" "Velto Volume Controller 4.0"
    wine reg delete "$USER_RUN_KEY" /v 'Velto Volume Controller 4.0' /f >/dev/null 2>&1 </dev/null
    check "but keeps the settings" [ "$(setting skin)" = vista ]
}

WINE_USER=$(id -un)  # Wine names the Windows user after the Linux one
USER_PROGRAMS='C:\users\'"$WINE_USER"'\AppData\Local\Programs\Velto Volume Controller'
USER_PROGRAMS_DIR="$WINEPREFIX/drive_c/users/$WINE_USER/AppData/Local/Programs/Velto Volume Controller"
USER_SHORTCUT="$WINEPREFIX/drive_c/users/$WINE_USER/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velto Volume Controller.lnk"
USER_UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\VeltoVolumeController'

# user_entry NAME: a value of the user's own installed-programs entry.
user_entry() {
    wine reg query "$USER_UNINSTALL_KEY" /v "$1" >"$E2E_WORK/reg.out" 2>/dev/null </dev/null
    tr -d '\r' <"$E2E_WORK/reg.out" | awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# Just for me: the user's own Programs folder, Start menu and installed-programs entry; nothing
# for the whole machine. Its uninstaller removes exactly that and keeps the settings.
test_install_just_for_me() {
    set_setting skin REG_SZ vista
    check "a silent install just for the user succeeds" \
        holds '(cd "$E2E_WORK" && wine "$SETUP" /S /CurrentUser) >/dev/null 2>&1 </dev/null'
    check "qmx.exe is in the user's Programs folder" [ -f "$USER_PROGRAMS_DIR/qmx.exe" ]
    check "with the test sound" [ -f "$USER_PROGRAMS_DIR/POURING.WAV" ]
    check "nothing under Program Files" [ ! -e "$INSTALLED_DIR" ]
    check "no machine-wide installed-programs entry" holds '! registry_has "$UNINSTALL_KEY"'
    check "the shortcut is in the user's Start menu" [ -f "$USER_SHORTCUT" ]
    check "the user's entry names the product" [ "$(user_entry DisplayName)" = "Velto Volume Controller 4.0" ]
    check "and where it is" [ "$(user_entry InstallLocation)" = "$USER_PROGRAMS" ]
    check "and its icon" [ "$(user_entry DisplayIcon)" = "$USER_PROGRAMS\\qmx.exe,0" ]
    check "and how to uninstall it" [ "$(user_entry UninstallString)" = \
        "\"$USER_PROGRAMS\\uninstall.exe\" /CurrentUser _?=$USER_PROGRAMS" ]
    check "and how to uninstall it silently" [ "$(user_entry QuietUninstallString)" = \
        "\"$USER_PROGRAMS\\uninstall.exe\" /S /CurrentUser _?=$USER_PROGRAMS" ]
    check "and its size" grep -q '^0x' <<<"$(user_entry EstimatedSize)"
    check "no modify, no repair" holds '[ "$(user_entry NoModify)" = 0x1 ] && [ "$(user_entry NoRepair)" = 0x1 ]'
    (exec wine "$USER_PROGRAMS\\qmx.exe") >/dev/null 2>&1 </dev/null &
    QMX_LINUX_PID=$!
    check "the installed program starts" drv wait-window --class QmxTrayHost --timeout 20
    wait_until '[ "$(tray_icon_count)" = 1 ]' 10 "the tray icon"
    check "with its icon" [ "$(tray_icon_count)" = 1 ]
    wine reg add "$USER_RUN_KEY" /v 'Velto Volume Controller 4.0' /d "\"$USER_PROGRAMS\\qmx.exe\"" /f \
        >/dev/null 2>&1 </dev/null
    uninstall_from "$USER_PROGRAMS" /S /CurrentUser
    check "the silent uninstall closed the program" holds '! linux_alive "$QMX_LINUX_PID"'
    check "and removed its files" [ ! -e "$USER_PROGRAMS_DIR" ]
    check "its shortcut" [ ! -e "$USER_SHORTCUT" ]
    check "its installed-programs entry" holds '! registry_has "$USER_UNINSTALL_KEY"'
    check "and the user's start-up entry for it" holds '! registry_has "$USER_RUN_KEY" "Velto Volume Controller 4.0"'
    check "but kept the settings" [ "$(setting skin)" = vista ]
}

SIGNED="$E2E_WORK/signed"
TOOLS="$E2E_HERE/../../tools"

# make_signer: a throwaway certificate authority ($SIGNED/authority.pem) and a code-signing
# certificate it issued, with its key in $SIGNED/signer.p12 under the password in $SIGNED/password.
make_signer() {
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Throwaway Authority' \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign \
        -keyout "$SIGNED/authority.key" -out "$SIGNED/authority.pem" &&
        openssl req -newkey rsa:2048 -nodes -subj '/CN=Throwaway Signer' \
            -keyout "$SIGNED/signer.key" -out "$SIGNED/signer.csr" &&
        openssl x509 -req -in "$SIGNED/signer.csr" -CA "$SIGNED/authority.pem" \
            -CAkey "$SIGNED/authority.key" -set_serial 1 -days 2 -out "$SIGNED/signer.pem" \
            -extfile <(printf 'extendedKeyUsage=codeSigning\nkeyUsage=critical,digitalSignature\n') &&
        printf 'a throwaway password\n' >"$SIGNED/password" &&
        openssl pkcs12 -export -inkey "$SIGNED/signer.key" -in "$SIGNED/signer.pem" \
            -passout "file:$SIGNED/password" -out "$SIGNED/signer.p12"
} >/dev/null 2>&1

# signing PASSWORD-FILE COMMAND...: runs COMMAND with the throwaway certificate to sign with.
signing() { QMX_SIGN_PKCS12="$SIGNED/signer.p12" QMX_SIGN_PASSWORD_FILE=$1 "${@:2}"; }

# signed FILE: FILE's signature verifies against the throwaway authority.
signed() { osslsigncode verify -CAfile "$SIGNED/authority.pem" -in "$1" >"$SIGNED/verify.out" 2>&1; }

# flip_byte FILE OFFSET: inverts one byte of FILE in place.
flip_byte() {
    local byte
    byte=$(od -An -tu1 -j"$2" -N1 "$1" | tr -d ' ')
    printf "\\$(printf %o $((byte ^ 255)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# A signed release, as the build makes it with a certificate: a copy of the built program signed,
# and the installer built from it. The program, the installer and the uninstaller the installer
# writes carry signatures that verify against the certificate's authority; a byte changed after
# signing fails the check, and a signing that fails leaves no file behind.
test_a_signed_release_verifies_against_its_authority() {
    local setup="$SIGNED/VeltoVolumeController-4.0-setup.exe" makensis
    rm -rf "$SIGNED"
    mkdir -p "$SIGNED/build/x86"
    check "a throwaway authority issues a code-signing certificate" make_signer
    cp "$E2E_RELEASE/qmx.exe" "$E2E_RELEASE/POURING.WAV" "$SIGNED/build/"
    cp "$E2E_RELEASE/x86/qmx.exe" "$SIGNED/build/x86/"
    cp "$E2E_BUILD/qmx.exe" "$SIGNED/unsigned.exe"
    makensis=$(sed -n 's/^QMX_MAKENSIS_PATH:INTERNAL=//p' "$E2E_RELEASE/CMakeCache.txt")
    check "both programs are signed" holds \
        'signing "$SIGNED/password" "$TOOLS/sign.sh" "$SIGNED/build/qmx.exe" &&
         signing "$SIGNED/password" "$TOOLS/sign.sh" "$SIGNED/build/x86/qmx.exe"'
    check "the installer is built signed" signing "$SIGNED/password" "$TOOLS/make-setup.sh" \
        "$makensis" "$setup" "$SIGNED/build" "$E2E_RELEASE/src/win32/assets/app.ico" \
        "-DART=$E2E_RELEASE/src/win32/assets" "-DBUILD_X86=$SIGNED/build/x86"
    printf 'wrong\n' >"$SIGNED/wrong-password"
    check "a signing with the wrong password fails and leaves no file" holds \
        '! signing "$SIGNED/wrong-password" "$TOOLS/sign.sh" "$SIGNED/unsigned.exe" 2>/dev/null &&
         [ ! -e "$SIGNED/unsigned.exe" ]'
    check "both programs verify against the authority" holds \
        'signed "$SIGNED/build/qmx.exe" && signed "$SIGNED/build/x86/qmx.exe"'
    check "and so does the installer" signed "$setup"
    cp "$SIGNED/build/qmx.exe" "$SIGNED/changed.exe"
    flip_byte "$SIGNED/changed.exe" $(($(stat -c %s "$SIGNED/changed.exe") / 2))
    check "a copy with one byte changed does not" holds '! signed "$SIGNED/changed.exe"'
    check "the signed installer installs just for the user" \
        [ "$(run_setup "$setup" /S /CurrentUser)" = 0 ]
    check "the uninstaller it wrote verifies against the authority" \
        signed "$USER_PROGRAMS_DIR/uninstall.exe"
    uninstall_from "$USER_PROGRAMS" /S /CurrentUser
    check "the signed uninstaller removes the installation" [ ! -e "$USER_PROGRAMS_DIR" ]
}

# Installing again over an installation of the same kind, the program running meanwhile: it is
# closed, the files are replaced in place, and the settings, the start-up entry and the one
# installed-programs entry stay.
test_an_upgrade_keeps_everything() {
    reset_settings
    check "a silent install succeeds" [ "$(install_silently)" = 0 ]
    check "the installed program starts" start_installed
    choose Vista
    choose Options
    local dialog x y w h
    dialog=$(drv wait-window --class QmxDialog --pid "$QMX_PID" --visible 1 --timeout 5 | head -n 1)
    check "Run when Windows starts. can be checked" check_box "${dialog%% *}" 1
    read -r x y w h < <(rect_of "$(child_line "${dialog%% *}" 5)")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    wait_until '[ -n "$(run_entry)" ]' 10 "the start-up entry"
    check "the start-up entry is there" [ "$(run_entry)" = "\"$INSTALLED\\qmx.exe\"" ]
    printf 'old' >"$INSTALLED_DIR/POURING.WAV"  # as an earlier version would have left it
    local before=$QMX_PID
    check "installing again while the program runs succeeds" [ "$(install_silently)" = 0 ]
    check "the running program was closed for it" wait_gone "$QMX_LINUX_PID" 5
    check "and started again, with no finish page to do it" within 20 \
        '[ -n "$(running_from_installed)" ] && [ "$(drv windows --class QmxTrayHost | wc -l)" = 1 ]'
    QMX_LINUX_PID=$(running_from_installed)
    QMX_PID=$(drv windows --class QmxTrayHost | sed -n 's/.* pid=\([0-9]*\) .*/\1/p')
    check "as a new process" [ "$QMX_PID" != "$before" ]
    check "the new files are in place" cmp -s "$INSTALLED_DIR/POURING.WAV" "$E2E_BUILD/POURING.WAV"
    check "and the program" cmp -s "$INSTALLED_DIR/qmx.exe" "$E2E_BUILD/qmx.exe"
    check "one installed-programs entry" holds 'registry_has "$UNINSTALL_KEY" && ! registry_has "$USER_UNINSTALL_KEY"'
    check "the Vista skin is kept" [ "$(setting skin)" = vista ]
    check "the start-up entry is kept" [ "$(run_entry)" = "\"$INSTALLED\\qmx.exe\"" ]
    close_from_menu
    uninstall_silently
    forget_run_entry
}

TEST_SETUP="$E2E_RELEASE/test-setups/setup-uninstalling-as-standard-user.exe"

# run_raw COMMAND-LINE: runs a Windows command line as it stands (Wine would quote an argument
# with a space, which /D= and _?= do not take) and prints its exit code, whole (a Linux process's
# keeps only its low byte); nothing when it still runs after a minute.
run_raw() {
    printf '@%s\r\n@echo %%errorlevel%% >"%s"\r\n' "$1" "$(windows_path "$E2E_WORK/code.txt")" \
        >"$E2E_WORK/raw.bat"
    rm -f "$E2E_WORK/code.txt"
    (cd "$E2E_WORK" && timeout 60 wine cmd /c "$(windows_path "$E2E_WORK/raw.bat")") >/dev/null 2>&1 </dev/null
    tr -d '\r ' <"$E2E_WORK/code.txt" 2>/dev/null
}

# installed_both: an installation for everyone (the test build's started as an administrator)
# and one just for the user, by SETUP.
installed_both() {
    check "an installation for everyone succeeds" \
        [ "$(run_setup "$1" /S /AllUsers /GrantedByTest)" = 0 ]
    check "one just for the user beside it too" [ "$(run_setup "$1" /S /CurrentUser)" = 0 ]
}

# entry_command KEY: the installed-programs entry's silent uninstall command, as a deployment
# tool runs it; it prints the command's exit code.
entry_command() {
    wine reg query "$1" /v QuietUninstallString >"$E2E_WORK/reg.out" 2>/dev/null </dev/null
    run_raw "$(tr -d '\r' <"$E2E_WORK/reg.out" | sed -n 's/.*REG_SZ[[:space:]]*//p')"
}

SESSION_MANAGER='HKLM\System\CurrentControlSet\Control\Session Manager'

# removed_at_restart PATH...: what Windows removes when it starts again. Under Wine the
# uninstaller cannot move its own running file into the temporary folder, so one that ran in its
# folder moves it aside there, or leaves it, for then.
removed_at_restart() {
    rm -rf "$@"
    wine reg delete "$SESSION_MANAGER" /v PendingFileRenameOperations /f >/dev/null 2>&1 </dev/null
}

# removal_pending TEXT: Windows is to remove, when it starts again, a path that holds TEXT.
removal_pending() {
    wine reg query "$SESSION_MANAGER" /v PendingFileRenameOperations 2>/dev/null </dev/null |
        grep -q "$1"
}

# Windows' Apps page starts an uninstaller unelevated, whatever the installation. Each one removes
# the installation it lies in, whatever its switches; the one of the installation for everyone
# asks Windows for the rights itself.
test_each_uninstaller_removes_its_own_installation() {
    installed_both "$TEST_SETUP"
    uninstall_from "$USER_PROGRAMS" /S /AllUsers
    check "the user's uninstaller, even told /AllUsers, removes the user's copy" \
        holds '[ ! -e "$USER_PROGRAMS_DIR/qmx.exe" ] && ! registry_has "$USER_UNINSTALL_KEY"'
    check "and leaves the one for everyone" \
        holds '[ -f "$INSTALLED_DIR/qmx.exe" ] && registry_has "$UNINSTALL_KEY" && [ -f "$SHORTCUT" ]'
    installed_both "$TEST_SETUP"
    uninstall_from "$INSTALLED" /S
    check "the uninstaller for everyone, unelevated and without a switch, removes that copy" \
        holds '[ ! -e "$INSTALLED_DIR/qmx.exe" ] && ! registry_has "$UNINSTALL_KEY" && [ ! -e "$SHORTCUT" ]'
    check "and leaves the user's" \
        holds '[ -f "$USER_PROGRAMS_DIR/qmx.exe" ] && registry_has "$USER_UNINSTALL_KEY" && [ -f "$USER_SHORTCUT" ]'
    uninstall_from "$USER_PROGRAMS" /S
    removed_at_restart "$INSTALLED_DIR"
}

# /D= chooses the folder; an installation for everyone goes only into Program Files, and one of
# the same kind elsewhere is not left behind silently.
test_the_folder_named_on_the_command_line() {
    local other="$WINEPREFIX/drive_c/Other" elsewhere='C:\Program Files\Velto Elsewhere'
    rm -rf "$other" "$WINEPREFIX/drive_c/Another"
    check "for everyone outside Program Files: refused with its code" \
        [ "$(run_setup "$SETUP" /S /AllUsers '/D=C:\Other')" = 3 ]
    check "nothing written" holds '[ ! -e "$other" ] && ! registry_has "$UNINSTALL_KEY"'
    check "just for the user: installed where /D= says" \
        [ "$(run_setup "$SETUP" /S /CurrentUser '/D=C:\Other')" = 0 ]
    check "its files are there" [ -f "$other/qmx.exe" ]
    check "and its entry names the folder" [ "$(user_entry InstallLocation)" = 'C:\Other' ]
    check "another folder for the same kind is refused with its code" \
        [ "$(run_setup "$SETUP" /S /CurrentUser '/D=C:\Another')" = 4 ]
    check "and nothing is written there" [ ! -e "$WINEPREFIX/drive_c/Another" ]
    local code
    code=$(run_raw "\"$(windows_path "$SETUP")\" /S /AllUsers /D=$elsewhere")
    check "for everyone in another folder of Program Files: installed there" [ "$code" = 0 ]
    check "its files are there" [ -f "$WINEPREFIX/drive_c/Program Files/Velto Elsewhere/qmx.exe" ]
    check "and the entry names it" [ "$(uninstall_entry InstallLocation)" = "$elsewhere" ]
    uninstall_from "$elsewhere" /S
    uninstall_from 'C:\Other' /S
    check "both uninstall" holds '[ ! -e "$other/qmx.exe" ] && ! registry_has "$UNINSTALL_KEY"'
}

# The running copy is closed once the user has confirmed, and only the copy of the installation
# being replaced; a program file held open elsewhere fails the run and changes nothing.
test_only_the_installations_own_copy_is_closed_and_only_when_confirmed() {
    reset_settings
    installed_both "$SETUP"
    check "the installation for everyone starts" start_installed
    local everyone=$QMX_LINUX_PID
    (exec wine "$USER_PROGRAMS\\qmx.exe") >/dev/null 2>&1 </dev/null &
    local own=$!
    check "and the user's copy beside it" \
        within 20 '[ "$(drv windows --class QmxTrayHost | wc -l)" = 2 ]'
    (cd "$E2E_WORK" && exec wine "$SETUP") >/dev/null 2>&1 </dev/null &
    local setup=$!
    check "the installer shows its first page" within 20 \
        'drv windows --class "#32770" --visible 1 | grep -q "text=Velto Volume Controller 4.0 Setup"'
    sleep 1  # time must pass: the installer closes nothing before it is confirmed
    check "while both copies run on" holds 'linux_alive "$everyone" && linux_alive "$own"'
    wait_until 'drv foreground | grep -q "text=Velto Volume Controller 4.0 Setup"' 10 "the installer in front"
    xdotool key Escape
    wait_until '[ "$(drv windows --class "#32770" --visible 1 | wc -l)" -ge 2 ]' 10 "the question to quit"
    xdotool key Return
    check "the installer ends when cancelled" wait_gone "$setup" 10
    check "and both copies still run" holds 'linux_alive "$everyone" && linux_alive "$own"'
    check "an upgrade for everyone succeeds" [ "$(run_setup "$SETUP" /S /AllUsers)" = 0 ]
    check "it closed the copy it replaced" wait_gone "$everyone" 5
    check "and not the user's" linux_alive "$own"
    printf 'old' >"$INSTALLED_DIR/POURING.WAV"
    local held program
    program=$(stat -c %i "$INSTALLED_DIR/qmx.exe")
    # With the test sound held, the copy the run closed can start again.
    for held in qmx.exe POURING.WAV; do
        [ "$held" = qmx.exe ] || start_installed
        local before
        before=$(running_from_installed)
        wine "$E2E_DRIVER" hold-file "$INSTALLED\\$held" 60 >"$E2E_WORK/hold.out" 2>/dev/null </dev/null &
        local holder=$!
        check "$held is held open" within 10 'grep -q held "$E2E_WORK/hold.out"'
        check "a silent upgrade that can neither replace it nor move it aside: try again later" \
            [ "$(run_raw "\"$(windows_path "$SETUP")\" /S /AllUsers")" = 1618 ]
        check "and changed nothing" holds \
            '[ "$(cat "$INSTALLED_DIR/POURING.WAV")" = old ] && [ "$(stat -c %i "$INSTALLED_DIR/qmx.exe")" = "$program" ]'
        if [ "$held" = POURING.WAV ]; then
            check "but started again the copy it closed" within 20 \
                '[ -n "$(running_from_installed)" ] && [ "$(running_from_installed)" != "$before" ]'
            kill $(running_from_installed) 2>/dev/null
        fi
        kill "$holder" 2>/dev/null
        wait "$holder" 2>/dev/null
    done
    (cd "$E2E_WORK" && exec wine "$USER_PROGRAMS\\uninstall.exe") >/dev/null 2>&1 </dev/null &
    check "the user's uninstaller asks first" within 20 \
        'drv windows --class "#32770" --visible 1 | grep -q "text=Velto Volume Controller 4.0 Uninstall"'
    check "while the user's copy runs on" linux_alive "$own"
    wait_until 'drv foreground | grep -q "text=Velto Volume Controller 4.0 Uninstall"' 10 "the uninstaller in front"
    xdotool key Escape
    check "cancelled, the uninstaller closes" within 10 \
        '! drv windows --class "#32770" --visible 1 | grep -q "Uninstall"'
    check "and the copy still runs" linux_alive "$own"
    uninstall_from "$USER_PROGRAMS" /S
    check "the user's uninstaller closed the user's copy" wait_gone "$own" 5
    uninstall_from "$INSTALLED" /S
}

# On XP x64 and Server 2003 x64 the 32-bit installer reads the path of the running x64 copy as
# the kernel names it (\Device\HarddiskVolume1\...): it still closes that copy, and moves
# nothing aside.
test_on_xp_x64_the_upgrade_closes_the_running_copy() {
    check "installed for everyone" [ "$(run_setup "$TEST_SETUP" /S /AllUsers /GrantedByTest)" = 0 ]
    check "the installation starts" start_installed
    local copy=$QMX_LINUX_PID
    check "an upgrade as on XP succeeds" \
        [ "$(QMX_TEST_XP_PROCESS_NAMES=1 run_setup "$TEST_SETUP" /S /AllUsers /GrantedByTest)" = 0 ]
    check "it closed the running copy" wait_gone "$copy" 10
    check "and moved nothing aside" [ -z "$(ls "$INSTALLED_DIR" | grep '\.old$')" ]
    kill $(running_from_installed) 2>/dev/null
    uninstall_from "$INSTALLED" /S /GrantedByTest
}

# Deployment tools run the installer and the uninstaller as SYSTEM in session 0, where no window
# search finds the copies users run: a copy on a desktop of its own stands for one. The silent runs
# still complete: the running file is renamed aside, to go at the next restart, and the copy runs
# on.
start_out_of_sight() {
    (exec wine explorer /desktop=elsewhere,640x480 "$INSTALLED\\qmx.exe") >/dev/null 2>&1 </dev/null &
    within 20 '[ -n "$(running_from_installed)" ]' && sleep 2 && [ -z "$(drv windows --class QmxTrayHost)" ]
}
end_out_of_sight() { kill "$1" $(prefix_pids desktop=elsewhere) 2>/dev/null; }
test_a_copy_out_of_the_installers_sight_does_not_stop_a_silent_run() {
    check "installed for everyone" [ "$(install_silently)" = 0 ]
    check "a copy runs where the installer sees no window of it" start_out_of_sight
    local copy
    copy=$(running_from_installed)
    check "a silent upgrade succeeds" [ "$(install_silently)" = 0 ]
    check "the copy's file was renamed aside, to go at the next restart" \
        holds '[ -f "$INSTALLED_DIR/qmx.1.old" ] && removal_pending qmx.1.old'
    check "the new program is in its place" cmp -s "$INSTALLED_DIR/qmx.exe" "$E2E_BUILD/qmx.exe"
    check "and the copy runs on" linux_alive "$copy"
    check "an upgrade beside the file moved aside succeeds" [ "$(install_silently)" = 0 ]
    end_out_of_sight "$copy"
    removed_at_restart "$INSTALLED_DIR/qmx.1.old"
    check "a copy runs out of sight again" start_out_of_sight
    copy=$(running_from_installed)
    check "a silent uninstall succeeds" [ "$(entry_command "$UNINSTALL_KEY")" = 0 ]
    check "the program and its entry are gone, its file and the folder to go at the next restart" \
        holds '[ ! -e "$INSTALLED_DIR/qmx.exe" ] && ! registry_has "$UNINSTALL_KEY" &&
            removal_pending "qmx.1.old" && removal_pending "Volume Controller\\\\0"'
    check "and the copy runs on" linux_alive "$copy"
    end_out_of_sight "$copy"
    removed_at_restart "$INSTALLED_DIR"
    # As LocalSystem, which cannot start the program again as the desktop's user, the installer
    # leaves even the copy it sees running.
    check "installed for everyone" [ "$(run_setup "$TEST_SETUP" /S /AllUsers /GrantedByTest)" = 0 ]
    check "the installed program starts" start_installed
    check "a silent upgrade as LocalSystem succeeds" \
        [ "$(run_setup "$TEST_SETUP" /S /AllUsers /GrantedByTest /SystemByTest)" = 0 ]
    check "and leaves the copy running, its file moved aside" \
        holds 'linux_alive "$QMX_LINUX_PID" && [ -f "$INSTALLED_DIR/qmx.1.old" ]'
    close_from_menu
    uninstall_from "$INSTALLED" /S /GrantedByTest
    removed_at_restart "$INSTALLED_DIR"
}

# An earlier installation's program file made a link to a file elsewhere: an upgrade for everyone
# puts the program in the link's place and leaves that file as it was. (A hard link: Wine acts on
# what a symbolic one leads to even when deleting it, as Windows never does, for its server opens
# every file by its real path.)
test_a_link_in_the_folder_for_everyone_is_replaced_not_followed() {
    local name
    check "installed for everyone" [ "$(install_silently)" = 0 ]
    for name in qmx.exe POURING.WAV uninstall.exe; do
        echo "not the program's $name" >"$E2E_WORK/outside-$name"
        ln -f "$E2E_WORK/outside-$name" "$INSTALLED_DIR/$name"
    done
    chmod 777 "$INSTALLED_DIR"  # Wine shows a folder's permissions in its mode
    check "an upgrade succeeds" [ "$(install_silently)" = 0 ]
    check "and lets no one else write to the folder again" \
        [ $((8#$(stat -c %a "$INSTALLED_DIR") & 2)) = 0 ]
    for name in qmx.exe POURING.WAV uninstall.exe; do
        check "the file $name led to is unchanged" \
            [ "$(cat "$E2E_WORK/outside-$name")" = "not the program's $name" ]
        check "and $name is a file of its own" [ "$(stat -c %h "$INSTALLED_DIR/$name")" = 1 ]
    done
    check "the program is in place" cmp -s "$INSTALLED_DIR/qmx.exe" "$E2E_BUILD/qmx.exe"
    uninstall_silently
    removed_at_restart "$INSTALLED_DIR"
}

# NSIS hands /D= to the copy an uninstaller started without _?= runs from: with an administrator's
# rights that copy removes only the user's own installation or the machine's, never another folder.
test_an_administrators_uninstaller_takes_no_other_folder_from_its_command_line() {
    local decoy="$WINEPREFIX/drive_c/Decoy"
    mkdir -p "$decoy"
    cp "$E2E_BUILD/qmx.exe" "$decoy/"
    check "installed just for the user" [ "$(run_setup "$TEST_SETUP" /S /CurrentUser)" = 0 ]
    run_raw "\"$USER_PROGRAMS\\uninstall.exe\" /S /GrantedByTest /D=C:\\Decoy" >/dev/null
    uninstallers_ended
    check "another folder is refused" holds '[ -f "$decoy/qmx.exe" ] && [ -f "$USER_PROGRAMS_DIR/qmx.exe" ]'
    run_raw "\"$USER_PROGRAMS\\uninstall.exe\" /S /GrantedByTest /D=$USER_PROGRAMS" >/dev/null
    uninstallers_ended
    check "the user's own is removed" holds '[ ! -e "$USER_PROGRAMS_DIR/qmx.exe" ] && [ -f "$decoy/qmx.exe" ]'
    rm -rf "$decoy"
    removed_at_restart "$USER_PROGRAMS_DIR"
}

# A deployment tool runs /AllUsers without asking whether an administrator runs it: without one,
# the silent installer ends at once with its own code, having shown and written nothing.
test_a_silent_install_for_everyone_without_an_administrator_ends_with_its_code() {
    check "it ends with its code" [ "$(run_setup "$TEST_SETUP" /S /AllUsers)" = 7 ]
    check "having written nothing" holds '[ ! -e "$INSTALLED_DIR" ] && ! registry_has "$UNINSTALL_KEY"'
}

# The entry's command waits for the run that does the work, here the one Windows gave the rights
# to, and ends with its code: refused, not started with the rights, the file in use, done.
test_the_uninstallers_exit_code_reaches_its_caller() {
    check "installed for everyone" [ "$(run_setup "$TEST_SETUP" /S /AllUsers /GrantedByTest)" = 0 ]
    check "the rights refused (ERROR_CANCELLED): 6" \
        [ "$(QMX_TEST_ELEVATION_ERROR=1223 entry_command "$UNINSTALL_KEY")" = 6 ]
    check "another error of Windows' (ERROR_ACCESS_DENIED): 9" \
        [ "$(QMX_TEST_ELEVATION_ERROR=5 entry_command "$UNINSTALL_KEY")" = 9 ]
    check "the run for the machine's part started without the rights: 9" \
        [ "$(run_raw "\"$INSTALLED\\uninstall.exe\" /S /MachineOnly _?=$INSTALLED")" = 9 ]
    wine "$E2E_DRIVER" hold-file "$INSTALLED\\qmx.exe" 60 >"$E2E_WORK/hold.out" 2>/dev/null </dev/null &
    local holder=$!
    check "the program file is held open" within 10 'grep -q held "$E2E_WORK/hold.out"'
    check "the program file in use: try again later" [ "$(entry_command "$UNINSTALL_KEY")" = 1618 ]
    kill "$holder" 2>/dev/null
    wait "$holder" 2>/dev/null
    check "nothing was removed meanwhile" holds '[ -f "$INSTALLED_DIR/qmx.exe" ] && registry_has "$UNINSTALL_KEY"'
    check "done: 0" [ "$(entry_command "$UNINSTALL_KEY")" = 0 ]
    check "and removed" holds '[ ! -e "$INSTALLED_DIR/qmx.exe" ] && ! registry_has "$UNINSTALL_KEY"'
    removed_at_restart "$INSTALLED_DIR"
}

# While Windows asks an administrator, any program of the user may replace the uninstaller's copy
# in the user's temporary folder: the run the administrator approves is the installation's own
# uninstaller, never that copy.
test_the_administrator_approves_only_the_installations_own_uninstaller() {
    check "installed for everyone" [ "$(run_setup "$TEST_SETUP" /S /AllUsers /GrantedByTest)" = 0 ]
    local temp="$WINEPREFIX/drive_c/users/$WINE_USER/Temp" consent="$E2E_WORK/consent"
    rm -rf "$temp"/~nsu*.tmp "$consent" "$consent.asked"
    (cd "$E2E_WORK" && QMX_TEST_CONSENT_FILE=$(windows_path "$consent") \
        exec wine "$INSTALLED\\uninstall.exe" /S) >/dev/null 2>&1 </dev/null &
    # Asked once the copy runs its script, having read itself (replaced before, the copy would
    # only fail its own integrity check).
    check "its copy waits for the administrator" within 20 '[ -e "$consent.asked" ]'
    local copy
    copy=$(echo "$temp"/~nsu*.tmp/Un.exe)
    check "a program of the user replaces that copy" \
        holds 'mv "$copy" "$copy.replaced" && cp "$E2E_DRIVER" "$copy"'
    touch "$consent"
    check "the approved run removes the installation" within 30 \
        '[ ! -e "$INSTALLED_DIR/qmx.exe" ] && ! registry_has "$UNINSTALL_KEY"'
    removed_at_restart "$INSTALLED_DIR" "$temp"/~nsu*.tmp
}

# short_name FOLDER NAME: the short name Windows gives the folder NAME in FOLDER.
short_name() {
    (cd "$E2E_WORK" && wine cmd /c dir /x "$1") >"$E2E_WORK/dir.out" 2>/dev/null </dev/null
    tr -d '\r' <"$E2E_WORK/dir.out" | sed -n "s/.*<DIR> *\([^ ]*\) *$2\$/\1/p"
}

# A folder named by its short form is kept in its long form: the uninstaller started by the long
# one knows the installation for everyone, and the user's own installation elsewhere keeps its
# entry.
test_a_folder_named_by_its_short_form_is_one_folder() {
    check "the user's own installation elsewhere" [ "$(run_setup "$SETUP" /S /CurrentUser '/D=C:\Other')" = 0 ]
    local short
    short=$(short_name 'C:\' 'Program Files')
    check "Program Files has a short name" [ -n "$short" ]
    check "for everyone in the short form: installed" [ "$(run_raw \
        "\"$(windows_path "$SETUP")\" /S /AllUsers /D=C:\\$short\\Velto Volume Controller")" = 0 ]
    check "its entry names the long form" [ "$(uninstall_entry InstallLocation)" = "$INSTALLED" ]
    uninstall_from "$INSTALLED" /S
    check "the uninstaller by the long form removes that installation" \
        holds '[ ! -e "$INSTALLED_DIR/qmx.exe" ] && ! registry_has "$UNINSTALL_KEY"'
    check "and not the user's entry" registry_has "$USER_UNINSTALL_KEY"
    uninstall_from 'C:\Other' /S
}

# A file the uninstaller cannot remove fails it with its code; the uninstaller and the entry stay,
# so that it can run again.
test_a_file_the_uninstaller_cannot_remove_fails_it() {
    check "installed just for the user" [ "$(run_setup "$SETUP" /S /CurrentUser)" = 0 ]
    wine "$E2E_DRIVER" hold-file "$USER_PROGRAMS\\POURING.WAV" 60 >"$E2E_WORK/hold.out" \
        2>/dev/null </dev/null &
    local holder=$!
    check "the test sound is held open" within 10 'grep -q held "$E2E_WORK/hold.out"'
    check "the uninstaller ends with its code" [ "$(entry_command "$USER_UNINSTALL_KEY")" = 8 ]
    check "and stays, with its entry" \
        holds '[ -f "$USER_PROGRAMS_DIR/uninstall.exe" ] && registry_has "$USER_UNINSTALL_KEY"'
    kill "$holder" 2>/dev/null
    wait "$holder" 2>/dev/null
    check "run again, it succeeds" [ "$(entry_command "$USER_UNINSTALL_KEY")" = 0 ]
    removed_at_restart "$USER_PROGRAMS_DIR"
}

RUNONCE_KEY='Software\Microsoft\Windows\CurrentVersion\RunOnce'

# Run in its folder, the uninstaller moves its own file into the temporary folder, which fails
# when that lies on another drive (under Wine, always), and only an administrator may have Windows
# remove the file at restart: a standard user's run removes the rest and the entry and leaves the
# file and the folder to the user's next logon. Installing there again keeps the new uninstaller.
test_a_standard_users_uninstaller_leaves_its_own_file_to_the_next_logon() {
    local name="Velto Volume Controller 4.0: remove $USER_PROGRAMS" command
    check "installed just for the user" [ "$(run_setup "$TEST_SETUP" /S /CurrentUser)" = 0 ]
    check "the uninstall succeeds" [ "$(entry_command "$USER_UNINSTALL_KEY")" = 0 ]
    check "the program and the entry are gone" \
        holds '[ ! -e "$USER_PROGRAMS_DIR/qmx.exe" ] && ! registry_has "$USER_UNINSTALL_KEY"'
    check "installing there again takes the logon's command away" holds \
        '[ "$(run_setup "$TEST_SETUP" /S /CurrentUser)" = 0 ] && ! drv reg-text HKCU "$RUNONCE_KEY" "$name"'
    check "uninstalled again" [ "$(entry_command "$USER_UNINSTALL_KEY")" = 0 ]
    command=$(drv reg-text HKCU "$RUNONCE_KEY" "$name")
    log "at the next logon: $command"
    check "the logon's command removes the uninstaller and the folder" \
        holds 'drv run-line "$command" >/dev/null && [ ! -e "$USER_PROGRAMS_DIR" ]'
    wine reg delete "HKCU\\$RUNONCE_KEY" /v "$name" /f >/dev/null 2>&1 </dev/null
}

# For everyone, only a folder directly in Program Files is taken (its parent lets no user rename
# it away), and only a new one or one holding the program's files (the permissions it gets pass
# down to all it holds).
test_a_folder_for_everyone_is_its_own_directly_in_program_files() {
    local files="$WINEPREFIX/drive_c/Program Files" where
    rm -rf "$files/Vendor" "$files/Velto Stale"
    mkdir -p "$files/Vendor" "$files/Velto Stale/qmx.exe"  # a folder by the program's file's name
    echo other >"$files/Vendor/vendor.dll"
    for where in 'Vendor\Velto Volume Controller' 'Vendor' 'Velto Stale'; do
        check "refused with its code: $where" [ "$(run_raw \
            "\"$(windows_path "$SETUP")\" /S /AllUsers /D=C:\\Program Files\\$where")" = 3 ]
    done
    check "nothing written" holds '[ "$(ls "$files/Vendor")" = vendor.dll ] && ! registry_has "$UNINSTALL_KEY"'
    rm -rf "$files/Vendor" "$files/Velto Stale"
}

# NSIS's multi-user support offers the installation for everyone to accounts that cannot give its
# folder to Administrators (XP's Power Users): without an administrator's rights the installer
# installs just for the user, even where the earlier installation is one for everyone.
test_without_an_administrator_the_installation_is_the_users() {
    check "installed for everyone" [ "$(run_setup "$TEST_SETUP" /S /AllUsers /GrantedByTest)" = 0 ]
    check "installing again without the rights succeeds" [ "$(run_setup "$TEST_SETUP" /S)" = 0 ]
    check "just for the user" holds '[ -f "$USER_PROGRAMS_DIR/qmx.exe" ] && registry_has "$USER_UNINSTALL_KEY"'
    uninstall_from "$USER_PROGRAMS" /S
    uninstall_from "$INSTALLED" /S
    removed_at_restart "$INSTALLED_DIR"
}

# The visible uninstaller window (one at a time), and the message box asking the user about their
# settings, when they are there.
uninstall_page() {
    drv windows --class '#32770' --visible 1 | grep 'text=Velto Volume Controller 4.0 Uninstall' |
        head -n 1 | cut -d' ' -f1 | grep .
}
settings_question() {
    local window
    for window in $(drv windows --class '#32770' --visible 1 | cut -d' ' -f1); do
        drv child-text "$window" 65535 | grep -q '^Remove your' && echo "$window" && return 0
    done
    return 1
}

# With its pages, as Windows' Apps page starts it, the uninstaller for everyone asks for the rights
# when the user confirms on its page; the administrator's run then does not ask again.
test_an_uninstall_with_pages_asks_for_the_rights_once_confirmed() {
    check "installed for everyone" [ "$(run_setup "$TEST_SETUP" /S /AllUsers /GrantedByTest)" = 0 ]
    local consent="$E2E_WORK/consent"
    rm -f "$consent" "$E2E_WORK/code"
    wine reg query "$UNINSTALL_KEY" /v UninstallString >"$E2E_WORK/reg.out" 2>/dev/null </dev/null
    (QMX_TEST_CONSENT_FILE=$(windows_path "$consent") run_raw \
        "$(tr -d '\r' <"$E2E_WORK/reg.out" | sed -n 's/.*REG_SZ[[:space:]]*//p')" >"$E2E_WORK/code") &
    check "its page comes before Windows asks" within 20 "uninstall_page >/dev/null"
    drv press-ok "$(uninstall_page)" >/dev/null
    touch "$consent"
    check "the approved run removes it without asking again" within 30 \
        '[ ! -e "$INSTALLED_DIR/qmx.exe" ] && ! registry_has "$UNINSTALL_KEY"'
    drv press-ok "$(uninstall_page)" >/dev/null  # its Close
    check "then the user's run asks about their settings" within 20 "settings_question >/dev/null"
    drv press-ok "$(settings_question)" >/dev/null
    check "and the command ends with 0" within 20 '[ "$(cat "$E2E_WORK/code" 2>/dev/null)" = 0 ]'
    removed_at_restart "$INSTALLED_DIR"
}

# The texts of the installer's visible page.
setup_window() {
    drv windows --class '#32770' --visible 1 | grep 'text=Velto Volume Controller 4.0 Setup' |
        head -n 1 | cut -d' ' -f1 | grep .
}
setup_page_texts() {
    local page
    page=$(drv children "$(setup_window)" | grep 'class=#32770 visible=1' | head -n 1 | cut -d' ' -f2)
    [ -n "$page" ] && drv children "$page" | sed 's/.* text=//'
}

# Run as an administrator, the installer welcomes first, then offers the two kinds.
test_an_administrator_is_welcomed_before_choosing_the_kind() {
    (cd "$E2E_WORK" && exec wine "$SETUP") >/dev/null 2>&1 </dev/null &
    check "the first page is Welcome" \
        within 20 'setup_page_texts | grep -qx "Welcome to Velto Volume Controller 4.0 Setup"'
    drv press-ok "$(setup_window)" >/dev/null
    check "the second the choice" \
        within 10 'setup_page_texts | grep -qx "Install for anyone using this computer"'
    wine taskkill /f /im VeltoVolumeController-4.0-setup.exe >/dev/null 2>&1 </dev/null
    check "the installer is closed again" within 10 '! setup_window >/dev/null'
}

# settings_question_of FOLDER: runs FOLDER's uninstaller with its pages, as a user does, and
# prints the question it asks about the settings, answered with Enter, its default answer.
settings_question_of() {
    (cd "$E2E_WORK" && exec wine "$1\\uninstall.exe") >/dev/null 2>&1 </dev/null &
    within 20 "uninstall_page >/dev/null" && drv press-ok "$(uninstall_page)" >/dev/null
    within 20 "settings_question >/dev/null" || return 1
    drv child-text "$(settings_question)" 65535 >"$E2E_WORK/question.out"
    log "question: $(tr '\n' ' ' <"$E2E_WORK/question.out")" >&2
    wait_until 'drv foreground | grep -q "^$(settings_question) "' 10 "the question in front" >&2
    xdotool key Return
    # Its Close, once enabled.
    within 20 '! uninstall_page >/dev/null || { drv press-ok "$(uninstall_page)"; sleep 0.5; false; }'
    wait_until '[ -z "$(prefix_pids "~nsu")" ]' 20 "the uninstaller's copy to end" >&2
    cat "$E2E_WORK/question.out"
}

# The settings are the user's, whichever installation: uninstalling one kind while the other
# stays, the question says that one uses them too, and where it is.
test_the_settings_question_names_the_other_installation() {
    installed_both "$SETUP"
    check "the user's uninstaller names the installation for everyone" grep -qF \
        "still installed for anyone using this computer, in $INSTALLED. It uses the same settings" \
        <<<"$(settings_question_of "$USER_PROGRAMS")"
    check "installed just for the user again" [ "$(run_setup "$SETUP" /S /CurrentUser)" = 0 ]
    check "the uninstaller for everyone names the user's" grep -qF \
        "still installed just for you, in $USER_PROGRAMS. It uses the same settings" \
        <<<"$(settings_question_of "$INSTALLED")"
    check "both kept the settings key, the default answer" registry_has "$SETTINGS_KEY"
    uninstall_from "$USER_PROGRAMS" /S
    removed_at_restart "$INSTALLED_DIR"
}

for test in test_install_use_and_uninstall test_install_just_for_me \
    test_a_signed_release_verifies_against_its_authority test_an_upgrade_keeps_everything \
    test_each_uninstaller_removes_its_own_installation test_the_folder_named_on_the_command_line \
    test_only_the_installations_own_copy_is_closed_and_only_when_confirmed \
    test_on_xp_x64_the_upgrade_closes_the_running_copy \
    test_a_copy_out_of_the_installers_sight_does_not_stop_a_silent_run \
    test_a_link_in_the_folder_for_everyone_is_replaced_not_followed \
    test_an_administrators_uninstaller_takes_no_other_folder_from_its_command_line \
    test_a_silent_install_for_everyone_without_an_administrator_ends_with_its_code \
    test_the_uninstallers_exit_code_reaches_its_caller \
    test_the_administrator_approves_only_the_installations_own_uninstaller \
    test_a_folder_named_by_its_short_form_is_one_folder \
    test_a_file_the_uninstaller_cannot_remove_fails_it \
    test_a_standard_users_uninstaller_leaves_its_own_file_to_the_next_logon \
    test_a_folder_for_everyone_is_its_own_directly_in_program_files \
    test_without_an_administrator_the_installation_is_the_users \
    test_an_uninstall_with_pages_asks_for_the_rights_once_confirmed \
    test_an_administrator_is_welcomed_before_choosing_the_kind \
    test_the_settings_question_names_the_other_installation; do
    run_test "$test"
done
