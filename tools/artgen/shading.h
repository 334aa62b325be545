// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lighting helpers shared by the drawings. Light falls from the upper left and slightly in front,
// the way it does on every Windows 3D-looking control.
#include "raster.h"

namespace artgen {

struct Vec3 {
  double x, y, z;
};
inline double Dot3(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Normalize(Vec3 v) {
  double n = std::sqrt(Dot3(v, v));
  return n > 0 ? Vec3{v.x / n, v.y / n, v.z / n} : Vec3{0, 0, 1};
}
inline const Vec3 kLight = Normalize({-0.45, -0.6, 0.66});

// Smooth union of two signed distances; k is the blend width in pixels.
inline double SmoothMin(double a, double b, double k) {
  double h = std::max(k - std::abs(a - b), 0.0) / k;
  return std::min(a, b) - h * h * k * 0.25;
}

struct BallLook {
  Rgba base;
  double glow = 0;        // light from inside (a lit lamp)
  double ambient = 0.16;  // how bright the side turned away from the light stays
  double spot = 0.2;      // radius of the crisp highlight, as a fraction of the ball
  Vec2 spot_at{-0.36, -0.42};
};

// Colour of a glossy ball at p (inside the circle c, r): diffuse shading, a darker rim, a little
// light bounced up from below, and a white highlight.
Rgba GlossyBall(Vec2 p, Vec2 c, double r, const BallLook& look);

}  // namespace artgen
