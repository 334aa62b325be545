// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The abductee scan as a user meets it through the simulator: the twinkling sensor dots, the
// Scan and Cancel routes, the cues and the verdict. A model of the two dialogs, fed by its own
// copy of the classic generator, writes the transcript each script must give, draw for draw.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/DialogTemplate.h"
#include "common/WavInfo.h"
#include "tests/support/SimRun.h"

namespace {
constexpr int kGrey = 180, kRed = 181, kGreen = 179, kAmber = 182, kBlue = 178;

// Each dot in the order the twinkle visits it: the picture it opens with, its rest colour and
// the flash colours a second draw of 26 or more (A) or 25 or less (B) gives.
struct Dot {
  int id, opening, rest, flashA, flashB;
};
constexpr Dot kDots[8] = {
    {1032, kRed, kBlue, kRed, kGreen},     {1033, kAmber, kGrey, kRed, kAmber},
    {1034, kGreen, kAmber, kBlue, kGreen}, {1035, kGrey, kGrey, kRed, kGreen},
    {1036, kRed, kBlue, kRed, kGreen},     {1037, kBlue, kGrey, kRed, kAmber},
    {1038, kAmber, kAmber, kBlue, kGreen}, {1039, kRed, kGrey, kRed, kGreen},
};

// The verdict texts as the transcript quotes them.
const std::map<int, std::string> kVerdicts = {
    {131, "No abductee experiences detected during scan."},
    {132, "Scan results inconclusive."},
    {133, "Scan indicates individual as possible alien abductee."},
    {134,
     "Scan indicates individual as an alien abductee. \\nOrafice probing confirmed.\\nImplant "
     "confirmed."},
    {135, "Scan indicates individual as an alien abductee."},
};

std::string Quiet() { return "[Options]\nMonitor=0\nUseSounds=0\n"; }
std::string Loud() { return "[Options]\nMonitor=0\nUseSounds=1\n"; }

std::int64_t CueLength(const std::string& name) {
  auto info = ReadWavInfo(std::string(QUORBLEX_SOURCE_DIR) + "/res/sounds/" + name);
  return info ? info->durationMs : -1;
}

struct Input {
  std::int64_t after;  // ms after the dialog opened
  std::string command;
};

// Plays the user's part and the program's: builds the script and, beside it, every line the
// two dialogs must print. Scan and Cancel are pressed, greyed or not, as the dialog manager
// does it: Enter presses the focused button or the default one, never a greyed one; Esc always
// means Cancel; the close box only while Cancel is not greyed.
class AbducteeModel {
 public:
  AbducteeModel(unsigned seed, bool sounds) : state_(seed), sounds_(sounds) {
    script = "wait 10\n";
    now_ = 10;
  }

  // The Abductee Scan button, then `inputs`; a completed scan hands `verdictInputs` to the
  // verdict dialog. Returns the scan's result.
  int Scan(const std::vector<Input>& inputs,
           const std::vector<Input>& verdictInputs = {{100, "key Enter"}}) {
    const std::int64_t t0 = now_ + 40;
    Command(t0, "click 3");
    Emit(t0, "open 170 \"Abductee Scan\"");
    Emit(t0, "timer 170 2 set 50");
    enum { kIdle, kRequested, kScanning } phase = kIdle;
    bool focusOnCancel = false;
    bool lit[8] = {};
    int shown[8], toggles[8] = {};
    for (int i = 0; i < 8; ++i) shown[i] = kDots[i].opening;
    auto show = [&](std::int64_t t, int i, int bmp) {
      if (shown[i] == bmp) return;
      shown[i] = bmp;
      Emit(t, "picture 170 " + std::to_string(kDots[i].id) + " " + std::to_string(bmp));
    };
    size_t next = 0;
    for (int k = 1;; ++k) {
      const std::int64_t tick = t0 + 50 * k;
      for (; next < inputs.size() && t0 + inputs[next].after < tick; ++next) {
        const std::int64_t t = t0 + inputs[next].after;
        const std::string& c = inputs[next].command;
        Command(t, c);
        const bool live = phase != kScanning;  // both buttons greyed while scanning
        bool ok = false, cancel = c == "key Escape";
        if (c == "click 1" || c == "click 2") {
          if (!live) Emit(t, "ignored " + c);
          ok = live && c == "click 1";
          cancel = live && c == "click 2";
        } else if (c == "key Enter" || c == "key Space") {
          ok = live && !focusOnCancel;
          cancel = live && focusOnCancel;
        } else if (c == "key Tab") {
          if (live) focusOnCancel = !focusOnCancel;
        } else if (c == "close") {
          cancel = live;
        }
        if (cancel) {
          Emit(t, "timer 170 2 kill");
          Emit(t, "close 170 0");
          return 0;
        }
        if (ok) phase = kRequested;
      }
      if (phase == kScanning) {
        if (next < inputs.size()) ADD_FAILURE() << "the script types on after the scan ended";
        Emit(tick, "timer 170 2 kill");
        std::int64_t t = tick;
        if (sounds_) {
          Emit(t, "sound \"scanning.wav\" sync");
          t += CueLength("scanning.wav");
          Emit(t, "sound \"test.wav\" sync");
          t += CueLength("test.wav");
        }
        Emit(t, "close 170 1");
        Verdict(t, verdictInputs);
        return 1;
      }
      if (phase == kRequested) {
        for (int i = 0; i < 8; ++i) show(tick, i, kGreen);
        Emit(tick, "enable 170 1 0");
        Emit(tick, "enable 170 2 0");
        phase = kScanning;
        continue;
      }
      bool quiet = true;
      for (int i = 0; i < 8; ++i) {
        if (Draw(tick, 50) <= 30) continue;
        quiet = false;
        if (++toggles[i] == 1) firstFlash[kDots[i].id].push_back(tick);
        if (lit[i]) {
          show(tick, i, kDots[i].rest);
          lit[i] = false;
          continue;
        }
        show(tick, i, Draw(tick, 50) >= 26 ? kDots[i].flashA : kDots[i].flashB);
        lit[i] = true;
      }
      if (quiet) quietTicks.push_back(tick);
    }
  }

