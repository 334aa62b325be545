// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A dialog template as data: the window and its controls, rectangles in dialog units. Both
// hosts and the core build windows from these; dialog code never repeats a rectangle or text.
#include <string>
#include <vector>

#include "common/View.h"
#include "common/WinTypes.h"

struct ControlTemplate {
  int id = -1;
  ControlKind kind = ControlKind::Text;
  std::string text;  // caption, or for a picture the bitmap number
  int bitmap = 0;    // for a picture: the bitmap resource shown when the window is created
  Rect rect;
  DWORD style = 0;  // kind-specific and WS_ styles (WS_VISIBLE is implied for template controls)
  DWORD exStyle = 0;
};

// The transcript names a message box's window with this label.
constexpr const char* kMessageBoxLabel = "msgbox";
// The ids of a message box's icon and text; its buttons are IDOK, or IDYES and IDNO.
constexpr int kMessageBoxIconId = -1;
constexpr int kMessageBoxTextId = 0xFFFF;
// How a window is named to the outside: its template number, or the message box label.
inline std::string TemplateLabel(int templateId) {
  return templateId == kMessageBoxTemplate ? kMessageBoxLabel : std::to_string(templateId);
}

struct DialogTemplate {
  int id = 0;  // resource number; kMessageBoxTemplate for a message box
  std::string caption;
  Rect rect;  // x, y relative to the owner's client area unless centered
  DWORD style = 0;
  DWORD exStyle = 0;
  bool centered = false;  // placed at the centre of its owner rather than at x, y
  UINT boxFlags = 0;      // a message box's flags
  std::vector<ControlTemplate> controls;
};

namespace Resources {
// The compiled-in template with this number, or null.
const DialogTemplate* FindTemplate(int id);
// The string-table entry with this number, or empty.
std::string LoadString(int id);
// The compiled-in bitmap resource as BMP file bytes; empty when there is none.
struct Blob {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};
Blob FindBitmap(int id);
// The program icon as PNG bytes at the given edge length (16, 32, 48 or 128); empty if none.
Blob FindIconPng(int size);
// Every template and string number, for tests and tools.
std::vector<int> TemplateIds();
std::vector<int> StringIds();
}  // namespace Resources
