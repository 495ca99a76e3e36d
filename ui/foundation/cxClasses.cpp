#include "cxClasses.h"

#include <algorithm>

#include "Controls.h"
#include "dxDPIAwareUtils.h"

// ---------------------------------------------------------------------------
// Small routines

String GetShortHint(const String& Hint) {
  Integer I = Pos(L"|", Hint);
  return I == 0 ? Hint : Copy(Hint, 1, I - 1);
}

String GetLongHint(const String& Hint) {
  Integer I = Pos(L"|", Hint);
  return I == 0 ? Hint : Copy(Hint, I + 1, Length(Hint));
}

Integer cxStrCharLength(const String& AStr, Integer AIndex) {
  if (AIndex < 1 || AIndex > Length(AStr)) return 0;
  const Char* P = GetPChar(AStr, AIndex);
  return static_cast<Integer>(CharNextW(P) - P);
}

Integer GetRangeCenter(Integer ABound1, Integer ABound2) {
  Int64 S = static_cast<Int64>(ABound1) + ABound2;
  return static_cast<Integer>(S > 0 ? S / 2 : (S - 1) / 2);
}

// ---------------------------------------------------------------------------
// TcxObjectList

IMPLEMENT_CREATABLE_CLASS(TcxObjectList)

TcxObjectList::~TcxObjectList() { Clear(); }

void TcxObjectList::Clear() {
  if (FOwnObjects)
    for (Integer I = 0; I < Count(); ++I) FreeItem(I);
  TList::Clear();
}

void TcxObjectList::FreeItem(Integer Index) {
  if (TObject* O = Items(Index)) O->Free();
}

void TcxObjectList::FreeAndDelete(Integer Index) {
  if (TObject* O = Items(Index)) O->Free();
  Delete(Index);
}

Integer TcxObjectList::FreeAndRemove(TObject* AObject) {
  Integer Index = IndexOf(AObject);
  if (Index >= 0) FreeAndDelete(Index);
  return Index;
}

// ---------------------------------------------------------------------------
// Component bases

namespace {
struct TComponentAccess : TComponent {
  static void Notify(TComponent* AOwner, TComponent* AComponent, TOperation AOperation) {
    (AOwner->*(&TComponentAccess::Notification))(AComponent, AOperation);
  }
};
}  // namespace

void cxBroadcastRemoveNotifications(TComponent* AComponent) {
  if (!AComponent) return;
  AComponent->RemoveFreeNotifications();
  if (AComponent->Owner()) TComponentAccess::Notify(AComponent->Owner(), AComponent, opRemove);
}

IMPLEMENT_CLASS(TcxCustomComponent)

void TcxCustomComponent::BeforeDestruction() {
  inherited::BeforeDestruction();
  cxBroadcastRemoveNotifications(this);
}

IMPLEMENT_PUBLISHED_CLASS(TcxComponent) {
  // Shown to the form designer only; never stored in a form.
  P.Property<&TcxComponent::GetFakeComponentLink1, &TcxComponent::SetFakeComponentLink1>(
       L"FakeComponentLink1")
      .Stored(false);
  P.Property<&TcxComponent::GetFakeComponentLink2, &TcxComponent::SetFakeComponentLink2>(
       L"FakeComponentLink2")
      .Stored(false);
  P.Property<&TcxComponent::GetFakeComponentLink3, &TcxComponent::SetFakeComponentLink3>(
       L"FakeComponentLink3")
      .Stored(false);
}

TcxComponent::~TcxComponent() { cxClearObjectLinks(this); }

void TcxComponent::Loaded() {
  inherited::Loaded();
  UpdateFakeLinks();
}

void TcxComponent::UpdateFakeLinks() {
  if (!IsDesigning() || IsDestroying() || !Owner()) return;
  TOwned<TList> List = MakeOwned<TList>();
  GetFakeComponentLinks(List.get());
  for (Integer I = 0; I < GetFakeComponentLinkCount(); ++I)
    SetFakeComponentLink(I + 1,
                         I < List->Count() ? static_cast<TComponent*>(List->Items(I)) : nullptr);
}

IMPLEMENT_CLASS(TcxScalableComponent)

TcxScalableComponent::TcxScalableComponent(TComponent* AOwner)
    : TcxComponent(AOwner), FScaleFactor(MakeOwned<TdxScaleFactor>()) {}

void TcxScalableComponent::AfterConstruction() {
  inherited::AfterConstruction();  // joins the owner, whose DPI is asked now
  FScaleFactor->Assign(dxGetCurrentDPI(Owner()), dxDefaultDPI, false);
}

HRESULT STDMETHODCALLTYPE TcxScalableComponent::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxScalableComponent::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxScaleFactor))) {
    *AObj = static_cast<IdxScaleFactor*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IcxScalableComponent)) || IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IcxScalableComponent*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

