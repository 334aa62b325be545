// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/DialogWindow.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <optional>

#include "host/qt/Accessibility.h"
#include "host/qt/CheckBoxView.h"
#include "host/qt/ClipView.h"
#include "host/qt/DialogUnits.h"
#include "host/qt/FontFit.h"
#include "host/qt/GroupBoxView.h"
#include "host/qt/IconView.h"
#include "host/qt/PictureView.h"
#include "host/qt/PushButtonView.h"
#include "host/qt/StaticFrameView.h"
#include "host/qt/StaticTextView.h"
#include "host/qt/TrackbarView.h"
#include "host/shared/KeyPolicy.h"
#include "host/shared/Layout.h"
#include "host/shared/ShowState.h"
#include "host/shared/DialogTexts.h"

namespace {

Qt::WindowFlags FlagsFor(const DialogModel& dialog, bool owned) {
  // A classic dialog frame: caption, window menu and close box, no minimize or maximize box.
  Qt::WindowFlags flags = owned ? Qt::Dialog : Qt::Window;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  if (dialog.closeBoxEnabled) flags |= Qt::WindowCloseButtonHint;
  return flags;
}

std::optional<Key> NamedKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_Space:
      return Key::Space;
    case Qt::Key_Tab:
      return Key::Tab;
    case Qt::Key_Backtab:
      return Key::ShiftTab;
    case Qt::Key_Left:
      return Key::Left;
    case Qt::Key_Right:
      return Key::Right;
    case Qt::Key_Up:
      return Key::Up;
    case Qt::Key_Down:
      return Key::Down;
    case Qt::Key_Home:
      return Key::Home;
    case Qt::Key_End:
      return Key::End;
    case Qt::Key_PageUp:
      return Key::PageUp;
    case Qt::Key_PageDown:
      return Key::PageDown;
    default:
      return std::nullopt;
  }
}

// The key in the words of the shared key policy.
KeyPolicy::Pressed Reduce(const QKeyEvent& key) {
  KeyPolicy::Pressed p;
  const Qt::KeyboardModifiers mods = key.modifiers();
  p.named = NamedKey(key.key());
  if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
    p.character = static_cast<char>('A' + (key.key() - Qt::Key_A));
  else if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9)
    p.character = static_cast<char>('0' + (key.key() - Qt::Key_0));
  p.shift = mods & Qt::ShiftModifier;
  p.alt = mods & Qt::AltModifier;
  p.ctrlOrWin = mods & (Qt::ControlModifier | Qt::MetaModifier);
  return p;
}


// A text as the dialog font draws it at `stretch`.
TextFit::Extent Measure(const TextFit::Item& item, int stretch) {
  return FontFit::Measure(DialogUnits::Font(), item, stretch);
}

InputEvent Input(InputEvent::Kind kind, ViewHandle target, int id = 0) {
  InputEvent e;
  e.kind = kind;
  e.target = target;
  e.id = id;
  return e;
}

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

}  // namespace

