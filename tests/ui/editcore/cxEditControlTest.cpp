// The editor control: construction, change events, validation and posting,
// the in-place editor list, and the value flow driven by real keys on a form.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>

#include "Classes.h"
#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "RecordingSpellChecker.h"
#include "StdCtrls.h"
#include "cxEdit.h"
#include "ui/controls/ControlsTestSupport.h"

namespace {

using ControlsTest::CreateForm;
using ControlsTest::PumpApplicationUntil;
using ControlsTest::SendKey;

// The platform's EDIT as the editor's inner control: it hands keys and focus
// changes to its editor first, as the text editors' inner edits do.
class TTestInnerEdit : public TEdit, public IcxCustomInnerEdit {
  DECLARE_CLASS(TTestInnerEdit, TEdit)
 public:
  using TEdit::TEdit;
  TWinControl* GetControl() override { return this; }
  bool CanProcessClipboardMessages() override { return true; }
  bool GetReadOnly() override { return ReadOnly(); }
  void SetReadOnly(bool Value) override { TEdit::SetReadOnly(Value); }
  void SetOnChange(const TNotifyEvent& Value) override { OnChange = Value; }

 protected:
  TcxContainer* Container() { return dynamic_cast<TcxContainer*>(Parent()); }
  void KeyDown(Word& Key, TShiftState Shift) override {
    if (TcxContainer* C = Container()) C->ContainerKeyDown(Key, Shift);
    if (Key != 0) inherited::KeyDown(Key, Shift);
  }
  void KeyUp(Word& Key, TShiftState Shift) override {
    if (TcxContainer* C = Container()) C->ContainerKeyUp(Key, Shift);
    if (Key != 0) inherited::KeyUp(Key, Shift);
  }
  void KeyPress(Char& Key) override {
    if (TcxContainer* C = Container()) C->ContainerKeyPress(Key);
    if (Key != 0) inherited::KeyPress(Key);
  }
  void WndProc(TMessage& Message) override {
    inherited::WndProc(Message);
    if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS)
      if (TcxContainer* C = Container()) C->ContainerFocusChanged();
  }
};

class TTestEdit;

// One line of the style's font as content, as text editors measure it.
class TLineViewData : public TcxCustomEditViewData {
  DECLARE_CLASS(TLineViewData, TcxCustomEditViewData)
 public:
  using TcxCustomEditViewData::TcxCustomEditViewData;

 protected:
  TSize InternalGetEditContentSize(TcxCanvas* ACanvas, const Variant&,
                                   const TcxEditSizeProperties&) override {
    ACanvas->SetFont(GetStyle()->GetVisibleFont());
    return TSize{ACanvas->TextWidth(L"W"),
                 ACanvas->TextHeight(L"Wg") + GetEditContentSizeCorrection().cy};
  }
};

// Properties whose editors validate, compare and reset their values.
class TValidatingProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TValidatingProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  TcxCustomEditViewDataClass GetViewDataClass() override {
    return &cxCreateEditViewData<TLineViewData>;
  }
  bool CanValidate() override { return true; }
  bool CanCompareEditValue() override { return true; }
  bool HasDisplayValue() override { return true; }
  bool IsResetEditClass() override { return true; }
  TcxCustomEditClass GetContainerClass() override;
};

// A text editor in miniature: the inner EDIT's text is the display value and,
// once validated, the edit value.
class TTestEdit : public TcxCustomEdit {
  DECLARE_CLASS(TTestEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::TcxCustomEdit;
  TClass GetPropertiesClass() override { return TValidatingProperties::StaticClass(); }
  String Text() { return Inner()->Text(); }
  TTestInnerEdit* Inner() { return static_cast<TTestInnerEdit*>(InnerEdit()->GetControl()); }
  void SelectAll() override {
    if (Inner()->HandleAllocated()) SendMessageW(Inner()->Handle(), EM_SETSEL, 0, -1);
  }
  using TcxCustomEdit::IsTransparentBackground;
  using TcxCustomEdit::Modified;

 protected:
  TClass GetInnerEditClass() override { return TTestInnerEdit::StaticClass(); }
  String GetDisplayText() override { return Inner()->Text(); }
  Variant InternalGetEditingValue() override { return Variant(Text()); }
  void SetInternalDisplayValue(const Variant& Value) override {
    Inner()->SetTextProp(VarToStr(Value));
  }
  void InternalSetDisplayValue(const Variant& Value) override {
    SetInternalDisplayValue(Value);
    InternalStoreEditValue(Variant(VarToStr(Value)));
  }
  void SynchronizeDisplayValue() override {
    LockChangeEvents(true);
    auto AUnlock = Finally([this] { LockChangeEvents(false, false); });
    Inner()->SetTextProp(VarIsNull(GetEditValue()) ? String() : VarToStr(GetEditValue()));
  }
};

// An editor without an inner edit.
class TBareEdit : public TcxCustomEdit {
  DECLARE_CLASS(TBareEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::TcxCustomEdit;
};

class TOtherProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TOtherProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  TcxCustomEditClass GetContainerClass() override { return cxEditClass<TBareEdit>(); }
};

TcxCustomEditClass TValidatingProperties::GetContainerClass() { return cxEditClass<TTestEdit>(); }

// Records the mouse and the edit data it is given.
class TRecordingEdit : public TTestEdit {
  DECLARE_CLASS(TRecordingEdit, TTestEdit)
 public:
  using TTestEdit::TTestEdit;
  std::vector<TPoint> MouseDowns;
  Integer DblClicks = 0;
  Integer EditDataInits = 0;
  Integer EditDataClears = 0;
  bool WithEditData = false;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override {
    MouseDowns.push_back(TPoint{X, Y});
    inherited::MouseDown(Button, Shift, X, Y);
  }
  void DblClick() override {
    ++DblClicks;
    inherited::DblClick();
  }
  TClass GetEditDataClass() override {
    return WithEditData ? TcxCustomEditData::StaticClass() : nullptr;
  }
  void InitializeEditData() override { ++EditDataInits; }
  // A host's cell margins: the inner edit leaves the editor's own window a
  // frame of two pixels.
  void InitializeViewData(TcxCustomEditViewData* AViewData) override {
    inherited::InitializeViewData(AViewData);
    AViewData->ContentOffset = TRect{2, 2, 2, 2};
  }
};

// Editors that grow with their value and keep an anchor: ten pixels a
// character and one more.
class TGrowingViewData : public TcxCustomEditViewData {
  DECLARE_CLASS(TGrowingViewData, TcxCustomEditViewData)
 public:
  using TcxCustomEditViewData::TcxCustomEditViewData;
  TSize GetEditSize(TcxCanvas*, const Variant& AEditValue, const TcxEditSizeProperties&,
                    TcxCustomEditViewInfo*) override {
    const Integer ALength = VarIsNull(AEditValue) ? 0 : VarToStr(AEditValue).length();
    return TSize{10 * ALength + 1, 20};
  }
};

class TGrowingProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TGrowingProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  TcxCustomEditViewDataClass GetViewDataClass() override {
    return &cxCreateEditViewData<TGrowingViewData>;
  }
};

