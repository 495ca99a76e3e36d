#include <gtest/gtest.h>

#include "Forms.h"
#include "dxCoreClasses.h"
#include "dxDPIAwareUtils.h"

namespace {

TEST(DPI, CheckValueClamps) {
  struct {
    Integer V, Expected;
  } Cases[] = {{29, 30}, {30, 30}, {96, 96}, {480, 480}, {481, 480}, {0, 30}, {-5, 30}};
  for (const auto& C : Cases) EXPECT_EQ(dxCheckDPIValue(C.V), C.Expected);
}

// A stand-in for the window framework: forms, panels and controls by name.
class TFakeWidget : public TcxIUnknownObject {
 public:
  enum TKind { Form, Control, Other } Kind = Other;
  Integer FormDPI = 96;
  TFakeWidget* Parent = nullptr;
};

class TScaled : public TFakeWidget, public IdxScaleFactor {
 public:
  TScaled() { Factor = MakeOwned<TdxScaleFactor>(); }
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return Factor.get(); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID I, void** O) override {
    return TcxIUnknownObject::QueryInterface(I, O);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IdxScaleFactor))) {
      *AObj = static_cast<IdxScaleFactor*>(this);
      return true;
    }
    return TFakeWidget::GetInterface(AIID, AObj);
  }
  TOwned<TdxScaleFactor> Factor;
};

bool FakeFormDPI(TObject* O, Integer& ADPI) {
  auto* W = dynamic_cast<TFakeWidget*>(O);
  if (!W || W->Kind != TFakeWidget::Form) return false;
  ADPI = W->FormDPI;
  return true;
}
bool FakeControlParent(TObject* O, TObject*& AParent) {
  auto* W = dynamic_cast<TFakeWidget*>(O);
  if (!W || W->Kind != TFakeWidget::Control) return false;
  AParent = W->Parent;
  return true;
}

class DPIResolution : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = dxDPIControlServices();
    dxDPIControlServices().GetFormDPI = &FakeFormDPI;
    dxDPIControlServices().GetControlParent = &FakeControlParent;
  }
  void TearDown() override { dxDPIControlServices() = Saved; }
  TdxDPIControlServices Saved;
};

TEST_F(DPIResolution, ThroughFormsControlsAndScaleFactors) {
  TFakeWidget Form, Panel, Button, Loose;
  Form.Kind = TFakeWidget::Form;
  Panel.Kind = Button.Kind = Loose.Kind = TFakeWidget::Control;
  Panel.Parent = &Form;
  Button.Parent = &Panel;
  TScaled Scaled;
  Scaled.Kind = TFakeWidget::Control;  // its own factor wins over the parent chain
  Scaled.Parent = &Form;
  Scaled.Factor->Assign(5, 4, false);
  struct {
    Integer FormDPI;
    TObject* Component;
    bool Found;
    Integer DPI;
  } Cases[] = {
      {144, &Button, true, 144}, {96, &Button, true, 96},   {144, &Form, true, 144},
      {144, &Loose, false, 96},  {144, nullptr, false, 96}, {144, &Scaled, true, 120},
  };
  for (const auto& C : Cases) {
    Form.FormDPI = C.FormDPI;
    Integer M = -7, D = -7;
    EXPECT_EQ(dxGetCurrentScaleFactor(C.Component, M, D), C.Found);
    if (!C.Found) {
      EXPECT_EQ(M, -7);  // left unchanged
    }
    EXPECT_EQ(dxGetCurrentDPI(C.Component), C.DPI);
  }
  Form.FormDPI = 168;
  EXPECT_EQ(dxGetFormDPI(&Form), 168);
  EXPECT_EQ(dxGetFormDPI(&Button), dxGetSystemDPI());
  EXPECT_EQ(dxGetScaleFactor(&Scaled), Scaled.Factor.get());
  EXPECT_EQ(dxGetScaleFactor(&Loose), dxSystemScaleFactor());
}

