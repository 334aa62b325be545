// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The full scan as the user meets it: Scan (or Enter) opens twelve seconds of lamps and
// method texts, then four result lines drawn at random and spoken one after another.
// Every run is the real program on virtual time. The random outcomes are predicted from the
// seed with the classic generator and the cue lengths are read from the cue files, so a
// transcript can be checked line by line and to the millisecond.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/WavInfo.h"
#include "res/ResourceIds.h"
#include "tests/support/SimRun.h"

namespace {

// ---- What the program is expected to do ------------------------------------------------

// How long a cue plays: the same files the simulator hands its audio sink.
int64_t CueMs(const std::string& name) {
  auto info = ReadWavInfo(std::string(QUORBLEX_SOURCE_DIR) + "/res/sounds/" + name);
  return info ? info->durationMs : -1;
}

// The classic C runtime generator, written out here so that the program's own is checked
// against an independent one.
class ClassicRand {
 public:
  explicit ClassicRand(uint32_t seed) : state_(seed) {}
  int Draw(int n) {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF) * n / 32768;
  }

 private:
  uint32_t state_;
};

std::string Quote(const std::string& s) { return "\"" + s + "\""; }
std::string Line(int64_t t, const std::string& event) { return std::to_string(t) + " " + event; }

std::string Profile(bool sounds, bool monitor, const std::string& methods = "11111") {
  std::string p = "[Options]\nUseSounds=" + std::string(sounds ? "1" : "0") +
                  "\nMonitor=" + (monitor ? "1" : "0") + "\n";
  for (int i = 0; i < 5; ++i) p += "Scan" + std::to_string(i + 1) + "=" + methods[i] + "\n";
  return p;
}

// A timer-driven show: each step falls on the timer's grid, unless the step before blocked in
// a cue past a grid point; then the ticks missed meanwhile arrive as one, the moment it ends.
class StepClock {
 public:
  StepClock(int64_t setAt, int64_t period)
      : start_(setAt), period_(period), step_(setAt + period), now_(step_) {}
  int64_t step() const { return step_; }
  int64_t now() const { return now_; }
  void Play(int64_t ms) { now_ += ms; }
  void Next() {
    int64_t grid = start_ + period_ * ((step_ - start_) / period_ + 1);
    step_ = now_ = std::max(now_, grid);
  }

 private:
  int64_t start_, period_, step_, now_;
};

const char* const kMethodTexts[5] = {"Dialing psychic hotline...", "Checking tabloid headlines...",
                                     "Asking a lunatic...", "Looking out the window...",
                                     "S.W.A.G."};

// The progress show opened at t0 and left to run to its end. The transcript prints changes
// only, so a lamp lit twice or a text written twice shows once.
std::vector<std::string> ExpectedProgress(int64_t t0, const std::string& methods, bool sounds) {
  std::vector<std::string> out{Line(t0, "open 148 \"Scanning...\""),
                               Line(t0, "timer 148 2 set 1000")};
  StepClock clock(t0, 1000);
  if (sounds) {
    out.push_back(Line(clock.now(), "sound \"scanning.wav\" sync"));
    clock.Play(CueMs("scanning.wav"));
  }
  bool lit[10] = {};
  auto light = [&](int k) {
    if (lit[k]) return;
    lit[k] = true;
    out.push_back(Line(clock.now(), "picture 148 " + std::to_string(kLampIds[k]) + " 147"));
  };
  std::string status;
  for (int step = 1; step <= 10; ++step) {
    clock.Next();
    light(step - 1);
    if (step % 2 == 0) continue;
    int method = step / 2;
    if (sounds) out.push_back(Line(clock.now(), "sound \"tone.wav\" async"));
    bool on = methods[method] == '1';
    std::string text = on ? kMethodTexts[method] : "Scanning...";
    if (!on) light(step);
    if (text != status) out.push_back(Line(clock.now(), "text 148 1019 " + Quote(text)));
    status = text;
  }
  clock.Next();
  for (const char* e : {"timer 148 2 kill", "text 148 1019 \"\"", "close 148 1"})
    out.push_back(Line(clock.now(), e));
  return out;
}

