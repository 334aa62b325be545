// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's dialog templates. Rectangles are in dialog units of the dialog's font.
#include <map>
#include <string>
#include <utility>

#include "res/ResourceIds.h"

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
  t.id = IDD_SCANNER_DIALOG;
  t.caption = "Quorblex Pro";
  t.rect = {0, 0, 217, 130};
  t.style = kDialog | WS_VISIBLE;
  t.exStyle = WS_EX_APPWINDOW;
  t.controls = {
      {IDC_STATIC, ControlKind::BlackRect, "", 0, {2, 3, 213, 88}, SS_BLACKRECT, WS_EX_CLIENTEDGE},
      Picture(IDC_LAMP1, IDB_LAMP_OFF, {44, 70, 13, 12}),
      Picture(IDC_LAMP2, IDB_LAMP_OFF, {57, 70, 13, 12}),
      Picture(IDC_LAMP3, IDB_LAMP_OFF, {70, 70, 13, 12}),
      Picture(IDC_LAMP4, IDB_LAMP_OFF, {83, 70, 13, 12}),
      Picture(IDC_LAMP5, IDB_LAMP_OFF, {96, 70, 13, 12}),
      Picture(IDC_LAMP6, IDB_LAMP_OFF, {109, 70, 13, 12}),
      Picture(IDC_LAMP7, IDB_LAMP_OFF, {122, 70, 13, 12}),
      Picture(IDC_LAMP8, IDB_LAMP_OFF, {135, 70, 13, 12}),
      Picture(IDC_LAMP9, IDB_LAMP_OFF, {148, 70, 13, 12}),
      Picture(IDC_LAMP10, IDB_LAMP_OFF, {161, 70, 13, 12}),
      {IDC_ANIMATE, ControlKind::Animation, "", 0, {7, 7, 200, 59}, WS_TABSTOP, 0},
      Button(IDC_MINIMIZE, "&Minimize", {6, 94, 67, 16}),
      Button(IDC_SCAN, "&Scan", {75, 94, 67, 16}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Button(IDC_ABDUCTEE, "A&bductee Scan", {144, 94, 67, 16}),
      Button(IDC_SETTINGS, "Se&ttings", {6, 112, 67, 16}),
      Button(IDC_ABOUT, "&About...", {75, 112, 67, 16}),
      Button(IDC_EXIT, "E&xit", {144, 112, 67, 16}),
  };
  return t;
}

