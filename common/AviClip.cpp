// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/AviClip.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include "common/BmpImage.h"
#include "common/NativePath.h"

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

uint64_t BytesPerPixel(Kind kind) {
  return kind == Kind::Pal8 ? 1 : kind == Kind::Rgb24 ? 3 : kind == Kind::Rgb32 ? 4 : 0;
}

uint64_t Stride(const VideoFormat& f) {
  return (static_cast<uint64_t>(f.width) * BytesPerPixel(f.kind) + 3) & ~uint64_t{3};
}

// Whether a frame chunk of `n` bytes makes a picture. An RLE frame cut short still draws what
// it holds; an uncompressed one must hold every row.
bool Decodable(const VideoFormat& f, uint64_t n) {
  if (n == 0) return false;
  if (f.kind == Kind::Rle8) return true;
  const uint64_t rowBytes = static_cast<uint64_t>(f.width) * BytesPerPixel(f.kind);
  return n >= Stride(f) * static_cast<uint64_t>(f.height - 1) + rowBytes;
}

// AVIPALCHANGE: first entry, entry count (0 means 256), flags, then R, G, B, flags entries.
void ChangePalette(Palette& palette, const uint8_t* p, uint64_t n) {
  if (n < 4) return;
  const uint64_t first = p[0];
  const uint64_t count = p[1] == 0 ? 256 : p[1];
  const uint64_t fit = std::min({count, 256 - first, (n - 4) / 4});
  for (uint64_t i = 0; i < fit; ++i) {
    const uint8_t* e = p + 4 + 4 * i;
    palette[first + i] = kOpaque | (uint32_t{e[0]} << 16) | (uint32_t{e[1]} << 8) | e[2];
  }
}

}  // namespace

// The picture and palette chunks of the video stream in file order, which frame shows which
// picture, and the decoder that turns a picture chunk into pixels when one is asked for.
struct AviClip::Stream {
  struct Step {
    uint64_t begin = 0;  // in `bytes`
    uint64_t size = 0;
    bool palette = false;  // a palette change, else a picture
  };

  Stream(const VideoFormat& f, std::vector<uint8_t> file)
      : format(f),
        pixelCount(static_cast<size_t>(f.width) * static_cast<size_t>(f.height)),
        pictureBytes(pixelCount * sizeof(uint32_t)),
        bytes(std::move(file)),
        palette(f.palette) {}
  ~Stream() {
    if (source) std::fclose(source);
  }
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  // ---- While the file is read ----

  // The frame chunk at [begin, begin + n) of the file. False once no more frames may be added.
  bool AddFrame(uint64_t begin, uint64_t n) {
    if (frames.size() >= static_cast<size_t>(AviClip::kMaxFrames)) return false;
    if (decodedBytes + pictureBytes > AviClip::kMaxDecodedBytes) return false;
    if (Decodable(format, n)) {
      decodedBytes += pictureBytes;
      lastPicture = static_cast<int64_t>(steps.size());
      steps.push_back(Step{begin, n, false});
    }
    // A chunk with no picture of its own repeats the one before; before any, it is dropped.
    if (lastPicture >= 0) frames.push_back(static_cast<size_t>(lastPicture));
    return true;
  }

  void AddPaletteChange(uint64_t begin, uint64_t n) {
    if (n >= 4) steps.push_back(Step{begin, n, true});
  }

  // Reads each chunk from the open file when it is needed instead of keeping the bytes. The
  // file stays open, so a copy put in its place later (an upgrade, say) changes nothing.
  void ReadFrom(std::FILE* file) {
    source = file;
    bytes.clear();
    bytes.shrink_to_fit();
  }

  // Lets go of the rest of the file when the chunks kept are much less than all of it.
  void Compact() {
    uint64_t kept = 0;
    for (const Step& st : steps) kept += st.size;
    if (kept >= bytes.size() / 2) return;
    std::vector<uint8_t> compact;
    compact.reserve(static_cast<size_t>(kept));
    for (Step& st : steps) {
      const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(st.begin);
      st.begin = compact.size();
      compact.insert(compact.end(), from, from + static_cast<std::ptrdiff_t>(st.size));
    }
    bytes = std::move(compact);
  }

  // ---- Decoding ----

  Picture PictureOf(size_t frame) {
    const size_t target = frames[frame];
    if (shown && shownStep == target) return shown;
    if (target < next) Rewind();
    for (; next < target; ++next) Replay(steps[next]);
    shown = Decode(steps[target]);
    shownStep = target;
    next = target + 1;
    return shown;
  }

  VideoFormat format;
  size_t pixelCount;
  uint64_t pictureBytes;
  // The file, or after Compact only the chunks in `steps`, or nothing after ReadFrom.
  std::vector<uint8_t> bytes;
  std::vector<Step> steps;
  std::vector<size_t> frames;  // each frame's picture, as an index into `steps`

 private:
  // The bytes of a step. A file that cannot give them all (it shrank under us) gives zeros for
  // the rest, which draw as some picture of the right size.
  const uint8_t* Payload(const Step& s) {
    if (!source) return bytes.data() + s.begin;
    chunk.assign(static_cast<size_t>(s.size), 0);
    if (::fseeko(source, static_cast<off_t>(s.begin), SEEK_SET) == 0)
      std::fread(chunk.data(), 1, chunk.size(), source);
    std::clearerr(source);
    return chunk.data();
  }

  void Rewind() {
    palette = format.palette;
    std::fill(canvas.begin(), canvas.end(), uint8_t{0});
    next = 0;
  }

  // A step passed on the way to the one asked for: palettes always count; of the pictures only
  // RLE ones do, as later frames draw over them. The others cover the whole canvas.
  void Replay(const Step& s) {
    if (s.palette) return ChangePalette(palette, Payload(s), s.size);
    if (format.kind == Kind::Rle8) DrawRle(s);
  }

