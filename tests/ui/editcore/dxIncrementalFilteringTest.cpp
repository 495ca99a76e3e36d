// Incremental filtering: the search edit reached through the text-editor
// table (filled here with a fake editor), its wiring to the helper's
// handlers by real messages, the search button drawn by the painter, and the
// "No matches found" panel: its measures, its pixels in both directions and
// on a real popup window at 96 and 144 DPI.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditPaintTestSupport.h"
#include "Forms.h"
#include "cxDrawTextUtils.h"
#include "cxLookAndFeelPainters.h"
#include "dxIncrementalFiltering.h"
#include "ui/controls/ControlsTestSupport.h"
#include "ui/graphics/GraphicsTestSupport.h"

namespace {

using ControlsTest::CaptureWindow;
using ControlsTest::CreateForm;
using ControlsTest::ProcessMessages;

// ---------------------------------------------------------------------------
// The fake text editor behind the table.

struct TFakeTextEditorState {
  Integer Made = 0;
  Integer Alive = 0;
  Integer TextReads = 0;
};
TFakeTextEditorState& FakeState() {
  static TFakeTextEditorState S;
  return S;
}

class TFakeSearchEdit : public TcxCustomEdit {
  DECLARE_CLASS(TFakeSearchEdit, TcxCustomEdit)
 public:
  explicit TFakeSearchEdit(TComponent* AOwner) : TcxCustomEdit(AOwner) { ++FakeState().Alive; }
  ~TFakeSearchEdit() override { --FakeState().Alive; }
  // What a text editor does when the user types.
  void Type(const String& AText) {
    Text += AText;
    DoChange();
  }
  String Text;
  bool BeepOnEnter = true;
};
IMPLEMENT_CLASS(TFakeSearchEdit)

TcxCustomEdit* FakeCreateSearchEdit() {
  ++FakeState().Made;
  return Create<TFakeSearchEdit>(nullptr);
}
String FakeGetText(TcxCustomEdit* AEdit) {
  ++FakeState().TextReads;
  return static_cast<TFakeSearchEdit*>(AEdit)->Text;
}
void FakeSetBeepOnEnter(TcxCustomEdit* AEdit, bool AValue) {
  static_cast<TFakeSearchEdit*>(AEdit)->BeepOnEnter = AValue;
}

// Fills the table with the fake for the life of the object.
class TFakeTextEditorModule {
 public:
  TFakeTextEditorModule() : FSaved(dxSearchEditRoutines()) {
    FakeState() = TFakeTextEditorState();
    dxSearchEditRoutines() = {&FakeCreateSearchEdit, &FakeGetText, &FakeSetBeepOnEnter};
  }
  ~TFakeTextEditorModule() { dxSearchEditRoutines() = FSaved; }
  TFakeTextEditorModule(const TFakeTextEditorModule&) = delete;
  TFakeTextEditorModule& operator=(const TFakeTextEditorModule&) = delete;

