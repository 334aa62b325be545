// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows side of the host as the core's loop uses it: Wait pumps Windows' queue and hands
// input over, a closed dialog gives the activation back to its owner, and the notification
// icon's mouse messages come as tray input. Needs a display with a notification area
// (tests/windows/host_tests.sh gives it one). Every wait ends on a real event, with a bound.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <gtest/gtest.h>

#include <vector>

#include "host/win32/Win32Host.h"
#include "host/win32/UnbiasedClock.h"

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

class Win32HostTest : public ::testing::Test {
 protected:
  // Waits at most `ms` for input; what came.
  std::vector<InputEvent> WaitUpTo(std::int64_t ms) {
    std::vector<InputEvent> in;
    struct Collect : InputSink {
      std::vector<InputEvent>& to;
      explicit Collect(std::vector<InputEvent>& t) : to(t) {}
      void Push(InputEvent e) override { to.push_back(std::move(e)); }
    } sink(in);
    desktop_.Wait(clock_.Now() + ms, sink);
    return in;
  }

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

}  // namespace
