#include "host/qt/BitmapCache.h"

#include <algorithm>
#include <map>

#include "common/BmpImage.h"
#include "common/DialogTemplate.h"

namespace {
QImage Decode(int resourceId) {
  Resources::Blob blob = Resources::FindBitmap(resourceId);
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
  return image;
}
}  // namespace

const QImage& BitmapCache::Get(int resourceId) {
  static std::map<int, QImage> cache;
  auto it = cache.find(resourceId);
  if (it == cache.end()) it = cache.emplace(resourceId, Decode(resourceId)).first;
  return it->second;
}
