// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Our window system: the windows as data, the message queue, the timers and the modal loops.
// One per program run, used from the one UI thread; WindowSystem::Get() finds it.
//
// A change of any state that a user can see is handed to the host as it happens; handing a
// window the state it already has is no change and is not reported.
//
// While every window is hidden, the loop sleeps through the timer ticks the program has called
// quiet (SetQuietTicks) and wakes only for the next tick that is not, or for input. On waking
// it first makes up the ticks it slept through, in order, each on the program's clock at its
// own time, before any input that came meanwhile: the program runs exactly as if it had made
// every one when it fell due.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/AudioSink.h"
#include "common/Clock.h"
#include "common/Host.h"
#include "common/Observer.h"
#include "common/MessageQueue.h"
#include "common/ProgramClock.h"
#include "common/TimerTable.h"
#include "common/Window.h"
#include "common/WindowObject.h"

struct BitmapInfo {
  int resourceId = 0;
  int width = 0, height = 0;
};

class WindowSystem : public InputSink {
 public:
  // `observer` hears what no user sees (the simulator's trace); none: nobody listens.
  WindowSystem(Clock& clock, Host& host, AudioSink& audio, Observer* observer = nullptr);
  ~WindowSystem() override;
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  // The window system of the program run; calling it with none running stops the process.
  static WindowSystem& Get();
  // The same, or null outside a program run: for the few things that may outlive one (a
  // bitmap, a window object) and for the random draw, which unit tests use alone.
  static WindowSystem* Current();
  // The program's clock (see ProgramClock).
  Clock& clock() { return programClock_; }
  Host& host() { return host_; }
  Observer& observer() { return *observer_; }
  AudioSink& audio() { return audio_; }

  // Windows.
  HWND CreateDialogWindow(const DialogTemplate& tmpl, HWND owner, WindowObject* object);
  void Destroy(HWND dialog);
  Window* Find(HWND hwnd);
  const Window* Find(HWND hwnd) const;
  HWND GetDlgItem(HWND dialog, int id) const;
  HWND ActiveWindow() const { return modal_.empty() ? kNoWindow : modal_.back(); }
  HWND MainWindow() const { return modal_.empty() ? kNoWindow : modal_.front(); }

  // State changes.
  void SetText(HWND hwnd, const std::string& text);
  HBITMAP SetPicture(HWND hwnd, HBITMAP bitmap);
  void Enable(HWND hwnd, bool enabled);
  void Show(HWND hwnd, int command);
  // The first show of a new dialog, once its OnInitDialog has run.
  void ShowInitial(HWND dialog);
  void Raise(HWND hwnd);
  void SetCheck(HWND hwnd, int state);
  void SetTrackRange(HWND hwnd, int minimum, int maximum);
  void SetTrackPos(HWND hwnd, int pos);
  void SetFocus(HWND control);
  void FocusFirstTabStop(HWND dialog);
  void SetTooltip(HWND control, const std::string& text);
  void AppendMenuItem(HWND dialog, MenuItem item);
  void ClipOpen(HWND control, const std::string& name);
  void ClipPlay(HWND control, int from, int to, int repeat);
  void ClipClose(HWND control);
  // The push button drawn with the default frame: the focused push button, else the default.
  HWND DefaultLookButton(const Window& dialog) const;

  // Bitmaps loaded from the compiled-in resources.
  HBITMAP LoadBitmap(int resourceId);
  void DeleteBitmap(HBITMAP bitmap);
  const BitmapInfo* FindBitmap(HBITMAP bitmap) const;

  // Messages.
  LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The notification a button gives its dialog when pressed: WM_COMMAND with BN_CLICKED.
  void SendClicked(HWND dialog, int id, HWND button);
  // A button pressed by mouse or keyboard: a checkbox toggles first, then its dialog hears the
  // click.
  void PressButton(const Window& button);
  // What a window does with a message nobody handled: the controls' own behaviour and the
  // dialog's default processing.
  LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void SetTimer(HWND hwnd, UINT id, int periodMs);
  void KillTimer(HWND hwnd, UINT id);
  // The next `count` ticks of the timer change nothing a user could see or hear while every
  // window is hidden: they change only the program's own state and that of hidden windows,
  // and post, show, play, draw, write and set or kill timers nothing. Setting the timer again
  // makes every tick count as seen until the program says otherwise.
  void SetQuietTicks(HWND hwnd, UINT id, std::int64_t count);
  const TimerTable& timers() const { return timers_; }
  // Off: every tick is made when it falls due, even when nobody can see it (the simulator's
  // reference run, which must print the same).
  void SleepThroughQuietTicks(bool on) { sleepThroughQuiet_ = on; }

  // Runs a nested loop for `dialog` until EndDialog; returns its result.
  int RunModalLoop(HWND dialog);
  void EndDialog(HWND dialog, int result);

  // The notification icon.
  bool TrayAdd(HWND owner, UINT id, UINT callbackMessage, const std::string& tip);
  bool TrayDelete(HWND owner, UINT id);

  void Push(InputEvent event) override;

 private:
  struct TrayIcon {
    HWND owner;
    UINT id;
    UINT callbackMessage;
  };
  void PumpOne();
  bool MakeUpTick();
  void Idle();
  bool AnyWindowShown() const;
  void DispatchInput(const InputEvent& e);
  void Ignore(const InputEvent& e) { observer_->InputIgnored(e); }
  void Click(Window& control);
  void Notify(const Window& control, Change what);
  // What a host is shown of a dialog: the dialog with all its controls.
  DialogModel ViewOf(const Window& dialog) const;
  // Gives a window's field a new value and reports it, unless the field had that value.
  template <typename T>
  void Assign(HWND hwnd, T Window::*field, const T& value, Change what);
  void DestroyControl(HWND hwnd);
  HWND NewHandle() { return nextHandle_++; }

  Clock& clock_;
  ProgramClock programClock_;
  Host& host_;
  Observer* observer_;
  AudioSink& audio_;
  std::map<HWND, std::unique_ptr<Window>> windows_;
  std::map<HBITMAP, BitmapInfo> bitmaps_;
  MessageQueue queue_;
  TimerTable timers_;
  std::vector<HWND> modal_;
  std::vector<TrayIcon> tray_;
  HWND nextHandle_ = 1;
  HBITMAP nextBitmap_ = 1;
  bool sleepThroughQuiet_ = true;
  // Set on waking from a sleep through quiet ticks: those due up to then are owed.
  std::optional<std::int64_t> owedUntil_;
};
