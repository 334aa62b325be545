// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writers.h"

#include <fstream>
#include <stdexcept>

namespace artgen {
namespace {

class Out {
 public:
  void U8(uint32_t v) { b_.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v);
    U16(v >> 16);
  }
  void Tag(const char (&t)[5]) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(t[i]));
  }
  void Append(const Bytes& more) { b_.insert(b_.end(), more.begin(), more.end()); }
  size_t size() const { return b_.size(); }
  void PatchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b_[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }

  // RIFF chunks: Begin writes the tag and a size placeholder, End fills it in and pads to even.
  size_t Begin(const char (&t)[5]) {
    Tag(t);
    size_t at = size();
    U32(0);
    return at;
  }
  size_t BeginList(const char (&list)[5], const char (&kind)[5]) {
    size_t at = Begin(list);
    Tag(kind);
    return at;
  }
  void End(size_t at) {
    PatchU32(at, static_cast<uint32_t>(size() - at - 4));
    if (size() % 2) U8(0);
  }

  Bytes Take() { return std::move(b_); }

 private:
  Bytes b_;
};

void InfoHeader(Out& o, int width, int height, int bits, uint32_t image_bytes,
                uint32_t colours_used) {
  o.U32(40);
  o.U32(static_cast<uint32_t>(width));
  o.U32(static_cast<uint32_t>(height));  // positive: rows stored bottom-up
  o.U16(1);
  o.U16(static_cast<uint32_t>(bits));
  o.U32(0);  // BI_RGB
  o.U32(image_bytes);
  o.U32(2835);  // 72 dpi
  o.U32(2835);
  o.U32(colours_used);
  o.U32(0);
}

void Palette(Out& o, const std::vector<Rgb8>& palette) {
  for (Rgb8 c : palette) {
    o.U8(c.b);
    o.U8(c.g);
    o.U8(c.r);
    o.U8(0);
  }
}

void CheckDepth(const IndexedImage& img) {
  if (img.palette.size() != 16 && img.palette.size() != 256)
    throw std::invalid_argument("only 16- and 256-colour pictures are stored");
  if (img.index.size() != static_cast<size_t>(img.width) * img.height)
    throw std::invalid_argument("picture size does not match its pixels");
}

Bytes PackedRows(const IndexedImage& img) {
  const int bits = img.bits();
  const size_t stride = DibStride(img.width, bits);
  Bytes rows(stride * img.height, 0);
  for (int y = 0; y < img.height; ++y) {
    uint8_t* row = &rows[stride * (img.height - 1 - y)];
    for (int x = 0; x < img.width; ++x) {
      uint8_t v = img.at(x, y);
      if (bits == 8) {
        row[x] = v;
      } else {
        row[x / 2] |= static_cast<uint8_t>((x % 2 == 0) ? (v & 0xF) << 4 : (v & 0xF));
      }
    }
  }
  return rows;
}

