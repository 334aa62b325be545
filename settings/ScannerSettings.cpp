// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ScannerSettings.h"

#include "common/CWinApp.h"

void ScannerSettings::Read(int sensitivityDefault) {
  CWinApp* app = AfxGetApp();
  auto get = [app](const char* key, int def) {
    return static_cast<int>(app->GetProfileIntA("Options", key, def));
  };
  UseSounds = get("UseSounds", 1);
  Monitor = get("Monitor", 1);
  Scan1 = get("Scan1", 1);
  Scan2 = get("Scan2", 1);
  Scan3 = get("Scan3", 1);
  Scan4 = get("Scan4", 1);
  Scan5 = get("Scan5", 1);
  Sensitivity = get("Sensitivity", sensitivityDefault);
}
