// Times a frame of 1,000 elements (buttons in four states with a caption,
// scroll-bar arrows, thumbs, pages and check boxes) painted by each painter,
// against peers painting the same frame in the same run: the Native painter
// against the same theme calls made directly (at the system factor and at
// 3/2), the Flat, Office 11, Standard and UltraFlat painters against the
// platform's classic drawing (DrawFrameControl and DrawTextW). A second frame
// of 1,000 header cells and tabs with captions times the Native painter
// against the same theme calls made directly.
//   lookandfeel_bench
#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "LookAndFeelModules.h"

namespace {

double Now() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<double>(C.QuadPart) / static_cast<double>(F.QuadPart);
}

enum TKind { kButton, kArrow, kThumb, kPage, kCheck };

struct TItem {
  TKind Kind;
  TRect R;
  TcxButtonState State;
  int Variant;  // arrow direction, page side, check state
};

const TcxButtonState ButtonStates[] = {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
const wchar_t* const Caption = L"Recalculate";

// 250 buttons, 250 arrows, 150 thumbs, 150 pages, 200 check boxes, laid
// out in rows over a frame.
std::vector<TItem> Frame(const TdxScaleFactor* F) {
  std::vector<TItem> Items;
  auto Place = [&](TKind AKind, int ACount, TSize ASize) {
    TSize S = F->Apply(ASize);
    for (int I = 0; I < ACount; ++I) {
      int Column = static_cast<int>(Items.size()) % 25, Row = static_cast<int>(Items.size()) / 25;
      TRect R = cxRect(Column * F->Apply(80), Row * F->Apply(26), 0, 0);
      R.right = R.left + S.cx;
      R.bottom = R.top + S.cy;
      Items.push_back({AKind, R, ButtonStates[I % 4], I % 4});
    }
  };
  Place(kButton, 250, {75, 23});
  Place(kArrow, 250, {17, 17});
  Place(kThumb, 150, {17, 24});
  Place(kPage, 150, {17, 24});
  Place(kCheck, 200, {13, 13});
  return Items;
}

void PaintWithPainter(TcxCustomLookAndFeelPainter* P, TcxCanvas* C,
                      const std::vector<TItem>& AItems, const TdxScaleFactor* F) {
  for (const TItem& I : AItems) {
    switch (I.Kind) {
      case kButton:
        P->DrawScaledButton(C, I.R, Caption, I.State, F, true, clDefault, clDefault, false, false,
                            cxbpButton);
        break;
      case kArrow:
        P->DrawScaledScrollBarPart(C, false, I.R, I.Variant % 2 ? sbpLineDown : sbpLineUp, I.State,
                                   F);
        break;
      case kThumb:
        P->DrawScaledScrollBarPart(C, false, I.R, sbpThumbnail,
                                   I.State == cxbsDisabled ? cxbsNormal : I.State, F);
        break;
      case kPage:
        P->DrawScaledScrollBarPart(C, false, I.R, I.Variant % 2 ? sbpPageDown : sbpPageUp, I.State,
                                   F);
        break;
      case kCheck:
        P->DrawScaledCheckButton(C, I.R, I.State, static_cast<TcxCheckBoxState>(I.Variant % 3), F);
        break;
    }
  }
}

// The same frame through the theme library, with the handles opened once.
class TThemePeer {
 public:
  TThemePeer()
      : FButton(dxUxTheme::OpenThemeData(nullptr, L"Button")),
        FScrollBar(dxUxTheme::OpenThemeData(nullptr, L"ScrollBar")) {}
  ~TThemePeer() {
    if (FButton) dxUxTheme::CloseThemeData(FButton);
    if (FScrollBar) dxUxTheme::CloseThemeData(FScrollBar);
  }
  bool Ready() const { return FButton && FScrollBar; }

  void Paint(HDC DC, TFont* AFont, const std::vector<TItem>& AItems) {
    static const int PushButton[] = {5, 1, 2, 3, 4};
    static const int Check[3][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}, {9, 9, 10, 11, 12}};
    static const int Arrow[2][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}};
    static const int Thumb[] = {1, 1, 2, 3, 4};
    HGDIOBJ OldFont = SelectObject(DC, AFont->Handle());
    for (const TItem& I : AItems) {
      switch (I.Kind) {
        case kButton:
          dxUxTheme::DrawThemeBackground(FButton, DC, 1, PushButton[I.State], &I.R, nullptr);
          dxUxTheme::DrawThemeText(FButton, DC, 1, PushButton[I.State], Caption, -1,
                                   DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, &I.R);
          break;
        case kArrow:
          dxUxTheme::DrawThemeBackground(FScrollBar, DC, 1, Arrow[I.Variant % 2][I.State], &I.R,
                                         nullptr);
          break;
        case kThumb: {
          int State = Thumb[I.State == cxbsDisabled ? cxbsNormal : I.State];
          dxUxTheme::DrawThemeBackground(FScrollBar, DC, 3, State, &I.R, nullptr);
          dxUxTheme::DrawThemeBackground(FScrollBar, DC, 9, State, &I.R, nullptr);
          break;
        }
        case kPage:
          dxUxTheme::DrawThemeBackground(FScrollBar, DC, I.Variant % 2 ? 7 : 6, Thumb[I.State],
                                         &I.R, nullptr);
          break;
        case kCheck:
          dxUxTheme::DrawThemeBackground(FButton, DC, 3, Check[I.Variant % 3][I.State], &I.R,
                                         nullptr);
          break;
      }
    }
    SelectObject(DC, OldFont);
  }

 private:
  HTHEME FButton;
  HTHEME FScrollBar;
};

