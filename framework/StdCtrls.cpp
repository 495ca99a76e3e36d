#include "StdCtrls.h"

#include <algorithm>

#include "Menus.h"
#include "WinHandles.h"

namespace {

const wchar_t* const CharCaseNames[] = {L"ecNormal", L"ecUpperCase", L"ecLowerCase"};
const TEnumInfo CharCaseInfo = MakeEnumInfo(L"TEditCharCase", CharCaseNames);
const wchar_t* const BorderNames[] = {L"bsNone", L"bsSingle"};
const TEnumInfo BorderInfo = MakeEnumInfo(L"TBorderStyle", BorderNames);
const wchar_t* const ScrollNames[] = {L"ssNone", L"ssHorizontal", L"ssVertical", L"ssBoth"};
const TEnumInfo ScrollInfo = MakeEnumInfo(L"TScrollStyle", ScrollNames);
const wchar_t* const AlignmentNames[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
const TEnumInfo AlignmentInfo = MakeEnumInfo(L"TAlignment", AlignmentNames);
const wchar_t* const LayoutNames[] = {L"tlTop", L"tlCenter", L"tlBottom"};
const TEnumInfo LayoutInfo = MakeEnumInfo(L"TTextLayout", LayoutNames);
const wchar_t* const CheckStateNames[] = {L"cbUnchecked", L"cbChecked", L"cbGrayed"};
const TEnumInfo CheckStateInfo = MakeEnumInfo(L"TCheckBoxState", CheckStateNames);
const wchar_t* const ComboStyleNames[] = {L"csDropDown", L"csSimple", L"csDropDownList",
                                          L"csOwnerDrawFixed", L"csOwnerDrawVariable"};
const TEnumInfo ComboStyleInfo = MakeEnumInfo(L"TComboBoxStyle", ComboStyleNames);
const wchar_t* const ListStyleNames[] = {L"lbStandard", L"lbOwnerDrawFixed", L"lbOwnerDrawVariable",
                                         L"lbVirtual", L"lbVirtualOwnerDraw"};
const TEnumInfo ListStyleInfo = MakeEnumInfo(L"TListBoxStyle", ListStyleNames);
const wchar_t* const ImeModeNames[] = {L"imDisable", L"imClose",   L"imOpen",     L"imDontCare",
                                       L"imSAlpha",  L"imAlpha",   L"imHira",     L"imSKata",
                                       L"imKata",    L"imChinese", L"imSHanguel", L"imHanguel"};
const TEnumInfo ImeModeInfo = MakeEnumInfo(L"TImeMode", ImeModeNames);

// The stored text of a memo without a window as a string list, whose text
// rules are the memo's: CR, LF or CR LF between lines, a final line break
// adds no empty line, and the text is written back with CR LF.
TOwned<TStringList> TextLines(const String& Text) {
  TOwned<TStringList> Lines = MakeOwned<TStringList>();
  Lines->SetText(Text);
  return Lines;
}

}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomEdit) {
  P.Property<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>(L"MaxLength").Default(0);
  P.Property<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>(L"ReadOnly").Default(0);
  P.Property<&TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar>(L"PasswordChar").Default(0);
  P.Property<&TCustomEdit::CharCase, &TCustomEdit::SetCharCase>(L"CharCase", CharCaseInfo)
      .Default(0);
  P.Property<&TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect>(L"AutoSelect").Default(1);
  P.Property<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>(L"HideSelection")
      .Default(1);
  P.Property<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>(L"BorderStyle", BorderInfo)
      .Default(bsSingle);
  P.Property<&TCustomEdit::GetOnChange, &TCustomEdit::SetOnChange>(L"OnChange");
  P.Property<&TCustomEdit::Alignment, &TCustomEdit::SetAlignment>(L"Alignment", AlignmentInfo)
      .Default(taLeftJustify);
  P.Property<&TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert>(L"OEMConvert").Default(0);
  P.Property<&TCustomEdit::TextHint, &TCustomEdit::SetTextHint>(L"TextHint");
  P.Property<&TWinControl::ImeMode, &TWinControl::SetImeMode>(L"ImeMode", ImeModeInfo)
      .Default(imDontCare);
  P.Property<&TWinControl::ImeName, &TWinControl::SetImeName>(L"ImeName");
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 121, 21);
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
  FBrush->SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
  static const DWORD Align[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style |= Align[FAlignment];
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  {
    auto Created = Finally([&] { FCreating = false; });
    inherited::CreateWnd();
  }
  DoSetMaxLength(FMaxLength);
  SendMessageW(FHandle, EM_SETMODIFY, FModified, 0);
  if (FPasswordChar) SendMessageW(FHandle, EM_SETPASSWORDCHAR, FPasswordChar, 0);
  if (!FTextHint.empty()) DoSetTextHint();
}

void TCustomEdit::DestroyWnd() {
  FModified = Modified();
  inherited::DestroyWnd();
}

void TCustomEdit::DoSetMaxLength(Integer V) { SendMessageW(FHandle, EM_LIMITTEXT, V, 0); }

void TCustomEdit::SetMaxLength(Integer V) {
  if (V == FMaxLength) return;
  FMaxLength = V;
  if (FHandle) DoSetMaxLength(V);
}

