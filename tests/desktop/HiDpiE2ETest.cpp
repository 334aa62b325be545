// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program on screens of device pixel ratio 1, 1.5 and 2 (QT_SCALE_FACTOR on a
// private X server): the layout in dialog units stays as it is, and the lamps, the portrait,
// the sensor plate and the clip on screen are the drawings made for that ratio, pixel for pixel,
// not the 1x pictures enlarged. Screenshots go to screenshots/hidpi-*.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "common/AviClip.h"
#include "common/BmpImage.h"
#include "common/DialogTemplate.h"
#include "tests/desktop/Harness.h"

namespace {

const std::string kRes = QUORBLEX_SOURCE_DIR "/res/";

std::string Suffix(double ratio) {
  if (ratio == 1) return "";
  return ratio == 2 ? "@2x" : "@1.5x";
}

// A picture file of res/ as screen pixels (0xRRGGBB); empty when it does not decode.
Pixels Picture(int id, double ratio) {
  std::ifstream in(kRes + "bitmaps/" + std::to_string(id) + Suffix(ratio) + ".bmp",
                   std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  auto bmp = BmpImage::Decode(bytes.data(), bytes.size());
  Pixels p;
  if (!bmp) return p;
  p.w = bmp->width;
  p.h = bmp->height;
  for (uint32_t px : bmp->pixels) p.rgb.push_back(px & 0xFFFFFF);
  return p;
}

// `p` enlarged `k` times by repeating pixels: what a screen shows of a 1x picture.
Pixels Enlarged(const Pixels& p, int k) {
  Pixels out;
  out.w = p.w * k;
  out.h = p.h * k;
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) out.rgb.push_back(p.At(x / k, y / k));
  return out;
}

// The top-left `w` x `h` pixels of `p`.
Pixels Corner(const Pixels& p, int w, int h) {
  Pixels out;
  out.w = std::min(w, p.w);
  out.h = std::min(h, p.h);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) out.rgb.push_back(p.At(x, y));
  return out;
}

// Where in template order the control that `is` picks stands.
template <class Pick>
int IndexIn(int templateId, Pick is) {
  const auto& controls = Resources::FindTemplate(templateId)->controls;
  for (size_t i = 0; i < controls.size(); ++i)
    if (is(controls[i])) return static_cast<int>(i);
  return -1;
}
int PictureIndex(int templateId, int bitmap) {
  return IndexIn(templateId, [&](const ControlTemplate& c) {
    return c.kind == ControlKind::Picture && c.bitmap == bitmap;
  });
}
int ControlIndex(int templateId, int id) {
  return IndexIn(templateId, [&](const ControlTemplate& c) { return c.id == id; });
}

// Whether `picture`, less `trim` columns and rows at its right and bottom edge, stands
// somewhere in `area`.
bool Shows(const Pixels& area, const Pixels& picture, int trim = 0) {
  int w = picture.w - trim, h = picture.h - trim;
  if (w <= 0 || h <= 0) return false;
  for (int oy = 0; oy + h <= area.h; ++oy) {
    for (int ox = 0; ox + w <= area.w; ++ox) {
      bool same = true;
      for (int y = 0; y < h && same; ++y)
        for (int x = 0; x < w && same; ++x) same = area.At(ox + x, oy + y) == picture.At(x, y);
      if (same) return true;
    }
  }
  return false;
}

