// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <random>
#include <tuple>

#include "common/DefaultChime.h"
#include "common/WavInfo.h"

#ifndef QUORBLEX_SOURCE_DIR
#define QUORBLEX_SOURCE_DIR "."
#endif

namespace {

using Bytes = std::vector<uint8_t>;

void Le(Bytes& b, uint64_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
Bytes Words(std::initializer_list<uint16_t> ws) {
  Bytes b;
  for (uint16_t w : ws) Le(b, w, 2);
  return b;
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// A chunk; `declared` overrides the size field. Odd bodies get their pad byte.
Bytes Chunk(const char* id, const Bytes& body, int64_t declared = -1) {
  Bytes b(id, id + 4);
  Le(b, declared < 0 ? body.size() : static_cast<uint64_t>(declared), 4);
  b = b + body;
  if (body.size() & 1) b.push_back(0);
  return b;
}
Bytes Wav(std::initializer_list<Bytes> chunks) {
  Bytes body{'W', 'A', 'V', 'E'};
  for (const Bytes& c : chunks) body = body + c;
  return Chunk("RIFF", body);
}
Bytes Fmt(uint16_t tag, uint16_t ch, uint32_t rate, uint16_t align, uint16_t bits,
          const Bytes& extra = {}) {
  Bytes b;
  Le(b, tag, 2), Le(b, ch, 2), Le(b, rate, 4), Le(b, uint64_t{rate} * align, 4);
  Le(b, align, 2), Le(b, bits, 2);
  return Chunk("fmt ", b + extra);
}
const Bytes kGuidTail{0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
Bytes Extensible(uint16_t ch, uint32_t rate, uint16_t bits, uint16_t sub, Bytes tail = kGuidTail) {
  return Fmt(0xFFFE, ch, rate, ch * bits / 8, bits, Words({22, bits, 0, 0, sub, 0}) + tail);
}
Bytes MsAdpcm(uint16_t ch, uint16_t align, uint16_t spb) {
  return Fmt(2, ch, 1000, align, 4, Words({32, spb, 7}) + Bytes(28, 0));
}
Bytes Data(uint32_t n) { return Chunk("data", Bytes(n, 0x55)); }
std::optional<WavInfo> Parse(const Bytes& b) { return ParseWavInfo(b.data(), b.size()); }

// Every field in one comparable value; nullopt reads as all -1.
std::tuple<int, int, int, int, int64_t, int64_t> Key(const std::optional<WavInfo>& w) {
  if (!w) return {-1, -1, -1, -1, -1, -1};
  return {w->sampleRate, w->channels, w->bitsPerSample, w->formatTag, w->dataBytes, w->durationMs};
}
std::string TempFile(const std::string& name, const Bytes& b) {
  std::string path = ::testing::TempDir() + "/wavinfo_" + name;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
  return path;
}
struct FormatCase {
  const char* what;
  Bytes fmt;
  uint32_t dataBytes;
  int rate, channels, bits, tag;
  int64_t ms;
};

TEST(WavInfo, EachCodec) {
  // ADPCM cases run at 1000 Hz so milliseconds are samples per channel.
  const FormatCase cases[] = {
      {"pcm8", Fmt(1, 1, 8000, 1, 8), 8000, 8000, 1, 8, 1, 1000},
      {"pcm16 stereo", Fmt(1, 2, 44100, 4, 16), 88200, 44100, 2, 16, 1, 500},
      {"pcm32 part frame", Fmt(1, 2, 1000, 8, 32), 8 * 7 + 5, 1000, 2, 32, 1, 7},
      {"float32", Fmt(3, 1, 22050, 4, 32), 88200, 22050, 1, 32, 3, 1000},
      {"float64 stereo", Fmt(3, 2, 48000, 16, 64), 192000, 48000, 2, 64, 3, 250},
      {"a-law", Fmt(6, 1, 8000, 1, 8), 4000, 8000, 1, 8, 6, 500},
      {"mu-law stereo", Fmt(7, 2, 8000, 2, 8), 8000, 8000, 2, 8, 7, 500},
      {"rounds to nearest ms", Fmt(1, 1, 22050, 2, 16), 2 * 34, 22050, 1, 16, 1, 2},
      {"ext pcm24 6ch", Extensible(6, 48000, 24, 1), 6 * 3 * 4800, 48000, 6, 24, 1, 100},
      {"ext float", Extensible(2, 44100, 32, 3), 8 * 4410, 44100, 2, 32, 3, 100},
      {"ext mu-law", Extensible(1, 8000, 8, 7), 800, 8000, 1, 8, 7, 100},
      // IMA: 505 samples per 256-byte mono block; a partial block of 4 + 2 words = 17.
      {"ima", Fmt(0x11, 1, 1000, 256, 4, Words({2, 505})), 2 * 256 + 12, 1000, 1, 4, 17, 1027},
      {"ima no spb", Fmt(0x11, 1, 1000, 256, 4), 3 * 256, 1000, 1, 4, 17, 1515},
      // Stereo 1024-byte blocks hold 1017; the tail 8 + 3 word pairs + a stray 3 bytes = 25.
      {"ima stereo", Fmt(0x11, 2, 1000, 1024, 4, Words({2, 1017})), 1024 + 35, 1000, 2, 4, 17,
       1042},
      {"ima header-only tail", Fmt(0x11, 1, 1000, 256, 4, Words({2, 505})), 256 + 3, 1000, 1, 4, 17,
       505},
      {"ima smaller spb", Fmt(0x11, 1, 1000, 256, 4, Words({2, 300})), 256 + 255, 1000, 1, 4, 17,
       600},
      {"ima spb too big", Fmt(0x11, 1, 1000, 256, 4, Words({2, 9999})), 256, 1000, 1, 4, 17, 505},
      // MS: 1012 samples per 512-byte mono block; a tail of 7 + 10 bytes = 22.
      {"ms", MsAdpcm(1, 512, 1012), 2 * 512 + 17, 1000, 1, 4, 2, 2046},
      {"ms stereo", MsAdpcm(2, 1024, 1012), 1024 + 19, 1000, 2, 4, 2, 1019},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Key(Parse(Wav({c.fmt, Data(c.dataBytes)}))),
              std::tuple(c.rate, c.channels, c.bits, c.tag, int64_t{c.dataBytes}, c.ms));
  }
}

TEST(WavInfo, ChunkLayouts) {
  const Bytes fmt = Fmt(1, 1, 1000, 1, 8);
  const Bytes junk = Chunk("LIST", Bytes(3, 'x'));  // odd: followed by a pad byte
  for (const Bytes& wav : {Wav({Data(250), fmt}),
                           Wav({junk, Chunk("fact", Words({1, 0})), fmt, junk, Data(250), junk}),
                           Wav({fmt, Data(250), Data(999)})}) {
    auto info = Parse(wav);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->durationMs, 250);
  }
  auto odd = Parse(Wav({fmt, Data(7), junk}));
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->dataBytes, 7);
  Bytes streamed = Wav({fmt, Data(250)});
  for (uint8_t b : {0x00, 0xFF}) {  // the RIFF size is not relied on
    std::fill(streamed.begin() + 4, streamed.begin() + 8, b);
    EXPECT_TRUE(Parse(streamed));
  }
}

TEST(WavInfo, TruncatedUsesBytesPresent) {
  const Bytes fmt = Fmt(1, 1, 1000, 1, 8);
  auto cut = Parse(Wav({fmt, Chunk("data", Bytes(400, 1), 1000)}));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->dataBytes, 400);
  EXPECT_EQ(cut->durationMs, 400);
  auto endless = Parse(Wav({fmt, Chunk("data", Bytes(300, 1), 0xFFFFFFFF)}));
  ASSERT_TRUE(endless);
  EXPECT_EQ(endless->durationMs, 300);
  // Every prefix: nothing until the data chunk's header is in, then the bytes so far.
  const Bytes wav = Wav({Chunk("LIST", Bytes(9, 'x')), fmt, Data(100)});
  const size_t body = wav.size() - 100;
  for (size_t n = 0; n <= wav.size(); ++n) {
    auto info = ParseWavInfo(wav.data(), n);
    ASSERT_EQ(info.has_value(), n >= body) << n;
    if (info) {
      EXPECT_EQ(info->dataBytes, static_cast<int64_t>(n - body));
    }
  }
}

