// Library forms: rescaling with its notifications, image-list variants,
// frames; the popup window's size, placement and frame; the closing hooks.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ActnList.h"
#include "ControlsModules.h"
#include "ControlsTestSupport.h"
#include "ExtCtrls.h"

using namespace ControlsTest;

namespace {

// --- rescaling ----------------------------------------------------------------

// What the controls heard and did, in order: "changing X", "scale X",
// "changed X".
std::vector<std::string> ScaleLog;

template <class TBase>
class TScaleRecorder : public TBase {
 public:
  TScaleRecorder(TComponent* AOwner, const char* AName) : TBase(AOwner), FName(AName) {}
  void WndProc(TMessage& Message) override {
    if (Message.Msg == DXM_SCALECHANGING) ScaleLog.push_back("changing " + FName);
    if (Message.Msg == DXM_SCALECHANGED) ScaleLog.push_back("changed " + FName);
    TBase::WndProc(Message);
  }
  void ChangeScale(Integer M, Integer D) override {
    ScaleLog.push_back("scale " + FName);
    TBase::ChangeScale(M, D);
  }

 private:
  std::string FName;
};
using TWinRecorder = TScaleRecorder<TPanel>;
using TGraphicRecorder = TScaleRecorder<TGraphicControl>;

class TRecordingForm : public TdxCustomForm {
 public:
  TRecordingForm() : TdxCustomForm(nullptr, true) {}
  void WndProc(TMessage& Message) override {
    if (Message.Msg == DXM_SCALECHANGING) ScaleLog.push_back("changing form");
    if (Message.Msg == DXM_SCALECHANGED) ScaleLog.push_back("changed form");
    TdxCustomForm::WndProc(Message);
  }
};

// A shown library form of 200 x 100 client pixels at (40, 40), with a
// panel (holding a panel and a graphic control) and a graphic control.
struct TScaleFixture {
  TOwned<TRecordingForm> Form{Create<TRecordingForm>()};
  TWinRecorder* Outer;
  TWinRecorder* Inner;
  TGraphicRecorder* Mark;
  TGraphicRecorder* Dot;
  TScaleFixture() {
    Form->SetBounds(40, 40, 200, 100);
    Form->SetClientWidth(200);
    Form->SetClientHeight(100);
    Outer = Add<TWinRecorder>(Form.get(), "outer", Bounds(10, 10, 100, 60));
    Inner = Add<TWinRecorder>(Outer, "inner", Bounds(4, 4, 40, 20));
    Dot = Add<TGraphicRecorder>(Outer, "dot", Bounds(50, 4, 10, 10));
    Mark = Add<TGraphicRecorder>(Form.get(), "mark", Bounds(120, 10, 20, 20));
    Form->Show();
    ProcessMessages();
    ScaleLog.clear();
  }
  template <class T>
  T* Add(TWinControl* AParent, const char* AName, const TRect& R) {
    T* C = Create<T>(Form.get(), AName);
    C->SetParent(AParent);
    C->SetBoundsRect(R);
    return C;
  }
};

TEST(dxForms, EveryControlHearsOfTheRescalingBeforeAnythingScalesAndAfterItTheFormLast) {
  TScaleFixture F;
  F.Form->ScaleForPPI(144);
  // Notified in pre-order of the framework's child lists, then in reverse.
  std::vector<std::string> Expected;
  std::vector<TControl*> Order;
  TdxFormHelper::PopulateControls(F.Form.get(), Order);
  ASSERT_EQ(Order.size(), 4u);
  auto Name = [&](TControl* C) -> std::string {
    return C == F.Outer ? "outer" : C == F.Inner ? "inner" : C == F.Dot ? "dot" : "mark";
  };
  Expected.push_back("changing form");
  for (TControl* C : Order) Expected.push_back("changing " + Name(C));
  ASSERT_GE(ScaleLog.size(), Expected.size() + 4);
  EXPECT_EQ(std::vector<std::string>(ScaleLog.begin(), ScaleLog.begin() + 5), Expected);
  std::vector<std::string> Tail(ScaleLog.end() - 5, ScaleLog.end());
  std::vector<std::string> ExpectedTail;
  for (auto It = Order.rbegin(); It != Order.rend(); ++It)
    ExpectedTail.push_back("changed " + Name(*It));
  ExpectedTail.push_back("changed form");
  EXPECT_EQ(Tail, ExpectedTail);
  // Every control was scaled, between the two.
  for (const char* N : {"outer", "inner", "dot", "mark"})
    EXPECT_NE(std::find(ScaleLog.begin() + 5, ScaleLog.end() - 5, std::string("scale ") + N),
              ScaleLog.end() - 5)
        << N;
  EXPECT_EQ(F.Inner->BoundsRect(), Bounds(6, 6, 60, 30));
  EXPECT_EQ(F.Form->ScaleFactor()->TargetDPI(), 144);
  EXPECT_EQ(F.Form->PixelsPerInch(), 144);
}

TEST(dxForms, DpiChangeTakesTheSuggestedRectangleOnceAndASecondOneIsIgnored) {
  TScaleFixture F;
  RECT Suggested{50, 60, 50 + 330, 60 + 190};
  SendMessageW(F.Form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&Suggested));
  EXPECT_EQ(F.Form->BoundsRect(), TRect(Suggested));
  EXPECT_EQ(F.Outer->BoundsRect(), Bounds(15, 15, 150, 90));
  EXPECT_EQ(dxGetFormDPI(F.Form.get()), 144);
  ScaleLog.clear();
  RECT Other{0, 0, 500, 500};
  SendMessageW(F.Form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&Other));
  EXPECT_EQ(F.Form->BoundsRect(), TRect(Suggested));
  EXPECT_TRUE(ScaleLog.empty());
}