// 500 header cells and 500 tabs, captioned, in four states, over a frame.
struct TCell {
  bool Tab;
  TRect R;
  TcxButtonState State;
};
const wchar_t* const CellCaption = L"Customer";

std::vector<TCell> HeaderTabFrame(const TdxScaleFactor* F) {
  std::vector<TCell> Cells;
  const TSize S = F->Apply(TSize{76, 20});
  for (int I = 0; I < 1000; ++I) {
    const int Column = I % 25, Row = I / 25;
    TRect R = cxRect(Column * F->Apply(80), Row * F->Apply(24), 0, 0);
    R.right = R.left + S.cx;
    R.bottom = R.top + S.cy;
    Cells.push_back({I >= 500, R, ButtonStates[I % 4]});
  }
  return Cells;
}

void PaintCellsWithPainter(TcxCustomLookAndFeelPainter* P, TcxCanvas* C, TFont* AFont,
                           const std::vector<TCell>& ACells, const TdxScaleFactor* F) {
  for (const TCell& I : ACells) {
    if (I.Tab)
      P->DrawTab(C, I.R, cxBordersAll(), CellCaption, I.State, false, AFont, clBtnText, clBtnFace);
    else
      P->DrawScaledHeader(C, I.R, cxRectInflate(I.R, -3, -2), TcxNeighbors(), cxBordersAll(),
                          I.State, taLeftJustify, vaCenter, false, true, CellCaption, AFont,
                          clBtnText, clBtnFace, F, nullptr, false, false);
  }
}

// The header and tab frame through the theme library, the handles opened
// once.
class THeaderTabPeer {
 public:
  THeaderTabPeer()
      : FHeader(dxUxTheme::OpenThemeData(nullptr, L"Header")),
        FTab(dxUxTheme::OpenThemeData(nullptr, L"Tab")) {}
  ~THeaderTabPeer() {
    if (FHeader) dxUxTheme::CloseThemeData(FHeader);
    if (FTab) dxUxTheme::CloseThemeData(FTab);
  }
  bool Ready() const { return FHeader && FTab; }

