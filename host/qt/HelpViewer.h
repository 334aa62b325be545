// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own help viewer: an ordinary window showing the help page. Opening it again
// brings the one window up rather than making another.
#include <QTextBrowser>
#include <string>

class HelpViewer : public QTextBrowser {
 public:
  HelpViewer();
  void Open(const std::string& path);
};
