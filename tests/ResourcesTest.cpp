// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The templates and strings against a table typed in again, line by line, from the design of
// each window: a slip in either shows up as a difference.
#include <gtest/gtest.h>

#include <sstream>

#include "common/DialogTemplate.h"

namespace {
const char* KindName(ControlKind k) {
  switch (k) {
    case ControlKind::PushButton: return "button";
    case ControlKind::CheckBox: return "check";
    case ControlKind::GroupBox: return "group";
    case ControlKind::Text: return "text";
    case ControlKind::Picture: return "picture";
    case ControlKind::BlackRect: return "blackrect";
    case ControlKind::BlackFrame: return "blackframe";
    case ControlKind::Trackbar: return "trackbar";
    case ControlKind::Animation: return "animation";
    case ControlKind::Icon: return "icon";
  }
  return "?";
}

// "id kind x y cx cy | text" for each control, in template order.
std::string Describe(const DialogTemplate& t) {
  std::ostringstream out;
  out << t.id << " \"" << t.caption << "\" " << t.rect.cx << "x" << t.rect.cy << "\n";
  for (const auto& c : t.controls) {
    out << c.id << " " << KindName(c.kind) << " " << c.rect.x << " " << c.rect.y << " "
        << c.rect.cx << " " << c.rect.cy << " | ";
    if (c.kind == ControlKind::Picture)
      out << "#" << c.bitmap << "\n";
    else
      out << c.text << "\n";
  }
  return out.str();
}

std::string Expected(int id) {
  switch (id) {
    case 102:
      return R"(102 "Quorblex Pro" 217x130
-1 blackrect 2 3 213 88 | 
1018 picture 44 70 13 12 | #146
1008 picture 57 70 13 12 | #146
1009 picture 70 70 13 12 | #146
1010 picture 83 70 13 12 | #146
1011 picture 96 70 13 12 | #146
1012 picture 109 70 13 12 | #146
1013 picture 122 70 13 12 | #146
1014 picture 135 70 13 12 | #146
1015 picture 148 70 13 12 | #146
1016 picture 161 70 13 12 | #146
1005 animation 7 7 200 59 | 
1 button 6 94 67 16 | &Minimize
1000 button 75 94 67 16 | &Scan
3 button 144 94 67 16 | A&bductee Scan
1002 button 6 112 67 16 | Se&ttings
1001 button 75 112 67 16 | &About...
2 button 144 112 67 16 | E&xit
)";
    case 148:
      return R"(148 "Scanning..." 149x66
1 button 46 45 50 16 | Abort
1008 picture 21 22 13 12 | #146
1009 picture 34 22 13 12 | #146
1010 picture 47 22 13 12 | #146
1011 picture 60 22 13 12 | #146
1012 picture 73 22 13 12 | #146
1013 picture 86 22 13 12 | #146
1014 picture 99 22 13 12 | #146
1015 picture 112 22 13 12 | #146
1016 picture 125 22 13 12 | #146
1018 picture 8 22 13 12 | #146
-1 blackframe 7 21 132 14 | 
1019 text 7 10 131 8 | 
)";
    case 149:
      return R"(149 "Scan Results" 217x116
1 button 85 92 50 18 | OK
-1 text 31 20 50 8 | Alien Presence:
-1 text 51 30 30 8 | Proximity:
-1 text 61 39 19 8 | Type:
-1 text 20 59 70 10 | Abduction Probability:
1020 text 87 20 103 8 | 
1021 text 87 30 103 8 | 
1022 text 87 39 103 8 | 
1023 text 94 59 102 8 | 
-1 group 5 5 205 80 | 
)";
    case 169:
      return R"(169 "Setup" 172x175
1024 check 14 8 55 10 | Use Sounds
1030 check 19 36 40 10 | Active
1031 trackbar 64 46 80 20 | Slider1
1025 check 20 90 79 10 | Dial Psychic Hotline
1026 check 20 100 95 10 | Check Tabloid Headlines
1027 check 20 110 60 10 | Ask A Lunatic
1028 check 20 120 88 10 | Look Out The Window
1029 check 20 130 46 10 | S.W.A.G.
1 button 33 155 50 14 | OK
2 button 88 155 50 14 | Cancel
-1 group 10 75 150 70 | Scanning Options
-1 group 10 25 150 45 | Monitoring
-1 text 25 52 32 8 | Sensitivity
-1 text 64 37 20 8 | Low
-1 text 130 36 16 8 | High
)";
    case 170:
      return R"(170 "Abductee Scan" 252x215
1 button 64 192 50 15 | Scan
2 button 136 192 50 15 | Cancel
-1 picture 5 5 240 146 | #171
1032 picture 87 47 7 6 | #181
1033 picture 186 20 7 6 | #182
1034 picture 87 112 7 6 | #179
1035 picture 220 63 7 6 | #180
-1 group 20 156 210 30 | 
-1 text 25 165 195 20 | Place the fingertips of your left hand on the sensors and press the ENTER key.
1036 picture 18 63 7 6 | #181
1037 picture 187 136 7 6 | #178
1038 picture 121 66 7 6 | #182
1039 picture 54 19 7 6 | #181
)";
    case 174:
      return R"(174 "Abductee Scan Results" 186x121
