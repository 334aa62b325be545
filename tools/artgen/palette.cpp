// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <unordered_map>

namespace artgen {
namespace {

struct Entry {
  int c[3];
  long count;
};

struct Span {
  size_t begin, end;
  long count = 0;
  int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};

  int Axis() const {
    int best = 0;
    for (int k = 1; k < 3; ++k)
      if (hi[k] - lo[k] > hi[best] - lo[best]) best = k;
    return best;
  }
  int Extent() const { return hi[Axis()] - lo[Axis()]; }
};

Span MakeSpan(const std::vector<Entry>& e, size_t begin, size_t end) {
  Span s{begin, end};
  for (size_t i = begin; i < end; ++i) {
    s.count += e[i].count;
    for (int k = 0; k < 3; ++k) {
      s.lo[k] = std::min(s.lo[k], e[i].c[k]);
      s.hi[k] = std::max(s.hi[k], e[i].c[k]);
    }
  }
  return s;
}

Rgb8 ToColour(const Entry& e) {
  return {static_cast<uint8_t>(e.c[0]), static_cast<uint8_t>(e.c[1]), static_cast<uint8_t>(e.c[2])};
}

}  // namespace

int ColourDistance(Rgb8 a, Rgb8 b) {
  int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

uint8_t NearestIndex(const std::vector<Rgb8>& palette, Rgb8 c) {
  size_t best = 0;
  int best_d = ColourDistance(palette[0], c);
  for (size_t i = 1; i < palette.size() && best_d > 0; ++i) {
    int d = ColourDistance(palette[i], c);
    if (d < best_d) {
      best_d = d;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

std::vector<Rgb8> BuildPalette(const std::vector<Rgb8>& pixels, int count,
                               const std::vector<Rgb8>& forced) {
  if (count < static_cast<int>(forced.size()) || count < 1)
    throw std::invalid_argument("palette too small for its fixed colours");

  std::map<uint32_t, long> histogram;
  for (Rgb8 p : pixels) ++histogram[(p.r << 16) | (p.g << 8) | p.b];
  std::vector<Entry> entries;
  for (auto [key, n] : histogram) {
    Rgb8 c{static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8),
           static_cast<uint8_t>(key)};
    if (std::find(forced.begin(), forced.end(), c) != forced.end()) continue;
    entries.push_back({{c.r, c.g, c.b}, n});
  }

  std::vector<Rgb8> palette = forced;
  const size_t free_slots = count - forced.size();
  if (entries.size() <= free_slots) {
    for (const Entry& e : entries) palette.push_back(ToColour(e));
    return palette;
  }

  // Median cut: keep splitting the box that is both wide and busy at its weighted median.
  std::vector<Span> spans{MakeSpan(entries, 0, entries.size())};
  while (spans.size() < free_slots) {
    size_t pick = spans.size();
    double best = -1;
    for (size_t i = 0; i < spans.size(); ++i) {
      if (spans[i].end - spans[i].begin < 2) continue;
      double score = spans[i].Extent() * std::sqrt(static_cast<double>(spans[i].count));
      if (score > best) {
        best = score;
        pick = i;
      }
    }
    if (pick == spans.size()) break;
    Span s = spans[pick];
    int axis = s.Axis();
    std::sort(entries.begin() + s.begin, entries.begin() + s.end,
              [axis](const Entry& a, const Entry& b) { return a.c[axis] < b.c[axis]; });
    long half = s.count / 2, run = 0;
    size_t cut = s.begin + 1;
    for (size_t i = s.begin; i + 1 < s.end; ++i) {
      run += entries[i].count;
      cut = i + 1;
      if (run >= half) break;
    }
    spans[pick] = MakeSpan(entries, s.begin, cut);
    spans.push_back(MakeSpan(entries, cut, s.end));
  }

  const size_t fixed = palette.size();
  for (const Span& s : spans) {
    double sum[3] = {0, 0, 0};
    for (size_t i = s.begin; i < s.end; ++i)
      for (int k = 0; k < 3; ++k) sum[k] += static_cast<double>(entries[i].c[k]) * entries[i].count;
    palette.push_back({static_cast<uint8_t>(std::lround(sum[0] / s.count)),
                       static_cast<uint8_t>(std::lround(sum[1] / s.count)),
                       static_cast<uint8_t>(std::lround(sum[2] / s.count))});
  }

  // A few rounds of k-means polish the boxes' averages; fixed colours stay put.
  for (int round = 0; round < 6; ++round) {
    std::vector<double> acc(palette.size() * 4, 0.0);
    for (const Entry& e : entries) {
      size_t i = NearestIndex(palette, ToColour(e));
      for (int k = 0; k < 3; ++k) acc[i * 4 + k] += static_cast<double>(e.c[k]) * e.count;
      acc[i * 4 + 3] += e.count;
    }
    for (size_t i = fixed; i < palette.size(); ++i) {
      double n = acc[i * 4 + 3];
      if (n <= 0) continue;
      palette[i] = {static_cast<uint8_t>(std::lround(acc[i * 4] / n)),
                    static_cast<uint8_t>(std::lround(acc[i * 4 + 1] / n)),
                    static_cast<uint8_t>(std::lround(acc[i * 4 + 2] / n))};
    }
  }
  return palette;
}

IndexedImage MapToPalette(const Canvas& img, std::vector<Rgb8> palette, int bits) {
  const size_t size = size_t{1} << bits;
  if (palette.empty() || palette.size() > size)
    throw std::invalid_argument("palette does not fit the bit depth");
  IndexedImage out;
  out.width = img.width();
  out.height = img.height();
  size_t darkest = 0;
  for (size_t i = 1; i < palette.size(); ++i) {
    auto lum = [](Rgb8 c) { return c.r * 3 + c.g * 4 + c.b * 2; };
    if (lum(palette[i]) < lum(palette[darkest])) darkest = i;
  }
  std::unordered_map<uint32_t, uint8_t> cache;
  bool any_clear = false;
  out.index.resize(static_cast<size_t>(out.width) * out.height);
  out.opaque.resize(out.index.size(), 1);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      size_t i = static_cast<size_t>(y) * out.width + x;
      const Rgba& p = img.at(x, y);
      if (p.a < 0.5f) {
        out.index[i] = static_cast<uint8_t>(darkest);
        out.opaque[i] = 0;
        any_clear = true;
        continue;
      }
      Rgb8 c = ToRgb8(p);
      uint32_t key = (c.r << 16) | (c.g << 8) | c.b;
      auto it = cache.find(key);
      if (it == cache.end()) it = cache.emplace(key, NearestIndex(palette, c)).first;
      out.index[i] = it->second;
    }
  }
  if (!any_clear) out.opaque.clear();
  palette.resize(size, Rgb8{0, 0, 0});
  out.palette = std::move(palette);
  return out;
}

IndexedImage Quantize(const Canvas& img, int bits, const std::vector<Rgb8>& forced) {
  std::vector<Rgb8> pixels;
  pixels.reserve(static_cast<size_t>(img.width()) * img.height());
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.at(x, y).a >= 0.5f) pixels.push_back(ToRgb8(img.at(x, y)));
  return MapToPalette(img, BuildPalette(pixels, 1 << bits, forced), bits);
}

}  // namespace artgen
