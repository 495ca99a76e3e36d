// Windows painted into a canvas through WM_PRINT: what lies behind a
// transparent control, native children with their frames, the theme's
// parent background, and mirrored drawing.
#include <algorithm>

#include "Forms.h"
#include "GraphicsTestSupport.h"
#include "dxUxTheme.h"

namespace {

// A control that paints itself in one colour, or asks for what lies behind
// it and frames that in its colour; it counts its paints and records the
// print flags it is sent.
class TPaintProbe : public TCustomControl {
  DECLARE_CLASS(TPaintProbe, TCustomControl)
 public:
  explicit TPaintProbe(TComponent* AOwner) : TCustomControl(AOwner) {}
  TColor Fill = clRed;
  bool Transparent = false;
  int Paints = 0, PaintCopies = 0;
  std::vector<LPARAM> PrintFlags;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_PRINT) PrintFlags.push_back(Message.LParam);
    // A transparent control has no background of its own to erase.
    if (Message.Msg == WM_ERASEBKGND && Transparent) {
      Message.Result = 1;
      return;
    }
    // The client area is printed through the control's own painting.
    if (Message.Msg == WM_PRINTCLIENT) {
      PaintInto(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 0;
      return;
    }
    inherited::WndProc(Message);
  }
  void Paint() override {
    ++Paints;
    if (ControlState().Contains(csPaintCopy)) ++PaintCopies;
    TOwned<TcxCanvas> C(Create<TcxCanvas>(Canvas()));
    if (Transparent) {
      cxDrawTransparentControlBackground(this, C.get(), ClientRect());
      C->FrameRect(ClientRect(), Fill);
    } else {
      C->FillRect(ClientRect(), Fill);
    }
  }

 private:
  void PaintInto(HDC DC) {
    Canvas()->Lock();
    Canvas()->SetHandle(DC);
    Paint();
    Canvas()->SetHandle(nullptr);
    Canvas()->Unlock();
  }
};
IMPLEMENT_CLASS(TPaintProbe)

// A form with a parent control P (red) holding the control A that asks for
// its background (green, never to be seen), an overlapping transparent
// control B (framed in blue) and a native child N with a border.
class WindowPainting : public GraphicsModule {
 protected:
  void SetUp() override {
    GraphicsModule::SetUp();
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(40, 40, 320, 220);
    P = AddProbe(Form.get(), cxRect(10, 10, 210, 130), clRed);
    A = AddProbe(P, cxRect(20, 20, 60, 40), clLime);
    B = AddProbe(P, cxRect(50, 30, 100, 60), clBlue);
    B->Transparent = true;
    Form->Show();
    N = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 120, 20, 50, 40,
                        P->Handle(), nullptr, nullptr, nullptr);
    Application()->ProcessMessages();
    A->Paints = B->Paints = P->Paints = 0;
    A->PaintCopies = B->PaintCopies = P->PaintCopies = 0;
  }
  void TearDown() override {
    DestroyWindow(N);
    Form.reset();
    GraphicsModule::TearDown();
  }
  TPaintProbe* AddProbe(TWinControl* AParent, const TRect& R, TColor AFill) {
    auto* C = Create<TPaintProbe>(Form.get());
    C->SetParent(AParent);
    C->SetBoundsRect(R);
    C->Fill = AFill;
    return C;
  }

  TOwned<TCustomForm> Form;
  TPaintProbe *P = nullptr, *A = nullptr, *B = nullptr;
  HWND N = nullptr;
};

