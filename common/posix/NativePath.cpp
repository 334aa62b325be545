// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/NativePath.h"

std::filesystem::path NativePath(const std::string& utf8) { return utf8; }

std::string Utf8Path(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenFileForReading(const std::string& utf8) { return std::fopen(utf8.c_str(), "rb"); }
