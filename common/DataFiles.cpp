// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/DataFiles.h"

#include <filesystem>
#include <system_error>

#include "common/NativePath.h"
#include "common/SystemFolders.h"

namespace {
std::vector<std::string>& Dirs() {
  static std::vector<std::string> dirs{"."};
  return dirs;
}

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(NativePath(path), ec);
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(NativePath(path), ec);
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
  const std::string exe = ExecutablePath();
  if (exe.empty()) return "/usr/share/quorblex";
  std::string dir = exe.substr(0, exe.find_last_of('/'));
  if (IsDirectory(dir + "/res")) return dir + "/res";
  return dir.substr(0, dir.find_last_of('/')) + "/share/quorblex";
}
