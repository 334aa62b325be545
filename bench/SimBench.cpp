// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how fast the simulator runs the main window on virtual time: one hour of the lamp
// sweep with monitoring on (144,000 ticks of timer 1), and the wall time it took.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main() {
  std::string script = "/tmp/quorblex-bench.script";
  std::ofstream(script) << "wait 3600000\n";
  // Sensitivity 0: monitoring runs every check but never raises the alert.
  std::string profile = "/tmp/quorblex-bench.ini";
  std::ofstream(profile) << "[Options]\nSensitivity=0\nUseSounds=0\n";
  std::string cmd = std::string(QUORBLEX_SIM) + " --seed 1 --profile " + profile + " " + script +
                    " > /tmp/quorblex-bench.out";
  auto start = std::chrono::steady_clock::now();
  int rc = std::system(cmd.c_str());
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("one virtual hour of the main window (144000 ticks): %.3f s wall (exit %d)\n", s,
              rc);
  std::printf("virtual hours per wall second: %.1f\n", 1.0 / s);
  return rc == 0 ? 0 : 1;
}
