// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Lamps, sensor dots and the program icon.
#include <numbers>

#include "scenes.h"
#include "shading.h"

namespace artgen {

Rgba GlossyBall(Vec2 p, Vec2 c, double r, const BallLook& look) {
  double u = (p.x - c.x) / r, v = (p.y - c.y) / r;
  double q = std::min(1.0, u * u + v * v);
  double z = std::sqrt(1 - q);
  Vec3 n{u, v, z};
  double diffuse = std::max(0.0, Dot3(n, kLight));
  Vec3 half = Normalize({kLight.x, kLight.y, kLight.z + 1});
  double sheen = std::pow(std::max(0.0, Dot3(n, half)), 40);
  double bounce = 0.28 * SmoothStep(0.2, 0.95, v) * (1 - z * 0.6);

  double k = look.ambient + (0.96 - look.ambient) * diffuse + bounce;
  Rgba col = Scale(look.base, k);
  if (look.glow > 0) {
    // A lit lamp is bright in the middle and shades less toward the rim.
    double hot = look.glow * std::pow(z, 1.5);
    Rgba bright{std::min(1.0f, look.base.r * 1.15f), std::min(1.0f, look.base.g * 1.15f),
                std::min(1.0f, look.base.b * 1.15f), 1};
    col = Mix(col, Mix(bright, Rgba{1, 1, 1, 1}, 0.28), Clamp01(hot));
  }
  col = Scale(col, 0.5 + 0.5 * std::pow(z, 0.4));
  double d_spot = std::hypot(u - look.spot_at.x, (v - look.spot_at.y) * 1.25);
  double crisp = 1 - SmoothStep(look.spot * 0.55, look.spot, d_spot);
  col = Mix(col, Rgba{1, 1, 1, 1}, Clamp01(std::max(crisp, sheen * 0.6)));
  col.a = 1;
  return col;
}

Canvas DrawLamp(bool lit, double ratio) {
  const int kScale = 8;
  const Vec2 c{10, 10};
  const double r = 8.1;
  Rgba background = lit ? Hex(14, 6, 6) : Hex(0, 0, 0);
  Canvas cv(20, 20, kScale, background, ratio);
  if (lit) {
    // A faint red halo around the glowing lamp.
    cv.Paint({0, 0, 20, 20}, [&](Vec2 p) {
      double d = Length(p - c) - r;
      if (d < 0) return Rgba{0, 0, 0, 0};
      return WithAlpha(Hex(200, 20, 10), 0.45 * std::exp(-d / 1.4));
    });
  }
  // A thin dark socket ring under the ball.
  cv.Fill(
      Around(c, r + 1), [&](Vec2 p) { return SdCircle(p, c, r + 0.8); },
      Solid(lit ? Hex(40, 10, 8) : Hex(22, 22, 24)));
  BallLook look;
  look.base = lit ? Hex(235, 28, 18) : Hex(150, 152, 158);
  look.glow = lit ? 0.7 : 0;
  look.spot = 0.24;
  cv.Fill(
      Around(c, r), [&](Vec2 p) { return SdCircle(p, c, r); },
      [&](Vec2 p) { return GlossyBall(p, c, r, look); });
  return cv.Downsample();
}

Canvas DrawSensorDot(DotColour colour, double ratio) {
  const int kScale = 8;
  Canvas cv(10, 10, kScale, Hex(26, 27, 32), ratio);
  // Sunken square: darker along the top and left edges, lighter along the bottom and right.
  cv.Paint({0, 0, 10, 10}, [](Vec2 p) {
    if (p.x < 1 || p.y < 1) return Hex(10, 10, 12);
    if (p.x > 9 || p.y > 9) return Hex(52, 54, 60);
    return Rgba{0, 0, 0, 0};
  });
  // In the order of DotColour: blue, green, grey, red, amber.
  constexpr Rgba kBases[] = {Hex(40, 110, 255), Hex(30, 210, 60), Hex(150, 152, 156),
                             Hex(240, 30, 22), Hex(255, 150, 0)};
  const Rgba base = kBases[static_cast<int>(colour)];
  const Vec2 c{5, 5};
  const double r = 3.7;
  cv.Fill(
      Around(c, r + 1), [&](Vec2 p) { return SdCircle(p, c, r + 0.6); }, Solid(Hex(6, 6, 8)));
  BallLook look;
  look.base = base;
  look.glow = colour == DotColour::kGrey ? 0.0 : 0.35;
  look.ambient = 0.45;
  look.spot = 0.34;
  cv.Fill(
      Around(c, r), [&](Vec2 p) { return SdCircle(p, c, r); },
      [&](Vec2 p) { return GlossyBall(p, c, r, look); });
  return cv.Downsample();
}

namespace {

// The alien head of the icon in unit coordinates (0..1 across the icon).
double IconHead(Vec2 p) {
  double skull = SdEllipse(p, {0.5, 0.43}, {0.285, 0.265});
  double chin = SdEllipse(p, {0.5, 0.74}, {0.085, 0.075});
  return SmoothMin(skull, chin, 0.2);
}

double IconEye(Vec2 p, bool left) {
  Vec2 c{left ? 0.37 : 0.63, 0.5};
  // Tilt so the outer corners rise, then measure an almond: wide in the middle, pointed ends.
  Vec2 q = Rotate(p, c, left ? -0.45 : 0.45) - c;
  double half_len = 0.12, half_h = 0.08;
  double u = q.x / half_len;
  if (!left) u = -u;  // the rounder end toward the temples, the point toward the nose
  double w = half_h * std::pow(std::max(0.0, 1 - u * u), 0.55) * (1 - 0.15 * u);
  double inside = std::abs(q.y) - w;
  double ends = std::abs(q.x) - half_len;
  return std::max(inside, ends);
}

}  // namespace

Canvas DrawIcon(int size) {
  const int kScale = size <= 32 ? 8 : (size <= 64 ? 4 : 2);
  Canvas cv(size, size, kScale, Rgba{0, 0, 0, 0});
  const double s = size;
  const double px = 1.0 / s;  // one icon pixel in unit coordinates
  auto unit = [s](Vec2 p) { return Vec2{p.x / s, p.y / s}; };
  const Box all{0, 0, s, s};
  const Vec2 mid{0.5, 0.5};
  const bool detailed = size >= 32;

  // Scope face with a bright rim and a dark edge so it stands out on light and dark desktops.
  const double r_out = 0.5 - 0.5 * px;
  const double rim = std::max(0.07, 1.5 * px);
  cv.Fill(
      all, [&](Vec2 p) { return SdCircle(unit(p), mid, r_out) * s; }, Solid(Hex(8, 40, 14)));
  cv.Fill(
      all, [&](Vec2 p) { return SdCircle(unit(p), mid, r_out - 0.7 * px) * s; },
      Solid(Hex(60, 220, 70)));
  cv.Fill(
      all, [&](Vec2 p) { return SdCircle(unit(p), mid, r_out - rim) * s; },
      [&](Vec2 p) {
        double d = Length(unit(p) - mid) / r_out;
        return Mix(Hex(12, 70, 26), Hex(2, 22, 8), SmoothStep(0.0, 1.0, d));
      });
  if (detailed) {
    double face = r_out - rim;
    // Range rings and cross hairs.
    for (double rr : {face * 0.66, face * 0.33}) {
      cv.Fill(
          all, [&](Vec2 p) { return (std::abs(Length(unit(p) - mid) - rr) - 0.45 * px) * s; },
          Solid(Hex(40, 150, 60, 0.7f)));
    }
    cv.Fill(
        all,
        [&](Vec2 p) {
          Vec2 q = unit(p);
          if (Length(q - mid) > face) return 1.0;
          return (std::min(std::abs(q.x - 0.5), std::abs(q.y - 0.5)) - 0.45 * px) * s;
        },
        Solid(Hex(40, 150, 60, 0.6f)));
    // The sweep: a wedge of green light trailing behind a bright leading edge.
    const double lead = -0.25 * std::numbers::pi;  // pointing up and right
    cv.Paint(all, [&](Vec2 p) {
      Vec2 q = unit(p) - mid;
      double dist = Length(q);
      if (dist > face) return Rgba{0, 0, 0, 0};
      double ang = std::atan2(q.y, q.x);
      double behind = std::fmod(lead - ang + 4 * std::numbers::pi, 2 * std::numbers::pi);
      double a = 0.75 * std::exp(-behind / 0.55);
      return WithAlpha(Hex(90, 255, 110), a);
    });
  }

  // The alien: dark outline, then a lime-green head lit from the upper left.
  const double outline = std::max(1.1 * px, 0.022);
  cv.Fill(
      all, [&](Vec2 p) { return (IconHead(unit(p)) - outline) * s; }, Solid(Hex(4, 30, 8)));
  cv.Fill(
      all, [&](Vec2 p) { return IconHead(unit(p)) * s; },
      [&](Vec2 p) {
        Vec2 q = unit(p);
        double t = Clamp01((q.x - 0.25) * 0.9 + (q.y - 0.2) * 0.9);
        Rgba col = detailed ? Mix(Hex(200, 255, 120), Hex(60, 185, 30), SmoothStep(0.1, 0.75, t))
                            : Mix(Hex(170, 250, 90), Hex(80, 200, 40), SmoothStep(0.2, 0.7, t));
        double edge = -IconHead(q);
        if (detailed) col = Scale(col, 0.8 + 0.2 * SmoothStep(0.0, 0.05, edge));
        return col;
      });
  for (bool left : {true, false}) {
    cv.Fill(
        all, [&](Vec2 p) { return IconEye(unit(p), left) * s; },
        [&](Vec2 p) {
          Vec2 q = unit(p);
          double shine = SmoothStep(0.46, 0.56, q.y);
          return Mix(Hex(0, 0, 0), Hex(10, 40, 30), shine);
        });
    if (size >= 48) {
      Vec2 g{left ? 0.35 : 0.61, 0.48};
      double gr = std::max(0.022, 0.8 * px);
      cv.Fill(
          all, [&](Vec2 p) { return SdCircle(unit(p), g, gr) * s; }, Solid(Hex(235, 255, 235)));
    }
  }
  if (size >= 48) {
    // A small mouth once there is room for one.
    cv.Fill(
        all,
        [&](Vec2 p) {
          return (SdSegment(unit(p), {0.47, 0.7}, {0.53, 0.7}, 0.006)) * s;
        },
        Solid(Hex(20, 80, 20)));
  }
  return cv.Downsample();
}

}  // namespace artgen
