// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where things stand on a desktop, in pixels: dialog units made pixels, and where a new window
// is placed. Each desktop rounds as its own dialog manager does, so the rounding is a
// parameter; everything else is decided here once.
#include <string>

#include "common/View.h"

// A rectangle in pixels: its corner and its size.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PixelRect&) const = default;
};

namespace Layout {

// How a division by 4 or 8 (dialog units) or by 2 (a centre) comes out.
enum class Rounding {
  Floor,    // toward minus infinity, as Qt's own geometry does
  MulDiv,   // to the nearest, halves away from zero, as Windows' MulDiv
};

// A dialog font's base units: its average character width and its height, in pixels.
struct BaseUnits {
  int x = 6, y = 13;
};

int ToPixelsX(int du, BaseUnits base, Rounding rounding);
int ToPixelsY(int du, BaseUnits base, Rounding rounding);
PixelRect ToPixels(const Rect& du, BaseUnits base, Rounding rounding);

// Where a window of `width` x `height` (its frame) stands on screen. The main window (no owner)
// at the centre of the work area; a centred dialog at the centre of its owner's frame; any other
// dialog at its template's corner (`offset`, pixels) from its owner's client origin. A centred
// window is kept within the work area, as the dialog manager keeps it.
struct Placement {
  int width = 0, height = 0;
  bool owned = false, centered = false;
  PixelRect owner;         // the owner's frame
  int clientX = 0, clientY = 0;  // the owner's client origin
  int offsetX = 0, offsetY = 0;  // the template's corner, in pixels
  PixelRect area;          // the screen's work area
  // Qt centres a rectangle on the centre pixel of another; Windows halves the free space.
  enum class Centre { OnCentrePixel, HalfTheSpace } centre = Centre::HalfTheSpace;
};
PixelRect Place(const Placement& p);

// The line a window's geometry is dumped with (the desktop tests read these): the window's
// template label, what ("window" or a control's id) and a rectangle in pixels.
std::string GeometryLine(int templateId, const std::string& what, const PixelRect& r);


}  // namespace Layout
