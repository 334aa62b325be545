// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/headless/Script.h"

#include <cctype>
#include <charconv>
#include <map>
#include <sstream>

#include "common/WinTypes.h"

namespace {
std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::int64_t Number(const std::string& word, int line, std::int64_t lo, std::int64_t hi) {
  std::int64_t v = 0;
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, v);
  if (ec != std::errc() || p != end || v < lo || v > hi)
    throw ScriptError(line, "bad number '" + word + "'");
  return v;
}

bool ParseKey(const std::string& name, InputEvent& e) {
  static const std::map<std::string, Key> keys = {
      {"Enter", Key::Enter},   {"Escape", Key::Escape},     {"Space", Key::Space},
      {"Tab", Key::Tab},       {"Shift+Tab", Key::ShiftTab}, {"Left", Key::Left},
      {"Right", Key::Right},   {"Up", Key::Up},             {"Down", Key::Down},
      {"Home", Key::Home},     {"End", Key::End},           {"PageUp", Key::PageUp},
      {"PageDown", Key::PageDown}};
  if (auto it = keys.find(name); it != keys.end()) {
    e.key = it->second;
    return true;
  }
  std::string letter = name;
  if (name.rfind("Alt+", 0) == 0) {
    e.alt = true;
    letter = name.substr(4);
  }
  if (letter.size() != 1 || !std::isalnum(static_cast<unsigned char>(letter[0]))) return false;
  e.key = Key::Letter;
  e.letter = letter[0];
  return true;
}

int TrayMessage(const std::string& name) {
  static const std::map<std::string, int> events = {
      {"lbuttondown", static_cast<int>(WM_LBUTTONDOWN)},
      {"lbuttonup", static_cast<int>(WM_LBUTTONUP)},
      {"rbuttondown", static_cast<int>(WM_RBUTTONDOWN)},
      {"rbuttonup", static_cast<int>(WM_RBUTTONUP)},
      {"lbuttondblclk", static_cast<int>(WM_LBUTTONDBLCLK)},
      {"mousemove", static_cast<int>(WM_MOUSEMOVE)}};
  auto it = events.find(name);
  return it == events.end() ? 0 : it->second;
}
}  // namespace

ScriptCommand Script::ParseLine(const std::string& raw, int line) {
  std::string text = raw.substr(0, raw.find('#'));
  auto w = Words(text);
  ScriptCommand c;
  if (w.empty()) {
    c.blank = true;
    return c;
  }
  const std::string& cmd = w[0];
  auto need = [&](size_t n) {
    if (w.size() != n) throw ScriptError(line, "'" + cmd + "' takes " + std::to_string(n - 1) + " argument(s)");
  };
  using K = InputEvent::Kind;
  InputEvent& e = c.input;
  if (cmd == "wait") {
    need(2);
    c.isWait = true;
    c.waitMs = Number(w[1], line, 0, std::int64_t{1} << 50);
    return c;
  }
  if (cmd == "click") {
    need(2);
    e.kind = K::Click;
    e.id = static_cast<int>(Number(w[1], line, -1, 65535));
  } else if (cmd == "key") {
    need(2);
    e.kind = K::Key;
    if (!ParseKey(w[1], e)) throw ScriptError(line, "unknown key '" + w[1] + "'");
  } else if (cmd == "close") {
    need(1);
    e.kind = K::Close;
  } else if (cmd == "sysmenu") {
    need(2);
    e.kind = K::SysCommand;
    e.id = static_cast<int>(Number(w[1], line, 0, 65535));
  } else if (cmd == "tray") {
    need(2);
    e.kind = K::Tray;
    e.id = TrayMessage(w[1]);
    if (!e.id) throw ScriptError(line, "unknown tray event '" + w[1] + "'");
  } else if (cmd == "slide") {
    need(3);
    e.kind = K::Slide;
    e.id = static_cast<int>(Number(w[1], line, -1, 65535));
    e.pos = static_cast<int>(Number(w[2], line, -100000, 100000));
  } else if (cmd == "taskbar") {
    need(1);
    e.kind = K::Taskbar;
  } else {
    throw ScriptError(line, "unknown command '" + cmd + "'");
  }
  for (size_t i = 0; i < w.size(); ++i) e.origin += (i ? " " : "") + w[i];
  return c;
}

std::vector<ScriptCommand> Script::Parse(std::istream& in) {
  std::vector<ScriptCommand> commands;
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    ScriptCommand c = ParseLine(line, n);
    if (!c.blank) commands.push_back(std::move(c));
  }
  return commands;
}
