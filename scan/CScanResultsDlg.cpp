// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/CScanResultsDlg.h"

#include "common/Cue.h"
#include "common/Random.h"
#include "res/ResourceIds.h"

namespace {
constexpr UINT kRevealTimer = 3;
constexpr UINT kRevealPeriod = 30;
}  // namespace

// The outcome of one step, carried to the next tick.
int g_nPresence;
int g_nLastResult;

CScanResultsDlg::CScanResultsDlg(CWnd* pParent) : CDialog(IDD_SCAN_RESULTS, pParent) {}

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
  DDX_Control(pDX, IDOK, m_btnOK);
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
    ShowString(IDC_PRESENCE, IDS_NONE_DETECTED);
    Cue("noalien.wav");
    return 0;
  }
  if (r <= 4) {
    ShowString(IDC_PRESENCE, IDS_PROBABLE_PRESENCE);
    Cue("alienpbl.wav");
    return 1;
  }
  if (r <= 6) {
    ShowString(IDC_PRESENCE, IDS_DETECTED);
    Cue("aliendet.wav");
    return 1;
  }
  ShowString(IDC_PRESENCE, IDS_YOU_ARE_ALIEN);
  Cue("uralien.wav");
  return 2;
}

int CScanResultsDlg::AnnounceProximity(int presence) {
  int r = Random(10);
  Cue("prox.wav");
  if (r < 4 || presence == 0) {
    ShowString(IDC_PROXIMITY, IDS_UNKNOWN);
    Cue("unknown.wav");
    return 0;
  }
  int distance = 10 * r + 10;
  CString meters;
  meters.LoadString(IDS_METERS);
  CString text;
  text.Format("%d", distance);
  text += " ";
  text += meters;
  SetDlgItemText(IDC_PROXIMITY, text);
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
  static const Kind kinds[] = {{IDS_GREY_SHORT, "grey.wav", "short.wav"},
                               {IDS_GREY_TALL, "grey.wav", "tall.wav"},
                               {IDS_GREEN_SHORT, "green.wav", "short.wav"},
                               {IDS_GREEN_TALL, "green.wav", "tall.wav"}};
  if (r >= 1 && r <= 4) {
    const Kind& k = kinds[r - 1];
    ShowString(IDC_TYPE, k.text);
    Cue(k.colour);
    Cue(k.height);
    return 1;
  }
  if (r == 6 && Random(100) > 50) {
    ShowString(IDC_TYPE, IDS_GAZOO);
    Cue("amaz");
    return 1;
  }
  ShowString(IDC_TYPE, IDS_UNKNOWN);
  Cue("unknown.wav");
  return 0;
}

void CScanResultsDlg::AnnounceAbduction() {
  int r = Random(5);
  Cue("abductp.wav");
  if (r == 3) {
    Cue("prob.wav");
    ShowString(IDC_ABDUCTION, IDS_PROBABLE);
    return;
  }
  if (r == 4) {
    Cue("imm.wav");
    ShowString(IDC_ABDUCTION, IDS_IMMINENT);
    return;
  }
  ShowString(IDC_ABDUCTION, IDS_UNKNOWN);
  Cue("unknown.wav");
}
