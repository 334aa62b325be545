// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SHA-256 of a byte string as 64 lower-case hex digits, as sha256sum prints it. The recorded
// transcripts are kept as hashes; computing them here needs no tool the system may lack.
#include <string>
#include <string_view>

std::string Sha256Hex(std::string_view bytes);
