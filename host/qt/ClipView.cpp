// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/ClipView.h"

#include <QPainter>
#include <algorithm>

#include "common/AviClip.h"
#include "host/qt/DeviceRatio.h"

ClipView::ClipView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

bool ClipView::SetFocusLook(bool on) {
  focusLook_ = on;
  return false;  // nothing on screen changes
}

void ClipView::Apply(const ControlModel& control, Change what) {
  switch (what) {
    case Change::ClipOpen:
      Stop();
      clip_ = control.clip;
      clipName_ = control.clipName;
      UseRatio(devicePixelRatio());
      ShowFrame(clip_ ? 0 : -1);
      return;
    case Change::ClipPlay:
      if (control.clip != clip_) {
        Stop();
        clip_ = control.clip;
        clipName_ = control.clipName;
        UseRatio(devicePixelRatio());
      }
      Play(control.clipFrom, control.clipTo, control.clipRepeat);
      return;
    case Change::ClipClose:
      Stop();
      clip_.reset();
      sharp_ = {};
      ShowFrame(-1);
      return;
    default:
      return;
  }
}

void ClipView::UseRatio(double dpr) {
  pickedFor_ = dpr;
  sharp_ = clip_ ? ClipCompanion::Find(clipName_, *clip_, dpr) : ClipCompanion::Found{};
  int shown = frame_;
  frame_ = -2;
  ShowFrame(shown);
}

// Forgets the frame on screen too: it may belong to a clip that is going away.
void ClipView::Stop() {
  schedule_.Stop();
  timer_.stop();
  frame_ = -2;
  image_ = QImage();
  pixels_.reset();
}

void ClipView::Play(int from, int to, int repeat) {
  timer_.stop();
  const int frames = clip_ ? clip_->FrameCount() : 0;
  const std::int64_t per = clip_ ? clip_->MicrosPerFrame() : 1;
  ShowFrame(schedule_.Play(frames, per, from, to, repeat, 0));
  if (!schedule_.Playing()) return;
  sincePlay_.start();
  timer_.setInterval(static_cast<int>(schedule_.PeriodMs()));
  if (isVisible()) timer_.start();
}

void ClipView::Advance(std::int64_t elapsedMs) {
  if (!schedule_.Playing() || !clip_) return;
  const ClipSchedule::Step step = schedule_.At(elapsedMs);
  if (step.next < 0) timer_.stop();
  ShowFrame(step.frame);
}

void ClipView::Tick() { Advance(sincePlay_.elapsed()); }

void ClipView::ShowFrame(int index) {
  if (index == frame_) return;
  frame_ = index;
  image_ = QImage();
  // The core's clip numbers the frames; a sharper companion, when there is one, draws them.
  // Decoded now, the first time it is needed; the image borrows the pixels while it shows them.
  const AviClip* source = sharp_.clip ? sharp_.clip.get() : clip_.get();
  pixels_ = source && index >= 0 ? source->FramePixels(index) : nullptr;
  if (pixels_ && !pixels_->empty()) {
    image_ = QImage(reinterpret_cast<const uchar*>(pixels_->data()), source->Width(),
                    source->Height(), source->Width() * 4, QImage::Format_RGB32);
    image_.setDevicePixelRatio(sharp_.clip ? sharp_.ratio : 1);
  }
  update();
}

void ClipView::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter p(this);
  // The window went to a screen of another density.
  if (double dpr = DeviceRatio(p); dpr != pickedFor_) UseRatio(dpr);
  if (image_.isNull()) return;
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  QSize size = image_.deviceIndependentSize().toSize();
  QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
  p.drawImage(at, image_);
}

void ClipView::showEvent(QShowEvent*) {
  if (schedule_.Playing()) {
    Tick();
    timer_.start();
  }
}

void ClipView::hideEvent(QHideEvent*) { timer_.stop(); }
