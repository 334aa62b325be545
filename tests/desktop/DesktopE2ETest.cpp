// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program end to end: `quorblex` on a private X server, driven with real mouse and
// key input, checked by where its windows and controls stand and by what is on the screen.
// Screenshots go to the build folder's screenshots/ for people to look at.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>

#include "res/ResourceIds.h"
#include "tests/desktop/Harness.h"

namespace {

const char* kQuiet = "[Options]\nUseSounds=0\n";
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kFace = 0xC0C0C0;

PixelRect On(const PixelRect& window, const PixelRect& control) {
  return {window.x + control.x, window.y + control.y, control.w, control.h};
}

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DesktopToolsPresent()) << "Xvfb and xdotool are needed (./test.sh installs them)";
    x_ = std::make_unique<Xvfb>();
    ASSERT_TRUE(x_->Ok()) << "Xvfb did not start";
  }

  // Starts the program and waits for its main window to be on screen with the keyboard focus.
  void Start(const std::string& profile = kQuiet) {
    program_ = std::make_unique<Program>(x_->Name(), profile);
    main_ = WaitForWindow(dpy(), "Quorblex Pro", 15000);
    ASSERT_NE(main_, 0u) << "no main window; stderr: " << program_->Stderr();
    ASSERT_TRUE(WaitUntil([&] { return FocusedTopLevel(dpy()) == main_; }, 5000));
    ASSERT_TRUE(WaitUntil([&] { return Dump("102").has_value(); }, 5000));
  }

  std::optional<DumpedWindow> Dump(const std::string& win) {
    return ReadDump(program_->GeometryFile(), win);
  }

  // The window's dumped layout agrees with its template and with where X has the window.
  void ExpectLayout(int templateId, unsigned long xWindow) {
    SCOPED_TRACE("template " + std::to_string(templateId));
    std::optional<DumpedWindow> dump;
    ASSERT_TRUE(
        WaitUntil([&] { return (dump = Dump(std::to_string(templateId))).has_value(); }, 5000));
    PixelRect onScreen = WindowRect(dpy(), xWindow);
    EXPECT_EQ(onScreen.x, dump->window.x);
    EXPECT_EQ(onScreen.y, dump->window.y);
    EXPECT_EQ(onScreen.w, ExpectedClientSize(templateId).w);
    EXPECT_EQ(onScreen.h, ExpectedClientSize(templateId).h);
    auto expected = ExpectedLayout(templateId);
    ASSERT_EQ(dump->controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      const auto& [id, want] = expected[i];
      const auto& [gotId, got] = dump->controls[i];
      SCOPED_TRACE("control #" + std::to_string(i) + " id " + std::to_string(id));
      EXPECT_EQ(gotId, id);
      EXPECT_NEAR(got.x, want.x, 1);
      EXPECT_NEAR(got.y, want.y, 1);
      EXPECT_NEAR(got.w, want.w, 1);
      EXPECT_NEAR(got.h, want.h, 1);
    }
  }

  PixelRect Control(const std::string& win, int id) {
    auto dump = Dump(win);
    if (!dump) return {};
    for (auto& [cid, r] : dump->controls)
      if (cid == id) return On(dump->window, r);
    return {};
  }

  void Click(const PixelRect& r) {
    ASSERT_TRUE(Xdotool(*x_, "mousemove " + std::to_string(r.CentreX()) + " " +
                                 std::to_string(r.CentreY()) + " click 1"));
  }
  void Key(const std::string& keys) { ASSERT_TRUE(Xdotool(*x_, "key " + keys)); }

  // Waits for a window with this title to show and to get the keyboard focus.
  unsigned long Expect(const std::string& title, int timeoutMs = 5000) {
    unsigned long w = WaitForWindow(dpy(), title, timeoutMs);
    EXPECT_NE(w, 0u) << title;
    if (w) {
      EXPECT_TRUE(WaitUntil([&] { return FocusedTopLevel(dpy()) == w; }, 5000)) << title;
    }
    return w;
  }
  // Waits for the window `title`; checks it against template `templateId` and keeps a
  // screenshot of it, named `shot`. 0: it never came.
  unsigned long Shows(const std::string& title, int templateId, const std::string& shot,
                      int timeoutMs = 5000) {
    unsigned long w = Expect(title, timeoutMs);
    if (!w) return 0;
    ExpectLayout(templateId, w);
    WaitUntil([] { return false; }, 300);
    SaveScreenshot(*x_, shot);
    return w;
  }
  // The same for a window that `keys` open from the main window.
  unsigned long OpenWith(const std::string& keys, const std::string& title, int templateId,
                         const std::string& shot) {
    EXPECT_TRUE(WaitUntil([&] { return FocusedTopLevel(dpy()) == main_; }, 5000));
    Key(keys);
    return Shows(title, templateId, shot);
  }
  bool Gone(const std::string& title, int timeoutMs = 5000) {
    return WaitUntil([&] { return FindWindow(dpy(), title) == 0; }, timeoutMs);
  }
  ::Display* dpy() { return x_->Connection(); }

  std::unique_ptr<Xvfb> x_;
  std::unique_ptr<Program> program_;
  unsigned long main_ = 0;
};

