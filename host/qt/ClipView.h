#pragma once
// The animation control: shows the frames of the open clip, centred in the control.
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

#include "host/qt/ControlView.h"

class AviClip;

class ClipView : public QWidget, public ControlView {
 public:
  explicit ClipView(QWidget* parent);
  QWidget* widget() override { return this; }
  void Apply(const Window& control, Change what) override;
  // The frame on screen; -1 for none.
  int CurrentFrame() const { return frame_; }
  bool Playing() const { return playing_; }
  // Brings the frame up to date with the time since Play, as a tick would.
  void Advance(std::int64_t elapsedMs);

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
  int frame_ = -1;
  std::shared_ptr<const std::vector<uint32_t>> pixels_;  // what image_ shows
  QImage image_;
  bool playing_ = false;
  int first_ = 0, count_ = 0, repeat_ = 0;
  QElapsedTimer sincePlay_;
  QTimer timer_;
};
