// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/soak/TranscriptChecker.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>

#include "common/DefaultChime.h"
#include "common/DialogTemplate.h"
#include "common/WavInfo.h"
#include "res/ResourceIds.h"

namespace {

// A moment with more lines than this is a program that no longer lets time pass.
constexpr std::int64_t kMaxLinesAtOneMoment = 100'000;
constexpr std::int64_t kTickMs = kMonitorPeriodMs;
constexpr const char* kAlertBox =
    "msgbox \"Sensors Indicate Possible Activity!\\nPerform Full Scan?\" \"Quorblex Pro\" 0x34";
// The box Setup's OK shows when the profile could not be written: the text goes on with the
// profile's path and the reason.
constexpr std::string_view kSaveFailedText = "Quorblex Pro could not save its settings to\n";

// The lamp lit after each step of the sweep: right to the end, one dark step, back to the
// start, one dark step.
constexpr int kSweep[22] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
constexpr int kLampOff = IDB_LAMP_OFF;
constexpr int kLampOn = IDB_LAMP_ON;

// The scan's methods: the lamp each lights, the lamp after it, and the status it shows.
struct Method {
  int lamp, next, text;
};
constexpr Method kMethods[5] = {
    {IDC_LAMP1, IDC_LAMP2, IDS_METHOD1}, {IDC_LAMP3, IDC_LAMP4, IDS_METHOD2},
    {IDC_LAMP5, IDC_LAMP6, IDS_METHOD3}, {IDC_LAMP7, IDC_LAMP8, IDS_METHOD4},
    {IDC_LAMP9, IDC_LAMP10, IDS_METHOD5}};
constexpr int kScanningText = IDS_SCANNING;

// Setup's controls for the options, in SoakOptions order; the last is the trackbar.
constexpr int kSetupIds[8] = {IDC_USE_SOUNDS, IDC_MONITOR, IDC_SCAN1, IDC_SCAN2,
                              IDC_SCAN3,      IDC_SCAN4,   IDC_SCAN5, IDC_SENSITIVITY};

// The commands that may end the program when the main window is the active one: Exit (also
// by its mnemonic, with or without Alt, or Enter and Space while it has the focus), Esc, the
// close box, the window menu's Close.
constexpr const char* kEnders[] = {"click 2",   "key Escape", "close", "sysmenu 61536",
                                   "key Alt+x", "key Alt+X",  "key x", "key X",
                                   "key Enter", "key Space"};

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

std::optional<std::int64_t> Number(std::string_view s) {
  std::int64_t v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

// The words of an event; a quoted text is one word, without its quotes and escapes.
std::vector<std::string> Words(std::string_view event) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < event.size()) {
    if (event[i] == ' ') {
      ++i;
      continue;
    }
    std::string word;
    if (event[i] == '"') {
      for (++i; i < event.size() && event[i] != '"'; ++i) {
        if (event[i] == '\\' && i + 1 < event.size()) {
          ++i;
          word += event[i] == 'n' ? '\n' : event[i];
        } else {
          word += event[i];
        }
      }
      ++i;
    } else {
      while (i < event.size() && event[i] != ' ') word += event[i++];
    }
    words.push_back(word);
  }
  return words;
}

std::string Picture(int id, int bitmap) {
  return "picture 102 " + std::to_string(id) + " " + std::to_string(bitmap);
}

}  // namespace

TranscriptChecker::TranscriptChecker(RunSetup setup) : setup_(std::move(setup)) {}

bool TranscriptChecker::Fail(const std::string& why) {
  if (failure_.empty()) failure_ = "at " + std::to_string(now_) + " ms: " + why;
  return false;
}

