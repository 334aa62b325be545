// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the program puts into a dialog's controls after the dialog is made: the full
// scan's method lines, its four result lines, the abductee verdict. A host that sizes a
// dialog's font once, when the dialog is made, needs to know them then.
#include <string>
#include <vector>

namespace DialogTexts {
// Every text control `controlId` of dialog template `templateId` can come to show besides the
// one the template gives it; empty for a control the program never writes.
std::vector<std::string> Later(int templateId, int controlId);
}  // namespace DialogTexts
