// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures as the Windows host shows them at each size of the layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "host/win32/BitmapCache.h"
#include "tests/windows/TestPictures.h"

namespace {

constexpr std::uint32_t kBlue = 0x0000FF, kRed = 0xFF0000, kGreen = 0x00FF00;

// Picture 7 is drawn at 10 x 10 in blue, at 1.5x in red and at 2x in green, so the colour tells
// which drawing a bitmap came from. The lookup picks as the host's does: the smallest drawing
// at or above the ratio, else the largest.
class BitmapCacheTest : public ::testing::Test {
 protected:
  BitmapCache cache_{[this](int id, double ratio) { return Lookup(id, ratio); }};
  std::map<double, std::vector<std::uint8_t>> drawn_ = {
      {1.0, TestPictures::SolidBmp(10, 10, kBlue)},
      {1.5, TestPictures::SolidBmp(15, 15, kRed)},
      {2.0, TestPictures::SolidBmp(20, 20, kGreen)}};
  int lookups_ = 0;

  PictureSources::Drawing Lookup(int id, double ratio) {
    ++lookups_;
    if (id != 7) return {};
    for (auto& [r, bytes] : drawn_)
      if (r >= ratio - 0.01) return {r, {bytes.data(), bytes.size()}};
    auto& [r, bytes] = *drawn_.rbegin();
    return {r, {bytes.data(), bytes.size()}};
  }

  static bool AllOf(const TestPictures::Pixels& p, std::uint32_t rgb) {
    return !p.rgb.empty() &&
           std::all_of(p.rgb.begin(), p.rgb.end(), [&](std::uint32_t px) { return px == rgb; });
  }
};

TEST_F(BitmapCacheTest, ARatioADrawingWasMadeForShowsItPixelForPixel) {
  for (auto [ratio, side, colour] :
       {std::tuple{1.0, 10, kBlue}, std::tuple{1.5, 15, kRed}, std::tuple{2.0, 20, kGreen}}) {
    BitmapCache::Picture picture = cache_.Get(7, ratio);
    ASSERT_TRUE(picture.bitmap) << ratio;
    EXPECT_EQ(picture.size.cx, side);
    EXPECT_EQ(picture.size.cy, side);
    TestPictures::Pixels pixels = TestPictures::Read(picture.bitmap);
    EXPECT_EQ(pixels.width, side);
    EXPECT_TRUE(AllOf(pixels, colour)) << ratio;
  }
}

TEST_F(BitmapCacheTest, BetweenDrawingsTheLargerIsReducedAndBeyondThemTheLargestIsEnlarged) {
  BitmapCache::Picture between = cache_.Get(7, 1.25);
  EXPECT_EQ(between.size.cx, 13) << "12.5 pixels, rounded";
  TestPictures::Pixels reduced = TestPictures::Read(between.bitmap);
  EXPECT_EQ(reduced.rgb[reduced.rgb.size() / 2] & 0xFF0000, 0xFF0000u & kRed)
      << "made from the 1.5x drawing";

  BitmapCache::Picture beyond = cache_.Get(7, 3.0);
  EXPECT_EQ(beyond.size.cx, 30);
  EXPECT_TRUE(AllOf(TestPictures::Read(beyond.bitmap), kGreen))
      << "enlarged by repeating pixels, not blurred";
}

TEST_F(BitmapCacheTest, EachPictureIsMadeOncePerRatio) {
  HBITMAP first = cache_.Get(7, 1.5).bitmap;
  HBITMAP again = cache_.Get(7, 1.5).bitmap;
  EXPECT_EQ(first, again);
  EXPECT_EQ(lookups_, 1);
  EXPECT_NE(cache_.Get(7, 2.0).bitmap, first);
}

TEST_F(BitmapCacheTest, NoPictureOrOneThatDoesNotDecodeShowsNothing) {
  EXPECT_FALSE(cache_.Get(8, 1.0).bitmap) << "no such picture";
  EXPECT_FALSE(cache_.Get(0, 1.0).bitmap) << "no picture at all";
  drawn_[1.0].resize(30);  // a header cut short
  BitmapCache::Picture broken = cache_.Get(7, 1.0);
  EXPECT_FALSE(broken.bitmap);
  EXPECT_EQ(broken.size.cx, 0);
}

}  // namespace