// ---- The main window ------------------------------------------------------------------------

TEST_F(DesktopTest, MainWindowControlsStandWhereTheirDialogUnitsSay) {
  Start();
  ExpectLayout(102, main_);
  SaveScreenshot(*x_, "main-window");
  PixelRect win = WindowRect(dpy(), main_);
  // Centred on the screen.
  EXPECT_NEAR(win.CentreX(), 512, 1);
  EXPECT_NEAR(win.CentreY(), 384, 1);

  // The black screen: black inside its sunken edge, the grey face just outside.
  PixelRect screen = Control("102", -1);
  Pixels s = Grab(dpy(), {screen.x - 2, screen.y - 2, screen.w + 4, screen.h + 4});
  ASSERT_EQ(s.w, screen.w + 4);
  EXPECT_EQ(s.At(0, s.h / 2), kFace);
  EXPECT_EQ(s.At(5, s.h - 6), kBlack);
  EXPECT_EQ(s.At(s.w - 6, 5), kBlack);
  EXPECT_EQ(s.At(s.w - 1, s.h / 2), kFace);

  // Each lamp shows exactly the off or the on picture, where the dump says it is. Lamps
  // stand 19 or 20 pixels apart, so a lamp's last column may lie under its right neighbour.
  Pixels off = Bitmap(146), on = Bitmap(147);
  ASSERT_GT(off.w, 0) << "the lamp pictures are not built in";
  auto sameBut = [](const Pixels& a, const Pixels& b, int lastColumns) {
    if (a.w != b.w || a.h != b.h) return false;
    for (int y = 0; y < a.h; ++y)
      for (int x = 0; x < a.w - lastColumns; ++x)
        if (a.At(x, y) != b.At(x, y)) return false;
    return true;
  };
  const auto& lamps = kLampIds;
  for (int k = 0; k < 10; ++k) {
    PixelRect r = Control("102", lamps[k]);
    int covered = k < 9 ? std::max(0, r.Right() - Control("102", lamps[k + 1]).x) : 0;
    Pixels lamp = Grab(dpy(), r);
    EXPECT_TRUE(sameBut(lamp, off, covered) || sameBut(lamp, on, covered)) << lamps[k];
  }

  // A button sits in a sunken well: dark grey and white outside, the button's own black
  // shadow inside, the face colour beyond.
  PixelRect exit = Control("102", 2);
  Pixels b = Grab(dpy(), {exit.x - 2, exit.y - 2, exit.w + 4, exit.h + 4});
  int mid = b.h / 2;
  EXPECT_EQ(b.At(0, mid), kFace);
  EXPECT_EQ(b.At(2, mid), 0x808080u);
  EXPECT_EQ(b.At(b.w - 3, mid), 0xFFFFFFu);
  EXPECT_EQ(b.At(b.w - 5, mid), kBlack);
  EXPECT_EQ(b.At(b.w - 1, mid), kFace);
}

