// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster.h"

namespace artgen {

Rgba Mix(const Rgba& x, const Rgba& y, double t) {
  auto lerp = [t](float a, float b) { return static_cast<float>(a + (b - a) * t); };
  return {lerp(x.r, y.r), lerp(x.g, y.g), lerp(x.b, y.b), lerp(x.a, y.a)};
}

Rgba Scale(const Rgba& c, double k) {
  return {static_cast<float>(c.r * k), static_cast<float>(c.g * k), static_cast<float>(c.b * k),
          c.a};
}

Rgba WithAlpha(const Rgba& c, double a) { return {c.r, c.g, c.b, static_cast<float>(a)}; }

Rgb8 ToRgb8(const Rgba& c) {
  auto q = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0)); };
  return {q(c.r), q(c.g), q(c.b)};
}

Vec2 Rotate(Vec2 p, Vec2 c, double angle) {
  double s = std::sin(angle), k = std::cos(angle);
  Vec2 d = p - c;
  return {c.x + d.x * k - d.y * s, c.y + d.x * s + d.y * k};
}

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

double SmoothStep(double e0, double e1, double x) {
  double t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

double SdCircle(Vec2 p, Vec2 c, double r) { return Length(p - c) - r; }

double SdBox(Vec2 p, Vec2 c, Vec2 half, double corner) {
  double dx = std::abs(p.x - c.x) - (half.x - corner);
  double dy = std::abs(p.y - c.y) - (half.y - corner);
  double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0));
  double inside = std::min(std::max(dx, dy), 0.0);
  return outside + inside - corner;
}

double SdSegment(Vec2 p, Vec2 a, Vec2 b, double half_width) {
  Vec2 pa = p - a, ba = b - a;
  double len2 = Dot(ba, ba);
  double h = len2 > 0 ? Clamp01(Dot(pa, ba) / len2) : 0.0;
  return Length(pa - ba * h) - half_width;
}

double SdEllipse(Vec2 p, Vec2 c, Vec2 radii) {
  Vec2 d = p - c;
  double k0 = std::hypot(d.x / radii.x, d.y / radii.y);
  double k1 = std::hypot(d.x / (radii.x * radii.x), d.y / (radii.y * radii.y));
  if (k1 == 0) return -std::min(radii.x, radii.y);
  return k0 * (k0 - 1.0) / k1;
}

double Hash(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
               static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return (h >> 8) / 16777216.0;
}

double ValueNoise(double x, double y, uint32_t seed) {
  int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  double fx = x - ix, fy = y - iy;
  double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  double a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
  double c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
  return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

Canvas::Canvas(int width, int height, int scale, Rgba fill, double ratio)
    : width_(width),
      height_(height),
      scale_(scale),
      ratio_(ratio),
      pixel_width_(static_cast<int>(std::lround(width * ratio))),
      pixel_height_(static_cast<int>(std::lround(height * ratio))),
      density_(scale * ratio),
      px_(static_cast<size_t>(pixel_width_) * scale * pixel_height_ * scale, fill) {}

void Canvas::BlendSample(int sx, int sy, const Rgba& src) {
  Rgba& dst = sample(sx, sy);
  float sa = std::min(1.0f, src.a);
  float out_a = sa + dst.a * (1 - sa);
  if (out_a <= 0) {
    dst = Rgba{0, 0, 0, 0};
    return;
  }
  float keep = dst.a * (1 - sa);
  dst.r = (src.r * sa + dst.r * keep) / out_a;
  dst.g = (src.g * sa + dst.g * keep) / out_a;
  dst.b = (src.b * sa + dst.b * keep) / out_a;
  dst.a = out_a;
}

Canvas Canvas::Downsample() const {
  Canvas out(pixel_width_, pixel_height_, 1, Rgba{0, 0, 0, 0});
  const double n = static_cast<double>(scale_) * scale_;
  for (int y = 0; y < pixel_height_; ++y) {
    for (int x = 0; x < pixel_width_; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int j = 0; j < scale_; ++j) {
        for (int i = 0; i < scale_; ++i) {
          const Rgba& s = sample(x * scale_ + i, y * scale_ + j);
          r += s.r * s.a;
          g += s.g * s.a;
          b += s.b * s.a;
          a += s.a;
        }
      }
      Rgba& o = out.sample(x, y);
      if (a > 0) {
        o = Rgba{static_cast<float>(r / a), static_cast<float>(g / a), static_cast<float>(b / a),
                 static_cast<float>(a / n)};
      }
    }
  }
  return out;
}

}  // namespace artgen
