// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The window system on virtual time: the queue's order, the timer grid, modal nesting and the
// dialog manager's keyboard, driven through a scripted headless host.
#include "common/WindowSystem.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "common/CDialog.h"
#include "common/CMessageBox.h"
#include "host/headless/HeadlessAudio.h"
#include "host/headless/HeadlessHost.h"

namespace {
constexpr UINT WM_TEST = WM_USER + 1;
constexpr UINT WM_TEST_TRAY = WM_USER + 3;

DialogTemplate Template(int id, std::vector<ControlTemplate> controls) {
  DialogTemplate t;
  t.id = id;
  t.caption = "Test " + std::to_string(id);
  t.rect = {0, 0, 100, 100};
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  t.controls = std::move(controls);
  return t;
}

ControlTemplate Button(int id, const char* text, DWORD style = WS_TABSTOP) {
  return {id, ControlKind::PushButton, text, 0, {0, 0, 40, 14}, style, 0};
}

// A dialog whose behaviour each test supplies; it logs what reaches it.
class ProbeDlg : public CDialog {
 public:
  ProbeDlg(const DialogTemplate& t, std::vector<std::string>& log, CWnd* parent = nullptr)
      : CDialog(&t, parent), log_(log) {}
  std::function<void(ProbeDlg&)> onInit;
  std::function<void(ProbeDlg&, UINT_PTR)> onTimer;
  std::function<void(ProbeDlg&, int)> onCommand;
  std::function<void(ProbeDlg&)> onTest;
  std::function<void(ProbeDlg&, LPARAM)> onTray;
  using CDialog::EndDialog;
  void Log(const std::string& s) { log_.push_back(s); }

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (onInit) onInit(*this);
    return TRUE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TIMER) {
      if (onTimer) onTimer(*this, wParam);
      return 0;
    }
    if (message == WM_TEST) {
      Log("posted");
      if (onTest) onTest(*this);
      return 0;
    }
    if (message == WM_TEST_TRAY && onTray) {
      onTray(*this, lParam);
      return 0;
    }
    if (message == WM_COMMAND && onCommand) {
      onCommand(*this, LOWORD(wParam));
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }

 private:
  std::vector<std::string>& log_;
};

class WindowSystemTest : public ::testing::Test {
 protected:
  void Start(const std::string& script) {
    std::istringstream in(script);
    host_ = std::make_unique<HeadlessHost>(clock_, transcript_, Script::Parse(in), true);
    audio_ = std::make_unique<HeadlessAudio>(clock_, transcript_, true);
    ws_ = std::make_unique<WindowSystem>(clock_, *host_, *audio_, host_.get());
  }
  // Runs the dialog until it ends or the script does; returns its result or -100.
  intptr_t Run(ProbeDlg& dlg) {
    try {
      return dlg.DoModal();
    } catch (const ScriptEnded&) {
      return -100;
    }
  }
  std::int64_t Now() const { return clock_.Now(); }

  VirtualClock clock_{1};
  std::ostringstream out_;
  Transcript transcript_{out_, clock_, false};
  std::unique_ptr<HeadlessHost> host_;
  std::unique_ptr<HeadlessAudio> audio_;
  std::unique_ptr<WindowSystem> ws_;
  std::vector<std::string> log_;
};
}  // namespace

TEST_F(WindowSystemTest, APostedMessageIsHandledAfterTheCurrentHandler) {
  Start("wait 100\n");
  DialogTemplate t = Template(1, {Button(IDOK, "OK")});
  ProbeDlg dlg(t, log_);
  dlg.onInit = [](ProbeDlg& d) {
    d.PostMessage(WM_TEST);
    d.Log("init done");
  };
  dlg.onTest = [](ProbeDlg& d) { d.EndDialog(5); };
  EXPECT_EQ(Run(dlg), 5);
  EXPECT_EQ(log_, (std::vector<std::string>{"init done", "posted"}));
}

