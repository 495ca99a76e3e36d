// Drag images, the size frame and drag detection on real windows, driven by
// input the platform injects.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "WinHandles.h"
#include "cxControls.h"

using namespace ControlsTest;

namespace {

// Moves the pointer and waits until the platform has it there.
void MoveMouse(POINT P) {
  SendMouse(0, P);
  PumpUntil([&] { return CursorAt(P); });
}

TRect WindowRect(HWND AWnd) {
  RECT R{};
  GetWindowRect(AWnd, &R);
  return R;
}

std::string Text(const TRect& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) +
         "," + std::to_string(R.bottom);
}

TColor ScreenPixel(Integer X, Integer Y) {
  TScreenDC DC;
  return static_cast<TColor>(GetPixel(DC.Get(), X, Y));
}

// A drag image that shows one colour, so that it can be found on the screen.
class TColorDragImage : public TcxCustomDragImage {
  DECLARE_CLASS(TColorDragImage, TcxCustomDragImage)
 public:
  TColor Fill = clRed;

 protected:
  void Paint() override {
    Canvas()->Canvas()->Brush()->SetColor(Fill);
    Canvas()->Canvas()->FillRect(ClientRect());
  }
};
IMPLEMENT_CLASS(TColorDragImage)

class DragImage : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(300, 200));
    Form->SetColor(clWhite);
    SetForegroundWindow(Form->Handle());
    ProcessMessages();
  }
  TOwned<TCustomForm> Form;
};

TEST_F(DragImage, IsATopmostToolWindowOwnedByTheActiveFormAndBlendedAt180) {
  TOwned<TcxCustomDragImage> Image = MakeOwned<TcxCustomDragImage>();
  ASSERT_TRUE(Image->HandleAllocated());
  HWND Wnd = Image->Handle();
  LONG_PTR Style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  LONG_PTR ExStyle = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  EXPECT_EQ(Style & (WS_POPUP | WS_CHILD | WS_VISIBLE | WS_CAPTION), WS_POPUP);
  EXPECT_TRUE(ExStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ExStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(ExStyle & WS_EX_LAYERED);
  EXPECT_EQ(GetWindow(Wnd, GW_OWNER), Form->Handle());
  EXPECT_EQ(Text(WindowRect(Wnd)), "0,0,0,0");
  EXPECT_TRUE(Image->AlphaBlend());
  EXPECT_TRUE(Image->AlphaBlended());
  EXPECT_EQ(Image->AlphaBlendValue(), 180);
  BYTE Alpha = 0;
  DWORD Flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(Wnd, nullptr, &Alpha, &Flags));
  EXPECT_EQ(Alpha, 180);
  EXPECT_EQ(Flags, static_cast<DWORD>(LWA_ALPHA));
  EXPECT_FALSE(Image->Visible());
}

// The layered attributes follow AlphaBlend and TransparentColor.
TEST_F(DragImage, LayeredAttributesFollowAlphaBlendAndTransparentColor) {
  struct TCase {
    bool AlphaBlend;
    bool TransparentColor;
    bool Layered;
    DWORD Flags;
  };
  const TCase Cases[] = {
      {true, false, true, LWA_ALPHA},
      {false, true, true, LWA_COLORKEY},
      {true, true, true, LWA_ALPHA | LWA_COLORKEY},
      {false, false, false, 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.AlphaBlend) + " " + std::to_string(C.TransparentColor));
    TOwned<TcxCustomDragImage> Image = MakeOwned<TcxCustomDragImage>();
    Image->SetAlphaBlendValue(99);
    Image->SetTransparentColorValue(clLime);
    Image->SetTransparentColor(C.TransparentColor);
    Image->SetAlphaBlend(C.AlphaBlend);
    HWND Wnd = Image->Handle();
    EXPECT_EQ((GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, C.Layered);
    EXPECT_EQ(Image->AlphaBlended(), C.AlphaBlend);
    if (!C.Layered) continue;
    BYTE Alpha = 0;
    DWORD Flags = 0;
    COLORREF Key = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Wnd, &Key, &Alpha, &Flags));
    EXPECT_EQ(Flags, C.Flags);
    if (C.Flags & LWA_ALPHA) {
      EXPECT_EQ(Alpha, 99);
    }
    if (C.Flags & LWA_COLORKEY) {
      EXPECT_EQ(Key, RGB(0, 255, 0));
    }
  }
}

