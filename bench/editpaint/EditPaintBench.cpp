// Editor painting against the platform, in the same run:
// - 1,000 test editors with a drop-down button, each calculated and painted
//   into a memory DC under the native and the ultra-flat look, against the
//   platform's themed COMBOBOX painting itself (WM_PRINTCLIENT) as often;
// - the one-pixel lines and small fills of button borders drawn with the
//   shared brush cache, against a brush created and deleted for each fill;
//   then the brushes alone, and the parts a fill is made of.
// Prints the time per editor and per fill, and the ratios of ours to the
// peer's.
//   tools/run-bench.sh editpaint
#include <algorithm>
#include <cstdio>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "WinHandles.h"
#include "cxEdit.h"
#include "cxEditPaintUtils.h"
#include "dxGraphicsLink.h"

#include <uxtheme.h>

namespace {

int Fills = 1000000;
int Rounds = 5;
constexpr int EditorCount = 1000;
constexpr int Columns = 20;
constexpr int CellWidth = 121, CellHeight = 21;

double Now() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<double>(C.QuadPart) / static_cast<double>(F.QuadPart);
}

// The best of a few rounds: the machine is shared, and the best round is the
// one least disturbed by others.
template <class F>
double Best(F&& ARound) {
  double Result = 1e30;
  for (int I = 0; I < Rounds; ++I) Result = std::min(Result, ARound());
  return Result;
}

// Ours and the peer's best, their rounds taken in turn so that both meet
// the same changes of the machine's load.
template <class F, class G>
std::pair<double, double> BestOfBoth(F&& AOurs, G&& APeer) {
  std::pair<double, double> Result{1e30, 1e30};
  for (int I = 0; I < Rounds; ++I) {
    Result.first = std::min(Result.first, AOurs());
    Result.second = std::min(Result.second, APeer());
  }
  return Result;
}

// What was painted, for people to look at: the first cells of each look,
// one row each, written when a file name was given.
class TPaintedCells {
 public:
  explicit TPaintedCells(String APath) : FPath(std::move(APath)) {}
  void Keep(HDC DC, int ARow) {
    if (FPath.empty()) return;
    if (!FBitmap) {
      FBitmap = MakeOwned<TBitmap>();
      FBitmap->SetPixelFormat(TPixelFormat::pf24bit);
      FBitmap->SetSize(Cells * CellWidth, 3 * CellHeight);
    }
    BitBlt(FBitmap->Canvas()->Handle(), 0, ARow * CellHeight, Cells * CellWidth, CellHeight, DC, 0,
           0, SRCCOPY);
  }
  void Save() {
    if (FBitmap) FBitmap->SaveToFile(FPath);
  }

 private:
  static constexpr int Cells = 4;
  String FPath;
  TOwned<TBitmap> FBitmap;
};

TPoint CellOrigin(int I) { return {(I % Columns) * CellWidth, (I / Columns) * CellHeight}; }

// A memory DC with a bitmap compatible with the screen, as a double-buffered
// paint uses.
class TPaintTarget {
 public:
  TPaintTarget(int AWidth, int AHeight)
      : FDC(CreateCompatibleDC(nullptr)),
        FBitmap(CreateCompatibleBitmap(TScreenDC().Get(), AWidth, AHeight)),
        FSelected(FDC.Get(), FBitmap.Get()) {}
  HDC DC() const { return FDC.Get(); }

 private:
  TMemoryDC FDC;
  TBitmapHandle FBitmap;
  TSelectObjectGuard FSelected;
};

// ---------------------------------------------------------------------------
// Editors

