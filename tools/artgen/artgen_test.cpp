// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the file encoders against the layouts Windows and Qt expect, and the drawings against
// what the dialogs rely on (where the pads and dots are, seamless clip looping).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

#include "resources.h"
#include "scenes.h"
#include "writers.h"

namespace artgen {
namespace {

uint32_t U32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const Bytes& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
// The built files by their paths.
std::map<std::string, const Bytes*> ByName(const std::vector<ResourceFile>& files) {
  std::map<std::string, const Bytes*> by_name;
  for (const auto& f : files) by_name[f.path] = &f.bytes;
  return by_name;
}

// A bitmap file's width, height and colour depth.
struct BmpShape {
  int w, h, bits;
};

// The program's bitmaps as drawn for ratio one.
const std::map<std::string, BmpShape> kBitmaps = {
    {"bitmaps/146.bmp", {20, 20, 4}}, {"bitmaps/147.bmp", {20, 20, 4}},
    {"bitmaps/168.bmp", {72, 91, 8}}, {"bitmaps/171.bmp", {354, 232, 8}},
    {"bitmaps/178.bmp", {10, 10, 4}}, {"bitmaps/179.bmp", {10, 10, 4}},
    {"bitmaps/180.bmp", {10, 10, 4}}, {"bitmaps/181.bmp", {10, 10, 4}},
    {"bitmaps/182.bmp", {10, 10, 4}}};

// Each bitmap of `want` is among `by_name` with its size and depth; with `fullPalette`, its
// palette holds every colour its depth can name.
void ExpectBitmaps(const std::map<std::string, const Bytes*>& by_name,
                   const std::map<std::string, BmpShape>& want, bool fullPalette) {
  for (const auto& [name, shape] : want) {
    auto it = by_name.find(name);
    ASSERT_NE(it, by_name.end()) << name;
    const Bytes& b = *it->second;
    EXPECT_EQ(U32(b, 18), static_cast<uint32_t>(shape.w)) << name;
    EXPECT_EQ(U32(b, 22), static_cast<uint32_t>(shape.h)) << name;
    EXPECT_EQ(U16(b, 28), shape.bits) << name;
    if (fullPalette) {
      EXPECT_EQ(U32(b, 46), 1u << shape.bits) << name;
    }
  }
}

std::string Tag(const Bytes& b, size_t at) {
  return std::string(reinterpret_cast<const char*>(&b[at]), 4);
}

IndexedImage Checker(int w, int h, int colours) {
  IndexedImage img;
  img.width = w;
  img.height = h;
  img.palette.resize(colours);
  for (int i = 0; i < colours; ++i)
    img.palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), 7};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.index.push_back(static_cast<uint8_t>((x + 3 * y) % colours));
  return img;
}

bool IsYellow(const Rgba& c) { return c.r > 0.75f && c.g > 0.55f && c.b < 0.45f; }

// ---- drawing surface ----

TEST(Canvas, DownsampleWeighsColourByCoverage) {
  Canvas cv(1, 1, 2, Rgba{0, 0, 0, 0});
  cv.sample(0, 0) = Rgba{1, 0, 0, 1};
  cv.sample(1, 1) = Rgba{0, 0, 1, 0.5f};
  Canvas out = cv.Downsample();
  const Rgba& p = out.at(0, 0);
  EXPECT_NEAR(p.a, 1.5 / 4, 1e-6);
  EXPECT_NEAR(p.r, 1 / 1.5, 1e-6);  // see-through samples add no black
  EXPECT_NEAR(p.b, 0.5 / 1.5, 1e-6);
}

TEST(Canvas, FillCoversInsideAndSoftensOnlyTheEdge) {
  Canvas cv(20, 20, 4, Rgba{0, 0, 0, 1});
  cv.Fill(
      {0, 0, 20, 20},
      [](Vec2 p) {
        return SdCircle(p, {10, 10}, 6.5);
      },
      Solid(Rgba{1, 1, 1, 1}));
  Canvas out = cv.Downsample();
  EXPECT_FLOAT_EQ(out.at(10, 10).r, 1.0f);
  EXPECT_FLOAT_EQ(out.at(1, 1).r, 0.0f);
  float edge = out.at(16, 10).r;  // the circle's edge runs through this pixel
  EXPECT_GT(edge, 0.2f);
  EXPECT_LT(edge, 0.8f);
}