class TAnchoredEdit : public TcxCustomEdit {
  DECLARE_CLASS(TAnchoredEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::TcxCustomEdit;
  TClass GetPropertiesClass() override { return TGrowingProperties::StaticClass(); }

 protected:
  bool UseAnchorX() override { return true; }
};

// Counts the clipboard operations the messages lead to.
class TClipboardEdit : public TTestEdit {
  DECLARE_CLASS(TClipboardEdit, TTestEdit)
 public:
  using TTestEdit::TTestEdit;
  Integer Copies = 0, Cuts = 0, Pastes = 0;
  bool AllowEditing = true;
  void CopyToClipboard() override { ++Copies; }
  void CutToClipboard() override { ++Cuts; }
  void PasteFromClipboard() override { ++Pastes; }
  void Editing(TObject*, bool& CanEdit) { CanEdit = CanEdit && AllowEditing; }
};

// Presses its buttons from the test, as its layout would; a click handler
// sets the value.
class TButtonEdit : public TTestEdit {
  DECLARE_CLASS(TButtonEdit, TTestEdit)
 public:
  using TTestEdit::DoButtonClick;
  using TTestEdit::TTestEdit;
  std::vector<Integer> Clicks;
  bool UserActionInHandler = true;
  void ButtonClick(TObject* Sender, Integer AIndex) {
    Clicks.push_back(AIndex);
    UserActionInHandler = IsUserAction();
    SetEditValue(Variant(L"from button"));
  }
};

// Has a default button the click key reaches, and writes down the
// characters it is given.
class TDefaultButtonEdit : public TTestEdit {
  DECLARE_CLASS(TDefaultButtonEdit, TTestEdit)
 public:
  using TTestEdit::TTestEdit;
  Integer DefaultClicks = 0;
  std::vector<Char> Chars;

 protected:
  bool IsDefaultButtonKey(TShortCut AShortCut) override {
    return AShortCut == GetActiveProperties()->GetClickKey();
  }
  void DefaultButtonClick() override { ++DefaultClicks; }
  void KeyPress(Char& Key) override {
    Chars.push_back(Key);
    inherited::KeyPress(Key);
  }
};

// Takes no digits.
class TLettersEdit : public TTestEdit {
  DECLARE_CLASS(TLettersEdit, TTestEdit)
 public:
  using TTestEdit::TTestEdit;

 protected:
  bool IsValidChar(Char AChar) override { return !(AChar >= L'0' && AChar <= L'9'); }
};

enum class TErrorMode { None, DefaultText, EmptyText };

// Counts what the editors and the application report.
class TRecorder : public TObject {
 public:
  Integer Changes = 0;
  Integer EditValueChanges = 0;
  Integer Validations = 0;
  Integer Posts = 0;
  Integer Enters = 0;
  std::vector<String> Messages;
  std::vector<String> ValidatedValues;
  TErrorMode ErrorMode = TErrorMode::None;
  bool PostRaises = false;
  bool PostAborts = false;

  void Change(TObject*) { ++Changes; }
  void EditValueChanged(TObject*) { ++EditValueChanges; }
  void Enter(TObject*) { ++Enters; }
  void Validate(TObject*, Variant& ADisplayValue, String& AErrorText, bool& AError) {
    ++Validations;
    ValidatedValues.push_back(VarToStr(ADisplayValue));
    if (ErrorMode == TErrorMode::None) return;
    AError = true;
    if (ErrorMode == TErrorMode::EmptyText) AErrorText = String();
  }
  void Post(TObject*) {
    ++Posts;
    if (PostAborts) Abort();
    if (PostRaises) throw Exception(L"The host refused the value");
  }
  void ApplicationException(TObject*, Exception* E) { Messages.push_back(E->Message()); }

  void Attach(TcxCustomEdit* AEdit) {
    TcxCustomEditProperties* P = AEdit->GetProperties();
    P->SetOnChange(MakeEvent<&TRecorder::Change>(this));
    P->SetOnEditValueChanged(MakeEvent<&TRecorder::EditValueChanged>(this));
    P->SetOnValidate(MakeEvent<&TRecorder::Validate>(this));
    AEdit->SetOnPostEditValue(MakeEvent<&TRecorder::Post>(this));
  }
};

// The application's handler records instead of showing a message box.
class TApplicationExceptions {
 public:
  explicit TApplicationExceptions(TRecorder& ARecorder) : FSaved(Application()->OnException) {
    Application()->OnException = MakeEvent<&TRecorder::ApplicationException>(&ARecorder);
  }
  ~TApplicationExceptions() { Application()->OnException = FSaved; }

 private:
  TExceptionEvent FSaved;
};

// Beeps are counted rather than heard.
class TBeepCounter {
 public:
  TBeepCounter() : FSaved(cxEditBeepLink().Beep) {
    Count = 0;
    cxEditBeepLink().Beep = [] { ++Count; };
  }
  ~TBeepCounter() { cxEditBeepLink().Beep = FSaved; }
  static inline Integer Count = 0;

 private:
  void (*FSaved)();
};

}  // namespace

IMPLEMENT_CREATABLE_CLASS(TTestInnerEdit)
IMPLEMENT_CREATABLE_CLASS(TValidatingProperties)
IMPLEMENT_CLASS(TTestEdit)
IMPLEMENT_CLASS(TBareEdit)
IMPLEMENT_CREATABLE_CLASS(TOtherProperties)
IMPLEMENT_CLASS(TRecordingEdit)
IMPLEMENT_CLASS(TClipboardEdit)
IMPLEMENT_CLASS(TButtonEdit)
IMPLEMENT_CLASS(TDefaultButtonEdit)
IMPLEMENT_CLASS(TLettersEdit)
IMPLEMENT_CLASS(TGrowingViewData)
IMPLEMENT_CLASS(TLineViewData)
IMPLEMENT_CREATABLE_CLASS(TGrowingProperties)
IMPLEMENT_CREATABLE_CLASS(TAnchoredEdit)

namespace {

// ---------------------------------------------------------------------------
// Construction

TEST(EditControl, StandaloneAndInplaceDefaults) {
  struct TCase {
    bool Inplace;
    bool InnerEdit;
    bool AutoSize;
    bool TabKey;
  } const Cases[] = {{false, true, true, false},
                     {true, true, false, false},
                     {true, false, false, true},
                     {false, false, true, false}};
  for (const TCase& C : Cases) {
    TOwned<TcxCustomEdit> E(C.InnerEdit
                                ? static_cast<TcxCustomEdit*>(Create<TTestEdit>(nullptr, C.Inplace))
                                : Create<TBareEdit>(nullptr, C.Inplace));
    SCOPED_TRACE(testing::Message() << "inplace " << C.Inplace << " inner " << C.InnerEdit);
    EXPECT_EQ(E->GetAutoSize(), C.AutoSize);
    EXPECT_TRUE(E->TabStop());
    EXPECT_TRUE(VarIsNull(E->GetEditValue()));
    EXPECT_EQ(E->IsInplace(), C.Inplace);
    EXPECT_EQ(E->Keys().Contains(kTab), C.TabKey);
    EXPECT_EQ(E->Keys().Contains(kAll), C.Inplace);
    EXPECT_EQ(E->InnerEdit() != nullptr, C.InnerEdit);
    EXPECT_EQ(E->InnerControl() != nullptr, C.InnerEdit);
    EXPECT_TRUE(E->GetStyle()->Is<TcxEditStyle>());
    EXPECT_EQ(E->GetEditStyle()->GetEdit(), E.get());
    // Only standalone editors stand on the default controller.
    EXPECT_EQ(E->GetStyle()->GetActiveStyleController() == DefaultEditStyleController(),
              !C.Inplace);
    EXPECT_EQ(E->GetEditViewInfo()->GetEdit(), E.get());
    EXPECT_TRUE(E->ControlStyle().Contains(csActionClient));
  }
}

TEST(EditControl, StyleAssignedValuesArePublishedAndNeverStored) {
  TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
  TcxCustomEditStyle* S = E->GetEditStyle();
  S->SetButtonStyle(btsFlat);
  S->SetColor(clRed);
  const TPropInfo* AInfo = GetPropInfo(S, L"AssignedValues");
  ASSERT_NE(AInfo, nullptr);
  EXPECT_FALSE(IsStoredProp(S, AInfo));
  EXPECT_EQ(GetOrdProp(S, AInfo), (1 << csvColor) | (1 << svButtonStyle));
}

TEST(EditControl, TransparentPropertiesMakeAStandaloneEditorTransparent) {
  struct TCase {
    bool Inplace;
    bool TransparentBackground;
  } const Cases[] = {{false, true}, {true, false}};
  for (const TCase& C : Cases) {
    TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, C.Inplace));
    ASSERT_FALSE(E->Transparent());
    E->GetProperties()->SetTransparent(true);
    EXPECT_TRUE(E->Transparent());
    EXPECT_TRUE(E->ControlStyle().Contains(csParentBackground));
    EXPECT_FALSE(E->ControlStyle().Contains(csOpaque));
    EXPECT_EQ(E->IsTransparentBackground(), C.TransparentBackground);
  }
}