// A test editor: no inner control, one drop-down button.
class TBenchEdit : public TcxCustomEdit {
  DECLARE_CLASS(TBenchEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::CalculateViewInfo;
  using TcxCustomEdit::TcxCustomEdit;
};

enum class TEditorLook { Native, UltraFlat };

struct TEditors {
  TOwned<TCustomForm> Form;
  std::vector<TBenchEdit*> Items;  // owned by the form
};

TEditors CreateEditors(TEditorLook ALook) {
  TEditors Result;
  Result.Form.reset(Create<TForm>(nullptr, true));
  Result.Form->SetBounds(0, 0, Columns * CellWidth, EditorCount / Columns * CellHeight);
  for (int I = 0; I < EditorCount; ++I) {
    auto* E = Create<TBenchEdit>(Result.Form.get(), false);
    // The cell's size, as the peer has it (the base editor measures no
    // content: auto size would make it only as tall as its border).
    E->SetAutoSize(false);
    E->GetProperties()->GetButtons()->Add()->SetKind(bkDown);
    TcxLookAndFeel* L = E->GetStyle()->GetLookAndFeel();
    L->SetKind(lfUltraFlat);
    L->SetNativeStyle(ALook == TEditorLook::Native);
    const TPoint P = CellOrigin(I);
    E->SetBounds(P.x, P.y, CellWidth, CellHeight);
    E->SetParent(Result.Form.get());
    Result.Items.push_back(E);
  }
  // Windows, as editors on a form have them: a paint makes none.
  for (TBenchEdit* E : Result.Items) E->HandleNeeded();
  return Result;
}

// Whether the editor's view info carries its buttons yet (the editor's
// button layout and painting may be missing from this build).
template <class V>
int ButtonCount(V* AViewInfo) {
  if constexpr (requires { AViewInfo->ButtonsInfo.size(); })
    return static_cast<int>(AViewInfo->ButtonsInfo.size());
  else
    return -1;
}

enum class TEditorWork { CalculateAndPaint, Calculate, Paint };

double TimeEditors(const TEditors& AEditors, HDC DC,
                   TEditorWork AWork = TEditorWork::CalculateAndPaint) {
  TOwned<TCanvas> Canvas = MakeOwned<TCanvas>();
  Canvas->SetHandle(DC);
  TOwned<TcxCanvas> Cx(Create<TcxCanvas>(Canvas.get()));
  const double Start = Now();
  for (int I = 0; I < EditorCount; ++I) {
    TBenchEdit* E = AEditors.Items[I];
    const TPoint P = CellOrigin(I);
    SetViewportOrgEx(DC, P.x, P.y, nullptr);
    if (AWork != TEditorWork::Paint) E->CalculateViewInfo(TPoint{-1, -1}, false);
    if (AWork != TEditorWork::Calculate) E->ViewInfo()->Paint(Cx.get());
  }
  const double Result = (Now() - Start) / EditorCount;
  SetViewportOrgEx(DC, 0, 0, nullptr);
  Canvas->SetHandle(nullptr);
  return Result;
}

// The platform's drop-down list: a themed COMBOBOX with a selected item.
class TPeerCombo {
 public:
  TPeerCombo() {
    FParent.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, CellWidth, 200, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr));
    FCombo =
        CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0,
                        CellWidth, 200, FParent.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(FCombo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    SendMessageW(FCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Item"));
    SendMessageW(FCombo, CB_SETCURSEL, 0, 0);
  }
  HWND Handle() const { return FCombo; }

 private:
  std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)> FParent{nullptr,
                                                                                 &DestroyWindow};
  HWND FCombo = nullptr;  // destroyed with its parent
};

double TimeCombo(const TPeerCombo& ACombo, HDC DC) {
  const double Start = Now();
  for (int I = 0; I < EditorCount; ++I) {
    const TPoint P = CellOrigin(I);
    SetViewportOrgEx(DC, P.x, P.y, nullptr);
    SendMessageW(ACombo.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT);
  }
  const double Result = (Now() - Start) / EditorCount;
  SetViewportOrgEx(DC, 0, 0, nullptr);
  return Result;
}

