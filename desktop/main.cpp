// quorblex: Quorblex Pro on the desktop. The program itself is the core's; this sets up the
// desktop around it (display, profile, data folders, sound) and runs it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "common/CWinApp.h"
#include "common/DataFiles.h"
#include "common/WindowSystem.h"
#include "host/audio/SdlAudioSink.h"
#include "host/qt/DesktopSession.h"
#include "host/qt/QtHost.h"
#include "host/qt/SteadyClock.h"

namespace {
// $XDG_CONFIG_HOME/quorblex.ini, else ~/.config/quorblex.ini; the folder is made if missing.
std::string ProfilePath() {
  namespace fs = std::filesystem;
  fs::path dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    dir = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    dir = fs::path(home) / ".config";
  } else {
    dir = ".";
  }
  std::error_code ec;
  fs::create_directories(dir, ec);  // a profile that cannot be written is read as defaults
  return (dir / "quorblex.ini").string();
}
}  // namespace

int main(int argc, char** argv) {
  if (!DesktopSession::DisplayConfigured()) {
    std::fprintf(stderr, "%s\n", DesktopSession::kNoDisplay);
    return 1;
  }
  DesktopSession session(argc, argv);
  CWinApp::SetProfilePath(ProfilePath());
  DataFiles::SetSearchDirs({".", DataFiles::ProgramDataDir()});
  // The sound device opens with the first cue, after the window is up, and closes when idle.
  SdlAudioSink::Options sound;
  sound.openAtStart = false;
  SdlAudioSink audio(sound);
  SteadyClock clock;
  QtHost host(clock);
  WindowSystem ws(clock, host, audio);
  return RunApplication();
}
