// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/soak/ScriptGenerator.h"

#include <algorithm>

namespace {

// Every control id of every window, weighted towards the ones that do something; ids no
// window has (0, 4, 4242) and the ids of statics (-1, 65535) for the dropped-input path.
struct Weighted {
  const char* text;
  int weight;
};
constexpr Weighted kClickIds[] = {
    {"1", 40},    {"2", 2},     {"3", 10},   {"6", 6},    {"7", 6},    {"9", 6},    {"1000", 10},
    {"1001", 8},  {"1002", 10}, {"1024", 6}, {"1025", 5}, {"1026", 5}, {"1027", 5}, {"1028", 5},
    {"1029", 5},  {"1030", 6},  {"1031", 2}, {"1005", 1}, {"1008", 1}, {"1009", 1}, {"1010", 1},
    {"1011", 1},  {"1012", 1},  {"1013", 1}, {"1014", 1}, {"1015", 1}, {"1016", 1}, {"1018", 1},
    {"1019", 1},  {"1020", 1},  {"1021", 1}, {"1022", 1}, {"1023", 1}, {"1032", 1}, {"1033", 1},
    {"1034", 1},  {"1035", 1},  {"1036", 1}, {"1037", 1}, {"1038", 1}, {"1039", 1}, {"-1", 1},
    {"65535", 1}, {"0", 1},     {"4", 1},    {"4242", 1},
};
constexpr Weighted kKeys[] = {
    {"Enter", 12}, {"Escape", 1}, {"Space", 8},    {"Tab", 8},  {"Shift+Tab", 5},
    {"Left", 3},   {"Right", 3},  {"Up", 3},       {"Down", 3}, {"Home", 2},
    {"End", 2},    {"PageUp", 2}, {"PageDown", 2},
};
// The mnemonics of the program's buttons (Minimize, Scan, Abductee, Settings, About) and of a
// message box's Yes and No. Exit's own comes with the other ways to end the program, rarely.
constexpr const char* kMnemonics[] = {"m", "s", "b", "t", "a", "y", "n"};
constexpr const char* kTrayEvents[] = {"lbuttondown", "lbuttonup",     "rbuttondown",
                                       "rbuttonup",   "lbuttondblclk", "mousemove"};

template <size_t N>
const char* PickWeighted(SoakRandom& random, const Weighted (&items)[N]) {
  int total = 0;
  for (const Weighted& w : items) total += w.weight;
  std::int64_t r = random.Between(0, total - 1);
  for (const Weighted& w : items) {
    if (r < w.weight) return w.text;
    r -= w.weight;
  }
  return items[0].text;
}

}  // namespace

std::uint64_t SoakRandom::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::int64_t SoakRandom::Between(std::int64_t lo, std::int64_t hi) {
  const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1;
  return lo + static_cast<std::int64_t>(Next() % span);
}

bool SoakRandom::Chance(double percent) {
  return static_cast<double>(Next() >> 11) * 0x1.0p-53 * 100.0 < percent;
}

std::vector<ScriptLine> ScriptGenerator::Make(std::int64_t durationMs) {
  lines_.clear();
  now_ = 0;
  while (now_ < durationMs) Episode();
  // The last episode runs past the end: cut it there, so the script ends on a wait that
  // reaches exactly the end.
  std::vector<ScriptLine> out;
  for (const ScriptLine& l : lines_) {
    if (l.time >= durationMs) break;
    out.push_back(l);
  }
  const std::int64_t lastTime = out.empty() ? 0 : out.back().time;
  if (!out.empty() && out.back().IsWait()) out.pop_back();
  out.push_back({lastTime, "wait " + std::to_string(durationMs - lastTime)});
  return out;
}

std::string ScriptGenerator::Text(const std::vector<ScriptLine>& lines) {
  std::string text;
  for (const ScriptLine& l : lines) text += l.command + "\n";
  return text;
}

void ScriptGenerator::Input(const std::string& command) { lines_.push_back({now_, command}); }

void ScriptGenerator::Wait(std::int64_t ms) {
  while (ms > 0) {
    const std::int64_t step = std::min<std::int64_t>(ms, 5000);
    lines_.push_back({now_, "wait " + std::to_string(step)});
    now_ += step;
    ms -= step;
  }
}