void RunEditors(TPaintedCells& APicture) {
  TPaintTarget Target(Columns * CellWidth, EditorCount / Columns * CellHeight);
  TPeerCombo Combo;
  RECT ComboRect{};
  GetWindowRect(Combo.Handle(), &ComboRect);
  std::printf("peer: COMBOBOX %ldx%ld, %s\n", ComboRect.right - ComboRect.left,
              ComboRect.bottom - ComboRect.top,
              GetWindowTheme(Combo.Handle()) ? "themed" : "NOT themed (no visual style)");
  const struct {
    TEditorLook Look;
    const char* Name;
  } Looks[] = {{TEditorLook::Native, "native"}, {TEditorLook::UltraFlat, "ultra flat"}};
  for (const auto& L : Looks) {
    TEditors Editors = CreateEditors(L.Look);
    // Warm both up once, so that neither pays for first use.
    TimeEditors(Editors, Target.DC());
    TimeCombo(Combo, Target.DC());
    const int Buttons =
        ButtonCount(static_cast<TcxCustomEditViewInfo*>(Editors.Items[0]->ViewInfo()));
    const auto [Ours, Peer] = BestOfBoth([&] { return TimeEditors(Editors, Target.DC()); },
                                         [&] { return TimeCombo(Combo, Target.DC()); });
    TimeEditors(Editors, Target.DC());
    APicture.Keep(Target.DC(), L.Look == TEditorLook::Native ? 0 : 1);
    TimeCombo(Combo, Target.DC());
    APicture.Keep(Target.DC(), 2);
    std::printf("editors %s: %.2f us each calculated and painted, COMBOBOX %.2f us (%s)\n", L.Name,
                Ours * 1e6, Peer * 1e6,
                Buttons < 0    ? "this build's editor has no button layout yet"
                : Buttons == 0 ? "the editor laid out no button"
                               : "drop-down button laid out");
    std::printf("ratio editor paint %s: %.2f\n", L.Name, Ours / Peer);
    // Where an editor's time goes (one round each).
    const double Calculation = TimeEditors(Editors, Target.DC(), TEditorWork::Calculate);
    const double Painting = TimeEditors(Editors, Target.DC(), TEditorWork::Paint);
    std::printf("  editors %s: %.2f us calculation, %.2f us painting\n", L.Name, Calculation * 1e6,
                Painting * 1e6);
  }
}

// ---------------------------------------------------------------------------
// Solid fills

// The colours of a painted editor: system colours and a few of its own.
std::vector<TColor> Colors() {
  return {clBtnFace,
          clBtnShadow,
          clBtnHighlight,
          clWindow,
          static_cast<TColor>(RGB(0x7F, 0x9D, 0xB9)),
          static_cast<TColor>(RGB(0xC2, 0xD5, 0xF2)),
          static_cast<TColor>(RGB(0x31, 0x6A, 0xC5)),
          static_cast<TColor>(RGB(0xFF, 0xF4, 0xCC)),
          static_cast<TColor>(RGB(0xF5, 0xF5, 0xF5)),
          static_cast<TColor>(RGB(0xA0, 0xA0, 0xA0))};
}

// A one-pixel line of a button border, somewhere on a 200 x 40 surface.
RECT LineAt(int I) {
  int X = (I * 7) % 190, Y = (I * 3) % 30;
  return I % 2 ? RECT{X, Y, X + 1, Y + 10} : RECT{X, Y, X + 10, Y + 1};
}

double TimeOurs(HDC DC, const std::vector<TColor>& AColors) {
  const double Start = Now();
  for (int I = 0; I < Fills; ++I) {
    RECT R = LineAt(I);
    HBRUSH Brush = GetSolidBrush(AColors[I % AColors.size()]);
    if (DC) FillRect(DC, &R, Brush);
  }
  return (Now() - Start) / Fills;
}

double TimePerFillBrush(HDC DC, const std::vector<TColor>& AColors) {
  const double Start = Now();
  for (int I = 0; I < Fills; ++I) {
    RECT R = LineAt(I);
    TBrushHandle Brush(CreateSolidBrush(dxColorToRGB(AColors[I % AColors.size()])));
    if (DC) FillRect(DC, &R, Brush.Get());
  }
  return (Now() - Start) / Fills;
}

