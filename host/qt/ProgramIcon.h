// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's icon, from the compiled-in PNG pictures at every size there is
// (PictureSources::IconSizes), so a screen of any density gets one drawn near its size.
#include <QIcon>

namespace ProgramIcon {
// Never null: without any picture a plain drawn stand-in is used, so the notification area
// always has something to show.
QIcon Get();
}  // namespace ProgramIcon
