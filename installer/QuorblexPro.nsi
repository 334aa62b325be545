# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The Windows installer: puts the program in Program Files\Quorblex Pro, adds a Start-menu
# shortcut and an entry in Apps & features, and writes an uninstaller that takes away exactly
# what was installed. The user's profile (%APPDATA%\Quorblex Pro\quorblex.ini) is the user's:
# neither the installer nor the uninstaller touches it.
#
# installer/MakePackages.cmake compiles this with Debian's makensis and defines:
#   VERSION      the program's version, as the project says it ("1.0")
#   VERSION4     the same in four numbers, as Windows' version resource wants it ("1.0.0.0")
#   OUTFILE      the installer to write
#   ICON         the program's icon (.ico)
#   PORTRAIT     the picture beside the welcome and finish pages (the About box's portrait)
#   LICENSE      the licence text shown before installing
#   FILES        a generated script of SetOutPath/File lines for every file of the program
#   UNFILES      the matching Delete/RMDir lines, deepest first
#
# /S installs silently into the default folder (or the one given with /D=...); the
# uninstaller takes /S too.

Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true
ManifestSupportedOS all

!define PRODUCT "Quorblex Pro"
!define PUBLISHER "Quorblex Instrument Works"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
# A second install goes where the first one went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "2026 ${PUBLISHER}; GPL-3.0-or-later"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
# Our own picture at its own size: stretched to the panel it would blur.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PORTRAIT}"
!define MUI_WELCOMEFINISHPAGE_BITMAP_NOSTRETCH

!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the instrument that scans your surroundings for extraterrestrial life.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
# The GPL asks nothing of someone who only runs the program, so the page informs rather than
# asks for agreement: Next, not "I Agree".
!define MUI_LICENSEPAGE_TEXT_BOTTOM "${PRODUCT} is free software: you may run, share and change it under these terms. Click Next to continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Quorblex Pro" SecProgram
  SectionIn RO
  Call RemovePreviousVersion
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  # The shortcut starts the program in its own folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quorblex.exe" "" "$INSTDIR\quorblex.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorblex.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  # Apps & features shows the size in KB; measured here, so it counts the uninstaller too.
  SetDetailsPrint none
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  SetDetailsPrint both
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

# An earlier install in the same folder is uninstalled first, so that files the new version no
# longer has do not stay behind. `_?=` keeps its uninstaller in place and makes us wait for it.
Function RemovePreviousVersion
  IfFileExists "$INSTDIR\${UNINSTALLER}" 0 done
  ExecWait '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
  Delete "$INSTDIR\${UNINSTALLER}"
done:
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  # Only the files we put there: anything else the user keeps in the folder stays, and so
  # does the folder then.
  !include "${UNFILES}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
