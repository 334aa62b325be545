// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/CScanProgressDlg.h"

#include "common/Cue.h"
#include "res/ResourceIds.h"
#include "scan/LampBar.h"

namespace {
constexpr UINT kStepTimer = 2;
constexpr UINT kStepPeriod = 1000;
}  // namespace

CScanProgressDlg::CScanProgressDlg(CWnd* pParent) : CDialog(IDD_SCAN_PROGRESS, pParent) { m_strStatus = ""; }

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
  DDX_Control(pDX, IDC_ABORT, m_btnAbort);
  DDX_LampBar(pDX, {&m_lamp1, &m_lamp2, &m_lamp3, &m_lamp4, &m_lamp5, &m_lamp6, &m_lamp7,
                    &m_lamp8, &m_lamp9, &m_lamp10});
}

BOOL CScanProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_bmpLampOff.LoadBitmap(IDB_LAMP_OFF);
  m_bmpLampOn.LoadBitmap(IDB_LAMP_ON);
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
  m_strStatus.LoadString(IDS_SCANNING);
  next.SetBitmap(m_bmpLampOn);
}

void CScanProgressDlg::OnTimer(UINT_PTR) {
  switch (m_nTick) {
    case 0:
      if (m_bUseSounds) sndPlaySoundA("scanning.wav", SND_SYNC);
      break;
    case 1: MethodStep(m_lamp1, m_lamp2, m_bScan1, IDS_METHOD1); break;
    case 2: m_lamp2.SetBitmap(m_bmpLampOn); break;
    case 3: MethodStep(m_lamp3, m_lamp4, m_bScan2, IDS_METHOD2); break;
    case 4: m_lamp4.SetBitmap(m_bmpLampOn); break;
    case 5: MethodStep(m_lamp5, m_lamp6, m_bScan3, IDS_METHOD3); break;
    case 6: m_lamp6.SetBitmap(m_bmpLampOn); break;
    case 7: MethodStep(m_lamp7, m_lamp8, m_bScan4, IDS_METHOD4); break;
    case 8: m_lamp8.SetBitmap(m_bmpLampOn); break;
    case 9: MethodStep(m_lamp9, m_lamp10, m_bScan5, IDS_METHOD5); break;
    case 10: m_lamp10.SetBitmap(m_bmpLampOn); break;
    case 11:
      m_strStatus = "";
      KillTimer(kStepTimer);
      EndDialog(1);
      break;
    default:
      break;
  }
  SetDlgItemText(IDC_STATUS, m_strStatus);
  ++m_nTick;
  Default();
}

void CScanProgressDlg::OnOK() { EndDialog(0); }
