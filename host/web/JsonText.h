// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small writer of JSON text: what the web host hands the page is one object per call, made
// of the core's view values.
#include <cstdint>
#include <string>

class JsonText {
 public:
  JsonText& Open() { return Raw("{"), first_ = true, *this; }
  JsonText& Close() { return Raw("}"), first_ = false, *this; }
  JsonText& OpenArray(const char* key) { return Key(key).Raw("["), first_ = true, *this; }
  JsonText& CloseArray() { return Raw("]"), first_ = false, *this; }
  // An object inside an array, or under a key.
  JsonText& Item() { return Comma(), Open(); }
  JsonText& Object(const char* key) { return Key(key).Open(); }

  JsonText& Field(const char* key, const std::string& value) { return Key(key).Value(value); }
  JsonText& Field(const char* key, const char* value) { return Key(key).Value(value); }
  JsonText& Field(const char* key, std::int64_t value) {
    return Key(key).Raw(std::to_string(value)), first_ = false, *this;
  }
  JsonText& Field(const char* key, int value) { return Field(key, std::int64_t{value}); }
  JsonText& Field(const char* key, unsigned value) { return Field(key, std::int64_t{value}); }
  JsonText& Field(const char* key, bool value) {
    return Key(key).Raw(value ? "true" : "false"), first_ = false, *this;
  }

  const std::string& Text() const { return text_; }

 private:
  JsonText& Raw(const char* s) {
    text_ += s;
    return *this;
  }
  JsonText& Raw(const std::string& s) { return Raw(s.c_str()); }
  JsonText& Comma() {
    if (!first_) text_ += ',';
    return *this;
  }
  JsonText& Key(const char* key) {
    Comma().Value(key);
    text_ += ':';
    return *this;
  }
  // Control characters are escaped; other bytes pass as they are (the core's texts are UTF-8).
  JsonText& Value(const std::string& s) {
    static const char kHex[] = "0123456789abcdef";
    text_ += '"';
    for (unsigned char c : s) {
      if (c == '"' || c == '\\') {
        text_ += '\\';
        text_ += static_cast<char>(c);
      } else if (c < 0x20) {
        text_ += "\\u00";
        text_ += kHex[c >> 4];
        text_ += kHex[c & 15];
      } else {
        text_ += static_cast<char>(c);
      }
    }
    text_ += '"';
    first_ = false;
    return *this;
  }

  std::string text_;
  bool first_ = true;
};