TEST_F(WindowPainting, TransparentControlSeesItsParentAndSiblingsButNeverItself) {
  // All of P's client area, in A's window coordinates.
  auto Shot = FilledBitmap(200, 120, clWhite);
  cxDrawTransparentControlBackground(A, Shot->cxCanvas(), cxRect(-20, -20, 180, 100), TPoint{0, 0});
  EXPECT_EQ(A->Paints, 0) << "the asking control was painted into its own background";
  EXPECT_EQ(P->Paints, 1);
  // B asked for its own background while being printed: nothing, no loop.
  EXPECT_EQ(B->Paints, 1);
  EXPECT_EQ(P->PaintCopies, 1);
  struct {
    int X, Y;
    COLORREF Colour;
    const char* What;
  } Points[] = {
      {5, 5, RGB(255, 0, 0), "the parent"},
      {30, 25, RGB(255, 0, 0), "the parent behind the asking control"},
      {50, 30, RGB(0, 0, 255), "the sibling's frame"},
      {99, 59, RGB(0, 0, 255), "the sibling's frame"},
      {75, 45, RGB(255, 0, 0), "the parent seen through the sibling"},
  };
  for (const auto& Pt : Points)
    EXPECT_EQ(PixelOf(Shot.get(), Pt.X, Pt.Y), Pt.Colour)
        << Pt.What << " at " << Pt.X << ", " << Pt.Y;
  // The native child at its place, as it is on the screen. (Wine's WM_PRINT
  // leaves the frame out; that the frame is asked for is checked by the
  // print flags below.)
  auto Screen = FilledBitmap(46, 36, clWhite), Printed = FilledBitmap(46, 36, clWhite);
  HDC WindowDC = GetWindowDC(N);
  cxBitBlt(Screen->Canvas()->Handle(), WindowDC, Screen->ClientRect(), TPoint{2, 2}, SRCCOPY);
  ReleaseDC(N, WindowDC);
  cxBitBlt(Printed->Canvas()->Handle(), Shot->Canvas()->Handle(), Printed->ClientRect(),
           TPoint{122, 22}, SRCCOPY);
  EXPECT_EQ(Difference(Printed.get(), Screen.get()), "");
  EXPECT_EQ(Shape(Shot.get(), RGB(0, 255, 0)).find('#'), std::string::npos);
  // The lists are empty again: A can be painted by the next request.
  EXPECT_TRUE(PaintSkipList().empty());
}

TEST_F(WindowPainting, ParentBackgroundThroughTheThemeOrTheTransparentRoad) {
  // The themed road has the platform print the parent; the other one prints
  // it as a copy (csPaintCopy) through WM_PRINT.
  struct {
    bool ThemeLibrary, DoubleBuffered;
    int PaintCopies;
  } Roads[] = {{true, false, 0}, {true, true, 1}, {false, false, 1}};
  for (const auto& R : Roads) {
    if (R.ThemeLibrary) dxUxTheme_Initialize();
    ASSERT_EQ(dxUxTheme::IsThemeLibraryLoaded(), R.ThemeLibrary);
    P->SetDoubleBuffered(R.DoubleBuffered);
    P->Paints = P->PaintCopies = B->Paints = 0;
    auto Shot = FilledBitmap(40, 20, clWhite);
    cxDrawThemeParentBackground(A, Shot->cxCanvas(), A->ClientRect());
    if (R.ThemeLibrary) dxUxTheme_Finalize();
    std::string Road = std::string(R.ThemeLibrary ? "theme library, " : "no theme library, ") +
                       (R.DoubleBuffered ? "double-buffered parent" : "plain parent");
    EXPECT_EQ(P->Paints, 1) << Road;
    EXPECT_EQ(P->PaintCopies, R.PaintCopies) << Road;
    // The parent behind A, its other children left out.
    EXPECT_EQ(B->Paints, 0) << Road;
    EXPECT_EQ(A->Paints, 0) << Road;
    std::string AllRed;
    for (int Y = 0; Y < 20; ++Y) AllRed += std::string(40, '#') + '\n';
    EXPECT_EQ(Shape(Shot.get(), RGB(255, 0, 0)), AllRed) << Road;
  }
}