TEST(Canvas, BlendOverTransparentKeepsSourceColour) {
  Canvas cv(1, 1, 1, Rgba{0, 0, 0, 0});
  cv.BlendSample(0, 0, Rgba{0.2f, 0.4f, 0.6f, 0.5f});
  EXPECT_FLOAT_EQ(cv.at(0, 0).g, 0.4f);
  EXPECT_FLOAT_EQ(cv.at(0, 0).a, 0.5f);
}

TEST(Shapes, DistancesAreSignedAndInPixels) {
  EXPECT_NEAR(SdCircle({13, 10}, {10, 10}, 2), 1.0, 1e-9);
  EXPECT_NEAR(SdCircle({10, 10}, {10, 10}, 2), -2.0, 1e-9);
  EXPECT_NEAR(SdBox({15, 0}, {0, 0}, {10, 4}), 5.0, 1e-9);
  EXPECT_NEAR(SdBox({0, 1}, {0, 0}, {10, 4}), -3.0, 1e-9);
  EXPECT_NEAR(SdBox({13, 7}, {0, 0}, {10, 4}), std::hypot(3.0, 3.0), 1e-9);
  EXPECT_NEAR(SdSegment({5, 3}, {0, 0}, {10, 0}, 1), 2.0, 1e-9);
  EXPECT_NEAR(SdSegment({-4, 0}, {0, 0}, {10, 0}, 1), 3.0, 1e-9);
  // The ellipse estimate only needs to be right near the outline, where edges are smoothed.
  EXPECT_NEAR(SdEllipse({21, 0}, {0, 0}, {20, 5}), 1.0, 0.05);
  EXPECT_NEAR(SdEllipse({0, 5.5}, {0, 0}, {20, 5}), 0.5, 0.05);
  EXPECT_LT(SdEllipse({0, 0}, {0, 0}, {20, 5}), 0);
}

TEST(Shapes, PositiveRotationTurnsClockwiseOnScreen) {
  // With y pointing down, a point to the right of centre swings downward.
  Vec2 r = Rotate({1, 0}, {0, 0}, std::acos(0.0));
  EXPECT_NEAR(r.x, 0, 1e-9);
  EXPECT_NEAR(r.y, 1, 1e-9);
  Vec2 back = Rotate(r, {0, 0}, -std::acos(0.0));
  EXPECT_NEAR(back.x, 1, 1e-9);
}

TEST(Noise, RepeatableAndInRange) {
  for (int i = 0; i < 200; ++i) {
    double h = Hash(i, -i * 7, 3);
    EXPECT_GE(h, 0);
    EXPECT_LT(h, 1);
    EXPECT_EQ(h, Hash(i, -i * 7, 3));
  }
  EXPECT_NE(Hash(1, 2, 3), Hash(1, 2, 4));
  // Value noise meets the lattice values at whole coordinates and stays between them.
  EXPECT_DOUBLE_EQ(ValueNoise(4, 9, 1), Hash(4, 9, 1));
  double lo = std::min(Hash(4, 9, 1), Hash(5, 9, 1)), hi = std::max(Hash(4, 9, 1), Hash(5, 9, 1));
  double mid = ValueNoise(4.5, 9, 1);
  EXPECT_GE(mid, lo);
  EXPECT_LE(mid, hi);
}

// ---- palettes ----

TEST(Palette, KeepsEveryColourWhenTheyFit) {
  std::vector<Rgb8> px = {{1, 2, 3}, {200, 10, 10}, {1, 2, 3}, {9, 9, 9}};
  auto pal = BuildPalette(px, 16);
  ASSERT_EQ(pal.size(), 3u);
  for (Rgb8 c : px) EXPECT_NE(std::find(pal.begin(), pal.end(), c), pal.end());
}

TEST(Palette, ForcedColoursComeFirstAndStayExact) {
  std::vector<Rgb8> px;
  for (int i = 0; i < 4000; ++i)
    px.push_back({static_cast<uint8_t>(i % 251), static_cast<uint8_t>(i % 97 + 40),
                  static_cast<uint8_t>(i % 13 * 9)});
  auto pal = BuildPalette(px, 16, {{0, 0, 0}, {255, 255, 255}});
  ASSERT_EQ(pal.size(), 16u);
  EXPECT_EQ(pal[0], (Rgb8{0, 0, 0}));
  EXPECT_EQ(pal[1], (Rgb8{255, 255, 255}));
}

