// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/TrayIcon.h"

#include "common/View.h"
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
      return TrayMouse::kLeftDown;
    case QSystemTrayIcon::Context:
      return TrayMouse::kRightUp;
    case QSystemTrayIcon::DoubleClick:
      return TrayMouse::kLeftDouble;
    default:
      return 0;
  }
}
