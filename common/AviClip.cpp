#include "common/AviClip.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "common/BmpImage.h"

namespace {

constexpr uint32_t Fcc(const char (&s)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[0])) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[1])) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[2])) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[3])) << 24);
}

constexpr uint32_t kRiff = Fcc("RIFF");
constexpr uint32_t kList = Fcc("LIST");

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;

constexpr int kMaxRecDepth = 8;  // 'rec ' lists inside 'rec ' lists, bounded for the stack
constexpr int64_t kMinMicros = 1000;
constexpr int64_t kMaxMicros = 10'000'000;
constexpr uint32_t kOpaque = 0xFF000000u;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct Chunk {
  uint32_t id = 0;
  uint32_t listType = 0;  // RIFF and LIST only
  uint64_t begin = 0;     // payload (after the list type for RIFF and LIST)
  uint64_t end = 0;
  bool IsList() const { return id == kRiff || id == kList; }
};

// Calls visit(chunk) for each chunk in [begin, end) until it returns false. A RIFF or LIST
// that claims more than is left is cut at `end` (streamed writers leave its size open); any
// other chunk that does not fit ends the walk. Returns false if the walk was cut short, by the
// visitor or by such a chunk.
template <class Visit>
bool ForEachChunk(const uint8_t* d, uint64_t begin, uint64_t end, Visit&& visit) {
  uint64_t pos = begin;
  while (end - pos >= 8) {
    Chunk c;
    c.id = Le32(d + pos);
    const uint64_t size = Le32(d + pos + 4);
    const uint64_t payload = pos + 8;
    if (c.IsList()) {
      if (size >= 4 && end - payload >= 4) {
        c.listType = Le32(d + payload);
        c.begin = payload + 4;
        c.end = std::min(payload + size, end);
        if (!visit(c)) return false;
      }
    } else {
      if (size > end - payload) return false;
      c.begin = payload;
      c.end = payload + size;
      if (!visit(c)) return false;
    }
    pos = std::min(payload + size + (size & 1), end);
  }
  return true;
}

enum class Kind { Pal8, Rle8, Rgb24, Rgb32 };

using Palette = std::array<uint32_t, 256>;

struct VideoFormat {
  Kind kind = Kind::Pal8;
  int width = 0;
  int height = 0;
  bool topDown = false;
  Palette palette{};
};

