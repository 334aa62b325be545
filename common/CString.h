// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The framework's string: bytes, loaded from the string table or formatted.
#include <string>

#include "common/WinTypes.h"

class CString {
 public:
  CString() = default;
  CString(const char* s) : s_(s ? s : "") {}  // NOLINT: converts like the framework's
  CString(std::string s) : s_(std::move(s)) {}  // NOLINT

  // Replaces the text with string-table entry `id`; false (and empty) when there is none.
  BOOL LoadString(UINT id);
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int GetLength() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  const char* c_str() const { return s_.c_str(); }
  operator const char*() const { return s_.c_str(); }  // NOLINT
  const std::string& str() const { return s_; }
  CString& operator+=(const CString& o) {
    s_ += o.s_;
    return *this;
  }
  friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
  friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }

 private:
  std::string s_;
};
