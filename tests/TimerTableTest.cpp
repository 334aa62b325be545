// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TimerTable.h"

#include <gtest/gtest.h>

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
