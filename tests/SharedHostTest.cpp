// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// What every desktop decides the same way, tested once with plain values: which keys a dialog
// takes, where a window stands, how dialog units round, which clip frame shows when, the
// order input reaches the core in, what a screen reader is told, and when a desktop hints where
// the program went.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "host/shared/AccessibleNames.h"
#include "host/shared/Attention.h"
#include "host/shared/ClipSchedule.h"
#include "host/shared/GeometryLog.h"
#include "host/shared/InputQueue.h"
#include "host/shared/KeyPolicy.h"
#include "host/shared/Layout.h"
#include "host/shared/ShowState.h"

namespace {

// A key the desktop knows by name, and one it knows by its character.
KeyPolicy::Pressed Named(Key key, bool shift = false, bool alt = false, bool ctrlOrWin = false) {
  return {key, 0, shift, alt, ctrlOrWin};
}
KeyPolicy::Pressed Character(char c, bool alt = false, bool ctrlOrWin = false) {
  return {std::nullopt, c, false, alt, ctrlOrWin};
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
  EXPECT_FALSE(KeyPolicy::OpensWindowMenu(Named(Key::Space, false, true, true)));
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

TEST(SharedHost, TheNotificationAreaHintComesOnceARunAndNeverOverAScan) {
  using A = Attention::Balloon::Action;
  Attention::Balloon first;
  EXPECT_EQ(first.MainHidden(false), A::None) << "no icon to point at";
  EXPECT_EQ(first.MainShown(), A::None);
  EXPECT_EQ(first.MainHidden(true), A::Show);
  EXPECT_EQ(first.ScanOpened(), A::Withdraw) << "a scan takes it away";
  first.ScanClosed();
  EXPECT_EQ(first.MainShown(), A::None);
  EXPECT_EQ(first.MainHidden(true), A::None) << "once a run";

  Attention::Balloon overScan;
  EXPECT_EQ(overScan.ScanOpened(), A::None);
  EXPECT_EQ(overScan.MainHidden(true), A::None);
  overScan.ScanClosed();
  EXPECT_EQ(overScan.MainShown(), A::None);
  EXPECT_EQ(overScan.MainHidden(true), A::Show) << "the first time it may show";
  EXPECT_EQ(overScan.MainShown(), A::Withdraw) << "the user found the window";
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
  EXPECT_EQ(s.PeriodMs(), 10);           // a beat no faster than 10 ms
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

TEST(SharedHost, AReaderSaysAValueWithTheCaptionLeftOfItAndNoMnemonics) {
  using AccessibleNames::CaptionOf;
  // The scan results: two captions on the rows of their values, a title above both.
  const std::vector<AccessibleNames::Label> results = {
      {"Results:", {10, 0, 60, 13}},    {"Presence:", {10, 20, 50, 13}},
      {"Proximity:", {10, 40, 50, 13}}, {"Detected", {70, 20, 80, 13}},
      {"80 Meters", {70, 40, 80, 13}},  {"Type:", {160, 40, 30, 13}},
      {"Far left:", {0, 45, 8, 13}}};
  EXPECT_EQ(CaptionOf(results, 3), 1);
  // Of two captions on its row the nearer one; one to its right or above it never.
  EXPECT_EQ(CaptionOf(results, 4), 2);
  EXPECT_EQ(CaptionOf(results, 0), -1);
  // A caption itself may have one; a row that only touches another's edge is not the same row.
  EXPECT_EQ(CaptionOf(results, 5), 2);
  EXPECT_EQ(CaptionOf({{"A:", {0, 0, 10, 10}}, {"b", {20, 10, 10, 10}}}, 1), -1);
  EXPECT_EQ(CaptionOf(results, 99), -1);

  EXPECT_EQ(AccessibleNames::WithoutMnemonic("A&bductee && Co&"), "Abductee & Co&");
  EXPECT_EQ(AccessibleNames::WithoutMnemonic("&&&x"), "&x");
  EXPECT_EQ(AccessibleNames::WithoutMnemonic(""), "");
}

TEST(SharedHost, TheGeometryLogAppendsEachWindowAndNeverFails) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("quorblex-geometry-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "geometry.txt").string();
  GeometryLog log(file);
  log.Append(Layout::GeometryLine(102, "window", {10, 20, 325, 211}));
  log.Append(Layout::GeometryLine(kMessageBoxTemplate, "1", {1, 2, 3, 4}));
  std::stringstream kept;
  kept << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(kept.str(), "102 window 10 20 325 211\nmsgbox 1 1 2 3 4\n");
  // Off, or a file that cannot be made: the lines are lost and nothing else happens.
  GeometryLog("").Append("x\n");
  GeometryLog((dir / "missing" / "g.txt").string()).Append("x\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  std::filesystem::remove_all(dir);
}
