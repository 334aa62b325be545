// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QPushButton>
#include <QVariant>
#include <QWidget>
#include <vector>

#include "host/shared/AccessibleNames.h"
#include "host/qt/CheckBoxView.h"
#include "host/qt/ClipView.h"
#include "host/qt/IconView.h"
#include "host/qt/PictureView.h"
#include "host/qt/PushButtonView.h"
#include "host/qt/StaticFrameView.h"
#include "host/qt/StaticTextView.h"
#include "host/qt/TrackbarView.h"

namespace {

const QString kAnnouncer = QStringLiteral("announcer");
// The property that marks one of our windows, and whether it is a message box.
const char* const kWindowKind = "quorblexWindowKind";
enum WindowKind { kDialog = 1, kMessageBox = 2 };

// The static texts of `window`, in the order they were made.
std::vector<const StaticTextView*> TextsOf(const QWidget& window) {
  std::vector<const StaticTextView*> texts;
  for (const QObject* child : window.children())
    if (auto* text = dynamic_cast<const StaticTextView*>(child)) texts.push_back(text);
  return texts;
}

QString LabelText(const StaticTextView& label) {
  if (!(label.DrawFlags() & Qt::TextShowMnemonic)) return label.text();
  return Accessibility::WithoutMnemonic(label.text());
}

// The caption a value is read with: a text ending in ':' on the same row, to the left of it
// ("Proximity:" for "80 Meters").
const StaticTextView* CaptionOf(const StaticTextView& value) {
  const QWidget* window = value.parentWidget();
  if (!window) return nullptr;
  const StaticTextView* best = nullptr;
  QRect v = value.geometry();
  for (const StaticTextView* label : TextsOf(*window)) {
    if (label == &value || !label->text().endsWith(QLatin1Char(':'))) continue;
    QRect l = label->geometry();
    bool sameRow = l.top() <= v.bottom() && v.top() <= l.bottom();
    if (!sameRow || l.left() >= v.left()) continue;
    if (!best || l.left() > best->geometry().left()) best = label;
  }
  return best;
}

class WindowAccessible : public QAccessibleWidget {
 public:
  WindowAccessible(QWidget* w, bool messageBox)
      : QAccessibleWidget(w, QAccessible::Dialog), messageBox_(messageBox) {}
  QString text(QAccessible::Text t) const override {
    // A message box is described by its message, so the reader says it with the caption.
    if (t == QAccessible::Description && messageBox_)
      for (const StaticTextView* label : TextsOf(*widget())) return LabelText(*label);
    return QAccessibleWidget::text(t);
  }

 private:
  bool messageBox_;
};

class LabelAccessible : public QAccessibleWidget {
 public:
  explicit LabelAccessible(StaticTextView* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return LabelText(Label());
    return QAccessibleWidget::text(t);
  }
  // An empty text shows nothing, so there is nothing to read: a result line before its reveal.
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    if (Label().text().isEmpty()) s.invisible = true;
    return s;
  }
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    // Qt's pair names what the other object is to this one: the caption is its Label.
    auto list = QAccessibleWidget::relations(match);
    if (match & QAccessible::Label)
      if (const StaticTextView* caption = CaptionOf(Label()))
        list.append({QAccessible::queryAccessibleInterface(const_cast<StaticTextView*>(caption)),
                     QAccessible::Label});
    return list;
  }

 private:
  const StaticTextView& Label() const { return *static_cast<StaticTextView*>(widget()); }
};

// A lamp or a sensor dot says what it shows now ("lit", "red") as its description.
class PictureAccessible : public QAccessibleWidget {
 public:
  explicit PictureAccessible(PictureView* w) : QAccessibleWidget(w, QAccessible::Graphic) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Description) {
      QString state = QString::fromStdString(
          AccessibleNames::State(static_cast<PictureView*>(widget())->BitmapId()));
      if (!state.isEmpty()) return state;
    }
    return QAccessibleWidget::text(t);
  }
};

// The keyboard focus is the core's; Qt's own focus never moves, so Qt's interfaces would call
// every control unfocusable and none focused. A control says what the core shows instead.
bool HasFocus(const QWidget* w) {
  bool look = false;
  if (auto* b = dynamic_cast<const PushButtonView*>(w)) look = b->FocusLook();
  if (auto* c = dynamic_cast<const CheckBoxView*>(w)) look = c->FocusLook();
  if (auto* t = dynamic_cast<const TrackbarView*>(w)) look = t->FocusLook();
  if (auto* c = dynamic_cast<const ClipView*>(w)) look = c->FocusLook();
  return look && w->isActiveWindow();
}

QAccessible::State WithFocus(QAccessible::State s, const QWidget* w) {
  s.focusable = true;
  s.focused = HasFocus(w);
  return s;
}

// The clip, a tab stop of the main window.
class ClipAccessible : public QAccessibleWidget {
 public:
  explicit ClipAccessible(ClipView* c) : QAccessibleWidget(c, QAccessible::Animation) {}
  QAccessible::State state() const override {
    return WithFocus(QAccessibleWidget::state(), widget());
  }
};