TEST_F(DragImage, InitKeepsTheHeldPointUnderThePosition) {
  TOwned<TcxCustomDragImage> Image = MakeOwned<TcxCustomDragImage>();
  Image->Init(TRect{10, 20, 110, 70}, TPoint{30, 25});
  Image->MoveTo(TPoint{500, 400});
  EXPECT_EQ(Text(WindowRect(Image->Handle())), "480,395,580,445");
  Image->Offset(5, -5);
  EXPECT_EQ(Text(WindowRect(Image->Handle())), "485,390,585,440");
  Image->MoveTo(TPoint{20, 5});
  EXPECT_EQ(Text(WindowRect(Image->Handle())), "0,0,100,50");
}

// Shown over the form the image takes neither activation nor the mouse:
// a click on it reaches the form below.
TEST_F(DragImage, ShowsWithoutActivationAndLetsTheMouseThrough) {
  TOwned<TColorDragImage> Image = MakeOwned<TColorDragImage>();
  Image->SetAlphaBlend(false);
  TPoint Origin = Form->ClientToScreen(TPoint{0, 0});
  Image->Init(TRect{0, 0, 40, 30}, TPoint{20, 15});
  Image->MoveTo(TPoint{Origin.x + 100, Origin.y + 100});
  HWND Active = GetActiveWindow();
  Image->Show();
  ProcessMessages();
  EXPECT_TRUE(Image->Visible());
  EXPECT_EQ(GetActiveWindow(), Active);
  EXPECT_EQ(WindowFromPoint(POINT{Origin.x + 100, Origin.y + 100}), Form->Handle());
  EXPECT_EQ(ScreenPixel(Origin.x + 100, Origin.y + 100), static_cast<TColor>(RGB(255, 0, 0)));

  int Downs = 0;
  struct THandler {
    int* Count;
    void Down(TObject*, TMouseButton, TShiftState, Integer, Integer) { ++*Count; }
  } Handler{&Downs};
  Form->OnMouseDown = MakeEvent<&THandler::Down>(&Handler);
  MoveMouse(POINT{Origin.x + 100, Origin.y + 100});
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return Downs == 1; }));
  Form->OnMouseDown = TMouseEvent();

  Image->SetVisible(false);
  EXPECT_FALSE(Image->Visible());
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(Origin.x + 100, Origin.y + 100), static_cast<TColor>(RGB(255, 255, 255)));
}

TEST_F(DragImage, FollowsThePointer) {
  TOwned<TColorDragImage> Image = MakeOwned<TColorDragImage>();
  Image->SetAlphaBlend(false);
  Image->Init(TRect{0, 0, 20, 20}, TPoint{10, 10});
  Image->Show();
  TPoint Origin = Form->ClientToScreen(TPoint{0, 0});
  struct TFollower {
    TcxCustomDragImage* Image;
    TCustomForm* Form;
    void Move(TObject*, TShiftState, Integer X, Integer Y) {
      Image->MoveTo(Form->ClientToScreen(TPoint{X, Y}));
    }
  } Follower{Image.get(), Form.get()};
  Form->OnMouseMove = MakeEvent<&TFollower::Move>(&Follower);
  for (POINT P : {POINT{Origin.x + 50, Origin.y + 40}, POINT{Origin.x + 200, Origin.y + 150}}) {
    MoveMouse(P);
    ProcessMessages();
    EXPECT_EQ(Text(WindowRect(Image->Handle())),
              Text(TRect{P.x - 10, P.y - 10, P.x + 10, P.y + 10}));
    Image->Update();
    EXPECT_EQ(ScreenPixel(P.x + 5, P.y + 5), static_cast<TColor>(RGB(255, 0, 0)));
  }
  Form->OnMouseMove = TMouseMoveEvent();
}

