// The mask editor: a text editor whose input a standard mask or a regular
// expression guides; with an empty mask it behaves as the plain text editor.
#pragma once

#include "cxRegExpr.h"
#include "cxStandardMask.h"
#include "cxTextEdit.h"

class TcxCustomMaskEditProperties;
class TcxMaskEditProperties;
class TcxMaskEditCustomMode;
class TcxCustomMaskEdit;
class TcxMaskEdit;

enum TcxEditMaskKind { emkStandard, emkRegExpr, emkRegExprEx };
using TcxEditMask = String;

// The error of a regular-expression mask that does not compile: the message
// lists every compile error on a line of its own.
DECLARE_EXCEPTION(EcxMaskEditError, EcxEditError)

// A mode of a kind, bound to an editor or (without one) to properties alone.
using TcxMaskEditModeClass = TcxMaskEditCustomMode* (*)(TcxCustomMaskEdit* AEdit,
                                                        TcxCustomMaskEditProperties* AProperties);

// ---------------------------------------------------------------------------
// Properties

class TcxCustomMaskEditProperties : public TcxCustomTextEditProperties {
  DECLARE_CLASS(TcxCustomMaskEditProperties, TcxCustomTextEditProperties)
  friend class TcxCustomMaskEdit;

 public:
  explicit TcxCustomMaskEditProperties(TPersistent* AOwner);
  ~TcxCustomMaskEditProperties() override;

  // Empty, or only blanks (NUL, TAB, LF, FF, CR, space).
  static bool EmptyMask(const String& AMask);
  virtual TcxMaskEditModeClass GetModeClass(TcxEditMaskKind AMaskKind);

  bool IsMasked();
  // The mode of the current kind without editor, compiled with the mask;
  // nil for an empty mask. The caller owns it.
  TcxMaskEditCustomMode* CreateMode();
  TcxMaskEditCustomMode* CreateMode1();

  bool GetAlwaysShowBlanksAndLiterals() const { return FAlwaysShowBlanksAndLiterals; }
  void SetAlwaysShowBlanksAndLiterals(bool Value);
  bool GetCaseInsensitive() const { return FCaseInsensitive; }
  void SetCaseInsensitive(bool Value);
  String GetEditMask();
  void SetEditMask(const String& Value);
  bool GetIgnoreMaskBlank() const { return FIgnoreMaskBlank; }
  void SetIgnoreMaskBlank(bool Value) { SetField(FIgnoreMaskBlank, Value); }
  TcxEditMaskKind GetMaskKind() const { return FMaskKind; }
  void SetMaskKind(TcxEditMaskKind Value);

  // Overrides of the text editor's settings.
  void SetCharCase(TEditCharCase Value) override;
  TcxCustomEditClass GetContainerClass() override;
  TcxEditDisplayFormatOptions GetDisplayFormatOptions() override;
  TcxEditSupportedOperations GetSupportedOperations() override;
  bool UseLookupData() override;
  bool IsEditValueValid(Variant& EditValue, bool AEditFocused) override;
  void DoPrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue,
                             bool AEditFocused) override;
  void ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError,
                            TcxCustomEdit* AEdit) override;

 protected:
  void DoAssign(TcxCustomEditProperties* AProperties) override;
  void DoChanged() override;
  void MaxLengthChanged() override;

 private:
  bool TestTempEditMask();
  bool TestTempMaskKind();

  TcxEditMaskKind FMaskKind = emkStandard;
  String FEditMask;
  bool FCaseInsensitive = true;
  bool FIgnoreMaskBlank = false;
  bool FAlwaysShowBlanksAndLiterals = false;
  bool FMaxLengthSetting = false;
  TOwned<TcxMaskEditCustomMode> FTempMode;
};

class TcxMaskEditProperties : public TcxCustomMaskEditProperties {
  DECLARE_CLASS(TcxMaskEditProperties, TcxCustomMaskEditProperties)
 public:
  using TOwnerType = TPersistent;
  explicit TcxMaskEditProperties(TPersistent* AOwner);
};

