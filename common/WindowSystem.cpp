// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/WindowSystem.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "common/AviClip.h"
#include "common/BmpImage.h"
#include "common/DataFiles.h"

namespace {
WindowSystem* g_current = nullptr;

bool IsButtonKind(ControlKind k) { return k == ControlKind::PushButton; }

WPARAM VirtualKey(Key k) {
  switch (k) {
    case Key::Enter: return VK_RETURN;
    case Key::Escape: return VK_ESCAPE;
    case Key::Space: return VK_SPACE;
    case Key::Tab:
    case Key::ShiftTab: return VK_TAB;
    case Key::Left: return VK_LEFT;
    case Key::Right: return VK_RIGHT;
    case Key::Up: return VK_UP;
    case Key::Down: return VK_DOWN;
    case Key::Home: return VK_HOME;
    case Key::End: return VK_END;
    case Key::PageUp: return VK_PRIOR;
    case Key::PageDown: return VK_NEXT;
    case Key::Letter: return 0;
  }
  return 0;
}

// The key message a key press makes, addressed to the focused control.
MSG KeyMessage(const Window& dialog, const InputEvent& e) {
  HWND to = dialog.focus ? dialog.focus : dialog.hwnd;
  if (e.key == Key::Letter) {
    auto letter = static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(e.letter)));
    return {to, e.alt ? WM_SYSKEYDOWN : WM_CHAR, letter, 0};
  }
  return {to, WM_KEYDOWN, VirtualKey(e.key), e.key == Key::ShiftTab ? kShiftHeld : 0};
}
// The observer of a run that nobody observes.
class Unobserved : public Observer {
 public:
  void TimerCall(int, unsigned, int) override {}
  void RandomDraw(int, int) override {}
  void ProfileWrite(const std::string&, const std::string&, int) override {}
  void InputIgnored(const InputEvent&) override {}
};
Unobserved g_unobserved;

ControlModel ControlModelOf(const Window& c) {
  ControlModel v;
  v.handle = c.hwnd;
  v.kind = c.kind;
  v.id = c.id;
  v.rect = c.rect;
  v.style = c.style;
  v.exStyle = c.exStyle;
  v.text = c.text;
  v.enabled = c.enabled;
  v.visible = c.visible;
  v.checked = c.checked;
  v.trackMin = c.trackMin;
  v.trackMax = c.trackMax;
  v.trackPos = c.trackPos;
  v.tooltip = c.tooltip;
  v.bitmapId = c.bitmapId;
  v.clipName = c.clipName;
  v.clip = c.clip;
  v.clipFrom = c.clipFrom;
  v.clipTo = c.clipTo;
  v.clipRepeat = c.clipRepeat;
  return v;
}
}  // namespace

WindowSystem::WindowSystem(Clock& clock, Host& host, AudioSink& audio, Observer* observer)
    : clock_(clock),
      programClock_(clock),
      host_(host),
      observer_(observer ? observer : &g_unobserved),
      audio_(audio) {
  g_current = this;
}

WindowSystem::~WindowSystem() {
  if (g_current == this) g_current = nullptr;
}

WindowSystem& WindowSystem::Get() {
  if (!g_current) {
    // A framework call outside a program run is a fault in the caller, never a state to
    // recover from.
    std::fputs("quorblex: the framework was used with no window system running\n", stderr);
    std::abort();
  }
  return *g_current;
}

WindowSystem* WindowSystem::Current() { return g_current; }

// ---- Windows ----------------------------------------------------------------------------

