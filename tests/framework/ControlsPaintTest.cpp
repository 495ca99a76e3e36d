// The painting road: the back buffer of double-buffered controls, the
// background erase, the parent's background under a control, printing into
// a DC and the non-client area of a control that draws its own border.
#include <gtest/gtest.h>

#include <optional>

#include "Forms.h"
#include "WinHandles.h"

namespace {

// A 32-bit top-down DIB section in a memory DC, white to start with.
class TSurface {
 public:
  TSurface(int AWidth, int AHeight, COLORREF AFill = RGB(255, 255, 255)) : FWidth(AWidth) {
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
    Info.bmiHeader.biWidth = AWidth;
    Info.bmiHeader.biHeight = -AHeight;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    FDC.Reset(CreateCompatibleDC(nullptr));
    FBitmap.Reset(CreateDIBSection(FDC.Get(), &Info, DIB_RGB_COLORS, &FBits, nullptr, 0));
    FSelect.emplace(FDC.Get(), FBitmap.Get());
    TBrushHandle Brush(CreateSolidBrush(AFill));
    RECT R{0, 0, AWidth, AHeight};
    FillRect(FDC.Get(), &R, Brush.Get());
  }
  HDC DC() const { return FDC.Get(); }
  RGBQUAD Quad(int X, int Y) const {
    GdiFlush();
    return static_cast<const RGBQUAD*>(FBits)[Y * FWidth + X];
  }
  COLORREF Pixel(int X, int Y) const {
    RGBQUAD Q = Quad(X, Y);
    return RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue);
  }

 private:
  int FWidth;
  void* FBits = nullptr;
  TBitmapHandle FBitmap;
  TMemoryDC FDC;
  std::optional<TSelectObjectGuard> FSelect;
};

// Paints a frame of FrameColor along its client edges and fills the rest;
// counts background fills and records what its paints were given.
class TFramedControl : public TCustomControl {
  DECLARE_CLASS(TFramedControl, TCustomControl)
 public:
  explicit TFramedControl(TComponent* AOwner) : TCustomControl(AOwner) {}
  TColor FrameColor = clRed, FillColor = clLime;
  int Erases = 0, Paints = 0;
  RECT LastClip{};
  DIBSECTION LastBitmap{};
  bool LastIntoDib = false;
  void SetOpaque(bool V) {
    TControlStyle S = ControlStyle();
    SetControlStyle(V ? S.Include(csOpaque) : S.Exclude(csOpaque));
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    inherited::CreateParams(Params);
    // The frame runs along the edges.
    Params.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
  }
  void EraseBackground(HDC DC) override {
    ++Erases;
    inherited::EraseBackground(DC);
  }
  void Paint() override {
    ++Paints;
    HDC DC = Canvas()->Handle();
    GetClipBox(DC, &LastClip);
    LastBitmap = DIBSECTION{};
    LastIntoDib = GetObjectW(GetCurrentObject(DC, OBJ_BITMAP), sizeof(LastBitmap), &LastBitmap) ==
                  sizeof(LastBitmap);
    TRect R = ClientRect();
    Canvas()->Brush()->SetColor(FrameColor);
    Canvas()->FillRect(R);
    InflateRect(&R, -2, -2);
    Canvas()->Brush()->SetColor(FillColor);
    Canvas()->FillRect(R);
  }
};
IMPLEMENT_CLASS(TFramedControl)

// Paints a horizontal ramp of grey: the red, green and blue of column X are
// X (modulo 256).
class TGradientControl : public TCustomControl {
  DECLARE_CLASS(TGradientControl, TCustomControl)
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    TRect R = ClientRect();
    for (Integer X = 0; X < R.right; ++X) {
      Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(X % 256, X % 256, X % 256)));
      Canvas()->FillRect(Rect(X, 0, X + 1, R.bottom));
    }
  }
};
IMPLEMENT_CLASS(TGradientControl)

// Draws nothing of its own but a dot at (1, 1): the rest shows what lies
// behind it.
class TSeeThroughControl : public TCustomControl {
  DECLARE_CLASS(TSeeThroughControl, TCustomControl)
 public:
  explicit TSeeThroughControl(TComponent* AOwner) : TCustomControl(AOwner) {
    SetParentBackground(true);
  }

 protected:
  void Paint() override { SetPixel(Canvas()->Handle(), 1, 1, RGB(0, 0, 255)); }
};
IMPLEMENT_CLASS(TSeeThroughControl)

// Keeps a border of its own in the non-client area and draws it.
class TBorderedControl : public TCustomControl {
  DECLARE_CLASS(TBorderedControl, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  static constexpr int Border = 4;
  int NCPaints = 0;

 protected:
  void WMNCCalcSize(TMessage& Message) override {
    inherited::WMNCCalcSize(Message);
    auto* R = reinterpret_cast<RECT*>(Message.LParam);
    InflateRect(R, -Border, -Border);
  }
  void WMNCPaint(TMessage&) override {
    ++NCPaints;
    HDC DC = GetWindowDC(FHandle);
    PrintNonClient(DC);
    ReleaseDC(FHandle, DC);
  }
  void PrintNonClient(HDC DC) override {
    RECT R;
    GetWindowRect(FHandle, &R);
    OffsetRect(&R, -R.left, -R.top);
    TBrushHandle Brush(CreateSolidBrush(RGB(0, 0, 128)));
    FillRect(DC, &R, Brush.Get());
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clYellow);
    Canvas()->FillRect(ClientRect());
  }
};
IMPLEMENT_CLASS(TBorderedControl)