1 button 67 98 50 15 | OK
-1 group 5 5 175 85 | 
1036 text 10 15 165 70 | Static
)";
    default:
      return "";
  }
}
}  // namespace

TEST(Resources, TemplatesMatchTheirWindows) {
  for (int id : {102, 148, 149, 169, 170, 174}) {
    const DialogTemplate* t = Resources::FindTemplate(id);
    ASSERT_NE(t, nullptr) << id;
    EXPECT_EQ(Describe(*t), Expected(id)) << "template " << id;
  }
  EXPECT_EQ(Resources::FindTemplate(999), nullptr);
}

TEST(Resources, AboutBoxLayout) {
  const DialogTemplate* t = Resources::FindTemplate(100);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->caption, "About Quorblex Pro");
  EXPECT_EQ(t->rect.cx, 237);
  EXPECT_EQ(t->rect.cy, 130);
  // Our own credit lines stand where the layout puts them; the fixed parts are checked here.
  std::ostringstream layout;
  for (const auto& c : t->controls)
    layout << c.id << " " << KindName(c.kind) << " " << c.rect.x << " " << c.rect.y << " "
           << c.rect.cx << " " << c.rect.cy << "\n";
  EXPECT_EQ(layout.str(),
            "65535 text 60 10 119 8\n65535 text 60 21 119 8\n1 button 190 5 42 15\n"
            "65535 picture 5 10 51 58\n65535 text 60 40 165 8\n65535 text 60 53 165 20\n"
            "65535 text 21 92 137 8\n65535 text 21 102 193 8\n65535 group 11 81 215 35\n"
            "9 button 190 21 42 15\n");
  EXPECT_EQ(t->controls[0].text, "Quorblex Pro Version 1.0a");
  EXPECT_EQ(t->controls[3].bitmap, 168);
  EXPECT_EQ(t->controls[8].text, "Contact Points");
  EXPECT_EQ(t->controls[9].text, "Help");
  EXPECT_TRUE(t->controls[0].style & SS_NOPREFIX);
}

TEST(Resources, StylesThatDecideBehaviour) {
  auto style = [](int id, size_t i) { return Resources::FindTemplate(id)->controls[i].style; };
  // Default buttons: Scan in the main window, Abort, OK, Scan in the abductee scan.
  EXPECT_EQ(style(102, 13) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(style(102, 12) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(style(148, 0) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(style(170, 0) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(style(170, 1) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(style(169, 8) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  // The clip takes the first tab stop of the main window.
  EXPECT_TRUE(style(102, 11) & WS_TABSTOP);
  EXPECT_EQ(style(149, 1) & 0xF, SS_RIGHT);
  EXPECT_TRUE(style(169, 2) & TBS_TOP);
  EXPECT_TRUE(Resources::FindTemplate(102)->style & WS_VISIBLE);
  EXPECT_FALSE(Resources::FindTemplate(148)->style & WS_VISIBLE);
  EXPECT_TRUE(Resources::FindTemplate(102)->exStyle & WS_EX_APPWINDOW);
}

TEST(Resources, StringTable) {
  const std::map<int, std::string> expected = {
      {101, "&About Quorblex Pro..."},
      {102, "Minimize Quorblex Pro to the system tray"},
      {103, "Perform full scan for Extraterrestrial lifeforms"},
      {104, "Scan an individual for repressed abductee experiences"},
      {105, "Set Quorblex Pro options"},
      {106, "Exit Quorblex Pro"},
      {107, "Display version and copyright information"},
      {108, "Dialing psychic hotline..."},
      {109, "Checking tabloid headlines..."},
      {110, "Asking a lunatic..."},
      {111, "Looking out the window..."},
      {112, "S.W.A.G."},
      {114, "None Detected"},
      {115, "Probable"},
      {116, "Detected"},
      {117, "You are an alien!"},
      {119, "Meters"},
      {121, "Grey, Short"},
      {122, "Grey, Tall"},
      {123, "Green, Short"},
      {124, "Green, Tall"},
      {125, "Possible"},
      {126, "Probable"},
      {127, "Imminent"},
      {128, "Analysis Complete"},
      {129, "Unknown"},
      {130, "The Great Gazoo!"},
      {131, "No abductee experiences detected during scan."},
      {132, "Scan results inconclusive."},
      {133, "Scan indicates individual as possible alien abductee."},
      {134, "Scan indicates individual as an alien abductee. \nOrafice probing confirmed.\n"
            "Implant confirmed."},
      {135, "Scan indicates individual as an alien abductee."},
      {136, "Scanning..."},
  };
  for (const auto& [id, text] : expected) EXPECT_EQ(Resources::LoadString(id), text) << id;
  EXPECT_EQ(Resources::StringIds().size(), expected.size());
  EXPECT_EQ(Resources::LoadString(113), "");
}

TEST(Resources, EveryPictureIsCompiledIn) {
  for (int id : {146, 147, 168, 171, 178, 179, 180, 181, 182})
    EXPECT_GT(Resources::FindBitmap(id).size, 0u) << id;
  EXPECT_EQ(Resources::FindBitmap(100).size, 0u);
  for (int size : {16, 32, 48, 128}) EXPECT_GT(Resources::FindIconPng(size).size, 0u) << size;
}
