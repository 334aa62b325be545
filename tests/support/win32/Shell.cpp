// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/Shell.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "common/NativePath.h"

namespace {

// A word of the command line: where it starts and ends in the text, and its text without quotes.
struct Word {
  size_t begin, end;
  std::wstring text;
};

std::vector<Word> Split(const std::wstring& line) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == L' ' || line[i] == L'\t') {
      ++i;
      continue;
    }
    Word word{i, i, L""};
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t')); ++i) {
      if (line[i] == L'"') {
        quoted = !quoted;
      } else {
        word.text += line[i];
      }
    }
    word.end = i;
    words.push_back(std::move(word));
  }
  return words;
}

HANDLE Open(const std::wstring& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return ::CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts the command with standard output going to `out` unless a redirection says otherwise,
// waits for it and gives its exit code; -1 when it could not start.
int Run(const std::string& command, HANDLE out) {
  const std::wstring line = NativePath(command).wstring();
  std::wstring program;  // the command line without its redirections
  std::vector<HANDLE> opened;
  HANDLE handles[3] = {::GetStdHandle(STD_INPUT_HANDLE), out, ::GetStdHandle(STD_ERROR_HANDLE)};
  bool ok = true;
  const std::vector<Word> words = Split(line);
  for (size_t i = 0; i < words.size(); ++i) {
    const Word& word = words[i];
    const std::wstring raw = line.substr(word.begin, word.end - word.begin);
    if (raw == L"2>&1") {
      handles[2] = handles[1];
    } else if (raw.starts_with(L"2>") || raw.starts_with(L">") || raw.starts_with(L"<")) {
      const int stream = raw[0] == L'<' ? 0 : raw[0] == L'2' ? 2 : 1;
      // The file follows the sign, or is the next word.
      std::wstring target = word.text.substr(stream == 2 ? 2 : 1);
      if (target.empty() && i + 1 < words.size()) target = words[++i].text;
      const HANDLE file = Open(target, stream != 0);
      ok = ok && file != INVALID_HANDLE_VALUE;
      if (file != INVALID_HANDLE_VALUE) opened.push_back(file);
      handles[stream] = file;
    } else {
      program += (program.empty() ? L"" : L" ") + raw;
    }
  }
  int status = -1;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = handles[0];
  startup.hStdOutput = handles[1];
  startup.hStdError = handles[2];
  PROCESS_INFORMATION process{};
  // Under Wine on a machine busy with other stages a start now and then fails outright (the new
  // process does not reach the Wine server in time); it is the start that failed, not the
  // program, so it is tried again a few times.
  bool started = false;
  for (int attempt = 0; ok && !started && attempt < 4; ++attempt) {
    if (attempt > 0) ::Sleep(500);
    started = ::CreateProcessW(nullptr, program.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &process) != 0;
  }
  if (started) {
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
    ::CloseHandle(process.hProcess);
  }
  for (const HANDLE h : opened) ::CloseHandle(h);
  return status;
}

}  // namespace

const char* const kNullDevice = "NUL";

int RunShell(const std::string& command) { return Run(command, ::GetStdHandle(STD_OUTPUT_HANDLE)); }

int RunShellCapturing(const std::string& command, std::string& out) {
  out.clear();
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!::CreatePipe(&read, &write, &inherit, 0)) return -1;
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  // A thread reads while the program runs, so a program that writes much never waits on us.
  struct Reader {
    HANDLE pipe;
    std::string* out;
    static DWORD WINAPI Main(void* self) {
      auto* reader = static_cast<Reader*>(self);
      char buf[4096];
      DWORD got = 0;
      while (::ReadFile(reader->pipe, buf, sizeof buf, &got, nullptr) && got > 0) {
        reader->out->append(buf, got);
      }
      return 0;
    }
  } reader{read, &out};
  const HANDLE thread = ::CreateThread(nullptr, 0, &Reader::Main, &reader, 0, nullptr);
  const int status = Run(command, write);
  ::CloseHandle(write);  // the reader sees the end once the program's copy is gone too
  if (thread) {
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
  }
  ::CloseHandle(read);
  return status;
}