void TCustomEdit::SetReadOnly(bool V) {
  if (V == FReadOnly) return;
  FReadOnly = V;
  if (FHandle) SendMessageW(FHandle, EM_SETREADONLY, V, 0);
}

void TCustomEdit::SetPasswordChar(Char V) {
  if (V == FPasswordChar) return;
  FPasswordChar = V;
  if (FHandle) {
    SendMessageW(FHandle, EM_SETPASSWORDCHAR, V, 0);
    Invalidate();
  }
}

void TCustomEdit::SetCharCase(TEditCharCase V) {
  if (V == FCharCase) return;
  FCharCase = V;
  RecreateWnd();
}

void TCustomEdit::SetAlignment(TAlignment V) {
  if (V == FAlignment) return;
  FAlignment = V;
  RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool V) {
  if (V == FOEMConvert) return;
  FOEMConvert = V;
  RecreateWnd();
}

void TCustomEdit::SetTextHint(const String& V) {
  if (V == FTextHint) return;
  FTextHint = V;
  if (FHandle) DoSetTextHint();
}

void TCustomEdit::DoSetTextHint() {
  // The cue disappears once the edit has the focus, as the platform's
  // own edits show theirs.
  SendMessageW(FHandle, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(FTextHint.c_str()));
  Invalidate();
}

void TCustomEdit::SetHideSelection(bool V) {
  if (V == FHideSelection) return;
  FHideSelection = V;
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle V) {
  if (V == FBorderStyle) return;
  FBorderStyle = V;
  RecreateWnd();
}

bool TCustomEdit::Modified() {
  return FHandle ? SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0 : FModified;
}

void TCustomEdit::SetModified(bool V) {
  if (FHandle)
    SendMessageW(FHandle, EM_SETMODIFY, V, 0);
  else
    FModified = V;
}

bool TCustomEdit::CanUndo() { return FHandle && SendMessageW(FHandle, EM_CANUNDO, 0, 0) != 0; }

Integer TCustomEdit::SelStart() {
  DWORD Start = 0, End = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start),
               reinterpret_cast<LPARAM>(&End));
  return static_cast<Integer>(Start);
}

void TCustomEdit::SetSelStart(Integer V) { SendMessageW(Handle(), EM_SETSEL, V, V); }

Integer TCustomEdit::SelLength() {
  DWORD Start = 0, End = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start),
               reinterpret_cast<LPARAM>(&End));
  return static_cast<Integer>(End - Start);
}

void TCustomEdit::SetSelLength(Integer V) {
  DWORD Start = 0, End = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start),
               reinterpret_cast<LPARAM>(&End));
  SendMessageW(Handle(), EM_SETSEL, Start, Start + V);
  SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

String TCustomEdit::SelText() {
  Integer Start = SelStart(), Len = SelLength();
  return Copy(GetText(), Start + 1, Len);
}

void TCustomEdit::SetSelText(const String& V) {
  SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(V.c_str()));
}

