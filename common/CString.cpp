// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CString.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "common/DialogTemplate.h"

BOOL CString::LoadString(UINT id) {
  s_ = Resources::LoadString(static_cast<int>(id));
  return s_.empty() ? FALSE : TRUE;
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0) {
    va_end(args);
    s_.clear();
    return;
  }
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  std::vsnprintf(buf.data(), buf.size(), format, args);
  va_end(args);
  s_.assign(buf.data(), static_cast<size_t>(n));
}
