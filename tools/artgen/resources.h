// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
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

// The clip's frames reduced to one shared 256-colour palette (black kept exact), drawn for
// device pixel ratio `ratio`.
std::vector<IndexedImage> BuildClipFrames(int frames, double ratio = 1);

// The device pixel ratios above 1 that every picture and the clip are also drawn for, and the
// suffix their files carry before the extension: 146@1.5x.bmp, qx@2x.avi.
inline constexpr double kScaledRatios[] = {1.5, 2.0};
std::string RatioSuffix(double ratio);

// The same pictures and clip drawn anew at each of kScaledRatios, in the same colour depths,
// for high-density screens. The scale-1 files stay exactly as BuildResources makes them.
std::vector<ResourceFile> BuildScaledResources();

// Sizes the icon is also drawn at as a full-colour PNG for desktop launchers.
inline constexpr int kIconPngSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace artgen