HWND WindowSystem::CreateDialogWindow(const DialogTemplate& tmpl, HWND owner,
                                      WindowObject* object) {
  auto dlg = std::make_unique<Window>();
  dlg->hwnd = NewHandle();
  dlg->owner = owner;
  dlg->isDialog = true;
  dlg->templateId = tmpl.id;
  dlg->tmpl = &tmpl;
  dlg->text = tmpl.caption;
  dlg->rect = tmpl.rect;
  dlg->style = tmpl.style;
  dlg->exStyle = tmpl.exStyle;
  dlg->object = object;
  dlg->boxFlags = tmpl.boxFlags;
  // A message box without Cancel has no working close box.
  dlg->closeBoxEnabled =
      !(tmpl.id == kMessageBoxTemplate && (tmpl.boxFlags & MB_TYPEMASK) == MB_YESNO);
  if (tmpl.style & WS_SYSMENU) dlg->sysMenu.push_back({SC_CLOSE, "&Close"});
  HWND hDlg = dlg->hwnd;
  for (const auto& ct : tmpl.controls) {
    auto c = std::make_unique<Window>();
    c->hwnd = NewHandle();
    c->parent = hDlg;
    c->kind = ct.kind;
    c->id = ct.id;
    c->text = ct.kind == ControlKind::Picture ? std::string() : ct.text;
    c->rect = ct.rect;
    c->style = ct.style;
    c->exStyle = ct.exStyle;
    c->visible = true;
    c->enabled = !(ct.style & WS_DISABLED);
    if (ct.kind == ControlKind::Picture && ct.bitmap) {
      c->bitmap = c->ownedBitmap = LoadBitmap(ct.bitmap);
      if (c->bitmap) c->bitmapId = ct.bitmap;
    }
    if (ct.kind == ControlKind::PushButton && (ct.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && !dlg->defId)
      dlg->defId = ct.id;
    dlg->children.push_back(c->hwnd);
    windows_.emplace(c->hwnd, std::move(c));
  }
  Window& ref = *dlg;
  windows_.emplace(hDlg, std::move(dlg));
  host_.WindowCreated(ViewOf(ref));
  return hDlg;
}

void WindowSystem::DestroyControl(HWND hwnd) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  Window& c = *it->second;
  if (c.object) c.object->WindowDestroyed();
  // The picture a template gave a control belongs to the control.
  if (c.ownedBitmap) DeleteBitmap(c.ownedBitmap);
  windows_.erase(it);
}

void WindowSystem::Destroy(HWND dialog) {
  Window* w = Find(dialog);
  if (!w || !w->isDialog) return;
  host_.WindowDestroyed(dialog);
  timers_.KillAll(dialog);
  std::erase_if(tray_, [&](const TrayIcon& t) { return t.owner == dialog; });
  std::vector<HWND> children = w->children;
  for (HWND h : children) DestroyControl(h);
  if (w->object) w->object->WindowDestroyed();
  windows_.erase(dialog);
}

Window* WindowSystem::Find(HWND hwnd) {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second.get();
}

const Window* WindowSystem::Find(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second.get();
}

HWND WindowSystem::GetDlgItem(HWND dialog, int id) const {
  const Window* d = Find(dialog);
  if (!d) return kNoWindow;
  for (HWND h : d->children) {
    const Window* c = Find(h);
    if (c && c->id == id) return h;
  }
  return kNoWindow;
}

// ---- State changes ----------------------------------------------------------------------

void WindowSystem::Notify(const Window& w, Change what) {
  const Window* dlg = w.isDialog ? &w : Find(w.parent);
  if (dlg) host_.ControlChanged(dlg->hwnd, ControlModelOf(w), what);
}

DialogModel WindowSystem::ViewOf(const Window& d) const {
  DialogModel v;
  v.handle = d.hwnd;
  v.owner = d.owner;
  v.templateId = d.templateId;
  v.caption = d.text;
  v.rect = d.rect;
  v.style = d.style;
  v.exStyle = d.exStyle;
  v.centered = d.tmpl && d.tmpl->centered;
  v.boxFlags = d.boxFlags;
  for (HWND h : d.children)
    if (const Window* c = Find(h)) v.controls.push_back(ControlModelOf(*c));
  v.menu = d.sysMenu;
  v.closeBoxEnabled = d.closeBoxEnabled;
  v.visible = d.visible;
  v.minimized = d.minimized;
  v.enabled = d.enabled;
  v.focus = d.focus;
  v.defaultLook = DefaultLookButton(d);
  return v;
}

