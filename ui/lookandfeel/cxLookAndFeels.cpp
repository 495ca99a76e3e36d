#include "cxLookAndFeels.h"

#include "Controls.h"
#include "dxOffice11.h"
#include "dxSkinsCore.h"

namespace {
const wchar_t* const KindNames[] = {L"lfFlat", L"lfStandard", L"lfUltraFlat", L"lfOffice11"};
const wchar_t* const ValueNames[] = {L"lfvKind", L"lfvNativeStyle", L"lfvSkinName",
                                     L"lfvScrollbarMode"};
const wchar_t* const ScrollbarModeNames[] = {L"sbmDefault", L"sbmTouch", L"sbmClassic",
                                             L"sbmHybrid"};
const wchar_t* const TouchScrollUIModeNames[] = {L"tsmDefault", L"tsmEnabled", L"tsmDisabled"};

const TcxLookAndFeelKind KindMap[] = {lfFlat,     lfStandard, lfUltraFlat,
                                      lfStandard, lfOffice11, lfUltraFlat};
const TcxLookAndFeelStyle StyleMap[] = {lfsFlat, lfsStandard, lfsUltraFlat, lfsOffice11};

const TcxLookAndFeelValues AllValues{lfvKind, lfvNativeStyle, lfvSkinName, lfvScrollbarMode};

bool UseSkins = true;
bool IsTouchModeEnabled = false;
bool IsTouchSettingsChanging = false;
TdxGetSkinPainterProc GetSkinPainterProc = nullptr;
TdxClassSupportsSkinProc ClassSupportsSkinProc = nullptr;

TcxLookAndFeel* FRoot = nullptr;
Integer FLookAndFeelControllerCount = 0;
Integer FInitCount = 0;
// Every live look-and-feel object, so that none keeps a painter that goes.
TdxListenerList<TcxLookAndFeel*>* FLookAndFeels = nullptr;

// The interface of an object that its owner keeps alive: the reference the
// query adds is given back at once.
template <class I>
I* QueryListener(TObject* AObject) {
  void* P = nullptr;
  if (!AObject || !AObject->GetInterface(__uuidof(I), &P) || !P) return nullptr;
  static_cast<I*>(P)->Release();
  return static_cast<I*>(P);
}

bool IsController(TObject* AListener) {
  auto* L = QueryListener<IcxLookAndFeelNotificationListener>(AListener);
  return L && L->GetObject() && L->GetObject()->Is<TcxLookAndFeelController>();
}
}  // namespace

TcxLookAndFeelKind cxLookAndFeelKindMap(TcxLookAndFeelStyle AStyle) { return KindMap[AStyle]; }
TcxLookAndFeelStyle cxLookAndFeelStyleMap(TcxLookAndFeelKind AKind) { return StyleMap[AKind]; }

const TEnumInfo& cxLookAndFeelKindInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TcxLookAndFeelKind", KindNames);
  return Info;
}
const TEnumInfo& cxLookAndFeelValueInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TcxLookAndFeelValue", ValueNames);
  return Info;
}
const TEnumInfo& dxScrollbarModeInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TdxScrollbarMode", ScrollbarModeNames);
  return Info;
}
const TEnumInfo& dxTouchScrollUIModeInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TdxTouchScrollUIMode", TouchScrollUIModeNames);
  return Info;
}

bool cxUseSkins() { return UseSkins; }
void cxSetUseSkins(bool AValue) { UseSkins = AValue; }
bool cxIsTouchModeEnabled() { return IsTouchModeEnabled; }
void cxSetIsTouchModeEnabled(bool AValue) { IsTouchModeEnabled = AValue; }
bool cxIsTouchSettingsChanging() { return IsTouchSettingsChanging; }
TdxGetSkinPainterProc dxGetSkinPainterProc() { return GetSkinPainterProc; }
void dxSetGetSkinPainterProc(TdxGetSkinPainterProc AProc) { GetSkinPainterProc = AProc; }
TdxClassSupportsSkinProc dxClassSupportsSkinProc() { return ClassSupportsSkinProc; }