struct TScaleByCase {
  Integer M, D;
  Integer ExpectedDPI;
};

TEST(dxForms, ScaleByKeepsThePositionAndTheClientSizeInScaledUnitsAndIgnoresTooSmallTargets) {
  for (const TScaleByCase& C :
       {TScaleByCase{3, 2, 144}, TScaleByCase{1, 4, 96}, TScaleByCase{5, 4, 120}}) {
    TScaleFixture F;
    const TRect Before = F.Form->BoundsRect();
    F.Form->ScaleBy(C.M, C.D);
    SCOPED_TRACE(C.M);
    EXPECT_EQ(dxGetFormDPI(F.Form.get()), C.ExpectedDPI);
    EXPECT_EQ(F.Form->Left(), Before.left);
    EXPECT_EQ(F.Form->Top(), Before.top);
    EXPECT_EQ(F.Form->ClientWidth(), MulDiv(200, C.ExpectedDPI, 96));
    EXPECT_EQ(F.Form->ClientHeight(), MulDiv(100, C.ExpectedDPI, 96));
    if (C.ExpectedDPI == 96) {
      EXPECT_TRUE(ScaleLog.empty());
    }
  }
}

TEST(dxForms, AMaximizedFormKeepsItsBounds) {
  TScaleFixture F;
  F.Form->SetWindowState(wsMaximized);
  ProcessMessages();
  const TRect Before = F.Form->BoundsRect();
  F.Form->ScaleForPPI(144);
  EXPECT_EQ(F.Form->BoundsRect(), Before);
  EXPECT_EQ(F.Outer->Width(), 150);
}

TEST(dxForms, AFailingControlStillGetsTheFormOutOfTheRescaling) {
  struct TFailing : public TPanel {
    using TPanel::TPanel;
    void ChangeScale(Integer, Integer) override { throw Exception(L"scale failed"); }
  };
  TScaleFixture F;
  auto* Bad = Create<TFailing>(F.Form.get());
  Bad->SetParent(F.Form.get());
  EXPECT_THROW(F.Form->ScaleForPPI(144), Exception);
  EXPECT_FALSE(TdxFormHelper::IsScaleChanging(F.Form.get()));
  EXPECT_EQ(ScaleLog.back(), "changed form");
  EXPECT_FALSE(F.Form->AlignDisabled());
}

// Image-list variants by name: the lists the form owns, the one referred
// to, the target DPI, and what the reference becomes.
struct TImageListCase {
  std::vector<const wchar_t*> Names;
  const wchar_t* Current;
  Integer TargetDPI;
  const wchar_t* Expected;
};

TEST(dxForms, ImageListVariantsAreFoundByNameFromTheTargetDownwards) {
  const TImageListCase Cases[] = {
      {{L"Images96", L"Images144", L"Images120"}, L"Images96", 144, L"Images144"},
      {{L"Images96", L"Images120"}, L"Images96", 144, L"Images120"},
      {{L"Images96"}, L"Images96", 144, L"Images96"},
      {{L"Images120", L"Images"}, L"Images120", 96, L"Images"},
      {{L"Images120", L"Images96", L"Images"}, L"Images120", 96, L"Images96"},
      {{L"I96", L"I192"}, L"I96", 216, L"I192"},
      {{L"Images", L"Images144"}, L"Images", 144, L"Images144"},
      {{L"Images120", L"Images144"}, L"Images120", 168, L"Images144"},
  };
  for (const TImageListCase& C : Cases) {
    TOwned<TComponent> Owner(Create<TComponent>(nullptr));
    TCustomImageList* Current = nullptr;
    for (const wchar_t* N : C.Names) {
      auto* L = Create<TImageList>(Owner.get());
      L->SetName(N);
      if (String(N) == C.Current) Current = L;
    }
    TdxFormImageListHelper Helper(C.TargetDPI);
    EXPECT_EQ(Helper.GetReplacement(Current)->Name(), String(C.Expected)) << C.Current;
  }
}

// A frame without a form resource of its own.
class TTestFrame : public TFrame {
 public:
  using TFrame::TFrame;
  void AfterConstruction() override { TScrollingWinControl::AfterConstruction(); }
};

TEST(dxForms, APlatformFrameIsScaledToItsFormsDpiWhenItsWindowIsCreated) {
  TScaleFixture F;
  F.Form->ScaleForPPI(144);
  auto* Frame = Create<TTestFrame>(F.Form.get());
  auto* Child = Create<TPanel>(Frame);
  Child->SetParent(Frame);
  Child->SetBounds(2, 2, 20, 10);
  Frame->SetBounds(0, 0, 40, 40);
  Frame->SetParent(F.Form.get());
  Frame->HandleNeeded();
  ASSERT_NE(TdxFrameControllerManager::Find(Frame), nullptr);
  EXPECT_EQ(Frame->CurrentPPI(), 144);
  EXPECT_EQ(Child->BoundsRect(), Bounds(3, 3, 30, 15));
  const Integer Count = TdxFrameControllerManager::Count();
  Frame->Free();
  EXPECT_EQ(TdxFrameControllerManager::Count(), Count - 1);
}