TEST(EditControl, PropertiesMakeTheirEditors) {
  TOwned<TValidatingProperties> P = MakeOwned<TValidatingProperties>(nullptr);
  EXPECT_EQ(P->GetContainerClass().Class, TTestEdit::StaticClass());
  EXPECT_EQ(cxGetContainerClass(TOtherProperties::StaticClass()).Class, TBareEdit::StaticClass());
  TOwned<TcxCustomEdit> E(P->GetContainerClass().Create(nullptr, true));
  EXPECT_TRUE(E->Is<TTestEdit>());
  EXPECT_TRUE(E->IsInplace());
  TOwned<TcxCustomEditViewData> V(P->CreateViewData(E->GetEditStyle(), true, true));
  EXPECT_TRUE(V->PreviewMode);
  EXPECT_TRUE(V->IsInplace());
  EXPECT_EQ(V->GetProperties(), P.get());
  EXPECT_THROW(cxGetContainerClass(TObject::StaticClass()), EcxEditError);
}

// ---------------------------------------------------------------------------
// Change events

TEST(EditControl, LockedChangesFireOnceAtUnlock) {
  struct TCase {
    bool InvokeOnUnlock;
    Integer Changes;
    Integer EditValueChanges;
  } const Cases[] = {{true, 1, 1}, {false, 0, 0}};
  // On a form: the inner EDIT reports its text changes from its window.
  TOwned<TCustomForm> F(CreateForm(200, 60));
  for (const TCase& C : Cases) {
    TRecorder R;
    TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
    E->SetParent(F.get());
    R.Attach(E.get());
    E->LockChangeEvents(true);
    for (Integer I = 0; I < 10; ++I) E->SetEditValue(Variant(I));
    EXPECT_EQ(R.Changes, 0);
    E->LockChangeEvents(false, C.InvokeOnUnlock);
    EXPECT_EQ(R.Changes, C.Changes);
    EXPECT_EQ(R.EditValueChanges, C.EditValueChanges);
    // What was caught and not fired is forgotten by the next lock.
    E->LockChangeEvents(true);
    E->LockChangeEvents(false);
    EXPECT_EQ(R.Changes, C.Changes);
  }
}

TEST(EditControl, EqualValuesFireNoEvent) {
  TRecorder R;
  TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
  R.Attach(E.get());
  E->SetEditValue(Variant(L"a"));
  E->SetEditValue(Variant(L"a"));
  EXPECT_EQ(R.EditValueChanges, 1);
  EXPECT_FALSE(E->Modified());
}

// ---------------------------------------------------------------------------
// Validation and posting without a form

TEST(EditControl, ValidationErrorsTable) {
  struct TCase {
    TErrorMode Mode;
    bool Raise;
    bool Throws;
    bool Result;
  } const Cases[] = {
      {TErrorMode::None, true, false, true},
      {TErrorMode::DefaultText, true, true, false},
      {TErrorMode::DefaultText, false, false, false},
      {TErrorMode::EmptyText, true, false, false},
  };
  for (const TCase& C : Cases) {
    TRecorder R;
    R.ErrorMode = C.Mode;
    TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
    R.Attach(E.get());
    bool AResult = true;
    if (C.Throws) {
      try {
        E->ValidateEdit(C.Raise);
        ADD_FAILURE() << "no validation error";
      } catch (const EcxEditValidationError& X) {
        EXPECT_EQ(X.Message(), L"Invalid input value. Use escape key to abandon changes");
      }
      AResult = false;
    } else {
      AResult = E->ValidateEdit(C.Raise);
    }
    EXPECT_EQ(AResult, C.Result);
    EXPECT_EQ(E->ValidationError(), !C.Result);
    EXPECT_EQ(R.Validations, 1);
  }
}

TEST(EditControl, UnchangedEditorAnswersItsLastErrorWithoutValidating) {
  TRecorder R;
  R.ErrorMode = TErrorMode::DefaultText;
  TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
  R.Attach(E.get());
  EXPECT_FALSE(E->ValidateEdit(false));
  R.ErrorMode = TErrorMode::None;
  // Not forced and not modified since enter: the last state, no handler.
  EXPECT_FALSE(E->Deactivate());
  EXPECT_EQ(R.Validations, 1);
  // Forced: the handler runs again.
  EXPECT_TRUE(E->ValidateEdit(false));
  EXPECT_EQ(R.Validations, 2);
}

TEST(EditControl, InplacePostingFailureReachesTheApplicationAndKeepsTheValue) {
  struct TCase {
    bool Aborts;
    size_t Messages;
  } const Cases[] = {{false, 1}, {true, 0}};
  for (const TCase& C : Cases) {
    TRecorder R;
    R.PostRaises = !C.Aborts;
    R.PostAborts = C.Aborts;
    TApplicationExceptions AHandler(R);
    TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, true));
    R.Attach(E.get());
    E->SetValidatableEditValue(Variant(L"kept"));
    ASSERT_TRUE(E->Modified());
    EXPECT_NO_THROW(E->PostEditValue());
    EXPECT_EQ(R.Posts, 1);
    EXPECT_EQ(R.Messages.size(), C.Messages);
    EXPECT_TRUE(E->Modified());
    EXPECT_EQ(VarToStr(E->GetEditValue()), L"kept");
  }
}

TEST(EditControl, InplacePostingClearsModified) {
  TRecorder R;
  TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, true));
  R.Attach(E.get());
  E->SetValidatableEditValue(Variant(L"x"));
  E->PostEditValue();
  EXPECT_EQ(R.Posts, 1);
  EXPECT_FALSE(E->Modified());
}

// ---------------------------------------------------------------------------
// In-place editor list