template <typename T>
void WindowSystem::Assign(HWND hwnd, T Window::*field, const T& value, Change what) {
  Window* w = Find(hwnd);
  if (!w || w->*field == value) return;
  w->*field = value;
  Notify(*w, what);
}

void WindowSystem::SetText(HWND hwnd, const std::string& text) {
  Assign(hwnd, &Window::text, text, Change::Text);
}

HBITMAP WindowSystem::SetPicture(HWND hwnd, HBITMAP bitmap) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  HBITMAP old = w->bitmap;
  w->bitmap = bitmap;
  const BitmapInfo* info = FindBitmap(bitmap);
  int id = info ? info->resourceId : 0;
  // Another load of the picture already shown looks the same: no visible change.
  if (id == w->bitmapId) return old;
  w->bitmapId = id;
  Notify(*w, Change::Picture);
  return old;
}

void WindowSystem::Enable(HWND hwnd, bool enabled) {
  Window* w = Find(hwnd);
  if (!w || w->enabled == enabled) return;
  w->enabled = enabled;
  if (w->isDialog)
    host_.WindowEnabled(hwnd, enabled);
  else
    Notify(*w, Change::Enabled);
}

void WindowSystem::Show(HWND hwnd, int command) {
  Window* w = Find(hwnd);
  if (!w) return;
  bool visible = command != SW_HIDE;
  bool minimized = command == SW_MINIMIZE;
  if (command == SW_SHOW) minimized = w->minimized;
  if (!w->isDialog) {
    if (w->visible == visible) return;
    w->visible = visible;
    Notify(*w, Change::Visible);
    return;
  }
  if (w->visible == visible && w->minimized == minimized) return;
  w->visible = visible;
  w->minimized = minimized;
  host_.WindowShown(ViewOf(*w), false);
}

void WindowSystem::ShowInitial(HWND dialog) {
  Window* w = Find(dialog);
  if (!w || !w->isDialog || w->visible) return;
  w->visible = true;
  host_.WindowShown(ViewOf(*w), true);
}

void WindowSystem::Raise(HWND hwnd) {
  if (Window* w = Find(hwnd); w && w->isDialog) host_.WindowRaised(hwnd);
}

void WindowSystem::SetCheck(HWND hwnd, int state) {
  Assign(hwnd, &Window::checked, state, Change::Checked);
}

void WindowSystem::SetTrackRange(HWND hwnd, int minimum, int maximum) {
  Window* w = Find(hwnd);
  if (!w) return;
  if (maximum < minimum) std::swap(minimum, maximum);
  bool changed = w->trackMin != minimum || w->trackMax != maximum;
  w->trackMin = minimum;
  w->trackMax = maximum;
  int pos = std::clamp(w->trackPos, minimum, maximum);
  if (!changed && pos == w->trackPos) return;
  w->trackPos = pos;
  Notify(*w, Change::Trackbar);
}

void WindowSystem::SetTrackPos(HWND hwnd, int pos) {
  Window* w = Find(hwnd);
  if (!w) return;
  pos = std::clamp(pos, w->trackMin, w->trackMax);
  if (w->trackPos == pos) return;
  w->trackPos = pos;
  Notify(*w, Change::Trackbar);
}

void WindowSystem::SetFocus(HWND control) {
  Window* c = Find(control);
  if (!c || c->isDialog) return;
  Window* d = Find(c->parent);
  if (!d || d->focus == control) return;
  d->focus = control;
  host_.FocusChanged(d->hwnd, d->focus, DefaultLookButton(*d));
}

void WindowSystem::FocusFirstTabStop(HWND dialog) {
  Window* d = Find(dialog);
  if (!d) return;
  for (HWND h : d->children) {
    const Window* c = Find(h);
    if (c && (c->style & WS_TABSTOP) && c->visible && c->enabled) {
      SetFocus(h);
      return;
    }
  }
}

