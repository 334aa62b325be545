// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CWinApp.h"

#include "common/ProfileStore.h"

namespace {
CWinApp* g_app = nullptr;

std::string& ProfilePathSlot() {
  static std::string path;
  return path;
}
}  // namespace

CWinApp::CWinApp(const char*) { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetProfilePath(std::string path) { ProfilePathSlot() = std::move(path); }

const std::string& CWinApp::ProfilePath() { return ProfilePathSlot(); }

UINT CWinApp::GetProfileIntA(const char* section, const char* entry, int nDefault) {
  ProfileStore store(ProfilePath());
  return static_cast<UINT>(store.GetInt(section, entry, nDefault));
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int nValue) {
  WindowSystem::Get().observer().ProfileWrite(section, entry, nValue);
  ProfileStore store(ProfilePath());
  return store.WriteInt(section, entry, nValue) ? TRUE : FALSE;
}

// Icons are compiled in; the handle is the resource number.
HICON CWinApp::LoadIcon(UINT nIDResource) const { return static_cast<HICON>(nIDResource); }

int RunApplication() {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  // InitInstance runs the whole program; there is no message pump of our own after it.
  app->InitInstance();
  return app->ExitInstance();
}
