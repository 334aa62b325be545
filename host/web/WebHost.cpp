// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/web/WebHost.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

#include "common/AviClip.h"
#include "host/shared/AccessibleNames.h"
#include "host/shared/DialogTexts.h"
#include "host/shared/KeyPolicy.h"
#include "host/shared/Layout.h"
#include "host/shared/AccessibleNames.h"
#include "host/shared/ClipCompanion.h"
#include "host/web/JsonText.h"
#include "host/web/PageCalls.h"

namespace {

void Show(const JsonText& json) { qx_show(json.Text().c_str()); }

JsonText Op(const char* op, ViewHandle dialog) {
  JsonText json;
  json.Open().Field("op", op).Field("handle", dialog);
  return json;
}

void WriteRect(JsonText& json, const Rect& r) {
  json.Object("rect").Field("x", r.x).Field("y", r.y).Field("cx", r.cx).Field("cy", r.cy).Close();
}

// A key the page saw: "7 dialog 0 0 key character flags", the key one of Key's named keys
// (-1 for none) and the flags Alt 1, Ctrl or the system key 2, Shift 4.
constexpr int kKeyPress = 7;
constexpr int kAlt = 1, kCtrlOrWin = 2, kShift = 4;

// One line of the page's input: "kind target id pos key letter alt".
bool ParseInput(const char* line, InputEvent& e, KeyPolicy::Pressed* press) {
  int kind = 0, id = 0, pos = 0, key = 0, letter = 0, alt = 0;
  unsigned target = 0;
  if (std::sscanf(line, "%d %u %d %d %d %d %d", &kind, &target, &id, &pos, &key, &letter,
                  &alt) != 7)
    return false;
  e.target = target;
  e.origin = line;
  if (kind == kKeyPress) {
    // The shared key policy decides what the dialog gets of it.
    if (key >= 0 && key <= static_cast<int>(Key::PageDown)) press->named = static_cast<Key>(key);
    press->character = static_cast<char>(std::toupper(letter & 0x7f));
    press->alt = alt & kAlt;
    press->ctrlOrWin = alt & kCtrlOrWin;
    press->shift = alt & kShift;
    return true;
  }
  if (kind < 0 || kind > static_cast<int>(InputEvent::Kind::Taskbar)) return false;
  e.kind = static_cast<InputEvent::Kind>(kind);
  e.id = id;
  e.pos = pos;
  return true;
}

// The room a control leaves its text, in the dialog's CSS pixels (dialog units of the page's
// 8 point font), as the page's style draws each kind; nullopt for a control without text.
std::optional<TextFit::Item> ItemOf(const ControlModel& c, const std::string& text) {
  if (text.empty()) return std::nullopt;
  const PixelRect r = Layout::ToPixels(c.rect, Layout::BaseUnits{}, Layout::Rounding::Floor);
  switch (c.kind) {
    case ControlKind::Text:
      return TextFit::Item{text, {r.width, r.height}, true, (c.style & ViewStyle::kNoPrefix) == 0};
    case ControlKind::PushButton:
      return TextFit::Item{text, {r.width - 8, r.height - 4}, false, true};
    case ControlKind::CheckBox:
      return TextFit::Item{text, {r.width - 17, r.height}, false, true};
    case ControlKind::GroupBox:
      return TextFit::Item{text, {r.width - 16, 13}, false, true};
    default:
      return std::nullopt;
  }
}

TextFit::Extent Measure(const TextFit::Item& item, int stretch) {
  const unsigned packed = qx_measure(item.text.c_str(), item.room.width, item.wraps,
                                     item.mnemonic, stretch);
  return {static_cast<int>(packed >> 16), static_cast<int>(packed & 0xffff)};
}

}  // namespace

// ---- The loop -------------------------------------------------------------------------------

bool WebHost::Deliver(InputSink& sink) {
  char line[128];
  bool any = false;
  while (qx_next_input(line, sizeof line)) {
    InputEvent e;
    KeyPolicy::Pressed press;
    if (!ParseInput(line, e, &press)) continue;
    if (press.named || press.character) {
      if (KeyPolicy::OpensWindowMenu(press)) {
        Show(Op("windowMenu", e.target).Close());
        continue;
      }
      std::optional<InputEvent> key = KeyPolicy::Decide(press, e.target);
      if (!key) continue;
      key->origin = e.origin;
      e = std::move(*key);
    }
    sink.Push(std::move(e));
    any = true;
  }
  return any;
}

