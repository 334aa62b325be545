// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/DesktopSession.h"

#include <unistd.h>

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>

#include "host/qt/DialogUnits.h"
#include "host/qt/ProgramIcon.h"

namespace {

bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

// While the platform is being opened, Qt's complaints become our one line, and its fatal
// error our exit status instead of an abort and a core file.
void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtFatalMsg) return;
  std::fprintf(stderr, "%s\n", DesktopSession::kNoDisplay);
  std::fflush(stderr);
  ::_exit(1);
}

// The classic three-dimensional grey.
QPalette ClassicPalette() {
  const QColor face(0xC0, 0xC0, 0xC0);
  QPalette pal(Qt::black, face, Qt::white, QColor(0x80, 0x80, 0x80), QColor(0xA0, 0xA0, 0xA0),
               Qt::black, Qt::white, Qt::white, face);
  pal.setColor(QPalette::Midlight, QColor(0xDF, 0xDF, 0xDF));
  pal.setColor(QPalette::Shadow, Qt::black);
  pal.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
  pal.setColor(QPalette::HighlightedText, Qt::white);
  pal.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
  pal.setColor(QPalette::ToolTipText, Qt::black);
  const QColor grey(0x80, 0x80, 0x80);
  for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    pal.setColor(QPalette::Disabled, role, grey);
  pal.setColor(QPalette::Disabled, QPalette::Base, face);
  return pal;
}

}  // namespace

bool DesktopSession::DisplayConfigured() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

DesktopSession::DesktopSession(int& argc, char** argv, bool styleChosen) {
  // Whole scale factors only, so that the pictures grow by whole pixels and stay sharp.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
  QtMessageHandler previous = qInstallMessageHandler(StartupMessages);
  app_ = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  QApplication::setApplicationName(QStringLiteral("Quorblex Pro"));
  QApplication::setQuitOnLastWindowClosed(false);
  if (QStyle* style = styleChosen ? nullptr : QStyleFactory::create(QStringLiteral("Windows")))
    QApplication::setStyle(style);
  QApplication::setPalette(ClassicPalette());
  QApplication::setFont(DialogUnits::Font());
  QApplication::setWindowIcon(ProgramIcon::Get());
}

DesktopSession::~DesktopSession() = default;
