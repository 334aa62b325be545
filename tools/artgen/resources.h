#pragma once
// Every picture file the program ships, built in memory: names (relative to res/) and bytes.
#include <string>
#include <vector>

#include "writers.h"

namespace artgen {

inline constexpr int kClipFps = 15;
inline constexpr int kClipFrames = 45;  // three seconds

struct ResourceFile {
  std::string path;  // relative to res/
  Bytes bytes;
};

// The lamps, sensor dots, portrait, board, icon and clip.
std::vector<ResourceFile> BuildResources();

// The clip's frames reduced to one shared 256-colour palette (black kept exact).
std::vector<IndexedImage> BuildClipFrames(int frames);

// Sizes the icon is also drawn at as a full-colour PNG for desktop launchers.
inline constexpr int kIconPngSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace artgen
