// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds the loose data files (cues, the clip, the help page) by bare name. The folders are
// searched in order; the desktop program searches the current directory first, then its data
// folder; the simulator's --data DIR searches DIR alone.
#include <string>
#include <vector>

class DataFiles {
 public:
  static void SetSearchDirs(std::vector<std::string> dirs);
  // The path of the first regular file called `name` in the search folders, or empty.
  // Names with a slash are never searched for.
  static std::string Find(const std::string& name);
  // The program's own data folder: res/ beside the executable in a build tree, else
  // share/quorblex beside its bin/ folder.
  static std::string ProgramDataDir();
};
