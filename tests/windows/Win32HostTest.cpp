// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows side of the host as the core's loop uses it: Wait pumps Windows' queue and hands
// input over, a closed dialog gives the activation back to its owner, and the notification
// icon's mouse messages come as tray input. Needs a display with a notification area
// (tests/windows/host_tests.sh gives it one). Every wait ends on a real event, with a bound.
//
// What Wine does not do as Windows does (it hands the foreground to anyone, shows every icon,
// carries a scalable "MS Sans Serif") is played by a stand-in for the host's SystemCalls that
// records the calls; what Wine does show (a restore, an icon added late, the events a screen
// reader hears) is checked on Wine's own windows.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <oleacc.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "host/shared/Attention.h"
#include "host/win32/SystemCalls.h"
#include "host/win32/UnbiasedClock.h"
#include "host/win32/Win32Host.h"

namespace {

DialogModel Dialog(std::uint32_t handle, std::uint32_t owner, const char* caption) {
  DialogModel d;
  d.handle = handle;
  d.owner = owner;
  d.caption = caption;
  d.rect = {0, 0, 120, 60};
  d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  ControlModel ok;
  ok.handle = handle + 100;
  ok.kind = ControlKind::PushButton;
  ok.id = IDOK;
  ok.text = "OK";
  ok.rect = {35, 40, 50, 14};
  d.controls.push_back(ok);
  d.menu = {{SC_CLOSE, "&Close"}};
  d.visible = true;
  d.focus = ok.handle;
  d.defaultLook = ok.handle;
  return d;
}

// Waits at most `ms` for input; what came.
std::vector<InputEvent> WaitUpTo(Win32Host& desktop, const Clock& clock, std::int64_t ms) {
  std::vector<InputEvent> in;
  struct Collect : InputSink {
    std::vector<InputEvent>& to;
    explicit Collect(std::vector<InputEvent>& t) : to(t) {}
    void Push(InputEvent e) override { to.push_back(std::move(e)); }
  } sink(in);
  desktop.Wait(clock.Now() + ms, sink);
  return in;
}

class Win32HostTest : public ::testing::Test {
 protected:
  std::vector<InputEvent> WaitUpTo(std::int64_t ms) { return ::WaitUpTo(desktop_, clock_, ms); }

