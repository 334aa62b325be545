#pragma once
// The thread's message queue, in the order the loop takes from it:
//   1. posted messages, first in first out;
//   2. input, first in first out;
//   3. timer messages, made only when nothing else waits (see TimerTable).
// Sent messages never enter the queue: SendMessage is a direct call.
// Messages name their window by handle; one for a window that is gone is dropped on taking.
#include <deque>
#include <optional>

#include "common/InputEvent.h"
#include "common/WinTypes.h"

struct Message {
  HWND hwnd = kNoWindow;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class MessageQueue {
 public:
  void Post(const Message& m) { posted_.push_back(m); }
  void PushInput(InputEvent e) { input_.push_back(std::move(e)); }
  std::optional<Message> TakePosted();
  std::optional<InputEvent> TakeInput();
  bool HasPosted() const { return !posted_.empty(); }
  bool HasInput() const { return !input_.empty(); }

 private:
  std::deque<Message> posted_;
  std::deque<InputEvent> input_;
};