TEST_F(DragImage, APopupParentOwnsTheWindowUntilItIsFreed) {
  TOwned<TcxCustomDragImage> Image = MakeOwned<TcxCustomDragImage>();
  TCustomForm* Other = CreateForm(100, 100);
  Image->SetPopupParent(Other);
  EXPECT_EQ(GetWindow(Image->Handle(), GW_OWNER), Other->Handle());
  EXPECT_TRUE(GetWindowLongPtrW(Image->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  Other->Free();
  EXPECT_EQ(Image->PopupParent(), nullptr);
}

// ---------------------------------------------------------------------------
// The size frame

bool InWindowRegion(HWND AWnd, Integer X, Integer Y) {
  TcxRegion Region;
  if (GetWindowRgn(AWnd, Region.Handle()) == ERROR) return true;
  return Region.PtInRegion(X, Y);
}

TEST(SizeFrame, ShowsOnlyARingOfItsFrameWidth) {
  struct TCase {
    bool FillSelection;
    TPoint P;
    bool Inside;
  };
  // A frame of width 3 around a 100 x 60 rectangle.
  const TCase Cases[] = {
      {false, {0, 0}, true},   {false, {2, 30}, true},  {false, {3, 30}, false},
      {false, {50, 2}, true},  {false, {50, 3}, false}, {false, {96, 30}, false},
      {false, {97, 30}, true}, {false, {99, 59}, true}, {false, {50, 56}, false},
      {false, {50, 57}, true}, {true, {50, 30}, true},  {true, {3, 3}, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.FillSelection) + " " + std::to_string(C.P.x) + "," +
                 std::to_string(C.P.y));
    TOwned<TcxSizeFrame> Frame = MakeOwned<TcxSizeFrame>(3);
    EXPECT_FALSE(Frame->AlphaBlend());
    Frame->SetFillSelection(C.FillSelection);
    Frame->DrawSizeFrame(TRect{100, 100, 200, 160});
    EXPECT_EQ(Text(WindowRect(Frame->Handle())), "100,100,200,160");
    EXPECT_EQ(InWindowRegion(Frame->Handle(), C.P.x, C.P.y), C.Inside);
  }
}

TEST(SizeFrame, ARingFollowsAnyRegionShape) {
  // An L: the full width on top, the left half below.
  TcxRegion L(0, 0, 100, 40);
  L.Combine(TRect{0, 40, 50, 100}, roAdd);
  TOwned<TcxSizeFrame> Frame = MakeOwned<TcxSizeFrame>(4);
  Frame->DrawSizeFrame(TRect{50, 50, 150, 150}, &L);
  HWND Wnd = Frame->Handle();
  const struct {
    TPoint P;
    bool Inside;
  } Cases[] = {{{1, 50}, true},   {{20, 50}, false}, {{48, 70}, true},
               {{45, 70}, false}, {{70, 38}, true},  {{70, 35}, false},
               {{80, 60}, false}, {{25, 98}, true},  {{98, 20}, true}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.P.x) + "," + std::to_string(C.P.y));
    EXPECT_EQ(InWindowRegion(Wnd, C.P.x, C.P.y), C.Inside);
  }
}

TEST(SizeFrame, TooSmallForItsRingKeepsTheShapeItHad) {
  TOwned<TcxSizeFrame> Frame = MakeOwned<TcxSizeFrame>(3);
  Frame->DrawSizeFrame(TRect{100, 100, 200, 160});
  HWND Wnd = Frame->Handle();
  TcxRegion Before;
  ASSERT_NE(GetWindowRgn(Wnd, Before.Handle()), ERROR);
  for (const TRect& R : {TRect{100, 100, 106, 160}, TRect{100, 100, 200, 105}}) {
    Frame->DrawSizeFrame(R);
    EXPECT_EQ(Text(WindowRect(Wnd)), Text(R));
    TcxRegion After;
    ASSERT_NE(GetWindowRgn(Wnd, After.Handle()), ERROR);
    EXPECT_TRUE(After.IsEqual(&Before));
  }
  // Large enough again, the ring is made for the new size.
  Frame->DrawSizeFrame(TRect{100, 100, 180, 150});
  EXPECT_TRUE(InWindowRegion(Wnd, 79, 49));
  EXPECT_FALSE(InWindowRegion(Wnd, 76, 46));
}

// On the screen the ring shows the halftone pattern and the inside shows
// what is below.
TEST(SizeFrame, DrawsTheHalftonePatternOnTheRingOnly) {
  TOwned<TCustomForm> Form(CreateForm(300, 200));
  Form->SetColor(clLime);
  Form->Repaint();
  TPoint Origin = Form->ClientToScreen(TPoint{0, 0});
  TOwned<TcxSizeFrame> Frame = MakeOwned<TcxSizeFrame>(4);
  TRect R = Bounds(Origin.x + 40, Origin.y + 40, 120, 80);
  Frame->DrawSizeFrame(R);
  Frame->Show();
  ProcessMessages();
  Frame->Update();
  int Black = 0, White = 0;
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 10; X < 30; ++X) {
      COLORREF C = static_cast<COLORREF>(ScreenPixel(R.left + X, R.top + Y));
      Black += C == RGB(0, 0, 0);
      White += C == RGB(255, 255, 255);
    }
  EXPECT_EQ(Black, 40);
  EXPECT_EQ(White, 40);
  // Neighbours differ: a pattern, not a solid line.
  EXPECT_NE(ScreenPixel(R.left + 10, R.top + 1), ScreenPixel(R.left + 11, R.top + 1));
  EXPECT_EQ(ScreenPixel(R.left + 60, R.top + 40), static_cast<TColor>(RGB(0, 255, 0)));
  EXPECT_EQ(ScreenPixel(R.left + 4, R.top + 40), static_cast<TColor>(RGB(0, 255, 0)));
  Frame->Hide();
}

// ---------------------------------------------------------------------------
// Drag detection

