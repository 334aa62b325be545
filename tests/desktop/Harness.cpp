// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/desktop/Harness.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/BmpImage.h"
#include "common/DialogTemplate.h"

namespace {

namespace fs = std::filesystem;

std::int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Ends a child we started: politely, then for sure.
void Stop(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  bool gone = WaitUntil([&] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, 3000);
  if (gone) return;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Property(::Display* dpy, Window w, Atom property) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, w, property, 0, 1024, False, AnyPropertyType, &type, &format, &count,
                         &after, &data) != Success ||
      !data)
    return {};
  std::string value(reinterpret_cast<char*>(data), format == 8 ? count : 0);
  XFree(data);
  return value;
}

std::string Title(::Display* dpy, Window w) {
  std::string name = Property(dpy, w, XInternAtom(dpy, "_NET_WM_NAME", False));
  return name.empty() ? Property(dpy, w, XA_WM_NAME) : name;
}

// Windows come and go while we look at them; a request about one that has just gone is no
// failure of ours.
int IgnoreErrors(::Display*, XErrorEvent*) { return 0; }

int Shift(unsigned long mask) {
  int s = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++s;
  }
  return s;
}

}  // namespace

// ---- Xvfb ---------------------------------------------------------------------------------

Xvfb::Xvfb() {
  int fds[2];
  if (::pipe(fds) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a test that died
    ::dup2(fds[1], 3);
    int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  // Xvfb writes its display number once it takes connections.
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  std::int64_t until = NowMs() + 15000;
  while (NowMs() < until && number.find('\n') == std::string::npos) {
    if (::poll(&p, 1, 100) <= 0) continue;
    char buf[32];
    ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n <= 0) break;
    number.append(buf, static_cast<size_t>(n));
  }
  ::close(fds[0]);
  if (number.find('\n') == std::string::npos) return;
  // Built apart and moved in: GCC 12 at -O3 misreads ":" + ... and assigning a literal as
  // overlapping copies (-Wrestrict).
  std::string name(1, ':');
  name.append(number, 0, number.find('\n'));
  name_ = std::move(name);
  XSetErrorHandler(IgnoreErrors);
  dpy_ = XOpenDisplay(name_.c_str());
}

Xvfb::~Xvfb() {
  if (dpy_) XCloseDisplay(dpy_);
  Stop(pid_);
}

// ---- The program --------------------------------------------------------------------------

Program::Program(const std::string& display, const std::string& profile,
                 const std::vector<std::string>& extraEnv, const std::string& executable,
                 const std::vector<std::string>& args) {
  char tmpl[] = "/tmp/quorblex-desktop-XXXXXX";
  if (!::mkdtemp(tmpl)) return;
  home_ = tmpl;
  fs::create_directories(home_ + "/.config");
  fs::create_directories(home_ + "/run");
  ::chmod((home_ + "/run").c_str(), 0700);
  if (!profile.empty()) std::ofstream(home_ + "/.config/quorblex.ini") << profile;

  std::vector<std::string> env = {
      "HOME=" + home_,
      "XDG_CONFIG_HOME=" + home_ + "/.config",
      "XDG_RUNTIME_DIR=" + home_ + "/run",
      "PATH=/usr/bin:/bin",
      "LANG=C.UTF-8",
      "SDL_AUDIODRIVER=dummy",
      "QUORBLEX_DUMP_GEOMETRY=" + GeometryFile(),
  };
  if (!display.empty()) env.push_back("DISPLAY=" + display);
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());

  pid_ = ::fork();
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::chdir(home_.c_str()) != 0) ::_exit(126);
    int out = ::open((home_ + "/stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open((home_ + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> words{executable};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : words) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execve(executable.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
}

Program::~Program() {
  if (!ended_) Stop(pid_);
  if (!home_.empty()) {
    std::error_code ec;
    fs::remove_all(home_, ec);
  }
}

bool Program::Running() {
  if (ended_ || pid_ <= 0) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) != pid_) return true;
  ended_ = true;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
  return false;
}

int Program::WaitExit(int timeoutMs) {
  WaitUntil([&] { return !Running(); }, timeoutMs);
  return ended_ ? status_ : -1;
}

std::string Program::Stderr() const { return ReadAll(home_ + "/stderr.txt"); }

// ---- Layout -------------------------------------------------------------------------------

std::optional<DumpedWindow> ReadDump(const std::string& path, const std::string& win) {
  std::ifstream in(path);
  std::optional<DumpedWindow> found;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    std::string w, what;
    PixelRect r;
    if (!(s >> w >> what >> r.x >> r.y >> r.w >> r.h) || w != win) continue;
    if (what == "window") {
      found = DumpedWindow{r, {}};
    } else if (found) {
      found->controls.emplace_back(std::stoi(what), r);
    }
  }
  return found;
}

std::vector<std::pair<int, PixelRect>> ExpectedLayout(int templateId) {
  std::vector<std::pair<int, PixelRect>> out;
  const DialogTemplate* t = Resources::FindTemplate(templateId);
  if (!t) return out;
  for (const ControlTemplate& c : t->controls) {
    PixelRect r{c.rect.x * 6 / 4, c.rect.y * 13 / 8, c.rect.cx * 6 / 4, c.rect.cy * 13 / 8};
    if (c.kind == ControlKind::Icon) r.w = r.h = 32;
    if (c.kind == ControlKind::Picture) {
      Resources::Blob blob = Resources::FindBitmap(c.bitmap);
      auto bmp = blob.size ? BmpImage::Decode(blob.data, blob.size) : std::nullopt;
      int border = (c.style & WS_BORDER ? 1 : 0) + (c.exStyle & WS_EX_CLIENTEDGE ? 2 : 0);
      if (bmp) {
        r.w = bmp->width + 2 * border;
        r.h = bmp->height + 2 * border;
      }
    }
    out.emplace_back(c.id, r);
  }
  return out;
}