void WindowSystem::SetTooltip(HWND control, const std::string& text) {
  Assign(control, &Window::tooltip, text, Change::Tooltip);
}

void WindowSystem::AppendMenuItem(HWND dialog, MenuItem item) {
  Window* d = Find(dialog);
  if (!d) return;
  d->sysMenu.push_back(std::move(item));
  host_.MenuChanged(dialog, d->sysMenu, d->closeBoxEnabled);
}

void WindowSystem::ClipOpen(HWND control, const std::string& name) {
  Window* w = Find(control);
  if (!w) return;
  w->clipName = name;
  w->clip.reset();
  std::string path = DataFiles::Find(name);
  if (!path.empty()) {
    if (auto clip = AviClip::Load(path)) w->clip = std::make_shared<const AviClip>(std::move(*clip));
  }
  Notify(*w, Change::ClipOpen);
}

void WindowSystem::ClipPlay(HWND control, int from, int to, int repeat) {
  Window* w = Find(control);
  if (!w) return;
  w->clipFrom = from;
  w->clipTo = to;
  w->clipRepeat = repeat;
  Notify(*w, Change::ClipPlay);
}

void WindowSystem::ClipClose(HWND control) {
  Window* w = Find(control);
  if (!w) return;
  w->clip.reset();
  w->clipName.clear();
  Notify(*w, Change::ClipClose);
}

HWND WindowSystem::DefaultLookButton(const Window& dialog) const {
  const Window* f = Find(dialog.focus);
  if (f && IsButtonKind(f->kind)) return f->hwnd;
  return GetDlgItem(dialog.hwnd, dialog.defId);
}

// ---- Bitmaps ----------------------------------------------------------------------------

HBITMAP WindowSystem::LoadBitmap(int resourceId) {
  Resources::Blob blob = Resources::FindBitmap(resourceId);
  if (!blob.size) return 0;
  auto header = BmpImage::PeekHeader(blob.data, blob.size);
  if (!header) return 0;
  HBITMAP h = nextBitmap_++;
  bitmaps_[h] = {resourceId, header->width, header->height};
  return h;
}

void WindowSystem::DeleteBitmap(HBITMAP bitmap) { bitmaps_.erase(bitmap); }

const BitmapInfo* WindowSystem::FindBitmap(HBITMAP bitmap) const {
  auto it = bitmaps_.find(bitmap);
  return it == bitmaps_.end() ? nullptr : &it->second;
}

// ---- Messages ---------------------------------------------------------------------------

LRESULT WindowSystem::SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (w->object) return w->object->CallWindowProc(message, wParam, lParam);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void WindowSystem::PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  queue_.Post({hwnd, message, wParam, lParam});
}

LRESULT WindowSystem::DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_SETTEXT:
      SetText(hwnd, lParam ? reinterpret_cast<const char*>(lParam) : "");
      return TRUE;
    case STM_SETIMAGE:
      return wParam == IMAGE_BITMAP ? SetPicture(hwnd, static_cast<HBITMAP>(lParam)) : 0;
    case BM_SETCHECK:
      // A two-state box shows any non-zero state as ticked.
      SetCheck(hwnd, w->kind == ControlKind::CheckBox ? (wParam ? 1 : 0) : static_cast<int>(wParam));
      return 0;
    case BM_GETCHECK:
      return w->checked;
    case TBM_SETRANGE:
      SetTrackRange(hwnd, LOWORD(static_cast<WPARAM>(lParam)),
                    HIWORD(static_cast<WPARAM>(lParam)));
      return 0;
    case TBM_SETPOS:
      SetTrackPos(hwnd, static_cast<int>(lParam));
      return 0;
    case TBM_GETPOS:
      return w->trackPos;
    case TTM_ADDTOOL:
      SetTooltip(hwnd, lParam ? reinterpret_cast<const char*>(lParam) : "");
      return TRUE;
    case ACM_OPEN:
      if (lParam)
        ClipOpen(hwnd, reinterpret_cast<const char*>(lParam));
      else
        ClipClose(hwnd);
      return w->clip ? TRUE : FALSE;
    case ACM_PLAY:
      ClipPlay(hwnd, LOWORD(static_cast<WPARAM>(lParam)), HIWORD(static_cast<WPARAM>(lParam)),
               static_cast<int>(wParam));
      return w->clip ? TRUE : FALSE;
    case WM_SYSCOMMAND:
      if ((wParam & SC_MASK) == SC_CLOSE) SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE: {
      // A dialog closes like Cancel, unless its Cancel button is there and greyed.
      if (!w->isDialog) return 0;
      const Window* cancel = Find(GetDlgItem(hwnd, IDCANCEL));
      if (cancel && !cancel->enabled) return 0;
      SendClicked(hwnd, IDCANCEL, kNoWindow);
      return 0;
    }
    default:
      return 0;
  }
}

