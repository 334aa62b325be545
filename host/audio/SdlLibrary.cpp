// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/audio/SdlLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace {

// The name the library is installed under on every Linux system, whatever its minor version.
constexpr const char* kSoName = "libSDL2-2.0.so.0";

std::string& LoadError() {
  static std::string error;
  return error;
}

template <class F>
bool Find(void* handle, const char* name, F* out) {
  *out = reinterpret_cast<F>(::dlsym(handle, name));
  if (*out) return true;
  LoadError() = std::string("SDL 2 lacks ") + name;
  return false;
}

std::optional<SdlLibrary> Load() {
  void* handle = ::dlopen(kSoName, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = ::dlerror();
    LoadError() = std::string("cannot load ") + kSoName + (why ? std::string(": ") + why : "");
    return std::nullopt;
  }
  SdlLibrary l{};
  const bool all =
      Find(handle, "SDL_SetHint", &l.SetHint) && Find(handle, "SDL_GetError", &l.GetError) &&
      Find(handle, "SDL_InitSubSystem", &l.InitSubSystem) &&
      Find(handle, "SDL_QuitSubSystem", &l.QuitSubSystem) &&
      Find(handle, "SDL_OpenAudioDevice", &l.OpenAudioDevice) &&
      Find(handle, "SDL_CloseAudioDevice", &l.CloseAudioDevice) &&
      Find(handle, "SDL_PauseAudioDevice", &l.PauseAudioDevice) &&
      Find(handle, "SDL_GetAudioDeviceStatus", &l.GetAudioDeviceStatus) &&
      Find(handle, "SDL_LockAudioDevice", &l.LockAudioDevice) &&
      Find(handle, "SDL_UnlockAudioDevice", &l.UnlockAudioDevice) &&
      Find(handle, "SDL_BuildAudioCVT", &l.BuildAudioCVT) &&
      Find(handle, "SDL_ConvertAudio", &l.ConvertAudio) &&
      Find(handle, "SDL_RWFromConstMem", &l.RWFromConstMem) &&
      Find(handle, "SDL_LoadWAV_RW", &l.LoadWAV_RW) && Find(handle, "SDL_FreeWAV", &l.FreeWAV);
  // Once loaded it stays: SDL's threads and hints may outlive any one player.
  if (!all) return std::nullopt;
  return l;
}

}  // namespace

const SdlLibrary* SdlLibrary::Get() {
  static const std::optional<SdlLibrary> library = Load();
  return library ? &*library : nullptr;
}

std::string SdlLibrary::Error() { return LoadError(); }