TEST_F(DesktopTest, TheLampsSweep) {
  Start();
  Pixels on = Bitmap(147);
  ASSERT_GT(on.w, 0) << "the lamp pictures are not built in";
  const auto& ids = kLampIds;
  PixelRect row = Control("102", IDC_LAMP1);
  row.w = Control("102", IDC_LAMP10).Right() - row.x;
  std::set<int> litSeen;
  int changes = 0;
  Pixels last = Grab(dpy(), row);
  // A look every 100 ms until the bar has changed four times and three lamps were seen lit; a
  // busy machine may slow the sweep down, so the bound is generous.
  WaitUntil(
      [&] {
        Pixels now = Grab(dpy(), row);
        changes += now == last ? 0 : 1;
        last = now;
        for (int k = 0; k < 10; ++k)
          if (Grab(dpy(), Control("102", ids[k])) == on) litSeen.insert(k);
        return changes >= 4 && litSeen.size() >= 3;
      },
      10000, 100);
  EXPECT_GE(changes, 4);
  EXPECT_GE(litSeen.size(), 3u);
  SaveScreenshot(*x_, "main-window-sweep");
}

// ---- Ending the program ---------------------------------------------------------------------

TEST_F(DesktopTest, ExitButtonEndsTheProgram) {
  Start();
  Click(Control("102", 2));
  EXPECT_EQ(program_->WaitExit(10000), 0);
}

TEST_F(DesktopTest, EscapeEndsTheProgram) {
  Start();
  Key("Escape");
  EXPECT_EQ(program_->WaitExit(10000), 0);
}

TEST_F(DesktopTest, TheCloseBoxEndsTheProgram) {
  Start();
  SendCloseRequest(dpy(), main_);
  EXPECT_EQ(program_->WaitExit(10000), 0);
}

TEST_F(DesktopTest, MinimizeHidesInTheNotificationAreaAndTheIconBringsItBack) {
  ASSERT_EQ(std::system("command -v trayer >/dev/null 2>&1"), 0)
      << "trayer, the notification area, is needed (./test.sh installs it)";
  Program tray(x_->Name(), "", {}, "/usr/bin/trayer",
               {"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "200",
                "--heighttype", "pixel", "--height", "24"});
  ASSERT_TRUE(WaitUntil([&] { return NotificationAreaPresent(dpy()); }, 10000));
  Start();
  unsigned long icon = 0;
  ASSERT_TRUE(WaitUntil([&] { return (icon = FindTrayIcon(dpy())) != 0; }, 5000));
  SaveScreenshot(*x_, "notification-icon");

  // Minimize hides the window; a left click on the icon brings it back, and so does a
  // right click.
  for (int button : {1, 3}) {
    Click(Control("102", 1));
    ASSERT_TRUE(Gone("Quorblex Pro"));
    PixelRect r = WindowRect(dpy(), icon);
    ASSERT_TRUE(Xdotool(*x_, "mousemove " + std::to_string(r.CentreX()) + " " +
                                 std::to_string(r.CentreY()) + " click " + std::to_string(button)));
    ASSERT_EQ(Expect("Quorblex Pro"), main_) << "button " << button;
  }
  Key("Escape");
  EXPECT_EQ(program_->WaitExit(10000), 0);
}

