// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex-soak: days of random use on virtual time, checked line by line.
//
//   quorblex-soak --sim PATH --data DIR [--seeds N] [--first-seed S] [--hours H] [--jobs J]
//                 [--run-timeout SECONDS] [--keep DIR]
//
// Each seed is one user: a profile of their own (absent, tidy or messy to begin with; for every
// tenth user, one that cannot be written, its folder being a plain file) and H hours of
// virtual time. A run is one simulator process with a random desktop (notification
// area or not, sound device or not) and a script made up front for the hours still to go;
// when the user ends the program, the next run starts where that one stopped, with the same
// profile. Every transcript line is checked as it comes (see TranscriptChecker.h); after each
// run the profile must hold what Setup last saved, or be untouched. A run that crashes, hangs
// past its wall-time bound, or writes anything on standard error but the line of each failed
// save (a sanitizer report, a leak) fails the seed. The failing run's script, profile and command
// line are kept for replay.
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/ProfileStore.h"
#include "tools/soak/FileText.h"
#include "tools/soak/ScriptGenerator.h"
#include "tools/soak/SimProcess.h"
#include "tools/soak/TranscriptChecker.h"

namespace {

struct Config {
  std::string sim, data, keep = "/tmp";
  int seeds = 20, firstSeed = 1, jobs = 2;
  double hours = 24, runTimeout = 600;
};

struct SeedReport {
  int seed = 0;
  bool ok = true;
  std::string failure;
  int runs = 0;
  RunStats total;
  std::int64_t virtualMs = 0;
};

// The user's profile before the first run: none, a tidy one, a partial one, or one with the
// oddities a hand-edited file has (CRLF, comments, spaces, other sections, repeated keys,
// words and out-of-range numbers).
std::string FirstProfile(SoakRandom& random) {
  const std::int64_t kind = random.Between(0, 3);
  if (kind == 0) return "";
  std::string text =
      kind == 3 ? "; edited by hand\r\n[Other]\r\nUseSounds=0\r\n[Options]\r\n" : "[Options]\n";
  const char* eol = kind == 3 ? "\r\n" : "\n";
  for (int i = 0; i < 8; ++i) {
    if (kind == 2 && random.Chance(40)) continue;
    const std::int64_t v = i == 7 ? random.Between(1, 10) : random.Between(0, 1);
    std::string value = std::to_string(v);
    if (kind == 3 && random.Chance(25)) {
      constexpr const char* kOdd[] = {"yes", "", "2", "-3", "15", "0x1", " 1 ", "99999999999"};
      value = random.Pick(kOdd);
    }
    text += std::string(kind == 3 && random.Chance(30) ? "  " : "") + SoakOptions::kKeys[i] +
            (kind == 3 && random.Chance(30) ? " = " : "=") + value + eol;
    if (kind == 3 && random.Chance(10)) text += std::string(SoakOptions::kKeys[i]) + "=1" + eol;
  }
  return text;
}

// What the main window and Setup take from the profile: the main window defaults every option
// to 1, Setup its trackbar to 10.
void ReadOptions(const std::string& profile, RunSetup& setup) {
  const ProfileStore store(profile);
  SoakOptions shows;
  bool tidy = true;
  for (int i = 0; i < 8; ++i) {
    setup.working.value[i] = store.GetInt("Options", SoakOptions::kKeys[i], 1);
    shows.value[i] = store.GetInt("Options", SoakOptions::kKeys[i], i == 7 ? 10 : 1);
    tidy &= i == 7 ? shows.value[i] >= 1 && shows.value[i] <= 10
                   : shows.value[i] == 0 || shows.value[i] == 1;
  }
  setup.setupShows.reset();
  if (tidy) setup.setupShows = shows;
}

std::string Quoted(const std::vector<std::string>& argv) {
  std::string s;
  for (const std::string& a : argv) s += (s.empty() ? "" : " ") + a;
  return s;
}

class SeedSoak {
 public:
  SeedSoak(const Config& config, int seed)
      : config_(config), random_(0x51ED5EEDull * static_cast<std::uint64_t>(seed) + 7) {
    report_.seed = seed;
  }

  SeedReport Run() {
    char tmpl[] = "/tmp/quorblex-soak-XXXXXX";
    if (!::mkdtemp(tmpl)) return Failed("cannot make a temporary folder");
    dir_ = tmpl;
    unwritable_ = report_.seed % 10 == 0;
    profile_ = dir_ + (unwritable_ ? "/blocker/quorblex.ini" : "/quorblex.ini");
    if (unwritable_) WriteFile(dir_ + "/blocker", kBlocker);
    const std::string first = FirstProfile(random_);
    if (!first.empty() && !unwritable_) WriteFile(profile_, first);
    const auto target = static_cast<std::int64_t>(config_.hours * 3'600'000.0);
    while (report_.ok && report_.virtualMs < target) OneRun(target - report_.virtualMs);
    std::filesystem::remove_all(dir_);
    return report_;
  }

