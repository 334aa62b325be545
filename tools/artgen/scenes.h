// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures, each drawn from scratch. Every function returns a scale-1 canvas at
// the picture's final size, ready to be reduced to a palette. `ratio` draws the picture for a
// screen of that device pixel ratio: the same picture, `ratio` times as many pixels each way.
#include <array>

#include "raster.h"

namespace artgen {

// Status lamp of the main window, 20x20: an unlit grey ball or a lit red one.
Canvas DrawLamp(bool lit, double ratio = 1);

enum class DotColour { kBlue, kGreen, kGrey, kRed, kAmber };
// Sensor dot, 10x10: a round coloured dot on a dark square.
Canvas DrawSensorDot(DotColour colour, double ratio = 1);

// About box portrait, 72x91.
Canvas DrawAlienPortrait(double ratio = 1);

// Scanner board behind the sensor dots, 354x232.
inline constexpr int kBoardWidth = 354, kBoardHeight = 232;
inline constexpr int kSensorDotSize = 10;
// Where the dialog puts its sensor dots over the board (top-left corners, board pixels).
inline constexpr std::array<Vec2, 8> kSensorDotCorners{
    {{123, 68}, {271, 24}, {123, 174}, {322, 94}, {19, 94}, {273, 208}, {174, 99}, {73, 23}}};
struct Circle {
  Vec2 centre;
  double radius;
};
// The four fingertip pads, little finger to index finger of a left hand laid on the board.
std::array<Circle, 4> FingerPads();
Canvas DrawCircuitBoard(double ratio = 1);

// Program icon at any size, on a see-through background.
Canvas DrawIcon(int size);

// Scanning-instrument clip, 300x96. `phase` runs from 0 to 1 over one loop; phases 0 and 1
// draw the same picture, so the clip repeats without a jump.
inline constexpr int kClipWidth = 300, kClipHeight = 96;
Canvas DrawClipFrame(double phase, double ratio = 1);

}  // namespace artgen