  std::string script;
  std::vector<std::string> expected;  // "TIME EVENT", the lines Filter() keeps
  std::vector<std::int64_t> quietTicks;
  std::map<int, std::vector<std::int64_t>> firstFlash;  // dot id: ticks of its first toggle
  std::map<int, int> verdictShown;                      // string number: how often
  std::map<int, int> verdictDrawCount;                  // draws made: how often

 private:
  void Verdict(std::int64_t t0, const std::vector<Input>& inputs) {
    Emit(t0, "open 174 \"Abductee Scan Results\"");
    Emit(t0, "text 174 1036 \"\"");
    Emit(t0, "timer 174 3 set 25");
    size_t next = 0;
    auto closeBefore = [&](std::int64_t limit) {
      for (; next < inputs.size() && t0 + inputs[next].after < limit; ++next) {
        const std::int64_t t = t0 + inputs[next].after;
        const std::string& c = inputs[next].command;
        Command(t, c);
        if (c == "key Escape" || c == "close") {
          Emit(t, "close 174 2");
          return true;
        }
        if (c == "key Enter" || c == "key Space" || c == "click 1") {
          Emit(t, "close 174 1");
          return true;
        }
      }
      return false;
    };
    if (closeBefore(t0 + 25)) return;
    if (sounds_) Emit(t0 + 25, "sound \"analcomp.wav\" async");
    if (closeBefore(t0 + 50)) return;
    const std::int64_t t = t0 + 50;
    int v = Draw(t, 6), verdict = 132, draws = 1;
    if (v == 1) verdict = 131;
    if (v == 2) verdict = 133;
    if (v == 3 || v == 4) {
      ++draws;
      bool high = Draw(t, 10) >= 6;
      verdict = v == 3 ? (high ? 135 : 131) : (high ? 134 : 132);
    }
    ++verdictShown[verdict];
    ++verdictDrawCount[draws];
    Emit(t, "text 174 1036 \"" + kVerdicts.at(verdict) + "\"");
    Emit(t, "timer 174 3 kill");
    if (!closeBefore(INT64_MAX)) ADD_FAILURE() << "the script leaves the verdict open";
  }

  void Command(std::int64_t t, const std::string& command) {
    if (t < now_) ADD_FAILURE() << "input out of order at " << t;
    if (t > now_) script += "wait " + std::to_string(t - now_) + "\n";
    script += command + "\n";
    now_ = t;
  }
  void Emit(std::int64_t t, const std::string& event) {
    expected.push_back(std::to_string(t) + " " + event);
  }
  int Draw(std::int64_t t, int n) {
    state_ = state_ * 214013u + 2531011u;
    int r = static_cast<int>((state_ >> 16) & 0x7FFF) * n / 32768;
    Emit(t, "draw " + std::to_string(n) + " " + std::to_string(r));
    return r;
  }

