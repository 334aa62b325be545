// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/DialogWindow.h"

#include <algorithm>

#include "host/win32/CheckBoxView.h"
#include "host/win32/ClipView.h"
#include "host/win32/GroupBoxView.h"
#include "host/win32/IconView.h"
#include "host/win32/KeyInput.h"
#include "host/shared/Layout.h"
#include "host/shared/ShowState.h"
#include "host/win32/PictureView.h"
#include "host/win32/ProgramIcon.h"
#include "host/win32/PushButtonView.h"
#include "host/win32/StaticFrameView.h"
#include "host/win32/StaticTextView.h"
#include "host/win32/TrackbarView.h"
#include "host/win32/WideText.h"

namespace {
PixelRect PixelsOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }


constexpr DWORD kFrameStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;

// Like the dialog manager's windows, it paints its background under its controls too: a group
// box or a frame draws only its lines and leaves the rest to the dialog.
DWORD WindowStyle(const DialogModel& d) { return d.style & kFrameStyles; }

DWORD WindowExStyle(const DialogModel& d) {
  DWORD ex = d.exStyle & WS_EX_APPWINDOW;
  if (d.style & DS_MODALFRAME) ex |= WS_EX_DLGMODALFRAME;
  return ex;
}

bool Held(int virtualKey) { return GetKeyState(virtualKey) < 0; }

InputEvent Input(InputEvent::Kind kind, int id = 0) {
  InputEvent input;
  input.kind = kind;
  input.id = id;
  return input;
}

}  // namespace

void DialogWindow::RegisterClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  wc.hIcon = ProgramIcon::Load(false, GetDpiForSystem());
  wc.hIconSm = ProgramIcon::Load(true, GetDpiForSystem());
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

