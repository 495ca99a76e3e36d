#include <gtest/gtest.h>

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"

namespace {

struct TActionLog {
  int Executes = 0;
  int Updates = 0;
  bool EnableWanted = true;
  TObject* Sender = nullptr;
  TComponent* ActionComponent = nullptr;
  void Execute(TObject* S) {
    ++Executes;
    Sender = S;
    ActionComponent = static_cast<TBasicAction*>(S)->ActionComponent();
  }
  void Update(TObject* S) {
    ++Updates;
    static_cast<TCustomAction*>(S)->SetEnabled(EnableWanted);
  }
  void Click(TObject*) { ++Executes; }
  // Wakes the application's wait once the idle work is done.
  void Idle(TObject*, bool&) { PostMessageW(Application()->Handle(), WM_NULL, 0, 0); }
  bool ListHandles = false;
  int ListExecutes = 0;
  void ListExecute(TBasicAction*, bool& Handled) {
    ++ListExecutes;
    Handled = ListHandles;
  }
};

// One idle moment of the application's loop: the queue is empty, so the
// idle work runs; the idle handler's posted message ends the wait.
void RunIdleOnce() {
  Application()->ProcessMessages();
  TIdleEvent Saved = Application()->OnIdle;
  TActionLog Waker;
  Application()->OnIdle = MakeEvent<&TActionLog::Idle>(&Waker);
  Application()->HandleMessage();
  Application()->OnIdle = Saved;
  Application()->ProcessMessages();
}

struct ActionFixture : testing::Test {
  TOwned<TCustomForm> Form;
  TActionList* List = nullptr;
  TAction* Action = nullptr;
  TActionLog Log;
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(70, 70, 300, 200);
    List = Create<TActionList>(Form.get());
    Action = Create<TAction>(Form.get());
    Action->SetActionList(List);
    Action->SetCaption(L"&Run");
    Action->SetHint(L"Runs it");
    Action->SetOnExecute(MakeEvent<&TActionLog::Execute>(&Log));
  }
  void TearDown() override { Form.reset(); }
  TButton* AddButton() {
    TButton* B = Create<TButton>(Form.get());
    B->SetParent(Form.get());
    B->SetBounds(10, 10, 90, 25);
    return B;
  }
};

TEST_F(ActionFixture, IdleUpdateEnablesAndDisablesALinkedButton) {
  Action->SetOnUpdate(MakeEvent<&TActionLog::Update>(&Log));
  TButton* B = AddButton();
  B->SetAction(Action);
  EXPECT_EQ(B->Caption(), L"&Run");
  EXPECT_EQ(B->Hint(), L"Runs it");
  Form->Show();

  Log.EnableWanted = false;
  RunIdleOnce();
  EXPECT_GT(Log.Updates, 0);
  EXPECT_FALSE(Action->Enabled());
  EXPECT_FALSE(B->Enabled());
  EXPECT_FALSE(IsWindowEnabled(B->Handle()));

  Log.EnableWanted = true;
  RunIdleOnce();
  EXPECT_TRUE(B->Enabled());
  EXPECT_TRUE(IsWindowEnabled(B->Handle()));

  // A click of the button executes the action, with the button as sender.
  SendMessageW(B->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Log.Executes, 1);
  EXPECT_EQ(Log.Sender, Action);
  EXPECT_EQ(Log.ActionComponent, B);
  EXPECT_EQ(Action->ActionComponent(), nullptr);

  // A hidden form's actions are not updated.
  Form->Hide();
  int Updates = Log.Updates;
  RunIdleOnce();
  EXPECT_EQ(Log.Updates, Updates);
}

TEST_F(ActionFixture, ActionStateReachesOnlyClientsThatStillFollowIt) {
  TButton* Follows = AddButton();
  TButton* Own = AddButton();
  Follows->SetAction(Action);
  Own->SetAction(Action);
  Own->SetCaption(L"Mine");
  struct TCase {
    const wchar_t* What;
    void (*Change)(TAction*);
    bool (*Followed)(TButton*);
  };
  const TCase Cases[] = {
      {L"caption", [](TAction* A) { A->SetCaption(L"Go"); },
       [](TButton* B) { return B->Caption() == L"Go"; }},
      {L"enabled", [](TAction* A) { A->SetEnabled(false); },
       [](TButton* B) { return !B->Enabled(); }},
      {L"visible", [](TAction* A) { A->SetVisible(false); },
       [](TButton* B) { return !B->Visible(); }},
      {L"hint", [](TAction* A) { A->SetHint(L"new"); },
       [](TButton* B) { return B->Hint() == L"new"; }},
  };
  for (const TCase& C : Cases) {
    C.Change(Action);
    EXPECT_TRUE(C.Followed(Follows)) << C.What;
  }
  // The button that set its own caption keeps it; the rest still follows.
  EXPECT_EQ(Own->Caption(), L"Mine");
  EXPECT_FALSE(Own->Enabled());
  // What an action supplies is not written into a form resource.
  EXPECT_FALSE(Follows->IsCaptionStored());
  EXPECT_TRUE(Own->IsCaptionStored());
  EXPECT_FALSE(Follows->IsOnClickStored());
}

TEST_F(ActionFixture, ExecutionGoesThroughListApplicationAndTargets) {
  List->OnExecute = MakeEvent<&TActionLog::ListExecute>(&Log);
  // The list's handler that handles it takes the place of the action's.
  Log.ListHandles = true;
  EXPECT_TRUE(Action->Execute());
  EXPECT_EQ(Log.ListExecutes, 1);
  EXPECT_EQ(Log.Executes, 0);
  Log.ListHandles = false;
  EXPECT_TRUE(Action->Execute());
  EXPECT_EQ(Log.Executes, 1);
  // A suspended list runs nothing.
  List->SetState(asSuspended);
  EXPECT_FALSE(Action->Execute());
  EXPECT_EQ(Log.Executes, 1);
  List->SetState(asNormal);
  // A disabled action does not execute.
  Action->SetEnabled(false);
  EXPECT_FALSE(Action->Execute());
  EXPECT_EQ(Log.Executes, 1);
}