// About box. The credit and contact lines are our own.
DialogTemplate About() {
  DialogTemplate t;
  t.id = IDD_ABOUTBOX;
  t.caption = "About Quorblex Pro";
  t.rect = {0, 0, 237, 130};
  t.style = kDialog;
  t.centered = true;
  t.controls = {
      Text(IDC_STATIC16, "Quorblex Pro Version 1.0a", {60, 10, 119, 8}, SS_NOPREFIX | WS_GROUP),
      Text(IDC_STATIC16, "Quorblex Instrument Works", {60, 21, 119, 8}, WS_GROUP),
      Button(IDOK, "OK", {190, 5, 42, 15}, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
      Picture(IDC_STATIC16, IDB_ABOUT, {5, 10, 51, 58}, SS_BITMAP, WS_EX_CLIENTEDGE),
      Text(IDC_STATIC16, "Calibration: Dr. Ima Zorp, Station 9", {60, 40, 165, 8}, WS_GROUP),
      Text(IDC_STATIC16,
           "For entertainment only. No lifeform, terrestrial or otherwise, was "
           "probed.",
           {60, 53, 165, 20}, WS_GROUP),
      Text(IDC_STATIC16, "Signals: any tin-foil antenna", {21, 92, 137, 8}, WS_GROUP),
      Text(IDC_STATIC16, "Mail: Crater Row 7, Far Side of the Moon",
           {21, 102, 193, 8}, WS_GROUP),
      Group(IDC_STATIC16, "Contact Points", {11, 81, 215, 35}),
      Button(IDC_HELP_BUTTON, "Help", {190, 21, 42, 15}, WS_GROUP | WS_TABSTOP),
  };
  return t;
}

// Full scan, first stage: ten lamps, status line, Abort.
DialogTemplate ScanProgress() {
  DialogTemplate t;
  t.id = IDD_SCAN_PROGRESS;
  t.caption = "Scanning...";
  t.rect = {0, 0, 149, 66};
  t.style = kDialog;
  t.controls = {
      Button(IDC_ABORT, "Abort", {46, 45, 50, 16}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Picture(IDC_LAMP2, IDB_LAMP_OFF, {21, 22, 13, 12}),
      Picture(IDC_LAMP3, IDB_LAMP_OFF, {34, 22, 13, 12}),
      Picture(IDC_LAMP4, IDB_LAMP_OFF, {47, 22, 13, 12}),
      Picture(IDC_LAMP5, IDB_LAMP_OFF, {60, 22, 13, 12}),
      Picture(IDC_LAMP6, IDB_LAMP_OFF, {73, 22, 13, 12}),
      Picture(IDC_LAMP7, IDB_LAMP_OFF, {86, 22, 13, 12}),
      Picture(IDC_LAMP8, IDB_LAMP_OFF, {99, 22, 13, 12}),
      Picture(IDC_LAMP9, IDB_LAMP_OFF, {112, 22, 13, 12}),
      Picture(IDC_LAMP10, IDB_LAMP_OFF, {125, 22, 13, 12}),
      Picture(IDC_LAMP1, IDB_LAMP_OFF, {8, 22, 13, 12}),
      {IDC_STATIC, ControlKind::BlackFrame, "", 0, {7, 21, 132, 14}, SS_BLACKFRAME | SS_SUNKEN, 0},
      Text(IDC_STATUS, "", {7, 10, 131, 8}),
  };
  return t;
}

// Full scan, second stage: four result lines.
DialogTemplate ScanResults() {
  DialogTemplate t;
  t.id = IDD_SCAN_RESULTS;
  t.caption = "Scan Results";
  t.rect = {0, 0, 217, 116};
  t.style = kDialog;
  t.controls = {
      Button(IDOK, "OK", {85, 92, 50, 18}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Text(IDC_STATIC, "Alien Presence:", {31, 20, 50, 8}, SS_RIGHT | WS_GROUP),
      Text(IDC_STATIC, "Proximity:", {51, 30, 30, 8}, SS_RIGHT | WS_GROUP),
      Text(IDC_STATIC, "Type:", {61, 39, 19, 8}, SS_RIGHT | WS_GROUP),
      Text(IDC_STATIC, "Abduction Probability:", {20, 59, 70, 10}, SS_RIGHT | WS_GROUP),
      Text(IDC_PRESENCE, "", {87, 20, 103, 8}),
      Text(IDC_PROXIMITY, "", {87, 30, 103, 8}),
      Text(IDC_TYPE, "", {87, 39, 103, 8}),
      Text(IDC_ABDUCTION, "", {94, 59, 102, 8}),
      Group(IDC_STATIC, "", {5, 5, 205, 80}),
  };
  return t;
}

// Setup: seven switches and the sensitivity trackbar.
DialogTemplate Setup() {
  DialogTemplate t;
  t.id = IDD_SETUP;
  t.caption = "Setup";
  t.rect = {0, 0, 172, 175};
  t.style = kDialog;
  t.centered = true;
  t.controls = {
      Check(IDC_USE_SOUNDS, "Use Sounds", {14, 8, 55, 10}),
      Check(IDC_MONITOR, "Active", {19, 36, 40, 10}),
      {IDC_SENSITIVITY, ControlKind::Trackbar, "Slider1", 0, {64, 46, 80, 20},
       TBS_AUTOTICKS | TBS_TOP | WS_TABSTOP, 0},
      Check(IDC_SCAN1, "Dial Psychic Hotline", {20, 90, 79, 10}),
      Check(IDC_SCAN2, "Check Tabloid Headlines", {20, 100, 95, 10}),
      Check(IDC_SCAN3, "Ask A Lunatic", {20, 110, 60, 10}),
      Check(IDC_SCAN4, "Look Out The Window", {20, 120, 88, 10}),
      Check(IDC_SCAN5, "S.W.A.G.", {20, 130, 46, 10}),
      Button(IDOK, "OK", {33, 155, 50, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Button(IDCANCEL, "Cancel", {88, 155, 50, 14}),
      Group(IDC_STATIC, "Scanning Options", {10, 75, 150, 70}),
      Group(IDC_STATIC, "Monitoring", {10, 25, 150, 45}),
      Text(IDC_STATIC, "Sensitivity", {25, 52, 32, 8}, SS_LEFT),
      Text(IDC_STATIC, "Low", {64, 37, 20, 8}, SS_LEFT),
      Text(IDC_STATIC, "High", {130, 36, 16, 8}, SS_LEFT),
  };
  return t;
}

// Abductee scan: the sensor plate with its eight dots.
DialogTemplate AbducteeScan() {
  DialogTemplate t;
  t.id = IDD_ABDUCTEE_SCAN;
  t.caption = "Abductee Scan";
  t.rect = {0, 0, 252, 215};
  t.style = kDialog;
  t.centered = true;
  t.controls = {
      Button(IDOK, "Scan", {64, 192, 50, 15}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Button(IDCANCEL, "Cancel", {136, 192, 50, 15}, BS_PUSHBUTTON | WS_TABSTOP),
      Picture(IDC_STATIC, IDB_SENSOR_PLATE, {5, 5, 240, 146}, SS_BITMAP | WS_BORDER, WS_EX_CLIENTEDGE),
      Picture(IDC_DOT1, IDB_DOT_RED, {87, 47, 7, 6}),
      Picture(IDC_DOT2, IDB_DOT_AMBER, {186, 20, 7, 6}),
      Picture(IDC_DOT3, IDB_DOT_GREEN, {87, 112, 7, 6}),
      Picture(IDC_DOT4, IDB_DOT_GREY, {220, 63, 7, 6}),
      Group(IDC_STATIC, "", {20, 156, 210, 30}),
      Text(IDC_STATIC,
           "Place the fingertips of your left hand on the sensors and press the ENTER key.",
           {25, 165, 195, 20}),
      Picture(IDC_DOT5, IDB_DOT_RED, {18, 63, 7, 6}),
      Picture(IDC_DOT6, IDB_DOT_BLUE, {187, 136, 7, 6}),
      Picture(IDC_DOT7, IDB_DOT_AMBER, {121, 66, 7, 6}),
      Picture(IDC_DOT8, IDB_DOT_RED, {54, 19, 7, 6}),
  };
  return t;
}

// Abductee scan, the verdict.
DialogTemplate AbducteeResults() {
  DialogTemplate t;
  t.id = IDD_ABDUCTEE_RESULTS;
  t.caption = "Abductee Scan Results";
  t.rect = {0, 0, 186, 121};
  t.style = kDialog;
  t.centered = true;
  t.controls = {
      Button(IDOK, "OK", {67, 98, 50, 15}, BS_DEFPUSHBUTTON | WS_TABSTOP),
      Group(IDC_STATIC, "", {5, 5, 175, 85}),
      Text(IDC_VERDICT, "Static", {10, 15, 165, 70}),
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

