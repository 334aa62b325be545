// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The scanner's instrument panel: a radar scope with a turning sweep and fading blips, an
// oscilloscope trace and a bank of level meters. Everything moves with whole-number frequencies
// of the loop phase, so the last frame runs straight back into the first.
#include <numbers>

#include "scenes.h"
#include "shading.h"

namespace artgen {
namespace {

constexpr double kTau = 2 * std::numbers::pi;
constexpr Vec2 kRadarCentre{48, 48};
constexpr double kRadarRadius = 42;
constexpr Box kScope{102, 6, 238, 90};
constexpr Box kMeters{246, 6, 294, 90};
constexpr int kMeterCount = 6, kSegments = 19;

const Rgba kPhosphor = Hex(80, 255, 110);
const Rgba kDimLine = Hex(20, 110, 45);

// Clockwise angle from straight up, 0 .. tau.
double Bearing(Vec2 d) {
  double a = std::atan2(d.x, -d.y);
  return a < 0 ? a + kTau : a;
}

// How far (radians) the sweep has travelled since it passed `bearing`.
double SinceSwept(double sweep, double bearing) {
  return std::fmod(sweep - bearing + 2 * kTau, kTau);
}

struct Blip {
  double bearing, range, size;
  double wander;  // radius of the small circle a moving contact drifts around
  int laps;       // times it goes round that circle per loop
};
constexpr Blip kBlips[] = {
    {0.7, 30, 1.6, 0, 0}, {1.9, 17, 1.3, 0, 0},    {2.8, 35, 1.8, 3.5, 1}, {3.9, 24, 1.4, 0, 0},
    {4.6, 36, 1.2, 0, 0}, {5.5, 12, 1.5, 2.5, -1}, {5.9, 33, 2.0, 0, 0},
};

void Radar(Canvas& cv, double phase) {
  const Vec2 c = kRadarCentre;
  const double R = kRadarRadius;
  const double sweep = phase * kTau;
  const Box box = Around(c, R + 2);

  cv.Fill(
      box, [&](Vec2 p) { return SdCircle(p, c, R); },
      [&](Vec2 p) {
        double d = Length(p - c) / R;
        return Mix(Hex(0, 10, 4), Hex(0, 26, 10), d * d);
      });
  // Range rings, cross hairs and bearing ticks.
  for (double rr : {R / 3, 2 * R / 3}) {
    cv.Fill(
        box, [&](Vec2 p) { return std::abs(Length(p - c) - rr) - 0.35; },
        Solid(WithAlpha(kDimLine, 0.9)));
  }
  cv.Fill(
      box,
      [&](Vec2 p) {
        if (Length(p - c) > R) return 1.0;
        return std::min(std::abs(p.x - c.x), std::abs(p.y - c.y)) - 0.35;
      },
      Solid(WithAlpha(kDimLine, 0.8)));
  cv.Fill(
      box,
      [&](Vec2 p) {
        Vec2 d = p - c;
        double dist = Length(d);
        double step = kTau / 24;
        double b = Bearing(d);
        double nearest = std::round(b / step) * step;
        bool major = static_cast<int>(std::lround(b / step)) % 6 == 0;
        double inner = R - (major ? 6 : 3);
        double across = std::abs(std::sin(b - nearest)) * dist;
        if (dist < inner || dist > R) return 1.0;
        return across - 0.4;
      },
      Solid(WithAlpha(kPhosphor, 0.7)));

  // The sweep: an afterglow behind a bright leading edge.
  cv.Paint(box, [&](Vec2 p) {
    Vec2 d = p - c;
    double dist = Length(d);
    if (dist > R) return Rgba{0, 0, 0, 0};
    double behind = SinceSwept(sweep, Bearing(d));
    double trail = 0.5 * std::exp(-behind / 0.55);
    double edge_px = behind < 1 ? std::sin(behind) * dist : 99;
    double lead = std::exp(-edge_px * edge_px / 0.8);
    double a = Clamp01(trail + lead);
    Rgba col = Mix(kPhosphor, Hex(200, 255, 210), lead);
    return WithAlpha(col, a);
  });

  // Contacts light up as the sweep passes and fade over most of a turn.
  for (const Blip& b : kBlips) {
    Vec2 at = c + Vec2{std::sin(b.bearing), -std::cos(b.bearing)} * b.range;
    if (b.wander > 0) {
      double a = b.laps * phase * kTau;
      at = at + Vec2{std::cos(a), std::sin(a)} * b.wander;
    }
    double fade = std::exp(-SinceSwept(sweep, Bearing(at - c)) / 2.4);
    cv.Paint(Around(at, 7), [&](Vec2 p) {
      double d = Length(p - at);
      double core = 1 - SmoothStep(b.size * 0.5, b.size, d);
      double halo = 0.6 * std::exp(-d * d / (b.size * b.size * 3));
      return WithAlpha(Mix(kPhosphor, Hex(230, 255, 230), core), fade * Clamp01(core + halo));
    });
  }
  cv.Fill(
      box, [&](Vec2 p) { return std::abs(Length(p - c) - R) - 0.7; }, Solid(Hex(60, 200, 90)));
}

void Panel(Canvas& cv, Box b) {
  Vec2 c{(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2};
  Vec2 half{(b.x1 - b.x0) / 2, (b.y1 - b.y0) / 2};
  cv.Fill(
      b, [&](Vec2 p) { return SdBox(p, c, half, 3); }, Solid(Hex(0, 14, 6)));
  cv.Fill(
      {b.x0 - 1, b.y0 - 1, b.x1 + 1, b.y1 + 1},
      [&](Vec2 p) {
        return std::abs(SdBox(p, c, half - Vec2{0.5, 0.5}, 3)) - 0.5;
      },
      Solid(Hex(40, 150, 70)));
}

// Height of the two scope traces at horizontal position u (0..1 across the screen).
double MainWave(double u, double phase) {
  double env = 0.85 + 0.15 * std::sin(kTau * phase);
  return env * (0.68 * std::sin(kTau * (2.5 * u - 2 * phase)) +
                0.32 * std::sin(kTau * (6 * u + 3 * phase)));
}
double SideWave(double u, double phase) {
  return std::sin(kTau * (4 * u + phase)) * std::cos(kTau * (u - phase));
}

template <class Wave>
void Trace(Canvas& cv, Wave wave, double mid, double amp, Rgba colour, double strength) {
  const double x0 = kScope.x0 + 2, x1 = kScope.x1 - 2;
  cv.Paint({x0, kScope.y0 + 1, x1, kScope.y1 - 1}, [&](Vec2 p) {
    double u = (p.x - x0) / (x1 - x0);
    double du = 0.5 / (x1 - x0);
    double y = mid - amp * wave(u);
    double slope = -amp * (wave(u + du) - wave(u - du)) / (2 * du * (x1 - x0));
    double d = std::abs(p.y - y) / std::sqrt(1 + slope * slope);
    double core = std::exp(-d * d / 0.35);
    double halo = 0.45 * std::exp(-d / 1.6);
    return WithAlpha(Mix(colour, Hex(235, 255, 240), core * 0.7), strength * Clamp01(core + halo));
  });
}

void Scope(Canvas& cv, double phase) {
  Panel(cv, kScope);
  const double w = kScope.x1 - kScope.x0, h = kScope.y1 - kScope.y0;
  const double mid = (kScope.y0 + kScope.y1) / 2;
  // Dotted graticule, eight by five, with a tick-marked centre cross.
  cv.Paint(kScope, [&](Vec2 p) {
    double gx = (p.x - kScope.x0) / (w / 8), gy = (p.y - kScope.y0) / (h / 5);
    double on_x = std::abs(gx - std::round(gx)) * (w / 8);
    double on_y = std::abs(gy - std::round(gy)) * (h / 5);
    bool inside =
        p.x > kScope.x0 + 2 && p.x < kScope.x1 - 2 && p.y > kScope.y0 + 2 && p.y < kScope.y1 - 2;
    if (!inside) return Rgba{0, 0, 0, 0};
    bool dotted =
        (on_x < 0.5 && std::fmod(p.y, 3.0) < 1.0) || (on_y < 0.5 && std::fmod(p.x, 3.0) < 1.0);
    bool tick =
        (std::abs(p.y - mid) < 1.5 && std::fmod(p.x - kScope.x0, w / 40) < 0.6) ||
        (std::abs(p.x - (kScope.x0 + w / 2)) < 1.5 && std::fmod(p.y - kScope.y0, h / 25) < 0.6);
    if (dotted || tick) return WithAlpha(kDimLine, 0.9);
    return Rgba{0, 0, 0, 0};
  });
  Trace(
      cv, [&](double u) { return SideWave(u, phase); }, mid + 14, 9, Hex(40, 200, 220), 0.6);
  Trace(
      cv, [&](double u) { return MainWave(u, phase); }, mid - 4, 26, kPhosphor, 1.0);
}

double MeterLevel(int i, double phase) {
  static const int kSlow[kMeterCount] = {1, 2, 1, 3, 2, 1};
  static const int kFast[kMeterCount] = {5, 4, 7, 6, 5, 8};
  double a = kSlow[i] * phase + 0.17 * i, b = kFast[i] * phase + 0.31 * i * i;
  return Clamp01(0.52 + 0.28 * std::sin(kTau * a) + 0.16 * std::sin(kTau * b));
}

void Meters(Canvas& cv, double phase) {
  Panel(cv, kMeters);
  const double top = kMeters.y0 + 5, bottom = kMeters.y1 - 5;
  const double pitch = (bottom - top) / kSegments;
  for (int i = 0; i < kMeterCount; ++i) {
    double x = kMeters.x0 + 5 + i * 7.0;
    int lit = static_cast<int>(std::lround(MeterLevel(i, phase) * kSegments));
    for (int s = 0; s < kSegments; ++s) {
      double y1 = bottom - s * pitch, y0 = y1 - pitch + 1.2;
      Rgba on = s >= kSegments - 3   ? Hex(255, 50, 30)
                : s >= kSegments - 7 ? Hex(255, 190, 30)
                                     : kPhosphor;
      Rgba col = s < lit ? on : Scale(on, 0.16);
      cv.Fill(
          {x - 1, y0 - 1, x + 6, y1 + 1},
          [&](Vec2 p) {
            return SdBox(p, {x + 2.5, (y0 + y1) / 2}, {2.5, (y1 - y0) / 2}, 0.4);
          },
          Solid(col));
    }
  }
}

}  // namespace

Canvas DrawClipFrame(double phase, double ratio) {
  Canvas cv(kClipWidth, kClipHeight, 3, Hex(0, 0, 0), ratio);
  Radar(cv, phase);
  Scope(cv, phase);
  Meters(cv, phase);
  return cv.Downsample();
}

}  // namespace artgen
