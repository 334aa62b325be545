// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disk of a few KiB mounted on a folder, private to the calling process, for the tests that
// must see a save meet a full disk. Linux makes one; Windows has no private mounts, so the Windows
// run leaves those tests out (cmake/WindowsTests.cmake).
#include <string>

// Makes `folder` a 16 KiB disk of its own: a tmpfs in a mount namespace private to this process
// (each test runs in a process of its own), so nobody else sees it and it goes when we do. Root
// may make the namespace; anyone else becomes root in a user namespace first. "" when done,
// else what failed.
std::string MountSmallDisk(const std::string& folder);
void UnmountSmallDisk(const std::string& folder);