// What one reveal drew; -1 for a draw that was never made.
struct Reveal {
  int presence = -1, proximity = -1, type = -1, gazoo = -1, abduction = -1;
};

struct ExpectedReveal {
  std::vector<std::string> lines;
  Reveal drawn;
  int64_t closedAt = 0;
};

// The results dialog opened at t0, drawing from `rng`, closed by the user with `result` at
// `closeAt` (handled once any cue then playing has ended, before the next step).
ExpectedReveal ExpectedResults(int64_t t0, ClassicRand& rng, bool sounds, int64_t closeAt,
                               int result = 1) {
  ExpectedReveal x;
  StepClock clock(t0, 30);
  auto at = [&](const std::string& e) { x.lines.push_back(Line(clock.now(), e)); };
  auto cue = [&](const std::string& name) {
    if (!sounds) return;
    at("sound " + Quote(name) + " sync");
    clock.Play(CueMs(name));
  };
  auto draw = [&](int n) {
    int r = rng.Draw(n);
    at("draw " + std::to_string(n) + " " + std::to_string(r));
    return r;
  };
  auto text = [&](int id, const std::string& t) {
    at("text 149 " + std::to_string(id) + " " + Quote(t));
  };
  x.lines = {Line(t0, "open 149 \"Scan Results\""), Line(t0, "timer 149 3 set 30")};
  int proximityCode = 0;
  int64_t idleFrom = t0;
  bool done = false;
  for (int step = 0; step <= 4 && !done; ++step) {
    if (step > 0) clock.Next();
    if (closeAt < clock.step()) break;  // the user's close comes first
    if (step == 0) cue("analcomp.wav");
    if (step == 1) {
      int r = x.drawn.presence = draw(8);
      static const char* const texts[] = {"None Detected", "Probable", "Detected",
                                          "You are an alien!"};
      static const char* const cues[] = {"noalien.wav", "alienpbl.wav", "aliendet.wav",
                                         "uralien.wav"};
      int band = r <= 2 ? 0 : r <= 4 ? 1 : r <= 6 ? 2 : 3;
      text(1020, texts[band]);
      cue(cues[band]);
      if (band == 0 || band == 3) {
        at("timer 149 3 kill");
        done = true;
      }
    }
    if (step == 2) {
      int r = x.drawn.proximity = draw(10);
      cue("prox.wav");
      proximityCode = r >= 4;
      if (!proximityCode) {
        text(1021, "Unknown");
        cue("unknown.wav");
      } else {
        std::string d = std::to_string(10 * r + 10);
        text(1021, d + " Meters");
        cue(d + ".wav");
        cue("meters.wav");
      }
    }
    if (step == 3) {
      int r = x.drawn.type = draw(7);
      cue("type.wav");
      if (!proximityCode) r = 0;
      static const char* const kinds[] = {"Grey, Short", "Grey, Tall", "Green, Short",
                                          "Green, Tall"};
      static const char* const colours[] = {"grey.wav", "grey.wav", "green.wav", "green.wav"};
      static const char* const heights[] = {"short.wav", "tall.wav", "short.wav", "tall.wav"};
      if (r >= 1 && r <= 4) {
        text(1022, kinds[r - 1]);
        cue(colours[r - 1]);
        cue(heights[r - 1]);
      } else if (r == 6 && (x.drawn.gazoo = draw(100)) > 50) {
        text(1022, "The Great Gazoo!");
        cue("amaz");
      } else {
        text(1022, "Unknown");
        cue("unknown.wav");
      }
    }
    if (step == 4) {
      int r = x.drawn.abduction = draw(5);
      cue("abductp.wav");
      if (r == 3 || r == 4) {
        cue(r == 3 ? "prob.wav" : "imm.wav");
        text(1023, r == 3 ? "Probable" : "Imminent");
      } else {
        text(1023, "Unknown");
        cue("unknown.wav");
      }
      at("timer 149 3 kill");
    }
    idleFrom = clock.now();
  }
  x.closedAt = std::max(closeAt, idleFrom);
  x.lines.push_back(Line(x.closedAt, "close 149 " + std::to_string(result)));
  return x;
}