 private:
  TdxSearchEditRoutines FSaved;
};

// Writes down what reaches the handlers and what the search button asks of
// the painter.
class TSearchButtonPainter : public TcxStandardLookAndFeelPainter {
  DECLARE_CLASS(TSearchButtonPainter, TcxStandardLookAndFeelPainter)
 public:
  struct TCall {
    TRect R;
    TcxButtonState State;
    Integer Numerator, Denominator;
  };
  std::vector<TCall> Calls;
  void DrawScaledSearchEditButtonGlyph(TcxCanvas*, const TRect& R, TcxButtonState AState,
                                       const TdxScaleFactor* AScaleFactor) override {
    Calls.push_back({R, AState, AScaleFactor->Numerator(), AScaleFactor->Denominator()});
  }
};
IMPLEMENT_CLASS(TSearchButtonPainter)

class TRecordingHelper : public TdxCustomIncrementalFilteringHelper {
  DECLARE_CLASS(TRecordingHelper, TdxCustomIncrementalFilteringHelper)
 public:
  TRecordingHelper() : Painter(MakeOwned<TSearchButtonPainter>()) {}
  TcxCustomLookAndFeelPainter* GetLookAndFeelPainter() override { return Painter.get(); }
  void SearchEditKeyDown(TObject* Sender, Word& Key, TShiftState) override {
    Events.push_back("down " + std::to_string(Key) + Who(Sender));
  }
  void SearchEditKeyPress(TObject* Sender, Char& Key) override {
    Events.push_back("press " + std::to_string(Key) + Who(Sender));
  }
  void SearchEditMouseWheel(TObject* Sender, TShiftState, Integer WheelDelta, TPoint,
                            bool& Handled) override {
    Events.push_back("wheel " + std::to_string(WheelDelta) + Who(Sender));
    Handled = true;
  }
  void SearchEditValueChanged(TObject* Sender) override {
    Events.push_back("changed " + WideToUtf8(GetSearchText()) + Who(Sender));
  }
  std::string Who(TObject* Sender) { return Sender == SearchEdit() ? "" : " (from elsewhere)"; }
  static std::string WideToUtf8(const String& S) { return std::string(S.begin(), S.end()); }

