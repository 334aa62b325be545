// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/IniText.h"

namespace {

using IniText::FindInt;
using IniText::FindValue;
using IniText::SetInt;

TEST(IniTextTest, ParsesOnlyPlainDecimalInts) {
  const struct {
    const char* text;
    std::optional<int> want;
  } cases[] = {
      {"5", 5},
      {" \t-12 \t", -12},
      {"+7", 7},
      {"-0", 0},
      {"007", 7},
      {"00000000000000000001", 1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", {}},
      {"-2147483649", {}},
      {"99999999999", {}},
      {"12abc", {}},
      {"", {}},
      {"  ", {}},
      {"0x10", {}},
      {"+", {}},
      {"- 5", {}},
      {"1 2", {}},
      {"--1", {}},
      {"1.0", {}},
      {"\xEF\xBC\x91", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(IniText::ParseInt(c.text), c.want) << c.text;
  EXPECT_EQ(IniText::ParseInt(std::string("1\0", 2)), std::nullopt);
}

TEST(IniTextTest, ReadsTheWayTheFormatSays) {
  const std::string text =
      "\xEF\xBB\xBF"
      "Monitor=99\r\n"  // before any section: never found
      "; [Options] comment\n"
      "# Monitor=98\r"
      "  [ oPTIONS ]  trailing\r\n"
      "  useSOUNDS\t=\t 1 \t\r\n"
      "=5\n"  // no key
      "Scan1=12abc\n"
      "Scan2=-0\n"
      "Scan3=99999999999\n"
      "Scan4=\n"
      "[Other]\n"
      "Sensitivity=50\n"
      "[Options\n"  // no ']': not a header, so still in [Other]
      "Scan5=77\n"
      "[OPTIONS]\n"
      "Monitor=2\n"
      "Scan1=3\n"  // the first occurrence of Scan1 is the one that counts
      "monitor=4\n"
      "Sensitivity = 6";  // no final line break
  const struct {
    const char* section;
    const char* key;
    std::optional<std::string> value;
    std::optional<int> number;
  } cases[] = {
      {"Options", "UseSounds", "1", 1},
      {"options", "usesounds", "1", 1},
      {"Options", "Scan1", "12abc", {}},
      {"Options", "Scan2", "-0", 0},
      {"Options", "Scan3", "99999999999", {}},
      {"Options", "Scan4", "", {}},
      {"Options", "Scan5", {}, {}},
      {"Other", "Scan5", "77", 77},
      {"Options", "Monitor", "2", 2},
      {"Options", "Sensitivity", "6", 6},
      {"Other", "Sensitivity", "50", 50},
      {"Missing", "Monitor", {}, {}},
      {" Options", "Monitor", {}, {}},
      {"Options", "", {}, {}},
      {"[Options", "Scan5", {}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindValue(text, c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(FindInt(text, c.section, c.key), c.number) << c.section << "/" << c.key;
  }
}

TEST(IniTextTest, ReplacingAValueKeepsTheLineAroundIt) {
  EXPECT_EQ(SetInt("[Options]\r\n  MoNiToR \t=  5 \t\r\n", "Options", "Monitor", -7),
            "[Options]\r\n  MoNiToR \t=  -7 \t\r\n");
  EXPECT_EQ(SetInt("[Options]\nKey = \n", "Options", "KEY", 3), "[Options]\nKey = 3\n");
  EXPECT_EQ(SetInt("[Options]\nKey=12abc", "Options", "Key", 3), "[Options]\nKey=3");
  // Duplicate keys and sections: the first occurrence is replaced and the others left alone.
  EXPECT_EQ(SetInt("[A]\nx=1\n[B]\nk=1\n[A]\nk=2\nk=3\n", "a", "K", 9),
            "[A]\nx=1\n[B]\nk=1\n[A]\nk=9\nk=3\n");
}

TEST(IniTextTest, NewKeyGoesAfterTheLastNonBlankLineOfItsSection) {
  EXPECT_EQ(SetInt("[Options]\nA=1\n; note\n\n\n[Other]\nB=2\n", "Options", "C", 3),
            "[Options]\nA=1\n; note\nC=3\n\n\n[Other]\nB=2\n");
  EXPECT_EQ(SetInt("[Options]\n\n[Other]\n", "Options", "C", 3), "[Options]\nC=3\n\n[Other]\n");
  // Into the first of two sections with the same name.
  EXPECT_EQ(SetInt("[a]\nx=1\n[b]\n[A]\ny=2\n", "A", "z", 3), "[a]\nx=1\nz=3\n[b]\n[A]\ny=2\n");
  // The section's last line has no line break.
  EXPECT_EQ(SetInt("[Options]\r\nA=1", "Options", "C", 3), "[Options]\r\nA=1\r\nC=3\r\n");
  // New lines follow the line breaks most lines use.
  EXPECT_EQ(SetInt("[O]\r\nA=1\r\nB=2\n\r\n", "O", "C", 3), "[O]\r\nA=1\r\nB=2\nC=3\r\n\r\n");
  EXPECT_EQ(SetInt("[O]\rA=1\r\n[P]\r", "O", "C", 3), "[O]\rA=1\r\nC=3\r[P]\r");
  // A lone CR must not fuse with the LF of the blank line that follows.
  const std::string fused = SetInt("[O]\rA=1\n\n\r\r\r", "O", "C", 3);
  EXPECT_EQ(fused, "[O]\rA=1\nC=3\r\n\n\r\r\r");
  EXPECT_EQ(FindInt(fused, "O", "A"), 1);
}

TEST(IniTextTest, NewSectionGoesAtTheEnd) {
  EXPECT_EQ(SetInt("", "Options", "Monitor", 2), "[Options]\nMonitor=2\n");
  EXPECT_EQ(SetInt("\xEF\xBB\xBF", "Options", "Monitor", 2), "\xEF\xBB\xBF[Options]\nMonitor=2\n");
  EXPECT_EQ(SetInt("; top\r\n[Other]\r\nA=1", "Options", "Monitor", 2),
            "; top\r\n[Other]\r\nA=1\r\n[Options]\r\nMonitor=2\r\n");
  EXPECT_EQ(SetInt("[Options\n", "Options", "Monitor", 2), "[Options\n[Options]\nMonitor=2\n");
}

TEST(IniTextTest, NamesThatCannotBeWrittenChangeNothing) {
  const std::string text = "[Options]\nA=1\n";
  for (const char* section : {"", " Options", "Options\t", "Opt]ions", "Op\ntions", "O\rp"}) {
    EXPECT_EQ(SetInt(text, section, "A", 2), text) << section;
    EXPECT_FALSE(FindValue(std::string("[") + section + "]\nA=1\n", section, "A")) << section;
  }
  for (const char* key : {"", " A", "A ", "A=B", ";A", "#A", "[A", "A\nB", "A\r"}) {
    EXPECT_EQ(SetInt(text, "Options", key, 2), text) << key;
    EXPECT_FALSE(FindValue(text, "Options", key)) << key;
  }
}

}  // namespace
