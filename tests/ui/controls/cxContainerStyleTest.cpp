// Container styles: resolution of each value by state and look-and-feel,
// assigned-value flags, the controller chain with its loop check and its
// freeing, change brackets, names, font fallback and streaming.
#include <gtest/gtest.h>

#include "Forms.h"
#include "cxContainer.h"

namespace {

// A plain control owning a set of styles the way a container does, with the
// container's answers to the styles as settings.
class TStyleHost : public TCustomControl, public IcxContainerStyleOwner {
  DECLARE_CLASS_INLINE(TStyleHost, TCustomControl)
 public:
  explicit TStyleHost(TComponent* AOwner) : TCustomControl(AOwner) {}
  void AfterConstruction() override {
    inherited::AfterConstruction();
    Styles.reset(Create<TcxContainerStyles>(this, &cxCreateContainerStyle<TcxContainerStyle>));
    Styles->SetOnChanged(MakeEvent<&TStyleHost::StyleChanged>(this));
  }
  TControl* GetStyleOwnerControl() override { return this; }
  bool DefaultParentColor() override { return ParentColorByDefault; }
  bool IsInplace() override { return Inplace; }
  bool IsStylePropertyPublished(const String&, bool AExtendedStyle) override {
    return !AExtendedStyle || PublishStateStyles;
  }
  TcxContainerStyle* Style(TcxContainerStateItem S) const { return Styles->GetStyle(S); }
  void StyleChanged(TObject* Sender) { Changes.push_back(static_cast<TcxContainerStyle*>(Sender)); }