COLORREF RGBOf(TColor C) { return ColorToRGB(C); }

// --- the popup window ------------------------------------------------------------

TRect TestWorkArea(const TPoint&) { return TRect{0, 0, 1000, 800}; }

struct TPlacementCase {
  const char* Name;
  TRect Owner;
  TSize Size;
  TcxPopupDirection Direction;
  TcxPopupAlignHorz Horz;
  TcxPopupAlignVert Vert;
  TPoint Expected;
  TcxPopupAlignHorz ExpectedHorz;
  TcxPopupAlignVert ExpectedVert;
};

TEST(cxPopupWindow, PlacementFollowsDirectionAndAlignmentFlipsToTheRoomierSideAndStaysInside) {
  const TPlacementCase Cases[] = {
      {"below",
       {100, 100, 200, 120},
       {150, 80},
       pdVertical,
       pahLeft,
       pavBottom,
       {100, 120},
       pahLeft,
       pavBottom},
      {"right aligned",
       {100, 100, 200, 120},
       {150, 80},
       pdVertical,
       pahRight,
       pavBottom,
       {50, 120},
       pahRight,
       pavBottom},
      {"above",
       {100, 100, 200, 120},
       {150, 80},
       pdVertical,
       pahLeft,
       pavTop,
       {100, 20},
       pahLeft,
       pavTop},
      {"flipped up",
       {100, 700, 200, 720},
       {150, 200},
       pdVertical,
       pahLeft,
       pavBottom,
       {100, 500},
       pahLeft,
       pavTop},
      {"flipped down",
       {100, 50, 200, 70},
       {150, 200},
       pdVertical,
       pahLeft,
       pavTop,
       {100, 70},
       pahLeft,
       pavBottom},
      {"no room above either",
       {100, 300, 200, 320},
       {150, 600},
       pdVertical,
       pahLeft,
       pavBottom,
       {100, 320},
       pahLeft,
       pavBottom},
      {"pushed left",
       {900, 100, 980, 120},
       {150, 80},
       pdVertical,
       pahLeft,
       pavBottom,
       {850, 120},
       pahLeft,
       pavBottom},
      {"wider than the area",
       {100, 100, 200, 120},
       {1200, 80},
       pdVertical,
       pahLeft,
       pavBottom,
       {0, 120},
       pahLeft,
       pavBottom},
      {"centred",
       {100, 100, 200, 120},
       {150, 80},
       pdVertical,
       pahCenter,
       pavCenter,
       {75, 70},
       pahCenter,
       pavCenter},
      {"centred and kept inside",
       {0, 770, 40, 790},
       {150, 80},
       pdVertical,
       pahCenter,
       pavCenter,
       {0, 720},
       pahCenter,
       pavCenter},
      {"beside to the right",
       {100, 100, 200, 120},
       {150, 80},
       pdHorizontal,
       pahRight,
       pavTop,
       {200, 100},
       pahRight,
       pavTop},
      {"beside to the left",
       {300, 100, 400, 120},
       {150, 80},
       pdHorizontal,
       pahLeft,
       pavBottom,
       {150, 40},
       pahLeft,
       pavBottom},
      {"beside, flipped left",
       {900, 100, 980, 120},
       {150, 80},
       pdHorizontal,
       pahRight,
       pavTop,
       {750, 100},
       pahLeft,
       pavTop},
      {"beside, pushed up",
       {100, 760, 200, 780},
       {150, 80},
       pdHorizontal,
       pahRight,
       pavTop,
       {200, 720},
       pahRight,
       pavTop},
  };
  for (const TPlacementCase& C : Cases) {
    TOwned<TcxPopupWindow> Popup(Create<TcxPopupWindow>(nullptr));
    Popup->SetWorkAreaFunc(&TestWorkArea);
    Popup->SetOwnerBounds(C.Owner);
    Popup->SetDirection(C.Direction);
    Popup->SetAlignHorz(C.Horz);
    Popup->SetAlignVert(C.Vert);
    EXPECT_EQ(Popup->CalculatePosition(C.Size), C.Expected) << C.Name;
    EXPECT_EQ(Popup->AlignHorz(), C.ExpectedHorz) << C.Name;
    EXPECT_EQ(Popup->AlignVert(), C.ExpectedVert) << C.Name;
  }
}

TEST(cxPopupWindow, AFlippedPopupKeepsOpeningOnItsNewSide) {
  TOwned<TcxPopupWindow> Popup(Create<TcxPopupWindow>(nullptr));
  Popup->SetWorkAreaFunc(&TestWorkArea);
  Popup->SetOwnerBounds(TRect{100, 700, 200, 720});
  Popup->CalculatePosition(TSize{150, 200});
  Popup->SetOwnerBounds(TRect{100, 400, 200, 420});
  EXPECT_EQ(Popup->CalculatePosition(TSize{150, 200}), TPoint(100, 200));
}

