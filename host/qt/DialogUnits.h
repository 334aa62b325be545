// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialog units to pixels, and the dialog font.
//
// Layout uses the classic base units of an 8-point sans face at 96 dpi (6 x 13) rather than
// the measured font, so every window has the same pixel layout whatever the desktop's fonts;
// Qt scales the whole window by the screen's device pixel ratio.
#include <QFont>
#include <QRect>

#include "common/View.h"

namespace DialogUnits {
constexpr int kBaseX = 6;
constexpr int kBaseY = 13;

// x * baseX / 4 and y * baseY / 8, each coordinate converted on its own.
int ToPixelsX(int du);
int ToPixelsY(int du);
QRect ToPixels(const Rect& r);

// DejaVu Sans 8 pt, the face every window and control uses.
QFont Font();
}  // namespace DialogUnits