// ---- Running the program -----------------------------------------------------------------

// `scans` full scans in a row, each closed with Enter `hold` ms after Scan was clicked.
std::string ScansInARow(int scans, int64_t hold) {
  std::string one = "click 1000\nwait " + std::to_string(hold) + "\nkey Enter\nwait 10\n";
  std::string s;
  for (int i = 0; i < scans; ++i) s += one;
  return s;
}

// Every line from the first scan on (the start-up of the main window is not ours), up to the
// end of the script.
std::vector<std::string> ScanLines(const SimResult& r) {
  std::vector<std::string> out;
  bool on = false;
  for (const auto& l : r.lines) {
    on = on || l.event.rfind("open 148", 0) == 0;
    if (on && l.event != "end") out.push_back(Line(l.time, l.event));
  }
  return out;
}

void ExpectLines(const std::vector<std::string>& want, const std::vector<std::string>& got,
                 const SimResult& r) {
  size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  if (i == want.size() && i == got.size()) return;
  ADD_FAILURE() << "first difference at scan line " << i << ":\n  want "
                << (i < want.size() ? want[i] : "(nothing more)") << "\n  got  "
                << (i < got.size() ? got[i] : "(nothing more)") << "\ntranscript:\n"
                << r.Text();
}

// The expected lines of `scans` scans in a row from `seed`, as ScansInARow runs them with a
// profile of all methods on and monitoring off.
std::vector<std::string> ExpectedScans(uint32_t seed, int scans, int64_t hold, bool sounds,
                                       std::vector<Reveal>* drawn = nullptr) {
  ClassicRand rng(seed);
  std::vector<std::string> out;
  for (int i = 0; i < scans; ++i) {
    int64_t t0 = i * (hold + 10);
    auto progress = ExpectedProgress(t0, "11111", sounds);
    int64_t resultsAt = std::stoll(progress.back());
    auto results = ExpectedResults(resultsAt, rng, sounds, t0 + hold);
    out.insert(out.end(), progress.begin(), progress.end());
    out.insert(out.end(), results.lines.begin(), results.lines.end());
    if (drawn) drawn->push_back(results.drawn);
  }
  return out;
}

// The first seed whose single scan draws what `wanted` asks for.
uint32_t SeedFor(const std::function<bool(const Reveal&)>& wanted) {
  for (uint32_t seed = 1; seed < 1000000; ++seed) {
    ClassicRand rng(seed);
    if (wanted(ExpectedResults(0, rng, false, 1 << 30).drawn)) return seed;
  }
  return 0;
}

constexpr int64_t kHold = 25000;  // longer than the longest spoken reveal

}  // namespace

// ---- The progress show -------------------------------------------------------------------

TEST(FullScan, ProgressShowLightsALampASecondAndEndsWithOneAtTwelveSeconds) {
  TempProfile p(Profile(false, false));
  SimResult r =
      RunSim("--seed 1 --trace --profile " + p.path(), "wait 500\nclick 1000\nwait 12100\n");
  std::vector<std::string> want = {
      "500 open 148 \"Scanning...\"",
      "500 timer 148 2 set 1000",
      "2500 picture 148 1018 147",
      "2500 text 148 1019 \"Dialing psychic hotline...\"",
      "3500 picture 148 1008 147",
      "4500 picture 148 1009 147",
      "4500 text 148 1019 \"Checking tabloid headlines...\"",
      "5500 picture 148 1010 147",
      "6500 picture 148 1011 147",
      "6500 text 148 1019 \"Asking a lunatic...\"",
      "7500 picture 148 1012 147",
      "8500 picture 148 1013 147",
      "8500 text 148 1019 \"Looking out the window...\"",
      "9500 picture 148 1014 147",
      "10500 picture 148 1015 147",
      "10500 text 148 1019 \"S.W.A.G.\"",
      "11500 picture 148 1016 147",
      "12500 timer 148 2 kill",
      "12500 text 148 1019 \"\"",
      "12500 close 148 1",
      "12500 open 149 \"Scan Results\"",
  };
  std::vector<std::string> got = ScanLines(r);
  got.resize(std::min(got.size(), want.size()));
  ExpectLines(want, got, r);
  EXPECT_TRUE(r.With("sound").empty()) << r.Text();
}