  std::vector<std::string> Events;
  TOwned<TSearchButtonPainter> Painter;
};
IMPLEMENT_CLASS(TRecordingHelper)

// ---------------------------------------------------------------------------
// The search edit and its table

TEST(IncrementalFilteringHelper, ReachesTheSearchEditOnlyThroughAFilledTable) {
  TOwned<TRecordingHelper> Helper = MakeOwned<TRecordingHelper>();
  {
    TFakeTextEditorModule Module;
    Helper->CreateSearchEdit();
    EXPECT_NE(Helper->SearchEdit(), nullptr);
    Helper->DestroySearchEdit();
  }
  // Without the text-editor module there is nothing to make, and no text to
  // read is no error.
  dxIncrementalFiltering_Finalize();
  EXPECT_THROW(Helper->CreateSearchEdit(), EdxException);
  EXPECT_EQ(Helper->SearchEdit(), nullptr);
  EXPECT_EQ(Helper->GetSearchText(), L"");
  // A table filled in part is not taken either.
  TFakeTextEditorModule Module;
  dxSearchEditRoutines().GetText = nullptr;
  EXPECT_THROW(Helper->CreateSearchEdit(), EdxException);
  // Shut-down empties the table the text-editor module left filled.
  dxSearchEditRoutines().GetText = &FakeGetText;
  dxIncrementalFiltering_Finalize();
  EXPECT_THROW(dxCheckedSearchEditRoutines(), EdxException);
}

TEST(IncrementalFilteringHelper, OwnsOneSearchEditAtATime) {
  TFakeTextEditorModule Module;
  TOwned<TRecordingHelper> Helper = MakeOwned<TRecordingHelper>();
  // Destroying when there is none does nothing.
  Helper->DestroySearchEdit();
  EXPECT_EQ(Helper->SearchEdit(), nullptr);
  Helper->CreateSearchEdit();
  TcxCustomEdit* AFirst = Helper->SearchEdit();
  EXPECT_EQ(AFirst->Owner(), nullptr);
  // A second one replaces the first instead of leaving it behind.
  Helper->CreateSearchEdit();
  EXPECT_EQ(FakeState().Made, 2);
  EXPECT_EQ(FakeState().Alive, 1);
  Helper->DestroySearchEdit();
  EXPECT_EQ(Helper->SearchEdit(), nullptr);
  EXPECT_EQ(FakeState().Alive, 0);
  Helper->DestroySearchEdit();
  EXPECT_EQ(FakeState().Alive, 0);
  // The helper frees the one it still has.
  Helper->CreateSearchEdit();
  Helper.reset();
  EXPECT_EQ(FakeState().Alive, 0);
}

TEST(IncrementalFilteringHelper, SetsUpTheSearchEditWithOneGlyphButtonAndNoBeepOnEnter) {
  TFakeTextEditorModule Module;
  TOwned<TRecordingHelper> Helper = MakeOwned<TRecordingHelper>();
  EXPECT_THROW(Helper->InitSearchEdit(), EdxException);
  Helper->CreateSearchEdit();
  auto* AEdit = static_cast<TFakeSearchEdit*>(Helper->SearchEdit());
  Helper->InitSearchEdit();
  TcxEditButtons* AButtons = AEdit->GetProperties()->GetButtons();
  ASSERT_EQ(AButtons->Count(), 1);
  EXPECT_EQ(AButtons->Items(0)->GetKind(), bkGlyph);
  EXPECT_FALSE(AEdit->BeepOnEnter);
  EXPECT_EQ(Helper->GetSearchEditOffsets(), TRect(1, 1, 1, 1));
}

// Keys, the wheel and typing reach the helper as the search edit's events.
TEST(IncrementalFilteringHelper, RoutesTheSearchEditsEventsToItsHandlers) {
  TFakeTextEditorModule Module;
  TOwned<TCustomForm> Form(CreateForm(200, 60));
  TOwned<TRecordingHelper> Helper = MakeOwned<TRecordingHelper>();
  Helper->CreateSearchEdit();
  auto* AEdit = static_cast<TFakeSearchEdit*>(Helper->SearchEdit());
  AEdit->SetBounds(4, 4, 150, 22);
  AEdit->SetParent(Form.get());
  ProcessMessages();
  // Before the set-up the events go nowhere.
  AEdit->Type(L"x");
  EXPECT_TRUE(Helper->Events.empty());
  Helper->InitSearchEdit();
  HWND Wnd = AEdit->Handle();
  SendMessageW(Wnd, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(Wnd, WM_CHAR, L'a', 0);
  RECT R;
  GetWindowRect(Wnd, &R);
  SendMessageW(Wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
               MAKELPARAM(R.left + 5, R.top + 5));
  AEdit->Type(L"yz");
  const std::vector<std::string> Expected = {"down 40", "press 97", "wheel -120", "changed xyz"};
  EXPECT_EQ(Helper->Events, Expected);
  EXPECT_EQ(Helper->GetSearchText(), L"xyz");
  Helper.reset();
}

// The search button is the painter's search glyph in the normal state at
// the editor's scale, whatever state the button is in.
TEST(IncrementalFilteringHelper, DrawsTheSearchButtonAsTheNormalGlyphAtTheEditorsScale) {
  TFakeTextEditorModule Module;
  TOwned<TRecordingHelper> Helper = MakeOwned<TRecordingHelper>();
  Helper->CreateSearchEdit();
  Helper->SearchEdit()->ScaleForPPI(144);
  TOwned<TcxCustomEditViewInfo> AEditViewInfo = MakeOwned<TcxCustomEditViewInfo>();
  AEditViewInfo->SetEdit(Helper->SearchEdit());
  TOwned<TcxEditButtonViewInfo> AButton = MakeOwned<TcxEditButtonViewInfo>();
  AButton->EditViewInfo = AEditViewInfo.get();
  AButton->Bounds = TRect(80, 2, 98, 20);
  TOwned<TcxBitmap32> B = FilledBitmap(100, 24, clWhite);
  for (TcxEditButtonState AState : {ebsNormal, ebsPressed, ebsSelected, ebsDisabled}) {
    SCOPED_TRACE(static_cast<int>(AState));
    Helper->Painter->Calls.clear();
    AButton->Data.State = AState;
    bool AHandled = false;
    Helper->DrawSearchEditButton(AButton.get(), B->cxCanvas(), AHandled);
    EXPECT_TRUE(AHandled);
    ASSERT_EQ(Helper->Painter->Calls.size(), 1u);
    const TSearchButtonPainter::TCall& C = Helper->Painter->Calls[0];
    EXPECT_EQ(C.R, AButton->Bounds);
    EXPECT_EQ(C.State, cxbsNormal);
    EXPECT_EQ(MulDiv(96, C.Numerator, C.Denominator), 144);
  }
  // Asked without a canvas (does it draw the button itself?): yes, and
  // nothing is drawn.
  Helper->Painter->Calls.clear();
  bool AHandled = false;
  Helper->DrawSearchEditButton(AButton.get(), nullptr, AHandled);
  EXPECT_TRUE(AHandled);
  EXPECT_TRUE(Helper->Painter->Calls.empty());
}

// ---------------------------------------------------------------------------
// The search-information panel

// A view info as a popup sets it up: the style's font and the standard
// painter.
class TPanelViewInfo {
 public:
  explicit TPanelViewInfo(Integer AFontHeight) : Font(MakeOwned<TFont>()) {
    Font->SetName(L"Tahoma");
    Font->SetHeight(AFontHeight);
    ViewInfo->Font = Font.get();
    ViewInfo->Painter = cxLookAndFeelPaintersManager()->GetPainter(lfsStandard);
  }
  TOwned<TFont> Font;
  TOwned<TdxCustomIncrementalFilteringContainerViewInfo> ViewInfo =
      MakeOwned<TdxCustomIncrementalFilteringContainerViewInfo>();
};

// The platform's measures of one line of a font.
TSize PlatformTextSize(TFont* AFont, const String& AText) {
  TScreenDC DC;
  TSelectObjectGuard AFont_(DC.Get(), AFont->Handle());
  TEXTMETRICW TM{};
  GetTextMetricsW(DC.Get(), &TM);
  SIZE S{};
  GetTextExtentPoint32W(DC.Get(), AText.c_str(), static_cast<int>(AText.size()), &S);
  return TSize{S.cx, TM.tmHeight};
}

TEST(IncrementalFilteringPanel, SaysNoMatchesFoundInALineOfItsFont) {
  for (Integer AFontHeight : {-11, -16, -24}) {
    SCOPED_TRACE(AFontHeight);
    TPanelViewInfo P(AFontHeight);
    EXPECT_EQ(P.ViewInfo->GetSearchInfoPanelText(), L"No matches found");
    const TSize AText = PlatformTextSize(P.Font.get(), L"No matches found");
    const struct { Integer Height, Expected; } Heights[] = {{0, AText.cy + 8}, {5, 5}, {40, 40}};
    for (const auto& H : Heights) {
      P.ViewInfo->SearchInfoPanelHeight = H.Height;
      EXPECT_EQ(P.ViewInfo->GetSearchInfoPanelHeight(), H.Expected) << H.Height;
    }
    EXPECT_EQ(P.ViewInfo->GetSearchInfoPanelDefaultHeight(), AText.cy + 8);
    EXPECT_EQ(P.ViewInfo->GetSearchInfoPanelWidth(), AText.cx + 8);
  }
}

// The panel as the platform would draw it: the window filler, and one line
// of text in the window text colour, vertically centred, 4 pixels from the
// edge the text is aligned to.
TOwned<TcxBitmap32> ExpectedPanel(TSize ASize, const TRect& APanel, TFont* AFont, bool ARight,
                                  const wchar_t* AText = L"No matches found", UINT AMoreFlags = 0) {
  TOwned<TcxBitmap32> B = FilledBitmap(ASize.cx, ASize.cy, static_cast<TColor>(kPaper));
  B->cxCanvas()->FillRect(APanel, clBtnFace);
  HDC DC = B->cxCanvas()->Handle();
  TSelectObjectGuard AFontGuard(DC, AFont->Handle());
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, dxColorToRGB(clBtnText));
  RECT R = APanel;
  if (ARight)
    R.right -= 4;
  else
    R.left += 4;
  DrawTextW(DC, AText, -1, &R,
            DT_SINGLELINE | DT_VCENTER | (ARight ? DT_RIGHT : DT_LEFT) | DT_NOPREFIX | AMoreFlags);
  return B;
}

TEST(IncrementalFilteringPanel, PutsTheTextFourPixelsFromTheEdgeItIsAlignedTo) {
  for (bool ARightToLeft : {false, true}) {
    SCOPED_TRACE(ARightToLeft ? "right to left" : "left to right");
    TPanelViewInfo P(-13);
    P.ViewInfo->UseRightToLeftAlignment = ARightToLeft;
    EXPECT_EQ(P.ViewInfo->GetSearchInfoPanelTextDrawFlags(), ARightToLeft ? 530u : 528u);
    const TRect APanel(6, 3, 186, 27);
    P.ViewInfo->SearchInfoPanelBounds = APanel;
    TOwned<TcxBitmap32> Drawn =
        Painted(192, 30, [&](TcxCanvas* C) { P.ViewInfo->DrawSearchInfoPanel(C); });
    TOwned<TcxBitmap32> Expected =
        ExpectedPanel(TSize{192, 30}, APanel, P.Font.get(), ARightToLeft);
    EXPECT_EQ(Difference(Drawn.get(), Expected.get()), "");
    // The text is there at all, at the side it belongs to.
    const TRect AInk = BoundsWhere(
        Drawn.get(), [](COLORREF C) { return C != kPaper && C != dxColorToRGB(clBtnFace); });
    ASSERT_FALSE(cxRectIsEmpty(AInk));
    if (ARightToLeft)
      EXPECT_GT(AInk.left, APanel.left + 40);
    else
      EXPECT_LT(AInk.right, APanel.right - 40);
  }
}

// A text whose reading order shows: "!" ends it on the right when read left
// to right, on the left when read right to left.
class TReadingOrderViewInfo : public TdxCustomIncrementalFilteringContainerViewInfo {
  DECLARE_CLASS(TReadingOrderViewInfo, TdxCustomIncrementalFilteringContainerViewInfo)
 public:
  String GetSearchInfoPanelText() override { return L"abc!"; }
};
IMPLEMENT_CLASS(TReadingOrderViewInfo)

TEST(IncrementalFilteringPanel, ReadsRightToLeftWhenTheCanvasDoes) {
  TPanelViewInfo P(-13);
  TOwned<TReadingOrderViewInfo> V = MakeOwned<TReadingOrderViewInfo>();
  V->Font = P.Font.get();
  V->Painter = P.ViewInfo->Painter;
  V->UseRightToLeftAlignment = true;
  const TRect APanel(2, 2, 98, 24);
  V->SearchInfoPanelBounds = APanel;
  TOwned<TcxBitmap32> Drawn = Painted(100, 26, [&](TcxCanvas* C) {
    C->SetTextFlags(ETO_RTLREADING);
    V->DrawSearchInfoPanel(C);
  });
  TOwned<TcxBitmap32> RightToLeft =
      ExpectedPanel(TSize{100, 26}, APanel, P.Font.get(), true, L"abc!", DT_RTLREADING);
  TOwned<TcxBitmap32> LeftToRight =
      ExpectedPanel(TSize{100, 26}, APanel, P.Font.get(), true, L"abc!");
  // The two orders look different here, so the comparison tells them apart.
  ASSERT_NE(Difference(RightToLeft.get(), LeftToRight.get()), "");
  EXPECT_EQ(Difference(Drawn.get(), RightToLeft.get()), "");
}

// The base view info leaves the panel to the popups that lay it out.
class TPanelShowingViewInfo : public TdxCustomIncrementalFilteringContainerViewInfo {
  DECLARE_CLASS(TPanelShowingViewInfo, TdxCustomIncrementalFilteringContainerViewInfo)
 public:
  bool IsSearchInfoPanelVisible() override { return ShowSearchInfoPanel; }
};
IMPLEMENT_CLASS(TPanelShowingViewInfo)

TEST(IncrementalFilteringPanel, IsPaintedOverTheBackgroundOnlyWhereItIsVisible) {
  TPanelViewInfo P(-13);
  TOwned<TPanelShowingViewInfo> AShowing = MakeOwned<TPanelShowingViewInfo>();
  AShowing->Font = P.Font.get();
  AShowing->Painter = P.ViewInfo->Painter;
  const TRect APanel(0, 16, 160, 40);
  for (TdxCustomIncrementalFilteringContainerViewInfo* V :
       {static_cast<TdxCustomIncrementalFilteringContainerViewInfo*>(P.ViewInfo.get()),
        static_cast<TdxCustomIncrementalFilteringContainerViewInfo*>(AShowing.get())}) {
    V->Bounds = V->BorderRect = V->ClientRect = TRect(0, 0, 160, 40);
    V->SetBackgroundColor(clWindow);
    V->SearchInfoPanelBounds = APanel;
    V->ShowSearchInfoPanel = true;
  }
  TOwned<TcxBitmap32> Base = Painted(160, 40, [&](TcxCanvas* C) { P.ViewInfo->Paint(C); });
  EXPECT_EQ(PixelOf(Base.get(), 2, 30), dxColorToRGB(clWindow));
  EXPECT_EQ(InkBounds(Base.get(), dxColorToRGB(clWindow)), cxNullRect);
  TOwned<TcxBitmap32> Shown = Painted(160, 40, [&](TcxCanvas* C) { AShowing->Paint(C); });
  EXPECT_EQ(PixelOf(Shown.get(), 2, 10), dxColorToRGB(clWindow));
  EXPECT_EQ(PixelOf(Shown.get(), 2, 30), dxColorToRGB(clBtnFace));
  const TRect AInk = BoundsWhere(Shown.get(), [](COLORREF C) {
    return C != dxColorToRGB(clWindow) && C != dxColorToRGB(clBtnFace);
  });
  EXPECT_GE(AInk.top, APanel.top);
  EXPECT_EQ(
      AInk.left,
      BoundsWhere(ExpectedPanel(TSize{160, 40}, APanel, P.Font.get(), false).get(), [](COLORREF C) {
        return C != kPaper && C != dxColorToRGB(clBtnFace);
      }).left);
}

// ---------------------------------------------------------------------------
// The popup window

// A test editor whose popup shows the panel at the bottom.
class TPanelPopupWindow : public TdxCustomIncrementalFilteringPopupWindow {
  DECLARE_CLASS(TPanelPopupWindow, TdxCustomIncrementalFilteringPopupWindow)
 public:
  using TdxCustomIncrementalFilteringPopupWindow::TdxCustomIncrementalFilteringPopupWindow;

