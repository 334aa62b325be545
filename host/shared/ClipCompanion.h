// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clip drawn for a high-density screen, found beside the one the core opened: for "qx.avi"
// at device pixel ratio 2 that is "qx@2x.avi" in the same data folders. The core's clip keeps
// the timing and the frame numbers; the companion only lends its sharper pictures, so it must
// have the same frames at the ratio's size. Without a fitting companion the core's clip is
// shown, enlarged as before.
#include <memory>
#include <string>

class AviClip;

namespace ClipCompanion {

// The ratios companions are drawn for, besides 1.
inline constexpr double kRatios[] = {1.5, 2};

// "qx.avi" at 2 -> "qx@2x.avi"; at 1.5 -> "qx@1.5x.avi". A name without an extension gets the
// suffix at its end.
std::string NameFor(const std::string& name, double ratio);

struct Found {
  std::shared_ptr<const AviClip> clip;  // null: show the core's clip
  double ratio = 1;
};
// The companion of `clip`, which the core opened as `name`, for a screen of ratio `dpr`.
Found Find(const std::string& name, const AviClip& clip, double dpr);

}  // namespace ClipCompanion