void ScriptGenerator::ShortWait() {
  // Often none or a few ms (input that piles up behind a busy program), mostly seconds.
  const std::int64_t kind = random_.Between(0, 99);
  if (kind < 20) {
    lines_.push_back({now_, "wait 0"});
  } else if (kind < 45) {
    Wait(random_.Between(1, 200));
  } else {
    Wait(random_.Between(200, 5000));
  }
}

std::string ScriptGenerator::AnyInput() {
  const std::int64_t kind = random_.Between(0, 99);
  if (kind < 42) return std::string("click ") + PickWeighted(random_, kClickIds);
  if (kind < 72) return std::string("key ") + PickWeighted(random_, kKeys);
  if (kind < 80) {
    if (random_.Chance(80)) return std::string("key Alt+") + random_.Pick(kMnemonics);
    const char letter = static_cast<char>('a' + random_.Between(0, 25));
    return std::string(random_.Chance(50) ? "key Alt+" : "key ") + letter;
  }
  if (kind < 88) return std::string("tray ") + random_.Pick(kTrayEvents);
  if (kind < 93) {
    const bool trackbar = random_.Chance(85);
    const std::string id = trackbar ? "1031" : PickWeighted(random_, kClickIds);
    const std::int64_t pos = random_.Chance(80) ? random_.Between(1, 10) : random_.Between(-20, 30);
    return "slide " + id + " " + std::to_string(pos);
  }
  if (kind < 96) return "taskbar";
  if (kind < 97 && random_.Chance(30)) return "close";
  // The window menu: About mostly, Close rarely, and commands the program leaves to the
  // system (minimize, restore, move) now and then.
  if (random_.Chance(80)) return "sysmenu 16";
  if (random_.Chance(40)) return "sysmenu 61536";
  constexpr const char* kOther[] = {"61472", "61728", "61456", "0", "12345"};
  return std::string("sysmenu ") + random_.Pick(kOther);
}

// How a dialog is closed: OK-like, or (when allowed) cancel-like. Should the dialog be gone
// already, an OK-like closer meets the main window, where OK is Minimize; a cancel-like one
// would end the program, so those are the rarer.
std::string ScriptGenerator::Closer(bool mayCancel) {
  constexpr const char* kOk[] = {"click 1", "click 1", "key Enter", "key Space"};
  constexpr const char* kCancel[] = {"key Escape", "close", "click 2"};
  if (mayCancel && random_.Chance(15)) return random_.Pick(kCancel);
  return random_.Pick(kOk);
}

void ScriptGenerator::Episode() {
  const std::int64_t kind = random_.Between(0, 999);
  if (kind < 250) return Idle();
  if (kind < 380) return FullScan();
  if (kind < 490) return AbducteeScan();
  if (kind < 600) return Setup();
  if (kind < 670) return About();
  if (kind < 740) return Minimize();
  if (kind < 790) return MonitorWatch();
  if (kind < 997) return Burst();
  return Exit();
}

void ScriptGenerator::Idle() {
  constexpr const char* kHarmless[] = {
      "tray mousemove", "tray lbuttonup", "tray rbuttondown", "tray lbuttondblclk",
      "key Left",       "key Up",         "slide 1031 5",     "click 1018",
      "click 1005",     "taskbar",        "click 4242",       "key Home"};
  const std::int64_t n = random_.Between(1, 5);
  for (std::int64_t i = 0; i < n; ++i) {
    if (random_.Chance(50)) Input(random_.Pick(kHarmless));
    ShortWait();
  }
}

void ScriptGenerator::FullScan() {
  constexpr const char* kOpen[] = {"click 1000", "key Alt+s", "key Enter"};
  Input(random_.Pick(kOpen));
  if (random_.Chance(25)) {
    // Abort while the lamps run: Abort (no results) or Escape and the close box (results).
    Wait(random_.Between(0, 12000));
    // Abort itself ends the scan without results; Escape and the close box show them.
    constexpr const char* kAbort[] = {"click 1", "key Enter", "key Space", "key Escape", "close"};
    const std::string abort = random_.Pick(kAbort);
    Input(abort);
    if (abort != "key Escape" && abort != "close") {
      ShortWait();
      return;
    }
  } else {
    // The lamps take about 13 s, the spoken results up to about 12 s more.
    Wait(random_.Between(12000, 16000));
  }
  Wait(random_.Between(0, 20000));
  Input(Closer(true));
  ShortWait();
}

