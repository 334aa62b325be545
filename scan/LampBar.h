// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bar of ten lamps that the main window and the scan progress share: binding its picture
// controls to a dialog's lamp members, left to right.
#include "common/CDialog.h"
#include "common/CStatic.h"
#include "res/ResourceIds.h"

inline void DDX_LampBar(CDataExchange* pDX, CStatic* const (&lamps)[10]) {
  for (int i = 0; i < 10; ++i) DDX_Control(pDX, kLampIds[i], *lamps[i]);
}
