// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/FontFit.h"

QFont FontFit::AtStretch(const QFont& base, int stretch) {
  QFont font = base;
  font.setStretch(stretch);
  return font;
}

std::optional<TextFit::Item> FontFit::ItemOf(const ControlView& view, const std::string& text) {
  ControlView::TextRoom room = view.Room();
  if (room.size.isEmpty() || text.empty()) return std::nullopt;
  return TextFit::Item{text, {room.size.width(), room.size.height()}, room.wraps, room.mnemonic};
}

TextFit::Extent FontFit::Measure(const QFont& base, const TextFit::Item& item, int stretch) {
  QFontMetrics metrics(AtStretch(base, stretch));
  int flags = item.mnemonic ? Qt::TextShowMnemonic : 0;
  if (item.wraps) flags |= Qt::TextWordWrap;
  QRect bounds(0, 0, item.wraps ? item.room.width : 1 << 20, 1 << 20);
  QRect need = metrics.boundingRect(bounds, flags, QString::fromStdString(item.text));
  return {need.width(), need.height()};
}
