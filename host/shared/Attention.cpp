// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/Attention.h"

#include "res/ResourceIds.h"

bool Attention::NeedsTaskbarButton(bool owned, bool ownerShown, bool programInForeground) {
  return owned && (!ownerShown || !programInForeground);
}

bool Attention::IsAnnounced(const ControlModel& c, Change what, bool windowShown) {
  return c.kind == ControlKind::Text && windowShown && c.visible &&
         (what == Change::Text || what == Change::Visible);
}

bool Attention::IsScan(int templateId) {
  return templateId == IDD_SCAN_PROGRESS || templateId == IDD_SCAN_RESULTS ||
         templateId == IDD_ABDUCTEE_SCAN || templateId == IDD_ABDUCTEE_RESULTS;
}

Attention::Balloon::Action Attention::Balloon::MainHidden(bool iconShown) {
  if (given_ || scans_ > 0 || !iconShown) return Action::None;
  given_ = up_ = true;
  return Action::Show;
}

Attention::Balloon::Action Attention::Balloon::MainShown() { return Withdraw(); }

Attention::Balloon::Action Attention::Balloon::ScanOpened() {
  ++scans_;
  return Withdraw();
}

void Attention::Balloon::ScanClosed() {
  if (scans_ > 0) --scans_;
}

Attention::Balloon::Action Attention::Balloon::Withdraw() {
  if (!up_) return Action::None;
  up_ = false;
  return Action::Withdraw;
}
