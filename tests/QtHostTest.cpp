// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop host on Qt's offscreen platform: the core's state as widgets, and Qt's input as
// the core's input. The windows are made by the real window system from the real templates;
// nothing here waits on the wall clock.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <map>
#include <set>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/AviClip.h"
#include "common/DataFiles.h"
#include "common/WindowSystem.h"
#include "host/qt/BitmapCache.h"
#include "host/qt/CheckBoxView.h"
#include "host/shared/ClipCompanion.h"
#include "host/qt/ClipView.h"
#include "host/qt/DialogUnits.h"
#include "host/qt/DialogWindow.h"
#include "host/qt/FontFit.h"
#include "host/qt/GeometryDump.h"
#include "host/qt/GroupBoxView.h"
#include "host/qt/HelpViewer.h"
#include "host/qt/IconView.h"
#include "host/shared/PictureSources.h"
#include "host/qt/PictureView.h"
#include "host/qt/ProgramIcon.h"
#include "host/qt/PushButtonView.h"
#include "host/qt/QtHost.h"
#include "host/qt/StaticTextView.h"
#include "host/qt/TrackbarView.h"
#include "host/qt/TrayIcon.h"
#include "host/shared/DialogTexts.h"
#include "res/ResourceIds.h"
#include "tests/support/QtHostFixture.h"

