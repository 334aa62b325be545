// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The About box portrait: a visitor with a big head and large dark eyes, in blue light.
#include "scenes.h"
#include "shading.h"

namespace artgen {
namespace {

constexpr int kW = 72, kH = 91;
constexpr double kMidX = 36;

double Head(Vec2 p) {
  double skull = SdEllipse(p, {kMidX, 34}, {28.5, 29.5});
  double chin = SdEllipse(p, {kMidX, 70}, {8.5, 7.5});
  return SmoothMin(skull, chin, 20);
}

double Neck(Vec2 p) {
  // Narrow neck widening toward the shoulders.
  double t = Clamp01((p.y - 66) / 25);
  double half = 6.5 + 5 * t * t;
  return std::max(std::abs(p.x - kMidX) - half, 66 - p.y);
}

double Shoulders(Vec2 p) { return SdEllipse(p, {kMidX, 104}, {44, 20}); }

struct EyeShape {
  Vec2 centre;
  double tilt;  // radians, clockwise on screen; each eye's outer corner rises
  bool left;
};
constexpr EyeShape kEyes[2] = {{{24.5, 44}, 0.52, true}, {{47.5, 44}, -0.52, false}};

double Eye(Vec2 p, const EyeShape& e) {
  Vec2 q = Rotate(p, e.centre, -e.tilt) - e.centre;
  const double half_len = 12.5, half_h = 6.6;
  double u = q.x / half_len;
  if (!e.left) u = -u;  // fuller toward the temples, narrowing to a point by the nose
  double w = half_h * std::pow(std::max(0.0, 1 - u * u), 0.6) * (1 - 0.2 * u);
  return std::max(std::abs(q.y) - w, std::abs(q.x) - half_len);
}

double EyesDistance(Vec2 p) { return std::min(Eye(p, kEyes[0]), Eye(p, kEyes[1])); }

// Height of the head surface for shading: a rounded dome rising from the outline, with a soft
// hollow around each eye, a faint brow and cheekbones.
double Relief(Vec2 p) {
  const double bevel = 15;
  double d = std::min(0.0, Head(p));
  double depth = std::min(1.0, -d / bevel);
  double h = bevel * std::sqrt(1 - (1 - depth) * (1 - depth));
  double e = EyesDistance(p);
  h -= 2.5 * std::exp(-std::max(0.0, e) / 3.0);
  h += 1.2 * std::exp(-std::pow((p.y - 57) / 3.5, 2)) * std::exp(-std::pow((p.x - kMidX) / 2.0, 2));
  for (double cx : {21.0, 51.0})
    h += 1.4 * std::exp(-(std::pow((p.x - cx) / 6, 2) + std::pow((p.y - 58) / 5, 2)));
  return h;
}

Rgba SkinAt(Vec2 p) {
  const double eps = 0.35;
  double gx = (Relief({p.x + eps, p.y}) - Relief({p.x - eps, p.y})) / (2 * eps);
  double gy = (Relief({p.x, p.y + eps}) - Relief({p.x, p.y - eps})) / (2 * eps);
  Vec3 n = Normalize({-gx, -gy, 1});
  double diffuse = std::max(0.0, Dot3(n, kLight));
  Vec3 half = Normalize({kLight.x, kLight.y, kLight.z + 1});
  double sheen = std::pow(std::max(0.0, Dot3(n, half)), 30);
  double rim = std::pow(1 - n.z, 2.0) * SmoothStep(0, 1, n.x);  // cold light from behind right

  Rgba base = Mix(Hex(120, 170, 230), Hex(70, 110, 190), Clamp01((p.y - 10) / 70));
  Rgba col = Scale(base, 0.28 + 0.85 * diffuse);
  col = Mix(col, Hex(170, 230, 255), Clamp01(rim * 1.2));
  col = Mix(col, Hex(235, 245, 255), Clamp01(sheen * 0.5));
  // Skin darkens into the eye sockets.
  col = Scale(col, 0.78 + 0.22 * SmoothStep(0, 3.0, EyesDistance(p)));
  col.a = 1;
  return col;
}

Rgba EyeAt(Vec2 p, const EyeShape& e) {
  Vec2 q = Rotate(p, e.centre, -e.tilt) - e.centre;
  // Deep blue-black with a glassy reflection of the sky and a bright catch-light.
  double lower = SmoothStep(-2, 6, q.y);
  Rgba col = Mix(Hex(2, 4, 14), Hex(16, 34, 80), lower * 0.8);
  double side = e.left ? -1 : 1;
  Vec2 glint_at = e.centre + Vec2{side * 3.0, -2.6};
  double g = Length(p - glint_at);
  col = Mix(col, Hex(230, 245, 255), 1 - SmoothStep(0.9, 1.7, g));
  Vec2 glint2 = e.centre + Vec2{-side * 4.5, 2.4};
  col = Mix(col, Hex(110, 150, 220), 0.6 * (1 - SmoothStep(0.3, 1.0, Length(p - glint2))));
  // A dim wet rim where the eye meets the skin.
  col = Mix(col, Hex(40, 60, 110), 0.5 * (1 - SmoothStep(0, 0.9, -Eye(p, e))));
  col.a = 1;
  return col;
}

}  // namespace

Canvas DrawAlienPortrait(double ratio) {
  const int kScale = 4;
  Canvas cv(kW, kH, kScale, Hex(0, 0, 0), ratio);
  const Box all{0, 0, kW, kH};

  // Night-blue backdrop, brighter behind the head, with a few faint stars.
  cv.Paint(all, [](Vec2 p) {
    double d = std::hypot((p.x - kMidX) / 40, (p.y - 38) / 48);
    Rgba col = Mix(Hex(36, 70, 150), Hex(3, 8, 30), SmoothStep(0.1, 1.15, d));
    int ix = static_cast<int>(p.x), iy = static_cast<int>(p.y);
    double star = Hash(ix, iy, 77);
    if (star > 0.985) {
      double fx = p.x - ix - 0.5, fy = p.y - iy - 0.5;
      double s = std::exp(-(fx * fx + fy * fy) * 18) * (star - 0.985) / 0.015;
      col = Mix(col, Hex(200, 220, 255), s);
    }
    return col;
  });

  // Shoulders and a high collar, then the neck.
  cv.Fill(all, Shoulders, [](Vec2 p) {
    double t = Clamp01((p.x - 0) / kW);
    Rgba col = Mix(Hex(40, 60, 120), Hex(12, 20, 50), t);
    return Scale(col, 0.8 + 0.2 * SmoothStep(84, 91, p.y));
  });
  cv.Fill(
      all, [](Vec2 p) { return std::abs(Shoulders(p) + 1.5) - 0.6; },
      Solid(Hex(110, 160, 230, 0.7f)));
  cv.Fill(all, Neck, [](Vec2 p) {
    double across = (p.x - kMidX) / 9;
    Rgba col = Scale(Hex(90, 135, 205), 0.75 - 0.35 * across);
    // Shadow cast by the chin.
    return Scale(col, 0.45 + 0.55 * SmoothStep(70, 80, p.y));
  });

  // Head.
  cv.Fill(
      all, [](Vec2 p) { return Head(p) - 0.7; }, Solid(Hex(10, 20, 50)));
  cv.Fill(all, Head, SkinAt);
  for (const EyeShape& e : kEyes) {
    cv.Fill(
        all, [&](Vec2 p) { return Eye(p, e); }, [&](Vec2 p) { return EyeAt(p, e); });
  }
  // Two slits for a nose and a small, straight mouth.
  for (double nx : {33.8, 38.2}) {
    cv.Fill(
        all,
        [&](Vec2 p) {
          return SdEllipse(p, {nx, 60}, {0.75, 0.55});
        },
        Solid(Hex(25, 45, 95, 0.8f)));
  }
  cv.Fill(
      all,
      [](Vec2 p) {
        double bend = 0.02 * (p.x - kMidX) * (p.x - kMidX);
        return SdSegment({p.x, p.y - bend}, {31.5, 67}, {40.5, 67}, 0.55);
      },
      Solid(Hex(22, 38, 85)));
  cv.Fill(
      all,
      [](Vec2 p) {
        return SdSegment(p, {33, 68.8}, {39, 68.8}, 0.45);
      },
      Solid(Hex(150, 195, 245, 0.45f)));
  return cv.Downsample();
}

}  // namespace artgen