  void DrawRle(const Step& s) {
    if (canvas.empty()) canvas.assign(pixelCount, 0);
    DecodeRle(Payload(s), static_cast<size_t>(s.size), 8, format.width, format.height,
              canvas.data());
  }

  Picture Decode(const Step& s) {
    const uint8_t* p = Payload(s);
    const uint64_t w = static_cast<uint64_t>(format.width);
    const uint64_t h = static_cast<uint64_t>(format.height);
    if (format.kind == Kind::Rle8) {
      DrawRle(s);
      return FromCanvas();
    }
    const uint64_t bytesPerPixel = BytesPerPixel(format.kind);
    const uint64_t stride = Stride(format);
    auto rowOf = [&](uint64_t r) { return format.topDown ? r : h - 1 - r; };
    if (format.kind == Kind::Pal8) {
      if (canvas.empty()) canvas.assign(pixelCount, 0);
      for (uint64_t r = 0; r < h; ++r) {
        std::copy_n(p + r * stride, w, canvas.data() + rowOf(r) * w);
      }
      return FromCanvas();
    }
    auto out = std::make_shared<std::vector<uint32_t>>(pixelCount);
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
    auto out = std::make_shared<std::vector<uint32_t>>(pixelCount);
    std::transform(canvas.begin(), canvas.end(), out->begin(),
                   [this](uint8_t i) { return palette[i]; });
    return out;
  }

  uint64_t decodedBytes = 0;  // what all distinct pictures would take, decoded
  int64_t lastPicture = -1;
  // The decoder: the palette and index picture as of step `next`, and the last picture made.
  Palette palette;
  std::vector<uint8_t> canvas;  // palette indices, for 8-bit frames; made at first use
  size_t next = 0;
  size_t shownStep = 0;
  Picture shown;
  std::FILE* source = nullptr;  // after ReadFrom
  std::vector<uint8_t> chunk;   // the step last read from `source`
};

namespace {

// Walks a movi list (and the 'rec ' lists in it). False once the walk must stop.
template <class Frames>
bool WalkMovi(const uint8_t* d, const Chunk& list, const Header& h, Frames& frames, int depth) {
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
      return frames.AddFrame(c.begin, c.end - c.begin);
    }
    if (what == (Fcc("00pc") >> 16)) frames.AddPaletteChange(c.begin, c.end - c.begin);
    return true;
  });
}

}  // namespace

std::optional<AviClip> AviClip::Parse(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 12) return std::nullopt;
  if (Le32(data) != kRiff || Le32(data + 8) != Fcc("AVI ")) return std::nullopt;
  return FromFile(std::vector<uint8_t>(data, data + size), nullptr);
}

std::optional<AviClip> AviClip::FromFile(std::vector<uint8_t> file, std::FILE* source) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> owned(source, &std::fclose);
  const uint8_t* data = file.data();
  const size_t size = file.size();
  if (size < 12 || Le32(data) != kRiff || Le32(data + 8) != Fcc("AVI ")) return std::nullopt;

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

  // The stream takes the file over; moving a vector keeps its bytes where they are.
  auto stream = std::make_shared<Stream>(header->format, std::move(file));
  for (const Chunk& riff : riffs) {
    bool more = ForEachChunk(data, riff.begin, riff.end, [&](const Chunk& c) {
      if (c.id == kList && c.listType == Fcc("movi")) return WalkMovi(data, c, *header, *stream, 0);
      return true;
    });
    if (!more) break;
  }
  if (stream->frames.empty()) return std::nullopt;
  if (owned) {
    stream->ReadFrom(owned.release());
  } else {
    stream->Compact();
  }

  AviClip clip;
  clip.frameCount_ = static_cast<int>(stream->frames.size());
  clip.stream_ = std::move(stream);
  clip.width_ = header->format.width;
  clip.height_ = header->format.height;
  clip.microsPerFrame_ = FrameMicros(*header);
  return clip;
}

std::optional<AviClip> AviClip::Load(const std::string& path) {
  std::FILE* file = OpenFileForReading(path);
  if (!file) return std::nullopt;
  std::vector<uint8_t> data;
  // A file of known size goes into one buffer that fits it, with a byte to spare for seeing
  // its end; anything else (a pipe, a device) is read in steps.
  std::error_code ec;
  const std::uintmax_t known = std::filesystem::file_size(NativePath(path), ec);
  if (!ec && known < kMaxFileBytes) data.reserve(static_cast<size_t>(known) + 1);
  constexpr size_t kStep = 1u << 20;
  while (data.size() < kMaxFileBytes) {
    const size_t old = data.size();
    data.resize(std::min(old < data.capacity() ? data.capacity() : old + kStep, kMaxFileBytes));
    const size_t got = std::fread(data.data() + old, 1, data.size() - old, file);
    data.resize(old + got);
    if (got == 0) break;
  }
  // A regular file stays open and its frames are read again when they are shown; what else
  // was read is kept.
  if (ec) {
    std::fclose(file);
    file = nullptr;
  }
  return FromFile(std::move(data), file);
}

std::shared_ptr<const std::vector<uint32_t>> AviClip::FramePixels(int index) const {
  if (!stream_ || index < 0 || index >= frameCount_) return nullptr;
  return stream_->PictureOf(static_cast<size_t>(index));
}

const std::vector<uint32_t>& AviClip::Frame(int index) const {
  static const std::vector<uint32_t> kNone;
  auto pixels = FramePixels(index);
  // The stream keeps the picture it made last, so the reference outlives `pixels`.
  return pixels ? *pixels : kNone;
}
