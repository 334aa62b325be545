// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt side of a dialog's one text width (host/shared/TextFit.h decides it): what each
// control leaves its text, measured with Qt's metrics, and the dialog font at the stretch
// decided.
#include <QFont>
#include <QFontMetrics>
#include <optional>
#include <string>

#include "host/qt/ControlView.h"
#include "host/shared/TextFit.h"

namespace FontFit {
// `base` at `stretch` percent of its width: the same face and height.
QFont AtStretch(const QFont& base, int stretch);
// `text` in the room `view` leaves it; nothing for a control that shows no text.
std::optional<TextFit::Item> ItemOf(const ControlView& view, const std::string& text);
// The room `item.text` takes in `base` at `stretch`, as the control draws it.
TextFit::Extent Measure(const QFont& base, const TextFit::Item& item, int stretch);
}  // namespace FontFit
