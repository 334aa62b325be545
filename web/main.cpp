// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Quorblex Pro in a web page. The program itself is the core's; this sets up the page around it
// (profile, data files, sound) and runs it, as the desktop programs do. The page starts it
// when the user presses its start button and goes back to that button when it ends.
#include "common/CWinApp.h"
#include "common/DataFiles.h"
#include "common/WindowSystem.h"
#include "host/web/PageCalls.h"
#include "host/web/PageExports.h"
#include "host/web/WebAudioSink.h"
#include "host/web/WebClock.h"
#include "host/web/WebHost.h"

int main() {
  // The profile's text lives in the browser's storage under the file's name (common/web/),
  // which is also what a message about it names.
  CWinApp::SetProfilePath("quorblex.ini");
  // The page put the clips it fetched in /data, and an empty file for each cue and the help
  // page, which play and open from the site itself.
  DataFiles::SetSearchDirs({"/data"});
  WebAudioSink audio;
  WebClock clock;
  WebHost host(clock);
  PageExports::Serve(&host);
  int code = 0;
  {
    WindowSystem ws(clock, host, audio);
    code = RunApplication();
  }
  PageExports::Serve(nullptr);
  qx_exit(code);
  return code;
}