  UnbiasedClock clock_;
  Win32Host desktop_{clock_, [](int, double) { return PictureSources::Drawing{}; }};
};

TEST_F(Win32HostTest, WaitHandsOverAKeyMadeInAControlWhichNeverSeesIt) {
  desktop_.WindowCreated(Dialog(1, 0, "Key window"));
  desktop_.WindowShown(Dialog(1, 0, "Key window"), true);
  HWND window = FindWindowW(L"QuorblexDialog", L"Key window");
  HWND ok = FindWindowExW(window, nullptr, L"Button", L"OK");
  ASSERT_TRUE(ok);
  PostMessageW(ok, WM_KEYDOWN, VK_SPACE, 0);
  auto in = WaitUpTo(5000);
  ASSERT_EQ(in.size(), 1u);
  EXPECT_EQ(in[0].kind, InputEvent::Kind::Key);
  EXPECT_EQ(in[0].key, Key::Space);
  EXPECT_EQ(in[0].target, 1u);
  EXPECT_TRUE(WaitUpTo(0).empty()) << "the button did not click itself";
}

TEST_F(Win32HostTest, WaitReturnsAtItsDeadlineWhenNothingHappens) {
  const std::int64_t start = clock_.Now();
  EXPECT_TRUE(WaitUpTo(30).empty());
  EXPECT_GE(clock_.Now() - start, 30);
}

TEST_F(Win32HostTest, AClosedDialogGivesTheActivationBackToItsOwner) {
  desktop_.WindowCreated(Dialog(1, 0, "Owner"));
  desktop_.WindowShown(Dialog(1, 0, "Owner"), true);
  desktop_.WindowCreated(Dialog(2, 1, "Modal"));
  desktop_.WindowEnabled(1, false);
  desktop_.WindowShown(Dialog(2, 1, "Modal"), true);
  HWND owner = FindWindowW(L"QuorblexDialog", L"Owner");
  HWND modal = FindWindowW(L"QuorblexDialog", L"Modal");
  ASSERT_TRUE(owner && modal);
  EXPECT_EQ(GetActiveWindow(), modal);
  // The core's order: the dialog goes, its owner is enabled, the modal run ends.
  desktop_.WindowDestroyed(2);
  desktop_.WindowEnabled(1, true);
  desktop_.ModalEnded(0, 0);
  EXPECT_FALSE(IsWindow(modal));
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(Win32HostTest, TheIconsMouseMessagesComeAsTrayInput) {
  ASSERT_TRUE(desktop_.TrayAdd("Quorblex Pro"));
  HWND tray = FindWindowW(L"QuorblexTray", nullptr);
  ASSERT_TRUE(tray);
  // As the notification area calls back: the icon's id, then the mouse message.
  PostMessageW(tray, WM_APP + 1, 1127, WM_LBUTTONDOWN);
  PostMessageW(tray, WM_APP + 1, 1127, WM_MBUTTONDOWN);
  PostMessageW(tray, WM_APP + 1, 1127, WM_RBUTTONUP);
  std::vector<InputEvent> in;
  for (int i = 0; i < 2 && in.size() < 2; ++i)
    for (const InputEvent& u : WaitUpTo(5000)) in.push_back(u);
  ASSERT_EQ(in.size(), 2u);
  EXPECT_EQ(in[0].kind, InputEvent::Kind::Tray);
  EXPECT_EQ(in[0].id, WM_LBUTTONDOWN);
  EXPECT_EQ(in[1].id, WM_RBUTTONUP);
  desktop_.TrayDelete();
  EXPECT_FALSE(FindWindowW(L"QuorblexTray", nullptr));
}

TEST_F(Win32HostTest, TheIconComesBackWhenTheTaskBarIsMadeAgain) {
  ASSERT_TRUE(desktop_.TrayAdd("Quorblex Pro"));
  HWND tray = FindWindowW(L"QuorblexTray", nullptr);
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = tray;
  icon.uID = 1127;
  // As when Explorer ends: the icon is gone from the notification area.
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
  SendMessageW(tray, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "added again";
  desktop_.TrayDelete();
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "and taken away with the program's";
}

// Windows as a test wants it, each call recorded; the rest as Wine makes it.
class RecordingCalls : public SystemCalls {
 public:
  bool SetForeground(HWND w) override { return !refuseForeground && SystemCalls::SetForeground(w); }
  HWND Foreground() override { return refuseForeground ? nullptr : SystemCalls::Foreground(); }
  void Flash(HWND w) override { flashed.push_back(w); }
  bool NotifyIcon(DWORD message, NOTIFYICONDATAW& data) override {
    if (message == NIM_MODIFY && (data.uFlags & NIF_INFO)) balloons.push_back(data);
    if (message == NIM_ADD && failAdds > 0) return --failAdds, false;
    return SystemCalls::NotifyIcon(message, data);
  }
  bool TaskbarPresent() override { return !taskbarLate; }
  HFONT MakeFont(const LOGFONTW& font) override {
    faces.push_back(font.lfFaceName);
    return SystemCalls::MakeFont(font);
  }
  void SetRole(HWND w, int role) override { roles.push_back({w, role}); }
  void MarkLive(HWND w) override { live.push_back(w); }

  bool refuseForeground = false, taskbarLate = false;
  int failAdds = 0;
  std::vector<HWND> flashed, live;
  std::vector<std::pair<HWND, int>> roles;
  std::vector<NOTIFYICONDATAW> balloons;
  std::vector<std::wstring> faces;
};

// A template the host takes for a scan's window.
int ScanTemplate() {
  int id = 1;
  while (!Attention::IsScan(id)) ++id;
  return id;
}

class Win32HostCallsTest : public ::testing::Test {
 protected:
  std::vector<InputEvent> WaitUpTo(std::int64_t ms) { return ::WaitUpTo(desktop_, clock_, ms); }
  HWND Open(DialogModel d) {
    desktop_.WindowCreated(d);
    desktop_.WindowShown(d, true);
    return FindWindowW(L"QuorblexDialog", std::wstring(d.caption.begin(), d.caption.end()).c_str());
  }
  static DialogModel Hidden(DialogModel d) {
    d.visible = false;
    return d;
  }
  static DialogModel WithText(DialogModel d, int template_, const char* text) {
    d.templateId = template_;
    ControlModel t;
    t.handle = d.handle + 101;
    t.kind = ControlKind::Text;
    t.id = 7;
    t.text = text;
    t.rect = {5, 5, 100, 10};
    d.controls.push_back(t);
    return d;
  }

  UnbiasedClock clock_;
  RecordingCalls calls_;
  Win32Host desktop_{clock_, [](int, double) { return PictureSources::Drawing{}; }, &calls_};
};

TEST_F(Win32HostCallsTest, AnAlertTheUserCannotSeeGetsATaskbarButtonAndFlashesWhenKeptBack) {
  Open(Hidden(Dialog(1, 0, "Main")));
  calls_.refuseForeground = true;  // as Windows, for a program the user did not turn to
  HWND alert = Open(WithText(Dialog(2, 1, "Alert"), kMessageBoxTemplate, "Look!"));
  ASSERT_TRUE(alert);
  EXPECT_TRUE(GetWindowLongPtrW(alert, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(calls_.flashed, std::vector<HWND>{alert});
  desktop_.WindowDestroyed(2);
  desktop_.ModalEnded(kMessageBoxTemplate, IDOK);

  // Over a main window in sight, in the program the user works in: a plain owned window.
  calls_.refuseForeground = false;
  calls_.flashed.clear();
  desktop_.WindowShown(Dialog(1, 0, "Main"), false);
  desktop_.WindowRaised(1);
  HWND about = Open(Dialog(3, 1, "About"));
  EXPECT_FALSE(GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_TRUE(calls_.flashed.empty());
}

TEST_F(Win32HostCallsTest, TheBalloonSaysWhereTheProgramWentWithItsIconAndNoSound) {
  Open(Dialog(1, 0, "Main"));
  ASSERT_TRUE(desktop_.TrayAdd("Quorblex Pro"));
  EXPECT_TRUE(calls_.balloons.empty());
  desktop_.WindowShown(Hidden(Dialog(1, 0, "Main")), false);
  ASSERT_EQ(calls_.balloons.size(), 1u);
  const NOTIFYICONDATAW& shown = calls_.balloons[0];
  EXPECT_GT(lstrlenW(shown.szInfo), 40);
  EXPECT_GT(lstrlenW(shown.szInfoTitle), 0);
  EXPECT_EQ(shown.dwInfoFlags & (NIIF_ICON_MASK | NIIF_NOSOUND), NIIF_USER | NIIF_NOSOUND);
  EXPECT_TRUE(shown.hBalloonIcon);
  // A scan opening takes it away (the shared layer's tests say when else it comes and goes).
  DialogModel scan = Dialog(3, 1, "Scan");
  scan.templateId = ScanTemplate();
  desktop_.WindowCreated(scan);
  ASSERT_EQ(calls_.balloons.size(), 2u);
  EXPECT_EQ(calls_.balloons[1].szInfo[0], L'\0');
}

TEST_F(Win32HostCallsTest, TheIconComesWhenTheTaskBarComesAfterTheProgram) {
  calls_.failAdds = 1;
  calls_.taskbarLate = true;
  ASSERT_TRUE(desktop_.TrayAdd("Quorblex Pro")) << "the program counts on the icon";
  HWND tray = FindWindowW(L"QuorblexTray", nullptr);
  ASSERT_TRUE(tray) << "its window stays";
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = tray;
  icon.uID = 1127;
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "not in the notification area yet";
  SendMessageW(tray, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "added once the task bar is made";
}

TEST_F(Win32HostCallsTest, WindowsOwnMinimizeIsUndoneByTheTaskBar) {
  HWND main = Open(Dialog(1, 0, "Main"));
  ShowWindow(main, SW_MINIMIZE);  // Show desktop, say: the core still shows the window
  ASSERT_TRUE(IsIconic(main));
  SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_TRUE(WaitUpTo(0).empty()) << "nothing for the core, which never saw it go";
  // A window the core minimized is the core's to bring back.
  DialogModel minimized = Dialog(1, 0, "Main");
  minimized.minimized = true;
  desktop_.WindowShown(minimized, false);
  SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(IsIconic(main));
  auto in = WaitUpTo(0);
  ASSERT_EQ(in.size(), 1u);
  EXPECT_EQ(in[0].kind, InputEvent::Kind::Taskbar);
}

// A control that tells, when it is handed a new font, whether the one it held still exists.
std::vector<bool> g_heldFontAlive;
WNDPROC g_staticProc = nullptr;
LRESULT CALLBACK WatchFont(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFONT) {
    auto held = reinterpret_cast<HGDIOBJ>(CallWindowProcW(g_staticProc, hwnd, WM_GETFONT, 0, 0));
    g_heldFontAlive.push_back(held && GetObjectType(held) == OBJ_FONT);
  }
  return CallWindowProcW(g_staticProc, hwnd, message, wParam, lParam);
}

int IconSide(HWND window, WPARAM which) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bits{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bits, &bits);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bits.bmWidth;
}

TEST_F(Win32HostCallsTest, ANewDensityBringsTheScalableFaceAndIconsOfItsSize) {
  HWND main = Open(WithText(Dialog(1, 0, "Main"), 0, "Status"));
  ASSERT_EQ(GetDpiForWindow(main), 96u) << "the test display is at 100 %";
  ASSERT_FALSE(calls_.faces.empty());
  EXPECT_EQ(calls_.faces.back(), L"MS Sans Serif");
  EXPECT_EQ(IconSide(main, ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, 96));

  HWND text = FindWindowExW(main, nullptr, L"Static", L"Status");
  ASSERT_TRUE(text);
  g_heldFontAlive.clear();
  g_staticProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(text, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchFont)));
  RECT suggested{100, 100, 400, 300};
  SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  SetWindowLongPtrW(text, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_staticProc));
  EXPECT_EQ(calls_.faces.back(), L"Microsoft Sans Serif");
  EXPECT_EQ(g_heldFontAlive, std::vector<bool>{true}) << "the old font went before the new came";
  EXPECT_EQ(IconSide(main, ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, 192));
  EXPECT_EQ(IconSide(main, ICON_BIG), GetSystemMetricsForDpi(SM_CXICON, 192));
}

// What a screen reader hears: the WinEvents of this process, as a hook out of context sees them.
struct Heard {
  DWORD event;
  HWND window;
};
std::vector<Heard> g_heard;
void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG, LONG, DWORD, DWORD) {
  if (event == EVENT_SYSTEM_DIALOGSTART || event == EVENT_SYSTEM_ALERT ||
      event == Accessibility::kLiveRegionChanged)
    g_heard.push_back({event, hwnd});
}

TEST_F(Win32HostCallsTest, AScreenReaderHearsTheTextsAsTheyAppear) {
  g_heard.clear();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Listen, GetCurrentProcessId(),
                                       0, WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(hook);
  HWND main = Open(WithText(Dialog(1, 0, "Main"), ScanTemplate(), "Starting"));
  HWND status = FindWindowExW(main, nullptr, L"Static", L"Starting");
  ASSERT_TRUE(status);
  EXPECT_NE(std::find(calls_.live.begin(), calls_.live.end(), status), calls_.live.end());
  EXPECT_NE(std::find(calls_.roles.begin(), calls_.roles.end(),
                      std::pair<HWND, int>{main, ROLE_SYSTEM_DIALOG}),
            calls_.roles.end());
  ControlModel changed = WithText(Dialog(1, 0, "Main"), 0, "Sweeping").controls.back();
  desktop_.ControlChanged(1, changed, Change::Text);
  HWND box = Open(WithText(Dialog(2, 1, "Box"), kMessageBoxTemplate, "Activity!"));
  HWND boxText = FindWindowExW(box, nullptr, L"Static", L"Activity!");
  WaitUpTo(50);  // the hook hears through the queue
  UnhookWinEvent(hook);

  auto heard = [&](DWORD event, HWND window) {
    return std::count_if(g_heard.begin(), g_heard.end(),
                         [&](const Heard& h) { return h.event == event && h.window == window; });
  };
  EXPECT_EQ(heard(EVENT_SYSTEM_DIALOGSTART, main), 1);
  EXPECT_EQ(heard(Accessibility::kLiveRegionChanged, status), 1) << "the new text, not the first";
  EXPECT_EQ(heard(EVENT_SYSTEM_DIALOGSTART, box), 1);
  EXPECT_EQ(heard(EVENT_SYSTEM_ALERT, box), 1);
  EXPECT_EQ(heard(Accessibility::kLiveRegionChanged, boxText), 1) << "a message box is read";
}

}  // namespace

// Each start of the program draws from a seed of its own: the system's random source, not a
// reading of a clock that starts made in the same second, or the same tick, would share.
TEST(UnbiasedClockSeed, ClocksMadeTogetherSeedDifferently) {
  std::set<unsigned> seeds;
  for (int i = 0; i < 3; ++i) seeds.insert(UnbiasedClock().Seed());
  EXPECT_EQ(seeds.size(), 3u);
}
