// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/BmpImage.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/support/AudioBytes.h"

namespace {

using Grid = std::vector<std::vector<uint32_t>>;  // rows top-down

// Packs raw pixel values (palette indices, or 16/24/32-bit words) into padded rows.
Bytes PackRows(const Grid& rows, int bpp, bool bottomUp) {
  Bytes out;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[bottomUp ? rows.size() - 1 - i : i];
    Bytes line((row.size() * bpp + 31) / 32 * 4, 0);
    for (size_t x = 0; x < row.size(); ++x) {
      const size_t bit = x * bpp;
      if (bpp < 8) line[bit / 8] |= uint8_t(row[x] << (8 - bpp - bit % 8));
      for (int k = 0; k < bpp / 8; ++k) line[bit / 8 + k] = uint8_t(row[x] >> (8 * k));
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

struct BmpLayout {
  int32_t width, height;  // negative height: top-down
  uint16_t bpp;
  uint32_t compression = 0;
  std::vector<uint32_t> palette = {};  // 0xRRGGBB
  std::vector<uint32_t> masks = {};    // r, g, b[, a]
  uint32_t infoSize = 40;
};

Bytes MakeBmp(const BmpLayout& s, const Bytes& pixels) {
  Bytes info;
  Put32(info, s.infoSize);
  if (s.infoSize == 12) {
    Put16(info, s.width), Put16(info, s.height), Put16(info, 1), Put16(info, s.bpp);
  } else {
    Put32(info, s.width), Put32(info, s.height), Put16(info, 1), Put16(info, s.bpp);
    Put32(info, s.compression), Put32(info, uint32_t(pixels.size()));
    Put32(info, 2835), Put32(info, 2835), Put32(info, uint32_t(s.palette.size())), Put32(info, 0);
    for (uint32_t m : s.masks) Put32(info, m);
    info.resize(std::max<size_t>(info.size(), s.infoSize), 0);
  }
  for (uint32_t c : s.palette) {
    info.insert(info.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
    if (s.infoSize != 12) info.push_back(0x7F);  // never alpha
  }
  Bytes file = {'B', 'M'};
  Put32(file, uint32_t(14 + info.size() + pixels.size())), Put32(file, 0);
  Put32(file, uint32_t(14 + info.size()));
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

std::vector<uint32_t> Flat(const Grid& g) {
  std::vector<uint32_t> out;
  for (const auto& row : g) out.insert(out.end(), row.begin(), row.end());
  return out;
}

std::optional<BmpImage> Decode(const Bytes& b) { return BmpImage::Decode(b.data(), b.size()); }

const std::vector<uint32_t> kPal16 = {0x010203, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456,
                                      0xABCDEF, 7,        8,        9,        10,       11,
                                      12,       13,       14,       0x808080};

TEST(BmpImageTest, DecodesEveryUncompressedDepthBothWays) {
  const struct {
    BmpLayout layout;
    Grid raw, want;
  } cases[] = {
      {{3, 2, 1, 0, {0x000000, 0xFFFFFF}},
       {{1, 0, 1}, {0, 1, 1}},
       {{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF}}},
      {{3, 2, 4, 0, kPal16},
       {{15, 1, 2}, {5, 6, 0}},
       {{0xFF808080, 0xFFFFFFFF, 0xFFFF0000}, {0xFF123456, 0xFFABCDEF, 0xFF010203}}},
      {{3, 2, 8, 0, kPal16},
       {{4, 3, 2}, {1, 0, 200}},  // 200: past the palette, so black
       {{0xFF0000FF, 0xFF00FF00, 0xFFFF0000}, {0xFFFFFFFF, 0xFF010203, 0xFF000000}}},
      {{3, 2, 16},
       {{0x7C00, 0x03E0, 0x001F}, {0x7FFF, 0x8000, 0x4210}},  // 5-5-5, top bit unused
       {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0xFFFFFFFF, 0xFF000000, 0xFF848484}}},
      {{3, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}},
       {{0xF800, 0x07E0, 0x001F}, {0xFFFF, 0, 0x0841}},
       {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0xFFFFFFFF, 0xFF000000, 0xFF080808}}},
      {{3, 2, 24},
       {{0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0, 0xFFFFFF}},
       {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0xFF123456, 0xFF000000, 0xFFFFFFFF}}},
      {{2, 2, 32},
       {{0xAA112233, 0x00FFFFFF}, {0, 0x80808080}},  // the top byte is not alpha
       {{0xFF112233, 0xFFFFFFFF}, {0xFF000000, 0xFF808080}}},
      {{2, 1, 32, 3, {}, {0xFF, 0xFF00, 0xFF0000}},
       {{0x00332211, 0xFF0000FF}},   // masks after a
       {{0xFF112233, 0xFFFF0000}}},  // 40-byte header
      {{2, 1, 32, 3, {}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 124},
       {{0x80112233, 0x00FFFFFF}},
       {{0x80112233, 0x00FFFFFF}}},
      {{2, 1, 32, 3, {}, {0x3FF00000, 0x000FFC00, 0x3FF, 0}, 108},
       {{0x3FFFFC00, 0x00000201}},
       {{0xFFFFFF00, 0xFF000080}}},
  };
  for (const auto& c : cases) {
    for (bool topDown : {false, true}) {
      BmpLayout layout = c.layout;
      if (topDown) layout.height = -layout.height;
      SCOPED_TRACE(testing::Message() << "bpp " << layout.bpp << " masks " << layout.masks.size()
                                      << " topDown " << topDown);
      auto img = Decode(MakeBmp(layout, PackRows(c.raw, layout.bpp, !topDown)));
      ASSERT_TRUE(img);
      EXPECT_EQ(img->width, int(c.raw[0].size()));
      EXPECT_EQ(img->height, int(c.raw.size()));
      EXPECT_EQ(img->bitsPerPixel, layout.bpp);
      EXPECT_EQ(img->pixels, Flat(c.want));
    }
  }
}

// The core header declares no palette size: the palette ends where the pixels begin.
TEST(BmpImageTest, ReadsOs2CoreHeaderWithThreeBytePalette) {
  BmpLayout layout{2, 2, 8, 0, {0x102030, 0x405060}, {}, 12};
  auto img = Decode(MakeBmp(layout, PackRows({{0, 1}, {2, 1}}, 8, true)));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixels, (std::vector<uint32_t>{0xFF102030, 0xFF405060, 0xFF000000, 0xFF405060}));
}

