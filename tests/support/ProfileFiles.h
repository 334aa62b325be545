// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole profile files for the profile tests, by UTF-8 path.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "common/NativePath.h"
#include "common/ProfileStore.h"
#include "common/SystemFolders.h"

inline const char* const kKeys[] = {"UseSounds", "Monitor", "Scan1", "Scan2",
                                    "Scan3",     "Scan4",   "Scan5", "Sensitivity"};

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(NativePath(path), std::ios::binary | std::ios::trunc) << text;
}

// `text` with each `from` replaced by its `to`, in order, each found after the one before: a
// profile as a write should leave it. An edit that finds nothing spoils the whole text.
inline std::string Edited(std::string text,
                          std::initializer_list<std::pair<std::string, std::string>> edits) {
  std::size_t at = 0;
  for (const auto& [from, to] : edits) {
    at = text.find(from, at);
    if (at == std::string::npos) return "(not found: " + from + ")";
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// The names in a folder other than lock files, as UTF-8.
inline std::set<std::string> ListingOf(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(NativePath(dir))) {
    const std::string name = Utf8Path(entry.path().filename());
    if (!name.ends_with(".lock")) names.insert(name);
  }
  return names;
}

// A write to the profile at `path` fails, saying why in errno (`error`, for the user to read),
// and a read then finds nothing there.
inline void ExpectWriteFails(const std::string& path, int error) {
  ProfileStore store(path);
  errno = 0;
  EXPECT_FALSE(store.WriteInt("Options", "Monitor", 1)) << path;
  EXPECT_EQ(errno, error) << path << ": " << std::strerror(errno);
  EXPECT_EQ(store.GetInt("Options", "Monitor", 9), 9) << path;
}

// Leftover temp files beside the profile quorblex.ini in `dir`: two of a writer that is gone
// (process `gone`), which the next write clears up, and some it keeps: those of a writer that
// still runs (process `alive`) and names that only look like ours. Returns what the folder holds
// once a write has cleared up.
inline std::set<std::string> PlantTempFiles(const std::string& dir, const std::string& gone,
                                            const std::string& alive) {
  const std::set<std::string> stale = {".quorblex.ini." + gone + ".0.tmp",
                                       ".quorblex.ini." + gone + ".17.tmp"};
  const std::set<std::string> kept = {
      ".quorblex.ini." + alive + ".3.tmp",  ".quorblex.ini." + gone + ".tmp",
      ".quorblex.ini." + gone + ".1.tmp.x", ".quorblex.ini." + gone + ".x.tmp",
      ".quorblex.ini.-" + gone + ".1.tmp",  ".other.ini." + gone + ".1.tmp",
      "quorblex.ini." + gone + ".1.tmp",    ".quorblex.ini.99999999999.1.tmp"};
  for (const auto& names : {stale, kept}) {
    for (const std::string& name : names) WriteAll(dir + "/" + name, "leftover");
  }
  std::set<std::string> after = kept;
  after.insert("quorblex.ini");
  return after;
}

// Each test in a fresh temporary folder, removed after it.
class ProfileFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = NewTempFolder("profile-test-");
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { std::filesystem::remove_all(NativePath(dir_)); }

  std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

  // Names in the folder other than lock files; a failed or finished write must leave no temp file.
  std::set<std::string> Listing() const { return ListingOf(dir_); }

  std::string dir_;
};
