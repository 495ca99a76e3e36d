// Standard controls over the platform's window classes: edit, memo, button,
// check box, combo box, list box, and the label.
#pragma once

#include "Classes.h"
#include "Controls.h"
#include "Forms.h"

// Controls use the form border styles bsNone and bsSingle.
using TBorderStyle = TFormBorderStyle;
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
// Scroll bars report their steps with Forms' TScrollCode; the handler may
// change the position.
using TScrollEvent = TMethodPtr<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TListBoxStyle {
  lbStandard,
  lbOwnerDrawFixed,
  lbOwnerDrawVariable,
  lbVirtual,
  lbVirtualOwnerDraw
};

class TCustomEdit : public TWinControl {
  DECLARE_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);

  virtual Integer SelStart();
  virtual void SetSelStart(Integer V);
  virtual Integer SelLength();
  virtual void SetSelLength(Integer V);
  virtual String SelText();
  virtual void SetSelText(const String& V);
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer V);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool V);
  Char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(Char V);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase V);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool V) { FAutoSelect = V; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool V);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle V);
  bool Modified();
  void SetModified(bool V);
  bool CanUndo();

  // -- Settings the library's inner edits hand over: the text's alignment
  // in the window, OEM conversion of typed text, and the cue text an empty
  // unfocused edit shows (where the platform's edit draws one).
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment V);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool V);
  const String& TextHint() const { return FTextHint; }
  void SetTextHint(const String& V);

  void Clear();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void SelectAll();

  TNotifyEvent OnChange;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent V) { OnChange = V; }

 protected:
  void CNCommand(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();
  virtual void DoSetMaxLength(Integer V);
  virtual void DoSetTextHint();

 private:
  Integer FMaxLength = 0;
  bool FReadOnly = false;
  Char FPasswordChar = 0;
  TEditCharCase FCharCase = ecNormal;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  TBorderStyle FBorderStyle = bsSingle;
  bool FModified = false;
  bool FCreating = false;
  TAlignment FAlignment = taLeftJustify;
  bool FOEMConvert = false;
  String FTextHint;
};

class TEdit : public TCustomEdit {
  DECLARE_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The memo's lines: the window's text while it exists, the stored text
// before.
class TMemoStrings : public TStrings {
  DECLARE_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo* AMemo) : FMemo(AMemo) {}
  void Clear() override;
  void Delete(Integer Index) override;
  void Insert(Integer Index, const String& S) override;
  String Get(Integer Index) const override;
  Integer GetCount() const override;
  String GetTextStr() const override;
  void SetTextStr(const String& Value) override;

 private:
  TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
  DECLARE_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* V) { FLines->Assign(V); }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle V);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool V);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool V) { FWantReturns = V; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool V) { FWantTabs = V; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment V);
  TPoint CaretPos();

 protected:
  void WMGetDlgCode(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(Char& Key) override;
  TStrings* FLines = nullptr;

 private:
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
  TAlignment FAlignment = taLeftJustify;
};

class TMemo : public TCustomMemo {
  DECLARE_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

class TButtonControl : public TWinControl {
  DECLARE_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool V);
  // The checked state a check box shows (a push button has none); an
  // action's Checked reaches it through the button's action link.
  virtual bool Checked() const { return false; }
  virtual void SetChecked(bool V) {}

 protected:
  void CreateParams(TCreateParams& Params) override;
  TClass GetActionLinkClass() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  friend class TButtonActionLink;
  bool FClicksDisabled = false;

 private:
  bool FWordWrap = false;
};

class TCustomButton : public TButtonControl {
  DECLARE_CLASS(TCustomButton, TButtonControl)
 public:
  explicit TCustomButton(TComponent* AOwner);
  void Click() override;
  bool Default() const { return FDefault; }
  void SetDefault(bool V);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool V) { FCancel = V; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult V) { FModalResult = V; }
  // True while the button shows the default frame (it is the default
  // button and no other button has the focus, or it has the focus).
  bool Active() const { return FActive; }

 protected:
  void CNCommand(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void SetButtonStyle(bool ADefault);

 private:
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = 0;
};

