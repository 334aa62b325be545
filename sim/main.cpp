// quorblex-sim: runs Quorblex Pro on virtual time from a script and prints its transcript.
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "host/headless/Simulator.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  SimOptions options;
  try {
    options = ParseSimArguments(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& e) {
    std::cerr << "quorblex-sim: " << e.what() << "\n"
              << "usage: quorblex-sim [--seed N] [--profile FILE] [--data DIR] [--no-tray]\n"
                 "                    [--no-sound-device] [--trace] [SCRIPT]\n";
    return 2;
  }
  if (options.scriptPath == "-") return RunSimulator(options, std::cin, std::cout, std::cerr);
  std::ifstream script(options.scriptPath);
  if (!script) {
    std::cerr << "quorblex-sim: cannot open script " << options.scriptPath << "\n";
    return 2;
  }
  return RunSimulator(options, script, std::cout, std::cerr);
}
