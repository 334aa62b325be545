// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the simulator's script: any bytes must parse or be refused with the
// number of a line that exists, and a parsed command must read back as itself from the text
// the simulator prints for it. A script that parses, and stays short in virtual time, then
// drives the real program on the headless host, so the fuzzer also explores the program's
// windows through every kind of input. The run must end cleanly ("end" or "exit 0"), with a
// transcript whose times never go back and whose windows open and close in nested order.
//
// The options come from the input's length, so every input is a plain script:
//   bit 0 no notification area, bit 1 no sound device; the seed is the length.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "host/headless/Script.h"
#include "host/headless/Simulator.h"

#ifndef QUORBLEX_FUZZ_DATA
#define QUORBLEX_FUZZ_DATA "res"
#endif

namespace {

// A run costs wall time for every tick of the lamp sweep: keep each one to a few thousand.
constexpr std::int64_t kMaxVirtualMs = 65'000;
constexpr size_t kMaxCommands = 400;

void Check(bool ok, const char* what, const std::string& detail = "") {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n%s\n", what, detail.c_str());
    std::abort();
  }
}

bool SameCommand(const ScriptCommand& a, const ScriptCommand& b) {
  if (a.isWait != b.isWait || a.blank != b.blank) return false;
  if (a.isWait) return a.waitMs == b.waitMs;
  const InputEvent& x = a.input;
  const InputEvent& y = b.input;
  return x.kind == y.kind && x.id == y.id && x.pos == y.pos && x.key == y.key &&
         x.letter == y.letter && x.alt == y.alt && x.origin == y.origin;
}

size_t CountLines(const std::string& text) {
  size_t n = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  return n + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

// Window names from "open WIN ..." / "msgbox ..." / "close WIN RESULT".
void CheckTranscript(const std::string& out) {
  std::istringstream in(out);
  std::vector<std::string> open;
  std::int64_t last = 0;
  std::string line, lastEvent;
  bool first = true;
  while (std::getline(in, line)) {
    const size_t sp = line.find(' ');
    Check(sp != std::string::npos && sp > 0, "a line is a time and an event", line);
    const std::int64_t t = std::stoll(line.substr(0, sp));
    const std::string event = line.substr(sp + 1);
    Check(t >= last, "time never goes back", line);
    last = t;
    if (first) Check(event == "start" && t == 0, "the run starts at 0", line);
    first = false;
    Check(lastEvent != "end" && lastEvent.rfind("exit", 0) != 0, "nothing after the end", line);
    lastEvent = event;
    if (event.rfind("open ", 0) == 0) {
      open.push_back(event.substr(5, event.find(' ', 5) - 5));
    } else if (event.rfind("msgbox ", 0) == 0) {
      open.push_back("msgbox");
    } else if (event.rfind("close ", 0) == 0) {
      const std::string win = event.substr(6, event.find(' ', 6) - 6);
      Check(!open.empty() && open.back() == win, "windows close innermost first", out);
      open.pop_back();
    }
  }
  Check(lastEvent == "end" || lastEvent == "exit 0", "the run ends cleanly", out);
  if (lastEvent == "exit 0") Check(open.empty(), "every window is closed at exit", out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<ScriptCommand> script;
  try {
    std::istringstream in(text);
    script = Script::Parse(in);
  } catch (const ScriptError& e) {
    Check(e.line() >= 1 && static_cast<size_t>(e.line()) <= CountLines(text),
          "an error names a line of the script");
    return 0;
  }

  std::int64_t virtualMs = 0;
  for (const ScriptCommand& c : script) {
    Check(!c.blank, "blank lines are dropped");
    const std::string printed = c.isWait ? "wait " + std::to_string(c.waitMs) : c.input.origin;
    Check(SameCommand(Script::ParseLine(printed, 1), c), "a command reads back as itself", printed);
    if (c.isWait) virtualMs += std::min<std::int64_t>(c.waitMs, kMaxVirtualMs + 1);
  }
  if (virtualMs > kMaxVirtualMs || script.size() > kMaxCommands) return 0;

  SimOptions options;
  options.seed = static_cast<unsigned>(size);
  options.tray = (size & 1) == 0;
  options.soundDevice = (size & 2) == 0;
  options.trace = true;
  options.dataDir = QUORBLEX_FUZZ_DATA;
  std::istringstream in(text);
  std::ostringstream out, err;
  const int status = RunSimulator(options, in, out, err);
  Check(status == 0, "a parsed script runs", err.str());
  CheckTranscript(out.str());
  return 0;
}
