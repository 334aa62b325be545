// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/headless/HeadlessHost.h"

#include <cstdio>

#include "common/DialogTemplate.h"
#include "common/View.h"

HeadlessHost::HeadlessHost(VirtualClock& clock, Transcript& transcript,
                           std::vector<ScriptCommand> script, bool hasTray)
    : clock_(clock), out_(transcript), script_(std::move(script)), hasTray_(hasTray) {}

// Runs the commands at the script's current time, up to and including the next wait.
// Returns true when input was queued.
bool HeadlessHost::Step(InputSink& sink) {
  bool pushed = false;
  while (next_ < script_.size()) {
    const ScriptCommand& c = script_[next_++];
    if (c.isWait) {
      scriptTime_ += c.waitMs;
      break;
    }
    sink.Push(c.input);
    pushed = true;
  }
  return pushed;
}

// Commands whose time has passed while the program was busy.
bool HeadlessHost::PollBefore(std::int64_t now, InputSink& sink) {
  bool pushed = false;
  while (next_ < script_.size() && scriptTime_ < now) pushed |= Step(sink);
  return pushed;
}

void HeadlessHost::Wait(std::int64_t deadline, InputSink& sink) {
  std::int64_t now = clock_.Now();
  if (PollBefore(now, sink)) return;
  if (deadline >= 0 && deadline <= now) return;  // only collecting input
  if (Sleep(deadline, sink) && traceWakes_) out_.Line("wake");
}

// Returns whether the program was woken: input came or the clock moved. Running a script's
// commands that queue nothing (a wait at the start) is no wake-up.
bool HeadlessHost::Sleep(std::int64_t deadline, InputSink& sink) {
  std::int64_t now = clock_.Now();
  if (next_ >= script_.size() && scriptTime_ <= now) {
    out_.Line("end");
    out_.Close();
    throw ScriptEnded{};
  }
  if (scriptTime_ <= now) return Step(sink);
  if (deadline >= 0 && deadline <= scriptTime_) {
    clock_.Set(deadline);
    return true;
  }
  clock_.Set(scriptTime_);
  Step(sink);
  return true;
}

void HeadlessHost::WindowCreated(const DialogModel& dialog) {
  dialogs_[dialog.handle] = dialog.templateId;
  if (dialog.templateId >= 0) {
    out_.Line("open " + TemplateLabel(dialog.templateId) + " " + Transcript::Quote(dialog.caption));
    return;
  }
  std::string text;
  for (const ControlModel& c : dialog.controls)
    if (c.kind == ControlKind::Text) text = c.text;
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%x", dialog.boxFlags);
  out_.Line("msgbox " + Transcript::Quote(text) + " " + Transcript::Quote(dialog.caption) + " " +
            flags);
}

void HeadlessHost::WindowShown(const DialogModel& dialog, bool initial) {
  if (initial) return;
  const char* state = !dialog.visible ? "0" : dialog.minimized ? "min" : "1";
  out_.Line("show " + TemplateLabel(dialog.templateId) + " " + state);
}

void HeadlessHost::ControlChanged(ViewHandle dialog, const ControlModel& c, Change what) {
  auto it = dialogs_.find(dialog);
  int templateId = it == dialogs_.end() ? 0 : it->second;
  if (templateId == kMessageBoxTemplate) return;  // a message box's parts never change
  std::string where = TemplateLabel(templateId) + " " + std::to_string(c.id);
  switch (what) {
    case Change::Text:
      out_.Line("text " + where + " " + Transcript::Quote(c.text));
      break;
    case Change::Picture:
      out_.Line("picture " + where + " " + (c.bitmapId ? std::to_string(c.bitmapId) : "none"));
      break;
    case Change::Enabled:
      out_.Line("enable " + where + (c.enabled ? " 1" : " 0"));
      break;
    case Change::Checked:
      out_.Line("check " + where + " " + std::to_string(c.checked));
      break;
    case Change::Trackbar:
      out_.Line("slider " + where + " " + std::to_string(c.trackPos));
      break;
    case Change::ClipOpen:
      out_.Line("clip open " + Transcript::Quote(c.clipName) + (c.clip ? " ok" : " failed"));
      break;
    case Change::ClipPlay:
      out_.Line("clip play " + std::to_string(c.clipFrom) + " " + std::to_string(c.clipTo) +
                " " + std::to_string(c.clipRepeat));
      break;
    case Change::ClipClose:
      out_.Line("clip close");
      break;
    case Change::Visible:
    case Change::Tooltip:
      break;
  }
}

void HeadlessHost::ModalEnded(int templateId, int result) {
  out_.Line("close " + TemplateLabel(templateId) +
            " " + std::to_string(result));
}

bool HeadlessHost::TrayAdd(const std::string& tip) {
  out_.Line(hasTray_ ? "tray add " + Transcript::Quote(tip) : std::string("tray add failed"));
  return hasTray_;
}

void HeadlessHost::TrayDelete() { out_.Line("tray delete"); }

void HeadlessHost::ShowHelp(const std::string& name, const std::string&) {
  out_.Line("help " + Transcript::Quote(name) + " contents");
}

void HeadlessHost::TimerCall(int templateId, unsigned id, int periodMs) {
  std::string line = "timer " + TemplateLabel(templateId) + " " + std::to_string(id);
  out_.Trace(periodMs < 0 ? line + " kill" : line + " set " + std::to_string(periodMs));
}

void HeadlessHost::RandomDraw(int n, int result) {
  out_.Trace("draw " + std::to_string(n) + " " + std::to_string(result));
}

void HeadlessHost::ProfileWrite(const std::string& section, const std::string& key, int value) {
  out_.Line("profile " + section + " " + key + " " + std::to_string(value));
}

void HeadlessHost::InputIgnored(const InputEvent& event) { out_.Line("ignored " + event.origin); }