namespace {

struct Recorder : InputSink {
  void Push(InputEvent e) override { got.push_back(std::move(e)); }
  std::vector<InputEvent> got;
};

class QtHostTest : public QtHostFixture {
 protected:
  DialogWindow& Win(HWND dialog) { return *host.FindWindow(dialog); }
  HWND Item(HWND dialog, int id) { return ws.GetDlgItem(dialog, id); }
  template <class V>
  V* ViewOf(HWND dialog, int id) {
    return dynamic_cast<V*>(Win(dialog).View(Item(dialog, id)));
  }
  // What the widgets reported, as the core's loop collects it.
  std::vector<InputEvent> Collect() {
    Recorder r;
    host.Wait(clock.Now(), r);
    return r.got;
  }
  std::vector<InputEvent> Keys(QWidget* w, int key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(w, static_cast<Qt::Key>(key), mods);
    return Collect();
  }

};

// ---- Layout -------------------------------------------------------------------------------

TEST(DialogUnitsTest, ConvertsEachCoordinateWithTheClassicBaseUnits) {
  EXPECT_EQ(DialogUnits::ToPixels({7, 21, 132, 14}), QRect(10, 34, 198, 22));
  EXPECT_EQ(DialogUnits::ToPixels({0, 0, 217, 130}).size(), QSize(325, 211));
  EXPECT_EQ(DialogUnits::ToPixelsX(13), 19);
  EXPECT_EQ(DialogUnits::ToPixelsY(12), 19);
  EXPECT_EQ(DialogUnits::ToPixelsX(-1), -2);  // rounds down, also left of zero
  EXPECT_EQ(DialogUnits::Font().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(DialogUnits::Font().pointSize(), 8);
}

TEST_F(QtHostTest, MainWindowHasOneWidgetPerControlWhereItsTemplateSaysInTemplateOrder) {
  HWND main = Open(102);
  DialogWindow& w = Win(main);
  const DialogTemplate& t = *Resources::FindTemplate(102);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Quorblex Pro"));
  EXPECT_EQ(w.size(), QSize(325, 211));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());
  EXPECT_TRUE(w.isVisible());
  ASSERT_EQ(w.Views().size(), t.controls.size());
  for (size_t i = 0; i < t.controls.size(); ++i) {
    const ControlTemplate& c = t.controls[i];
    QWidget* widget = w.Views()[i].second->widget();
    QRect expected = DialogUnits::ToPixels(c.rect);
    EXPECT_EQ(widget->pos(), expected.topLeft()) << "control " << c.id;
    if (c.kind != ControlKind::Picture) {
      EXPECT_EQ(widget->size(), expected.size()) << c.id;
    }
    EXPECT_EQ(widget->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
  }
  // Later controls lie above earlier ones: the lamps are above the black screen.
  QWidget* screen = w.Views()[0].second->widget();
  QWidget* lamp = ViewOf<PictureView>(main, 1011);
  ASSERT_NE(lamp, nullptr);
  EXPECT_TRUE(screen->geometry().contains(lamp->geometry()));
  EXPECT_GT(w.children().indexOf(lamp), w.children().indexOf(screen));
}

TEST_F(QtHostTest, PicturesTakeTheirBitmapsSizeAndBorder) {
  HWND main = Open(102);
  auto* lamp = ViewOf<PictureView>(main, 1018);
  ASSERT_NE(lamp, nullptr);
  const QImage& off = lamp->image();
  ASSERT_FALSE(off.isNull()) << "the lamp picture 146 is not built in";
  EXPECT_EQ(lamp->BitmapId(), 146);
  EXPECT_EQ(lamp->size(), off.size());
  EXPECT_TRUE(lamp->testAttribute(Qt::WA_OpaquePaintEvent));

  HWND scan = Open(170, main);
  const Window* plate = nullptr;
  for (HWND h : ws.Find(scan)->children)
    if (ws.Find(h)->kind == ControlKind::Picture && ws.Find(h)->bitmapId == 171) plate = ws.Find(h);
  ASSERT_NE(plate, nullptr);
  auto* view = dynamic_cast<PictureView*>(Win(scan).View(plate->hwnd));
  EXPECT_EQ(view->Border(), 3);  // WS_BORDER and the client edge
  EXPECT_EQ(view->size(), view->image().size() + QSize(6, 6));
  EXPECT_EQ(view->pos(), DialogUnits::ToPixels(plate->rect).topLeft());
}

// ---- High-density screens ----------------------------------------------------------------

// What `view` paints on a screen of device pixel ratio `dpr`, in device pixels.
QImage Painted(QWidget* view, double dpr) {
  QSize px = (QSizeF(view->size()) * dpr).toSize();
  QImage out(px, QImage::Format_RGB32);
  out.setDevicePixelRatio(dpr);
  out.fill(Qt::magenta);
  view->render(&out);
  return out;
}

// How many pixels of `a` and `b` differ (all of them when the sizes do).
int PixelsApart(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height() + 1;
  int apart = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) apart += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
  return apart;
}

TEST(PictureSourcesTest, AScreenGetsTheSmallestDrawingAtOrAboveItsRatio) {
  const std::vector<double> drawn{1, 1.5, 2};
  EXPECT_EQ(PictureSources::Choose(drawn, 1), 1);
  EXPECT_EQ(PictureSources::Choose(drawn, 1.25), 1.5);  // reduced a little, never enlarged
  EXPECT_EQ(PictureSources::Choose(drawn, 1.4999999), 1.5);
  EXPECT_EQ(PictureSources::Choose(drawn, 1.5), 1.5);
  EXPECT_EQ(PictureSources::Choose(drawn, 1.75), 2);
  EXPECT_EQ(PictureSources::Choose(drawn, 2.0000001), 2);
  EXPECT_EQ(PictureSources::Choose(drawn, 3), 2);  // the densest there is
  EXPECT_EQ(PictureSources::Choose({1}, 2), 1);
  EXPECT_EQ(PictureSources::Choose({}, 2), 0);

  // Every compiled-in bitmap is drawn for each ratio, at that ratio's size.
  for (int id : {146, 147, 168, 171, 178, 179, 180, 181, 182}) {
    ASSERT_EQ(PictureSources::RatiosOf(id), drawn) << id;
    const QImage& one = BitmapCache::Get(id);
    for (double r : {1.5, 2.0}) {
      const QImage& big = BitmapCache::ForScreen(id, r);
      EXPECT_EQ(big.devicePixelRatio(), r) << id;
      EXPECT_NEAR(big.width(), one.width() * r, 0.5) << id;
      EXPECT_NEAR(big.height(), one.height() * r, 0.5) << id;
    }
  }
  EXPECT_TRUE(PictureSources::RatiosOf(999).empty());
  EXPECT_TRUE(BitmapCache::ForScreen(999, 2).isNull());
}

TEST_F(QtHostTest, PicturesPaintTheDrawingMadeForTheScreensRatioInTheSamePlace) {
  HWND main = Open(102);
  auto* lamp = ViewOf<PictureView>(main, 1018);
  ASSERT_FALSE(lamp->image().isNull()) << "the lamp pictures are not built in";
  EXPECT_EQ(lamp->size(), QSize(20, 20));  // logical pixels at every ratio
  for (double r : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(r);
    const QImage& source = lamp->SourceFor(r);
    EXPECT_EQ(source.devicePixelRatio(), r);
    EXPECT_EQ(source.deviceIndependentSize(), QSizeF(20, 20));
    // Painted pixel for pixel: the screen shows the drawing itself, nothing enlarged.
    QImage shot = Painted(lamp, r);
    EXPECT_EQ(PixelsApart(shot, source), 0);
  }

  // The sensor plate inside its border: the 2x board starts two device pixels per border pixel
  // in, and the border itself stays where it was.
  HWND scan = Open(170, main);
  PictureView* plate = nullptr;
  for (HWND h : ws.Find(scan)->children)
    if (ws.Find(h)->bitmapId == 171) plate = dynamic_cast<PictureView*>(Win(scan).View(h));
  ASSERT_NE(plate, nullptr);
  QImage shot = Painted(plate, 2);
  const QImage& board = plate->SourceFor(2);
  ASSERT_EQ(board.size(), QSize(708, 464));
  int b = 2 * plate->Border();
  for (QPoint at : {QPoint(0, 0), QPoint(351, 200), QPoint(707, 463)})
    EXPECT_EQ(shot.pixel(at + QPoint(b, b)), board.pixel(at)) << at.x() << "," << at.y();
  EXPECT_EQ(shot.pixel(0, 0), 0xFF000000u);  // the black border line
}

TEST_F(QtHostTest, TheClipShowsItsCompanionDrawnForTheScreensRatio) {
  DataFiles::SetSearchDirs({QUORBLEX_SOURCE_DIR "/res"});
  HWND main = Open(102);
  HWND anim = Item(main, 1005);
  auto* clip = ViewOf<ClipView>(main, 1005);
  ws.ClipOpen(anim, "qx.avi");
  ASSERT_TRUE(ws.Find(anim)->clip) << "res/qx.avi missing";
  EXPECT_EQ(clip->SourceRatio(), 1);  // the offscreen screen is ratio 1
  EXPECT_EQ(clip->image().size(), QSize(300, 96));

  ws.ClipPlay(anim, 0, 65535, -1);
  clip->Advance(5 * 67);
  int frame = clip->CurrentFrame();
  ASSERT_GT(frame, 0);
  for (double r : {1.5, 2.0}) {
    SCOPED_TRACE(r);
    clip->UseRatio(r);
    EXPECT_EQ(clip->SourceRatio(), r);
    EXPECT_EQ(clip->CurrentFrame(), frame);  // the same frame, drawn finer
    EXPECT_EQ(clip->image().size(), (QSizeF(300, 96) * r).toSize());
    EXPECT_EQ(clip->image().deviceIndependentSize(), QSizeF(300, 96));
    // Painted at the ratio, it shows the companion's pixels.
    QImage shot = Painted(clip, r);
    QPoint at = QPoint((clip->width() - 300) / 2, (clip->height() - 96) / 2) * r;
    ASSERT_GE(at.x(), 0);
    ASSERT_GE(at.y(), 0);
    EXPECT_EQ(PixelsApart(shot.copy(QRect(at, clip->image().size())), clip->image()), 0);
  }
  clip->UseRatio(1);
  EXPECT_EQ(clip->image().size(), QSize(300, 96));

  // A clip without companions, or with one that does not fit, is shown as the core has it.
  EXPECT_EQ(ClipCompanion::NameFor("qx.avi", 2), "qx@2x.avi");
  EXPECT_EQ(ClipCompanion::NameFor("qx.avi", 1.5), "qx@1.5x.avi");
  EXPECT_EQ(ClipCompanion::NameFor("clip", 2), "clip@2x");
  QTemporaryDir dir;
  QFile::copy(QUORBLEX_SOURCE_DIR "/tests/data/testsrc_pal8.avi", dir.filePath("t.avi"));
  QFile::copy(QUORBLEX_SOURCE_DIR "/res/qx.avi", dir.filePath("t@2x.avi"));  // other frames
  DataFiles::SetSearchDirs({dir.path().toStdString()});
  ws.ClipOpen(anim, "t.avi");
  ASSERT_TRUE(ws.Find(anim)->clip);
  clip->UseRatio(2);
  EXPECT_EQ(clip->SourceRatio(), 1);
  EXPECT_EQ(clip->image().size(), QSize(ws.Find(anim)->clip->Width(), ws.Find(anim)->clip->Height()));
  clip->UseRatio(1.5);  // no t@1.5x.avi at all
  EXPECT_EQ(clip->SourceRatio(), 1);
  ws.ClipClose(anim);
}

TEST(ProgramIconTest, HoldsEveryEmbeddedSize) {
  QIcon icon = ProgramIcon::Get();
  std::vector<int> sizes = PictureSources::IconSizes();
  ASSERT_GE(sizes.size(), 4u);
  QList<QSize> available = icon.availableSizes();
  for (int s : sizes) EXPECT_TRUE(available.contains(QSize(s, s))) << s;
  // A 16 px place on a ratio-2 screen gets the 32 px drawing, not the 16 px one enlarged.
  QPixmap small = icon.pixmap(QSize(16, 16), 2.0);
  EXPECT_EQ(small.size(), QSize(32, 32));
  EXPECT_EQ(PixelsApart(small.toImage(), icon.pixmap(QSize(32, 32), 1.0).toImage()), 0);
}

// ---- The core's state on screen ---------------------------------------------------------

TEST_F(QtHostTest, TextsPicturesAndEnabledStateFollowTheCore) {
  HWND main = Open(102);
  HWND progress = Open(148, main);
  auto* status = ViewOf<StaticTextView>(progress, 1019);
  ASSERT_NE(status, nullptr);
  EXPECT_TRUE(status->text().isEmpty());
  ws.SetText(Item(progress, 1019), "Checking tabloid headlines...");
  EXPECT_EQ(status->text(), QStringLiteral("Checking tabloid headlines..."));

  auto* abort = ViewOf<PushButtonView>(progress, 1);
  ws.SetText(Item(progress, 1), "&Stop");
  EXPECT_EQ(abort->text(), QStringLiteral("&Stop"));
  EXPECT_TRUE(abort->shortcut().isEmpty());  // the mnemonic is the dialog's, not Qt's
  ws.Enable(Item(progress, 1), false);
  EXPECT_FALSE(abort->isEnabled());
  ws.Enable(Item(progress, 1), true);
  EXPECT_TRUE(abort->isEnabled());

  auto* lamp = ViewOf<PictureView>(progress, 1012);
  HBITMAP on = ws.LoadBitmap(147);
  ASSERT_TRUE(on) << "the lamp picture 147 is not built in";
  ws.SetPicture(Item(progress, 1012), on);
  EXPECT_EQ(lamp->BitmapId(), 147);
  ws.SetPicture(Item(progress, 1012), 0);
  EXPECT_EQ(lamp->BitmapId(), 0);
  EXPECT_TRUE(lamp->image().isNull());

  ws.Show(Item(progress, 1019), SW_HIDE);
  EXPECT_FALSE(status->isVisible());
  ws.Show(Item(progress, 1019), SW_SHOW);
  EXPECT_TRUE(status->isVisible());
}

TEST_F(QtHostTest, StaticTextsAlignAndShowMnemonicsAsTheirStylesSay) {
  HWND results = Open(149);
  // "Alien Presence:" is right aligned; the result line beside it is left aligned.
  auto* label = dynamic_cast<StaticTextView*>(Win(results).Views()[1].second);
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->DrawFlags() & Qt::AlignRight);
  EXPECT_TRUE(label->DrawFlags() & Qt::TextWordWrap);
  auto* result = ViewOf<StaticTextView>(results, 1020);
  EXPECT_TRUE(result->DrawFlags() & Qt::AlignLeft);
  EXPECT_TRUE(result->DrawFlags() & Qt::TextShowMnemonic);