TEST(cxPopupWindow, TheOwnerRectangleIsTakenFromItsParentsClientArea) {
  TOwned<TCustomForm> Owner(CreateForm(200, 100));
  TOwned<TcxPopupWindow> Popup(Create<TcxPopupWindow>(nullptr));
  Popup->SetOwnerParent(Owner.get());
  Popup->SetOwnerBounds(TRect{10, 20, 60, 40});
  const TPoint Origin = Owner->ClientToScreen(TPoint{0, 0});
  EXPECT_EQ(Popup->GetOwnerScreenBounds(),
            TRect(Origin.x + 10, Origin.y + 20, Origin.x + 60, Origin.y + 40));
  Owner.reset();
  EXPECT_EQ(Popup->OwnerParent(), nullptr);
}

struct TBorderCase {
  TcxPopupBorderStyle Style;
  Integer Space;
  Integer Border;
};

TEST(cxPopupWindow, SizeIsTheChildrenPlusTheBorderAndAPopupShownAgainDoesNotMoveThemFurther) {
  for (const TBorderCase& C : {TBorderCase{pbsNone, 0, 0}, TBorderCase{pbsUltraFlat, 0, 1},
                               TBorderCase{pbsFlat, 2, 3}, TBorderCase{pbs3D, 1, 3}}) {
    TOwned<TcxPopupWindow> Popup(Create<TcxPopupWindow>(nullptr));
    Popup->SetPopupBorderStyle(C.Style);
    Popup->SetBorderSpace(C.Space);
    auto* A = Create<TPanel>(Popup.get());
    A->SetParent(Popup.get());
    A->SetBounds(0, 0, 50, 20);
    auto* B = Create<TPanel>(Popup.get());
    B->SetParent(Popup.get());
    B->SetBounds(10, 30, 80, 40);
    for (int Shown = 0; Shown < 2; ++Shown) {
      EXPECT_EQ(Popup->CalculateSize(), TSize(90 + 2 * C.Border, 70 + 2 * C.Border));
      EXPECT_EQ(A->BoundsRect(), Bounds(C.Border, C.Border, 50, 20));
      EXPECT_EQ(B->BoundsRect(), Bounds(10 + C.Border, 30 + C.Border, 80, 40));
    }
    EXPECT_EQ(Popup->GetClientBounds().left, C.Border);
    // A new border puts the children back first.
    Popup->SetPopupBorderStyle(pbsNone);
    Popup->SetBorderSpace(0);
    EXPECT_EQ(A->BoundsRect(), Bounds(0, 0, 50, 20));
  }
}

TEST(cxPopupWindow, AnAdjustablePopupWithoutChildrenKeepsItsSize) {
  TOwned<TcxPopupWindow> Popup(Create<TcxPopupWindow>(nullptr));
  Popup->SetPopupBorderStyle(pbs3D);
  Popup->SetBounds(0, 0, 70, 40);
  EXPECT_EQ(Popup->CalculateSize(), TSize(70, 40));
}

// The frame of each style on a white 40 x 30 popup: the pixel at the middle
// of each edge, one pixel inside it, and the centre.
struct TFramePixelCase {
  TcxPopupBorderStyle Style;
  TColor Outer[4];  // top, left, bottom, right
  TColor Inner[4];
};

TEST(cxPopupWindow, FrameStylesDrawTheirEdgesInPixels) {
  const TColor W = clWhite;
  const TFramePixelCase Cases[] = {
      {pbsNone, {W, W, W, W}, {W, W, W, W}},
      {pbsUltraFlat, {clRed, clRed, clRed, clRed}, {W, W, W, W}},
      {pbsFlat, {clBtnHighlight, clBtnHighlight, clBtnShadow, clBtnShadow}, {W, W, W, W}},
      {pbs3D,
       {cl3DLight, cl3DLight, cl3DDkShadow, cl3DDkShadow},
       {clBtnHighlight, clBtnHighlight, clBtnShadow, clBtnShadow}},
  };
  for (const TFramePixelCase& C : Cases) {
    TOwned<TcxPopupWindow> Popup(Create<TcxPopupWindow>(nullptr));
    Popup->SetColor(clWhite);
    Popup->SetFrameColor(clRed);
    Popup->SetPopupBorderStyle(C.Style);
    Popup->SetBounds(100, 100, 40, 30);
    Popup->Show();
    ProcessMessages();
    TOwned<TcxBitmap32> Shot = CaptureWindow(Popup.get());
    auto Pixel = [&](Integer X, Integer Y) { return GetPixel(Shot->Canvas()->Handle(), X, Y); };
    const TPoint Outer[4] = {{20, 0}, {0, 15}, {20, 29}, {39, 15}};
    const TPoint Inner[4] = {{20, 1}, {1, 15}, {20, 28}, {38, 15}};
    for (int I = 0; I < 4; ++I) {
      EXPECT_EQ(Pixel(Outer[I].x, Outer[I].y), RGBOf(C.Outer[I])) << C.Style << " edge " << I;
      EXPECT_EQ(Pixel(Inner[I].x, Inner[I].y), RGBOf(C.Inner[I])) << C.Style << " edge " << I;
    }
    EXPECT_EQ(Pixel(20, 15), RGBOf(clWhite));
  }
}

