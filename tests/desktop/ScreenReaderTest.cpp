// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program as a screen reader meets it: `quorblex` on a private X server with its
// own session bus and accessibility bus, read over AT-SPI by tests/desktop/screen_reader.py,
// which presses Scan through the button's accessible action and listens as Orca would.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/desktop/Harness.h"

namespace {

const char* kQuiet = "[Options]\nUseSounds=0\n";
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
  return missing;
}

// One node of an accessible tree as the reader prints it.
struct Node {
  int depth = 0;
  std::string role, name, description, labelledBy, value, states;
  bool Showing() const { return states.find("showing") != std::string::npos; }
};

struct Reading {
  std::map<std::string, std::vector<Node>> trees;  // by window title
  std::vector<std::string> announced;              // notifications shown, by their words
};

Reading Parse(const std::string& output) {
  Reading r;
  std::istringstream in(output);
  std::string line;
  const std::string tree = "tree ", shown = "heard object:state-changed:showing notification|";
  while (std::getline(in, line)) {
    if (line.rfind(shown, 0) == 0) r.announced.push_back(line.substr(shown.size()));
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
  }

  // Runs the reader against a freshly started program; its standard output.
  std::string Read() {
    Program program(x_->Name(), kQuiet, {busEnv_, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"});
    Program reader(x_->Name(), "", {busEnv_}, kPython, {QUORBLEX_SCREEN_READER});
    int status = reader.WaitExit(120000);
    std::string out = ReadFile(reader.Home() + "/stdout.txt");
    EXPECT_EQ(status, 0) << "the reader failed: " << reader.Stderr()
                         << "\nprogram: " << program.Stderr() << "\nread so far:\n"
                         << out;
    return out;
  }

  std::unique_ptr<Xvfb> x_;
  std::unique_ptr<Program> bus_, launcher_;
  std::string busEnv_;
};

TEST_F(ScreenReaderTest, TheMainWindowAndTheScanResultsAreReadAndEachResultIsAnnounced) {
  Reading r = Parse(Read());

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

  // The results: the four captions, and each value that showed read with its caption, and
  // announced with it as it appeared.
  const std::vector<Node>& results = r.trees["Scan Results"];
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(results[0].role, "dialog");
  EXPECT_EQ(results[0].name, "Scan Results");
  std::map<std::string, std::string> values;  // caption -> value
  std::set<std::string> captions;
  for (const Node& n : results) {
    if (n.role == "label" && n.depth == 1 && n.labelledBy.empty()) captions.insert(n.name);
    if (n.role == "label" && !n.labelledBy.empty() && n.Showing()) values[n.labelledBy] = n.name;
    if (n.Showing()) {
      EXPECT_FALSE(n.name.empty()) << "an unnamed " << n.role;
    }
  }
  EXPECT_EQ(captions, (std::set<std::string>{
                          "Alien Presence:", "Proximity:", "Type:", "Abduction Probability:"}));
  ASSERT_TRUE(values.count("Alien Presence:"));
  EXPECT_TRUE((std::set<std::string>{"None Detected", "Probable", "Detected", "You are an alien!"})
                  .count(values["Alien Presence:"]))
      << values["Alien Presence:"];
  for (const auto& [caption, value] : values) {
    std::string words = caption + " " + value;
    EXPECT_NE(std::find(r.announced.begin(), r.announced.end(), words), r.announced.end())
        << "never announced: " << words;
  }
  // The scan's progress was told as it went.
  EXPECT_NE(std::find(r.announced.begin(), r.announced.end(), "Dialing psychic hotline..."),
            r.announced.end());
}

}  // namespace
