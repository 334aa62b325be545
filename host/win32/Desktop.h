// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows side of the host: the core's windows as real top-level windows, its
// notification icon, the help page in the browser, and Windows' message queue as the source of
// input. Win32Host drives it with plain models; this header keeps <windows.h> out of the core's
// sight.
//
// The core's loop stays the only loop. Windows' messages are pumped inside Wait, which returns
// once input has been reported or the deadline has come: it sleeps in
// MsgWaitForMultipleObjectsEx on a high-resolution waitable timer set for the deadline, and
// wakes for any message. Keys are taken out of the queue before a control sees them. Input
// made at any other moment (while a notification paints, say) waits in the desktop's own
// queue and is handed over at the start of the next Wait. No Windows timer drives the program;
// the clip's frames wake Wait too, but reach no further than the clip.
//
// A window the core destroys is taken down once the core has enabled its owner again
// (ModalEnded, or the next Wait), so that Windows gives the activation back to the owner
// rather than to another program.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "host/win32/DialogModel.h"

class BitmapCache;
class DialogWindow;
class GeometryDump;
class TrayIcon;

class Desktop {
 public:
  // The drawing of picture `id` for a screen of `ratio` device pixels per logical pixel.
  using PictureLookup = std::function<Drawing(int id, double ratio)>;

  Desktop(const Clock& clock, PictureLookup pictures);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // Blocks in Windows' message processing until input was reported (handed to `deliver`) or
  // `deadline` passed (-1: no deadline). A deadline at or before now only collects.
  void Wait(std::int64_t deadline, const std::function<void(const UserInput&)>& deliver);

  void Create(const DialogModel& dialog);
  void Destroy(std::uint32_t dialog);
  void Shown(const DialogModel& dialog, bool initial);
  void Enabled(std::uint32_t dialog, bool enabled);
  void Raised(std::uint32_t dialog);
  void FocusChanged(std::uint32_t dialog, std::uint32_t focus, std::uint32_t defaultLook);
  void MenuChanged(std::uint32_t dialog, const std::vector<MenuEntry>& menu, bool closeBoxEnabled);
  void ControlChanged(std::uint32_t dialog, const ControlModel& control, ViewChange what);
  void ModalEnded();

  // False when there is no notification area.
  bool TrayAdd(const std::string& tip);
  void TrayDelete();
  void ShowHelp(const std::string& path);

 private:
  DialogWindow* Find(std::uint32_t dialog) const;
  DialogWindow* RootOf(void* hwnd) const;
  void Pump();
  void Sleep(std::int64_t ms);  // -1: until a message comes
  std::int64_t Animate(std::int64_t now);
  void FinishClosing();

  const Clock& clock_;
  std::unique_ptr<BitmapCache> pictures_;
  std::unique_ptr<GeometryDump> dump_;
  std::vector<std::unique_ptr<DialogWindow>> windows_;  // oldest first
  std::vector<std::unique_ptr<DialogWindow>> closing_;
  std::deque<UserInput> pending_;
  std::unique_ptr<TrayIcon> tray_;
  void* timer_ = nullptr;          // the waitable timer's handle
  std::int64_t lastLook_ = -1000;  // when the queue was last pumped
  bool comStarted_ = false;
};
