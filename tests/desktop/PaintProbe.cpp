// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the program at the moment a synchronous cue starts: it shows the scan results
// window through the real desktop host, changes a result line, and then holds the thread as a
// playing cue does. The desktop test looks at the screen meanwhile: the line must be there.
//
//   quorblex_paint_probe MARKER   (MARKER is created once the text has been changed)
#include <unistd.h>

#include <fstream>

#include "tests/desktop/ProbeDesk.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  ProbeDesk desk(argc, argv);
  WindowSystem& ws = desk.ws;
  HWND results = ws.CreateDialogWindow(*Resources::FindTemplate(149), kNoWindow, nullptr);
  ws.ShowInitial(results);
  // Let the window come up and settle, as the program's loop would.
  desk.RunUntil(desk.clock.Now() + 500);
  ws.SetText(ws.GetDlgItem(results, 1020), "Probe Detected");
  std::ofstream(argv[1]) << "changed\n";
  ::sleep(5);  // the cue
  return 0;
}
