// The lookup list of the text editors: the list box of the popup window on
// a real form (rows drawn against the platform's own text drawing, the
// wheel, hot tracking and clicks by the real mouse), and the lookup data's
// locating, filtering and moving tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "cxLookAndFeels.h"
#include "cxTextEdit.h"

namespace {

using ControlsTest::CreateForm;
using ControlsTest::ProcessMessages;
using ControlsTest::PumpUntil;
using ControlsTest::SendMouse;

class TSelectCounter : public TObject {
  DECLARE_CLASS_INLINE(TSelectCounter, TObject)
 public:
  void SelectItem(TObject*) { ++Count; }
  int Count = 0;
};

// A list box whose rows come from a generator, as a descendant's rows come
// from its lookup data.
class TGeneratedListBox : public TcxCustomEditListBox {
  DECLARE_CLASS_INLINE(TGeneratedListBox, TcxCustomEditListBox)
 public:
  using TcxCustomEditListBox::TcxCustomEditListBox;
  String GetItem(Integer Index) override { return L"row " + std::to_wstring(Index); }
};

class EditListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(260, 200));
    Box = Create<TcxEditListBoxContainer>(Form.get());
    Box->SetBounds(10, 10, 150, 120);
    List = Create<TcxCustomEditListBox>(Box);
    List->SetContainer(Box);
    Box->SetInnerControl(List);
    List->SetParent(Box);
    Box->SetParent(Form.get());
    for (const wchar_t* S : {L"Alpha", L"Beta", L"Gamma", L"Delta", L"Epsilon"})
      List->Items()->Add(S);
    List->SetOnSelectItem(MakeEvent<&TSelectCounter::SelectItem>(&Selects));
    Box->ShortRefreshContainer(false);
    ProcessMessages();
  }
  void TearDown() override { Form.reset(); }
  POINT ScreenPointOfRow(Integer ARow) {
    TRect R = List->ItemRect(ARow);
    POINT P{R.left + 20, (R.top + R.bottom) / 2};
    ClientToScreen(List->Handle(), &P);
    return P;
  }
  void MoveMouse(POINT P) {
    SendMouse(0, P);
    PumpUntil([&] { return ControlsTest::CursorAt(P); });
    ProcessMessages();
  }
  TOwned<TCustomForm> Form;
  TcxEditListBoxContainer* Box = nullptr;
  TcxCustomEditListBox* List = nullptr;
  TSelectCounter Selects;
};