bool TranscriptChecker::Feed(std::string_view line) {
  if (!failure_.empty()) return false;
  ++stats_.lines;
  const size_t sp = line.find(' ');
  const std::optional<std::int64_t> t =
      sp == std::string_view::npos ? std::nullopt : Number(line.substr(0, sp));
  if (!t) return Fail("not a transcript line: " + std::string(line));
  const std::string_view event = line.substr(sp + 1);
  if (ended_) return Fail("a line after the end: " + std::string(line));
  if (!started_) {
    started_ = true;
    if (*t != 0 || event != "start") return Fail("the run does not start at 0");
    return true;
  }
  if (*t < now_) return Fail("time went back to " + std::to_string(*t));
  if (*t > now_) {
    if (!EndTick() || !EndProgressStep()) return false;
    if (drawDue_) return Fail("the monitor's check did not draw after its tick");
    if (!expected_.empty()) return Fail("missing: " + expected_.front());
    drawForbidden_ = false;
    now_ = *t;
    linesNow_ = 0;
  }
  if (++linesNow_ > kMaxLinesAtOneMoment) return Fail("the program no longer lets time pass");

  if (StartsWith(event, "picture 102 ")) {
    if (!expected_.empty()) return Fail("expected " + expected_.front() + ", got a tick");
    tickLines_.emplace_back(event);
    tickTime_ = now_;
    return true;
  }
  if (!EndTick()) return false;
  if (drawDue_) {
    drawDue_ = false;
    if (!StartsWith(event, "draw 100 ")) return Fail("the monitor's check did not draw");
    const std::int64_t r = Number(event.substr(9)).value_or(-1);
    const int sensitivity = setup_.working.value[7];
    if (r > 100 - 10 * sensitivity) {
      expected_.push_back("timer 102 1 kill");
      expected_.push_back(kAlertBox);
      ++stats_.alerts;
    }
    return true;
  }
  if (drawForbidden_) {
    drawForbidden_ = false;
    if (StartsWith(event, "draw 100 ")) return Fail("a monitor draw off its 2401st tick");
  }
  const bool wasExpected = !expected_.empty();
  if (wasExpected) {
    if (event != expected_.front()) {
      return Fail("expected " + expected_.front() + ", got " + std::string(event));
    }
    expected_.pop_front();
  }
  if (event == kAlertBox && !wasExpected) return Fail("a monitor alert nobody drew");
  return Event(event);
}

bool TranscriptChecker::Event(std::string_view event) {
  const std::vector<std::string> w = Words(event);
  if (w.empty()) return Fail("an empty event");
  const std::string& what = w[0];
  if (what == "open" && w.size() == 3) return Open(w[1]);
  if (what == "msgbox" && w.size() >= 2 && StartsWith(w[1], kSaveFailedText)) {
    return SaveFailed(w);
  }
  if (what == "msgbox") return Open("msgbox");
  if (what == "close" && w.size() == 3) {
    const std::optional<std::int64_t> result = Number(w[2]);
    if (!result) return Fail("a close without result");
    return Close(w[1], static_cast<int>(*result));
  }
  if (what == "exit") {
    if (!mainClosed_) return Fail("the program ended with its main window open");
    if (event != "exit 0") return Fail("the program ended with " + std::string(event));
    ended_ = stats_.exited = true;
    stats_.endTime = now_;
    return true;
  }
  if (what == "end") {
    const ScriptLine& last = setup_.script.back();
    const std::int64_t scriptEnd =
        last.time + (last.IsWait() ? *Number(last.command.substr(5)) : 0);
    if (now_ < scriptEnd) return Fail("the run ended before its script");
    ended_ = true;
    stats_.endTime = now_;
    return true;
  }
  if (what == "timer" && w.size() >= 4 && w[1] == "102" && w[2] == "1") {
    if (w[3] == "kill") {
      timerRunning_ = false;
      return true;
    }
    if (setup_.working.value[1] == 0) {
      return Fail("timer 1 set with monitoring off");
    }
    if (event != "timer 102 1 set 25") return Fail("timer 1 set to another period");
    timerRunning_ = true;
    gridBase_ = now_;
    lastTick_ = -1;
    return true;
  }
  if (what == "sound") return Sound(event);
  if (what == "profile") return ProfileLine(event);
  if (what == "ignored") {
    ++stats_.ignored;
    if (!IssuedLately(std::string(event.substr(8)))) return Fail("ignored input nobody gave");
    return true;
  }
  if (what == "tray" && w.size() >= 2 && w[1] == "add") {
    const bool ok = event == "tray add \"Quorblex Pro\"";
    if (ok != setup_.tray) return Fail("the icon's fate does not match the desktop");
    return true;
  }
  if (what == "show" && w.size() == 3 && w[1] == "102") {
    if (w[2] == "0" && !setup_.tray) return Fail("hidden with no icon to bring it back");
    if (w[2] == "min" && setup_.tray) return Fail("minimized though the icon is there");
    return true;
  }
  if (what == "picture" && w.size() == 4 && w[1] == "148") {
    if (std::count(windows_.begin(), windows_.end(), "148") != 1) return true;
    if (w[3] != std::to_string(kLampOn)) return Fail("a scan lamp went out");
    if (progressTime_ != now_ && !EndProgressStep()) return false;
    progressTime_ = now_;
    progressLit_.push_back(static_cast<int>(Number(w[2]).value_or(0)));
    return true;
  }
  if (what == "text" && w.size() == 4 && w[1] == "148" && w[2] == "1019") {
    progressText_ = w[3];
    return true;
  }
  if (what == "check" && w.size() == 4 && w[1] == "169") {
    setupChecks_[static_cast<int>(Number(w[2]).value_or(0))] =
        static_cast<int>(Number(w[3]).value_or(0));
    return true;
  }
  if (what == "slider" && w.size() == 4 && w[1] == "169" && w[2] == "1031") {
    setupSlider_ = static_cast<int>(Number(w[3]).value_or(0));
    return true;
  }
  return true;
}