TEST(Palette, SeparatesDistinctClusters) {
  std::vector<Rgb8> px;
  for (int i = 0; i < 50; ++i) {
    px.push_back({static_cast<uint8_t>(200 + i % 5), 10, 10});
    px.push_back({10, static_cast<uint8_t>(100 + i % 3), 250});
  }
  auto pal = BuildPalette(px, 2);
  ASSERT_EQ(pal.size(), 2u);
  std::sort(pal.begin(), pal.end(), [](Rgb8 a, Rgb8 b) { return a.r < b.r; });
  EXPECT_NEAR(pal[0].g, 101, 1);
  EXPECT_NEAR(pal[1].r, 202, 1);
}

TEST(Palette, RejectsMoreFixedColoursThanSlots) {
  EXPECT_THROW(BuildPalette({{1, 1, 1}}, 1, {{0, 0, 0}, {9, 9, 9}}), std::invalid_argument);
}

TEST(Palette, SeeThroughPixelsGoToTheMaskAndTheDarkestColour) {
  Canvas img(2, 1, 1, Rgba{0.9f, 0.9f, 0.9f, 1});
  img.sample(1, 0) = Rgba{1, 1, 1, 0.2f};
  IndexedImage q = MapToPalette(img, {{230, 230, 230}, {20, 0, 0}}, 4);
  ASSERT_EQ(q.palette.size(), 16u);
  EXPECT_TRUE(q.IsOpaque(0, 0));
  EXPECT_FALSE(q.IsOpaque(1, 0));
  EXPECT_EQ(q.at(0, 0), 0);
  EXPECT_EQ(q.at(1, 0), 1);
  EXPECT_EQ(q.bits(), 4);
}

TEST(Palette, OpaquePictureHasNoMask) {
  IndexedImage q = Quantize(Canvas(3, 3, 1, Rgba{0.5f, 0.5f, 0.5f, 1}), 8);
  EXPECT_TRUE(q.opaque.empty());
  EXPECT_EQ(q.palette.size(), 256u);
}

// ---- file formats ----

TEST(Bmp, FourBitRowsArePackedPaddedAndBottomUp) {
  IndexedImage img = Checker(5, 3, 16);
  Bytes b = EncodeBmp(img);
  ASSERT_EQ(b[0], 'B');
  ASSERT_EQ(b[1], 'M');
  const uint32_t offset = 14 + 40 + 16 * 4;
  EXPECT_EQ(U32(b, 2), b.size());
  EXPECT_EQ(U32(b, 10), offset);
  EXPECT_EQ(U32(b, 14), 40u);
  EXPECT_EQ(U32(b, 18), 5u);
  EXPECT_EQ(U32(b, 22), 3u);  // positive height: bottom-up
  EXPECT_EQ(U16(b, 28), 4);
  EXPECT_EQ(U32(b, 30), 0u);   // BI_RGB
  EXPECT_EQ(U32(b, 34), 12u);  // 3 rows of 4 bytes
  EXPECT_EQ(U32(b, 46), 16u);  // colours used
  EXPECT_EQ(b.size(), offset + 12);
  // Palette entries are blue, green, red, zero.
  EXPECT_EQ(b[54 + 4 * 3 + 0], 7);
  EXPECT_EQ(b[54 + 4 * 3 + 1], 6);
  EXPECT_EQ(b[54 + 4 * 3 + 2], 3);
  // Top picture row is the last stored row; first pixel in the high nibble.
  const size_t top = offset + 2 * 4;
  EXPECT_EQ(b[top] >> 4, img.at(0, 0));
  EXPECT_EQ(b[top] & 0xF, img.at(1, 0));
  EXPECT_EQ(b[top + 2] >> 4, img.at(4, 0));
  EXPECT_EQ(b[top + 2] & 0xF, 0);
  EXPECT_EQ(b[top + 3], 0);
  EXPECT_EQ(b[offset] >> 4, img.at(0, 2));
}

TEST(Bmp, EightBitRowsArePadded) {
  IndexedImage img = Checker(6, 2, 256);
  Bytes b = EncodeBmp(img);
  const uint32_t offset = 14 + 40 + 256 * 4;
  EXPECT_EQ(U16(b, 28), 8);
  EXPECT_EQ(U32(b, 46), 256u);
  ASSERT_EQ(b.size(), offset + 2 * 8);
  EXPECT_EQ(b[offset + 8 + 5], img.at(5, 0));
  EXPECT_EQ(b[offset + 8 + 6], 0);
  EXPECT_EQ(b[offset + 1], img.at(1, 1));
}

TEST(Bmp, RefusesOtherDepthsAndMismatchedSizes) {
  EXPECT_THROW(EncodeBmp(Checker(4, 4, 4)), std::invalid_argument);
  IndexedImage bad = Checker(4, 4, 16);
  bad.index.pop_back();
  EXPECT_THROW(EncodeBmp(bad), std::invalid_argument);
}