TEST_F(WindowSystemTest, TimerMessagesComeOnlyWhenNothingElseWaits) {
  Start("wait 100\nclick 1\nwait 100\n");
  DialogTemplate t = Template(1, {Button(IDOK, "OK")});
  ProbeDlg dlg(t, log_);
  dlg.onInit = [](ProbeDlg& d) { d.SetTimer(1, 100, nullptr); };
  // The click and the tick both fall at 100: the tick that is due then comes first, and the
  // message posted from it comes before the click.
  dlg.onTimer = [](ProbeDlg& d, UINT_PTR) {
    d.Log("tick " + std::to_string(WindowSystem::Get().clock().Now()));
    d.PostMessage(WM_TEST);
  };
  dlg.onCommand = [](ProbeDlg& d, int id) { d.Log("click " + std::to_string(id)); };
  Run(dlg);
  EXPECT_EQ(log_, (std::vector<std::string>{"tick 100", "posted", "click 1", "tick 200",
                                            "posted"}));
}

TEST_F(WindowSystemTest, TicksMissedDuringALongHandlerArriveOnceOnTheGrid) {
  Start("wait 300\n");
  DialogTemplate t = Template(1, {Button(IDOK, "OK")});
  ProbeDlg dlg(t, log_);
  std::vector<std::int64_t> ticks;
  dlg.onInit = [](ProbeDlg& d) { d.SetTimer(1, 25, nullptr); };
  dlg.onTimer = [&](ProbeDlg&, UINT_PTR) {
    ticks.push_back(Now());
    // The first tick blocks the thread for 110 ms, as a synchronous cue would.
    if (ticks.size() == 1) clock_.Set(Now() + 110);
  };
  Run(dlg);
  ASSERT_GE(ticks.size(), 4u);
  EXPECT_EQ(ticks[0], 25);
  EXPECT_EQ(ticks[1], 135);  // the ticks at 50 .. 125 merged into one, handled when idle
  EXPECT_EQ(ticks[2], 150);  // and the grid did not move
  EXPECT_EQ(ticks[3], 175);
}

TEST_F(WindowSystemTest, InputMadeDuringABusyHandlerIsHandledBeforeTheNextTick) {
  Start("wait 30\nclick 1\nwait 200\n");
  DialogTemplate t = Template(1, {Button(IDOK, "OK")});
  ProbeDlg dlg(t, log_);
  dlg.onInit = [](ProbeDlg& d) { d.SetTimer(1, 25, nullptr); };
  dlg.onTimer = [&](ProbeDlg& d, UINT_PTR) {
    d.Log("tick " + std::to_string(Now()));
    if (Now() == 25) clock_.Set(Now() + 100);
  };
  dlg.onCommand = [&](ProbeDlg& d, int) {
    d.Log("click " + std::to_string(Now()));
    d.EndDialog(1);
  };
  EXPECT_EQ(Run(dlg), 1);
  EXPECT_EQ(log_, (std::vector<std::string>{"tick 25", "click 125"}));
}

TEST_F(WindowSystemTest, NestedDialogsReturnTheirOwnResultsAndTheOwnerStillHearsItsMessages) {
  Start("wait 50\nclick 2\nwait 50\nclick 1\nwait 50\n");
  DialogTemplate outerT = Template(1, {Button(IDOK, "OK")});
  DialogTemplate innerT = Template(2, {Button(1, "One"), Button(2, "Two")});
  ProbeDlg outer(outerT, log_);
  ProbeDlg inner(innerT, log_, &outer);
  outer.onInit = [&](ProbeDlg& d) { d.PostMessage(WM_TEST); };
  outer.onTest = [&](ProbeDlg& d) {
    // While the inner dialog runs, the outer one is disabled but gets its posted messages.
    inner.onInit = [&](ProbeDlg&) {
      EXPECT_FALSE(d.IsWindowEnabled());
      d.PostMessage(WM_USER + 2);
    };
    inner.onCommand = [](ProbeDlg& in, int id) { in.EndDialog(id * 10); };
    d.Log("inner " + std::to_string(inner.DoModal()));
    EXPECT_TRUE(d.IsWindowEnabled());
    d.onTest = nullptr;
  };
  outer.onCommand = [](ProbeDlg& d, int id) { d.EndDialog(id); };
  EXPECT_EQ(Run(outer), 1);
  EXPECT_EQ(log_, (std::vector<std::string>{"posted", "inner 20"}));
}

