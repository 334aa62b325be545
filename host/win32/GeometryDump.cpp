// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/GeometryDump.h"

#include <cstdio>
#include <cstdlib>

#include "host/win32/ControlView.h"
#include "host/win32/DialogWindow.h"
#include "host/shared/Layout.h"

namespace {
std::string Line(int templateId, const std::string& what, const RECT& r) {
  return Layout::GeometryLine(templateId, what,
                              {r.left, r.top, r.right - r.left, r.bottom - r.top});
}
}  // namespace

GeometryDump::GeometryDump() {
  if (const wchar_t* p = _wgetenv(L"QUORBLEX_DUMP_GEOMETRY")) path_ = p;
}

std::string GeometryDump::Lines(const DialogWindow& window) {
  RECT client{};
  GetClientRect(window.hwnd(), &client);
  MapWindowPoints(window.hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::string out = Line(window.templateId(), "window", client);
  for (const auto& view : window.Views()) {
    RECT r{};
    GetWindowRect(view->hwnd(), &r);
    MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    out += Line(window.templateId(), std::to_string(view->id()), r);
  }
  return out;
}

void GeometryDump::Write(const DialogWindow& window) const {
  if (path_.empty()) return;
  std::FILE* f = _wfopen(path_.c_str(), L"ab");
  if (!f) return;
  std::string text = Lines(window);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}
