// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Recorded transcripts: a fixed set of scripts run through quorblex-sim must print, byte for
// byte, what they printed when they were recorded. This is what lets the framework under the
// program be reshaped without the program's behaviour moving.
//
// The set: every script of the fuzz corpus (the transcript kept whole in
// tests/records/<name>.out, or as its length and SHA-256 when long), and an hour of the soak's
// random use for a few generator seeds (the script's and the transcript's length and SHA-256
// in tests/records/hours.txt).
// A transcript here is standard output, then a line with the exit status, then standard error.
//
// To record again after a change that is meant to move behaviour:
//   QUORBLEX_RECORD=1 build/quorblex_tests --gtest_filter='TranscriptRecord.*'
// A mismatch leaves the script and its transcript in a folder named in the failure, with the
// command line that replays it, so it can be diffed against an older build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "common/SystemFolders.h"
#include "tests/support/Sha256.h"
#include "tests/support/Shell.h"
#include "tools/soak/FileText.h"
#include "tools/soak/ScriptGenerator.h"

namespace {
namespace fs = std::filesystem;

const fs::path kSource = QUORBLEX_SOURCE_DIR;
const fs::path kRecords = kSource / "tests/records";

constexpr size_t kWholeLimit = 16 * 1024;

bool Recording() { return std::getenv("QUORBLEX_RECORD") != nullptr; }

std::string Measure(const fs::path& file) {
  return std::to_string(fs::file_size(file)) + " " + Sha256Hex(Slurp(file.string()));
}

// One simulator run in a folder of its own: the script, its output and the command line stay
// there for replay.
struct SimRecordRun {
  fs::path dir;
  std::string command;
  std::string transcript;
};

SimRecordRun RunScript(const std::string& name, const std::string& args,
                       const std::string& script) {
  const std::string made = NewTempFolder("quorblex-record-");
  SimRecordRun run;
  run.dir = made.empty() ? fs::temp_directory_path() : fs::path(made);
  const fs::path scriptPath = run.dir / (name + ".script");
  WriteFile(scriptPath.string(), script);
  // The profile starts absent in a folder of the run's own, so that Setup writes nothing else.
  run.command = std::string(QUORBLEX_SIM) + " " + args + " --profile " +
                (run.dir / "quorblex.ini").string() + " " + scriptPath.string();
  const std::string out = (run.dir / "out").string(), err = (run.dir / "err").string();
  const int status = RunShell(run.command + " >" + out + " 2>" + err);
  // The profile's folder name differs from run to run; error messages never name it.
  run.transcript = Slurp(out) + "status " + std::to_string(status) + "\n" + Slurp(err);
  WriteFile((run.dir / (name + ".out")).string(), run.transcript);
  return run;
}

std::string Replay(const SimRecordRun& run) {
  return "\n  kept in " + run.dir.string() + "\n  replay: " + run.command;
}

// The simulator's options for each recorded hour: both desktops, and a seed of its own.
struct Hour {
  int generatorSeed;
  const char* args;
};
constexpr Hour kHours[] = {
    {1, "--seed 1 --trace"},
    {2, "--seed 2 --trace --no-tray"},
    {3, "--seed 3 --trace --no-sound-device"},
    {4, "--seed 4 --trace"},
};

std::string HourKey(const Hour& h) {
  return "generator " + std::to_string(h.generatorSeed) + " args " + h.args;
}

}  // namespace

TEST(TranscriptRecord, CorpusScriptsPrintWhatTheyPrinted) {
  size_t scripts = 0;
  for (const auto& entry : fs::directory_iterator(kSource / "fuzz/corpus/script")) {
    if (entry.path().extension() != ".script") continue;
    ++scripts;
    const std::string name = entry.path().stem().string();
    const SimRecordRun run = RunScript(name, "--seed 1 --trace", Slurp(entry.path().string()));
    // A long transcript is kept as its length and hash, to keep the repository small.
    const bool whole = run.transcript.size() <= kWholeLimit;
    const std::string got = whole ? run.transcript : Measure(run.dir / (name + ".out")) + "\n";
    const fs::path record = kRecords / (name + (whole ? ".out" : ".sha256"));
    if (Recording()) {
      WriteFile(record.string(), got);
      fs::remove_all(run.dir);
      continue;
    }
    ASSERT_TRUE(fs::exists(record)) << "no recorded transcript " << record;
    EXPECT_EQ(got, Slurp(record.string())) << name << Replay(run);
    if (got == Slurp(record.string())) fs::remove_all(run.dir);
  }
  EXPECT_GE(scripts, 5u) << "the fuzz corpus of scripts is missing";
}

TEST(TranscriptRecord, AnHourOfRandomUsePrintsWhatItPrinted) {
  std::map<std::string, std::string> recorded;
  std::ifstream in(kRecords / "hours.txt");
  for (std::string key, value; std::getline(in, key) && std::getline(in, value);)
    recorded[key] = value;
  std::string lines;
  for (const Hour& h : kHours) {
    SoakRandom random(static_cast<std::uint64_t>(h.generatorSeed));
    ScriptGenerator generator(random);
    const std::string script = ScriptGenerator::Text(generator.Make(3'600'000));
    const std::string name = "hour" + std::to_string(h.generatorSeed);
    const SimRecordRun run = RunScript(name, h.args, script);
    // The script and the transcript are measured apart: a change in the generator is told
    // from a change in the program.
    const std::string measured = "script " + Measure(run.dir / (name + ".script")) +
                                 " transcript " + Measure(run.dir / (name + ".out"));
    lines += HourKey(h) + "\n" + measured + "\n";
    if (Recording()) {
      fs::remove_all(run.dir);
      continue;
    }
    ASSERT_TRUE(recorded.count(HourKey(h))) << "no record for " << HourKey(h);
    EXPECT_EQ(measured, recorded[HourKey(h)]) << HourKey(h) << Replay(run);
    if (measured == recorded[HourKey(h)]) fs::remove_all(run.dir);
  }
  if (Recording()) WriteFile((kRecords / "hours.txt").string(), lines);
}