TEST(FullScan, MethodsSwitchedOffSayScanningAndLightTwoLampsWithoutShorteningTheShow) {
  TempProfile allOff(Profile(false, false, "00000"));
  SimResult r = RunSim("--trace --profile " + allOff.path(), "click 1000\nwait 12100\n");
  std::vector<std::string> pictures;
  for (const auto& l : r.With("picture 148")) pictures.push_back(Line(l.time, l.event));
  EXPECT_EQ(pictures,
            (std::vector<std::string>{"2000 picture 148 1018 147", "2000 picture 148 1008 147",
                                      "4000 picture 148 1009 147", "4000 picture 148 1010 147",
                                      "6000 picture 148 1011 147", "6000 picture 148 1012 147",
                                      "8000 picture 148 1013 147", "8000 picture 148 1014 147",
                                      "10000 picture 148 1015 147", "10000 picture 148 1016 147"}))
      << r.Text();
  EXPECT_EQ(r.Events("text 148"),
            (std::vector<std::string>{"text 148 1019 \"Scanning...\"", "text 148 1019 \"\""}));
  EXPECT_EQ(r.TimeOf("close 148 1"), 12000) << r.Text();
  EXPECT_EQ(r.TimeOf("open 149"), 12000);

  TempProfile onlyThird(Profile(false, false, "00100"));
  r = RunSim("--trace --profile " + onlyThird.path(), "click 1000\nwait 12100\n");
  std::vector<std::string> texts;
  for (const auto& l : r.With("text 148")) texts.push_back(Line(l.time, l.event));
  EXPECT_EQ(texts,
            (std::vector<std::string>{
                "2000 text 148 1019 \"Scanning...\"", "6000 text 148 1019 \"Asking a lunatic...\"",
                "8000 text 148 1019 \"Scanning...\"", "12000 text 148 1019 \"\""}))
      << r.Text();
  std::vector<std::string> want = ExpectedProgress(0, "00100", false);
  std::vector<std::string> got = ScanLines(r);
  got.resize(std::min(got.size(), want.size()));
  ExpectLines(want, got, r);
}

TEST(FullScan, ScanningCueHoldsTheShowForItsLengthAndInputWaitsForIt) {
  int64_t scanning = CueMs("scanning.wav");
  ASSERT_GT(scanning, 0);
  // With sounds the show keeps its pace; a method that is off lights its lamp, sounds its
  // tone, then lights the next lamp and names itself "Scanning...".
  TempProfile p(Profile(true, false, "10111"));
  SimResult r = RunSim("--trace --profile " + p.path(), "click 1000\nwait 12100\n");
  std::vector<std::string> want = ExpectedProgress(0, "10111", true);
  std::vector<std::string> got = ScanLines(r);
  got.resize(std::min(got.size(), want.size()));
  ExpectLines(want, got, r);
  EXPECT_EQ(r.Events("sound \"tone.wav\" async").size(), 5u);
  EXPECT_TRUE(r.Has("sound \"scanning.wav\" sync")) << r.Text();

  // Esc pressed while "scanning.wav" speaks ends the show only when the cue has ended.
  r = RunSim("--trace --profile " + p.path(), "click 1000\nwait 1000\nkey Escape\nwait 3000\n");
  EXPECT_EQ(r.TimeOf("close 148 2"), 1000 + scanning) << r.Text();
  EXPECT_EQ(r.TimeOf("open 149"), 1000 + scanning);

  // So does Abort clicked in the middle of it, and then no results follow.
  r = RunSim("--trace --profile " + p.path(), "click 1000\nwait 1300\nclick 1\nwait 3000\n");
  EXPECT_EQ(r.TimeOf("close 148 0"), 1000 + scanning) << r.Text();
  EXPECT_EQ(r.TimeOf("open 149"), -1);
}