TEST(DPI, ResolutionFollowsTheFormsCurrentDPI) {
  TOwned<TCustomForm> Form(Create<TCustomForm>(nullptr, true));
  TWinControl* Panel = Create<TWinControl>(Form.get());
  Panel->SetParent(Form.get());
  TControl* Button = Create<TControl>(Form.get());
  Button->SetParent(Panel);
  TOwned<TControl> Loose = MakeOwned<TControl>(nullptr);
  const Integer DesignedAt = Form->PixelsPerInch();
  EXPECT_EQ(dxGetFormDPI(Form.get()), Form->CurrentPPI());
  // Rescaled by the program and moved between monitors by the platform; the
  // stored PixelsPerInch keeps the design DPI throughout.
  enum { ByScaleForPPI, ByDPIMessage };
  struct {
    int How;
    Integer DPI;
  } Steps[] = {{ByScaleForPPI, 144}, {ByDPIMessage, 120}, {ByDPIMessage, 192}, {ByScaleForPPI, 96}};
  for (const auto& S : Steps) {
    if (S.How == ByScaleForPPI) {
      Form->ScaleForPPI(S.DPI);
    } else {
      RECT Suggested{0, 0, 400, 300};
      SendMessageW(Form->Handle(), WM_DPICHANGED, MAKEWPARAM(S.DPI, S.DPI),
                   reinterpret_cast<LPARAM>(&Suggested));
    }
    EXPECT_EQ(Form->PixelsPerInch(), DesignedAt);
    EXPECT_EQ(dxGetFormDPI(Form.get()), S.DPI);
    Integer M = 0, D = 0;
    EXPECT_TRUE(dxGetCurrentScaleFactor(Button, M, D));
    EXPECT_EQ(M, S.DPI);
    EXPECT_EQ(D, 96);
    EXPECT_EQ(dxGetCurrentDPI(Button), S.DPI);
  }
  EXPECT_EQ(dxGetCurrentDPI(Loose.get()), 96);
  // The monitor under a control is the one screen of the test display.
  EXPECT_EQ(dxGetTargetDPI(Button), dxGetMonitorDPI(cxPoint(0, 0)));
}

TEST(DPI, SharedFactorsAndSystemMetrics) {
  ASSERT_NE(dxSystemScaleFactor(), nullptr);
  EXPECT_EQ(dxSystemScaleFactor()->TargetDPI(), dxGetSystemDPI());
  EXPECT_FALSE(dxDefaultScaleFactor()->Assigned());
  EXPECT_EQ(dxSystemScaleFactor(), dxSystemScaleFactor());

  TOwned<TdxScaleFactor> F = MakeOwned<TdxScaleFactor>();
  F->Assign(3, 2, false);
  const Integer Plain = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(dxGetSystemMetrics(SM_CXVSCROLL, nullptr), Plain);

  TdxDPIBinding Saved = dxDPIBinding();
  dxDPIBinding().GetSystemMetricsForDpi = nullptr;
  // Without the per-DPI metric the value at the desktop factor is converted.
  TdxDesktopScaleFactor* Desktop = dxDesktopScaleFactor();
  Integer Expected = MulDiv(Plain, 3 * Desktop->Denominator(), 2 * Desktop->Numerator());
  EXPECT_EQ(dxGetSystemMetrics(SM_CXVSCROLL, F.get()), Expected);
  dxDPIBinding() = Saved;
  if (dxDPIBinding().GetSystemMetricsForDpi) {
    EXPECT_EQ(dxGetSystemMetrics(SM_CXVSCROLL, F.get()),
              dxDPIBinding().GetSystemMetricsForDpi(SM_CXVSCROLL, 144));
  }
}

TEST(DPI, AssignFontConvertsTheHeight) {
  TOwned<TFont> Source = MakeOwned<TFont>();
  TOwned<TFont> Target = MakeOwned<TFont>();
  Source->SetName(L"Tahoma");
  Source->SetHeight(-12);
  TOwned<TdxScaleFactor> One = MakeOwned<TdxScaleFactor>();
  TOwned<TdxScaleFactor> Two = MakeOwned<TdxScaleFactor>();
  Two->Assign(2, 1, false);
  dxAssignFont(Target.get(), Source.get(), Two.get(), One.get());
  EXPECT_EQ(Target->Height(), -24);
  EXPECT_EQ(Target->Name(), L"Tahoma");
  dxAssignFont(Target.get(), Source.get(), One.get(), One.get());
  EXPECT_EQ(Target->Height(), -12);
}

TEST(DPI, SharedFactorsAreNotRecreatedAfterShutDown) {
  dxDPIAwareUtils_Finalize();
  EXPECT_EQ(dxSystemScaleFactor(), nullptr);
  EXPECT_EQ(dxDefaultScaleFactor(), nullptr);
  EXPECT_EQ(dxDesktopScaleFactor(), nullptr);
  EXPECT_EQ(dxDPIBinding().GetSystemMetricsForDpi, nullptr);
  dxDPIAwareUtils_Initialize();
  EXPECT_NE(dxSystemScaleFactor(), nullptr);
}

}  // namespace
