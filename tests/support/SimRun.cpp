// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/SimRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/SystemFolders.h"
#include "tests/support/Shell.h"
#include "tools/soak/FileText.h"

namespace {
std::string NewTempDir() {
  const std::string dir = NewTempFolder("quorblex-test-");
  return dir.empty() ? std::filesystem::temp_directory_path().string() : dir;
}
}  // namespace

std::vector<SimLine> SimResult::With(const std::string& prefix) const {
  std::vector<SimLine> out;
  for (const auto& l : lines)
    if (l.event.rfind(prefix, 0) == 0) out.push_back(l);
  return out;
}

std::vector<std::string> SimResult::Events(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& l : With(prefix)) out.push_back(l.event);
  return out;
}

std::int64_t SimResult::TimeOf(const std::string& prefix) const {
  for (const auto& l : lines)
    if (l.event.rfind(prefix, 0) == 0) return l.time;
  return -1;
}

bool SimResult::Has(const std::string& event) const {
  for (const auto& l : lines)
    if (l.event == event) return true;
  return false;
}

std::string SimResult::Text() const {
  std::string s;
  for (const auto& l : lines) s += std::to_string(l.time) + " " + l.event + "\n";
  return s + err;
}

SimResult RunSimUnchecked(const std::string& args, const std::string& script) {
  std::string dir = NewTempDir();
  std::string scriptPath = dir + "/script";
  std::ofstream(scriptPath, std::ios::binary) << script;
  std::string outPath = dir + "/out", errPath = dir + "/err";
  std::string cmd = std::string(QUORBLEX_SIM) + " " + args + " " + scriptPath + " >" + outPath +
                    " 2>" + errPath;
  SimResult r;
  r.status = RunShell(cmd);
  std::istringstream out(Slurp(outPath));
  for (std::string line; std::getline(out, line);) {
    SimLine l;
    size_t sp = line.find(' ');
    l.time = std::stoll(line.substr(0, sp));
    l.event = sp == std::string::npos ? "" : line.substr(sp + 1);
    r.lines.push_back(l);
  }
  r.err = Slurp(errPath);
  std::filesystem::remove_all(dir);
  return r;
}

SimResult RunSim(const std::string& args, const std::string& script) {
  SimResult r = RunSimUnchecked(args, script);
  const bool ended = !r.lines.empty() && (r.lines.back().event == "end" ||
                                          r.lines.back().event.rfind("exit ", 0) == 0);
  if (r.status != 0 || !ended)
    ADD_FAILURE() << "quorblex-sim " << args << " did not run to its end (exit status "
                  << r.status << ", last line \""
                  << (r.lines.empty() ? "" : r.lines.back().event) << "\")\n"
                  << r.Text();
  return r;
}

TempProfile::TempProfile(const std::string& content) : dir_(NewTempDir()) {
  path_ = dir_ + "/quorblex.ini";
  if (!content.empty()) std::ofstream(path_, std::ios::binary) << content;
}

TempProfile::~TempProfile() { std::filesystem::remove_all(dir_); }

std::string TempProfile::Read() const { return Slurp(path_); }

bool TempProfile::Exists() const { return std::filesystem::exists(path_); }
