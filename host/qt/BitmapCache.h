#pragma once
// The compiled-in bitmaps as Qt images, decoded once each: the lamps change forty times a
// second and must not be decoded every time.
#include <QImage>

class BitmapCache {
 public:
  // The picture for a bitmap resource; a null image when there is none or it does not decode.
  static const QImage& Get(int resourceId);
};