bool ClassSupportsSkinHandler(TPersistent* AObject) {
  if (auto* S2 = QueryListener<IdxSkinSupport2>(AObject)) return S2->IsSkinnable();
  return QueryListener<IdxSkinSupport>(AObject) != nullptr;
}

// ---------------------------------------------------------------------------
// System colour changes
namespace {
// One hidden top-level window (system colour changes are broadcast to
// top-level windows) that holds the Office 11 colour scheme for its users.
class TcxSystemPaletteChangedListener : public TObject {
 public:
  TcxSystemPaletteChangedListener() {
    CreateOffice11Colors();
    FWindowHandle = AllocateHWnd(MakeEvent<&TcxSystemPaletteChangedListener::WndProc>(this));
  }
  ~TcxSystemPaletteChangedListener() override {
    DeallocateHWnd(FWindowHandle);
    ReleaseOffice11Colors();
  }
  HWND Handle() const { return FWindowHandle; }
  TdxListenerList<TcxSystemPaletteChangedNotifier*>& List(bool APrimary) {
    return APrimary ? FPrimaryNotifierList : FNotifierList;
  }

 private:
  void WndProc(TMessage& Message) {
    if (Message.Msg == WM_SYSCOLORCHANGE) {
      try {
        RefreshOffice11Colors();
        auto Notify = [](TcxSystemPaletteChangedNotifier* N) { N->DoChanged(); };
        FPrimaryNotifierList.ForEachReverse(Notify);
        FNotifierList.ForEachReverse(Notify);
      } catch (...) {
        dxHandleException();
      }
    }
    Message.Result = DefWindowProcW(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
  }

  HWND FWindowHandle = nullptr;
  TdxListenerList<TcxSystemPaletteChangedNotifier*> FNotifierList;
  TdxListenerList<TcxSystemPaletteChangedNotifier*> FPrimaryNotifierList;
};

TcxSystemPaletteChangedListener* FListener = nullptr;
Integer FListenerRefCount = 0;
}  // namespace

void AddRefSystemPaletteChangedListener() {
  if (FListenerRefCount++ == 0) FListener = new TcxSystemPaletteChangedListener;
}

void ReleaseRefSystemPaletteChangedListener() {
  if (FListenerRefCount == 0) return;
  if (--FListenerRefCount == 0) {
    TcxSystemPaletteChangedListener* L = FListener;
    FListener = nullptr;
    delete L;
  }
}

HWND cxSystemPaletteChangedListenerHandle() { return FListener ? FListener->Handle() : nullptr; }

IMPLEMENT_CLASS(TcxSystemPaletteChangedNotifier)

void TcxSystemPaletteChangedNotifier::AfterConstruction() {
  inherited::AfterConstruction();
  AddRefSystemPaletteChangedListener();
  FListener->List(FIsPrimary).Add(this);
  FSubscribed = true;
}

void TcxSystemPaletteChangedNotifier::BeforeDestruction() {
  if (FSubscribed) {
    FSubscribed = false;
    if (FListener) FListener->List(FIsPrimary).Remove(this);
    ReleaseRefSystemPaletteChangedListener();
  }
  inherited::BeforeDestruction();
}

void TcxSystemPaletteChangedNotifier::DoChanged() {
  if (FOnSystemPaletteChanged) FOnSystemPaletteChanged();
}

// ---------------------------------------------------------------------------
// TcxLookAndFeel
IMPLEMENT_PUBLISHED_CLASS(TcxLookAndFeel) {
  P.Property<&TcxLookAndFeel::AssignedValues, &TcxLookAndFeel::SetAssignedValues>(
       L"AssignedValues", cxLookAndFeelValueInfo())
      .Stored(false);
  P.Property<&TcxLookAndFeel::GetKind, &TcxLookAndFeel::SetKind>(L"Kind", cxLookAndFeelKindInfo())
      .Stored<&TcxLookAndFeel::IsKindStored>();
  P.Property<&TcxLookAndFeel::GetNativeStyle, &TcxLookAndFeel::SetNativeStyle>(L"NativeStyle")
      .Stored<&TcxLookAndFeel::IsNativeStyleStored>();
  P.Property<&TcxLookAndFeel::GetScrollbarMode, &TcxLookAndFeel::SetScrollbarMode>(
       L"ScrollbarMode", dxScrollbarModeInfo())
      .Stored<&TcxLookAndFeel::IsScrollbarModeStored>();
  P.Property<&TcxLookAndFeel::GetSkinName, &TcxLookAndFeel::SetSkinName>(L"SkinName")
      .Stored<&TcxLookAndFeel::IsSkinNameStored>();
}

TcxLookAndFeel::TcxLookAndFeel(TPersistent* AOwner)
    : TcxInterfacedPersistent(AOwner), FChangeListenerList(MakeOwned<TcxObjectList>(false)) {
  FData =
      TcxLookAndFeelData{cxDefaultLookAndFeelKind, cxDefaultLookAndFeelNativeStyle,
                         cxDefaultLookAndFeelSkinName, cxDefaultLookAndFeelScrollbarMode, UseSkins};
  FCurrentState = FData;
  FPrevState = FData;
}

void TcxLookAndFeel::AfterConstruction() {
  inherited::AfterConstruction();
  FSystemPaletteChangedNotifier.reset(Create<TcxSystemPaletteChangedNotifier>(false));
  FSystemPaletteChangedNotifier->SetOnSystemPaletteChanged(
      MakeEvent<&TcxLookAndFeel::SystemPaletteChanged>(this));
  if (!FLookAndFeels) FLookAndFeels = new TdxListenerList<TcxLookAndFeel*>;
  FLookAndFeels->Add(this);
  if (FRoot) {
    FRoot->AddChangeListener(this);
    InitializeCurrentState();
  }
  InitializePainter();
}

void TcxLookAndFeel::BeforeDestruction() {
  FSystemPaletteChangedNotifier.reset();
  DoMasterLookAndFeelDestroying();
  inherited::BeforeDestruction();
}

TcxLookAndFeel::~TcxLookAndFeel() {
  FSystemPaletteChangedNotifier.reset();
  FChangeListenerList.reset();
  if (TcxLookAndFeel* Master = GetMasterLookAndFeel()) Master->RemoveChangeListener(this);
  if (FLookAndFeels) FLookAndFeels->Remove(this);
  if (FIsRootLookAndFeel) {
    if (FRoot == this) FRoot = nullptr;
    FIsRootLookAndFeel = false;
  }
}

HRESULT STDMETHODCALLTYPE TcxLookAndFeel::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxLookAndFeel::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IcxLookAndFeelNotificationListener))) {
    *AObj = static_cast<IcxLookAndFeelNotificationListener*>(this);
    AddRef();
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IcxLookAndFeelNotificationListener2))) {
    *AObj = static_cast<IcxLookAndFeelNotificationListener2*>(this);
    AddRef();
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TcxLookAndFeel::Assign(TPersistent* Source) {
  auto* S = AsOrNull<TcxLookAndFeel>(Source);
  if (!S) {
    inherited::Assign(Source);
    return;
  }
  SaveState();
  FData = S->FData;
  FAssignedValues = S->FAssignedValues;
  TcxLookAndFeel* Master = S->GetMasterLookAndFeel();
  if (!FIsRootLookAndFeel && Master != this && Master != GetMasterLookAndFeel())
    ReplaceMaster(Master);
  CheckStateChanges();
}

// ---------------------------------------------------------------------------
// Resolution
TcxLookAndFeel* TcxLookAndFeel::GetMasterLookAndFeel() const {
  if (FIsRootLookAndFeel) return nullptr;
  return FMasterLookAndFeel ? FMasterLookAndFeel : FRoot;
}

TcxLookAndFeelKind TcxLookAndFeel::InternalGetKind() {
  if (FAssignedValues.Contains(lfvKind)) return FData.Kind;
  if (FIsRootLookAndFeel) return cxDefaultLookAndFeelKind;
  TcxLookAndFeel* Master = GetMasterLookAndFeel();
  return Master ? Master->GetKind() : cxDefaultLookAndFeelKind;
}

bool TcxLookAndFeel::InternalGetNativeStyle() {
  if (FAssignedValues.Contains(lfvNativeStyle)) return FData.NativeStyle;
  if (FIsRootLookAndFeel) return cxDefaultLookAndFeelNativeStyle;
  TcxLookAndFeel* Master = GetMasterLookAndFeel();
  return Master ? Master->GetNativeStyle() : cxDefaultLookAndFeelNativeStyle;
}

String TcxLookAndFeel::InternalGetSkinName() {
  if (FAssignedValues.Contains(lfvSkinName)) return FData.SkinName;
  if (FIsRootLookAndFeel) return cxDefaultLookAndFeelSkinName;
  TcxLookAndFeel* Master = GetMasterLookAndFeel();
  return Master ? Master->GetSkinName() : String(cxDefaultLookAndFeelSkinName);
}

TdxScrollbarMode TcxLookAndFeel::InternalGetScrollbarMode() {
  if (FAssignedValues.Contains(lfvScrollbarMode)) return FData.ScrollbarMode;
  if (FIsRootLookAndFeel) return cxDefaultLookAndFeelScrollbarMode;
  TcxLookAndFeel* Master = GetMasterLookAndFeel();
  return Master ? Master->GetScrollbarMode() : cxDefaultLookAndFeelScrollbarMode;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::InternalGetSkinPainter() {
  if (FAssignedValues.Contains(lfvSkinName)) return GetSkinPainter(FData.SkinName);
  if (FIsRootLookAndFeel) return nullptr;
  TcxLookAndFeel* Master = GetMasterLookAndFeel();
  return Master ? Master->GetSkinPainter(Master->GetSkinName()) : nullptr;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::GetSkinPainter(const String& AName) {
  if (!UseSkins || AName.empty()) return nullptr;
  if (TcxLookAndFeelPaintersManager* M = cxLookAndFeelPaintersManager())
    if (TcxCustomLookAndFeelPainter* P = M->GetPainter(AName)) return P;
  return GetSkinPainterProc ? GetSkinPainterProc(AName) : nullptr;
}

void TcxLookAndFeel::InitializeCurrentState() {
  FCurrentState = TcxLookAndFeelData{InternalGetKind(), InternalGetNativeStyle(),
                                     InternalGetSkinName(), InternalGetScrollbarMode(), UseSkins};
  FSkinPainter = FCurrentState.NativeStyle ? nullptr : InternalGetSkinPainter();
}

void TcxLookAndFeel::InitializePainter() { FPainter = GetAvailablePainter(); }

TcxCustomLookAndFeelPainter* TcxLookAndFeel::GetAvailablePainter(
    TdxThemedObjectType ANeededThemedObjectType) {
  return GetAvailablePainter(TdxThemedObjectTypes{ANeededThemedObjectType});
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::GetAvailablePainter(
    const TdxThemedObjectTypes& ANeededThemedObjectTypes) {
  TcxLookAndFeelPaintersManager* M = cxLookAndFeelPaintersManager();
  if (!M) return nullptr;
  if (GetNativeStyle() && AreVisualStylesAvailable(ANeededThemedObjectTypes))
    return M->GetPainter(lfsNative);
  if (FSkinPainter) return FSkinPainter;
  return M->GetPainter(GetActiveStyle());
}

TcxLookAndFeelStyle TcxLookAndFeel::GetActiveStyle() {
  if (GetNativeStyle() && AreVisualStylesAvailable()) return lfsNative;
  if (FSkinPainter) return lfsSkin;
  return cxLookAndFeelStyleMap(GetKind());
}

void TcxLookAndFeel::SetStyle(TcxLookAndFeelStyle AValue) {
  SetNativeStyle(AValue == lfsNative);
  if (!GetNativeStyle()) SetKind(cxLookAndFeelKindMap(AValue));
}

// ---------------------------------------------------------------------------
// Setters
void TcxLookAndFeel::SetKind(TcxLookAndFeelKind AValue) {
  TcxLookAndFeelKind Prev = GetKind();
  FAssignedValues.Include(lfvKind);
  FData.Kind = AValue;
  if (InternalGetKind() != Prev) Changed(TcxLookAndFeelValues{lfvKind});
}

void TcxLookAndFeel::SetNativeStyle(bool AValue) {
  bool Prev = GetNativeStyle();
  FAssignedValues.Include(lfvNativeStyle);
  FData.NativeStyle = AValue;
  if (InternalGetNativeStyle() != Prev) Changed(TcxLookAndFeelValues{lfvNativeStyle});
}

void TcxLookAndFeel::SetSkinName(const String& AValue) {
  String Prev = GetSkinName();
  FAssignedValues.Include(lfvSkinName);
  FData.SkinName = AValue;
  if (InternalGetSkinName() != Prev) Changed(TcxLookAndFeelValues{lfvSkinName});
}

void TcxLookAndFeel::SetScrollbarMode(TdxScrollbarMode AValue) {
  TdxScrollbarMode Prev = GetScrollbarMode();
  FAssignedValues.Include(lfvScrollbarMode);
  FData.ScrollbarMode = AValue;
  if (InternalGetScrollbarMode() != Prev) Changed(TcxLookAndFeelValues{lfvScrollbarMode});
}

void TcxLookAndFeel::SaveState() { FPrevState = FCurrentState; }

void TcxLookAndFeel::CheckStateChanges() {
  TcxLookAndFeelValues Changes;
  if (InternalGetKind() != FPrevState.Kind) Changes.Include(lfvKind);
  if (InternalGetNativeStyle() != FPrevState.NativeStyle) Changes.Include(lfvNativeStyle);
  if (InternalGetSkinName() != FPrevState.SkinName) Changes.Include(lfvSkinName);
  if (InternalGetScrollbarMode() != FPrevState.ScrollbarMode) Changes.Include(lfvScrollbarMode);
  Changed(Changes);
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues AValue) {
  if (AValue == FAssignedValues) return;
  SaveState();
  FAssignedValues = AValue;
  CheckStateChanges();
}

void TcxLookAndFeel::Reset() {
  SetAssignedValues(TcxLookAndFeelValues());
  if (FIsRootLookAndFeel) {
    dxSetSkinsUseImageSet(imsDefault);
    UseSkins = true;
    IsTouchModeEnabled = false;
  }
}

void TcxLookAndFeel::Refresh() { Changed(AllValues); }

void TcxLookAndFeel::SystemPaletteChanged() { Changed(TcxLookAndFeelValues{lfvNativeStyle}); }

void TcxLookAndFeel::SetMasterLookAndFeel(TcxLookAndFeel* AValue) {
  if (FIsRootLookAndFeel || AValue == this || AValue == GetMasterLookAndFeel()) return;
  SaveState();
  ReplaceMaster(AValue);
  CheckStateChanges();
}

void TcxLookAndFeel::ReplaceMaster(TcxLookAndFeel* AValue) {
  if (TcxLookAndFeel* Old = GetMasterLookAndFeel()) Old->RemoveChangeListener(this);
  FMasterLookAndFeel = AValue;
  if (TcxLookAndFeel* New = GetMasterLookAndFeel()) New->AddChangeListener(this);
}

TdxTouchScrollUIMode TcxLookAndFeel::GetTouchScrollUIMode() const {
  switch (GetScrollbarMode()) {
    case sbmDefault:
      return tsmDefault;
    case sbmTouch:
      return tsmEnabled;
    default:
      return tsmDisabled;
  }
}

void TcxLookAndFeel::SetTouchScrollUIMode(TdxTouchScrollUIMode AValue) {
  switch (AValue) {
    case tsmDefault:
      SetScrollbarMode(sbmDefault);
      break;
    case tsmEnabled:
      SetScrollbarMode(sbmTouch);
      break;
    default:
      SetScrollbarMode(sbmClassic);
      break;
  }
}

// ---------------------------------------------------------------------------
// Notification
void TcxLookAndFeel::Changed(TcxLookAndFeelValues AChangedValues) {
  if (FIsDestruction) return;
  if (FCurrentState.UseSkins != UseSkins) AChangedValues.Include(lfvSkinName);
  if (AChangedValues.Empty() && !IsTouchSettingsChanging) return;
  // The state follows at once, also inside an update.
  InitializeCurrentState();
  InitializePainter();
  if (FUpdateLockCount > 0) {
    FChangedValues += AChangedValues;
    return;
  }
  DoMasterLookAndFeelChanged(AChangedValues);
  if (FOnChanged) FOnChanged(this, AChangedValues);
}

void TcxLookAndFeel::BeginUpdate() { ++FUpdateLockCount; }

void TcxLookAndFeel::EndUpdate() {
  if (FUpdateLockCount == 0) return;
  if (--FUpdateLockCount > 0) return;
  TcxLookAndFeelValues Values = FChangedValues;
  FChangedValues = TcxLookAndFeelValues();
  Changed(Values);
}

template <class F>
void TcxLookAndFeel::WalkListeners(F&& ACall) {
  // A listener may leave the list while it is called; the walk then stays
  // on the same index so that its successor is not skipped.
  Integer I = 0;
  while (I < FChangeListenerList->Count()) {
    Integer Count = FChangeListenerList->Count();
    ACall(FChangeListenerList->Items(I));
    if (FChangeListenerList->Count() == Count) ++I;
  }
}

void TcxLookAndFeel::DoMasterLookAndFeelChanged(TcxLookAndFeelValues AChangedValues) {
  WalkListeners([](TObject* L) {
    if (auto* L2 = QueryListener<IcxLookAndFeelNotificationListener2>(L))
      L2->MasterLookAndFeelBeginChange();
  });
  WalkListeners([this, AChangedValues](TObject* L) {
    if (auto* L1 = QueryListener<IcxLookAndFeelNotificationListener>(L))
      L1->MasterLookAndFeelChanged(this, AChangedValues);
  });
  WalkListeners([](TObject* L) {
    if (auto* L2 = QueryListener<IcxLookAndFeelNotificationListener2>(L))
      L2->MasterLookAndFeelEndChange();
  });
}

void TcxLookAndFeel::DoMasterLookAndFeelDestroying() {
  FIsDestruction = true;
  // The list stays whole during destruction: listeners leave it without
  // removing themselves.
  Integer Count = FChangeListenerList->Count();
  for (Integer I = 0; I < Count && I < FChangeListenerList->Count(); ++I)
    if (auto* L = QueryListener<IcxLookAndFeelNotificationListener>(FChangeListenerList->Items(I)))
      L->MasterLookAndFeelDestroying(this);
  FIsDestruction = false;
}

void TcxLookAndFeel::AddChangeListener(TObject* AListener) {
  auto* L = QueryListener<IcxLookAndFeelNotificationListener>(AListener);
  if (!L) return;
  bool Controller = IsController(AListener);
  if (Controller && !FIsRootLookAndFeel) return;
  if (FChangeListenerList->IndexOf(AListener) >= 0) return;
  FChangeListenerList->Add(AListener);
  if (Controller) ++FLookAndFeelControllerCount;
}

void TcxLookAndFeel::RemoveChangeListener(TObject* AListener) {
  Integer Index = FChangeListenerList ? FChangeListenerList->IndexOf(AListener) : -1;
  if (Index < 0) return;
  if (!FIsDestruction) FChangeListenerList->Delete(Index);
  if (FIsRootLookAndFeel && IsController(AListener) && FLookAndFeelControllerCount > 0 &&
      --FLookAndFeelControllerCount == 0)
    Reset();
}

void STDMETHODCALLTYPE
TcxLookAndFeel::MasterLookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues AChangedValues) {
  Changed(AChangedValues - FAssignedValues);
}

void STDMETHODCALLTYPE TcxLookAndFeel::MasterLookAndFeelDestroying(TcxLookAndFeel*) {
  SetMasterLookAndFeel(nullptr);
}

void STDMETHODCALLTYPE TcxLookAndFeel::MasterLookAndFeelBeginChange() {
  dxCallNotify(FOnMasterBeginChange, this);
}

void STDMETHODCALLTYPE TcxLookAndFeel::MasterLookAndFeelEndChange() {
  dxCallNotify(FOnMasterEndChange, this);
}

void TcxLookAndFeel::PainterRemoved(TcxCustomLookAndFeelPainter* APainter) {
  if (APainter && (FPainter == APainter || FSkinPainter == APainter)) Refresh();
}

// ---------------------------------------------------------------------------
// Streaming
void TcxLookAndFeel::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  // An assigned empty skin name has no published value to stream.
  Filer->DefineProperty(L"SkinName", MakeEvent<&TcxLookAndFeel::ReadSkinName>(this),
                        MakeEvent<&TcxLookAndFeel::WriteSkinName>(this),
                        IsSkinNameStored() && FData.SkinName.empty());
  Filer->DefineProperty(L"TouchScrollUIMode",
                        MakeEvent<&TcxLookAndFeel::ReadTouchScrollUIMode>(this), nullptr, false);
}

void TcxLookAndFeel::ReadSkinName(TReader* AReader) { SetSkinName(AReader->ReadString()); }

void TcxLookAndFeel::WriteSkinName(TWriter* AWriter) { AWriter->WriteString(GetSkinName()); }

void TcxLookAndFeel::ReadTouchScrollUIMode(TReader* AReader) {
  SetTouchScrollUIMode(static_cast<TdxTouchScrollUIMode>(
      GetEnumValue(dxTouchScrollUIModeInfo(), AReader->ReadIdent())));
}

// ---------------------------------------------------------------------------
// Module routines
TcxLookAndFeel* RootLookAndFeel() { return FRoot; }

bool cxIsTouchScrollUIModeEnabled() { return FRoot && FRoot->GetScrollbarMode() == sbmTouch; }

void cxLookAndFeelPainterRemoved(TcxCustomLookAndFeelPainter* APainter) {
  if (FLookAndFeels)
    FLookAndFeels->ForEach([APainter](TcxLookAndFeel* L) { L->PainterRemoved(APainter); });
}

void cxLookAndFeels_MarkRoot(TcxLookAndFeel* ALookAndFeel) {
  ALookAndFeel->FIsRootLookAndFeel = true;
  FRoot = ALookAndFeel;
}

// ---------------------------------------------------------------------------
// Controller
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxLookAndFeelController) {
  P.Property<&TcxLookAndFeelController::GetKind, &TcxLookAndFeelController::SetKind>(
       L"Kind", cxLookAndFeelKindInfo())
      .Default(lfUltraFlat);
  P.Property<&TcxLookAndFeelController::GetNativeStyle, &TcxLookAndFeelController::SetNativeStyle>(
       L"NativeStyle")
      .Default(1);
  P.Property<&TcxLookAndFeelController::GetScrollbarMode,
             &TcxLookAndFeelController::SetScrollbarMode>(L"ScrollbarMode", dxScrollbarModeInfo())
      .Default(sbmDefault);
  P.Property<&TcxLookAndFeelController::GetSkinName, &TcxLookAndFeelController::SetSkinName>(
       L"SkinName")
      .Stored<&TcxLookAndFeelController::IsSkinNameStored>();
  P.Property<&TcxLookAndFeelController::GetTouchMode, &TcxLookAndFeelController::SetTouchMode>(
       L"TouchMode")
      .Default(0);
}

TcxLookAndFeelController::TcxLookAndFeelController(TComponent* AOwner)
    : TcxCustomComponent(AOwner) {}

void TcxLookAndFeelController::AfterConstruction() {
  inherited::AfterConstruction();
  if (FRoot) FRoot->AddChangeListener(this);
}

void TcxLookAndFeelController::BeforeDestruction() {
  if (FRoot) FRoot->RemoveChangeListener(this);
  inherited::BeforeDestruction();
}

HRESULT STDMETHODCALLTYPE TcxLookAndFeelController::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxLookAndFeelController::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IcxLookAndFeelNotificationListener)) ||
      IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IcxLookAndFeelNotificationListener*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