// The detection's loop runs until the capture goes; a thread timer takes it
// away after a while so that a failing case cannot hang the run.
void CALLBACK TakeCaptureAway(HWND, UINT, UINT_PTR, DWORD) { ReleaseCapture(); }

class DragDetect : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(300, 200));
    SetForegroundWindow(Form->Handle());
    ProcessMessages();
    // Pressed one pixel right of the client's left edge.
    Origin = Form->ClientToScreen(TPoint{0, 0});
    Press = POINT{Origin.x + 1, Origin.y + 100};
    MoveMouse(Press);
    Watchdog = SetTimer(nullptr, 0, 5000, &TakeCaptureAway);
  }
  void TearDown() override {
    KillTimer(nullptr, Watchdog);
    if (GetCapture()) ReleaseCapture();
    SendMouse(MOUSEEVENTF_LEFTUP);
    ProcessMessages();
  }
  TcxDragDetect Detect() { return cxDragDetect(Form->Handle(), TPoint{Press.x, Press.y}); }
  TOwned<TCustomForm> Form;
  TPoint Origin;
  POINT Press;
  UINT_PTR Watchdog = 0;
};

TEST_F(DragDetect, MovesPastTheThresholdAreADragAndReleasesInsideAreNot) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  struct TCase {
    const char* Name;
    Integer DX, DY;
    DWORD Release;
    TcxDragDetect Expected;
  };
  const TCase Cases[] = {
      {"inside, released", D - 1, 0, MOUSEEVENTF_LEFTUP, ddNone},
      {"right, past", D + 1, 0, 0, ddDrag},
      {"down, past", 0, D + 1, 0, ddDrag},
      // Left of the client origin: the coordinates are negative.
      {"left of the origin, inside", -2, 0, MOUSEEVENTF_LEFTUP, ddNone},
      {"left of the origin, past", -(D + 1), 0, 0, ddDrag},
      {"right button up", 1, 1, MOUSEEVENTF_RIGHTUP, ddNone},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    MoveMouse(Press);
    SetCapture(Form->Handle());
    SendMouse(0, POINT{Press.x + C.DX, Press.y + C.DY});
    if (C.Release) SendMouse(C.Release);
    EXPECT_EQ(Detect(), C.Expected);
    EXPECT_EQ(GetCapture(), nullptr);
    ProcessMessages();
  }
}

