// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/BmpImage.h"

#include <algorithm>
#include <array>
#include <bit>

namespace {

constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kOpaque = 0xFF000000u;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t Argb(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 0xFF) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// One colour channel of a 16- or 32-bit pixel.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  uint32_t Expand(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    uint32_t max = (1u << bits) - 1;
    return (v * 255 + max / 2) / max;  // 5 bits: 31 -> 255, 0 -> 0
  }
};

// A mask must be one run of set bits inside the pixel; an empty mask means "channel absent".
std::optional<Channel> MakeChannel(uint32_t mask, int bpp) {
  Channel c;
  if (mask == 0) return c;
  if (bpp < 32 && (mask >> bpp) != 0) return std::nullopt;
  c.mask = mask;
  c.shift = std::countr_zero(mask);
  uint32_t run = mask >> c.shift;
  if ((run & (run + 1)) != 0) return std::nullopt;
  c.bits = std::popcount(mask);
  return c;
}

struct Header {
  int64_t width = 0;
  int64_t height = 0;
  bool topDown = false;
  bool core = false;  // OS/2 header: 3-byte palette entries
  int bpp = 0;
  uint32_t compression = kBiRgb;
  uint32_t offBits = 0;
  uint32_t clrUsed = 0;
  uint32_t sizeImage = 0;
  uint64_t headerEnd = 0;  // first byte after the info header and any colour masks
  Channel red, green, blue, alpha;
};

bool DepthAndCompressionAgree(int bpp, uint32_t compression) {
  switch (bpp) {
    case 1:
      return compression == kBiRgb;
    case 4:
      return compression == kBiRgb || compression == kBiRle4;
    case 8:
      return compression == kBiRgb || compression == kBiRle8;
    case 16:
    case 32:
      return compression == kBiRgb || compression == kBiBitfields;
    case 24:
      return compression == kBiRgb;
    default:
      return false;
  }
}

std::optional<Header> ParseHeader(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kFileHeaderSize + 4) return std::nullopt;
  if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
  Header h;
  h.offBits = Le32(data + 10);
  const uint32_t infoSize = Le32(data + 14);
  const uint8_t* info = data + kFileHeaderSize;
  int planes = 0;
  if (infoSize == 12) {
    if (size < kFileHeaderSize + 12) return std::nullopt;
    h.core = true;
    h.width = Le16(info + 4);
    h.height = Le16(info + 6);
    planes = Le16(info + 8);
    h.bpp = Le16(info + 10);
    if (h.bpp == 16 || h.bpp == 32) return std::nullopt;  // the core header knows no such depth
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 ||
             infoSize == 124) {
    if (size < kFileHeaderSize + infoSize) return std::nullopt;
    h.width = static_cast<int32_t>(Le32(info + 4));
    h.height = static_cast<int32_t>(Le32(info + 8));
    if (h.height < 0) {
      h.topDown = true;
      h.height = -h.height;  // 64-bit, so INT32_MIN is harmless
    }
    planes = Le16(info + 12);
    h.bpp = Le16(info + 14);
    h.compression = Le32(info + 16);
    h.sizeImage = Le32(info + 20);
    h.clrUsed = Le32(info + 32);
  } else {
    return std::nullopt;
  }
  h.headerEnd = kFileHeaderSize + infoSize;

  if (planes != 1) return std::nullopt;
  if (h.width < 1 || h.width > kMaxSide || h.height < 1 || h.height > kMaxSide) {
    return std::nullopt;
  }
  if (h.width * h.height > kMaxPixels) return std::nullopt;
  if (!DepthAndCompressionAgree(h.bpp, h.compression)) return std::nullopt;
  if (h.topDown && (h.compression == kBiRle4 || h.compression == kBiRle8)) return std::nullopt;

  uint32_t r = 0, g = 0, b = 0, a = 0;
  if (h.compression == kBiBitfields) {
    // With the 40-byte header the three masks follow it; the larger headers hold them at the
    // same place. Only headers of 56 bytes and up carry an alpha mask.
    const uint64_t masksEnd = kFileHeaderSize + 52;
    if (size < masksEnd) return std::nullopt;
    r = Le32(data + 54);
    g = Le32(data + 58);
    b = Le32(data + 62);
    if (infoSize >= 56) a = Le32(data + 66);
    h.headerEnd = std::max<uint64_t>(h.headerEnd, masksEnd);
    if ((r | g | b) == 0) return std::nullopt;
    if ((r & g) || (r & b) || (g & b) || ((r | g | b) & a)) return std::nullopt;
  } else if (h.bpp == 16) {
    r = 0x7C00, g = 0x03E0, b = 0x001F;
  } else if (h.bpp == 32) {
    r = 0x00FF0000, g = 0x0000FF00, b = 0x000000FF;
  }
  if (h.bpp == 16 || h.bpp == 32) {
    auto cr = MakeChannel(r, h.bpp), cg = MakeChannel(g, h.bpp), cb = MakeChannel(b, h.bpp),
         ca = MakeChannel(a, h.bpp);
    if (!cr || !cg || !cb || !ca) return std::nullopt;
    h.red = *cr, h.green = *cg, h.blue = *cb, h.alpha = *ca;
  }
  return h;
}

