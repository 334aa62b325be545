// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/SystemCalls.h"

// clang-format off
#include <windows.h>
#include <initguid.h>
#include <oleacc.h>
#include <shellapi.h>
// clang-format on

namespace {
// LiveSetting_PROPID, which mingw-w64's oleacc.h lacks.
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};

class RealCalls : public SystemCalls {};

// Sets one property of `window`'s client through the annotation service, made for the call: a
// window sets a handful, and the service then lives no longer than the apartment it was made in.
// COM loads its DLL from the system folder; the program imports nothing more for it.
void SetInt(HWND window, const GUID& property, int value) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services))))
    return;
  VARIANT v{};  // empty, as VariantInit leaves it
  v.vt = VT_I4;
  v.lVal = value;
  services->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, v);
  services->Release();
}
}  // namespace

SystemCalls& SystemCalls::Real() {
  static RealCalls calls;
  return calls;
}

bool SystemCalls::SetForeground(HWND window) { return SetForegroundWindow(window) != FALSE; }

HWND SystemCalls::Foreground() { return GetForegroundWindow(); }

void SystemCalls::Flash(HWND window) {
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = window;
  flash.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;
  FlashWindowEx(&flash);
}

bool SystemCalls::NotifyIcon(DWORD message, NOTIFYICONDATAW& data) {
  return Shell_NotifyIconW(message, &data) != FALSE;
}

bool SystemCalls::TaskbarPresent() { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }

HFONT SystemCalls::MakeFont(const LOGFONTW& font) { return CreateFontIndirectW(&font); }

void SystemCalls::SetRole(HWND window, int role) { SetInt(window, PROPID_ACC_ROLE, role); }

void SystemCalls::MarkLive(HWND window) {
  SetInt(window, kLiveSettingProperty, Accessibility::kPolite);
}

void SystemCalls::Announce(HWND window, DWORD event, LONG object) {
  NotifyWinEvent(event, window, object, CHILDID_SELF);
}
