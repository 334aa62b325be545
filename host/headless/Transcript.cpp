// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/headless/Transcript.h"

void Transcript::Line(const std::string& event) {
  if (closed_) return;
  out_ << clock_->Now() << ' ' << event << '\n';
}

std::string Transcript::Quote(const std::string& text) {
  std::string q = "\"";
  for (char c : text) {
    if (c == '\\')
      q += "\\\\";
    else if (c == '"')
      q += "\\\"";
    else if (c == '\n')
      q += "\\n";
    else
      q += c;
  }
  return q + '"';
}
