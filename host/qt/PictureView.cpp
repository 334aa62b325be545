// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/PictureView.h"

#include <qdrawutil.h>

#include <QPainter>

#include "host/qt/BitmapCache.h"
#include "host/qt/DeviceRatio.h"

PictureView::PictureView(QWidget* parent, std::uint32_t style, std::uint32_t exStyle)
    : QWidget(parent), style_(style), exStyle_(exStyle) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

int PictureView::Border() const {
  return (style_ & ViewStyle::kBorder ? 1 : 0) + (exStyle_ & ViewStyle::kExClientEdge ? 2 : 0);
}

void PictureView::Apply(const ControlModel& control, Change what) {
  if (what != Change::Picture || control.bitmapId == bitmapId_) return;
  bitmapId_ = control.bitmapId;
  image_ = bitmapId_ ? BitmapCache::Get(bitmapId_) : QImage();
  int b = Border();
  QSize size = image_.size() + QSize(2 * b, 2 * b);
  if (!image_.isNull() && size != this->size()) resize(size);
  // An opaque picture covers its whole rectangle: nothing under it needs painting.
  setAttribute(Qt::WA_OpaquePaintEvent, !image_.isNull() && !image_.hasAlphaChannel());
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter p(this);
  QRect r = rect();
  if (style_ & ViewStyle::kBorder) {
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    r.adjust(1, 1, -1, -1);
  }
  if (exStyle_ & ViewStyle::kExClientEdge) {
    qDrawWinPanel(&p, r, palette(), true);
    r.adjust(2, 2, -2, -2);
  }
  // The drawing made for the screen's ratio, pixel for pixel. Only a screen denser than every
  // drawing enlarges one, by whole pixels where it can and never blurred; a drawing for a denser
  // screen than this one is reduced smoothly.
  double dpr = DeviceRatio(p);
  const QImage& source = SourceFor(dpr);
  p.setRenderHint(QPainter::SmoothPixmapTransform, source.devicePixelRatio() > dpr);
  p.drawImage(r.topLeft(), source);
}

const QImage& PictureView::SourceFor(double dpr) const {
  return image_.isNull() ? image_ : BitmapCache::ForScreen(bitmapId_, dpr);
}
