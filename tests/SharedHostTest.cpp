// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// What every desktop decides the same way, tested once with plain values: which keys a dialog
// takes, where a window stands, how dialog units round, which clip frame shows when, and the
// order input reaches the core in.
#include <gtest/gtest.h>

#include <vector>

#include "host/shared/ClipSchedule.h"
#include "host/shared/InputQueue.h"
#include "host/shared/KeyPolicy.h"
#include "host/shared/Layout.h"
#include "host/shared/ShowState.h"

namespace {

KeyPolicy::Pressed Named(Key key, bool shift = false, bool alt = false) {
  KeyPolicy::Pressed p;
  p.named = key;
  p.shift = shift;
  p.alt = alt;
  return p;
}

KeyPolicy::Pressed Character(char c, bool alt = false, bool ctrlOrWin = false) {
  KeyPolicy::Pressed p;
  p.character = c;
  p.alt = alt;
  p.ctrlOrWin = ctrlOrWin;
  return p;
}

TEST(SharedHost, KeysTheDialogTakesAndTheOnesItLeaves) {
  auto tab = KeyPolicy::Decide(Named(Key::Tab), 7);
  ASSERT_TRUE(tab);
  EXPECT_EQ(tab->kind, InputEvent::Kind::Key);
  EXPECT_EQ(tab->key, Key::Tab);
  EXPECT_EQ(tab->target, 7u);
  EXPECT_EQ(KeyPolicy::Decide(Named(Key::Tab, true), 7)->key, Key::ShiftTab);
  auto enter = KeyPolicy::Decide(Named(Key::Enter, false, true), 7);
  EXPECT_FALSE(enter->alt) << "a named key carries no Alt";

  auto altS = KeyPolicy::Decide(Character('S', true), 7);
  ASSERT_TRUE(altS);
  EXPECT_EQ(altS->key, Key::Letter);
  EXPECT_EQ(altS->letter, 'S');
  EXPECT_TRUE(altS->alt);
  EXPECT_EQ(KeyPolicy::Decide(Character('4'), 7)->letter, '4');  // digits are mnemonics too

  EXPECT_FALSE(KeyPolicy::Decide(Character('S', true, true), 7)) << "Ctrl or Win: the desktop's";
  EXPECT_FALSE(KeyPolicy::Decide(Character('-'), 7));
  EXPECT_FALSE(KeyPolicy::Decide(KeyPolicy::Pressed{}, 7));

  EXPECT_TRUE(KeyPolicy::OpensWindowMenu(Named(Key::Space, false, true)));
  EXPECT_FALSE(KeyPolicy::OpensWindowMenu(Named(Key::Space)));
  KeyPolicy::Pressed ctrlAltSpace = Named(Key::Space, false, true);
  ctrlAltSpace.ctrlOrWin = true;
  EXPECT_FALSE(KeyPolicy::OpensWindowMenu(ctrlAltSpace));
}

TEST(SharedHost, DialogUnitsRoundAsEachDesktopsDialogManager) {
  const Layout::BaseUnits classic{6, 13}, large{9, 20};
  // 3 x 6 / 4 = 4.5 and 5 x 13 / 8 = 8.125.
  EXPECT_EQ(Layout::ToPixelsX(3, classic, Layout::Rounding::Floor), 4);
  EXPECT_EQ(Layout::ToPixelsX(3, classic, Layout::Rounding::MulDiv), 5);
  EXPECT_EQ(Layout::ToPixelsY(5, classic, Layout::Rounding::MulDiv), 8);
  EXPECT_EQ(Layout::ToPixelsX(-3, classic, Layout::Rounding::Floor), -5);
  EXPECT_EQ(Layout::ToPixelsX(-3, classic, Layout::Rounding::MulDiv), -5);  // halves away from 0
  EXPECT_EQ(Layout::ToPixels({4, 8, 40, 16}, large, Layout::Rounding::Floor),
            (PixelRect{9, 20, 90, 40}));
}

TEST(SharedHost, WindowsStandWhereTheDialogManagerPutsThem) {
  Layout::Placement main;
  main.width = 300;
  main.height = 200;
  main.area = {0, 0, 1023, 768};
  // Halving the free space and centring on the middle pixel part on an odd width.
  EXPECT_EQ(Layout::Place(main), (PixelRect{361, 284, 300, 200}));
  main.centre = Layout::Placement::Centre::OnCentrePixel;
  EXPECT_EQ(Layout::Place(main), (PixelRect{362, 284, 300, 200}));

  Layout::Placement dialog;
  dialog.width = 200;
  dialog.height = 100;
  dialog.owned = true;
  dialog.owner = {900, 600, 300, 200};
  dialog.clientX = 903;
  dialog.clientY = 622;
  dialog.offsetX = 15;
  dialog.offsetY = 26;
  dialog.area = {0, 0, 1024, 768};
  // At its template's corner from the owner's client area, even off the screen.
  EXPECT_EQ(Layout::Place(dialog), (PixelRect{918, 648, 200, 100}));
  // Centred on its owner, then kept on the screen.
  dialog.centered = true;
  EXPECT_EQ(Layout::Place(dialog), (PixelRect{824, 650, 200, 100}));
  // Larger than the screen: its top left corner shows.
  main.width = 2000;
  EXPECT_EQ(Layout::Place(main).x, 0);

  EXPECT_EQ(Layout::GeometryLine(-1, "window", {1, 2, 3, 4}), "msgbox window 1 2 3 4\n");
  EXPECT_EQ(Layout::GeometryLine(102, "1005", {-1, 0, 10, 20}), "102 1005 -1 0 10 20\n");
}

TEST(SharedHost, ShowingMinimizingAndTheTaskbarsRestore) {
  DialogModel d;
  d.visible = false;
  EXPECT_EQ(ShowState::For(d, false), ShowState::Action::Hide);
  d.visible = true;
  d.minimized = true;
  EXPECT_EQ(ShowState::For(d, false), ShowState::Action::Minimize);
  EXPECT_FALSE(ShowState::RaisesOnShow(d, true));
  d.minimized = false;
  EXPECT_EQ(ShowState::For(d, true), ShowState::Action::Restore);
  EXPECT_EQ(ShowState::For(d, false), ShowState::Action::Show);
  EXPECT_TRUE(ShowState::RaisesOnShow(d, true));
  EXPECT_FALSE(ShowState::RaisesOnShow(d, false));
  EXPECT_TRUE(ShowState::IsTaskbarRestore(true, true));
  EXPECT_FALSE(ShowState::IsTaskbarRestore(true, false));
}

TEST(SharedHost, AClipKeepsItsRateFromTheRequestAndStopsOnItsLastFrame) {
  ClipSchedule s;
  EXPECT_EQ(s.Play(0, 100000, 0, 10, -1, 0), -1) << "no frames, nothing to show";
  EXPECT_FALSE(s.Playing());
  EXPECT_EQ(s.Play(5, 1000, 0, 65535, 1, 0), 0);  // to past the end: the clip's last frame
  EXPECT_EQ(s.Play(5, 1000, 2, 2, 1, 0), 2);
  EXPECT_FALSE(s.Playing()) << "one frame played once only shows";
  EXPECT_EQ(s.Play(5, 1000, 1, 3, 2, 1000), 1);
  ASSERT_TRUE(s.Playing());
  EXPECT_EQ(s.PeriodMs(), 10);  // a beat no faster than 10 ms
  ClipSchedule::Step late = s.At(1004);  // a wake-up late by frames skips them
  EXPECT_EQ(late.frame, 2);
  EXPECT_EQ(late.next, 1005);
  EXPECT_EQ(s.At(1003).frame, 1);  // round again
  ClipSchedule::Step done = s.At(1006);
  EXPECT_EQ(done.frame, 3);
  EXPECT_EQ(done.next, -1);
  EXPECT_FALSE(s.Playing());
}

TEST(SharedHost, InputWaitsInOrderAndTheQueueIsLookedAtOnceAMillisecond) {
  struct Sink : InputSink {
    std::vector<int> ids;
    void Push(InputEvent e) override { ids.push_back(e.id); }
  } sink;
  InputQueue q;
  EXPECT_FALSE(q.HandOver(sink));
  for (int id : {1, 2, 3}) {
    InputEvent e;
    e.id = id;
    q.Report(e);
  }
  EXPECT_TRUE(q.HandOver(sink));
  EXPECT_EQ(sink.ids, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(q.Empty());
  EXPECT_TRUE(q.ShouldLook(0));
  q.Looked(50);
  EXPECT_FALSE(q.ShouldLook(50));
  EXPECT_TRUE(q.ShouldLook(51));
}

}  // namespace
