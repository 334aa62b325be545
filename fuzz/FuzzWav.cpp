// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the cue reader, the way the headless player meets a cue: the bytes are
// read from memory, then from a file of those bytes found by name in the data folder, then
// played through the headless sink. Any bytes must be read or refused, never crash, and:
//  - memory and file give the same answer;
//  - an accepted cue has sane fields, and no more samples than its bytes can hold;
//  - a synchronous cue costs exactly its length in virtual time (the chime's when refused),
//    and the transcript says "missing" exactly when the cue was refused.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "common/DataFiles.h"
#include "common/DefaultChime.h"
#include "common/WavInfo.h"
#include "host/headless/HeadlessAudio.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

bool Same(const std::optional<WavInfo>& a, const std::optional<WavInfo>& b) {
  if (!a || !b) return !a && !b;
  return a->sampleRate == b->sampleRate && a->channels == b->channels &&
         a->bitsPerSample == b->bitsPerSample && a->formatTag == b->formatTag &&
         a->dataBytes == b->dataBytes && a->durationMs == b->durationMs;
}

void CheckFields(const WavInfo& w, size_t size) {
  Check(w.sampleRate > 0 && w.channels > 0, "rate and channels are positive");
  Check(w.formatTag == 1 || w.formatTag == 2 || w.formatTag == 3 || w.formatTag == 6 ||
            w.formatTag == 7 || w.formatTag == 0x11,
        "the codec is one we play");
  Check(w.bitsPerSample == 4 || w.bitsPerSample == 8 || w.bitsPerSample == 16 ||
            w.bitsPerSample == 24 || w.bitsPerSample == 32 || w.bitsPerSample == 64,
        "a sample size we know");
  // RIFF header, fmt chunk (16 bytes at least) and the data chunk header come first.
  Check(w.dataBytes >= 0 && static_cast<uint64_t>(w.dataBytes) + 44 <= size,
        "the data bytes are bytes of the file");
  // No codec here packs more than two samples into a byte, so this bounds every honest length.
  const int64_t most = (2 * w.dataBytes * 1000 + w.sampleRate / 2) / w.sampleRate;
  Check(w.durationMs >= 0 && w.durationMs <= most, "the length fits the bytes");
}

// A folder of our own for the cue file, made once, reused by every input, removed at exit.
class CueFolder {
 public:
  CueFolder() {
    char tmpl[] = "/tmp/quorblex-fuzzwav-XXXXXX";
    const char* made = ::mkdtemp(tmpl);
    if (!made) std::abort();
    dir_ = made;
  }
  ~CueFolder() {
    std::remove(CuePath().c_str());
    ::rmdir(dir_.c_str());
  }
  const std::string& Dir() const { return dir_; }
  std::string CuePath() const { return dir_ + "/cue.wav"; }

 private:
  std::string dir_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<WavInfo> fromMemory = ParseWavInfo(data, size);
  if (fromMemory) CheckFields(*fromMemory, size);

  static const CueFolder folder;
  const std::string path = folder.CuePath();
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Check(static_cast<bool>(file), "the cue file is written");
  }
  Check(Same(ReadWavInfo(path), fromMemory), "file and memory agree");

  // The player's path: the bare name found in the data folder, then played in virtual time.
  DataFiles::SetSearchDirs({folder.Dir()});
  const std::string found = DataFiles::Find("cue.wav");
  Check(found == path, "the cue is found by name");
  VirtualClock clock;
  std::ostringstream lines;
  Transcript transcript(lines, clock, false);
  HeadlessAudio audio(clock, transcript, true);
  const CueResult result = audio.Play("cue.wav", found, true);
  Check((result == CueResult::Played) == fromMemory.has_value(), "played exactly when read");
  Check(clock.Now() == (fromMemory ? fromMemory->durationMs : kDefaultChimeMs),
        "a synchronous cue takes its length");
  const bool missing = lines.str().find(" missing") != std::string::npos;
  Check(missing == !fromMemory, "the transcript says missing exactly when refused");
  return 0;
}
