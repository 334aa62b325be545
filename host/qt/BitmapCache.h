// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compiled-in bitmaps as Qt images, decoded once each: the lamps change forty times a
// second and must not be decoded every time.
#include <QImage>

class BitmapCache {
 public:
  // The picture for a bitmap resource as the core has it (ratio 1); a null image when there is
  // none or it does not decode. Its size is the picture's size on screen in logical pixels.
  static const QImage& Get(int resourceId);
  // The picture to draw on a screen of device pixel ratio `dpr`: the one drawn for the ratio
  // PictureSources::Choose picks, with that ratio as its devicePixelRatio. Falls back to Get()
  // when that drawing is missing or does not decode.
  static const QImage& ForScreen(int resourceId, double dpr);
};
