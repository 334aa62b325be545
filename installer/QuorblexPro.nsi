# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The Windows installer: puts the program in Program Files\Quorblex Pro for every user, or in
# the user's own %LOCALAPPDATA%\Programs\Quorblex Pro for the user alone, adds a Start-menu
# shortcut and an entry in Apps & features (in HKLM or in the user's HKCU, to match), and writes
# an uninstaller that takes away exactly what was installed. The user's profile
# (%APPDATA%\Quorblex Pro\quorblex.ini) is the user's: neither the installer nor the uninstaller
# touches it.
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
#   SIGN         (optional) a command that signs the file named by %1 in place; the uninstaller
#                and the installer are signed with it as they are written
#
# An administrator is asked whether to install for everyone or only for themselves; anyone else
# installs for themselves. /S installs silently, for everyone when run by an administrator,
# else for the user; /AllUsers or /CurrentUser says which, and /D=C:\other\folder (last on the
# command line) where. The uninstaller takes /S too, and knows from its own folder which kind of
# install it removes.
#
# A running Quorblex Pro holds the mutex "QuorblexPro.Running" and ends when its hidden window
# of that class is sent WM_CLOSE (host/win32/RunningInstance.h): the installer and the
# uninstaller ask before they close it, except in silent mode, and wait for it to be gone.

Target amd64-unicode
SetCompressor /SOLID lzma
# Administrators are elevated, to be able to install for everyone; other users run as they are.
RequestExecutionLevel highest
ManifestDPIAware true
ManifestSupportedOS all

!define PRODUCT "Quorblex Pro"
!define PUBLISHER "Quorblex Instrument Works"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "uninstall.exe"
!define RUNNING "QuorblexPro.Running"
!define /ifndef SYNCHRONIZE 0x00100000
!define /ifndef SMTO_ABORTIFHUNG 0x0002

Name "${PRODUCT}"
OutFile "${OUTFILE}"
# No InstallDir: the folder depends on who the install is for (SetInstallMode), unless /D gave one.
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

!ifdef SIGN
  !uninstfinalize '${SIGN}' = 0
  !finalize '${SIGN}' = 0
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"
!include "WinMessages.nsh"

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
Page custom InstallModePage InstallModeLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var IsAdmin         # 1 when the installer runs with an administrator's rights
Var AllUsers        # 1: for every user; 0: for the current user only
Var FolderGiven     # 1 when /D named the folder
Var ModeAll         # the install-mode page's two choices
Var ModeMe

# Who the install is for decides the shell folders (Start menu), the registry root (SHCTX) of
# the Apps & features entry, and the folder, unless /D named one. An earlier install of the same
# kind is found where it went.
Function SetInstallMode
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} $FolderGiven == 1
    Return
  ${EndIf}
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${ElseIf} $AllUsers == 1
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
FunctionEnd

Function .onInit
  SetRegView 64
  StrCpy $FolderGiven 0
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  StrCpy $IsAdmin 0
  ${If} $0 == "Admin"
    StrCpy $IsAdmin 1
  ${EndIf}
  # By default for everyone when we may, unless the user has an install of their own only.
  StrCpy $AllUsers $IsAdmin
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${AndIf} $1 != ""
    StrCpy $AllUsers 0
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    ${If} $IsAdmin != 1
      MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} for all users needs an administrator's rights. Run Setup as an administrator, or install it for yourself alone." /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  Call SetInstallMode
FunctionEnd

Function InstallModePage
  !insertmacro MUI_HEADER_TEXT "Choose Users" "Choose who may use ${PRODUCT} on this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Install ${PRODUCT} for everyone who uses this computer, or only for yourself. An install for yourself alone needs no administrator's rights."
  Pop $0
  ${NSD_CreateRadioButton} 10u 32u -10u 12u "&Anyone who uses this computer"
  Pop $ModeAll
  ${NSD_CreateRadioButton} 10u 48u -10u 12u "Only for &me"
  Pop $ModeMe
  ${If} $IsAdmin != 1
    EnableWindow $ModeAll 0
  ${EndIf}
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeAll
  ${Else}
    ${NSD_Check} $ModeMe
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function InstallModeLeave
  ${NSD_GetState} $ModeAll $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call SetInstallMode
FunctionEnd

# The uninstaller belongs to the install whose Apps & features entry names its folder: the
# user's own, or else the one for everyone.
Function un.onInit
  SetRegView 64
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext current
  ${Else}
    SetShellVarContext all
  ${EndIf}
FunctionEnd

# A running Quorblex Pro keeps its files open. It is asked to end (in silent mode without asking
# the user first), and waited for, a few times over, since more than one copy may run.
!macro CLOSE_RUNNING_PROGRAM UN
Function ${UN}CloseRunningProgram
  StrCpy $R2 0
  ${Do}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING}") p .R0'
    ${If} $R0 P= 0
      Return
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p R0)'
    ${If} $R2 == 0
      MessageBox MB_OKCANCEL|MB_ICONINFORMATION "${PRODUCT} is running. Click OK to close it and go on, or Cancel to stop." /SD IDOK IDOK +2
      Quit
    ${ElseIf} $R2 >= 20
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is still running and could not be closed. Close it, then run Setup again." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    IntOp $R2 $R2 + 1
    FindWindow $R0 "${RUNNING}"
    ${If} $R0 != 0
      # The answer is the process id: wait for the process itself, whose end frees the files.
      System::Call 'user32::SendMessageTimeoutW(p R0, i ${WM_CLOSE}, p 0, p 0, i ${SMTO_ABORTIFHUNG}, i 5000, *p .R1) p .R3'
      ${If} $R3 P<> 0
      ${AndIf} $R1 P<> 0
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i R1) p .R0'
        ${If} $R0 P<> 0
          System::Call 'kernel32::WaitForSingleObject(p R0, i 10000) i'
          System::Call 'kernel32::CloseHandle(p R0)'
        ${EndIf}
      ${EndIf}
    ${EndIf}
    Sleep 100
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PROGRAM ""
!insertmacro CLOSE_RUNNING_PROGRAM "un."

Section "Quorblex Pro" SecProgram
  SectionIn RO
  Call CloseRunningProgram
  Call RemovePreviousVersion
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  # The shortcut starts the program in its own folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quorblex.exe" "" "$INSTDIR\quorblex.exe" 0

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorblex.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  # Apps & features shows the size in KB; measured here, so it counts the uninstaller too.
  SetDetailsPrint none
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  SetDetailsPrint both
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
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
  Call un.CloseRunningProgram
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  # Only the files we put there: anything else the user keeps in the folder stays, and so
  # does the folder then.
  !include "${UNFILES}"
  # The program that could not be removed keeps its entry, so that it can be uninstalled later.
  ${If} ${FileExists} "$INSTDIR\quorblex.exe"
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