Bytes MaskRows(const IndexedImage& img) {
  const size_t stride = DibStride(img.width, 1);
  Bytes rows(stride * img.height, 0);
  for (int y = 0; y < img.height; ++y) {
    uint8_t* row = &rows[stride * (img.height - 1 - y)];
    for (int x = 0; x < img.width; ++x)
      if (!img.IsOpaque(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return rows;
}

}  // namespace

size_t DibStride(int width, int bits) {
  return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

Bytes EncodeBmp(const IndexedImage& img) {
  CheckDepth(img);
  Bytes rows = PackedRows(img);
  const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(img.palette.size());
  Out o;
  o.U8('B');
  o.U8('M');
  o.U32(offset + static_cast<uint32_t>(rows.size()));
  o.U16(0);
  o.U16(0);
  o.U32(offset);
  InfoHeader(o, img.width, img.height, img.bits(), static_cast<uint32_t>(rows.size()),
             static_cast<uint32_t>(img.palette.size()));
  Palette(o, img.palette);
  o.Append(rows);
  return o.Take();
}

Bytes EncodeIco(const std::vector<IndexedImage>& images) {
  std::vector<Bytes> bodies;
  for (const IndexedImage& img : images) {
    CheckDepth(img);
    if (img.width > 256 || img.height > 256) throw std::invalid_argument("icon too large");
    Bytes xor_rows = PackedRows(img), and_rows = MaskRows(img);
    Out b;
    // The header counts the colour and mask halves together, hence the doubled height; the
    // colour count is left to follow from the bit depth, as icon files usually do.
    InfoHeader(b, img.width, img.height * 2, img.bits(),
               static_cast<uint32_t>(xor_rows.size() + and_rows.size()), 0);
    Palette(b, img.palette);
    b.Append(xor_rows);
    b.Append(and_rows);
    bodies.push_back(b.Take());
  }
  Out o;
  o.U16(0);
  o.U16(1);  // icon
  o.U16(static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const IndexedImage& img = images[i];
    o.U8(img.width == 256 ? 0 : img.width);
    o.U8(img.height == 256 ? 0 : img.height);
    o.U8(img.palette.size() < 256 ? static_cast<uint32_t>(img.palette.size()) : 0);
    o.U8(0);
    o.U16(1);
    o.U16(static_cast<uint32_t>(img.bits()));
    o.U32(static_cast<uint32_t>(bodies[i].size()));
    o.U32(offset);
    offset += static_cast<uint32_t>(bodies[i].size());
  }
  for (const Bytes& b : bodies) o.Append(b);
  return o.Take();
}

Bytes EncodeAvi(const std::vector<IndexedImage>& frames, int fps) {
  if (frames.empty() || fps <= 0) throw std::invalid_argument("a clip needs frames and a rate");
  const IndexedImage& first = frames.front();
  if (first.palette.size() != 256) throw std::invalid_argument("clip frames must be 8-bit");
  for (const IndexedImage& f : frames) {
    CheckDepth(f);
    if (f.width != first.width || f.height != first.height || f.palette != first.palette)
      throw std::invalid_argument("clip frames must share size and palette");
  }
  const uint32_t frame_bytes = static_cast<uint32_t>(DibStride(first.width, 8) * first.height);
  const uint32_t count = static_cast<uint32_t>(frames.size());

  Out o;
  size_t riff = o.BeginList("RIFF", "AVI ");
  size_t hdrl = o.BeginList("LIST", "hdrl");

  size_t avih = o.Begin("avih");
  o.U32(static_cast<uint32_t>((1000000 + fps / 2) / fps));  // microseconds per frame
  o.U32(frame_bytes * static_cast<uint32_t>(fps));          // max bytes per second
  o.U32(0);                                                 // padding granularity
  o.U32(0x10);                                              // AVIF_HASINDEX
  o.U32(count);
  o.U32(0);  // initial frames
  o.U32(1);  // streams
  o.U32(frame_bytes);
  o.U32(static_cast<uint32_t>(first.width));
  o.U32(static_cast<uint32_t>(first.height));
  for (int i = 0; i < 4; ++i) o.U32(0);
  o.End(avih);

  size_t strl = o.BeginList("LIST", "strl");
  size_t strh = o.Begin("strh");
  o.Tag("vids");
  o.U32(0);                           // no codec: plain DIB frames
  o.U32(0);                           // flags
  o.U16(0);                           // priority
  o.U16(0);                           // language
  o.U32(0);                           // initial frames
  o.U32(1);                           // scale
  o.U32(static_cast<uint32_t>(fps));  // rate: fps frames per `scale` seconds
  o.U32(0);                           // start
  o.U32(count);
  o.U32(frame_bytes);
  o.U32(0xFFFFFFFFu);  // default quality
  o.U32(0);            // sample size varies (video)
  o.U16(0);
  o.U16(0);
  o.U16(static_cast<uint32_t>(first.width));
  o.U16(static_cast<uint32_t>(first.height));
  o.End(strh);

  size_t strf = o.Begin("strf");
  InfoHeader(o, first.width, first.height, 8, frame_bytes, 256);
  Palette(o, first.palette);
  o.End(strf);
  o.End(strl);
  o.End(hdrl);

  size_t movi = o.BeginList("LIST", "movi");
  const size_t movi_tag = movi + 4;  // index offsets count from the 'movi' tag
  std::vector<uint32_t> offsets;
  for (const IndexedImage& f : frames) {
    offsets.push_back(static_cast<uint32_t>(o.size() - movi_tag));
    size_t chunk = o.Begin("00db");
    o.Append(PackedRows(f));
    o.End(chunk);
  }
  o.End(movi);

  size_t idx1 = o.Begin("idx1");
  for (uint32_t off : offsets) {
    o.Tag("00db");
    o.U32(0x10);  // AVIIF_KEYFRAME: every frame stands alone
    o.U32(off);
    o.U32(frame_bytes);
  }
  o.End(idx1);
  o.End(riff);
  return o.Take();
}

Bytes EncodePam(const Canvas& img) {
  std::string head = "P7\nWIDTH " + std::to_string(img.width()) + "\nHEIGHT " +
                     std::to_string(img.height()) +
                     "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  Bytes out(head.begin(), head.end());
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const Rgba& p = img.at(x, y);
      Rgb8 c = ToRgb8(p);
      out.push_back(c.r);
      out.push_back(c.g);
      out.push_back(c.b);
      out.push_back(static_cast<uint8_t>(std::lround(Clamp01(p.a) * 255.0)));
    }
  }
  return out;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace artgen
