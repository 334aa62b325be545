// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Two processes hammer one profile at the same time. Every write must survive intact: no lost
// or duplicated keys, no torn file, and the lines around the settings stay put. And the
// simulator, killed again and again in the middle of saving its settings, never leaves a torn
// profile, nor a temp file that outlives the next save, with unnamed temp files or without.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/IniText.h"
#include "common/ProfileStore.h"
#include "tests/support/SimRun.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 1000;
constexpr int kSeconds = 120;  // a writer still running after this is stuck; SIGALRM ends it
constexpr int kKeyCount = 8;
const char* const kKeys[kKeyCount] = {"UseSounds", "Monitor", "Scan1", "Scan2",
                                      "Scan3",     "Scan4",   "Scan5", "Sensitivity"};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writer w stores w * 1000000 + round, so each value says who wrote it and when.
int Value(int writer, int round) { return writer * 1000000 + round; }

// How many of the eight keys the file holds, or -1 when it is not the head we wrote plus
// "Key=digits" lines, each key at most once, in the [Options] section.
int CountKeysIfWellFormed(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != "; shared profile") return -1;
  if (!std::getline(lines, line) || line != "[Options]") return -1;
  std::set<std::string> seen;
  while (std::getline(lines, line) && !line.empty()) {
    const size_t eq = line.find('=');
    const std::string key = line.substr(0, eq);
    if (eq == std::string::npos || eq + 1 == line.size() ||
        line.find_first_not_of("0123456789", eq + 1) != std::string::npos ||
        !seen.insert(key).second || !IniText::FindInt(text, "Options", key)) {
      return -1;
    }
  }
  if (!seen.contains("Monitor")) return -1;
  if (!std::getline(lines, line) || line != "[Window]") return -1;
  if (!std::getline(lines, line) || line != "Left=1" || std::getline(lines, line)) return -1;
  if (!text.ends_with("\n")) return -1;
  return static_cast<int>(seen.size());
}

// Writer 1 walks the keys forwards and writer 2 backwards. After each write the writer reads the
// file back: it must be whole, and no value may come back once it is known to be gone. Writes are
// serialized, so per key each writer's values only move forwards; and once this writer has
// replaced a key, the other writer's value it saw there last is gone for good. A write based on a
// stale read of the file brings such a value back.
[[noreturn]] void RunWriter(const std::string& path, int writer, int startGate) {
  ::alarm(kSeconds);
  char byte;
  while (::read(startGate, &byte, 1) < 0 && errno == EINTR) {
  }
  ProfileStore store(path);
  const int other = 3 - writer;
  int seen[3][kKeyCount];    // [writer][key]: the round last seen there, -1 before any
  int lowest[3][kKeyCount];  // [writer][key]: the oldest round that may still show up
  for (auto& rounds : seen) std::fill(std::begin(rounds), std::end(rounds), -1);
  for (auto& rounds : lowest) std::fill(std::begin(rounds), std::end(rounds), 0);
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < kKeyCount; ++i) {
      const int k = writer == 1 ? i : kKeyCount - 1 - i;
      if (!store.WriteInt("Options", kKeys[k], Value(writer, round))) ::_exit(2);
      seen[writer][k] = lowest[writer][k] = round;
      lowest[other][k] = std::max(lowest[other][k], seen[other][k] + 1);
      const std::string text = ReadAll(path);
      if (CountKeysIfWellFormed(text) < 0) ::_exit(3);
      for (int j = 0; j < kKeyCount; ++j) {
        const auto value = IniText::FindInt(text, "Options", kKeys[j]);
        if (!value) {
          if (seen[writer][j] >= 0) ::_exit(4);  // a key this writer wrote vanished
          continue;
        }
        const int from = *value / 1000000;
        const int valueRound = *value % 1000000;
        if (from < 1 || from > 2) continue;
        if (valueRound < lowest[from][j]) ::_exit(5);
        seen[from][j] = lowest[from][j] = valueRound;
      }
    }
  }
  ::_exit(0);
}

