// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A static picture. It takes the size of its bitmap (plus its border) at ratio 1, in logical
// pixels at every screen density, not the size its template gives it, and shows nothing when it
// has no bitmap or the bitmap does not decode.
// ViewStyle::kExClientEdge adds a sunken two-pixel edge, ViewStyle::kBorder a one-pixel black line outside it.
#include <QImage>
#include <QWidget>

#include "host/qt/ControlView.h"

class PictureView : public QWidget, public ControlView {
 public:
  PictureView(QWidget* parent, std::uint32_t style, std::uint32_t exStyle);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel& control, Change what) override;
  int BitmapId() const { return bitmapId_; }
  // The picture at ratio 1; its size is the control's size on screen, at every ratio.
  const QImage& image() const { return image_; }
  // What a screen of device pixel ratio `dpr` is painted from: the picture drawn for that
  // ratio (devicePixelRatio() says which), or image() when there is no better one.
  const QImage& SourceFor(double dpr) const;
  // The width of the border on each side.
  int Border() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::uint32_t style_, exStyle_;
  int bitmapId_ = -1;
  QImage image_;
};