Integer TcxScalableComponent::PixelsPerInch() const {
  return FScaleFactor->Assigned()
             ? MulDiv(dxDefaultDPI, FScaleFactor->Numerator(), FScaleFactor->Denominator())
             : dxDefaultDPI;
}

void TcxScalableComponent::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(L"PixelsPerInch", MakeEvent<&TcxScalableComponent::ReadPixelsPerInch>(this),
                        MakeEvent<&TcxScalableComponent::WritePixelsPerInch>(this), true);
}

void TcxScalableComponent::ReadPixelsPerInch(TReader* Reader) {
  FScaleFactor->Assign(Reader->ReadInteger(), dxDefaultDPI, false);
}

void TcxScalableComponent::WritePixelsPerInch(TWriter* Writer) {
  Writer->WriteInteger(PixelsPerInch());
}

void TcxScalableComponent::Loaded() {
  inherited::Loaded();
  Integer TargetDPI = dxGetCurrentDPI(Owner());
  ScaleForPPI(TargetDPI);
  FScaleFactor->Assign(TargetDPI, dxDefaultDPI, false);
}

void STDMETHODCALLTYPE TcxScalableComponent::ScaleForPPI(Integer ATargetPPI) {
  if (FScalable && ATargetPPI != PixelsPerInch()) ChangeScale(ATargetPPI, PixelsPerInch());
}

void STDMETHODCALLTYPE TcxScalableComponent::ChangeScale(Integer M, Integer D) {
  FScaleFactor->Change(M, D);
}

// ---------------------------------------------------------------------------
// Class registries

IMPLEMENT_CLASS(TcxRegisteredClassListItemData)
IMPLEMENT_CREATABLE_CLASS(TcxRegisteredClassList)
IMPLEMENT_CREATABLE_CLASS(TcxRegisteredClasses)

TcxRegisteredClassList::~TcxRegisteredClassList() { Clear(); }

void TcxRegisteredClassList::Clear() {
  for (Integer I = 0; I < FItems.Count(); ++I) Items(I)->Free();
  FItems.Clear();
}

bool TcxRegisteredClassList::Find(TClass AItemClass, Integer& AIndex) const {
  for (Integer I = FItems.Count() - 1; I >= 0; --I) {
    TClass ItemClass = Items(I)->ItemClass;
    if (AItemClass->InheritsFrom(ItemClass)) {
      AIndex = I;
      return true;
    }
    // A registration for a descendant: remember the first such in list order.
    if (ItemClass->InheritsFrom(AItemClass)) AIndex = I;
  }
  return false;
}

TClass TcxRegisteredClassList::FindClass(TClass AItemClass) const {
  Integer Index = -1;
  return Find(AItemClass, Index) ? Items(Index)->RegisteredClass : nullptr;
}

void TcxRegisteredClassList::Register(TClass AItemClass, TClass ARegisteredClass) {
  auto* Data = Create<TcxRegisteredClassListItemData>(AItemClass, ARegisteredClass);
  Integer Index = -1;
  if (Find(AItemClass, Index))
    FItems.Insert(Index + 1, Data);
  else if (Index != -1)
    FItems.Insert(Index, Data);
  else
    FItems.Add(Data);
}

void TcxRegisteredClassList::Unregister(TClass AItemClass, TClass ARegisteredClass) {
  for (Integer I = FItems.Count() - 1; I >= 0; --I) {
    TcxRegisteredClassListItemData* D = Items(I);
    if (D->ItemClass == AItemClass && D->RegisteredClass == ARegisteredClass) {
      FItems.Delete(I);
      D->Free();
    }
  }
}

const TcxRegisteredClasses::TLine& TcxRegisteredClasses::Line(Integer Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
  return FItems[static_cast<size_t>(Index)];
}

TClass TcxRegisteredClasses::Items(Integer Index) const { return Line(Index).Class; }
String TcxRegisteredClasses::Descriptions(Integer Index) const {
  return GetShortHint(Line(Index).Text);
}
String TcxRegisteredClasses::Hints(Integer Index) const { return GetLongHint(Line(Index).Text); }

void TcxRegisteredClasses::Register(TClass AClass, const String& ADescription) {
  if (GetIndexByClass(AClass) >= 0) return;
  FItems.push_back(TLine{ADescription, AClass});
  if (FSorted) Sort();
  if (FRegisterClasses) ::RegisterClass(AClass);
}

void TcxRegisteredClasses::Unregister(TClass AClass) {
  Integer Index = GetIndexByClass(AClass);
  if (Index >= 0) FItems.erase(FItems.begin() + Index);
}

Integer TcxRegisteredClasses::GetIndexByClass(TClass AClass) const {
  for (size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I].Class == AClass) return static_cast<Integer>(I);
  return -1;
}

