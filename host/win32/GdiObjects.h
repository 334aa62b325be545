// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Owners for the GDI and USER objects the host makes, each let go exactly once when its owner
// goes: fonts, bitmaps and regions (DeleteObject), icons (DestroyIcon), memory and screen
// device contexts, a selection into a device context, and a paint pass.
#include <windows.h>

#include <utility>

template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H handle) : handle_(handle) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(H handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = nullptr;
};
using FontObject = GdiObject<HFONT>;
using BitmapObject = GdiObject<HBITMAP>;

class IconObject {
 public:
  IconObject() = default;
  explicit IconObject(HICON icon) : icon_(icon) {}
  ~IconObject() { reset(); }
  IconObject(IconObject&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
  IconObject& operator=(IconObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.icon_, nullptr));
    return *this;
  }
  IconObject(const IconObject&) = delete;
  IconObject& operator=(const IconObject&) = delete;

  HICON get() const { return icon_; }
  void reset(HICON icon = nullptr) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }

 private:
  HICON icon_ = nullptr;
};

// A device context compatible with the screen, for measuring text and preparing bitmaps.
class MemoryDC {
 public:
  MemoryDC() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a device context, put back when the selection ends.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint to EndPaint.
class PaintPass {
 public:
  explicit PaintPass(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintPass() { EndPaint(window_, &paint_); }
  PaintPass(const PaintPass&) = delete;
  PaintPass& operator=(const PaintPass&) = delete;
  HDC dc() const { return dc_; }
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};
