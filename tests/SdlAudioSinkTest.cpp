// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of the desktop sound player. SDL's disk driver writes everything the device
// plays to a file, so each test plays cues, closes the sink and reads back what was "heard".
// Waits are on real playback and each is bounded.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
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

#include "common/DefaultChime.h"
#include "host/audio/SdlAudioSink.h"
#include "tests/support/AudioBytes.h"

namespace {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

double MsSince(SteadyClock::time_point start) {
  return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

// A canonical 44-byte-header WAV file around `data`.
Bytes MakeWav(int formatTag, int channels, int rate, int bits, const Bytes& data) {
  Bytes b{'R', 'I', 'F', 'F'};
  Put32(b, static_cast<uint32_t>(36 + data.size()));
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
  Put32(b, 16);
  Put16(b, static_cast<uint32_t>(formatTag));
  Put16(b, static_cast<uint32_t>(channels));
  Put32(b, static_cast<uint32_t>(rate));
  Put32(b, static_cast<uint32_t>(rate * channels * bits / 8));
  Put16(b, static_cast<uint32_t>(channels * bits / 8));
  Put16(b, static_cast<uint32_t>(bits));
  for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
  Put32(b, static_cast<uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// A tone with a little silence of its own at each end, as cue files often have.
std::vector<int16_t> Tone(int rate, int ms, double hz, int amplitude, int edgeMs = 5) {
  const int edge = rate * edgeMs / 1000;
  const int body = rate * ms / 1000;
  std::vector<int16_t> s(static_cast<size_t>(edge), 0);
  for (int i = 0; i < body; ++i) {
    // A slow swell makes every stretch of the tone different from every other.
    const double swell = 0.5 + 0.5 * static_cast<double>(i + 1) / body;
    const long v = std::lround(amplitude * swell * std::sin(2 * M_PI * hz * i / rate));
    s.push_back(static_cast<int16_t>(v | 1));  // never zero, so never mistaken for silence
  }
  s.insert(s.end(), static_cast<size_t>(edge), 0);
  return s;
}

Bytes AsBytes(const std::vector<int16_t>& s) {
  Bytes b(s.size() * 2);
  std::memcpy(b.data(), s.data(), b.size());
  return b;
}

Bytes Pcm16Wav(int rate, const std::vector<int16_t>& mono) {
  return MakeWav(1, 1, rate, 16, AsBytes(mono));
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// "c3.wav" for ('c', 3). Appended piece by piece: GCC 12 at -O3 misreads "c" + std::string
// as an overlapping copy (-Wrestrict).
std::string NumberedName(char letter, int n) {
  std::string name(1, letter);
  name += std::to_string(n);
  name += ".wav";
  return name;
}

// What the device should play for a cue: the samples converted to its format the way SDL
// converts a whole clip.
Bytes ConvertForDevice(SDL_AudioFormat format, int channels, int rate, const Bytes& data,
                       const SdlAudioSink::DeviceFormat& device) {
  SDL_AudioCVT cvt;
  const int built = SDL_BuildAudioCVT(&cvt, format, static_cast<Uint8>(channels), rate,
                                      static_cast<SDL_AudioFormat>(device.sdlFormat),
                                      static_cast<Uint8>(device.channels), device.rate);
  EXPECT_GE(built, 0) << SDL_GetError();
  if (built <= 0) return data;
  Bytes out(data.size() * static_cast<size_t>(cvt.len_mult));
  std::copy(data.begin(), data.end(), out.begin());
  cvt.buf = out.data();
  cvt.len = static_cast<int>(data.size());
  EXPECT_EQ(SDL_ConvertAudio(&cvt), 0) << SDL_GetError();
  out.resize(static_cast<size_t>(cvt.len_cvt));
  out.resize(out.size() - out.size() % static_cast<size_t>(device.bytesPerFrame));
  return out;
}

Bytes DecodeForDevice(const std::string& wavPath, const SdlAudioSink::DeviceFormat& device) {
  SDL_AudioSpec stored{};
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!SDL_LoadWAV(wavPath.c_str(), &stored, &buf, &len)) {
    ADD_FAILURE() << "cannot decode " << wavPath << ": " << SDL_GetError();
    return {};
  }
  Bytes data(buf, buf + len);
  SDL_FreeWAV(buf);
  return ConvertForDevice(stored.format, stored.channels, stored.freq, data, device);
}

Bytes ChimeForDevice(const SdlAudioSink::DeviceFormat& device) {
  return ConvertForDevice(AUDIO_S16SYS, 1, device.rate, AsBytes(DefaultChimeSamples(device.rate)),
                          device);
}

bool AllSilent(const Bytes& b, size_t begin, size_t end, uint8_t silence) {
  return std::all_of(b.begin() + static_cast<long>(begin), b.begin() + static_cast<long>(end),
                     [&](uint8_t v) { return v == silence; });
}

// The silence value of a device format, as SDL fills it.
uint8_t SilenceOf(const SdlAudioSink::DeviceFormat& f) {
  return f.sdlFormat == AUDIO_U8 ? 0x80 : 0x00;
}

class SdlAudioSinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quorblex-audio-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    out_ = dir_ + "/device.raw";
    UseDiskDevice(out_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  static void UseDiskDevice(const std::string& file, const char* delayMs = nullptr) {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    if (delayMs) {
      ::setenv("SDL_DISKAUDIODELAY", delayMs, 1);
    } else {
      ::unsetenv("SDL_DISKAUDIODELAY");
    }
  }

  std::string Cue(const std::string& name, const Bytes& wav) {
    const std::string path = dir_ + "/" + name;
    WriteFile(path, wav);
    return path;
  }

  // A device that plays cues as they are stored: no conversion in the way of comparing.
  static SdlAudioSink::Options PlainMono() {
    SdlAudioSink::Options o;
    o.rate = 22050;
    o.channels = 1;
    o.bufferFrames = 128;
    return o;
  }

  std::string dir_;
  std::string out_;
};

// Checks that the cues appear in `heard` in order, each whole, with at most `maxGapMs` of
// silence between one's end and the next one's start; returns the gaps in ms.
std::vector<double> ExpectChained(const Bytes& heard, const std::vector<Bytes>& cues,
                                  const SdlAudioSink::DeviceFormat& f, double maxGapMs) {
  std::vector<double> gaps;
  long end = -1;
  for (size_t i = 0; i < cues.size(); ++i) {
    const long at = FindFrames(heard, cues[i], f.bytesPerFrame, std::max(end, 0L));
    EXPECT_GE(at, 0) << "cue " << i << " is not in the output whole";
    if (at < 0) return gaps;
    if (end >= 0) {
      EXPECT_TRUE(AllSilent(heard, static_cast<size_t>(end) * f.bytesPerFrame,
                            static_cast<size_t>(at) * f.bytesPerFrame, SilenceOf(f)))
          << "something other than silence between cue " << i - 1 << " and cue " << i;
      const double gapMs = 1000.0 * static_cast<double>(at - end) / f.rate;
      EXPECT_LE(gapMs, maxGapMs) << "gap before cue " << i;
      gaps.push_back(gapMs);
    }
    end = at + static_cast<long>(cues[i].size()) / f.bytesPerFrame;
  }
  return gaps;
}

TEST_F(SdlAudioSinkTest, ChainedSynchronousCuesFollowEachOtherClosely) {
  const std::vector<std::vector<int16_t>> tones = {
      Tone(22050, 180, 440, 9000), Tone(22050, 120, 660, 7000), Tone(22050, 250, 523, 11000)};
  std::vector<std::string> paths;
  std::vector<Bytes> expected;
  for (size_t i = 0; i < tones.size(); ++i) {
    paths.push_back(Cue(NumberedName('c', static_cast<int>(i)), Pcm16Wav(22050, tones[i])));
    expected.push_back(AsBytes(tones[i]));
  }
  // The gap is counted in the device's own frames, but how many frames of silence go out
  // depends on how soon this thread gets back to the player. The disk device is slowed to
  // about half speed (12 ms per 5.8 ms buffer) so a busy machine's scheduling does not decide
  // the outcome, and a run spoiled by one late wake-up anyway is tried again; a player that
  // really leaves long gaps fails every run.
  UseDiskDevice(out_, "12");
  constexpr int kRuns = 3;
  for (int run = 1; run <= kRuns; ++run) {
    SdlAudioSink::DeviceFormat format;
    {
      SdlAudioSink sink(PlainMono());
      ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
      format = *sink.Format();
      ASSERT_EQ(format.rate, 22050);
      ASSERT_EQ(format.channels, 1);
      ASSERT_EQ(format.sdlFormat, AUDIO_S16SYS);
      for (size_t i = 0; i < paths.size(); ++i) {
        const auto start = SteadyClock::now();
        ASSERT_EQ(sink.Play("c", paths[i], true), CueResult::Played);
        // It returned only once the cue had been played through, and within its bound.
        const double lengthMs = 1000.0 * static_cast<double>(tones[i].size()) / 22050;
        const double tookMs = MsSince(start);
        EXPECT_GE(tookMs, lengthMs) << "cue " << i;
        EXPECT_LE(tookMs, lengthMs + 1000 + 100) << "cue " << i;
      }
    }
    // Every run must hold the cues whole, in order, with only silence between them.
    const auto gaps = ExpectChained(ReadFile(out_), expected, format, 1000.0);
    ASSERT_EQ(gaps.size(), 2u);
    const double widest = *std::max_element(gaps.begin(), gaps.end());
    if (widest <= 15.0) break;
    std::printf("run %d: widest gap %.2f ms\n", run, widest);
    EXPECT_LT(run, kRuns) << "chained cues kept leaving gaps over 15 ms";
  }
}

TEST_F(SdlAudioSinkTest, CuesAreConvertedToWhatTheDeviceRuns) {
  // The usual desktop device (44.1 kHz stereo) and cues stored three other ways.
  const auto mono16 = Tone(22050, 150, 440, 9000);
  Bytes u8Stereo;
  for (int i = 0; i < 11025 / 8; ++i) {
    u8Stereo.push_back(static_cast<uint8_t>(128 + std::lround(90 * std::sin(i * 0.07))));
    u8Stereo.push_back(static_cast<uint8_t>(128 + std::lround(60 * std::sin(i * 0.05 + 1))));
  }
  Bytes float48k;
  for (int i = 0; i < 48000 / 8; ++i) {
    const float v = static_cast<float>(0.4 * std::sin(i * 0.03) * (1.0 + i / 6000.0));
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    float48k.insert(float48k.end(), p, p + 4);
  }
  const std::vector<std::string> paths = {
      Cue("mono16.wav", Pcm16Wav(22050, mono16)),
      Cue("u8stereo.wav", MakeWav(1, 2, 11025, 8, u8Stereo)),
      Cue("float.wav", MakeWav(3, 1, 48000, 32, float48k)),
  };
  SdlAudioSink::DeviceFormat format;
  {
    SdlAudioSink sink;
    ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
    format = *sink.Format();
    EXPECT_EQ(format.rate, 44100);
    EXPECT_EQ(format.channels, 2);
    for (const auto& p : paths) EXPECT_EQ(sink.Play("x", p, true), CueResult::Played);
  }
  std::vector<Bytes> expected;
  for (const auto& p : paths) expected.push_back(DecodeForDevice(p, format));
  // Converted lengths follow the rates: 150 ms + 10 ms of edges at 22050 Hz is 160 ms.
  EXPECT_NEAR(static_cast<double>(expected[0].size()) / format.bytesPerFrame, 0.160 * 44100, 64);
  ExpectChained(ReadFile(out_), expected, format, 100.0);
}

TEST_F(SdlAudioSinkTest, NewCueCutsShortTheOneSounding) {
  const auto longTone = Tone(22050, 1500, 300, 8000, 0);
  const auto shortTone = Tone(22050, 100, 900, 8000);
  const std::string a = Cue("long.wav", Pcm16Wav(22050, longTone));
  const std::string b = Cue("short.wav", Pcm16Wav(22050, shortTone));
  const Bytes longBytes = AsBytes(longTone);
  const Bytes shortBytes = AsBytes(shortTone);

  // Only a prefix of the long cue (possibly none of it) may come before the short one, and
  // nothing of it after. Every sample of the long cue is odd, so its part is exactly the sound
  // before the short cue.
  auto checkCut = [&](const Bytes& heard, long minFrames, long maxFrames) {
    const long at = FindFrames(heard, shortBytes, 2);
    ASSERT_GE(at, 0) << "the second cue was not played whole";
    long first = at;
    for (long i = 0; i < at; ++i) {
      if (heard[static_cast<size_t>(i) * 2] != 0 || heard[static_cast<size_t>(i) * 2 + 1] != 0) {
        first = i;
        break;
      }
    }
    const long played = at - first;
    EXPECT_GE(played, minFrames) << "frames of the first cue heard";
    EXPECT_LE(played, maxFrames) << "frames of the first cue heard";
    ASSERT_LT(played, static_cast<long>(longTone.size()));
    EXPECT_EQ(
        std::memcmp(heard.data() + first * 2, longBytes.data(), static_cast<size_t>(played) * 2), 0)
        << "what came before the second cue is not the start of the first";
    const size_t after = static_cast<size_t>(at) * 2 + shortBytes.size();
    EXPECT_TRUE(AllSilent(heard, after, heard.size(), 0)) << "the first cue went on afterwards";
  };

  {
    SdlAudioSink sink(PlainMono());
    ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
    EXPECT_EQ(sink.Play("long", a, false), CueResult::Played);
    EXPECT_EQ(sink.Play("short", b, true), CueResult::Played);
  }
  // At once: little or nothing of the first cue got out.
  checkCut(ReadFile(out_), 0, 22050 / 4);

  {
    SdlAudioSink sink(PlainMono());
    ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
    const auto start = SteadyClock::now();
    EXPECT_EQ(sink.Play("long", a, false), CueResult::Played);
    EXPECT_LT(MsSince(start), 100.0) << "an asynchronous cue must return at once";
    // Let the first cue sound for a while, then cut it.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(sink.Play("short", b, true), CueResult::Played);
  }
  checkCut(ReadFile(out_), 1, static_cast<long>(longTone.size()) - 1);
}

TEST_F(SdlAudioSinkTest, MissingOrUnplayableFilesPlayTheChime) {
  const Bytes good = Pcm16Wav(22050, Tone(22050, 50, 440, 5000));
  std::mt19937 rng(7);
  Bytes noise(3000);
  for (auto& v : noise) v = static_cast<uint8_t>(rng());
  Bytes badCodec = good;
  badCodec[20] = 0x55;  // an MPEG layer 3 tag: not something SDL decodes
  const std::vector<std::string> unplayable = {
      "",                  // no file was found for the name
      dir_ + "/gone.wav",  // found, then removed
      dir_,                // a folder
      Cue("noise.wav", noise),
      Cue("empty.wav", {}),
      Cue("cut.wav", Bytes(good.begin(), good.begin() + 30)),
      Cue("codec.wav", badCodec),
  };
  SdlAudioSink::DeviceFormat format;
  {
    SdlAudioSink sink(PlainMono());
    ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
    format = *sink.Format();
    for (const auto& p : unplayable) {
      EXPECT_EQ(sink.Play("x", p, false), CueResult::PlayedDefault) << "'" << p << "'";
    }
    // Synchronous too, and the chime is heard to its end.
    const auto start = SteadyClock::now();
    EXPECT_EQ(sink.Play("x", unplayable[3], true), CueResult::PlayedDefault);
    EXPECT_GE(MsSince(start), 0.75 * kDefaultChimeMs);
    EXPECT_EQ(sink.Play("x", "", true), CueResult::PlayedDefault);
  }
  const Bytes chime = ChimeForDevice(format);
  ASSERT_FALSE(chime.empty());
  const Bytes heard = ReadFile(out_);
  // The last two chimes play whole and back to back.
  ExpectChained(heard, {chime, chime}, format, 100.0);
}

TEST_F(SdlAudioSinkTest, DamagedFilesNeverCrashThePlayer) {
  // A valid cue with bytes of its header and first samples changed at random: whatever SDL makes
  // of each, the player answers with the cue or the chime.
  const Bytes good = Pcm16Wav(22050, Tone(22050, 40, 440, 5000, 0));
  std::mt19937 rng(1234);
  SdlAudioSink sink(PlainMono());
  ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
  for (int i = 0; i < 300; ++i) {
    Bytes damaged = good;
    const int changes = 1 + static_cast<int>(rng() % 4);
    for (int c = 0; c < changes; ++c) damaged[rng() % 64] = static_cast<uint8_t>(rng());
    if (rng() % 4 == 0) damaged.resize(rng() % damaged.size());
    const auto result = sink.Play("x", Cue(NumberedName('d', i), damaged), false);
    EXPECT_TRUE(result == CueResult::Played || result == CueResult::PlayedDefault) << i;
  }
}

TEST_F(SdlAudioSinkTest, ChangedFileIsReadAgain) {
  const auto first = Tone(22050, 60, 440, 5000);
  const auto second = Tone(22050, 90, 700, 6000);
  const std::string path = Cue("cue.wav", Pcm16Wav(22050, first));
  {
    SdlAudioSink sink(PlainMono());
    ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
    EXPECT_EQ(sink.Play("cue", path, true), CueResult::Played);
    WriteFile(path, Pcm16Wav(22050, second));
    EXPECT_EQ(sink.Play("cue", path, true), CueResult::Played);
    // And a cue that turns unplayable falls back to the chime.
    WriteFile(path, Bytes(100, 0x42));
    EXPECT_EQ(sink.Play("cue", path, false), CueResult::PlayedDefault);
  }
  const Bytes heard = ReadFile(out_);
  const long a = FindFrames(heard, AsBytes(first), 2);
  const long b = FindFrames(heard, AsBytes(second), 2);
  EXPECT_GE(a, 0);
  EXPECT_GT(b, a);
}

TEST_F(SdlAudioSinkTest, NoDeviceFailsAtOnceAndIsTriedAgainLater) {
  ::setenv("SDL_AUDIODRIVER", "nonexistent", 1);
  const std::string path = Cue("t.wav", Pcm16Wav(22050, Tone(22050, 300, 440, 5000)));
  SdlAudioSink::Options patient = PlainMono();
  patient.retryMs = 60000;
  SdlAudioSink::Options eager = PlainMono();
  eager.retryMs = 0;
  const auto start = SteadyClock::now();
  SdlAudioSink sink(patient);
  SdlAudioSink other(eager);
  EXPECT_EQ(sink.Play("t", path, true), CueResult::Failed);
  EXPECT_EQ(sink.Play("t", path, false), CueResult::Failed);
  EXPECT_EQ(sink.Play("t", "", true), CueResult::Failed);
  EXPECT_EQ(other.Play("t", path, true), CueResult::Failed);
  EXPECT_LT(MsSince(start), 100.0);
  EXPECT_FALSE(sink.Format().has_value());
  EXPECT_FALSE(sink.LastError().empty());

  // A sound device appears: noticed on the next call once the retry time has passed, and
  // not before.
  UseDiskDevice(out_);
  EXPECT_EQ(sink.Play("t", path, false), CueResult::Failed);
  EXPECT_EQ(other.Play("t", path, false), CueResult::Played);
  EXPECT_TRUE(other.Format().has_value());
  EXPECT_TRUE(other.LastError().empty());
}

TEST_F(SdlAudioSinkTest, StalledDeviceDoesNotHoldUpASynchronousCue) {
  // The disk device sleeps 1.5 s between buffers: a 100 ms cue cannot finish, and the call
  // gives up after its length plus a second.
  UseDiskDevice(out_, "1500");
  const std::string path = Cue("t.wav", Pcm16Wav(22050, Tone(22050, 90, 440, 5000)));
  SdlAudioSink sink(PlainMono());
  ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
  const auto start = SteadyClock::now();
  EXPECT_EQ(sink.Play("t", path, true), CueResult::Played);
  const double took = MsSince(start);
  EXPECT_GE(took, 1000.0);
  EXPECT_LT(took, 1600.0);
}

TEST_F(SdlAudioSinkTest, VanishedDeviceNeverHangsAndIsReopened) {
  // Writes to /dev/full fail, which SDL takes as the device going away.
  UseDiskDevice("/dev/full");
  const auto tone = Tone(22050, 300, 440, 5000);
  const std::string path = Cue("t.wav", Pcm16Wav(22050, tone));
  {
    SdlAudioSink sink(PlainMono());
    ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
    for (int i = 0; i < 3; ++i) {
      const auto start = SteadyClock::now();
      EXPECT_EQ(sink.Play("t", path, true), CueResult::Played);
      EXPECT_LT(MsSince(start), 300.0 + 1000.0 + 200.0);
    }
    // Once the sound system works again, so does the player.
    UseDiskDevice(out_);
    EXPECT_EQ(sink.Play("t", path, true), CueResult::Played);
    ASSERT_TRUE(sink.Format().has_value());
  }
  EXPECT_GE(FindFrames(ReadFile(out_), AsBytes(tone), 2), 0);
}

// SDL's own threads of this process whose names start with `prefix` ("SDLAudioP" for
// playback devices).
int ThreadsNamed(const std::string& prefix) {
  int count = 0;
  std::error_code ec;
  for (const auto& task : fs::directory_iterator("/proc/self/task", ec)) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    if (std::getline(comm, name) && name.rfind(prefix, 0) == 0) ++count;
  }
  return count;
}

// Polls `done` every 5 ms for at most `timeoutMs`; whether it came true.
template <class Done>
bool WaitFor(Done done, int timeoutMs) {
  const auto start = SteadyClock::now();
  while (!done()) {
    if (MsSince(start) > timeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

TEST_F(SdlAudioSinkTest, IdleDeviceIsLetGoAndTheNextCueOpensItAgain) {
  const auto first = Tone(22050, 80, 440, 5000);
  const auto second = Tone(22050, 120, 660, 6000);
  const std::string a = Cue("a.wav", Pcm16Wav(22050, first));
  const std::string b = Cue("b.wav", Pcm16Wav(22050, second));
  SdlAudioSink::Options options = PlainMono();
  options.idleCloseMs = 200;
  options.openAtStart = false;
  SdlAudioSink sink(options);
  // Nothing is opened before the first cue.
  EXPECT_FALSE(sink.Format().has_value());
  EXPECT_EQ(ThreadsNamed("SDLAudio"), 0);

  EXPECT_EQ(sink.Play("a", a, true), CueResult::Played);
  ASSERT_TRUE(sink.Format().has_value());
  EXPECT_EQ(ThreadsNamed("SDLAudioP"), 1);
  // Cues close together keep the device: it is still there a little after the cue.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(sink.Format().has_value());
  // Then, idle, it is let go, and its thread with it.
  ASSERT_TRUE(WaitFor([&] { return !sink.Format().has_value(); }, 200 + 2000));
  EXPECT_TRUE(WaitFor([&] { return ThreadsNamed("SDLAudioP") == 0; }, 1000));

  // The next cue opens it again, is heard whole (the disk device starts a new file), and an
  // asynchronous one returns at once however long the opening took.
  const auto start = SteadyClock::now();
  EXPECT_EQ(sink.Play("b", b, false), CueResult::Played);
  EXPECT_LT(MsSince(start), 100.0);
  ASSERT_TRUE(sink.Format().has_value());
  EXPECT_TRUE(WaitFor([&] { return FindFrames(ReadFile(out_), AsBytes(second), 2) >= 0; }, 2000));
  // And a device that was let go can go again.
  EXPECT_TRUE(WaitFor([&] { return !sink.Format().has_value(); }, 200 + 2000));
}

TEST_F(SdlAudioSinkTest, StalledDeviceBeingLetGoDoesNotHoldUpACue) {
  // The disk device sleeps 1.5 s between buffers, so letting it go takes that long; a cue that
  // comes meanwhile gives up at the bound and fails rather than wait it out.
  UseDiskDevice(out_, "1500");
  const std::string path = Cue("t.wav", Pcm16Wav(22050, Tone(22050, 90, 440, 5000)));
  SdlAudioSink::Options options = PlainMono();
  options.idleCloseMs = 20;
  SdlAudioSink sink(options);
  ASSERT_TRUE(sink.Format().has_value()) << sink.LastError();
  ASSERT_TRUE(WaitFor([&] { return !sink.Format().has_value(); }, 1000));
  const auto start = SteadyClock::now();
  EXPECT_EQ(sink.Play("t", path, true), CueResult::Failed);
  const double took = MsSince(start);
  EXPECT_GE(took, SdlAudioSink::kCloseWaitMs - 20.0);
  EXPECT_LT(took, SdlAudioSink::kCloseWaitMs + 200.0);
  // Once it is gone, cues play again.
  EXPECT_TRUE(WaitFor([&] { return ThreadsNamed("SDLAudioP") == 0; }, 3000));
  EXPECT_EQ(sink.Play("t", path, false), CueResult::Played);
}

}  // namespace

int main(int argc, char** argv) {
  // The disk driver announces itself at every open; keep the test output readable.
  SDL_LogSetOutputFunction([](void*, int, SDL_LogPriority, const char*) {}, nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
