// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/GeometryDump.h"

#include <cstdio>
#include <cstdlib>

#include "common/WindowSystem.h"
#include "host/qt/DialogWindow.h"

namespace {
std::string Line(const std::string& win, const std::string& what, const QRect& r) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s %s %d %d %d %d\n", win.c_str(), what.c_str(), r.x(), r.y(),
                r.width(), r.height());
  return buf;
}
}  // namespace

GeometryDump::GeometryDump() {
  if (const char* p = std::getenv("QUORBLEX_DUMP_GEOMETRY")) path_ = p;
}

std::string GeometryDump::Lines(const DialogWindow& window) {
  std::string win = TemplateLabel(window.templateId());
  std::string out = Line(win, "window", window.geometry());
  for (const auto& [hwnd, view] : window.Views()) {
    const Window* c = WindowSystem::Get().Find(hwnd);
    out += Line(win, std::to_string(c ? c->id : 0), view->widget()->geometry());
  }
  return out;
}

void GeometryDump::Write(const DialogWindow& window) const {
  if (!path_.empty()) Append(Lines(window));
}

void GeometryDump::Draw(int n, int result) {
  if (path_.empty() || draws_ >= kDrawsNoted) return;
  ++draws_;
  Append("draw " + std::to_string(n) + " " + std::to_string(result) + "\n");
}

void GeometryDump::Append(const std::string& text) const {
  std::FILE* f = std::fopen(path_.c_str(), "a");
  if (!f) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}
