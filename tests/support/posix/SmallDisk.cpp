// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/SmallDisk.h"

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

using namespace std::string_literals;

std::string MountSmallDisk(const std::string& folder) {
  if (::unshare(CLONE_NEWNS) != 0) {
    const std::string uid = std::to_string(::getuid()), gid = std::to_string(::getgid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
      return "a private mount namespace (unshare: "s + std::strerror(errno) + ")";
    }
    std::ofstream("/proc/self/setgroups") << "deny";
    std::ofstream("/proc/self/uid_map") << "0 " + uid + " 1";
    std::ofstream("/proc/self/gid_map") << "0 " + gid + " 1";
  }
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=16k") != 0) {
    return "a small tmpfs (mount: "s + std::strerror(errno) + ")";
  }
  return "";
}

void UnmountSmallDisk(const std::string& folder) { ::umount(folder.c_str()); }
