// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How many device pixels one logical pixel covers where a painter paints: the screen's device
// pixel ratio for a widget on screen, and the target's when a widget is rendered into an image
// (where the widget's own devicePixelRatio() still names its screen).
#include <QPainter>
#include <cmath>

inline double DeviceRatio(const QPainter& p) {
  const QTransform& t = p.deviceTransform();
  return std::hypot(t.m11(), t.m12());
}
