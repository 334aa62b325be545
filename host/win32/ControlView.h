// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The child window of one control. It shows the core's state of the control and nothing else:
// the dialog window hands it the control's model whenever the core reports a change, and the
// view copies what it needs. Enabled, visible and the tooltip are the dialog window's business,
// the same for every kind; the text, picture, check, position and clip are the view's.
//
// A view does not own its window: a child window goes when its dialog's window goes.
#include <windows.h>

#include <cstdint>

#include "common/View.h"

class DialogUnits;

class ControlView {
 public:
  virtual ~ControlView() = default;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  HWND hwnd() const { return hwnd_; }
  std::uint32_t handle() const { return handle_; }
  int id() const { return id_; }

  // Copies the part of `control` that `what` names; here the text, which most kinds show.
  virtual void Apply(const ControlModel& control, Change what);
  // Puts the control where its template says, in the dialog font, at the window's density.
  virtual void Layout(const DialogUnits& units);
  // The default button's frame, which the core decides. True when the look changed.
  virtual bool SetDefaultLook(bool) { return false; }
  // Paints a control that its dialog draws (SS_OWNERDRAW), from WM_DRAWITEM.
  virtual void Draw(const DRAWITEMSTRUCT&) {}

 protected:
  // Makes the child window of class `windowClass` with the control's text, id and state.
  ControlView(HWND dialog, const ControlModel& control, const wchar_t* windowClass, DWORD style,
              DWORD exStyle = 0);
  const Rect& rect() const { return rect_; }
  // Shapes the window as a frame: it covers its whole rectangle but `hole` (in the window's
  // own coordinates, from its top-left corner), so that the controls under a group box or a
  // frame show through and take their own clicks.
  void Hollow(const RECT& hole);

 private:
  HWND hwnd_;
  std::uint32_t handle_;
  int id_;
  Rect rect_;
};