// The strf of a video stream: a BITMAPINFOHEADER and, for 8-bit frames, the palette after it.
std::optional<VideoFormat> ParseFormat(const uint8_t* p, uint64_t n) {
  if (n < 40) return std::nullopt;
  const uint32_t headerSize = Le32(p);
  if (headerSize < 40) return std::nullopt;
  const int64_t width = static_cast<int32_t>(Le32(p + 4));
  int64_t height = static_cast<int32_t>(Le32(p + 8));
  const int bpp = Le16(p + 14);
  const uint32_t compression = Le32(p + 16);
  const uint32_t clrUsed = Le32(p + 32);

  VideoFormat f;
  if (height < 0) {
    f.topDown = true;
    height = -height;
  }
  if (width < 1 || width > AviClip::kMaxSide || height < 1 || height > AviClip::kMaxSide) {
    return std::nullopt;
  }
  f.width = static_cast<int>(width);
  f.height = static_cast<int>(height);

  const bool raw = compression == kBiRgb || compression == Fcc("DIB ") ||
                   compression == Fcc("RGB ") || compression == Fcc("RAW ");
  const bool rle = compression == kBiRle8 || compression == Fcc("mrle") ||
                   compression == Fcc("RLE ") || compression == Fcc("RLE8");
  if (raw && bpp == 8) {
    f.kind = Kind::Pal8;
  } else if (raw && bpp == 24) {
    f.kind = Kind::Rgb24;
  } else if (raw && bpp == 32) {
    f.kind = Kind::Rgb32;
  } else if (rle && bpp == 8 && !f.topDown) {
    f.kind = Kind::Rle8;
  } else {
    return std::nullopt;
  }

  f.palette.fill(kOpaque);
  if (bpp == 8 && headerSize < n) {
    const uint64_t declared = (clrUsed == 0 || clrUsed > 256) ? 256 : clrUsed;
    const uint64_t count = std::min<uint64_t>(declared, (n - headerSize) / 4);
    for (uint64_t i = 0; i < count; ++i) {
      const uint8_t* e = p + headerSize + 4 * i;
      f.palette[i] = kOpaque | (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
    }
  }
  return f;
}

struct Header {
  VideoFormat format;
  char streamId[2] = {'0', '0'};
  uint32_t mainMicros = 0;
  uint32_t scale = 0;
  uint32_t rate = 0;
};

// Reads LIST 'hdrl': the main header and the first video stream we can decode.
std::optional<Header> ParseHeaderList(const uint8_t* d, const Chunk& hdrl) {
  Header h;
  bool haveVideo = false;
  int streamIndex = 0;
  ForEachChunk(d, hdrl.begin, hdrl.end, [&](const Chunk& c) {
    if (c.id == Fcc("avih") && c.end - c.begin >= 4) {
      h.mainMicros = Le32(d + c.begin);
    } else if (c.id == kList && c.listType == Fcc("strl")) {
      const int index = streamIndex++;
      if (haveVideo || index > 99) return true;
      const uint8_t* strh = nullptr;
      uint64_t strhSize = 0;
      std::optional<VideoFormat> format;
      ForEachChunk(d, c.begin, c.end, [&](const Chunk& s) {
        if (s.id == Fcc("strh") && !strh) {
          strh = d + s.begin;
          strhSize = s.end - s.begin;
        } else if (s.id == Fcc("strf") && !format) {
          format = ParseFormat(d + s.begin, s.end - s.begin);
        }
        return true;
      });
      if (!strh || strhSize < 4 || Le32(strh) != Fcc("vids") || !format) return true;
      haveVideo = true;
      h.format = *format;
      h.streamId[0] = static_cast<char>('0' + index / 10);
      h.streamId[1] = static_cast<char>('0' + index % 10);
      if (strhSize >= 28) {
        h.scale = Le32(strh + 20);
        h.rate = Le32(strh + 24);
      }
    }
    return true;
  });
  if (!haveVideo) return std::nullopt;
  return h;
}

int64_t FrameMicros(const Header& h) {
  int64_t us = h.mainMicros;
  if (us == 0 && h.scale != 0 && h.rate != 0) {
    us = (int64_t{h.scale} * 1'000'000 + h.rate / 2) / h.rate;
  }
  return std::clamp(us, kMinMicros, kMaxMicros);
}

using Picture = std::shared_ptr<const std::vector<uint32_t>>;

// Turns the stream's chunks into frames, keeping the index picture RLE deltas draw on.
class FrameBuilder {
 public:
  explicit FrameBuilder(const Header& h)
      : f_(h.format),
        pixelCount_(static_cast<size_t>(f_.width) * static_cast<size_t>(f_.height)),
        pictureBytes_(pixelCount_ * sizeof(uint32_t)) {
    if (f_.kind == Kind::Pal8 || f_.kind == Kind::Rle8) canvas_.assign(pixelCount_, 0);
  }

  // False once no more frames may be added.
  bool AddFrame(const uint8_t* p, uint64_t n) {
    if (frames_.size() >= static_cast<size_t>(AviClip::kMaxFrames)) return false;
    if (decodedBytes_ + pictureBytes_ > AviClip::kMaxDecodedBytes) return false;
    Picture pic = n == 0 ? nullptr : Decode(p, n);
    if (pic) {
      decodedBytes_ += pictureBytes_;
      last_ = std::move(pic);
    }
    if (last_) frames_.push_back(last_);
    return true;
  }

  // AVIPALCHANGE: first entry, entry count (0 means 256), flags, then R, G, B, flags entries.
  void ChangePalette(const uint8_t* p, uint64_t n) {
    if (n < 4) return;
    const uint64_t first = p[0];
    const uint64_t count = p[1] == 0 ? 256 : p[1];
    const uint64_t fit = std::min({count, 256 - first, (n - 4) / 4});
    for (uint64_t i = 0; i < fit; ++i) {
      const uint8_t* e = p + 4 + 4 * i;
      f_.palette[first + i] = kOpaque | (uint32_t{e[0]} << 16) | (uint32_t{e[1]} << 8) | e[2];
    }
  }

  std::vector<Picture> Take() { return std::move(frames_); }

 private:
  Picture Decode(const uint8_t* p, uint64_t n) {
    const uint64_t w = static_cast<uint64_t>(f_.width);
    const uint64_t h = static_cast<uint64_t>(f_.height);
    if (f_.kind == Kind::Rle8) {
      // A frame cut short still draws what it holds.
      DecodeRle(p, static_cast<size_t>(n), 8, f_.width, f_.height, canvas_.data());
      return FromCanvas();
    }
    const uint64_t bytesPerPixel = f_.kind == Kind::Pal8 ? 1 : f_.kind == Kind::Rgb24 ? 3 : 4;
    const uint64_t rowBytes = w * bytesPerPixel;
    const uint64_t stride = (rowBytes + 3) & ~uint64_t{3};
    if (n < stride * (h - 1) + rowBytes) return nullptr;
    auto rowOf = [&](uint64_t r) { return f_.topDown ? r : h - 1 - r; };
    if (f_.kind == Kind::Pal8) {
      for (uint64_t r = 0; r < h; ++r) {
        std::copy_n(p + r * stride, w, canvas_.data() + rowOf(r) * w);
      }
      return FromCanvas();
    }
    auto out = std::make_shared<std::vector<uint32_t>>(pixelCount_);
    for (uint64_t r = 0; r < h; ++r) {
      const uint8_t* src = p + r * stride;
      uint32_t* dst = out->data() + rowOf(r) * w;
      for (uint64_t x = 0; x < w; ++x, src += bytesPerPixel) {
        dst[x] = kOpaque | (uint32_t{src[2]} << 16) | (uint32_t{src[1]} << 8) | src[0];
      }
    }
    return out;
  }

  Picture FromCanvas() const {
    auto out = std::make_shared<std::vector<uint32_t>>(pixelCount_);
    std::transform(canvas_.begin(), canvas_.end(), out->begin(),
                   [this](uint8_t i) { return f_.palette[i]; });
    return out;
  }

  VideoFormat f_;
  size_t pixelCount_;
  uint64_t pictureBytes_;
  std::vector<uint8_t> canvas_;
  std::vector<Picture> frames_;
  Picture last_;
  uint64_t decodedBytes_ = 0;
};

// Walks a movi list (and the 'rec ' lists in it). False once the walk must stop.
bool WalkMovi(const uint8_t* d, const Chunk& list, const Header& h, FrameBuilder& frames,
              int depth) {
  return ForEachChunk(d, list.begin, list.end, [&](const Chunk& c) {
    if (c.IsList()) {
      if (c.id == kList && c.listType == Fcc("rec ") && depth < kMaxRecDepth) {
        return WalkMovi(d, c, h, frames, depth + 1);
      }
      return true;
    }
    // '00dc': two digits naming the stream, then what the chunk holds.
    const uint32_t stream = static_cast<uint8_t>(h.streamId[0]) |
                            (static_cast<uint32_t>(static_cast<uint8_t>(h.streamId[1])) << 8);
    if ((c.id & 0xFFFF) != stream) return true;
    const uint32_t what = c.id >> 16;
    if (what == (Fcc("00db") >> 16) || what == (Fcc("00dc") >> 16)) {
      return frames.AddFrame(d + c.begin, c.end - c.begin);
    }
    if (what == (Fcc("00pc") >> 16)) frames.ChangePalette(d + c.begin, c.end - c.begin);
    return true;
  });
}

}  // namespace

