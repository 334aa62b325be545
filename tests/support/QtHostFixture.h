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
    std::int64_t CalendarSeconds() const override { return 0; }
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

  TickingClock clock;
  NoAudio audio;
  QtHost host{clock};
  WindowSystem ws{clock, host, audio};
};