TEST(WavInfo, RejectsWhatCannotPlay) {
  const Bytes data = Data(100);
  const Bytes bad[] = {
      {},
      Bytes{'R', 'I', 'F', 'F'},
      Wav({}),
      Wav({Fmt(1, 1, 8000, 1, 8)}),
      Wav({data}),
      Chunk("RIFX", Bytes{'W', 'A', 'V', 'E'} + Fmt(1, 1, 8000, 1, 8) + data),
      Chunk("RIFF", Bytes{'A', 'V', 'I', ' '} + Fmt(1, 1, 8000, 1, 8) + data),
      Wav({Fmt(1, 1, 0, 1, 8), data}),                       // zero rate: zero byte rate
      Wav({Fmt(1, 0, 8000, 1, 8), data}),                    // no channels
      Wav({Fmt(1, 1, 8000, 0, 8), data}),                    // zero block
      Wav({Fmt(1, 2, 8000, 1, 8), data}),                    // block too small for the frame
      Wav({Fmt(1, 1, 8000, 2, 12), data}),                   // 12-bit PCM
      Wav({Fmt(3, 1, 8000, 2, 16), data}),                   // 16-bit float
      Wav({Fmt(6, 1, 8000, 2, 16), data}),                   // 16-bit a-law
      Wav({Fmt(0x55, 1, 8000, 1, 0), data}),                 // MP3
      Wav({Fmt(1, 1, 0x80000000u, 1, 8), data}),             // rate past int
      Wav({Fmt(0x11, 1, 8000, 3, 4), data}),                 // block smaller than its header
      Wav({Fmt(0x11, 1, 8000, 256, 3), data}),               // 3-bit IMA
      Wav({MsAdpcm(3, 1024, 0), data}),                      // MS ADPCM in 3 channels
      Wav({Extensible(1, 8000, 8, 2), data}),                // extensible ADPCM
      Wav({Extensible(1, 8000, 8, 1, Bytes(12, 0)), data}),  // foreign GUID
      Wav({Fmt(0xFFFE, 1, 8000, 1, 8, Words({0})), data}),   // extensible, no extension
      Wav({Chunk("fmt ", Words({1, 1, 8000, 0, 8000, 0, 1})), data}),  // 14-byte fmt
      // A size that wraps a 32-bit offset exactly onto the fmt chunk behind it.
      Wav({Chunk("LIST", {}, 0xFFFFFFFF), Fmt(1, 1, 8000, 1, 8), data}),
      Wav({Chunk("fmt ", {}, 0xFFFFFFFF), data}),
  };
  for (size_t i = 0; i < std::size(bad); ++i) EXPECT_FALSE(Parse(bad[i])) << "case " << i;
  EXPECT_FALSE(ParseWavInfo(nullptr, 0));
  EXPECT_FALSE(ParseWavInfo(nullptr, 64));
  // Lenient where the header is still clear: a bogus average byte rate is not used, and an
  // oversized fmt chunk is fine when its fields are all there.
  Bytes zeroAvg = Wav({Fmt(1, 1, 1000, 1, 8), data});
  std::fill(zeroAvg.begin() + 28, zeroAvg.begin() + 32, 0);
  EXPECT_TRUE(Parse(zeroAvg));
  EXPECT_TRUE(Parse(Wav({data, Chunk("fmt ", Words({1, 1, 1000, 0, 1000, 0, 1, 8}), 0xFFFFFFF0)})));
}

