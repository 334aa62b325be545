// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/Shell.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

namespace {
int StatusOf(int raw) {
  if (raw < 0) return -1;
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}
}  // namespace

const char* const kNullDevice = "/dev/null";

int RunShell(const std::string& command) { return StatusOf(std::system(command.c_str())); }

int RunShellCapturing(const std::string& command, std::string& out) {
  out.clear();
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  return StatusOf(::pclose(p));
}
