// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CMessageBox.h"

#include <algorithm>

namespace {
// Rough width of a line of text in dialog units (about 4 units per character).
int TextWidth(const std::string& line) { return static_cast<int>(line.size()) * 4 + 4; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t nl = text.find('\n', start);
    lines.push_back(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return lines;
}
}  // namespace

CMessageBox::CMessageBox(const std::string& text, const std::string& caption, UINT flags,
                         CWnd* owner)
    : CDialog(static_cast<const DialogTemplate*>(nullptr), owner),
      m_tmpl(Build(text, caption, flags)),
      m_flags(flags) {
  SetTemplate(m_tmpl.get());
}

CMessageBox::~CMessageBox() = default;

std::unique_ptr<DialogTemplate> CMessageBox::Build(const std::string& text,
                                                   const std::string& caption, UINT flags) {
  auto t = std::make_unique<DialogTemplate>();
  t->id = kMessageBoxTemplate;
  t->caption = caption;
  t->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  t->centered = true;
  t->boxFlags = flags;
  auto lines = Lines(text);
  int textWidth = 0;
  for (const auto& l : lines) textWidth = std::max(textWidth, TextWidth(l));
  textWidth = std::clamp(textWidth, 60, 300);
  int textHeight = static_cast<int>(lines.size()) * 8;
  bool icon = (flags & MB_ICONMASK) != 0;
  int left = icon ? 40 : 10;
  int buttonsTop = std::max(textHeight, icon ? 20 : 0) + 18;
  bool yesNo = (flags & MB_TYPEMASK) == MB_YESNO;
  int buttons = yesNo ? 2 : 1;
  int buttonsWidth = buttons * 50 + (buttons - 1) * 6;
  int width = std::max(left + textWidth + 10, buttonsWidth + 20);
  t->rect = {0, 0, width, buttonsTop + 14 + 8};
  if (icon)
    t->controls.push_back({kMessageBoxIconId, ControlKind::Icon, "",
                           static_cast<int>(flags & MB_ICONMASK), {10, 10, 20, 20}, 0, 0});
  t->controls.push_back({kMessageBoxTextId, ControlKind::Text, text, 0,
                         {left, 10 + (icon && textHeight < 20 ? (20 - textHeight) / 2 : 0),
                          textWidth, textHeight},
                         SS_LEFT | SS_NOPREFIX, 0});
  int x = (width - buttonsWidth) / 2;
  if (yesNo) {
    t->controls.push_back({IDYES, ControlKind::PushButton, "&Yes", 0, {x, buttonsTop, 50, 14},
                           BS_DEFPUSHBUTTON | WS_TABSTOP, 0});
    t->controls.push_back({IDNO, ControlKind::PushButton, "&No", 0, {x + 56, buttonsTop, 50, 14},
                           WS_TABSTOP, 0});
  } else {
    t->controls.push_back({IDOK, ControlKind::PushButton, "OK", 0, {x, buttonsTop, 50, 14},
                           BS_DEFPUSHBUTTON | WS_TABSTOP, 0});
  }
  return t;
}

const MsgMap* CMessageBox::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnCommand<IDYES, &CMessageBox::OnYes>(),
      OnCommand<IDNO, &CMessageBox::OnNo>(),
  };
  static const MsgMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

int MessageBox(CWnd* owner, const char* text, const char* caption, UINT type) {
  CMessageBox box(text ? text : "", caption ? caption : "", type, owner);
  return static_cast<int>(box.DoModal());
}

void CMessageBox::OnOK() { EndDialog(IDOK); }

void CMessageBox::OnCancel() {
  // Without a Cancel button only an OK box may be left with Esc, and it answers OK.
  if ((m_flags & MB_TYPEMASK) == MB_OK) EndDialog(IDOK);
}
