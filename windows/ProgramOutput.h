// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where quorblex.exe, a windowed program with no console of its own, says its --help and
// --version and complains about its command line.
#include <string>

namespace ProgramOutput {

// Says `text` (UTF-8, lines ending in "\n"): into the standard output or error the program was
// handed, when that is a file, a pipe or a console; else into the console it was started from,
// when there is one; else in a message box. `error` picks standard error and an error icon.
void Say(const std::string& text, bool error);

}  // namespace ProgramOutput
