// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CScannerApp.h"

#include "app/CScannerDlg.h"

// The one application object, made before the program starts.
CScannerApp theApp;

BOOL CScannerApp::InitInstance() {
  Enable3dControls();
  CScannerDlg dlg(nullptr);
  m_pMainWnd = &dlg;
  struct ClearMainWnd {
    CWnd*& slot;
    ~ClearMainWnd() { slot = nullptr; }
  } clear{m_pMainWnd};
  intptr_t nResponse = dlg.DoModal();
  if (nResponse == IDOK) {
    // Nothing to do: Minimize only hides the window, so this is not reached from its buttons.
  } else if (nResponse == IDCANCEL) {
    // Exit, Esc or Close: the program ends.
  }
  // The dialog has ended: end the program rather than start a message pump.
  return FALSE;
}