void TCustomEdit::Clear() { SetText(L""); }
void TCustomEdit::ClearSelection() { SendMessageW(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessageW(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageW(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageW(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { SendMessageW(Handle(), WM_UNDO, 0, 0); }
void TCustomEdit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == EN_CHANGE && !FCreating) Change();
}

// The window reports its changes itself (EN_CHANGE).
void TCustomEdit::CMTextChanged(TMessage&) {}

void TCustomEdit::CMEnter(TMessage& Message) {
  if (FAutoSelect && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
  inherited::CMEnter(Message);
}

IMPLEMENT_CREATABLE_CLASS(TEdit)

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TMemoStrings)

Integer TMemoStrings::GetCount() const {
  if (!FMemo->HandleAllocated()) return TextLines(FMemo->GetText())->Count();
  HWND H = FMemo->Handle();
  Integer N = static_cast<Integer>(SendMessageW(H, EM_GETLINECOUNT, 0, 0));
  // The empty line after a final line break is not a line of the list.
  if (N > 0 && SendMessageW(H, EM_LINELENGTH, SendMessageW(H, EM_LINEINDEX, N - 1, 0), 0) == 0) --N;
  return N;
}

String TMemoStrings::Get(Integer Index) const {
  if (!FMemo->HandleAllocated()) {
    auto Lines = TextLines(FMemo->GetText());
    if (Index < 0 || Index >= Lines->Count())
      throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
    return Lines->Strings(Index);
  }
  if (Index < 0 || Index >= GetCount())
    throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
  HWND H = FMemo->Handle();
  LRESULT Start = SendMessageW(H, EM_LINEINDEX, Index, 0);
  Integer Len = static_cast<Integer>(SendMessageW(H, EM_LINELENGTH, Start, 0));
  std::vector<wchar_t> Buf(static_cast<size_t>(std::max(Len, 1)) + 1, 0);
  *reinterpret_cast<WORD*>(Buf.data()) = static_cast<WORD>(std::max(Len, 1));
  Integer Got = static_cast<Integer>(
      SendMessageW(H, EM_GETLINE, Index, reinterpret_cast<LPARAM>(Buf.data())));
  return String(Buf.data(), static_cast<size_t>(std::min(Got, Len)));
}

void TMemoStrings::Insert(Integer Index, const String& S) {
  if (Index < 0) throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
  if (!FMemo->HandleAllocated()) {
    auto Lines = TextLines(FMemo->GetText());
    if (Index > Lines->Count())
      throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
    Lines->Insert(Index, S);
    FMemo->SetText(Lines->Text());
    return;
  }
  HWND H = FMemo->Handle();
  Integer Count = GetCount();
  if (Index > Count) throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
  LRESULT Pos;
  String Line;
  if (Index < Count) {
    Pos = SendMessageW(H, EM_LINEINDEX, Index, 0);
    Line = S + L"\r\n";
  } else {
    // After the last line: a line break first unless the text ends in one.
    // Past the end the window puts the caret at its end, which for a rich
    // edit is before its final paragraph mark.
    String Text = FMemo->GetText();
    Pos = static_cast<LRESULT>(Text.size());
    bool EndsWithBreak = Text.empty() || Text.back() == L'\n' || Text.back() == L'\r';
    Line = (EndsWithBreak ? L"" : L"\r\n") + S + L"\r\n";
  }
  SendMessageW(H, EM_SETSEL, Pos, Pos);
  SendMessageW(H, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Line.c_str()));
}

void TMemoStrings::Delete(Integer Index) {
  if (!FMemo->HandleAllocated()) {
    auto Lines = TextLines(FMemo->GetText());
    if (Index < 0 || Index >= Lines->Count())
      throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
    Lines->Delete(Index);
    FMemo->SetText(Lines->Text());
    return;
  }
  if (Index < 0 || Index >= GetCount())
    throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
  HWND H = FMemo->Handle();
  LRESULT Start = SendMessageW(H, EM_LINEINDEX, Index, 0);
  LRESULT End = SendMessageW(H, EM_LINEINDEX, Index + 1, 0);
  if (End < 0) End = Start + SendMessageW(H, EM_LINELENGTH, Start, 0);
  SendMessageW(H, EM_SETSEL, Start, End);
  SendMessageW(H, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L""));
}

void TMemoStrings::Clear() { FMemo->SetText(L""); }

String TMemoStrings::GetTextStr() const { return FMemo->GetText(); }

void TMemoStrings::SetTextStr(const String& Value) {
  // Line breaks in the window are CR LF whatever the text used.
  FMemo->SetText(TextLines(Value)->Text());
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomMemo) {
  P.Property<&TCustomMemo::Lines, &TCustomMemo::SetLines>(L"Lines");
  P.Property<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>(L"ScrollBars", ScrollInfo)
      .Default(0);
  P.Property<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>(L"WordWrap").Default(1);
  P.Property<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>(L"WantReturns").Default(1);
  P.Property<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>(L"WantTabs").Default(0);
  P.Property<&TCustomMemo::Alignment, &TCustomMemo::SetAlignment>(L"Alignment", AlignmentInfo)
      .Default(0);
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBounds(0, 0, 185, 89);
  SetAutoSelect(false);
  FLines = Create<TMemoStrings>(this);
}

TCustomMemo::~TCustomMemo() { FreeAndNil(FLines); }

void TCustomMemo::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style &= ~(ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth || !FWordWrap)
    Params.Style |= ES_AUTOHSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  static const DWORD Align[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style |= Align[FAlignment];
}

void TCustomMemo::KeyPress(Char& Key) {
  inherited::KeyPress(Key);
  // A return that went to the default button must not also break the line.
  if (Key == L'\r' && !FWantReturns) Key = 0;
}

void TCustomMemo::SetScrollBars(TScrollStyle V) {
  if (V == FScrollBars) return;
  FScrollBars = V;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool V) {
  if (V == FWordWrap) return;
  FWordWrap = V;
  RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment V) {
  if (V == FAlignment) return;
  FAlignment = V;
  RecreateWnd();
}

TPoint TCustomMemo::CaretPos() {
  DWORD Start = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), 0);
  LONG Line = static_cast<LONG>(SendMessageW(FHandle, EM_LINEFROMCHAR, Start, 0));
  LONG Col = static_cast<LONG>(Start - SendMessageW(FHandle, EM_LINEINDEX, Line, 0));
  return Point(Col, Line);
}

void TCustomMemo::WMGetDlgCode(TMessage& Message) {
  inherited::WMGetDlgCode(Message);
  if (FWantTabs)
    Message.Result |= DLGC_WANTTAB;
  else
    Message.Result &= ~DLGC_WANTTAB;
  if (!FWantReturns) Message.Result &= ~DLGC_WANTALLKEYS;
}

IMPLEMENT_CREATABLE_CLASS(TMemo)

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TButtonControl)

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FWordWrap) Params.Style |= BS_MULTILINE;
}

TClass TButtonControl::GetActionLinkClass() { return TButtonActionLink::StaticClass(); }

void TButtonControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (auto* A = AsOrNull<TCustomAction>(Sender); A && (!CheckDefaults || !Checked()))
    SetChecked(A->Checked());
}

IMPLEMENT_CREATABLE_CLASS(TButtonActionLink)

