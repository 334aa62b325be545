// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/Shell.h"

#include <cstdio>
#include <cstdlib>

#include "common/NativePath.h"

// The command goes to cmd.exe as UTF-16, so a file name outside the code page arrives whole.
// cmd.exe hands back the program's exit code as it is; there are no signals.

const char* const kNullDevice = "NUL";

int RunShell(const std::string& command) { return ::_wsystem(NativePath(command).c_str()); }

int RunShellCapturing(const std::string& command, std::string& out) {
  out.clear();
  // Binary: the program's bytes as it wrote them, no CR LF turned into LF on the way.
  FILE* p = ::_wpopen(NativePath(command).c_str(), L"rb");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  return ::_pclose(p);
}
