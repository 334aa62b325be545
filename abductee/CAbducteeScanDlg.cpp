// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "abductee/CAbducteeScanDlg.h"

#include "common/Cue.h"
#include "common/Random.h"
#include "res/ResourceIds.h"

namespace {
constexpr UINT kTwinkleTimer = 2;
constexpr UINT kTwinklePeriod = 50;

enum Colour { kGrey, kRed, kGreen, kAmber, kBlue };

// Each dot's rest colour and its two flash colours, in dot order IDC_DOT1 to IDC_DOT8.
struct DotColours {
  Colour rest, flashA, flashB;
};
constexpr DotColours kDots[8] = {
    {kBlue, kRed, kGreen},  {kGrey, kRed, kAmber},  {kAmber, kBlue, kGreen},
    {kGrey, kRed, kGreen},  {kBlue, kRed, kGreen},  {kGrey, kRed, kAmber},
    {kAmber, kBlue, kGreen}, {kGrey, kRed, kGreen},
};
}  // namespace

CAbducteeScanDlg::CAbducteeScanDlg(CWnd* pParent) : CDialog(IDD_ABDUCTEE_SCAN, pParent) {}

CAbducteeScanDlg::~CAbducteeScanDlg() = default;

const MsgMap* CAbducteeScanDlg::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnTimerMessage<&CAbducteeScanDlg::OnTimer>(),
  };
  static const MsgMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

void CAbducteeScanDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  for (int i = 0; i < 8; ++i) DDX_Control(pDX, kDotIds[i], Dot(i));
}

CStatic& CAbducteeScanDlg::Dot(int index) {
  CStatic* dots[8] = {&m_dot1032, &m_dot1033, &m_dot1034, &m_dot1035,
                      &m_dot1036, &m_dot1037, &m_dot1038, &m_dot1039};
  return *dots[index];
}

BOOL CAbducteeScanDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_nPhase = kIdle;
  for (BOOL& lit : m_bDotLit) lit = FALSE;
  m_bmpDotGrey.LoadBitmap(IDB_DOT_GREY);
  m_bmpDotRed.LoadBitmap(IDB_DOT_RED);
  m_bmpDotGreen.LoadBitmap(IDB_DOT_GREEN);
  m_bmpDotAmber.LoadBitmap(IDB_DOT_AMBER);
  m_bmpDotBlue.LoadBitmap(IDB_DOT_BLUE);
  SetTimer(kTwinkleTimer, kTwinklePeriod, nullptr);
  return TRUE;
}

// ENTER only asks for the scan; the next tick starts it.
void CAbducteeScanDlg::OnOK() { m_nPhase = kRequested; }

void CAbducteeScanDlg::OnCancel() {
  KillTimer(kTwinkleTimer);
  EndDialog(0);
}

void CAbducteeScanDlg::OnTimer(UINT_PTR) {
  switch (m_nPhase) {
    case kIdle:
      Twinkle();
      break;
    case kRequested:
      m_nPhase = kScanning;
      for (int i = 0; i < 8; ++i) Dot(i).SetBitmap(m_bmpDotGreen);
      GetDlgItem(IDOK)->EnableWindow(FALSE);
      GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
      break;
    case kScanning:
      KillTimer(kTwinkleTimer);
      if (m_bUseSounds) {
        sndPlaySoundA("scanning.wav", SND_SYNC);
        sndPlaySoundA("test.wav", SND_SYNC);
      }
      EndDialog(IDOK);
      break;
    default:
      break;
  }
  Default();
}

void CAbducteeScanDlg::Twinkle() {
  const CBitmap* bitmaps[] = {&m_bmpDotGrey, &m_bmpDotRed, &m_bmpDotGreen, &m_bmpDotAmber,
                              &m_bmpDotBlue};
  for (int i = 0; i < 8; ++i) {
    if (Random(50) <= 30) continue;
    if (m_bDotLit[i]) {
      Dot(i).SetBitmap(*bitmaps[kDots[i].rest]);
      m_bDotLit[i] = FALSE;
      continue;
    }
    Colour c = Random(50) >= 26 ? kDots[i].flashA : kDots[i].flashB;
    Dot(i).SetBitmap(*bitmaps[c]);
    m_bDotLit[i] = TRUE;
  }
}