PixelRect ExpectedClientSize(int templateId) {
  const DialogTemplate* t = Resources::FindTemplate(templateId);
  if (!t) return {};
  return {0, 0, t->rect.cx * 6 / 4, t->rect.cy * 13 / 8};
}

// ---- Waiting and the screen ---------------------------------------------------------------

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int stepMs) {
  std::int64_t until = NowMs() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (NowMs() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
  }
}

unsigned long FindWindow(::Display* dpy, const std::string& title) {
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, children[i], &a) || a.map_state != IsViewable) continue;
    if (Title(dpy, children[i]) == title) found = children[i];
  }
  if (children) XFree(children);
  return found;
}

unsigned long WaitForWindow(::Display* dpy, const std::string& title, int timeoutMs) {
  unsigned long w = 0;
  WaitUntil([&] { return (w = FindWindow(dpy, title)) != 0; }, timeoutMs);
  return w;
}

PixelRect WindowRect(::Display* dpy, unsigned long window) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(dpy, window, &a)) return {};
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(dpy, window, DefaultRootWindow(dpy), 0, 0, &x, &y, &child);
  return {x, y, a.width, a.height};
}

unsigned long FocusedTopLevel(::Display* dpy) {
  Window focus;
  int revert;
  XGetInputFocus(dpy, &focus, &revert);
  Window root = DefaultRootWindow(dpy);
  while (focus != None && focus != PointerRoot && focus != root) {
    Window r, parent, *children = nullptr;
    unsigned int count;
    if (!XQueryTree(dpy, focus, &r, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    if (parent == root) return focus;
    focus = parent;
  }
  return 0;
}

namespace {
unsigned long FindEmbedded(::Display* dpy, Window w, int depth) {
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(dpy, w, &root, &parent, &children, &count)) return 0;
  unsigned long found = 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XClassHint hint{};
    if (depth > 0 && XGetClassHint(dpy, children[i], &hint)) {
      XWindowAttributes a;
      bool ours = hint.res_name && std::string(hint.res_name) == "quorblex";
      if (hint.res_name) XFree(hint.res_name);
      if (hint.res_class) XFree(hint.res_class);
      if (ours && XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable)
        found = children[i];
    }
    if (!found) found = FindEmbedded(dpy, children[i], depth + 1);
  }
  if (children) XFree(children);
  return found;
}
}  // namespace

unsigned long FindTrayIcon(::Display* dpy) { return FindEmbedded(dpy, DefaultRootWindow(dpy), 0); }

bool NotificationAreaPresent(::Display* dpy) {
  return XGetSelectionOwner(dpy, XInternAtom(dpy, "_NET_SYSTEM_TRAY_S0", False)) != None;
}

void SendCloseRequest(::Display* dpy, unsigned long window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy, window, False, NoEventMask, &e);
  XFlush(dpy);
}

Pixels Bitmap(int id) {
  Pixels p;
  Resources::Blob blob = Resources::FindBitmap(id);
  auto bmp = blob.size ? BmpImage::Decode(blob.data, blob.size) : std::nullopt;
  if (!bmp) return p;
  p.w = bmp->width;
  p.h = bmp->height;
  for (uint32_t px : bmp->pixels) p.rgb.push_back(px & 0xFFFFFF);
  return p;
}

Pixels Grab(::Display* dpy, const PixelRect& r) {
  Pixels out;
  XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), r.x, r.y, static_cast<unsigned>(r.w),
                            static_cast<unsigned>(r.h), AllPlanes, ZPixmap);
  if (!image) return out;
  out.w = r.w;
  out.h = r.h;
  out.rgb.reserve(static_cast<size_t>(r.w) * r.h);
  int rs = Shift(image->red_mask), gs = Shift(image->green_mask), bs = Shift(image->blue_mask);
  for (int y = 0; y < r.h; ++y)
    for (int x = 0; x < r.w; ++x) {
      unsigned long p = XGetPixel(image, x, y);
      uint32_t red = static_cast<uint32_t>((p & image->red_mask) >> rs) & 0xFF;
      uint32_t green = static_cast<uint32_t>((p & image->green_mask) >> gs) & 0xFF;
      uint32_t blue = static_cast<uint32_t>((p & image->blue_mask) >> bs) & 0xFF;
      out.rgb.push_back(red << 16 | green << 8 | blue);
    }
  XDestroyImage(image);
  return out;
}

bool Xdotool(const Xvfb& x, const std::string& args) {
  std::string command = "DISPLAY=" + x.Name() + " xdotool " + args + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

void SaveScreenshot(const Xvfb& x, const std::string& name) {
  std::error_code ec;
  fs::create_directories(QUORBLEX_SCREENSHOTS, ec);
  std::string command = "import -display " + x.Name() + " -window root '" +
                        std::string(QUORBLEX_SCREENSHOTS) + "/" + name + ".png' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return;  // pictures for people; not a failure
}

bool DesktopToolsPresent() {
  return std::system("command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1") == 0;
}