struct PaintFixture : testing::Test {
  TOwned<TCustomForm> Form;
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(30, 30, 400, 300);
  }
  void TearDown() override { Form.reset(); }
  template <class T>
  T* Add(TWinControl* AParent, const TRect& R) {
    auto* C = Create<T>(Form.get());
    C->SetParent(AParent);
    C->SetBoundsRect(R);
    return C;
  }
  // Sends the control's client area into a fresh surface.
  static void PrintClient(TWinControl* C, TSurface& S, LPARAM AFlags) {
    SendMessageW(C->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(S.DC()), AFlags);
  }
};

TEST_F(PaintFixture, AnOpaqueDoubleBufferedControlIsNeverErasedAndPaintsIntoA32BitBuffer) {
  auto* C = Add<TFramedControl>(Form.get(), Bounds(10, 10, 100, 60));
  C->SetOpaque(true);
  C->SetDoubleBuffered(true);
  Form->Show();
  Application()->ProcessMessages();
  C->Update();
  ASSERT_GT(C->Paints, 0);
  // Resizing (which invalidates with erasing) and part invalidations.
  for (Integer W : {140, 180, 90}) {
    C->SetBounds(10, 10, W, 70);
    C->Update();
  }
  RECT Part{20, 10, 50, 30};
  InvalidateRect(C->Handle(), &Part, TRUE);
  C->Update();
  EXPECT_EQ(C->Erases, 0);
  // The paint was given the invalidated part of a 32-bit DIB section, not
  // the whole client area.
  EXPECT_EQ(C->LastClip, Part);
  ASSERT_TRUE(C->LastIntoDib);
  EXPECT_EQ(C->LastBitmap.dsBm.bmBitsPixel, 32);
  EXPECT_GE(C->LastBitmap.dsBm.bmWidth, 30);
  EXPECT_GE(C->LastBitmap.dsBm.bmHeight, 20);
  // A control that is not opaque gets its background in the buffer only.
  C->SetOpaque(false);
  C->Erases = 0;
  C->Invalidate();
  C->Update();
  EXPECT_EQ(C->Erases, 1);
  // Without double buffering the platform's erase reaches it.
  C->SetDoubleBuffered(false);
  C->Erases = 0;
  C->Invalidate();
  C->Update();
  EXPECT_EQ(C->Erases, 1);
}

TEST_F(PaintFixture, ABufferedControlPaintsItsNewSizeIntoABitmap) {
  auto* C = Add<TFramedControl>(Form.get(), Bounds(10, 10, 60, 40));
  C->SetOpaque(true);
  C->SetDoubleBuffered(true);
  Form->Show();
  C->SetBounds(10, 10, 120, 80);
  Application()->ProcessMessages();
  // The whole client area, and a part of it away from the origin (the
  // buffer holds only that part).
  struct {
    RECT Clip;
  } Parts[] = {{{0, 0, 120, 80}}, {{70, 50, 120, 80}}};
  for (const auto& P : Parts) {
    TSurface S(120, 80);
    IntersectClipRect(S.DC(), P.Clip.left, P.Clip.top, P.Clip.right, P.Clip.bottom);
    PrintClient(C, S, PRF_CLIENT);
    struct {
      int X, Y;
      COLORREF Colour;
    } Points[] = {{119, 79, RGB(255, 0, 0)}, {118, 40, RGB(255, 0, 0)}, {100, 60, RGB(0, 255, 0)},
                  {117, 77, RGB(0, 255, 0)}, {0, 0, RGB(255, 0, 0)},    {5, 5, RGB(0, 255, 0)}};
    for (const auto& Pt : Points) {
      POINT At{Pt.X, Pt.Y};
      const bool Inside = PtInRect(&P.Clip, At);
      EXPECT_EQ(S.Pixel(Pt.X, Pt.Y), Inside ? Pt.Colour : RGB(255, 255, 255))
          << Pt.X << ", " << Pt.Y << " clip " << P.Clip.left << ", " << P.Clip.top;
      // What GDI drew comes out opaque.
      if (Inside) {
        EXPECT_EQ(S.Quad(Pt.X, Pt.Y).rgbReserved, 255) << Pt.X << ", " << Pt.Y;
      }
    }
  }
}

