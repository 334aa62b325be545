// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The About box and the help page, as a user meets them through the simulator: the two ways in,
// the four ways out, and the Help button with and without the page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/SimRun.h"

namespace {
const std::string kOpen = "open 100 \"About Quorblex Pro\"";
const std::string kHelp = "help \"quorblex.html\" contents";

// The two ways in: the About... button and the window menu's About item.
const char* kOpeners[] = {"click 1001", "sysmenu 16"};

size_t SweepBetween(const SimResult& r, std::int64_t from, std::int64_t to) {
  size_t n = 0;
  for (const auto& l : r.With("picture 102 "))
    if (l.time > from && l.time < to) ++n;
  return n;
}

std::vector<std::string> EventsAt(const SimResult& r, std::int64_t time) {
  std::vector<std::string> out;
  for (const auto& l : r.lines)
    if (l.time == time && l.event.rfind("picture", 0) != 0) out.push_back(l.event);
  return out;
}

std::string ReadHelpPage() {
  std::ifstream in(std::string(QUORBLEX_SOURCE_DIR) + "/res/quorblex.html");
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
}  // namespace

TEST(AboutBox, TheButtonPausesTheMonitorAndTheWindowMenuDoesNot) {
  SimResult button = RunSim("--seed 1 --trace",
                            "wait 100\nclick 1001\nwait 1000\nkey Escape\n"
                            "wait 100\n");
  ASSERT_EQ(button.status, 0) << button.err;
  EXPECT_EQ(EventsAt(button, 100), (std::vector<std::string>{"timer 102 1 kill", kOpen}));
  EXPECT_EQ(SweepBetween(button, 100, 1101), 0u) << button.Text();
  EXPECT_EQ(EventsAt(button, 1100),
            (std::vector<std::string>{"close 100 2", "timer 102 1 set 25"}));
  EXPECT_GT(SweepBetween(button, 1100, 1200), 0u);

  SimResult menu = RunSim("--seed 1 --trace",
                          "wait 100\nsysmenu 16\nwait 1000\nkey Escape\n"
                          "wait 100\n");
  ASSERT_EQ(menu.status, 0) << menu.err;
  EXPECT_EQ(EventsAt(menu, 100), (std::vector<std::string>{kOpen}));
  EXPECT_EQ(EventsAt(menu, 1100), (std::vector<std::string>{"close 100 2"})) << menu.Text();
  // The lamps sweep on behind the box: a tick every 25 ms, with no timer call.
  EXPECT_GT(SweepBetween(menu, 100, 1100), 30u);
  EXPECT_EQ(menu.Events("timer"), (std::vector<std::string>{"timer 102 1 set 25"}));
}

TEST(AboutBox, OkEnterEscapeAndCloseEachEndIt) {
  struct Way {
    const char* input;
    int result;
  };
  const Way ways[] = {{"click 1", 1}, {"key Enter", 1}, {"key Escape", 2}, {"close", 2}};
  for (const char* opener : kOpeners) {
    for (const Way& way : ways) {
      SimResult r = RunSim("--seed 1", std::string("wait 50\n") + opener + "\nwait 50\n" +
                                           way.input + "\nwait 50\nclick 1002\nwait 10\n");
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(r.TimeOf(kOpen), 50) << opener << " " << way.input;
      EXPECT_EQ(r.Events("close"),
                std::vector<std::string>{"close 100 " + std::to_string(way.result)})
          << opener << " " << way.input << "\n"
          << r.Text();
      EXPECT_EQ(r.TimeOf("close 100"), 100);
      // The main window takes clicks again.
      EXPECT_EQ(r.TimeOf("open 169"), 150) << opener << " " << way.input;
    }
  }
}

TEST(AboutBox, HelpShowsThePageAndLeavesTheBoxOpen) {
  for (const char* opener : kOpeners) {
    SimResult r = RunSim("--seed 1", std::string("wait 50\n") + opener +
                                         "\nwait 50\nclick 9\nwait 50\nclick 9\nwait 50\n"
                                         "click 1\nwait 10\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::int64_t> helps;
    for (const auto& l : r.With(kHelp)) helps.push_back(l.time);
    EXPECT_EQ(helps, (std::vector<std::int64_t>{100, 150})) << opener << "\n" << r.Text();
    // Nothing else changes: no message, the box ends only on OK.
    EXPECT_TRUE(r.With("msgbox").empty());
    EXPECT_EQ(r.Events("close"), std::vector<std::string>{"close 100 1"});
    EXPECT_EQ(r.TimeOf("close 100"), 200);
  }
}

TEST(AboutBox, AMissingHelpPageIsReportedAndTheBoxStaysOpen) {
  namespace fs = std::filesystem;
  TempProfile empty;  // its folder holds no help page
  std::string dir = fs::path(empty.path()).parent_path().string();
  TempProfile p("[Options]\nUseSounds=0\n");
  for (const char* answer : {"key Enter", "key Escape", "click 1"}) {
    SimResult r = RunSim("--seed 1 --data " + dir + " --profile " + p.path(),
                         std::string("wait 50\nclick 1001\nwait 50\nclick 9\nwait 50\n") + answer +
                             "\nwait 50\nkey Escape\nwait 10\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.TimeOf(kHelp), 100) << r.Text();
    auto boxes = r.With("msgbox");
    ASSERT_EQ(boxes.size(), 1u) << r.Text();
    EXPECT_EQ(boxes[0].time, 100);
    EXPECT_EQ(boxes[0].event.rfind("msgbox \"Cannot find the quorblex.html file.", 0), 0u)
        << boxes[0].event;
    EXPECT_NE(boxes[0].event.find("\" \"Help\" 0x10"), std::string::npos) << boxes[0].event;
    // An OK box: each answer closes it, and the About box is still there for the last Escape.
    EXPECT_EQ(r.Events("close"), (std::vector<std::string>{"close msgbox 1", "close 100 2"}))
        << answer;
    EXPECT_EQ(r.TimeOf("close msgbox"), 150);
    EXPECT_EQ(r.TimeOf("close 100"), 200);
  }
}

TEST(AboutBox, TheWindowMenuOffersAboutAndCloseWhileTheWindowTakesInput) {
  SimResult r = RunSim("--seed 1",
                       "sysmenu 16\nwait 10\nsysmenu 16\nkey Escape\nwait 10\n"
                       "sysmenu 61488\nsysmenu 17\nclick 1\nwait 10\nsysmenu 16\nwait 10\n"
                       "tray lbuttondown\nwait 10\nsysmenu 61536\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // While the About box is open the main window's menu cannot be reached: no second box.
  EXPECT_EQ(r.Events("open 100"), std::vector<std::string>{kOpen});
  EXPECT_EQ(r.Events("ignored"),
            (std::vector<std::string>{"ignored sysmenu 16", "ignored sysmenu 61488",
                                      "ignored sysmenu 17", "ignored sysmenu 16"}))
      << r.Text();
  EXPECT_EQ(r.TimeOf("close 102 2"), 50);
}

TEST(AboutBox, TheHelpPageExplainsEveryWindowButtonAndOptionOnItsOwn) {
  std::string page = ReadHelpPage();
  ASSERT_FALSE(page.empty());
  const char* topics[] = {
      // Windows and the alert.
      "Quorblex Pro", "Scanning...", "Scan Results", "Abductee Scan Results", "Setup",
      "About Quorblex Pro", "Sensors Indicate Possible Activity!", "Perform Full Scan?",
      // The six buttons and the things around them.
      "Minimize", "Scan", "Abductee Scan", "Settings", "About...", "Exit", "lamp", "clip",
      "notification icon", "task bar", "window menu", "Help", "Abort", "Cancel",
      // The eight options.
      "Use Sounds", "Active", "Sensitivity", "Dial Psychic Hotline", "Check Tabloid Headlines",
      "Ask A Lunatic", "Look Out The Window", "S.W.A.G."};
  for (const char* topic : topics) EXPECT_NE(page.find(topic), std::string::npos) << topic;
  // Everything it needs is in the page: no pictures, scripts or links out of it.
  for (const char* outside : {"<img", "<script", "src=", "http:", "https:", "file:", "www."})
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  // Every link inside the page has its anchor.
  std::set<std::string> anchors;
  std::regex name("<a name=\"([^\"]+)\">");
  for (std::sregex_iterator it(page.begin(), page.end(), name), end; it != end; ++it)
    anchors.insert((*it)[1]);
  std::regex href("href=\"([^\"]*)\"");
  size_t links = 0;
  for (std::sregex_iterator it(page.begin(), page.end(), href), end; it != end; ++it, ++links) {
    std::string target = (*it)[1];
    ASSERT_FALSE(target.empty());
    EXPECT_EQ(target[0], '#') << target;
    EXPECT_TRUE(anchors.count(target.substr(1))) << target;
  }
  EXPECT_GT(links, 0u);
}
