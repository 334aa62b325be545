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

#include "common/WindowSystem.h"
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
#include "host/shared/DialogTexts.h"

namespace {

Qt::WindowFlags FlagsFor(const Window& dialog, bool owned) {
  // A classic dialog frame: caption, window menu and close box, no minimize or maximize box.
  Qt::WindowFlags flags = owned ? Qt::Dialog : Qt::Window;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  if (dialog.closeBoxEnabled) flags |= Qt::WindowCloseButtonHint;
  return flags;
}

std::optional<Key> NamedKey(int qtKey, bool shift) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_Space:
      return Key::Space;
    case Qt::Key_Tab:
      return shift ? Key::ShiftTab : Key::Tab;
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

// A text as the dialog font draws it at `stretch`.
TextFit::Extent Measure(const TextFit::Item& item, int stretch) {
  return FontFit::Measure(DialogUnits::Font(), item, stretch);
}

InputEvent Input(InputEvent::Kind kind, HWND target, int id = 0) {
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

DialogWindow::DialogWindow(const Window& dialog, DialogWindow* owner, Report report,
                           std::function<void()> toModal)
    : QWidget(owner, FlagsFor(dialog, owner != nullptr)),
      hwnd_(dialog.hwnd),
      templateId_(dialog.templateId),
      owner_(owner),
      report_(std::move(report)),
      toModal_(std::move(toModal)),
      templateRect_(dialog.rect),
      centered_(dialog.tmpl && dialog.tmpl->centered),
      menu_(dialog.sysMenu),
      closeBoxEnabled_(dialog.closeBoxEnabled) {
  Accessibility::Install(this, dialog.templateId == kMessageBoxTemplate);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFocusPolicy(Qt::NoFocus);
  setFont(DialogUnits::Font());
  setWindowTitle(QString::fromStdString(dialog.text));
  QRect client = DialogUnits::ToPixels(dialog.rect);
  setFixedSize(client.size());
  for (HWND h : dialog.children)
    if (const Window* c = WindowSystem::Get().Find(h)) AddView(*c, dialog);
  FitFont();
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::AddView(const Window& c, const Window& dialog) {
  ControlView* view = nullptr;
  HWND target = hwnd_;
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
      view = new IconView(this, dialog.boxFlags & MB_ICONMASK);
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
  views_.emplace_back(c.hwnd, view);
  byHandle_[c.hwnd] = view;
}

void DialogWindow::ApplyAll(const Window& c, ControlView* view) {
  for (Change what : {Change::Text, Change::Picture, Change::Checked, Change::Trackbar})
    view->Apply(c, what);
  QWidget* w = view->widget();
  w->setEnabled(c.enabled);
  w->setToolTip(QString::fromStdString(c.tooltip));
  w->setVisible(c.visible);
}

// One face, size and width for every text of the dialog, decided now from every text it can
// show: its controls' own and those the program reveals later.
void DialogWindow::FitFont() {
  for (auto& [h, view] : views_) {
    const Window* c = WindowSystem::Get().Find(h);
    if (!c) continue;
    std::vector<std::string> texts = DialogTexts::Later(templateId_, c->id);
    texts.push_back(c->text);
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
bool DialogWindow::Refit(const Window& c, const ControlView& view) {
  auto item = FontFit::ItemOf(view, c.text);
  if (!item || TextFit::FitsAt(*item, stretch_, Measure)) return false;
  texts_.push_back(std::move(*item));
  int before = stretch_;
  ApplyStretch();
  return stretch_ != before;
}

ControlView* DialogWindow::View(HWND control) const {
  auto it = byHandle_.find(control);
  return it == byHandle_.end() ? nullptr : it->second;
}

// ---- The core's notifications ---------------------------------------------------------

void DialogWindow::ControlChanged(const Window& c, Change what) {
  ControlView* view = View(c.hwnd);
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

void DialogWindow::Shown(const Window& d, bool initial) {
  coreVisible_ = d.visible;
  coreMinimized_ = d.minimized;
  applyingState_ = true;
  if (!placed_) Place();
  if (initial) {
    // Controls the program set up before the window first showed (a trackbar's range, say)
    // are taken again as they are now.
    for (auto& [h, view] : views_)
      if (const Window* c = WindowSystem::Get().Find(h)) ApplyAll(*c, view);
  }
  // A minimized window paints nothing until it comes back.
  setUpdatesEnabled(!d.minimized);
  if (!d.visible) {
    hide();
  } else if (d.minimized) {
    showMinimized();
  } else if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  if (initial && d.visible && !d.minimized) Raise();
  applyingState_ = false;
}

void DialogWindow::EnabledChanged(const Window& d) {
  const bool waited = blocked_;
  blocked_ = !d.enabled;
  // Its dialog gone, a window that the desktop had kept active is the user's again.
  if (waited && !blocked_ && isActiveWindow()) TellFocus();
}

// A reader hears that a window became active from Qt; where its focus is, from us.
void DialogWindow::TellFocus() {
  if (ControlView* focused = View(focus_)) Accessibility::Activated(focused->widget());
}

void DialogWindow::FocusChanged(const Window& d) {
  HWND def = WindowSystem::Get().DefaultLookButton(d);
  for (auto& [h, view] : views_) {
    bool changed = view->SetFocusLook(h == d.focus);
    changed |= view->SetDefaultLook(h == def);
    if (changed && OnScreen()) view->widget()->repaint();
  }
  focus_ = d.focus;
  if (ControlView* focused = View(focus_); focused && OnScreen())
    Accessibility::FocusMoved(focused->widget());
}

void DialogWindow::MenuChanged(const Window& d) {
  menu_ = d.sysMenu;
  closeBoxEnabled_ = d.closeBoxEnabled;
}

void DialogWindow::Raise() {
  raise();
  activateWindow();
}

void DialogWindow::Place() {
  placed_ = true;
  QRect r(QPoint(), size());
  QScreen* screen = owner_ ? owner_->screen() : QGuiApplication::primaryScreen();
  QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  if (!owner_) {
    r.moveCenter(area.center());
  } else if (centered_) {
    r.moveCenter(owner_->geometry().center());
  } else {
    r.moveTopLeft(owner_->geometry().topLeft() + QPoint(DialogUnits::ToPixelsX(templateRect_.x),
                                                        DialogUnits::ToPixelsY(templateRect_.y)));
  }
  // A centred window is kept on the screen, as the dialog manager does.
  if (!owner_ || centered_) {
    r.moveRight(std::min(r.right(), area.right()));
    r.moveBottom(std::min(r.bottom(), area.bottom()));
    r.moveLeft(std::max(r.left(), area.left()));
    r.moveTop(std::max(r.top(), area.top()));
  }
  setGeometry(r);
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
  Qt::KeyboardModifiers mods = key.modifiers();
  if (mods & (Qt::ControlModifier | Qt::MetaModifier)) return;
  bool alt = mods & Qt::AltModifier;
  if (alt && key.key() == Qt::Key_Space) {
    ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
    return;
  }
  InputEvent e = Input(InputEvent::Kind::Key, hwnd_);
  if (auto named = NamedKey(key.key(), mods & Qt::ShiftModifier)) {
    e.key = *named;
  } else if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) {
    e.key = Key::Letter;
    e.letter = static_cast<char>('A' + (key.key() - Qt::Key_A));
    e.alt = alt;
  } else if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9) {
    e.key = Key::Letter;
    e.letter = static_cast<char>('0' + (key.key() - Qt::Key_0));
    e.alt = alt;
  } else {
    return;
  }
  report_(std::move(e));
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
  if (coreVisible_ && coreMinimized_ && !(windowState() & Qt::WindowMinimized))
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
    action->setEnabled(item.id != SC_CLOSE || closeBoxEnabled_);
    int id = static_cast<int>(item.id);
    connect(action, &QAction::triggered, this,
            [this, id] { report_(Input(InputEvent::Kind::SysCommand, hwnd_, id)); });
  }
  openMenu_ = menu;
  menu->popup(globalPos);
}