TEST(cxPopupWindow, ActivationKeepsTheOwnerCaptionActiveAndDeactivationClosesIt) {
  TOwned<TCustomForm> Owner(CreateForm(200, 100));
  SetForegroundWindow(Owner->Handle());
  ProcessMessages();
  TOwned<TcxPopupWindow> Popup(Create<TcxPopupWindow>(nullptr));
  Popup->SetOwnerParent(Owner.get());
  Popup->SetOwnerBounds(TRect{0, 0, 50, 20});
  Popup->SetBounds(0, 0, 60, 40);
  Popup->Popup();
  SetActiveWindow(Popup->Handle());
  ProcessMessages();
  ASSERT_TRUE(Popup->Visible());
  EXPECT_EQ(Popup->PrevActiveWindow(), Owner->Handle());
  SetActiveWindow(Owner->Handle());
  ProcessMessages();
  EXPECT_FALSE(Popup->Visible());
  // The application losing activation closes it as well.
  Popup->Popup();
  ProcessMessages();
  ASSERT_TRUE(Popup->Visible());
  SendMessageW(Popup->Handle(), WM_ACTIVATEAPP, 0, 0);
  EXPECT_FALSE(Popup->Visible());
}

// --- the closing hooks --------------------------------------------------------------

// A drop-down of an owner control that lists itself while shown, like the
// container's popups do.
class TTestPopup : public TcxPopupWindow {
 public:
  explicit TTestPopup(TWinControl* AOwnerControl)
      : TcxPopupWindow(nullptr), FOwnerControl(AOwnerControl) {}
  ~TTestPopup() override {
    if (cxPopupVisibleController()->IsVisible(this)) cxPopupVisibleController()->UnRegister(this);
  }
  TWinControl* GetOwnerControl() override { return FOwnerControl; }
  bool IsSysKeyAccepted(Word AKey) override {
    switch (AKey) {
      case VK_PRIOR:
      case VK_NEXT:
      case VK_END:
      case VK_HOME:
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN:
      case VK_F4:
        return true;
      default:
        return false;
    }
  }
  void ShowAt(const TRect& R) {
    SetBoundsRect(R);
    cxPopupVisibleController()->Register(this);
    cxSetCaptionInactivationLocked(true);
    // Shown without activation, as a drop-down is: no deactivation closes it
    // behind the hooks' back.
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    cxSetCaptionInactivationLocked(false);
    ProcessMessages();
  }
  // Its close sequence closes it up, as a drop-down's does.
  void DoClose(TCloseAction& Action) override {
    CloseUp();
    TcxPopupWindow::DoClose(Action);
  }
  void CloseUp() override {
    if (cxPopupVisibleController()->IsVisible(this)) cxPopupVisibleController()->UnRegister(this);
    ++CloseCount;
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  }
  bool NeedIgnoreMouseMessageAfterCloseUp(HWND, UINT, TShiftState, const TPoint&) override {
    return AskToIgnore;
  }
  void SetJustClosed() override { ++JustClosed; }
  void LockDeactivate() override { ++DeactivateLocks; }
  void UnlockDeactivate() override { --DeactivateLocks; }
  bool Shown() { return cxPopupVisibleController()->IsVisible(this); }
  void DropWindow() { DestroyHandle(); }
  int CloseCount = 0;
  bool AskToIgnore = false;
  int JustClosed = 0;
  int DeactivateLocks = 0;

 private:
  TWinControl* FOwnerControl;
};

// A form at (0, 0) with an owner control, and a popup of it at (300, 300).
struct THookFixture {
  TOwned<TCustomForm> Form{CreateForm(240, 160)};
  TPanel* OwnerControl;
  TOwned<TTestPopup> Popup;
  THookFixture() {
    OwnerControl = Create<TPanel>(Form.get());
    OwnerControl->SetParent(Form.get());
    OwnerControl->SetBounds(10, 10, 100, 24);
    Popup.reset(Create<TTestPopup>(OwnerControl));
    Popup->SetOwnerParent(OwnerControl);
    Popup->SetOwnerBounds(TRect{0, 0, 100, 24});
    Popup->ShowAt(Bounds(300, 300, 80, 60));
  }
};

void Click(POINT P) {
  SetCursorPos(P.x, P.y);
  for (DWORD Flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) SendMouse(Flags);
  for (int I = 0; I < 20; ++I) {
    ProcessMessages();
    Sleep(5);
  }
}

TEST(cxPopupHooks, AClickOutsideClosesThePopupAndAClickInsideDoesNot) {
  {
    THookFixture F;
    Click(POINT{150, 100});
    EXPECT_FALSE(F.Popup->Shown());
    EXPECT_EQ(F.Popup->CloseCount, 1);
  }
  THookFixture F;
  Click(POINT{330, 330});
  EXPECT_TRUE(F.Popup->Shown());
  EXPECT_EQ(F.Popup->CloseCount, 0);
}

// Presses counted on a window, to see whether the hook discarded one.
struct TPressCounter {
  int Presses = 0;
  TcxWindowProcLinkedObject* Link = nullptr;
  explicit TPressCounter(TControl* AControl)
      : Link(cxWindowProcController()->Add(AControl, MakeEvent<&TPressCounter::WndProc>(this))) {}
  ~TPressCounter() { cxWindowProcController()->Remove(Link); }
  void WndProc(TMessage& M) {
    if (M.Msg == WM_LBUTTONDOWN) ++Presses;
    Link->DefaultProc(M);
  }
};

struct TOwnerAreaCase {
  bool OnOwner;
  bool AskToIgnore;
  int JustClosed;
  int Presses;
};