void TButtonActionLink::AssignClient(TObject* AClient) {
  inherited::AssignClient(AClient);
  FButton = As<TButtonControl>(AClient);
}

bool TButtonActionLink::IsCheckedLinked() {
  return inherited::IsCheckedLinked() && FButton->Checked() == CustomAction()->Checked();
}

void TButtonActionLink::SetChecked(bool Value) {
  if (!IsCheckedLinked()) return;
  // The state comes from the action: no click back into it.
  bool Saved = FButton->FClicksDisabled;
  FButton->FClicksDisabled = true;
  auto Restore = Finally([&] { FButton->FClicksDisabled = Saved; });
  FButton->SetChecked(Value);
}

void TButtonControl::SetWordWrap(bool V) {
  if (V == FWordWrap) return;
  FWordWrap = V;
  RecreateWnd();
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomButton) {
  P.Property<&TCustomButton::Default, &TCustomButton::SetDefault>(L"Default").Default(0);
  P.Property<&TCustomButton::Cancel, &TCustomButton::SetCancel>(L"Cancel").Default(0);
  P.Property<&TCustomButton::ModalResult, &TCustomButton::SetModalResult>(L"ModalResult")
      .Default(0);
  P.Property<&TButtonControl::WordWrap, &TButtonControl::SetWordWrap>(L"WordWrap").Default(0);
}

TCustomButton::TCustomButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  FTabStop = true;
}

void TCustomButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
  Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TCustomButton::CreateWnd() {
  inherited::CreateWnd();
  FActive = FDefault;
}

void TCustomButton::SetButtonStyle(bool ADefault) {
  if (!FHandle) return;
  LONG Style = GetWindowLongW(FHandle, GWL_STYLE) & 0xF;
  LONG Want = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (Style != Want) SendMessageW(FHandle, BM_SETSTYLE, Want, 1);
}

void TCustomButton::SetDefault(bool V) {
  if (V == FDefault) return;
  FDefault = V;
  if (FHandle) {
    TCustomForm* Form = GetParentForm();
    if (Form) Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Form->ActiveControl()));
  }
}

void TCustomButton::Click() {
  if (TCustomForm* Form = GetParentForm(); Form && FModalResult != mrNone)
    Form->SetModalResult(FModalResult);
  inherited::Click();
}

void TCustomButton::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED && !FClicksDisabled) Click();
}

void TCustomButton::CMDialogKey(TMessage& Message) {
  if (((Message.WParam == VK_RETURN && FActive) || (Message.WParam == VK_ESCAPE && FCancel)) &&
      KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  inherited::CMDialogKey(Message);
}

void TCustomButton::CMFocusChanged(TMessage& Message) {
  // The default frame follows the focus: a focused button takes it,
  // otherwise the default button keeps it.
  auto* Focused = reinterpret_cast<TWinControl*>(Message.LParam);
  bool Active = Focused == this || (FDefault && !AsOrNull<TCustomButton>(Focused));
  if (Active != FActive) {
    FActive = Active;
    SetButtonStyle(Active);
  }
}

IMPLEMENT_CREATABLE_CLASS(TButton)

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomCheckBox) {
  P.Property<&TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked>(L"Checked").Default(0);
  P.Property<&TCustomCheckBox::State, &TCustomCheckBox::SetState>(L"State", CheckStateInfo)
      .Default(0);
  P.Property<&TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed>(L"AllowGrayed")
      .Default(0);
  P.Property<&TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment>(L"Alignment",
                                                                          AlignmentInfo)
      .Default(taRightJustify);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  FTabStop = true;
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
  // The control keeps the state itself, so three states are possible.
  Params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  inherited::CreateWnd();
  SendMessageW(FHandle, BM_SETCHECK, FState, 0);
}

void TCustomCheckBox::SetState(TCheckBoxState V) {
  if (V == FState) return;
  FState = V;
  if (FHandle) SendMessageW(FHandle, BM_SETCHECK, V, 0);
  if (!FClicksDisabled) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment V) {
  if (V == FAlignment) return;
  FAlignment = V;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked:
      SetState(FAllowGrayed ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

void TCustomCheckBox::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
}

IMPLEMENT_CREATABLE_CLASS(TCheckBox)

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TListControlItems)

void TListControlItems::Changed() {
  inherited::Changed();
  if (FControl && !FControl->FSyncing) FControl->SyncItems();
}

IMPLEMENT_PUBLISHED_CLASS(TCustomListControl) {
  P.Property<&TCustomListControl::Items, &TCustomListControl::SetItems>(L"Items");
  P.Property<&TCustomListControl::ItemIndex, &TCustomListControl::SetItemIndex>(L"ItemIndex")
      .Default(-1);
  P.Property<&TCustomListControl::Sorted, &TCustomListControl::SetSorted>(L"Sorted").Default(0);
}

TCustomListControl::TCustomListControl(TComponent* AOwner) : TWinControl(AOwner) {
  FItems = Create<TListControlItems>(this);
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
  auto* C = Create<TControlCanvas>();
  C->SetControl(this);
  FCanvas = C;
}

