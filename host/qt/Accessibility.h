// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What assistive technology (a screen reader over AT-SPI) learns of our windows. Qt knows its
// own buttons, checkboxes, slider and group boxes; our windows, static texts, pictures, clip,
// icon and black statics are plain widgets to it, which a screen reader sees as unnamed
// fillers. This gives each its role and name, and tells the reader when a text changes.
//
// A changed text is announced: Orca presents neither a label's new name nor its changed text
// unless the label has the focus, and the focus never leaves the buttons; so a label that
// changes keeps a notification object that shows itself again with the new words, which Orca
// reads out wherever the focus is. The notification is a window of the program's own that never
// reaches the screen, so that Orca says its words alone, not after the label or the dialog.
//
// The focus is the core's, so Qt never tells a reader where it is: we do, when it moves and
// whenever a window becomes the active one (a dialog opens, the main window comes back), as
// Qt does for its own dialogs.
#include <QString>

#include "common/View.h"

class QWidget;

namespace Accessibility {

// Makes `window` (one of ours) a dialog to readers, named by its caption; a message box is
// also described by its message. The first call registers our views' interfaces with Qt.
void Install(QWidget* window, bool messageBox);
// Names the widget of `control` when the control has no words of its own (a picture, the clip).
void Describe(QWidget* view, const ControlModel& control, const DialogModel& dialog);
// The text of `view` changed. Readers hear of it; `announce` also has it read out.
void TextChanged(QWidget* view, bool announce);
// The core moved the keyboard focus to `view`: the reader follows it.
void FocusMoved(QWidget* view);
// The window of `focused`, the control with the core's focus, became the active one: the reader
// is told where the focus is, even if it was told so before the window was left.
void Activated(QWidget* focused);
// `text` as a reader should say it: a mnemonic '&' dropped, "&&" read as one '&'.
QString WithoutMnemonic(const QString& text);

}  // namespace Accessibility