// The link of a button control: a control's link plus Checked.
class TButtonActionLink : public TControlActionLink {
  DECLARE_CLASS(TButtonActionLink, TControlActionLink)
 public:
  using TControlActionLink::TControlActionLink;
  bool IsCheckedLinked() override;
  void SetChecked(bool Value) override;

 protected:
  void AssignClient(TObject* AClient) override;
  TButtonControl* FButton = nullptr;
};

class TButton : public TCustomButton {
  DECLARE_CLASS(TButton, TCustomButton)
 public:
  using TCustomButton::TCustomButton;
};

class TCustomCheckBox : public TButtonControl {
  DECLARE_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  bool Checked() const override { return FState == cbChecked; }
  void SetChecked(bool V) override { SetState(V ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState V);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool V) { FAllowGrayed = V; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment V);

 protected:
  void CNCommand(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void Toggle();

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  DECLARE_CLASS(TCheckBox, TCustomCheckBox)
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

class TCustomListControl;
using TDrawItemEvent =
    TMethodPtr<void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TMethodPtr<void(TWinControl* Control, Integer Index, Integer& Height)>;

// Items of a list or combo box: a string list mirrored into the window.
class TListControlItems : public TStringList {
  DECLARE_CLASS(TListControlItems, TStringList)
 public:
  explicit TListControlItems(TCustomListControl* AControl) : FControl(AControl) {}

 protected:
  void Changed() override;

 private:
  TCustomListControl* FControl;
};

class TCustomListControl : public TWinControl {
  DECLARE_CLASS(TCustomListControl, TWinControl)
 public:
  explicit TCustomListControl(TComponent* AOwner);
  ~TCustomListControl() override;
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* V) { FItems->Assign(V); }
  virtual Integer ItemIndex();
  virtual void SetItemIndex(Integer V);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool V);
  void Clear() { FItems->Clear(); }

  // Owner-drawn styles: the canvas rows are drawn on (valid while a row is
  // drawn), the row height, and the events that draw and measure a row.
  TCanvas* Canvas() const { return FCanvas; }
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer V);
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TDrawItemEvent GetOnDrawItem() const { return OnDrawItem; }
  void SetOnDrawItem(TDrawItemEvent V) { OnDrawItem = V; }
  TMeasureItemEvent GetOnMeasureItem() const { return OnMeasureItem; }
  void SetOnMeasureItem(TMeasureItemEvent V) { OnMeasureItem = V; }

 protected:
  friend class TListControlItems;
  // Draws a row: OnDrawItem, or the row's text on the canvas's brush.
  virtual void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
  // A row's height: OnMeasureItem may change the item height it starts as.
  virtual void MeasureItem(Integer Index, Integer& Height);
  // The text the default drawing shows for a row.
  virtual String ItemText(Integer Index);
  virtual bool IsOwnerDraw() const = 0;
  virtual bool IsVariableHeight() const = 0;
  // Hands the item height to the window.
  virtual void ApplyItemHeight() = 0;
  // The reflected owner-draw messages: the canvas prepared with the
  // control's font and colours (the highlight for a selected row), then
  // DrawItem; MeasureItem for variable rows.
  void CNDrawItem(TMessage& Message) override;
  void CNMeasureItem(TMessage& Message) override;
  // The number of items the window holds (a virtual list has no strings).
  virtual Integer ItemCount() { return FItems->Count(); }
  void CreateWnd() override;
  void DestroyWnd() override;
  // Puts the items into the window.
  virtual void SyncItems();
  virtual UINT AddStringMsg() const = 0;
  virtual UINT ResetMsg() const = 0;
  virtual UINT GetCurSelMsg() const = 0;
  virtual UINT SetCurSelMsg() const = 0;
  TListControlItems* FItems;
  Integer FItemIndex = -1;
  bool FSorted = false;
  bool FSyncing = false;
  Integer FItemHeight = 16;
  TCanvas* FCanvas = nullptr;
};