DialogWindow::DialogWindow(const DialogModel& dialog, DialogWindow* owner, Report report,
                           std::function<void()> toModal)
    : QWidget(owner, FlagsFor(dialog, owner != nullptr)),
      hwnd_(dialog.handle),
      templateId_(dialog.templateId),
      owner_(owner),
      report_(std::move(report)),
      toModal_(std::move(toModal)),
      templateRect_(dialog.rect),
      centered_(dialog.centered),
      menu_(dialog.menu),
      closeBoxEnabled_(dialog.closeBoxEnabled) {
  Accessibility::Install(this, dialog.templateId == kMessageBoxTemplate);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFocusPolicy(Qt::NoFocus);
  setFont(DialogUnits::Font());
  setWindowTitle(QString::fromStdString(dialog.caption));
  QRect client = DialogUnits::ToPixels(dialog.rect);
  setFixedSize(client.size());
  for (const ControlModel& c : dialog.controls) AddView(c, dialog);
  FitFont(dialog);
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::AddView(const ControlModel& c, const DialogModel& dialog) {
  ControlView* view = nullptr;
  ViewHandle target = hwnd_;
  int id = c.id;
  auto click = [this, target, id] { report_(Input(InputEvent::Kind::Click, target, id)); };
  switch (c.kind) {
    case ControlKind::PushButton: {
      auto* b = new PushButtonView(this, c.exStyle);
      connect(b, &QAbstractButton::clicked, this, click);
      view = b;
      break;
    }
    case ControlKind::CheckBox: {
      auto* b = new CheckBoxView(this);
      connect(b, &QAbstractButton::clicked, this, click);
      view = b;
      break;
    }
    case ControlKind::GroupBox:
      view = new GroupBoxView(this);
      break;
    case ControlKind::Text:
      view = new StaticTextView(this, c.style);
      break;
    case ControlKind::Picture:
      view = new PictureView(this, c.style, c.exStyle);
      break;
    case ControlKind::BlackRect:
    case ControlKind::BlackFrame:
      view = new StaticFrameView(this, c.kind, c.style, c.exStyle);
      break;
    case ControlKind::Trackbar:
      view = new TrackbarView(this, [this, target, id](int pos) {
        InputEvent e = Input(InputEvent::Kind::Slide, target, id);
        e.pos = pos;
        report_(std::move(e));
      });
      break;
    case ControlKind::Animation:
      view = new ClipView(this);
      break;
    case ControlKind::Icon:
      view = new IconView(this, dialog.boxFlags & ViewStyle::kIconMask);
      break;
  }
  if (!view) return;
  QWidget* w = view->widget();
  // An icon has its own size, like a picture; both stand at the template's corner.
  if (c.kind == ControlKind::Icon)
    w->move(DialogUnits::ToPixels(c.rect).topLeft());
  else
    w->setGeometry(DialogUnits::ToPixels(c.rect));
  w->installEventFilter(this);
  ApplyAll(c, view);
  Accessibility::Describe(w, c, dialog);
  w->raise();
  views_.emplace_back(c.handle, view);
  byHandle_[c.handle] = view;
  ids_[c.handle] = c.id;
}

void DialogWindow::ApplyAll(const ControlModel& c, ControlView* view) {
  for (Change what : {Change::Text, Change::Picture, Change::Checked, Change::Trackbar})
    view->Apply(c, what);
  QWidget* w = view->widget();
  w->setEnabled(c.enabled);
  w->setToolTip(QString::fromStdString(c.tooltip));
  w->setVisible(c.visible);
}

// One face, size and width for every text of the dialog, decided now from every text it can
// show: its controls' own and those the program reveals later.
void DialogWindow::FitFont(const DialogModel& dialog) {
  for (const ControlModel& c : dialog.controls) {
    const ControlView* view = View(c.handle);
    if (!view) continue;
    std::vector<std::string> texts = DialogTexts::Later(templateId_, c.id);
    texts.push_back(c.text);
    for (const std::string& text : texts)
      if (auto item = FontFit::ItemOf(*view, text)) texts_.push_back(std::move(*item));
  }
  ApplyStretch();
}

void DialogWindow::ApplyStretch() {
  stretch_ = TextFit::DialogStretch(texts_, Measure);
  setFont(FontFit::AtStretch(DialogUnits::Font(), stretch_));
}

// A text nobody foresaw that is cut at the dialog's width narrows the whole dialog, so that it
// stays of one width. Whether the dialog changed.
bool DialogWindow::Refit(const ControlModel& c, const ControlView& view) {
  auto item = FontFit::ItemOf(view, c.text);
  if (!item || TextFit::FitsAt(*item, stretch_, Measure)) return false;
  texts_.push_back(std::move(*item));
  int before = stretch_;
  ApplyStretch();
  return stretch_ != before;
}

ControlView* DialogWindow::View(ViewHandle control) const {
  auto it = byHandle_.find(control);
  return it == byHandle_.end() ? nullptr : it->second;
}

// ---- The core's notifications ---------------------------------------------------------

void DialogWindow::ControlChanged(const ControlModel& c, Change what) {
  ControlView* view = View(c.handle);
  if (!view) return;
  QWidget* w = view->widget();
  QRect before = w->geometry();
  bool refitted = false;
  switch (what) {
    case Change::Enabled:
      w->setEnabled(c.enabled);
      break;
    case Change::Visible:
      w->setVisible(c.visible);
      break;
    case Change::Tooltip:
      w->setToolTip(QString::fromStdString(c.tooltip));
      return;
    default:
      view->Apply(c, what);
      if (what == Change::Text) {
        refitted = Refit(c, *view);
        Accessibility::TextChanged(w, OnScreen());
      }
      break;
  }
  if (!OnScreen()) return;
  if (refitted) {
    repaint();
    return;
  }
  // Painted now, not when the event loop next runs: a synchronous cue may hold the thread.
  if (what == Change::Visible || w->geometry() != before)
    repaint(before.united(w->geometry()));
  else
    w->repaint();
}

void DialogWindow::Shown(const DialogModel& d, bool initial) {
  coreVisible_ = d.visible;
  coreMinimized_ = d.minimized;
  applyingState_ = true;
  if (!placed_) Place();
  if (initial) {
    // Controls the program set up before the window first showed (a trackbar's range, say)
    // are taken again as they are now.
    for (const ControlModel& c : d.controls)
      if (ControlView* view = View(c.handle)) ApplyAll(c, view);
  }
  // A minimized window paints nothing until it comes back.
  setUpdatesEnabled(!d.minimized);
  switch (ShowState::For(d, isMinimized())) {
    case ShowState::Action::Hide:
      hide();
      break;
    case ShowState::Action::Minimize:
      showMinimized();
      break;
    case ShowState::Action::Restore:
      showNormal();
      break;
    case ShowState::Action::Show:
      show();
      break;
  }
  if (ShowState::RaisesOnShow(d, initial)) Raise();
  applyingState_ = false;
}

void DialogWindow::EnabledChanged(bool enabled) {
  const bool waited = blocked_;
  blocked_ = !enabled;
  // Its dialog gone, a window that the desktop had kept active is the user's again.
  if (waited && !blocked_ && isActiveWindow()) TellFocus();
}

// A reader hears that a window became active from Qt; where its focus is, from us.
void DialogWindow::TellFocus() {
  if (ControlView* focused = View(focus_)) Accessibility::Activated(focused->widget());
}

void DialogWindow::FocusChanged(ViewHandle focus, ViewHandle defaultLook) {
  for (auto& [h, view] : views_) {
    bool changed = view->SetFocusLook(h == focus);
    changed |= view->SetDefaultLook(h == defaultLook);
    if (changed && OnScreen()) view->widget()->repaint();
  }
  focus_ = focus;
  if (ControlView* focused = View(focus_); focused && OnScreen())
    Accessibility::FocusMoved(focused->widget());
}

void DialogWindow::MenuChanged(const std::vector<MenuItem>& menu, bool closeBoxEnabled) {
  menu_ = menu;
  closeBoxEnabled_ = closeBoxEnabled;
}

int DialogWindow::ControlId(ViewHandle control) const {
  auto it = ids_.find(control);
  return it == ids_.end() ? 0 : it->second;
}

void DialogWindow::Raise() {
  raise();
  activateWindow();
}

void DialogWindow::Place() {
  placed_ = true;
  QScreen* screen = owner_ ? owner_->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  Layout::Placement p;
  p.width = width();
  p.height = height();
  p.owned = owner_ != nullptr;
  p.centered = centered_;
  p.area = {area.x(), area.y(), area.width(), area.height()};
  p.centre = Layout::Placement::Centre::OnCentrePixel;
  if (owner_) {
    const QRect o = owner_->geometry();
    p.owner = {o.x(), o.y(), o.width(), o.height()};
    p.clientX = o.x();
    p.clientY = o.y();
    p.offsetX = DialogUnits::ToPixelsX(templateRect_.x);
    p.offsetY = DialogUnits::ToPixelsY(templateRect_.y);
  }
  const PixelRect r = Layout::Place(p);
  setGeometry(r.x, r.y, r.width, r.height);
}

// ---- Input ------------------------------------------------------------------------------

bool DialogWindow::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::ShortcutOverride:
      // Every key is the dialog's: no Qt shortcut (a button's mnemonic) may take it.
      e->accept();
      return true;
    case QEvent::KeyPress:
      if (!blocked_) HandleKey(*static_cast<QKeyEvent*>(e));
      return true;
    case QEvent::KeyRelease:
      return true;
    case QEvent::WindowActivate:
      // The desktop made a window active that waits for its modal dialog: the dialog it is.
      if (blocked_ && toModal_) toModal_();
      if (!blocked_) TellFocus();
      return QWidget::event(e);
    default:
      if (Swallow(e->type())) return true;
      return QWidget::event(e);
  }
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* e) {
  if (Swallow(e->type())) return true;
  return QWidget::eventFilter(watched, e);
}

