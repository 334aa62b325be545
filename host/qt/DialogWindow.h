// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One top-level window for one of the core's dialogs (or message boxes), with a widget for
// each control in template order, which is also the stacking order: later controls lie above
// earlier ones.
//
// It only shows the core's state and reports raw input. Clicks on buttons, checkboxes and
// trackbars, keys, the close box and the window-menu choices become InputEvents for the core;
// Qt never moves the focus, never ticks a checkbox and never fires a mnemonic on its own. While
// the core has the window disabled (it owns a modal dialog) its input is swallowed, but it is
// not greyed.
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

#include "common/View.h"
#include "host/qt/ControlView.h"
#include "host/shared/TextFit.h"

class DialogWindow : public QWidget {
 public:
  using Report = std::function<void(InputEvent)>;

  // `owner` is the window this one is modal to, or null for the main window. `toModal` is
  // called when the user tries to activate this window while the core has it disabled: the
  // modal window in front of it should come up instead, as on the platform the program was
  // written for.
  DialogWindow(const DialogModel& dialog, DialogWindow* owner, Report report,
               std::function<void()> toModal);
  ~DialogWindow() override;

  ViewHandle hwnd() const { return hwnd_; }
  int templateId() const { return templateId_; }
  DialogWindow* Owner() const { return owner_; }

  // The core's notifications. Each leaves the change painted on screen before it returns.
  void ControlChanged(const ControlModel& control, Change what);
  void Shown(const DialogModel& dialog, bool initial);
  void EnabledChanged(bool enabled);
  void FocusChanged(ViewHandle focus, ViewHandle defaultLook);
  void MenuChanged(const std::vector<MenuItem>& menu, bool closeBoxEnabled);
  void Raise();

  // The views in template order, and one by handle (null when there is none).
  const std::vector<std::pair<ViewHandle, ControlView*>>& Views() const { return views_; }
  ControlView* View(ViewHandle control) const;
  // The control's id in its template; 0 when there is none.
  int ControlId(ViewHandle control) const;
  bool InputBlocked() const { return blocked_; }
  // The window menu, built from the core's items; open until an item is chosen or it is left.
  void ShowSystemMenu(const QPoint& globalPos);
  QMenu* OpenSystemMenu() const { return openMenu_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void AddView(const ControlModel& control, const DialogModel& dialog);
  void FitFont(const DialogModel& dialog);
  bool Refit(const ControlModel& control, const ControlView& view);
  void ApplyStretch();
  void ApplyAll(const ControlModel& control, ControlView* view);
  void Place();
  void HandleKey(const QKeyEvent& key);
  bool OnScreen() const { return coreVisible_ && !coreMinimized_ && isVisible(); }
  bool Swallow(QEvent::Type type);
  void TellFocus();

  ViewHandle hwnd_;
  int templateId_;
  QPointer<DialogWindow> owner_;
  Report report_;
  std::function<void()> toModal_;
  Rect templateRect_;
  bool centered_;
  bool blocked_ = false;
  bool coreVisible_ = false, coreMinimized_ = false;
  bool placed_ = false;
  bool applyingState_ = false;
  std::vector<MenuItem> menu_;
  bool closeBoxEnabled_;
  ViewHandle focus_ = kNoView;  // the control with the core's keyboard focus
  std::vector<std::pair<ViewHandle, ControlView*>> views_;
  std::map<ViewHandle, ControlView*> byHandle_;
  std::map<ViewHandle, int> ids_;
  std::vector<TextFit::Item> texts_;  // every text the dialog can show, in its control's room
  int stretch_ = TextFit::kFullWidth;
  QPointer<QMenu> openMenu_;
};
