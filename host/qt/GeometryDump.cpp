// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/GeometryDump.h"

#include <cstdlib>

#include "host/qt/DialogWindow.h"
#include "host/shared/Layout.h"

namespace {
std::string Line(int templateId, const std::string& what, const QRect& r) {
  return Layout::GeometryLine(templateId, what, {r.x(), r.y(), r.width(), r.height()});
}
}  // namespace

GeometryDump::GeometryDump() {
  if (const char* p = std::getenv("QUORBLEX_DUMP_GEOMETRY")) path_ = p;
}

std::string GeometryDump::Lines(const DialogWindow& window) {
  std::string out = Line(window.templateId(), "window", window.geometry());
  for (const auto& [handle, view] : window.Views())
    out += Line(window.templateId(), std::to_string(window.ControlId(handle)),
                view->widget()->geometry());
  return out;
}

void GeometryDump::Write(const DialogWindow& window) const {
  if (path_.empty()) return;
  std::FILE* f = std::fopen(path_.c_str(), "a");
  if (!f) return;
  std::string text = Lines(window);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}