void WindowSystem::SendClicked(HWND dialog, int id, HWND button) {
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(button));
}

void WindowSystem::PressButton(const Window& button) {
  if (button.kind == ControlKind::CheckBox) SetCheck(button.hwnd, button.checked ? 0 : 1);
  SendClicked(button.parent, button.id, button.hwnd);
}

void WindowSystem::SetTimer(HWND hwnd, UINT id, int periodMs) {
  Window* w = Find(hwnd);
  if (!w) return;
  timers_.Set(hwnd, id, periodMs, programClock_.Now());
  observer_->TimerCall(w->templateId, id, periodMs);
}

void WindowSystem::SetQuietTicks(HWND hwnd, UINT id, std::int64_t count) {
  timers_.SetQuietTicks(hwnd, id, count);
}

void WindowSystem::KillTimer(HWND hwnd, UINT id) {
  Window* w = Find(hwnd);
  if (!w) return;
  timers_.Kill(hwnd, id);
  observer_->TimerCall(w->templateId, id, -1);
}

int WindowSystem::RunModalLoop(HWND dialog) {
  modal_.push_back(dialog);
  struct Pop {
    std::vector<HWND>& stack;
    ~Pop() { stack.pop_back(); }
  } pop{modal_};
  for (;;) {
    Window* w = Find(dialog);
    if (!w) return -1;
    if (w->ended) return w->result;
    PumpOne();
  }
}

void WindowSystem::EndDialog(HWND dialog, int result) {
  Window* w = Find(dialog);
  if (!w || !w->isDialog) return;
  w->ended = true;
  w->result = result;
}

void WindowSystem::PumpOne() {
  if (auto m = queue_.TakePosted()) {
    SendMessage(m->hwnd, m->message, m->wParam, m->lParam);
    return;
  }
  if (MakeUpTick()) return;
  host_.Wait(clock_.Now(), *this);  // collect input made while we were busy
  if (auto e = queue_.TakeInput()) {
    DispatchInput(*e);
    return;
  }
  if (auto due = timers_.TakeDue(clock_.Now())) {
    SendMessage(due->hwnd, WM_TIMER, due->id, 0);
    return;
  }
  Idle();
}

// One tick slept through, made at its own time. The first tick owed that is not quiet ends
// the making up: it is made as usual, when the loop comes to it.
bool WindowSystem::MakeUpTick() {
  if (!owedUntil_) return false;
  auto tick = timers_.TakeOwed(*owedUntil_);
  if (!tick) {
    owedUntil_.reset();
    return false;
  }
  struct Held {
    ProgramClock& clock;
    ~Held() { clock.Release(); }
  } held{programClock_};
  programClock_.Hold(tick->at);
  SendMessage(tick->hwnd, WM_TIMER, tick->id, 0);
  return true;
}

// Nothing is due: wait for the next tick, or for input. While nobody can see a quiet tick,
// wait past them for the first one that is not quiet; the thread was idle all along, so every
// tick that passed meanwhile is owed on its own.
void WindowSystem::Idle() {
  auto next = timers_.NextDue();
  if (next && sleepThroughQuiet_ && !AnyWindowShown()) {
    auto loud = timers_.NextLoud();
    if (!loud || *loud > *next) {
      host_.Wait(loud ? *loud : -1, *this);
      owedUntil_ = clock_.Now();
      return;
    }
  }
  host_.Wait(next ? *next : -1, *this);
}

