#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# check_windows_imports.sh PROGRAM.exe...: each Windows program must run from its folder with
# nothing installed beside it: it may import only DLLs that Windows itself has (those Wine
# ships as the system's), never a MinGW runtime DLL (libstdc++, libgcc, libwinpthread), which
# static linking is meant to keep out. A ctest test of the Windows build (cmake/WindowsPrograms.cmake).
set -euo pipefail
system_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
objdump=x86_64-w64-mingw32-objdump
if [ ! -d "$system_dlls" ]; then
  echo "check_windows_imports.sh: Wine's system DLLs are not in $system_dlls (apt-get install wine64)" >&2
  exit 1
fi
status=0
for program in "$@"; do
  imports=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p')
  if [ -z "$imports" ]; then
    echo "$program: no imports read (is it a Windows program?)"
    status=1
  fi
  for dll in $imports; do
    lower=${dll,,}
    if [[ $lower == lib* ]] || [ ! -f "$system_dlls/$lower" ]; then
      echo "$program imports $dll, which Windows does not have"
      status=1
    fi
  done
  echo "$(basename "$program"): $(echo $imports)"
done
exit $status
