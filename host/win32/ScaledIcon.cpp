// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/ScaledIcon.h"

HICON ScaledIcon::Load(HINSTANCE instance, const wchar_t* name, int side) {
  using LoadScaled = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  if (HMODULE controls = GetModuleHandleW(L"comctl32.dll")) {
    auto load = reinterpret_cast<LoadScaled>(
        reinterpret_cast<void*>(GetProcAddress(controls, "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (load && SUCCEEDED(load(instance, name, side, side, &icon))) return icon;
  }
  return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
}