DialogWindow::DialogWindow(const DialogModel& d, HWND owner, Services services)
    : owner_(owner),
      handle_(d.handle),
      templateId_(d.templateId),
      services_(std::move(services)),
      rect_(d.rect),
      style_(WindowStyle(d)),
      exStyle_(WindowExStyle(d)),
      centered_(d.centered),
      menu_(d.menu) {
  // Made where its owner is, so that it starts at the owner's density; placed when first shown.
  RECT at{};
  if (owner_) GetWindowRect(owner_, &at);
  CreateWindowExW(exStyle_, kClassName, Widen(d.caption).c_str(), style_, at.left, at.top, 0, 0,
                  owner_, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  units_ = std::make_unique<DialogUnits>(GetDpiForWindow(hwnd_));
  tooltips_ = std::make_unique<TooltipView>(hwnd_);
  for (const ControlModel& c : d.controls) AddView(c, d.boxFlags);
  // Later controls lie above earlier ones.
  for (auto& view : views_)
    SetWindowPos(view->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  LayoutAll();
  SIZE frame = FrameSize(*units_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  MenuChanged(d.menu, d.closeBoxEnabled);
  // Mnemonics are underlined and the focus is drawn from the start, not only once the
  // keyboard has been used: the core shows both at all times.
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
}

DialogWindow::~DialogWindow() {
  silenced_ = true;
  clips_.clear();
  if (hwnd_) DestroyWindow(hwnd_);
}

void DialogWindow::AddView(const ControlModel& c, unsigned iconFlags) {
  std::unique_ptr<ControlView> view;
  switch (c.kind) {
    case ControlKind::PushButton:
      view = std::make_unique<PushButtonView>(hwnd_, c);
      break;
    case ControlKind::CheckBox:
      view = std::make_unique<CheckBoxView>(hwnd_, c);
      break;
    case ControlKind::GroupBox:
      view = std::make_unique<GroupBoxView>(hwnd_, c);
      break;
    case ControlKind::Text:
      view = std::make_unique<StaticTextView>(hwnd_, c);
      break;
    case ControlKind::Picture:
      view = std::make_unique<PictureView>(hwnd_, c, *services_.pictures);
      break;
    case ControlKind::BlackRect:
    case ControlKind::BlackFrame:
      view = std::make_unique<StaticFrameView>(hwnd_, c);
      break;
    case ControlKind::Trackbar:
      view = std::make_unique<TrackbarView>(hwnd_, c);
      break;
    case ControlKind::Animation: {
      auto clip = std::make_unique<ClipView>(hwnd_, c, *services_.clock);
      clips_.push_back(clip.get());
      view = std::move(clip);
      break;
    }
    case ControlKind::Icon:
      view = std::make_unique<IconView>(hwnd_, c, iconFlags);
      break;
  }
  if (!view || !view->hwnd()) return;
  ApplyAll(c, *view);
  views_.push_back(std::move(view));
}

void DialogWindow::ApplyAll(const ControlModel& c, ControlView& view) {
  for (Change what :
       {Change::Text, Change::Picture, Change::Checked, Change::Trackbar})
    view.Apply(c, what);
  EnableWindow(view.hwnd(), c.enabled);
  ShowWindow(view.hwnd(), c.visible ? SW_SHOWNA : SW_HIDE);
  tooltips_->Set(view.hwnd(), c.tooltip);
}

void DialogWindow::LayoutAll() {
  for (auto& view : views_) view->Layout(*units_);
}

SIZE DialogWindow::FrameSize(const DialogUnits& units) const {
  RECT r{0, 0, units.ToPixelsX(rect_.cx), units.ToPixelsY(rect_.cy)};
  AdjustWindowRectExForDpi(&r, style_, FALSE, exStyle_, units.dpi());
  return SIZE{r.right - r.left, r.bottom - r.top};
}

ControlView* DialogWindow::View(std::uint32_t handle) const {
  auto it = std::find_if(views_.begin(), views_.end(),
                         [&](const auto& v) { return v->handle() == handle; });
  return it == views_.end() ? nullptr : it->get();
}

ControlView* DialogWindow::ViewOf(HWND child) const {
  auto it =
      std::find_if(views_.begin(), views_.end(), [&](const auto& v) { return v->hwnd() == child; });
  return it == views_.end() ? nullptr : it->get();
}

// ---- The core's notifications ---------------------------------------------------------

void DialogWindow::PaintNow() {
  // A synchronous cue may hold the thread next: what changed is painted before it starts.
  if (coreVisible_ && !coreMinimized_)
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void DialogWindow::ControlChanged(const ControlModel& c, Change what) {
  ControlView* view = View(c.handle);
  if (!view) return;
  switch (what) {
    case Change::Enabled:
      EnableWindow(view->hwnd(), c.enabled);
      break;
    case Change::Visible:
      ShowWindow(view->hwnd(), c.visible ? SW_SHOWNA : SW_HIDE);
      break;
    case Change::Tooltip:
      tooltips_->Set(view->hwnd(), c.tooltip);
      return;
    default:
      view->Apply(c, what);
      break;
  }
  PaintNow();
}

void DialogWindow::Shown(const DialogModel& d, bool initial) {
  coreVisible_ = d.visible;
  coreMinimized_ = d.minimized;
  if (!placed_) Place();
  if (initial) {
    // Controls the program set up before the window first showed (a trackbar's range, say)
    // are taken again as they are now.
    for (const ControlModel& c : d.controls)
      if (ControlView* view = View(c.handle)) ApplyAll(c, *view);
    FocusChanged(d.focus, d.defaultLook);
  }
  switch (ShowState::For(d, IsIconic(hwnd_))) {
    case ShowState::Action::Hide:
      ShowWindow(hwnd_, SW_HIDE);
      break;
    case ShowState::Action::Minimize:
      ShowWindow(hwnd_, SW_MINIMIZE);
      break;
    case ShowState::Action::Restore:
      ShowWindow(hwnd_, SW_RESTORE);
      break;
    case ShowState::Action::Show:
      ShowWindow(hwnd_, SW_SHOW);
      break;
  }
  if (ShowState::RaisesOnShow(d, initial)) Raise();
  PaintNow();
}

void DialogWindow::EnabledChanged(bool enabled) { EnableWindow(hwnd_, enabled); }

void DialogWindow::FocusChanged(std::uint32_t focus, std::uint32_t defaultLook) {
  focus_ = focus;
  for (auto& view : views_) view->SetDefaultLook(view->handle() == defaultLook);
  if (GetActiveWindow() == hwnd_) OnFocusBack();
  PaintNow();
}

void DialogWindow::MenuChanged(const std::vector<MenuItem>& menu, bool closeBoxEnabled) {
  menu_ = menu;
  HMENU sys = GetSystemMenu(hwnd_, FALSE);
  if (!sys) return;
  // Moving the window is Windows' business and stays; every other item is the core's.
  for (int i = GetMenuItemCount(sys) - 1; i >= 0; --i)
    if (GetMenuItemID(sys, i) != SC_MOVE) DeleteMenu(sys, i, MF_BYPOSITION);
  for (const MenuItem& entry : menu_) {
    if (entry.id == 0) {
      AppendMenuW(sys, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = Widen(entry.text);
    if (entry.id == SC_CLOSE) text += L"\tAlt+F4";
    AppendMenuW(sys, MF_STRING, entry.id, text.c_str());
  }
  SetMenuDefaultItem(sys, SC_CLOSE, FALSE);
  EnableMenuItem(sys, SC_CLOSE, MF_BYCOMMAND | (closeBoxEnabled ? MF_ENABLED : MF_GRAYED));
}

void DialogWindow::Raise() {
  BringWindowToTop(hwnd_);
  SetForegroundWindow(hwnd_);
}

// The main window stands at the centre of the screen; a dialog at the centre of its owner or
// where its template says, relative to the owner's client area; a centred window is kept on
// the screen, as the dialog manager does.
void DialogWindow::Place() {
  placed_ = true;
  const SIZE size = FrameSize(*units_);
  POINT at{};
  HMONITOR monitor = MonitorFromWindow(owner_ ? owner_ : hwnd_, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const RECT& area = info.rcWork;
  Layout::Placement p;
  p.width = size.cx;
  p.height = size.cy;
  p.owned = owner_ != nullptr;
  p.centered = centered_;
  p.area = PixelsOf(area);
  if (owner_) {
    RECT frame{};
    GetWindowRect(owner_, &frame);
    p.owner = PixelsOf(frame);
    ClientToScreen(owner_, &at);
    p.clientX = at.x;
    p.clientY = at.y;
    p.offsetX = units_->ToPixelsX(rect_.x);
    p.offsetY = units_->ToPixelsY(rect_.y);
  }
  const PixelRect r = Layout::Place(p);
  SetWindowPos(hwnd_, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::int64_t DialogWindow::Animate(std::int64_t now) {
  std::int64_t next = -1;
  for (ClipView* clip : clips_) {
    std::int64_t due = clip->Animate(now);
    if (due >= 0 && (next < 0 || due < next)) next = due;
  }
  return next;
}

// ---- Input --------------------------------------------------------------------------------

void DialogWindow::Report(InputEvent input) {
  if (silenced_ || !services_.report) return;
  input.target = handle_;
  services_.report(std::move(input));
}

bool DialogWindow::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const bool alt = (HIWORD(msg.lParam) & KF_ALTDOWN) != 0;
  const auto vk = static_cast<unsigned>(msg.wParam);
  if (alt && vk == VK_SPACE) {
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    return true;
  }
  const bool ctrlOrWin = Held(VK_CONTROL) || Held(VK_LWIN) || Held(VK_RWIN);
  if (auto key = KeyInput::FromVirtualKey(vk, Held(VK_SHIFT), alt, ctrlOrWin)) Report(*key);
  // No control acts on a key of its own. System keys still reach Windows, which closes the
  // window on Alt+F4 (through the close command, which the core decides on) and keeps its
  // count of the Alt key for the window menu.
  return msg.message == WM_KEYDOWN;
}

LRESULT CALLBACK DialogWindow::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<DialogWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT DialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_HSCROLL:
      OnHScroll(lParam);
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (ControlView* view = ViewOf(item.hwndItem)) view->Draw(item);
      return TRUE;
    }
    case WM_SYSCOMMAND:
      if (OnSysCommand(wParam)) return 0;
      break;
    case WM_CLOSE:
      // The close box asks; the core decides whether the window goes.
      Report(Input(InputEvent::Kind::Close));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) OnFocusBack();
      return 0;
    case WM_SETFOCUS:
      OnFocusBack();
      return 0;
    case WM_GETDPISCALEDSIZE: {
      // The size the window will have at the new density, so that Windows suggests a place
      // for exactly that size.
      DialogUnits at(static_cast<UINT>(wParam));
      *reinterpret_cast<SIZE*>(lParam) = FrameSize(at);
      return TRUE;
    }
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void DialogWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) != BN_CLICKED || !lParam) return;
  ControlView* view = ViewOf(reinterpret_cast<HWND>(lParam));
  if (view) Report(Input(InputEvent::Kind::Click, view->id()));
}

void DialogWindow::OnHScroll(LPARAM lParam) {
  auto* trackbar = dynamic_cast<TrackbarView*>(ViewOf(reinterpret_cast<HWND>(lParam)));
  if (!trackbar) return;
  if (auto pos = trackbar->TakeUserMove()) {
    InputEvent input = Input(InputEvent::Kind::Slide, trackbar->id());
    input.pos = *pos;
    Report(input);
  }
}

bool DialogWindow::OnSysCommand(WPARAM wParam) {
  const UINT command = static_cast<UINT>(wParam & 0xFFF0);
  switch (command) {
    case SC_CLOSE:
      Report(Input(InputEvent::Kind::Close));
      return true;
    case SC_RESTORE:
      // The user clicked the task-bar entry of a window the program minimized.
      if (ShowState::IsTaskbarRestore(coreVisible_, coreMinimized_))
        Report(Input(InputEvent::Kind::Taskbar));
      return true;
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_SIZE:
      return true;  // only the program changes a window's state
  }
  for (const MenuItem& entry : menu_) {
    if (entry.id != 0 && entry.id == command) {
      Report(Input(InputEvent::Kind::SysCommand, static_cast<int>(command)));
      return true;
    }
  }
  return false;  // moving, the keyboard's way into the menu, and the rest are Windows'
}

void DialogWindow::OnFocusBack() {
  ControlView* focused = View(focus_);
  SetFocus(focused && IsWindowEnabled(focused->hwnd()) ? focused->hwnd() : hwnd_);
}

void DialogWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  units_ = std::make_unique<DialogUnits>(dpi);
  LayoutAll();
  const SIZE size = FrameSize(*units_);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}