TEST_F(DragDetect, EscapeALostCaptureAndQuitCancel) {
  struct TCase {
    const char* Name;
    UINT Msg;
    WPARAM WParam;
  };
  const TCase Cases[] = {
      {"escape down", WM_KEYDOWN, VK_ESCAPE},
      {"escape up", WM_KEYUP, VK_ESCAPE},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    PostMessageW(Form->Handle(), C.Msg, C.WParam, 0);
    EXPECT_EQ(Detect(), ddCancel);
    EXPECT_EQ(GetCapture(), nullptr);
  }
  {
    SCOPED_TRACE("capture lost");
    UINT_PTR Soon = SetTimer(nullptr, 0, 10, &TakeCaptureAway);
    EXPECT_EQ(Detect(), ddCancel);
    KillTimer(nullptr, Soon);
  }
  PostQuitMessage(7);
  EXPECT_EQ(Detect(), ddCancel);
  MSG Msg;
  ASSERT_TRUE(PeekMessageW(&Msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(Msg.wParam, 7u);
}

// ---------------------------------------------------------------------------
// The control's internal drag and drop, driven by injected input

// What one control's operations did, one line per event.
struct TDragLog {
  std::vector<std::string> Lines;
  int Objects = 0;
  // How the fake objects behave.
  bool Immediate = false;
  Integer Zoom = 100;
  Integer AcceptBelowX = 1000;
  bool FreeControlOnDrag = false;
  // The windows a picture-showing object made.
  HWND ImageWnd = nullptr;
  HWND FrameWnd = nullptr;
  TcxControl* Control = nullptr;
  bool Has(const std::string& ALine) const {
    return std::find(Lines.begin(), Lines.end(), ALine) != Lines.end();
  }
  bool HasPrefix(const std::string& APrefix) const {
    for (const std::string& L : Lines)
      if (L.rfind(APrefix, 0) == 0) return true;
    return false;
  }
};

std::string Point(const TPoint& P) { return std::to_string(P.x) + "," + std::to_string(P.y); }

class TDragTestControl : public TcxControl {
  DECLARE_CLASS(TDragTestControl, TcxControl)
 public:
  using TcxControl::TcxControl;
  TDragLog* Log = nullptr;
  bool AllowStart = true;

 protected:
  bool StartDragAndDrop(const TPoint& P) override {
    Log->Lines.push_back("start " + Point(P));
    return AllowStart;
  }
  void KeyDown(Word& Key, TShiftState Shift) override {
    Log->Lines.push_back("control key " + std::to_string(Key));
    inherited::KeyDown(Key, Shift);
  }
};
IMPLEMENT_CLASS(TDragTestControl)

class TFakeDragObject : public TcxDragAndDropObject {
  DECLARE_CLASS(TFakeDragObject, TcxDragAndDropObject)
 public:
  explicit TFakeDragObject(TcxControl* AControl)
      : TcxDragAndDropObject(AControl), FLog(static_cast<TDragTestControl*>(AControl)->Log) {
    FNumber = ++FLog->Objects;
    FLog->Lines.push_back("create " + std::to_string(FNumber));
  }
  ~TFakeDragObject() override { FLog->Lines.push_back("free " + std::to_string(FNumber)); }
  bool GetImmediateStart() override { return FLog->Immediate; }

 protected:
  Integer GetZoomFactor() override { return FLog->Zoom; }
  void BeginDragAndDrop() override {
    inherited::BeginDragAndDrop();
    FLog->Lines.push_back("begin " + Point(CurMousePos));
  }
  void DragAndDrop(const TPoint& P, bool& Accepted) override {
    Accepted = P.x < FLog->AcceptBelowX;
    inherited::DragAndDrop(P, Accepted);
    FLog->Lines.push_back("drag " + Point(P) + (Accepted ? " accepted" : " refused"));
    if (FLog->FreeControlOnDrag) {
      FLog->FreeControlOnDrag = false;
      TcxControl* C = std::exchange(FLog->Control, nullptr);
      C->Free();
    }
  }
  void EndDragAndDrop(bool Accepted) override {
    inherited::EndDragAndDrop(Accepted);
    FLog->Lines.push_back(std::string("end ") + (Accepted ? "accepted" : "cancelled"));
  }
  bool ProcessKeyDown(Word AKey, TShiftState) override {
    FLog->Lines.push_back("object key " + std::to_string(AKey));
    return AKey == VK_SHIFT;
  }

 protected:
  TDragLog* FLog;

 private:
  int FNumber;
};
IMPLEMENT_CREATABLE_CLASS(TFakeDragObject)

// Shows what a moving or sizing operation shows: a drag image under the
// pointer and a size frame around a square centred on it.
class TPictureDragObject : public TFakeDragObject {
  DECLARE_CLASS(TPictureDragObject, TFakeDragObject)
 public:
  using TFakeDragObject::TFakeDragObject;

 protected:
  void BeginDragAndDrop() override {
    inherited::BeginDragAndDrop();
    FImage = MakeOwned<TColorDragImage>();
    FImage->SetAlphaBlend(false);
    FImage->Init(TRect{0, 0, 20, 20}, TPoint{10, 10});
    FFrame = MakeOwned<TcxSizeFrame>(2);
    Place(CurMousePos);
    FImage->Show();
    FFrame->Show();
    FLog->ImageWnd = FImage->Handle();
    FLog->FrameWnd = FFrame->Handle();
  }
  void DragAndDrop(const TPoint& P, bool& Accepted) override {
    inherited::DragAndDrop(P, Accepted);
    Place(P);
  }
  void EndDragAndDrop(bool Accepted) override {
    inherited::EndDragAndDrop(Accepted);
    FImage.reset();
    FFrame.reset();
  }

 private:
  void Place(const TPoint& P) {
    TPoint S = Control()->ClientToScreen(P);
    FImage->MoveTo(S);
    FFrame->DrawSizeFrame(TRect{S.x - 30, S.y - 30, S.x + 30, S.y + 30});
  }
  TOwned<TColorDragImage> FImage;
  TOwned<TcxSizeFrame> FFrame;
};
IMPLEMENT_CREATABLE_CLASS(TPictureDragObject)

class InternalDragAndDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(300, 200));
    SetForegroundWindow(Form->Handle());
    auto* C = Create<TDragTestControl>(Form.get());
    C->Log = &Log;
    C->SetDragAndDropObjectClass(TFakeDragObject::StaticClass());
    C->SetParent(Form.get());
    C->SetBounds(20, 20, 240, 150);
    Log.Control = C;
    Pump();
  }
  void TearDown() override {
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump();
    if (GetCapture()) ReleaseCapture();
    Screen()->SetCursor(crDefault);
  }
  TDragTestControl* Control() { return static_cast<TDragTestControl*>(Log.Control); }
  POINT ScreenPoint(Integer X, Integer Y) {
    TPoint P = Log.Control->ClientToScreen(TPoint{X, Y});
    return POINT{P.x, P.y};
  }
  // Keys reach controls as the application's loop hands them on.
  static void Pump() { Application()->ProcessMessages(); }
  bool PumpUntilLogged(const std::string& APrefix) {
    for (int Round = 0; Round < 1000 && !Log.HasPrefix(APrefix); ++Round) {
      Pump();
      Sleep(5);
    }
    return Log.HasPrefix(APrefix);
  }
  // Each press is at a new place, so that two in a row are never taken for
  // a double click.
  void Down() {
    PressAt.y += 12;
    Press = ScreenPoint(PressAt.x, PressAt.y);
    MoveMouse(Press);
    Pump();
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntilLogged("start"));
  }
  void MoveBy(Integer DX, Integer DY) {
    POINT P{Press.x + DX, Press.y + DY};
    SendMouse(0, P);
    for (int Round = 0; Round < 1000 && !CursorAt(P); ++Round) {
      Pump();
      Sleep(5);
    }
    // The pointer is there; its message may still be on its way.
    for (int Round = 0; Round < 4; ++Round) {
      Pump();
      Sleep(5);
    }
  }
  void Up() {
    SendMouse(MOUSEEVENTF_LEFTUP);
    for (int Round = 0; Round < 200 && (GetAsyncKeyState(VK_LBUTTON) < 0 || GetCapture());
         ++Round) {
      Pump();
      Sleep(5);
    }
    Pump();
  }
  TOwned<TCustomForm> Form;
  TDragLog Log;
  TPoint PressAt{50, 20};
  POINT Press{};
  // The client point of the press moved by (DX, DY), as the log writes it.
  std::string At(Integer DX, Integer DY) const {
    return Point(TPoint{PressAt.x + DX, PressAt.y + DY});
  }
};

