// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/ClipView.h"

#include <algorithm>
#include <cmath>

#include "common/AviClip.h"
#include "host/win32/DialogUnits.h"
#include "host/win32/GdiObjects.h"

void ClipView::RegisterClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

ClipView::ClipView(HWND dialog, const ControlModel& control, const Clock& clock)
    : ControlView(dialog, control, kClassName, 0), clock_(clock) {
  SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (control.clip) Open(control);
  if (control.clip && control.clipRepeat)
    Play(control.clipFrom, control.clipTo, control.clipRepeat);
}

LRESULT CALLBACK ClipView::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ClipView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      if (!self) break;
      self->OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frame covers all of the window's shape
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void ClipView::Apply(const ControlModel& control, Change what) {
  switch (what) {
    case Change::ClipOpen:
      Open(control);
      return;
    case Change::ClipPlay:
      if (control.clip != clip_) Open(control);
      Play(control.clipFrom, control.clipTo, control.clipRepeat);
      return;
    case Change::ClipClose:
      Stop();
      clip_.reset();
      clipName_.clear();
      sharp_ = {};
      ShowFrame(-1);
      return;
    default:
      return;
  }
}

void ClipView::Layout(const DialogUnits& units) {
  ControlView::Layout(units);
  RECT r = units.ToPixels(rect());
  area_ = SIZE{r.right - r.left, r.bottom - r.top};
  if (units.PictureRatio() != ratio_) {
    ratio_ = units.PictureRatio();
    sharp_ = clip_ ? ClipCompanion::Find(clipName_, *clip_, ratio_) : ClipCompanion::Found{};
    int shown = frame_;
    frame_ = -2;
    ShowFrame(shown);
  }
  Reshape();
}

void ClipView::Open(const ControlModel& control) {
  Stop();
  clip_ = control.clip;
  clipName_ = control.clipName;
  sharp_ = clip_ ? ClipCompanion::Find(clipName_, *clip_, ratio_) : ClipCompanion::Found{};
  frame_ = -2;
  ShowFrame(clip_ ? 0 : -1);
}

void ClipView::Stop() { schedule_.Stop(); }

void ClipView::Play(int from, int to, int repeat) {
  const int frames = clip_ ? clip_->FrameCount() : 0;
  const std::int64_t per = clip_ ? clip_->MicrosPerFrame() : 1;
  ShowFrame(schedule_.Play(frames, per, from, to, repeat, clock_.Now()));
}

std::int64_t ClipView::Animate(std::int64_t now) {
  // Nobody sees a clip in a hidden or minimized window: it asks for no wake-ups, and catches
  // up when it is seen again.
  if (!schedule_.Playing() || !clip_ || !IsWindowVisible(hwnd()) ||
      IsIconic(GetAncestor(hwnd(), GA_ROOT)))
    return -1;
  const ClipSchedule::Step step = schedule_.At(now);
  ShowFrame(step.frame);
  return step.next;
}

void ClipView::ShowFrame(int index) {
  if (index == frame_) return;
  const bool hadFrame = pixels_ != nullptr;
  frame_ = index;
  const AviClip* source = sharp_.clip ? sharp_.clip.get() : clip_.get();
  pixels_ = source && index >= 0 ? source->FramePixels(index) : nullptr;
  if (pixels_ && pixels_->empty()) pixels_.reset();
  if (hadFrame != (pixels_ != nullptr)) Reshape();
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

RECT ClipView::FrameRect() const {
  if (!pixels_ || !clip_) return RECT{};
  // The core's clip gives the size at ratio 1; a companion only draws it sharper.
  const int w = static_cast<int>(std::lround(clip_->Width() * ratio_));
  const int h = static_cast<int>(std::lround(clip_->Height() * ratio_));
  const int x = (area_.cx - w) / 2, y = (area_.cy - h) / 2;
  return RECT{x, y, x + w, y + h};
}

void ClipView::Reshape() {
  RECT r = FrameRect();
  if (EqualRect(&r, &shape_)) return;
  shape_ = r;
  // The window owns the region from here on.
  SetWindowRgn(hwnd(), CreateRectRgn(r.left, r.top, r.right, r.bottom), TRUE);
}

void ClipView::OnPaint() {
  PaintPass paint(hwnd());
  const AviClip* source = sharp_.clip ? sharp_.clip.get() : clip_.get();
  if (!pixels_ || !source) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = source->Width();
  info.bmiHeader.biHeight = -source->Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  RECT to = FrameRect();
  const int w = to.right - to.left, h = to.bottom - to.top;
  // Pixel for pixel where the drawing suits this density; reduced smoothly, or enlarged by
  // whole pixels, where it does not.
  SetStretchBltMode(paint.dc(), w < source->Width() ? HALFTONE : COLORONCOLOR);
  SetBrushOrgEx(paint.dc(), 0, 0, nullptr);
  StretchDIBits(paint.dc(), to.left, to.top, w, h, 0, 0, source->Width(), source->Height(),
                pixels_->data(), &info, DIB_RGB_COLORS, SRCCOPY);
}