TCustomListControl::~TCustomListControl() {
  TListControlItems* Items = FItems;
  FItems = nullptr;
  Items->Free();
  FreeAndNil(FCanvas);
}

void TCustomListControl::SetItemHeight(Integer V) {
  if (V <= 0 || V == FItemHeight) return;
  FItemHeight = V;
  if (FHandle && IsOwnerDraw()) {
    ApplyItemHeight();
    Invalidate();
  }
}

String TCustomListControl::ItemText(Integer Index) {
  return Index >= 0 && Index < FItems->Count() ? FItems->Strings(Index) : String();
}

void TCustomListControl::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  FCanvas->TextOut(Rect.left + 2, Rect.top, ItemText(Index));
}

void TCustomListControl::MeasureItem(Integer Index, Integer& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListControl::CNDrawItem(TMessage& Message) {
  auto* DI = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  TOwnerDrawState State = OwnerDrawStateFromItemState(DI->itemState);
  bool IsItem = static_cast<int>(DI->itemID) >= 0;
  FCanvas->Lock();
  FCanvas->SetHandle(DI->hDC);
  // The DC is the platform's: the canvas lets go of it on every path.
  auto Release = Finally([this] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  });
  FCanvas->Font()->Assign(FFont.get());
  FCanvas->Brush()->Assign(FBrush.get());
  if (IsItem && State.Contains(odSelected)) {
    FCanvas->Brush()->SetColor(clHighlight);
    FCanvas->Font()->SetColor(clHighlightText);
  }
  if (IsItem)
    DrawItem(static_cast<Integer>(DI->itemID), DI->rcItem, State);
  else
    FCanvas->FillRect(DI->rcItem);
  // The focus rectangle follows the keyboard cues of the window.
  if (State.Contains(odFocused) && !State.Contains(odNoFocusRect) && !(UIState() & UISF_HIDEFOCUS))
    DrawFocusRect(DI->hDC, &DI->rcItem);
  Message.Result = 1;
}

void TCustomListControl::CNMeasureItem(TMessage& Message) {
  auto* MI = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  Integer H = FItemHeight;
  if (IsVariableHeight()) MeasureItem(static_cast<Integer>(MI->itemID), H);
  MI->itemHeight = static_cast<UINT>(std::max(H, 1));
  Message.Result = 1;
}

void TCustomListControl::CreateWnd() {
  inherited::CreateWnd();
  SyncItems();
}

void TCustomListControl::DestroyWnd() {
  if (FHandle) FItemIndex = static_cast<Integer>(SendMessageW(FHandle, GetCurSelMsg(), 0, 0));
  inherited::DestroyWnd();
}

void TCustomListControl::SyncItems() {
  if (!FHandle || !FItems) return;
  Integer Keep = FItemIndex;
  if (FHandle) Keep = static_cast<Integer>(SendMessageW(FHandle, GetCurSelMsg(), 0, 0));
  SendMessageW(FHandle, ResetMsg(), 0, 0);
  for (Integer I = 0; I < FItems->Count(); ++I)
    SendMessageW(FHandle, AddStringMsg(), 0, reinterpret_cast<LPARAM>(FItems->Strings(I).c_str()));
  if (Keep >= FItems->Count()) Keep = -1;
  if (Keep < 0) Keep = FItemIndex < FItems->Count() ? FItemIndex : -1;
  SendMessageW(FHandle, SetCurSelMsg(), static_cast<WPARAM>(Keep), 0);
}

Integer TCustomListControl::ItemIndex() {
  if (FHandle) return static_cast<Integer>(SendMessageW(FHandle, GetCurSelMsg(), 0, 0));
  return FItemIndex;
}

void TCustomListControl::SetItemIndex(Integer V) {
  if (V < -1 || V >= ItemCount()) V = -1;
  FItemIndex = V;
  if (FHandle) SendMessageW(FHandle, SetCurSelMsg(), static_cast<WPARAM>(V), 0);
}

void TCustomListControl::SetSorted(bool V) {
  if (V == FSorted) return;
  FSorted = V;
  FItems->SetSorted(V);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomComboBox) {
  P.Property<&TCustomComboBox::Style, &TCustomComboBox::SetStyle>(L"Style", ComboStyleInfo)
      .Default(0);
  P.Property<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>(L"DropDownCount")
      .Default(8);
  P.Property<&TCustomComboBox::GetOnChange, &TCustomComboBox::SetOnChange>(L"OnChange");
  P.Property<&TCustomComboBox::GetOnSelect, &TCustomComboBox::SetOnSelect>(L"OnSelect");
  P.Property<&TCustomComboBox::GetOnDropDown, &TCustomComboBox::SetOnDropDown>(L"OnDropDown");
  P.Property<&TCustomComboBox::GetOnCloseUp, &TCustomComboBox::SetOnCloseUp>(L"OnCloseUp");
  P.Property<&TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight>(L"ItemHeight")
      .Default(16);
  P.Property<&TCustomComboBox::GetOnDrawItem, &TCustomComboBox::SetOnDrawItem>(L"OnDrawItem");
  P.Property<&TCustomComboBox::GetOnMeasureItem, &TCustomComboBox::SetOnMeasureItem>(
      L"OnMeasureItem");
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomListControl(AOwner) {
  SetBounds(0, 0, 145, 21);
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"COMBOBOX");
  static const DWORD Styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  Params.Style |= Styles[FStyle] | WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  // The drop-down list's height comes from the window's height.
  Params.Height = 0;
}