void WebHost::Wait(std::int64_t deadline, InputSink& sink) {
  for (;;) {
    if (Deliver(sink)) return;
    const std::int64_t now = clock_.Now();
    if (deadline >= 0 && now >= deadline) return;
    const std::int64_t left = deadline < 0 ? -1 : std::min<std::int64_t>(deadline - now, 1 << 30);
    qx_wait(static_cast<int>(left));
  }
}

// ---- Windows --------------------------------------------------------------------------------

int WebHost::ClipHandle(const std::shared_ptr<const AviClip>& clip, const std::string& name) {
  for (const auto& [handle, known] : clips_)
    if (known.clip == clip) return handle;
  clips_[nextClip_] = Clip{clip, name, {}, 0};
  return nextClip_++;
}

void WebHost::WriteControl(JsonText& json, int templateId, const ControlModel& c) {
  // What a screen reader calls the controls without words of their own.
  json.Field("name", AccessibleNames::Name(templateId, c))
      .Field("description", AccessibleNames::Description(templateId, c))
      .Field("state", AccessibleNames::State(c.bitmapId));
  json.Field("handle", c.handle)
      .Field("kind", static_cast<int>(c.kind))
      .Field("id", c.id);
  WriteRect(json, c.rect);
  json.Field("style", c.style)
      .Field("exStyle", c.exStyle)
      .Field("text", c.text)
      .Field("enabled", c.enabled)
      .Field("visible", c.visible)
      .Field("checked", c.checked)
      .Field("trackMin", c.trackMin)
      .Field("trackMax", c.trackMax)
      .Field("trackPos", c.trackPos)
      .Field("tooltip", c.tooltip)
      .Field("bitmapId", c.bitmapId)
      .Field("clipFrom", c.clipFrom)
      .Field("clipTo", c.clipTo)
      .Field("clipRepeat", c.clipRepeat);
  if (c.clip) {
    json.Object("clip")
        .Field("handle", ClipHandle(c.clip, c.clipName))
        .Field("frames", c.clip->FrameCount())
        .Field("micros", static_cast<std::int64_t>(c.clip->MicrosPerFrame()))
        .Close();
  }
}

std::string WebHost::ViewJson(const DialogModel& d) {
  JsonText json;
  json.Field("handle", d.handle)
      .Field("owner", d.owner)
      .Field("templateId", d.templateId)
      .Field("caption", d.caption);
  WriteRect(json, d.rect);
  auto fitted = dialogs_.find(d.handle);
  json.Field("stretch", fitted == dialogs_.end() ? TextFit::kFullWidth : fitted->second.stretch);
  json.Field("centered", d.centered)
      .Field("iconFlags", d.boxFlags & ViewStyle::kIconMask)
      .Field("iconName", AccessibleNames::IconName(d.boxFlags & ViewStyle::kIconMask))
      .Field("closeBoxEnabled", d.closeBoxEnabled)
      .Field("visible", d.visible)
      .Field("minimized", d.minimized)
      .Field("enabled", d.enabled)
      .Field("focus", d.focus)
      .Field("defaultLook", d.defaultLook);
  json.OpenArray("menu");
  for (const MenuItem& item : d.menu) json.Item().Field("id", item.id).Field("text", item.text).Close();
  json.CloseArray().OpenArray("controls");
  for (const ControlModel& c : d.controls) {
    json.Item();
    WriteControl(json, d.templateId, c);
    json.Close();
  }
  json.CloseArray();
  return json.Text();
}

// One size for every text of the dialog, decided now from every text it can show: its
// controls' own and those the program reveals later.
void WebHost::FitText(const DialogModel& dialog) {
  Dialog& d = dialogs_[dialog.handle];
  d.templateId = dialog.templateId;
  for (const ControlModel& c : dialog.controls) {
    std::vector<std::string> texts = DialogTexts::Later(dialog.templateId, c.id);
    texts.push_back(c.text);
    for (const std::string& text : texts)
      if (auto item = ItemOf(c, text)) d.texts.push_back(std::move(*item));
  }
  d.stretch = TextFit::DialogStretch(d.texts, Measure);
}

// A text nobody foresaw that does not fit makes the whole dialog's text smaller, so that it
// stays of one size. Whether the dialog changed.
bool WebHost::Refit(ViewHandle dialog, const ControlModel& control) {
  auto known = dialogs_.find(dialog);
  if (known == dialogs_.end()) return false;
  Dialog& d = known->second;
  auto item = ItemOf(control, control.text);
  if (!item || TextFit::FitsAt(*item, d.stretch, Measure)) return false;
  d.texts.push_back(std::move(*item));
  const int before = d.stretch;
  d.stretch = TextFit::DialogStretch(d.texts, Measure);
  return d.stretch != before;
}

