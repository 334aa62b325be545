// The program's dialog templates. Rectangles are in dialog units of the dialog's font.
#include <map>
#include <string>
#include <utility>

#include "common/DialogTemplate.h"

namespace {

constexpr DWORD kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

ControlTemplate Button(int id, const char* text, Rect r, DWORD style = WS_TABSTOP,
                       DWORD ex = WS_EX_CLIENTEDGE) {
  return {id, ControlKind::PushButton, text, 0, r, style, ex};
}
ControlTemplate Check(int id, const char* text, Rect r) {
  return {id, ControlKind::CheckBox, text, 0, r, BS_AUTOCHECKBOX | WS_TABSTOP, 0};
}
ControlTemplate Text(int id, const char* text, Rect r, DWORD style = SS_LEFT | WS_GROUP) {
  return {id, ControlKind::Text, text, 0, r, style, 0};
}
ControlTemplate Picture(int id, int bitmap, Rect r, DWORD style = SS_BITMAP, DWORD ex = 0) {
  // Appended rather than "#" + ...: GCC 12 at -O3 misreads the inlined insert as an
  // overlapping copy (-Wrestrict).
  std::string name = "#";
  name += std::to_string(bitmap);
  return {id, ControlKind::Picture, std::move(name), bitmap, r, style, ex};
}
ControlTemplate Group(int id, const char* text, Rect r) {
  return {id, ControlKind::GroupBox, text, 0, r, BS_GROUPBOX, 0};
}

// Main window: clip, lamp bar and six buttons.
DialogTemplate Main() {
  DialogTemplate t;
  t.id = 102;
  t.caption = "Quorblex Pro";
  t.rect = {0, 0, 217, 130};
  t.style = kDialog | WS_VISIBLE;
  t.exStyle = WS_EX_APPWINDOW;
  t.controls = {
      {-1, ControlKind::BlackRect, "", 0, {2, 3, 213, 88}, SS_BLACKRECT, WS_EX_CLIENTEDGE},
      Picture(1018, 146, {44, 70, 13, 12}),
      Picture(1008, 146, {57, 70, 13, 12}),
      Picture(1009, 146, {70, 70, 13, 12}),
      Picture(1010, 146, {83, 70, 13, 12}),
      Picture(1011, 146, {96, 70, 13, 12}),
      Picture(1012, 146, {109, 70, 13, 12}),
      Picture(1013, 146, {122, 70, 13, 12}),
      Picture(1014, 146, {135, 70, 13, 12}),
      Picture(1015, 146, {148, 70, 13, 12}),
      Picture(1016, 146, {161, 70, 13, 12}),
      {1005, ControlKind::Animation, "", 0, {7, 7, 200, 59}, WS_TABSTOP, 0},
      Button(1, "&Minimize", {6, 94, 67, 16}),
      Button(1000, "&Scan", {75, 94, 67, 16}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Button(3, "A&bductee Scan", {144, 94, 67, 16}),
      Button(1002, "Se&ttings", {6, 112, 67, 16}),
      Button(1001, "&About...", {75, 112, 67, 16}),
      Button(2, "E&xit", {144, 112, 67, 16}),
  };
  return t;
}

// About box. The credit and contact lines are our own.
DialogTemplate About() {
  DialogTemplate t;
  t.id = 100;
  t.caption = "About Quorblex Pro";
  t.rect = {0, 0, 237, 130};
  t.style = kDialog;
  t.centered = true;
  t.controls = {
      Text(65535, "Quorblex Pro Version 1.0a", {60, 10, 119, 8}, SS_NOPREFIX | WS_GROUP),
      Text(65535, "Quorblex Instrument Works", {60, 21, 119, 8}, WS_GROUP),
      Button(1, "OK", {190, 5, 42, 15}, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
      Picture(65535, 168, {5, 10, 51, 58}, SS_BITMAP, WS_EX_CLIENTEDGE),
      Text(65535, "Calibration: Dr. Ima Zorp, Station 9", {60, 40, 165, 8}, WS_GROUP),
      Text(65535,
           "For entertainment only. No lifeform, terrestrial or otherwise, was "
           "probed.",
           {60, 53, 165, 20}, WS_GROUP),
      Text(65535, "Signals: any tin-foil antenna", {21, 92, 137, 8}, WS_GROUP),
      Text(65535, "Mail: Crater Row 7, Far Side of the Moon",
           {21, 102, 193, 8}, WS_GROUP),
      Group(65535, "Contact Points", {11, 81, 215, 35}),
      Button(9, "Help", {190, 21, 42, 15}, WS_GROUP | WS_TABSTOP),
  };
  return t;
}

// Full scan, first stage: ten lamps, status line, Abort.
DialogTemplate ScanProgress() {
  DialogTemplate t;
  t.id = 148;
  t.caption = "Scanning...";
  t.rect = {0, 0, 149, 66};
  t.style = kDialog;
  t.controls = {
      Button(1, "Abort", {46, 45, 50, 16}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Picture(1008, 146, {21, 22, 13, 12}),
      Picture(1009, 146, {34, 22, 13, 12}),
      Picture(1010, 146, {47, 22, 13, 12}),
      Picture(1011, 146, {60, 22, 13, 12}),
      Picture(1012, 146, {73, 22, 13, 12}),
      Picture(1013, 146, {86, 22, 13, 12}),
      Picture(1014, 146, {99, 22, 13, 12}),
      Picture(1015, 146, {112, 22, 13, 12}),
      Picture(1016, 146, {125, 22, 13, 12}),
      Picture(1018, 146, {8, 22, 13, 12}),
      {-1, ControlKind::BlackFrame, "", 0, {7, 21, 132, 14}, SS_BLACKFRAME | SS_SUNKEN, 0},
      Text(1019, "", {7, 10, 131, 8}),
  };
  return t;
}

// Full scan, second stage: four result lines.
DialogTemplate ScanResults() {
  DialogTemplate t;
  t.id = 149;
  t.caption = "Scan Results";
  t.rect = {0, 0, 217, 116};
  t.style = kDialog;
  t.controls = {
      Button(1, "OK", {85, 92, 50, 18}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Text(-1, "Alien Presence:", {31, 20, 50, 8}, SS_RIGHT | WS_GROUP),
      Text(-1, "Proximity:", {51, 30, 30, 8}, SS_RIGHT | WS_GROUP),
      Text(-1, "Type:", {61, 39, 19, 8}, SS_RIGHT | WS_GROUP),
      Text(-1, "Abduction Probability:", {20, 59, 70, 10}, SS_RIGHT | WS_GROUP),
      Text(1020, "", {87, 20, 103, 8}),
      Text(1021, "", {87, 30, 103, 8}),
      Text(1022, "", {87, 39, 103, 8}),
      Text(1023, "", {94, 59, 102, 8}),
      Group(-1, "", {5, 5, 205, 80}),
  };
  return t;
}

// Setup: seven switches and the sensitivity trackbar.
DialogTemplate Setup() {
  DialogTemplate t;
  t.id = 169;
  t.caption = "Setup";
  t.rect = {0, 0, 172, 175};
  t.style = kDialog;
  t.centered = true;
  t.controls = {
      Check(1024, "Use Sounds", {14, 8, 55, 10}),
      Check(1030, "Active", {19, 36, 40, 10}),
      {1031, ControlKind::Trackbar, "Slider1", 0, {64, 46, 80, 20},
       TBS_AUTOTICKS | TBS_TOP | WS_TABSTOP, 0},
      Check(1025, "Dial Psychic Hotline", {20, 90, 79, 10}),
      Check(1026, "Check Tabloid Headlines", {20, 100, 95, 10}),
      Check(1027, "Ask A Lunatic", {20, 110, 60, 10}),
      Check(1028, "Look Out The Window", {20, 120, 88, 10}),
      Check(1029, "S.W.A.G.", {20, 130, 46, 10}),
      Button(1, "OK", {33, 155, 50, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Button(2, "Cancel", {88, 155, 50, 14}),
      Group(-1, "Scanning Options", {10, 75, 150, 70}),
      Group(-1, "Monitoring", {10, 25, 150, 45}),
      Text(-1, "Sensitivity", {25, 52, 32, 8}, SS_LEFT),
      Text(-1, "Low", {64, 37, 20, 8}, SS_LEFT),
      Text(-1, "High", {130, 36, 16, 8}, SS_LEFT),
  };
  return t;
}

// Abductee scan: the sensor plate with its eight dots.
DialogTemplate AbducteeScan() {
  DialogTemplate t;
  t.id = 170;
  t.caption = "Abductee Scan";
  t.rect = {0, 0, 252, 215};
  t.style = kDialog;
  t.centered = true;
  t.controls = {
      Button(1, "Scan", {64, 192, 50, 15}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Button(2, "Cancel", {136, 192, 50, 15}, BS_PUSHBUTTON | WS_TABSTOP),
      Picture(-1, 171, {5, 5, 240, 146}, SS_BITMAP | WS_BORDER, WS_EX_CLIENTEDGE),
      Picture(1032, 181, {87, 47, 7, 6}),
      Picture(1033, 182, {186, 20, 7, 6}),
      Picture(1034, 179, {87, 112, 7, 6}),
      Picture(1035, 180, {220, 63, 7, 6}),
      Group(-1, "", {20, 156, 210, 30}),
      Text(-1,
           "Place the fingertips of your left hand on the sensors and press the ENTER key.",
           {25, 165, 195, 20}),
      Picture(1036, 181, {18, 63, 7, 6}),
      Picture(1037, 178, {187, 136, 7, 6}),
      Picture(1038, 182, {121, 66, 7, 6}),
      Picture(1039, 181, {54, 19, 7, 6}),
  };
  return t;
}

// Abductee scan, the verdict.
DialogTemplate AbducteeResults() {
  DialogTemplate t;
  t.id = 174;
  t.caption = "Abductee Scan Results";
  t.rect = {0, 0, 186, 121};
  t.style = kDialog;
  t.centered = true;
  t.controls = {
      Button(1, "OK", {67, 98, 50, 15}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Group(-1, "", {5, 5, 175, 85}),
      Text(1036, "Static", {10, 15, 165, 70}),
  };
  return t;
}

const std::map<int, DialogTemplate>& Templates() {
  static const std::map<int, DialogTemplate> all = [] {
    std::map<int, DialogTemplate> m;
    for (auto t : {Main(), About(), ScanProgress(), ScanResults(), Setup(), AbducteeScan(),
                   AbducteeResults()})
      m.emplace(t.id, std::move(t));
    return m;
  }();
  return all;
}

}  // namespace

const DialogTemplate* Resources::FindTemplate(int id) {
  auto it = Templates().find(id);
  return it == Templates().end() ? nullptr : &it->second;
}

std::vector<int> Resources::TemplateIds() {
  std::vector<int> ids;
  for (const auto& [id, t] : Templates()) ids.push_back(id);
  return ids;
}
