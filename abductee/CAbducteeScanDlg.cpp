#include "abductee/CAbducteeScanDlg.h"

#include "common/Cue.h"
#include "common/Random.h"

namespace {
constexpr UINT kTwinkleTimer = 2;
constexpr UINT kTwinklePeriod = 50;

enum Colour { kGrey, kRed, kGreen, kAmber, kBlue };

// Each dot's rest colour and its two flash colours, in dot order 1032 to 1039.
struct DotColours {
  Colour rest, flashA, flashB;
};
constexpr DotColours kDots[8] = {
    {kBlue, kRed, kGreen},  {kGrey, kRed, kAmber},  {kAmber, kBlue, kGreen},
    {kGrey, kRed, kGreen},  {kBlue, kRed, kGreen},  {kGrey, kRed, kAmber},
    {kAmber, kBlue, kGreen}, {kGrey, kRed, kGreen},
};
}  // namespace

CAbducteeScanDlg::CAbducteeScanDlg(CWnd* pParent) : CDialog(170, pParent) {}

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
  DDX_Control(pDX, 1039, m_dot1039);
  DDX_Control(pDX, 1038, m_dot1038);
  DDX_Control(pDX, 1037, m_dot1037);
  DDX_Control(pDX, 1036, m_dot1036);
  DDX_Control(pDX, 1035, m_dot1035);
  DDX_Control(pDX, 1034, m_dot1034);
  DDX_Control(pDX, 1033, m_dot1033);
  DDX_Control(pDX, 1032, m_dot1032);
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
  m_bmpDotGrey.LoadBitmap(180);
  m_bmpDotRed.LoadBitmap(181);
  m_bmpDotGreen.LoadBitmap(179);
  m_bmpDotAmber.LoadBitmap(182);
  m_bmpDotBlue.LoadBitmap(178);
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
