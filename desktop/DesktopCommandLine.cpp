// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/DesktopCommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

const char* const DesktopCommandLine::kHelp =
    "usage: quorblex [--help] [--version] [Qt options]\n"
    "\n"
    "Quorblex Pro scans your surroundings for extraterrestrial life.\n"
    "\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the program's name and version and exit\n"
    "\n"
    "Qt's own options work too, among them -platform NAME, -style NAME,\n"
    "-display DISPLAY, -geometry WxH+X+Y and -reverse.\n"
    "\n"
    "The options of the Setup dialog are kept in $XDG_CONFIG_HOME/quorblex.ini\n"
    "(~/.config/quorblex.ini when XDG_CONFIG_HOME is unset). See quorblex(6).\n";

namespace {
// Qt's application options that take a value as the next argument (Qt's own and those of
// its X11 platform).
constexpr std::array<std::string_view, 15> kQtWithValue = {
    "platform",     "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "geometry",     "qwindowicon",        "icon",          "title",  "qwindowtitle",
    "session",      "display",            "name",          "style",  "stylesheet"};
// ... and those that stand alone.
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "widgetcount", "testability",
                                                      "dograb",  "nograb",      "sync"};
// ... and those written as -name=value.
constexpr std::array<std::string_view, 3> kQtJoined = {"style=", "stylesheet=", "qmljsdebugger="};

template <size_t N>
bool Among(const std::array<std::string_view, N>& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

template <size_t N>
bool StartsWithAny(std::string_view name, const std::array<std::string_view, N>& prefixes) {
  return std::any_of(prefixes.begin(), prefixes.end(),
                     [&](std::string_view p) { return name.substr(0, p.size()) == p; });
}
}  // namespace

DesktopCommandLine DesktopCommandLine::Parse(const std::vector<std::string>& args) {
  DesktopCommandLine c;
  auto fail = [&c](std::string message) {
    c.action_ = Action::kError;
    c.error_ = std::move(message);
    return c;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      c.action_ = Action::kHelp;
      return c;
    }
    if (a == "--version") {
      c.action_ = Action::kVersion;
      return c;
    }
    if (a.size() < 2 || a[0] != '-') return fail("unexpected argument '" + a + "'");
    // Qt reads its options with one dash or two.
    std::string_view name(a);
    name.remove_prefix(a[1] == '-' ? 2 : 1);
    if (Among(kQtWithValue, name)) {
      if (i + 1 >= args.size()) return fail("option " + a + " needs a value");
      ++i;
      if (name == "platform") c.platformGiven_ = true;
      if (name == "style") c.styleGiven_ = true;
    } else if (name.substr(0, 6) == "style=") {
      c.styleGiven_ = true;
    } else if (!Among(kQtFlags, name) && !StartsWithAny(name, kQtJoined)) {
      return fail("unknown option " + a);
    }
  }
  return c;
}
