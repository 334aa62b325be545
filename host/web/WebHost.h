// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The web page as a host: every window and control the core reports becomes an HTML element of
// the page's desktop (site/desktop.js), and what the user does there comes back as input.
//
// Nothing here blocks but Wait, which suspends the program (Asyncify) until input comes or the
// deadline passes, the page running meanwhile; no timer of the host runs while it waits, so a
// hidden program asleep in the notification area wakes the tab only for the core's deadline.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "common/Host.h"
#include "common/View.h"
#include "host/shared/ClipCompanion.h"
#include "host/shared/ClipSchedule.h"
#include "host/shared/TextFit.h"

class AviClip;

class WebHost : public Host {
 public:
  explicit WebHost(const Clock& clock) : clock_(clock) {}

  void Wait(std::int64_t deadline, InputSink& sink) override;
  void WindowCreated(const DialogModel& dialog) override;
  void WindowDestroyed(ViewHandle dialog) override;
  void WindowShown(const DialogModel& dialog, bool initial) override;
  void WindowEnabled(ViewHandle dialog, bool enabled) override;
  void WindowRaised(ViewHandle dialog) override;
  void FocusChanged(ViewHandle dialog, ViewHandle focus, ViewHandle defaultLook) override;
  void MenuChanged(ViewHandle dialog, const std::vector<MenuItem>& menu,
                   bool closeBoxEnabled) override;
  void ControlChanged(ViewHandle dialog, const ControlModel& control, Change what) override;
  void ModalEnded(int templateId, int result) override;
  bool TrayAdd(const std::string& tip) override;
  void TrayDelete() override;
  void ShowHelp(const std::string& name, const std::string& path) override;

  // The pixels of frame `index` of clip `handle` (a number the page was given) for a screen of
  // device pixel ratio `ratio`, from a sharper companion clip when there is one.
  struct Frame {
    std::int32_t width = 0, height = 0, ratioPercent = 100;
    const std::uint32_t* pixels = nullptr;
  };
  const Frame* ClipFrame(int handle, int index, double ratio);
  // The shared clip schedule of animation control `control`, which the page paints on its
  // animation frames: a play request of clip `clip` at `now` (ms) gives the frame to show at
  // once, then each look at `now` where the clip stands. -1 when there is no frame.
  int ClipPlay(ViewHandle control, int clip, int from, int to, int repeat, std::int64_t now);
  struct ClipStep {
    int frame = -1;
    bool playing = false;
  };
  ClipStep ClipAt(ViewHandle control, std::int64_t now);

 private:
  bool Deliver(InputSink& sink);
  int ClipHandle(const std::shared_ptr<const AviClip>& clip, const std::string& name);
  std::string ViewJson(const DialogModel& dialog);
  void WriteControl(class JsonText& json, int templateId, const ControlModel& control);

  struct Clip {
    std::shared_ptr<const AviClip> clip;
    std::string name;
    ClipCompanion::Found sharp;
    double sharpFor = 0;
  };
  const Clock& clock_;
  std::map<int, Clip> clips_;
  // Each dialog's template, which names its controls and foresees its texts, and the one
  // text size of the dialog with the texts it was decided from.
  struct Dialog {
    int templateId = 0;
    std::vector<TextFit::Item> texts;
    int stretch = TextFit::kFullWidth;
  };
  std::map<ViewHandle, Dialog> dialogs_;
  std::map<ViewHandle, ClipSchedule> schedules_;
  void FitText(const DialogModel& dialog);
  bool Refit(ViewHandle dialog, const ControlModel& control);
  int nextClip_ = 1;
  Frame frame_;
  std::shared_ptr<const std::vector<std::uint32_t>> framePixels_;
};
