// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/SmallDisk.h"

std::string MountSmallDisk(const std::string&) { return "a private mount (Linux only)"; }

void UnmountSmallDisk(const std::string&) {}
