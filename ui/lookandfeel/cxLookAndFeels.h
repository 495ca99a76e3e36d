// The look-and-feel settings every library control owns: four settings that
// inherit from a master object, from the one root object or from fixed
// defaults, and the painter they resolve to. Also the component that edits
// the root, and the shared listener of system colour changes.
#pragma once

#include "cxLookAndFeelPainters.h"

class TcxLookAndFeel;

// ---------------------------------------------------------------------------
// Vocabulary
enum TcxLookAndFeelValue { lfvKind, lfvNativeStyle, lfvSkinName, lfvScrollbarMode };
using TcxLookAndFeelValues = TSet<TcxLookAndFeelValue, 8>;
enum TdxScrollbarMode { sbmDefault, sbmTouch, sbmClassic, sbmHybrid };
// The streamed form of the scroll-bar mode that older forms carry; a name
// that is not a value reads as -1.
enum TdxTouchScrollUIMode : int { tsmDefault, tsmEnabled, tsmDisabled };
using TdxSkinName = String;

struct TcxLookAndFeelData {
  TcxLookAndFeelKind Kind;
  bool NativeStyle;
  String SkinName;
  TdxScrollbarMode ScrollbarMode;
  // In the resolved state: whether skins were allowed at the last resolution.
  bool UseSkins;
};

constexpr TcxLookAndFeelKind cxDefaultLookAndFeelKind = lfUltraFlat;
constexpr bool cxDefaultLookAndFeelNativeStyle = true;
inline const wchar_t* const cxDefaultLookAndFeelSkinName = L"";
constexpr TdxScrollbarMode cxDefaultLookAndFeelScrollbarMode = sbmDefault;
constexpr bool cxDefaultIsTouchScrollUIModeEnabled = false;

TcxLookAndFeelKind cxLookAndFeelKindMap(TcxLookAndFeelStyle AStyle);
TcxLookAndFeelStyle cxLookAndFeelStyleMap(TcxLookAndFeelKind AKind);

const TEnumInfo& cxLookAndFeelKindInfo();
const TEnumInfo& cxLookAndFeelValueInfo();
const TEnumInfo& dxScrollbarModeInfo();
const TEnumInfo& dxTouchScrollUIModeInfo();

// Process-wide switches. Skins may be used (initially on); touch mode makes
// the painters enlarge touchable elements (initially off); the controller
// raises the third while it switches touch mode.
bool cxUseSkins();
void cxSetUseSkins(bool AValue);
bool cxIsTouchModeEnabled();
void cxSetIsTouchModeEnabled(bool AValue);
bool cxIsTouchSettingsChanging();

// Produces a skin painter for a name that no registered painter has; none is
// installed in this program.
using TdxGetSkinPainterProc = TcxCustomLookAndFeelPainter* (*)(const String& AName);
TdxGetSkinPainterProc dxGetSkinPainterProc();
void dxSetGetSkinPainterProc(TdxGetSkinPainterProc AProc);
// Whether an object's class may be skinned.
using TdxClassSupportsSkinProc = bool (*)(TPersistent* AObject);
TdxClassSupportsSkinProc dxClassSupportsSkinProc();

// ---------------------------------------------------------------------------
// Interfaces
struct IcxLookAndFeelNotificationListener : public IUnknown {
  virtual TObject* STDMETHODCALLTYPE GetObject() = 0;
  virtual void STDMETHODCALLTYPE MasterLookAndFeelChanged(TcxLookAndFeel* Sender,
                                                          TcxLookAndFeelValues AChangedValues) = 0;
  virtual void STDMETHODCALLTYPE MasterLookAndFeelDestroying(TcxLookAndFeel* Sender) = 0;
};
__CRT_UUID_DECL(IcxLookAndFeelNotificationListener, 0x205538BF, 0xF19E, 0x4285, 0xB1, 0x1F, 0xB1,
                0x82, 0xD9, 0x63, 0x58, 0x81)