  std::uint32_t state_;
  bool sounds_;
  std::int64_t now_;
};

// The lines of both dialogs (and every draw, cue and dropped input) as "TIME EVENT".
std::vector<std::string> Filter(const SimResult& r) {
  static const char* kKept[] = {"open 17",   "close 17", "timer 17", "draw ",   "picture 17",
                                "enable 17", "text 17",  "sound ",   "ignored "};
  std::vector<std::string> out;
  for (const auto& l : r.lines) {
    if (l.time == 0) continue;  // start-up, before the first scan
    for (const char* k : kKept)
      if (l.event.rfind(k, 0) == 0) out.push_back(std::to_string(l.time) + " " + l.event);
  }
  return out;
}

// Runs the model's script and compares the whole transcript, pointing at the first difference.
SimResult RunModel(unsigned seed, const std::string& profileText, const AbducteeModel& m) {
  TempProfile profile(profileText);
  SimResult r =
      RunSim("--seed " + std::to_string(seed) + " --trace --profile " + profile.path(), m.script);
  EXPECT_EQ(r.status, 0) << r.err;
  std::vector<std::string> actual = Filter(r);
  size_t i = 0;
  while (i < actual.size() && i < m.expected.size() && actual[i] == m.expected[i]) ++i;
  if (i < actual.size() || i < m.expected.size())
    ADD_FAILURE() << "seed " << seed << ": first difference at line " << i
                  << "\n  expected: " << (i < m.expected.size() ? m.expected[i] : "(nothing)")
                  << "\n  actual:   " << (i < actual.size() ? actual[i] : "(nothing)") << "\n"
                  << r.Text();
  return r;
}

std::vector<SimLine> At(const SimResult& r, std::int64_t t, const std::string& prefix) {
  std::vector<SimLine> out;
  for (const auto& l : r.With(prefix))
    if (l.time == t) out.push_back(l);
  return out;
}
}  // namespace

TEST(AbducteeScan, DotsTwinkleDrawByDrawUntilEnterTurnsThemGreen) {
  // The pictures the dots open with: only 1035 and 1038 start at rest.
  const DialogTemplate* t = Resources::FindTemplate(170);
  ASSERT_NE(t, nullptr);
  for (const Dot& d : kDots) {
    for (const auto& c : t->controls) {
      if (c.id != d.id) continue;
      EXPECT_EQ(c.bitmap, d.opening) << d.id;
    }
  }

  int quiet = 0;
  const int enterAfter[] = {2010, 1549, 777, 3001};
  for (unsigned seed = 1; seed <= 6; ++seed) {
    AbducteeModel m(seed, false);
    // Long idle spells, with Enter landing anywhere between two ticks.
    for (int enter : enterAfter) m.Scan({{enter + 37 * seed, "key Enter"}});
    SimResult r = RunModel(seed, Quiet(), m);

    // A tick on which no toggle draw passes 30 makes eight draws and changes nothing.
    for (std::int64_t tick : m.quietTicks) {
      EXPECT_EQ(At(r, tick, "draw 50 ").size(), 8u) << "seed " << seed << " tick " << tick;
      EXPECT_TRUE(At(r, tick, "picture ").empty()) << "seed " << seed << " tick " << tick;
      ++quiet;
    }
    // Dots that open at rest leave it at their first toggle for a flash colour.
    for (const Dot& d : {kDots[3], kDots[6]}) {
      for (std::int64_t tick : m.firstFlash[d.id]) {
        std::string prefix = "picture 170 " + std::to_string(d.id) + " ";
        auto lines = At(r, tick, prefix);
        ASSERT_EQ(lines.size(), 1u) << d.id << " at " << tick;
        int bmp = std::stoi(lines[0].event.substr(prefix.size()));
        EXPECT_TRUE(bmp == d.flashA || bmp == d.flashB) << d.id << " at " << tick;
      }
    }
    // Two ticks after Enter, 50 to 100 ms later, the scan ends with 1 and the verdict opens.
    auto opens = r.With("open 170");
    auto ends = r.With("close 170 1");
    ASSERT_EQ(opens.size(), 4u);
    ASSERT_EQ(ends.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      std::int64_t enter = opens[i].time + enterAfter[i] + 37 * seed;
      EXPECT_GT(ends[i].time - enter, 50);
      EXPECT_LE(ends[i].time - enter, 100);
      EXPECT_EQ(At(r, ends[i].time, "open 174").size(), 1u);
    }
  }
  EXPECT_GT(quiet, 0) << "no quiet tick met: pick other seeds";
}