std::optional<AviClip> AviClip::Parse(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 12) return std::nullopt;
  if (Le32(data) != kRiff || Le32(data + 8) != Fcc("AVI ")) return std::nullopt;

  // The RIFF 'AVI ' list first, then any OpenDML 'AVIX' lists that follow it.
  std::vector<Chunk> riffs;
  ForEachChunk(data, 0, size, [&](const Chunk& c) {
    if (c.id != kRiff) return true;
    if (riffs.empty() ? c.listType != Fcc("AVI ") : c.listType != Fcc("AVIX")) return true;
    riffs.push_back(c);
    return true;
  });
  if (riffs.empty()) return std::nullopt;

  std::optional<Header> header;
  ForEachChunk(data, riffs[0].begin, riffs[0].end, [&](const Chunk& c) {
    if (c.id == kList && c.listType == Fcc("hdrl")) {
      header = ParseHeaderList(data, c);
      return false;
    }
    return true;
  });
  if (!header) return std::nullopt;

  FrameBuilder builder(*header);
  for (const Chunk& riff : riffs) {
    bool more = ForEachChunk(data, riff.begin, riff.end, [&](const Chunk& c) {
      if (c.id == kList && c.listType == Fcc("movi")) return WalkMovi(data, c, *header, builder, 0);
      return true;
    });
    if (!more) break;
  }

  AviClip clip;
  clip.frames_ = builder.Take();
  if (clip.frames_.empty()) return std::nullopt;
  clip.width_ = header->format.width;
  clip.height_ = header->format.height;
  clip.microsPerFrame_ = FrameMicros(*header);
  return clip;
}

std::optional<AviClip> AviClip::Load(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::vector<uint8_t> data;
  constexpr size_t kStep = 1u << 20;
  while (data.size() < kMaxFileBytes) {
    const size_t old = data.size();
    data.resize(std::min(old + kStep, kMaxFileBytes));
    const size_t got = std::fread(data.data() + old, 1, data.size() - old, file);
    data.resize(old + got);
    if (got == 0) break;
  }
  std::fclose(file);
  return Parse(data.data(), data.size());
}

const std::vector<uint32_t>& AviClip::Frame(int index) const {
  static const std::vector<uint32_t> kNone;
  if (index < 0 || static_cast<size_t>(index) >= frames_.size()) return kNone;
  return *frames_[index];
}
