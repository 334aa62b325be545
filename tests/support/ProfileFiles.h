// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole profile files for the profile tests, by UTF-8 path.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "common/NativePath.h"

inline const char* const kKeys[] = {"UseSounds", "Monitor", "Scan1", "Scan2",
                                    "Scan3",     "Scan4",   "Scan5", "Sensitivity"};

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(NativePath(path), std::ios::binary | std::ios::trunc) << text;
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
