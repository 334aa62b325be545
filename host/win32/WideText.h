// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program keeps its texts and paths in UTF-8; Windows' wide-character functions take
// UTF-16. These convert at that boundary. Bytes that are not UTF-8 become U+FFFD rather than
// being lost or stopping the conversion.
#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
