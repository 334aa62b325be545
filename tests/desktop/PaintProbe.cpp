// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the program at the moment a synchronous cue starts: it shows the scan results
// window through the real desktop host, changes a result line, and then holds the thread as a
// playing cue does. The desktop test looks at the screen meanwhile: the line must be there.
//
//   quorblex_paint_probe MARKER   (MARKER is created once the text has been changed)
#include <unistd.h>

#include <fstream>

#include "common/WindowSystem.h"
#include "host/qt/DesktopSession.h"
#include "host/qt/QtHost.h"
#include "host/qt/SteadyClock.h"

namespace {
class Silent : public AudioSink {
 public:
  CueResult Play(const std::string&, const std::string&, bool) override {
    return CueResult::Failed;
  }
};

class Discard : public InputSink {
 public:
  void Push(InputEvent) override {}
};
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  DesktopSession session(argc, argv);
  SteadyClock clock;
  QtHost host(clock);
  Silent audio;
  WindowSystem ws(clock, host, audio);
  HWND results = ws.CreateDialogWindow(*Resources::FindTemplate(149), kNoWindow, nullptr);
  ws.ShowInitial(results);
  // Let the window come up and settle, as the program's loop would.
  Discard input;
  for (std::int64_t until = clock.Now() + 500; clock.Now() < until;) host.Wait(until, input);
  ws.SetText(ws.GetDlgItem(results, 1020), "Probe Detected");
  std::ofstream(argv[1]) << "changed\n";
  ::sleep(5);  // the cue
  return 0;
}
