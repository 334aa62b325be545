// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compiled-in pictures at each device pixel ratio they were drawn for. Ratio 1 is the core's
// own bitmap; the higher ratios are the same pictures drawn anew for high-density screens, and
// only the desktop hosts (Qt and Windows) have them. A screen's ratio picks the source to draw
// from, so a lamp on a ratio-2 screen is never the 1x lamp enlarged.
#include <cstddef>
#include <vector>

namespace PictureSources {

// BMP file bytes, compiled in; empty when there are none.
struct Blob {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

// One embedded bitmap drawn for a ratio above 1.
struct Scaled {
  int id;
  double ratio;
  Blob blob;
};
// Every one of them (generated from res/bitmaps/ID@RATIOx.bmp).
std::vector<Scaled> ScaledBitmaps();

// The ratios bitmap `id` is drawn for, ascending; 1 first when the core has the bitmap.
std::vector<double> RatiosOf(int id);
// Bitmap `id` as drawn for `ratio`; empty when it is not drawn for that ratio.
Blob Find(int id, double ratio);
// Which of `drawn` (ascending) serves a screen of device pixel ratio `dpr`: the smallest at or
// above it, so a picture is only ever reduced, never enlarged; the largest when all are below.
// At 1.5 that is the 1.5x drawing, pixel for pixel, rather than the 2x one reduced (which would
// soften every edge the 1.5x drawing has sharp). 0 when `drawn` is empty.
double Choose(const std::vector<double>& drawn, double dpr);

// One drawing of a picture: its bytes and the ratio they were drawn for.
struct Drawing {
  double ratio = 1;
  Blob blob;
};
// The drawing of bitmap `id` that serves a screen of `dpr` (by Choose); empty when there is none.
Drawing DrawingFor(int id, double dpr);

// The edge lengths of the program icon's compiled-in PNG pictures, ascending.
std::vector<int> IconSizes();
// The program icon's PNG picture of edge `size`; empty when there is none.
Blob IconPng(int size);

}  // namespace PictureSources
