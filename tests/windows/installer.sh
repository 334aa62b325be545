#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows packages of a configured Windows build folder, signed with a throwaway
# certificate made here, and checks them as a user of Windows would meet them, under Wine in a
# prefix of its own inside the build folder:
#   - both programs, the uninstaller and the installer carry a signature that osslsigncode
#     verifies against that certificate;
#   - the zip holds exactly the staged program folder;
#   - the installer with /S /AllUsers puts those files in Program Files\Quorblex Pro with an
#     uninstaller beside them, a Start-menu shortcut to quorblex.exe, and an Apps & features
#     entry with every value Windows shows;
#   - the Start-menu shortcut starts the installed quorblex.exe, whose main window appears (on a
#     private Xvfb); a second silent install while it runs ends it, with status 0, and replaces
#     its files;
#   - the installed simulator finds its data and prints the recorded transcript, and the
#     installed quorblex.exe says its version;
#   - the uninstaller with /S, while the program runs, ends it with status 0 and removes the
#     files, the folder, the shortcut and the entry;
#   - /S /CurrentUser installs into the user's %LOCALAPPDATA%\Programs\Quorblex Pro with the
#     shortcut in the user's Start menu and the entry under HKCU, and its uninstaller removes
#     them all;
#   - the user's profile (%APPDATA%\Quorblex Pro\quorblex.ini) stays as it was throughout.
# Every wait is on an event (a process ending, a window appearing) and bounded.
#
#   tests/windows/installer.sh BUILD_DIR
#
# Exits non-zero naming every check that failed; prints how long each stage took.
set -uo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: tests/windows/installer.sh BUILD_DIR}" && pwd)
failed=()
fail() { failed+=("$1"); echo "FAILED: $1" >&2; }
start=$SECONDS
stage_start=$SECONDS
took() { echo "== installer check: $1 took $((SECONDS - stage_start)) s"; stage_start=$SECONDS; }

# Debian's wine64 without the wine wrapper package lives in /usr/lib/wine.
export PATH=$PATH:/usr/lib/wine
export WINEPREFIX=$build/wineprefix-installer WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
  timeout 20 wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

# ---- A display, then the prefix, made while the packages build -----------------------------
# Wine's desktop stays on the display its session began with: every session here begins on a
# private Xvfb, where the installed program's window can appear.
mkfifo "$tmp/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
display=""
read -r -t 30 display <"$tmp/display"
[ -n "$display" ] || { echo "FAILED: Xvfb did not start: $(cat "$tmp/xvfb.log")" >&2; exit 1; }
export DISPLAY=:$display
# Made once and kept in the build folder; what an earlier run left of ours is cleared below.
prefix_log=$build/wineprefix-installer.log
( timeout 180 wine64 wineboot -i && timeout 60 wineserver -w ) >"$prefix_log" 2>&1 &
prefix_pid=$!

# A throwaway certificate of our own, valid for two days and made again after one, kept in the
# build folder: the packages are made again when what they hold changes, or the certificate does.
signer=$build/test-signer
if [ ! -f "$signer/signer.pfx" ] || [ -n "$(find "$signer/signer.pfx" -mmin +1440)" ]; then
  rm -rf "$signer"
  (umask 077 && mkdir -p "$signer" &&
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quorblex Pro test signer" \
      -keyout "$signer/key.pem" -out "$signer/cert.pem" >/dev/null 2>&1 &&
    openssl pkcs12 -export -inkey "$signer/key.pem" -in "$signer/cert.pem" \
      -out "$signer/signer.pfx.new" -passout pass:throwaway >/dev/null 2>&1 &&
    mv "$signer/signer.pfx.new" "$signer/signer.pfx") ||
    { echo "FAILED: openssl could not make a certificate" >&2; exit 1; }
fi
QUORBLEX_SIGN_PFX=$signer/signer.pfx QUORBLEX_SIGN_PASSWORD=throwaway \
  cmake --build "$build" --target package >"$build/package.log" 2>&1 ||
  { cat "$build/package.log" >&2; echo "FAILED: cmake --build $build --target package" >&2; exit 1; }
