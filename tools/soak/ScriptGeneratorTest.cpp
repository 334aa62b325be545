// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The soak's random input: reproducible from its seed, exactly as long as asked, in the
// simulator's own language, and reaching every kind of input a window accepts.
#include <gtest/gtest.h>

#include <set>

#include "host/headless/Script.h"
#include "tools/soak/ScriptGenerator.h"

namespace {

std::vector<ScriptLine> Make(std::uint64_t seed, std::int64_t ms) {
  SoakRandom random(seed);
  return ScriptGenerator(random).Make(ms);
}

TEST(SoakRandom, StaysInItsBoundsAndKeepsItsOdds) {
  SoakRandom random(7);
  std::set<std::int64_t> seen;
  int heads = 0;
  for (int i = 0; i < 10000; ++i) {
    const std::int64_t v = random.Between(-2, 3);
    ASSERT_GE(v, -2);
    ASSERT_LE(v, 3);
    seen.insert(v);
    heads += random.Chance(30) ? 1 : 0;
    ASSERT_FALSE(random.Chance(0));
    ASSERT_TRUE(random.Chance(100));
  }
  EXPECT_EQ(seen.size(), 6u);
  EXPECT_NEAR(heads, 3000, 300);
}

TEST(ScriptGenerator, ASeedGivesTheSameScriptEverywhere) {
  const std::string a = ScriptGenerator::Text(Make(1, 3'600'000));
  EXPECT_EQ(a, ScriptGenerator::Text(Make(1, 3'600'000)));
  EXPECT_NE(a, ScriptGenerator::Text(Make(2, 3'600'000)));
}

TEST(ScriptGenerator, TheScriptLastsExactlyAsLongAsAskedInWaitsOfAtMostFiveSeconds) {
  for (std::int64_t ms : {1, 999, 60'000, 3'600'000, 24 * 3'600'000}) {
    const std::vector<ScriptLine> lines = Make(static_cast<std::uint64_t>(ms), ms);
    std::int64_t clock = 0;
    for (const ScriptLine& l : lines) {
      ASSERT_EQ(l.time, clock) << l.command;
      if (!l.IsWait()) continue;
      const std::int64_t wait = std::stoll(l.command.substr(5));
      ASSERT_GE(wait, 0);
      ASSERT_LE(wait, 5000);
      clock += wait;
    }
    EXPECT_EQ(clock, ms);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.back().IsWait());
  }
}

// The checker matches "ignored COMMAND" lines against the script's text, so every command must
// read back as itself.
TEST(ScriptGenerator, EveryCommandIsOneTheSimulatorReadsAsWritten) {
  const std::vector<ScriptLine> lines = Make(3, 6 * 3'600'000);
  int n = 0;
  for (const ScriptLine& l : lines) {
    const ScriptCommand c = Script::ParseLine(l.command, ++n);
    ASSERT_FALSE(c.blank);
    if (!c.isWait) {
      ASSERT_EQ(c.input.origin, l.command);
    }
  }
}

TEST(ScriptGenerator, ADayReachesEveryKindOfInput) {
  std::set<std::string> commands;
  for (const ScriptLine& l : Make(4, 24 * 3'600'000)) commands.insert(l.command);
  const char* wanted[] = {
      "click 1",
      "click 2",
      "click 3",
      "click 6",
      "click 7",
      "click 9",
      "click 1000",
      "click 1001",
      "click 1002",
      "click 1024",
      "click 1025",
      "click 1026",
      "click 1027",
      "click 1028",
      "click 1029",
      "click 1030",
      "click 4242",
      "click -1",
      "key Enter",
      "key Escape",
      "key Space",
      "key Tab",
      "key Shift+Tab",
      "key Left",
      "key Right",
      "key Up",
      "key Down",
      "key Home",
      "key End",
      "key PageUp",
      "key PageDown",
      "key Alt+m",
      "key Alt+s",
      "key Alt+b",
      "key Alt+t",
      "key Alt+a",
      "key Alt+x",
      "key Alt+y",
      "key Alt+n",
      "close",
      "sysmenu 16",
      "sysmenu 61536",
      "tray lbuttondown",
      "tray lbuttonup",
      "tray rbuttondown",
      "tray rbuttonup",
      "tray lbuttondblclk",
      "tray mousemove",
      "slide 1031 1",
      "slide 1031 10",
      "taskbar",
      "wait 0",
  };
  for (const char* w : wanted) EXPECT_TRUE(commands.count(w)) << w;
}

}  // namespace
