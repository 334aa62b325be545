// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and editing the text of an INI profile. Pure functions over bytes: no file access, no
// state, and any bytes at all are acceptable input.
//
// The format as this program reads it:
//  - Lines end in LF, CRLF or a lone CR. A UTF-8 byte order mark at the very start is skipped.
//  - Spaces and tabs around a line, a section name, a key or a value are not part of it.
//  - A line starting with ';' or '#' is a comment.
//  - "[Name]" starts section Name; anything after the first ']' is ignored. A line that starts
//    with '[' but has no ']' is not a section header; it is ignored like any other line that is
//    neither a header nor "key=value", and the section it sits in carries on.
//  - "key=value" splits at the first '='. A line with an empty key ("=5") is ignored. There are no
//    comments at the end of a line: everything after the '=' is the value.
//  - Lines before the first section header belong to no section and are never found.
//  - Section and key names compare without regard to ASCII case; other bytes compare exactly.
//  - When a section appears more than once, the sections are searched in file order and the first
//    occurrence of the key in any of them is the one that counts, both for reading and for
//    writing.
#include <optional>
#include <string>
#include <string_view>

namespace IniText {

// Whether a name can be written so that it reads back as itself. A section name must be
// non-empty, must not start or end with a space or tab, and must not hold CR, LF or ']'. A key
// must be non-empty, must not start or end with a space or tab, must not hold CR, LF or '=', and
// must not start with ';', '#' or '['. Lookups with other names find nothing, and SetInt leaves
// the text as it is.
bool IsValidSection(std::string_view section);
bool IsValidKey(std::string_view key);

// A decimal int: optional spaces/tabs around it, an optional '+' or '-', then one or more digits,
// and the number must fit in 32 bits. Anything else ("12abc", "", "0x10", "99999999999") is
// nullopt.
std::optional<int> ParseInt(std::string_view value);

// The value of the key with spaces and tabs around it removed, or nullopt when there is none.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// FindValue read as an int; nullopt when missing or not a decimal int.
std::optional<int> FindInt(std::string_view text, std::string_view section, std::string_view key);

// The text with the key set to the value in decimal. Only that one value changes; every other byte
// stays where it was:
//  - an existing key keeps its spelling and the spacing around its value;
//  - a new key goes right after the last non-blank line of the (first) section;
//  - a new section goes at the end, after a line break if the text does not end with one.
// New lines end the way most lines in the text end (LF when there are none).
std::string SetInt(std::string_view text, std::string_view section, std::string_view key,
                   int value);

}  // namespace IniText