class TCustomComboBox : public TCustomListControl {
  DECLARE_CLASS(TCustomComboBox, TCustomListControl)
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle V);
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer V) { FDropDownCount = V; }
  bool DroppedDown();
  void SetDroppedDown(bool V);
  void SetItemIndex(Integer V) override;
  String GetText() override;
  void SetText(const String& V) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent V) { OnChange = V; }
  TNotifyEvent GetOnSelect() const { return OnSelect; }
  void SetOnSelect(TNotifyEvent V) { OnSelect = V; }
  TNotifyEvent GetOnDropDown() const { return OnDropDown; }
  void SetOnDropDown(TNotifyEvent V) { OnDropDown = V; }
  TNotifyEvent GetOnCloseUp() const { return OnCloseUp; }
  void SetOnCloseUp(TNotifyEvent V) { OnCloseUp = V; }

 protected:
  void CNCommand(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void SyncItems() override;
  virtual void Change();
  virtual void Select();
  UINT AddStringMsg() const override { return CB_ADDSTRING; }
  UINT ResetMsg() const override { return CB_RESETCONTENT; }
  UINT GetCurSelMsg() const override { return CB_GETCURSEL; }
  UINT SetCurSelMsg() const override { return CB_SETCURSEL; }
  bool IsOwnerDraw() const override {
    return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable;
  }
  bool IsVariableHeight() const override { return FStyle == csOwnerDrawVariable; }
  void ApplyItemHeight() override;
  // Gives the window the height of the list it drops (DropDownCount rows at
  // most): the platform's combo box drops a list as high as the window was
  // made beyond its field, which otherwise is nothing.
  void AdjustDropDown();

 private:
  TComboBoxStyle FStyle = csDropDown;
  Integer FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
  DECLARE_CLASS(TComboBox, TCustomComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

class TCustomListBox;
using TLBGetDataEvent = TMethodPtr<void(TWinControl* Control, Integer Index, String& Data)>;

class TCustomListBox : public TCustomListControl {
  DECLARE_CLASS(TCustomListBox, TCustomListControl)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle V);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool V);
  Integer TopIndex();
  void SetTopIndex(Integer V);
  Integer Count();
  void SetCount(Integer V);
  bool Selected(Integer Index);
  void SetSelected(Integer Index, bool V);
  Integer SelCount();
  TRect ItemRect(Integer Index);
  // The row at a client point. Inside the client area below the last row
  // it is the row count, unless Existing; outside the client area -1.
  Integer ItemAtPos(const TPoint& Pos, bool Existing);
  // -- For lists inside the library's containers: the frame, and the width
  // the horizontal scroll bar scrolls over (0: none), both kept when the
  // window is made again.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle V);
  Integer ScrollWidth();
  void SetScrollWidth(Integer V);
  Integer ItemIndex() override;
  void SetItemIndex(Integer V) override;

  TLBGetDataEvent OnData;
  TLBGetDataEvent GetOnData() const { return OnData; }
  void SetOnData(TLBGetDataEvent V) { OnData = V; }

 protected:
  void CNCommand(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void SyncItems() override;
  String ItemText(Integer Index) override;
  bool IsOwnerDraw() const override { return FStyle != lbStandard; }
  bool IsVariableHeight() const override { return FStyle == lbOwnerDrawVariable; }
  void ApplyItemHeight() override;
  UINT AddStringMsg() const override { return LB_ADDSTRING; }
  UINT ResetMsg() const override { return LB_RESETCONTENT; }
  UINT GetCurSelMsg() const override { return LB_GETCURSEL; }
  UINT SetCurSelMsg() const override { return LB_SETCURSEL; }

 private:
  bool IsVirtual() const { return FStyle == lbVirtual || FStyle == lbVirtualOwnerDraw; }
  Integer ItemCount() override { return Count(); }
  TListBoxStyle FStyle = lbStandard;
  bool FMultiSelect = false;
  Integer FCount = 0;
  TBorderStyle FBorderStyle = bsSingle;
  Integer FScrollWidth = 0;
};

class TListBox : public TCustomListBox {
  DECLARE_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

class TCustomLabel : public TGraphicControl {
  DECLARE_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* AOwner);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool V);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment V);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout V);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool V);
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool V);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool V);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* V);

 protected:
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void AdjustBounds();
  void DoDrawText(TRect& Rect, UINT Flags);

 private:
  bool FAutoSize = true;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  DECLARE_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

void StdCtrls_Initialize();
