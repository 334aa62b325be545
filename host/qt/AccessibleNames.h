// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader calls the controls that show no words of their own: the pictures, the
// clip, the trackbar, the black statics, the message box icon and the group boxes without a
// title. One table, by dialog template and control id, so every window's unnamed parts are
// named in one place.
#include <QString>

#include "common/View.h"

namespace AccessibleNames {

// The short name of `control` in the dialog made from template `templateId` ("lamp 4",
// "sensor plate", "portrait"); empty when the control is named by its own text.
QString Name(int templateId, const ControlModel& control);
// A fixed description to go with that name (the trackbar's ends); empty when there is none.
QString Description(int templateId, const ControlModel& control);
// What a lamp or sensor dot showing bitmap `bitmapId` looks like now ("lit", "red"); empty for
// the other pictures and for none.
QString State(int bitmapId);
// A message box icon by its MB_ICON flag ("warning", "stop").
QString IconName(std::uint32_t iconFlags);

}  // namespace AccessibleNames
