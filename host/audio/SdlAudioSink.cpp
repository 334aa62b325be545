// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/audio/SdlAudioSink.h"

#include <SDL.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/DefaultChime.h"
#include "host/audio/SdlLibrary.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// Cues are short. Files bigger than this are not read at all, and a cue that would take more
// than this much memory once converted to the device's format is not played.
constexpr std::uintmax_t kMaxFileBytes = 16u << 20;
constexpr double kMaxCueSeconds = 120.0;
// The decoded cues kept for the next call; past this the cache starts afresh.
constexpr size_t kMaxCacheBytes = 32u << 20;

// A cue ready for the device: whole frames in the device's format.
struct Cue {
  std::vector<uint8_t> bytes;
};

struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t mtimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of a regular file no larger than kMaxFileBytes, or nothing.
std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
      static_cast<std::uintmax_t>(st.st_size) > kMaxFileBytes) {
    return std::nullopt;
  }
  FileStamp stamp;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out->clear();
  char chunk[1 << 16];
  while (in) {
    in.read(chunk, sizeof chunk);
    const auto got = static_cast<size_t>(in.gcount());
    if (out->size() + got > kMaxFileBytes) return false;  // it grew since we looked
    out->insert(out->end(), chunk, chunk + got);
  }
  return !in.bad();
}

}  // namespace

struct SdlAudioSink::Impl {
  explicit Impl(const Options& o) : options(o) {
    options.rate = std::clamp(options.rate, 8000, 192000);
    options.channels = std::clamp(options.channels, 1, 8);
    options.bufferFrames = std::clamp(options.bufferFrames, 32, 8192);
    options.retryMs = std::max(options.retryMs, 0);
    options.idleCloseMs = std::max(options.idleCloseMs, 0);
  }