TEST(WavInfo, AnyBytesAreSafe) {
  std::mt19937 rng(1234);
  int accepted = 0;
  const Bytes seeds[] = {Wav({Chunk("LIST", Bytes(5, 'x')), Fmt(1, 2, 22050, 4, 16), Data(64)}),
                         Wav({Fmt(0x11, 2, 1000, 1024, 4, Words({2, 1017})), Data(40)}),
                         Wav({Data(30), MsAdpcm(2, 512, 500)}), Wav({Extensible(2, 8, 32, 3)})};
  for (int round = 0; round < 20000; ++round) {
    Bytes b = seeds[round % std::size(seeds)];
    if (round % 5 == 0) b.resize(rng() % 200);  // and a good share of pure noise
    for (int flips = 1 + rng() % 4; flips > 0 && !b.empty(); --flips) b[rng() % b.size()] = rng();
    if (round % 5 == 0) std::generate(b.begin(), b.end(), std::ref(rng));
    b.resize(rng() % (b.size() + 1));
    auto info = Parse(b);
    if (!info) continue;
    ASSERT_TRUE(info->sampleRate > 0 && info->channels > 0 && info->dataBytes >= 0 &&
                info->dataBytes <= static_cast<int64_t>(b.size()) && info->durationMs >= 0);
    if (++accepted % 25 == 0) {  // the file reader agrees on the same bytes
      ASSERT_EQ(Key(ReadWavInfo(TempFile("fuzz", b))), Key(info));
    }
  }
}

