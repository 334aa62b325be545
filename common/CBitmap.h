// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Owns one loaded bitmap; deletes it when destroyed.
#include "common/WinTypes.h"

class CBitmap {
 public:
  CBitmap() = default;
  ~CBitmap() { DeleteObject(); }
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  BOOL LoadBitmap(UINT nIDResource);
  BOOL DeleteObject();
  operator HBITMAP() const { return m_hObject; }  // NOLINT: used where a handle is expected

  HBITMAP m_hObject = 0;
};
