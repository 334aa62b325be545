// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of the program's numbers: dialog templates, controls, bitmaps, strings and the
// icon, with the few timings the tools check against. The program, its templates, the tests and
// the soak all take their numbers from here. The framework's own names (messages, styles,
// message box flags and masks, the message box marker) come with it from WinTypes.h and
// DialogTemplate.h.
#include "common/DialogTemplate.h"
#include "common/WinTypes.h"

// ---- Dialog templates --------------------------------------------------------------------
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_SCANNER_DIALOG = 102;
constexpr int IDD_SCAN_PROGRESS = 148;
constexpr int IDD_SCAN_RESULTS = 149;
constexpr int IDD_SETUP = 169;
constexpr int IDD_ABDUCTEE_SCAN = 170;
constexpr int IDD_ABDUCTEE_RESULTS = 174;

// ---- Controls ----------------------------------------------------------------------------
// Statics nobody talks to: -1, and 65535 where a template wrote it as a 16-bit number.
constexpr int IDC_STATIC = -1;
constexpr int IDC_STATIC16 = 0xFFFF;

// The lamp bar of the main window and of the scan progress, left to right.
constexpr int IDC_LAMP1 = 1018;
constexpr int IDC_LAMP2 = 1008;
constexpr int IDC_LAMP3 = 1009;
constexpr int IDC_LAMP4 = 1010;
constexpr int IDC_LAMP5 = 1011;
constexpr int IDC_LAMP6 = 1012;
constexpr int IDC_LAMP7 = 1013;
constexpr int IDC_LAMP8 = 1014;
constexpr int IDC_LAMP9 = 1015;
constexpr int IDC_LAMP10 = 1016;
constexpr int kLampIds[10] = {IDC_LAMP1, IDC_LAMP2, IDC_LAMP3, IDC_LAMP4, IDC_LAMP5,
                              IDC_LAMP6, IDC_LAMP7, IDC_LAMP8, IDC_LAMP9, IDC_LAMP10};

// Main window.
constexpr int IDC_MINIMIZE = IDOK;
constexpr int IDC_EXIT = IDCANCEL;
constexpr int IDC_ABDUCTEE = 3;
constexpr int IDC_SCAN = 1000;
constexpr int IDC_ABOUT = 1001;
constexpr int IDC_SETTINGS = 1002;
constexpr int IDC_ANIMATE = 1005;

// About box.
constexpr int IDC_HELP_BUTTON = 9;

// Scan progress.
constexpr int IDC_ABORT = IDOK;
constexpr int IDC_STATUS = 1019;

// Scan results: the four result lines.
constexpr int IDC_PRESENCE = 1020;
constexpr int IDC_PROXIMITY = 1021;
constexpr int IDC_TYPE = 1022;
constexpr int IDC_ABDUCTION = 1023;

// Setup.
constexpr int IDC_USE_SOUNDS = 1024;
constexpr int IDC_SCAN1 = 1025;
constexpr int IDC_SCAN2 = 1026;
constexpr int IDC_SCAN3 = 1027;
constexpr int IDC_SCAN4 = 1028;
constexpr int IDC_SCAN5 = 1029;
constexpr int IDC_MONITOR = 1030;
constexpr int IDC_SENSITIVITY = 1031;

// Abductee scan: the eight dots of the sensor plate.
constexpr int IDC_DOT1 = 1032;
constexpr int IDC_DOT2 = 1033;
constexpr int IDC_DOT3 = 1034;
constexpr int IDC_DOT4 = 1035;
constexpr int IDC_DOT5 = 1036;
constexpr int IDC_DOT6 = 1037;
constexpr int IDC_DOT7 = 1038;
constexpr int IDC_DOT8 = 1039;
constexpr int kDotIds[8] = {IDC_DOT1, IDC_DOT2, IDC_DOT3, IDC_DOT4,
                            IDC_DOT5, IDC_DOT6, IDC_DOT7, IDC_DOT8};

// Abductee verdict.
constexpr int IDC_VERDICT = 1036;

// ---- Bitmaps and the icon ----------------------------------------------------------------
constexpr int IDB_LAMP_OFF = 146;
constexpr int IDB_LAMP_ON = 147;
constexpr int IDB_ABOUT = 168;
constexpr int IDB_SENSOR_PLATE = 171;
constexpr int IDB_DOT_BLUE = 178;
constexpr int IDB_DOT_GREEN = 179;
constexpr int IDB_DOT_GREY = 180;
constexpr int IDB_DOT_RED = 181;
constexpr int IDB_DOT_AMBER = 182;
constexpr int IDR_MAINFRAME = 128;

// ---- Strings -----------------------------------------------------------------------------
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDS_TIP_MINIMIZE = 102;
constexpr int IDS_TIP_SCAN = 103;
constexpr int IDS_TIP_ABDUCTEE = 104;
constexpr int IDS_TIP_SETTINGS = 105;
constexpr int IDS_TIP_EXIT = 106;
constexpr int IDS_TIP_ABOUT = 107;
// The five scanning methods.
constexpr int IDS_METHOD1 = 108;
constexpr int IDS_METHOD2 = 109;
constexpr int IDS_METHOD3 = 110;
constexpr int IDS_METHOD4 = 111;
constexpr int IDS_METHOD5 = 112;
constexpr int IDS_NONE_DETECTED = 114;
constexpr int IDS_PROBABLE_PRESENCE = 115;
constexpr int IDS_DETECTED = 116;
constexpr int IDS_YOU_ARE_ALIEN = 117;
constexpr int IDS_METERS = 119;
constexpr int IDS_GREY_SHORT = 121;
constexpr int IDS_GREY_TALL = 122;
constexpr int IDS_GREEN_SHORT = 123;
constexpr int IDS_GREEN_TALL = 124;
constexpr int IDS_PROBABLE = 126;
constexpr int IDS_IMMINENT = 127;
constexpr int IDS_UNKNOWN = 129;
constexpr int IDS_GAZOO = 130;
constexpr int IDS_NO_ABDUCTEE = 131;
constexpr int IDS_INCONCLUSIVE = 132;
constexpr int IDS_POSSIBLE_ABDUCTEE = 133;
constexpr int IDS_ABDUCTEE_PROBED = 134;
constexpr int IDS_ABDUCTEE = 135;
constexpr int IDS_SCANNING = 136;

// ---- Timings the tools check -------------------------------------------------------------
// The main window's timer: the lamp sweep steps and the monitor counts on every tick.
constexpr int kMonitorPeriodMs = 25;
// The monitor checks once every this many ticks (about once a minute).
constexpr int kTicksPerCheck = 2401;