  HWND about = Open(100);
  auto* version = dynamic_cast<StaticTextView*>(Win(about).Views()[0].second);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), QStringLiteral("Quorblex Pro Version 1.0a"));
  EXPECT_FALSE(version->DrawFlags() & Qt::TextShowMnemonic);  // SS_NOPREFIX
}

// ---- One text width a dialog ----------------------------------------------------------------

// The font a control's text is drawn in, as a comparable value.
std::string FontKey(const QFont& f) {
  QFontInfo info(f);
  return info.family().toStdString() + " " + std::to_string(f.pointSizeF()) + "pt " +
         std::to_string(f.stretch()) + "% " + std::to_string(f.weight());
}

// Whether the text a control shows now stands whole inside it, by the style's own layout of
// the control rather than by the margins the host reckons with.
::testing::AssertionResult Whole(ControlView* view) {
  QFontMetrics m = view->widget()->fontMetrics();
  QString text;
  QRect room;
  QSize need;
  if (auto* t = dynamic_cast<StaticTextView*>(view)) {
    text = t->text();
    room = t->rect();
    need = m.boundingRect(room, t->DrawFlags(), text).size();
  } else if (auto* b = dynamic_cast<QAbstractButton*>(view->widget())) {
    // A push button's label: inside the sunken well and the default frame.
    bool check = dynamic_cast<CheckBoxView*>(view);
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = text = b->text();
    if (!check) option.rect.adjust(3, 3, -3, -3);
    room = b->style()->subElementRect(
        check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, b);
    need = {m.size(Qt::TextShowMnemonic, text).width(), 0};
  } else if (auto* g = dynamic_cast<GroupBoxView*>(view)) {
    text = g->title();
    room = g->rect().adjusted(8, 0, -8, 0);  // the title's margins in the frame's edge
    need = {m.size(Qt::TextShowMnemonic, text).width(), 0};
  }
  if (need.width() <= room.width() && need.height() <= room.height())
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << '"' << text.toStdString() << "\" needs " << need.width()
                                       << " x " << need.height() << " px, has " << room.width()
                                       << " x " << room.height();
}