// The container has no border of its own: the list fills it.
TEST_F(EditListBox, TheListFillsItsBorderlessContainer) {
  RECT R;
  GetClientRect(Box->Handle(), &R);
  const TRect ABounds = List->BoundsRect();
  EXPECT_TRUE(EqualRect(&ABounds, &R));
  EXPECT_EQ(GetWindowLongW(List->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// Rows are as high as the list's font, the height of n rows is n rows
// (the caller applies its maximum), and the touch mode raises rows to the
// touch-friendly minimum.
TEST_F(EditListBox, RowsAreAsHighAsTheFontOrTheTouchMinimum) {
  const Integer AFontHeight = cxTextHeight(List->Font());
  EXPECT_EQ(List->GetItemHeight(), AFontHeight);
  for (Integer I = 0; I < 5; ++I) EXPECT_EQ(cxRectHeight(List->ItemRect(I)), AFontHeight) << I;
  EXPECT_EQ(List->GetHeight(5, 10), 5 * AFontHeight);
  cxSetIsTouchModeEnabled(true);
  auto AReset = Finally([] { cxSetIsTouchModeEnabled(false); });
  ASSERT_LT(AFontHeight, 27);
  EXPECT_EQ(List->GetItemHeight(), 27);
  List->RecreateWnd();
  ProcessMessages();
  EXPECT_EQ(cxRectHeight(List->ItemRect(3)), 27);
}

// Each row against the platform drawing the same text with the same font
// and colours two pixels in from the left edge; the selected row in the
// highlight colours. The edge pixels are left out: the focus rectangle is
// drawn there.
TEST_F(EditListBox, RowsAreDrawnAsThePlatformDrawsTheirText) {
  List->SetItemIndex(1);
  TOwned<TcxBitmap32> AShot = ControlsTest::CaptureWindow(List);
  HDC AShotDC = AShot->Canvas()->Handle();
  for (Integer ARow : {0, 1, 4}) {
    SCOPED_TRACE(ARow);
    const TRect R = List->ItemRect(ARow);
    const bool ASelected = ARow == 1;
    TOwned<TcxBitmap32> ARef(TcxBitmap32::CreateSize(cxRectWidth(R), cxRectHeight(R)));
    HDC ADC = ARef->Canvas()->Handle();
    TRect AFill{0, 0, cxRectWidth(R), cxRectHeight(R)};
    HBRUSH ABrush = CreateSolidBrush(ColorToRGB(ASelected ? clHighlight : List->Color()));
    FillRect(ADC, &AFill, ABrush);
    DeleteObject(ABrush);
    HGDIOBJ AOld = SelectObject(ADC, List->Font()->Handle());
    SetBkMode(ADC, TRANSPARENT);
    SetTextColor(ADC, ColorToRGB(ASelected ? clHighlightText : List->Font()->Color()));
    TRect AText{2, 0, cxRectWidth(R), cxRectHeight(R)};
    String S = List->Items()->Strings(ARow);
    DrawTextW(ADC, S.c_str(), static_cast<int>(S.size()), &AText,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(ADC, AOld);
    int ADifferent = 0;
    for (Integer Y = 1; Y < cxRectHeight(R) - 1; ++Y)
      for (Integer X = 1; X < cxRectWidth(R) - 1; ++X)
        ADifferent += GetPixel(AShotDC, R.left + X, R.top + Y) != GetPixel(ADC, X, Y);
    EXPECT_EQ(ADifferent, 0);
  }
}

// Rows appended come from GetItem, rows removed go from the end, and the
// window follows.
TEST(EditListBoxRows, ItemCountAppendsFromGetItemAndRemovesFromTheEnd) {
  TOwned<TCustomForm> AForm(CreateForm(200, 150));
  auto* ABox = Create<TcxEditListBoxContainer>(AForm.get());
  auto* AList = Create<TGeneratedListBox>(ABox);
  AList->SetContainer(ABox);
  ABox->SetInnerControl(AList);
  AList->SetParent(ABox);
  ABox->SetParent(AForm.get());
  struct {
    Integer Count;
    const wchar_t* Last;
  } const Cases[] = {{3, L"row 2"}, {7, L"row 6"}, {2, L"row 1"}, {0, nullptr}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Count);
    AList->SetItemCount(C.Count);
    ASSERT_EQ(AList->Items()->Count(), C.Count);
    EXPECT_EQ(SendMessageW(AList->Handle(), LB_GETCOUNT, 0, 0), C.Count);
    if (C.Last) EXPECT_EQ(AList->Items()->Strings(C.Count - 1), C.Last);
  }
}

// The wheel keeps parts of a notch: two half notches scroll one notch's
// lines, a half notch back cancels a half notch, a big delta counts as one
// notch. A part of a notch is not passed on to the platform's list, which
// would otherwise scroll on the next part too.
TEST_F(EditListBox, TheWheelScrollsWholeNotchesOnly) {
  for (int I = 0; I < 40; ++I) List->Items()->Add(L"more " + std::to_wstring(I));
  ProcessMessages();
  UINT ALines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &ALines, 0);
  const Integer L = static_cast<Integer>(ALines);
  struct {
    std::vector<int> Deltas;
    Integer Top;
  } const Cases[] = {
      {{-60, -60}, L}, {{-60, 60}, 0},        {{-60, -60, -60, -60}, 2 * L}, {{-60, -60, -60}, L},
      {{-240}, L},     {{-120, -120}, 2 * L}, {{-60, 60, -60, -60}, L},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(::testing::PrintToString(C.Deltas));
    List->SetTopIndex(0);
    // A fresh start: a whole notch up at the top leaves nothing behind.
    SendMessageW(List->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(30, 30));
    ASSERT_EQ(List->TopIndex(), 0);
    for (int D : C.Deltas)
      SendMessageW(List->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(D)),
                   MAKELPARAM(30, 30));
    ProcessMessages();
    EXPECT_EQ(List->TopIndex(), C.Top);
  }
}

// The row under the mouse becomes the selected one; below the last row no
// row is selected; leaving the list forgets the position, so that coming
// back to the same point tracks again.
TEST_F(EditListBox, HotTrackingFollowsTheMouse) {
  MoveMouse(ScreenPointOfRow(2));
  EXPECT_EQ(List->ItemIndex(), 2);
  EXPECT_GE(Selects.Count, 1);
  const TRect ALast = List->ItemRect(4);
  POINT ABelow{ALast.left + 20, ALast.bottom + 5};
  ASSERT_LT(ABelow.y, List->ClientHeight());
  ClientToScreen(List->Handle(), &ABelow);
  MoveMouse(ABelow);
  EXPECT_EQ(List->ItemIndex(), -1);

  const POINT P = ScreenPointOfRow(3);
  MoveMouse(P);
  ASSERT_EQ(List->ItemIndex(), 3);
  // The same point again changes nothing that was set meanwhile.
  List->SetItemIndex(0);
  TPoint AClient = List->ScreenToClient(TPoint{P.x, P.y});
  SendMessageW(List->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(AClient.x, AClient.y));
  EXPECT_EQ(List->ItemIndex(), 0);
  // Out of the list (nothing happens there) and back to the same point.
  MoveMouse(POINT{Form->Left() + 240, Form->Top() + 180});
  EXPECT_EQ(List->ItemIndex(), 0);
  MoveMouse(P);
  EXPECT_EQ(List->ItemIndex(), 3);
}

// A click on a row selects it and reports the selection once more.
TEST_F(EditListBox, AClickSelectsTheRowAndReportsIt) {
  List->SetHotTrack(false);
  const POINT P = ScreenPointOfRow(1);
  MoveMouse(P);
  EXPECT_EQ(List->ItemIndex(), -1);
  const int ABefore = Selects.Count;
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpUntil([&] { return List->ItemIndex() == 1 && Selects.Count > ABefore; });
  ProcessMessages();
  EXPECT_EQ(List->ItemIndex(), 1);
  EXPECT_EQ(Selects.Count, ABefore + 1);
}

// ---------------------------------------------------------------------------
// Lookup data

// Text settings whose editing style the test chooses.
class TLookupProperties : public TcxCustomTextEditProperties {
  DECLARE_CLASS(TLookupProperties, TcxCustomTextEditProperties)
 public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
  TcxEditEditingStyle GetEditingStyle() override { return Style; }
  TcxEditEditingStyle Style = esEdit;
};

// An editor reduced to what the lookup data asks: its text, whether its
// popup is up and whether it agrees to start editing.
class TLookupHost : public TcxCustomEdit {
  DECLARE_CLASS_INLINE(TLookupHost, TcxCustomEdit)
 public:
  using TcxCustomEdit::TcxCustomEdit;
  TClass GetPropertiesClass() override { return PropertiesClass(); }
  static TClass PropertiesClass();
  TLookupProperties* Props() { return static_cast<TLookupProperties*>(GetActiveProperties()); }
  String GetText() override { return EditText; }
  String EditText;
  bool PopupUp = false;
  bool Editable = true;

 protected:
  bool HasPopupWindow() override { return PopupUp; }
  bool InternalDoEditing() override { return Editable; }
};

class TOpenEditListBox : public TcxCustomEditListBox {
  DECLARE_CLASS(TOpenEditListBox, TcxCustomEditListBox)
 public:
  using TcxCustomEditListBox::IsHighlightSearchText;
  using TcxCustomEditListBox::NeedDrawFocusRect;
  using TcxCustomEditListBox::TcxCustomEditListBox;
};
IMPLEMENT_CREATABLE_CLASS(TOpenEditListBox)

class TOpenLookupData : public TcxCustomTextEditLookupData {
  DECLARE_CLASS_INLINE(TOpenLookupData, TcxCustomTextEditLookupData)
 public:
  using TcxCustomTextEditLookupData::InternalSetItemIndex;
  using TcxCustomTextEditLookupData::TcxCustomTextEditLookupData;

 protected:
  TClass GetListBoxClass() override { return TOpenEditListBox::StaticClass(); }
};

IMPLEMENT_CREATABLE_CLASS(TLookupProperties)
TClass TLookupHost::PropertiesClass() { return TLookupProperties::StaticClass(); }

struct TLookupSetup {
  TcxEditEditingStyle Style = esEdit;
  bool Filtering = false;
  bool Contains = true;
  bool PopupUp = false;
  bool IncrementalSearch = true;
};

class LookupData : public ::testing::Test {
 protected:
  void SetUp() override {
    Host.reset(Create<TLookupHost>(nullptr));
    Data.reset(Create<TOpenLookupData>(Host.get()));
    Data->SetOnSelectItem(MakeEvent<&TSelectCounter::SelectItem>(&Selects));
  }
  void Use(const std::vector<const wchar_t*>& AItems, const TLookupSetup& S) {
    TLookupProperties* P = Host->Props();
    P->GetLookupItems()->Clear();
    for (const wchar_t* I : AItems) P->GetLookupItems()->Add(I);
    P->Style = S.Style;
    P->SetIncrementalFiltering(S.Filtering);
    P->SetIncrementalSearch(S.IncrementalSearch);
    TcxTextEditIncrementalFilteringOptions O{ifoHighlightSearchText};
    if (S.Contains) O.Include(ifoUseContainsOperator);
    P->SetIncrementalFilteringOptions(O);
    Host->PopupUp = S.PopupUp;
    Data->ResetIncrementalFilter();
  }
  std::vector<Integer> Rows() {
    std::vector<Integer> R;
    for (Integer I = 0; I < Data->GetFilteredItemCount(); ++I)
      R.push_back(Data->GetLookupItemIndexFromFilteredItemIndex(I));
    return R;
  }
  TOwned<TLookupHost> Host;
  TOwned<TOpenLookupData> Data;
  TSelectCounter Selects;
};

struct TLocateCase {
  const char* Name;
  TLookupSetup Setup;
  std::vector<const wchar_t*> Items;
  Integer KeyBefore;
  const wchar_t* Typed;
  bool Found;
  const wchar_t* Text;
  const wchar_t* Tail;
  Integer Key;
  std::vector<Integer> Rows;  // the filter map afterwards
};

const std::vector<const wchar_t*> AbcItems{L"Abc", L"abd", L"Bcd"};

const TLocateCase LocateCases[] = {
    {"fixed list takes the item's letter case",
     {esFixedList},
     AbcItems,
     -1,
     L"ab",
     true,
     L"Ab",
     L"c",
     0,
     {0, 1, 2}},
    {"fixed list keeps its item on a miss",
     {esFixedList},
     AbcItems,
     1,
     L"x",
     false,
     L"x",
     L"",
     1,
     {0, 1, 2}},
    {"edit list clears on the empty text",
     {esEditList},
     AbcItems,
     1,
     L"",
     false,
     L"",
     L"",
     -1,
     {0, 1, 2}},
    {"edit list keeps its item on a miss",
     {esEditList},
     AbcItems,
     1,
     L"x",
     false,
     L"x",
     L"",
     1,
     {0, 1, 2}},
    {"plain edit keeps the typed case",
     {esEdit},
     AbcItems,
     -1,
     L"AB",
     true,
     L"AB",
     L"c",
     0,
     {0, 1, 2}},
    {"plain edit clears on a miss", {esEdit}, AbcItems, 1, L"x", false, L"x", L"", -1, {0, 1, 2}},
    {"contains filter with the popup up",
     {esEditList, true, true, true},
     AbcItems,
     -1,
     L"bC",
     true,
     L"bC",
     L"",
     0,
     {0, 2}},
    {"contains filter with the popup closed searches prefixes",
     {esEditList, true, true, false},
     AbcItems,
     -1,
     L"bc",
     true,
     L"Bc",
     L"d",
     2,
     {0, 1, 2}},
    {"prefix filter with the popup up",
     {esEditList, true, false, true},
     AbcItems,
     -1,
     L"AB",
     true,
     L"Ab",
     L"c",
     0,
     {0, 1}},
    {"fixed list keeps the filter on a miss",
     {esFixedList, true, false, true},
     AbcItems,
     -1,
     L"q",
     false,
     L"q",
     L"",
     -1,
     {0, 1, 2}},
    {"plain edit filters to nothing on a miss",
     {esEdit, true, false, true},
     AbcItems,
     -1,
     L"q",
     false,
     L"q",
     L"",
     -1,
     {}},
    {"plain edit without search keeps the filter",
     {esEdit, true, false, true, false},
     AbcItems,
     -1,
     L"q",
     false,
     L"q",
     L"",
     -1,
     {0, 1, 2}},
    {"Cyrillic folds case",
     {esFixedList, true, true, true},
     {L"Москва", L"МСК-89 географическая"},
     -1,
     L"мск",
     true,
     L"мск",
     L"",
     1,
     {1}},
    {"no items", {esEditList}, {}, -1, L"a", false, L"a", L"", -1, {}},
};

class LookupLocate : public LookupData, public ::testing::WithParamInterface<TLocateCase> {};

TEST_P(LookupLocate, FindsCompletesAndFilters) {
  const TLocateCase& C = GetParam();
  Use(C.Items, C.Setup);
  Data->SetCurrentKey(Variant(C.KeyBefore));
  String AText = C.Typed, ATail = L"stale";
  EXPECT_EQ(Data->Locate(AText, ATail, false), C.Found);
  EXPECT_EQ(AText, String(C.Text));
  if (C.Found) EXPECT_EQ(ATail, String(C.Tail));
  EXPECT_EQ(Data->CurrentKey(), C.Key);
  EXPECT_EQ(Rows(), C.Rows);
}

INSTANTIATE_TEST_SUITE_P(Table, LookupLocate, ::testing::ValuesIn(LocateCases),
                         [](const auto& AInfo) {
                           std::string S = AInfo.param.Name;
                           for (char& Ch : S)
                             if (!isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
                           return S;
                         });

// The search goes on after the highlighted item when asked for the next.
TEST_F(LookupData, TheNextMatchStartsAfterTheHighlightedItem) {
  Use({L"Abc", L"abd", L"Bcd", L"ab"}, {esEditList});
  String AText = L"ab", ATail;
  ASSERT_TRUE(Data->Locate(AText, ATail, false));
  EXPECT_EQ(Data->CurrentKey(), 0);
  EXPECT_TRUE(Data->Locate(AText, ATail, true));
  EXPECT_EQ(Data->CurrentKey(), 1);
  EXPECT_TRUE(Data->Locate(AText, ATail, true));
  EXPECT_EQ(Data->CurrentKey(), 3);
  EXPECT_FALSE(Data->Locate(AText, ATail, true));
}

// Rows of the filter map and the items behind them; a row outside the map
// is no item (-1), where a list-index error would otherwise escape from a
// mouse or key handler of the list.
TEST_F(LookupData, RowsOutsideTheFilterMapAreNoItem) {
  Use({L"one", L"two", L"three", L"ten"}, {esEditList, true, false, true});
  String AText = L"t", ATail;
  Data->Locate(AText, ATail, false);
  ASSERT_EQ(Rows(), (std::vector<Integer>{1, 2, 3}));
  struct {
    Integer Row;
    Integer Item;
  } const Cases[] = {{0, 1}, {2, 3}, {-1, -1}, {3, -1}, {100, -1}, {-5, -1}};
  for (const auto& C : Cases)
    EXPECT_EQ(Data->GetLookupItemIndexFromFilteredItemIndex(C.Row), C.Item) << C.Row;
  EXPECT_EQ(Data->GetFilteredItemIndex(0), -1);
  EXPECT_EQ(Data->GetFilteredItemIndex(3), 2);
  EXPECT_EQ(Data->GetFilteredItem(5), L"");
  // Without filtering rows are items.
  Host->Props()->SetIncrementalFiltering(false);
  EXPECT_EQ(Data->GetFilteredItemCount(), 4);
  EXPECT_EQ(Data->GetFilteredItemIndex(0), 0);
}

TEST_F(LookupData, DisplayTextOfKeys) {
  Use(AbcItems, {});
  struct {
    Variant Key;
    const wchar_t* Text;
  } const Cases[] = {{Variant(0), L"Abc"}, {Variant(2), L"Bcd"}, {Variant(3), L""},
                     {Variant(-1), L""},   {Null(), L""},        {Variant(String(L"x")), L""}};
  for (const auto& C : Cases) EXPECT_EQ(Data->GetDisplayText(C.Key), C.Text);
  EXPECT_TRUE(Data->Find(L"ABD"));
  EXPECT_FALSE(Data->Find(L"ab"));
}

struct TGoCase {
  TcxEditLookupDataGoDirection Direction;
  bool Circular;
  Integer From;
  Integer To;
};

// Ten items, a page of eight rows, no list box showing: the key moves.
TEST_F(LookupData, GoMovesTheKeyByDirection) {
  std::vector<const wchar_t*> AItems;
  static const wchar_t* const Names[] = {L"i0", L"i1", L"i2", L"i3", L"i4",
                                         L"i5", L"i6", L"i7", L"i8", L"i9"};
  for (const wchar_t* N : Names) AItems.push_back(N);
  Use(AItems, {esFixedList});
  const TGoCase Cases[] = {
      {egdBegin, false, 5, 0},     {egdEnd, false, 5, 9},      {egdNext, false, 3, 4},
      {egdNext, false, 9, 9},      {egdNext, true, 9, 0},      {egdPrev, false, 0, 0},
      {egdPrev, true, 0, 9},       {egdPrev, false, 4, 3},     {egdNext, false, -1, 0},
      {egdPageDown, false, -1, 7}, {egdPageDown, false, 1, 8}, {egdPageDown, false, 5, 9},
      {egdPageDown, true, 9, 0},   {egdPageDown, false, 9, 9}, {egdPageUp, false, 9, 2},
      {egdPageUp, false, 3, 0},    {egdPageUp, true, 0, 9},    {egdPageUp, false, 0, 0},
      {egdPageUp, true, -1, 9},
  };
  for (const TGoCase& C : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << C.Direction << " circular " << C.Circular << " from " << C.From);
    Data->SetCurrentKey(Variant(C.From));
    Data->Go(C.Direction, C.Circular);
    EXPECT_EQ(Data->CurrentKey(), C.To);
  }
}

TEST_F(LookupData, GoOnAnEmptyListDoesNothing) {
  Use({}, {esFixedList});
  Data->Go(egdNext, true);
  EXPECT_EQ(Data->CurrentKey(), -1);
  EXPECT_EQ(Selects.Count, 0);
}

// With the popup closed a filter left over is dropped before moving.
TEST_F(LookupData, GoWithThePopupClosedMovesOverAllItems) {
  Use({L"one", L"two", L"three"}, {esEditList, true, false, true});
  String AText = L"t", ATail;
  Data->Locate(AText, ATail, false);
  ASSERT_EQ(Data->GetFilteredItemCount(), 2);
  Host->PopupUp = false;
  Data->SetCurrentKey(Variant(2));
  Data->Go(egdBegin, false);
  EXPECT_EQ(Data->CurrentKey(), 0);
  EXPECT_EQ(Data->GetFilteredItemCount(), 3);
}

// Choosing the key reports the choice when the key changes, or when it
// stays but the editor's text is not the item's.
TEST_F(LookupData, SettingTheKeyReportsChangesAndStaleText) {
  Use(AbcItems, {esFixedList});
  Data->SetCurrentKey(Variant(1));
  EXPECT_EQ(Selects.Count, 1);
  Host->EditText = L"abd";
  Data->SetCurrentKey(Variant(1));
  EXPECT_EQ(Selects.Count, 1);
  Host->EditText = L"ABD";
  Data->SetCurrentKey(Variant(1));
  EXPECT_EQ(Selects.Count, 2);
  // Out of range: nothing changes, nothing is reported.
  Host->EditText = L"abd";
  Data->SetCurrentKey(Variant(7));
  EXPECT_EQ(Data->CurrentKey(), 1);
  EXPECT_EQ(Selects.Count, 2);
}

// Picking the highlighted row: the current item again re-applies it; another
// item of an editor that refuses editing changes nothing.
TEST_F(LookupData, SelectItemAppliesTheHighlightedRow) {
  Use(AbcItems, {esFixedList});
  Data->SelectItem();
  EXPECT_EQ(Selects.Count, 0);
  Data->SetCurrentKey(Variant(2));
  Host->EditText = L"Bcd";
  const int ABefore = Selects.Count;
  Data->SelectItem();
  EXPECT_EQ(Selects.Count, ABefore + 1);
  Host->Editable = false;
  Data->InternalSetItemIndex(0);
  Data->SelectItem();
  EXPECT_EQ(Data->CurrentKey(), 2);
  EXPECT_EQ(Selects.Count, ABefore + 1);
  Host->Editable = true;
  Data->SelectItem();
  EXPECT_EQ(Data->CurrentKey(), 0);
}

// The editor's text brings the key along: an item's text in any case, or no
// item at all.
TEST_F(LookupData, TextChangesSynchroniseTheKey) {
  Use(AbcItems, {esFixedList});
  struct {
    const wchar_t* Text;
    Integer Key;
  } const Cases[] = {{L"ABD", 1}, {L"abd", 1}, {L"bcd", 2}, {L"zz", -1}, {L"A", 0}};
  for (const auto& C : Cases) {
    Host->EditText = C.Text;
    Data->TextChanged();
    EXPECT_EQ(Data->CurrentKey(), C.Key) << C.Text;
  }
}

// The most-recently-used order matches whole texts only.
TEST_F(LookupData, TextChangesMatchWholeItemsInRecentlyUsedOrder) {
  Use(AbcItems, {esEditList});
  Host->Props()->SetMRUMode(true);
  Host->EditText = L"ab";
  Data->TextChanged();
  EXPECT_EQ(Data->CurrentKey(), -1);
  Host->EditText = L"BCD";
  Data->TextChanged();
  EXPECT_EQ(Data->CurrentKey(), 2);
}

// The list in the popup: built once, its rows following the filter, and a
// stale row beyond the filter read as no item.
TEST_F(LookupData, TheListFollowsTheFilterAndAStaleRowIsNoItem) {
  TOwned<TCustomForm> AForm(CreateForm(200, 160));
  Use({L"one", L"two", L"three", L"ten"}, {esEditList, true, false, true});
  Data->Initialize(AForm.get());
  TcxCustomEditListBox* AList = Data->List();
  ASSERT_NE(AList, nullptr);
  EXPECT_EQ(Data->GetActiveControl(), AList);
  Data->PositionVisualArea(TRect{0, 0, 150, 120});
  ProcessMessages();
  EXPECT_EQ(AList->Items()->Count(), 4);
  String AText = L"t", ATail;
  Data->Locate(AText, ATail, false);
  EXPECT_EQ(AList->Items()->Count(), 3);
  Data->Initialize(AForm.get());
  EXPECT_EQ(Data->List(), AList);
  // A row the list still has although the filter has fewer.
  AList->Items()->Add(L"stale");
  AList->SetItemIndex(3);
  EXPECT_EQ(Data->ItemIndex(), -1);
  EXPECT_EQ(Data->GetSelectedItem(), -1);
  AList->SetItemIndex(1);
  EXPECT_EQ(Data->ItemIndex(), 2);
  EXPECT_EQ(Data->GetSelectedItem(), 2);
  // Closing shows the current key again over all items.
  Data->CloseUp();
  EXPECT_EQ(Data->GetFilteredItemCount(), 4);
  EXPECT_TRUE(Data->SearchText().empty());
}

// Inside the editor's popup window the list reads the editor's settings:
// the focus rectangle only for a fixed list or no editing without
// filtering, the search text highlighted only while filtering with that
// option.
TEST_F(LookupData, TheListInThePopupFollowsTheEditorsSettings) {
  TOwned<TcxCustomPopupWindow> APopup(Create<TcxCustomPopupWindow>(Host.get()));
  Use(AbcItems, {});
  Data->Initialize(APopup.get());
  auto* AList = dynamic_cast<TOpenEditListBox*>(Data->List());
  ASSERT_NE(AList, nullptr);
  ASSERT_EQ(AList->GetEditControl(), Host.get());
  struct {
    TcxEditEditingStyle Style;
    bool Filtering;
    bool Highlight;
    bool FocusRect;
    bool Highlighted;
  } const Cases[] = {
      {esEdit, false, true, false, false},    {esFixedList, false, true, true, false},
      {esNoEdit, false, true, true, false},   {esEditList, false, true, false, false},
      {esFixedList, true, true, false, true}, {esEditList, true, false, false, false},
      {esEdit, true, true, false, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.Style << " filtering " << C.Filtering);
    Host->Props()->Style = C.Style;
    Host->Props()->SetIncrementalFiltering(C.Filtering);
    Host->Props()->SetIncrementalFilteringOptions(
        C.Highlight ? TcxTextEditIncrementalFilteringOptions{ifoHighlightSearchText}
                    : TcxTextEditIncrementalFilteringOptions{});
    EXPECT_EQ(AList->NeedDrawFocusRect(), C.FocusRect);
    EXPECT_EQ(AList->IsHighlightSearchText(), C.Highlighted);
  }
}

}  // namespace
