// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/ClipCompanion.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <vector>

#include "common/AviClip.h"
#include "common/DataFiles.h"
#include "host/shared/PictureSources.h"

namespace {
bool Fits(const AviClip& sharp, const AviClip& clip, double ratio) {
  auto near = [ratio](int big, int small) { return std::abs(big - small * ratio) <= 1; };
  return sharp.FrameCount() == clip.FrameCount() && near(sharp.Width(), clip.Width()) &&
         near(sharp.Height(), clip.Height());
}
}  // namespace

std::string ClipCompanion::NameFor(const std::string& name, double ratio) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "@%gx", ratio);
  auto dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return name + suffix;
  return name.substr(0, dot) + suffix + name.substr(dot);
}

ClipCompanion::Found ClipCompanion::Find(const std::string& name, const AviClip& clip, double dpr) {
  std::vector<double> drawn{1};
  drawn.insert(drawn.end(), std::begin(kRatios), std::end(kRatios));
  double ratio = PictureSources::Choose(drawn, dpr);
  if (ratio <= 1 || name.empty()) return {};
  std::string path = DataFiles::Find(NameFor(name, ratio));
  if (path.empty()) return {};
  auto sharp = AviClip::Load(path);
  if (!sharp || !Fits(*sharp, clip, ratio)) return {};
  return {std::make_shared<const AviClip>(std::move(*sharp)), ratio};
}