TEST_F(QtHostTest, EveryDialogHasOneFontAndEveryTextItCanShowStandsWhole) {
  HWND main = Open(102);
  std::vector<const DialogTemplate*> dialogs;
  for (int id : Resources::TemplateIds()) dialogs.push_back(Resources::FindTemplate(id));
  const DialogTemplate alert = MonitorAlertBox();
  dialogs.push_back(&alert);
  std::map<int, int> stretch;
  for (const DialogTemplate* t : dialogs) {
    SCOPED_TRACE("dialog " + TemplateLabel(t->id));
    HWND d = t->id == 102 ? main : Open(*t, main);
    std::string font;
    ASSERT_EQ(Win(d).Views().size(), t->controls.size());  // in template order
    for (size_t i = 0; i < t->controls.size(); ++i) {
      auto [h, view] = Win(d).Views()[i];
      if (view->Room().size.isEmpty()) continue;
      SCOPED_TRACE("control #" + std::to_string(i));
      if (font.empty()) font = FontKey(view->widget()->font());
      EXPECT_EQ(FontKey(view->widget()->font()), font);
      EXPECT_TRUE(Whole(view));
      // Each value the program can put there later, the longest result lines among them.
      for (const std::string& text : DialogTexts::Later(t->id, t->controls[i].id)) {
        ws.SetText(h, text);
        EXPECT_TRUE(Whole(view));
      }
    }
    // Foreseen: none of those values made the dialog narrower after it was made.
    for (auto& [h, view] : Win(d).Views()) EXPECT_EQ(FontKey(view->widget()->font()), font);
    EXPECT_EQ(QFontInfo(Win(d).font()).family().left(11), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(Win(d).font().pointSize(), 8);
    stretch[t->id] = Win(d).font().stretch();
  }
  EXPECT_EQ(stretch[102], 100);  // the main window keeps its look
  EXPECT_LT(stretch[149], 100);  // "Abduction Probability:" is too wide for its 70 units
  EXPECT_LT(stretch[174], 100);  // and the verdict keeps its three lines
  // That narrow, the face's own condensed drawing (fonts-dejavu-extra), not Book squeezed.
  EXPECT_EQ(QFontInfo(FontFit::AtStretch(DialogUnits::Font(), stretch[149])).styleName(),
            QStringLiteral("Condensed"));

  // A text nobody foresaw narrows the whole dialog, not only its own control.
  HWND results = Open(149, main);
  auto* presence = ViewOf<StaticTextView>(results, IDC_PRESENCE);
  ws.SetText(Item(results, IDC_PRESENCE), "Detected Twice: The Great Gazoo!");
  EXPECT_TRUE(Whole(presence));
  EXPECT_LT(presence->font().stretch(), stretch[149]);
  for (auto& [h, view] : Win(results).Views())
    EXPECT_EQ(FontKey(view->widget()->font()), FontKey(presence->font()));
}

// The texts a host foresees for a dialog are the ones the program shows: in many full and
// abductee scans on the simulator, each result line and verdict shows every one of them and no
// other.
TEST(DialogTextsTest, AreWhatTheProgramRevealsInManyScans) {
  QTemporaryDir dir;
  const std::string profile = dir.filePath("quorblex.ini").toStdString();
  const std::string script = dir.filePath("scans.txt").toStdString();
  std::ofstream(profile) << "[Options]\nUseSounds=0\nMonitor=0\n";
  std::ofstream scans(script);
  for (int i = 0; i < 400; ++i) {
    scans << "click 1000\nwait 15000\nkey Enter\nwait 100\n"
             "click 3\nwait 500\nkey Enter\nwait 1000\nkey Enter\nwait 100\n";
    // Halfway, the first scanning method is switched off: its step says "Scanning...".
    if (i == 200) scans << "click 1002\nwait 100\nclick 1025\nkey Enter\nwait 100\n";
  }
  scans.close();
  FILE* sim = ::popen((QUORBLEX_SIM " --seed 7 --profile " + profile + " " + script).c_str(), "r");
  ASSERT_NE(sim, nullptr);
  std::map<std::pair<int, int>, std::set<std::string>> shown, foreseen;
  char line[4096];
  int win = 0, id = 0, at = 0;
  while (std::fgets(line, sizeof line, sim)) {
    if (std::sscanf(line, "%*d text %d %d \"%n", &win, &id, &at) < 2 || at == 0) continue;
    std::string text;
    for (const char* c = line + at; *c && *c != '"'; ++c)
      text += *c != '\\' ? *c : *++c == 'n' ? '\n' : *c;
    if (!text.empty()) shown[{win, id}].insert(text);
  }
  ASSERT_EQ(::pclose(sim), 0);
  for (int w : {IDD_SCAN_PROGRESS, IDD_SCAN_RESULTS, IDD_ABDUCTEE_RESULTS})
    for (const ControlTemplate& c : Resources::FindTemplate(w)->controls)
      for (const std::string& text : DialogTexts::Later(w, c.id)) foreseen[{w, c.id}].insert(text);
  EXPECT_EQ(shown, foreseen);
}

TEST_F(QtHostTest, CheckboxesAndTrackbarShowTheCoresState) {
  HWND setup = Open(169);
  auto* sounds = ViewOf<CheckBoxView>(setup, 1024);
  EXPECT_FALSE(sounds->isChecked());
  ws.SetCheck(Item(setup, 1024), 1);
  EXPECT_TRUE(sounds->isChecked());
  ws.SetCheck(Item(setup, 1024), 0);
  EXPECT_FALSE(sounds->isChecked());

  auto* bar = ViewOf<TrackbarView>(setup, 1031);
  ws.SetTrackRange(Item(setup, 1031), 1, 10);
  ws.SetTrackPos(Item(setup, 1031), 7);
  EXPECT_EQ(bar->minimum(), 1);
  EXPECT_EQ(bar->maximum(), 10);
  EXPECT_EQ(bar->value(), 7);
  EXPECT_EQ(bar->tickPosition(), QSlider::TicksAbove);
  EXPECT_EQ(bar->tickInterval(), 1);
  EXPECT_EQ(bar->orientation(), Qt::Horizontal);
}

TEST_F(QtHostTest, DefaultFrameAndFocusLookFollowTheCore) {
  HWND main = Open(102);
  auto* scan = ViewOf<PushButtonView>(main, 1000);
  auto* exit = ViewOf<PushButtonView>(main, 2);
  // The clip control has the focus at first, so the template's default button has the frame.
  EXPECT_TRUE(scan->isDefault());
  EXPECT_FALSE(exit->isDefault());
  EXPECT_FALSE(scan->FocusLook());

  ws.SetFocus(Item(main, 2));
  EXPECT_TRUE(exit->isDefault());
  EXPECT_TRUE(exit->FocusLook());
  EXPECT_FALSE(scan->isDefault());
  for (auto& [h, view] : Win(main).Views())
    if (auto* b = dynamic_cast<PushButtonView*>(view); b && b != exit) {
      EXPECT_FALSE(b->isDefault());
      EXPECT_FALSE(b->FocusLook());
    }
  EXPECT_EQ(QApplication::focusWidget(), nullptr);  // Qt's own focus is never used

  HWND setup = Open(169, main);
  auto* sounds = ViewOf<CheckBoxView>(setup, 1024);
  EXPECT_TRUE(sounds->FocusLook());
  ws.SetFocus(Item(setup, 1031));
  EXPECT_FALSE(sounds->FocusLook());
  EXPECT_TRUE(ViewOf<TrackbarView>(setup, 1031)->FocusLook());
  EXPECT_TRUE(ViewOf<PushButtonView>(setup, 1)->isDefault());
}

// ---- Input --------------------------------------------------------------------------------

TEST_F(QtHostTest, AButtonClickIsReportedWithItsIdAndNothingElseHappens) {
  HWND main = Open(102);
  QTest::mouseClick(ViewOf<PushButtonView>(main, 1001), Qt::LeftButton);
  auto got = Collect();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, InputEvent::Kind::Click);
  EXPECT_EQ(got[0].target, main);
  EXPECT_EQ(got[0].id, 1001);
  EXPECT_TRUE(Collect().empty());

  ws.Enable(Item(main, 1001), false);
  QTest::mouseClick(ViewOf<PushButtonView>(main, 1001), Qt::LeftButton);
  EXPECT_TRUE(Collect().empty());
}

