// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// One dialog as the Windows host shows it: the platform's own controls laid out as the dialog
// manager would, showing the core's state and reporting raw input without acting on it.
// Needs a display (tests/windows/host_tests.sh gives it one).
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <cmath>
#include <cwctype>
#include <string>
#include <vector>

#include "host/win32/BitmapCache.h"
#include "host/win32/ClipView.h"
#include "host/win32/ControlView.h"
#include "host/win32/DialogUnits.h"
#include "host/win32/DialogWindow.h"
#include "host/win32/UnbiasedClock.h"
#include "tests/windows/TestPictures.h"

namespace {

constexpr std::uint32_t kDialog = 1, kOk = 2, kCancel = 3, kCheck = 4, kGroup = 5, kText = 6,
                        kTrack = 7, kPicture = 8, kFrame = 9;
constexpr int kPictureId = 146;

ControlModel Control(std::uint32_t handle, ControlKind kind, int id, const char* text, Rect rect,
                     DWORD style = 0) {
  ControlModel c;
  c.handle = handle;
  c.kind = kind;
  c.id = id;
  c.text = text;
  c.rect = rect;
  c.style = style;
  return c;
}

DialogModel Settings() {
  DialogModel d;
  d.handle = kDialog;
  d.templateId = 169;
  d.caption = "Setup";
  d.rect = {0, 0, 172, 120};
  d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  d.controls = {
      Control(kOk, ControlKind::PushButton, IDOK, "OK", {33, 100, 50, 14}, BS_DEFPUSHBUTTON),
      Control(kCancel, ControlKind::PushButton, IDCANCEL, "Cancel", {88, 100, 50, 14}),
      Control(kCheck, ControlKind::CheckBox, 1024, "Use &Sounds", {14, 8, 55, 10}),
      Control(kTrack, ControlKind::Trackbar, 1031, "", {64, 46, 80, 20}, TBS_AUTOTICKS | TBS_TOP),
      Control(kPicture, ControlKind::Picture, 1032, "", {10, 70, 13, 12}, WS_BORDER),
      Control(kFrame, ControlKind::BlackFrame, -1, "", {8, 68, 30, 20}),
      Control(kGroup, ControlKind::GroupBox, -1, "Monitoring", {10, 25, 150, 45}),
      Control(kText, ControlKind::Text, -1, "Sensitivity", {25, 52, 32, 8}),
  };
  d.controls[3].trackMin = 1;
  d.controls[3].trackMax = 10;
  d.controls[3].trackPos = 5;
  d.controls[4].bitmapId = kPictureId;
  d.menu = {{SC_CLOSE, "&Close"}, {0, ""}, {16, "&About Quorblex Pro..."}};
  d.visible = true;
  d.focus = kOk;
  d.defaultLook = kOk;
  return d;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  std::wstring lower = name;
  for (auto& ch : lower) ch = static_cast<wchar_t>(std::towlower(ch));
  return lower;
}

RECT InClient(HWND child, HWND dialog) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class DialogWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    DialogWindow::RegisterClass(GetModuleHandleW(nullptr));
    ClipView::RegisterClass(GetModuleHandleW(nullptr));
  }

  void SetUp() override {
    DialogWindow::Services services;
    services.report = [this](InputEvent input) { reported_.push_back(input); };
    services.pictures = &pictures_;
    services.clock = &clock_;
    model_ = Settings();
    window_ = std::make_unique<DialogWindow>(model_, nullptr, services);
    ASSERT_TRUE(window_->hwnd());
    window_->Shown(model_, true);
  }

  HWND Child(std::uint32_t handle) const {
    for (const auto& view : window_->Views())
      if (view->handle() == handle) return view->hwnd();
    return nullptr;
  }

  std::vector<InputEvent> Take() { return std::exchange(reported_, {}); }

  std::vector<std::uint8_t> lamp_ = TestPictures::SolidBmp(20, 20, 0x808080);
  BitmapCache pictures_{[this](int id, double) {
    return id == kPictureId ? PictureSources::Drawing{1, {lamp_.data(), lamp_.size()}} : PictureSources::Drawing{};
  }};
  UnbiasedClock clock_;
  DialogModel model_;
  std::unique_ptr<DialogWindow> window_;
  std::vector<InputEvent> reported_;
};

