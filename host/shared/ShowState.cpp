// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/ShowState.h"

ShowState::Action ShowState::For(const DialogModel& d, bool minimizedOnScreen) {
  if (!d.visible) return Action::Hide;
  if (d.minimized) return Action::Minimize;
  return minimizedOnScreen ? Action::Restore : Action::Show;
}

bool ShowState::RaisesOnShow(const DialogModel& d, bool initial) {
  return initial && d.visible && !d.minimized;
}

bool ShowState::IsTaskbarRestore(bool coreVisible, bool coreMinimized) {
  return coreVisible && coreMinimized;
}
