// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader calls the controls that show no words of their own: the pictures, the
// clip, the trackbar, the black statics, the message box icon and the group boxes without a
// title. One table, by dialog template and control id, so every window's unnamed parts are
// named in one place, for every host.
#include <cstdint>
#include <string>

#include "common/View.h"

namespace AccessibleNames {

// The short name of `control` in the dialog made from template `templateId` ("lamp 4",
// "sensor plate", "portrait"); empty when the control is named by its own text.
std::string Name(int templateId, const ControlModel& control);
// A fixed description to go with that name (the trackbar's ends); empty when there is none.
std::string Description(int templateId, const ControlModel& control);
// What a lamp or sensor dot showing bitmap `bitmapId` looks like now ("lit", "red"); empty for
// the other pictures and for none.
std::string State(int bitmapId);
// A message box icon by its MB_ICON flag ("warning", "stop").
std::string IconName(std::uint32_t iconFlags);

}  // namespace AccessibleNames
