#!/bin/bash
# Pelmora-Setup.exe under Wine, in the prefix of WINEPREFIX, silent (/S):
# installed for the current user with /AUTOSTART, the files, the Start-menu
# shortcut, the Run value and the Apps-and-features entry are there and the
# program runs; the uninstaller takes exactly those away and keeps the user's
# settings, and with /PURGE removes the widget's own settings but nothing
# else of the maker's key. Then the same for every user (/ALLUSERS).
#
#   test_installer.sh BUILD_DIR      (the Windows build, holding Pelmora-Setup.exe)
build=$1
setup=$build/Pelmora-Setup.exe
. "$(dirname "$0")/../e2e/lib.sh"
[ -f "$setup" ] || fail "no $setup"

gone() { [ ! -e "$1" ]; }
# reg_value KEY NAME: the value's data, or status 1 when it is missing.
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print; found = 1 } END { exit !found }'
}
has_key() { wine reg query "$1" >/dev/null 2>&1; }
unix_folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')" | sed 's:/$::'; }

# The programs the build made are the ones installed; the widget, when
# built, is what the shortcut and the sign-in start run.
programs=()
for program in pelmora.exe pelmora-readings.exe; do
    [ -f "$build/$program" ] && programs+=("$program")
done
main=${programs[0]}

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Talvessa'
user_entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
machine_entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
appdata=$(unix_folder APPDATA)
localappdata=$(unix_folder LOCALAPPDATA)
user_menu="$appdata/Microsoft/Windows/Start Menu/Programs"
common_menu="$(unix_folder ProgramData)/Microsoft/Windows/Start Menu/Programs"

# The prefix is shared with the other Windows tests: the settings key and
# folder are put back as they were found.
saved=$E2E_HOME/saved
mkdir -p "$saved"
has_key "$settings_key" && { wine reg export "$settings_key" "$(winepath -w "$saved/settings.reg")" >/dev/null 2>&1 || fail "reg export"; }
[ -e "$appdata/Talvessa" ] && mv "$appdata/Talvessa" "$saved/folder"
put_back() {
    wine reg delete "$settings_key" /f >/dev/null 2>&1
    [ -f "$saved/settings.reg" ] && wine reg import "$(winepath -w "$saved/settings.reg")" >/dev/null 2>&1
    rm -rf "$appdata/Talvessa"
    [ -e "$saved/folder" ] && mv "$saved/folder" "$appdata/Talvessa"
    e2e_cleanup
}
trap put_back EXIT

# The user's settings from an earlier run of the widget, and another program's value in the maker's key.
wine reg add "$settings_key" /v RefreshSpeed /t REG_SZ /d 5 /f >/dev/null 2>&1 || fail "reg add"
wine reg add "$settings_key" /v OtherProgram /t REG_SZ /d kept /f >/dev/null 2>&1 || fail "reg add"
mkdir -p "$appdata/Talvessa"
printf '[TVantelMainForm]\r\nLeft=10\r\n' >"$appdata/Talvessa/pelmora.INI"