TEST_F(DesktopTest, WithoutADisplayItSaysSoInOneLine) {
  const std::string line = "quorblex: needs a graphical display (set DISPLAY or WAYLAND_DISPLAY)\n";
  Program none("", kQuiet);
  EXPECT_EQ(none.WaitExit(10000), 1);
  EXPECT_EQ(none.Stderr(), line);
  // A display that is named but not there: the same line, and no abort.
  std::string absent(1, ':');  // appended: GCC 12 -O3 misreads ":" + ... (-Wrestrict)
  absent += std::to_string(60000 + ::getpid() % 5000);
  Program dead(absent, kQuiet);
  EXPECT_EQ(dead.WaitExit(10000), 1);
  EXPECT_EQ(dead.Stderr(), line);
}

TEST_F(DesktopTest, AChangedTextIsOnScreenWhileTheThreadIsHeldByACue) {
  std::string marker = "/tmp/quorblex-probe-" + std::to_string(::getpid());
  std::remove(marker.c_str());
  program_ = std::make_unique<Program>(x_->Name(), "", std::vector<std::string>{},
                                       QUORBLEX_PAINT_PROBE, std::vector<std::string>{marker});
  ASSERT_TRUE(WaitUntil([&] { return ::access(marker.c_str(), F_OK) == 0; }, 15000))
      << program_->Stderr();
  std::remove(marker.c_str());
  ASSERT_TRUE(program_->Running());  // still inside the "cue"
  PixelRect line = Control("149", 1020);
  Pixels p = Grab(dpy(), line);
  ASSERT_GT(p.w, 0);
  int ink = 0;  // dark pixels of the (smoothed) letters on the grey face
  for (uint32_t px : p.rgb) ink += (px >> 16 & 0xFF) < 0x60 && (px >> 8 & 0xFF) < 0x60;
  EXPECT_GT(ink, 20) << "the result line is not painted";
  SaveScreenshot(*x_, "text-during-cue");
}

// ---- Every other window ---------------------------------------------------------------------

TEST_F(DesktopTest, EveryDialogOpensWithItsCaptionAndLayout) {
  Start();
  // The full scan: the lamp dialog, then the results.
  Key("Return");
  unsigned long progress = Expect("Scanning...");
  ASSERT_NE(progress, 0u);
  ExpectLayout(148, progress);
  // It stands at the top left of the main window's client area.
  EXPECT_EQ(WindowRect(dpy(), progress).x, WindowRect(dpy(), main_).x);
  EXPECT_EQ(WindowRect(dpy(), progress).y, WindowRect(dpy(), main_).y);
  WaitUntil([] { return false; }, 1500);
  SaveScreenshot(*x_, "scan-progress");
  ASSERT_NE(Shows("Scan Results", 149, "scan-results", 30000), 0u);
  Key("Return");
  ASSERT_TRUE(Gone("Scan Results"));

  // The abductee scan and its verdict.
  ASSERT_NE(OpenWith("alt+b", "Abductee Scan", 170, "abductee-scan"), 0u);
  // The eight dots lie on the sensor plate, above it.
  PixelRect plate = Control("170", -1);
  for (int id = 1032; id <= 1039; ++id) {
    PixelRect dot = Control("170", id);
    EXPECT_TRUE(dot.x >= plate.x && dot.Right() <= plate.Right() && dot.y >= plate.y &&
                dot.Bottom() <= plate.Bottom())
        << id;
  }
  Key("Return");
  ASSERT_NE(Shows("Abductee Scan Results", 174, "abductee-results"), 0u);
  Key("Return");
  ASSERT_TRUE(Gone("Abductee Scan Results"));

  ASSERT_NE(OpenWith("alt+t", "Setup", 169, "setup"), 0u);
  Key("Escape");
  ASSERT_TRUE(Gone("Setup"));

  unsigned long about = OpenWith("alt+a", "About Quorblex Pro", 100, "about");
  ASSERT_NE(about, 0u);
  PixelRect a = WindowRect(dpy(), about), m = WindowRect(dpy(), main_);
  EXPECT_NEAR(a.CentreX(), m.CentreX(), 1);
  EXPECT_NEAR(a.CentreY(), m.CentreY(), 1);
  // Help opens the program's own viewer, an ordinary window beside the box.
  Click(Control("100", 9));
  unsigned long help = WaitForWindow(dpy(), "Quorblex Pro Help", 5000);
  ASSERT_NE(help, 0u);
  WaitUntil([] { return false; }, 300);
  SaveScreenshot(*x_, "help");
  SendCloseRequest(dpy(), help);
  ASSERT_TRUE(Gone("Quorblex Pro Help"));
  // Back to the box by clicking it: there is no window manager here to do that.
  Click(Control("100", 65535));
  ASSERT_TRUE(WaitUntil([&] { return FocusedTopLevel(dpy()) == about; }, 5000));
  Key("Escape");
  ASSERT_TRUE(Gone("About Quorblex Pro"));

  ASSERT_TRUE(WaitUntil([&] { return FocusedTopLevel(dpy()) == main_; }, 5000));
  Key("Escape");
  EXPECT_EQ(program_->WaitExit(10000), 0);
}