TEST_F(WindowSystemTest, InputToADisabledControlOrAMissingOneIsIgnored) {
  Start("click 7\nclick 99\nwait 10\n");
  DialogTemplate t = Template(1, {Button(7, "Seven")});
  ProbeDlg dlg(t, log_);
  dlg.onInit = [](ProbeDlg& d) { d.GetDlgItem(7)->EnableWindow(FALSE); };
  dlg.onCommand = [](ProbeDlg& d, int id) { d.Log("command " + std::to_string(id)); };
  Run(dlg);
  EXPECT_TRUE(log_.empty());
  EXPECT_NE(out_.str().find("ignored click 7"), std::string::npos);
  EXPECT_NE(out_.str().find("ignored click 99"), std::string::npos);
}

TEST_F(WindowSystemTest, EnterPressesTheFocusedButtonOrTheDefaultButNeverAGreyedOne) {
  Start("key Enter\nkey Tab\nkey Tab\nkey Enter\nclick 4\nkey Tab\nkey Enter\nwait 10\n");
  DialogTemplate t = Template(1, {Button(3, "Three", BS_DEFPUSHBUTTON | WS_TABSTOP),
                                  Button(4, "Four"),
                                  {5, ControlKind::CheckBox, "Box", 0, {}, WS_TABSTOP, 0}});
  ProbeDlg dlg(t, log_);
  dlg.onCommand = [](ProbeDlg& d, int id) {
    d.Log("command " + std::to_string(id));
    if (id == 4) d.GetDlgItem(3)->EnableWindow(FALSE);
  };
  Run(dlg);
  // Focus starts on 3; Tab Tab reaches the box, where Enter presses the default (3). Then 4 is
  // clicked (and greys 3), Tab moves to the box, and Enter finds the default greyed.
  EXPECT_EQ(log_, (std::vector<std::string>{"command 3", "command 3", "command 4"}));
}

TEST_F(WindowSystemTest, MnemonicsSpaceEscapeAndTheCloseBox) {
  Start("key Alt+f\nkey S\nkey Space\nkey Escape\nclose\nwait 10\n");
  DialogTemplate t = Template(1, {{5, ControlKind::CheckBox, "Box", 0, {}, WS_TABSTOP, 0},
                                  Button(6, "&Fire"), Button(8, "&Stop"), Button(2, "Cancel")});
  ProbeDlg dlg(t, log_);
  dlg.onCommand = [](ProbeDlg& d, int id) {
    d.Log("command " + std::to_string(id) + " box " + std::to_string(d.IsDlgButtonChecked(5)));
  };
  Run(dlg);
  // Space toggles the focused checkbox and tells the dialog; Esc and the close box send Cancel.
  EXPECT_EQ(log_, (std::vector<std::string>{"command 6 box 0", "command 8 box 0",
                                            "command 5 box 1", "command 2 box 1",
                                            "command 2 box 1"}));
}

TEST_F(WindowSystemTest, TrackbarKeysAndDrags) {
  Start("key Right\nkey End\nkey Left\nkey PageUp\nkey Home\nslide 9 42\nslide 9 7\nwait 10\n");
  DialogTemplate t = Template(1, {{9, ControlKind::Trackbar, "", 0, {}, WS_TABSTOP, 0}});
  ProbeDlg dlg(t, log_);
  dlg.onInit = [](ProbeDlg& d) {
    WindowSystem::Get().SetTrackRange(d.GetDlgItem(9)->m_hWnd, 1, 10);
    WindowSystem::Get().SetTrackPos(d.GetDlgItem(9)->m_hWnd, 5);
  };
  Run(dlg);
  std::string text = out_.str();
  // 5 -> 6 -> 10 -> 9 -> 8 (page of 1 for a range of 1..10) -> 1 -> 10 (a drag past the end) -> 7
  for (const char* pos : {" 6\n", " 10\n", " 9\n", " 8\n", " 1\n", " 7\n"})
    EXPECT_NE(text.find(std::string("slider 1 9") + pos), std::string::npos) << pos;
}

TEST_F(WindowSystemTest, AYesNoMessageBoxHasNoCancel) {
  Start("wait 10\nkey Escape\nclose\nkey n\nwait 10\n");
  DialogTemplate t = Template(1, {Button(IDOK, "OK")});
  ProbeDlg dlg(t, log_);
  dlg.onInit = [](ProbeDlg& d) { d.PostMessage(WM_TEST); };
  dlg.onTest = [](ProbeDlg& d) {
    int r = MessageBox(&d, "Line one\nLine two", "Caption", MB_YESNO | MB_ICONEXCLAMATION);
    d.Log("answer " + std::to_string(r));
    d.EndDialog(r);
  };
  EXPECT_EQ(Run(dlg), IDNO);
  std::string text = out_.str();
  EXPECT_NE(text.find("msgbox \"Line one\\nLine two\" \"Caption\" 0x34"), std::string::npos);
  EXPECT_NE(text.find("ignored close"), std::string::npos);
  EXPECT_NE(text.find("close msgbox 7"), std::string::npos);
}

