#include "scan/CScanProgressDlg.h"

#include "common/Cue.h"

namespace {
constexpr UINT kStepTimer = 2;
constexpr UINT kStepPeriod = 1000;
}  // namespace

CScanProgressDlg::CScanProgressDlg(CWnd* pParent) : CDialog(148, pParent) { m_strStatus = ""; }

CScanProgressDlg::~CScanProgressDlg() = default;

const MsgMap* CScanProgressDlg::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnTimerMessage<&CScanProgressDlg::OnTimer>(),
  };
  static const MsgMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

void CScanProgressDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, 1, m_btnAbort);
  DDX_Control(pDX, 1015, m_lamp9);
  DDX_Control(pDX, 1014, m_lamp8);
  DDX_Control(pDX, 1013, m_lamp7);
  DDX_Control(pDX, 1012, m_lamp6);
  DDX_Control(pDX, 1011, m_lamp5);
  DDX_Control(pDX, 1010, m_lamp4);
  DDX_Control(pDX, 1009, m_lamp3);
  DDX_Control(pDX, 1008, m_lamp2);
  DDX_Control(pDX, 1016, m_lamp10);
  DDX_Control(pDX, 1018, m_lamp1);
}

BOOL CScanProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_bmpLampOff.LoadBitmap(146);
  m_bmpLampOn.LoadBitmap(147);
  m_nTick = 0;
  SetTimer(kStepTimer, kStepPeriod, nullptr);
  return TRUE;
}

// A method step: its lamp, its tone, its text; a method that is off says "Scanning..." and
// lights the next lamp at once, so the show keeps its length.
void CScanProgressDlg::MethodStep(CStatic& lamp, CStatic& next, BOOL on, UINT textId) {
  lamp.SetBitmap(m_bmpLampOn);
  if (m_bUseSounds) sndPlaySoundA("tone.wav", SND_ASYNC);
  if (on) {
    m_strStatus.LoadString(textId);
    return;
  }
  m_strStatus.LoadString(136);
  next.SetBitmap(m_bmpLampOn);
}

void CScanProgressDlg::OnTimer(UINT_PTR) {
  switch (m_nTick) {
    case 0:
      if (m_bUseSounds) sndPlaySoundA("scanning.wav", SND_SYNC);
      break;
    case 1: MethodStep(m_lamp1, m_lamp2, m_bScan1, 108); break;
    case 2: m_lamp2.SetBitmap(m_bmpLampOn); break;
    case 3: MethodStep(m_lamp3, m_lamp4, m_bScan2, 109); break;
    case 4: m_lamp4.SetBitmap(m_bmpLampOn); break;
    case 5: MethodStep(m_lamp5, m_lamp6, m_bScan3, 110); break;
    case 6: m_lamp6.SetBitmap(m_bmpLampOn); break;
    case 7: MethodStep(m_lamp7, m_lamp8, m_bScan4, 111); break;
    case 8: m_lamp8.SetBitmap(m_bmpLampOn); break;
    case 9: MethodStep(m_lamp9, m_lamp10, m_bScan5, 112); break;
    case 10: m_lamp10.SetBitmap(m_bmpLampOn); break;
    case 11:
      m_strStatus = "";
      KillTimer(kStepTimer);
      EndDialog(1);
      break;
    default:
      break;
  }
  SetDlgItemText(1019, m_strStatus);
  ++m_nTick;
  Default();
}

void CScanProgressDlg::OnOK() { EndDialog(0); }