 private:
  SeedReport Failed(const std::string& why) {
    report_.ok = false;
    report_.failure = why;
    return report_;
  }

  void OneRun(std::int64_t remainingMs) {
    ++report_.runs;
    RunSetup setup;
    setup.tray = random_.Chance(80);
    setup.soundDevice = random_.Chance(85);
    setup.dataDir = config_.data;
    setup.profile = profile_;
    ScriptGenerator generator(random_);
    setup.script = generator.Make(remainingMs);
    ReadOptions(profile_, setup);
    const unsigned simSeed = static_cast<unsigned>(random_.Next());
    const std::string scriptPath = dir_ + "/run.script";
    WriteFile(scriptPath, ScriptGenerator::Text(setup.script));
    const std::string before = Slurp(profile_);
    const bool existed = std::filesystem::exists(profile_);

    std::vector<std::string> argv = {config_.sim, "--seed",    std::to_string(simSeed),
                                     "--trace",   "--profile", profile_,
                                     "--data",    config_.data};
    if (!setup.tray) argv.push_back("--no-tray");
    if (!setup.soundDevice) argv.push_back("--no-sound-device");
    argv.push_back(scriptPath);

    TranscriptChecker checker(setup);
    std::vector<std::string> recent;  // the last lines, for the report
    const SimOutcome outcome =
        SimProcess::Run(argv, dir_ + "/err", config_.runTimeout, [&](std::string_view line) {
          if (recent.size() >= 40) recent.erase(recent.begin());
          recent.emplace_back(line);
          return checker.Feed(line);
        });

    std::string why;
    if (outcome.timedOut) {
      why = "the run took longer than " + std::to_string(config_.runTimeout) + " s of wall time";
    } else if (!checker.Failure().empty()) {
      why = checker.Failure();
    } else if (outcome.status != 0) {
      why = "the simulator ended with status " + std::to_string(outcome.status);
    } else if (outcome.errors != SaveFailures(checker.Stats().setupsUnsaved)) {
      why = "the simulator wrote on standard error";
    } else if (!checker.Finish()) {
      why = checker.Failure();
    } else {
      why = CheckProfile(checker, before, existed);
    }
    const RunStats& s = checker.Stats();
    report_.total.lines += s.lines;
    report_.total.ticks += s.ticks;
    report_.total.alerts += s.alerts;
    report_.total.scans += s.scans;
    report_.total.abducteeScans += s.abducteeScans;
    report_.total.setupsSaved += s.setupsSaved;
    report_.total.setupsUnsaved += s.setupsUnsaved;
    report_.total.ignored += s.ignored;
    report_.total.cues += s.cues;
    report_.virtualMs += why.empty() && !s.exited ? remainingMs : checker.Now();
    if (why.empty()) return;
    Keep(why, argv, before, existed, recent, outcome.errors);
  }

  std::string CheckProfile(const TranscriptChecker& checker, const std::string& before,
                           bool existed) {
    if (!checker.ProfileWritten()) {
      if (std::filesystem::exists(profile_) != existed || Slurp(profile_) != before) {
        return "the profile changed though Setup saved nothing";
      }
      return "";
    }
    const ProfileStore store(profile_);
    for (int i = 0; i < 8; ++i) {
      const int want = checker.Working().value[i];
      if (store.GetInt("Options", SoakOptions::kKeys[i], want + 1) != want) {
        return std::string("the profile's ") + SoakOptions::kKeys[i] +
               " is not what Setup saved and the main window uses";
      }
    }
    return "";
  }

