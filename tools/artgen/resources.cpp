// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources.h"

#include <cstdio>

#include "scenes.h"

namespace artgen {

std::vector<IndexedImage> BuildClipFrames(int frames, double ratio) {
  std::vector<Canvas> drawn;
  std::vector<Rgb8> pixels;
  for (int i = 0; i < frames; ++i) {
    drawn.push_back(DrawClipFrame(static_cast<double>(i) / frames, ratio));
    const Canvas& f = drawn.back();
    for (int y = 0; y < f.height(); ++y)
      for (int x = 0; x < f.width(); ++x) pixels.push_back(ToRgb8(f.at(x, y)));
  }
  std::vector<Rgb8> palette = BuildPalette(pixels, 256, {Rgb8{0, 0, 0}});
  std::vector<IndexedImage> out;
  for (const Canvas& f : drawn) out.push_back(MapToPalette(f, palette, 8));
  return out;
}

std::vector<ResourceFile> BuildResources() {
  const Rgb8 black{0, 0, 0}, white{255, 255, 255};
  std::vector<ResourceFile> files;
  files.push_back({"bitmaps/146.bmp", EncodeBmp(Quantize(DrawLamp(false), 4, {black, white}))});
  files.push_back({"bitmaps/147.bmp", EncodeBmp(Quantize(DrawLamp(true), 4, {white}))});
  files.push_back({"bitmaps/168.bmp", EncodeBmp(Quantize(DrawAlienPortrait(), 8))});
  files.push_back({"bitmaps/171.bmp", EncodeBmp(Quantize(DrawCircuitBoard(), 8))});
  const DotColour dots[] = {DotColour::kBlue, DotColour::kGreen, DotColour::kGrey, DotColour::kRed,
                            DotColour::kAmber};
  for (int i = 0; i < 5; ++i) {
    files.push_back({"bitmaps/" + std::to_string(178 + i) + ".bmp",
                     EncodeBmp(Quantize(DrawSensorDot(dots[i]), 4))});
  }
  Canvas icon32 = DrawIcon(32), icon16 = DrawIcon(16);
  files.push_back(
      {"icons/quorblex.ico", EncodeIco({Quantize(icon32, 4, {black}), Quantize(icon16, 4, {black}),
                                        Quantize(icon32, 8, {black})})});
  files.push_back({"qx.avi", EncodeAvi(BuildClipFrames(kClipFrames), kClipFps)});
  return files;
}

std::string RatioSuffix(double ratio) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "@%gx", ratio);
  return buf;
}

std::vector<ResourceFile> BuildScaledResources() {
  const Rgb8 black{0, 0, 0}, white{255, 255, 255};
  const DotColour dots[] = {DotColour::kBlue, DotColour::kGreen, DotColour::kGrey, DotColour::kRed,
                            DotColour::kAmber};
  std::vector<ResourceFile> files;
  for (double ratio : kScaledRatios) {
    const std::string at = RatioSuffix(ratio);
    auto bitmap = [&](int id, const IndexedImage& img) {
      files.push_back({"bitmaps/" + std::to_string(id) + at + ".bmp", EncodeBmp(img)});
    };
    bitmap(146, Quantize(DrawLamp(false, ratio), 4, {black, white}));
    bitmap(147, Quantize(DrawLamp(true, ratio), 4, {white}));
    bitmap(168, Quantize(DrawAlienPortrait(ratio), 8));
    bitmap(171, Quantize(DrawCircuitBoard(ratio), 8));
    for (int i = 0; i < 5; ++i) bitmap(178 + i, Quantize(DrawSensorDot(dots[i], ratio), 4));
    files.push_back({"qx" + at + ".avi", EncodeAvi(BuildClipFrames(kClipFrames, ratio), kClipFps)});
  }
  return files;
}

}  // namespace artgen
