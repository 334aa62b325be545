// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex.exe: Quorblex Pro on Windows. The program itself is the core's; this sets up the
// Windows desktop around it (profile, data folders, sound) and runs it.
#include <string>
#include <vector>

#include "common/CWinApp.h"
#include "common/DataFiles.h"
#include "common/ProgramStart.h"
#include "common/SystemFolders.h"
#include "common/WindowSystem.h"
#include "host/win32/RunningInstance.h"
#include "host/win32/UnbiasedClock.h"
#include "host/win32/Win32Host.h"
#include "host/win32/WinmmAudioSink.h"
#include "res/LicenceNotice.h"
#include "windows/ProgramOutput.h"
#include "windows/SystemLibraries.h"
#include "windows/WindowsCommandLine.h"

int main(int argc, char** argv) {
  SystemLibraries::OnlyFromTheSystemFolder();
  const WindowsCommandLine command = WindowsCommandLine::Parse(ProgramArguments(argc, argv));
  switch (command.action()) {
    case WindowsCommandLine::Action::kHelp:
      ProgramOutput::Say(WindowsCommandLine::kHelp, false);
      return 0;
    case WindowsCommandLine::Action::kVersion:
      ProgramOutput::Say(std::string("quorblex (Quorblex Pro) " QUORBLEX_VERSION "\n") +
                             kLicenceNotice,
                         false);
      return 0;
    case WindowsCommandLine::Action::kError: {
      const std::string help = WindowsCommandLine::kHelp;
      ProgramOutput::Say(
          "quorblex: " + command.error() + "\n" + help.substr(0, help.find('\n') + 1), true);
      return 2;
    }
    case WindowsCommandLine::Action::kRun:
      break;
  }
  CWinApp::SetProfilePath(DefaultProfilePath());
  // The cues, the clip and the help page are the program's own, never a file of that name in
  // whatever folder it was started from.
  DataFiles::SetSearchDirs({DataFiles::ProgramDataDir()});
  WinmmAudioSink audio;
  UnbiasedClock clock;
  Win32Host host(clock);
  // The installer may ask a running copy to end before it replaces the files.
  RunningInstance running([&host] { host.TrayDelete(); });
  WindowSystem ws(clock, host, audio);
  return RunApplication();
}