// While a modal dialog is open its owner hears nothing; a click on it brings the dialog up.
bool DialogWindow::Swallow(QEvent::Type type) {
  if (!blocked_ || !IsUserInput(type)) return false;
  if (type == QEvent::MouseButtonPress && toModal_) toModal_();
  return true;
}

void DialogWindow::HandleKey(const QKeyEvent& key) {
  const KeyPolicy::Pressed pressed = Reduce(key);
  if (KeyPolicy::OpensWindowMenu(pressed)) {
    ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
    return;
  }
  if (auto e = KeyPolicy::Decide(pressed, hwnd_)) report_(std::move(*e));
}

void DialogWindow::closeEvent(QCloseEvent* e) {
  // The close box asks; the core decides whether the window goes.
  e->ignore();
  report_(Input(InputEvent::Kind::Close, hwnd_));
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* e) {
  if (owner_ || blocked_) return QWidget::contextMenuEvent(e);
  ShowSystemMenu(e->globalPos());
}

void DialogWindow::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || applyingState_) return;
  // The desktop brought back a window the program had minimized: the user clicked its entry
  // in the task bar.
  if (ShowState::IsTaskbarRestore(coreVisible_, coreMinimized_) &&
      !(windowState() & Qt::WindowMinimized))
    report_(Input(InputEvent::Kind::Taskbar, hwnd_));
}

void DialogWindow::ShowSystemMenu(const QPoint& globalPos) {
  if (openMenu_) openMenu_->close();
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const MenuItem& item : menu_) {
    if (item.id == 0) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromStdString(item.text));
    action->setEnabled(item.id != kCloseCommand || closeBoxEnabled_);
    int id = static_cast<int>(item.id);
    connect(action, &QAction::triggered, this,
            [this, id] { report_(Input(InputEvent::Kind::SysCommand, hwnd_, id)); });
  }
  openMenu_ = menu;
  menu->popup(globalPos);
}
