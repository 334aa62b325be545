// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/DataFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace {
std::vector<std::string>& Dirs() {
  static std::vector<std::string> dirs{"."};
  return dirs;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
}  // namespace

void DataFiles::SetSearchDirs(std::vector<std::string> dirs) { Dirs() = std::move(dirs); }

std::string DataFiles::Find(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return {};
  for (const auto& dir : Dirs()) {
    std::string path = dir.empty() ? name : dir + "/" + name;
    if (IsRegularFile(path)) return path;
  }
  return {};
}

std::string DataFiles::ProgramDataDir() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "/usr/share/quorblex";
  std::string exe(buf, static_cast<size_t>(n));
  std::string dir = exe.substr(0, exe.find_last_of('/'));
  struct stat st {};
  if (::stat((dir + "/res").c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return dir + "/res";
  return dir.substr(0, dir.find_last_of('/')) + "/share/quorblex";
}