TEST(AbducteeScan, EnterEndsTheScanTwoTicksLaterAndTheCuesPlayToTheirEnd) {
  // Sounds off: Enter just after a tick waits 100 ms, just before one a little over 50 ms.
  {
    AbducteeModel m(11, false);
    m.Scan({{101, "key Enter"}});
    m.Scan({{149, "key Enter"}});
    SimResult r = RunModel(11, Quiet(), m);
    auto opens = r.With("open 170");
    auto ends = r.With("close 170 1");
    ASSERT_EQ(opens.size(), 2u);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].time - (opens[0].time + 101), 99);
    EXPECT_EQ(ends[1].time - (opens[1].time + 149), 51);
    EXPECT_TRUE(r.With("sound ").empty());
  }
  // Sounds on: "scanning.wav" and then "test.wav" each play to their end before the dialog
  // closes; "analcomp.wav" starts on the verdict's first tick and the verdict does not wait.
  {
    ASSERT_GT(CueLength("scanning.wav"), 0);
    ASSERT_GT(CueLength("test.wav"), 0);
    AbducteeModel m(12, true);
    m.Scan({{260, "key Enter"}}, {{5000, "key Enter"}});
    SimResult r = RunModel(12, Loud(), m);
    std::int64_t end = r.TimeOf("close 170 1");
    EXPECT_EQ(r.TimeOf("sound \"scanning.wav\" sync"), r.TimeOf("timer 170 2 kill"));
    EXPECT_EQ(end - r.TimeOf("sound \"scanning.wav\" sync"),
              CueLength("scanning.wav") + CueLength("test.wav"));
    EXPECT_EQ(r.TimeOf("sound \"analcomp.wav\" async"), end + 25);
    auto verdict = At(r, end + 50, "text 174 1036 ");
    ASSERT_EQ(verdict.size(), 1u);
    EXPECT_NE(verdict[0].event, "text 174 1036 \"\"");
  }
}

TEST(AbducteeScan, CancelEscAndTheCloseBoxEndWithZeroAndNoVerdict) {
  AbducteeModel m(21, false);
  // While waiting: the Cancel button, Esc, the close box, and Cancel reached by the keyboard.
  EXPECT_EQ(m.Scan({{120, "click 2"}}), 0);
  EXPECT_EQ(m.Scan({{75, "key Escape"}}), 0);
  EXPECT_EQ(m.Scan({{260, "close"}}), 0);
  EXPECT_EQ(m.Scan({{10, "key Tab"}, {180, "key Enter"}}), 0);
  EXPECT_EQ(m.Scan({{10, "key Tab"}, {60, "key Space"}}), 0);
  // Before the next tick has taken up Enter, Cancel still works.
  EXPECT_EQ(m.Scan({{110, "key Enter"}, {130, "click 2"}}), 0);
  EXPECT_EQ(m.Scan({{110, "key Enter"}, {140, "key Escape"}}), 0);
  // Once the dots are green both buttons are greyed, but Esc still cancels.
  EXPECT_EQ(m.Scan({{110, "key Enter"}, {170, "key Escape"}}), 0);
  // Esc right at the first tick: the tick comes first.
  EXPECT_EQ(m.Scan({{50, "key Escape"}}), 0);
  // The main window is itself again: a last scan runs to its verdict.
  EXPECT_EQ(m.Scan({{60, "key Enter"}}), 1);
  SimResult r = RunModel(21, Quiet(), m);
  EXPECT_EQ(r.With("close 170 0").size(), 9u);
  EXPECT_EQ(r.With("open 174").size(), 1u);
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(r.Has("exit 0")) << "a Cancel reached the main window";
}

TEST(AbducteeScan, WhileScanningTheGreyedButtonsTakeNoInputAndTheScanEndsOnce) {
  AbducteeModel m(31, false);
  // Scan twice before the tick: still one green tick and one ending.
  m.Scan({{60, "key Enter"}, {80, "click 1"}});
  // Between the green tick and the last one: clicks are dropped, Enter and Space find no
  // usable button, Tab no stop, and the close box answers nothing while Cancel is greyed.
  m.Scan({{60, "key Enter"},
          {105, "click 1"},
          {110, "click 2"},
          {115, "key Enter"},
          {120, "key Space"},
          {125, "key Tab"},
          {130, "key Enter"},
          {135, "close"}});
  SimResult r = RunModel(31, Quiet(), m);
  EXPECT_EQ(r.With("close 170").size(), 2u);
  EXPECT_EQ(r.With("close 170 1").size(), 2u);
  EXPECT_EQ(r.With("enable 170 1 0").size(), 2u);
  EXPECT_TRUE(r.Has("ignored click 1"));
  EXPECT_TRUE(r.Has("ignored click 2"));
  // The second scan ended on the tick after the green one, as if nothing had been pressed.
  auto opens = r.With("open 170");
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(r.With("close 170 1")[1].time, opens[1].time + 150);
}