TcxLookAndFeelKind TcxLookAndFeelController::GetKind() const {
  return FRoot ? FRoot->GetKind() : cxDefaultLookAndFeelKind;
}

void TcxLookAndFeelController::SetKind(TcxLookAndFeelKind AValue) {
  if (FRoot) FRoot->SetKind(AValue);
}

bool TcxLookAndFeelController::GetNativeStyle() const {
  return FRoot ? FRoot->GetNativeStyle() : cxDefaultLookAndFeelNativeStyle;
}

void TcxLookAndFeelController::SetNativeStyle(bool AValue) {
  if (FRoot) FRoot->SetNativeStyle(AValue);
}

TdxScrollbarMode TcxLookAndFeelController::GetScrollbarMode() const {
  return FRoot ? FRoot->GetScrollbarMode() : cxDefaultLookAndFeelScrollbarMode;
}

void TcxLookAndFeelController::SetScrollbarMode(TdxScrollbarMode AValue) {
  if (FRoot) FRoot->SetScrollbarMode(AValue);
}

String TcxLookAndFeelController::GetSkinName() const {
  return FRoot ? FRoot->GetSkinName() : String(cxDefaultLookAndFeelSkinName);
}

void TcxLookAndFeelController::SetSkinName(const String& AValue) {
  if (FRoot) FRoot->SetSkinName(AValue);
}

