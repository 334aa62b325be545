// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object: there is one, made before the program starts. It keeps the program's
// profile and its main window pointer; RunApplication drives it.
#include <string>

#include "common/CWnd.h"

class CWinApp {
 public:
  explicit CWinApp(const char* lpszAppName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance();
  virtual int ExitInstance();

  UINT GetProfileIntA(const char* section, const char* entry, int nDefault);
  // FALSE when the profile could not be written; errno then says why.
  BOOL WriteProfileInt(const char* section, const char* entry, int nValue);
  HICON LoadIcon(UINT nIDResource) const;
  void Enable3dControls() {}

  // Where the profile lives; the host sets it before the program starts.
  static void SetProfilePath(std::string path);
  static const std::string& ProfilePath();

  CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();

// Runs the application object as the framework's entry point did: InitInstance, then
// ExitInstance; returns the process's exit code.
int RunApplication();
