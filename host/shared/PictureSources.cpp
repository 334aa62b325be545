// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/PictureSources.h"

#include <algorithm>

#include "common/DialogTemplate.h"

namespace {
// Screens report ratios such as 1.4999999 or 2.0000001.
constexpr double kSlack = 0.01;
}  // namespace

std::vector<double> PictureSources::RatiosOf(int id) {
  std::vector<double> ratios;
  if (Resources::FindBitmap(id).size) ratios.push_back(1);
  for (const Scaled& s : ScaledBitmaps())
    if (s.id == id && s.blob.size) ratios.push_back(s.ratio);
  std::sort(ratios.begin(), ratios.end());
  return ratios;
}

PictureSources::Blob PictureSources::Find(int id, double ratio) {
  if (ratio == 1) {
    Resources::Blob core = Resources::FindBitmap(id);
    return {core.data, core.size};
  }
  for (const Scaled& s : ScaledBitmaps())
    if (s.id == id && s.ratio == ratio) return s.blob;
  return {};
}

double PictureSources::Choose(const std::vector<double>& drawn, double dpr) {
  if (drawn.empty()) return 0;
  for (double r : drawn)
    if (r >= dpr - kSlack) return r;
  return drawn.back();
}

PictureSources::Drawing PictureSources::DrawingFor(int id, double dpr) {
  double chosen = Choose(RatiosOf(id), dpr);
  if (chosen == 0) return {};
  return {chosen, Find(id, chosen)};
}

PictureSources::Blob PictureSources::IconPng(int size) {
  Resources::Blob png = Resources::FindIconPng(size);
  return {png.data, png.size};
}