TEST_F(QtHostTest, ACheckboxDoesNotTickItselfTheCoreDoes) {
  HWND setup = Open(169);
  auto* box = ViewOf<CheckBoxView>(setup, 1027);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_FALSE(box->isChecked());
  auto got = Collect();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, InputEvent::Kind::Click);
  EXPECT_EQ(got[0].id, 1027);
  // The core ticks an automatic checkbox when it handles the click; then the view follows.
  ws.SetCheck(Item(setup, 1027), 1);
  EXPECT_TRUE(box->isChecked());
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_TRUE(box->isChecked());
}

TEST_F(QtHostTest, KeysBecomeTheCoresKeysAndQtMovesNoFocus) {
  HWND main = Open(102);
  DialogWindow* w = &Win(main);
  auto key = [&](int k, Qt::KeyboardModifiers mods = {}) {
    auto got = Keys(w, k, mods);
    EXPECT_EQ(got.size(), 1u) << k;
    return got.empty() ? InputEvent{} : got[0];
  };
  EXPECT_EQ(key(Qt::Key_Return).key, Key::Enter);
  EXPECT_EQ(key(Qt::Key_Enter).key, Key::Enter);
  EXPECT_EQ(key(Qt::Key_Escape).key, Key::Escape);
  EXPECT_EQ(key(Qt::Key_Space).key, Key::Space);
  EXPECT_EQ(key(Qt::Key_Tab).key, Key::Tab);
  EXPECT_EQ(key(Qt::Key_Backtab, Qt::ShiftModifier).key, Key::ShiftTab);
  EXPECT_EQ(key(Qt::Key_Left).key, Key::Left);
  EXPECT_EQ(key(Qt::Key_Right).key, Key::Right);
  EXPECT_EQ(key(Qt::Key_Up).key, Key::Up);
  EXPECT_EQ(key(Qt::Key_Down).key, Key::Down);
  EXPECT_EQ(key(Qt::Key_Home).key, Key::Home);
  EXPECT_EQ(key(Qt::Key_End).key, Key::End);
  EXPECT_EQ(key(Qt::Key_PageUp).key, Key::PageUp);
  EXPECT_EQ(key(Qt::Key_PageDown).key, Key::PageDown);
  InputEvent alt = key(Qt::Key_X, Qt::AltModifier);
  EXPECT_EQ(alt.key, Key::Letter);
  EXPECT_EQ(alt.letter, 'X');
  EXPECT_TRUE(alt.alt);
  EXPECT_EQ(alt.target, main);
  InputEvent bare = key(Qt::Key_S);
  EXPECT_EQ(bare.letter, 'S');
  EXPECT_FALSE(bare.alt);
  EXPECT_TRUE(Keys(w, Qt::Key_S, Qt::ControlModifier).empty());
  EXPECT_TRUE(Keys(w, Qt::Key_F5).empty());
  EXPECT_EQ(QApplication::focusWidget(), nullptr);
  // A button's mnemonic never fires through Qt: Alt+S is only a key for the core.
  auto got = Keys(w, Qt::Key_S, Qt::AltModifier);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, InputEvent::Kind::Key);
}

