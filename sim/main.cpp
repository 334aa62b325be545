// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex-sim: runs Quorblex Pro on virtual time from a script and prints its transcript.
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "common/NativePath.h"
#include "common/ProgramStart.h"
#include "host/headless/Simulator.h"
#include "res/LicenceNotice.h"

namespace {
const char kUsage[] =
    "usage: quorblex-sim [--seed N] [--profile FILE] [--data DIR] [--no-tray]\n"
    "                    [--no-sound-device] [--trace] [--every-tick]\n"
    "                    [--trace-wakes] [SCRIPT]\n";

const char kHelp[] =
    "\n"
    "Runs Quorblex Pro on virtual time from a script (standard input when SCRIPT is\n"
    "absent or -) and prints a transcript of what a user would see change or hear.\n"
    "\n"
    "  --seed N           seed the random draw with N (0 to 4294967295), not the clock\n"
    "  --profile FILE     the settings file to read and write (default: a new\n"
    "                     temporary one, removed at the end)\n"
    "  --data DIR         look up the sounds, the clip and the help page in DIR only\n"
    "  --no-tray          run as if the desktop had no notification area\n"
    "  --no-sound-device  run as if there were no sound device\n"
    "  --trace            also print timer and random-draw lines\n"
    "  --every-tick       make every timer tick when it falls due; by default, while\n"
    "                     every window is hidden, ticks nobody can see are made up\n"
    "                     when the program next wakes (the transcript is the same)\n"
    "  --trace-wakes      also print a wake line each time the program stops waiting\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the program's name and version and exit\n"
    "\n"
    "Script commands, one a line (# starts a comment): wait MS, click ID, key KEY,\n"
    "close, sysmenu ID, tray EVENT, slide ID POS, taskbar. See quorblex-sim(6).\n";
}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  UseBinaryStandardStreams();
  SimOptions options;
  try {
    options = ParseSimArguments(ProgramArguments(argc, argv));
  } catch (const std::invalid_argument& e) {
    std::cerr << "quorblex-sim: " << e.what() << "\n" << kUsage;
    return 2;
  }
  if (options.help) {
    std::cout << kUsage << kHelp;
    return 0;
  }
  if (options.version) {
    std::cout << "quorblex-sim (Quorblex Pro) " QUORBLEX_VERSION "\n" << kLicenceNotice;
    return 0;
  }
  if (options.scriptPath == "-") return RunSimulator(options, std::cin, std::cout, std::cerr);
  std::ifstream script(NativePath(options.scriptPath), std::ios::binary);
  if (!script) {
    std::cerr << "quorblex-sim: cannot open script " << options.scriptPath << "\n";
    return 2;
  }
  return RunSimulator(options, script, std::cout, std::cerr);
}