// Runs, odd literals with padding, a delta, an early end of line and pixels past the edge;
// what the data never draws is palette entry 0.
TEST(BmpImageTest, DecodesRle8AndRle4) {
  const Bytes rle8 = {3, 1, 0, 0,         // bottom row: 1 1 1, then end of line
                      0, 3, 2, 3, 1, 0,   // literal 2 3 1 (padded)
                      0, 2, 0, 1,         // delta: up one row, same x
                      1, 2, 5, 3, 0, 1};  // 2 at x=3, a run off the edge, end
  auto img = Decode(MakeBmp({4, 3, 8, 1, kPal16}, rle8));
  ASSERT_TRUE(img);
  const uint32_t k0 = 0xFF010203, w = 0xFFFFFFFF, r = 0xFFFF0000, g = 0xFF00FF00;
  EXPECT_EQ(img->pixels, Flat({{k0, k0, k0, r}, {r, g, w, k0}, {w, w, w, k0}}));

  const Bytes rle4 = {4, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x66, 0, 1};
  img = Decode(MakeBmp({5, 2, 4, 2, kPal16}, rle4));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixels,
            Flat({{0xFF00FF00, 0xFF0000FF, 0xFF123456, 0xFFABCDEF, 0xFFABCDEF}, {w, r, w, r, k0}}));
}

