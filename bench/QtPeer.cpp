// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex_qt_peer: a plain Qt 6 Widgets program doing the same visible work as Quorblex Pro's
// main window, for the desktop benchmark to measure against. Ten 20 x 20 pictures in a row, the
// lit one moving every 25 ms; six push buttons, the first of which hides the window; an icon in
// the notification area that brings it back. Nothing else: no style, palette or font of its
// own, no sound.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <array>

namespace {

QPixmap Lamp(const QColor& colour) {
  QPixmap p(20, 20);
  p.fill(Qt::darkGray);
  QPainter painter(&p);
  painter.setBrush(colour);
  painter.drawEllipse(3, 3, 14, 14);
  return p;
}

class PeerWindow : public QWidget {
 public:
  PeerWindow() : unlit_(Lamp(Qt::darkGreen)), lit_(Lamp(Qt::green)) {
    setWindowTitle(QStringLiteral("Qt Peer"));
    setFixedSize(340, 120);
    // The first button sits where the benchmark clicks it: (10, 10), 80 x 24.
    const char* names[] = {"Minimize", "Scan", "Abductee", "Settings", "About...", "Exit"};
    for (int i = 0; i < 6; ++i) {
      auto* b = new QPushButton(QString::fromLatin1(names[i]), this);
      b->setGeometry(10 + (i % 3) * 90, 10 + (i / 3) * 30, 80, 24);
      if (i == 0) connect(b, &QPushButton::clicked, this, &QWidget::hide);
      if (i == 5) connect(b, &QPushButton::clicked, qApp, &QApplication::quit);
    }
    for (int i = 0; i < 10; ++i) {
      lamps_[i] = new QLabel(this);
      lamps_[i]->setGeometry(10 + i * 24, 80, 20, 20);
      lamps_[i]->setPixmap(unlit_);
    }
    tray_.setIcon(QIcon(lit_));
    tray_.setToolTip(QStringLiteral("Qt Peer"));
    connect(&tray_, &QSystemTrayIcon::activated, this, [this] { show(); });
    tray_.show();
    connect(&sweep_, &QTimer::timeout, this, [this] { Step(); });
    sweep_.start(25);
  }

 private:
  void Step() {
    lamps_[lit_index_]->setPixmap(unlit_);
    lit_index_ = (lit_index_ + 1) % 10;
    lamps_[lit_index_]->setPixmap(lit_);
  }

  QPixmap unlit_, lit_;
  std::array<QLabel*, 10> lamps_{};
  int lit_index_ = 0;
  QSystemTrayIcon tray_;
  QTimer sweep_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  PeerWindow window;
  window.show();
  return QApplication::exec();
}
