// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The animation control: the frames of the open clip, centred in the control and painted from
// our own clip reader, at the size the layout has grown to (DialogUnits::PictureRatio), from
// the clip's companion drawn for that size when there is one beside it.
//
// Open shows the first frame. Play runs frames FROM..TO (TO past the end means the last frame)
// REPEAT times (-1: for ever) at the clip's own rate, then stays on the last frame shown. Close
// shows nothing. The window takes the shape of the frame it shows, so whatever lies under the
// control shows through around it, and everywhere once the clip is closed.
//
// The frames are the control's own drawing, like the platform control's playing thread: the
// program hears nothing of them. The host's wait wakes up when the next frame is due
// (Animate), and the frame on screen is worked out from the time since Play, so a late wake-up
// skips frames rather than slowing the clip down. A hidden clip asks for no wake-ups.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "host/shared/ClipCompanion.h"
#include "host/shared/ClipSchedule.h"
#include "host/win32/ControlView.h"

class ClipView : public ControlView {
 public:
  static constexpr const wchar_t* kClassName = L"QuorblexClip";
  static void RegisterClass(HINSTANCE instance);

  ClipView(HWND dialog, const ControlModel& control, const Clock& clock);
  void Apply(const ControlModel& control, Change what) override;
  void Layout(const DialogUnits& units) override;
  // Brings the frame on screen up to `now`; when the next frame is due, or -1 for never.
  std::int64_t Animate(std::int64_t now);
  int CurrentFrame() const { return frame_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void Open(const ControlModel& control);
  void Stop();
  void Play(int from, int to, int repeat);
  void ShowFrame(int index);
  // The frame's place in the control, in pixels; empty without a frame.
  RECT FrameRect() const;
  void Reshape();

  const Clock& clock_;
  double ratio_ = 1;
  SIZE area_{};  // the control's size in pixels
  std::shared_ptr<const AviClip> clip_;
  std::string clipName_;
  ClipCompanion::Found sharp_;
  int frame_ = -1;
  std::shared_ptr<const std::vector<uint32_t>> pixels_;  // the frame on screen
  ClipSchedule schedule_;
  RECT shape_{};
};