  ~Impl() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      quit = true;
    }
    signal.notify_all();
    if (closer.joinable()) closer.join();
    CloseDevice();
    QuitSubsystem();
  }

  Options options;
  const SdlLibrary* sdl = nullptr;  // loaded with the first device
  bool subsystemUp = false;
  SDL_AudioDeviceID device = 0;  // written under `mutex`; only the closer and Play touch it
  SDL_AudioSpec have{};
  int bytesPerFrame = 0;
  std::optional<SteadyClock::time_point> lastFailure;
  std::string lastError;

  // Owned by the UI thread; the callback reads them under the device lock.
  std::shared_ptr<const Cue> playing;
  size_t position = 0;     // bytes of `playing` handed to the device so far
  uint64_t playingId = 0;  // which Play call `playing` came from
  bool finished = true;    // the device has come back after the cue's last byte
  uint64_t nextId = 0;

  // Shared by the UI thread, the callback and the closer, under `mutex`; `signal` tells of
  // any change. Lock order: SDL's device lock before `mutex`, never the other way round, and
  // no SDL call with `mutex` held.
  std::mutex mutex;
  std::condition_variable signal;
  // The last cue the device has taken to its end, and since when nothing has sounded (none
  // while a cue sounds).
  uint64_t doneId = 0;
  std::optional<SteadyClock::time_point> idleSince;
  bool inPlay = false;   // the UI thread is in Play and may use the device
  bool closing = false;  // the closer is letting the device go
  bool quit = false;
  std::thread closer;

  struct CacheEntry {
    FileStamp stamp;
    std::shared_ptr<const Cue> cue;  // null: the file cannot be played
  };
  std::unordered_map<std::string, CacheEntry> cache;
  size_t cacheBytes = 0;
  std::shared_ptr<const Cue> chime;

  static void SDLCALL Fill(void* userdata, Uint8* out, int len) {
    static_cast<Impl*>(userdata)->FillBuffer(out, static_cast<size_t>(len));
  }

  // Runs on SDL's audio thread with the device locked. Never allocates or frees.
  void FillBuffer(Uint8* out, size_t len) {
    const Cue* cue = playing.get();
    size_t copied = 0;
    if (cue && position < cue->bytes.size()) {
      copied = std::min(len, cue->bytes.size() - position);
      std::memcpy(out, cue->bytes.data() + position, copied);
      position += copied;
    }
    std::memset(out + copied, have.silence, len - copied);
    // The buffer holding the cue's last byte went out on an earlier call; the device asking
    // again means it has taken that buffer.
    if (cue && !finished && copied == 0) {
      finished = true;
      {
        std::lock_guard<std::mutex> lock(mutex);
        doneId = playingId;
        idleSince = SteadyClock::now();
      }
      signal.notify_all();
    }
  }

  // The closer's whole life: wait for the device to sit idle long enough, then let it go.
  void CloseWhenIdle() {
    std::unique_lock<std::mutex> lock(mutex);
    while (!quit) {
      if (device == 0 || inPlay || !idleSince) {
        signal.wait(lock);
        continue;
      }
      const auto due = *idleSince + std::chrono::milliseconds(options.idleCloseMs);
      if (SteadyClock::now() < due) {
        signal.wait_until(lock, due);
        continue;
      }
      closing = true;
      lock.unlock();
      CloseDevice();  // Play waits for this, so the device and the cues are ours here
      lock.lock();
      closing = false;
      signal.notify_all();
    }
  }

  // Marks the UI thread as using the device; false when an idle close did not finish in time.
  bool EnterPlay() {
    std::unique_lock<std::mutex> lock(mutex);
    if (!signal.wait_for(lock, std::chrono::milliseconds(kCloseWaitMs), [&] { return !closing; }))
      return false;
    inPlay = true;
    return true;
  }

  void LeavePlay() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      inPlay = false;
    }
    signal.notify_all();
  }

  bool RetryAllowed() const {
    return !lastFailure ||
           SteadyClock::now() - *lastFailure >= std::chrono::milliseconds(options.retryMs);
  }

  void Fail() {
    const char* why = sdl->GetError();
    lastError = why && *why ? why : "the sound device could not be opened";
    lastFailure = SteadyClock::now();
  }

  // The sound system stays up between devices: opening it afresh would cost each first cue
  // the time it takes to find the sound server. It keeps no thread that wakes on its own.
  void QuitSubsystem() {
    if (!subsystemUp) return;
    sdl->QuitSubSystem(SDL_INIT_AUDIO);
    subsystemUp = false;
  }

  void CloseDevice() {
    if (device != 0) {
      sdl->CloseAudioDevice(device);  // waits for the audio thread to finish
      std::lock_guard<std::mutex> lock(mutex);
      device = 0;
    }
    playing.reset();
    position = 0;
    finished = true;
    // Cues were converted for this device; another may want another format.
    cache.clear();
    cacheBytes = 0;
    chime.reset();
  }

  // True when a device is open and working, opening one if need be.
  bool EnsureDevice() {
    if (device != 0) {
      if (sdl->GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED) return true;
      // The device went away. Start over: the sound system may have changed under us.
      CloseDevice();
      QuitSubsystem();
      lastFailure.reset();
    }
    if (!RetryAllowed()) return false;
    lastError.clear();
    if (!sdl && !(sdl = SdlLibrary::Get())) {
      lastError = SdlLibrary::Error();
      lastFailure = SteadyClock::now();
      return false;
    }
    if (!subsystemUp) {
      sdl->SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Quorblex Pro");
      // The program's own signals stay the program's: SDL would otherwise swallow SIGTERM.
      sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
      if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Fail();
        return false;
      }
      subsystemUp = true;
    }
    SDL_AudioSpec want{};
    want.freq = options.rate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(options.channels);
    want.samples = static_cast<Uint16>(options.bufferFrames);
    want.callback = &Impl::Fill;
    want.userdata = this;
    have = SDL_AudioSpec{};
    // The buffer size stays as asked: a bigger one would widen the gaps between cues.
    const SDL_AudioDeviceID opened =
        sdl->OpenAudioDevice(nullptr, 0, &want, &have,
                             SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE |
                                 SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    {
      std::lock_guard<std::mutex> lock(mutex);
      device = opened;
      idleSince = SteadyClock::now();
    }
    bytesPerFrame = static_cast<int>(SDL_AUDIO_BITSIZE(have.format) / 8) * have.channels;
    if (device == 0 || have.freq <= 0 || bytesPerFrame <= 0) {
      Fail();
      CloseDevice();
      QuitSubsystem();
      return false;
    }
    lastFailure.reset();
    sdl->PauseAudioDevice(device, 0);
    if (!closer.joinable()) closer = std::thread([this] { CloseWhenIdle(); });
    signal.notify_all();
    return true;
  }

  // Converts whole frames of `data` (in the given format) to the device's format. The whole
  // cue goes through one SDL_ConvertAudio: SDL 2.26's SDL_AudioStream loses the last few
  // hundred frames of a resampled cue even when flushed.
  std::shared_ptr<const Cue> Convert(SDL_AudioFormat format, int channels, int rate,
                                     const uint8_t* data, size_t size) const {
    const size_t srcFrame = static_cast<size_t>(SDL_AUDIO_BITSIZE(format) / 8) *
                            static_cast<size_t>(std::max(channels, 0));
    if (srcFrame == 0 || rate <= 0 || channels > 255) return nullptr;
    const size_t frames = size / srcFrame;
    if (static_cast<double>(frames) / rate > kMaxCueSeconds) return nullptr;
    auto cue = std::make_shared<Cue>();
    if (frames == 0) return cue;
    SDL_AudioCVT cvt;
    const int built = sdl->BuildAudioCVT(&cvt, format, static_cast<Uint8>(channels), rate,
                                         have.format, have.channels, have.freq);
    if (built < 0) return nullptr;
    const size_t bytes = frames * srcFrame;
    if (built == 0) {
      cue->bytes.assign(data, data + bytes);
      return cue;
    }
    const uint64_t room = static_cast<uint64_t>(bytes) * static_cast<uint64_t>(cvt.len_mult);
    if (cvt.len_mult <= 0 || room > static_cast<uint64_t>(INT32_MAX)) return nullptr;
    cue->bytes.resize(static_cast<size_t>(room));
    std::memcpy(cue->bytes.data(), data, bytes);
    cvt.buf = cue->bytes.data();
    cvt.len = static_cast<int>(bytes);
    if (sdl->ConvertAudio(&cvt) != 0 || cvt.len_cvt < 0 ||
        static_cast<uint64_t>(cvt.len_cvt) > room) {
      return nullptr;
    }
    const auto out = static_cast<size_t>(cvt.len_cvt);
    cue->bytes.resize(out - out % static_cast<size_t>(bytesPerFrame));
    cue->bytes.shrink_to_fit();
    return cue;
  }

  std::shared_ptr<const Cue> Decode(const std::string& path) const {
    std::vector<uint8_t> file;
    if (!ReadWholeFile(path, &file) || file.empty()) return nullptr;
    SDL_RWops* rw = sdl->RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (!rw) return nullptr;
    SDL_AudioSpec stored{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!sdl->LoadWAV_RW(rw, 1, &stored, &samples, &length)) return nullptr;
    auto cue = Convert(stored.format, stored.channels, stored.freq, samples, length);
    sdl->FreeWAV(samples);
    return cue;
  }

  // The cue for `path`, or null when there is no such file or it cannot be played.
  std::shared_ptr<const Cue> Load(const std::string& path) {
    if (path.empty()) return nullptr;
    const auto stamp = StampOf(path);
    if (!stamp) return nullptr;
    if (auto it = cache.find(path); it != cache.end()) {
      if (it->second.stamp == *stamp) return it->second.cue;
      if (it->second.cue) cacheBytes -= it->second.cue->bytes.size();
      cache.erase(it);
    }
    auto cue = Decode(path);
    const size_t size = cue ? cue->bytes.size() : 0;
    if (cacheBytes + size > kMaxCacheBytes) {
      cache.clear();
      cacheBytes = 0;
    }
    if (size <= kMaxCacheBytes) {
      cache[path] = CacheEntry{*stamp, cue};
      cacheBytes += size;
    }
    return cue;
  }

  std::shared_ptr<const Cue> Chime() {
    if (!chime) {
      const std::vector<int16_t> samples = DefaultChimeSamples(have.freq);
      chime = Convert(AUDIO_S16SYS, 1, have.freq, reinterpret_cast<const uint8_t*>(samples.data()),
                      samples.size() * sizeof(int16_t));
      if (!chime) chime = std::make_shared<Cue>();
    }
    return chime;
  }

  void Start(std::shared_ptr<const Cue> cue, bool sync) {
    const uint64_t id = ++nextId;
    {
      std::lock_guard<std::mutex> lock(mutex);
      idleSince.reset();
    }
    sdl->LockAudioDevice(device);
    std::swap(playing, cue);
    position = 0;
    playingId = id;
    finished = false;
    sdl->UnlockAudioDevice(device);
    cue.reset();  // the one cut short, freed here rather than on the audio thread
    if (!sync) return;

    const double seconds = static_cast<double>(playing->bytes.size()) / bytesPerFrame / have.freq;
    const auto deadline = SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(
                                                   std::chrono::duration<double>(seconds + 1.0));
    std::unique_lock<std::mutex> lock(mutex);
    signal.wait_until(lock, deadline, [&] { return doneId >= id; });
  }

  CueResult Play(const std::string& path, bool sync) {
    if (!EnsureDevice()) return CueResult::Failed;
    auto cue = Load(path);
    const CueResult result = cue ? CueResult::Played : CueResult::PlayedDefault;
    if (!cue) cue = Chime();
    Start(std::move(cue), sync);
    return result;
  }
};

SdlAudioSink::SdlAudioSink() : SdlAudioSink(Options{}) {}

SdlAudioSink::SdlAudioSink(const Options& options) : impl_(std::make_unique<Impl>(options)) {
  if (impl_->options.openAtStart) impl_->EnsureDevice();
}

SdlAudioSink::~SdlAudioSink() = default;

CueResult SdlAudioSink::Play(const std::string& /*name*/, const std::string& path, bool sync) {
  if (!impl_->EnterPlay()) return CueResult::Failed;
  const CueResult result = impl_->Play(path, sync);
  impl_->LeavePlay();
  return result;
}

std::optional<SdlAudioSink::DeviceFormat> SdlAudioSink::Format() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  if (impl_->device == 0 || impl_->closing) return std::nullopt;
  DeviceFormat format;
  format.rate = impl_->have.freq;
  format.channels = impl_->have.channels;
  format.sdlFormat = impl_->have.format;
  format.bytesPerFrame = impl_->bytesPerFrame;
  format.bufferFrames = impl_->have.samples;
  return format;
}

std::string SdlAudioSink::LastError() const { return impl_->lastError; }
