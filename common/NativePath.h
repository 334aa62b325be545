// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names inside the program are UTF-8 text. These turn one into the system's own form at the
// point where a file is opened, and back: on Linux the bytes as they are; on Windows UTF-16, so a
// folder named Zoë or Łukasz opens like any other.
#include <cstdio>
#include <filesystem>
#include <string>

// The system's name for the UTF-8 path, for std::filesystem and the file streams.
std::filesystem::path NativePath(const std::string& utf8);

// The path as UTF-8.
std::string Utf8Path(const std::filesystem::path& path);

// std::fopen(path, "rb") for a UTF-8 path. On Windows the file may still be renamed, replaced or
// deleted while it is open, as on Linux.
std::FILE* OpenFileForReading(const std::string& utf8);