TEST_F(DialogWindowTest, ControlsAreThePlatformsOwnAndLaterOnesLieAbove) {
  EXPECT_EQ(ClassOf(Child(kOk)), L"button");
  EXPECT_EQ(ClassOf(Child(kCheck)), L"button");
  EXPECT_EQ(ClassOf(Child(kGroup)), L"button");
  EXPECT_EQ(ClassOf(Child(kText)), L"static");
  EXPECT_EQ(ClassOf(Child(kPicture)), L"static");
  EXPECT_EQ(ClassOf(Child(kTrack)), L"msctls_trackbar32");
  EXPECT_EQ(GetWindowLongPtrW(Child(kCheck), GWL_STYLE) & BS_TYPEMASK, BS_CHECKBOX)
      << "a check box that never ticks itself";
  // The top of the stack is the template's last control; the first lies at the bottom.
  EXPECT_EQ(GetWindow(window_->hwnd(), GW_CHILD), Child(kText));
  EXPECT_EQ(GetWindow(Child(kOk), GW_HWNDNEXT), nullptr);
}

TEST_F(DialogWindowTest, TheLayoutIsTheDialogManagersForTheTemplatesFont) {
  // The same rectangles in a dialog the dialog manager makes from a template that names the
  // font. It converts a control's x, y, width and height one by one, as MapDialogRect converts
  // each of a rectangle's four numbers.
  struct {
    DLGTEMPLATE t;
    WORD menu, windowClass, title, points;
    wchar_t face[14];
  } tmpl{};
  tmpl.t.style = DS_SETFONT | WS_POPUP;
  tmpl.t.cx = 172;
  tmpl.t.cy = 120;
  tmpl.points = 8;
  lstrcpyW(tmpl.face, L"MS Sans Serif");
  HWND reference = CreateDialogIndirectParamW(
      nullptr, &tmpl.t, nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_TRUE(reference);
  for (const ControlModel& c : model_.controls) {
    if (c.kind == ControlKind::Picture) continue;  // a picture takes its bitmap's size
    RECT want{c.rect.x, c.rect.y, c.rect.cx, c.rect.cy};
    MapDialogRect(reference, &want);
    RECT got = InClient(Child(c.handle), window_->hwnd());
    EXPECT_EQ(got.left, want.left) << c.text;
    EXPECT_EQ(got.top, want.top) << c.text;
    EXPECT_EQ(got.right - got.left, want.right) << c.text;
    EXPECT_EQ(got.bottom - got.top, want.bottom) << c.text;
  }
  RECT client{};
  GetClientRect(window_->hwnd(), &client);
  RECT want{0, 0, 172, 120};
  MapDialogRect(reference, &want);
  EXPECT_EQ(client.right, want.right);
  EXPECT_EQ(client.bottom, want.bottom);
  DestroyWindow(reference);
  EXPECT_DOUBLE_EQ(DialogUnits(96).PictureRatio(), 1.0) << "the classic 6 x 13";
}

TEST_F(DialogWindowTest, TheDefaultFrameFollowsTheCoreNotTheFocus) {
  auto kind = [&](std::uint32_t h) { return GetWindowLongPtrW(Child(h), GWL_STYLE) & BS_TYPEMASK; };
  EXPECT_EQ(kind(kOk), BS_DEFPUSHBUTTON);
  EXPECT_EQ(kind(kCancel), BS_PUSHBUTTON);
  window_->FocusChanged(kCancel, kCancel);
  EXPECT_EQ(kind(kOk), BS_PUSHBUTTON);
  EXPECT_EQ(kind(kCancel), BS_DEFPUSHBUTTON);
  window_->FocusChanged(kCheck, kOk);  // a check box has the focus: the default is drawn again
  EXPECT_EQ(kind(kOk), BS_DEFPUSHBUTTON);
  EXPECT_EQ(kind(kCancel), BS_PUSHBUTTON);
}

TEST_F(DialogWindowTest, KeysAreTheCoresAndNoControlActsOnThem) {
  MSG space{Child(kOk), WM_KEYDOWN, VK_SPACE, 0, 0, {}};
  EXPECT_TRUE(window_->PreTranslate(space)) << "taken before the button sees it";
  MSG altS{Child(kOk), WM_SYSKEYDOWN, 'S', static_cast<LPARAM>(KF_ALTDOWN) << 16, 0, {}};
  EXPECT_FALSE(window_->PreTranslate(altS)) << "system keys go on to Windows too";
  MSG up{Child(kOk), WM_KEYUP, VK_SPACE, 0, 0, {}};
  EXPECT_FALSE(window_->PreTranslate(up));
  auto in = Take();
  ASSERT_EQ(in.size(), 2u);
  EXPECT_EQ(in[0].kind, InputEvent::Kind::Key);
  EXPECT_EQ(in[0].key, Key::Space);
  EXPECT_EQ(in[0].target, kDialog);
  EXPECT_EQ(in[1].key, Key::Letter);
  EXPECT_EQ(in[1].letter, 'S');
  EXPECT_TRUE(in[1].alt);
}

TEST_F(DialogWindowTest, AClickIsReportedAndACheckBoxWaitsForTheCoresAnswer) {
  SendMessageW(Child(kCancel), BM_CLICK, 0, 0);
  SendMessageW(Child(kCheck), BM_CLICK, 0, 0);
  auto in = Take();
  ASSERT_EQ(in.size(), 2u);
  EXPECT_EQ(in[0].kind, InputEvent::Kind::Click);
  EXPECT_EQ(in[0].id, IDCANCEL);
  EXPECT_EQ(in[1].id, 1024);
  EXPECT_EQ(SendMessageW(Child(kCheck), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ControlModel checked = model_.controls[2];
  checked.checked = 1;
  window_->ControlChanged(checked, Change::Checked);
  EXPECT_EQ(SendMessageW(Child(kCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(DialogWindowTest, ATrackbarTheUserMovedIsReportedAndPutBack) {
  HWND track = Child(kTrack);
  EXPECT_EQ(SendMessageW(track, TBM_GETRANGEMAX, 0, 0), 10);
  EXPECT_EQ(SendMessageW(track, TBM_GETPOS, 0, 0), 5);
  // As a drag leaves it: the thumb moved, and the trackbar tells its dialog.
  SendMessageW(track, TBM_SETPOS, TRUE, 8);
  SendMessageW(window_->hwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 8),
               reinterpret_cast<LPARAM>(track));
  auto in = Take();
  ASSERT_EQ(in.size(), 1u);
  EXPECT_EQ(in[0].kind, InputEvent::Kind::Slide);
  EXPECT_EQ(in[0].id, 1031);
  EXPECT_EQ(in[0].pos, 8);
  EXPECT_EQ(SendMessageW(track, TBM_GETPOS, 0, 0), 5) << "back where the core has it";
  ControlModel moved = model_.controls[3];
  moved.trackPos = 8;
  window_->ControlChanged(moved, Change::Trackbar);
  EXPECT_EQ(SendMessageW(track, TBM_GETPOS, 0, 0), 8);
}

TEST_F(DialogWindowTest, TheCloseBoxAndTheWindowMenuAskTheCore) {
  HWND w = window_->hwnd();
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageW(w, WM_CLOSE, 0, 0);
  SendMessageW(w, WM_SYSCOMMAND, 16, 0);
  SendMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  auto in = Take();
  ASSERT_EQ(in.size(), 3u);
  EXPECT_EQ(in[0].kind, InputEvent::Kind::Close);
  EXPECT_EQ(in[1].kind, InputEvent::Kind::Close);
  EXPECT_EQ(in[2].kind, InputEvent::Kind::SysCommand);
  EXPECT_EQ(in[2].id, 16);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_FALSE(IsIconic(w)) << "only the core minimizes";

  HMENU menu = GetSystemMenu(w, FALSE);
  wchar_t text[64] = {};
  GetMenuStringW(menu, 16, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"&About Quorblex Pro...");
  GetMenuStringW(menu, SC_CLOSE, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text).substr(0, 6), L"&Close");
  EXPECT_EQ(GetMenuItemID(menu, GetMenuItemCount(menu) - 1), 16u);
  window_->MenuChanged(model_.menu, false);
  EXPECT_TRUE(GetMenuState(GetSystemMenu(w, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(DialogWindowTest, GroupBoxesAndFramesLetWhatLiesUnderThemShowAndTakeClicks) {
  for (std::uint32_t hollow : {kGroup, kFrame}) {
    HWND h = Child(hollow);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h, shape), ERROR) << hollow;
    RECT r{};
    GetWindowRect(h, &r);
    const int w = r.right - r.left, ht = r.bottom - r.top;
    EXPECT_TRUE(PtInRegion(shape, 0, ht - 1)) << "its line";
    EXPECT_FALSE(PtInRegion(shape, w / 2, ht * 3 / 4)) << "its inside";
    DeleteObject(shape);
  }
}

TEST_F(DialogWindowTest, APictureTakesItsBitmapsSizeAndShowsNothingWithoutOne) {
  HWND picture = Child(kPicture);
  RECT client{};
  GetClientRect(picture, &client);
  EXPECT_EQ(client.right, 20);
  EXPECT_EQ(client.bottom, 20);
  EXPECT_TRUE(GetWindowLongPtrW(picture, GWL_STYLE) & WS_BORDER);
  // Drawn as it is: the control's pixels are the picture's.
  HDC dc = GetDC(picture);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0x80, 0x80, 0x80));
  ReleaseDC(picture, dc);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(picture, shape), ERROR) << "the whole control shows";
  ControlModel none = model_.controls[4];
  none.bitmapId = 0;
  window_->ControlChanged(none, Change::Picture);
  EXPECT_EQ(GetWindowRgn(picture, shape), NULLREGION) << "nothing shows, not even the border";
  DeleteObject(shape);
}

TEST_F(DialogWindowTest, OnADenserScreenTheFontLayoutAndPicturesAreMadeAgain) {
  const DialogUnits dense(192);
  ASSERT_GT(dense.baseY(), 13);
  // Asked first, the window names the size it will take, so that Windows can place it.
  SIZE coming{};
  EXPECT_TRUE(
      SendMessageW(window_->hwnd(), WM_GETDPISCALEDSIZE, 192, reinterpret_cast<LPARAM>(&coming)));
  RECT suggested{100, 100, 700, 600};
  SendMessageW(window_->hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192),
               reinterpret_cast<LPARAM>(&suggested));
  RECT want = dense.ToPixels(model_.controls[0].rect);
  RECT got = InClient(Child(kOk), window_->hwnd());
  EXPECT_EQ(got.left, want.left);
  EXPECT_EQ(got.bottom - got.top, want.bottom - want.top);
  RECT client{};
  GetClientRect(window_->hwnd(), &client);
  EXPECT_EQ(client.right, dense.ToPixelsX(model_.rect.cx));
  RECT frame{};
  GetWindowRect(window_->hwnd(), &frame);
  EXPECT_EQ(frame.left, 100) << "where Windows suggested";
  EXPECT_EQ(frame.right - frame.left, coming.cx);
  EXPECT_EQ(frame.bottom - frame.top, coming.cy);
  // The picture grows with the layout, not with the density alone.
  GetClientRect(Child(kPicture), &client);
  EXPECT_EQ(client.right, static_cast<LONG>(std::lround(20 * dense.PictureRatio())));
}

TEST_F(DialogWindowTest, TextsStateAndTipsFollowTheCore) {
  ControlModel text = model_.controls[7];
  text.text = "Dialing psychic hotline...";
  window_->ControlChanged(text, Change::Text);
  wchar_t shown[64] = {};
  GetWindowTextW(Child(kText), shown, 64);
  EXPECT_STREQ(shown, L"Dialing psychic hotline...");
  ControlModel off = model_.controls[1];
  off.enabled = false;
  window_->ControlChanged(off, Change::Enabled);
  EXPECT_FALSE(IsWindowEnabled(Child(kCancel)));
  off.visible = false;
  window_->ControlChanged(off, Change::Visible);
  EXPECT_FALSE(GetWindowLongPtrW(Child(kCancel), GWL_STYLE) & WS_VISIBLE);
  window_->EnabledChanged(false);
  EXPECT_FALSE(IsWindowEnabled(window_->hwnd())) << "the owner of a modal dialog";
}

TEST_F(DialogWindowTest, AWindowTheCoreLetGoReportsNothing) {
  window_->Silence();
  SendMessageW(Child(kOk), BM_CLICK, 0, 0);
  SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Take().empty());
}

}  // namespace
