// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the desktop program next to a plain Qt 6 Widgets peer (quorblex_qt_peer) doing the
// same visible work, both on one private X server with a notification area (trayer), measured
// as a user runs the program: sounds on, monitoring on.
//
//   quorblex_desktop_bench [SECONDS]
//
// Prints: start-up to the mapped window (median of 5, the two programs taking turns); CPU with
// the window shown and the lamps sweeping, then hidden in the notification area (both programs
// running side by side through the same SECONDS, 30 unless given, at most 40); wake-ups a
// second while hidden; peak resident memory; and the ratios to the peer. Then, alone, the
// program hidden with monitoring off. The machine may be busy with other work: the ratios,
// measured in one run, are the figures to compare; run it again when they look noisy.
//
// A wake-up is a context switch of any thread of the program, voluntary or not, as the kernel
// counts them in /proc/PID/task/*/status. Not a test: it prints what it measures.
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/desktop/Harness.h"

namespace {

using Clock = std::chrono::steady_clock;
const char* kProfile = "[Options]\nUseSounds=1\nMonitor=1\n";
const char* kProfileNoMonitor = "[Options]\nUseSounds=1\nMonitor=0\n";
const char* kTitle = "Quorblex Pro";
const char* kPeerTitle = "Qt Peer";

double MsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

void Sleep(int ms) {
  WaitUntil([] { return false; }, ms, ms);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  if (v.empty()) return -1;
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// ---- What the kernel knows of a process ------------------------------------------------------

struct ThreadSample {
  std::string name;
  long long switches = 0;  // voluntary plus involuntary context switches
  double cpuSeconds = 0;   // from the scheduler's own accounting (exact, unlike tick samples)
};

struct Sample {
  Clock::time_point when;
  std::map<std::string, ThreadSample> threads;  // by thread id
};

long long StatusField(const std::filesystem::path& status, const std::string& field) {
  std::ifstream in(status);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field + ":", 0) == 0) return std::atoll(line.c_str() + field.size() + 1);
  return 0;
}

Sample Take(pid_t pid) {
  Sample s;
  s.when = Clock::now();
  std::error_code ec;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
    ThreadSample t;
    std::ifstream(task.path() / "comm") >> t.name;
    t.switches = StatusField(task.path() / "status", "voluntary_ctxt_switches") +
                 StatusField(task.path() / "status", "nonvoluntary_ctxt_switches");
    double ns = 0;
    std::ifstream(task.path() / "schedstat") >> ns;
    t.cpuSeconds = ns / 1e9;
    s.threads[task.path().filename()] = t;
  }
  return s;
}

long PeakRssKb(pid_t pid) {
  return static_cast<long>(StatusField("/proc/" + std::to_string(pid) + "/status", "VmHWM"));
}

// What happened between two samples. A thread that ended in between is missed; one that began
// counts from zero.
struct Usage {
  double cpuPercent = 0;
  double wakeups = 0;                                // a second, all threads
  std::vector<std::pair<std::string, double>> busy;  // threads waking more than once a second
};

Usage Between(const Sample& a, const Sample& b) {
  const double seconds = std::chrono::duration<double>(b.when - a.when).count();
  Usage u;
  double cpu = 0, switches = 0;
  for (const auto& [tid, t] : b.threads) {
    auto before = a.threads.find(tid);
    const ThreadSample zero;
    const ThreadSample& a0 = before == a.threads.end() ? zero : before->second;
    cpu += t.cpuSeconds - a0.cpuSeconds;
    switches += static_cast<double>(t.switches - a0.switches);
    const double rate = static_cast<double>(t.switches - a0.switches) / seconds;
    if (rate >= 1) u.busy.emplace_back(t.name, rate);
  }
  u.cpuPercent = cpu / seconds * 100;
  u.wakeups = switches / seconds;
  return u;
}

// Both programs over the same stretch of time.
std::pair<Usage, Usage> MeasureSideBySide(pid_t a, pid_t b, int seconds) {
  Sample a0 = Take(a), b0 = Take(b);
  Sleep(seconds * 1000);
  Sample a1 = Take(a), b1 = Take(b);
  return {Between(a0, a1), Between(b0, b1)};
}

std::string Threads(const Usage& u) {
  std::string s;
  char buf[96];
  for (const auto& [name, rate] : u.busy) {
    std::snprintf(buf, sizeof buf, "%s%s %.0f/s", s.empty() ? "" : ", ", name.c_str(), rate);
    s += buf;
  }
  return s.empty() ? "none over 1/s" : s;
}

