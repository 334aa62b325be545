// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows host: the core's windows as real top-level USER32 windows and controls, its
// notification icon through Shell_NotifyIconW, its help page in the browser, and Windows'
// message queue as the source of input. It reads the core's plain models (View.h) and nothing
// else of the core's windows, so <windows.h> and the core never meet.
//
// Blocking: only Wait blocks, in Windows' message processing, until input or the deadline.
// Every other call returns with its change painted.
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
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "common/Host.h"
#include "host/shared/InputQueue.h"
#include "host/shared/PictureSources.h"

class BitmapCache;
class DialogWindow;
class GeometryDump;
class TrayIcon;

class Win32Host : public Host {
 public:
  // The drawing of picture `id` for a screen of `ratio` device pixels per logical pixel.
  using PictureLookup = std::function<PictureSources::Drawing(int id, double ratio)>;

  // `pictures`: where the drawings come from; the compiled-in ones unless a test says.
  explicit Win32Host(const Clock& clock, PictureLookup pictures = PictureSources::DrawingFor);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // Blocks in Windows' message processing until input was reported or `deadline` passed
  // (-1: no deadline). A deadline at or before now only collects.
  void Wait(std::int64_t deadline, InputSink& sink) override;
  void WindowCreated(const DialogModel& dialog) override;
  void WindowDestroyed(ViewHandle dialog) override;
  void WindowShown(const DialogModel& dialog, bool initial) override;
  void WindowEnabled(ViewHandle dialog, bool enabled) override;
  void WindowRaised(ViewHandle dialog) override;
  void FocusChanged(ViewHandle dialog, ViewHandle focus, ViewHandle defaultLook) override;
  void MenuChanged(ViewHandle dialog, const std::vector<MenuItem>& menu,
                   bool closeBoxEnabled) override;
  void ControlChanged(ViewHandle dialog, const ControlModel& control, Change what) override;
  void ModalEnded(int templateId, int result) override;
  // False when there is no notification area.
  bool TrayAdd(const std::string& tip) override;
  void TrayDelete() override;
  void ShowHelp(const std::string& name, const std::string& path) override;

 private:
  DialogWindow* Find(ViewHandle dialog) const;
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
  InputQueue input_;
  std::unique_ptr<TrayIcon> tray_;
  void* timer_ = nullptr;          // the waitable timer's handle
  bool comStarted_ = false;
};