TEST_F(InternalDragAndDrop, APressAndReleaseInsideTheThresholdNeverBegins) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  for (TPoint Move : {TPoint{0, 0}, TPoint{D - 1, 0}, TPoint{0, -(D - 1)}}) {
    SCOPED_TRACE(Point(Move));
    Log.Lines.clear();
    Down();
    EXPECT_EQ(Control()->DragAndDropState(), ddsStarting);
    MoveBy(Move.x, Move.y);
    EXPECT_EQ(Control()->DragAndDropState(), ddsStarting);
    Up();
    EXPECT_FALSE(Log.HasPrefix("begin"));
    EXPECT_FALSE(Log.HasPrefix("end"));
    EXPECT_EQ(Control()->DragAndDropState(), ddsNone);
    EXPECT_TRUE(Log.HasPrefix("free"));
  }
}

TEST_F(InternalDragAndDrop, ADragPastTheThresholdRunsAndDropsAccepted) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  Log.AcceptBelowX = 120;
  Down();
  EXPECT_TRUE(Log.Has("start " + At(0, 0)));
  EXPECT_EQ(Screen()->Cursor(), crDefault);
  MoveBy(D + 10, 0);
  EXPECT_EQ(Control()->DragAndDropState(), ddsInProcess);
  EXPECT_EQ(GetCapture(), Control()->Handle());
  EXPECT_TRUE(Log.HasPrefix("begin "));
  EXPECT_TRUE(Log.Has("drag " + At(D + 10, 0) + " accepted"));
  EXPECT_EQ(GetCursor(), Screen()->Cursors(crDrag));
  MoveBy(100, 20);
  EXPECT_TRUE(Log.Has("drag " + At(100, 20) + " refused"));
  EXPECT_EQ(GetCursor(), Screen()->Cursors(crNoDrop));
  MoveBy(30, 0);
  Up();
  EXPECT_TRUE(Log.Has("end accepted"));
  EXPECT_EQ(Control()->DragAndDropState(), ddsNone);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Screen()->Cursor(), crDefault);
  EXPECT_EQ(Log.Lines.back(), "free 1");
}

TEST_F(InternalDragAndDrop, EveryOperationGetsAFreshObject) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  for (int I = 1; I <= 2; ++I) {
    Down();
    MoveBy(D + 5, D + 5);
    Up();
    MoveBy(0, 0);
  }
  const std::vector<std::string> Expected = {"create 1", "free 1", "create 2", "free 2"};
  std::vector<std::string> Objects;
  for (const std::string& L : Log.Lines)
    if (L.rfind("create", 0) == 0 || L.rfind("free", 0) == 0) Objects.push_back(L);
  EXPECT_EQ(Objects, Expected);
}

