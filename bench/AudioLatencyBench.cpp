// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// How closely the desktop sound player chains synchronous cues, how soon an asynchronous cue
// starts, and how soon the first cue starts after the idle device was let go (so the player
// opens it again), measured on SDL's disk driver.
//
//   quorblex_audio_bench [CUE_DIR]
//
// With CUE_DIR, its *.wav files are the cues; otherwise the bench makes its own tones.
//
// Gaps come straight from the device's output: the silence between one cue's last frame and
// the next one's first. Start latency needs the moment each buffer reached the device: a
// watcher thread notes when the output file grows, and since the C library flushes the file
// in whole blocks, each growth pins one buffer's write to a wall-clock time; buffers in
// between are placed by interpolation.
#include <SDL.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/audio/SdlAudioSink.h"
#include "tests/support/AudioBytes.h"

namespace {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

constexpr double kGapGoalMs = 15.0;
constexpr double kLatencyGoalMs = 30.0;

double Ms(SteadyClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A mono 16-bit tone of `ms` with 5 ms of silence at each end.
Bytes ToneWav(int rate, int ms, double hz) {
  const int edge = rate / 200;
  const int body = rate * ms / 1000;
  Bytes pcm;
  for (int i = 0; i < edge; ++i) Put16(pcm, 0);
  for (int i = 0; i < body; ++i) {
    const double swell = 0.5 + 0.5 * (i + 1.0) / body;
    const long v = std::lround(8000 * swell * std::sin(2 * M_PI * hz * i / rate)) | 1;
    Put16(pcm, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(v))));
  }
  for (int i = 0; i < edge; ++i) Put16(pcm, 0);
  Bytes b{'R', 'I', 'F', 'F'};
  Put32(b, static_cast<uint32_t>(36 + pcm.size()));
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
  Put32(b, 16);
  Put16(b, 1);
  Put16(b, 1);
  Put32(b, static_cast<uint32_t>(rate));
  Put32(b, static_cast<uint32_t>(rate * 2));
  Put16(b, 2);
  Put16(b, 16);
  for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
  Put32(b, static_cast<uint32_t>(pcm.size()));
  b.insert(b.end(), pcm.begin(), pcm.end());
  return b;
}

// The cue as the device plays it.
Bytes DecodeForDevice(const std::string& path, const SdlAudioSink::DeviceFormat& f) {
  SDL_AudioSpec stored{};
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!SDL_LoadWAV(path.c_str(), &stored, &buf, &len)) return {};
  Bytes out(buf, buf + len);
  SDL_FreeWAV(buf);
  SDL_AudioCVT cvt;
  const int built = SDL_BuildAudioCVT(&cvt, stored.format, stored.channels, stored.freq,
                                      static_cast<SDL_AudioFormat>(f.sdlFormat),
                                      static_cast<Uint8>(f.channels), f.rate);
  if (built < 0) return {};
  if (built > 0) {
    const size_t frame = SDL_AUDIO_BITSIZE(stored.format) / 8 * stored.channels;
    out.resize(out.size() - out.size() % frame);
    cvt.len = static_cast<int>(out.size());
    out.resize(out.size() * static_cast<size_t>(cvt.len_mult));
    cvt.buf = out.data();
    if (SDL_ConvertAudio(&cvt) != 0) return {};
    out.resize(static_cast<size_t>(cvt.len_cvt));
  }
  out.resize(out.size() - out.size() % static_cast<size_t>(f.bytesPerFrame));
  return out;
}

// How many bytes the C library holds back when a file is written in `chunk`-byte pieces: the
// file's size right after a write trails the bytes written so far by this much.
long StdioLag(const std::string& dir, size_t chunk) {
  const std::string path = dir + "/lag.raw";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::vector<char> piece(chunk, 0);
  long lag = 0;
  for (size_t written = chunk; written <= 64 * 1024; written += chunk) {
    std::fwrite(piece.data(), 1, chunk, f);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && st.st_size > 0) {
      lag = static_cast<long>(written) - static_cast<long>(st.st_size);
      break;
    }
  }
  std::fclose(f);
  return lag;
}

struct Growth {
  long bytesWritten;  // the file's size, then what the device had written at that moment
  SteadyClock::time_point when;
};

// Notes every growth of the file until told to stop.
class Watcher {
 public:
  explicit Watcher(std::string path) : path_(std::move(path)) {
    thread_ = std::thread([this] { Run(); });
  }
  ~Watcher() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  const std::vector<Growth>& Growths() const { return growths_; }

