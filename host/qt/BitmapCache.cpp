// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/BitmapCache.h"

#include <algorithm>
#include <map>
#include <utility>

#include "common/BmpImage.h"
#include "host/shared/PictureSources.h"

namespace {
QImage Decode(PictureSources::Blob blob, double ratio) {
  if (!blob.data || !blob.size) return {};
  auto bmp = BmpImage::Decode(blob.data, blob.size);
  if (!bmp) return {};
  // Opaque pictures are cheaper to draw, and nearly all of them are.
  bool opaque = std::all_of(bmp->pixels.begin(), bmp->pixels.end(),
                            [](uint32_t px) { return (px >> 24) == 0xFF; });
  QImage image(bmp->width, bmp->height, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  for (int y = 0; y < bmp->height; ++y) {
    const uint32_t* src = bmp->pixels.data() + static_cast<size_t>(y) * bmp->width;
    std::copy(src, src + bmp->width, reinterpret_cast<uint32_t*>(image.scanLine(y)));
  }
  image.setDevicePixelRatio(ratio);
  return image;
}

const QImage& Cached(int resourceId, double ratio) {
  static std::map<std::pair<int, double>, QImage> cache;
  auto key = std::make_pair(resourceId, ratio);
  auto it = cache.find(key);
  if (it == cache.end())
    it = cache.emplace(key, Decode(PictureSources::Find(resourceId, ratio), ratio)).first;
  return it->second;
}
}  // namespace

const QImage& BitmapCache::Get(int resourceId) { return Cached(resourceId, 1); }

const QImage& BitmapCache::ForScreen(int resourceId, double dpr) {
  static std::map<int, std::vector<double>> drawn;
  auto it = drawn.find(resourceId);
  if (it == drawn.end()) it = drawn.emplace(resourceId, PictureSources::RatiosOf(resourceId)).first;
  double ratio = PictureSources::Choose(it->second, dpr);
  if (ratio == 0 || ratio == 1) return Get(resourceId);
  const QImage& image = Cached(resourceId, ratio);
  return image.isNull() ? Get(resourceId) : image;
}
