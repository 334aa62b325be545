// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One width for every text of a dialog.
//
// The layouts are in dialog units of a face narrower than the ones a Linux desktop or a browser
// has, so some of our texts need more room than their controls give them. A text that does not
// fit is drawn condensed, and the whole dialog with it: one stretch a dialog, the widest at
// which every text it can ever show fits its control, decided once when the dialog is made. A
// dialog whose texts fit at full width keeps the face as it is.
//
// Plain C++, so that every host takes the same decision; the host brings the measuring.
#include <functional>
#include <string>
#include <vector>

namespace TextFit {

// The stretches a dialog may be given, in percent of the face's own width.
constexpr int kFullWidth = 100;
constexpr int kNarrowest = 75;

struct Extent {
  int width = 0;
  int height = 0;
};

// A text and the room its control leaves it, in the dialog's pixels.
struct Item {
  std::string text;
  Extent room;
  bool wraps = false;    // broken at spaces to stay within room.width, as a static text is
  bool mnemonic = true;  // '&' underlines the next letter and takes no room of its own
};

// The room `item.text` takes at `stretch` percent: '\n' starts a new line, and a text that
// wraps is broken at spaces where a line would be wider than item.room.width.
using Measure = std::function<Extent(const Item& item, int stretch)>;

// Whether the text stands whole in its room at `stretch`. A text broken into lines by hand
// keeps those lines: it fits only if none of them has to break again.
bool FitsAt(const Item& item, int stretch, const Measure& measure);

// The widest stretch from kFullWidth down to kNarrowest at which every item fits; kNarrowest
// when even that leaves one cut.
int DialogStretch(const std::vector<Item>& items, const Measure& measure);

}  // namespace TextFit
