// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows bitmap decoding for the pictures the program shows, plus the RLE8/RLE4 run decoder
// that the clip reader shares for its RLE frames.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A decoded picture: 32-bit 0xAARRGGBB pixels, rows top-down.
struct BmpImage {
  int width = 0, height = 0, bitsPerPixel = 0;
  std::vector<uint32_t> pixels;
  // Decodes a Windows BMP file (BITMAPFILEHEADER + BITMAPINFOHEADER/V4/V5 or OS/2 core header):
  // 1, 4, 8 bpp palettized (BI_RGB, BI_RLE4, BI_RLE8), 16/24/32 bpp (BI_RGB, BI_BITFIELDS),
  // bottom-up and top-down. Anything else, or any inconsistency: nullopt.
  //
  // Details worth knowing:
  //  - width and height are 1..16384 and width * height is at most 64 M pixels.
  //  - Every pixel comes out opaque (alpha 0xFF) unless the header carries a non-zero alpha
  //    mask with BI_BITFIELDS; the fourth byte of a palette entry or of a BI_RGB 32-bit pixel
  //    is never alpha.
  //  - Palette indices outside the palette map to opaque black. The palette is what the header
  //    declares (biClrUsed, or 2^bpp when 0), cut short where the pixel data begins.
  //  - Uncompressed pixel data may omit the padding after the last row, nothing more.
  //  - RLE data must end with an end-of-bitmap code or run past the last row; pixels the RLE
  //    data never draws (deltas, early end of line) are palette entry 0. RLE images are always
  //    stored bottom-up; a top-down RLE header is rejected.
  static std::optional<BmpImage> Decode(const uint8_t* data, size_t size);
  // Reads only the header: size and depth, for code that needs no pixels.
  // It checks everything Decode checks about the header itself (signature, header size,
  // dimensions, depth/compression pairing, colour masks) but not the palette or pixel data, so
  // a file PeekHeader accepts may still fail to Decode.
  static std::optional<BmpImage> PeekHeader(const uint8_t* data, size_t size);  // pixels empty
};

// How a run of RLE data ended.
enum class RleEnd {
  Complete,   // an end-of-bitmap code, or the data moved past the last row
  OutOfData,  // the data ran out first (possibly in the middle of a code)
};

// Decodes BI_RLE8 (bitsPerIndex 8) or BI_RLE4 (bitsPerIndex 4) data onto `canvas`, an
// index-per-byte picture of width * height bytes with rows top-down. The RLE data itself runs
// bottom-up, as it does in files. Pixels the data does not touch keep their value, so a delta
// frame can be drawn over the previous one. Pixels beyond the right edge are dropped.
// Safe for any bytes; `canvas` must hold width * height bytes.
RleEnd DecodeRle(const uint8_t* data, size_t size, int bitsPerIndex, int width, int height,
                 uint8_t* canvas);
