// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small floating-point RGBA canvas for drawing the program's pictures. Drawing happens in
// "logical" pixel coordinates; the canvas keeps `scale` x `scale` samples per output pixel so
// that edges and fine shading come out smooth once Downsample() averages them together.
//
// `ratio` is the device pixel ratio the picture is drawn for: a 20 x 20 lamp at ratio 2 comes
// out 40 x 40, drawn anew from the same shapes rather than enlarged, so a high-density screen
// gets finer edges and detail. Output sizes round to the nearest pixel (91 rows at 1.5 give
// 137). At ratio 1 every sample lands exactly where it always has.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace artgen {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 1;
};

struct Rgb8 {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

// Builds a colour from 0..255 components; handy for picking colours off a colour chart.
constexpr Rgba Hex(int r, int g, int b, float a = 1.0f) {
  return Rgba{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Rgba Mix(const Rgba& x, const Rgba& y, double t);
Rgba Scale(const Rgba& c, double k);  // multiplies the colour, not the alpha
Rgba WithAlpha(const Rgba& c, double a);
Rgb8 ToRgb8(const Rgba& c);

struct Vec2 {
  double x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
inline double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline double Length(Vec2 a) { return std::sqrt(Dot(a, a)); }
// Turns `p` about `c` by `angle` radians (positive turns clockwise on screen, y pointing down).
Vec2 Rotate(Vec2 p, Vec2 c, double angle);

double Clamp01(double v);
double SmoothStep(double e0, double e1, double x);

// Signed distances in logical pixels: negative inside the shape.
double SdCircle(Vec2 p, Vec2 c, double r);
double SdBox(Vec2 p, Vec2 c, Vec2 half, double corner = 0);
double SdSegment(Vec2 p, Vec2 a, Vec2 b, double half_width);
double SdEllipse(Vec2 p, Vec2 c, Vec2 radii);  // approximate, good near the outline

// Deterministic value noise in [0,1), so every run draws the same pictures.
double Hash(int x, int y, uint32_t seed);
double ValueNoise(double x, double y, uint32_t seed);

struct Box {
  double x0, y0, x1, y1;  // logical, inclusive-exclusive
};

class Canvas {
 public:
  Canvas(int width, int height, int scale = 1, Rgba fill = Rgba{0, 0, 0, 1}, double ratio = 1);

  int width() const { return width_; }  // logical size
  int height() const { return height_; }
  int scale() const { return scale_; }
  double ratio() const { return ratio_; }
  int pixel_width() const { return pixel_width_; }  // output size: logical size x ratio
  int pixel_height() const { return pixel_height_; }
  int sample_width() const { return pixel_width_ * scale_; }
  int sample_height() const { return pixel_height_ * scale_; }

  Rgba& sample(int sx, int sy) { return px_[static_cast<size_t>(sy) * sample_width() + sx]; }
  const Rgba& sample(int sx, int sy) const {
    return px_[static_cast<size_t>(sy) * sample_width() + sx];
  }
  // The colour of a pixel of a scale-1, ratio-1 canvas (what Downsample() returns).
  const Rgba& at(int x, int y) const { return sample(x, y); }

  // Source-over blending of a straight (not premultiplied) colour onto one sample.
  void BlendSample(int sx, int sy, const Rgba& src);

  // Calls shade(p) for every sample whose centre lies in `box`; p is in logical coordinates.
  // The returned colour is blended with its own alpha.
  template <class Shade>
  void Paint(const Box& box, Shade shade) {
    int sx0 = std::max(0, static_cast<int>(std::floor(box.x0 * density_)));
    int sy0 = std::max(0, static_cast<int>(std::floor(box.y0 * density_)));
    int sx1 = std::min(sample_width(), static_cast<int>(std::ceil(box.x1 * density_)));
    int sy1 = std::min(sample_height(), static_cast<int>(std::ceil(box.y1 * density_)));
    for (int sy = sy0; sy < sy1; ++sy) {
      for (int sx = sx0; sx < sx1; ++sx) {
        Vec2 p{(sx + 0.5) / density_, (sy + 0.5) / density_};
        Rgba c = shade(p);
        if (c.a > 0) BlendSample(sx, sy, c);
      }
    }
  }

  // Fills the region where sdf(p) < 0 with colour(p), the edge softened over one sample.
  template <class Sdf, class Colour>
  void Fill(const Box& box, Sdf sdf, Colour colour) {
    const double soft = 1.0 / density_;
    Paint(box, [&](Vec2 p) {
      double d = sdf(p);
      double cover = Clamp01(0.5 - d / soft);
      if (cover <= 0) return Rgba{0, 0, 0, 0};
      Rgba c = colour(p);
      c.a = static_cast<float>(c.a * cover);
      return c;
    });
  }

  // Averages each scale x scale block into one pixel (alpha-weighted), giving a scale-1 canvas
  // of the output size at ratio 1, ready for the palette.
  Canvas Downsample() const;

 private:
  int width_, height_, scale_;
  double ratio_;
  int pixel_width_, pixel_height_;
  double density_;  // samples per logical pixel
  std::vector<Rgba> px_;
};

// Handy solid-colour shader for Fill().
inline auto Solid(Rgba c) {
  return [c](Vec2) { return c; };
}
inline Box Around(Vec2 c, double r) { return {c.x - r - 1, c.y - r - 1, c.x + r + 1, c.y + r + 1}; }

}  // namespace artgen