bool WindowSystem::AnyWindowShown() const {
  return std::any_of(windows_.begin(), windows_.end(),
                     [](const auto& w) { return w.second->isDialog && w.second->visible; });
}

void WindowSystem::Push(InputEvent event) { queue_.PushInput(std::move(event)); }

// ---- Input ------------------------------------------------------------------------------

void WindowSystem::DispatchInput(const InputEvent& e) {
  using K = InputEvent::Kind;
  if (e.kind == K::Tray) {
    if (tray_.empty()) return Ignore(e);
    const TrayIcon& t = tray_.front();
    PostMessage(t.owner, t.callbackMessage, t.id, e.id);
    return;
  }
  HWND target = e.target;
  if (!target) target = (e.kind == K::SysCommand || e.kind == K::Taskbar) ? MainWindow()
                                                                            : ActiveWindow();
  Window* w = Find(target);
  if (!w || !w->isDialog) return Ignore(e);
  if (e.kind == K::Taskbar) {
    if (!w->minimized) return Ignore(e);
    Show(target, SW_RESTORE);
    Raise(target);
    return;
  }
  if (!w->visible || w->minimized || !w->enabled) return Ignore(e);
  switch (e.kind) {
    case K::Click: {
      Window* c = Find(GetDlgItem(target, e.id));
      if (!c || !c->enabled || !c->visible) return Ignore(e);
      Click(*c);
      return;
    }
    case K::Slide: {
      Window* c = Find(GetDlgItem(target, e.id));
      if (!c || c->kind != ControlKind::Trackbar || !c->enabled || !c->visible) return Ignore(e);
      SetFocus(c->hwnd);
      SetTrackPos(c->hwnd, e.pos);
      SendMessage(target, WM_HSCROLL, 0, static_cast<LPARAM>(c->hwnd));
      return;
    }
    case K::Close:
      if (!w->closeBoxEnabled || !(w->style & WS_SYSMENU)) return Ignore(e);
      SendMessage(target, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case K::SysCommand: {
      bool present = std::any_of(w->sysMenu.begin(), w->sysMenu.end(), [&](const MenuItem& m) {
        return m.id != 0 && m.id == static_cast<UINT>(e.id);
      });
      if (!present || (e.id == static_cast<int>(SC_CLOSE) && !w->closeBoxEnabled))
        return Ignore(e);
      SendMessage(target, WM_SYSCOMMAND, static_cast<WPARAM>(e.id), 0);
      return;
    }
    case K::Key: {
      // The window's object hands the key to the dialog keyboard; a window without one
      // takes no keys.
      MSG msg = KeyMessage(*w, e);
      if (w->object) w->object->PreTranslateMessage(&msg);
      return;
    }
    default:
      return;
  }
}

void WindowSystem::Click(Window& c) {
  switch (c.kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
      SetFocus(c.hwnd);
      PressButton(c);
      return;
    case ControlKind::Trackbar:
    case ControlKind::Animation:
      SetFocus(c.hwnd);
      return;
    default:
      return;  // statics take no clicks
  }
}

// ---- Notification icon ------------------------------------------------------------------

bool WindowSystem::TrayAdd(HWND owner, UINT id, UINT callbackMessage, const std::string& tip) {
  if (!host_.TrayAdd(tip)) return false;
  tray_.push_back({owner, id, callbackMessage});
  return true;
}

bool WindowSystem::TrayDelete(HWND owner, UINT id) {
  auto it = std::find_if(tray_.begin(), tray_.end(),
                         [&](const TrayIcon& t) { return t.owner == owner && t.id == id; });
  if (it == tray_.end()) return false;
  tray_.erase(it);
  host_.TrayDelete();
  return true;
}