// What a fill costs apart from finding its brush: the platform selects the
// brush into the DC, draws, and selects the previous one back.
void PrintFillParts(HDC DC, const std::vector<TColor>& AColors) {
  std::vector<HBRUSH> Brushes;
  for (TColor C : AColors) Brushes.push_back(GetSolidBrush(C));
  const auto PerFill = [](auto&& AFill) {
    return Best([&] {
      const double Start = Now();
      for (int I = 0; I < Fills; ++I) AFill(I);
      return (Now() - Start) / Fills;
    });
  };
  const double Fill = PerFill([&](int I) {
    RECT R = LineAt(I);
    FillRect(DC, &R, Brushes[I % Brushes.size()]);
  });
  const double Select = PerFill([&](int I) { SelectObject(DC, Brushes[I % Brushes.size()]); });
  const double Blt = PerFill([&](int I) {
    RECT R = LineAt(I);
    PatBlt(DC, R.left, R.top, R.right - R.left, R.bottom - R.top, PATCOPY);
  });
  SelectObject(DC, GetStockObject(WHITE_BRUSH));
  std::printf(
      "a fill with a brush at hand: %.3f us; its parts: %.3f us per brush selection, "
      "%.3f us the drawing\n",
      Fill * 1e6, Select * 1e6, Blt * 1e6);
}

void RunFills() {
  TPaintTarget Target(200, 40);
  const std::vector<TColor> C = Colors();
  // Warm both up once, so that neither pays for first use.
  const int AllFills = Fills;
  Fills /= 100;
  TimeOurs(Target.DC(), C);
  TimePerFillBrush(Target.DC(), C);
  Fills = AllFills / Rounds;
  const auto [Ours, Peer] = BestOfBoth([&] { return TimeOurs(Target.DC(), C); },
                                       [&] { return TimePerFillBrush(Target.DC(), C); });
  std::printf("solid fills: %.3f us with the brush cache, %.3f us with a brush per fill\n",
              Ours * 1e6, Peer * 1e6);
  std::printf("ratio solid brush: %.2f\n", Ours / Peer);
  // The brushes alone, without the fills that both pay alike.
  const auto [OursBrush, PeerBrush] = BestOfBoth([&] { return TimeOurs(nullptr, C); },
                                                 [&] { return TimePerFillBrush(nullptr, C); });
  std::printf("brushes alone: %.3f us from the cache, %.3f us created and deleted\n",
              OursBrush * 1e6, PeerBrush * 1e6);
  std::printf("ratio solid brush lookup: %.2f\n", OursBrush / PeerBrush);
  PrintFillParts(Target.DC(), C);
  // More colours than the cache holds (a gradient band by band): every
  // request misses, and the cache creates, evicts and retires a brush each
  // time; the paint never reaches the message loop, so the retired brushes
  // go by the bound.
  std::vector<TColor> Many;
  for (int I = 0; I < 4 * cxSolidBrushCache()->MaxDepth(); ++I)
    Many.push_back(static_cast<TColor>(RGB(I % 256, 255 - I % 256, I / 256 * 64)));
  Fills = AllFills / Rounds / 10;
  const auto [OursMiss, PeerMiss] = BestOfBoth([&] { return TimeOurs(Target.DC(), Many); },
                                               [&] { return TimePerFillBrush(Target.DC(), Many); });
  std::printf("fills in %d colours: %.3f us with the brush cache, %.3f us with a brush per fill\n",
              static_cast<int>(Many.size()), OursMiss * 1e6, PeerMiss * 1e6);
  std::printf("ratio solid brush misses: %.2f\n", OursMiss / PeerMiss);
  Fills = AllFills;
}

}  // namespace

IMPLEMENT_CLASS(TBenchEdit)

// editpaint_bench [fills [picture.bmp]]: a million fills each unless told
// otherwise; the picture shows the first cells of the native and ultra-flat
// editors and of the COMBOBOX, one row each.
int wmain(int argc, wchar_t** argv) {
  if (argc > 1) Fills = std::max(1000, _wtoi(argv[1]));
  const String PicturePath = argc > 2 ? String(argv[2]) : String();
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  try {
    EditcoreStartUp();
    {
      TPaintedCells Picture(PicturePath);
      RunEditors(Picture);
      RunFills();
      Picture.Save();
    }
    EditcoreShutDown();
  } catch (const Exception& E) {
    std::fprintf(stderr, "editpaint bench: %ls\n", E.Message().c_str());
    return 1;
  }
  CoUninitialize();
  return 0;
}