String TcxRegisteredClasses::GetDescriptionByClass(TClass AClass) const {
  Integer Index = GetIndexByClass(AClass);
  return Index >= 0 ? Descriptions(Index) : String();
}

String TcxRegisteredClasses::GetHintByClass(TClass AClass) const {
  Integer Index = GetIndexByClass(AClass);
  return Index >= 0 ? Hints(Index) : String();
}

TClass TcxRegisteredClasses::FindByClassName(const String& AClassName) const {
  for (const TLine& L : FItems)
    if (L.Class->ClassName() == AClassName) return L.Class;
  return nullptr;
}

TClass TcxRegisteredClasses::FindByDescription(const String& ADescription) const {
  if (ADescription.empty()) return nullptr;
  for (const TLine& L : FItems)
    if (GetShortHint(L.Text) == ADescription) return L.Class;
  return nullptr;
}

void TcxRegisteredClasses::SetSorted(bool AValue) {
  if (FSorted == AValue) return;
  FSorted = AValue;
  if (FSorted) Sort();
}

Integer TcxRegisteredClasses::CompareItems(Integer AIndex1, Integer AIndex2) const {
  return AnsiCompareText(Descriptions(AIndex1), Descriptions(AIndex2));
}

void TcxRegisteredClasses::Sort() {
  // Sort a permutation through the virtual comparison of line indexes.
  std::vector<Integer> Order(FItems.size());
  for (size_t I = 0; I < Order.size(); ++I) Order[I] = static_cast<Integer>(I);
  std::stable_sort(Order.begin(), Order.end(),
                   [this](Integer A, Integer B) { return CompareItems(A, B) < 0; });
  std::vector<TLine> Sorted;
  Sorted.reserve(FItems.size());
  for (Integer I : Order) Sorted.push_back(FItems[static_cast<size_t>(I)]);
  FItems.swap(Sorted);
}

// ---------------------------------------------------------------------------
// Weak object links

IMPLEMENT_CLASS(TcxObjectLink)

namespace {
TdxFastList* FObjectLinks = nullptr;  // the live links
bool ClassesFinalizing = false;
TcxTimerWindow* FcxTimerWindow = nullptr;
TdxFastList* FActiveTimerList = nullptr;
UINT_PTR LastTimerID = 0;  // timers belong to the UI thread
}  // namespace

TcxObjectLink* cxAddObjectLink(TObject* AObject) {
  if (!AObject) return nullptr;
  if (!FObjectLinks) {
    if (ClassesFinalizing) throw EInvalidOperation(L"Object links used after shut-down");
    FObjectLinks = Create<TdxFastList>();
  }
  auto* Link = Create<TcxObjectLink>(AObject);
  FObjectLinks->Add(Link);
  return Link;
}

void cxRemoveObjectLink(TcxObjectLink* ALink) {
  if (!ALink) return;
  if (ALink->Ref && FObjectLinks) FObjectLinks->Remove(ALink);
  ALink->Free();
}

void cxClearObjectLinks(TObject* AObject) {
  if (!FObjectLinks) return;
  for (Integer I = FObjectLinks->Count() - 1; I >= 0; --I) {
    auto* Link = static_cast<TcxObjectLink*>(FObjectLinks->Items(I));
    if (Link->Ref != AObject) continue;
    Link->Ref = nullptr;
    FObjectLinks->Delete(I);
  }
}

// ---------------------------------------------------------------------------
// Message window

IMPLEMENT_CREATABLE_CLASS(TcxMessageWindow)

TRect cxGetWindowRect(HWND AHandle) {
  RECT R;
  return GetWindowRect(AHandle, &R) ? TRect(R) : cxNullRect;
}

TRect cxGetClientRect(HWND AHandle) {
  RECT R;
  return GetClientRect(AHandle, &R) ? TRect(R) : cxNullRect;
}

TRect cxGetWindowBounds(HWND AHandle) {
  TRect R = cxGetWindowRect(AHandle);
  return cxRect(0, 0, cxRectWidth(R), cxRectHeight(R));
}

TRect cxGetWindowBounds(TWinControl* AControl) { return cxGetWindowBounds(AControl->Handle()); }

