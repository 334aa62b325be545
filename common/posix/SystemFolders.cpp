// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/SystemFolders.h"

#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string ExecutablePath() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return std::string(buf, static_cast<size_t>(n));
}

std::string NewTempFolder(const std::string& prefix) {
  std::string name = "/tmp/" + prefix + "XXXXXX";
  if (!::mkdtemp(name.data())) return {};
  return name;
}

std::string DefaultProfilePath() {
  namespace fs = std::filesystem;
  fs::path dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    dir = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    dir = fs::path(home) / ".config";
  } else {
    dir = ".";
  }
  std::error_code ec;
  fs::create_directories(dir, ec);
  return (dir / "quorblex.ini").string();
}
