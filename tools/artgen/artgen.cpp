// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's pictures, icon and scanning clip and writes them into res/.
//
//   artgen RES_DIR [PAM_DIR]
//
// With PAM_DIR, the icon is also drawn at each launcher size as quorblex-SIZE.pam (RGBA) for
// turning into PNG files.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <utility>
#include <vector>

#include "resources.h"
#include "scenes.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s RES_DIR [PAM_DIR]\n", argv[0]);
    return 2;
  }
  try {
    namespace fs = std::filesystem;
    const fs::path res = argv[1];
    std::vector<artgen::ResourceFile> files = artgen::BuildResources();
    for (artgen::ResourceFile& f : artgen::BuildScaledResources()) files.push_back(std::move(f));
    for (const artgen::ResourceFile& f : files) {
      fs::path out = res / f.path;
      fs::create_directories(out.parent_path());
      artgen::WriteFile(out.string(), f.bytes);
      std::printf("%-22s %8zu bytes\n", f.path.c_str(), f.bytes.size());
    }
    if (argc == 3) {
      const fs::path pam = argv[2];
      fs::create_directories(pam);
      for (int size : artgen::kIconPngSizes) {
        fs::path out = pam / ("quorblex-" + std::to_string(size) + ".pam");
        artgen::WriteFile(out.string(), artgen::EncodePam(artgen::DrawIcon(size)));
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "artgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