 protected:
  TcxContainerViewInfoClass GetViewInfoClass() override {
    return &cxCreateContainerViewInfo<TPanelShowingViewInfo>;
  }
};
IMPLEMENT_CLASS(TPanelPopupWindow)

class IncrementalFilteringPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(260, 200));
    Editor = Create<TFakeSearchEdit>(Form.get());
    Editor->SetBounds(10, 10, 160, 22);
    Editor->SetParent(Form.get());
    ProcessMessages();
  }
  void TearDown() override {
    Form.reset();
    ProcessMessages();
  }
  template <class T>
  T* MakePopup() {
    auto* APopup = Create<T>(Editor);
    APopup->SetModalMode(false);
    APopup->SetOwnerParent(Form.get());
    APopup->SetOwnerBounds(Editor->BoundsRect());
    APopup->SetBounds(0, 0, 160, 80);
    return APopup;
  }
  TOwned<TCustomForm> Form;
  TFakeSearchEdit* Editor = nullptr;
};

TEST_F(IncrementalFilteringPopup, KeepsItsViewInfoAtItsOwnScale) {
  auto* APopup = MakePopup<TdxCustomIncrementalFilteringPopupWindow>();
  for (Integer APPI : {144, 96, 144}) {
    SCOPED_TRACE(APPI);
    Editor->ScaleForPPI(APPI);
    APopup->Popup(nullptr);
    ASSERT_TRUE(APopup->IsVisible());
    EXPECT_EQ(APopup->ScaleFactor()->TargetDPI(), APPI);
    EXPECT_TRUE(APopup->ViewInfo()->ScaleFactor()->Equals(APopup->ScaleFactor()));
    APopup->CloseUp();
    EXPECT_EQ(APopup->ViewInfo()->ScaleFactor()->TargetDPI(), APPI);
  }
}