TEST(Ico, DirectoryPointsAtEachImageWithItsMask) {
  IndexedImage a = Checker(32, 32, 16), b = Checker(16, 16, 16), c = Checker(32, 32, 256);
  b.opaque.assign(16 * 16, 1);
  b.opaque[0] = 0;  // top-left pixel see-through
  Bytes ico = EncodeIco({a, b, c});
  EXPECT_EQ(U16(ico, 0), 0);
  EXPECT_EQ(U16(ico, 2), 1);
  ASSERT_EQ(U16(ico, 4), 3);
  const int sizes[] = {32, 16, 32}, bits[] = {4, 4, 8}, counts[] = {16, 16, 0};
  size_t expect_offset = 6 + 3 * 16;
  for (int i = 0; i < 3; ++i) {
    size_t e = 6 + 16 * i;
    EXPECT_EQ(ico[e], sizes[i]);
    EXPECT_EQ(ico[e + 1], sizes[i]);
    EXPECT_EQ(ico[e + 2], counts[i]);
    EXPECT_EQ(U16(ico, e + 6), bits[i]);
    uint32_t len = U32(ico, e + 8), at = U32(ico, e + 12);
    EXPECT_EQ(at, expect_offset);
    expect_offset += len;
    EXPECT_EQ(U32(ico, at), 40u);
    EXPECT_EQ(U32(ico, at + 8), 2u * sizes[i]);
    EXPECT_EQ(U16(ico, at + 14), bits[i]);
    size_t xor_bytes = DibStride(sizes[i], bits[i]) * sizes[i];
    size_t and_bytes = DibStride(sizes[i], 1) * sizes[i];
    EXPECT_EQ(len, 40 + 4 * (1u << bits[i]) + xor_bytes + and_bytes);
  }
  EXPECT_EQ(expect_offset, ico.size());
  // Second image's mask: its top row is stored last; the first pixel is the top bit.
  size_t at = U32(ico, 6 + 16 + 12);
  size_t mask = at + 40 + 64 + DibStride(16, 4) * 16;
  size_t top_row = mask + DibStride(16, 1) * 15;
  EXPECT_EQ(ico[top_row], 0x80);
  EXPECT_EQ(ico[mask], 0x00);
}

TEST(Avi, ChunksIndexAndHeadersAgree) {
  std::vector<IndexedImage> frames;
  for (int i = 0; i < 3; ++i) {
    IndexedImage f = Checker(10, 4, 256);
    f.index[0] = static_cast<uint8_t>(100 + i);
    frames.push_back(f);
  }
  Bytes avi = EncodeAvi(frames, 12);
  ASSERT_EQ(Tag(avi, 0), "RIFF");
  EXPECT_EQ(U32(avi, 4), avi.size() - 8);
  EXPECT_EQ(Tag(avi, 8), "AVI ");
  EXPECT_EQ(Tag(avi, 12), "LIST");
  EXPECT_EQ(Tag(avi, 20), "hdrl");
  ASSERT_EQ(Tag(avi, 24), "avih");
  EXPECT_EQ(U32(avi, 28), 56u);
  EXPECT_EQ(U32(avi, 32), 83333u);
  EXPECT_EQ(U32(avi, 32 + 12) & 0x10, 0x10u);
  EXPECT_EQ(U32(avi, 32 + 16), 3u);
  EXPECT_EQ(U32(avi, 32 + 32), 10u);
  EXPECT_EQ(U32(avi, 32 + 36), 4u);

  // Walk the top-level chunks.
  std::map<std::string, size_t> where;
  for (size_t at = 12; at + 8 <= avi.size();) {
    std::string id = Tag(avi, at) == "LIST" ? Tag(avi, at + 8) : Tag(avi, at);
    where[id] = at;
    uint32_t size = U32(avi, at + 4);
    at += 8 + size + (size & 1);
  }
  ASSERT_TRUE(where.count("hdrl") && where.count("movi") && where.count("idx1"));
  size_t strl = where["hdrl"] + 12 + 8 + 56;
  ASSERT_EQ(Tag(avi, strl + 8), "strl");
  size_t strh = strl + 12;
  ASSERT_EQ(Tag(avi, strh), "strh");
  EXPECT_EQ(Tag(avi, strh + 8), "vids");
  EXPECT_EQ(U32(avi, strh + 8 + 20), 1u);   // scale
  EXPECT_EQ(U32(avi, strh + 8 + 24), 12u);  // rate
  EXPECT_EQ(U32(avi, strh + 8 + 32), 3u);   // length
  size_t strf = strh + 8 + U32(avi, strh + 4);
  ASSERT_EQ(Tag(avi, strf), "strf");
  EXPECT_EQ(U32(avi, strf + 4), 40u + 1024u);
  EXPECT_EQ(U16(avi, strf + 8 + 14), 8);
  EXPECT_EQ(U32(avi, strf + 8 + 32), 256u);

  size_t movi_tag = where["movi"] + 8;
  size_t idx = where["idx1"];
  ASSERT_EQ(U32(avi, idx + 4), 3u * 16);
  for (int i = 0; i < 3; ++i) {
    size_t e = idx + 8 + 16 * i;
    EXPECT_EQ(Tag(avi, e), "00db");
    EXPECT_EQ(U32(avi, e + 4), 0x10u);
    size_t chunk = movi_tag + U32(avi, e + 8);
    ASSERT_EQ(Tag(avi, chunk), "00db");
    EXPECT_EQ(U32(avi, chunk + 4), U32(avi, e + 12));
    EXPECT_EQ(U32(avi, chunk + 4), DibStride(10, 8) * 4);
    // First pixel of the top row sits in the last stored row.
    EXPECT_EQ(avi[chunk + 8 + DibStride(10, 8) * 3], 100 + i);
  }
}

