// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message box: a dialog whose template is made at run time from its text, caption and
// flags. MB_YESNO has no Cancel, so Esc and the close box do nothing there; MB_OK hears Esc
// as OK.
#include <memory>
#include <string>

#include "common/CDialog.h"

class CMessageBox : public CDialog {
 public:
  CMessageBox(const std::string& text, const std::string& caption, UINT flags, CWnd* owner);
  ~CMessageBox() override;

 protected:
  void OnOK() override;
  void OnCancel() override;
  const MsgMap* GetMessageMap() const override;

 private:
  static std::unique_ptr<DialogTemplate> Build(const std::string& text,
                                               const std::string& caption, UINT flags);
  void OnYes() { EndDialog(IDYES); }
  void OnNo() { EndDialog(IDNO); }

  std::unique_ptr<DialogTemplate> m_tmpl;
  UINT m_flags;
};

// Shows a message box modal to `owner` (none: the main window) and returns the button that
// ended it: IDOK, IDYES or IDNO.
int MessageBox(CWnd* owner, const char* text, const char* caption, UINT type);