// ---------------------------------------------------------------------------
// What a mode reads and changes of the editor it is bound to; the editor
// control implements it.
class IcxMaskEditModeEdit {
 public:
  virtual TcxCustomMaskEditProperties* ModeProperties() = 0;
  virtual bool ModePropertiesChangeLocked() = 0;
  virtual bool ModeModifiedAfterEnter() = 0;
  virtual bool ModeFocused() = 0;
  virtual Variant ModeEditValue() = 0;
  virtual void ModeSetEditValue(const Variant& AValue) = 0;
  virtual void ModeSetDisplayValue(const Variant& AValue) = 0;
  virtual String ModeText() = 0;
  virtual Integer ModeSelStart() = 0;
  virtual Integer ModeSelLength() = 0;
  virtual void ModeSetSelStart(Integer AValue) = 0;
  virtual void ModeSetSelLength(Integer AValue) = 0;
  // Moves the selection without the editor's selection handling.
  virtual void ModeDirectSetSelection(Integer AStart, Integer ALength) = 0;
  virtual Integer ModeCursorPos() = 0;
  virtual bool ModeHandleAllocated() = 0;
  virtual bool& ModeShiftOn() = 0;
  virtual void ModeSendKeyDown(Word Key, TShiftState Shift) = 0;
  virtual void ModeSendKeyPress(Char Key) = 0;
  virtual bool ModeIsCharValidForPos(Char& AChar, Integer APos) = 0;
  virtual void ModeLockChangeEvents(bool ALock) = 0;

 protected:
  ~IcxMaskEditModeEdit() = default;
};

// ---------------------------------------------------------------------------
// Modes. A key operation answers True when the native edit control is to
// perform the key itself, False when the mode has done (or refused) it.

class TcxMaskEditCustomMode : public TObject {
  DECLARE_CLASS(TcxMaskEditCustomMode, TObject)
  friend class TcxCustomMaskEdit;
  friend class TcxCustomMaskEditProperties;

 public:
  TcxMaskEditCustomMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);

  virtual TcxEditMaskKind GetMaskKind() { return emkStandard; }
  virtual bool ProcessSelText(const String& Value, String& ANewText, Integer& ANewSelStart);
  virtual void AfterPasteFromClipboard() = 0;
  virtual void Compile(const String& AMask) = 0;
  virtual String GetEmptyString() = 0;
  virtual String GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals = false) = 0;
  virtual void GotoEnd() = 0;
  virtual bool IsCursorBegin() = 0;
  virtual bool IsCursorEnd() = 0;
  virtual bool IsFullValidText(const String& AText) = 0;
  virtual void LMouseDown() = 0;
  virtual void PrePasteFromClipboard() = 0;
  virtual bool PressBackSpace() = 0;
  virtual bool PressDelete() = 0;
  virtual bool PressEnd() = 0;
  virtual bool PressHome() = 0;
  virtual bool PressLeft() = 0;
  virtual bool PressRight() = 0;
  virtual bool PressSymbol(Char& ASymbol) = 0;
  virtual void SetText(const String& AText) = 0;
  virtual void SynchronizeEditValue();
  virtual void UpdateEditValue() = 0;
  virtual String GetUpdatedText(const String& AText, bool AMatchForBlanksAndLiterals = true) = 0;

  void BeepOnError();
  bool HasEdit();
  TcxCustomMaskEditProperties* GetProperties();
  TcxCustomMaskEdit* Edit() const { return FEdit; }
  // Binds the mode to its editor's side; the editor does it when it makes
  // the mode.
  void SetEditLink(IcxMaskEditModeEdit* ALink) { FLink = ALink; }
  const String& EditMask() const { return FEditMask; }

 protected:
  // What the modes read and change of their editor.
  String EditText();
  Integer SelStart();
  Integer SelLength();
  void SetSelStart(Integer AValue);
  void SetSelLength(Integer AValue);
  void SetSelection(Integer AStart, Integer ALength);
  bool EditHandleAllocated();
  void SetEditDisplayText(const String& AText);
  bool ShiftOn();
  void SetShiftOn(bool AValue);
  void SendMyKeyDown(Word Key, TShiftState Shift = {});
  void SendMyKeyPress(Char Key);
  Integer CursorPos();
  bool IsCharValidForPos(Char& AChar, Integer APos);
  void LockChangeEvents(bool ALock);
  bool IsEditValueEmpty();
  void SetEditValue(const String& AValue);

  TEditCharCase FCharCase = ecNormal;
  TcxEditEchoMode FEchoMode = eemNormal;
  String FEditMask;
  TcxCustomMaskEditProperties* FProperties;
  Integer FClipboardTextLength = 0;
  TcxCustomMaskEdit* FEdit;
  IcxMaskEditModeEdit* FLink = nullptr;
  bool FNeedUpdateEditValue = false;
};

