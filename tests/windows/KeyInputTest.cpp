// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Which key presses and notification-icon messages the Windows host hands to the core.
#include <gtest/gtest.h>
#include <windows.h>

#include "host/win32/KeyInput.h"
#include "host/win32/TrayIcon.h"

namespace {

TEST(KeyInputTest, NamedKeysNameThemselvesWithOrWithoutAlt) {
  const std::pair<unsigned, Key> named[] = {
      {VK_RETURN, Key::Enter}, {VK_ESCAPE, Key::Escape}, {VK_SPACE, Key::Space},
      {VK_TAB, Key::Tab},      {VK_LEFT, Key::Left},     {VK_RIGHT, Key::Right},
      {VK_UP, Key::Up},        {VK_DOWN, Key::Down},     {VK_HOME, Key::Home},
      {VK_END, Key::End},      {VK_PRIOR, Key::PageUp},  {VK_NEXT, Key::PageDown}};
  for (auto [vk, key] : named) {
    for (bool alt : {false, true}) {
      auto input = KeyInput::FromVirtualKey(vk, false, alt, false);
      ASSERT_TRUE(input) << vk;
      EXPECT_EQ(input->kind, InputEvent::Kind::Key);
      EXPECT_EQ(input->key, key) << vk;
      EXPECT_FALSE(input->alt) << "a named key carries no Alt: " << vk;
    }
  }
  auto back = KeyInput::FromVirtualKey(VK_TAB, true, false, false);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->key, Key::ShiftTab);
}

TEST(KeyInputTest, LettersAndDigitsCarryTheirCharacterAndAlt) {
  auto altS = KeyInput::FromVirtualKey('S', false, true, false);
  ASSERT_TRUE(altS);
  EXPECT_EQ(altS->key, Key::Letter);
  EXPECT_EQ(altS->letter, 'S');
  EXPECT_TRUE(altS->alt);
  // Shift makes no other letter: the dialog matches mnemonics without case.
  auto shiftedM = KeyInput::FromVirtualKey('M', true, false, false);
  ASSERT_TRUE(shiftedM);
  EXPECT_EQ(shiftedM->letter, 'M');
  EXPECT_FALSE(shiftedM->alt);
  auto seven = KeyInput::FromVirtualKey('7', false, false, false);
  ASSERT_TRUE(seven);
  EXPECT_EQ(seven->letter, '7');
}

TEST(KeyInputTest, OtherKeysAndAnyKeyWithCtrlAreNotTheDialogs) {
  const unsigned others[] = {VK_F1,      VK_F4,     VK_F10,     VK_SHIFT, VK_MENU,
                             VK_CONTROL, VK_DELETE, VK_NUMPAD5, VK_BACK,  VK_APPS};
  for (unsigned vk : others) EXPECT_FALSE(KeyInput::FromVirtualKey(vk, false, true, false)) << vk;
  EXPECT_FALSE(KeyInput::FromVirtualKey('S', false, false, true));
  EXPECT_FALSE(KeyInput::FromVirtualKey(VK_RETURN, false, false, true));
}

TEST(TrayIconTest, TheSixMouseMessagesReachTheProgramAndNothingElse) {
  const UINT mouse[] = {WM_MOUSEMOVE,     WM_LBUTTONDOWN, WM_LBUTTONUP,
                        WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP};
  for (UINT m : mouse) EXPECT_EQ(TrayIcon::MessageFor(m), static_cast<int>(m));
  const UINT others[] = {
      WM_MBUTTONDOWN, WM_MBUTTONUP, WM_RBUTTONDBLCLK, WM_CONTEXTMENU, WM_USER + 0 /* NIN_SELECT */,
      WM_USER + 2 /* NIN_BALLOONSHOW */};
  for (UINT m : others) EXPECT_EQ(TrayIcon::MessageFor(m), 0) << m;
}

}  // namespace