TEST(InplaceEditList, EditorsPerPropertiesAndReuse) {
  TOwned<TValidatingProperties> P = MakeOwned<TValidatingProperties>(nullptr);
  TOwned<TValidatingProperties> Q = MakeOwned<TValidatingProperties>(nullptr);
  TOwned<TOtherProperties> O = MakeOwned<TOtherProperties>(nullptr);
  P->SetClearKey(ShortCut(VK_DELETE, TShiftState{ssCtrl}));
  {
    TcxInplaceEditList L(nullptr);
    EXPECT_EQ(cxInplaceEditListCount(), 1);
    TcxCustomEdit* EP = L.GetEdit(P.get());
    EXPECT_TRUE(EP->Is<TTestEdit>());
    EXPECT_TRUE(EP->IsInplace());
    EXPECT_FALSE(EP->Visible());
    EXPECT_EQ(EP->GetProperties()->GetClearKey(), P->GetClearKey());
    EXPECT_EQ(L.GetEdit(P.get()), EP);
    EXPECT_EQ(L.Count(), 1);
    // A freed slot is claimed by other properties of the class.
    L.DisconnectProperties(P.get());
    EXPECT_EQ(L.FindEdit(P.get()), nullptr);
    EXPECT_EQ(L.FindEdit(TValidatingProperties::StaticClass()), EP);
    EXPECT_EQ(L.GetEdit(Q.get()), EP);
    EXPECT_EQ(L.GetEdit(Q.get())->GetProperties()->GetClearKey(), 0);
    // Another class makes another editor.
    TcxCustomEdit* EO = L.GetEdit(O.get());
    EXPECT_NE(EO, EP);
    EXPECT_TRUE(EO->Is<TBareEdit>());
    EXPECT_EQ(L.Count(), 2);
    // Destroying properties frees only the slot.
    O.reset();
    EXPECT_EQ(L.Count(), 2);
    EXPECT_EQ(L.FindEdit(TOtherProperties::StaticClass()), EO);
    L.RemoveItem(TOtherProperties::StaticClass());
    L.RemoveItem(P.get());  // no item: nothing
    EXPECT_EQ(L.Count(), 1);
    EXPECT_EQ(L.GetEdit(TValidatingProperties::StaticClass()) != EP, true);
    EXPECT_EQ(L.Count(), 2);
  }
  EXPECT_EQ(cxInplaceEditListCount(), 0);
  TcxInplaceEditList L2(nullptr);
  EXPECT_EQ(cxInplaceEditListCount(), 1);
}

TEST(InplaceEditList, EditorsFreedByTheirOwnerLeaveTheList) {
  TOwned<TValidatingProperties> P = MakeOwned<TValidatingProperties>(nullptr);
  TOwned<TComponent> AOwner = MakeOwned<TComponent>(nullptr);
  TcxInplaceEditList L(AOwner.get());
  TcxCustomEdit* E = L.GetEdit(P.get());
  EXPECT_EQ(E->Owner(), AOwner.get());
  AOwner.reset();
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(L.FindEdit(P.get()), nullptr);
  // A new editor is made, without the freed owner, not the freed one handed
  // out.
  TcxCustomEdit* ANew = L.GetEdit(P.get());
  EXPECT_EQ(ANew->Owner(), nullptr);
  EXPECT_EQ(L.Count(), 1);
}

TEST(InplaceEditList, EveryGetInitialisesFromTheProperties) {
  TOwned<TValidatingProperties> P = MakeOwned<TValidatingProperties>(nullptr);
  TcxInplaceEditList L(nullptr);
  TcxCustomEdit* E = L.GetEdit(P.get());
  EXPECT_EQ(E->GetProperties()->GetClearKey(), 0);
  P->SetClearKey(ShortCut(VK_F2, TShiftState()));
  EXPECT_EQ(E->GetProperties()->GetClearKey(), 0);
  EXPECT_EQ(L.GetEdit(P.get()), E);
  EXPECT_EQ(E->GetProperties()->GetClearKey(), P->GetClearKey());
  // A bare class lookup neither claims nor initialises.
  EXPECT_EQ(L.FindEdit(TValidatingProperties::StaticClass()), nullptr);
}

// ---------------------------------------------------------------------------
// In-place activation and size

class EditActivation : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(300, 120));
    E = Create<TRecordingEdit>(Form.get(), true);
    E->SetParent(Form.get());
    E->SetBounds(20, 30, 150, 24);
    E->SetVisible(false);
  }
  TOwned<TCustomForm> Form;
  TRecordingEdit* E = nullptr;
  TcxCustomEditData* Data = nullptr;
};

TEST_F(EditActivation, ClickActivationSendsThePressAndASecondClickIsADoubleClick) {
  E->SetValidatableEditValue(Variant(L"v"));
  E->ActivateByMouse(TShiftState{ssLeft}, 20 + 7, 30 + 9, Data);
  EXPECT_TRUE(E->Visible());
  EXPECT_TRUE(E->Focused());
  EXPECT_FALSE(E->Modified());
  ASSERT_EQ(E->MouseDowns.size(), 1u);
  EXPECT_EQ(E->MouseDowns[0].x, 7);
  EXPECT_EQ(E->MouseDowns[0].y, 9);
  EXPECT_EQ(E->DblClicks, 0);
  // A real click on the editor's own window (its left border) while the
  // double-click time runs.
  POINT P{0, 12};
  ClientToScreen(E->Handle(), &P);
  ControlsTest::SendMouse(MOUSEEVENTF_LEFTDOWN, P);
  ControlsTest::SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(ControlsTest::PumpUntilWithoutTimers([&] { return E->MouseDowns.size() == 2; }));
  EXPECT_EQ(E->DblClicks, 1);
}

TEST_F(EditActivation, ReleaseActivationSendsNoPress) {
  E->ActivateByMouse(TShiftState(), 27, 39, Data);
  ControlsTest::ProcessMessages();
  EXPECT_TRUE(E->MouseDowns.empty());
}

TEST_F(EditActivation, KeyActivationTypesTheKey) {
  E->ActivateByKey(L'k', Data);
  EXPECT_TRUE(E->Focused());
  EXPECT_EQ(E->Text(), L"k");
}

TEST_F(EditActivation, EditDataIsMadeOnceAndInitialisedWhenCleared) {
  E->WithEditData = true;
  E->Activate(Data, false);
  ASSERT_NE(Data, nullptr);
  TOwned<TcxCustomEditData> AOwned(Data);
  EXPECT_EQ(Data->Edit(), E);
  EXPECT_EQ(E->EditDataInits, 1);
  EXPECT_FALSE(Data->Cleared());
  TcxCustomEditData* ASame = Data;
  E->Activate(Data, false);
  EXPECT_EQ(Data, ASame);
  EXPECT_EQ(E->EditDataInits, 1);
  Data->Clear();
  E->Activate(Data, false);
  EXPECT_EQ(E->EditDataInits, 2);
  // The data outlives its editor without keeping a dangling reference.
  Form.reset();
  EXPECT_EQ(Data->Edit(), nullptr);
}

