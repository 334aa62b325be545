// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/TextFit.h"

bool TextFit::FitsAt(const Item& item, int stretch, const Measure& measure) {
  if (item.text.empty()) return true;
  Item asWritten = item;
  if (item.text.find('\n') != std::string::npos) asWritten.wraps = false;
  Extent need = measure(asWritten, stretch);
  return need.width <= item.room.width && need.height <= item.room.height;
}

int TextFit::DialogStretch(const std::vector<Item>& items, const Measure& measure) {
  // Percent by percent from the full width: a face's hinted widths do not narrow evenly with
  // the stretch, and where a narrower face takes over they may even widen.
  for (int stretch = kFullWidth; stretch > kNarrowest; --stretch) {
    bool all = true;
    for (const Item& item : items) {
      if (!FitsAt(item, stretch, measure)) {
        all = false;
        break;
      }
    }
    if (all) return stretch;
  }
  return kNarrowest;
}
