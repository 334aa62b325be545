// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// One dialog of the program through the real desktop host, with the texts the program would
// reveal later already in it, so that a test can look at the longest ones on the screen. It
// stays until it is killed.
//
//   quorblex_dialog_probe TEMPLATE [ID TEXT]...
#include <cstdlib>
#include <string>

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
  if (argc < 2 || argc % 2 != 0) return 2;
  const DialogTemplate* tmpl = Resources::FindTemplate(std::atoi(argv[1]));
  if (!tmpl) return 2;
  DesktopSession session(argc, argv);
  SteadyClock clock;
  QtHost host(clock);
  Silent audio;
  WindowSystem ws(clock, host, audio);
  HWND dialog = ws.CreateDialogWindow(*tmpl, kNoWindow, nullptr);
  for (int i = 2; i + 1 < argc; i += 2)
    ws.SetText(ws.GetDlgItem(dialog, std::atoi(argv[i])), argv[i + 1]);
  ws.ShowInitial(dialog);
  Discard input;
  for (;;) host.Wait(clock.Now() + 1000, input);
}