TEST(FullScan, AbortAfterTheLastLampShowsNoResults) {
  TempProfile p(Profile(false, true));
  for (const char* abort : {"click 1", "key Enter"}) {
    SimResult r = RunSim("--trace --profile " + p.path(),
                         "click 1000\nwait 11999\n" + std::string(abort) + "\nwait 2000\n");
    SCOPED_TRACE(abort);
    EXPECT_EQ(r.TimeOf("picture 148 1016 147"), 11000) << r.Text();
    EXPECT_EQ(r.TimeOf("close 148 0"), 11999) << r.Text();
    EXPECT_EQ(r.TimeOf("open 149"), -1);
    EXPECT_TRUE(r.With("draw").empty());
    // The sweep of the main window goes on at once.
    auto resumed = r.With("timer 102 1 set 25");
    ASSERT_EQ(resumed.size(), 2u) << r.Text();
    EXPECT_EQ(resumed[1].time, 11999);
  }
}

TEST(FullScan, EscOrTheCloseBoxEndsTheShowEarlyAndResultsFollow) {
  TempProfile p(Profile(false, false));
  for (const char* cancel : {"key Escape", "close"}) {
    SCOPED_TRACE(cancel);
    SimResult r = RunSim("--seed 4 --trace --profile " + p.path(),
                         "click 1000\nwait 3500\n" + std::string(cancel) + "\nwait 500\n" +
                             std::string(cancel) + "\nwait 10\n");
    EXPECT_EQ(r.With("picture 148").size(), 2u) << r.Text();
    EXPECT_EQ(r.TimeOf("close 148 2"), 3500) << r.Text();
    EXPECT_FALSE(r.Has("timer 148 2 kill"));
    ClassicRand rng(4);
    auto x = ExpectedResults(3500, rng, false, 4000, 2);
    std::vector<std::string> got = ScanLines(r);
    auto open = std::find(got.begin(), got.end(), x.lines.front());
    ExpectLines(x.lines, std::vector<std::string>(open, got.end()), r);
  }
}

// ---- The main window around a scan -------------------------------------------------------

TEST(FullScan, EnterScansAndTheSweepStandsStillUntilTheScanEnds) {
  // Focus starts on the clip, so Enter presses the default button, Scan.
  TempProfile off(Profile(false, false));
  SimResult r = RunSim("--trace --profile " + off.path(), "key Enter\nwait 12200\nkey Escape\n");
  EXPECT_EQ(r.TimeOf("open 148"), 0) << r.Text();
  EXPECT_EQ(r.TimeOf("close 149 2"), 12200);
  EXPECT_TRUE(r.With("timer 102").empty()) << "monitoring off: timer 1 is never touched";
  EXPECT_TRUE(r.With("picture 102").empty());

  // Thirteen ticks of timer 1 put the light on lamp 9, moving left. During the scan the
  // timer is paused and the bar stands still; afterwards the light moves on to lamp 8.
  TempProfile on(Profile(false, true));
  r = RunSim("--trace --profile " + on.path(),
             "wait 330\nkey Enter\nwait 12200\nkey Escape\nwait 30\n");
  std::vector<std::string> main;
  for (const auto& l : r.lines)
    if (l.event.find(" 102 ") != std::string::npos || l.event.rfind("open 148", 0) == 0 ||
        l.event.rfind("close 149", 0) == 0)
      main.push_back(Line(l.time, l.event));
  std::vector<std::string> tail(main.end() - std::min<size_t>(main.size(), 9), main.end());
  EXPECT_EQ(
      tail,
      (std::vector<std::string>{
          "300 picture 102 1016 147", "325 picture 102 1015 147", "325 picture 102 1016 146",
          "330 timer 102 1 kill", "330 open 148 \"Scanning...\"", "12530 close 149 2",
          "12530 timer 102 1 set 25", "12555 picture 102 1014 147", "12555 picture 102 1015 146"}))
      << r.Text();
}