bool TcxLookAndFeelController::GetTouchMode() const { return IsTouchModeEnabled; }

void TcxLookAndFeelController::SetTouchMode(bool AValue) {
  if (AValue == IsTouchModeEnabled) return;
  IsTouchSettingsChanging = true;
  struct TClear {
    ~TClear() { IsTouchSettingsChanging = false; }
  } Clear;
  IsTouchModeEnabled = AValue;
  if (FRoot) FRoot->Refresh();
}

void TcxLookAndFeelController::BeginUpdate() {
  if (FRoot) FRoot->BeginUpdate();
}

void TcxLookAndFeelController::EndUpdate() {
  if (FRoot) FRoot->EndUpdate();
}

void TcxLookAndFeelController::Reset() {
  if (FRoot) FRoot->Reset();
}

// The controller only tells a form designer of the root's changes, and a
// program has none.
void STDMETHODCALLTYPE TcxLookAndFeelController::MasterLookAndFeelChanged(TcxLookAndFeel*,
                                                                          TcxLookAndFeelValues) {}

void STDMETHODCALLTYPE TcxLookAndFeelController::MasterLookAndFeelDestroying(TcxLookAndFeel*) {}

void TcxLookAndFeelController::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(L"TouchScrollUIMode",
                        MakeEvent<&TcxLookAndFeelController::ReadTouchScrollUIMode>(this), nullptr,
                        false);
}