  void Keep(const std::string& why, std::vector<std::string> argv, const std::string& before,
            bool existed, const std::vector<std::string>& recent, const std::string& errors) {
    const std::string keep = config_.keep + "/quorblex-soak-seed" + std::to_string(report_.seed) +
                             "-run" + std::to_string(report_.runs);
    std::filesystem::create_directories(keep);
    std::filesystem::copy_file(argv.back(), keep + "/run.script",
                               std::filesystem::copy_options::overwrite_existing);
    if (existed) WriteFile(keep + "/profile.ini", before);
    if (unwritable_) WriteFile(keep + "/blocker", kBlocker);
    argv[argv.size() - 1] = keep + "/run.script";
    for (size_t i = 0; i + 1 < argv.size(); ++i) {
      if (argv[i] == "--profile") {
        argv[i + 1] = keep + (unwritable_ ? "/blocker/quorblex.ini" : "/profile.ini");
      }
    }
    std::string text = "seed " + std::to_string(report_.seed) + ", run " +
                       std::to_string(report_.runs) + ": " + why + "\n  replay (profile " +
                       (existed ? "as it was" : "absent") + "): " + Quoted(argv) +
                       "\n  last lines:\n";
    for (const std::string& l : recent) text += "    " + l + "\n";
    if (!errors.empty()) text += "  standard error:\n" + errors.substr(0, 8000);
    Failed(text);
  }

  // What the simulator says on standard error after `count` saves that failed.
  std::string SaveFailures(std::int64_t count) const {
    std::string lines;
    for (std::int64_t i = 0; i < count; ++i) {
      lines += "Quorblex Pro could not save its settings to " + profile_ + ": Not a directory.\n";
    }
    return lines;
  }

  static constexpr const char* kBlocker = "a plain file where the profile's folder should be\n";

  const Config& config_;
  SoakRandom random_;
  SeedReport report_;
  std::string dir_, profile_;
  bool unwritable_ = false;
};

bool ParseArgs(int argc, char** argv, Config& c) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return false;
    const std::string v = argv[++i];
    if (a == "--sim")
      c.sim = v;
    else if (a == "--data")
      c.data = v;
    else if (a == "--seeds")
      c.seeds = std::stoi(v);
    else if (a == "--first-seed")
      c.firstSeed = std::stoi(v);
    else if (a == "--hours")
      c.hours = std::stod(v);
    else if (a == "--jobs")
      c.jobs = std::max(1, std::stoi(v));
    else if (a == "--run-timeout")
      c.runTimeout = std::stod(v);
    else if (a == "--keep")
      c.keep = v;
    else
      return false;
  }
  return !c.sim.empty() && !c.data.empty() && c.seeds > 0 && c.hours > 0;
}

}  // namespace

int main(int argc, char** argv) {
  Config config;
  try {
    if (!ParseArgs(argc, argv, config)) throw std::invalid_argument("usage");
  } catch (const std::exception&) {
    std::fprintf(
        stderr,
        "usage: quorblex-soak --sim PATH --data DIR [--seeds N] [--first-seed S]\n"
        "                     [--hours H] [--jobs J] [--run-timeout SECONDS] [--keep DIR]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  std::vector<SeedReport> reports(static_cast<size_t>(config.seeds));
  std::atomic<int> next{0};
  std::mutex print;
  auto worker = [&] {
    for (int i; (i = next++) < config.seeds;) {
      SeedReport r = SeedSoak(config, config.firstSeed + i).Run();
      const std::lock_guard<std::mutex> lock(print);
      std::printf(
          "seed %d: %s, %d runs, %.1f virtual h, %lld lines, %lld ticks, %lld alerts, "
          "%lld scans, %lld abductee scans, %lld setups saved, %lld not, %lld cues, "
          "%lld ignored\n",
          r.seed, r.ok ? "ok" : "FAILED", r.runs, r.virtualMs / 3.6e6,
          static_cast<long long>(r.total.lines), static_cast<long long>(r.total.ticks),
          static_cast<long long>(r.total.alerts), static_cast<long long>(r.total.scans),
          static_cast<long long>(r.total.abducteeScans),
          static_cast<long long>(r.total.setupsSaved),
          static_cast<long long>(r.total.setupsUnsaved), static_cast<long long>(r.total.cues),
          static_cast<long long>(r.total.ignored));
      if (!r.ok) std::printf("%s\n", r.failure.c_str());
      std::fflush(stdout);
      reports[static_cast<size_t>(i)] = std::move(r);
    }
  };
  std::vector<std::thread> threads;
  for (int j = 0; j < std::min(config.jobs, config.seeds); ++j) threads.emplace_back(worker);
  for (std::thread& t : threads) t.join();

  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  double hours = 0;
  int failed = 0, runs = 0;
  for (const SeedReport& r : reports) {
    hours += r.virtualMs / 3.6e6;
    runs += r.runs;
    failed += r.ok ? 0 : 1;
  }
  std::printf(
      "soak: %d seeds, %d runs, %.1f virtual hours in %.1f s wall: %.1f virtual hours "
      "per wall second; %d seeds failed\n",
      config.seeds, runs, hours, wall, hours / wall, failed);
  return failed ? 1 : 0;
}