// ---- The reveal ----------------------------------------------------------------------------

TEST(FullScan, EachRevealFollowsItsDrawsTextByTextAndCueByCue) {
  // Every presence draw, both sides of each edge in the later lines, and the second type draw
  // on either side of 50. Each run is compared line by line with what its draws call for;
  // the event named with a case shows that the seed found really is that case.
  using Wanted = std::function<bool(const Reveal&)>;
  auto presence = [](int r) { return Wanted([r](const Reveal& d) { return d.presence == r; }); };
  auto knownDistanceAndType = [](int r) {
    return Wanted([r](const Reveal& d) { return d.proximity >= 4 && d.type == r; });
  };
  auto unknownDistanceAndType = [](int r) {
    return Wanted(
        [r](const Reveal& d) { return d.proximity >= 0 && d.proximity < 4 && d.type == r; });
  };
  struct Case {
    Wanted wanted;
    std::string shows;
  };
  std::vector<Case> cases = {
      {presence(0), "text 149 1020 \"None Detected\""},
      {presence(2), "sound \"noalien.wav\" sync"},
      {presence(3), "text 149 1020 \"Probable\""},
      {presence(4), "sound \"alienpbl.wav\" sync"},
      {presence(5), "text 149 1020 \"Detected\""},
      {presence(6), "sound \"aliendet.wav\" sync"},
      {presence(7), "text 149 1020 \"You are an alien!\""},
      {[](const Reveal& d) { return d.proximity == 3; }, "text 149 1021 \"Unknown\""},
      {[](const Reveal& d) { return d.proximity == 4; }, "text 149 1021 \"50 Meters\""},
      {[](const Reveal& d) { return d.proximity == 9; }, "sound \"100.wav\" sync"},
      {unknownDistanceAndType(3), "text 149 1022 \"Unknown\""},
      {unknownDistanceAndType(6), "text 149 1022 \"Unknown\""},
      {knownDistanceAndType(2), "text 149 1022 \"Grey, Tall\""},
      {knownDistanceAndType(3), "sound \"green.wav\" sync"},
      {knownDistanceAndType(5), "text 149 1022 \"Unknown\""},
      {[](const Reveal& d) { return d.gazoo == 51; }, "sound \"amaz\" sync"},
      {[](const Reveal& d) { return d.gazoo == 50; }, "draw 100 50"},
      {[](const Reveal& d) { return d.abduction == 2; }, "text 149 1023 \"Unknown\""},
      {[](const Reveal& d) { return d.abduction == 3; }, "text 149 1023 \"Probable\""},
      {[](const Reveal& d) { return d.abduction == 4; }, "text 149 1023 \"Imminent\""},
  };
  TempProfile p(Profile(true, false));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shows);
    uint32_t seed = SeedFor(c.wanted);
    ASSERT_NE(seed, 0u);
    SimResult r = RunSim("--seed " + std::to_string(seed) + " --trace --profile " + p.path(),
                         ScansInARow(1, kHold));
    ExpectLines(ExpectedScans(seed, 1, kHold, true), ScanLines(r), r);
    EXPECT_TRUE(r.Has(c.shows)) << r.Text();
  }

  // An unknown distance makes the type "Unknown" whatever its draw, yet "type.wav" and
  // "unknown.wav" still speak, and no second type draw is made.
  uint32_t seed = SeedFor(unknownDistanceAndType(6));
  SimResult r = RunSim("--seed " + std::to_string(seed) + " --trace --profile " + p.path(),
                       ScansInARow(1, kHold));
  std::vector<std::string> typeStep;
  for (auto it = r.lines.begin(); it != r.lines.end(); ++it)
    if (it->event == "draw 7 6")
      for (auto e = it; e != r.lines.end() && e->event.rfind("draw 5", 0) != 0; ++e)
        typeStep.push_back(e->event);
  EXPECT_EQ(typeStep,
            (std::vector<std::string>{"draw 7 6", "sound \"type.wav\" sync",
                                      "text 149 1022 \"Unknown\"", "sound \"unknown.wav\" sync"}))
      << r.Text();

  // Where the abduction line comes after its cue, it appears only when the cue has ended.
  seed = SeedFor([](const Reveal& d) { return d.abduction == 3; });
  r = RunSim("--seed " + std::to_string(seed) + " --trace --profile " + p.path(),
             ScansInARow(1, kHold));
  int64_t asked = r.TimeOf("sound \"abductp.wav\"");
  EXPECT_EQ(r.TimeOf("sound \"prob.wav\""), asked + CueMs("abductp.wav"));
  EXPECT_EQ(r.TimeOf("text 149 1023"), asked + CueMs("abductp.wav") + CueMs("prob.wav"));
}

