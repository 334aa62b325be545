// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help page in the user's web browser: Windows has long stopped shipping a viewer for the
// help files of old, and every Windows has a browser that opens a local page.
#include <string>

namespace HelpViewer {

// Opens the page at `path` (UTF-8) with whatever the user has chosen for web pages. Returns at
// once; false when Windows could not hand it over.
bool Open(const std::string& path);

}  // namespace HelpViewer
