// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex-hour-script SEED MS: prints the soak generator's script of MS milliseconds for SEED,
// the script the recorded hours of tests/records/hours.txt were made from.
#include <cstdint>
#include <cstdlib>
#include <iostream>

#include "tools/soak/ScriptGenerator.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: quorblex-hour-script SEED MS\n";
    return 2;
  }
  SoakRandom random(std::strtoull(argv[1], nullptr, 10));
  ScriptGenerator generator(random);
  std::cout << ScriptGenerator::Text(generator.Make(std::strtoll(argv[2], nullptr, 10)));
  return 0;
}