# check_installed FOLDER MENU ENTRY_KEY
check_installed() {
    local folder=$1 menu=$2 entry=$3 program
    for program in "${programs[@]}" uninstall.exe; do
        [ -f "$folder/$program" ] || fail "$program not installed in $folder"
    done
    [ "$(ls "$folder" | wc -l)" -eq $(( ${#programs[@]} + 1 )) ] || fail "more than the programs in $folder: $(ls "$folder")"
    [ -f "$menu/Pelmora.lnk" ] || fail "no Start-menu shortcut in $menu"
    grep -qa "$main" "$menu/Pelmora.lnk" || iconv -f UTF-16LE -t UTF-8 "$menu/Pelmora.lnk" 2>/dev/null |
        grep -qa "$main" || fail "the shortcut does not run $main"
    [ "$(reg_value "$entry" Publisher)" = Talvessa ] || fail "publisher '$(reg_value "$entry" Publisher)'"
    [ "$(reg_value "$entry" DisplayVersion)" = "$VERSION" ] || fail "version '$(reg_value "$entry" DisplayVersion)'"
    local size
    size=$(reg_value "$entry" EstimatedSize)
    [ $(( size )) -ge $(( $(du -sk "$folder" | cut -f1) / 2 )) ] || fail "estimated size $size KiB"
    wine "$folder/pelmora-readings.exe" --version >/dev/null 2>&1 || fail "the installed pelmora-readings.exe does not run"
}

# uninstall ENTRY_KEY [OPTIONS...]: the entry's own quiet command; the
# uninstaller runs from a copy of itself, so the end is the entry's removal.
uninstall() {
    local entry=$1 command
    shift
    command=$(reg_value "$entry" QuietUninstallString) || fail "no quiet uninstall command"
    [[ "$command" =~ ^\"([^\"]+)\"(.*)$ ]] || fail "uninstall command '$command'"
    # shellcheck disable=SC2086 # the command's switches, one word each
    wine "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} "$@" || fail "the uninstaller failed"
    wait_for 60 "the uninstaller did not finish" bash -c "! wine reg query '$entry' >/dev/null 2>&1"
    wait_for 60 "the uninstaller did not remove itself" gone "$(winepath -u "${BASH_REMATCH[1]}")"
}

VERSION=$(sed -n 's/^project(Pelmora VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")

# --- For the current user, starting at sign-in ---
folder="$localappdata/Programs/Pelmora"
wine "$setup" /S /AUTOSTART || fail "the installer failed"
check_installed "$folder" "$user_menu" "$user_entry"
run=$(reg_value "$run_key" Pelmora) || fail "no Run value with /AUTOSTART"
[[ "$run" == \"*"\\Programs\\Pelmora\\$main\"" ]] || fail "Run value '$run'"
has_key "$machine_entry" && fail "a current-user install wrote a machine-wide entry"
# A new install over it, without the switch, keeps the sign-in start.
wine "$setup" /S || fail "the install over the first failed"
[ "$(reg_value "$run_key" Pelmora)" = "$run" ] || fail "an install over the first dropped the Run value"

# A running widget is closed (and saves its place) before its files are
# replaced or removed; the widget needs the display.
if [ "$main" = pelmora.exe ]; then
    start_installed_widget() {
        wine "$folder/pelmora.exe" >/dev/null 2>&1 &
        widget_pid=$!
        E2E_PIDS+=("$widget_pid")
        wait_for 60 "the installed widget did not start" xdotool search --name '^Pelmora$'
    }
    widget_ended() {
        wait "$widget_pid"
        local status=$?
        [ "$status" -eq 0 ] || fail "the widget ended with $status"
    }
    rm -f "$appdata/Talvessa/pelmora.INI"
    start_installed_widget
    wine "$setup" /S || fail "the install over a running widget failed"
    kill -0 "$widget_pid" 2>/dev/null && fail "the installer left the widget running"
    widget_ended
    grep -q '^\[TVantelMainForm\]' "$appdata/Talvessa/pelmora.INI" || fail "the closed widget saved no placement"
    start_installed_widget
    uninstall "$user_entry"
    [ ! -e "$folder" ] || fail "uninstalling beside a running widget left $(ls -A "$folder")"
    widget_ended
    wine "$setup" /S /AUTOSTART || fail "installing again failed"
fi

uninstall "$user_entry"
[ ! -e "$folder" ] || fail "left behind: $(ls -A "$folder")"
[ ! -e "$user_menu/Pelmora.lnk" ] || fail "the shortcut is left"
reg_value "$run_key" Pelmora >/dev/null && fail "the Run value is left"
[ "$(reg_value "$settings_key" RefreshSpeed)" = 5 ] || fail "the uninstaller took the settings"
[ -f "$appdata/Talvessa/pelmora.INI" ] || fail "the uninstaller took the window position"

# --- Again without the sign-in start, then removed with the settings ---
wine "$setup" /S || fail "the second install failed"
reg_value "$run_key" Pelmora >/dev/null && fail "a Run value without /AUTOSTART"
uninstall "$user_entry" /PURGE
reg_value "$settings_key" RefreshSpeed >/dev/null && fail "/PURGE kept the settings"
[ "$(reg_value "$settings_key" OtherProgram)" = kept ] || fail "/PURGE took another program's value"
[ ! -e "$appdata/Talvessa" ] || fail "/PURGE left $(ls -A "$appdata/Talvessa")"

# --- For every user ---
folder="$(unix_folder ProgramFiles)/Pelmora"
wine "$setup" /S /ALLUSERS || fail "the all-users install failed"
check_installed "$folder" "$common_menu" "$machine_entry"
has_key "$user_entry" && fail "an all-users install wrote a per-user entry"
uninstall "$machine_entry"
[ ! -e "$folder" ] || fail "left behind: $(ls -A "$folder")"
[ ! -e "$common_menu/Pelmora.lnk" ] || fail "the shortcut is left"
echo "Pelmora-Setup.exe ($(stat -c %s "$setup") bytes) installs and uninstalls for one user and for all"
