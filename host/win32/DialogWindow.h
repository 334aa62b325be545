// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One top-level window for one of the core's dialogs (or message boxes), with a child window
// for each control in template order, which is also the stacking order: later controls lie
// above earlier ones.
//
// It only shows the core's state and reports raw input. Clicks on buttons and check boxes, a
// trackbar moved, keys, the close box, the window menu's items and a click on the task-bar
// entry of a minimized window become InputEvent for the core. Windows never moves the core's
// focus, never ticks a check box and never fires a mnemonic on its own: keys are taken before
// any control sees them (PreTranslate), and the dialog manager is not used. While the core
// has the window disabled (it owns a modal dialog) it is disabled on Windows too, not greyed:
// it takes no input, and a click on it brings the modal dialog up.
//
// Per-monitor DPI aware: the font, the layout and the pictures are made again when the window
// moves to a screen of another density.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "common/View.h"
#include "host/win32/DialogUnits.h"
#include "host/win32/TooltipView.h"

class BitmapCache;
class ClipView;
class Clock;
class ControlView;

class DialogWindow {
 public:
  static constexpr const wchar_t* kClassName = L"QuorblexDialog";
  static void RegisterClass(HINSTANCE instance);

  struct Services {
    std::function<void(InputEvent)> report;
    BitmapCache* pictures = nullptr;
    const Clock* clock = nullptr;
  };

  // `owner` is the window of the dialog this one is modal to, or null for the main window.
  DialogWindow(const DialogModel& dialog, HWND owner, Services services);
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  std::uint32_t handle() const { return handle_; }
  int templateId() const { return templateId_; }
  const std::vector<std::unique_ptr<ControlView>>& Views() const { return views_; }

  // The core's notifications. Each leaves the change painted on screen before it returns.
  void ControlChanged(const ControlModel& control, Change what);
  void Shown(const DialogModel& dialog, bool initial);
  void EnabledChanged(bool enabled);
  void FocusChanged(std::uint32_t focus, std::uint32_t defaultLook);
  void MenuChanged(const std::vector<MenuItem>& menu, bool closeBoxEnabled);
  void Raise();
  // The core has let the window go; it reports nothing more.
  void Silence() { silenced_ = true; }

  // A message from the queue for this window or one of its controls, before it is dispatched.
  // True when it was taken (a key for the core).
  bool PreTranslate(const MSG& msg);
  // Brings the clips up to `now`; when the next frame is due, or -1.
  std::int64_t Animate(std::int64_t now);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnHScroll(LPARAM lParam);
  bool OnSysCommand(WPARAM wParam);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnFocusBack();

  void AddView(const ControlModel& control, unsigned iconFlags);
  void ApplyAll(const ControlModel& control, ControlView& view);
  void LayoutAll();
  void Place();
  // The window's outer size for its template at the density of `units`.
  SIZE FrameSize(const DialogUnits& units) const;
  void PaintNow();
  void Report(InputEvent input);
  ControlView* View(std::uint32_t handle) const;
  ControlView* ViewOf(HWND child) const;

  HWND hwnd_ = nullptr;
  HWND owner_;
  std::uint32_t handle_;
  int templateId_;
  Services services_;
  Rect rect_;
  DWORD style_, exStyle_;
  bool centered_;
  std::unique_ptr<DialogUnits> units_;
  std::vector<std::unique_ptr<ControlView>> views_;
  std::vector<ClipView*> clips_;
  std::unique_ptr<TooltipView> tooltips_;
  std::vector<MenuItem> menu_;
  std::uint32_t focus_ = 0;
  bool coreVisible_ = false, coreMinimized_ = false;
  bool placed_ = false;
  bool silenced_ = false;
};
