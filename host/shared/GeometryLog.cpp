// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/GeometryLog.h"

#include <cstdio>
#include <cstdlib>

GeometryLog GeometryLog::FromEnvironment() {
  const char* path = std::getenv("QUORBLEX_DUMP_GEOMETRY");
  return GeometryLog(path ? path : "");
}

void GeometryLog::Append(const std::string& lines) const {
  if (path_.empty()) return;
  std::FILE* f = std::fopen(path_.c_str(), "ab");
  if (!f) return;
  std::fwrite(lines.data(), 1, lines.size(), f);
  std::fclose(f);
}
