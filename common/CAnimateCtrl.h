// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The animation control: opens a silent clip by bare file name and plays frames of it.
#include <string>

#include "common/CWnd.h"

class CAnimateCtrl : public CWnd {
 public:
  // False when the clip cannot be found or read; the control then shows nothing. No name
  // closes the clip, as Close does.
  BOOL Open(const char* fileName);
  // Plays frames `from` to `to` (-1: the last), `repeat` times (-1: for ever).
  BOOL Play(UINT from, UINT to, UINT repeat);
  BOOL Close();
};