TEST(FullScan, OkDuringACueClosesTheResultsBeforeTheNextLine) {
  uint32_t seed = SeedFor([](const Reveal& d) { return d.proximity >= 4; });
  ClassicRand rng(seed);
  // Line 2 appears after "prox.wav"; the distance and "meters.wav" are still to speak.
  int64_t line2 = 12000 + 30 + CueMs("analcomp.wav") +
                  CueMs(rng.Draw(8) <= 4 ? "alienpbl.wav" : "aliendet.wav") + CueMs("prox.wav");
  TempProfile p(Profile(true, true));
  SimResult r = RunSim("--seed " + std::to_string(seed) + " --trace --profile " + p.path(),
                       "click 1000\nwait " + std::to_string(line2 + 1) + "\nclick 1\nwait 9000\n");
  ASSERT_EQ(r.TimeOf("text 149 1021"), line2) << r.Text();
  auto spoken = r.With("sound");
  ASSERT_GE(spoken.size(), 2u);
  EXPECT_EQ(spoken.back().event, "sound \"meters.wav\" sync") << r.Text();
  int64_t closed = spoken.back().time + CueMs("meters.wav");
  EXPECT_EQ(r.TimeOf("close 149 1"), closed) << r.Text();
  EXPECT_EQ(r.TimeOf("draw 7"), -1);
  EXPECT_EQ(r.TimeOf("text 149 1022"), -1);
  EXPECT_EQ(r.TimeOf("text 149 1023"), -1);
  // The caller carries on as after any close: monitoring resumes.
  EXPECT_EQ(r.With("timer 102 1 set 25").back().time, closed);
}

TEST(FullScan, ScansInARowFollowTheSeedExactlyAndStandAlone) {
  for (uint32_t seed : {1u, 2u, 3u, 20240u}) {
    SCOPED_TRACE(seed);
    TempProfile p(Profile(true, false));
    std::vector<Reveal> drawn;
    auto want = ExpectedScans(seed, 8, kHold, true, &drawn);
    SimResult r = RunSim("--seed " + std::to_string(seed) + " --trace --profile " + p.path(),
                         ScansInARow(8, kHold));
    ExpectLines(want, ScanLines(r), r);
  }
  // Without sounds the whole reveal is there within 150 ms of the dialog opening.
  TempProfile quiet(Profile(false, false));
  const int scans = 40;
  SimResult r = RunSim("--seed 77 --trace --profile " + quiet.path(), ScansInARow(scans, 12200));
  std::vector<Reveal> drawn;
  ExpectLines(ExpectedScans(77, scans, 12200, false, &drawn), ScanLines(r), r);
  EXPECT_TRUE(r.With("sound").empty());
  int64_t opened = -1;
  for (const auto& l : r.lines) {
    if (l.event.rfind("open 149", 0) == 0) opened = l.time;
    if (l.event.rfind("text 149", 0) == 0) {
      EXPECT_LE(l.time, opened + 150) << l.event;
    }
  }
  // The run saw a full reveal followed by one that stops after the first line, so nothing of
  // one reveal can have leaked into the next unnoticed.
  bool fullThenShort = false;
  for (size_t i = 1; i < drawn.size(); ++i)
    fullThenShort = fullThenShort || (drawn[i - 1].abduction >= 0 && drawn[i].proximity < 0);
  EXPECT_TRUE(fullThenShort);
}

