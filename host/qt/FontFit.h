// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Making a control's text fit its rectangle. The dialog layouts were drawn for a narrower face
// than DejaVu Sans, so a text that would be cut off is drawn a little condensed instead: the
// same face and height, down to three quarters of its width. A text that fits is left alone,
// and one that cannot fit even then gets the narrowest width.
#include <QFont>
#include <QFontMetrics>
#include <functional>

namespace FontFit {
// The widest of `base`'s stretches (100 %, 94 %, 87 %, 81 %, 75 %) for which `fits` holds.
QFont Fit(const QFont& base, const std::function<bool(const QFontMetrics&)>& fits);
// The width of a text as a control draws it: without the '&' that marks its mnemonic.
int TextWidth(const QFontMetrics& metrics, const QString& text, bool mnemonic = true);
}  // namespace FontFit
