#include "scan/CScanResultsDlg.h"

#include "common/Cue.h"
#include "common/Random.h"

namespace {
constexpr UINT kRevealTimer = 3;
constexpr UINT kRevealPeriod = 30;
}  // namespace

// The outcome of one step, carried to the next tick.
int g_nPresence;
int g_nLastResult;

CScanResultsDlg::CScanResultsDlg(CWnd* pParent) : CDialog(149, pParent) {}

CScanResultsDlg::~CScanResultsDlg() = default;

const MsgMap* CScanResultsDlg::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnTimerMessage<&CScanResultsDlg::OnTimer>(),
  };
  static const MsgMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

void CScanResultsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, 1, m_btnOK);
}

BOOL CScanResultsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_nTick = 0;
  PostMessage(WM_STARTUP_NOTIFY, 0, 0);
  return TRUE;
}

LRESULT CScanResultsDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_STARTUP_NOTIFY) SetTimer(kRevealTimer, kRevealPeriod, nullptr);
  return CDialog::WindowProc(message, wParam, lParam);
}

void CScanResultsDlg::Cue(const char* name) {
  if (m_bUseSounds) sndPlaySoundA(name, SND_SYNC);
}

void CScanResultsDlg::ShowString(int controlId, UINT stringId) {
  CString text;
  text.LoadString(stringId);
  SetDlgItemText(controlId, text);
}

void CScanResultsDlg::OnTimer(UINT_PTR) {
  switch (m_nTick) {
    case 0:
      Cue("analcomp.wav");
      break;
    case 1:
      g_nPresence = AnnouncePresence();
      if (g_nPresence == 0 || g_nPresence == 2) KillTimer(kRevealTimer);
      break;
    case 2:
      g_nLastResult = AnnounceProximity(g_nPresence);
      break;
    case 3:
      g_nLastResult = AnnounceType(g_nLastResult);
      break;
    case 4:
      AnnounceAbduction();
      KillTimer(kRevealTimer);
      break;
    default:
      break;
  }
  ++m_nTick;
  Default();
}

int CScanResultsDlg::AnnouncePresence() {
  int r = Random(8);
  if (r <= 2) {
    ShowString(1020, 114);
    Cue("noalien.wav");
    return 0;
  }
  if (r <= 4) {
    ShowString(1020, 115);
    Cue("alienpbl.wav");
    return 1;
  }
  if (r <= 6) {
    ShowString(1020, 116);
    Cue("aliendet.wav");
    return 1;
  }
  ShowString(1020, 117);
  Cue("uralien.wav");
  return 2;
}

int CScanResultsDlg::AnnounceProximity(int presence) {
  int r = Random(10);
  Cue("prox.wav");
  if (r < 4 || presence == 0) {
    ShowString(1021, 129);
    Cue("unknown.wav");
    return 0;
  }
  int distance = 10 * r + 10;
  CString meters;
  meters.LoadString(119);
  CString text;
  text.Format("%d", distance);
  text += " ";
  text += meters;
  SetDlgItemText(1021, text);
  CString cue;
  cue.Format("%d.wav", distance);
  Cue(cue);
  Cue("meters.wav");
  return 1;
}

int CScanResultsDlg::AnnounceType(int proximity) {
  int r = Random(7);
  Cue("type.wav");
  if (proximity == 0) r = 0;
  struct Kind {
    UINT text;
    const char* colour;
    const char* height;
  };
  static const Kind kinds[] = {{121, "grey.wav", "short.wav"},
                               {122, "grey.wav", "tall.wav"},
                               {123, "green.wav", "short.wav"},
                               {124, "green.wav", "tall.wav"}};
  if (r >= 1 && r <= 4) {
    const Kind& k = kinds[r - 1];
    ShowString(1022, k.text);
    Cue(k.colour);
    Cue(k.height);
    return 1;
  }
  if (r == 6 && Random(100) > 50) {
    ShowString(1022, 130);
    Cue("amaz");
    return 1;
  }
  ShowString(1022, 129);
  Cue("unknown.wav");
  return 0;
}

void CScanResultsDlg::AnnounceAbduction() {
  int r = Random(5);
  Cue("abductp.wav");
  if (r == 3) {
    Cue("prob.wav");
    ShowString(1023, 126);
    return;
  }
  if (r == 4) {
    Cue("imm.wav");
    ShowString(1023, 127);
    return;
  }
  ShowString(1023, 129);
  Cue("unknown.wav");
}
