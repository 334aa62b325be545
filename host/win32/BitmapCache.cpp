// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/BitmapCache.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/BmpImage.h"

namespace {

// A top-down 24-bit section of the given size; `bits` receives its pixels.
HBITMAP NewSection(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

HBITMAP SectionFrom(const BmpImage& image) {
  void* bits = nullptr;
  HBITMAP bitmap = NewSection(image.width, image.height, &bits);
  if (!bitmap || !bits) return bitmap;
  const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  auto* rows = static_cast<unsigned char*>(bits);
  for (int y = 0; y < image.height; ++y) {
    unsigned char* out = rows + stride * static_cast<size_t>(y);
    const uint32_t* in = image.pixels.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      out[3 * x + 0] = static_cast<unsigned char>(in[x]);
      out[3 * x + 1] = static_cast<unsigned char>(in[x] >> 8);
      out[3 * x + 2] = static_cast<unsigned char>(in[x] >> 16);
    }
  }
  GdiFlush();
  return bitmap;
}

// `source` redrawn at `width` x `height`: smoothly when reducing, by repeated pixels when
// enlarging, so that an enlarged picture stays sharp.
HBITMAP Resized(HBITMAP source, SIZE from, int width, int height) {
  void* bits = nullptr;
  HBITMAP target = NewSection(width, height, &bits);
  if (!target) return nullptr;
  MemoryDC in, out;
  Selection readFrom(in.get(), source);
  Selection drawTo(out.get(), target);
  bool reducing = width < from.cx || height < from.cy;
  SetStretchBltMode(out.get(), reducing ? HALFTONE : COLORONCOLOR);
  SetBrushOrgEx(out.get(), 0, 0, nullptr);
  StretchBlt(out.get(), 0, 0, width, height, in.get(), 0, 0, from.cx, from.cy, SRCCOPY);
  GdiFlush();
  return target;
}

}  // namespace

BitmapCache::Picture BitmapCache::Get(int id, double ratio) {
  auto key = std::make_pair(id, static_cast<int>(std::lround(ratio * 1000)));
  auto it = entries_.find(key);
  if (it == entries_.end()) it = entries_.emplace(key, Make(id, ratio)).first;
  return {it->second.bitmap.get(), it->second.size};
}

BitmapCache::Entry BitmapCache::Make(int id, double ratio) const {
  Entry entry;
  if (!id || !lookup_ || ratio <= 0) return entry;
  PictureSources::Drawing drawing = lookup_(id, ratio);
  if (!drawing.blob.data || !drawing.blob.size || drawing.ratio <= 0) return entry;
  std::optional<BmpImage> image = BmpImage::Decode(drawing.blob.data, drawing.blob.size);
  if (!image) return entry;
  BitmapObject drawn(SectionFrom(*image));
  if (!drawn) return entry;
  // The picture's size as first drawn, then at this ratio.
  const double firstW = image->width / drawing.ratio, firstH = image->height / drawing.ratio;
  const int w = std::max(1, static_cast<int>(std::lround(firstW * ratio)));
  const int h = std::max(1, static_cast<int>(std::lround(firstH * ratio)));
  if (w == image->width && h == image->height) {
    entry.bitmap = std::move(drawn);
  } else {
    entry.bitmap.reset(Resized(drawn.get(), SIZE{image->width, image->height}, w, h));
  }
  if (entry.bitmap) entry.size = SIZE{w, h};
  return entry;
}