bool TranscriptChecker::EndTick() {
  if (tickLines_.empty()) return true;
  std::vector<std::string> lines;
  lines.swap(tickLines_);
  return Tick(lines);
}

bool TranscriptChecker::Tick(const std::vector<std::string>& lines) {
  const std::int64_t t = tickTime_;
  if (lastTick_ == t) return Fail("two main-window ticks at one moment");
  if (!timerRunning_) return Fail("a main-window tick with timer 1 not set");
  if (setup_.working.value[1] == 0) {
    return Fail("the lamps sweep with monitoring off");
  }

  // One step of the sweep, lamps reported left to right.
  const int before = sweepStep_ == 0 ? 0 : kSweep[(sweepStep_ - 1) % 22];
  const int after = kSweep[sweepStep_ % 22];
  std::vector<std::string> want;
  for (int k = 1; k <= 10; ++k) {
    if (k == before && k != after) want.push_back(Picture(kLampIds[k - 1], kLampOff));
    if (k == after && k != before) want.push_back(Picture(kLampIds[k - 1], kLampOn));
  }
  if (lines != want) {
    std::string got;
    for (const std::string& l : lines) got += "\n  " + l;
    return Fail("the lamps did not move one step (two ticks at once?):" + got);
  }
  ++sweepStep_;

  // On the timer's grid, one tick a period; a tick is late only behind a synchronous cue, and
  // then every period it missed was spent in that cue.
  const std::int64_t since = t - gridBase_;
  const std::int64_t slot = since / kTickMs;
  const bool onGrid = since % kTickMs == 0;
  if (slot < 1) return Fail("a tick before its first period");
  const std::int64_t previous = lastTick_ < 0 ? 0 : (lastTick_ - gridBase_) / kTickMs;
  if (slot <= previous) return Fail("two ticks in one period");
  if (!onGrid && BusyFrom(t) == t) return Fail("a tick off the grid with no cue before it");
  for (std::int64_t s = previous + 1; s < slot + (onGrid ? 0 : 1); ++s) {
    if (!InBusy(gridBase_ + s * kTickMs)) {
      return Fail("the tick due at " + std::to_string(gridBase_ + s * kTickMs) +
                  " came late with the program idle");
    }
  }
  lastTick_ = t;

  ++stats_.ticks;
  if (stats_.ticks % kTicksPerCheck == 0) {
    drawDue_ = true;
  } else {
    drawForbidden_ = true;
  }
  return true;
}

bool TranscriptChecker::EndProgressStep() {
  if (progressTime_ < 0) return true;
  const std::vector<int> lit = progressLit_;
  progressLit_.clear();
  progressTime_ = -1;
  auto isLit = [&](int id) { return std::find(lit.begin(), lit.end(), id) != lit.end(); };
  for (int k = 0; k < 5; ++k) {
    if (!isLit(kMethods[k].lamp)) continue;
    const bool on = setup_.working.value[2 + k] != 0;
    if (isLit(kMethods[k].next) == on) {
      return Fail("scan method " + std::to_string(k + 1) + " ran against its switch");
    }
    const std::string text = Resources::LoadString(on ? kMethods[k].text : kScanningText);
    if (progressText_ != text) return Fail("the scan's status says \"" + progressText_ + "\"");
  }
  return true;
}

