// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a program's main takes from the system before the program runs.
#include <string>
#include <vector>

// The command line's arguments after the program's name, as UTF-8 (Windows hands main() the
// ANSI code page's text, which cannot hold every file name).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard input, output and error carry bytes as they are: a "\n" written is one LF, and a
// CR or a Ctrl-Z read is a byte like any other, so a script gives the same transcript on every
// system.
void UseBinaryStandardStreams();
