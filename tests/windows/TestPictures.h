// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures for the Windows host's tests: BMP files of one colour, and a look at a bitmap's
// pixels.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace TestPictures {

// A 24-bit BMP file, `width` x `height`, every pixel 0xRRGGBB.
std::vector<std::uint8_t> SolidBmp(int width, int height, std::uint32_t rgb);

// The bitmap's size and its pixels as 0xRRGGBB, rows top-down.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;
};
Pixels Read(HBITMAP bitmap);

}  // namespace TestPictures