bool TranscriptChecker::Sound(std::string_view event) {
  const std::vector<std::string> w = Words(event);
  if (w.size() < 3) return Fail("a sound line without its call");
  ++stats_.cues;
  if (setup_.working.value[0] == 0) return Fail("a cue with sounds off: " + w[1]);
  const bool failed = w.size() == 4 && w[3] == "failed";
  const bool missing = w.size() == 4 && w[3] == "missing";
  if (failed != !setup_.soundDevice) return Fail("a cue failed (or not) against the device");
  bool fileMissing = false;
  const int length = CueLength(w[1], &fileMissing);
  if (setup_.soundDevice && missing != fileMissing) {
    return Fail("cue " + w[1] + (missing ? " reported missing" : " not reported missing"));
  }
  if (w[2] != "sync" || failed) return true;
  const std::int64_t to = now_ + (missing ? kDefaultChimeMs : length);
  if (!busy_.empty() && busy_.back().to > now_) return Fail("a cue began inside another");
  if (!busy_.empty() && busy_.back().to == now_) {
    busy_.back().to = to;
  } else {
    busy_.push_back({now_, to});
    if (busy_.size() > 256) busy_.pop_front();
  }
  return true;
}

bool TranscriptChecker::Open(const std::string& win) {
  windows_.push_back(win);
  if (win == "148") {
    ++stats_.scans;
    progressText_.clear();
    progressLit_.clear();
    progressTime_ = -1;
  } else if (win == "170") {
    ++stats_.abducteeScans;
  } else if (win == "169") {
    setupChecks_.clear();
    setupSlider_ = 0;
    writes_.clear();
    saveFailed_ = false;
    if (setup_.setupShows) {
      // Setup's first look: the trackbar takes its range, then its position, then each switch
      // that is on is checked.
      const SoakOptions& shows = *setup_.setupShows;
      expected_.push_back("slider 169 1031 1");
      if (shows.value[7] != 1) {
        expected_.push_back("slider 169 1031 " + std::to_string(shows.value[7]));
      }
      for (int i = 0; i < 7; ++i) {
        if (shows.value[i]) expected_.push_back("check 169 " + std::to_string(kSetupIds[i]) + " 1");
      }
    }
  }
  return true;
}

bool TranscriptChecker::Close(const std::string& win, int result) {
  if (windows_.empty() || windows_.back() != win) {
    return Fail("window " + win + " closed but " +
                (windows_.empty() ? std::string("none") : windows_.back()) + " is active");
  }
  if (win == "148" && !EndProgressStep()) return false;
  windows_.pop_back();
  if (win == "msgbox" && saveFailed_ && !windows_.empty() && windows_.back() == "169") {
    if (result != 1) return Fail("the box of a failed save answered " + std::to_string(result));
    expected_.push_back("close 169 1");
    return true;
  }
  if (win == "169") {
    if (result != 1) {
      if (!writes_.empty()) return Fail("Setup wrote the profile and was cancelled");
      return true;
    }
    SoakOptions saved;
    for (int i = 0; i < 8; ++i) {
      auto it = writes_.find(SoakOptions::kKeys[i]);
      if (it == writes_.end())
        return Fail(std::string("Setup's OK did not write ") + SoakOptions::kKeys[i]);
      const int shown = i == 7 ? setupSlider_ : (setupChecks_[kSetupIds[i]] != 0 ? 1 : 0);
      if (it->second != shown)
        return Fail(std::string("Setup wrote another ") + SoakOptions::kKeys[i]);
      saved.value[i] = it->second;
    }
    if (saveFailed_) {
      // Nothing reached the disk, so the main window re-reads what the profile held before.
      ++stats_.setupsUnsaved;
      return true;
    }
    setup_.working = saved;
    setup_.setupShows = saved;
    profileWritten_ = true;
    ++stats_.setupsSaved;
    return true;
  }
  if (win == "102") {
    if (result != 2) return Fail("the main window ended with " + std::to_string(result));
    if (!windows_.empty()) return Fail("the main window ended under another window");
    if (!ExitAllowed()) return Fail("the program ended without Exit, Esc or Close");
    mainClosed_ = true;
    expected_.push_back("exit 0");
  }
  return true;
}

