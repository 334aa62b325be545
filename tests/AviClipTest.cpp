// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/AviClip.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/NativePath.h"
#include "common/SystemFolders.h"
#include "tests/support/AudioBytes.h"

namespace {

using Pixels = std::vector<uint32_t>;

const std::string kRoot = QUORBLEX_SOURCE_DIR;

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A chunk, padded to an even length; `size` overrides the size field.
Bytes Ck(const char* id, const Bytes& payload, int64_t size = -1) {
  Bytes out(id, id + 4);
  Put32(out, size < 0 ? uint32_t(payload.size()) : uint32_t(size));
  out.insert(out.end(), payload.begin(), payload.end());
  if (payload.size() % 2) out.push_back(0);
  return out;
}
Bytes List(const char* type, const Bytes& items, const char* id = "LIST", int64_t size = -1) {
  return Ck(id, Cat({Bytes(type, type + 4), items}), size);
}

Bytes Strl(const char* type, int32_t w, int32_t h, uint16_t bpp, uint32_t compression,
           const std::vector<uint32_t>& palette = {}, uint32_t scale = 1, uint32_t rate = 10) {
  Bytes strh(type, type + 4), strf;
  strh.resize(20, 0);
  Put32(strh, scale), Put32(strh, rate);
  strh.resize(56, 0);
  Put32(strf, 40), Put32(strf, w), Put32(strf, h), Put16(strf, 1), Put16(strf, bpp);
  Put32(strf, compression), Put32(strf, 0), Put32(strf, 0), Put32(strf, 0);
  Put32(strf, uint32_t(palette.size())), Put32(strf, 0);
  for (uint32_t c : palette) Put32(strf, c);
  return List("strl", Cat({Ck("strh", strh), Ck("strf", strf)}));
}

Bytes Avi(const Bytes& strls, const Bytes& movi, uint32_t micros = 100000) {
  Bytes avih;
  Put32(avih, micros);
  avih.resize(56, 0);
  return List("AVI ", Cat({List("hdrl", Cat({Ck("avih", avih), strls})), List("movi", movi)}),
              "RIFF");
}

std::optional<AviClip> Parse(const Bytes& b) { return AviClip::Parse(b.data(), b.size()); }

const std::vector<uint32_t> kPal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
constexpr uint32_t K = 0xFF000000, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF;

uint64_t Fnv(const Pixels& px) {
  uint64_t h = 0xcbf29ce484222325;
  for (uint32_t v : px) h = (h ^ v) * 0x100000001b3;
  return h;
}

// Hashes of the frames as ffmpeg itself decodes these files.
TEST(AviClipTest, ReadsFfmpegClipsAsFfmpegDoes) {
  const std::vector<uint64_t> pal8 = {0xe26eadd5bbd1d82a, 0x611ad74167b9dc1b, 0x56f7ec3ca13b8490};
  const struct {
    const char* name;
    std::vector<uint64_t> hashes;
  } files[] = {
      {"testsrc_pal8.avi", pal8},           // top-down, JUNK, vprp, INFO and idx1
      {"testsrc_pal8_streamed.avi", pal8},  // open sizes, palette only in a '00pc' chunk
      {"testsrc_rle8.avi", pal8},           // key and delta frames, 'rec ' list, odd JUNK
      {"testsrc_bgr24_bottomup.avi", {0x60725f6433354211, 0x45d214d6bffe6a51}},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    auto clip = AviClip::Load(kRoot + "/tests/data/" + f.name);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->Width(), 32);
    EXPECT_EQ(clip->Height(), 24);
    EXPECT_EQ(clip->MicrosPerFrame(), 100000);
    ASSERT_EQ(clip->FrameCount(), int(f.hashes.size()));
    for (int i = 0; i < clip->FrameCount(); ++i) EXPECT_EQ(Fnv(clip->Frame(i)), f.hashes[i]);
  }
  EXPECT_FALSE(AviClip::Load(kRoot + "/tests/data/missing.avi"));
  EXPECT_FALSE(AviClip::Load(kRoot + "/tests/data"));
  EXPECT_FALSE(AviClip::Load("/dev/zero"));  // endless input: reading stops at the cap
}

TEST(AviClipTest, RealClipHasItsSizeAndLength) {
  const std::string path = kRoot + "/res/qx.avi";
  ASSERT_TRUE(std::filesystem::exists(path)) << path << " is missing (tools/gen_art.sh makes it)";
  auto clip = AviClip::Load(path);
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->Width(), 300);
  EXPECT_EQ(clip->Height(), 96);
  const int64_t micros = clip->FrameCount() * clip->MicrosPerFrame();
  EXPECT_GE(micros, 2'000'000);
  EXPECT_LE(micros, 4'000'000);
}

