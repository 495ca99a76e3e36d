// Action lists: actions with a caption, state, image and shortcut, kept in a
// list on a form; every control or menu item linked to an action follows its
// state and executes it when clicked. On every idle moment the application
// asks each shown form to update the actions of its clients.
#pragma once

#include <vector>

#include "Classes.h"
#include "ImgList.h"
#include "Messages.h"

class TCustomActionList;

// An action that belongs to an action list (or to none).
class TContainedAction : public TBasicAction {
  DECLARE_CLASS(TContainedAction, TBasicAction)
 public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  void BeforeDestruction() override;

  // The list's OnExecute, then the application's, then OnExecute, then the
  // shown forms' controls that handle the action as a target; false when
  // none did or the list is suspended.
  bool Execute() override;
  // The same road with the update events; when nothing handles the update
  // a TCustomAction that DisableIfNoHandler stays enabled only while it has
  // an OnExecute.
  bool Update() override;

  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  // The place in the list; -1 without one.
  Integer Index() const;
  void SetIndex(Integer Value);
  const String& Category() const { return FCategory; }
  void SetCategory(const String& Value);
  // The list is suspended: nothing executes or updates.
  bool Suspended() const;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  String FCategory;
};

using THintEvent = TMethodPtr<void(String& HintStr, bool& CanShow)>;

// An action with the state its clients show: caption, checked, enabled,
// visible, hint, image and shortcut. Each change reaches every client whose
// value still equals the action's (the link decides).
class TCustomAction : public TContainedAction {
  DECLARE_CLASS(TCustomAction, TContainedAction)
 public:
  explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

  // Updates first; a disabled action does not execute. AutoCheck toggles
  // Checked (an action of a group only checks).
  bool Execute() override;
  // The hint shown for a client; OnHint may change or refuse it.
  virtual bool DoHint(String& HintStr);

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const { return FChecked; }
  // Checking an action of a group (GroupIndex > 0) unchecks the other
  // actions of that group in the same list.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value);
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value);
  bool DisableIfNoHandler() const { return FDisableIfNoHandler; }
  void SetDisableIfNoHandler(bool Value) { FDisableIfNoHandler = Value; }

  THintEvent OnHint;
  THintEvent GetOnHint() const { return OnHint; }
  void SetOnHint(THintEvent V) { OnHint = V; }

 private:
  // Calls F on every link of a client that shows actions' state.
  template <class F>
  void ForEachLink(F Fn);
  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  String FHint;
  Integer FImageIndex = -1;
  TShortCut FShortCut = 0;
  Integer FGroupIndex = 0;
  bool FAutoCheck = false;
  Integer FHelpContext = 0;
  bool FDisableIfNoHandler = true;
  bool FChecking = false;
};

class TAction : public TCustomAction {
  DECLARE_CLASS(TAction, TCustomAction)
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// The link of a client that shows a TCustomAction's state. A value is
// linked while the client's value equals the action's: a client that set
// its own caption keeps it when the action's caption changes.
class TActionLink : public TBasicActionLink {
  DECLARE_CLASS(TActionLink, TBasicActionLink)
 public:
  using TBasicActionLink::TBasicActionLink;
  virtual bool IsAutoCheckLinked() { return IsCustomAction(); }
  virtual bool IsCaptionLinked() { return IsCustomAction(); }
  virtual bool IsCheckedLinked() { return IsCustomAction(); }
  virtual bool IsEnabledLinked() { return IsCustomAction(); }
  virtual bool IsGroupIndexLinked() { return IsCustomAction(); }
  virtual bool IsHelpContextLinked() { return IsCustomAction(); }
  virtual bool IsHintLinked() { return IsCustomAction(); }
  virtual bool IsImageIndexLinked() { return IsCustomAction(); }
  virtual bool IsShortCutLinked() { return IsCustomAction(); }
  virtual bool IsVisibleLinked() { return IsCustomAction(); }
  virtual void SetAutoCheck(bool Value) {}
  virtual void SetCaption(const String& Value) {}
  virtual void SetChecked(bool Value) {}
  virtual void SetEnabled(bool Value) {}
  virtual void SetGroupIndex(Integer Value) {}
  virtual void SetHelpContext(Integer Value) {}
  virtual void SetHint(const String& Value) {}
  virtual void SetImageIndex(Integer Value) {}
  virtual void SetShortCut(TShortCut Value) {}
  virtual void SetVisible(bool Value) {}

 protected:
  TCustomAction* CustomAction() const { return AsOrNull<TCustomAction>(FAction); }
  bool IsCustomAction() const { return CustomAction() != nullptr; }
};

enum TActionListState { asNormal, asSuspended, asSuspendedEnabled };
using TActionEvent = TMethodPtr<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
  DECLARE_CLASS(TCustomActionList, TComponent)
 public:
  explicit TCustomActionList(TComponent* AOwner);
  ~TCustomActionList() override;
  void BeforeDestruction() override;

  Integer ActionCount() const { return static_cast<Integer>(FActions.size()); }
  TContainedAction* Actions(Integer Index) const;
  // Executes the enabled, visible action with this shortcut; false when
  // there is none (or the list is suspended).
  bool IsShortCut(TShortCut ShortCut);

  // The list's handlers: Handled from OnExecute or OnUpdate.
  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TActionListState State() const { return FState; }
  // Suspending with asSuspendedEnabled also enables every action.
  void SetState(TActionListState Value);

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;
  TActionEvent GetOnExecute() const { return OnExecute; }
  void SetOnExecute(TActionEvent V) { OnExecute = V; }
  TActionEvent GetOnUpdate() const { return OnUpdate; }
  void SetOnUpdate(TActionEvent V) { OnUpdate = V; }
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent V) { OnChange = V; }

  // Actions are streamed inside their list.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  friend class TContainedAction;
  void AddAction(TContainedAction* Action);
  void RemoveAction(TContainedAction* Action);
  virtual void Change();
  void SetChildOrder(TComponent* Child, Integer Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ImageListChange(TObject* Sender);
  std::vector<TContainedAction*> FActions;
  TCustomImageList* FImages = nullptr;
  TOwned<TChangeLink> FImageChangeLink;
  TActionListState FState = asNormal;
};

class TActionList : public TCustomActionList {
  DECLARE_CLASS(TActionList, TCustomActionList)
 public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// The application's part in executing and updating actions. The forms module,
// which sits above this one, fills the table at its start-up; without it an
// action runs only its list's and its own handlers.
struct TActionDispatchRoutines {
  // The application's OnActionExecute / OnActionUpdate.
  bool (*ExecuteAction)(TBasicAction* Action) = nullptr;
  bool (*UpdateAction)(TBasicAction* Action) = nullptr;
  // Offers the action (CM_ACTIONEXECUTE or CM_ACTIONUPDATE) to the shown
  // forms' controls as a target.
  bool (*DispatchAction)(UINT Msg, TBasicAction* Action) = nullptr;
};
TActionDispatchRoutines& ActionDispatchRoutines();

void ActnList_Initialize();
