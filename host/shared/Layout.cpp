// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/Layout.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {
int Divide(std::int64_t value, int divisor, Layout::Rounding rounding) {
  if (rounding == Layout::Rounding::MulDiv) {
    const std::int64_t half = divisor / 2;
    return static_cast<int>(value >= 0 ? (value + half) / divisor : -((-value + half) / divisor));
  }
  std::int64_t q = value / divisor;
  if (value % divisor != 0 && value < 0) --q;
  return static_cast<int>(q);
}

// The corner of a span of `size` centred in the span [lo, lo + length).
int Centred(int lo, int length, int size, Layout::Placement::Centre centre) {
  if (centre == Layout::Placement::Centre::HalfTheSpace) return (2 * lo + length - size) / 2;
  const int middle = (2 * lo + length - 1) / 2;
  return middle - (size - 1) / 2;
}
}  // namespace

int Layout::ToPixelsX(int du, BaseUnits base, Rounding rounding) {
  return Divide(static_cast<std::int64_t>(du) * base.x, 4, rounding);
}

int Layout::ToPixelsY(int du, BaseUnits base, Rounding rounding) {
  return Divide(static_cast<std::int64_t>(du) * base.y, 8, rounding);
}

PixelRect Layout::ToPixels(const Rect& du, BaseUnits base, Rounding rounding) {
  return {ToPixelsX(du.x, base, rounding), ToPixelsY(du.y, base, rounding),
          ToPixelsX(du.cx, base, rounding), ToPixelsY(du.cy, base, rounding)};
}

PixelRect Layout::Place(const Placement& p) {
  PixelRect r{0, 0, p.width, p.height};
  if (p.owned && !p.centered) {
    r.x = p.clientX + p.offsetX;
    r.y = p.clientY + p.offsetY;
    return r;
  }
  const PixelRect& around = p.owned ? p.owner : p.area;
  r.x = Centred(around.x, around.width, p.width, p.centre);
  r.y = Centred(around.y, around.height, p.height, p.centre);
  // Kept on the screen: the right and bottom edges first, so that a window larger than the
  // area shows its top left corner.
  r.x = std::max(p.area.x, std::min(r.x, p.area.x + p.area.width - p.width));
  r.y = std::max(p.area.y, std::min(r.y, p.area.y + p.area.height - p.height));
  return r;
}

std::string Layout::GeometryLine(int templateId, const std::string& what, const PixelRect& r) {
  const std::string win = templateId == kMessageBoxTemplate ? "msgbox" : std::to_string(templateId);
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s %s %d %d %d %d\n", win.c_str(), what.c_str(), r.x, r.y, r.width,
                r.height);
  return buf;
}