TEST(AviClipTest, DecodesUncompressedFramesBothWays) {
  const struct {
    uint16_t bpp;
    Bytes bottomUp;  // 3x2, rows padded to 4 bytes
  } cases[] = {
      {8, {3, 0, 1, 9, 1, 2, 3, 9}},
      {24, {255, 0, 0, 0, 0, 0, 0, 0, 255, 9, 9, 9, 0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9}},
      {32, {255, 0, 0, 7, 0, 0, 0, 7, 0, 0, 255, 7, 0, 0, 255, 7, 0, 255, 0, 7, 255, 0, 0, 7}},
  };
  for (const auto& c : cases) {
    const size_t half = c.bottomUp.size() / 2;
    Bytes topDown(c.bottomUp.begin() + half, c.bottomUp.end());
    topDown.insert(topDown.end(), c.bottomUp.begin(), c.bottomUp.begin() + half);
    for (int32_t h : {2, -2}) {
      auto clip =
          Parse(Avi(Strl("vids", 3, h, c.bpp, 0, kPal), Ck("00db", h > 0 ? c.bottomUp : topDown)));
      ASSERT_TRUE(clip) << c.bpp;
      EXPECT_EQ(clip->Frame(0), (Pixels{R, G, B, B, K, R})) << c.bpp << " " << h;
    }
  }
}

// Delta frames draw over the picture before them; a palette change recolours what follows.
TEST(AviClipTest, RleDeltasAndPaletteChangesBuildOnEarlierFrames) {
  const Bytes key = {4, 1, 0, 0, 0, 4, 2, 3, 2, 3, 0, 1};  // bottom 1 1 1 1, top 2 3 2 3
  const Bytes delta = {0, 2, 1, 1, 2, 0, 0, 1};            // two 0s at (1, top)
  Bytes pc = {1, 1, 0, 0, 0x10, 0x20, 0x30, 0};            // entry 1 := 0x102030
  auto clip = Parse(
      Avi(Strl("vids", 4, 2, 8, 1, kPal), Cat({Ck("00dc", key), Ck("00dc", delta), Ck("00pc", pc),
                                               Ck("00dc", {0, 1}), Ck("00dc", {})})));
  ASSERT_TRUE(clip);
  ASSERT_EQ(clip->FrameCount(), 4);
  EXPECT_EQ(clip->Frame(0), (Pixels{G, B, G, B, R, R, R, R}));
  EXPECT_EQ(clip->Frame(1), (Pixels{G, K, K, B, R, R, R, R}));
  EXPECT_EQ(clip->Frame(2), (Pixels{G, K, K, B, 0xFF102030, 0xFF102030, 0xFF102030, 0xFF102030}));
  EXPECT_EQ(&clip->Frame(3), &clip->Frame(2));  // an empty chunk repeats the picture
  EXPECT_TRUE(clip->Frame(4).empty());
  EXPECT_TRUE(clip->Frame(-1).empty());
}

// Pictures are decoded when asked for. RLE deltas and palette changes depend on what came
// before, so any order of asking (back, forth, again, jumping) must give what playing through
// from the start gives, and a picture a caller holds stays as it was.
TEST(AviClipTest, FramesDecodeTheSameInAnyOrder) {
  const Bytes key = {4, 1, 0, 0, 0, 4, 2, 3, 2, 3, 0, 1};
  const Bytes delta = {0, 2, 1, 1, 2, 0, 0, 1};
  const Bytes pc = {1, 1, 0, 0, 0x10, 0x20, 0x30, 0};
  const Bytes synthetic =
      Avi(Strl("vids", 4, 2, 8, 1, kPal),
          Cat({Ck("00dc", key), Ck("00dc", delta), Ck("00pc", pc), Ck("00dc", {0, 1}),
               Ck("00dc", {}), Ck("00dc", key), Ck("00dc", delta)}));
  std::vector<std::optional<AviClip>> clips = {Parse(synthetic)};
  for (const char* name : {"testsrc_pal8_streamed.avi", "testsrc_rle8.avi"})
    clips.push_back(AviClip::Load(kRoot + "/tests/data/" + name));
  std::mt19937 rng(5);
  for (auto& clip : clips) {
    ASSERT_TRUE(clip);
    const int n = clip->FrameCount();
    std::vector<Pixels> inOrder;
    for (int i = 0; i < n; ++i) inOrder.push_back(clip->Frame(i));
    auto held = clip->FramePixels(n - 1);
    const Pixels heldCopy = *held;
    std::vector<int> order;
    for (int i = n - 1; i >= 0; --i) order.push_back(i);
    for (int i = 0; i < 40; ++i) order.push_back(static_cast<int>(rng() % n));
    for (int i : order) ASSERT_EQ(clip->Frame(i), inOrder[i]) << "frame " << i;
    EXPECT_EQ(*held, heldCopy);
    // A copy of the clip shows the same pictures.
    const AviClip copy = *clip;
    for (int i = n - 1; i >= 0; --i) EXPECT_EQ(copy.Frame(i), inOrder[i]);
  }
}

