// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the clip reader: any bytes must parse or be refused, never crash or
// hang, and every frame of a parsed clip must be a whole picture.
#include <cstdlib>

#include "common/AviClip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto clip = AviClip::Parse(data, size);
  if (!clip) return 0;
  const size_t pixels = static_cast<size_t>(clip->Width()) * clip->Height();
  if (clip->FrameCount() < 1 || clip->MicrosPerFrame() < 1000 ||
      clip->MicrosPerFrame() > 10'000'000) {
    std::abort();
  }
  for (int i = 0; i < clip->FrameCount(); ++i) {
    if (clip->Frame(i).size() != pixels) std::abort();
  }
  return 0;
}