TEST(EditSize, AutoWidthKeepsTheAnchor) {
  struct TCase {
    TAlignment Horz;
    const wchar_t* Value;
  } const Cases[] = {{taCenter, L"abcd"}, {taCenter, L"abcde"}, {taRightJustify, L"abcde"}};
  TOwned<TCustomForm> F(CreateForm(400, 100));
  for (const TCase& C : Cases) {
    TAnchoredEdit* E = Create<TAnchoredEdit>(F.get(), false);
    TOwned<TAnchoredEdit> AOwned(E);
    E->SetParent(F.get());
    E->GetProperties()->SetButtonsViewStyle(bvsButtonsAutoWidth);
    E->GetProperties()->GetAlignment()->SetHorz(C.Horz);
    E->SetBounds(100, 10, 41, 20);
    E->SetEditValue(Variant(L"ab"));
    E->ShortRefreshContainer(false);
    ASSERT_EQ(E->Width(), 21);
    const double ACentre = E->Left() + E->Width() / 2.0;
    const Integer ARight = E->Left() + E->Width();
    E->SetEditValue(Variant(C.Value));
    E->ShortRefreshContainer(false);
    SCOPED_TRACE(testing::Message() << C.Value << " " << C.Horz);
    EXPECT_EQ(E->Width(), 10 * static_cast<Integer>(wcslen(C.Value)) + 1);
    if (C.Horz == taCenter)
      EXPECT_LE(std::abs(E->Left() + E->Width() / 2.0 - ACentre), 1.0);
    else
      EXPECT_EQ(E->Left() + E->Width(), ARight);
  }
}

TEST(EditControl, ClipboardMessagesAreGated) {
  struct TCase {
    bool ReadOnly;
    bool AllowEditing;
    Integer Copies, Cuts, Pastes;
  } const Cases[] = {{false, true, 1, 1, 1}, {false, false, 2, 0, 0}, {true, true, 1, 0, 0}};
  TOwned<TCustomForm> F(CreateForm(200, 60));
  for (const TCase& C : Cases) {
    TOwned<TClipboardEdit> E(Create<TClipboardEdit>(nullptr, false));
    E->SetParent(F.get());
    E->SetBounds(10, 10, 150, 24);
    E->SetOnEditing(MakeEvent<&TClipboardEdit::Editing>(E.get()));
    E->AllowEditing = C.AllowEditing;
    E->GetProperties()->SetReadOnly(C.ReadOnly);
    E->SetFocus();
    E->Perform(WM_COPY);
    E->Perform(WM_CUT);
    E->Perform(WM_PASTE);
    SCOPED_TRACE(testing::Message() << C.ReadOnly << C.AllowEditing);
    EXPECT_EQ(E->Copies, C.Copies);
    EXPECT_EQ(E->Cuts, C.Cuts);
    EXPECT_EQ(E->Pastes, C.Pastes);
  }
}

TEST(EditControl, ButtonClickHandlersRunWithoutUserAction) {
  TOwned<TButtonEdit> E(Create<TButtonEdit>(nullptr, false));
  E->GetProperties()->SetOnButtonClick(MakeEvent<&TButtonEdit::ButtonClick>(E.get()));
  E->BeginUserAction();
  E->DoButtonClick(2);
  E->EndUserAction();
  EXPECT_EQ(E->Clicks, std::vector<Integer>{2});
  EXPECT_FALSE(E->UserActionInHandler);
  // A value set from a handler is not the user's: nothing modified.
  EXPECT_EQ(VarToStr(E->GetEditValue()), L"from button");
  EXPECT_FALSE(E->Modified());
}

TEST(EditControl, HintsByPart) {
  TOwned<TCustomForm> F(CreateForm(200, 60));
  TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
  E->SetParent(F.get());
  E->SetBounds(10, 10, 150, 24);
  E->SetHint(L"Short|Long");
  E->SetShowHint(true);
  E->ShortRefreshContainer(false);
  struct TCase {
    TPoint P;
    LRESULT Result;
    const wchar_t* Hint;
  } const Cases[] = {{{5, 5}, 0, L"Short"}, {{-5, 5}, 1, L""}, {{200, 5}, 1, L""}};
  for (const TCase& C : Cases) {
    THintInfo AInfo;
    AInfo.CursorPos = C.P;
    EXPECT_EQ(E->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&AInfo)), C.Result);
    EXPECT_EQ(AInfo.HintStr, C.Hint);
  }
}

TEST(EditSize, AnchorsAreWrittenAndReadAndRescaled) {
  TOwned<TAnchoredEdit> E(Create<TAnchoredEdit>(nullptr, false));
  E->SetBounds(100, 10, 41, 20);
  TOwned<TMemoryStream> Bin = MakeOwned<TMemoryStream>();
  WriteComponentToStream(Bin.get(), E.get());
  Bin->SetPosition(0);
  TOwned<TMemoryStream> Text = MakeOwned<TMemoryStream>();
  ObjectBinaryToText(Bin.get(), Text.get());
  const std::string AText(static_cast<const char*>(Text->Memory()),
                          static_cast<size_t>(Text->Size()));
  // Writing calculates the anchor from the bounds first.
  EXPECT_NE(AText.find("AnchorX = 141"), std::string::npos) << AText;
  EXPECT_EQ(AText.find("AnchorY"), std::string::npos);
  struct TCase {
    bool Read;
    Integer Expected;
  } const Cases[] = {{true, MulDiv(141, 144, 96)}, {false, E->AnchorX()}};
  for (const TCase& C : Cases) {
    TOwned<TAnchoredEdit> R(Create<TAnchoredEdit>(nullptr, false));
    if (C.Read) {
      Bin->SetPosition(0);
      ReadComponentFromStream(Bin.get(), R.get());
    }
    const Integer ABefore = R->AnchorX();
    R->ChangeScale(144, 96);
    EXPECT_EQ(R->AnchorX(), C.Read ? C.Expected : ABefore);
    // Read or not, the editor hears its properties again.
    EXPECT_TRUE(static_cast<bool>(R->GetProperties()->OnPropertiesChanged()));
  }
}

// ---------------------------------------------------------------------------
// Real input on a form

class EditInput : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(300, 120));
    A = MakeEdit(10);
    B = MakeEdit(40);
    R.Attach(A);
    B->OnEnter = MakeEvent<&TRecorder::Enter>(&R);
    A->SetFocus();
    ASSERT_TRUE(PumpApplicationUntil([&] { return A->Focused(); }));
  }
  void TearDown() override { Form.reset(); }

  TTestEdit* MakeEdit(Integer ATop) {
    TTestEdit* E = Create<TTestEdit>(Form.get(), false);
    E->SetParent(Form.get());
    E->SetBounds(10, ATop, 200, 24);
    return E;
  }
  static void Press(WORD AKey, bool AShift = false) {
    if (AShift) SendKey(VK_SHIFT, false);
    SendKey(AKey, false);
    SendKey(AKey, true);
    if (AShift) SendKey(VK_SHIFT, true);
  }
  // Types AText into A, whose text is then AResult (A's text with AText
  // appended when none is given).
  void Type(const wchar_t* AText, const wchar_t* AResult = nullptr) {
    const String AExpected = AResult ? String(AResult) : A->Text() + AText;
    for (const wchar_t* C = AText; *C; ++C) Press(static_cast<WORD>(VkKeyScanW(*C) & 0xFF));
    ASSERT_TRUE(PumpApplicationUntil([&] { return A->Text() == AExpected; }));
  }
  bool Settle() {
    return PumpApplicationUntil([] { return GetQueueStatus(QS_ALLINPUT) == 0; });
  }

  TOwned<TCustomForm> Form;
  TTestEdit* A = nullptr;
  TTestEdit* B = nullptr;
  TRecorder R;
};

