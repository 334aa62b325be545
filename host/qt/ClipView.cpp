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

void ClipView::Apply(const Window& control, Change what) {
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
  playing_ = false;
  timer_.stop();
  frame_ = -2;
  image_ = QImage();
  pixels_.reset();
}

void ClipView::Play(int from, int to, int repeat) {
  playing_ = false;
  timer_.stop();
  if (!clip_ || clip_->FrameCount() == 0) return ShowFrame(-1);
  int last = std::min(to, clip_->FrameCount() - 1);
  first_ = std::clamp(from, 0, clip_->FrameCount() - 1);
  count_ = std::max(1, last - first_ + 1);
  repeat_ = repeat;
  ShowFrame(first_);
  if (repeat == 0 || (count_ == 1 && repeat > 0)) return;
  playing_ = true;
  sincePlay_.start();
  auto periodMs = std::max<std::int64_t>(10, clip_->MicrosPerFrame() / 1000);
  timer_.setInterval(static_cast<int>(periodMs));
  if (isVisible()) timer_.start();
}

void ClipView::Advance(std::int64_t elapsedMs) {
  if (!playing_ || !clip_) return;
  std::int64_t k = elapsedMs * 1000 / std::max<std::int64_t>(1, clip_->MicrosPerFrame());
  if (repeat_ > 0 && k >= static_cast<std::int64_t>(count_) * repeat_) {
    playing_ = false;
    timer_.stop();
    ShowFrame(first_ + count_ - 1);
    return;
  }
  ShowFrame(first_ + static_cast<int>(k % count_));
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
  if (playing_) {
    Tick();
    timer_.start();
  }
}

void ClipView::hideEvent(QHideEvent*) { timer_.stop(); }