// An action that works on the focused edit, as edit actions do.
class TSelectAllAction : public TAction {
  DECLARE_CLASS(TSelectAllAction, TAction)
 public:
  using TAction::TAction;
  TObject* Target = nullptr;
  int Updates = 0;
  bool HandlesTarget(TObject* T) override { return AsOrNull<TCustomEdit>(T) != nullptr; }
  void UpdateTarget(TObject* T) override {
    ++Updates;
    SetEnabled(!static_cast<TCustomEdit*>(T)->Text().empty());
  }
  void ExecuteTarget(TObject* T) override {
    Target = T;
    static_cast<TCustomEdit*>(T)->SelectAll();
  }
};
IMPLEMENT_CREATABLE_CLASS(TSelectAllAction)

TEST_F(ActionFixture, TargetActionsReachTheActiveFormsControls) {
  auto* SelectAll = Create<TSelectAllAction>(Form.get());
  SelectAll->SetActionList(List);
  TEdit* Edit = Create<TEdit>(Form.get());
  Edit->SetParent(Form.get());
  Edit->SetText(L"hello");
  TButton* B = AddButton();
  B->SetAction(SelectAll);
  Form->Show();
  SetForegroundWindow(Form->Handle());
  Edit->SetFocus();
  Application()->ProcessMessages();
  RunIdleOnce();
  EXPECT_GT(SelectAll->Updates, 0);
  EXPECT_TRUE(B->Enabled());
  EXPECT_TRUE(SelectAll->Execute());
  EXPECT_EQ(SelectAll->Target, Edit);
  EXPECT_EQ(Edit->SelLength(), 5);
  Edit->SetText(L"");
  RunIdleOnce();
  EXPECT_FALSE(B->Enabled());

  // Nobody handles an action without handlers: it is disabled.
  auto* Orphan = Create<TAction>(Form.get());
  Orphan->SetActionList(List);
  EXPECT_FALSE(Orphan->Update());
  EXPECT_FALSE(Orphan->Enabled());
  // One that can execute stays enabled.
  Action->Update();
  EXPECT_TRUE(Action->Enabled());
}

TEST_F(ActionFixture, GroupsAutoCheckAndShortCuts) {
  auto* A = Create<TAction>(Form.get());
  auto* B = Create<TAction>(Form.get());
  for (TAction* X : {A, B}) {
    X->SetActionList(List);
    X->SetGroupIndex(1);
    X->SetAutoCheck(true);
    X->SetOnExecute(MakeEvent<&TActionLog::Execute>(&Log));
  }
  A->Execute();
  EXPECT_TRUE(A->Checked());
  B->Execute();
  EXPECT_TRUE(B->Checked());
  EXPECT_FALSE(A->Checked());
  // A checked action of a group stays checked when executed again.
  B->Execute();
  EXPECT_TRUE(B->Checked());

  // Ctrl+R reaches the form's action list from the focused control.
  Action->SetShortCut(scCtrl | 'R');
  TEdit* Edit = Create<TEdit>(Form.get());
  Edit->SetParent(Form.get());
  Form->Show();
  SetForegroundWindow(Form->Handle());
  Edit->SetFocus();
  Application()->ProcessMessages();
  int Before = Log.Executes;
  BYTE State[256];
  GetKeyboardState(State);
  State[VK_CONTROL] = 0x80;
  SetKeyboardState(State);
  PostMessageW(Edit->Handle(), WM_KEYDOWN, 'R', 0x00130001);
  Application()->ProcessMessages();
  State[VK_CONTROL] = 0;
  SetKeyboardState(State);
  EXPECT_EQ(Log.Executes, Before + 1);
  EXPECT_EQ(Log.Sender, Action);
}

TEST_F(ActionFixture, FreeingEitherSideUnlinks) {
  TButton* B = AddButton();
  B->SetAction(Action);
  EXPECT_EQ(Action->ClientCount(), 1);
  TMenuItem* Item = Create<TMenuItem>(Form.get());
  Item->SetAction(Action);
  EXPECT_EQ(Action->ClientCount(), 2);
  Item->Free();
  EXPECT_EQ(Action->ClientCount(), 1);
  Action->Free();
  Action = nullptr;
  EXPECT_EQ(B->Action(), nullptr);
  EXPECT_EQ(B->ActionLink(), nullptr);
  EXPECT_FALSE(B->ControlStyle().Contains(csActionClient));
  // The list forgot it too.
  EXPECT_EQ(List->ActionCount(), 0);
  SendMessageW(B->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Log.Executes, 0);
}

TEST_F(ActionFixture, CheckBoxFollowsCheckedWithoutClickingBack) {
  TCheckBox* C = Create<TCheckBox>(Form.get());
  C->SetParent(Form.get());
  C->SetAction(Action);
  Action->SetChecked(true);
  EXPECT_TRUE(C->Checked());
  EXPECT_EQ(Log.Executes, 0);
  // Clicking the box executes the action, which checks itself.
  Action->SetAutoCheck(true);
  Form->Show();
  SendMessageW(C->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Log.Executes, 1);
  EXPECT_FALSE(Action->Checked());
  EXPECT_FALSE(C->Checked());
}

}  // namespace
