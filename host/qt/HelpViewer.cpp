// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/HelpViewer.h"

#include <QFileInfo>
#include <QUrl>

HelpViewer::HelpViewer() : QTextBrowser(nullptr) {
  setWindowTitle(QStringLiteral("Quorblex Pro Help"));
  setWindowFlag(Qt::Window);
  setOpenExternalLinks(false);
  resize(560, 480);
}

void HelpViewer::Open(const std::string& path) {
  QUrl url = QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
  if (source() != url) setSource(url);
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}