struct IcxLookAndFeelNotificationListener2 : public IUnknown {
  virtual void STDMETHODCALLTYPE MasterLookAndFeelBeginChange() = 0;
  virtual void STDMETHODCALLTYPE MasterLookAndFeelEndChange() = 0;
};
__CRT_UUID_DECL(IcxLookAndFeelNotificationListener2, 0x392FC2E2, 0x3F2A, 0x4885, 0xB9, 0xE6, 0x43,
                0x98, 0x29, 0x62, 0xF4, 0x75)

// Marks a class whose objects may be skinned.
struct IdxSkinSupport : public IUnknown {};
__CRT_UUID_DECL(IdxSkinSupport, 0xEF3FF483, 0x9B69, 0x46DF, 0x95, 0xA4, 0xD3, 0xA3, 0x81, 0x0F,
                0x63, 0xA5)

// Decides per object whether it may be skinned.
struct IdxSkinSupport2 : public IUnknown {
  virtual bool STDMETHODCALLTYPE IsSkinnable() = 0;
};
__CRT_UUID_DECL(IdxSkinSupport2, 0x01C435BA, 0x7DA1, 0x44A4, 0xBE, 0x8B, 0xBC, 0xE9, 0xCE, 0x05,
                0x62, 0xAB)

struct IcxLookAndFeelContainer : public IUnknown {
  virtual TcxLookAndFeel* STDMETHODCALLTYPE GetLookAndFeel() = 0;
};
__CRT_UUID_DECL(IcxLookAndFeelContainer, 0x6065B58B, 0xC557, 0x4464, 0xA6, 0x7D, 0x64, 0x18, 0x3F,
                0xD1, 0x3F, 0x25)

// The object supports IdxSkinSupport2 and is skinnable, or supports
// IdxSkinSupport.
bool ClassSupportsSkinHandler(TPersistent* AObject);

// ---------------------------------------------------------------------------
// System colour changes

using TcxSystemPaletteChangedEvent = TMethodPtr<void()>;

// A subscription to the shared listener of system colour changes. Primary
// notifiers hear a change before all others.
class TcxSystemPaletteChangedNotifier : public TObject {
  DECLARE_CLASS(TcxSystemPaletteChangedNotifier, TObject)
 public:
  explicit TcxSystemPaletteChangedNotifier(bool AIsPrimary = false) : FIsPrimary(AIsPrimary) {}
  void AfterConstruction() override;
  void BeforeDestruction() override;
  virtual void DoChanged();

  bool IsPrimary() const { return FIsPrimary; }
  const TcxSystemPaletteChangedEvent& OnSystemPaletteChanged() const {
    return FOnSystemPaletteChanged;
  }
  void SetOnSystemPaletteChanged(const TcxSystemPaletteChangedEvent& AValue) {
    FOnSystemPaletteChanged = AValue;
  }

 private:
  bool FIsPrimary;
  bool FSubscribed = false;
  TcxSystemPaletteChangedEvent FOnSystemPaletteChanged;
};

// The shared listener lives while references are held; it holds the Office 11
// colour scheme and refreshes it first on a change.
void AddRefSystemPaletteChangedListener();
void ReleaseRefSystemPaletteChangedListener();
// Its hidden window; nullptr while no reference is held.
HWND cxSystemPaletteChangedListenerHandle();

// ---------------------------------------------------------------------------
// Settings

using TcxLookAndFeelChangedEvent =
    TMethodPtr<void(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues)>;

