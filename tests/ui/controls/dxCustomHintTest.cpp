// Hints: the hint controller borrowing and giving back the application's
// hint window class and show-hint handler, the responsible style
// controller, the animation decision and the work-area clamp.
#include <gtest/gtest.h>

#include "ControlsModules.h"
#include "ControlsTestSupport.h"
#include "ExtCtrls.h"

using namespace ControlsTest;

namespace {

class TFirstHintWindow : public TcxCustomHintWindow {
  DECLARE_CLASS(TFirstHintWindow, TcxCustomHintWindow)
 public:
  using TcxCustomHintWindow::TcxCustomHintWindow;
};
IMPLEMENT_CREATABLE_CLASS(TFirstHintWindow)

class TSecondHintWindow : public TcxCustomHintWindow {
  DECLARE_CLASS(TSecondHintWindow, TcxCustomHintWindow)
 public:
  using TcxCustomHintWindow::TcxCustomHintWindow;
};
IMPLEMENT_CREATABLE_CLASS(TSecondHintWindow)

class TFirstHintStyle : public TcxCustomHintStyle {
  DECLARE_CLASS(TFirstHintStyle, TcxCustomHintStyle)
 public:
  using TcxCustomHintStyle::TcxCustomHintStyle;
  TClass GetHintWindowClass() override { return TFirstHintWindow::StaticClass(); }
};
IMPLEMENT_CREATABLE_CLASS(TFirstHintStyle)

class TSecondHintStyle : public TcxCustomHintStyle {
  DECLARE_CLASS(TSecondHintStyle, TcxCustomHintStyle)
 public:
  using TcxCustomHintStyle::TcxCustomHintStyle;
  TClass GetHintWindowClass() override { return TSecondHintWindow::StaticClass(); }
};
IMPLEMENT_CREATABLE_CLASS(TSecondHintStyle)

// A style controller of a fixed style class, as a concrete one would be.
template <class TStyle>
class TTestStyleController : public TcxCustomHintStyleController {
 public:
  using TcxCustomHintStyleController::TcxCustomHintStyleController;
  TClass GetHintStyleClass() override { return TStyle::StaticClass(); }
};

struct TAppHandler {
  int Calls = 0;
  void Show(String&, bool&, THintInfo&) { ++Calls; }
};

TEST(dxCustomHint, WithoutControllersTheApplicationsClassAndHandlerStay) {
  EXPECT_EQ(cxGetHintWindowClass(), Application()->HintWindowClass());
  EXPECT_EQ(cxGetHintStyleController(), nullptr);
  EXPECT_FALSE(static_cast<bool>(Application()->OnShowHint));
}

TEST(dxCustomHint, RegistrationsAreUndoneInOrder) {
  TAppHandler Handler;
  const TShowHintEvent Original = MakeEvent<&TAppHandler::Show>(&Handler);
  Application()->OnShowHint = Original;
  const TClass OriginalClass = Application()->HintWindowClass();
  auto* First = Create<TTestStyleController<TFirstHintStyle>>(nullptr);
  EXPECT_EQ(Application()->HintWindowClass(), TFirstHintWindow::StaticClass());
  EXPECT_FALSE(Application()->OnShowHint == Original);
  auto* Second = Create<TTestStyleController<TSecondHintStyle>>(nullptr);
  EXPECT_EQ(Application()->HintWindowClass(), TSecondHintWindow::StaticClass());
  EXPECT_EQ(dxHintController()->ControllerCount(), 2);
  // The library's handler runs the one it replaced.
  String Text = L"hint";
  bool CanShow = true;
  THintInfo Info;
  Application()->OnShowHint(Text, CanShow, Info);
  EXPECT_EQ(Handler.Calls, 1);
  EXPECT_EQ(Info.HintWindowClass, TSecondHintWindow::StaticClass());
  Second->Free();
  EXPECT_EQ(Application()->HintWindowClass(), TFirstHintWindow::StaticClass());
  First->Free();
  EXPECT_EQ(Application()->HintWindowClass(), OriginalClass);
  EXPECT_TRUE(Application()->OnShowHint == Original);
  Application()->OnShowHint = {};
}

TEST(dxCustomHint, TheControllerOfTheHintedControlsFormWinsOverAGlobalOne) {
  TOwned<TCustomForm> Form(CreateForm(100, 60));
  auto* Panel = Create<TPanel>(Form.get());
  Panel->SetParent(Form.get());
  TOwned<TcxCustomHintStyleController> Global(
      Create<TTestStyleController<TFirstHintStyle>>(nullptr));
  dxHintController()->SetHintedControl(Panel);
  EXPECT_EQ(cxGetHintStyleController(), Global.get());
  auto* Local = Create<TTestStyleController<TSecondHintStyle>>(Form.get());
  EXPECT_EQ(cxGetHintStyleController(), Local);
  EXPECT_EQ(cxGetHintWindowClass(), TSecondHintWindow::StaticClass());
  Local->Free();
  Global->SetGlobal(false);
  EXPECT_EQ(cxGetHintStyleController(), nullptr);
  cxRemoveHintedControl();
  EXPECT_EQ(dxHintController()->HintedControl(), nullptr);
}

// The decision with an injected clock and settings.
struct TAnimationCase {
  TcxHintAnimationStyle Style;
  DWORD SinceLast;
  Integer TextLength;
  bool Animation, Fade;
  TcxHintAnimationStyle Expected;
};

bool GAnimation = true, GFade = true;

TEST(dxCustomHint, AnimationIsDecidedByTheTimeSinceTheLastHintTheTextAndTheSettings) {
  const TAnimationCase Cases[] = {
      {cxhaAuto, 1000, 10, true, true, cxhaFadeIn},
      {cxhaAuto, 1000, 10, true, false, cxhaSlideDownward},
      {cxhaAuto, 200, 10, true, true, cxhaNone},
      {cxhaAuto, 250, 10, true, true, cxhaNone},
      {cxhaAuto, 251, 10, true, true, cxhaFadeIn},
      {cxhaSlideFromLeft, 1000, 99, true, true, cxhaSlideFromLeft},
      {cxhaSlideFromLeft, 1000, 100, true, true, cxhaNone},
      {cxhaSlideUpward, 1000, 10, false, true, cxhaNone},
      {cxhaNone, 1000, 10, true, true, cxhaNone},
  };
  TdxHintPlatform Saved = dxHintPlatform();
  auto Restore = Finally([&] { dxHintPlatform() = Saved; });
  dxHintPlatform().ToolTipAnimation = [] { return GAnimation; };
  dxHintPlatform().ToolTipFade = [] { return GFade; };
  for (const TAnimationCase& C : Cases) {
    GAnimation = C.Animation;
    GFade = C.Fade;
    EXPECT_EQ(cxHintAnimationToPlay(C.Style, 5000, 5000 + C.SinceLast, C.TextLength), C.Expected)
        << C.Style << " " << C.SinceLast;
  }
  EXPECT_EQ(cxHintAnimationFlags(cxhaFadeIn), static_cast<DWORD>(0x80000));
  EXPECT_EQ(cxHintAnimationFlags(cxhaSlideFromCenter), static_cast<DWORD>(0x10));
}

DWORD GNow = 0;
std::vector<DWORD> GAnimated;
BOOL WINAPI RecordAnimation(HWND, DWORD, DWORD AFlags) {
  GAnimated.push_back(AFlags);
  return TRUE;
}

TEST(dxCustomHint, TwoHintsShortlyAfterEachOtherAnimateOnlyTheFirst) {
  TdxHintPlatform Saved = dxHintPlatform();
  auto Restore = Finally([&] { dxHintPlatform() = Saved; });
  dxHintPlatform().GetTickCount = [] { return GNow; };
  dxHintPlatform().ToolTipAnimation = [] { return true; };
  dxHintPlatform().ToolTipFade = [] { return true; };
  dxHintPlatform().AnimateWindow = &RecordAnimation;
  GAnimated.clear();
  TOwned<TcxBaseHintWindow> Hint(Create<TcxBaseHintWindow>(nullptr));
  GNow = 10000;
  Hint->ActivateHint(Bounds(100, 100, 80, 20), L"first");
  EXPECT_EQ(Hint->LastAnimation(), cxhaFadeIn);
  GNow += 200;
  Hint->ActivateHint(Bounds(100, 100, 80, 20), L"second");
  EXPECT_EQ(Hint->LastAnimation(), cxhaNone);
  ASSERT_EQ(GAnimated.size(), 1u);
  EXPECT_EQ(GAnimated[0], static_cast<DWORD>(0x80000 | 0x40000));
  EXPECT_TRUE(IsWindowVisible(Hint->Handle()));
}

TEST(dxCustomHint, AHintAtTheScreensEdgeIsKeptInsideTheWorkArea) {
  TOwned<TcxBaseHintWindow> Hint(Create<TcxBaseHintWindow>(nullptr));
  const TRect W = GetDesktopWorkArea(TPoint{0, 0});
  Hint->SetBounds(W.right - 10, W.bottom - 5, 80, 20);
  EXPECT_EQ(Hint->BoundsRect(), Bounds(W.right - 80, W.bottom - 20, 80, 20));
  Hint->SetBounds(W.left - 30, W.top - 30, 80, 20);
  EXPECT_EQ(Hint->BoundsRect(), Bounds(W.left, W.top, 80, 20));
}

}  // namespace