TEST_F(QtHostTest, TheCloseBoxAsksTheCoreAndTheWindowStays) {
  HWND main = Open(102);
  Win(main).close();
  EXPECT_TRUE(Win(main).isVisible());
  auto got = Collect();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, InputEvent::Kind::Close);
  EXPECT_EQ(got[0].target, main);
}

TEST_F(QtHostTest, WindowMenuIsBuiltFromTheCoresItemsAndReportsTheChoice) {
  HWND main = Open(102);
  ws.AppendMenuItem(main, {0, ""});
  ws.AppendMenuItem(main, {16, "&About Quorblex Pro..."});
  EXPECT_TRUE(Keys(&Win(main), Qt::Key_Space, Qt::AltModifier).empty());
  QMenu* menu = Win(main).OpenSystemMenu();
  ASSERT_NE(menu, nullptr);
  auto actions = menu->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), QStringLiteral("&Close"));
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_EQ(actions[2]->text(), QStringLiteral("&About Quorblex Pro..."));
  actions[2]->trigger();
  menu->close();
  auto got = Collect();

  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, InputEvent::Kind::SysCommand);
  EXPECT_EQ(got[0].target, main);
  EXPECT_EQ(got[0].id, 16);
  // The closed menu goes away once the loop next waits (here: for a click).
  QTimer::singleShot(0,
                     [&] { QTest::mouseClick(ViewOf<PushButtonView>(main, 1), Qt::LeftButton); });
  Recorder r;
  host.Wait(-1, r);
  EXPECT_EQ(Win(main).OpenSystemMenu(), nullptr);
}