BmpImage Shell(const Header& h) {
  BmpImage img;
  img.width = static_cast<int>(h.width);
  img.height = static_cast<int>(h.height);
  img.bitsPerPixel = h.bpp;
  return img;
}

using Palette = std::array<uint32_t, 256>;

// Reads the palette between the header and the pixel data. Entries the file does not hold
// stay black.
Palette ReadPalette(const Header& h, const uint8_t* data) {
  Palette pal;
  pal.fill(kOpaque);
  const uint64_t entrySize = h.core ? 3 : 4;
  const uint64_t full = uint64_t{1} << h.bpp;
  const uint64_t declared = (h.clrUsed == 0 || h.clrUsed > full) ? full : h.clrUsed;
  const uint64_t room = (h.offBits - h.headerEnd) / entrySize;  // caller ensured offBits >= end
  const uint64_t count = std::min(declared, room);
  for (uint64_t i = 0; i < count; ++i) {
    const uint8_t* e = data + h.headerEnd + i * entrySize;
    pal[i] = Argb(e[2], e[1], e[0]);
  }
  return pal;
}

uint32_t FromMasks(const Header& h, uint32_t px) {
  uint32_t a = h.alpha.bits ? h.alpha.Expand(px) : 0xFF;
  return Argb(h.red.Expand(px), h.green.Expand(px), h.blue.Expand(px), a);
}