TEST(AbducteeVerdict, DrawnOnTheSecondTickWithOneDrawOrTwo) {
  AbducteeModel m(41, false);
  // Closed before the second tick: no draw, no verdict; the next scan draws on from there.
  m.Scan({{10, "key Enter"}}, {{10, "key Escape"}});
  m.Scan({{10, "key Enter"}}, {{30, "key Enter"}});
  m.Scan({{10, "key Enter"}}, {{49, "close"}});
  m.Scan({{10, "key Enter"}}, {{50, "key Enter"}});
  for (int i = 0; i < 60; ++i) m.Scan({{10, "key Enter"}}, {{60 + i % 3, "key Enter"}});
  SimResult r = RunModel(41, Quiet(), m);

  auto opens = r.With("open 174");
  ASSERT_EQ(opens.size(), 64u);
  for (size_t i = 0; i < 3; ++i)
    EXPECT_TRUE(At(r, opens[i].time + 50, "draw").empty()) << "opening " << i;
  EXPECT_EQ(r.With("close 174 2").size(), 2u);
  // Every drawn verdict appears exactly 50 ms after its dialog opened, and only there.
  for (size_t i = 3; i < opens.size(); ++i)
    EXPECT_EQ(At(r, opens[i].time + 50, "text 174 1036 \"").size(), 1u) << "opening " << i;
  EXPECT_EQ(r.With("text 174 1036 \"").size(), 64u + 61u);
  EXPECT_FALSE(r.Has("text 174 1036 \"Static\""));
  // The run met every verdict and both draw counts.
  EXPECT_EQ(m.verdictShown.size(), 5u);
  EXPECT_GT(m.verdictDrawCount[1], 0);
  EXPECT_GT(m.verdictDrawCount[2], 0);
}

TEST(AbducteeVerdict, SharesOverManyOpeningsMatchTheOdds) {
  std::string script;
  for (int i = 0; i < 10000; ++i) script += "click 3\nwait 60\nkey Enter\nwait 150\nkey Enter\n";
  std::map<std::string, int> seen;
  int total = 0;
  TempProfile profile(Quiet());
  for (int seed : {3, 1001, 77777, 424242, 9000001}) {
    SimResult r = RunSim("--seed " + std::to_string(seed) + " --profile " + profile.path(), script);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.With("close 170 1").size(), 10000u);
    for (const auto& l : r.With("text 174 1036 \"")) {
      std::string text = l.event.substr(15, l.event.size() - 16);
      if (text.empty()) continue;
      ++seen[text];
      ++total;
    }
  }
  ASSERT_EQ(total, 50000);
  const std::map<int, double> share = {
      {131, 4.0 / 15}, {132, 13.0 / 30}, {133, 1.0 / 6}, {134, 1.0 / 15}, {135, 1.0 / 15}};
  for (const auto& [id, expected] : share)
    EXPECT_NEAR(seen[kVerdicts.at(id)] / double(total), expected, 0.01) << "verdict " << id;
  EXPECT_EQ(seen.size(), 5u);
}

TEST(AbducteeScan, TheLampSweepStandsStillWhileEitherDialogIsOpen) {
  TempProfile profile("[Options]\nMonitor=1\nUseSounds=0\n");
  // One scan cancelled, one run to its verdict.
  SimResult r = RunSim("--seed 5 --trace --profile " + profile.path(),
                       "wait 60\nclick 3\nwait 80\nclick 2\nwait 100\nclick 3\nwait 60\n"
                       "key Enter\nwait 200\nkey Enter\nwait 60\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> expected = {
      "0 timer 102 1 set 25", "60 timer 102 1 kill",    "60 open 170",
      "140 close 170 0",      "140 timer 102 1 set 25", "240 timer 102 1 kill",
      "240 open 170",         "390 close 170 1",        "390 open 174",
      "500 close 174 1",      "500 timer 102 1 set 25",
  };
  std::vector<std::string> actual;
  for (const auto& l : r.lines) {
    const std::string& e = l.event;
    if (e.rfind("timer 102", 0) == 0 || e.rfind("close 17", 0) == 0)
      actual.push_back(std::to_string(l.time) + " " + e);
    if (e.rfind("open 17", 0) == 0) actual.push_back(std::to_string(l.time) + " " + e.substr(0, 8));
  }
  EXPECT_EQ(actual, expected) << r.Text();
  // No lamp moves between a kill and the set that follows it.
  for (const auto& l : r.With("picture 102")) {
    bool paused = (l.time > 60 && l.time <= 140) || (l.time > 240 && l.time <= 500);
    EXPECT_FALSE(paused) << l.time << " " << l.event;
  }
}
