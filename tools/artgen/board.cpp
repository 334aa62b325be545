// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The scanner board seen from above: green solder mask, copper traces, chips, resistors, red
// lights and four big gold fingertip pads. The dialog's sensor dots sit in little black sockets.
#include <numbers>
#include <vector>

#include "scenes.h"
#include "shading.h"

namespace artgen {
namespace {

constexpr double kPadRadius = 27;
using Path = std::vector<Vec2>;

const Rgba kMask = Hex(16, 100, 46);
const Rgba kSilk = Hex(226, 232, 218);

Vec2 DotCentre(size_t i) {
  return kSensorDotCorners[i] + Vec2{kSensorDotSize / 2.0, kSensorDotSize / 2.0};
}

Box Bounds(const Path& path, double margin) {
  Box b{1e9, 1e9, -1e9, -1e9};
  for (Vec2 p : path) {
    b.x0 = std::min(b.x0, p.x - margin);
    b.y0 = std::min(b.y0, p.y - margin);
    b.x1 = std::max(b.x1, p.x + margin);
    b.y1 = std::max(b.y1, p.y + margin);
  }
  return b;
}

double PathDistance(Vec2 p, const Path& path) {
  double d = 1e9;
  for (size_t i = 0; i + 1 < path.size(); ++i)
    d = std::min(d, SdSegment(p, path[i], path[i + 1], 0));
  return d;
}

void Trace(Canvas& cv, const Path& path, double width = 1.8) {
  const double half = width / 2;
  cv.Fill(
      Bounds(path, width + 1), [&](Vec2 p) { return PathDistance(p, path) - half; },
      [&](Vec2 p) {
        double t = Clamp01(PathDistance(p, path) / half);
        return Mix(Hex(240, 178, 96), Hex(150, 84, 34), t * t);
      });
}

// A faint trace on an inner layer, seen through the mask.
void BuriedTrace(Canvas& cv, const Path& path) {
  cv.Fill(
      Bounds(path, 3), [&](Vec2 p) { return PathDistance(p, path) - 0.9; },
      Solid(Hex(30, 128, 62, 0.8f)));
}

// A disc of `radius` at `c` filled within `reach` of it, lit from above: `top` from `spread` / 2
// above its centre to `bottom` as far below.
void ShadedDisc(Canvas& cv, Vec2 c, double reach, double radius, Rgba top, Rgba bottom,
                double spread) {
  cv.Fill(
      Around(c, reach), [&](Vec2 p) { return SdCircle(p, c, radius); },
      [&](Vec2 p) { return Mix(top, bottom, Clamp01((p.y - c.y + spread / 2) / spread)); });
}

void Via(Canvas& cv, Vec2 c) {
  ShadedDisc(cv, c, 3, 2.4, Hex(245, 185, 100), Hex(160, 95, 40), 4);
  cv.Fill(
      Around(c, 2), [&](Vec2 p) { return SdCircle(p, c, 1.0); }, Solid(Hex(10, 22, 12)));
}

void SilkRing(Canvas& cv, Vec2 c, double r, double width = 0.9) {
  cv.Fill(
      Around(c, r + width), [&](Vec2 p) { return std::abs(Length(p - c) - r) - width / 2; },
      Solid(kSilk));
}

void SilkRect(Canvas& cv, Vec2 c, Vec2 half, double width = 0.9) {
  cv.Fill(
      {c.x - half.x - 2, c.y - half.y - 2, c.x + half.x + 2, c.y + half.y + 2},
      [&](Vec2 p) { return std::abs(SdBox(p, c, half, 1)) - width / 2; }, Solid(kSilk));
}

void Shadow(Canvas& cv, Vec2 c, Vec2 half, double corner) {
  Vec2 s = c + Vec2{1.6, 1.8};
  cv.Paint({s.x - half.x - 4, s.y - half.y - 4, s.x + half.x + 4, s.y + half.y + 4}, [&](Vec2 p) {
    double d = SdBox(p, s, half, corner);
    return Rgba{0, 0, 0, static_cast<float>(0.5 * (1 - SmoothStep(-1.0, 2.2, d)))};
  });
}

void Pin(Canvas& cv, Vec2 c, Vec2 half) {
  cv.Fill(
      {c.x - half.x - 1, c.y - half.y - 1, c.x + half.x + 1, c.y + half.y + 1},
      [&](Vec2 p) { return SdBox(p, c, half, 0.3); },
      [&](Vec2 p) {
        double t = half.x < half.y ? (p.x - c.x) / half.x : (p.y - c.y) / half.y;
        return Mix(Hex(235, 238, 240), Hex(120, 124, 130), Clamp01(0.5 + 0.5 * t));
      });
}

enum Sides { kTopBottom = 1, kLeftRight = 2, kAllSides = 3 };

// A black chip; pins every `pitch` pixels, reaching `reach` past the body.
void Chip(Canvas& cv, Box body, int sides, double pitch = 5, double reach = 4) {
  Vec2 c{(body.x0 + body.x1) / 2, (body.y0 + body.y1) / 2};
  Vec2 half{(body.x1 - body.x0) / 2, (body.y1 - body.y0) / 2};
  SilkRect(cv, c, half + Vec2{reach + 2.5, reach + 2.5});
  Shadow(cv, c, half + Vec2{reach * 0.6, reach * 0.6}, 1);
  if (sides & kTopBottom) {
    int n = static_cast<int>((2 * half.x - 4) / pitch) + 1;
    double x0 = c.x - (n - 1) * pitch / 2;
    for (int i = 0; i < n; ++i) {
      Pin(cv, {x0 + i * pitch, body.y0 - reach / 2 + 0.5}, {0.9, reach / 2 + 0.5});
      Pin(cv, {x0 + i * pitch, body.y1 + reach / 2 - 0.5}, {0.9, reach / 2 + 0.5});
    }
  }
  if (sides & kLeftRight) {
    int n = static_cast<int>((2 * half.y - 4) / pitch) + 1;
    double y0 = c.y - (n - 1) * pitch / 2;
    for (int i = 0; i < n; ++i) {
      Pin(cv, {body.x0 - reach / 2 + 0.5, y0 + i * pitch}, {reach / 2 + 0.5, 0.9});
      Pin(cv, {body.x1 + reach / 2 - 0.5, y0 + i * pitch}, {reach / 2 + 0.5, 0.9});
    }
  }
  cv.Fill(
      {body.x0 - 1, body.y0 - 1, body.x1 + 1, body.y1 + 1},
      [&](Vec2 p) { return SdBox(p, c, half, 1.2); },
      [&](Vec2 p) {
        double edge = -SdBox(p, c, half, 1.2);
        double t = Clamp01((p.x - body.x0 + p.y - body.y0) / (2 * half.x + 2 * half.y));
        Rgba col = Mix(Hex(44, 46, 52), Hex(14, 14, 17), t);
        if (edge < 1.4)
          col = Mix(col, p.x - c.x + p.y - c.y < 0 ? Hex(90, 92, 100) : Hex(4, 4, 6), 0.6);
        return col;
      });
  // Pin-one dimple.
  Vec2 dimple = {body.x0 + 4, body.y0 + 4};
  cv.Fill(
      Around(dimple, 2), [&](Vec2 p) { return SdCircle(p, dimple, 1.5); }, Solid(Hex(6, 6, 8)));
}

Rgba BandColour(int band) {
  static const Rgba kBands[] = {Hex(20, 20, 20),   Hex(120, 60, 20),  Hex(210, 30, 25),
                                Hex(245, 130, 20), Hex(250, 220, 40), Hex(40, 160, 60),
                                Hex(40, 80, 220),  Hex(150, 60, 190), Hex(205, 175, 70)};
  return kBands[band];
}

// An axial resistor lying on the board, leads soldered to two copper pads.
void Resistor(Canvas& cv, Vec2 c, bool vertical, std::array<int, 4> bands) {
  auto along = [&](Vec2 p) { return vertical ? p.y - c.y : p.x - c.x; };
  auto across = [&](Vec2 p) { return vertical ? p.x - c.x : p.y - c.y; };
  Vec2 axis = vertical ? Vec2{0, 1} : Vec2{1, 0};
  Vec2 a = c - axis * 12, b = c + axis * 12;
  for (Vec2 pad : {a, b}) ShadedDisc(cv, pad, 3, 2.4, Hex(230, 232, 236), Hex(140, 144, 150), 4);
  cv.Fill(
      Bounds({a, b}, 2), [&](Vec2 p) { return SdSegment(p, a, b, 0.6); },
      Solid(Hex(180, 184, 190)));
  Vec2 half = vertical ? Vec2{3.0, 7.5} : Vec2{7.5, 3.0};
  Shadow(cv, c, half, 2.5);
  cv.Fill(
      Bounds({c - half, c + half}, 1),
      [&](Vec2 p) {
        double bulge = std::abs(along(p)) > 4.5 ? 0.0 : 0.5;  // the end caps are fatter
        Vec2 h2 = vertical ? Vec2{half.x - bulge, half.y} : Vec2{half.x, half.y - bulge};
        return SdBox(p, c, h2, 2.4 - bulge);
      },
      [&](Vec2 p) {
        double t = across(p) / 3.0;  // -1 .. 1 across the body
        double u = along(p);
        Rgba col = Hex(222, 196, 142);
        const double kBandAt[4] = {-4.6, -2.4, -0.2, 4.2};
        for (int i = 0; i < 4; ++i)
          if (std::abs(u - kBandAt[i]) < 0.85) col = BandColour(bands[i]);
        double light = 0.75 + 0.45 * std::exp(-std::pow(t + 0.35, 2) * 3) - 0.25 * t * t;
        return Scale(col, light);
      });
}

// A small red light, lit, with a soft glow spilling onto the board.
void Led(Canvas& cv, Vec2 c) {
  cv.Fill(
      Around(c, 6),
      [&](Vec2 p) {
        double ring = std::abs(Length(p - c) - 5.2) - 0.45;
        return std::max(ring, p.x - c.x - 3.6);  // flat side marks the cathode
      },
      Solid(kSilk));
  cv.Fill(
      Around(c, 6),
      [&](Vec2 p) {
        return SdSegment(p, c + Vec2{3.6, -3.8}, c + Vec2{3.6, 3.8}, 0.45);
      },
      Solid(kSilk));
  cv.Paint(Around(c, 11), [&](Vec2 p) {
    double d = Length(p - c) - 3.2;
    if (d < 0) return Rgba{0, 0, 0, 0};
    return WithAlpha(Hex(255, 40, 20), 0.55 * std::exp(-d / 2.2));
  });
  BallLook look;
  look.base = Hex(240, 26, 18);
  look.glow = 0.6;
  look.spot = 0.3;
  cv.Fill(
      Around(c, 4), [&](Vec2 p) { return SdCircle(p, c, 3.2); },
      [&](Vec2 p) { return GlossyBall(p, c, 3.2, look); });
}

// An electrolytic capacitor seen from the top: an aluminium can with a scored vent.
void Capacitor(Canvas& cv, Vec2 c, double r) {
  SilkRing(cv, c, r + 2);
  cv.Fill(
      Around(c, r + 3),
      [&](Vec2 p) {
        return std::max(SdCircle(p, c, r + 2.5), -SdCircle(p, c, r + 0.5)) + (p.x < c.x ? 0 : 10);
      },
      Solid(kSilk));
  Shadow(cv, c, {r * 0.8, r * 0.8}, r * 0.8);
  cv.Fill(
      Around(c, r), [&](Vec2 p) { return SdCircle(p, c, r); },
      [&](Vec2 p) {
        Vec2 q = p - c;
        double t = Clamp01(0.5 + (q.x + q.y) / (4 * r));
        Rgba col = Mix(Hex(210, 218, 228), Hex(110, 118, 132), t);
        double rim = Length(q) / r;
        if (rim > 0.82) col = Scale(col, 0.75);
        double score = std::min(std::abs(q.x), std::abs(q.y));
        if (score < 0.5 && rim < 0.7) col = Scale(col, 0.6);
        return col;
      });
}

// A small surface-mount capacitor: tan body with tinned ends.
void SmdPart(Canvas& cv, Vec2 c, bool vertical) {
  Vec2 half = vertical ? Vec2{1.9, 3.6} : Vec2{3.6, 1.9};
  cv.Fill(
      Around(c, 5), [&](Vec2 p) { return SdBox(p, c, half, 0.5); },
      [&](Vec2 p) {
        double u = vertical ? p.y - c.y : p.x - c.x;
        if (std::abs(u) > 2.2)
          return Mix(Hex(235, 236, 240), Hex(150, 152, 158), Clamp01((p.y - c.y + 2) / 4));
        return Hex(196, 150, 96);
      });
}

// A board-mounting hole with its plated ring.
void MountingHole(Canvas& cv, Vec2 c) {
  ShadedDisc(cv, c, 7, 5.4, Hex(250, 200, 110), Hex(170, 110, 50), 10);
  ShadedDisc(cv, c, 4, 3.2, Hex(2, 4, 3), Hex(20, 30, 24), 6);
}

// A big gold fingertip pad with fine concentric electrodes.
void FingerPad(Canvas& cv, const Circle& pad) {
  const Vec2 c = pad.centre;
  const double r = pad.radius;
  SilkRing(cv, c, r + 6, 1.0);
  // Bare board shows in the gap cut in the mask around the pad.
  cv.Fill(
      Around(c, r + 4), [&](Vec2 p) { return SdCircle(p, c, r + 3.5); }, Solid(Hex(120, 110, 60)));
  cv.Fill(
      Around(c, r + 3), [&](Vec2 p) { return SdCircle(p, c, r + 1.4); }, Solid(Hex(110, 70, 20)));
  cv.Fill(
      Around(c, r + 1), [&](Vec2 p) { return SdCircle(p, c, r); },
      [&](Vec2 p) {
        Vec2 q = (p - c) * (1 / r);
        double d = Length(q);
        double lit = Clamp01(0.55 - 0.5 * (q.x * 0.6 + q.y * 0.8));
        Rgba col = Mix(Hex(214, 150, 10), Hex(255, 226, 70), lit);
        // Concentric electrodes, a little darker between the rings.
        double ring = std::cos(d * r * 2 * std::numbers::pi / 4.5);
        col = Scale(col, 0.93 + 0.07 * ring);
        col = Scale(col, 1 - 0.25 * SmoothStep(0.86, 1.0, d));
        double shine = std::exp(-(std::pow(q.x + 0.35, 2) + std::pow(q.y + 0.42, 2)) / 0.05);
        col = Mix(col, Hex(255, 252, 225), 0.75 * shine);
        return col;
      });
  cv.Fill(
      Around(c, 5), [&](Vec2 p) { return SdCircle(p, c, 2.2); }, Solid(Hex(180, 120, 10)));
}

// The black socket each sensor dot sits in; the dot itself is drawn over it by the dialog.
void DotSocket(Canvas& cv, Vec2 c) {
  const double h = 7;
  cv.Fill(
      {c.x - 11, c.y - 11, c.x + 11, c.y + 11},
      [&](Vec2 p) {
        double outline = std::abs(SdBox(p, c, {h + 2.5, h + 2.5}, 0)) - 0.45;
        // Only the corners of the outline are printed.
        double middle = 4.5 - std::min(std::abs(p.x - c.x), std::abs(p.y - c.y));
        return std::max(outline, middle);
      },
      Solid(kSilk));
  Shadow(cv, c, {h, h}, 1);
  cv.Fill(
      {c.x - h - 1, c.y - h - 1, c.x + h + 1, c.y + h + 1},
      [&](Vec2 p) {
        return SdBox(p, c, {h, h}, 1);
      },
      [&](Vec2 p) {
        double edge = -SdBox(p, c, {h, h}, 1);
        if (edge < 1.1) return (p.x - c.x) + (p.y - c.y) < 0 ? Hex(96, 98, 106) : Hex(8, 8, 10);
        return Hex(22, 22, 26);
      });
}

}  // namespace

std::array<Circle, 4> FingerPads() {
  return {{{{62, 168}, kPadRadius},
           {{138, 124}, kPadRadius},
           {{227, 92}, kPadRadius},
           {{296, 140}, kPadRadius}}};
}

Canvas DrawCircuitBoard(double ratio) {
  const int kScale = 3;
  Canvas cv(kBoardWidth, kBoardHeight, kScale, kMask, ratio);
  const Box all{0, 0, kBoardWidth, kBoardHeight};

  // Solder mask over glass-fibre board: a faint woven texture and darker edges.
  cv.Paint(all, [](Vec2 p) {
    double weave = 0.5 * std::sin(p.x * 1.9) * std::sin(p.y * 1.9);
    double blotch = ValueNoise(p.x / 23, p.y / 23, 5) - 0.5;
    double grain = Hash(static_cast<int>(p.x * 2), static_cast<int>(p.y * 2), 9) - 0.5;
    double edge = std::min({p.x, p.y, kBoardWidth - p.x, kBoardHeight - p.y});
    double k = 1 + 0.05 * weave + 0.16 * blotch + 0.05 * grain;
    k *= 0.72 + 0.28 * SmoothStep(0, 5, edge);
    return Scale(kMask, k);
  });

  for (const Path& p : std::vector<Path>{
           {{8, 120}, {60, 120}, {80, 100}, {80, 50}},
           {{100, 96}, {112, 84}, {160, 84}},
           {{200, 60}, {260, 60}, {276, 76}, {276, 110}},
           {{150, 196}, {150, 228}},
           {{340, 120}, {340, 180}},
           {{240, 120}, {260, 140}, {260, 150}},
           {{6, 36}, {6, 150}, {30, 174}, {30, 230}},
           {{200, 228}, {330, 228}},
       })
    BuriedTrace(cv, p);

  const std::vector<Path> traces = {
      // Little-finger pad: to the board edge light, the left socket, a resistor, the ring pad.
      {{60, 170}, {60, 205}, {78, 205}},
      {{102, 205}, {115, 205}, {128, 192}, {128, 179}},
      {{50, 160}, {24, 134}, {24, 99}},
      {{70, 160}, {100, 130}, {120, 130}},
      {{26, 200}, {44, 182}},
      // Ring-finger pad to the big chip's left pins.
      {{180, 159}, {170, 159}, {150, 139}},
      {{180, 164}, {168, 164}, {146, 142}},
      {{180, 169}, {166, 169}, {142, 145}},
      // Middle-finger pad: a bus down into the big chip.
      {{219, 146}, {219, 110}},
      {{224, 146}, {224, 110}},
      {{229, 146}, {229, 110}},
      {{204, 146}, {204, 128}, {216, 116}},
      // Index pad to the chip's right pins and down to the small chip.
      {{244, 164}, {256, 164}, {276, 144}},
      {{244, 169}, {259, 169}, {279, 149}},
      {{300, 150}, {300, 195}, {306, 195}},
      {{292, 150}, {292, 200}, {306, 200}},
      {{306, 210}, {284, 210}},
      {{312, 152}, {320, 160}, {334, 160}},
      // Under the big chip.
      {{194, 192}, {194, 202}, {186, 210}, {177, 210}},
      {{229, 192}, {229, 206}, {235, 212}, {244, 212}},
      {{214, 192}, {214, 222}, {262, 222}, {270, 214}},
      {{30, 222}, {140, 222}, {150, 212}, {153, 210}},
      {{262, 202}, {262, 214}},
      // Top-left chips and sockets.
      {{24, 91}, {24, 76}},
      {{46, 38}, {46, 46}, {66, 46}, {66, 55}},
      {{52, 38}, {52, 42}, {72, 42}, {72, 55}},
      {{86, 28}, {96, 28}},
      {{128, 73}, {112, 73}, {100, 85}, {84, 85}, {84, 80}},
      {{128, 68}, {128, 54}, {136, 46}, {160, 46}, {160, 42}},
      {{96, 98}, {96, 90}, {104, 90}},
      // Top edge: the upper chip to the right-hand sockets and lights.
      {{178, 18}, {178, 10}, {252, 10}, {270, 28}, {276, 28}},
      {{284, 29}, {334, 29}},
      {{276, 37}, {276, 50}, {286, 60}, {288, 60}},
      {{312, 60}, {329, 60}},
      {{327, 107}, {327, 120}, {316, 131}},
      {{327, 91}, {338, 80}, {338, 75}},
      {{179, 104}, {206, 104}},
      {{179, 104}, {164, 119}, {156, 119}},
      {{180, 44}, {180, 56}},
      {{180, 68}, {180, 96}},
      {{240, 36}, {240, 50}},
      {{154, 44}, {154, 52}, {146, 60}, {146, 66}},
  };
  for (const Path& t : traces) Trace(cv, t);
  for (Vec2 v : std::vector<Vec2>{{240, 50},
                                  {30, 222},
                                  {104, 90},
                                  {146, 66},
                                  {262, 214},
                                  {160, 84},
                                  {276, 110},
                                  {80, 50},
                                  {8, 120},
                                  {340, 120},
                                  {340, 180},
                                  {150, 228},
                                  {112, 184},
                                  {118, 184},
                                  {318, 76},
                                  {200, 60}})
    Via(cv, v);

  for (Vec2 h : {Vec2{9, 9}, Vec2{345, 9}, Vec2{9, 223}, Vec2{345, 223}}) MountingHole(cv, h);
  // Fiducial marks for the pick-and-place machine.
  for (Vec2 f : {Vec2{120, 9}, Vec2{296, 225}}) {
    SilkRing(cv, f, 3.6, 0.7);
    cv.Fill(
        Around(f, 2), [&](Vec2 p) { return SdCircle(p, f, 1.4); }, Solid(Hex(245, 200, 120)));
  }

  for (const Circle& pad : FingerPads()) FingerPad(cv, pad);

  Chip(cv, {184, 150, 240, 188}, kAllSides);  // the scanner's main processor
  Chip(cv, {18, 16, 60, 34}, kTopBottom, 6);
  Chip(cv, {150, 20, 196, 40}, kTopBottom, 6);
  Chip(cv, {56, 58, 92, 78}, kTopBottom, 6);
  Chip(cv, {310, 186, 342, 214}, kLeftRight, 5);

  Resistor(cv, {90, 205}, false, {1, 0, 2, 8});
  Resistor(cv, {165, 210}, false, {4, 7, 1, 8});
  Resistor(cv, {262, 190}, true, {2, 2, 3, 8});
  Resistor(cv, {300, 60}, false, {1, 5, 2, 8});
  Resistor(cv, {96, 110}, true, {3, 3, 0, 8});

  Capacitor(cv, {338, 66}, 8.5);
  Capacitor(cv, {24, 67}, 8.5);
  for (auto [c, v] : std::vector<std::pair<Vec2, bool>>{{{110, 152}, false},
                                                        {{160, 76}, true},
                                                        {{262, 118}, true},
                                                        {{48, 213}, false},
                                                        {{140, 200}, true},
                                                        {{116, 102}, true},
                                                        {{200, 132}, false},
                                                        {{318, 84}, false}})
    SmdPart(cv, c, v);

  for (Vec2 l : {Vec2{102, 28}, Vec2{240, 30}, Vec2{340, 30}, Vec2{20, 200}, Vec2{250, 212},
                 Vec2{338, 160}, Vec2{180, 62}})
    Led(cv, l);

  for (size_t i = 0; i < kSensorDotCorners.size(); ++i) DotSocket(cv, DotCentre(i));
  return cv.Downsample();
}

}  // namespace artgen
