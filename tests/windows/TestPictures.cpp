// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/windows/TestPictures.h"

namespace {
void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
}  // namespace

std::vector<std::uint8_t> TestPictures::SolidBmp(int width, int height, std::uint32_t rgb) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put(out, 54 + stride * height, 4);
  Put(out, 0, 4);
  Put(out, 54, 4);
  Put(out, 40, 4);
  Put(out, width, 4);
  Put(out, height, 4);
  Put(out, 1, 2);
  Put(out, 24, 2);
  Put(out, 0, 4);
  Put(out, stride * height, 4);
  Put(out, 2835, 4);
  Put(out, 2835, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) Put(out, rgb, 3);  // blue, green, red
    for (int pad = width * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

TestPictures::Pixels TestPictures::Read(HBITMAP bitmap) {
  Pixels p;
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return p;
  p.width = info.bmWidth;
  p.height = info.bmHeight;
  BITMAPINFO want{};
  want.bmiHeader.biSize = sizeof want.bmiHeader;
  want.bmiHeader.biWidth = p.width;
  want.bmiHeader.biHeight = -p.height;
  want.bmiHeader.biPlanes = 1;
  want.bmiHeader.biBitCount = 32;
  want.bmiHeader.biCompression = BI_RGB;
  p.rgb.resize(static_cast<size_t>(p.width) * p.height);
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, p.height, p.rgb.data(), &want, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  for (auto& px : p.rgb) px &= 0xFFFFFF;
  return p;
}