TEST(Avi, FramesMustShareSizeAndPalette) {
  IndexedImage a = Checker(4, 4, 256), b = a;
  b.palette[3] = {1, 1, 1};
  EXPECT_THROW(EncodeAvi({a, b}, 15), std::invalid_argument);
  EXPECT_THROW(EncodeAvi({a, Checker(8, 4, 256)}, 15), std::invalid_argument);
  EXPECT_THROW(EncodeAvi({Checker(4, 4, 16)}, 15), std::invalid_argument);
  EXPECT_THROW(EncodeAvi({}, 15), std::invalid_argument);
}

TEST(Pam, HeaderAndAlpha) {
  Canvas c(2, 1, 1, Rgba{1, 0, 0, 1});
  c.sample(1, 0) = Rgba{0, 0, 1, 0};
  Bytes b = EncodePam(c);
  std::string text(b.begin(), b.end());
  const std::string head =
      "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  ASSERT_EQ(text.substr(0, head.size()), head);
  ASSERT_EQ(b.size(), head.size() + 8);
  EXPECT_EQ(b[head.size()], 255);
  EXPECT_EQ(b[head.size() + 3], 255);
  EXPECT_EQ(b[head.size() + 7], 0);
}

// ---- the pictures ----

TEST(Board, FingerPadsAreBigYellowAndClearOfTheDots) {
  Canvas board = DrawCircuitBoard();
  ASSERT_EQ(board.width(), kBoardWidth);
  ASSERT_EQ(board.height(), kBoardHeight);
  auto pads = FingerPads();
  for (size_t i = 0; i < pads.size(); ++i) {
    const Circle& pad = pads[i];
    EXPECT_GE(pad.radius * 2, 50);
    EXPECT_LE(pad.radius * 2, 60);
    EXPECT_GE(pad.centre.x - pad.radius, 0);
    EXPECT_LE(pad.centre.x + pad.radius, kBoardWidth);
    EXPECT_GE(pad.centre.y - pad.radius, 0);
    EXPECT_LE(pad.centre.y + pad.radius, kBoardHeight);
    int yellow = 0, total = 0;
    for (int dy = -15; dy <= 15; dy += 5)
      for (int dx = -15; dx <= 15; dx += 5, ++total)
        yellow += IsYellow(
            board.at(static_cast<int>(pad.centre.x) + dx, static_cast<int>(pad.centre.y) + dy));
    EXPECT_GT(yellow, total * 3 / 4) << "pad " << i;
    for (size_t j = i + 1; j < pads.size(); ++j)
      EXPECT_GT(Length(pads[j].centre - pad.centre), 2 * pad.radius + 10);
    // Little finger leftmost, index rightmost, middle finger reaching furthest up.
    if (i > 0) {
      EXPECT_GT(pad.centre.x, pads[i - 1].centre.x);
    }
  }
  EXPECT_LT(pads[2].centre.y, pads[0].centre.y);
  EXPECT_LT(pads[2].centre.y, pads[3].centre.y);
  // No dot may land on a pad or the copper ring round it.
  for (Vec2 corner : kSensorDotCorners) {
    for (const Circle& pad : pads) {
      Vec2 nearest{std::clamp(pad.centre.x, corner.x, corner.x + kSensorDotSize),
                   std::clamp(pad.centre.y, corner.y, corner.y + kSensorDotSize)};
      EXPECT_GT(Length(nearest - pad.centre), pad.radius + 4) << corner.x << "," << corner.y;
    }
  }
}

