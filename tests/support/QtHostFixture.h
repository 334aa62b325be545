// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt host under a window system of its own, for tests on Qt's offscreen platform: a clock
// that moves a millisecond each time it is read (so every collecting Wait looks at Qt), no
// sound, and windows opened the way DoModal opens them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/AudioSink.h"
#include "common/Clock.h"
#include "common/DialogTemplate.h"
#include "common/WindowSystem.h"
#include "host/qt/QtHost.h"

class QtHostFixture : public ::testing::Test {
 protected:
  class TickingClock : public Clock {
   public:
    std::int64_t Now() const override { return ++now; }
    unsigned Seed() const override { return 0; }
    mutable std::int64_t now = 1000;
  };

  class NoAudio : public AudioSink {
   public:
    CueResult Play(const std::string&, const std::string&, bool) override {
      return CueResult::Failed;
    }
  };

  // Opens a window from its template as DoModal does: made, focus on the first tab stop, shown.
  HWND Open(int templateId, HWND owner = kNoWindow) {
    return Open(*Resources::FindTemplate(templateId), owner);
  }
  HWND Open(const DialogTemplate& tmpl, HWND owner = kNoWindow) {
    HWND h = ws.CreateDialogWindow(tmpl, owner, nullptr);
    ws.FocusFirstTabStop(h);
    ws.ShowInitial(h);
    return h;
  }

  // The monitor's alert as the message-box service builds it: icon, text, Yes (default), No.
  static DialogTemplate MonitorAlertBox() {
    DialogTemplate box;
    box.id = kMessageBoxTemplate;
    box.caption = "Quorblex Pro";
    box.rect = {0, 0, 150, 52};
    box.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    box.centered = true;
    box.boxFlags = MB_YESNO | MB_ICONEXCLAMATION;
    box.controls = {
        {-1, ControlKind::Icon, "", 0x30, {10, 10, 20, 20}, 0, 0},
        {0xFFFF,
         ControlKind::Text,
         "Sensors Indicate Possible Activity!\nPerform Full Scan?",
         0,
         {40, 10, 100, 16},
         SS_LEFT | SS_NOPREFIX,
         0},
        {IDYES,
         ControlKind::PushButton,
         "&Yes",
         0,
         {20, 34, 50, 14},
         BS_DEFPUSHBUTTON | WS_TABSTOP,
         0},
        {IDNO, ControlKind::PushButton, "&No", 0, {76, 34, 50, 14}, WS_TABSTOP, 0},
    };
    return box;
  }

  TickingClock clock;
  NoAudio audio;
  QtHost host{clock};
  WindowSystem ws{clock, host, audio};
};