TEST_F(EditInput, TabAndShiftTabMoveBetweenEditors) {
  Type(L"ab");
  EXPECT_TRUE(A->ModifiedAfterEnter());
  Press(VK_TAB);
  ASSERT_TRUE(PumpApplicationUntil([&] { return B->Focused(); }));
  EXPECT_EQ(R.Validations, 1);
  EXPECT_EQ(VarToStr(A->GetEditValue()), L"ab");
  EXPECT_FALSE(A->ModifiedAfterEnter());
  Press(VK_TAB, true);
  ASSERT_TRUE(PumpApplicationUntil([&] { return A->Focused(); }));
  EXPECT_EQ(R.Enters, 1);
}

TEST_F(EditInput, EnterValidatesWhenAsked) {
  A->GetProperties()->SetValidateOnEnter(true);
  Type(L"xy");
  Press(VK_RETURN);
  ASSERT_TRUE(PumpApplicationUntil([&] { return R.Validations == 1; }));
  EXPECT_EQ(R.ValidatedValues.back(), L"xy");
  EXPECT_EQ(VarToStr(A->GetEditValue()), L"xy");
  EXPECT_TRUE(A->Focused());
}

TEST_F(EditInput, EnterWithoutValidateOnEnterDoesNotValidate) {
  Type(L"xy");
  Press(VK_RETURN);
  Settle();
  EXPECT_EQ(R.Validations, 0);
  EXPECT_TRUE(VarIsNull(A->GetEditValue()));
}

TEST_F(EditInput, EscapeRestoresTheValueAtEnter) {
  A->SetEditValue(Variant(L"start"));
  Press(VK_TAB);
  ASSERT_TRUE(PumpApplicationUntil([&] { return B->Focused(); }));
  Press(VK_TAB, true);
  ASSERT_TRUE(PumpApplicationUntil([&] { return A->Focused(); }));
  // Tabbing in selected the text: the key replaces it.
  Type(L"q", L"q");
  Press(VK_ESCAPE);
  ASSERT_TRUE(PumpApplicationUntil([&] { return A->Text() == L"start"; }));
  Settle();
  EXPECT_EQ(VarToStr(A->GetEditValue()), L"start");
  EXPECT_TRUE(A->Modified());
  EXPECT_FALSE(A->ModifiedAfterEnter());
  // The escape character that followed the key was swallowed, not typed.
  EXPECT_EQ(A->Text(), L"start");
  // Esc with nothing changed does nothing.
  Press(VK_ESCAPE);
  Settle();
  EXPECT_EQ(A->Text(), L"start");
}

TEST_F(EditInput, ClearKeyClearsTheValue) {
  A->GetProperties()->SetClearKey(ShortCut(VK_DELETE, TShiftState{ssCtrl}));
  A->SetEditValue(Variant(L"full"));
  SendKey(VK_CONTROL, false);
  Press(VK_DELETE);
  SendKey(VK_CONTROL, true);
  ASSERT_TRUE(PumpApplicationUntil([&] { return VarIsNull(A->GetEditValue()); }));
  EXPECT_EQ(A->Text(), L"");
  EXPECT_TRUE(A->IsEditValidated());
}

TEST_F(EditInput, FailedValidationOnExitKeepsTheFocusWithOneMessage) {
  struct TCase {
    TErrorMode Mode;
    size_t Messages;
  } const Cases[] = {{TErrorMode::DefaultText, 1}, {TErrorMode::EmptyText, 0}};
  for (const TCase& C : Cases) {
    TRecorder Q;
    Q.ErrorMode = C.Mode;
    Q.Attach(A);
    TApplicationExceptions AHandler(Q);
    TBeepCounter ABeeps;
    A->GetProperties()->SetBeepOnError(true);
    A->SelectAll();
    Type(L"z", L"z");
    Press(VK_TAB);
    ASSERT_TRUE(PumpApplicationUntil([&] { return Q.Validations == 1; }));
    Settle();
    EXPECT_TRUE(A->Focused());
    EXPECT_FALSE(B->Focused());
    EXPECT_EQ(R.Enters, 0);
    EXPECT_EQ(Form->ActiveControl(), A->InnerControl());
    ASSERT_EQ(Q.Messages.size(), C.Messages);
    if (C.Messages)
      EXPECT_EQ(Q.Messages[0], L"Invalid input value. Use escape key to abandon changes");
    EXPECT_EQ(TBeepCounter::Count, 1);
    EXPECT_TRUE(A->ValidationError());
    // Leaving again validates again: the refused value does not slip out.
    Press(VK_TAB);
    ASSERT_TRUE(PumpApplicationUntil([&] { return Q.Validations == 2; }));
    Settle();
    EXPECT_TRUE(A->Focused());
    EXPECT_EQ(R.Enters, 0);
    EXPECT_EQ(Q.Messages.size(), 2 * C.Messages);
    R.Attach(A);
  }
}

TEST_F(EditInput, AnInstalledSpellCheckerHearsTheEditor) {
  TRecordingSpellChecker Checker(true);
  TInstalledScope Installed(static_cast<IdxSpellChecker*>(&Checker));
  Type(L"a");
  ASSERT_TRUE(PumpApplicationUntil([&] { return Checker.Log.size() >= 3; }));
  const std::vector<std::string> ATyped{"KeyDown 65", "KeyPress a", "KeyUp 65"};
  EXPECT_EQ(Checker.Log, ATyped);
  Press(VK_TAB);
  ASSERT_TRUE(PumpApplicationUntil([&] { return B->Focused(); }));
  Settle();
  // Leaving A, then B taken: B's inner control is the one being checked.
  ASSERT_GE(Checker.Log.size(), 5u);
  EXPECT_EQ(Checker.Log[3], "FocusLost");
  EXPECT_EQ(Checker.Log[4], "FocusGained");
  ASSERT_EQ(Checker.Controls.size(), 1u);
  EXPECT_EQ(Checker.Controls[0], B->InnerControl());
}

TEST(EditKeys, ClickKeyClicksTheDefaultButtonAndDropsItsCharacter) {
  TOwned<TCustomForm> F(CreateForm(300, 80));
  TDefaultButtonEdit* E = Create<TDefaultButtonEdit>(F.get(), false);
  E->SetParent(F.get());
  E->SetBounds(10, 10, 200, 24);
  E->SetFocus();
  ASSERT_TRUE(PumpApplicationUntil([&] { return E->Focused(); }));
  // Ctrl+Enter is the click key; a plain character after it still arrives.
  SendKey(VK_CONTROL, false);
  SendKey(VK_RETURN, false);
  SendKey(VK_RETURN, true);
  SendKey(VK_CONTROL, true);
  SendKey('M', false);
  SendKey('M', true);
  ASSERT_TRUE(PumpApplicationUntil([&] { return !E->Chars.empty(); }));
  EXPECT_EQ(E->DefaultClicks, 1);
  EXPECT_EQ(E->Chars, std::vector<Char>{L'm'});
}

TEST(EditKeys, ARejectedCharacterBeepsWhateverBeepOnErrorSays) {
  TOwned<TCustomForm> F(CreateForm(300, 80));
  TLettersEdit* E = Create<TLettersEdit>(F.get(), false);
  E->SetParent(F.get());
  E->SetBounds(10, 10, 200, 24);
  ASSERT_FALSE(E->GetProperties()->GetBeepOnError());
  E->SetFocus();
  ASSERT_TRUE(PumpApplicationUntil([&] { return E->Focused(); }));
  TBeepCounter ABeeps;
  for (WORD AKey : {WORD('7'), WORD('X')}) {
    SendKey(AKey, false);
    SendKey(AKey, true);
  }
  ASSERT_TRUE(PumpApplicationUntil([&] { return E->Text() == L"x"; }));
  EXPECT_EQ(TBeepCounter::Count, 1);
}