TEST(Board, DotSpotsAreLeftDarkForTheDialogToFill) {
  Canvas board = DrawCircuitBoard();
  for (Vec2 corner : kSensorDotCorners) {
    for (int y = 0; y < kSensorDotSize; ++y) {
      for (int x = 0; x < kSensorDotSize; ++x) {
        const Rgba& p = board.at(static_cast<int>(corner.x) + x, static_cast<int>(corner.y) + y);
        EXPECT_LT(p.r + p.g + p.b, 1.2f) << corner.x << "," << corner.y;
      }
    }
  }
}

TEST(Board, LooksLikeAGreenBoard) {
  Canvas board = DrawCircuitBoard();
  int green = 0, total = 0;
  for (int y = 0; y < kBoardHeight; y += 3)
    for (int x = 0; x < kBoardWidth; x += 3, ++total) {
      const Rgba& p = board.at(x, y);
      green += p.g > p.r * 1.5f && p.g > p.b * 1.5f;
    }
  EXPECT_GT(green, total / 3);
}

TEST(Lamp, UnlitIsGreyWithWhiteHighlightOnBlack) {
  Canvas lamp = DrawLamp(false);
  ASSERT_EQ(lamp.width(), 20);
  const Rgba& corner = lamp.at(0, 0);
  EXPECT_EQ(corner.r + corner.g + corner.b, 0.0f);
  const Rgba& mid = lamp.at(10, 11);
  EXPECT_NEAR(mid.r, mid.g, 0.05);
  EXPECT_GT(mid.r, 0.25f);
  float brightest = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) brightest = std::max(brightest, lamp.at(x, y).b);
  EXPECT_GT(brightest, 0.9f);
}

TEST(Lamp, LitIsRedOnNearBlack) {
  Canvas lamp = DrawLamp(true);
  const Rgba& corner = lamp.at(0, 0);
  EXPECT_LT(corner.r + corner.g + corner.b, 0.15f);
  const Rgba& mid = lamp.at(11, 12);
  EXPECT_GT(mid.r, 0.7f);
  EXPECT_GT(mid.r, 2 * mid.g);
  EXPECT_GT(mid.r, 2 * mid.b);
}

TEST(SensorDot, EachColourReadsAsItself) {
  auto check = [](DotColour c, auto pred, const char* name) {
    Canvas dot = DrawSensorDot(c);
    ASSERT_EQ(dot.width(), 10);
    const Rgba& mid = dot.at(5, 6);
    EXPECT_TRUE(pred(mid)) << name << " " << mid.r << " " << mid.g << " " << mid.b;
    const Rgba& corner = dot.at(0, 9);
    EXPECT_LT(corner.r + corner.g + corner.b, 0.6f) << name;
  };
  check(
      DotColour::kBlue, [](Rgba p) { return p.b > p.r + 0.3f && p.b > p.g; }, "blue");
  check(
      DotColour::kGreen, [](Rgba p) { return p.g > p.r + 0.3f && p.g > p.b + 0.3f; }, "green");
  check(
      DotColour::kGrey, [](Rgba p) { return std::abs(p.r - p.b) < 0.08f && p.g > 0.3f; }, "grey");
  check(
      DotColour::kRed, [](Rgba p) { return p.r > p.g + 0.4f && p.r > p.b + 0.4f; }, "red");
  check(
      DotColour::kAmber, [](Rgba p) { return p.r > 0.7f && p.g > 0.35f && p.b < p.g * 0.5f; },
      "amber");
}

TEST(Icon, RoundBadgeOnClearBackground) {
  for (int size : kIconPngSizes) {
    Canvas icon = DrawIcon(size);
    ASSERT_EQ(icon.width(), size);
    EXPECT_LT(icon.at(0, 0).a, 0.1f) << size;
    EXPECT_LT(icon.at(size - 1, size - 1).a, 0.1f) << size;
    const Rgba& face = icon.at(size / 2, size * 3 / 10);  // forehead
    EXPECT_GT(face.a, 0.99f);
    EXPECT_GT(face.g, 0.6f) << size;
    EXPECT_GT(face.g, face.b + 0.3f) << size;
    const Rgba& eye = icon.at(size * 3 / 8, size / 2);
    EXPECT_LT(eye.r + eye.g + eye.b, 0.5f) << size;
  }
}

