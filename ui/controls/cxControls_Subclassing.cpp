// Several parties subclassing one window, each removable in any order.
#include <algorithm>

#include "cxControls.h"

IMPLEMENT_CLASS(TcxWindowProcLinkedObject)
IMPLEMENT_CLASS(TcxSubclassingHelper)
IMPLEMENT_CLASS(TcxVCLSubclassingHelper)
IMPLEMENT_CLASS(TcxWin32SubclassingHelper)
IMPLEMENT_CLASS(TcxWindowProcLinkedObjectList)
IMPLEMENT_CLASS(TcxWindowProcController)

void TcxWindowProcLinkedObject::DefaultProc(TMessage& Message) {
  if (auto* Previous = static_cast<TcxWindowProcLinkedObject*>(Prev()))
    Previous->WindowProc(Message);
}

// ---------------------------------------------------------------------------
// Helpers

TcxWindowProcLinkedObject* TcxVCLSubclassingHelper::CreateLinkedObject() {
  return Create<TcxWindowProcLinkedObject>(FControl, static_cast<HWND>(nullptr));
}

void TcxVCLSubclassingHelper::StoreAndReplaceDefaultProc(TWndMethod AWndProc) {
  FDefaultWindowProc = FControl->WindowProc;
  FControl->WindowProc = AWndProc;
}

void TcxVCLSubclassingHelper::RestoreDefaultProc() { FControl->WindowProc = FDefaultWindowProc; }

TcxWin32SubclassingHelper::~TcxWin32SubclassingHelper() { FreeObjectInstance(FAPIWndProc); }

TcxWindowProcLinkedObject* TcxWin32SubclassingHelper::CreateLinkedObject() {
  return Create<TcxWindowProcLinkedObject>(static_cast<TControl*>(nullptr), FHandle);
}

void TcxWin32SubclassingHelper::StoreAndReplaceDefaultProc(TWndMethod AWndProc) {
  FAPIWndProc = MakeObjectInstance(AWndProc);
  FAPIDefaultWndProc = dxSetWindowProc(FHandle, FAPIWndProc);
  FDefaultWindowProc = MakeEvent<&TcxWin32SubclassingHelper::DefaultWndProc>(this);
}

void TcxWin32SubclassingHelper::DefaultWndProc(TMessage& Message) {
  Message.Result =
      CallWindowProcW(FAPIDefaultWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TcxWin32SubclassingHelper::RestoreDefaultProc() {
  if (IsWindow(FHandle)) dxSetWindowProc(FHandle, FAPIDefaultWndProc);
  FreeObjectInstance(FAPIWndProc);
  FAPIWndProc = nullptr;
}

// ---------------------------------------------------------------------------
// Chains

TcxWindowProcLinkedObjectList::TcxWindowProcLinkedObjectList(TControl* AControl)
    : FControl(AControl), FHelper(Create<TcxVCLSubclassingHelper>(AControl)) {}

TcxWindowProcLinkedObjectList::TcxWindowProcLinkedObjectList(HWND AHandle)
    : FHandle(AHandle), FHelper(Create<TcxWin32SubclassingHelper>(AHandle)) {}

TcxWindowProcLinkedObjectList::~TcxWindowProcLinkedObjectList() {
  FHelper->RestoreDefaultProc();
  FHelper->Free();
}

void TcxWindowProcLinkedObjectList::AfterConstruction() {
  inherited::AfterConstruction();
  Initialize();
}

void TcxWindowProcLinkedObjectList::Initialize() {
  FHelper->StoreAndReplaceDefaultProc(MakeEvent<&TcxWindowProcLinkedObjectList::WndProc>(this));
  AddProc(FHelper->DefaultWindowProc());
}

TcxDoublyLinkedObject* TcxWindowProcLinkedObjectList::CreateLinkedObject() {
  return FHelper->CreateLinkedObject();
}

TcxWindowProcLinkedObject* TcxWindowProcLinkedObjectList::AddProc(TWndMethod AWndProc) {
  auto* Result = static_cast<TcxWindowProcLinkedObject*>(Add());
  Result->WindowProc = AWndProc;
  return Result;
}

bool TcxWindowProcLinkedObjectList::IsEmpty() const { return !Last() || !Last()->Prev(); }

void TcxWindowProcLinkedObjectList::WndProc(TMessage& Message) {
  static_cast<TcxWindowProcLinkedObject*>(Last())->WindowProc(Message);
}

// ---------------------------------------------------------------------------
// Registry

TcxWindowProcController::~TcxWindowProcController() {
  for (auto It = FWindowProcObjects.rbegin(); It != FWindowProcObjects.rend(); ++It) (*It)->Free();
}

TcxWindowProcLinkedObjectList* TcxWindowProcController::Chain(TControl* AControl,
                                                              HWND AHandle) const {
  for (TcxWindowProcLinkedObjectList* L : FWindowProcObjects)
    if (AControl ? L->Control() == AControl : (!L->Control() && L->Handle() == AHandle)) return L;
  return nullptr;
}

TcxWindowProcLinkedObject* TcxWindowProcController::Add(TControl* AControl, TWndMethod AWndProc) {
  if (!AControl) return nullptr;
  TcxWindowProcLinkedObjectList* L = Chain(AControl, nullptr);
  if (!L) {
    L = Create<TcxWindowProcLinkedObjectList>(AControl);
    FWindowProcObjects.push_back(L);
  }
  return L->AddProc(AWndProc);
}

TcxWindowProcLinkedObject* TcxWindowProcController::Add(HWND AHandle, TWndMethod AWndProc) {
  if (!AHandle) return nullptr;
  TcxWindowProcLinkedObjectList* L = Chain(nullptr, AHandle);
  if (!L) {
    L = Create<TcxWindowProcLinkedObjectList>(AHandle);
    FWindowProcObjects.push_back(L);
  }
  return L->AddProc(AWndProc);
}

void TcxWindowProcController::Remove(TcxWindowProcLinkedObject*& AWndProcObject) {
  if (!AWndProcObject) return;
  TcxWindowProcLinkedObjectList* L = Chain(AWndProcObject->Control(), AWndProcObject->Handle());
  if (!L) return;
  L->Delete(AWndProcObject);
  AWndProcObject = nullptr;
  if (L->IsEmpty()) {
    std::erase(FWindowProcObjects, L);
    L->Free();
  }
}