void TcxLookAndFeelController::ReadTouchScrollUIMode(TReader* AReader) {
  bool Value = AReader->ReadBoolean();
  if (Value != cxIsTouchScrollUIModeEnabled()) SetScrollbarMode(Value ? sbmTouch : sbmClassic);
}

// ---------------------------------------------------------------------------
// Module start-up and shut-down
namespace {
void RegisterRootAssistant() {
  TcxLookAndFeel* Root = Create<TcxLookAndFeel>(nullptr);
  cxLookAndFeels_MarkRoot(Root);
}

void UnregisterRootAssistant() {
  TcxLookAndFeel* Root = FRoot;
  FRoot = nullptr;
  if (Root) Root->Free();
}
}  // namespace

void cxLookAndFeels_Initialize() {
  if (FInitCount++ > 0) return;
  RegisterClass(TcxLookAndFeelController::StaticClass());
  ClassSupportsSkinProc = &ClassSupportsSkinHandler;
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->AddUnit(&RegisterRootAssistant, &UnregisterRootAssistant);
}

void cxLookAndFeels_Finalize() {
  if (FInitCount == 0 || --FInitCount > 0) return;
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->RemoveUnit(&UnregisterRootAssistant);
  ClassSupportsSkinProc = nullptr;
  if (FLookAndFeels && FLookAndFeels->Empty()) {
    delete FLookAndFeels;
    FLookAndFeels = nullptr;
  }
}
