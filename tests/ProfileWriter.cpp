// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex_profile_writer PATH PREFIX COUNT: stores PREFIX0=0 ... PREFIX<COUNT-1>=COUNT-1 in the
// [Options] section of the profile at PATH, one write each, as a second copy of the program
// saving its settings would. Exit status 1 when a write failed. The profile tests run two at once.
#include <cstdio>
#include <string>
#include <vector>

#include "common/ProfileStore.h"
#include "common/ProgramStart.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = ProgramArguments(argc, argv);
  if (args.size() != 3) {
    std::fputs("usage: quorblex_profile_writer PATH PREFIX COUNT\n", stderr);
    return 2;
  }
  ProfileStore store(args[0]);
  const int count = std::stoi(args[2]);
  for (int i = 0; i < count; ++i) {
    if (!store.WriteInt("Options", args[1] + std::to_string(i), i)) return 1;
  }
  return 0;
}
