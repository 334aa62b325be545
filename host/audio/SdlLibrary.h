// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SDL 2, loaded when the first cue needs it rather than with the program. Debian's SDL brings
// some thirty libraries of its own (every sound and video system it can drive); loading them
// at start cost the first window about as much time as all of Qt's set-up, and the memory
// stayed taken even when sounds are off. Loaded once, kept to the end of the process.
//
// Only SdlAudioSink uses it; it calls exactly these functions, with SDL's own signatures.
#include <SDL.h>

#include <string>

struct SdlLibrary {
  // SDL's functions, or nullptr when the library cannot be loaded (`Error` then says why).
  static const SdlLibrary* Get();
  static std::string Error();

  decltype(&SDL_SetHint) SetHint;
  decltype(&SDL_GetError) GetError;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus;
  decltype(&SDL_LockAudioDevice) LockAudioDevice;
  decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice;
  decltype(&SDL_BuildAudioCVT) BuildAudioCVT;
  decltype(&SDL_ConvertAudio) ConvertAudio;
  decltype(&SDL_RWFromConstMem) RWFromConstMem;
  decltype(&SDL_LoadWAV_RW) LoadWAV_RW;
  decltype(&SDL_FreeWAV) FreeWAV;
};
