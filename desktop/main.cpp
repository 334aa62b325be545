// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex: Quorblex Pro on the desktop. The program itself is the core's; this sets up the
// desktop around it (display, profile, data folders, sound) and runs it.
#include <cstdio>
#include <string>
#include <vector>

#include "common/CWinApp.h"
#include "common/DataFiles.h"
#include "common/SystemFolders.h"
#include "common/WindowSystem.h"
#include "desktop/DesktopCommandLine.h"
#include "host/audio/SdlAudioSink.h"
#include "host/qt/DesktopSession.h"
#include "host/qt/QtHost.h"
#include "host/shared/GeometryLog.h"
#include "host/shared/SteadyClock.h"
#include "res/LicenceNotice.h"

int main(int argc, char** argv) {
  const DesktopCommandLine command =
      DesktopCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
  switch (command.action()) {
    case DesktopCommandLine::Action::kHelp:
      std::fputs(DesktopCommandLine::kHelp, stdout);
      return 0;
    case DesktopCommandLine::Action::kVersion:
      std::fputs("quorblex (Quorblex Pro) " QUORBLEX_VERSION "\n", stdout);
      std::fputs(kLicenceNotice, stdout);
      return 0;
    case DesktopCommandLine::Action::kError: {
      const std::string help = DesktopCommandLine::kHelp;
      std::fprintf(stderr, "quorblex: %s\n%s", command.error().c_str(),
                   help.substr(0, help.find('\n') + 1).c_str());
      return 2;
    }
    case DesktopCommandLine::Action::kRun:
      break;
  }
  if (!command.platformGiven() && !DesktopSession::DisplayConfigured()) {
    std::fprintf(stderr, "%s\n", DesktopSession::kNoDisplay);
    return 1;
  }
  DesktopSession session(argc, argv, command.styleGiven());
  CWinApp::SetProfilePath(DefaultProfilePath());
  DataFiles::SetSearchDirs({".", DataFiles::ProgramDataDir()});
  // The sound device opens with the first cue, after the window is up, and closes when idle.
  SdlAudioSink::Options sound;
  sound.openAtStart = false;
  SdlAudioSink audio(sound);
  SteadyClock clock;
  QtHost host(clock);
  // The tests that start the program twice read its first draws beside its geometry.
  const GeometryLog log = GeometryLog::FromEnvironment();
  FirstDrawsLog draws(log);
  WindowSystem ws(clock, host, audio, log.On() ? &draws : nullptr);
  return RunApplication();
}