TEST_F(EditInput, AllowLoseFocusLetsTheFocusGo) {
  R.ErrorMode = TErrorMode::EmptyText;
  A->GetProperties()->SetValidationOptions(TcxEditValidationOptions{evoAllowLoseFocus});
  Type(L"z");
  Press(VK_TAB);
  ASSERT_TRUE(PumpApplicationUntil([&] { return B->Focused(); }));
  EXPECT_TRUE(A->ValidationError());
  EXPECT_EQ(R.Enters, 1);
}

// A modal form closed by its OK button validates its focused editor once
// more; closed by Cancel it does not.
class TModalDriver : public TObject {
 public:
  TTestEdit* Edit = nullptr;
  WORD CloseKey = VK_RETURN;
  Integer Step = 0;
  void Tick(TObject*) {
    if (Step++ != 0) return;
    Edit->SetFocus();
    SendKey('K', false);
    SendKey('K', true);
    SendKey(CloseKey, false);
    SendKey(CloseKey, true);
  }
};

TEST(EditModal, OkValidatesCancelDoesNot) {
  struct TCase {
    WORD Key;
    TModalResult Result;
    Integer Validations;
  } const Cases[] = {{VK_RETURN, mrOk, 1}, {VK_ESCAPE, mrCancel, 0}};
  for (const TCase& C : Cases) {
    TOwned<TCustomForm> F(Create<TForm>(nullptr, true));
    F->SetBounds(0, 0, 300, 150);
    TTestEdit* E = Create<TTestEdit>(F.get(), false);
    E->SetParent(F.get());
    E->SetBounds(10, 10, 200, 24);
    for (auto [Caption, Result] : {std::pair{L"OK", mrOk}, std::pair{L"Cancel", mrCancel}}) {
      TButton* Btn = Create<TButton>(F.get());
      Btn->SetParent(F.get());
      Btn->SetBounds(Result == mrOk ? 10 : 100, 60, 80, 25);
      Btn->SetTextProp(Caption);
      Btn->SetModalResult(Result);
      Btn->SetTabStop(false);
      if (Result == mrOk)
        Btn->SetDefault(true);
      else
        Btn->SetCancel(true);
    }
    TRecorder R;
    R.Attach(E);
    TModalDriver D;
    D.Edit = E;
    D.CloseKey = C.Key;
    TOwned<TcxTimer> T(Create<TcxTimer>(nullptr));
    T->SetInterval(50);
    T->SetOnTimer(MakeEvent<&TModalDriver::Tick>(&D));
    EXPECT_EQ(F->ShowModal(), C.Result);
    T->SetEnabled(false);
    EXPECT_EQ(R.Validations, C.Validations);
  }
}

}  // namespace

// Counts the property changes its editor hears of.
class TCountingEdit : public TTestEdit {
  DECLARE_CLASS(TCountingEdit, TTestEdit)
 public:
  using TTestEdit::TTestEdit;
  Integer Changes = 0;

 protected:
  void PropertiesChanged(TObject* Sender) override {
    ++Changes;
    TTestEdit::PropertiesChanged(Sender);
  }
};
IMPLEMENT_CLASS(TCountingEdit)

TEST(EditDataBinding, AnswersFollowTheEditorsModifiedAfterEnterFlag) {
  for (const bool AModified : {false, true}) {
    SCOPED_TRACE(testing::Message() << "modified after enter " << AModified);
    TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
    E->SetModifiedAfterEnter(AModified);
    TcxEditDataBinding* B = E->DataBinding();
    EXPECT_EQ(B->GetModified(), AModified);
    EXPECT_EQ(B->GetEditing(), AModified);
    EXPECT_EQ(B->CanPostEditorValue(), AModified);
    EXPECT_EQ(B->CanCheckEditorValue(), !AModified);
    EXPECT_FALSE(B->IsNull());
    EXPECT_TRUE(B->CanModify());
    EXPECT_TRUE(B->GetIsDataAvailable());
    EXPECT_FALSE(B->IsInnerControlHaveToBeReadOnly());
    EXPECT_FALSE(B->IsDataStorage());
    EXPECT_FALSE(B->ExecuteAction(nullptr));
    EXPECT_FALSE(B->UpdateAction(nullptr));
    EXPECT_EQ(B->GetOwner(), E.get());
  }
}

TEST(EditDataBinding, KeepsNoValueOfItsOwn) {
  TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
  E->SetEditValue(Variant(String(L"kept")));
  E->DataBinding()->SetStoredValue(Variant(String(L"other")));
  EXPECT_EQ(VarToStr(E->DataBinding()->GetStoredValue()), String(L"kept"));
  EXPECT_EQ(VarToStr(E->GetEditValue()), String(L"kept"));
}

TEST(EditDataBinding, EditModeAndModifiedSetTheFlag) {
  TOwned<TTestEdit> E(Create<TTestEdit>(nullptr, false));
  // Not focused: a modification reported by the binding does not count.
  E->DataBinding()->SetModified();
  EXPECT_FALSE(E->ModifiedAfterEnter());
  EXPECT_TRUE(E->DataBinding()->SetEditMode());
  EXPECT_TRUE(E->ModifiedAfterEnter());
}

TEST(EditDataBinding, StandaloneEditorsTakeTheBindingsProvider) {
  TOwned<TTestEdit> S(Create<TTestEdit>(nullptr, false));
  TOwned<TTestEdit> I(Create<TTestEdit>(nullptr, true));
  ASSERT_NE(S->DataBinding()->GetDefaultValuesProvider(), nullptr);
  EXPECT_EQ(S->GetProperties()->GetIDefaultValuesProvider(),
            S->DataBinding()->GetIDefaultValuesProvider());
  EXPECT_EQ(I->GetProperties()->GetIDefaultValuesProvider(), nullptr);
}

TEST(EditDataBinding, DefaultValuesChangedReachesTheEditorOnce) {
  TOwned<TCountingEdit> E(Create<TCountingEdit>(nullptr, false));
  E->Changes = 0;
  E->DataBinding()->DefaultValuesChanged();
  EXPECT_EQ(E->Changes, 1);
}

// ---------------------------------------------------------------------------
// Repository items shared by editors

namespace {

template <class TProperties>
class TPropertiesItem : public TcxEditRepositoryItem {
  DECLARE_CLASS_INLINE(TPropertiesItem, TcxEditRepositoryItem)
 public:
  using TcxEditRepositoryItem::TcxEditRepositoryItem;

 protected:
  TClass GetEditPropertiesClass() override { return TProperties::StaticClass(); }
};

template <class TProperties>
TOwned<TcxEditRepositoryItem> NewItem() {
  return TOwned<TcxEditRepositoryItem>(Create<TPropertiesItem<TProperties>>(nullptr));
}

struct TItemEvents {
  Integer Changes = 0;
  Integer Validations = 0;
  void Change(TObject*) { ++Changes; }
  void Validate(TObject*, Variant&, String&, bool&) { ++Validations; }
};

}  // namespace