took "building and signing the packages (when anything in them changed)"
signed() {
  osslsigncode verify -in "$1" -CAfile "$signer/cert.pem" >"$tmp/verify.log" 2>&1 ||
    fail "$(basename "$1") carries no signature that verifies: $(grep -i -m 3 'fail\|error\|no sig' "$tmp/verify.log")"
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$build/QuorblexPro-$version-setup.exe
zip=$build/QuorblexPro-$version-windows-x64.zip
folder=QuorblexPro-$version-windows-x64
stage=$build/package/$folder
for f in "$setup" "$zip" "$stage/quorblex.exe"; do
  [ -f "$f" ] || { echo "FAILED: the package step wrote no $f" >&2; exit 1; }
done
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$tmp/staged"
for f in quorblex.exe quorblex-sim.exe LICENSE.txt README.txt res/qx.avi res/welcome.wav \
         res/quorblex.html; do
  grep -qxF "$f" "$tmp/staged" || fail "staging: $f is missing"
done
signed "$stage/quorblex.exe"
signed "$stage/quorblex-sim.exe"
signed "$setup"

# ---- The zip --------------------------------------------------------------------------------
cmake -E tar tf "$zip" | LC_ALL=C sort >"$tmp/zipped" || fail "the zip cannot be read"
sed "s|^|$folder/|" "$tmp/staged" | diff - "$tmp/zipped" >"$tmp/zipdiff" ||
  fail "the zip does not hold exactly the program folder: $(cat "$tmp/zipdiff")"

if ! wait "$prefix_pid"; then
  cat "$prefix_log" >&2
  echo "FAILED: wineboot could not make $WINEPREFIX" >&2
  exit 1
fi
took "making the Wine prefix (alongside)"
# One Wine server for every step, rather than one started for each (ended by cleanup).
wineserver -p

# ---- Where things go in the prefix ----------------------------------------------------------
c=$WINEPREFIX/drive_c
installed=$c/Program\ Files/Quorblex\ Pro
installed_win='C:\Program Files\Quorblex Pro'
shortcut=$c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Quorblex\ Pro.lnk
shortcut_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quorblex Pro.lnk'
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorblex Pro'
my_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorblex Pro'
appdata_win=$(timeout 60 wine64 cmd /c 'echo %APPDATA%' | tr -d '\r')
appdata=$(timeout 60 wine64 winepath -u "$appdata_win" | tr -d '\r')
profile=$appdata/Quorblex\ Pro/quorblex.ini
if [ -z "$appdata_win" ] || [ -z "$appdata" ] || [ ! -d "$appdata" ]; then
  echo "FAILED: the prefix has no AppData folder ('$appdata_win')" >&2
  exit 1
fi

# An earlier run that failed half-way may have left an install behind.
rm -rf "$installed" "$shortcut" "$appdata/Quorblex Pro"
timeout 60 wine64 reg delete "$key" /f >/dev/null 2>&1
timeout 60 wine64 reg delete "$my_key" /f >/dev/null 2>&1

# A user who ran the program before has a profile, with a comment of their own in it.
mkdir -p "$(dirname "$profile")"
printf '; kept across installs\r\n[Options]\r\nAutoMonitor=1\r\nSensitivity=7\r\n' >"$profile"
cp "$profile" "$tmp/profile"

# ---- Install; install again over it while the program runs -----------------------------------
timeout 120 wine64 "$setup" /S /AllUsers
status=$?
[ $status -eq 0 ] || fail "the first silent install exited with $status"
took "the first silent install"

# The program's main window, once it is there (empty after 60 s).
main_window() { timeout 60 xdotool search --sync --name '^Quorblex Pro$' 2>/dev/null | head -n 1; }
# Waits for the program started in the background as $program_pid to end; its status is $ended.
wait_ended() {
  ended=timeout
  local end=$((SECONDS + 30))
  while kill -0 "$program_pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || return
    sleep 0.05
  done
  ended=0
  wait "$program_pid" || ended=$?
}

# The shortcut starts the installed program; `start /wait` ends with the program's status.
timeout 120 wine64 start /wait "$shortcut_win" 2>"$tmp/program.log" &
program_pid=$!
window=$(main_window)
if [ -z "$window" ]; then
  fail "no window named Quorblex Pro appeared within 60 s of opening the shortcut: $(tail -n 5 "$tmp/program.log")"
else
  pid=$(xdotool getwindowpid "$window" 2>/dev/null)
  program=$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1)
  [ "$program" = "$installed_win\\quorblex.exe" ] ||
    fail "the window belongs to '$program', not the installed quorblex.exe"
  mkdir -p "$build/screenshots"
  import -display "$DISPLAY" -window root "$build/screenshots/installed-program.png" 2>/dev/null
