// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/WindowsCommandLine.h"

const char* const WindowsCommandLine::kHelp =
    "usage: quorblex [--help] [--version]\n"
    "\n"
    "Quorblex Pro scans your surroundings for extraterrestrial life.\n"
    "\n"
    "  -h, --help, /?     show this help and exit\n"
    "  --version          show the program's name and version and exit\n"
    "\n"
    "The options of the Setup dialog are kept in\n"
    "%APPDATA%\\Quorblex Pro\\quorblex.ini.\n";

WindowsCommandLine WindowsCommandLine::Parse(const std::vector<std::string>& args) {
  WindowsCommandLine c;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h" || a == "/?" || a == "-?") {
      c.action_ = Action::kHelp;
      return c;
    }
    if (a == "--version") {
      c.action_ = Action::kVersion;
      return c;
    }
    c.action_ = Action::kError;
    c.error_ = !a.empty() && (a[0] == '-' || a[0] == '/') ? "unknown option " + a
                                                          : "unexpected argument '" + a + "'";
    return c;
  }
  return c;
}