// A loaded clip reads its frames from the file it keeps open: a new file put in its place
// changes nothing, and the same file cut short gives pictures of the right size, not a crash.
TEST(AviClipTest, FramesComeFromTheFileAsItWasOpened) {
  namespace fs = std::filesystem;
  const fs::path dir = NativePath(NewTempFolder("avi-"));
  ASSERT_FALSE(dir.empty());
  const fs::path path = dir / "clip.avi";
  fs::copy_file(kRoot + "/tests/data/testsrc_rle8.avi", path, fs::copy_options::overwrite_existing);
  const auto reference = AviClip::Load(kRoot + "/tests/data/testsrc_rle8.avi");
  ASSERT_TRUE(reference);

  auto clip = AviClip::Load(Utf8Path(path));
  ASSERT_TRUE(clip);
  std::ofstream(dir / "other.avi", std::ios::binary) << "RIFF junk";
  // Windows keeps the name of a file that is open, so there the new file cannot take its place
  // and the frames come from the old one all the more.
  std::error_code renamed;
  fs::rename(dir / "other.avi", path, renamed);
  for (int i = clip->FrameCount() - 1; i >= 0; --i) EXPECT_EQ(clip->Frame(i), reference->Frame(i));

  fs::copy_file(kRoot + "/tests/data/testsrc_rle8.avi", path, fs::copy_options::overwrite_existing);
  clip = AviClip::Load(Utf8Path(path));
  ASSERT_TRUE(clip);
  fs::resize_file(path, 100);
  for (int i = 0; i < clip->FrameCount(); ++i)
    EXPECT_EQ(clip->Frame(i).size(), size_t(clip->Width()) * clip->Height());
  clip.reset();  // Windows removes no folder with an open file in it
  fs::remove_all(dir);
}

TEST(AviClipTest, PicksTheVideoStreamAndSkipsTheRest) {
  const Bytes red(8, 1), green(8, 2);
  const Bytes movi =
      Cat({Ck("00wb", {1, 2, 3}), Ck("01dc", {9}), Ck("JUNK", {7}), Ck("xxxx", {}),
           List("rec ", Cat({Ck("00wb", {}), Ck("01db", red)})), List("abcd", Ck("01dc", green)),
           Ck("02dc", green), Ck("01dc", green), Ck("ix01", {})});
  auto clip = Parse(Avi(Cat({Strl("auds", 0, 0, 16, 1), Strl("vids", 2, 2, 8, 0, kPal)}), movi));
  ASSERT_TRUE(clip);
  ASSERT_EQ(clip->FrameCount(), 2);  // '01dc' {9} is too short and came before any picture
  EXPECT_EQ(clip->Frame(0), Pixels(4, R));
  EXPECT_EQ(clip->Frame(1), Pixels(4, G));
}

TEST(AviClipTest, TimingFallsBackToTheStreamRateAndIsClamped) {
  const struct {
    uint32_t avih, scale, rate;
    int64_t want;
  } cases[] = {{66666, 1, 15, 66666}, {0, 1, 15, 66667},       {0, 0, 0, 1000},
               {5, 1, 15, 1000},      {0, 100, 1, 10'000'000}, {0xFFFFFFFF, 1, 1, 10'000'000}};
  for (const auto& c : cases) {
    auto clip = Parse(
        Avi(Strl("vids", 1, 1, 8, 0, kPal, c.scale, c.rate), Ck("00dc", {1, 0, 0, 0}), c.avih));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->MicrosPerFrame(), c.want) << c.avih << " " << c.scale << "/" << c.rate;
  }
}

TEST(AviClipTest, RejectsClipsItCannotShow) {
  const Bytes frame = Ck("00dc", Bytes(64, 1));
  const Bytes bad[] = {
      Bytes{},
      List("WAVE", {}, "RIFF"),
      List("AVI ", List("movi", frame), "RIFF"),       // no hdrl
      Avi(Strl("auds", 4, 4, 8, 0), frame),            // no video
      Avi(Strl("vids", 4, 4, 24, 0x44495658), frame),  // XVID
      Avi(Strl("vids", 4, 4, 4, 2, kPal), frame),      // RLE4
      Avi(Strl("vids", 4, 4, 16, 0), frame),
      Avi(Strl("vids", 0, 4, 8, 0), frame),
      Avi(Strl("vids", 4097, 1, 8, 1), frame),
      Avi(Strl("vids", 4, -4, 8, 1), frame),                 // top-down RLE
      Avi(Strl("vids", 4, 4, 8, 0), Ck("00dc", Bytes(15))),  // no complete frame
      Avi(Strl("vids", 4, 4, 8, 0), {}),
  };
  for (size_t i = 0; i < std::size(bad); ++i) EXPECT_FALSE(Parse(bad[i])) << "case " << i;
}