bool TranscriptChecker::ProfileLine(std::string_view event) {
  const std::vector<std::string> w = Words(event);
  if (windows_.empty() || windows_.back() != "169") return Fail("a profile write outside Setup");
  if (w.size() != 4 || w[1] != "Options") return Fail("a strange profile write");
  const auto* end = std::end(SoakOptions::kKeys);
  if (std::find(std::begin(SoakOptions::kKeys), end, w[2]) == end) {
    return Fail("a profile write of an unknown key " + w[2]);
  }
  if (writes_.count(w[2])) return Fail("Setup wrote " + w[2] + " twice");
  writes_[w[2]] = static_cast<int>(Number(w[3]).value_or(-99999));
  return true;
}

// The box comes once, after the eight writes of Setup's OK, and names the profile. The checker
// takes the save to have changed nothing: true when no write of it could reach the disk, which is
// how the soak's users meet it (a profile whose folder is a plain file).
bool TranscriptChecker::SaveFailed(const std::vector<std::string>& words) {
  if (saveFailed_) return Fail("a failed save said so twice");
  if (windows_.empty() || windows_.back() != "169" || writes_.size() != 8) {
    return Fail("a failed save said so outside Setup's OK");
  }
  if (words.size() != 4 || words[2] != "Quorblex Pro" || words[3] != "0x30") {
    return Fail("the box of a failed save has another caption or other buttons");
  }
  const std::string_view rest = std::string_view(words[1]).substr(kSaveFailedText.size());
  if (!setup_.profile.empty() && !StartsWith(rest, setup_.profile + ":\n")) {
    return Fail("the box of a failed save does not name the profile");
  }
  saveFailed_ = true;
  return Open("msgbox");
}

// Input is handled at its own time, or, given while the program was busy in synchronous cues,
// the moment those end.
bool TranscriptChecker::IssuedLately(const std::string& command) const {
  const std::int64_t from = BusyFrom(now_);
  for (auto it = setup_.script.rbegin(); it != setup_.script.rend(); ++it) {
    if (it->time > now_) continue;
    if (it->time < from) break;
    if (it->command == command) return true;
  }
  return false;
}

bool TranscriptChecker::ExitAllowed() const {
  for (const char* ender : kEnders) {
    if (IssuedLately(ender)) return true;
  }
  return false;
}

// The start of the busy stretch that ends at t, or t itself.
std::int64_t TranscriptChecker::BusyFrom(std::int64_t t) const {
  for (auto it = busy_.rbegin(); it != busy_.rend(); ++it) {
    if (it->to == t) return it->from;
    if (it->to < t) break;
  }
  return t;
}

bool TranscriptChecker::InBusy(std::int64_t t) const {
  for (auto it = busy_.rbegin(); it != busy_.rend(); ++it) {
    if (it->from <= t && t < it->to) return true;
    if (it->to <= t) break;
  }
  return false;
}

// The cue's length as the headless player takes it: the file found by bare name in the data
// folder (a name without a dot may also be that name plus ".wav").
int TranscriptChecker::CueLength(const std::string& name, bool* missing) {
  auto cached = cueLengths_.find(name);
  if (cached == cueLengths_.end()) {
    auto lengthOf = [&](const std::string& file) -> int {
      if (file.empty() || file.find('/') != std::string::npos) return -1;
      const std::string path = setup_.dataDir + "/" + file;
      struct stat st {};
      if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -2;
      const std::optional<WavInfo> info = ReadWavInfo(path);
      return info ? static_cast<int>(info->durationMs) : -1;
    };
    int length = lengthOf(name);
    if (length == -2 && name.find('.') == std::string::npos) length = lengthOf(name + ".wav");
    cached = cueLengths_.emplace(name, std::max(length, -1)).first;
  }
  *missing = cached->second < 0;
  return std::max(cached->second, 0);
}

bool TranscriptChecker::Finish() {
  if (!failure_.empty()) return false;
  if (!EndTick() || !EndProgressStep()) return false;
  if (drawDue_) return Fail("the monitor's check did not draw after its tick");
  if (!expected_.empty()) return Fail("missing at the end: " + expected_.front());
  if (!ended_) return Fail("the transcript stops without end or exit");
  return true;
}
