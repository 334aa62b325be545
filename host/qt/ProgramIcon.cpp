// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

#include "host/shared/PictureSources.h"

namespace {
QPixmap StandIn(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, size / 16.0 + 0.5));
  p.setBrush(QColor(0, 160, 0));
  p.drawEllipse(QRectF(size * 0.08, size * 0.08, size * 0.84, size * 0.84));
  return pixmap;
}
}  // namespace

QIcon ProgramIcon::Get() {
  QIcon icon;
  // Every size there is: the window manager, the task bar and the notification area each ask
  // for their own size at the screen's ratio, and Qt hands over the nearest drawn one.
  for (int size : PictureSources::IconSizes()) {
    PictureSources::Blob png = PictureSources::IconPng(size);
    if (!png.data || !png.size) continue;
    QPixmap pixmap;
    if (pixmap.loadFromData(png.data, static_cast<uint>(png.size), "PNG")) icon.addPixmap(pixmap);
  }
  if (icon.isNull())
    for (int size : {16, 32, 48}) icon.addPixmap(StandIn(size));
  return icon;
}
