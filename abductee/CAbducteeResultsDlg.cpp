// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "abductee/CAbducteeResultsDlg.h"

#include "common/Cue.h"
#include "common/Random.h"
#include "res/ResourceIds.h"

namespace {
constexpr UINT kVerdictTimer = 3;
constexpr UINT kVerdictPeriod = 25;
}  // namespace

CAbducteeResultsDlg::CAbducteeResultsDlg(CWnd* pParent) : CDialog(IDD_ABDUCTEE_RESULTS, pParent) {
  m_strVerdict = "";
}

CAbducteeResultsDlg::~CAbducteeResultsDlg() = default;

const MsgMap* CAbducteeResultsDlg::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnTimerMessage<&CAbducteeResultsDlg::OnTimer>(),
  };
  static const MsgMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

void CAbducteeResultsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_VERDICT, m_strVerdict);
}

BOOL CAbducteeResultsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_bAnnounced = FALSE;
  SetTimer(kVerdictTimer, kVerdictPeriod, nullptr);
  return TRUE;
}

UINT CAbducteeResultsDlg::DrawVerdict() {
  switch (Random(6)) {
    case 1: return IDS_NO_ABDUCTEE;
    case 2: return IDS_POSSIBLE_ABDUCTEE;
    case 3: return Random(10) >= 6 ? IDS_ABDUCTEE : IDS_NO_ABDUCTEE;
    case 4: return Random(10) >= 6 ? IDS_ABDUCTEE_PROBED : IDS_INCONCLUSIVE;
    default: return IDS_INCONCLUSIVE;  // 0 and 5
  }
}

void CAbducteeResultsDlg::OnTimer(UINT_PTR) {
  if (!m_bAnnounced) {
    if (m_bUseSounds) sndPlaySoundA("analcomp.wav", SND_ASYNC);
    m_bAnnounced = TRUE;
  } else {
    CString verdict;
    verdict.LoadString(DrawVerdict());
    SetDlgItemText(IDC_VERDICT, verdict);
    KillTimer(kVerdictTimer);
  }
  Default();
}
