// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/DialogTexts.h"

#include <initializer_list>

#include "res/ResourceIds.h"

namespace {

std::vector<std::string> Strings(std::initializer_list<int> ids) {
  std::vector<std::string> texts;
  for (int id : ids) texts.push_back(Resources::LoadString(id));
  return texts;
}

// The proximity line: "Unknown", or a distance of 50 to 100 meters in steps of ten.
std::vector<std::string> Distances() {
  std::vector<std::string> texts = Strings({IDS_UNKNOWN});
  for (int meters = 50; meters <= 100; meters += 10)
    texts.push_back(std::to_string(meters) + " " + Resources::LoadString(IDS_METERS));
  return texts;
}

}  // namespace

std::vector<std::string> DialogTexts::Later(int templateId, int controlId) {
  switch (templateId) {
    case IDD_SCAN_PROGRESS:
      if (controlId == IDC_STATUS)
        return Strings(
            {IDS_METHOD1, IDS_METHOD2, IDS_METHOD3, IDS_METHOD4, IDS_METHOD5, IDS_SCANNING});
      break;
    case IDD_SCAN_RESULTS:
      switch (controlId) {
        case IDC_PRESENCE:
          return Strings(
              {IDS_NONE_DETECTED, IDS_PROBABLE_PRESENCE, IDS_DETECTED, IDS_YOU_ARE_ALIEN});
        case IDC_PROXIMITY:
          return Distances();
        case IDC_TYPE:
          return Strings({IDS_GREY_SHORT, IDS_GREY_TALL, IDS_GREEN_SHORT, IDS_GREEN_TALL, IDS_GAZOO,
                          IDS_UNKNOWN});
        case IDC_ABDUCTION:
          return Strings({IDS_PROBABLE, IDS_IMMINENT, IDS_UNKNOWN});
        default:
          break;
      }
      break;
    case IDD_ABDUCTEE_RESULTS:
      if (controlId == IDC_VERDICT)
        return Strings({IDS_NO_ABDUCTEE, IDS_INCONCLUSIVE, IDS_POSSIBLE_ABDUCTEE,
                        IDS_ABDUCTEE_PROBED, IDS_ABDUCTEE});
      break;
    default:
      break;
  }
  return {};
}