TEST_F(QtHostTest, AnOwnerOfAModalDialogHearsNothingButIsNotGreyed) {
  HWND main = Open(102);
  ws.Enable(main, false);
  HWND about = Open(100, main);
  EXPECT_TRUE(Win(main).InputBlocked());
  EXPECT_TRUE(Win(main).isEnabled());
  EXPECT_TRUE(ViewOf<PushButtonView>(main, 1000)->isEnabled());
  QTest::mouseClick(ViewOf<PushButtonView>(main, 1000), Qt::LeftButton);
  EXPECT_TRUE(Keys(&Win(main), Qt::Key_Return).empty());
  EXPECT_TRUE(Collect().empty());
  // The dialog itself hears its input; it lies above its owner and is placed centred on it.
  EXPECT_EQ(Keys(&Win(about), Qt::Key_Escape).size(), 1u);
  EXPECT_EQ(Win(about).parentWidget(), &Win(main));
  EXPECT_EQ(Win(about).geometry().center(), Win(main).geometry().center());

  ws.Enable(main, true);
  QTest::mouseClick(ViewOf<PushButtonView>(main, 1000), Qt::LeftButton);
  EXPECT_EQ(Collect().size(), 1u);
}

TEST_F(QtHostTest, DialogsWithoutCentringSitAtTheirPlaceInTheOwnersClientArea) {
  HWND main = Open(102);
  HWND progress = Open(148, main);
  EXPECT_EQ(Win(progress).geometry().topLeft(), Win(main).geometry().topLeft());
  EXPECT_EQ(Win(progress).size(), QSize(223, 107));
  EXPECT_TRUE(Win(progress).windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(Win(progress).windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(Win(progress).windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(QtHostTest, ATrackbarDragIsReportedAndTheThumbWaitsForTheCore) {
  HWND setup = Open(169);
  ws.SetTrackRange(Item(setup, 1031), 1, 10);
  ws.SetTrackPos(Item(setup, 1031), 3);
  auto* bar = ViewOf<TrackbarView>(setup, 1031);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(bar->value(), 3);
  auto got = Collect();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, InputEvent::Kind::Slide);
  EXPECT_EQ(got[0].id, 1031);
  EXPECT_EQ(got[0].pos, 4);
  EXPECT_EQ(got[0].target, setup);
  ws.SetTrackPos(Item(setup, 1031), 4);  // the core takes it
  EXPECT_EQ(bar->value(), 4);
}

TEST_F(QtHostTest, TheCoresMinimizeAndTheDesktopsRestoreAreTold) {
  HWND main = Open(102);
  ws.Show(main, SW_MINIMIZE);
  EXPECT_TRUE(Win(main).isMinimized());
  EXPECT_FALSE(Win(main).updatesEnabled());  // nothing is painted while it is down
  EXPECT_TRUE(Collect().empty());
  // The user brings it back from the task bar: the core hears it as such.
  Win(main).setWindowState(Qt::WindowNoState);
  auto got = Collect();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, InputEvent::Kind::Taskbar);
  ws.Show(main, SW_RESTORE);
  EXPECT_FALSE(Win(main).isMinimized());
  EXPECT_TRUE(Win(main).updatesEnabled());
  ws.Show(main, SW_HIDE);
  EXPECT_FALSE(Win(main).isVisible());
  ws.Show(main, SW_SHOW);
  EXPECT_TRUE(Win(main).isVisible());
}

TEST_F(QtHostTest, AMessageBoxShowsItsIconAndDefaultButton) {
  const DialogTemplate box = MonitorAlertBox();
  HWND h = Open(box);
  DialogWindow& w = Win(h);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Quorblex Pro"));
  EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);  // no Cancel: no close box
  auto* icon = dynamic_cast<IconView*>(w.Views()[0].second);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->IconFlags(), MB_ICONEXCLAMATION);
  EXPECT_EQ(icon->size(), QSize(32, 32));
  EXPECT_TRUE(ViewOf<PushButtonView>(h, IDYES)->isDefault());
  EXPECT_TRUE(GeometryDump::Lines(w).rfind("msgbox window ", 0) == 0);
}

TEST_F(QtHostTest, GeometryDumpListsTheWindowAndEachControlInTemplateOrder) {
  HWND main = Open(102);
  std::string lines = GeometryDump::Lines(Win(main));
  QPoint at = Win(main).geometry().topLeft();
  std::string first =
      "102 window " + std::to_string(at.x()) + " " + std::to_string(at.y()) + " 325 211\n";
  EXPECT_EQ(lines.substr(0, first.size()), first);
  EXPECT_NE(lines.find("\n102 -1 3 4 319 143\n"), std::string::npos);
  EXPECT_NE(lines.find("\n102 2 216 182 100 26\n"), std::string::npos);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'),
            static_cast<long>(Resources::FindTemplate(102)->controls.size() + 1));
}

