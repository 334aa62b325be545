// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/soak/SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>

#include "tools/soak/FileText.h"

namespace {

int StatusOf(int raw) {
  if (WIFEXITED(raw)) return WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
  return -1;
}

// Child side of the fork: only async-signal-safe calls until exec.
// The soak runs several seeds on threads, so nothing here may allocate.
[[noreturn]] void Exec(char* const* args, int out, const char* errPath) {
  const int err = ::open(errPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (err < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0) _exit(126);
  const int in = ::open("/dev/null", O_RDONLY);
  if (in >= 0) ::dup2(in, STDIN_FILENO);
  ::execv(args[0], args);
  _exit(127);
}

}  // namespace

SimOutcome SimProcess::Run(const std::vector<std::string>& argv, const std::string& errPath,
                           double wallSeconds, const LineReader& reader) {
  SimOutcome outcome;
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    outcome.errors = "soak: no pipe";
    return outcome;
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) Exec(args.data(), pipeFds[1], errPath.c_str());
  ::close(pipeFds[1]);
  if (pid < 0) {
    ::close(pipeFds[0]);
    outcome.errors = "soak: cannot start " + argv[0];
    return outcome;
  }

  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                        std::chrono::duration<double>(wallSeconds));
  std::string pending;
  std::vector<char> buffer(1 << 16);
  bool open = true;
  while (open && !outcome.timedOut && !outcome.stopped) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      outcome.timedOut = true;
      break;
    }
    pollfd p{pipeFds[0], POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    const ssize_t got = ::read(pipeFds[0], buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      open = false;
      break;
    }
    pending.append(buffer.data(), static_cast<size_t>(got));
    size_t start = 0;
    for (size_t nl; (nl = pending.find('\n', start)) != std::string::npos; start = nl + 1) {
      if (!reader(std::string_view(pending).substr(start, nl - start))) {
        outcome.stopped = true;
        break;
      }
    }
    pending.erase(0, start);
  }
  if (open) ::kill(pid, SIGKILL);  // only the process started here, by its id
  ::close(pipeFds[0]);
  int raw = 0;
  while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
  }
  outcome.status = StatusOf(raw);
  if (!pending.empty() && !outcome.stopped && !outcome.timedOut) {
    if (!reader(pending)) outcome.stopped = true;
  }
  outcome.errors = Slurp(errPath);
  return outcome;
}
