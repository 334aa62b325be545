// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object: runs the main window modally and ends the program when it closes.
#include "common/CWinApp.h"

class CScannerApp : public CWinApp {
 public:
  CScannerApp() : CWinApp(nullptr) {}
  BOOL InitInstance() override;
};