void ScriptGenerator::AbducteeScan() {
  constexpr const char* kOpen[] = {"click 3", "key Alt+b"};
  Input(random_.Pick(kOpen));
  Wait(random_.Between(0, 5000));
  if (random_.Chance(25)) {
    constexpr const char* kCancel[] = {"key Escape", "click 2", "close", "key Tab"};
    Input(random_.Pick(kCancel));
    ShortWait();
    return;
  }
  constexpr const char* kStart[] = {"key Enter", "click 1", "key Space", "key Alt+s"};
  Input(random_.Pick(kStart));
  if (random_.Chance(20)) {
    // The buttons go grey a tick later: a second press may or may not still count.
    Input(random_.Pick(kStart));
  }
  Wait(random_.Between(3000, 12000));
  Input(Closer(true));
  ShortWait();
}

void ScriptGenerator::Setup() {
  constexpr const char* kOpen[] = {"click 1002", "key Alt+t"};
  Input(random_.Pick(kOpen));
  ShortWait();
  constexpr const char* kActions[] = {
      "click 1024", "click 1025", "click 1026", "click 1027",    "click 1028", "click 1029",
      "click 1030", "key Space",  "key Tab",    "key Shift+Tab", "key Left",   "key Right",
      "key Up",     "key Down",   "key Home",   "key End",       "key PageUp", "key PageDown"};
  const std::int64_t n = random_.Between(0, 8);
  for (std::int64_t i = 0; i < n; ++i) {
    if (random_.Chance(20)) {
      Input("slide 1031 " + std::to_string(random_.Between(random_.Chance(90) ? 1 : -5, 12)));
    } else {
      Input(random_.Pick(kActions));
    }
    if (random_.Chance(40)) ShortWait();
  }
  Input(random_.Chance(70) ? std::string(random_.Chance(50) ? "click 1" : "key Enter")
                           : Closer(true));
  ShortWait();
}

void ScriptGenerator::About() {
  constexpr const char* kOpen[] = {"click 1001", "key Alt+a", "sysmenu 16"};
  Input(random_.Pick(kOpen));
  ShortWait();
  if (random_.Chance(40)) {
    // Help: without a help page a message box says so; Enter or OK closes it.
    Input("click 9");
    ShortWait();
    Input(random_.Chance(50) ? "key Enter" : "click 1");
    ShortWait();
  }
  Input(Closer(true));
  ShortWait();
}

void ScriptGenerator::Minimize() {
  Input(random_.Chance(70) ? "click 1" : "key Alt+m");
  Wait(random_.Between(0, 30000));
  constexpr const char* kBack[] = {"tray lbuttondown", "tray rbuttonup", "taskbar",
                                   "tray lbuttonup",   "tray mousemove", "click 1000"};
  const std::int64_t n = random_.Between(1, 3);
  for (std::int64_t i = 0; i < n; ++i) {
    Input(random_.Pick(kBack));
    ShortWait();
  }
}

void ScriptGenerator::MonitorWatch() {
  // About a minute and a half of the lamps running: the monitor checks every 2401st tick.
  Wait(random_.Between(30000, 90000));
  constexpr const char* kAnswer[] = {"click 6",   "click 7",    "key Enter", "key Alt+y",
                                     "key Alt+n", "key Escape", "close"};
  Input(random_.Pick(kAnswer));
  ShortWait();
}

void ScriptGenerator::Burst() {
  const std::int64_t n = random_.Between(1, 8);
  for (std::int64_t i = 0; i < n; ++i) {
    Input(AnyInput());
    ShortWait();
  }
}

void ScriptGenerator::Exit() {
  constexpr const char* kExit[] = {"click 2", "key Escape", "close", "sysmenu 61536", "key Alt+x"};
  Input(random_.Pick(kExit));
  ShortWait();
}
