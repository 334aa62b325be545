// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the INI reader and editor. The input is a few control bytes followed by the profile text:
//   byte 0  which section to write (high bit: take the name from the text instead)
//   byte 1  which key to write (high bit: likewise)
//   2..5    the value, little-endian
//   6..     the text
// After SetInt the key must read back as the value, every other probed key must read exactly as
// before, and the text must differ from the old one only by that one value or the new lines,
// with all the old lines still there.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "common/IniText.h"

namespace {

constexpr std::string_view kSections[] = {
    "Options", "options",  "OPTIONS", "Other",    "A",        "a b",
    "[x",      "\xC3\xA9", "",        " Options", "Opt]ions",
};
constexpr std::string_view kKeys[] = {
    "UseSounds", "monitor", "Scan1", "SCAN1", "k", "x y", "A]", "", "=", ";c", "[k", "k ",
};

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// Lines the way the reader splits them: LF, CRLF and a lone CR each end one.
size_t CountLines(std::string_view text) {
  size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  size_t lines = 0;
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n') {
      ++lines;
      start = i + 1;
    }
  }
  return lines + (start < text.size() ? 1 : 0);
}

template <size_t N>
std::string_view PickName(uint8_t selector, const std::string_view (&table)[N],
                          std::string_view text) {
  if (selector & 0x80) {
    const size_t offset = (selector >> 4) & 0x07;
    const size_t length = selector & 0x0F;
    return offset < text.size() ? text.substr(offset, length) : std::string_view();
  }
  return table[selector % N];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 6, size - 6);
  const std::string_view section = PickName(data[0], kSections, text);
  const std::string_view key = PickName(data[1], kKeys, text);
  const uint32_t bits = uint32_t{data[2]} | uint32_t{data[3]} << 8 | uint32_t{data[4]} << 16 |
                        uint32_t{data[5]} << 24;
  const int value = static_cast<int>(bits);
  const bool valid = IniText::IsValidSection(section) && IniText::IsValidKey(key);

  const std::optional<std::string> found = IniText::FindValue(text, section, key);
  const std::optional<int> number = IniText::FindInt(text, section, key);
  Check(number == (found ? IniText::ParseInt(*found) : std::nullopt),
        "FindInt agrees with FindValue");
  Check(valid || !found, "invalid names find nothing");

  const std::string out = IniText::SetInt(text, section, key, value);
  if (!valid) {
    Check(out == text, "invalid names leave the text alone");
    return 0;
  }
  Check(IniText::FindInt(out, section, key) == value, "the value reads back");
  Check(IniText::SetInt(out, section, key, value) == out,
        "setting the same value again changes nothing");

  for (std::string_view probeSection : kSections) {
    for (std::string_view probeKey : kKeys) {
      if (SameName(probeSection, section) && SameName(probeKey, key)) continue;
      Check(IniText::FindValue(text, probeSection, probeKey) ==
                IniText::FindValue(out, probeSection, probeKey),
            "other keys keep their values");
    }
  }

  // One edit: the old text is prefix + removed + suffix and the new one prefix + added + suffix,
  // where `removed` is at most the old value (never a line break) and `added` is at most one line.
  const std::string_view result(out);
  size_t prefix = 0;
  while (prefix < text.size() && prefix < result.size() && text[prefix] == result[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < text.size() - prefix && suffix < result.size() - prefix &&
         text[text.size() - 1 - suffix] == result[result.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::string_view removed = text.substr(prefix, text.size() - prefix - suffix);
  const std::string_view added = result.substr(prefix, result.size() - prefix - suffix);
  Check(removed.find_first_of("\r\n") == std::string_view::npos, "no line is removed");
  Check(added.size() <= section.size() + key.size() + 32, "only one short piece is added");

  // A replaced value adds no line, a new key one, a new section two; none may merge or split the
  // lines already there.
  const size_t linesBefore = CountLines(text);
  const size_t linesAfter = CountLines(out);
  if (found) {
    Check(linesAfter == linesBefore, "a replaced value adds no line");
  } else {
    Check(linesAfter == linesBefore + 1 || linesAfter == linesBefore + 2,
          "a new key adds its lines");
  }
  return 0;
}
