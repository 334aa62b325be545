// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/AccessibleNames.h"

#include <array>

namespace {

// Lamp positions 1 to 10 from left to right, in the main window and in the scan progress.
constexpr std::array kLampIds{1018, 1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015, 1016};
// The abductee scan's eight sensor dots, numbered in the order of their ids.
constexpr std::array kDotIds{1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039};
constexpr int kMainWindow = 102, kScanProgress = 148, kAbducteeScan = 170;

struct Named {
  int templateId;
  ControlKind kind;
  int controlId;  // -1 and 65535 are the template's controls without an id
  const char* name;
  const char* description;
};

// The controls without words of their own; lamps and dots are numbered below.
constexpr Named kNamed[] = {
    {102, ControlKind::BlackRect, -1, "scanner screen", ""},
    {102, ControlKind::Animation, 1005, "radar sweep",
     "radar scope, oscilloscope and level meters"},
    {100, ControlKind::Picture, 65535, "portrait", "an alien face in blue tones"},
    {148, ControlKind::BlackFrame, -1, "lamp bar", ""},
    {149, ControlKind::GroupBox, -1, "results", ""},
    {169, ControlKind::Trackbar, 1031, "Sensitivity", "1 Low, 10 High"},
    {170, ControlKind::Picture, -1, "sensor plate", "a circuit board with four sensor pads"},
    {170, ControlKind::GroupBox, -1, "instructions", ""},
    {174, ControlKind::GroupBox, -1, "verdict", ""},
};

struct BitmapState {
  int bitmapId;
  const char* state;
};
constexpr BitmapState kStates[] = {
    {146, "unlit"}, {147, "lit"}, {178, "blue"},  {179, "green"},
    {180, "grey"},  {181, "red"}, {182, "amber"},
};

template <size_t N>
int Position(const std::array<int, N>& ids, int id) {
  for (size_t i = 0; i < N; ++i)
    if (ids[i] == id) return static_cast<int>(i) + 1;
  return 0;
}

const Named* Find(int templateId, const ControlModel& c) {
  for (const Named& n : kNamed)
    if (n.templateId == templateId && n.kind == c.kind && n.controlId == c.id) return &n;
  return nullptr;
}

}  // namespace

namespace AccessibleNames {

std::string Name(int templateId, const ControlModel& c) {
  if (c.kind == ControlKind::Picture) {
    bool lampBar = templateId == kMainWindow || templateId == kScanProgress;
    if (int p = Position(kLampIds, c.id); lampBar && p) return "lamp " + std::to_string(p);
    if (int p = Position(kDotIds, c.id); templateId == kAbducteeScan && p)
      return "sensor dot " + std::to_string(p);
  }
  const Named* n = Find(templateId, c);
  return n ? n->name : "";
}

std::string Description(int templateId, const ControlModel& c) {
  const Named* n = Find(templateId, c);
  return n ? n->description : "";
}

std::string State(int bitmapId) {
  for (const BitmapState& s : kStates)
    if (s.bitmapId == bitmapId) return s.state;
  return {};
}

std::string IconName(std::uint32_t iconFlags) {
  if (iconFlags == ViewStyle::kIconExclamation) return "warning";
  if (iconFlags == ViewStyle::kIconHand) return "stop";
  return "icon";
}

}  // namespace AccessibleNames