TEST_F(DesktopTest, TheOwnerOfAnOpenDialogIgnoresClicks) {
  Start();
  Key("Return");
  ASSERT_NE(Expect("Scanning..."), 0u);
  // Exit on the main window, beside the scan dialog: nothing happens while the scan runs.
  Click(Control("102", 2));
  WaitUntil([] { return false; }, 300);
  EXPECT_TRUE(program_->Running());
  EXPECT_NE(FindWindow(dpy(), "Scanning..."), 0u);
  Key("Escape");
  ASSERT_NE(Expect("Scan Results"), 0u);
  Key("Return");
  ASSERT_TRUE(Gone("Scan Results"));
  Click(Control("102", 2));
  EXPECT_EQ(program_->WaitExit(10000), 0);
}

// ---- The seed ------------------------------------------------------------------------------

// The draws a program has noted in its dump so far ("draw N RESULT" lines), in order.
std::vector<std::string> Draws(const Program& program) {
  std::ifstream in(program.GeometryFile());
  std::vector<std::string> draws;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("draw ", 0) == 0) draws.push_back(line);
  return draws;
}

// Three programs started at once, each on a screen of its own, open the abductee scan, whose
// sensor plate twinkles at random from the first tick: each draws a sequence of its own. A seed
// that came from the clock's second would give at least two of them the same one.
TEST(DesktopSeed, ProgramsStartedTogetherDrawDifferently) {
  ASSERT_TRUE(DesktopToolsPresent()) << "Xvfb and xdotool are needed (./test.sh installs them)";
  constexpr size_t kStarts = 3, kDraws = 32;
  std::vector<std::unique_ptr<Xvfb>> screens;
  for (size_t i = 0; i < kStarts; ++i) {
    screens.push_back(std::make_unique<Xvfb>());
    ASSERT_TRUE(screens.back()->Ok()) << "Xvfb did not start";
  }
  std::vector<std::unique_ptr<Program>> programs;
  for (auto& x : screens) programs.push_back(std::make_unique<Program>(x->Name(), kQuiet));
  std::set<std::vector<std::string>> sequences;
  for (size_t i = 0; i < kStarts; ++i) {
    ::Display* dpy = screens[i]->Connection();
    unsigned long main = WaitForWindow(dpy, "Quorblex Pro", 15000);
    ASSERT_NE(main, 0u) << "no main window; stderr: " << programs[i]->Stderr();
    ASSERT_TRUE(WaitUntil([&] { return FocusedTopLevel(dpy) == main; }, 5000));
    ASSERT_TRUE(Xdotool(*screens[i], "key alt+b"));
    ASSERT_TRUE(WaitUntil([&] { return Draws(*programs[i]).size() >= kDraws; }, 10000))
        << "start " << i << " drew " << Draws(*programs[i]).size() << " times";
    sequences.insert(Draws(*programs[i]));
  }
  EXPECT_EQ(sequences.size(), kStarts);
}

}  // namespace