class TcxMaskEditStandardMode : public TcxMaskEditCustomMode {
  DECLARE_CLASS(TcxMaskEditStandardMode, TcxMaskEditCustomMode)
 public:
  TcxMaskEditStandardMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  static TcxMaskEditCustomMode* New(TcxCustomMaskEdit* AEdit,
                                    TcxCustomMaskEditProperties* AProperties) {
    return new TcxMaskEditStandardMode(AEdit, AProperties);
  }

  TcxEditMaskKind GetMaskKind() override { return emkStandard; }
  bool ProcessSelText(const String& Value, String& ANewText, Integer& ANewSelStart) override;
  void AfterPasteFromClipboard() override;
  void Compile(const String& AMask) override;
  String GetEmptyString() override;
  String GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals = false) override;
  void GotoEnd() override {}
  bool IsCursorBegin() override;
  bool IsCursorEnd() override;
  bool IsFullValidText(const String& AText) override;
  void LMouseDown() override;
  void PrePasteFromClipboard() override;
  bool PressBackSpace() override;
  bool PressDelete() override;
  bool PressEnd() override;
  bool PressHome() override;
  bool PressLeft() override;
  bool PressRight() override;
  bool PressSymbol(Char& ASymbol) override;
  void SetText(const String& AText) override { LMouseDown(); }
  void SynchronizeEditValue() override;
  void UpdateEditValue() override;
  String GetUpdatedText(const String& AText, bool AMatchForBlanksAndLiterals = true) override;

  virtual Char GetBlank(Integer APos) { return FMask->Blank(); }
  TcxStandardMask* Mask() const { return FMask.get(); }

 private:
  bool IsLiteralAt(Integer APos) const;
  Integer FirstPlaceholder() const;
  // Writes the text as the display value and puts the cursor back at APos.
  void PutText(const String& AText, Integer APos);

  TOwned<TcxStandardMask> FMask;
  Integer FSelStart = 0;
};

class TcxMaskEditRegExprMode : public TcxMaskEditCustomMode {
  DECLARE_CLASS(TcxMaskEditRegExprMode, TcxMaskEditCustomMode)
 public:
  TcxMaskEditRegExprMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  static TcxMaskEditCustomMode* New(TcxCustomMaskEdit* AEdit,
                                    TcxCustomMaskEditProperties* AProperties) {
    return new TcxMaskEditRegExprMode(AEdit, AProperties);
  }

  TcxEditMaskKind GetMaskKind() override { return emkRegExpr; }
  void AfterPasteFromClipboard() override {}
  void Compile(const String& AMask) override;
  String GetEmptyString() override { return String(); }
  String GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals = false) override;
  void GotoEnd() override;
  bool IsCursorBegin() override;
  bool IsCursorEnd() override;
  bool IsFullValidText(const String& AText) override;
  void LMouseDown() override { FMouseAction = true; }
  void PrePasteFromClipboard() override {}
  bool PressBackSpace() override;
  bool PressDelete() override;
  bool PressEnd() override;
  bool PressHome() override;
  bool PressLeft() override;
  bool PressRight() override;
  bool PressSymbol(Char& ASymbol) override;
  void SetText(const String& AText) override;
  void SynchronizeEditValue() override;
  void UpdateEditValue() override {}
  String GetUpdatedText(const String& AText, bool AMatchForBlanksAndLiterals = true) override {
    return AText;
  }

  void SetRegExprCaseInsensitive();
  TcxRegExpr* RegExpr() const { return FRegExpr.get(); }
  // The model of the text: what lies left and right of the cursor.
  const String& Head() const { return FHead; }
  const String& Tail() const { return FTail; }

 protected:
  virtual bool NeedReset();
  virtual void CursorCorrection();
  virtual void DeleteSelection();
  virtual void RestoreSelection();

  void Reset(const String& AText);
  bool NextTail();
  void ClearTail();
  void CompileRegExpr(TcxRegExpr* ARegExpr);
  // A second automaton from the same pattern, for tests that must not move
  // the mode's own; nil when the mode's expression is not compiled.
  TOwned<TcxRegExpr> CreateTempRegExpr();
  bool CaseInsensitiveSetting();

  TOwned<TcxRegExpr> FRegExpr;
  String FHead;
  String FTail;
  String FSelect;
  bool FBeginCursor = false;
  bool FMouseAction = false;
};

