// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CAnimateCtrl.h"

BOOL CAnimateCtrl::Open(const char* fileName) {
  return static_cast<BOOL>(SendMessage(ACM_OPEN, 0, reinterpret_cast<LPARAM>(fileName)));
}

BOOL CAnimateCtrl::Play(UINT from, UINT to, UINT repeat) {
  // The message carries 16-bit frame numbers: -1 becomes 65535, "to the end".
  return static_cast<BOOL>(
      SendMessage(ACM_PLAY, repeat,
                  static_cast<LPARAM>(MAKEWPARAM(static_cast<int>(from), static_cast<int>(to)))));
}

BOOL CAnimateCtrl::Close() {
  SendMessage(ACM_OPEN, 0, 0);
  return TRUE;
}