class TcxLookAndFeel : public TcxInterfacedPersistent,
                       public IcxLookAndFeelNotificationListener,
                       public IcxLookAndFeelNotificationListener2 {
  DECLARE_CLASS(TcxLookAndFeel, TcxInterfacedPersistent)
 public:
  explicit TcxLookAndFeel(TPersistent* AOwner);
  ~TcxLookAndFeel() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return TcxInterfacedPersistent::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TcxInterfacedPersistent::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  // A look-and-feel source copies its assigned values and its master; any
  // other source raises as for every persistent.
  void Assign(TPersistent* Source) override;

  TcxLookAndFeelKind GetKind() const { return FCurrentState.Kind; }
  void SetKind(TcxLookAndFeelKind AValue);
  bool GetNativeStyle() const { return FCurrentState.NativeStyle; }
  void SetNativeStyle(bool AValue);
  String GetSkinName() const { return FCurrentState.SkinName; }
  void SetSkinName(const String& AValue);
  TdxScrollbarMode GetScrollbarMode() const { return FCurrentState.ScrollbarMode; }
  void SetScrollbarMode(TdxScrollbarMode AValue);
  TcxLookAndFeelValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues AValue);
  bool IsKindStored() const { return FAssignedValues.Contains(lfvKind); }
  bool IsNativeStyleStored() const { return FAssignedValues.Contains(lfvNativeStyle); }
  bool IsSkinNameStored() const { return FAssignedValues.Contains(lfvSkinName); }
  bool IsScrollbarModeStored() const { return FAssignedValues.Contains(lfvScrollbarMode); }

  // The master that unassigned settings come from: nullptr for the root, the
  // explicit master when set, else the root.
  TcxLookAndFeel* GetMasterLookAndFeel() const;
  void SetMasterLookAndFeel(TcxLookAndFeel* AValue);
  TcxCustomLookAndFeelPainter* Painter() const { return FPainter; }
  TcxCustomLookAndFeelPainter* SkinPainter() const { return FSkinPainter; }
  TcxLookAndFeelStyle GetActiveStyle();
  void SetStyle(TcxLookAndFeelStyle AValue);
  TdxTouchScrollUIMode GetTouchScrollUIMode() const;
  void SetTouchScrollUIMode(TdxTouchScrollUIMode AValue);
  bool IsRootLookAndFeel() const { return FIsRootLookAndFeel; }

  void Reset();
  void Refresh();
  void BeginUpdate();
  void EndUpdate();
  void AddChangeListener(TObject* AListener);
  void RemoveChangeListener(TObject* AListener);
  TcxCustomLookAndFeelPainter* GetAvailablePainter(TdxThemedObjectType ANeededThemedObjectType);
  virtual TcxCustomLookAndFeelPainter* GetAvailablePainter(
      const TdxThemedObjectTypes& ANeededThemedObjectTypes = TdxThemedObjectTypes());

  const TcxLookAndFeelChangedEvent& OnChanged() const { return FOnChanged; }
  void SetOnChanged(const TcxLookAndFeelChangedEvent& AValue) { FOnChanged = AValue; }
  const TNotifyEvent& OnMasterBeginChange() const { return FOnMasterBeginChange; }
  void SetOnMasterBeginChange(const TNotifyEvent& AValue) { FOnMasterBeginChange = AValue; }
  const TNotifyEvent& OnMasterEndChange() const { return FOnMasterEndChange; }
  void SetOnMasterEndChange(const TNotifyEvent& AValue) { FOnMasterEndChange = AValue; }

  // As a listener of its master.
  TObject* STDMETHODCALLTYPE GetObject() override { return this; }
  void STDMETHODCALLTYPE MasterLookAndFeelChanged(TcxLookAndFeel* Sender,
                                                  TcxLookAndFeelValues AChangedValues) override;
  void STDMETHODCALLTYPE MasterLookAndFeelDestroying(TcxLookAndFeel* Sender) override;
  void STDMETHODCALLTYPE MasterLookAndFeelBeginChange() override;
  void STDMETHODCALLTYPE MasterLookAndFeelEndChange() override;

  // Re-resolves the object when it holds APainter as its painter or skin
  // painter; the registry calls it for every object before the painter
  // goes.
  void PainterRemoved(TcxCustomLookAndFeelPainter* APainter);

 protected:
  void DefineProperties(TFiler* Filer) override;
  virtual TcxCustomLookAndFeelPainter* GetSkinPainter(const String& AName);
  virtual void InitializeCurrentState();
  virtual void InitializePainter();
  virtual TcxLookAndFeelKind InternalGetKind();
  virtual bool InternalGetNativeStyle();
  virtual String InternalGetSkinName();
  virtual TcxCustomLookAndFeelPainter* InternalGetSkinPainter();
  virtual TdxScrollbarMode InternalGetScrollbarMode();
  virtual void SystemPaletteChanged();
  void Changed(TcxLookAndFeelValues AChangedValues);

 private:
  friend void cxLookAndFeels_MarkRoot(TcxLookAndFeel* ALookAndFeel);
  void SaveState();
  void CheckStateChanges();
  // Moves this object from its master's listeners to AValue's (the root's
  // for nullptr).
  void ReplaceMaster(TcxLookAndFeel* AValue);
  void DoMasterLookAndFeelChanged(TcxLookAndFeelValues AChangedValues);
  void DoMasterLookAndFeelDestroying();
  template <class F>
  void WalkListeners(F&& ACall);
  void ReadSkinName(TReader* AReader);
  void WriteSkinName(TWriter* AWriter);
  void ReadTouchScrollUIMode(TReader* AReader);

  TcxLookAndFeelValues FAssignedValues;
  TcxLookAndFeelValues FChangedValues;
  TOwned<TcxObjectList> FChangeListenerList;
  TcxLookAndFeelData FCurrentState;
  TcxLookAndFeelData FData;
  bool FIsDestruction = false;
  bool FIsRootLookAndFeel = false;
  TcxLookAndFeel* FMasterLookAndFeel = nullptr;
  TcxCustomLookAndFeelPainter* FPainter = nullptr;
  TcxCustomLookAndFeelPainter* FSkinPainter = nullptr;
  TcxLookAndFeelData FPrevState;
  TOwned<TcxSystemPaletteChangedNotifier> FSystemPaletteChangedNotifier;
  Integer FUpdateLockCount = 0;
  TcxLookAndFeelChangedEvent FOnChanged;
  TNotifyEvent FOnMasterBeginChange;
  TNotifyEvent FOnMasterEndChange;
};