 private:
  void Run() {
    off_t last = 0;
    while (!stop_) {
      struct stat st {};
      if (::stat(path_.c_str(), &st) == 0 && st.st_size != last) {
        // A reopened disk device starts the file afresh: what came before is another device's.
        if (st.st_size < last) growths_.clear();
        growths_.push_back({static_cast<long>(st.st_size), SteadyClock::now()});
        last = st.st_size;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }

  std::string path_;
  std::atomic<bool> stop_{false};
  std::vector<Growth> growths_;
  std::thread thread_;
};

// When the device had written `bytes` bytes; false when outside what was seen.
bool WhenWritten(const std::vector<Growth>& g, long bytes, SteadyClock::time_point* when) {
  for (size_t i = 0; i + 1 < g.size(); ++i) {
    if (g[i].bytesWritten <= bytes && bytes <= g[i + 1].bytesWritten) {
      const double span = static_cast<double>(g[i + 1].bytesWritten - g[i].bytesWritten);
      const double part = span > 0 ? (bytes - g[i].bytesWritten) / span : 0.0;
      *when = g[i].when +
              std::chrono::duration_cast<SteadyClock::duration>((g[i + 1].when - g[i].when) * part);
      return true;
    }
  }
  return false;
}

double Median(std::vector<double> v) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Max(const std::vector<double>& v) {
  return v.empty() ? NAN : *std::max_element(v.begin(), v.end());
}

struct ReopenFigures {
  std::vector<double> latencies;  // call to the cue's first buffer written
  std::vector<double> callMs;     // how long the call itself took: opening, decoding, starting
};

// Plays `blip` asynchronously `trials` times, each time once the idle device has been let go.
ReopenFigures FirstCuesAfterIdle(const std::string& dir, const std::string& out,
                                 const std::string& blip, int trials) {
  ReopenFigures figures;
  SdlAudioSink::Options options;
  options.idleCloseMs = 300;
  options.openAtStart = false;
  SdlAudioSink sink(options);
  for (int i = 0; i < trials; ++i) {
    const auto until = SteadyClock::now() + std::chrono::seconds(5);
    while (sink.Format() && SteadyClock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (sink.Format()) {
      std::fprintf(stderr, "the idle device was not let go\n");
      return figures;
    }
    Watcher watcher(out);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto call = SteadyClock::now();
    if (sink.Play("blip", blip, false) != CueResult::Played) {
      std::fprintf(stderr, "no device: %s\n", sink.LastError().c_str());
      return figures;
    }
    figures.callMs.push_back(Ms(SteadyClock::now() - call));
    const auto format = sink.Format();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    watcher.Stop();
    if (!format) continue;
    std::vector<Growth> growths = watcher.Growths();
    const long lag = StdioLag(dir, static_cast<size_t>(format->bufferFrames) *
                                       static_cast<size_t>(format->bytesPerFrame));
    for (auto& g : growths) g.bytesWritten += lag;
    const int bpf = format->bytesPerFrame;
    const long at = FindFrames(ReadFile(out), DecodeForDevice(blip, *format), bpf, 0);
    SteadyClock::time_point written;
    if (at >= 0 && WhenWritten(growths, (at + format->bufferFrames) * bpf, &written))
      figures.latencies.push_back(Ms(written - call));
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  SDL_LogSetOutputFunction([](void*, int, SDL_LogPriority, const char*) {}, nullptr);
  char tmpl[] = "/tmp/quorblex-audio-bench-XXXXXX";
  if (!::mkdtemp(tmpl)) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string dir = tmpl;
  const std::string out = dir + "/device.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  ::unsetenv("SDL_DISKAUDIODELAY");

  std::vector<std::string> cues;
  if (argc > 1) {
    for (const auto& e : fs::directory_iterator(argv[1])) {
      if (e.is_regular_file() && e.path().extension() == ".wav") cues.push_back(e.path());
    }
    std::sort(cues.begin(), cues.end());
  } else {
    const int lengths[] = {180, 320, 140, 400, 250, 200};
    for (int i = 0; i < 6; ++i) {
      const std::string path = dir + "/tone" + std::to_string(i) + ".wav";
      const Bytes wav = ToneWav(22050, lengths[i], 330.0 + 70 * i);
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(wav.data()),
                 static_cast<std::streamsize>(wav.size()));
      cues.push_back(path);
    }
  }
  const std::string blip = dir + "/blip.wav";
  {
    const Bytes wav = ToneWav(22050, 40, 1200);
    std::ofstream(blip, std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
  }

  SdlAudioSink::DeviceFormat format;
  std::vector<SteadyClock::time_point> asyncCalls;
  std::vector<Growth> growths;
  {
    Watcher watcher(out);
    SdlAudioSink sink;
    if (!sink.Format()) {
      std::fprintf(stderr, "no device: %s\n", sink.LastError().c_str());
      return 1;
    }
    format = *sink.Format();
    // Twice through: the first round decodes each cue, the second finds it ready.
    for (int round = 0; round < 2; ++round) {
      for (const auto& c : cues) sink.Play("cue", c, true);
    }
    std::mt19937 rng(99);
    for (int i = 0; i < 25; ++i) {
      asyncCalls.push_back(SteadyClock::now());
      sink.Play("blip", blip, false);
      // Land each call at a different point of the device's buffer cycle.
      std::this_thread::sleep_for(std::chrono::microseconds(70000 + rng() % 20000));
    }
    sink.Play("cue", cues.front(), true);
    watcher.Stop();
    growths = watcher.Growths();
  }
  const long lag = StdioLag(
      dir, static_cast<size_t>(format.bufferFrames) * static_cast<size_t>(format.bytesPerFrame));
  for (auto& g : growths) g.bytesWritten += lag;

  const Bytes heard = ReadFile(out);
  const int bpf = format.bytesPerFrame;
  std::printf("device: %d Hz, %d channel(s), %d-bit, %d-frame buffers (%.1f ms)\n", format.rate,
              format.channels, SDL_AUDIO_BITSIZE(format.sdlFormat), format.bufferFrames,
              1000.0 * format.bufferFrames / format.rate);

  bool ok = true;
  std::vector<double> coldGaps, warmGaps;
  long pos = 0, end = -1;
  for (int round = 0; round < 2; ++round) {
    for (const auto& c : cues) {
      const Bytes want = DecodeForDevice(c, format);
      const long at = FindFrames(heard, want, bpf, pos);
      if (at < 0) {
        std::fprintf(stderr, "cue %s not found whole in the output\n", c.c_str());
        ok = false;
        break;
      }
      if (end >= 0) {
        (round == 0 ? coldGaps : warmGaps).push_back(1000.0 * (at - end) / format.rate);
      }
      end = at + static_cast<long>(want.size()) / bpf;
      pos = end;
    }
  }
  std::vector<double> allGaps = coldGaps;
  allGaps.insert(allGaps.end(), warmGaps.begin(), warmGaps.end());
  std::printf(
      "chained synchronous cues: %zu gaps, median %.2f ms, max %.2f ms (first play of each "
      "cue: median %.2f ms; played before: median %.2f ms) - goal <= %.0f ms\n",
      allGaps.size(), Median(allGaps), Max(allGaps), Median(coldGaps), Median(warmGaps),
      kGapGoalMs);

  std::vector<double> latencies;
  const Bytes blipWant = DecodeForDevice(blip, format);
  for (const auto& call : asyncCalls) {
    const long at = FindFrames(heard, blipWant, bpf, pos);
    if (at < 0) {
      std::fprintf(stderr, "asynchronous cue not found whole in the output\n");
      ok = false;
      break;
    }
    pos = at + static_cast<long>(blipWant.size()) / bpf;
    // The cue's first buffer went to the device as one write.
    SteadyClock::time_point written;
    if (!WhenWritten(growths, (at + format.bufferFrames) * bpf, &written)) {
      std::fprintf(stderr, "no timing seen around an asynchronous cue\n");
      ok = false;
      continue;
    }
    latencies.push_back(Ms(written - call));
  }
  std::printf(
      "asynchronous start latency: %zu cues, median %.2f ms, max %.2f ms - goal <= %.0f ms\n",
      latencies.size(), Median(latencies), Max(latencies), kLatencyGoalMs);

  const ReopenFigures reopen = FirstCuesAfterIdle(dir, out, blip, 9);
  if (reopen.latencies.size() < 5) ok = false;
  std::printf(
      "first cue after the idle device was let go: %zu cues, start latency median %.2f ms, max "
      "%.2f ms - goal <= %.0f ms; the call itself (opening the device, decoding the cue) median "
      "%.2f ms, max %.2f ms\n",
      reopen.latencies.size(), Median(reopen.latencies), Max(reopen.latencies), kLatencyGoalMs,
      Median(reopen.callMs), Max(reopen.callMs));

  std::error_code ec;
  fs::remove_all(dir, ec);
  return ok ? 0 : 1;
}