class HiDpiTest : public ::testing::TestWithParam<double> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DesktopToolsPresent()) << "Xvfb and xdotool are needed";
    x_ = std::make_unique<Xvfb>();
    ASSERT_TRUE(x_->Ok()) << "Xvfb did not start";
    char scale[32];
    std::snprintf(scale, sizeof scale, "QT_SCALE_FACTOR=%g", ratio());
    program_ = std::make_unique<Program>(x_->Name(), "[Options]\nUseSounds=0\n",
                                         std::vector<std::string>{scale});
    main_ = WaitForWindow(dpy(), "Quorblex Pro", 15000);
    ASSERT_NE(main_, 0u) << "no main window; stderr: " << program_->Stderr();
  }

  double ratio() const { return GetParam(); }
  std::string Name(const std::string& what) const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "hidpi-%g-%s", ratio(), what.c_str());
    return buf;
  }
  ::Display* dpy() { return x_->Connection(); }

  // The dump of window WIN once it is there.
  DumpedWindow WaitDump(const std::string& win) {
    std::optional<DumpedWindow> dump;
    WaitUntil([&] { return (dump = ReadDump(program_->GeometryFile(), win)).has_value(); }, 5000);
    return dump.value_or(DumpedWindow{});
  }

  // The control at `index` in template order of window `xWindow`, in screen pixels, widened by
  // `margin` on every side: the dump has it in logical pixels, X has the window in device pixels.
  PixelRect OnScreen(unsigned long xWindow, int templateId, int index, int margin) {
    DumpedWindow dump = WaitDump(std::to_string(templateId));
    if (index < 0 || index >= static_cast<int>(dump.controls.size())) return {};
    PixelRect win = WindowRect(dpy(), xWindow), r = dump.controls[index].second;
    int x = win.x + static_cast<int>(std::floor(r.x * ratio()));
    int y = win.y + static_cast<int>(std::floor(r.y * ratio()));
    int w = static_cast<int>(std::ceil(r.w * ratio())), h = static_cast<int>(std::ceil(r.h * ratio()));
    return {x - margin, y - margin, w + 2 * margin, h + 2 * margin};
  }

  // The window's controls stand where their dialog units say, in logical pixels, and the
  // window on screen is that size times the ratio.
  void ExpectLayout(int templateId, unsigned long xWindow) {
    SCOPED_TRACE("template " + std::to_string(templateId));
    DumpedWindow dump = WaitDump(std::to_string(templateId));
    auto expected = ExpectedLayout(templateId);
    ASSERT_EQ(dump.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(dump.controls[i].first, expected[i].first);
      EXPECT_NEAR(dump.controls[i].second.x, expected[i].second.x, 1) << i;
      EXPECT_NEAR(dump.controls[i].second.y, expected[i].second.y, 1) << i;
      EXPECT_NEAR(dump.controls[i].second.w, expected[i].second.w, 1) << i;
      EXPECT_NEAR(dump.controls[i].second.h, expected[i].second.h, 1) << i;
    }
    PixelRect onScreen = WindowRect(dpy(), xWindow);
    EXPECT_NEAR(onScreen.w, ExpectedClientSize(templateId).w * ratio(), 1);
    EXPECT_NEAR(onScreen.h, ExpectedClientSize(templateId).h * ratio(), 1);
  }

  // At a fractional ratio a picture's last row and column fall half outside its control.
  int Trim() const { return ratio() == std::floor(ratio()) ? 0 : 1; }

  std::unique_ptr<Xvfb> x_;
  std::unique_ptr<Program> program_;
  unsigned long main_ = 0;
};

TEST_P(HiDpiTest, LampsPortraitPlateAndClipAreTheDrawingsForTheScreensRatio) {
  ExpectLayout(102, main_);
  SaveScreenshot(*x_, Name("main-window"));

  // The last lamp (no neighbour covers it) shows the unlit or the lit drawing for this ratio.
  Pixels unlit = Picture(146, ratio()), lit = Picture(147, ratio());
  ASSERT_GT(unlit.w, 0) << "res/bitmaps/146" << Suffix(ratio()) << ".bmp is missing";
  Pixels lamp = Grab(dpy(), OnScreen(main_, 102, ControlIndex(102, 1016), 2));
  EXPECT_TRUE(Shows(lamp, unlit, Trim()) || Shows(lamp, lit, Trim()));
  if (ratio() == 2) {
    // What the screen would show of the 1x lamps enlarged is not there, and it would differ.
    EXPECT_FALSE(Shows(lamp, Enlarged(Picture(146, 1), 2)) || Shows(lamp, Enlarged(Picture(147, 1), 2)));
    EXPECT_FALSE(Enlarged(Picture(146, 1), 2) == unlit);
  }

  // The clip: one of the frames of the clip drawn for this ratio.
  auto clip = AviClip::Load(kRes + "qx" + Suffix(ratio()) + ".avi");
  ASSERT_TRUE(clip) << "res/qx" << Suffix(ratio()) << ".avi is missing";
  Pixels screen = Grab(dpy(), OnScreen(main_, 102, ControlIndex(102, 1005), 2));
  bool found = false;
  for (int f = 0; f < clip->FrameCount() && !found; ++f) {
    Pixels frame;
    frame.w = clip->Width();
    frame.h = clip->Height();
    for (uint32_t px : clip->Frame(f)) frame.rgb.push_back(px & 0xFFFFFF);
    found = Shows(screen, frame, Trim());
  }
  EXPECT_TRUE(found) << "no frame of qx" << Suffix(ratio()) << ".avi on screen";

  // The About box's portrait.
  ASSERT_TRUE(Xdotool(*x_, "key alt+a"));
  unsigned long about = WaitForWindow(dpy(), "About Quorblex Pro", 5000);
  ASSERT_NE(about, 0u);
  ExpectLayout(100, about);
  WaitUntil([] { return false; }, 300);
  SaveScreenshot(*x_, Name("about"));
  Pixels portrait = Picture(168, ratio());
  ASSERT_GT(portrait.w, 0);
  Pixels shown = Grab(dpy(), OnScreen(about, 100, PictureIndex(100, 168), 2));
  EXPECT_TRUE(Shows(shown, portrait, Trim())) << "the portrait for ratio " << ratio();
  if (ratio() == 2) {
    EXPECT_FALSE(Shows(shown, Enlarged(Picture(168, 1), 2)));
  }
  ASSERT_TRUE(Xdotool(*x_, "key Escape"));
  ASSERT_TRUE(WaitUntil([&] { return FindWindow(dpy(), "About Quorblex Pro") == 0; }, 5000));

  // The sensor plate, where no sensor dot lies over it: its top-left corner.
  ASSERT_TRUE(Xdotool(*x_, "key alt+b"));
  unsigned long abductee = WaitForWindow(dpy(), "Abductee Scan", 5000);
  ASSERT_NE(abductee, 0u);
  ExpectLayout(170, abductee);
  WaitUntil([] { return false; }, 300);
  SaveScreenshot(*x_, Name("abductee-scan"));
  Pixels plate = Picture(171, ratio());
  ASSERT_GT(plate.w, 0);
  Pixels corner = Corner(plate, static_cast<int>(70 * ratio()), static_cast<int>(90 * ratio()));
  Pixels area = Grab(dpy(), OnScreen(abductee, 170, PictureIndex(170, 171), 0));
  area = Corner(area, corner.w + 4 * static_cast<int>(ratio()) + 4, corner.h + 4 * static_cast<int>(ratio()) + 4);
  EXPECT_TRUE(Shows(area, corner)) << "the sensor plate for ratio " << ratio();
  ASSERT_TRUE(Xdotool(*x_, "key Escape"));
  ASSERT_TRUE(WaitUntil([&] { return FindWindow(dpy(), "Abductee Scan") == 0; }, 5000));
}

