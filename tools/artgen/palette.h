// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns full-colour drawings into palette pictures (16 or 256 colours), the form the program's
// bitmaps, icon and clip are stored in.
#include <cstdint>
#include <vector>

#include "raster.h"

namespace artgen {

struct IndexedImage {
  int width = 0, height = 0;
  std::vector<Rgb8> palette;    // always the full 2^bits entries, unused ones black
  std::vector<uint8_t> index;   // width*height entries, top row first
  std::vector<uint8_t> opaque;  // 1 = drawn, 0 = see-through; empty means all drawn

  int bits() const {
    int b = 1;
    while ((size_t{1} << b) < palette.size()) ++b;
    return b;
  }
  uint8_t at(int x, int y) const { return index[static_cast<size_t>(y) * width + x]; }
  bool IsOpaque(int x, int y) const {
    return opaque.empty() || opaque[static_cast<size_t>(y) * width + x] != 0;
  }
};

// Weighted colour distance that roughly follows how the eye ranks differences.
int ColourDistance(Rgb8 a, Rgb8 b);
uint8_t NearestIndex(const std::vector<Rgb8>& palette, Rgb8 c);

// Chooses at most `count` colours that represent `pixels` well. The `forced` colours are always
// in the result, first and unchanged (black backgrounds, white highlights). When there are no
// more distinct colours than `count`, every one of them is kept exactly.
std::vector<Rgb8> BuildPalette(const std::vector<Rgb8>& pixels, int count,
                               const std::vector<Rgb8>& forced = {});

// Maps a scale-1 canvas onto `palette` (padded with black to 2^bits entries). Pixels whose
// alpha is under one half become see-through and take the palette's darkest colour.
IndexedImage MapToPalette(const Canvas& img, std::vector<Rgb8> palette, int bits);

// BuildPalette + MapToPalette over the picture's drawn pixels.
IndexedImage Quantize(const Canvas& img, int bits, const std::vector<Rgb8>& forced = {});

}  // namespace artgen
