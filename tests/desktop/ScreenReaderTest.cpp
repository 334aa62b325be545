// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program as a screen reader meets it: `quorblex` on a private X server with its
// own session bus and accessibility bus, walked through with real keys by
// tests/desktop/screen_reader.py, which listens to the events that make Orca speak and says
// what Orca says of them. What it must say is written out below, step by step.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/desktop/Harness.h"

namespace {

// No sounds, and no monitor alert in the middle of the walk.
const char* kSilent = "[Options]\nUseSounds=0\nMonitor=0\n";
const char* kBusLauncher = "/usr/libexec/at-spi-bus-launcher";
const char* kRegistry = "/usr/libexec/at-spi2-registryd";
const char* kPython = "/usr/bin/python3";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Succeeds(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// What is missing for this test, named; empty when nothing is.
std::string Missing() {
  std::string missing;
  if (!DesktopToolsPresent()) missing += " Xvfb/xdotool (xvfb, xdotool)";
  if (!Succeeds("command -v dbus-daemon")) missing += " dbus-daemon (dbus)";
  if (!Succeeds("command -v dbus-send")) missing += " dbus-send (dbus-bin)";
  if (::access(kBusLauncher, X_OK) != 0 || ::access(kRegistry, X_OK) != 0)
    missing += " the AT-SPI bus (at-spi2-core)";
  if (!Succeeds(std::string(kPython) + " -c 'import pyatspi'")) missing += " python3-pyatspi";
  if (::access("/usr/bin/trayer", X_OK) != 0) missing += " trayer";
  return missing;
}

// What Orca says on the walk, step by step. "<results>" stands for the revealed results, one
// notification each, "notification CAPTION VALUE", as the results dialog shows them afterwards.
const char* kSpeech = R"(== start
Quorblex Pro dialog.
radar sweep.
radar scope, oscilloscope and level meters.
== Tab round the main window
Minimize push button.
Minimize Quorblex Pro to the system tray.
Scan push button.
Perform full scan for Extraterrestrial lifeforms.
Abductee Scan push button.
Scan an individual for repressed abductee experiences.
Settings push button.
Set Quorblex Pro options.
About... push button.
Display version and copyright information.
Exit push button.
Exit Quorblex Pro.
radar sweep.
radar scope, oscilloscope and level meters.
== Alt+S: a full scan
Scanning... dialog.
Abort push button.
notification Dialing psychic hotline...
notification Checking tabloid headlines...
notification Asking a lunatic...
notification Looking out the window...
notification S.W.A.G.
Scan Results dialog.
OK push button.
<results>
== Enter closes the results
Quorblex Pro dialog.
radar sweep.
radar scope, oscilloscope and level meters.
== Alt+T: Setup
Setup dialog.
Use Sounds check box not checked.
== Space toggles Use Sounds
checked
== Escape closes Setup
Quorblex Pro dialog.
radar sweep.
radar scope, oscilloscope and level meters.
== Alt+A: the About box
About Quorblex Pro dialog Quorblex Pro Version 1.0a Quorblex Instrument Works Calibration: Dr. Ima Zorp, Station 9 For entertainment only. No lifeform, terrestrial or otherwise, was probed. Signals: any tin-foil antenna Mail: Crater Row 7, Far Side of the Moon.
OK push button.
== Enter closes the About box
Quorblex Pro dialog.
radar sweep.
radar scope, oscilloscope and level meters.
== Alt+M: Minimize
)";

// One node of an accessible tree as the reader prints it.
struct Node {
  int depth = 0;
  std::string role, name, description, labelledBy, value, states;
  bool Showing() const { return states.find("showing") != std::string::npos; }
};

struct Reading {
  std::map<std::string, std::vector<Node>> trees;  // by window title
  std::string speech;                              // the steps and what was said, a line each
};

Reading Parse(const std::string& output) {
  Reading r;
  std::istringstream in(output);
  std::string line;
  const std::string tree = "tree ", said = "said ", step = "== ";
  while (std::getline(in, line)) {
    if (line.rfind(step, 0) == 0) r.speech += line + "\n";
    if (line.rfind(said, 0) == 0) r.speech += line.substr(said.size()) + "\n";
    if (line.rfind(tree, 0) != 0) continue;
    std::istringstream fields(line.substr(tree.size()));
    std::string title, depth;
    Node n;
    std::getline(fields, title, '|');
    std::getline(fields, depth, '|');
    n.depth = std::atoi(depth.c_str());
    std::getline(fields, n.role, '|');
    std::getline(fields, n.name, '|');
    std::getline(fields, n.description, '|');
    std::getline(fields, n.labelledBy, '|');
    std::getline(fields, n.value, '|');
    std::getline(fields, n.states);
    r.trees[title].push_back(n);
  }
  return r;
}

// The revealed results, caption and value, in the order of the dialog.
std::vector<std::pair<std::string, std::string>> Results(const std::vector<Node>& dialog) {
  std::vector<std::pair<std::string, std::string>> shown;
  for (const Node& n : dialog)
    if (n.role == "label" && !n.labelledBy.empty() && n.Showing())
      shown.emplace_back(n.labelledBy, n.name);
  return shown;
}

std::string ExpectedSpeech(const std::vector<std::pair<std::string, std::string>>& results) {
  std::string lines;
  for (const auto& [caption, value] : results) {
    lines += "notification " + caption + " " + value;
    if (!value.empty() && std::isalnum(static_cast<unsigned char>(value.back()))) lines += ".";
    lines += "\n";
  }
  std::string speech = kSpeech;
  const std::string mark = "<results>\n";
  return speech.replace(speech.find(mark), mark.size(), lines);
}

class ScreenReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string missing = Missing();
    ASSERT_TRUE(missing.empty()) << "needed for the screen reader test:" << missing;
    x_ = std::make_unique<Xvfb>();
    ASSERT_TRUE(x_->Ok()) << "Xvfb did not start";
    // A session bus of our own, and the accessibility bus announced on it.
    bus_ = std::make_unique<Program>(
        x_->Name(), "", std::vector<std::string>{}, "/usr/bin/dbus-daemon",
        std::vector<std::string>{"--session", "--nofork", "--print-address=1"});
    std::string address;
    ASSERT_TRUE(WaitUntil(
        [&] {
          address = ReadFile(bus_->Home() + "/stdout.txt");
          return address.find('\n') != std::string::npos;
        },
        10000))
        << "the session bus did not start: " << bus_->Stderr();
    busEnv_ = "DBUS_SESSION_BUS_ADDRESS=" + address.substr(0, address.find('\n'));
    launcher_ =
        std::make_unique<Program>(x_->Name(), "", std::vector<std::string>{busEnv_}, kBusLauncher,
                                  std::vector<std::string>{"--launch-immediately"});
    std::string ask = busEnv_ +
                      " dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus "
                      "org.a11y.Bus.GetAddress";
    ASSERT_TRUE(WaitUntil([&] { return Succeeds(ask); }, 10000, 50))
        << "the accessibility bus did not come up: " << launcher_->Stderr();
    // A notification area, for Minimize to hide the window in.
    tray_ = std::make_unique<Program>(
        x_->Name(), "", std::vector<std::string>{}, "/usr/bin/trayer",
        std::vector<std::string>{"--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                 "--width", "200", "--heighttype", "pixel", "--height", "24"});
    ASSERT_TRUE(WaitUntil([&] { return NotificationAreaPresent(x_->Connection()); }, 10000))
        << "trayer did not start: " << tray_->Stderr();
  }

  // Walks through a freshly started program with the reader listening; the reader's output.
  std::string Walk() {
    Program reader(x_->Name(), "", {busEnv_}, kPython, {QUORBLEX_SCREEN_READER});
    std::string out;
    bool listening = WaitUntil(
        [&] {
          out = ReadFile(reader.Home() + "/stdout.txt");
          return out.find("listening\n") != std::string::npos || !reader.Running();
        },
        20000, 20);
    EXPECT_TRUE(listening && reader.Running()) << "the reader did not start: " << reader.Stderr();
    if (!reader.Running()) return out;
    Program program(x_->Name(), kSilent, {busEnv_, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"});
    int status = reader.WaitExit(150000);
    out = ReadFile(reader.Home() + "/stdout.txt");
    EXPECT_EQ(status, 0) << "the reader failed: " << reader.Stderr()
                         << "\nprogram: " << program.Stderr() << "\nread so far:\n"
                         << out;
    // Minimized, the program runs on as its icon in the notification area, its window gone
    // from the screen.
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(WaitUntil([&] { return FindWindow(x_->Connection(), "Quorblex Pro") == 0; }, 5000))
        << "the main window is still on the screen";
    EXPECT_NE(FindTrayIcon(x_->Connection()), 0u) << "the icon is not in the notification area";
    return out;
  }

  std::unique_ptr<Xvfb> x_;
  std::unique_ptr<Program> bus_, launcher_, tray_;
  std::string busEnv_;
};

TEST_F(ScreenReaderTest, TheWalkIsSpokenAsInANativeDialogAndEachResultOnce) {
  Reading r = Parse(Walk());

  // The main window: a dialog named by its caption, every part of it named.
  const std::vector<Node>& main = r.trees["Quorblex Pro"];
  ASSERT_FALSE(main.empty());
  EXPECT_EQ(main[0].role, "dialog");
  std::multiset<std::string> roles;
  std::set<std::string> names;
  for (size_t i = 1; i < main.size(); ++i) {
    EXPECT_FALSE(main[i].name.empty()) << "an unnamed " << main[i].role;
    EXPECT_NE(main[i].role, "filler") << main[i].name;
    roles.insert(main[i].role);
    names.insert(main[i].name);
  }
  EXPECT_EQ(roles.count("image"), 10u);
  EXPECT_EQ(roles.count("push button"), 6u);
  EXPECT_EQ(roles.count("animation"), 1u);
  for (const char* name : {"lamp 1", "lamp 4", "lamp 10", "radar sweep", "Scan", "Abductee Scan"})
    EXPECT_TRUE(names.count(name)) << name;

  // Reviewed afterwards, the results dialog has its four captions and each value that showed
  // labelled by its caption; nothing else in it speaks up.
  const std::vector<Node>& results = r.trees["Scan Results"];
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(results[0].role, "dialog");
  std::set<std::string> captions;
  for (const Node& n : results) {
    if (n.role == "label" && n.depth == 1 && n.labelledBy.empty()) captions.insert(n.name);
    if (n.Showing()) {
      EXPECT_FALSE(n.name.empty()) << "an unnamed " << n.role;
    }
    EXPECT_NE(n.role, "notification") << n.name;
  }
  EXPECT_EQ(captions, (std::set<std::string>{
                          "Alien Presence:", "Proximity:", "Type:", "Abduction Probability:"}));
  auto shown = Results(results);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0].first, "Alien Presence:");
  EXPECT_TRUE((std::set<std::string>{"None Detected", "Probable", "Detected", "You are an alien!"})
                  .count(shown[0].second))
      << shown[0].second;

  // What Orca says: every dialog with its first focus, each result once, and every return to
  // the main window with where its focus is.
  EXPECT_EQ(r.speech, ExpectedSpeech(shown));
}

}  // namespace