// A push button or a checkbox: pressed or toggled through the reader as by a click.
class ButtonAccessible : public QAccessibleWidget {
 public:
  ButtonAccessible(QAbstractButton* b, QAccessible::Role role) : QAccessibleWidget(b, role) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
      return Accessibility::WithoutMnemonic(Button()->text());
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = WithFocus(QAccessibleWidget::state(), widget());
    if (role() == QAccessible::CheckBox) {
      s.checkable = true;
      s.checked = Button()->isChecked();
    }
    if (auto* push = qobject_cast<const QPushButton*>(widget()))
      s.defaultButton = push->isDefault();
    return s;
  }
  QStringList actionNames() const override {
    return {role() == QAccessible::CheckBox ? toggleAction() : pressAction()};
  }
  void doAction(const QString& action) override {
    if (actionNames().contains(action)) Button()->click();
  }

 private:
  QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// The trackbar: its position between the core's range. A reader reads it and does not move it;
// the user moves it with the keys the dialog knows.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit SliderAccessible(TrackbarView* t) : QAccessibleWidget(t, QAccessible::Slider) {}
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QAccessible::State state() const override {
    return WithFocus(QAccessibleWidget::state(), widget());
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return QString::number(Slider()->value());
    return QAccessibleWidget::text(t);
  }
  QVariant currentValue() const override { return Slider()->value(); }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return Slider()->maximum(); }
  QVariant minimumValue() const override { return Slider()->minimum(); }
  QVariant minimumStepSize() const override { return Slider()->singleStep(); }

 private:
  TrackbarView* Slider() const { return static_cast<TrackbarView*>(widget()); }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  auto* w = qobject_cast<QWidget*>(object);
  if (!w) return nullptr;
  const QVariant kind = w->property(kWindowKind);
  if (kind.isValid()) return new WindowAccessible(w, kind.toInt() == kMessageBox);
  if (auto* label = dynamic_cast<StaticTextView*>(w)) return new LabelAccessible(label);
  if (auto* picture = dynamic_cast<PictureView*>(w)) return new PictureAccessible(picture);
  if (auto* push = dynamic_cast<PushButtonView*>(w))
    return new ButtonAccessible(push, QAccessible::Button);
  if (auto* check = dynamic_cast<CheckBoxView*>(w))
    return new ButtonAccessible(check, QAccessible::CheckBox);
  if (auto* trackbar = dynamic_cast<TrackbarView*>(w)) return new SliderAccessible(trackbar);
  if (auto* clip = dynamic_cast<ClipView*>(w)) return new ClipAccessible(clip);
  if (dynamic_cast<IconView*>(w)) return new QAccessibleWidget(w, QAccessible::Graphic);
  if (dynamic_cast<StaticFrameView*>(w)) return new QAccessibleWidget(w, QAccessible::Grouping);
  if (w->objectName() == kAnnouncer && dynamic_cast<StaticTextView*>(w->parentWidget()))
    return new QAccessibleWidget(w, QAccessible::Notification);
  return nullptr;
}

// A label's notification object: a window of its own that never reaches the screen. Orca reads
// a notification after every object it lies in that has words of its own, so one inside the
// label would be heard twice (the label with its caption, then the notification) and one in the
// dialog would come after the dialog's name each time; a window of the program's own is read
// like a desktop notification, by its words alone. Each label has its own, so a reader that asks
// for the words a moment late still gets the ones it was told of.
QWidget* Announcer(QWidget* label) {
  if (auto* a = label->findChild<QWidget*>(kAnnouncer, Qt::FindDirectChildrenOnly)) return a;
  auto* a = new QWidget(label, Qt::Tool | Qt::FramelessWindowHint);
  a->setObjectName(kAnnouncer);
  a->setAttribute(Qt::WA_DontShowOnScreen);  // shown and hidden for readers only
  a->setAttribute(Qt::WA_ShowWithoutActivating);
  a->setFocusPolicy(Qt::NoFocus);
  a->setUpdatesEnabled(false);
  a->resize(1, 1);
  return a;
}

void Announce(QWidget* label, const QString& words) {
  QWidget* a = Announcer(label);
  a->hide();
  a->setAccessibleName(words);
  a->show();  // the reader hears "showing" and reads the name
}

// The keyboard focus a reader was last told of.
QPointer<QWidget> told;

}  // namespace

namespace Accessibility {

void Install(QWidget* window, bool messageBox) {
  static bool installed = false;
  if (!installed) QAccessible::installFactory(Factory);
  installed = true;
  window->setProperty(kWindowKind, messageBox ? kMessageBox : kDialog);
}

void Describe(QWidget* view, const ControlModel& c, const DialogModel& dialog) {
  QString name = QString::fromStdString(
      c.kind == ControlKind::Icon ? AccessibleNames::IconName(dialog.boxFlags & ViewStyle::kIconMask)
                                  : AccessibleNames::Name(dialog.templateId, c));
  if (!name.isEmpty()) view->setAccessibleName(name);
  QString description = QString::fromStdString(AccessibleNames::Description(dialog.templateId, c));
  if (!description.isEmpty()) view->setAccessibleDescription(description);
}

void TextChanged(QWidget* view, bool announce) {
  auto* label = dynamic_cast<StaticTextView*>(view);
  if (!label) return;  // Qt's own buttons and boxes tell of their new text themselves
  QAccessibleEvent changed(label, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
  QString words = LabelText(*label);
  if (!announce || words.isEmpty()) return;
  if (const StaticTextView* caption = CaptionOf(*label))
    words = LabelText(*caption) + QLatin1Char(' ') + words;
  Announce(label, words);
}

void FocusMoved(QWidget* view) {
  // The core reports its focus after every change of the dialog's focus or default button.
  if (!HasFocus(view) || told == view) return;
  told = view;
  QAccessibleEvent focus(view, QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}

void Activated(QWidget* focused) {
  told = nullptr;
  FocusMoved(focused);
}

QString WithoutMnemonic(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

}  // namespace Accessibility
