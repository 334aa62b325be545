// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The animation control: shows the frames of the open clip, centred in the control. On a
// high-density screen the frames come from the clip's companion drawn for that density, when
// there is one beside it.
//
// Open shows the first frame. Play runs frames FROM..TO (TO past the end means the last frame)
// REPEAT times (-1: for ever) at the clip's own rate, then stays on the last frame shown. Close
// shows nothing, so whatever lies under the control shows through. The frame timer is this
// control's own drawing, like the platform control's playing thread: the program hears nothing
// of it. The frame on screen is worked out from the time since Play, so a late tick skips
// frames rather than slowing the clip down.
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "host/shared/ClipCompanion.h"
#include "host/shared/ClipSchedule.h"
#include "host/qt/ControlView.h"

class AviClip;

class ClipView : public QWidget, public ControlView {
 public:
  explicit ClipView(QWidget* parent);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel& control, Change what) override;
  // The frame on screen; -1 for none.
  int CurrentFrame() const { return frame_; }
  bool Playing() const { return schedule_.Playing(); }
  // The device pixel ratio the frames on screen were drawn for: above 1 when a sharper
  // companion of the core's clip suits this screen (ClipCompanion).
  double SourceRatio() const { return sharp_.clip ? sharp_.ratio : 1; }
  // Chooses the frames' source for a screen of device pixel ratio `dpr`: done on opening for the
  // widget's screen, and again when it is painted on a screen of another ratio.
  void UseRatio(double dpr);
  // The frame on screen as drawn (its devicePixelRatio says for which ratio).
  const QImage& image() const { return image_; }
  // Brings the frame up to date with the time since Play, as a tick would.
  void Advance(std::int64_t elapsedMs);
  // The clip can hold the keyboard focus (it is a tab stop) but draws no sign of it; readers ask.
  bool SetFocusLook(bool on) override;
  bool FocusLook() const { return focusLook_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Stop();
  void Play(int from, int to, int repeat);
  void ShowFrame(int index);
  void Tick();

  std::shared_ptr<const AviClip> clip_;
  std::string clipName_;
  ClipCompanion::Found sharp_;
  double pickedFor_ = 1;
  int frame_ = -1;
  std::shared_ptr<const std::vector<uint32_t>> pixels_;  // what image_ shows
  QImage image_;
  ClipSchedule schedule_;
  QElapsedTimer sincePlay_;
  QTimer timer_;
  bool focusLook_ = false;
};
