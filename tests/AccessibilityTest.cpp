// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told of the desktop host's windows, read through QAccessible on Qt's
// offscreen platform: roles, names, states and values, and the announcement a changed text
// makes. What goes over the accessibility bus is the desktop end-to-end test's business.
// The windows are made by the real window system from the real templates.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <set>

#include "common/WindowSystem.h"
#include "host/qt/Accessibility.h"
#include "host/qt/DialogWindow.h"
#include "host/qt/QtHost.h"
#include "host/qt/StaticTextView.h"
#include "tests/support/QtHostFixture.h"

namespace {

// Counts how often a widget was shown and hidden: each showing is an "object shown" event on
// the accessibility bus (Qt sends those only while a reader listens, which it never does here).
struct ShowCounter : QObject {
  bool eventFilter(QObject*, QEvent* e) override {
    shown += e->type() == QEvent::Show;
    hidden += e->type() == QEvent::Hide;
    return false;
  }
  int shown = 0, hidden = 0;
};

class AccessibilityTest : public QtHostFixture {
 protected:
  QAccessibleInterface* Of(HWND dialog) {
    return QAccessible::queryAccessibleInterface(host.FindWindow(dialog));
  }
  QAccessibleInterface* Of(HWND dialog, int id) {
    return QAccessible::queryAccessibleInterface(
        host.FindWindow(dialog)->View(ws.GetDlgItem(dialog, id))->widget());
  }
  // The window's children in template order.
  std::vector<QAccessibleInterface*> Children(HWND dialog) {
    std::vector<QAccessibleInterface*> out;
    for (const auto& [h, view] : host.FindWindow(dialog)->Views())
      out.push_back(QAccessible::queryAccessibleInterface(view->widget()));
    return out;
  }
  static QString Name(QAccessibleInterface* i) { return i->text(QAccessible::Name); }
  static QString Description(QAccessibleInterface* i) { return i->text(QAccessible::Description); }
  // The notification object a label shows with its new words; null while it has none.
  QAccessibleInterface* Announcement(HWND dialog, int id) {
    QWidget* label = host.FindWindow(dialog)->View(ws.GetDlgItem(dialog, id))->widget();
    for (QWidget* w : label->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
      if (i && i->role() == QAccessible::Notification) return i;
    }
    return nullptr;
  }
};

TEST_F(AccessibilityTest, EveryWindowIsADialogNamedByItsCaptionAndNothingShownIsUnnamed) {
  HWND main = Open(102);
  for (int id : Resources::TemplateIds()) {
    SCOPED_TRACE("template " + std::to_string(id));
    HWND h = id == 102 ? main : Open(id, main);
    // A window's own texts are filled in before it shows; one that starts empty is told apart.
    if (id == 148) ws.SetText(ws.GetDlgItem(h, 1019), "Dialing psychic hotline...");
    if (id == 149)
      for (int line = 1020; line <= 1023; ++line) ws.SetText(ws.GetDlgItem(h, line), "Unknown");
    QAccessibleInterface* window = Of(h);
    EXPECT_EQ(window->role(), QAccessible::Dialog);
    EXPECT_EQ(Name(window).toStdString(), Resources::FindTemplate(id)->caption);
    EXPECT_EQ(window->childCount(), static_cast<int>(Resources::FindTemplate(id)->controls.size()));
    for (QAccessibleInterface* c : Children(h)) {
      EXPECT_FALSE(Name(c).isEmpty()) << "a control of role " << c->role() << " has no name";
      EXPECT_NE(c->role(), QAccessible::Client) << Name(c).toStdString();
    }
  }
}

TEST_F(AccessibilityTest, PicturesAndTheClipAreNamedForWhatTheyShow) {
  HWND main = Open(102);
  std::vector<QString> lamps;
  for (QAccessibleInterface* c : Children(main))
    if (c->role() == QAccessible::Graphic) lamps.push_back(Name(c));
  ASSERT_EQ(lamps.size(), 10u);
  EXPECT_EQ(lamps.front(), QStringLiteral("lamp 1"));  // id 1018, the leftmost
  EXPECT_EQ(Name(Of(main, 1010)), QStringLiteral("lamp 4"));
  EXPECT_EQ(lamps.back(), QStringLiteral("lamp 10"));
  QAccessibleInterface* clip = Of(main, 1005);
  EXPECT_EQ(clip->role(), QAccessible::Animation);
  EXPECT_EQ(Name(clip), QStringLiteral("radar sweep"));
  EXPECT_EQ(Children(main)[0]->role(), QAccessible::Grouping);
  EXPECT_EQ(Name(Children(main)[0]), QStringLiteral("scanner screen"));

  // A lamp says whether it is lit, as the picture it shows now.
  QAccessibleInterface* lamp = Of(main, 1012);
  EXPECT_EQ(Description(lamp), QStringLiteral("unlit"));
  if (HBITMAP lit = ws.LoadBitmap(147)) {
    ws.SetPicture(ws.GetDlgItem(main, 1012), lit);
    EXPECT_EQ(Description(lamp), QStringLiteral("lit"));
  }

  HWND scan = Open(170, main);
  std::set<QString> names;
  for (QAccessibleInterface* c : Children(scan))
    if (c->role() == QAccessible::Graphic) names.insert(Name(c));
  EXPECT_EQ(names.size(), 9u);  // the plate and eight different dots
  EXPECT_TRUE(names.count(QStringLiteral("sensor plate")));
  EXPECT_EQ(Name(Of(scan, 1032)), QStringLiteral("sensor dot 1"));
  EXPECT_EQ(Description(Of(scan, 1032)), QStringLiteral("red"));  // its template's bitmap 181

  HWND about = Open(100, main);
  int portraits = 0;
  for (QAccessibleInterface* c : Children(about))
    portraits += c->role() == QAccessible::Graphic && Name(c) == QStringLiteral("portrait");
  EXPECT_EQ(portraits, 1);
}

TEST_F(AccessibilityTest, TextsAreLabelsNamedByWhatTheySayAndValuesByTheirCaption) {
  HWND main = Open(102);
  HWND results = Open(149, main);
  std::vector<QAccessibleInterface*> c = Children(results);
  EXPECT_EQ(c[1]->role(), QAccessible::StaticText);
  EXPECT_EQ(Name(c[1]), QStringLiteral("Alien Presence:"));
  EXPECT_EQ(Name(c[0]), QStringLiteral("OK"));
  EXPECT_EQ(Name(c[9]), QStringLiteral("results"));  // the group box without a title

  // An empty line shows nothing and is not there for a reader; filled, it is.
  QAccessibleInterface* proximity = Of(results, 1021);
  EXPECT_TRUE(proximity->state().invisible);
  ws.SetText(ws.GetDlgItem(results, 1021), "80 Meters");
  EXPECT_FALSE(proximity->state().invisible);
  EXPECT_EQ(Name(proximity), QStringLiteral("80 Meters"));
  auto captions = proximity->relations(QAccessible::Label);
  ASSERT_EQ(captions.size(), 1);
  EXPECT_EQ(Name(captions[0].first), QStringLiteral("Proximity:"));
  EXPECT_TRUE(c[1]->relations(QAccessible::Label).isEmpty());  // a caption has none itself

  // The mnemonic marker is not read; a text that shows '&' as it is keeps it.
  HWND about = Open(100, main);
  EXPECT_EQ(Name(Children(about)[1]), QStringLiteral("Quorblex Instrument Works"));
  EXPECT_EQ(Name(Children(main)[12]), QStringLiteral("Minimize"));
}

TEST_F(AccessibilityTest, ARevealedTextIsAnnouncedOnceWithItsCaptionWhileTheWindowIsOnScreen) {
  HWND main = Open(102);
  HWND results = Open(149, main);
  QAccessibleInterface* presence = Of(results, 1020);
  EXPECT_EQ(Announcement(results, 1020), nullptr);

  ws.SetText(ws.GetDlgItem(results, 1020), "Detected");
  QAccessibleInterface* said = Announcement(results, 1020);
  ASSERT_NE(said, nullptr);
  EXPECT_EQ(Name(said), QStringLiteral("Alien Presence: Detected"));
  EXPECT_FALSE(said->state().invisible);
  // The notification is the program's own, outside the label and the dialog: a reader says
  // the words once, not after the label ("Alien Presence: Detected label") or the dialog's name.
  ASSERT_NE(said->parent(), nullptr);
  EXPECT_EQ(said->parent()->role(), QAccessible::Application);
  EXPECT_GE(said->parent()->indexOfChild(said), 0);
  EXPECT_EQ(presence->childCount(), 0);
  // Reviewed later, the value is still read with its caption.
  EXPECT_EQ(Name(presence), QStringLiteral("Detected"));
  EXPECT_EQ(Name(presence->relations(QAccessible::Label).value(0).first),
            QStringLiteral("Alien Presence:"));

  // Each new text shows the notification again, which is what makes a reader speak.
  ShowCounter shows;
  said->object()->installEventFilter(&shows);
  ws.SetText(ws.GetDlgItem(results, 1020), "Probable");
  EXPECT_EQ(Name(said), QStringLiteral("Alien Presence: Probable"));
  EXPECT_EQ(shows.hidden, 1);
  EXPECT_EQ(shows.shown, 1);

  // Emptied, or changed while its window is hidden, a text is not read out.
  ws.SetText(ws.GetDlgItem(results, 1020), "");
  ws.Show(results, SW_HIDE);
  ws.SetText(ws.GetDlgItem(results, 1020), "Detected");
  EXPECT_EQ(shows.shown, 1);
  EXPECT_EQ(Name(presence), QStringLiteral("Detected"));  // though the label says it when asked

  // A status line with no caption is announced by itself.
  HWND progress = Open(148, main);
  ws.SetText(ws.GetDlgItem(progress, 1019), "Asking a lunatic...");
  EXPECT_EQ(Name(Announcement(progress, 1019)), QStringLiteral("Asking a lunatic..."));
}

TEST_F(AccessibilityTest, CheckboxesAndTheTrackbarExposeTheirStateAndValue) {
  HWND main = Open(102);
  HWND setup = Open(169, main);
  QAccessibleInterface* sounds = Of(setup, 1024);
  EXPECT_EQ(sounds->role(), QAccessible::CheckBox);
  EXPECT_EQ(Name(sounds), QStringLiteral("Use Sounds"));
  EXPECT_FALSE(sounds->state().checked);
  ws.SetCheck(ws.GetDlgItem(setup, 1024), 1);
  EXPECT_TRUE(sounds->state().checked);

  ws.SetTrackRange(ws.GetDlgItem(setup, 1031), 1, 10);
  ws.SetTrackPos(ws.GetDlgItem(setup, 1031), 7);
  QAccessibleInterface* slider = Of(setup, 1031);
  EXPECT_EQ(slider->role(), QAccessible::Slider);
  EXPECT_EQ(Name(slider), QStringLiteral("Sensitivity"));
  EXPECT_EQ(Description(slider), QStringLiteral("1 Low, 10 High"));
  ASSERT_NE(slider->valueInterface(), nullptr);
  EXPECT_EQ(slider->valueInterface()->currentValue().toInt(), 7);
  EXPECT_EQ(slider->valueInterface()->minimumValue().toInt(), 1);
  EXPECT_EQ(slider->valueInterface()->maximumValue().toInt(), 10);

  std::set<QString> groups;
  for (QAccessibleInterface* c : Children(setup))
    if (c->role() == QAccessible::Grouping) groups.insert(Name(c));
  EXPECT_EQ(groups,
            (std::set<QString>{QStringLiteral("Scanning Options"), QStringLiteral("Monitoring")}));
}

TEST_F(AccessibilityTest, TheCoresFocusIsTheReadersAndAPressIsAClick) {
  HWND main = Open(102);
  // The clip is the main window's first tab stop: it holds the focus, though it shows no sign.
  QApplication::setActiveWindow(host.FindWindow(main));
  EXPECT_TRUE(Of(main, 1005)->state().focusable);
  EXPECT_TRUE(Of(main, 1005)->state().focused);
  HWND setup = Open(169, main);
  QApplication::setActiveWindow(host.FindWindow(setup));
  ws.SetFocus(ws.GetDlgItem(setup, 1031));
  QAccessibleInterface* slider = Of(setup, 1031);
  QAccessibleInterface* ok = Of(setup, IDOK);
  EXPECT_TRUE(slider->state().focusable);
  EXPECT_TRUE(slider->state().focused);
  EXPECT_TRUE(ok->state().focusable);
  EXPECT_FALSE(ok->state().focused);
  EXPECT_TRUE(ok->state().defaultButton);
  ws.SetFocus(ws.GetDlgItem(setup, IDCANCEL));
  EXPECT_FALSE(slider->state().focused);
  EXPECT_TRUE(Of(setup, IDCANCEL)->state().focused);

  // Pressing a button or toggling a checkbox through the reader is the user's click.
  struct : InputSink {
    void Push(InputEvent e) override { clicked.push_back(e.id); }
    std::vector<int> clicked;
  } input;
  ok->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QAccessibleInterface* sounds = Of(setup, 1024);
  EXPECT_EQ(sounds->actionInterface()->actionNames(),
            QStringList{QAccessibleActionInterface::toggleAction()});
  sounds->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  host.Wait(clock.Now(), input);
  host.Wait(clock.Now(), input);
  EXPECT_EQ(input.clicked, (std::vector<int>{IDOK, 1024}));
  EXPECT_FALSE(sounds->state().checked);  // the core has not ticked it yet
}

TEST_F(AccessibilityTest, AMessageBoxIsDescribedByItsTextAndNamesItsIcon) {
  const DialogTemplate box = MonitorAlertBox();
  HWND h = Open(box);
  QAccessibleInterface* window = Of(h);
  EXPECT_EQ(window->role(), QAccessible::Dialog);
  EXPECT_EQ(Name(window), QStringLiteral("Quorblex Pro"));
  EXPECT_EQ(Description(window),
            QStringLiteral("Sensors Indicate Possible Activity!\nPerform Full Scan?"));
  std::vector<QAccessibleInterface*> c = Children(h);
  EXPECT_EQ(c[0]->role(), QAccessible::Graphic);
  EXPECT_EQ(Name(c[0]), QStringLiteral("warning"));
  EXPECT_EQ(Name(c[2]), QStringLiteral("Yes"));
}

}  // namespace
