// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Help.h"

#include <string>

#include "common/CMessageBox.h"
#include "common/DataFiles.h"
#include "common/WindowSystem.h"

namespace {
// The help page carries the program's name, as the platform's help file did.
constexpr const char* kHelpFile = "quorblex.html";
}  // namespace

void WinHelp(CWnd* owner, UINT nCmd) {
  if (nCmd != HELP_CONTENTS) return;
  const std::string path = DataFiles::Find(kHelpFile);
  WindowSystem::Get().host().ShowHelp(kHelpFile, path);
  if (!path.empty()) return;
  MessageBox(owner,
             (std::string("Cannot find the ") + kHelpFile +
              " file.\nThe help page may have been moved or removed.")
                 .c_str(),
             "Help", MB_OK | MB_ICONHAND);
}