// ---- Sleeping through quiet ticks -------------------------------------------------------

namespace {
struct TrayProbeRun {
  std::vector<std::string> log;
  std::vector<std::int64_t> wakes;
};

// A dialog hidden at once, with an icon and a 25 ms timer of which only the 1st, 10th, 20th ...
// tick is loud. A left press on the icon shows it; a right release keeps the thread busy for
// 110 ms, as a synchronous cue would, and leaves it hidden. What the dialog saw, on the
// program's clock, and when the host woke.
TrayProbeRun RunTrayProbe(const std::string& script, bool sleepThroughQuiet) {
  VirtualClock clock(1);
  std::ostringstream out;
  Transcript transcript(out, clock, false);
  std::istringstream in(script);
  HeadlessHost host(clock, transcript, Script::Parse(in), true);
  host.TraceWakes(true);
  HeadlessAudio audio(clock, transcript, true);
  WindowSystem ws(clock, host, audio, &host);
  ws.SleepThroughQuietTicks(sleepThroughQuiet);
  TrayProbeRun run;
  DialogTemplate t = Template(1, {Button(IDOK, "OK")});
  ProbeDlg dlg(t, run.log);
  int ticks = 0;
  auto now = [&] { return " " + std::to_string(ws.clock().Now()); };
  dlg.onInit = [&](ProbeDlg& d) {
    d.SetTimer(1, 25, nullptr);
    ws.TrayAdd(d.m_hWnd, 1, WM_TEST_TRAY, "probe");
    d.PostMessage(WM_TEST_TRAY, 0, 0);
  };
  dlg.onTray = [&](ProbeDlg& d, LPARAM what) {
    if (what == 0) d.ShowWindow(SW_HIDE);
    if (what == WM_LBUTTONDOWN) {
      d.ShowWindow(SW_SHOW);
      d.Log("show" + now());
    }
    if (what == WM_RBUTTONUP) {
      d.Log("busy" + now());
      clock.Set(clock.Now() + 110);
    }
  };
  dlg.onTimer = [&](ProbeDlg& d, UINT_PTR) {
    d.Log("tick" + now());
    d.SetQuietTicks(1, 9 - ++ticks % 10);
  };
  try {
    dlg.DoModal();
  } catch (const ScriptEnded&) {
  }
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);)
    if (line.size() > 5 && line.compare(line.size() - 5, 5, " wake") == 0)
      run.wakes.push_back(std::stoll(line));
  return run;
}
}  // namespace

TEST_F(WindowSystemTest, WhileEveryWindowIsHiddenTheLoopWakesOnlyForLoudTicksAndInput) {
  const std::string script = "wait 300\ntray rbuttonup\nwait 400\ntray lbuttondown\nwait 100\n";
  TrayProbeRun every = RunTrayProbe(script, false);
  TrayProbeRun asleep = RunTrayProbe(script, true);
  // The same ticks at the same times, as far as the dialog can tell.
  EXPECT_EQ(asleep.log, every.log);
  std::vector<std::string> expected;
  for (int t = 25; t <= 300; t += 25) expected.push_back("tick " + std::to_string(t));
  // Busy from 300 to 410: the ticks at 325 .. 400 merge into one, asleep or not.
  expected.insert(expected.end(), {"busy 300", "tick 410"});
  for (int t = 425; t <= 700; t += 25) expected.push_back("tick " + std::to_string(t));
  expected.push_back("show 700");
  for (int t = 725; t <= 800; t += 25) expected.push_back("tick " + std::to_string(t));
  EXPECT_EQ(every.log, expected);
  // Hidden, it woke for the loud ticks (the 1st, 10th and 20th, at 25, 250 and 575) and for
  // the icon; the ticks in between were made up on waking, before the icon's input. Shown
  // again, it wakes for every tick.
  EXPECT_EQ(asleep.wakes, (std::vector<std::int64_t>{25, 250, 300, 575, 700, 725, 750, 775, 800}));
  EXPECT_EQ(every.wakes.size(), 30u);
}
