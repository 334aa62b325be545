// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/TrayIcon.h"

#include "common/WinTypes.h"
#include "host/qt/ProgramIcon.h"

bool TrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

TrayIcon::TrayIcon(const std::string& tip, std::function<void(int message)> report)
    : icon_(ProgramIcon::Get()), report_(std::move(report)) {
  icon_.setToolTip(QString::fromStdString(tip));
  QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     if (int message = MessageFor(reason)) report_(message);
                   });
  icon_.show();
}

int TrayIcon::MessageFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return static_cast<int>(WM_LBUTTONDOWN);
    case QSystemTrayIcon::Context:
      return static_cast<int>(WM_RBUTTONUP);
    case QSystemTrayIcon::DoubleClick:
      return static_cast<int>(WM_LBUTTONDBLCLK);
    default:
      return 0;
  }
}
