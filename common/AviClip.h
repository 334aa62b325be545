// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A silent AVI clip for the animation control. Loading reads the file and walks its chunks;
// a frame's picture is decoded only when it is asked for, its chunk read again from the file
// (kept open) at that moment, so a clip loaded from a file holds little more than an index.
//
// Reads RIFF 'AVI ' files: the first video stream of LIST 'hdrl' (avih, strh 'vids', strf with
// a BITMAPINFOHEADER and its palette) and the '##db' / '##dc' chunks of every LIST 'movi'
// (also inside 'rec ' lists and in OpenDML 'AVIX' extensions). idx1 is not needed: the movi
// list is walked. Frames may be 8-bit palettized (BI_RGB), RLE8 (BI_RLE8; delta frames draw
// over the previous frame, as the animation control does) or 24/32-bit uncompressed. '##pc'
// palette changes apply to the frames after them. Audio and unknown chunks are skipped.
//
// Hostile input: any bytes are safe. A chunk that runs past the end of the file ends the walk
// (a truncated file keeps the frames that are fully present); a list that claims more than its
// parent holds is read up to the parent's end. A frame chunk that is present but undecodable
// (too short, for instance) or empty repeats the previous frame so the timing stays right;
// before the first good frame such chunks are dropped. Without any decoded frame: nullopt.
//
// Limits: width and height 1..4096, at most 100000 frames, and frames stop being added once
// their distinct pictures, all decoded, would pass 512 MiB (as if they were). Repeated frames
// share one picture.
//
// Frames are decoded on the one thread that uses the clip, copies included: the decoder keeps
// the last picture and where it stands in the stream, so playing forward decodes each frame
// once and going back starts again from the first.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AviClip {
 public:
  // Reads at most the first 64 MiB of the file (a longer file is read as if cut there), then
  // Parse.
  static std::optional<AviClip> Load(const std::string& path);
  static std::optional<AviClip> Parse(const uint8_t* data, size_t size);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int FrameCount() const { return frameCount_; }
  // From avih dwMicroSecPerFrame, or the video stream's strh dwScale / dwRate when that is 0;
  // clamped to 1 ms .. 10 s (a clip with no timing at all plays at 1 ms).
  int64_t MicrosPerFrame() const { return microsPerFrame_; }
  // 0xAARRGGBB, top-down, Width() * Height() pixels, all opaque. An index out of range gives
  // an empty vector. The reference holds until another frame of this clip is asked for.
  const std::vector<uint32_t>& Frame(int index) const;
  // The same picture, kept alive for as long as the caller holds it; null out of range.
  std::shared_ptr<const std::vector<uint32_t>> FramePixels(int index) const;

  static constexpr size_t kMaxFileBytes = 64u << 20;
  static constexpr int kMaxSide = 4096;
  static constexpr int kMaxFrames = 100000;
  static constexpr uint64_t kMaxDecodedBytes = uint64_t{512} << 20;

 private:
  struct Stream;  // the chunks that make the pictures, and the decoder's state
  AviClip() = default;
  // Takes `source` (the file `file` was read from, or null) over.
  static std::optional<AviClip> FromFile(std::vector<uint8_t> file, std::FILE* source);

  int width_ = 0;
  int height_ = 0;
  int64_t microsPerFrame_ = 0;
  int frameCount_ = 0;
  std::shared_ptr<Stream> stream_;
};