class TcxMaskEditRegExprExMode : public TcxMaskEditRegExprMode {
  DECLARE_CLASS(TcxMaskEditRegExprExMode, TcxMaskEditRegExprMode)
 public:
  TcxMaskEditRegExprExMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  static TcxMaskEditCustomMode* New(TcxCustomMaskEdit* AEdit,
                                    TcxCustomMaskEditProperties* AProperties) {
    return new TcxMaskEditRegExprExMode(AEdit, AProperties);
  }

  TcxEditMaskKind GetMaskKind() override { return emkRegExprEx; }
  void AfterPasteFromClipboard() override {}
  void Compile(const String& AMask) override;
  String GetEmptyString() override;
  String GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals = false) override;
  void GotoEnd() override;
  bool IsFullValidText(const String& AText) override;
  void PrePasteFromClipboard() override { CursorCorrection(); }
  bool PressBackSpace() override;
  bool PressDelete() override;
  bool PressEnd() override;
  bool PressHome() override;
  bool PressLeft() override;
  bool PressRight() override;
  bool PressSymbol(Char& ASymbol) override;
  void SetText(const String& AText) override;
  void UpdateEditValue() override;

 protected:
  void CursorCorrection() override;
  void DeleteSelection() override;
  void RestoreSelection() override;

 private:
  void Clear();
  void SymbolUpdate(Char ASymbol) { FUpdate += ASymbol; }
  void SymbolDelete() { ++FDeleteNumber; }
  void InternalSymbolUpdate(Char ASymbol) { FInternalUpdate += ASymbol; }
  // Runs AProc with the automaton's insertion switched off, then on again
  // (which inserts the characters forced at the new position).
  template <class F>
  void WithoutInsertion(F AProc);
  // The pattern's forced prefix, from a second automaton.
  String ForcedPrefix();
  bool StepForward();
  bool StepBack();
  void UpdateTail();
  void RefitTail();
  // A selection starting at 0 over a forced prefix: the prefix is kept and
  // the selection shrunk to start after it. True when that happened.
  bool KeepForcedPrefix();

  String FUpdate;
  Integer FDeleteNumber = 0;
  String FInternalUpdate;
};

// ---------------------------------------------------------------------------
// Editor control

class TcxCustomMaskEdit : public TcxCustomTextEdit, public IcxMaskEditModeEdit {
  DECLARE_CLASS(TcxCustomMaskEdit, TcxCustomTextEdit)
  friend class TcxCustomMaskEditProperties;

 public:
  explicit TcxCustomMaskEdit(TComponent* AOwner);
  TcxCustomMaskEdit(TComponent* AOwner, bool AIsInplace);
  ~TcxCustomMaskEdit() override;

  TClass GetPropertiesClass() override;
  TcxCustomMaskEditProperties* GetActiveProperties();
  TcxCustomMaskEditProperties* GetProperties() const;
  TcxMaskEditCustomMode* Mode() const { return FMode.get(); }

  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void SetSelText(const String& Value) override;
  bool IsTextInputMode() override;
  void PrepareEditValue(const Variant& ADisplayValue, Variant& EditValue,
                        bool AEditFocused) override;

  // Keys the editor sends to itself: performed by the native edit without
  // passing the mask handling again and without user key events.
  void SendMyKeyDown(Word Key, TShiftState Shift);
  void SendMyKeyPress(Char Key);
  // Moves the selection without the mode hearing of it.
  void DirectSetSelStart(Integer AValue);
  void DirectSetSelLength(Integer AValue);