// ---- The animation control --------------------------------------------------------------

TEST_F(QtHostTest, TheClipPlaysItsFramesAtItsRateAndStopsOnTheLast) {
  DataFiles::SetSearchDirs({QUORBLEX_SOURCE_DIR "/tests/data"});
  HWND main = Open(102);
  HWND anim = Item(main, 1005);
  auto* clip = ViewOf<ClipView>(main, 1005);
  EXPECT_EQ(clip->CurrentFrame(), -1);
  ws.ClipOpen(anim, "testsrc_pal8.avi");
  const Window* c = ws.Find(anim);
  ASSERT_TRUE(c->clip) << "test clip missing";
  int frames = c->clip->FrameCount();
  int64_t periodMs = c->clip->MicrosPerFrame() / 1000;
  ASSERT_GT(frames, 2);
  EXPECT_EQ(clip->CurrentFrame(), 0);

  ws.ClipPlay(anim, 1, 65535, 2);
  EXPECT_TRUE(clip->Playing());
  EXPECT_EQ(clip->CurrentFrame(), 1);
  clip->Advance(periodMs + 1);
  EXPECT_EQ(clip->CurrentFrame(), 2);
  clip->Advance(periodMs * (frames - 1) + 1);  // the second time round
  EXPECT_EQ(clip->CurrentFrame(), 1);
  EXPECT_TRUE(clip->Playing());
  clip->Advance(periodMs * 2 * (frames - 1) + 1);
  EXPECT_FALSE(clip->Playing());
  EXPECT_EQ(clip->CurrentFrame(), frames - 1);

  ws.ClipPlay(anim, 0, 1, -1);  // for ever, two frames
  clip->Advance(periodMs * 1001 + 1);
  EXPECT_TRUE(clip->Playing());
  EXPECT_EQ(clip->CurrentFrame(), 1);

  ws.ClipClose(anim);
  EXPECT_FALSE(clip->Playing());
  EXPECT_EQ(clip->CurrentFrame(), -1);
  ws.ClipOpen(anim, "no such clip.avi");
  EXPECT_EQ(clip->CurrentFrame(), -1);
}

// ---- The loop, the notification icon and help ----------------------------------------------

TEST_F(QtHostTest, WaitHandsOverWaitingInputAtOnceAndWakesForNewInput) {
  HWND main = Open(102);
  QTest::mouseClick(ViewOf<PushButtonView>(main, 2), Qt::LeftButton);
  Recorder r;
  host.Wait(-1, r);  // there is input already: no waiting
  ASSERT_EQ(r.got.size(), 1u);

  // Nothing waiting and no deadline: input made later by the desktop ends the wait.
  QTimer::singleShot(
      0, [&] { QTest::mouseClick(ViewOf<PushButtonView>(main, 1002), Qt::LeftButton); });
  Recorder later;
  host.Wait(-1, later);
  ASSERT_EQ(later.got.size(), 1u);
  EXPECT_EQ(later.got[0].id, 1002);

  Recorder none;
  host.Wait(clock.Now() - 5, none);  // a deadline already past only collects
  EXPECT_TRUE(none.got.empty());
}

TEST_F(QtHostTest, TheNotificationIconMapsMouseEventsAndNeedsANotificationArea) {
  EXPECT_EQ(TrayIcon::MessageFor(QSystemTrayIcon::Trigger), 0x201);
  EXPECT_EQ(TrayIcon::MessageFor(QSystemTrayIcon::Context), 0x205);
  EXPECT_EQ(TrayIcon::MessageFor(QSystemTrayIcon::DoubleClick), 0x203);
  EXPECT_EQ(TrayIcon::MessageFor(QSystemTrayIcon::MiddleClick), 0);
  EXPECT_EQ(host.TrayAdd("Quorblex Pro"), TrayIcon::Available());
  host.TrayDelete();
  EXPECT_EQ(host.Tray(), nullptr);
}

TEST_F(QtHostTest, HelpOpensTheProgramsOwnViewerOnlyForAPageThatExists) {
  host.ShowHelp("quorblex.html", "");
  EXPECT_EQ(host.Help(), nullptr);
  std::string page = QUORBLEX_SOURCE_DIR "/res/quorblex.html";
  host.ShowHelp("quorblex.html", page);
  ASSERT_NE(host.Help(), nullptr);
  EXPECT_EQ(host.Help()->windowTitle(), QStringLiteral("Quorblex Pro Help"));
  EXPECT_TRUE(host.Help()->isVisible());
  HelpViewer* first = host.Help();
  host.ShowHelp("quorblex.html", page);
  EXPECT_EQ(host.Help(), first);  // the same window comes up again
}

}  // namespace

// The offscreen platform says so each time a window is raised; nothing to see there.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QStringLiteral("This plugin does not support"))) return;
  qt_message_output(type, context, text);
}

int main(int argc, char** argv) {
  // Listing the tests must work without a display too.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qInstallMessageHandler(QuietOffscreen);
  QApplication app(argc, argv);
  QApplication::setFont(DialogUnits::Font());
  // The program's own look, whose controls leave their texts the room the program's do.
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
