// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File formats the program reads its pictures from: Windows BMP, ICO and uncompressed AVI, plus
// PAM (portable arbitrary map with alpha) for the full-colour icon copies handed to ImageMagick.
#include <cstdint>
#include <string>
#include <vector>

#include "palette.h"

namespace artgen {

using Bytes = std::vector<uint8_t>;

// Bytes per stored row of a DIB: pixels packed at `bits` each, padded to a multiple of four.
size_t DibStride(int width, int bits);

// A BMP file: BITMAPFILEHEADER, BITMAPINFOHEADER, palette, rows bottom-up. The bit depth
// follows the palette size (16 colours -> 4 bits, 256 -> 8 bits).
Bytes EncodeBmp(const IndexedImage& img);

// An ICO file holding the images in the given order; see-through pixels go into the AND mask.
Bytes EncodeIco(const std::vector<IndexedImage>& images);

// An AVI clip of uncompressed 8-bit frames at `fps`. Every frame must share frames[0]'s
// 256-colour palette, which is stored once in the stream format.
Bytes EncodeAvi(const std::vector<IndexedImage>& frames, int fps);

// A PAM (P7, RGB_ALPHA) image of a scale-1 canvas.
Bytes EncodePam(const Canvas& img);

void WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace artgen