 protected:
  // The modes' view of the editor.
  TcxCustomMaskEditProperties* ModeProperties() override { return GetActiveProperties(); }
  bool ModePropertiesChangeLocked() override { return PropertiesChangeLocked(); }
  bool ModeModifiedAfterEnter() override { return ModifiedAfterEnter(); }
  bool ModeFocused() override { return Focused(); }
  Variant ModeEditValue() override { return GetEditValue(); }
  void ModeSetEditValue(const Variant& AValue) override { SetInternalEditValue(AValue); }
  void ModeSetDisplayValue(const Variant& AValue) override;
  String ModeText() override { return GetDisplayText(); }
  Integer ModeSelStart() override { return GetSelStart(); }
  Integer ModeSelLength() override { return GetSelLength(); }
  void ModeSetSelStart(Integer AValue) override { SetSelStart(AValue); }
  void ModeSetSelLength(Integer AValue) override { SetSelLength(AValue); }
  void ModeDirectSetSelection(Integer AStart, Integer ALength) override;
  Integer ModeCursorPos() override { return GetCursorPos(); }
  bool ModeHandleAllocated() override;
  bool& ModeShiftOn() override { return FShiftOn; }
  void ModeSendKeyDown(Word Key, TShiftState Shift) override { SendMyKeyDown(Key, Shift); }
  void ModeSendKeyPress(Char Key) override { SendMyKeyPress(Key); }
  bool ModeIsCharValidForPos(Char& AChar, Integer APos) override {
    return IsCharValidForPos(AChar, APos);
  }
  void ModeLockChangeEvents(bool ALock) override { LockChangeEvents(ALock); }

  virtual bool CanSynchronizeModeText() { return true; }
  // Descendants may refuse a character (False) or change it; leaving it 0
  // refuses it with a beep.
  virtual bool IsCharValidForPos(Char& AChar, Integer APos) { return true; }
  virtual void UpdateTextFormatting();

  bool CanChangeSelText(const String& Value, String& ANewText, Integer& ANewSelStart) override;
  void ChangeHandler(TObject* Sender) override;
  void DblClick() override;
  void DoEditKeyDown(Word& Key, TShiftState Shift) override;
  void DoEditKeyPress(Char& Key) override;
  void DoEnter() override;
  void Initialize() override;
  String InternalGetEmptyString();
  String InternalGetText() override;
  void InternalSetDisplayValue(const Variant& Value) override;
  bool InternalSetText(const String& AText) override;
  void InternalSetValue(const String& AText);
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void PropertiesChanged(TObject* Sender) override;
  void SelChange(TObject* Sender) override;
  void SynchronizeDisplayValue() override;
  void UndoPerformed() override;
  void LockInnerEditRepainting();
  void UnlockInnerEditRepainting();
  void SetEditText(const String& Value);

 private:
  bool IsMasked() { return GetActiveProperties()->IsMasked(); }
  // The display text of a value for the current focus state.
  String FormatForDisplay(const String& AText);
  void DoMaskKindChanged(String& AMask, bool& AMaskCleared);
  void DoMaskChanged(const String& AMask, bool AMaskCleared);
  void DoCharCaseChanged();
  void RecreateMode(TcxEditMaskKind AKind);

  TOwned<TcxMaskEditCustomMode> FMode;
  String FText;
  String FEmptyString;
  bool FShiftOn = false;
  bool FMyMessage = false;
  bool FInternalTextSelection = false;
};

class TcxMaskEdit : public TcxCustomMaskEdit {
  DECLARE_CLASS(TcxMaskEdit, TcxCustomMaskEdit)
 public:
  using TOwnerType = TComponent;
  using TcxCustomMaskEdit::TcxCustomMaskEdit;
  TClass GetPropertiesClass() override;
  bool SupportsSpelling() override { return IsTextInputMode(); }
  TcxMaskEditProperties* GetProperties() const;
  TcxMaskEditProperties* GetActiveProperties();
};

// ---------------------------------------------------------------------------
// Filter helper and module start-up

class TcxFilterMaskEditHelper : public TcxFilterTextEditHelper {
  DECLARE_CLASS(TcxFilterMaskEditHelper, TcxFilterTextEditHelper)
 public:
  TClass GetFilterEditClass() const override;
  TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* AProperties,
                                                        TcxValueTypeClass AValueTypeClass,
                                                        bool AExtendedSet) const override;
  void InitializeProperties(TcxCustomEditProperties* AProperties,
                            TcxCustomEditProperties* AEditProperties,
                            bool AHasButtons) const override;
};

// The text of EcxMaskEditError for a regular-expression mask's errors.
String cxMaskEditRegExprErrorText(const EcxRegExprError& E);

void cxMaskEdit_Initialize();
void cxMaskEdit_Finalize();