void DecodeRow(const Header& h, const Palette& pal, const uint8_t* src, uint32_t* dst) {
  const int64_t w = h.width;
  switch (h.bpp) {
    case 1:
      for (int64_t x = 0; x < w; ++x) dst[x] = pal[(src[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int64_t x = 0; x < w; ++x) {
        uint8_t byte = src[x >> 1];
        dst[x] = pal[(x & 1) ? (byte & 0x0F) : (byte >> 4)];
      }
      break;
    case 8:
      for (int64_t x = 0; x < w; ++x) dst[x] = pal[src[x]];
      break;
    case 16:
      for (int64_t x = 0; x < w; ++x) dst[x] = FromMasks(h, Le16(src + 2 * x));
      break;
    case 24:
      for (int64_t x = 0; x < w; ++x) {
        const uint8_t* p = src + 3 * x;
        dst[x] = Argb(p[2], p[1], p[0]);
      }
      break;
    case 32:
      for (int64_t x = 0; x < w; ++x) dst[x] = FromMasks(h, Le32(src + 4 * x));
      break;
  }
}

}  // namespace

RleEnd DecodeRle(const uint8_t* data, size_t size, int bitsPerIndex, int width, int height,
                 uint8_t* canvas) {
  if (width <= 0 || height <= 0 || (bitsPerIndex != 4 && bitsPerIndex != 8)) {
    return RleEnd::Complete;
  }
  if (data == nullptr) size = 0;
  const int64_t w = width, h = height;
  const bool four = bitsPerIndex == 4;
  size_t pos = 0;
  int64_t x = 0;  // never more than w
  int64_t y = 0;  // rows counted from the bottom, as the data runs
  auto row = [&]() { return canvas + static_cast<size_t>((h - 1 - y) * w); };

  while (y < h) {
    if (size - pos < 2) return RleEnd::OutOfData;
    const uint8_t count = data[pos];
    const uint8_t value = data[pos + 1];
    pos += 2;
    if (count > 0) {  // a run of one index (RLE4: two alternating indices)
      const int64_t n = std::min<int64_t>(count, w - x);
      uint8_t* out = row() + x;
      for (int64_t i = 0; i < n; ++i) {
        out[i] = four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value;
      }
      x += n;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return RleEnd::Complete;
      case 2: {  // move right and up
        if (size - pos < 2) return RleEnd::OutOfData;
        x = std::min<int64_t>(x + data[pos], w);
        y += data[pos + 1];
        pos += 2;
        break;
      }
      default: {  // `value` literal indices, padded to a 16-bit boundary
        const size_t bytes = four ? (value + 1u) / 2 : value;
        if (size - pos < bytes) return RleEnd::OutOfData;
        const uint8_t* src = data + pos;
        const int64_t n = std::min<int64_t>(value, w - x);
        uint8_t* out = row() + x;
        for (int64_t i = 0; i < n; ++i) {
          out[i] = four ? ((i & 1) ? (src[i >> 1] & 0x0F) : (src[i >> 1] >> 4)) : src[i];
        }
        x += n;
        pos += std::min(size - pos, (bytes + 1) & ~size_t{1});
        break;
      }
    }
  }
  return RleEnd::Complete;
}

std::optional<BmpImage> BmpImage::PeekHeader(const uint8_t* data, size_t size) {
  auto h = ParseHeader(data, size);
  if (!h) return std::nullopt;
  return Shell(*h);
}

std::optional<BmpImage> BmpImage::Decode(const uint8_t* data, size_t size) {
  auto parsed = ParseHeader(data, size);
  if (!parsed) return std::nullopt;
  const Header& h = *parsed;
  if (h.offBits < h.headerEnd || h.offBits >= size) return std::nullopt;

  Palette pal{};
  if (h.bpp <= 8) pal = ReadPalette(h, data);

  BmpImage img = Shell(h);
  const uint64_t w = static_cast<uint64_t>(h.width), ht = static_cast<uint64_t>(h.height);
  const uint8_t* pixelData = data + h.offBits;
  const uint64_t available = size - h.offBits;

  if (h.compression == kBiRle4 || h.compression == kBiRle8) {
    uint64_t rleSize = available;
    if (h.sizeImage != 0) rleSize = std::min<uint64_t>(rleSize, h.sizeImage);
    std::vector<uint8_t> canvas(w * ht, 0);
    if (DecodeRle(pixelData, static_cast<size_t>(rleSize), h.bpp, img.width, img.height,
                  canvas.data()) != RleEnd::Complete) {
      return std::nullopt;
    }
    img.pixels.resize(w * ht);
    std::transform(canvas.begin(), canvas.end(), img.pixels.begin(),
                   [&pal](uint8_t i) { return pal[i]; });
    return img;
  }

  const uint64_t rowBytes = (w * h.bpp + 7) / 8;
  const uint64_t stride = (w * h.bpp + 31) / 32 * 4;
  if (available < stride * (ht - 1) + rowBytes) return std::nullopt;
  img.pixels.resize(w * ht);
  for (uint64_t r = 0; r < ht; ++r) {
    const uint64_t outRow = h.topDown ? r : ht - 1 - r;
    DecodeRow(h, pal, pixelData + r * stride, img.pixels.data() + outRow * w);
  }
  return img;
}