// ---- The two programs ------------------------------------------------------------------------

std::unique_ptr<Program> StartQuorblex(const Xvfb& x, const char* profile) {
  return std::make_unique<Program>(x.Name(), profile);
}

std::unique_ptr<Program> StartPeer(const Xvfb& x) {
  return std::make_unique<Program>(x.Name(), "", std::vector<std::string>{}, QUORBLEX_QT_PEER);
}

struct Startup {
  double ms = -1;     // from starting the program to its window being mapped; -1: it never was
  double cpuMs = -1;  // the CPU time the program had used by then, less swayed by a busy machine
};

Startup StartupOnce(const Xvfb& x, bool peer) {
  ::Display* dpy = x.Connection();
  ::Window root = DefaultRootWindow(dpy);
  XSelectInput(dpy, root, SubstructureNotifyMask);
  XSync(dpy, True);  // drop what came before
  const char* title = peer ? kPeerTitle : kTitle;
  Clock::time_point t0 = Clock::now();
  auto program = peer ? StartPeer(x) : StartQuorblex(x, kProfile);
  Startup s;
  while (s.ms < 0 && MsSince(t0) < 10000) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type == MapNotify && FindWindow(dpy, title) == e.xmap.window) {
        s.ms = MsSince(t0);
        double cpu = 0;
        for (const auto& [tid, t] : Take(program->pid()).threads) cpu += t.cpuSeconds;
        s.cpuMs = cpu * 1000;
      }
    }
    if (s.ms >= 0) break;
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    ::poll(&p, 1, 5);
  }
  XSelectInput(dpy, root, NoEventMask);
  Sleep(300);  // let it settle before it is ended, so that the next start finds a quiet server
  return s;
}

void Click(const Xvfb& x, int screenX, int screenY) {
  Xdotool(x, "mousemove " + std::to_string(screenX) + " " + std::to_string(screenY) + " click 1");
}

// Clicks Minimize and waits for the window to go; whether it went.
bool HideQuorblex(const Xvfb& x, const Program& program) {
  auto dump = ReadDump(program.GeometryFile(), "102");
  if (!dump) return false;
  for (auto& [id, r] : dump->controls)
    if (id == 1) Click(x, dump->window.x + r.x + r.w / 2, dump->window.y + r.y + r.h / 2);
  return WaitUntil([&] { return FindWindow(x.Connection(), kTitle) == 0; }, 5000);
}

bool HidePeer(const Xvfb& x) {
  unsigned long w = FindWindow(x.Connection(), kPeerTitle);
  if (w == 0) return false;
  PixelRect r = WindowRect(x.Connection(), w);
  Click(x, r.x + 50, r.y + 22);
  return WaitUntil([&] { return FindWindow(x.Connection(), kPeerTitle) == 0; }, 5000);
}

struct Phase {
  bool ok = false;
  std::pair<Usage, Usage> usage;  // ours, the peer's
  double rssOurs = 0, rssPeer = 0;
};

// Both programs started afresh, shown or hidden, measured together. The program's monitor
// makes its first check a minute after start, and the alert it may raise would spoil the
// figures, so each phase ends well before that: SECONDS is at most 40.
Phase SideBySide(const Xvfb& x, bool hide, int seconds) {
  Phase phase;
  auto program = StartQuorblex(x, kProfile);
  auto peer = StartPeer(x);
  if (!WaitForWindow(x.Connection(), kTitle, 10000) ||
      !WaitForWindow(x.Connection(), kPeerTitle, 10000)) {
    std::fprintf(stderr, "quorblex_desktop_bench: a window did not appear\n");
    return phase;
  }
  Sleep(8000);  // the opening clip and the welcome cue play out; then only the lamps move
  if (hide) {
    if (!HideQuorblex(x, *program) || !HidePeer(x)) {
      std::fprintf(stderr, "quorblex_desktop_bench: a window did not hide\n");
      return phase;
    }
    Sleep(2000);  // long enough for the idle sound device to be let go
  }
  phase.usage = MeasureSideBySide(program->pid(), peer->pid(), seconds);
  phase.rssOurs = PeakRssKb(program->pid()) / 1024.0;
  phase.rssPeer = PeakRssKb(peer->pid()) / 1024.0;
  phase.ok = true;
  return phase;
}