// The root object; nullptr before the module's start-up and after its
// shut-down.
TcxLookAndFeel* RootLookAndFeel();
// Touch scroll bars are on: the root resolves to sbmTouch.
bool cxIsTouchScrollUIModeEnabled();
// Re-resolves every look-and-feel object that holds APainter.
void cxLookAndFeelPainterRemoved(TcxCustomLookAndFeelPainter* APainter);

// ---------------------------------------------------------------------------
// Edits the root object: its getters read the root's resolved values and
// its setters write the root.
class TcxLookAndFeelController : public TcxCustomComponent,
                                 public IcxLookAndFeelNotificationListener {
  DECLARE_CLASS(TcxLookAndFeelController, TcxCustomComponent)
 public:
  explicit TcxLookAndFeelController(TComponent* AOwner);
  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  TcxLookAndFeelKind GetKind() const;
  void SetKind(TcxLookAndFeelKind AValue);
  bool GetNativeStyle() const;
  void SetNativeStyle(bool AValue);
  TdxScrollbarMode GetScrollbarMode() const;
  void SetScrollbarMode(TdxScrollbarMode AValue);
  String GetSkinName() const;
  void SetSkinName(const String& AValue);
  bool IsSkinNameStored() const { return !GetSkinName().empty(); }
  bool GetTouchMode() const;
  void SetTouchMode(bool AValue);

  void BeginUpdate();
  void EndUpdate();
  virtual void Reset();

  TObject* STDMETHODCALLTYPE GetObject() override { return this; }
  void STDMETHODCALLTYPE MasterLookAndFeelChanged(TcxLookAndFeel* Sender,
                                                  TcxLookAndFeelValues AChangedValues) override;
  void STDMETHODCALLTYPE MasterLookAndFeelDestroying(TcxLookAndFeel* Sender) override;

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  void ReadTouchScrollUIMode(TReader* AReader);
};

void cxLookAndFeels_Initialize();
void cxLookAndFeels_Finalize();
