// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Random.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/SystemSeed.h"
#include "tests/support/SimRun.h"

namespace {
// The seed whose first generator value is `value`: the state's high bits are the value.
unsigned SeedGiving(int value) {
  for (unsigned low = 0; low < 65536; ++low) {
    unsigned state = (static_cast<unsigned>(value) << 16) | low;
    // Invert one step: state = seed * 214013 + 2531011; 214013 is odd, so it has an inverse.
    unsigned inv = 1;
    for (int i = 0; i < 5; ++i) inv *= 2 - 214013u * inv;
    unsigned seed = (state - 2531011u) * inv;
    SeedRandom(seed);
    if (NextRandom() == value) return seed;
  }
  return 0;
}

int DrawWithValue(int value, int n) {
  SeedRandom(SeedGiving(value));
  return Random(n);
}
}  // namespace

TEST(Random, TheClassicGeneratorSequence) {
  SeedRandom(1);
  // The well-known first values of the classic C runtime for seed 1.
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(NextRandom(), 18467);
  EXPECT_EQ(NextRandom(), 6334);
  EXPECT_EQ(NextRandom(), 26500);
}

TEST(Random, EdgeValuesScaleIntoBands) {
  for (int n : {5, 6, 7, 8, 10, 50, 100}) EXPECT_EQ(DrawWithValue(0, n), 0) << n;
  EXPECT_EQ(DrawWithValue(32767, 5), 4);
  EXPECT_EQ(DrawWithValue(32767, 8), 7);
  EXPECT_EQ(DrawWithValue(32767, 100), 99);
  EXPECT_EQ(DrawWithValue(16384, 5), 2);
  EXPECT_EQ(DrawWithValue(16384, 8), 4);
  EXPECT_EQ(DrawWithValue(16384, 100), 50);
}

TEST(Random, BandWidthsOverAllGeneratorValues) {
  std::map<int, int> bands100, bands8;
  for (int r = 0; r < 32768; ++r) {
    ++bands100[r * 100 / 32768];
    ++bands8[r * 8 / 32768];
  }
  // The formula the draw uses, checked against the draw itself at the band edges.
  EXPECT_EQ(DrawWithValue(327, 100), 0);
  EXPECT_EQ(DrawWithValue(328, 100), 1);
  EXPECT_EQ(bands100[0], 328);
  EXPECT_EQ(bands100[1], 328);
  EXPECT_EQ(bands100[2], 328);
  EXPECT_EQ(bands100[3], 327);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(bands8[k], 4096);
}

TEST(Random, TheSameSeedGivesTheSameDraws) {
  SeedRandom(1234);
  std::vector<int> a;
  for (int i = 0; i < 50; ++i) a.push_back(Random(100));
  SeedRandom(1234);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(Random(100), a[i]);
}

// A run seeds its draw once. Starts close together must still begin far apart: the first
// outcome of a run used to stay the same for twenty minutes of start times.
TEST(Random, StartsCloseTogetherDrawDifferently) {
  // Twenty starts without a seed; an abductee scan's first dot draws mark where each began.
  std::set<std::vector<std::string>> firsts;
  for (int run = 0; run < 20; ++run) {
    SimResult r = RunSim("--no-sound-device --trace", "click 3\nwait 100\n");
    std::vector<std::string> draws = r.Events("draw ");
    ASSERT_GE(draws.size(), 8u) << r.Text();
    draws.resize(8);
    firsts.insert(draws);
  }
  EXPECT_GE(firsts.size(), 15u);

  // Without the system's random source, a clock a tick apart or another process still seeds
  // far apart: a thousand consecutive ticks give almost as many first generator values.
  std::set<int> values;
  for (std::uint64_t tick = 0; tick < 1000; ++tick) {
    SeedRandom(MixSeed(5'000'000'000ull + tick, 4242));
    values.insert(NextRandom());
  }
  EXPECT_GE(values.size(), 950u);
  SeedRandom(MixSeed(5'000'000'000ull, 4242));
  int one = NextRandom();
  SeedRandom(MixSeed(5'000'000'000ull, 4243));
  EXPECT_NE(NextRandom(), one);
}