TEST(cxPopupHooks, APressOnTheOwnersDropDownAreaClosesAndIsSwallowedOnlyWhenThePopupAsks) {
  const TOwnerAreaCase Cases[] = {
      // On the owner, the popup marks itself just closed when it asks; the
      // press goes on to the owner, which then ignores it itself.
      {true, false, 0, 1},
      {true, true, 1, 1},
      // Elsewhere on the form, the press is discarded when the popup asks.
      {false, false, 0, 1},
      {false, true, 0, 0},
  };
  for (const TOwnerAreaCase& C : Cases) {
    THookFixture F;
    F.Popup->AskToIgnore = C.AskToIgnore;
    TPressCounter Counter(C.OnOwner ? static_cast<TControl*>(F.OwnerControl) : F.Form.get());
    const TPoint Target = C.OnOwner ? F.OwnerControl->ClientToScreen(TPoint{50, 12})
                                    : F.Form->ClientToScreen(TPoint{150, 100});
    Click(POINT{Target.x, Target.y});
    SCOPED_TRACE(C.OnOwner * 10 + C.AskToIgnore);
    EXPECT_FALSE(F.Popup->Shown());
    EXPECT_EQ(F.Popup->JustClosed, C.JustClosed);
    EXPECT_EQ(Counter.Presses, C.Presses);
    EXPECT_EQ(F.Popup->DeactivateLocks, 0);
    EXPECT_FALSE(cxCaptionInactivationLocked());
  }
}

TEST(cxPopupHooks, APopupWhoseWindowIsDestroyedIsClosedAndTheOthersStay) {
  THookFixture F;
  TOwned<TTestPopup> Second(Create<TTestPopup>(F.OwnerControl));
  Second->ShowAt(Bounds(400, 300, 40, 40));
  F.Popup->DropWindow();
  EXPECT_FALSE(F.Popup->Shown());
  EXPECT_EQ(F.Popup->CloseCount, 1);
  EXPECT_TRUE(Second->Shown());
  EXPECT_FALSE(Application()->Terminated());
}

TEST(cxPopupHooks, SwitchingTheApplicationClosesEveryPopup) {
  THookFixture F;
  TOwned<TTestPopup> Second(Create<TTestPopup>(F.OwnerControl));
  Second->ShowAt(Bounds(400, 300, 40, 40));
  SendMessageW(F.Form->Handle(), WM_ACTIVATEAPP, 0, 0);
  EXPECT_FALSE(F.Popup->Shown());
  EXPECT_FALSE(Second->Shown());
  EXPECT_EQ(cxPopupVisibleController()->GetCount(), 0);
}

TEST(cxPopupHooks, HidingTheOwnerFormClosesItsPopupAndThoseOpenedFromIt) {
  THookFixture F;
  auto* Inside = Create<TPanel>(F.Popup.get());
  Inside->SetParent(F.Popup.get());
  Inside->SetBounds(0, 0, 20, 20);
  TOwned<TTestPopup> Nested(Create<TTestPopup>(Inside));
  // Listed before the owner's popups, the other form's popup is left alone
  // (every popup shown after a closing one goes with it).
  TOwned<TCustomForm> Other(CreateForm(50, 50));
  TOwned<TTestPopup> Unrelated(Create<TTestPopup>(Other.get()));
  F.Popup->CloseUp();
  Unrelated->ShowAt(Bounds(500, 500, 40, 40));
  F.Popup->ShowAt(Bounds(300, 300, 80, 60));
  Nested->ShowAt(Bounds(400, 400, 40, 40));
  F.Form->Hide();
  ProcessMessages();
  EXPECT_FALSE(F.Popup->Shown());
  EXPECT_FALSE(Nested->Shown());
  EXPECT_TRUE(Unrelated->Shown());
}

TEST(cxPopupHooks, AnOwnerControlThatBecomesInvisibleClosesItsPopup) {
  THookFixture F;
  F.OwnerControl->SetVisible(false);
  ProcessMessages();
  EXPECT_FALSE(F.Popup->Shown());
}

