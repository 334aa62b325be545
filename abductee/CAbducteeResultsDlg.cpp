#include "abductee/CAbducteeResultsDlg.h"

#include "common/Cue.h"
#include "common/Random.h"

namespace {
constexpr UINT kVerdictTimer = 3;
constexpr UINT kVerdictPeriod = 25;
}  // namespace

CAbducteeResultsDlg::CAbducteeResultsDlg(CWnd* pParent) : CDialog(174, pParent) {
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
  DDX_Text(pDX, 1036, m_strVerdict);
}

BOOL CAbducteeResultsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_bAnnounced = FALSE;
  SetTimer(kVerdictTimer, kVerdictPeriod, nullptr);
  return TRUE;
}

UINT CAbducteeResultsDlg::DrawVerdict() {
  switch (Random(6)) {
    case 1: return 131;
    case 2: return 133;
    case 3: return Random(10) >= 6 ? 135 : 131;
    case 4: return Random(10) >= 6 ? 134 : 132;
    default: return 132;  // 0 and 5
  }
}

void CAbducteeResultsDlg::OnTimer(UINT_PTR) {
  if (!m_bAnnounced) {
    if (m_bUseSounds) sndPlaySoundA("analcomp.wav", SND_ASYNC);
    m_bAnnounced = TRUE;
  } else {
    CString verdict;
    verdict.LoadString(DrawVerdict());
    SetDlgItemText(1036, verdict);
    KillTimer(kVerdictTimer);
  }
  Default();
}
