// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's eight options as a window holds them. A switch is on when it is not 0;
// Sensitivity runs from 1 (Low) to 10 (High), but any stored integer arrives as it is.
class ScannerSettings {
 public:
  int Sensitivity, Scan5, Scan4, Scan3, Scan2, Scan1, Monitor, UseSounds;

  // One read pass over the profile section "Options", in the fixed key order; every switch
  // defaults to 1, Sensitivity to the caller's default.
  void Read(int sensitivityDefault);
};