TEST(cxPopupHooks, ClosingTheOwnerFormClosesThePopupAndClosingAnUnrelatedFormDoesNot) {
  THookFixture F;
  TOwned<TCustomForm> Other(CreateForm(50, 50));
  SendMessageW(Other->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(F.Popup->Shown());
  F.Form->OnCloseQuery = {};
  SendMessageW(F.Form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(F.Popup->Shown());
}

TEST(cxPopupHooks, TheOwnerFormsCaptionStaysActiveOnceEvenWithTwoPopups) {
  THookFixture F;
  TOwned<TTestPopup> Second(Create<TTestPopup>(F.OwnerControl));
  Second->ShowAt(Bounds(400, 300, 40, 40));
  // Blocked: answered 1 without the form's own handling; the second popup of
  // the same form asks for no second block (which would be refused).
  EXPECT_EQ(SendMessageW(F.Form->Handle(), WM_NCACTIVATE, 0, 0), 1);
  EXPECT_EQ(SendMessageW(F.Form->Handle(), WM_NULL, 0, 0), 0);
  EXPECT_NO_THROW(dxMessagesController()->BlockMessage(F.Form->Handle()));
  SendMessageW(F.Form->Handle(), WM_NULL, 0, 0);
  Second->CloseUp();
  F.Popup->CloseUp();
  // Without popups the caption may go inactive.
  EXPECT_EQ(SendMessageW(F.Form->Handle(), WM_NCACTIVATE, 0, 0),
            DefWindowProcW(F.Form->Handle(), WM_NCACTIVATE, 0, 0));
}

TEST(cxPopupHooks, AltLettersAreNulledWhileADropDownIsOpenButAcceptedKeysPass) {
  struct TKeyCase {
    WPARAM Key;
    bool PopupShown;
    UINT Expected;
  };
  const TKeyCase Cases[] = {
      {'A', true, WM_NULL},
      {VK_F4, true, WM_SYSKEYDOWN},
      {VK_DOWN, true, WM_SYSKEYDOWN},
      {'A', false, WM_SYSKEYDOWN},
  };
  for (const TKeyCase& C : Cases) {
    THookFixture F;
    if (!C.PopupShown) F.Popup->CloseUp();
    ProcessMessages();
    PostMessageW(F.Form->Handle(), WM_SYSKEYDOWN, C.Key, 0x20000001);
    MSG Msg{};
    ASSERT_TRUE(PeekMessageW(&Msg, F.Form->Handle(), 0, 0, PM_REMOVE));
    EXPECT_EQ(Msg.message, C.Expected) << C.Key;
  }
}

TEST(cxPopupHooks, LockedMessagesAreBlockedWithOrWithoutPopups) {
  TOwned<TCustomForm> Form(CreateForm(50, 50));
  constexpr UINT Locked = WM_APP + 17;
  struct TCounter {
    int Seen = 0;
    TcxWindowProcLinkedObject* Link = nullptr;
    void WndProc(TMessage& M) {
      if (M.Msg == Locked) ++Seen;
      Link->DefaultProc(M);
    }
  } Counter;
  Counter.Link = cxWindowProcController()->Add(Form.get(), MakeEvent<&TCounter::WndProc>(&Counter));
  dxMessagesController()->LockMessages({Locked});
  EXPECT_EQ(SendMessageW(Form->Handle(), Locked, 0, 0), 1);
  dxMessagesController()->UnlockMessages({Locked});
  SendMessageW(Form->Handle(), Locked, 0, 0);
  EXPECT_EQ(Counter.Seen, 1);
  cxWindowProcController()->Remove(Counter.Link);
}

TEST(cxPopupHooks, RelatedWindowsGoThroughTheChainOfPopups) {
  THookFixture F;
  auto* Inside = Create<TPanel>(F.Popup.get());
  Inside->SetParent(F.Popup.get());
  Inside->HandleNeeded();
  EXPECT_TRUE(IsRelatedWindow(F.Form->Handle(), Inside->Handle()));
  EXPECT_TRUE(IsRelatedWindow(F.Form->Handle(), F.OwnerControl->Handle()));
  EXPECT_FALSE(IsRelatedWindow(F.Form->Handle(), F.Form->Handle()));
  EXPECT_FALSE(IsRelatedWindow(F.OwnerControl->Handle(), F.Form->Handle()));
  EXPECT_EQ(GetPopupOwnerControl(Inside->Handle()), F.OwnerControl->Handle());
  EXPECT_EQ(GetPopupOwnerControl(F.Form->Handle()), F.Form->Handle());
  EXPECT_TRUE(IsMouseDownMessage(WM_NCRBUTTONDBLCLK));
  EXPECT_FALSE(IsMouseDownMessage(WM_XBUTTONDOWN));
}

TEST(cxPopupHooks, RegisteringTwiceOrUnregisteringAStrangerIsAnAssertion) {
  THookFixture F;
  EXPECT_THROW(cxPopupVisibleController()->Register(F.Popup.get()), EAssertionFailed);
  EXPECT_THROW(cxPopupVisibleController()->Register(nullptr), EAssertionFailed);
  F.Popup->CloseUp();
  EXPECT_THROW(cxPopupVisibleController()->UnRegister(F.Popup.get()), EAssertionFailed);
}

}  // namespace

namespace {

struct TRightToLeftCase {
  TdxDefaultBoolean Layout;
  TBiDiMode BiDiMode;
  bool Mirrored;
};

TEST(dxForms, TheMirroredLayoutFollowsTheSettingAndTheFormsReadingOrder) {
  const TRightToLeftCase Cases[] = {
      {bDefault, bdRightToLeft, true},
      {bDefault, bdLeftToRight, false},
      {bTrue, bdLeftToRight, true},
      {bFalse, bdRightToLeft, false},
  };
  for (const TRightToLeftCase& C : Cases) {
    TOwned<TdxCustomForm> Form(Create<TdxCustomForm>(nullptr, true));
    Form->SetBounds(10, 10, 120, 80);
    Form->HandleNeeded();
    Form->SetRightToLeftLayout(C.Layout);
    Form->SetBiDiMode(C.BiDiMode);
    const LONG_PTR ExStyle = GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE);
    SCOPED_TRACE(static_cast<int>(C.Layout) * 10 + static_cast<int>(C.BiDiMode));
    EXPECT_EQ(Form->RightToLeftApplied(), C.Mirrored);
    EXPECT_EQ((ExStyle & WS_EX_LAYOUTRTL) != 0, C.Mirrored);
    EXPECT_EQ(ExStyle & (WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR), 0);
  }
}

TEST(cxPopupHooks, TheListOfShownPopupsIsNotMadeAgainAfterShutDown) {
  cxPopupHooks_Finalize();
  EXPECT_EQ(cxPopupVisibleController(), nullptr);
  CloseUnrelatedPopups(nullptr);  // nothing to close, nothing made
  EXPECT_EQ(cxPopupVisibleController(), nullptr);
  cxPopupHooks_Initialize();
  EXPECT_NE(cxPopupVisibleController(), nullptr);
}

}  // namespace

