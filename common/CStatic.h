// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A static control; the program uses it for pictures and hands it bitmaps.
#include "common/CWnd.h"

class CStatic : public CWnd {
 public:
  // Shows `hBitmap` from now on; returns the bitmap shown before.
  HBITMAP SetBitmap(HBITMAP hBitmap) {
    return static_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, hBitmap));
  }
};