// The print flags a native window is sent, and the DC it is printed into.
struct TPrintRecord {
  std::vector<std::pair<LPARAM, HDC>> Calls;
  WNDPROC Previous = nullptr;
};
TPrintRecord* Recording = nullptr;
LRESULT CALLBACK RecordPrint(HWND W, UINT M, WPARAM WP, LPARAM LP) {
  if (M == WM_PRINT) Recording->Calls.push_back({LP, reinterpret_cast<HDC>(WP)});
  return CallWindowProcW(Recording->Previous, W, M, WP, LP);
}

TEST_F(WindowPainting, PrintFlagsFollowTheNonClientArea) {
  HWND Plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 30, 20, P->Handle(),
                               nullptr, nullptr, nullptr);
  TPrintRecord Record;
  Recording = &Record;
  struct {
    HWND Window;
    bool DrawNC;
    POINT Origin;
    LPARAM Flags;
    bool IntoTheDC;
  } Cases[] = {
      {Plain, true, {0, 0}, PRF_CLIENT | PRF_ERASEBKGND, true},
      {N, false, {0, 0}, PRF_CLIENT | PRF_ERASEBKGND, true},
      {N, true, {0, 0}, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND, true},
      // Away from the origin the frame goes through a bitmap of its own.
      {N, true, {-5, -3}, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND, false},
  };
  for (const auto& C : Cases) {
    Record.Calls.clear();
    Record.Previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(C.Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordPrint)));
    TSurface S(80, 60, RGB(255, 255, 255));
    SetWindowOrgEx(S.DC(), C.Origin.x, C.Origin.y, nullptr);
    cxPrintWindow(C.Window, S.DC(), C.DrawNC, false);
    SetWindowLongPtrW(C.Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Record.Previous));
    ASSERT_EQ(Record.Calls.size(), 1u);
    EXPECT_EQ(Record.Calls[0].first, C.Flags);
    EXPECT_EQ(Record.Calls[0].second == S.DC(), C.IntoTheDC);
    if (!C.IntoTheDC) {
      // The window's bitmap lands at the logical origin of the DC.
      EXPECT_NE(S.Pixel(5 + 10, 3 + 10), RGB(255, 255, 255));
      EXPECT_EQ(S.Pixel(4, 2), RGB(255, 255, 255));
    }
  }
  Recording = nullptr;
  DestroyWindow(Plain);
}

TEST_F(WindowPainting, ChildWindowsAreTheDirectOnes) {
  HWND Grandchild =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, N, nullptr, nullptr, nullptr);
  std::vector<HWND> Children;
  GetChildWindows(P->Handle(), Children);
  std::sort(Children.begin(), Children.end());
  std::vector<HWND> Expected = {A->Handle(), B->Handle(), N};
  std::sort(Expected.begin(), Expected.end());
  EXPECT_EQ(Children, Expected);
  DestroyWindow(Grandchild);
}

TEST(MirroredDrawing, OnlyARightToLeftLayoutMirrorsAndTheDCIsGivenBack) {
  for (bool RightToLeft : {false, true}) {
    TSurface S(10, 4, RGB(255, 255, 255));
    cxRightToLeftDependentDraw(S.DC(), cxRect(2, 0, 8, 4), RightToLeft,
                               [&] { SetPixel(S.DC(), 2, 1, RGB(255, 0, 0)); });
    // Mirrored about the middle of columns 2 to 7.
    EXPECT_EQ(S.Pixel(RightToLeft ? 7 : 2, 1), RGB(255, 0, 0)) << RightToLeft;
    EXPECT_EQ(S.Pixel(RightToLeft ? 2 : 7, 1), RGB(255, 255, 255)) << RightToLeft;
    EXPECT_EQ(GetGraphicsMode(S.DC()), GM_COMPATIBLE) << RightToLeft;
    XFORM X;
    GetWorldTransform(S.DC(), &X);
    EXPECT_EQ(X.eM11, 1.0f);
    EXPECT_EQ(X.eDx, 0.0f);
  }
}

}  // namespace