void TCustomComboBox::CreateWnd() {
  String Saved = FText;
  inherited::CreateWnd();
  // The window measured its rows while it was being created, before it
  // could be told apart from other children; the heights are set now.
  if (IsOwnerDraw()) ApplyItemHeight();
  SendMessageW(FHandle, CB_SETMINVISIBLE, FDropDownCount, 0);
  if (FStyle != csDropDownList && FItemIndex < 0 && !Saved.empty())
    SendMessageW(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Saved.c_str()));
  RECT R;
  GetWindowRect(FHandle, &R);
  FHeight = RectHeight(R);
}

void TCustomComboBox::SyncItems() { inherited::SyncItems(); }

void TCustomComboBox::AdjustDropDown() {
  if (!FHandle || FStyle == csSimple) return;
  Integer Count = std::clamp<Integer>(ItemCount(), 1, std::max(FDropDownCount, 1));
  Integer Rows = 0;
  for (Integer I = 0; I < Count; ++I) {
    LRESULT H = SendMessageW(FHandle, CB_GETITEMHEIGHT, IsVariableHeight() ? I : 0, 0);
    Rows += H > 0 ? static_cast<Integer>(H) : FItemHeight;
  }
  RECT R;
  GetWindowRect(FHandle, &R);
  SetWindowPos(FHandle, nullptr, 0, 0, RectWidth(R), RectHeight(R) + Rows + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::ApplyItemHeight() {
  // The selection field (-1) shows one row; a fixed list has one height.
  Integer Field = FItemHeight;
  if (IsVariableHeight()) MeasureItem(-1, Field);
  SendMessageW(FHandle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(Field, 1));
  if (!IsVariableHeight()) SendMessageW(FHandle, CB_SETITEMHEIGHT, 0, FItemHeight);
}

void TCustomComboBox::SetStyle(TComboBoxStyle V) {
  if (V == FStyle) return;
  FStyle = V;
  RecreateWnd();
}

bool TCustomComboBox::DroppedDown() {
  return FHandle && SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool V) { SendMessageW(Handle(), CB_SHOWDROPDOWN, V, 0); }

void TCustomComboBox::SetItemIndex(Integer V) {
  inherited::SetItemIndex(V);
  if (!FHandle) FText = V >= 0 ? FItems->Strings(V) : String();
}

String TCustomComboBox::GetText() {
  if (!FHandle) return FText;
  return TControl::GetText();
}

void TCustomComboBox::SetText(const String& V) {
  // In a fixed list the text can only be one of the items.
  Integer Index = FItems->IndexOf(V);
  if (FStyle == csDropDownList || FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
    SetItemIndex(Index);
    return;
  }
  FText = V;
  if (FHandle) SendMessageW(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(V.c_str()));
  FItemIndex = Index;
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  // A handler of the selection takes the place of the change event.
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE:
      FItemIndex = static_cast<Integer>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
      Click();
      Select();
      break;
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_DROPDOWN:
      if (OnDropDown) OnDropDown(this);
      AdjustDropDown();
      break;
    case CBN_CLOSEUP:
      if (OnCloseUp) OnCloseUp(this);
      break;
  }
}

IMPLEMENT_CREATABLE_CLASS(TComboBox)

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomListBox) {
  P.Property<&TCustomListBox::Style, &TCustomListBox::SetStyle>(L"Style", ListStyleInfo).Default(0);
  P.Property<&TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect>(L"MultiSelect")
      .Default(0);
  P.Property<&TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight>(L"ItemHeight")
      .Default(16);
  P.Property<&TCustomListBox::GetOnDrawItem, &TCustomListBox::SetOnDrawItem>(L"OnDrawItem");
  P.Property<&TCustomListBox::GetOnMeasureItem, &TCustomListBox::SetOnMeasureItem>(
      L"OnMeasureItem");
  P.Property<&TCustomListBox::GetOnData, &TCustomListBox::SetOnData>(L"OnData");
  P.Property<&TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle>(L"BorderStyle",
                                                                            BorderInfo)
      .Default(bsSingle);
  P.Property<&TCustomListBox::ScrollWidth, &TCustomListBox::SetScrollWidth>(L"ScrollWidth")
      .Default(0);
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomListControl(AOwner) {
  SetBounds(0, 0, 121, 97);
  // A click is the window's selection notification; a release of the button
  // over the list is no second one.
  FControlStyle.Exclude(csClickEvents);
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"LISTBOX");
  Params.Style |= LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_HSCROLL;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  if (FMultiSelect) Params.Style |= LBS_EXTENDEDSEL;
  switch (FStyle) {
    case lbOwnerDrawFixed:
      Params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
      break;
    case lbOwnerDrawVariable:
      Params.Style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
      break;
    case lbVirtual:
    case lbVirtualOwnerDraw:
      Params.Style |= LBS_OWNERDRAWFIXED | LBS_NODATA;
      break;
    default:
      break;
  }
}

void TCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  // Variable rows were measured one by one as they went in.
  if (IsOwnerDraw() && !IsVariableHeight()) ApplyItemHeight();
  if (IsVirtual()) SendMessageW(FHandle, LB_SETCOUNT, static_cast<WPARAM>(FCount), 0);
  if (FScrollWidth > 0) SendMessageW(FHandle, LB_SETHORIZONTALEXTENT, FScrollWidth, 0);
}

void TCustomListBox::DestroyWnd() {
  if (FHandle) FScrollWidth = ScrollWidth();
  inherited::DestroyWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle V) {
  if (V == FBorderStyle) return;
  FBorderStyle = V;
  RecreateWnd();
}

Integer TCustomListBox::ScrollWidth() {
  if (!FHandle) return FScrollWidth;
  return static_cast<Integer>(SendMessageW(FHandle, LB_GETHORIZONTALEXTENT, 0, 0));
}

void TCustomListBox::SetScrollWidth(Integer V) {
  V = std::max(V, 0);
  FScrollWidth = V;
  if (FHandle) SendMessageW(FHandle, LB_SETHORIZONTALEXTENT, V, 0);
}

void TCustomListBox::SyncItems() {
  if (IsVirtual() || !FHandle) return;
  // Rows put in again: the list stays where it was scrolled to.
  Integer Top = TopIndex();
  inherited::SyncItems();
  if (Top > 0) SetTopIndex(Top);
}

void TCustomListBox::SetStyle(TListBoxStyle V) {
  if (V == FStyle) return;
  FStyle = V;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool V) {
  if (V == FMultiSelect) return;
  FMultiSelect = V;
  RecreateWnd();
}

void TCustomListBox::ApplyItemHeight() {
  // Variable rows start from the item height when they are measured, which
  // happens as they go into a new window; LB_SETITEMHEIGHT would set only
  // the first row's.
  if (IsVariableHeight())
    RecreateWnd();
  else
    SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
}

Integer TCustomListBox::Count() { return IsVirtual() ? FCount : FItems->Count(); }

void TCustomListBox::SetCount(Integer V) {
  if (!IsVirtual()) throw EInvalidOperation(L"Setting the count requires a virtual list box style");
  FCount = std::max(V, 0);
  if (FHandle) SendMessageW(FHandle, LB_SETCOUNT, static_cast<WPARAM>(FCount), 0);
}

Integer TCustomListBox::TopIndex() {
  return static_cast<Integer>(SendMessageW(Handle(), LB_GETTOPINDEX, 0, 0));
}
void TCustomListBox::SetTopIndex(Integer V) { SendMessageW(Handle(), LB_SETTOPINDEX, V, 0); }

Integer TCustomListBox::ItemIndex() {
  if (FMultiSelect && FHandle)
    return static_cast<Integer>(SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0));
  return inherited::ItemIndex();
}

void TCustomListBox::SetItemIndex(Integer V) {
  if (FMultiSelect && FHandle) {
    SendMessageW(FHandle, LB_SETSEL, FALSE, -1);
    if (V >= 0) {
      SendMessageW(FHandle, LB_SETSEL, TRUE, V);
      SendMessageW(FHandle, LB_SETCARETINDEX, V, 0);
    }
    FItemIndex = V;
    return;
  }
  inherited::SetItemIndex(V);
}

bool TCustomListBox::Selected(Integer Index) {
  LRESULT R = SendMessageW(Handle(), LB_GETSEL, Index, 0);
  if (R == LB_ERR) throw EListError(Format(L"List index out of bounds (%d)", {Index}));
  return R != 0;
}

void TCustomListBox::SetSelected(Integer Index, bool V) {
  if (FMultiSelect) {
    if (SendMessageW(Handle(), LB_SETSEL, V, Index) == LB_ERR)
      throw EListError(Format(L"List index out of bounds (%d)", {Index}));
  } else {
    SetItemIndex(V ? Index : -1);
  }
}

Integer TCustomListBox::SelCount() {
  if (!FMultiSelect) return ItemIndex() >= 0 ? 1 : 0;
  return static_cast<Integer>(SendMessageW(Handle(), LB_GETSELCOUNT, 0, 0));
}

TRect TCustomListBox::ItemRect(Integer Index) {
  RECT R{0, 0, 0, 0};
  Integer N = Count();
  if (Index == 0 || Index < N) {
    SendMessageW(Handle(), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&R));
  } else if (Index == N) {
    SendMessageW(Handle(), LB_GETITEMRECT, Index - 1, reinterpret_cast<LPARAM>(&R));
    OffsetRect(&R, 0, RectHeight(R));
  }
  return R;
}

Integer TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) {
  RECT Client;
  ::GetClientRect(Handle(), &Client);
  if (!PtInRect(Client, Pos)) return -1;
  // The rows shown, from the top one until a row starts below the area.
  Integer N = Count();
  for (Integer I = TopIndex(); I >= 0 && I < N; ++I) {
    RECT R;
    if (SendMessageW(FHandle, LB_GETITEMRECT, I, reinterpret_cast<LPARAM>(&R)) == LB_ERR) break;
    if (PtInRect(R, Pos)) return I;
    if (R.top >= Client.bottom) break;
  }
  return Existing ? -1 : N;
}