TEST_F(PaintFixture, AControlWithParentBackgroundShowsTheParentsGradient) {
  struct {
    bool ParentBuffered, ChildBuffered;
  } Roads[] = {{false, false}, {true, false}, {false, true}, {true, true}};
  for (const auto& Road : Roads) {
    auto* Parent = Add<TGradientControl>(Form.get(), Bounds(5, 5, 300, 100));
    auto* Child = Add<TSeeThroughControl>(Parent, Bounds(100, 20, 80, 40));
    Parent->SetDoubleBuffered(Road.ParentBuffered);
    Child->SetDoubleBuffered(Road.ChildBuffered);
    Form->Show();
    TSurface S(80, 40, RGB(255, 0, 255));
    PrintClient(Child, S, PRF_CLIENT | PRF_ERASEBKGND);
    for (int X : {0, 3, 40, 79})
      for (int Y : {0, 20, 39})
        EXPECT_EQ(S.Pixel(X, Y), RGB(100 + X, 100 + X, 100 + X))
            << X << ", " << Y << " parent buffered " << Road.ParentBuffered << ", child buffered "
            << Road.ChildBuffered;
    EXPECT_EQ(S.Pixel(1, 1), RGB(0, 0, 255)) << "the child's own painting on top";
    Parent->Free();
  }
}

TEST_F(PaintFixture, NonClientHandlersGiveTheControlItsOwnBorder) {
  auto* C = Add<TBorderedControl>(Form.get(), Bounds(20, 30, 60, 40));
  Form->Show();
  Application()->ProcessMessages();
  const int B = TBorderedControl::Border;
  EXPECT_EQ(C->ClientRect(), Rect(0, 0, 60 - 2 * B, 40 - 2 * B));
  EXPECT_GT(C->NCPaints, 0);
  // Printed with its frame, alone and as a child of the printed form.
  POINT InForm{0, 0};
  ClientToScreen(Form->Handle(), &InForm);
  RECT FormWindow;
  GetWindowRect(Form->Handle(), &FormWindow);
  struct {
    TWinControl* Printed;
    POINT Origin;  // the control's top-left in the picture
  } Pictures[] = {
      {C, {0, 0}},
      {Form.get(), {InForm.x - FormWindow.left + 20, InForm.y - FormWindow.top + 30}},
  };
  for (const auto& P : Pictures) {
    TSurface S(RectWidth(FormWindow), RectHeight(FormWindow));
    P.Printed->PaintTo(S.DC(), 0, 0);
    const int X = P.Origin.x, Y = P.Origin.y;
    const bool WholeForm = P.Printed != C;
    EXPECT_EQ(S.Pixel(X, Y), RGB(0, 0, 128)) << WholeForm;
    EXPECT_EQ(S.Pixel(X + B - 1, Y + 20), RGB(0, 0, 128)) << WholeForm;
    EXPECT_EQ(S.Pixel(X + B, Y + B), RGB(255, 255, 0)) << WholeForm;
    EXPECT_EQ(S.Pixel(X + 59 - B, Y + 39 - B), RGB(255, 255, 0)) << WholeForm;
    EXPECT_EQ(S.Pixel(X + 59, Y + 39), RGB(0, 0, 128)) << WholeForm;
  }
}

TEST_F(PaintFixture, PaintToPrintsChildrenAtTheirPlaces) {
  auto* Panel = Add<TFramedControl>(Form.get(), Bounds(0, 0, 200, 120));
  Panel->FillColor = clWhite;
  auto* Child = Add<TFramedControl>(Panel, Bounds(50, 40, 30, 20));
  Child->FillColor = clBlue;
  Form->Show();
  TSurface S(220, 140, RGB(0, 0, 0));
  Panel->PaintTo(S.DC(), 10, 10);
  EXPECT_EQ(S.Pixel(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(S.Pixel(20, 20), RGB(255, 255, 255));
  EXPECT_EQ(S.Pixel(10 + 50, 10 + 40), RGB(255, 0, 0));
  EXPECT_EQ(S.Pixel(10 + 60, 10 + 50), RGB(0, 0, 255));
  EXPECT_EQ(S.Pixel(5, 5), RGB(0, 0, 0));
}

TEST(MakeAlphaOpaque, SetsTheAlphaOfTheRectangleOnlyInEitherRowOrder) {
  for (bool TopDown : {true, false}) {
    // 8 x 4 pixels; a rectangle partly outside is clipped to them.
    std::vector<RGBQUAD> Pixels(32, RGBQUAD{30, 20, 10, 0});
    MakeAlphaOpaque(Pixels.data(), 8, 4, Rect(6, 2, 20, 20), TopDown);
    auto At = [&](int X, int Y) { return Pixels[(TopDown ? Y : 3 - Y) * 8 + X]; };
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 8; ++X)
        EXPECT_EQ(At(X, Y).rgbReserved, X >= 6 && Y >= 2 ? 255 : 0)
            << X << ", " << Y << (TopDown ? " top-down" : " bottom-up");
    EXPECT_EQ(At(7, 3).rgbRed, 10);
  }
  // Nothing to do, nothing touched.
  MakeAlphaOpaque(nullptr, 8, 4, Rect(0, 0, 8, 4));
}

}  // namespace
