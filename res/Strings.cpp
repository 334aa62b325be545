// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's string table.
#include <map>

#include "common/DialogTemplate.h"

namespace {
const std::map<int, std::string>& Table() {
  static const std::map<int, std::string> table = {
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
      {134,
       "Scan indicates individual as an alien abductee. \nOrafice probing confirmed.\nImplant "
       "confirmed."},
      {135, "Scan indicates individual as an alien abductee."},
      {136, "Scanning..."},
  };
  return table;
}
}  // namespace

std::string Resources::LoadString(int id) {
  auto it = Table().find(id);
  return it == Table().end() ? std::string() : it->second;
}

std::vector<int> Resources::StringIds() {
  std::vector<int> ids;
  for (const auto& [id, text] : Table()) ids.push_back(id);
  return ids;
}