void WebHost::WindowCreated(const DialogModel& dialog) {
  FitText(dialog);
  qx_show(("{\"op\":\"created\",\"view\":{" + ViewJson(dialog) + "}}").c_str());
}

void WebHost::WindowDestroyed(ViewHandle dialog) {
  dialogs_.erase(dialog);
  Show(Op("destroyed", dialog).Close());
}

void WebHost::WindowShown(const DialogModel& dialog, bool initial) {
  qx_show(("{\"op\":\"shown\",\"initial\":" + std::string(initial ? "true" : "false") +
           ",\"view\":{" + ViewJson(dialog) + "}}")
              .c_str());
}

void WebHost::WindowEnabled(ViewHandle dialog, bool enabled) {
  Show(Op("enabled", dialog).Field("enabled", enabled).Close());
}

void WebHost::WindowRaised(ViewHandle dialog) { Show(Op("raised", dialog).Close()); }

void WebHost::FocusChanged(ViewHandle dialog, ViewHandle focus, ViewHandle defaultLook) {
  Show(Op("focus", dialog).Field("focus", focus).Field("defaultLook", defaultLook).Close());
}

void WebHost::MenuChanged(ViewHandle dialog, const std::vector<MenuItem>& menu,
                          bool closeBoxEnabled) {
  JsonText json = Op("menu", dialog);
  json.Field("closeBoxEnabled", closeBoxEnabled).OpenArray("menu");
  for (const MenuItem& item : menu) json.Item().Field("id", item.id).Field("text", item.text).Close();
  Show(json.CloseArray().Close());
}

void WebHost::ControlChanged(ViewHandle dialog, const ControlModel& control, Change what) {
  JsonText json = Op("control", dialog);
  json.Field("what", static_cast<int>(what)).Object("control");
  auto known = dialogs_.find(dialog);
  WriteControl(json, known == dialogs_.end() ? 0 : known->second.templateId, control);
  Show(json.Close().Close());
  if (what == Change::Text && Refit(dialog, control))
    Show(Op("stretch", dialog).Field("stretch", dialogs_[dialog].stretch).Close());
}

void WebHost::ModalEnded(int, int) {}

// ---- Notification icon and help --------------------------------------------------------------

bool WebHost::TrayAdd(const std::string& tip) { return qx_tray_add(tip.c_str()) != 0; }

void WebHost::TrayDelete() { Show(Op("trayDelete", kNoView).Close()); }

void WebHost::ShowHelp(const std::string&, const std::string& path) {
  if (path.empty()) return;  // the program says so itself
  Show(Op("help", kNoView).Field("path", path).Close());
}

// ---- The clip's pictures ------------------------------------------------------------------------

const WebHost::Frame* WebHost::ClipFrame(int handle, int index, double ratio) {
  auto it = clips_.find(handle);
  if (it == clips_.end() || !it->second.clip) return nullptr;
  Clip& entry = it->second;
  // The companion is read once, for the screen the page was opened on.
  if (entry.sharpFor != ratio) {
    entry.sharp = ClipCompanion::Find(entry.name, *entry.clip, ratio);
    entry.sharpFor = ratio;
  }
  const ClipCompanion::Found& sharp = entry.sharp;
  const AviClip& source = sharp.clip ? *sharp.clip : *entry.clip;
  framePixels_ = source.FramePixels(index);
  if (!framePixels_ || framePixels_->empty()) return nullptr;
  frame_.width = source.Width();
  frame_.height = source.Height();
  frame_.ratioPercent = sharp.clip ? static_cast<std::int32_t>(sharp.ratio * 100) : 100;
  frame_.pixels = framePixels_->data();
  return &frame_;
}

int WebHost::ClipPlay(ViewHandle control, int clip, int from, int to, int repeat,
                      std::int64_t now) {
  auto it = clips_.find(clip);
  if (it == clips_.end() || !it->second.clip) return -1;
  const AviClip& c = *it->second.clip;
  return schedules_[control].Play(c.FrameCount(), c.MicrosPerFrame(), from, to, repeat, now);
}

WebHost::ClipStep WebHost::ClipAt(ViewHandle control, std::int64_t now) {
  auto it = schedules_.find(control);
  if (it == schedules_.end() || !it->second.Playing()) return {};
  const ClipSchedule::Step step = it->second.At(now);
  return {step.frame, it->second.Playing()};
}