  void Paint(HDC DC, TFont* AFont, const std::vector<TCell>& ACells) {
    static const int HeaderItem[] = {1, 1, 2, 3, 1};
    static const int TabItem[] = {1, 1, 2, 3, 4};
    HGDIOBJ OldFont = SelectObject(DC, AFont->Handle());
    for (const TCell& I : ACells) {
      HTHEME Theme = I.Tab ? FTab : FHeader;
      const int State = I.Tab ? TabItem[I.State] : HeaderItem[I.State];
      RECT Text = I.R;
      InflateRect(&Text, -3, -2);
      dxUxTheme::DrawThemeBackground(Theme, DC, 1, State, &I.R, nullptr);
      dxUxTheme::DrawThemeText(Theme, DC, 1, State, CellCaption, -1,
                               (I.Tab ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE, 0,
                               &Text);
    }
    SelectObject(DC, OldFont);
  }

 private:
  HTHEME FHeader;
  HTHEME FTab;
};

// The same frame in the platform's classic controls.
void PaintClassic(HDC DC, TFont* AFont, const std::vector<TItem>& AItems) {
  HGDIOBJ OldFont = SelectObject(DC, AFont->Handle());
  SetBkMode(DC, TRANSPARENT);
  HBRUSH Page = CreateSolidBrush(GetSysColor(COLOR_SCROLLBAR));
  for (const TItem& I : AItems) {
    RECT R = I.R;
    UINT Inactive = I.State == cxbsDisabled ? DFCS_INACTIVE : 0;
    UINT Pushed = I.State == cxbsPressed ? DFCS_PUSHED : 0;
    switch (I.Kind) {
      case kButton:
        DrawFrameControl(DC, &R, DFC_BUTTON, DFCS_BUTTONPUSH | Inactive | Pushed);
        DrawTextW(DC, Caption, -1, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        break;
      case kArrow:
        DrawFrameControl(DC, &R, DFC_SCROLL,
                         (I.Variant % 2 ? DFCS_SCROLLDOWN : DFCS_SCROLLUP) | Inactive | Pushed);
        break;
      case kThumb:
        DrawFrameControl(DC, &R, DFC_BUTTON, DFCS_BUTTONPUSH);
        break;
      case kPage:
        FillRect(DC, &R, Page);
        break;
      case kCheck:
        DrawFrameControl(DC, &R, DFC_BUTTON,
                         DFCS_BUTTONCHECK | (I.Variant % 3 ? DFCS_CHECKED : 0) | Inactive);
        break;
    }
  }
  DeleteObject(Page);
  SelectObject(DC, OldFont);
}

// Ours and the peer, in milliseconds per frame: five rounds, each painting
// as many frames of ours and then of the peer as fill about a fifth of a
// second, the best round of each. Taking turns lets both meet the same load of
// a shared machine; timed one after the other, a change of load between the
// two decided the ratio.
struct TTimes {
  double Ours;
  double Peer;
};

TTimes TimePair(const std::function<void()>& APaintOurs, const std::function<void()>& APaintPeer) {
  // The first frame warms caches and handles, and tells how long a frame takes.
  auto FramesFor = [](const std::function<void()>& APaintFrame) {
    double T0 = Now();
    APaintFrame();
    return std::max(1, static_cast<int>(0.2 / std::max(Now() - T0, 1e-6)));
  };
  auto Round = [](const std::function<void()>& APaintFrame, int AFrames) {
    double T0 = Now();
    for (int I = 0; I < AFrames; ++I) APaintFrame();
    return (Now() - T0) * 1000.0 / AFrames;
  };
  const int OurFrames = FramesFor(APaintOurs), PeerFrames = FramesFor(APaintPeer);
  TTimes Best{1e9, 1e9};
  for (int R = 0; R < 5; ++R) {
    Best.Ours = std::min(Best.Ours, Round(APaintOurs, OurFrames));
    Best.Peer = std::min(Best.Peer, Round(APaintPeer, PeerFrames));
  }
  return Best;
}

struct TTarget {
  explicit TTarget(const std::vector<TItem>& AItems) {
    TRect All = cxNullRect;
    for (const TItem& I : AItems) All = cxRectUnion(All, I.R);
    Bitmap.reset(TcxBitmap32::CreateSize(All.right, All.bottom));
  }
  TcxCanvas* Canvas() const { return Bitmap->cxCanvas(); }
  HDC DC() const { return Bitmap->cxCanvas()->Handle(); }
  TOwned<TcxBitmap32> Bitmap;
};

void Report(const char* AWhat, double AOurs, double APeer, double AGoal) {
  std::printf("%s: %.2f ms per frame, peer %.2f ms (goal <= %.1fx)\n", AWhat, AOurs, APeer, AGoal);
  std::printf("ratio %s: %.2f\n", AWhat, AOurs / APeer);
}

// Where the time of a frame goes: each kind of element alone, ours against
// the classic drawing.
void ReportKinds(TcxCustomLookAndFeelPainter* P, const TTarget& AOurs, const TTarget& APeer,
                 const std::vector<TItem>& AItems, TFont* AFont, const TdxScaleFactor* F) {
  static const char* const Names[] = {"buttons", "arrows", "thumbs", "pages", "check boxes"};
  for (int K = kButton; K <= kCheck; ++K) {
    std::vector<TItem> Kind;
    std::copy_if(AItems.begin(), AItems.end(), std::back_inserter(Kind),
                 [K](const TItem& I) { return I.Kind == K; });
    TTimes T = TimePair([&] { PaintWithPainter(P, AOurs.Canvas(), Kind, F); },
                        [&] { PaintClassic(APeer.DC(), AFont, Kind); });
    std::printf("  %d %s: %.2f ms, peer %.2f ms\n", static_cast<int>(Kind.size()), Names[K], T.Ours,
                T.Peer);
  }
}

int Run() {
  TOwned<TFont> Font = MakeOwned<TFont>();
  Font->SetName(L"Tahoma");
  TOwned<TdxScaleFactor> HalfAgain = MakeOwned<TdxScaleFactor>();
  HalfAgain->Assign(3, 2, false);
  TcxLookAndFeelPaintersManager* M = cxLookAndFeelPaintersManager();
  const TdxScaleFactor* System = dxSystemScaleFactor();

  std::vector<TItem> Items = Frame(System);
  std::printf("frame: %d elements\n", static_cast<int>(Items.size()));
  for (TcxLookAndFeelStyle Style : {lfsFlat, lfsOffice11, lfsStandard, lfsUltraFlat}) {
    TcxCustomLookAndFeelPainter* P = M->GetPainter(Style);
    TTarget Ours(Items), Peer(Items);
    Ours.Canvas()->SetFont(Font.get());
    TTimes T = TimePair([&] { PaintWithPainter(P, Ours.Canvas(), Items, System); },
                        [&] { PaintClassic(Peer.DC(), Font.get(), Items); });
    String Name = P->LookAndFeelName();
    std::string What = AnsiString(Name.begin(), Name.end()) + " painter vs classic drawing";
    Report(What.c_str(), T.Ours, T.Peer, 1.5);
    ReportKinds(P, Ours, Peer, Items, Font.get(), System);
  }

  TThemePeer Themes;
  if (!AreVisualStylesAvailable() || !Themes.Ready()) {
    std::printf("no theme: the Native painter is not timed\n");
    return 0;
  }
  TcxCustomLookAndFeelPainter* Native = M->GetPainter(lfsNative);
  for (auto [Factor, Name, Goal] :
       {std::tuple{System, "1/1", 1.3}, {HalfAgain.get(), "3/2", 3.0}}) {
    std::vector<TItem> Scaled = Frame(Factor);
    TTarget Ours(Scaled), Peer(Scaled);
    Ours.Canvas()->SetFont(Font.get());
    TTimes T = TimePair([&] { PaintWithPainter(Native, Ours.Canvas(), Scaled, Factor); },
                        [&] { Themes.Paint(Peer.DC(), Font.get(), Scaled); });
    std::string What = std::string("Native painter vs direct theme calls at ") + Name;
    Report(What.c_str(), T.Ours, T.Peer, Goal);
  }

  THeaderTabPeer HeaderTabThemes;
  if (!HeaderTabThemes.Ready()) {
    std::printf("no header or tab theme: the header and tab frame is not timed\n");
    return 0;
  }
  std::vector<TCell> Cells = HeaderTabFrame(System);
  std::printf("header and tab frame: %d cells\n", static_cast<int>(Cells.size()));
  TRect All = cxNullRect;
  for (const TCell& I : Cells) All = cxRectUnion(All, I.R);
  TOwned<TcxBitmap32> Ours(TcxBitmap32::CreateSize(All.right, All.bottom)),
      Peer(TcxBitmap32::CreateSize(All.right, All.bottom));
  TTimes T =
      TimePair([&] { PaintCellsWithPainter(Native, Ours->cxCanvas(), Font.get(), Cells, System); },
               [&] { HeaderTabThemes.Paint(Peer->cxCanvas()->Handle(), Font.get(), Cells); });
  Report("Native headers and tabs vs direct theme calls at 1/1", T.Ours, T.Peer, 1.3);
  return 0;
}

}  // namespace

int wmain() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int Result = 1;
  try {
    StartLookAndFeelModules();
    Result = Run();
    StopLookAndFeelModules();
  } catch (const Exception& E) {
    std::fprintf(stderr, "lookandfeel_bench: %ls\n", E.Message().c_str());
  }
  CoUninitialize();
  return Result;
}
