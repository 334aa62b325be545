// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/WavInfo.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/ReadOnlyFile.h"

namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kMsAdpcm = 2;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kALaw = 6;
constexpr uint16_t kMuLaw = 7;
constexpr uint16_t kImaAdpcm = 0x11;
constexpr uint16_t kExtensible = 0xFFFE;

// A cue has a handful of chunks. This bounds the walk over a file built of thousands of empty
// ones, which would otherwise cost one read each.
constexpr int kMaxChunks = 4096;
// The most of a fmt chunk we need: the extensible layout is 40 bytes. The rest (an MS ADPCM
// coefficient table, say) is never read.
constexpr size_t kFmtMax = 40;
constexpr size_t kFmtMin = 16;

// The 12 bytes that follow the codec number in an extensible header's sub-format GUID.
constexpr uint8_t kSubFormatTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                        0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool IdIs(const uint8_t* p, const char (&id)[5]) { return std::memcmp(p, id, 4) == 0; }

// Where the bytes come from. Read copies exactly n bytes found at `offset` into `out`, or
// returns false when they are not all there.
class Source {
 public:
  virtual ~Source() = default;
  virtual uint64_t Size() const = 0;
  virtual bool Read(uint64_t offset, size_t n, uint8_t* out) const = 0;
};

class MemorySource : public Source {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, size_t n, uint8_t* out) const override {
    if (offset > size_ || n > size_ - offset) return false;
    if (n) std::memcpy(out, data_ + offset, n);
    return true;
  }

 private:
  const uint8_t* data_;
  uint64_t size_;
};

class FileSource : public Source {
 public:
  explicit FileSource(const ReadOnlyFile& file) : file_(file) {}
  uint64_t Size() const override { return file_.Size(); }
  bool Read(uint64_t offset, size_t n, uint8_t* out) const override {
    return file_.ReadAt(offset, n, out);
  }

 private:
  const ReadOnlyFile& file_;
};

// Samples per channel in `bytes` of an IMA ADPCM block: a 4-byte header per channel holding
// one sample, then 4-byte words (8 samples) taking turns between the channels.
int64_t ImaSamplesIn(int64_t bytes, int64_t channels) {
  if (bytes < 4 * channels) return 0;
  return 1 + (bytes - 4 * channels) / (4 * channels) * 8;
}

// Samples per channel in `bytes` of an MS ADPCM block: a 7-byte header per channel holding two
// samples, then bytes of two 4-bit samples each, taking turns between the channels.
int64_t MsSamplesIn(int64_t bytes, int64_t channels) {
  if (bytes < 7 * channels) return 0;
  return 2 + (bytes - 7 * channels) * 2 / channels;
}

