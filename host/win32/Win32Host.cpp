// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/Win32Host.h"

#include "common/InputEvent.h"
#include "common/WindowSystem.h"
#include "host/pictures/PictureSources.h"
#include "host/win32/Desktop.h"
#include "host/win32/DialogModel.h"

namespace {

ViewKind KindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton:
      return ViewKind::PushButton;
    case ControlKind::CheckBox:
      return ViewKind::CheckBox;
    case ControlKind::GroupBox:
      return ViewKind::GroupBox;
    case ControlKind::Text:
      return ViewKind::Text;
    case ControlKind::Picture:
      return ViewKind::Picture;
    case ControlKind::BlackRect:
      return ViewKind::BlackRect;
    case ControlKind::BlackFrame:
      return ViewKind::BlackFrame;
    case ControlKind::Trackbar:
      return ViewKind::Trackbar;
    case ControlKind::Animation:
      return ViewKind::Animation;
    case ControlKind::Icon:
      return ViewKind::Icon;
  }
  return ViewKind::Text;
}

ViewChange ChangeOf(Change what) {
  switch (what) {
    case Change::Text:
      return ViewChange::Text;
    case Change::Picture:
      return ViewChange::Picture;
    case Change::Enabled:
      return ViewChange::Enabled;
    case Change::Visible:
      return ViewChange::Visible;
    case Change::Checked:
      return ViewChange::Checked;
    case Change::Trackbar:
      return ViewChange::Trackbar;
    case Change::Tooltip:
      return ViewChange::Tooltip;
    case Change::ClipOpen:
      return ViewChange::ClipOpen;
    case Change::ClipPlay:
      return ViewChange::ClipPlay;
    case Change::ClipClose:
      return ViewChange::ClipClose;
  }
  return ViewChange::Text;
}

DuRect RectOf(const Rect& r) { return DuRect{r.x, r.y, r.cx, r.cy}; }

ControlModel ModelOf(const Window& c) {
  ControlModel m;
  m.handle = c.hwnd;
  m.kind = KindOf(c.kind);
  m.id = c.id;
  m.rect = RectOf(c.rect);
  m.style = c.style;
  m.exStyle = c.exStyle;
  m.text = c.text;
  m.enabled = c.enabled;
  m.visible = c.visible;
  m.checked = c.checked;
  m.trackMin = c.trackMin;
  m.trackMax = c.trackMax;
  m.trackPos = c.trackPos;
  m.tooltip = c.tooltip;
  m.bitmapId = c.bitmapId;
  m.clipName = c.clipName;
  m.clip = c.clip;
  m.clipFrom = c.clipFrom;
  m.clipTo = c.clipTo;
  m.clipRepeat = c.clipRepeat;
  return m;
}

std::vector<MenuEntry> MenuOf(const Window& d) {
  std::vector<MenuEntry> menu;
  for (const MenuItem& item : d.sysMenu) menu.push_back({item.id, item.text});
  return menu;
}

DialogModel ModelOfDialog(const Window& d) {
  const WindowSystem& ws = WindowSystem::Get();
  DialogModel m;
  m.handle = d.hwnd;
  m.owner = d.owner;
  m.templateId = d.templateId;
  m.caption = d.text;
  m.rect = RectOf(d.rect);
  m.style = d.style;
  m.exStyle = d.exStyle;
  m.centered = d.tmpl && d.tmpl->centered;
  m.iconFlags = d.boxFlags & MB_ICONMASK;
  for (HWND h : d.children)
    if (const Window* c = ws.Find(h)) m.controls.push_back(ModelOf(*c));
  m.menu = MenuOf(d);
  m.closeBoxEnabled = d.closeBoxEnabled;
  m.visible = d.visible;
  m.minimized = d.minimized;
  m.enabled = d.enabled;
  m.focus = d.focus;
  m.defaultLook = ws.DefaultLookButton(d);
  return m;
}