TEST(WavInfo, ReadsFilesByHeaderOnly) {
  const Bytes wav = Wav({Chunk("LIST", Bytes(5, 'x')), Fmt(1, 1, 1000, 1, 8), Data(123)});
  EXPECT_EQ(Key(ReadWavInfo(TempFile("ok.wav", wav))), Key(Parse(wav)));
  EXPECT_FALSE(ReadWavInfo(TempFile("empty.wav", {})));
  EXPECT_FALSE(ReadWavInfo(::testing::TempDir() + "/wavinfo_missing.wav"));
  EXPECT_FALSE(ReadWavInfo(::testing::TempDir()));

  // A 4 GiB sparse file: the data chunk fills 32 bits of size and fmt sits past it, beyond
  // any 32-bit offset. Only the headers are read.
  const Bytes head = Wav({}) + Chunk("data", {}, 0xFFFFFFFE);
  const Bytes fmt = Fmt(1, 1, 1000, 2, 16);
  const std::string path = ::testing::TempDir() + "/wavinfo_huge.wav";
  const uint64_t fmtAt = head.size() + uint64_t{0xFFFFFFFE};
  std::error_code ec;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(head.data()), head.size());
  std::filesystem::resize_file(path, fmtAt, ec);  // a hole, on the file systems that have them
  std::ofstream(path, std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(fmt.data()), fmt.size());
  const bool ok = !ec && std::filesystem::file_size(path, ec) == fmtAt + fmt.size();
  ASSERT_TRUE(ok) << "could not write a sparse 4 GiB file in " << ::testing::TempDir();
  auto info = ReadWavInfo(path);
  std::filesystem::remove(path, ec);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->dataBytes, 0xFFFFFFFEll);
  EXPECT_EQ(info->durationMs, 0xFFFFFFFEll / 2);
}

// Energy of `freq` in samples [from, to), by the Goertzel recurrence.
double Tone(const std::vector<int16_t>& s, int rate, double freq, size_t from, size_t to) {
  const double k = 2 * std::cos(2 * std::numbers::pi * freq / rate);
  double a = 0, b = 0;
  for (size_t i = from; i < to; ++i) {
    double c = s[i] + k * a - b;
    b = a;
    a = c;
  }
  return a * a + b * b - k * a * b;
}

TEST(DefaultChime, LengthLevelAndNotes) {
  for (int rate : {8000, 11025, 22050, 44100, 48000, 96000}) {
    SCOPED_TRACE(rate);
    auto s = DefaultChimeSamples(rate);
    ASSERT_EQ(s.size(), static_cast<size_t>(std::lround(rate * kDefaultChimeMs / 1000.0)));
    double sum = 0;
    int peak = 0;
    for (int16_t v : s) {
      sum += double(v) * v;
      peak = std::max(peak, std::abs(int{v}));
    }
    EXPECT_GT(std::sqrt(sum / s.size()), 1500);  // clearly audible
    EXPECT_LT(peak, 32000);                      // never clips
    EXPECT_EQ(s.front(), 0);                     // no click either end
    EXPECT_EQ(s.back(), 0);
    const size_t ms = rate / 1000;  // first note alone, then the second rings over it
    EXPECT_GT(Tone(s, rate, 880, 0, 120 * ms), 20 * Tone(s, rate, 1320, 0, 120 * ms));
    EXPECT_GT(Tone(s, rate, 1320, 150 * ms, 300 * ms), 5 * Tone(s, rate, 880, 150 * ms, 300 * ms));
  }
  for (int rate : {INT_MIN, -1, 0, 7999, 384001, INT_MAX})
    EXPECT_TRUE(DefaultChimeSamples(rate).empty());
}

}  // namespace