TEST(EditRepositoryItem, OnlyItemsWithCompatiblePropertiesAreAccepted) {
  struct TCase {
    const char* Name;
    TOwned<TcxEditRepositoryItem> (*Make)();
    bool ForTestEdit;
    bool ForBareEdit;
  } const Cases[] = {
      {"same class", &NewItem<TValidatingProperties>, true, true},
      {"base class", &NewItem<TcxCustomEditProperties>, false, true},
      {"other class", &NewItem<TOtherProperties>, false, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TcxEditRepositoryItem> Item = C.Make();
    TOwned<TTestEdit> T(Create<TTestEdit>(nullptr, false));
    TOwned<TBareEdit> B(Create<TBareEdit>(nullptr, false));
    EXPECT_EQ(T->IsRepositoryItemAcceptable(Item.get()), C.ForTestEdit);
    EXPECT_EQ(B->IsRepositoryItemAcceptable(Item.get()), C.ForBareEdit);
    if (C.ForTestEdit) {
      T->SetRepositoryItem(Item.get());
      EXPECT_EQ(T->GetActiveProperties(), Item->GetProperties());
      EXPECT_EQ(Item->ListenerCount(), 1);
      // The same item again changes nothing.
      T->SetRepositoryItem(Item.get());
      EXPECT_EQ(Item->ListenerCount(), 1);
    } else {
      EXPECT_THROW(T->SetRepositoryItem(Item.get()), EcxEditError);
      EXPECT_EQ(T->GetRepositoryItem(), nullptr);
      EXPECT_EQ(T->GetActiveProperties(), T->GetProperties());
      EXPECT_EQ(Item->ListenerCount(), 0);
    }
    B->SetRepositoryItem(Item.get());
    EXPECT_EQ(B->GetRepositoryItem(), Item.get());
    // Unassigned, the editor's own properties are active again.
    B->SetRepositoryItem(nullptr);
    EXPECT_EQ(B->GetActiveProperties(), B->GetProperties());
    EXPECT_EQ(B->GetProperties()->GetIDefaultValuesProvider(),
              B->DataBinding()->GetIDefaultValuesProvider());
  }
}

TEST(EditRepositoryItem, AFreedItemLeavesItsEditorsOnTheirOwnProperties) {
  TOwned<TcxEditRepositoryItem> Item = NewItem<TValidatingProperties>();
  TOwned<TTestEdit> A(Create<TTestEdit>(nullptr, false));
  TOwned<TTestEdit> B(Create<TTestEdit>(nullptr, false));
  A->SetRepositoryItem(Item.get());
  B->SetRepositoryItem(Item.get());
  ASSERT_EQ(Item->ListenerCount(), 2);
  // An editor freed first leaves the item's list.
  B.reset();
  EXPECT_EQ(Item->ListenerCount(), 1);
  Item.reset();
  EXPECT_EQ(A->GetRepositoryItem(), nullptr);
  EXPECT_EQ(A->GetActiveProperties(), A->GetProperties());
  // The own properties report to the editor again and have its provider.
  EXPECT_TRUE(static_cast<bool>(A->GetProperties()->OnPropertiesChanged()));
  EXPECT_EQ(A->GetProperties()->GetIDefaultValuesProvider(),
            A->DataBinding()->GetIDefaultValuesProvider());
}

TEST(EditRepositoryItem, TheItemsChangesAndEventsReachTheEditor) {
  TOwned<TcxEditRepositoryItem> Item = NewItem<TValidatingProperties>();
  TOwned<TCountingEdit> E(Create<TCountingEdit>(nullptr, false));
  E->SetRepositoryItem(Item.get());
  // While the item is used, the own properties no longer report.
  EXPECT_FALSE(static_cast<bool>(E->GetProperties()->OnPropertiesChanged()));
  EXPECT_EQ(E->GetActiveProperties()->GetIDefaultValuesProvider(),
            E->DataBinding()->GetIDefaultValuesProvider());
  E->Changes = 0;
  Item->GetProperties()->Changed();
  EXPECT_EQ(E->Changes, 1);
  TItemEvents R;
  Item->GetProperties()->SetOnEditValueChanged(MakeEvent<&TItemEvents::Change>(&R));
  Item->GetProperties()->SetOnValidate(MakeEvent<&TItemEvents::Validate>(&R));
  EXPECT_TRUE(E->HasOnValidate());
  E->SetEditValue(Variant(String(L"new")));
  EXPECT_EQ(R.Changes, 1);
  E->ValidateEdit(false);
  EXPECT_EQ(R.Validations, 1);
}

namespace {

// A root that writes every component it owns, controls included.
class TItemRoot : public TComponent {
  DECLARE_CLASS(TItemRoot, TComponent)
 public:
  explicit TItemRoot(TComponent* AOwner) : TComponent(AOwner) {}
  void GetChildren(TGetChildProc Proc, TComponent* Root) override {
    if (Root != this) return;
    for (Integer I = 0; I < ComponentCount(); ++I) Proc(Components(I));
  }
};

class TStreamedEdit : public TTestEdit {
  DECLARE_CLASS(TStreamedEdit, TTestEdit)
 public:
  explicit TStreamedEdit(TComponent* AOwner) : TTestEdit(AOwner, false) {}
};

class TStreamedItem : public TPropertiesItem<TValidatingProperties> {
  DECLARE_CLASS(TStreamedItem, TPropertiesItem<TValidatingProperties>)
 public:
  using TPropertiesItem<TValidatingProperties>::TPropertiesItem;
};

}  // namespace

IMPLEMENT_CREATABLE_CLASS(TItemRoot)
IMPLEMENT_CREATABLE_CLASS(TStreamedEdit)
IMPLEMENT_CREATABLE_CLASS(TStreamedItem)

TEST(EditRepositoryItem, TheItemReferenceIsWrittenAndReadBack) {
  RegisterClasses(
      {TItemRoot::StaticClass(), TStreamedEdit::StaticClass(), TStreamedItem::StaticClass()});
  TOwned<TItemRoot> Root(Create<TItemRoot>(nullptr));
  TcxEditRepositoryItem* Item = Create<TStreamedItem>(Root.get());
  Item->SetName(L"Shared");
  TStreamedEdit* E = Create<TStreamedEdit>(Root.get());
  E->SetName(L"Edit");
  E->SetRepositoryItem(Item);
  const std::string Text = FormResourceText(Root.get());
  EXPECT_NE(Text.find("RepositoryItem = Shared\n"), std::string::npos) << Text;
  TOwned<TItemRoot> Again = ReadFormResourceText<TItemRoot>(Text);
  auto* ReadEdit = As<TStreamedEdit>(Again->FindComponent(L"Edit"));
  auto* ReadItem = As<TcxEditRepositoryItem>(Again->FindComponent(L"Shared"));
  ASSERT_NE(ReadEdit, nullptr);
  EXPECT_EQ(ReadEdit->GetRepositoryItem(), ReadItem);
  EXPECT_EQ(ReadEdit->GetActiveProperties(), ReadItem->GetProperties());
  EXPECT_EQ(ReadItem->ListenerCount(), 1);
  // Loaded leaves the own properties unhooked while the item is used.
  EXPECT_FALSE(static_cast<bool>(ReadEdit->GetProperties()->OnPropertiesChanged()));
  // An editor without an item writes no reference.
  E->SetRepositoryItem(nullptr);
  EXPECT_EQ(FormResourceText(Root.get()).find("RepositoryItem"), std::string::npos);
}
