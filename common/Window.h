// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window as data: a dialog or one of its controls. The window system owns these; hosts read
// them when told that something changed, and never write them.
#include <memory>
#include <string>
#include <vector>

#include "common/DialogTemplate.h"
#include "common/WinTypes.h"

class AviClip;
class WindowObject;

struct Window {
  HWND hwnd = kNoWindow;
  HWND parent = kNoWindow;  // the dialog a control belongs to; none for a dialog
  HWND owner = kNoWindow;   // for a dialog: the window it is modal to
  bool isDialog = false;
  ControlKind kind = ControlKind::Text;
  int id = 0;                // control identifier
  int templateId = 0;        // dialog: its template number, -1 for a message box
  const DialogTemplate* tmpl = nullptr;  // dialog: the template it was built from
  std::string text;
  Rect rect;  // dialog units
  DWORD style = 0, exStyle = 0;
  bool enabled = true;
  bool visible = false;
  bool minimized = false;
  HBITMAP bitmap = 0;  // picture: what it shows
  int bitmapId = 0;    // picture: the resource number of what it shows; 0 for none
  HBITMAP ownedBitmap = 0;  // picture: the one its template gave it, deleted with it
  int checked = 0;
  int trackPos = 0, trackMin = 0, trackMax = 100;
  std::string tooltip;

  // Dialog state.
  std::vector<HWND> children;  // template order, which is also the tab order
  HWND focus = kNoWindow;
  int defId = 0;
  std::vector<MenuItem> sysMenu;
  bool closeBoxEnabled = true;
  WindowObject* object = nullptr;  // the framework object attached to the window, if any
  bool ended = false;
  int result = 0;
  UINT boxFlags = 0;  // message box: its flags

  // Animation control.
  std::string clipName;
  std::shared_ptr<const AviClip> clip;
  int clipFrom = 0, clipTo = 0, clipRepeat = 0;
};