fi
took "starting the installed program from its shortcut"

# The running program keeps quorblex.exe open; the install closes it, then writes every file
# again (a written file's change time moves, even when the bytes are the same).
before=$(stat -c %z "$installed/quorblex.exe" 2>/dev/null)
timeout 120 wine64 "$setup" /S /AllUsers
status=$?
[ $status -eq 0 ] || fail "the second silent install, over the running program, exited with $status"
wait_ended
[ "$ended" = 0 ] || fail "the program the second install closed ended with status $ended"
[ "$(stat -c %z "$installed/quorblex.exe" 2>/dev/null)" != "$before" ] ||
  fail "the second install did not write quorblex.exe again"
took "the second silent install, over the running program"

(cd "$installed" 2>/dev/null && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$tmp/installed"
(cat "$tmp/staged"; echo uninstall.exe) | LC_ALL=C sort | diff - "$tmp/installed" >"$tmp/instdiff" ||
  fail "Program Files\\Quorblex Pro does not hold the program folder and the uninstaller: $(cat "$tmp/instdiff")"
while read -r f; do
  [ -f "$installed/$f" ] && ! cmp -s "$stage/$f" "$installed/$f" && fail "installed $f differs from the package's"
done <"$tmp/staged"

[ -f "$shortcut" ] || fail "no Start-menu shortcut at $shortcut"
[ -f "$shortcut" ] && ! grep -qaF "$installed_win\\quorblex.exe" "$shortcut" &&
  fail "the shortcut does not lead to $installed_win\\quorblex.exe"

cmp -s "$profile" "$tmp/profile" || fail "installing changed the user's profile"
[ -f "$installed/uninstall.exe" ] && signed "$installed/uninstall.exe"

# ---- The Apps & features entry --------------------------------------------------------------
timeout 60 wine64 reg query "$key" 2>/dev/null | tr -d '\r' >"$tmp/reg"
value() { awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' "$tmp/reg"; }
expect_value() {
  [ "$(value "$1")" = "$2" ] || fail "Apps & features: $1 is '$(value "$1")', not '$2'"
}
expect_value DisplayName "Quorblex Pro"
expect_value DisplayVersion "$version"
expect_value Publisher "Quorblex Instrument Works"
expect_value DisplayIcon "$installed_win\\quorblex.exe,0"
expect_value InstallLocation "$installed_win"
expect_value UninstallString "\"$installed_win\\uninstall.exe\""
expect_value QuietUninstallString "\"$installed_win\\uninstall.exe\" /S"
expect_value NoModify 0x1
expect_value NoRepair 0x1
# The size in KB is what the folder holds, give or take the rounding of each file.
size_kb=$(du -s --apparent-size -k "$installed" 2>/dev/null | cut -f1)
estimated=$(( $(value EstimatedSize) + 0 ))
[ -n "$size_kb" ] && [ "$estimated" -gt $((size_kb * 9 / 10)) ] && [ "$estimated" -le $((size_kb + 64)) ] ||
  fail "Apps & features: EstimatedSize is $estimated KB, the folder holds ${size_kb:-?} KB"

# ---- The installed simulator finds its data beside it ---------------------------------------
# The recorded transcript of a full scan names every cue and the clip; a file the installed
# folder lacks would show as "missing" or "failed".
script_unix=$source_dir/fuzz/corpus/script/demo.script
timeout 120 wine64 "$installed_win\\quorblex-sim.exe" --seed 1 --trace \
  --profile 'C:\windows\temp\quorblex-installer-check.ini' "Z:${script_unix//\//\\}" \
  >"$tmp/demo.out" 2>"$tmp/demo.err"
echo "status $?" >>"$tmp/demo.out"
cat "$tmp/demo.err" >>"$tmp/demo.out"
cmp -s "$tmp/demo.out" "$source_dir/tests/records/demo.out" ||
  fail "the installed quorblex-sim.exe does not print the recorded demo transcript: $(diff "$source_dir/tests/records/demo.out" "$tmp/demo.out" | head -n 8)"

# ---- The installed program answers --version ------------------------------------------------
# A GUI program: it writes to the standard output it was given, and ends.
said=$(timeout 60 wine64 "$installed_win\\quorblex.exe" --version 2>/dev/null | tr -d '\r' | head -n 1)
[ "$said" = "quorblex (Quorblex Pro) $version" ] ||
  fail "the installed quorblex.exe --version said '$said'"
took "checking the installed files, shortcut, entry and programs"

# ---- Uninstall while the program runs -------------------------------------------------------
# A silent uninstall leaves nothing behind, the program it closed first included. The
# uninstaller copies itself to the temporary folder and goes on from there after the first
# process has ended; its last steps are the folder, then the entry.
uninstalled() {  # FOLDER SHORTCUT KEY WHAT
  local end=$((SECONDS + 60))
  while [ -e "$1" ] || timeout 60 wine64 reg query "$3" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$end" ] || break
    sleep 0.2
  done
  [ ! -e "$1" ] || fail "uninstalling $4 left $(cd "$1" && find . | head -n 5 | tr '\n' ' ')"
  [ ! -e "$2" ] || fail "uninstalling $4 left the Start-menu shortcut"
  timeout 60 wine64 reg query "$3" >/dev/null 2>&1 && fail "uninstalling $4 left the Apps & features entry"
  cmp -s "$profile" "$tmp/profile" || fail "uninstalling $4 removed or changed the user's profile"
}
if [ -f "$installed/uninstall.exe" ]; then
  timeout 120 wine64 "$installed_win\\quorblex.exe" 2>>"$tmp/program.log" &
  program_pid=$!
  [ -n "$(main_window)" ] || fail "the installed quorblex.exe showed no window"
  timeout 60 wine64 "$installed_win\\uninstall.exe" /S
  status=$?
  [ $status -eq 0 ] || fail "the silent uninstall exited with $status"
  wait_ended
  [ "$ended" = 0 ] || fail "the program the uninstaller closed ended with status $ended"
  uninstalled "$installed" "$shortcut" "$key" "for all users"
else
  fail "no uninstaller to run"
fi
took "the silent uninstall, with the program running"

# ---- For the current user only --------------------------------------------------------------
mine_win="${appdata_win%\\Roaming}\\Local\\Programs\\Quorblex Pro"
mine=${appdata%/Roaming}/Local/Programs/Quorblex\ Pro
my_shortcut=$appdata/Microsoft/Windows/Start\ Menu/Programs/Quorblex\ Pro.lnk
rm -rf "$mine" "$my_shortcut"
timeout 120 wine64 "$setup" /S /CurrentUser
status=$?
[ $status -eq 0 ] || fail "the silent install for the current user exited with $status"
(cd "$mine" 2>/dev/null && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$tmp/mine"
(cat "$tmp/staged"; echo uninstall.exe) | LC_ALL=C sort | diff - "$tmp/mine" >"$tmp/minediff" ||
  fail "$mine_win does not hold the program folder and the uninstaller: $(cat "$tmp/minediff")"
[ -e "$installed" ] && fail "the install for the current user went to Program Files too"
[ -f "$my_shortcut" ] && grep -qaF "$mine_win\\quorblex.exe" "$my_shortcut" ||
  fail "no shortcut to $mine_win\\quorblex.exe in the user's Start menu"
[ -e "$shortcut" ] && fail "the install for the current user made a shortcut for all users"
timeout 60 wine64 reg query "$my_key" /v InstallLocation 2>/dev/null | tr -d '\r' | grep -qF "$mine_win" ||
  fail "no Apps & features entry for $mine_win under HKCU"
timeout 60 wine64 reg query "$key" >/dev/null 2>&1 && fail "the install for the current user wrote an entry under HKLM"
if [ -f "$mine/uninstall.exe" ]; then
  timeout 60 wine64 "$mine_win\\uninstall.exe" /S
  status=$?
  [ $status -eq 0 ] || fail "the silent uninstall for the current user exited with $status"
  uninstalled "$mine" "$my_shortcut" "$my_key" "for the current user"
fi
took "installing and uninstalling for the current user"

echo "== installer check: $((SECONDS - start)) s in all"
if [ ${#failed[@]} -gt 0 ]; then
  echo "installer check: ${#failed[@]} check(s) failed" >&2
  exit 1
fi
echo "installer check: all passed ($(du -k "$setup" | cut -f1) KB installer, $(du -k "$zip" | cut -f1) KB zip)"
