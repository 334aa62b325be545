// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TimerTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

TEST(TimerTable, FallsDueOnAFixedGrid) {
  TimerTable t;
  t.Set(1, 7, 25, 100);
  EXPECT_EQ(t.NextDue(), 125);
  EXPECT_FALSE(t.TakeDue(124));
  auto due = t.TakeDue(125);
  ASSERT_TRUE(due);
  EXPECT_EQ(due->hwnd, 1u);
  EXPECT_EQ(due->id, 7u);
  EXPECT_EQ(t.NextDue(), 150);
}

TEST(TimerTable, TicksMissedWhileBusyMergeIntoOneWithoutShiftingTheGrid) {
  TimerTable t;
  t.Set(1, 1, 25, 0);
  // Busy from 0 to 110: the ticks at 25, 50, 75 and 100 have passed.
  ASSERT_TRUE(t.TakeDue(110));
  EXPECT_FALSE(t.TakeDue(110));
  EXPECT_EQ(t.NextDue(), 125);
}

TEST(TimerTable, SettingARunningTimerRestartsItsGridAndKillingDropsAPendingTick) {
  TimerTable t;
  t.Set(1, 1, 25, 0);
  t.Set(1, 1, 40, 30);
  EXPECT_EQ(t.NextDue(), 70);
  EXPECT_EQ(t.Count(), 1u);
  EXPECT_TRUE(t.Kill(1, 1));
  EXPECT_FALSE(t.TakeDue(1000));
  EXPECT_FALSE(t.Kill(1, 1));
}

TEST(TimerTable, EarliestDueFirstThenTheOneSetFirst) {
  TimerTable t;
  t.Set(2, 1, 50, 0);
  t.Set(1, 1, 50, 0);
  t.Set(3, 1, 30, 0);
  EXPECT_EQ(t.TakeDue(60)->hwnd, 3u);
  EXPECT_EQ(t.TakeDue(60)->hwnd, 2u);
  EXPECT_EQ(t.TakeDue(60)->hwnd, 1u);
  EXPECT_FALSE(t.TakeDue(60));
  t.KillAll(2);
  EXPECT_EQ(t.Count(), 2u);
}

TEST(TimerTable, QuietTicksAreOwedOneByOneOnTheirGridPointsUntilALoudOne) {
  TimerTable t;
  t.Set(1, 1, 25, 0);
  t.SetQuietTicks(1, 1, 3);
  EXPECT_EQ(t.NextDue(), 25);
  EXPECT_EQ(t.NextLoud(), 100);  // 25, 50 and 75 are quiet
  // Woken at 110: the quiet ticks come one at a time, never merged; the loud one at 100 is
  // left for the loop to take as usual.
  std::vector<std::int64_t> owed;
  while (auto due = t.TakeOwed(110)) owed.push_back(due->at);
  EXPECT_EQ(owed, (std::vector<std::int64_t>{25, 50, 75}));
  EXPECT_EQ(t.NextDue(), 100);
  auto loud = t.TakeDue(110);
  ASSERT_TRUE(loud);
  EXPECT_EQ(loud->at, 100);
  EXPECT_EQ(t.NextDue(), 125);
  EXPECT_EQ(t.NextLoud(), 125);
}

TEST(TimerTable, OwedTicksOfSeveralTimersComeInTheOrderTheyFellDue) {
  TimerTable t;
  t.Set(1, 1, 30, 0);
  t.Set(2, 1, 20, 0);
  t.SetQuietTicks(1, 1, 10);
  t.SetQuietTicks(2, 1, 10);
  std::vector<std::pair<HWND, std::int64_t>> owed;
  while (auto due = t.TakeOwed(60)) owed.emplace_back(due->hwnd, due->at);
  EXPECT_EQ(owed, (std::vector<std::pair<HWND, std::int64_t>>{
                      {2, 20}, {1, 30}, {2, 40}, {1, 60}, {2, 60}}));
}

TEST(TimerTable, SettingATimerAgainMakesEveryTickLoudAndAHugeCountNeverEnds) {
  TimerTable t;
  t.Set(1, 1, 25, 0);
  t.SetQuietTicks(1, 1, 5);
  t.Set(1, 1, 25, 10);
  EXPECT_EQ(t.NextLoud(), 35);
  EXPECT_FALSE(t.TakeOwed(1000));
  t.SetQuietTicks(1, 1, INT64_MAX);
  EXPECT_FALSE(t.NextLoud());
  t.SetQuietTicks(1, 1, -4);  // nonsense counts as none
  EXPECT_EQ(t.NextLoud(), 35);
  // Busy, not asleep: a quiet tick taken the usual way merges as any other and uses one up.
  t.SetQuietTicks(1, 1, 1);
  EXPECT_EQ(t.TakeDue(200)->at, 35);
  EXPECT_EQ(t.NextDue(), 210);
  EXPECT_EQ(t.NextLoud(), 210);
}