namespace {

TEST(dxForms, ARescaledFormPointsItsComponentsAtTheImageListVariantOfTheNewDpi) {
  for (bool Replace : {true, false}) {
    dxSetAutoReplaceImageListReferencesOnDPIChanges(Replace);
    auto Restore = Finally([] { dxSetAutoReplaceImageListReferencesOnDPIChanges(true); });
    TOwned<TdxCustomForm> Form(Create<TdxCustomForm>(nullptr, true));
    auto* Images96 = Create<TImageList>(Form.get());
    Images96->SetName(L"Images96");
    auto* Images144 = Create<TImageList>(Form.get());
    Images144->SetName(L"Images144");
    auto* Actions = Create<TActionList>(Form.get());
    Actions->SetImages(Images96);
    Form->ScaleForPPI(144);
    EXPECT_EQ(Actions->Images(), Replace ? Images144 : Images96);
    Form->ScaleForPPI(96);
    EXPECT_EQ(Actions->Images(), Images96);
  }
}

}  // namespace

namespace {

class TPlacedForm : public TdxCustomForm, public IdxPlacedForm {
 public:
  TPlacedForm() : TdxCustomForm(nullptr, true) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TdxCustomForm::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (Offers && IsEqualIID(AIID, __uuidof(IdxPlacedForm))) {
      *AObj = static_cast<IdxPlacedForm*>(this);
      return true;
    }
    return TdxCustomForm::GetInterface(AIID, AObj);
  }
  bool Offers = true;
};

class TEnterCounter : public TPanel {
 public:
  using TPanel::TPanel;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_ENTER) ++Enters;
    if (Message.Msg == CM_EXIT) ++Exits;
    TPanel::WndProc(Message);
  }
  int Enters = 0, Exits = 0;
};

TEST(cxPopupHooks, AFormPlacedInAnotherGetsEnterAndExitWhenTheFocusCrossesBetweenThem) {
  // The framework's own focus handling may send an enter of its own: the
  // form that is not placed shows how many.
  int FrameworkEnters = -1, FrameworkExits = -1;
  for (bool Offers : {false, true}) {
    TOwned<TCustomForm> Outer(CreateForm(300, 200));
    auto* OuterPanel = Create<TPanel>(Outer.get());
    OuterPanel->SetParent(Outer.get());
    OuterPanel->HandleNeeded();
    TOwned<TPlacedForm> Placed(Create<TPlacedForm>());
    Placed->Offers = Offers;
    auto* Inner = Create<TEnterCounter>(Placed.get());
    Inner->SetParent(Placed.get());
    Inner->HandleNeeded();
    dxSetWindowStyle(Placed->Handle(), WS_CHILD, soAdd);
    ::SetParent(Placed->Handle(), Outer->Handle());
    SendMessageW(Inner->Handle(), WM_SETFOCUS, reinterpret_cast<WPARAM>(OuterPanel->Handle()), 0);
    SendMessageW(Inner->Handle(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(OuterPanel->Handle()), 0);
    if (!Offers) {
      FrameworkEnters = Inner->Enters;
      FrameworkExits = Inner->Exits;
    } else {
      EXPECT_EQ(Inner->Enters, FrameworkEnters + 1);
      EXPECT_EQ(Inner->Exits, FrameworkExits + 1);
    }
    ::SetParent(Placed->Handle(), nullptr);
  }
}

}  // namespace

namespace {

struct TBiDiOnShow {
  bool AppliedInHandler = true;
  void Show(TObject* Sender) {
    auto* Form = static_cast<TdxCustomForm*>(Sender);
    Form->SetBiDiMode(bdRightToLeft);
    AppliedInHandler = Form->RightToLeftApplied();
  }
};

TEST(dxForms, AReadingOrderChangedWhileTheFormIsShownIsAppliedAfterTheShowing) {
  TOwned<TdxCustomForm> Form(Create<TdxCustomForm>(nullptr, true));
  Form->SetBounds(10, 10, 120, 80);
  TBiDiOnShow Handler;
  Form->OnShow = MakeEvent<&TBiDiOnShow::Show>(&Handler);
  Form->Show();
  EXPECT_FALSE(Handler.AppliedInHandler);
  ProcessMessages();
  EXPECT_TRUE(Form->RightToLeftApplied());
  EXPECT_NE(GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0);
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
}

TEST(dxForms, AFrameFollowsItsFormsLaterRescalingOnce) {
  TScaleFixture F;
  auto* Frame = Create<TTestFrame>(F.Form.get());
  auto* Child = Create<TPanel>(Frame);
  Child->SetParent(Frame);
  Child->SetBounds(2, 2, 20, 10);
  Frame->SetParent(F.Form.get());
  Frame->HandleNeeded();
  ASSERT_NE(TdxFrameControllerManager::Find(Frame), nullptr);
  EXPECT_EQ(Child->BoundsRect(), Bounds(2, 2, 20, 10));
  F.Form->ScaleForPPI(144);
  EXPECT_EQ(Frame->CurrentPPI(), 144);
  EXPECT_EQ(Child->BoundsRect(), Bounds(3, 3, 30, 15));
}

}  // namespace