TPoint cxGetClientOffset(HWND AHandle) {
  POINT P{0, 0};
  ClientToScreen(AHandle, &P);
  TRect W = cxGetWindowRect(AHandle);
  if (GetWindowLongW(AHandle, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
    return TPoint{W.right - P.x, P.y - W.top};
  return TPoint{P.x - W.left, P.y - W.top};
}

void dxMapWindowRect(HWND AFrom, HWND ATo, const TRect& ARect, TRect& AResult, bool AClient) {
  POINT P{ARect.left, ARect.top};
  if (AClient) {
    MapWindowPoints(AFrom, ATo, &P, 1);
  } else {
    TRect From = cxGetWindowRect(AFrom), To = cxGetWindowRect(ATo);
    P.x += From.left - To.left;
    P.y += From.top - To.top;
  }
  AResult = cxRectOffset(ARect, P.x - ARect.left, P.y - ARect.top);
}

bool IsChildClassWindow(HWND AHandle) {
  return (GetWindowLongW(AHandle, GWL_STYLE) & WS_CHILD) != 0;
}

void TcxMessageWindow::AfterConstruction() {
  inherited::AfterConstruction();
  FHandle = AllocateMessageHWnd(MakeEvent<&TcxMessageWindow::MainWndProc>(this));
}

TcxMessageWindow::~TcxMessageWindow() { DeallocateHWnd(FHandle); }

void TcxMessageWindow::MainWndProc(TMessage& Message) {
  try {
    WndProc(Message);
  } catch (...) {
    dxHandleException();
  }
}

void TcxMessageWindow::WndProc(TMessage& Message) {
  Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------
// Timers

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxTimer) {
  P.Property<&TcxTimer::Enabled, &TcxTimer::SetEnabled>(L"Enabled").Default(true);
  P.Property<&TcxTimer::Interval, &TcxTimer::SetInterval>(L"Interval").Default(1000);
  P.Property<&TcxTimer::OnTimer, &TcxTimer::SetOnTimer>(L"OnTimer");
}
IMPLEMENT_CLASS(TcxTimerWindow)

TcxTimerWindow* cxTimerWindow() {
  if (!FcxTimerWindow && !ClassesFinalizing) FcxTimerWindow = Create<TcxTimerWindow>();
  return FcxTimerWindow;
}

TdxFastList* ActiveTimerList() {
  if (!FActiveTimerList && !ClassesFinalizing) FActiveTimerList = Create<TdxFastList>();
  return FActiveTimerList;
}

void TcxTimer::BeforeDestruction() {
  KillTimer();
  inherited::BeforeDestruction();
}

void TcxTimer::SetEnabled(bool AValue) {
  if (AValue == FEnabled) return;
  FEnabled = AValue;
  UpdateTimer();
}

void TcxTimer::SetInterval(Cardinal AValue) {
  if (AValue == FInterval || AValue == 0) return;
  FInterval = AValue;
  UpdateTimer();
}

void TcxTimer::SetOnTimer(TNotifyEvent AValue) {
  FOnTimer = AValue;
  UpdateTimer();
}

void TcxTimer::UpdateTimer() {
  KillTimer();
  SetTimer();
}

void TcxTimer::SetTimer() {
  if (!CanSetTimer()) return;
  TcxTimerWindow* Window = cxTimerWindow();
  if (!Window) return;  // after shut-down nothing starts
  FEventID = ++LastTimerID;
  SetTimerOn(::SetTimer(Window->Handle(), FEventID, FInterval, nullptr) != 0);
}

void TcxTimer::KillTimer() {
  if (!FTimerOn) return;
  SetTimerOn(false);
  if (FcxTimerWindow) ::KillTimer(FcxTimerWindow->Handle(), EventID());
}

void TcxTimer::SetTimerOn(bool AValue) {
  if (AValue == FTimerOn) return;
  if (TdxFastList* List = ActiveTimerList()) {
    if (AValue)
      List->Add(this);
    else
      List->Remove(this);
  }
  FTimerOn = AValue;
}

void TcxTimer::TimeOut() {
  if (FOnTimer) FOnTimer(this);
}

void TcxTimerWindow::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    inherited::WndProc(Message);
    return;
  }
  // Only a timer that still runs under this identifier: a message queued
  // for a stopped, restarted or freed timer finds no owner.
  if (!FActiveTimerList) return;
  for (Integer I = 0; I < FActiveTimerList->Count(); ++I) {
    auto* Timer = static_cast<TcxTimer*>(FActiveTimerList->Items(I));
    if (Timer->EventID() == Message.WParam) {
      Timer->TimeOut();
      return;
    }
  }
}

TcxTimer* cxCreateTimer(TNotifyEvent AOnTimer, Cardinal AInterval, bool AEnabled) {
  TcxTimer* Timer = Create<TcxTimer>(nullptr);
  Timer->SetEnabled(AEnabled);
  Timer->SetInterval(AInterval);
  Timer->SetOnTimer(AOnTimer);
  return Timer;
}

// ---------------------------------------------------------------------------

void cxClasses_Initialize() {
  ClassesFinalizing = false;
  if (!FObjectLinks) FObjectLinks = Create<TdxFastList>();
}

void cxClasses_Finalize() {
  ClassesFinalizing = true;
  FreeAndNil(FActiveTimerList);
  FreeAndNil(FcxTimerWindow);
  if (FObjectLinks) {
    // Links still held by their owners keep their Ref; they no longer track.
    FreeAndNil(FObjectLinks);
  }
}