// A key the operation does not use cancels it and does not reach the
// control; one it uses leaves it running. The right button cancels too.
TEST_F(InternalDragAndDrop, KeysAndTheRightButtonWhileDragging) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  struct TCase {
    const char* Name;
    std::function<void(HWND)> Act;
    bool Cancelled;
  };
  const TCase Cases[] = {
      {"shift is used", [](HWND W) { PostMessageW(W, WM_KEYDOWN, VK_SHIFT, 0); }, false},
      {"escape cancels", [](HWND W) { PostMessageW(W, WM_KEYDOWN, VK_ESCAPE, 0); }, true},
      {"a letter cancels", [](HWND W) { PostMessageW(W, WM_KEYDOWN, 'A', 0); }, true},
      {"right button cancels",
       [](HWND) {
         SendMouse(MOUSEEVENTF_RIGHTDOWN);
         SendMouse(MOUSEEVENTF_RIGHTUP);
       },
       true},
      {"cancel mode", [](HWND W) { PostMessageW(W, WM_CANCELMODE, 0, 0); }, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Log.Lines.clear();
    Down();
    MoveBy(D + 5, 0);
    ASSERT_EQ(Control()->DragAndDropState(), ddsInProcess);
    C.Act(Control()->Handle());
    for (int Round = 0; Round < 200 && !Log.HasPrefix(C.Cancelled ? "end" : "object key");
         ++Round) {
      Pump();
      Sleep(5);
    }
    EXPECT_EQ(Log.Has("end cancelled"), C.Cancelled);
    EXPECT_EQ(Control()->DragAndDropState(), C.Cancelled ? ddsNone : ddsInProcess);
    EXPECT_FALSE(Log.HasPrefix("control key"));
    if (C.Cancelled) {
      EXPECT_EQ(GetCapture(), nullptr);
    }
    Up();
    EXPECT_EQ(Control()->DragAndDropState(), ddsNone);
  }
}

// A zoom of 0 has no meaning: the points stay as they are instead of all
// becoming (-1, -1).
TEST_F(InternalDragAndDrop, TheObjectSeesCoordinatesDividedByItsZoom) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  for (Integer Zoom : {200, 50, 0}) {
    SCOPED_TRACE(Zoom);
    Log.Zoom = Zoom;
    Down();
    MoveBy(D + 10, 20);
    TPoint P{PressAt.x + D + 10, PressAt.y + 20};
    if (Zoom > 0) P = TPoint{MulDiv(P.x, 100, Zoom), MulDiv(P.y, 100, Zoom)};
    EXPECT_TRUE(Log.Has("drag " + Point(P) + " accepted"));
    Up();
  }
}

TEST_F(InternalDragAndDrop, TheSecondPressOfADoubleClickStartsNothing) {
  Down();
  Up();
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  for (int Round = 0; Round < 100; ++Round) {
    Pump();
    Sleep(5);
  }
  EXPECT_EQ(std::count(Log.Lines.begin(), Log.Lines.end(), "start " + At(0, 0)), 1);
  EXPECT_FALSE(Log.HasPrefix("begin"));
  EXPECT_EQ(Control()->DragAndDropState(), ddsNone);
}

TEST_F(InternalDragAndDrop, TheDragImageAndTheSizeFrameFollowThePointer) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  Control()->SetDragAndDropObjectClass(TPictureDragObject::StaticClass());
  Down();
  for (TPoint Move : {TPoint{D + 10, 0}, TPoint{60, 30}}) {
    SCOPED_TRACE(Point(Move));
    MoveBy(Move.x, Move.y);
    const POINT S{Press.x + Move.x, Press.y + Move.y};
    ASSERT_TRUE(IsWindowVisible(Log.ImageWnd));
    ASSERT_TRUE(IsWindowVisible(Log.FrameWnd));
    EXPECT_EQ(Text(WindowRect(Log.ImageWnd)), Text(TRect{S.x - 10, S.y - 10, S.x + 10, S.y + 10}));
    EXPECT_EQ(Text(WindowRect(Log.FrameWnd)), Text(TRect{S.x - 30, S.y - 30, S.x + 30, S.y + 30}));
    UpdateWindow(Log.ImageWnd);
    UpdateWindow(Log.FrameWnd);
    EXPECT_EQ(ScreenPixel(S.x + 5, S.y + 5), static_cast<TColor>(RGB(255, 0, 0)));
    // The ring's pattern: black and white side by side.
    COLORREF A = static_cast<COLORREF>(ScreenPixel(S.x, S.y - 30));
    COLORREF B = static_cast<COLORREF>(ScreenPixel(S.x + 1, S.y - 30));
    EXPECT_TRUE((A == RGB(0, 0, 0) && B == RGB(255, 255, 255)) ||
                (A == RGB(255, 255, 255) && B == RGB(0, 0, 0)));
  }
  Up();
  EXPECT_FALSE(IsWindow(Log.ImageWnd));
  EXPECT_FALSE(IsWindow(Log.FrameWnd));
}