Key KeyOf(KeyName key) {
  switch (key) {
    case KeyName::Enter:
      return Key::Enter;
    case KeyName::Escape:
      return Key::Escape;
    case KeyName::Space:
      return Key::Space;
    case KeyName::Tab:
      return Key::Tab;
    case KeyName::ShiftTab:
      return Key::ShiftTab;
    case KeyName::Left:
      return Key::Left;
    case KeyName::Right:
      return Key::Right;
    case KeyName::Up:
      return Key::Up;
    case KeyName::Down:
      return Key::Down;
    case KeyName::Home:
      return Key::Home;
    case KeyName::End:
      return Key::End;
    case KeyName::PageUp:
      return Key::PageUp;
    case KeyName::PageDown:
      return Key::PageDown;
    case KeyName::Letter:
      return Key::Letter;
  }
  return Key::Enter;
}

InputEvent::Kind InputKindOf(UserInput::Kind kind) {
  using K = InputEvent::Kind;
  switch (kind) {
    case UserInput::Kind::Click:
      return K::Click;
    case UserInput::Kind::Key:
      return K::Key;
    case UserInput::Kind::Close:
      return K::Close;
    case UserInput::Kind::SysCommand:
      return K::SysCommand;
    case UserInput::Kind::Tray:
      return K::Tray;
    case UserInput::Kind::Slide:
      return K::Slide;
    case UserInput::Kind::Taskbar:
      return K::Taskbar;
  }
  return K::Click;
}

InputEvent EventOf(const UserInput& input) {
  InputEvent e;
  e.kind = InputKindOf(input.kind);
  e.target = input.target;
  e.id = input.id;
  e.pos = input.pos;
  e.key = KeyOf(input.key);
  e.letter = input.letter;
  e.alt = input.alt;
  return e;
}

// The drawing of a compiled-in picture that serves a screen of `ratio`.
Drawing DrawingFor(int id, double ratio) {
  double chosen = PictureSources::Choose(PictureSources::RatiosOf(id), ratio);
  if (chosen == 0) return {};
  Resources::Blob blob = PictureSources::Find(id, chosen);
  return Drawing{chosen, blob.data, blob.size};
}

}  // namespace

Win32Host::Win32Host(const Clock& clock) : desktop_(std::make_unique<Desktop>(clock, DrawingFor)) {}

Win32Host::~Win32Host() = default;

void Win32Host::Wait(std::int64_t deadline, InputSink& sink) {
  desktop_->Wait(deadline, [&sink](const UserInput& input) { sink.Push(EventOf(input)); });
}

void Win32Host::WindowCreated(const Window& dialog) { desktop_->Create(ModelOfDialog(dialog)); }

void Win32Host::WindowDestroyed(const Window& dialog) { desktop_->Destroy(dialog.hwnd); }

void Win32Host::WindowShown(const Window& dialog, bool initial) {
  desktop_->Shown(ModelOfDialog(dialog), initial);
}

void Win32Host::WindowEnabled(const Window& dialog) {
  desktop_->Enabled(dialog.hwnd, dialog.enabled);
}

void Win32Host::WindowRaised(const Window& dialog) { desktop_->Raised(dialog.hwnd); }

void Win32Host::FocusChanged(const Window& dialog) {
  desktop_->FocusChanged(dialog.hwnd, dialog.focus, WindowSystem::Get().DefaultLookButton(dialog));
}

void Win32Host::MenuChanged(const Window& dialog) {
  desktop_->MenuChanged(dialog.hwnd, MenuOf(dialog), dialog.closeBoxEnabled);
}

void Win32Host::ControlChanged(const Window& dialog, const Window& control, Change what) {
  desktop_->ControlChanged(dialog.hwnd, ModelOf(control), ChangeOf(what));
}

void Win32Host::ModalEnded(int, int) { desktop_->ModalEnded(); }

bool Win32Host::TrayAdd(const std::string& tip) { return desktop_->TrayAdd(tip); }

void Win32Host::TrayDelete() { desktop_->TrayDelete(); }

void Win32Host::ShowHelp(const std::string&, const std::string& path) { desktop_->ShowHelp(path); }
