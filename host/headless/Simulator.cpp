// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/headless/Simulator.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "common/CWinApp.h"
#include "common/DataFiles.h"
#include "common/NativePath.h"
#include "common/SystemFolders.h"
#include "common/WindowSystem.h"
#include "host/headless/HeadlessAudio.h"
#include "host/headless/HeadlessHost.h"

namespace {
// A profile in a new temporary folder, absent at start and removed at the end.
class TempProfile {
 public:
  TempProfile() : dir_(NewTempFolder("quorblex-sim-")) {}
  ~TempProfile() {
    if (dir_.empty()) return;
    // The profile, its lock file and the folder: all ours.
    std::error_code ec;
    std::filesystem::remove_all(NativePath(dir_), ec);
  }
  TempProfile(const TempProfile&) = delete;
  TempProfile& operator=(const TempProfile&) = delete;
  std::string Path() const { return dir_ + "/quorblex.ini"; }

 private:
  std::string dir_;
};

unsigned ParseSeed(const std::string& s) {
  size_t used = 0;
  unsigned long v = std::stoul(s, &used, 10);
  if (used != s.size() || v > 0xFFFFFFFFul) throw std::invalid_argument("bad seed: " + s);
  return static_cast<unsigned>(v);
}
}  // namespace

SimOptions ParseSimArguments(const std::vector<std::string>& args) {
  SimOptions o;
  bool haveScript = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
      return args[++i];
    };
    if (a == "--help" || a == "-h" || a == "--version") {
      (a == "--version" ? o.version : o.help) = true;
      return o;
    }
    if (a == "--seed") {
      try {
        o.seed = ParseSeed(value());
      } catch (const std::logic_error&) {
        throw std::invalid_argument("--seed needs a number from 0 to 4294967295");
      }
    } else if (a == "--profile") {
      o.profile = value();
    } else if (a == "--data") {
      o.dataDir = value();
    } else if (a == "--no-tray") {
      o.tray = false;
    } else if (a == "--no-sound-device") {
      o.soundDevice = false;
    } else if (a == "--trace") {
      o.trace = true;
    } else if (a == "--every-tick") {
      o.everyTick = true;
    } else if (a == "--trace-wakes") {
      o.traceWakes = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      throw std::invalid_argument("unknown option " + a);
    } else if (!haveScript) {
      o.scriptPath = a;
      haveScript = true;
    } else {
      throw std::invalid_argument("only one script may be given");
    }
  }
  return o;
}

int RunSimulator(const SimOptions& options, std::istream& scriptIn, std::ostream& out,
                 std::ostream& err) {
  std::vector<ScriptCommand> script;
  try {
    script = Script::Parse(scriptIn);
  } catch (const ScriptError& e) {
    err << "quorblex-sim: script " << e.what() << '\n';
    return 2;
  }
  std::optional<TempProfile> temp;
  std::string profile = options.profile;
  if (profile.empty()) {
    temp.emplace();
    profile = temp->Path();
  }
  CWinApp::SetProfilePath(profile);
  if (options.dataDir)
    DataFiles::SetSearchDirs({*options.dataDir});
  else
    DataFiles::SetSearchDirs({".", DataFiles::ProgramDataDir()});

  VirtualClock clock(options.seed);
  Transcript transcript(out, clock, options.trace);
  HeadlessHost host(clock, transcript, std::move(script), options.tray);
  host.TraceWakes(options.traceWakes);
  HeadlessAudio audio(clock, transcript, options.soundDevice);
  WindowSystem ws(clock, host, audio, &host);
  ws.SleepThroughQuietTicks(!options.everyTick);
  transcript.StampWith(ws.clock());
  transcript.Line("start");
  try {
    int code = RunApplication();
    transcript.Line("exit " + std::to_string(code));
  } catch (const ScriptEnded&) {
  }
  out.flush();
  return 0;
}