TEST(BmpImageTest, RejectsInconsistentFiles) {
  const Bytes good = MakeBmp({3, 2, 8, 0, kPal16}, PackRows({{1, 2, 3}, {4, 5, 6}}, 8, true));
  ASSERT_TRUE(Decode(good));
  auto with = [&](size_t at, uint8_t value) {
    Bytes b = good;
    b[at] = value;
    return b;
  };
  const Bytes bad[] = {
      with(1, 'A'),
      with(14, 64),                                                    // OS/2 2.x header
      with(26, 2),                                                     // planes
      with(28, 2),                                                     // 2 bpp
      with(30, 2),                                                     // RLE4 at 8 bpp
      with(30, 4),                                                     // JPEG
      with(18, 0),                                                     // width 0
      with(10, 20),                                                    // pixels inside the header
      with(10, uint8_t(good.size())),                                  // no pixels at all
      Bytes(good.begin(), good.end() - 2),                             // last row short
      MakeBmp({16385, 1, 8}, Bytes(16388)),                            // too wide
      MakeBmp({1, int32_t(0x80000000), 8}, Bytes(4)),                  // too tall
      MakeBmp({16384, 4097, 1}, Bytes(16)),                            // more than 64 M pixels
      MakeBmp({4, -3, 8, 1, kPal16}, {0, 1}),                          // top-down RLE
      MakeBmp({4, 3, 8, 1, kPal16}, {3, 1, 0, 0}),                     // RLE without an end
      MakeBmp({4, 3, 8, 1, kPal16}, {0, 5, 1, 2}),                     // RLE literal cut short
      MakeBmp({2, 1, 24, 3, {}, {0xFF, 0xFF00, 0xFF0000}}, Bytes(8)),  // masks at 24 bpp
      MakeBmp({2, 1, 16, 3, {}, {0xF0F, 0xF0, 0}}, Bytes(4)),          // gap in a mask
      MakeBmp({2, 1, 16, 3, {}, {0xFF00, 0x0FF0, 0xF}}, Bytes(4)),     // overlapping masks
      MakeBmp({2, 1, 16, 3, {}, {0x1F0000, 0xFF, 0xF00}}, Bytes(4)),   // mask past 16 bits
      MakeBmp({2, 1, 32, 3, {}, {0, 0, 0}}, Bytes(8)),                 // no colour at all
  };
  for (size_t i = 0; i < std::size(bad); ++i) EXPECT_FALSE(Decode(bad[i])) << "case " << i;
  // Only the last row's padding may be missing.
  EXPECT_TRUE(Decode(Bytes(good.begin(), good.end() - 1)));
}

TEST(BmpImageTest, PeekHeaderNeedsOnlyTheHeader) {
  const Bytes file = MakeBmp({3, -2, 24}, PackRows({{1, 2, 3}, {4, 5, 6}}, 24, false));
  for (size_t cut : {size_t{54}, file.size()}) {
    auto peek = BmpImage::PeekHeader(file.data(), cut);
    ASSERT_TRUE(peek);
    EXPECT_EQ(peek->width, 3);
    EXPECT_EQ(peek->height, 2);
    EXPECT_EQ(peek->bitsPerPixel, 24);
    EXPECT_TRUE(peek->pixels.empty());
  }
  EXPECT_FALSE(BmpImage::PeekHeader(file.data(), 53));
  const Bytes huge = MakeBmp({16384, -4096, 1}, {});  // exactly 64 M pixels
  EXPECT_TRUE(BmpImage::PeekHeader(huge.data(), huge.size()));
  EXPECT_FALSE(Decode(huge));
}

// Every prefix of a good file either fails or decodes to the same picture; every byte
// mutation and random buffer is survived, and a decoded picture always fits its size.
TEST(BmpImageTest, SurvivesTruncationMutationAndNoise) {
  const std::vector<Bytes> files = {
      MakeBmp({3, 2, 8, 0, kPal16}, PackRows({{1, 2, 3}, {4, 5, 6}}, 8, true)),
      MakeBmp({5, 2, 4, 2, kPal16}, {4, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x66, 0, 1}),
      MakeBmp({2, 1, 32, 3, {}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 124}, Bytes(8, 0x5A)),
      MakeBmp({2, 2, 8, 0, {1, 2}, {}, 12}, Bytes(8, 1)),
  };
  auto check = [](const Bytes& b) {
    auto img = Decode(b);
    auto peek = BmpImage::PeekHeader(b.data(), b.size());
    if (!img) return img;
    EXPECT_EQ(img->pixels.size(), size_t(img->width) * size_t(img->height));
    EXPECT_TRUE(peek && peek->width == img->width && peek->height == img->height);
    return img;
  };
  std::mt19937 rng(1234);
  for (const Bytes& file : files) {
    const auto full = Decode(file);
    ASSERT_TRUE(full);
    for (size_t n = 0; n < file.size(); ++n) {
      auto img = check(Bytes(file.begin(), file.begin() + n));
      if (img) {
        EXPECT_EQ(img->pixels, full->pixels) << "prefix " << n;
      }
    }
    for (int i = 0; i < 3000; ++i) {
      Bytes b = file;
      for (int k = 0; k < 3; ++k) b[rng() % b.size()] = uint8_t(rng());
      check(b);
    }
  }
  for (int i = 0; i < 3000; ++i) {
    Bytes b(rng() % 200);
    for (auto& v : b) v = uint8_t(rng());
    if (b.size() > 2 && i % 2) b[0] = 'B', b[1] = 'M';
    check(b);
  }
  EXPECT_FALSE(BmpImage::Decode(nullptr, 0));
}

}  // namespace