TEST(Portrait, BlueFaceWithDarkEyes) {
  Canvas face = DrawAlienPortrait();
  ASSERT_EQ(face.width(), 72);
  ASSERT_EQ(face.height(), 91);
  const Rgba& forehead = face.at(36, 18);
  EXPECT_GT(forehead.b, forehead.r + 0.15f);
  EXPECT_GT(forehead.b, 0.5f);
  for (int x : {24, 47}) {
    const Rgba& eye = face.at(x, 46);
    EXPECT_LT(eye.r + eye.g + eye.b, 0.6f) << x;
  }
  const Rgba& corner = face.at(0, 0);
  EXPECT_LT(corner.r + corner.g + corner.b, 0.3f);
  EXPECT_GE(corner.b, corner.r);
}

TEST(Clip, LastFrameRunsBackIntoTheFirst) {
  Canvas start = DrawClipFrame(0.0), end = DrawClipFrame(1.0), middle = DrawClipFrame(0.5);
  ASSERT_EQ(start.width(), kClipWidth);
  ASSERT_EQ(start.height(), kClipHeight);
  float worst = 0, changed = 0;
  for (int y = 0; y < kClipHeight; ++y) {
    for (int x = 0; x < kClipWidth; ++x) {
      const Rgba &a = start.at(x, y), &b = end.at(x, y), &m = middle.at(x, y);
      worst = std::max({worst, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
      changed += std::abs(a.g - m.g) > 0.1f;
    }
  }
  EXPECT_LT(worst, 1.0f / 255);
  EXPECT_GT(changed, 500);  // a good share of the picture moves
  EXPECT_EQ(start.at(0, 0).g, 0.0f);
}

// ---- high-density screens ----

// `big` reduced by `k` x `k` block averages, to compare with the picture drawn at ratio 1.
double MeanDifferenceAfterReducing(const Canvas& big, int k, const Canvas& small) {
  double sum = 0;
  for (int y = 0; y < small.height(); ++y) {
    for (int x = 0; x < small.width(); ++x) {
      Rgba avg{0, 0, 0, 0};
      for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i) {
          const Rgba& p = big.at(x * k + i, y * k + j);
          avg = {avg.r + p.r, avg.g + p.g, avg.b + p.b, 0};
        }
      const Rgba& s = small.at(x, y);
      sum += std::abs(avg.r / (k * k) - s.r) + std::abs(avg.g / (k * k) - s.g) +
             std::abs(avg.b / (k * k) - s.b);
    }
  }
  return sum / (3.0 * small.width() * small.height());
}

// Share of the 2 x 2 blocks of a ratio-2 picture whose pixels are not all alike. An enlarged
// ratio-1 picture has none (nearest neighbour) or only faint ones (linear).
double ShareOfDetailedBlocks(const Canvas& big) {
  int detailed = 0, blocks = 0;
  for (int y = 0; y + 1 < big.height(); y += 2) {
    for (int x = 0; x + 1 < big.width(); x += 2, ++blocks) {
      const Rgba& a = big.at(x, y);
      float spread = 0;
      for (const Rgba* p : {&big.at(x + 1, y), &big.at(x, y + 1), &big.at(x + 1, y + 1)})
        spread = std::max({spread, std::abs(p->r - a.r), std::abs(p->g - a.g), std::abs(p->b - a.b)});
      detailed += spread > 4.0f / 255;
    }
  }
  return static_cast<double>(detailed) / blocks;
}

TEST(Ratio, PicturesAreDrawnAnewWithMorePixelsOfTheSamePicture) {
  struct Case {
    const char* name;
    Canvas one, two;
    double detail;  // share of 2 x 2 blocks that must carry detail of their own
  };
  Case cases[] = {
      {"lamp", DrawLamp(true), DrawLamp(true, 2), 0.5},
      {"dot", DrawSensorDot(DotColour::kAmber), DrawSensorDot(DotColour::kAmber, 2), 0.5},
      {"portrait", DrawAlienPortrait(), DrawAlienPortrait(2), 0.3},
      {"board", DrawCircuitBoard(), DrawCircuitBoard(2), 0.3},
      {"clip", DrawClipFrame(0.3), DrawClipFrame(0.3, 2), 0.1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.two.width(), 2 * c.one.width());
    ASSERT_EQ(c.two.height(), 2 * c.one.height());
    EXPECT_LT(MeanDifferenceAfterReducing(c.two, 2, c.one), 0.02);
    EXPECT_GT(ShareOfDetailedBlocks(c.two), c.detail);
  }
}

TEST(Ratio, OneAndAHalfRoundsEachSideToWholePixels) {
  EXPECT_EQ(DrawLamp(false, 1.5).width(), 30);
  Canvas face = DrawAlienPortrait(1.5);
  EXPECT_EQ(face.width(), 108);
  EXPECT_EQ(face.height(), 137);  // 136.5
  // Still the same face: the eyes dark, the forehead blue, where they are at ratio 1.
  const Rgba& forehead = face.at(54, 27);
  EXPECT_GT(forehead.b, forehead.r + 0.15f);
  const Rgba& eye = face.at(36, 69);
  EXPECT_LT(eye.r + eye.g + eye.b, 0.6f);
  Canvas board = DrawCircuitBoard(1.5);
  EXPECT_EQ(board.width(), 531);
  EXPECT_EQ(board.height(), 348);
  for (const Circle& pad : FingerPads())
    EXPECT_TRUE(IsYellow(board.at(static_cast<int>(pad.centre.x * 1.5) + 10,
                                  static_cast<int>(pad.centre.y * 1.5) + 10)));
}

TEST(Ratio, ScaledFilesKeepTheColourDepthsAndLoopOfRatioOne) {
  const auto files = BuildScaledResources();
  auto by_name = ByName(files);
  EXPECT_EQ(files.size(), 2u * (9 + 1));  // nine bitmaps and the clip at each ratio
  // Each bitmap grows by the ratio, to the nearest whole pixel, and keeps its depth.
  for (double ratio : {1.5, 2.0}) {
    std::map<std::string, BmpShape> scaled;
    for (const auto& [name, shape] : kBitmaps) {
      const std::string stem = name.substr(0, name.size() - 4);
      scaled[stem + RatioSuffix(ratio) + ".bmp"] = {static_cast<int>(std::lround(shape.w * ratio)),
                                                    static_cast<int>(std::lround(shape.h * ratio)),
                                                    shape.bits};
    }
    ExpectBitmaps(by_name, scaled, false);
  }
  for (auto [name, w, h] : {std::tuple{"qx@1.5x.avi", 450u, 144u}, {"qx@2x.avi", 600u, 192u}}) {
    ASSERT_TRUE(by_name.count(name)) << name;
    const Bytes& avi = *by_name[name];
    EXPECT_EQ(U32(avi, 32 + 16), static_cast<uint32_t>(kClipFrames)) << name;
    EXPECT_EQ(U32(avi, 32 + 32), w) << name;
    EXPECT_EQ(U32(avi, 32 + 36), h) << name;
  }
  EXPECT_EQ(RatioSuffix(1.5), "@1.5x");
  EXPECT_EQ(RatioSuffix(2), "@2x");
}

TEST(Resources, EveryFileWithItsDepthAndSize) {
  const auto files = BuildResources();
  auto by_name = ByName(files);
  ExpectBitmaps(by_name, kBitmaps, true);
  ASSERT_TRUE(by_name.count("icons/quorblex.ico"));
  const Bytes& ico = *by_name["icons/quorblex.ico"];
  ASSERT_EQ(U16(ico, 4), 3);
  for (int i = 0; i < 3; ++i) {
    // The round badge leaves the corners see-through: the top-left bit of the top mask row.
    size_t at = U32(ico, 6 + 16 * i + 12);
    int side = ico[6 + 16 * i], bits = U16(ico, at + 14);
    size_t mask = at + 40 + 4 * (size_t{1} << bits) + DibStride(side, bits) * side;
    EXPECT_EQ(ico[mask + DibStride(side, 1) * (side - 1)] & 0x80, 0x80) << i;
    size_t middle_row = mask + DibStride(side, 1) * (side / 2);
    EXPECT_EQ(ico[middle_row + side / 16] & (0x80 >> (side / 2 % 8)), 0) << i;
  }
  ASSERT_TRUE(by_name.count("qx.avi"));
  const Bytes& avi = *by_name["qx.avi"];
  EXPECT_LT(avi.size(), 2u * 1024 * 1024);
  EXPECT_EQ(U32(avi, 32 + 16), static_cast<uint32_t>(kClipFrames));
  double seconds = static_cast<double>(kClipFrames) / kClipFps;
  EXPECT_GE(seconds, 2.0);
  EXPECT_LE(seconds, 4.0);
  EXPECT_EQ(U32(avi, 32 + 32), static_cast<uint32_t>(kClipWidth));
  EXPECT_EQ(U32(avi, 32 + 36), static_cast<uint32_t>(kClipHeight));
}

}  // namespace
}  // namespace artgen