// Something else took the pointer and gave it back before the drag began:
// the pending start is dropped.
TEST_F(InternalDragAndDrop, ACaptureObjectClearedBeforeTheBeginDropsThePendingStart) {
  Down();
  ASSERT_EQ(Control()->DragAndDropState(), ddsStarting);
  TObject Holder;
  Control()->SetMouseCaptureObject(&Holder);
  Control()->SetMouseCaptureObject(nullptr);
  EXPECT_EQ(Control()->DragAndDropState(), ddsNone);
  EXPECT_TRUE(Log.HasPrefix("free"));
  MoveBy(GetSystemMetrics(SM_CXDRAG) + 10, 0);
  EXPECT_FALSE(Log.HasPrefix("begin"));
  Up();
}

TEST_F(InternalDragAndDrop, AnImmediateStartBeginsOnThePress) {
  Log.Immediate = true;
  Down();
  EXPECT_EQ(Control()->DragAndDropState(), ddsInProcess);
  EXPECT_TRUE(Log.Has("begin " + At(0, 0)));
  Up();
  EXPECT_TRUE(Log.Has("end accepted"));
}

TEST_F(InternalDragAndDrop, ARefusedStartLeavesNothingRunning) {
  Control()->AllowStart = false;
  Down();
  EXPECT_EQ(Control()->DragAndDropState(), ddsNone);
  EXPECT_FALSE(Log.HasPrefix("create"));
  Up();
}

// The object's own code frees the control in the middle of the operation:
// the operation ends cancelled, the object goes when its call returns, and
// the pointer is left free.
TEST_F(InternalDragAndDrop, TheControlFreedDuringADragEndsItSafely) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  Log.FreeControlOnDrag = true;
  Down();
  MoveBy(D + 5, 0);
  EXPECT_EQ(Log.Control, nullptr);
  ASSERT_GE(Log.Lines.size(), 3u);
  const std::vector<std::string> Tail(Log.Lines.end() - 3, Log.Lines.end());
  EXPECT_EQ(Tail, (std::vector<std::string>{"drag " + At(D + 5, 0) + " accepted", "end cancelled",
                                            "free 1"}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Screen()->Cursor(), crDefault);
  Up();
}

// Freed by someone else (its form closing) while the pointer drags.
TEST_F(InternalDragAndDrop, TheControlFreedFromOutsideEndsItsDragCancelled) {
  const Integer D = GetSystemMetrics(SM_CXDRAG);
  Log.AcceptBelowX = 0;
  Down();
  MoveBy(D + 5, 0);
  ASSERT_EQ(GetCursor(), Screen()->Cursors(crNoDrop));
  std::exchange(Log.Control, nullptr)->Free();
  EXPECT_EQ(Log.Lines.back(), "free 1");
  EXPECT_TRUE(Log.Has("end cancelled"));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Screen()->Cursor(), crDefault);
  Up();
}

// ---------------------------------------------------------------------------
// The control's drag images for the framework's drag and drop

class TDragImagesControl : public TcxControl {
  DECLARE_CLASS(TDragImagesControl, TcxControl)
 public:
  using TcxControl::TcxControl;
  bool WithImages = false;
  TPoint ImageSize{0, 0};
  int Draws = 0;
  TcxDragImageList* Images() { return GetDragImages(); }
  void EndDrag() { DoEndDrag(nullptr, 0, 0); }

 protected:
  bool HasDragImages() override { return WithImages; }
  TPoint GetDragImagesSize() override { return ImageSize; }
  void DrawDragImage(TcxCanvas* ACanvas, const TRect& R) override {
    ++Draws;
    ACanvas->FillRect(R, clRed);
  }
};
IMPLEMENT_CLASS(TDragImagesControl)

TEST(ControlDragImages, AreOffByDefaultAndMadeOnceFromTheDrawnImage) {
  struct TCase {
    const char* Name;
    bool WithImages;
    TPoint Size;
    bool HasList;
  };
  const TCase Cases[] = {
      {"off", false, {32, 16}, false},
      {"no size", true, {0, 16}, false},
      {"on", true, {32, 16}, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TDragImagesControl> Control = MakeOwned<TDragImagesControl>(nullptr);
    Control->WithImages = C.WithImages;
    Control->ImageSize = C.Size;
    EXPECT_FALSE(Control->ControlStyle().Contains(csDisplayDragImage));
    TcxDragImageList* List = Control->Images();
    EXPECT_EQ(List != nullptr, C.HasList);
    if (!List) continue;
    EXPECT_EQ(List->Count(), 1);
    EXPECT_EQ(List->Width(), 32);
    EXPECT_EQ(List->Height(), 16);
    EXPECT_EQ(Control->Images(), List);
    EXPECT_EQ(Control->Draws, 1);
    // The list goes with the end of the drag and is made anew for the next.
    Control->EndDrag();
    EXPECT_NE(Control->Images(), nullptr);
    EXPECT_EQ(Control->Draws, 2);
  }
}

}  // namespace