  TOwned<TcxContainerStyles> Styles;
  std::vector<TcxContainerStyle*> Changes;
  bool ParentColorByDefault = false;
  bool Inplace = false;
  bool PublishStateStyles = true;
};

class ContainerStyle : public ::testing::Test {
 protected:
  void SetUp() override {
    Host.reset(Create<TStyleHost>(nullptr));
    Host->SetParentColor(false);
  }
  void TearDown() override {
    Host.reset();
    cxSetContainerDefaultStyleController(nullptr);
  }
  TcxContainerStyle* Base() const { return Host->Style(csNormal); }
  TOwned<TStyleHost> Host;
};

TEST_F(ContainerStyle, NewBaseStyleResolvesTheDefaults) {
  TcxContainerStyle* S = Base();
  S->GetLookAndFeel()->SetKind(lfUltraFlat);
  EXPECT_EQ(S->GetBorderColor(), clWindowFrame);
  EXPECT_EQ(S->GetBorderStyle(), cbsUltraFlat);
  EXPECT_EQ(S->GetColor(), clWindow);
  EXPECT_EQ(S->GetEdges(), cxBordersAll());
  EXPECT_TRUE(S->GetHotTrack());
  EXPECT_FALSE(S->GetShadow());
  EXPECT_TRUE(S->GetTransparentBorder());
  EXPECT_EQ(S->GetTextColor(), S->GetFont()->Color());
  EXPECT_EQ(S->GetTextStyle(), S->GetFont()->Style());
  EXPECT_TRUE(S->GetAssignedValues().Empty());
}

TEST_F(ContainerStyle, BorderStyleFollowsTheLookAndFeelKind) {
  struct {
    TcxLookAndFeelKind Kind;
    TcxContainerBorderStyle Expected;
  } const Cases[] = {{lfFlat, cbsFlat},
                     {lfStandard, cbs3D},
                     {lfUltraFlat, cbsUltraFlat},
                     {lfOffice11, cbsOffice11}};
  for (const auto& C : Cases) {
    Base()->GetLookAndFeel()->SetKind(C.Kind);
    EXPECT_EQ(Base()->GetBorderStyle(), C.Expected) << C.Kind;
  }
}

// Value x state: what each state style resolves to with nothing assigned
// but the base style's border style, colour and text colour.
TEST_F(ContainerStyle, StateStylesResolveFromTheBaseStyle) {
  Base()->SetBorderColor(clRed);
  Base()->SetColor(clYellow);
  Base()->SetTextColor(clNavy);
  struct {
    TcxContainerStateItem State;
    TColor BorderColor, Color, TextColor;
  } const Cases[] = {{csActive, clRed, clYellow, clNavy},
                     {csHotTrack, clRed, clYellow, clNavy},
                     {csDisabled, clBtnShadow, clBtnFace, clBtnShadow}};
  for (const auto& C : Cases) {
    TcxContainerStyle* S = Host->Style(C.State);
    EXPECT_EQ(S->GetBorderColor(), C.BorderColor) << C.State;
    EXPECT_EQ(S->GetColor(), C.Color) << C.State;
    EXPECT_EQ(S->GetTextColor(), C.TextColor) << C.State;
  }
  // A container taking its parent's colour by default leaves the disabled
  // background to the base style too.
  Host->ParentColorByDefault = true;
  EXPECT_EQ(Host->Style(csDisabled)->GetColor(), clYellow);
}

// The focused and hot border mapping over every base border style, with
// hot tracking on and off; the disabled style keeps the base one either way.
TEST_F(ContainerStyle, FocusedAndHotBorderStylesMapTheBaseStyle) {
  const TcxContainerBorderStyle Highlighted[] = {cbsFlat, cbsThick,     cbsThick,   cbs3D,
                                                 cbs3D,   cbsUltraFlat, cbsOffice11};
  for (Integer B = cbsNone; B <= cbsOffice11; ++B) {
    auto ABase = static_cast<TcxContainerBorderStyle>(B);
    Base()->SetBorderStyle(ABase);
    for (bool AHotTrack : {true, false}) {
      Base()->SetHotTrack(AHotTrack);
      TcxContainerBorderStyle AExpected = AHotTrack ? Highlighted[B] : ABase;
      EXPECT_EQ(Host->Style(csActive)->GetBorderStyle(), AExpected) << B << AHotTrack;
      EXPECT_EQ(Host->Style(csHotTrack)->GetBorderStyle(), AExpected) << B << AHotTrack;
      EXPECT_EQ(Host->Style(csDisabled)->GetBorderStyle(), ABase) << B << AHotTrack;
    }
  }
}

TEST_F(ContainerStyle, BaseOnlyValuesSetOnAStateStyleLandOnTheBaseStyle) {
  TcxContainerStyle* AHot = Host->Style(csHotTrack);
  AHot->SetEdges(TcxBorders{bLeft, bTop});
  AHot->SetShadow(true);
  EXPECT_EQ(Base()->GetEdges(), (TcxBorders{bLeft, bTop}));
  EXPECT_EQ(AHot->GetEdges(), (TcxBorders{bLeft, bTop}));
  EXPECT_TRUE(Base()->GetAssignedValues().Contains(csvEdges));
  EXPECT_FALSE(AHot->GetAssignedValues().Contains(csvEdges));
  EXPECT_TRUE(AHot->GetShadow());
  // A state style keeps its own border colour.
  AHot->SetBorderColor(clLime);
  EXPECT_EQ(AHot->GetBorderColor(), clLime);
  EXPECT_EQ(Base()->GetBorderColor(), clWindowFrame);
}

TEST_F(ContainerStyle, OneNotificationPerUpdateBracket) {
  TcxContainerStyle* S = Base();
  Host->Changes.clear();
  S->BeginUpdate();
  S->SetBorderColor(clRed);
  S->SetBorderStyle(cbsSingle);
  S->SetColor(clBlue);
  S->SetEdges(TcxBorders{bLeft});
  S->SetHotTrack(false);
  S->SetShadow(true);
  S->SetTextColor(clGreen);
  S->SetTextStyle(TFontStyles{TFontStyle::fsBold});
  S->SetTransparentBorder(false);
  S->GetFont()->SetSize(14);
  EXPECT_TRUE(Host->Changes.empty());
  S->EndUpdate();
  ASSERT_EQ(Host->Changes.size(), 1u);
  EXPECT_EQ(Host->Changes[0], S);
  // An unmatched EndUpdate does not drive the counter below 0.
  S->EndUpdate();
  S->SetColor(clRed);
  EXPECT_EQ(Host->Changes.size(), 2u);
  // An equal, assigned value is no change.
  S->SetColor(clRed);
  EXPECT_EQ(Host->Changes.size(), 2u);
  EXPECT_TRUE(S->IsValueAssigned(csvTransparentBorder));
}

TEST_F(ContainerStyle, ClearingAnAssignedBitReturnsTheValueToInheritance) {
  Base()->SetColor(clRed);
  TcxContainerStyleValues V = Base()->GetAssignedValues();
  V.Exclude(csvColor);
  Base()->SetAssignedValues(V);
  EXPECT_EQ(Base()->GetColor(), clWindow);
}

TEST_F(ContainerStyle, ParentColorWinsForPaintingAndComesAfterTheLookupForTheStyleColour) {
  TOwned<TCustomControl> AParent(Create<TCustomControl>(nullptr));
  AParent->SetColor(clTeal);
  Host->SetParent(AParent.get());
  Host->SetParentColor(true);
  EXPECT_EQ(Base()->GetColor(), clTeal);
  EXPECT_EQ(Base()->GetStyleColor(), clTeal);
  Host->Inplace = true;
  EXPECT_EQ(Base()->GetStyleColor(), clWindow);
  Base()->SetColor(clRed);
  EXPECT_EQ(Base()->GetColor(), clTeal);
  EXPECT_EQ(Base()->GetStyleColor(), clRed);
  Host->SetParent(nullptr);
}

TEST_F(ContainerStyle, ValuesComeThroughTheControllerChain) {
  TOwned<TcxStyleController> ADefault(Create<TcxStyleController>(nullptr));
  TOwned<TcxStyleController> AController(Create<TcxStyleController>(nullptr));
  cxSetContainerDefaultStyleController(ADefault.get());
  // The default controller's own styles take none; the other one takes it.
  EXPECT_EQ(ADefault->GetStyle()->GetActiveStyleController(), nullptr);
  AController->GetStyle()->BaseSetStyleController(nullptr);
  EXPECT_EQ(AController->GetStyle()->GetActiveStyleController(), ADefault.get());
  Base()->BaseSetStyleController(AController.get());
  ADefault->GetStyle()->SetBorderColor(clMaroon);
  ADefault->StyleFocused()->SetColor(clOlive);
  AController->GetStyle()->SetShadow(true);
  EXPECT_EQ(Base()->GetBorderColor(), clMaroon);
  EXPECT_TRUE(Base()->GetShadow());
  EXPECT_EQ(Host->Style(csActive)->GetColor(), clOlive);
  EXPECT_TRUE(Base()->IsValueAssigned(csvShadow));
  EXPECT_FALSE(Base()->GetAssignedValues().Contains(csvShadow));
  EXPECT_EQ(Base()->BaseGetStyleController(), AController.get());
  // The default controller is never reported as assigned.
  Base()->BaseSetStyleController(nullptr);
  EXPECT_EQ(Base()->BaseGetStyleController(), nullptr);
  EXPECT_EQ(Base()->GetActiveStyleController(), ADefault.get());
}

TEST_F(ContainerStyle, ControllerChangesReachEveryListener) {
  TOwned<TcxStyleController> AController(Create<TcxStyleController>(nullptr));
  Base()->BaseSetStyleController(AController.get());
  Host->Changes.clear();
  AController->GetStyle()->SetBorderColor(clRed);
  ASSERT_EQ(Host->Changes.size(), 1u);
  EXPECT_EQ(Base()->GetBorderColor(), clRed);
}

TEST_F(ContainerStyle, ALoopingControllerIsIgnored) {
  TOwned<TcxStyleController> A(Create<TcxStyleController>(nullptr));
  TOwned<TcxStyleController> B(Create<TcxStyleController>(nullptr));
  A->GetStyle()->BaseSetStyleController(B.get());
  // Its own controller, and a loop through another one.
  A->GetStyle()->BaseSetStyleController(A.get());
  EXPECT_EQ(A->GetStyle()->GetActiveStyleController(), B.get());
  B->GetStyle()->BaseSetStyleController(A.get());
  EXPECT_EQ(B->GetStyle()->GetActiveStyleController(), nullptr);
}

TEST_F(ContainerStyle, AFreedControllerMovesItsStylesToTheDefault) {
  TOwned<TcxStyleController> ADefault(Create<TcxStyleController>(nullptr));
  cxSetContainerDefaultStyleController(ADefault.get());
  TOwned<TStyleHost> AOther(Create<TStyleHost>(nullptr));
  TOwned<TcxStyleController> AController(Create<TcxStyleController>(nullptr));
  Base()->BaseSetStyleController(AController.get());
  AOther->Style(csNormal)->BaseSetStyleController(AController.get());
  Host->Changes.clear();
  AOther->Changes.clear();
  AController.reset();
  EXPECT_EQ(Base()->GetActiveStyleController(), ADefault.get());
  EXPECT_EQ(AOther->Style(csNormal)->GetActiveStyleController(), ADefault.get());
  EXPECT_EQ(Host->Changes.size(), 1u);
  EXPECT_EQ(AOther->Changes.size(), 1u);
}

TEST_F(ContainerStyle, AFreedDefaultControllerLeavesNoStylePointingAtIt) {
  auto* ADefault = Create<TcxStyleController>(nullptr);
  cxSetContainerDefaultStyleController(ADefault);
  TOwned<TStyleHost> AHost(Create<TStyleHost>(nullptr));
  ASSERT_EQ(AHost->Style(csNormal)->GetActiveStyleController(), ADefault);
  ADefault->Free();
  EXPECT_EQ(AHost->Style(csNormal)->GetActiveStyleController(), nullptr);
  EXPECT_EQ(cxContainerDefaultStyleController(), nullptr);
  EXPECT_EQ(AHost->Style(csNormal)->GetBorderColor(), clWindowFrame);
}

TEST_F(ContainerStyle, NamesAreFoundWithoutRegardToCase) {
  Integer V = -1;
  EXPECT_TRUE(Base()->GetStyleValue(L"bordercolor", V));
  EXPECT_EQ(V, csvBorderColor);
  EXPECT_TRUE(Base()->GetStyleValue(L"TRANSPARENTBORDER", V));
  EXPECT_EQ(V, csvTransparentBorder);
  EXPECT_FALSE(Base()->GetStyleValue(L"Colour", V));
  String AName = L"x";
  EXPECT_FALSE(Base()->GetStyleValueName(10, AName));
  EXPECT_TRUE(AName.empty());
  EXPECT_TRUE(Base()->GetStyleValueName(9, AName));
  EXPECT_EQ(AName, L"TransparentBorder");
}

TEST_F(ContainerStyle, StateStylesPublishOnlyTheirOwnValues) {
  TcxContainerStyle* S = Host->Style(csHotTrack);
  for (const wchar_t* AName : {L"BorderColor", L"BorderStyle", L"Color", L"TextColor",
                               L"TextStyle"})
    EXPECT_TRUE(S->IsExtendedStylePropertyPublished(AName)) << AName;
  for (const wchar_t* AName : {L"Edges", L"Font", L"HotTrack", L"Shadow", L"TransparentBorder",
                               L"LookAndFeel", L"StyleController"})
    EXPECT_FALSE(S->IsExtendedStylePropertyPublished(AName)) << AName;
}

TEST_F(ContainerStyle, FontOfAStateStyleIsTheBaseStylesAndNeverEmpty) {
  EXPECT_FALSE(Base()->GetAssignedValues().Contains(csvFont));
  Base()->GetFont()->SetName(L"Courier New");
  for (auto S : {csNormal, csActive, csDisabled, csHotTrack}) {
    ASSERT_NE(Host->Style(S)->GetFont(), nullptr);
    EXPECT_EQ(Host->Style(S)->GetFont()->Name(), L"Courier New");
  }
  EXPECT_TRUE(Base()->GetAssignedValues().Contains(csvFont));
  // Bold added the way a caller of GetFont does it is assigned too.
  Base()->GetFont()->SetStyle(TFontStyles{TFontStyle::fsBold});
  EXPECT_TRUE(Base()->GetVisibleFont()->Style().Contains(TFontStyle::fsBold));
}

TEST_F(ContainerStyle, ControllerFontIsCopiedUntilTheStyleAssignsItsOwn) {
  TOwned<TcxStyleController> AController(Create<TcxStyleController>(nullptr));
  AController->GetStyle()->GetFont()->SetName(L"Courier New");
  Base()->BaseSetStyleController(AController.get());
  EXPECT_EQ(Base()->GetFont()->Name(), L"Courier New");
  EXPECT_FALSE(Base()->GetAssignedValues().Contains(csvFont));
  Base()->GetFont()->SetName(L"Tahoma");
  AController->GetStyle()->GetFont()->SetName(L"Arial");
  EXPECT_EQ(Base()->GetFont()->Name(), L"Tahoma");
}

TEST_F(ContainerStyle, AssignCopiesValuesAndTheAssignedSet) {
  TOwned<TStyleHost> AOther(Create<TStyleHost>(nullptr));
  AOther->SetParentColor(false);
  TcxContainerStyle* ASource = AOther->Style(csNormal);
  ASource->SetBorderStyle(cbsThick);
  ASource->SetColor(clAqua);
  ASource->SetShadow(true);
  Base()->Assign(ASource);
  EXPECT_EQ(Base()->GetBorderStyle(), cbsThick);
  EXPECT_EQ(Base()->GetColor(), clAqua);
  EXPECT_TRUE(Base()->GetShadow());
  EXPECT_EQ(Base()->GetAssignedValues(), ASource->GetAssignedValues());
  TOwned<TFont> AFont(Create<TFont>());
  EXPECT_THROW(Base()->Assign(AFont.get()), EConvertError);
}

TEST_F(ContainerStyle, DirectAccessStyleHoldsBorrowedValuesWithoutNotifications) {
  TOwned<TFont> AFont(Create<TFont>());
  AFont->SetStyle(TFontStyles{TFontStyle::fsItalic});
  TOwned<TcxContainerStyle> S(Create<TcxContainerStyle>(nullptr, true, nullptr, csNormal));
  S->SetOnChanged(MakeEvent<&TStyleHost::StyleChanged>(Host.get()));
  Host->Changes.clear();
  S->SetFont(AFont.get());
  S->SetColor(clRed);
  EXPECT_EQ(S->GetFont(), AFont.get());
  EXPECT_EQ(S->GetColor(), clRed);
  EXPECT_EQ(S->GetBorderColor(), clDefault);
  EXPECT_TRUE(S->GetEdges().Empty());
  EXPECT_EQ(S->GetTextStyle(), TFontStyles{TFontStyle::fsItalic});
  EXPECT_FALSE(S->GetShadow());
  EXPECT_TRUE(S->GetTransparentBorder());
  EXPECT_TRUE(Host->Changes.empty());
  TcxContainerStyleValues AAll = S->GetAssignedValues();
  for (Integer I = 0; I < cxContainerStyleValueCount; ++I)
    EXPECT_TRUE(AAll.Contains(static_cast<TcxContainerStyleValue>(I)));
}

TEST_F(ContainerStyle, RestoreDefaultsClearsTheAssignedValues) {
  Base()->SetColor(clRed);
  Host->Style(csActive)->SetBorderColor(clRed);
  Host->Styles->RestoreDefaults();
  EXPECT_TRUE(Base()->GetAssignedValues().Empty());
  EXPECT_TRUE(Host->Style(csActive)->GetAssignedValues().Empty());
  EXPECT_FALSE(Host->ParentColor());
  EXPECT_TRUE(Host->ParentFont());
  Host->ParentColorByDefault = true;
  Base()->RestoreDefaults();
  EXPECT_TRUE(Host->ParentColor());
}

}  // namespace