TEST_F(IncrementalFilteringPopup, ShowsThePanelOnTheScreenInBothDirections) {
  for (bool ARightToLeft : {false, true}) {
    SCOPED_TRACE(ARightToLeft ? "right to left" : "left to right");
    auto* APopup = MakePopup<TPanelPopupWindow>();
    APopup->Style()->SetColor(clWindow);
    APopup->Popup(nullptr);
    ASSERT_TRUE(APopup->IsVisible());
    TdxCustomIncrementalFilteringContainerViewInfo* V = APopup->ViewInfo();
    const TRect AClient = V->ClientRect;
    const TRect APanel(AClient.left, AClient.bottom - V->GetSearchInfoPanelHeight(), AClient.right,
                       AClient.bottom);
    V->SearchInfoPanelBounds = APanel;
    V->UseRightToLeftAlignment = ARightToLeft;
    APopup->SetShowSearchInfoPanel(true);
    EXPECT_TRUE(V->ShowSearchInfoPanel);
    TOwned<TcxBitmap32> Shot = CaptureWindow(APopup);
    TOwned<TcxBitmap32> Expected =
        ExpectedPanel(TSize{Shot->Width(), Shot->Height()}, APanel, V->Font, ARightToLeft);
    // Inside the panel the screen shows what the platform would draw.
    Integer ADiffering = 0;
    for (Integer Y = APanel.top; Y < APanel.bottom; ++Y)
      for (Integer X = APanel.left; X < APanel.right; ++X)
        ADiffering += PixelOf(Shot.get(), X, Y) != PixelOf(Expected.get(), X, Y);
    EXPECT_EQ(ADiffering, 0);
    // Above it, the popup's own background.
    EXPECT_EQ(PixelOf(Shot.get(), APanel.left + 2, APanel.top - 2), dxColorToRGB(clWindow));
    APopup->SetShowSearchInfoPanel(false);
    EXPECT_FALSE(V->ShowSearchInfoPanel);
    TOwned<TcxBitmap32> Hidden = CaptureWindow(APopup);
    EXPECT_EQ(InkBounds(Hidden.get(), dxColorToRGB(clWindow)), cxNullRect);
    APopup->CloseUp();
  }
}

// A popup whose view info is of another family does not pass it off as its
// own.
class TForeignViewInfoPopupWindow : public TdxCustomIncrementalFilteringPopupWindow {
  DECLARE_CLASS(TForeignViewInfoPopupWindow, TdxCustomIncrementalFilteringPopupWindow)
 public:
  using TdxCustomIncrementalFilteringPopupWindow::TdxCustomIncrementalFilteringPopupWindow;

 protected:
  TcxContainerViewInfoClass GetViewInfoClass() override {
    return &cxCreateContainerViewInfo<TcxContainerViewInfo>;
  }
};
IMPLEMENT_CLASS(TForeignViewInfoPopupWindow)

TEST_F(IncrementalFilteringPopup, RefusesAViewInfoOfAnotherFamily) {
  auto* APopup = MakePopup<TForeignViewInfoPopupWindow>();
  EXPECT_THROW(APopup->ViewInfo(), EInvalidCast);
}

}  // namespace