// Turns a fmt chunk (its first fmtLen bytes, fmtLen <= kFmtMax) and the data size into the
// answer, or nullopt when the codec is not one we play or the fields do not add up.
std::optional<WavInfo> Describe(const uint8_t* fmt, size_t fmtLen, int64_t dataBytes) {
  if (fmtLen < kFmtMin) return std::nullopt;
  const uint16_t tag = Le16(fmt);
  const uint16_t channels = Le16(fmt + 2);
  const uint32_t rate = Le32(fmt + 4);
  // fmt + 8 holds the average byte rate. Every codec here is timed by its sample rate and
  // block layout instead, which is what the device actually consumes.
  const uint16_t blockAlign = Le16(fmt + 12);
  const uint16_t bits = Le16(fmt + 14);
  const uint16_t extraSize = fmtLen >= 18 ? Le16(fmt + 16) : 0;

  if (channels == 0 || rate == 0 || blockAlign == 0) return std::nullopt;
  if (rate > static_cast<uint32_t>(std::numeric_limits<int>::max())) return std::nullopt;

  uint32_t codec = tag;
  if (tag == kExtensible) {
    if (fmtLen < 40 || extraSize < 22) return std::nullopt;
    if (std::memcmp(fmt + 28, kSubFormatTail, sizeof kSubFormatTail) != 0) return std::nullopt;
    codec = Le32(fmt + 24);
    if (codec != kPcm && codec != kFloat && codec != kALaw && codec != kMuLaw) {
      return std::nullopt;
    }
  }

  int64_t samples = 0;  // per channel
  switch (codec) {
    case kPcm:
    case kFloat:
    case kALaw:
    case kMuLaw: {
      const bool bitsOk = codec == kPcm     ? bits == 8 || bits == 16 || bits == 24 || bits == 32
                          : codec == kFloat ? bits == 32 || bits == 64
                                            : bits == 8;
      if (!bitsOk) return std::nullopt;
      if (blockAlign != static_cast<uint32_t>(channels) * (bits / 8)) return std::nullopt;
      samples = dataBytes / blockAlign;
      break;
    }
    case kImaAdpcm:
    case kMsAdpcm: {
      if (bits != 4) return std::nullopt;
      const bool ima = codec == kImaAdpcm;
      if (!ima && channels > 2) return std::nullopt;  // MS ADPCM packs at most a stereo pair
      auto samplesIn = [&](int64_t bytes) {
        return ima ? ImaSamplesIn(bytes, channels) : MsSamplesIn(bytes, channels);
      };
      int64_t perBlock = samplesIn(blockAlign);
      if (perBlock == 0) return std::nullopt;  // a block too small for its own header
      // The header may say a block holds fewer samples than it could; never more.
      if (fmtLen >= 20 && extraSize >= 2) {
        const uint16_t stated = Le16(fmt + 18);
        if (stated > 0) perBlock = std::min<int64_t>(perBlock, stated);
      }
      const int64_t blocks = dataBytes / blockAlign;
      const int64_t tail = samplesIn(dataBytes % blockAlign);  // a last, partial block
      samples = blocks * perBlock + std::min(tail, perBlock);
      break;
    }
    default:
      return std::nullopt;
  }

  WavInfo info{};
  info.sampleRate = static_cast<int>(rate);
  info.channels = channels;
  info.bitsPerSample = bits;
  info.formatTag = static_cast<int>(codec);
  info.dataBytes = dataBytes;
  info.durationMs = (samples * 1000 + rate / 2) / rate;
  return info;
}

// Walks the chunk list for the first fmt and the first data chunk, in whichever order they
// come, then describes them.
std::optional<WavInfo> Parse(const Source& src) {
  const uint64_t size = src.Size();
  uint8_t head[12];
  if (!src.Read(0, sizeof head, head)) return std::nullopt;
  if (!IdIs(head, "RIFF") || !IdIs(head + 8, "WAVE")) return std::nullopt;
  // The RIFF size is not trusted: streamed recordings leave it 0 or 0xFFFFFFFF. The real end
  // of the bytes bounds the walk instead.

  uint8_t fmt[kFmtMax];
  size_t fmtLen = 0;
  bool haveFmt = false;
  int64_t dataBytes = 0;
  bool haveData = false;

  uint64_t pos = sizeof head;
  for (int i = 0; i < kMaxChunks && !(haveFmt && haveData); ++i) {
    uint8_t chunk[8];
    if (!src.Read(pos, sizeof chunk, chunk)) break;
    const uint64_t chunkSize = Le32(chunk + 4);
    const uint64_t body = pos + sizeof chunk;
    const uint64_t present = size - body;  // Read succeeded, so body <= size
    if (!haveFmt && IdIs(chunk, "fmt ")) {
      fmtLen = static_cast<size_t>(std::min<uint64_t>({chunkSize, kFmtMax, present}));
      if (!src.Read(body, fmtLen, fmt)) return std::nullopt;
      haveFmt = true;
    } else if (!haveData && IdIs(chunk, "data")) {
      dataBytes = static_cast<int64_t>(std::min(chunkSize, present));
      haveData = true;
    }
    pos = body + chunkSize + (chunkSize & 1);  // at most 2^32 past a valid offset: no wrap
  }
  if (!haveFmt || !haveData) return std::nullopt;
  return Describe(fmt, fmtLen, dataBytes);
}

}  // namespace

std::optional<WavInfo> ParseWavInfo(const uint8_t* data, size_t size) {
  return Parse(MemorySource(data, size));
}

std::optional<WavInfo> ReadWavInfo(const std::string& path) {
  ReadOnlyFile file;
  if (!file.Open(path)) return std::nullopt;
  return Parse(FileSource(file));
}
