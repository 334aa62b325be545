// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures as bitmaps Windows can show, each made once per picture and screen
// density: the lamps change forty times a second and must not be decoded every time.
//
// A picture grows with its window's layout (DialogUnits::PictureRatio): at ratio 1.5 a 10 x 10
// lamp is 15 x 15 pixels. It is made from the drawing that suits the ratio (the smallest drawn
// at or above it), pixel for pixel where the drawing was made for exactly that ratio, reduced
// smoothly where it was made for a larger one, and enlarged by repeating pixels only beyond
// the largest drawing. The bitmaps are 24-bit and opaque, as every picture of the
// program is, so that a static control shows them as they are and takes no copy.
#include <windows.h>

#include <functional>
#include <map>
#include <utility>

#include "host/shared/PictureSources.h"
#include "host/win32/GdiObjects.h"

class BitmapCache {
 public:
  // The drawing of picture `id` to use at `ratio`; no data when the picture has none.
  using Lookup = std::function<PictureSources::Drawing(int id, double ratio)>;

  struct Picture {
    HBITMAP bitmap = nullptr;  // owned by the cache; null when there is no picture
    SIZE size{};               // in pixels
  };

  explicit BitmapCache(Lookup lookup) : lookup_(std::move(lookup)) {}
  BitmapCache(const BitmapCache&) = delete;
  BitmapCache& operator=(const BitmapCache&) = delete;

  // Picture `id` at `ratio` times the size it was first drawn at.
  Picture Get(int id, double ratio);

 private:
  struct Entry {
    BitmapObject bitmap;
    SIZE size{};
  };
  Entry Make(int id, double ratio) const;

  Lookup lookup_;
  std::map<std::pair<int, int>, Entry> entries_;  // by id and ratio in thousandths
};