void Row(const char* what, const char* unit, double ours, double peer, int decimals) {
  std::printf("| %-40s | %8.*f %-3s | %8.*f %-3s | %5.2f |\n", what, decimals, ours, unit, decimals,
              peer, unit, peer > 0 ? ours / peer : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 40) : 30;
  if (!DesktopToolsPresent() || std::system("command -v trayer >/dev/null 2>&1") != 0) {
    std::fprintf(stderr, "quorblex_desktop_bench: needs Xvfb, xdotool and trayer\n");
    return 1;
  }
  Xvfb x;
  if (!x.Ok()) {
    std::fprintf(stderr, "quorblex_desktop_bench: Xvfb did not start\n");
    return 1;
  }
  Program trayer(x.Name(), "", {}, "/usr/bin/trayer",
                 {"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "200",
                  "--heighttype", "pixel", "--height", "24"});
  if (!WaitUntil([&] { return NotificationAreaPresent(x.Connection()); }, 10000)) {
    std::fprintf(stderr, "quorblex_desktop_bench: no notification area appeared\n");
    return 1;
  }

  // ---- Start-up, taking turns so that both see the same load ----
  std::vector<double> ours, peers, oursCpu, peersCpu;
  for (int i = 0; i < 5; ++i) {
    Startup a = StartupOnce(x, false), b = StartupOnce(x, true);
    ours.push_back(a.ms);
    oursCpu.push_back(a.cpuMs);
    peers.push_back(b.ms);
    peersCpu.push_back(b.cpuMs);
  }
  std::printf("start-up runs (ms, ours/peer):");
  for (int i = 0; i < 5; ++i) std::printf(" %.0f/%.0f", ours[i], peers[i]);
  std::printf("\n");

  // ---- Side by side: shown, then hidden, each in a fresh pair of programs ----
  Phase shown = SideBySide(x, false, seconds);
  Phase hidden = SideBySide(x, true, seconds);
  if (!shown.ok || !hidden.ok) return 1;
  auto [shownOurs, shownPeer] = shown.usage;
  auto [hiddenOurs, hiddenPeer] = hidden.usage;
  const double rssOurs = std::max(shown.rssOurs, hidden.rssOurs);
  const double rssPeer = std::max(shown.rssPeer, hidden.rssPeer);

  // ---- Alone: hidden with monitoring off ----
  double quietWakeups = -1;
  std::string quietThreads;
  {
    auto quiet = StartQuorblex(x, kProfileNoMonitor);
    if (WaitForWindow(x.Connection(), kTitle, 10000)) {
      Sleep(2000);
      if (HideQuorblex(x, *quiet)) {
        Sleep(3000);
        Sample a = Take(quiet->pid());
        Sleep(seconds * 1000);
        Usage u = Between(a, Take(quiet->pid()));
        quietWakeups = u.wakeups;
        quietThreads = Threads(u);
      }
    }
  }

  std::printf("\n| %-40s | %12s | %12s | %5s |\n", "", "Quorblex Pro", "plain Qt 6", "ratio");
  std::printf("|%s|%s|%s|%s|\n", std::string(42, '-').c_str(), std::string(14, '-').c_str(),
              std::string(14, '-').c_str(), std::string(7, '-').c_str());
  Row("start to mapped window (median of 5)", "ms", Median(ours), Median(peers), 0);
  Row("  CPU time used by then (median of 5)", "ms", Median(oursCpu), Median(peersCpu), 0);
  Row("CPU, window shown, sweep running", "%", shownOurs.cpuPercent, shownPeer.cpuPercent, 2);
  Row("CPU, hidden in the tray", "%", hiddenOurs.cpuPercent, hiddenPeer.cpuPercent, 2);
  Row("wake-ups per second, hidden", "/s", hiddenOurs.wakeups, hiddenPeer.wakeups, 0);
  Row("peak resident memory", "MB", rssOurs, rssPeer, 1);
  std::printf("\nwake-ups by thread, hidden: ours: %s; peer: %s\n", Threads(hiddenOurs).c_str(),
              Threads(hiddenPeer).c_str());
  std::printf("hidden with monitoring off: %.1f wake-ups a second (%s)  goal <= 2\n", quietWakeups,
              quietThreads.c_str());
  std::printf(
      "goals: start <= 1.2 x peer, shown CPU <= peer, hidden CPU <= peer, hidden wake-ups <= "
      "peer + 5, memory <= 1.25 x peer\n");
  return 0;
}
