#pragma once
// The keyboard of a dialog: Enter presses the focused push button or else the default button
// (never a greyed one); Esc sends Cancel; Tab and Shift+Tab move among the tab stops; Alt+letter,
// and in a dialog the bare letter, press the control whose text carries that mnemonic; Space
// presses the focused button or toggles the focused checkbox; arrows, Home, End, PageUp and
// PageDown move a focused trackbar.
#include "common/InputEvent.h"
#include "common/WindowSystem.h"

constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr LPARAM kShiftHeld = 1;

class DialogManager {
 public:
  DialogManager(WindowSystem& ws, Window& dialog) : ws_(ws), dialog_(dialog) {}
  // The key message a key press makes, addressed to the focused control.
  static MSG KeyMessage(const Window& dialog, const InputEvent& e);
  bool HandleKey(const MSG& msg);

 private:
  void PressDefault();
  void MoveFocus(bool backwards);
  bool Mnemonic(char letter);
  bool Trackbar(Window& bar, WPARAM vk);
  bool Usable(const Window* c) const { return c && c->enabled && c->visible; }

  WindowSystem& ws_;
  Window& dialog_;
};