TEST(ProfileStressTest, TwoProcessesWritingAtOnceLoseNothing) {
  // tmpfs when there is one: the point is the locking, not the disk's fsync speed.
  const fs::path base =
      fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string dir = (base / "profile-stress-XXXXXX").string();
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  struct Cleanup {
    std::string dir;
    ~Cleanup() { fs::remove_all(dir); }
  } cleanup{dir};
  const std::string path = dir + "/shared.ini";
  std::ofstream(path, std::ios::binary) << "; shared profile\n[Options]\nMonitor=0\n\n"
                                           "[Window]\nLeft=1\n";

  // Both writers wait at the gate until it closes, so that they really run at the same time.
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = ::fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      ::close(gate[1]);
      RunWriter(path, w + 1, gate[0]);
    }
  }
  ::close(gate[0]);
  ::close(gate[1]);
  for (pid_t writer : writers) {
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    // Exit codes: 2 a write failed, 3 a torn or malformed file, 4 a key vanished, 5 a key went
    // back to an older value; killed by SIGALRM: stuck.
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << (WIFEXITED(status) ? "writer exited with " : "writer killed by signal ")
        << (WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
  }

  const std::string text = ReadAll(path);
  EXPECT_EQ(CountKeysIfWellFormed(text), kKeyCount) << text;
  // The last write of each key came from one writer's last round.
  ProfileStore store(path);
  for (const char* key : kKeys) {
    const int value = store.GetInt("Options", key, -1);
    EXPECT_TRUE(value == Value(1, kRounds - 1) || value == Value(2, kRounds - 1))
        << key << "=" << value;
  }
  // No temp file left behind: just the profile and its lock file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

// Makes this process and what it execs meet a file system without unnamed files: openat with
// O_TMPFILE fails with EOPNOTSUPP. (The flags are the low half of the third argument on the
// little-endian machines we build for.)
bool RefuseUnnamedFiles() {
  constexpr unsigned kTmpFileBit = O_TMPFILE & ~O_DIRECTORY;
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, kTmpFileBit, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Starts `command` (a shell command line that execs one program) with its standard output on a
// pipe; the pid is the program's own once the shell has exec'd it.
pid_t StartWithPipe(const std::string& command, bool refuseUnnamedFiles, int& out) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
  const std::string line = "exec " + command;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (refuseUnnamedFiles && !RefuseUnnamedFiles()) ::_exit(126);
    ::dup2(fds[1], STDOUT_FILENO);
    ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  out = fds[0];
  return pid;
}

// Reads the transcript from the pipe until `count` profile lines have come, the pipe closes or
// `seconds` of wall time pass. Returns how many came; a message box (a save that failed) counts
// as none at all.
int WaitForProfileLines(int fd, int count, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int seen = 0;
  std::string pending;
  char buffer[4096];
  while (seen < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    pending.append(buffer, static_cast<size_t>(got));
    for (size_t nl; (nl = pending.find('\n')) != std::string::npos; pending.erase(0, nl + 1)) {
      const size_t event = pending.find(' ') + 1;
      if (pending.compare(event, 7, "msgbox ") == 0) return 0;
      if (pending.compare(event, 8, "profile ") == 0) ++seen;
    }
  }
  return seen;
}

// The temp files in `dir`: every name but the profile and its lock file.
std::vector<std::string> TempFiles(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name != "quorblex.ini" && name != "quorblex.ini.lock") names.push_back(name);
  }
  return names;
}

// Runs the simulator on Setup after Setup, each OK saving a changed "Dial Psychic Hotline", and
// kills it `kills` times in the middle, once the transcript has shown a varied number of profile
// lines. After each kill the profile must be whole, and a temp file may only be the killed
// run's own: the first write of each run removes those of the runs before. Returns how many
// kills left one behind.
int KillWhileSaving(int kills, bool refuseUnnamedFiles) {
  TempProfile profile(
      "[Options]\nUseSounds=1\nMonitor=1\nScan1=1\nScan2=1\nScan3=1\nScan4=1\nScan5=1\n"
      "Sensitivity=10\n");
  const std::string dir = fs::path(profile.path()).parent_path().string();
  const std::string script = dir + "-script";
  {
    std::ofstream out(script);
    for (int i = 0; i < 2000; ++i) out << "click 1002\nwait 10\nclick 1025\nclick 1\nwait 10\n";
  }
  struct Cleanup {
    std::string script;
    ~Cleanup() { fs::remove(script); }
  } cleanup{script};
  // Appended piece by piece: GCC 12 misreads the chain of + as out-of-bounds copies.
  std::string command = QUORBLEX_SIM;
  command.append(" --profile ").append(profile.path()).append(" ").append(script);
  command.append(" 2>/dev/null");

  int leftBehind = 0;
  for (int kill = 0; kill < kills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    int out = -1;
    const pid_t pid = StartWithPipe(command, refuseUnnamedFiles, out);
    EXPECT_GT(pid, 0);
    if (pid <= 0) return leftBehind;
    // At least the first write of the run (and so the clearing up) has finished by then.
    const int wanted = 2 + kill * 37 % 120;
    const int seen = WaitForProfileLines(out, wanted, 60);
    ::kill(pid, SIGKILL);  // only the simulator started here, by its id
    ::close(out);
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_GE(seen, wanted) << "the simulator stopped saving, or a save failed";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    if (::testing::Test::HasFailure()) return leftBehind;

    const std::string text = profile.Read();
    for (const char* key : kKeys) {
      const auto value = IniText::FindInt(text, "Options", key);
      const bool whole = value && (*value == 0 || *value == 1 || *value == 10);
      EXPECT_TRUE(whole) << "torn profile:\n" << text;
    }
    const std::vector<std::string> temps = TempFiles(dir);
    // Appended, not "." + ...: GCC 12 at -O3 misreads that as an overlapping copy.
    std::string ownPart(1, '.');
    ownPart += std::to_string(pid);
    ownPart += '.';
    for (const std::string& name : temps) {
      EXPECT_NE(name.find(ownPart), std::string::npos)
          << name << " outlived the next save";
    }
    leftBehind += temps.empty() ? 0 : 1;
  }
  // One more save, not killed, clears what the last kill may have left.
  const SimResult last = RunSim("--profile " + profile.path(), "click 1002\nwait 10\nclick 1\n");
  EXPECT_EQ(last.status, 0) << last.Text();
  EXPECT_EQ(TempFiles(dir), std::vector<std::string>{});
  return leftBehind;
}

TEST(ProfileStressTest, KilledInTheMiddleOfSavingTheProgramLeavesAWholeProfileAndNoTempFile) {
  const int leftBehind = KillWhileSaving(50, false);
  std::cout << "50 kills in the middle of saving; " << leftBehind
            << " left a temp file for the next save to remove\n";
}

TEST(ProfileStressTest, WhereUnnamedFilesCannotBeMadeTheNextSaveRemovesWhatAKillLeft) {
  const int leftBehind = KillWhileSaving(40, true);
  std::cout << "40 kills in the middle of saving with named temp files; " << leftBehind
            << " left one for the next save to remove\n";
  // A named temp file lives through the whole write and sync, so kills do find it there.
  EXPECT_GT(leftBehind, 0) << "the simulator did not fall back to named temp files";
}

}  // namespace