// ---- The odds ------------------------------------------------------------------------------

// Counts the result lines of 100,000 reveals, ten long runs of scans without sounds, against
// the odds of each outcome. A band one value too wide or too narrow moves its share by 10 to
// 14 points; the spread of 100,000 reveals is a fraction of one.
TEST(FullScanOdds, HundredThousandRevealsMatchTheOddsWithinAPoint) {
  TempProfile p(Profile(false, false));
  std::map<std::string, std::map<std::string, int>> seen;  // line -> text -> count
  std::map<std::string, int> typeAfterKnown, typeAfterUnknown;
  int reveals = 0;
  for (int run = 0; run < 10; ++run) {
    SimResult r = RunSim("--seed " + std::to_string(1000 + run) + " --profile " + p.path(),
                         ScansInARow(10000, 12200));
    ASSERT_EQ(r.status, 0) << r.err;
    std::string distance;
    for (const auto& l : r.lines) {
      if (l.event.rfind("open 149", 0) == 0) ++reveals;
      if (l.event.rfind("text 149 102", 0) != 0) continue;
      std::string line = l.event.substr(9, 4);
      std::string text = l.event.substr(15, l.event.size() - 16);
      ++seen[line][text];
      if (line == "1021") distance = text;
      if (line == "1022") ++(distance == "Unknown" ? typeAfterUnknown : typeAfterKnown)[text];
    }
  }
  ASSERT_EQ(reveals, 100000);
  auto share = [](const std::map<std::string, int>& counts, const std::string& text) {
    int all = 0;
    for (const auto& [t, n] : counts) all += n;
    auto it = counts.find(text);
    return all == 0 ? -1.0 : 100.0 * (it == counts.end() ? 0 : it->second) / all;
  };
  auto expectShare = [&](const std::map<std::string, int>& counts, const std::string& text,
                         double percent) {
    EXPECT_NEAR(share(counts, text), percent, 1.0) << text;
  };
  expectShare(seen["1020"], "None Detected", 37.5);
  expectShare(seen["1020"], "Probable", 25);
  expectShare(seen["1020"], "Detected", 25);
  expectShare(seen["1020"], "You are an alien!", 12.5);
  EXPECT_EQ(seen["1021"].size(), 7u);
  expectShare(seen["1021"], "Unknown", 40);
  for (int d = 50; d <= 100; d += 10) expectShare(seen["1021"], std::to_string(d) + " Meters", 10);
  for (const char* kind : {"Grey, Short", "Grey, Tall", "Green, Short", "Green, Tall"})
    expectShare(typeAfterKnown, kind, 100.0 / 7);
  expectShare(typeAfterKnown, "The Great Gazoo!", 7.0);
  expectShare(typeAfterKnown, "Unknown", 35.9);
  EXPECT_EQ(typeAfterUnknown.size(), 1u);
  expectShare(typeAfterUnknown, "Unknown", 100);
  expectShare(seen["1023"], "Probable", 20);
  expectShare(seen["1023"], "Imminent", 20);
  expectShare(seen["1023"], "Unknown", 60);
  // Lines 2 to 4 come exactly for the reveals whose presence is "Probable" or "Detected".
  int present = seen["1020"]["Probable"] + seen["1020"]["Detected"];
  for (const char* line : {"1021", "1022", "1023"}) {
    int n = 0;
    for (const auto& [t, c] : seen[line]) n += c;
    EXPECT_EQ(n, present) << line;
  }
}
