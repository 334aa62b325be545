// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tooltips of one dialog: one tooltips_class32 window, made with the first tip, holding a
// tool for each control that has a tip. The tooltip watches the mouse over its controls itself.
// It belongs to the dialog's window and goes with it.
#include <windows.h>

#include <set>
#include <string>

class TooltipView {
 public:
  explicit TooltipView(HWND dialog) : dialog_(dialog) {}
  TooltipView(const TooltipView&) = delete;
  TooltipView& operator=(const TooltipView&) = delete;

  // The tip shown over `control`; an empty text takes the tip away.
  void Set(HWND control, const std::string& text);

 private:
  HWND dialog_;
  HWND tip_ = nullptr;
  std::set<HWND> tools_;
};