// Setup, the scan results with the longest value of each line, and the longest verdict, each
// shown by the desktop host as the program shows it. Their controls stand where their dialog
// units say, and no static text is cut at the edge it runs towards: the column a text would be
// clipped at holds no letter's ink. Screenshots go to screenshots/hidpi-*-texts-*.png.
TEST_P(HiDpiTest, DialogTextsStandWholeWithTheirLongestValues) {
  program_.reset();  // the program's own window is not wanted here
  struct Shown {
    int templateId;
    const char* caption;
    const char* name;
    std::vector<std::string> args;
  };
  const Shown dialogs[] = {
      {169, "Setup", "setup", {}},
      {149, "Scan Results", "scan-results",
       {"1020", "You are an alien!", "1021", "100 Meters", "1022", "The Great Gazoo!", "1023",
        "Imminent"}},
      {174, "Abductee Scan Results", "abductee-results",
       {"1036", Resources::LoadString(134)}},
  };
  char scale[32];
  std::snprintf(scale, sizeof scale, "QT_SCALE_FACTOR=%g", ratio());
  for (const Shown& d : dialogs) {
    SCOPED_TRACE(d.name);
    std::vector<std::string> args{std::to_string(d.templateId)};
    args.insert(args.end(), d.args.begin(), d.args.end());
    program_ = std::make_unique<Program>(x_->Name(), "", std::vector<std::string>{scale},
                                         QUORBLEX_DIALOG_PROBE, args);
    unsigned long win = WaitForWindow(dpy(), d.caption, 15000);
    ASSERT_NE(win, 0u) << program_->Stderr();
    ExpectLayout(d.templateId, win);
    WaitUntil([] { return false; }, 300);
    SaveScreenshot(*x_, Name(std::string("texts-") + d.name));

    const auto& controls = Resources::FindTemplate(d.templateId)->controls;
    DumpedWindow dump = WaitDump(std::to_string(d.templateId));
    PixelRect client = WindowRect(dpy(), win);
    for (size_t i = 0; i < controls.size() && i < dump.controls.size(); ++i) {
      if (controls[i].kind != ControlKind::Text) continue;
      const PixelRect& r = dump.controls[i].second;
      bool right = (controls[i].style & 0xF) == SS_RIGHT;
      int x = right ? static_cast<int>(std::ceil(r.x * ratio()))
                    : static_cast<int>(std::floor(r.Right() * ratio())) - 1;
      int top = static_cast<int>(std::ceil(r.y * ratio()));
      int bottom = static_cast<int>(std::floor(r.Bottom() * ratio()));
      Pixels edge = Grab(dpy(), {client.x + x, client.y + top, 1, bottom - top});
      int ink = 0;
      for (uint32_t px : edge.rgb) ink += (px >> 16 & 0xFF) < 0x80 && (px & 0xFF) < 0x80;
      EXPECT_EQ(ink, 0) << "control #" << i << " is cut at its " << (right ? "left" : "right")
                        << " edge";
    }
    program_.reset();
    ASSERT_TRUE(WaitUntil([&] { return FindWindow(dpy(), d.caption) == 0; }, 5000));
  }
}

INSTANTIATE_TEST_SUITE_P(Ratio, HiDpiTest, ::testing::Values(1.0, 1.5, 2.0),
                         [](const ::testing::TestParamInfo<double>& info) {
                           return info.param == 1 ? std::string("One")
                                                  : info.param == 2 ? "Two" : "OneAndAHalf";
                         });

}  // namespace