TEST(AviClipTest, SurvivesHostileSizesAndNesting) {
  const Bytes strl = Strl("vids", 2, 1, 8, 0, kPal);
  const Bytes frame = Ck("00dc", {1, 2, 0, 0});
  Bytes zeros;
  for (int i = 0; i < 1000; ++i) zeros.insert(zeros.end(), {'J', 'U', 'N', 'K', 0, 0, 0, 0});
  const struct {
    Bytes file;
    int frames;
  } cases[] = {
      {Avi(strl, Cat({frame, Ck("00dc", {1, 1, 0, 0}, 0xFFFFFFFF), frame})), 1},
      {Avi(strl, Cat({frame, Ck("00dc", {1, 1}, 0xFFFFFFF0)})), 1},
      {List("AVI ",
            Cat({List("hdrl", strl), List("movi", Cat({frame, frame}), "LIST", 0xFFFFFFFF)}),
            "RIFF", 0xFFFFFFFF),
       2},
      {Avi(strl, Cat({zeros, frame, Ck("LIST", {}), frame})), 2},
      {Avi(strl, List("rec ", Cat({frame, List("rec ", List("rec ", frame))}))), 2},
      {Cat({Avi(strl, frame), List("AVIX", List("movi", Cat({frame, frame})), "RIFF")}), 3},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    auto clip = Parse(cases[i].file);
    ASSERT_TRUE(clip) << "case " << i;
    EXPECT_EQ(clip->FrameCount(), cases[i].frames) << "case " << i;
  }
  // 200000 nested lists with open sizes: read to a fixed depth, never recursing further.
  Bytes deep = List("AVI ", Cat({List("hdrl", strl), List("movi", frame, "LIST", 0xFFFFFFFF)}),
                    "RIFF", 0xFFFFFFFF);
  const Bytes rec = List("rec ", {}, "LIST", 0xFFFFFFFF);
  for (int i = 0; i < 200000; ++i) deep.insert(deep.end(), rec.begin(), rec.end());
  deep.insert(deep.end(), frame.begin(), frame.end());
  auto clip = Parse(deep);
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->FrameCount(), 1);
}

TEST(AviClipTest, StopsAddingFramesAtTheLimits) {
  Bytes movi = Ck("00dc", Bytes(8, 1));
  const Bytes repeat = Ck("00dc", {});
  for (int i = 0; i < AviClip::kMaxFrames; ++i) {
    movi.insert(movi.end(), repeat.begin(), repeat.end());
  }
  auto clip = Parse(Avi(Strl("vids", 2, 2, 8, 0, kPal), movi));
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->FrameCount(), AviClip::kMaxFrames);

  // Each 4096 x 4096 picture takes 64 MiB, so 512 MiB holds eight.
  movi.clear();
  for (int i = 0; i < 9; ++i) movi = Cat({movi, Ck("00dc", {1, uint8_t(i), 0, 1})});
  clip = Parse(Avi(Strl("vids", 4096, 4096, 8, 1, kPal), movi));
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->FrameCount(), 8);
}

// Every prefix keeps exactly the frames fully present; mutations and noise never crash.
TEST(AviClipTest, SurvivesTruncationMutationAndNoise) {
  std::ifstream in(kRoot + "/tests/data/testsrc_rle8.avi", std::ios::binary);
  const Bytes file((std::istreambuf_iterator<char>(in)), {});
  const auto full = Parse(file);
  ASSERT_TRUE(full);
  int last = 0;
  for (size_t n = 0; n <= file.size(); ++n) {
    auto clip = AviClip::Parse(file.data(), n);
    if (!clip) {
      EXPECT_EQ(last, 0) << n;
      continue;
    }
    EXPECT_GE(clip->FrameCount(), last) << n;
    last = clip->FrameCount();
    for (int i = 0; i < last; ++i) ASSERT_EQ(clip->Frame(i), full->Frame(i)) << n;
  }
  EXPECT_EQ(last, 3);
  std::mt19937 rng(99);
  for (int i = 0; i < 3000; ++i) {
    Bytes b = file;
    for (int k = 0; k < 4; ++k) b[rng() % b.size()] = uint8_t(rng());
    if (auto clip = Parse(b)) {
      for (int f = 0; f < clip->FrameCount(); ++f) {
        ASSERT_EQ(clip->Frame(f).size(), size_t(clip->Width()) * clip->Height());
      }
    }
  }
  for (int i = 0; i < 3000; ++i) {
    Bytes b(rng() % 300);
    for (auto& v : b) v = uint8_t(rng());
    if (b.size() >= 12 && i % 2) std::copy_n("RIFF\377\377\377\377AVI ", 12, b.begin());
    Parse(b);
  }
}

}  // namespace
