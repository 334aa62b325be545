// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/ProgramIcon.h"

#include "host/win32/ScaledIcon.h"

HICON ProgramIcon::Load(bool small, UINT dpi) {
  const int side = GetSystemMetricsForDpi(small ? SM_CXSMICON : SM_CXICON, dpi);
  if (HICON icon = ScaledIcon::Load(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kResource), side))
    return icon;
  return ScaledIcon::Load(nullptr, IDI_APPLICATION, side);
}
