// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/IniText.h"

#include <cstddef>
#include <cstdint>

namespace IniText {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

size_t ContentStart(std::string_view text) { return text.starts_with(kBom) ? kBom.size() : 0; }

// The first CR or LF at or after `from`, or the text's size.
size_t FindLineBreak(std::string_view text, size_t from) {
  while (from < text.size() && text[from] != '\n' && text[from] != '\r') ++from;
  return from;
}

// One physical line: its bytes are [begin, end), its line break [end, next).
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
};

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text), pos_(ContentStart(text)) {}

  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    const size_t end = FindLineBreak(text_, pos_);
    size_t next = end;
    if (next < text_.size()) {
      next += (text_[next] == '\r' && next + 1 < text_.size() && text_[next + 1] == '\n') ? 2 : 1;
    }
    line = {pos_, end, next};
    pos_ = next;
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_;
};

enum class Kind { Blank, Comment, Section, Key, Other };

struct Parsed {
  Kind kind = Kind::Other;
  std::string_view name;  // section name or key
  size_t valueBegin = 0;  // offsets into the whole text; the value has no blanks around it
  size_t valueEnd = 0;
};

Parsed Classify(std::string_view text, const Line& line) {
  Parsed parsed;
  const std::string_view raw = text.substr(line.begin, line.end - line.begin);
  const std::string_view trimmed = Trim(raw);
  if (trimmed.empty()) {
    parsed.kind = Kind::Blank;
    return parsed;
  }
  const char first = trimmed.front();
  if (first == ';' || first == '#') {
    parsed.kind = Kind::Comment;
    return parsed;
  }
  if (first == '[') {
    const size_t close = trimmed.find(']');
    if (close != std::string_view::npos) {
      parsed.kind = Kind::Section;
      parsed.name = Trim(trimmed.substr(1, close - 1));
    }
    return parsed;
  }
  const size_t eq = raw.find('=');
  if (eq == std::string_view::npos) return parsed;
  parsed.name = Trim(raw.substr(0, eq));
  if (parsed.name.empty()) return parsed;
  size_t begin = line.begin + eq + 1;
  size_t end = line.end;
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  parsed.kind = Kind::Key;
  parsed.valueBegin = begin;
  parsed.valueEnd = end;
  return parsed;
}

// Where a key lives in the text, or where it would go.
struct Location {
  bool keyFound = false;
  size_t valueBegin = 0;
  size_t valueEnd = 0;
  bool sectionFound = false;
  Line lastLineOfSection;  // last non-blank line (or the header) of the first matching section
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
  Location where;
  bool inMatchingSection = false;
  bool inFirstMatchingSection = false;
  LineReader reader(text);
  Line line;
  while (reader.Next(line)) {
    const Parsed parsed = Classify(text, line);
    switch (parsed.kind) {
      case Kind::Section:
        inFirstMatchingSection = false;
        inMatchingSection = SameName(parsed.name, section);
        if (inMatchingSection && !where.sectionFound) {
          where.sectionFound = true;
          inFirstMatchingSection = true;
          where.lastLineOfSection = line;
        }
        break;
      case Kind::Key:
        if (inMatchingSection && SameName(parsed.name, key)) {
          where.keyFound = true;
          where.valueBegin = parsed.valueBegin;
          where.valueEnd = parsed.valueEnd;
          return where;
        }
        [[fallthrough]];
      case Kind::Comment:
      case Kind::Other:
        if (inFirstMatchingSection) where.lastLineOfSection = line;
        break;
      case Kind::Blank:
        break;
    }
  }
  return where;
}

// The line break most lines of the text use; LF when there is none, and LF, then CRLF, on a tie.
std::string_view DominantLineBreak(std::string_view text) {
  size_t lf = 0;
  size_t crlf = 0;
  size_t cr = 0;
  for (size_t i = FindLineBreak(text, 0); i < text.size(); i = FindLineBreak(text, i + 1)) {
    if (text[i] == '\n') {
      ++lf;
    } else if (i + 1 < text.size() && text[i + 1] == '\n') {
      ++crlf;
      ++i;
    } else {
      ++cr;
    }
  }
  if (lf >= crlf && lf >= cr) return "\n";
  if (crlf >= cr) return "\r\n";
  return "\r";
}

bool EndsWithLineBreak(std::string_view text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

}  // namespace

bool IsValidSection(std::string_view section) {
  return !section.empty() && !IsBlank(section.front()) && !IsBlank(section.back()) &&
         section.find_first_of("\r\n]") == std::string_view::npos;
}

bool IsValidKey(std::string_view key) {
  return !key.empty() && !IsBlank(key.front()) && !IsBlank(key.back()) && key.front() != ';' &&
         key.front() != '#' && key.front() != '[' &&
         key.find_first_of("\r\n=") == std::string_view::npos;
}

std::optional<int> ParseInt(std::string_view value) {
  value = Trim(value);
  bool negative = false;
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  if (value.empty()) return std::nullopt;
  constexpr int64_t kLimit = int64_t{1} << 31;  // magnitude of INT32_MIN
  int64_t magnitude = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<int>(negative ? -magnitude : magnitude);
}

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
  if (!IsValidSection(section) || !IsValidKey(key)) return std::nullopt;
  const Location where = Locate(text, section, key);
  if (!where.keyFound) return std::nullopt;
  return std::string(text.substr(where.valueBegin, where.valueEnd - where.valueBegin));
}

std::optional<int> FindInt(std::string_view text, std::string_view section, std::string_view key) {
  if (!IsValidSection(section) || !IsValidKey(key)) return std::nullopt;
  const Location where = Locate(text, section, key);
  if (!where.keyFound) return std::nullopt;
  return ParseInt(text.substr(where.valueBegin, where.valueEnd - where.valueBegin));
}

std::string SetInt(std::string_view text, std::string_view section, std::string_view key,
                   int value) {
  if (!IsValidSection(section) || !IsValidKey(key)) return std::string(text);
  const std::string number = std::to_string(value);
  const Location where = Locate(text, section, key);
  std::string out;

  if (where.keyFound) {
    out.reserve(text.size() + number.size());
    out.append(text.substr(0, where.valueBegin));
    out.append(number);
    out.append(text.substr(where.valueEnd));
    return out;
  }

  const std::string_view lineBreak = DominantLineBreak(text);
  out.reserve(text.size() + section.size() + key.size() + number.size() + 16);

  if (where.sectionFound) {
    const Line& after = where.lastLineOfSection;
    const bool hasBreak = after.next > after.end;  // only the last line of the text can lack one
    const size_t at = hasBreak ? after.next : after.end;
    out.append(text.substr(0, at));
    if (!hasBreak) out.append(lineBreak);
    out.append(key);
    out.push_back('=');
    out.append(number);
    // A lone CR right before an LF would fuse with it into one CRLF and swallow the blank line
    // that the LF ends.
    if (lineBreak == "\r" && at < text.size() && text[at] == '\n') {
      out.append("\r\n");
    } else {
      out.append(lineBreak);
    }
    out.append(text.substr(at));
    return out;
  }

  out.append(text);
  if (text.size() > ContentStart(text) && !EndsWithLineBreak(text)) out.append(lineBreak);
  out.push_back('[');
  out.append(section);
  out.push_back(']');
  out.append(lineBreak);
  out.append(key);
  out.push_back('=');
  out.append(number);
  out.append(lineBreak);
  return out;
}

}  // namespace IniText
