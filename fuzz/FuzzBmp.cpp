// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the bitmap decoder: any bytes must decode or be refused, never crash,
// and a decoded picture must agree with its header.
#include <cstdlib>

#include "common/BmpImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto peek = BmpImage::PeekHeader(data, size);
  auto img = BmpImage::Decode(data, size);
  if (img) {
    if (!peek || peek->width != img->width || peek->height != img->height ||
        peek->bitsPerPixel != img->bitsPerPixel ||
        img->pixels.size() != static_cast<size_t>(img->width) * img->height) {
      std::abort();
    }
  }
  return 0;
}
