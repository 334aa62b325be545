// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running the real desktop program on a private X server: a fresh Xvfb for each run, the
// program with a home folder and profile of its own, and the few looks at the screen and
// pokes at it that the desktop tests and the benchmark need.
//
// Every wait here is bounded. Input goes through xdotool (real XTEST input, as a user's
// would); the screen is read back with XGetImage.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
  int CentreX() const { return x + w / 2; }
  int CentreY() const { return y + h / 2; }
};

// A private X server on a display number of its own choosing, 1024 x 768 x 24.
class Xvfb {
 public:
  Xvfb();
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;
  bool Ok() const { return dpy_ != nullptr; }
  const std::string& Name() const { return name_; }  // ":N"
  ::Display* Connection() const { return dpy_; }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
  ::Display* dpy_ = nullptr;
};

// The program `quorblex`, started in a new temporary home with `profile` as its settings file
// (none when empty), SDL's dummy sound driver and the geometry dump switched on.
class Program {
 public:
  // `display` empty: no DISPLAY at all. `extraEnv`: more NAME=VALUE entries. `executable`
  // and `args` run something else in the same setting (a test probe).
  Program(const std::string& display, const std::string& profile,
          const std::vector<std::string>& extraEnv = {},
          const std::string& executable = QUORBLEX_PROGRAM,
          const std::vector<std::string>& args = {});
  ~Program();  // kills it if it still runs, removes the home folder
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  pid_t pid() const { return pid_; }
  bool Running();
  // Waits at most `timeoutMs` for the program to end. Its exit status; -1 while it still runs,
  // -2 when a signal ended it.
  int WaitExit(int timeoutMs);
  std::string Stderr() const;
  std::string GeometryFile() const { return home_ + "/geometry.txt"; }
  const std::string& Home() const { return home_; }

 private:
  pid_t pid_ = -1;
  std::string home_;
  int status_ = -1;
  bool ended_ = false;
};

// One window's lines of the geometry dump: the client area on the screen and each control's
// rectangle inside it, in template order.
struct DumpedWindow {
  PixelRect window;
  std::vector<std::pair<int, PixelRect>> controls;
};
// The last dump of window WIN ("102", "msgbox") in `path`; nothing if there is none.
std::optional<DumpedWindow> ReadDump(const std::string& path, const std::string& win);

// Where each control of a template should stand, in template order: dialog units at the
// classic base units (6 x 13), a picture at its bitmap's size plus its border, an icon 32 x 32.
std::vector<std::pair<int, PixelRect>> ExpectedLayout(int templateId);
PixelRect ExpectedClientSize(int templateId);

// Polls `done` every `stepMs` until it holds or `timeoutMs` pass; whether it held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int stepMs = 10);

// The viewable top-level window with this title; 0 when there is none.
unsigned long FindWindow(::Display* dpy, const std::string& title);
unsigned long WaitForWindow(::Display* dpy, const std::string& title, int timeoutMs);
// The window's client area in screen coordinates.
PixelRect WindowRect(::Display* dpy, unsigned long window);
// The window that has the keyboard focus, or one of its ancestors below the root.
unsigned long FocusedTopLevel(::Display* dpy);
// The program's icon in the notification area: a window of its class embedded in another.
unsigned long FindTrayIcon(::Display* dpy);
// Whether some program has taken the notification area's selection.
bool NotificationAreaPresent(::Display* dpy);
// Asks the window to close, as a window manager does for its close box.
void SendCloseRequest(::Display* dpy, unsigned long window);

// Screen pixels as 0xRRGGBB, rows top-down.
struct Pixels {
  int w = 0, h = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * w + x]; }
  bool operator==(const Pixels& o) const { return w == o.w && h == o.h && rgb == o.rgb; }
};
Pixels Grab(::Display* dpy, const PixelRect& screenRect);
// A compiled-in bitmap resource as it shows on the screen; empty when there is none.
Pixels Bitmap(int id);

// Runs xdotool against the display; whether it succeeded.
bool Xdotool(const Xvfb& x, const std::string& args);
// Saves the whole screen as QUORBLEX_SCREENSHOTS/NAME.png.
void SaveScreenshot(const Xvfb& x, const std::string& name);
// True when the tools the desktop tests need (Xvfb, xdotool) are installed.
bool DesktopToolsPresent();