String TCustomListBox::ItemText(Integer Index) {
  if (!IsVirtual()) return inherited::ItemText(Index);
  String Text;
  if (OnData) OnData(this, Index, Text);
  return Text;
}

void TCustomListBox::CNCommand(TMessage& Message) {
  // A double click reaches DblClick as the button's double click message;
  // LBN_DBLCLK that follows it is the same double click.
  if (HIWORD(Message.WParam) == LBN_SELCHANGE) Click();
}

IMPLEMENT_CREATABLE_CLASS(TListBox)

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCustomLabel) {
  P.Property<&TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize>(L"AutoSize").Default(1);
  P.Property<&TCustomLabel::Alignment, &TCustomLabel::SetAlignment>(L"Alignment", AlignmentInfo)
      .Default(0);
  P.Property<&TCustomLabel::Layout, &TCustomLabel::SetLayout>(L"Layout", LayoutInfo).Default(0);
  P.Property<&TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap>(L"WordWrap").Default(0);
  P.Property<&TCustomLabel::Transparent, &TCustomLabel::SetTransparent>(L"Transparent").Default(0);
  P.Property<&TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar>(L"ShowAccelChar")
      .Default(1);
  P.Property<&TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl>(L"FocusControl");
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque).Include(csReplicatable);
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  String Text = GetText();
  if ((Flags & DT_CALCRECT) && (Text.empty() || (FShowAccelChar && Text == L"&"))) Text += L' ';
  if (!FShowAccelChar) {
    Flags |= DT_NOPREFIX;
  } else if (UIState() & UISF_HIDEACCEL) {
    // Underlines show once the keyboard is used. The prefixes go here, not
    // by DT_HIDEPREFIX: Wine's DrawText underlines regardless of it.
    Text = StripHotkey(Text);
    Flags |= DT_NOPREFIX;
  }
  Flags = static_cast<UINT>(DrawTextBiDiModeFlags(static_cast<Integer>(Flags)));
  FCanvas->Font()->Assign(FFont.get());
  HDC DC = FCanvas->Handle();
  SetBkMode(DC, TRANSPARENT);
  if (!FEnabled) {
    OffsetRect(&Rect, 1, 1);
    SetTextColor(DC, ColorToRGB(clBtnHighlight));
    DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &Rect, Flags);
    OffsetRect(&Rect, -1, -1);
    SetTextColor(DC, ColorToRGB(clBtnShadow));
    DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &Rect, Flags);
  } else {
    SetTextColor(DC, ColorToRGB(FFont->Color()));
    DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &Rect, Flags);
  }
}

void TCustomLabel::Paint() {
  static const UINT Align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TRect R = ClientRect();
  if (!Transparent()) {
    FCanvas->Brush()->SetColor(FColor);
    FCanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    FCanvas->FillRect(R);
  }
  UINT Flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | Align[FAlignment];
  if (FLayout != tlTop) {
    TRect Calc = R;
    DoDrawText(Calc, Flags | DT_CALCRECT);
    Integer Off = RectHeight(R) - RectHeight(Calc);
    R.top += FLayout == tlBottom ? Off : Off / 2;
  }
  DoDrawText(R, Flags);
}

void TCustomLabel::AdjustBounds() {
  if (ComponentState().Contains(csReading) || !FAutoSize || !FParent) return;
  TRect R = ClientRect();
  String Text = GetText();
  if (Text.empty()) Text = L" ";
  UINT Flags = DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) |
               (FShowAccelChar ? 0 : DT_NOPREFIX);
  // Measured on the screen, so that a label sizes itself before any window exists.
  {
    TScreenDC DC;
    TSelectObjectGuard Font(DC.Get(), FFont->Handle());
    DrawTextW(DC.Get(), Text.c_str(), static_cast<int>(Text.size()), &R, Flags);
  }
  Integer X = FLeft;
  if (FAlignment == taRightJustify)
    X += FWidth - RectWidth(R);
  else if (FAlignment == taCenter)
    X += (FWidth - RectWidth(R)) / 2;
  SetBounds(X, FTop, RectWidth(R), RectHeight(R));
}

void TCustomLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool V) {
  if (V == FAutoSize) return;
  FAutoSize = V;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment V) {
  if (V == FAlignment) return;
  FAlignment = V;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout V) {
  if (V == FLayout) return;
  FLayout = V;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool V) {
  if (V == FWordWrap) return;
  FWordWrap = V;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool V) {
  if (V == Transparent()) return;
  if (V)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool V) {
  if (V == FShowAccelChar) return;
  FShowAccelChar = V;
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* V) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = V;
  if (V) V->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::CMTextChanged(TMessage&) {
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage&) {
  Invalidate();
  AdjustBounds();
}

IMPLEMENT_CREATABLE_CLASS(TLabel)

void StdCtrls_Initialize() {
  RegisterClasses({TEdit::StaticClass(), TMemo::StaticClass(), TButton::StaticClass(),
                   TCheckBox::StaticClass(), TComboBox::StaticClass(), TListBox::StaticClass(),
                   TLabel::StaticClass()});
}
