// The editor framework: what every editor shares. Each editor is split into
// shareable settings (properties), layout calculation (view data), layout and
// painting (view info) and the control itself; this header declares the
// common base of each, the editor styles and style controllers, and the
// module-wide registries the editor modules fill at start-up.
#pragma once

#include <vector>

#include "ActnList.h"
#include "cxContainer.h"
#include "cxEditErrors.h"
#include "cxEditUtils.h"
#include "cxVariants.h"
#include "dxCoreClasses.h"
#include "dxFading.h"
#include "dxGDIPlusClasses.h"

class TcxCustomEdit;
class TcxCustomEditContainer;
class TcxCustomEditProperties;
class TcxCustomEditStyle;
class TcxEditStyle;
class TcxEditStyleController;
class TcxEditButtons;
class TcxCustomEditViewData;
class TcxCustomEditViewInfo;
class TcxEditRepository;
class TcxEditRepositoryItem;
class TcxInplaceEditList;
class TcxCustomEditData;

// ---------------------------------------------------------------------------
// Vocabulary shared by the editor classes.
enum TcxEditVertAlignment { taTopJustify, taBottomJustify, taVCenter };
enum TcxEditButtonsViewStyle { bvsNormal, bvsButtonsOnly, bvsButtonsAutoWidth };
enum TcxEditValidationOption { evoRaiseException, evoShowErrorIcon, evoAllowLoseFocus };
using TcxEditValidationOptions = TSet<TcxEditValidationOption>;
enum TcxEditDisplayFormatOption { dfoSupports, dfoNoCurrencyValue };
using TcxEditDisplayFormatOptions = TSet<TcxEditDisplayFormatOption>;
enum TcxEditSpecialFeature {
  esfBlobEditValue,
  esfMinSize,
  esfNoContentPart,
  esfClickable,
  esfMultiRow
};
using TcxEditSpecialFeatures = TSet<TcxEditSpecialFeature>;
enum TcxEditSupportedOperation {
  esoAlwaysHotTrack,
  esoAutoHeight,
  esoHotTrack,
  esoEditingAutoHeight,
  // What text-like editors add.
  esoEditing,
  esoFiltering,
  esoHorzAlignment,
  esoIncSearch,
  esoSorting
};
using TcxEditSupportedOperations = TSet<TcxEditSupportedOperation>;
enum TcxEditEditValueSource { evsValue, evsText, evsKey };
enum TcxEditErrorKind { ekDefault, ekValueOutOfBounds };
enum TcxEditCloseUpReason { crUnknown, crTab, crClose, crCancel, crEnter };
enum TcxEditEditingStyle { esEdit, esEditList, esFixedList, esNoEdit };
enum TcxEditBorderStyle { ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat, ebsOffice11 };
// Button style, state and kind are declared with the drawing routines.
enum TcxEditButtonTransparency {
  ebtNone,
  ebtInactive,
  ebtAlways,
  ebtHideInactive,
  ebtHideUnselected
};

enum TcxEditPaintOption {
  epoAllowZeroHeight,
  epoAutoHeight,
  epoHasExternalBorder,
  epoShowEndEllipsis,
  epoShowFocusRectWhenInplace
};
using TcxEditPaintOptions = TSet<TcxEditPaintOption>;

// Hit-test results of an editor besides a button's visible index.
constexpr Integer ecpControl = -1;
constexpr Integer ecpErrorIcon = -2;
constexpr Integer ecpNone = -3;

constexpr TAlignment cxEditDefaultHorzAlignment = taLeftJustify;
constexpr TcxEditVertAlignment cxEditDefaultVertAlignment = taTopJustify;

struct TcxEditSizeProperties {
  Integer Height;
  Integer MaxLineCount;
  Integer Width;
};
constexpr TcxEditSizeProperties cxDefaultEditSizeProperties{-1, 0, -1};

// The mouse-wheel cursor editors show while wheel-scrolling.
constexpr TCursor crcxEditMouseWheel = 4101;

using TcxEditButtonClickEvent = TMethodPtr<void(TObject* Sender, Integer AButtonIndex)>;
using TcxEditClosePopupEvent = TMethodPtr<void(TObject* Sender, TcxEditCloseUpReason AReason)>;
using TcxEditValidateEvent =
    TMethodPtr<void(TObject* Sender, Variant& DisplayValue, String& ErrorText, bool& Error)>;

// What makes an editor of a properties class: the editor's class and a
// factory that makes one standalone or in place.
struct TcxCustomEditClass {
  TClass Class = nullptr;
  TcxCustomEdit* (*Create)(TComponent* AOwner, bool AIsInplace) = nullptr;
};
template <class T>
TcxCustomEdit* cxCreateEdit(TComponent* AOwner, bool AIsInplace) {
  return Create<T>(AOwner, AIsInplace);
}
template <class T>
TcxCustomEditClass cxEditClass() {
  return TcxCustomEditClass{T::StaticClass(), &cxCreateEdit<T>};
}
class TcxCustomEditStyle;
using TcxCustomEditViewDataClass = TcxCustomEditViewData* (*)(TcxCustomEditProperties* AProperties,
                                                              TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace);
template <class T>
TcxCustomEditViewData* cxCreateEditViewData(TcxCustomEditProperties* AProperties,
                                            TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return Create<T>(AProperties, AStyle, AIsInplace);
}

// Where properties take their defaults from when a value is not assigned: a
// data field or a standalone provider.
class IcxEditDefaultValuesProvider {
 public:
  virtual bool CanSetEditMode() = 0;
  virtual TAlignment DefaultAlignment() = 0;
  virtual bool DefaultCanModify() = 0;
  virtual Double DefaultMaxValue() = 0;
  virtual Double DefaultMinValue() = 0;
  virtual bool DefaultReadOnly() = 0;
  virtual bool IsDisplayFormatDefined(bool AIsCurrencyValueAccepted) = 0;

 protected:
  ~IcxEditDefaultValuesProvider() = default;
};

// ---------------------------------------------------------------------------
// Module-wide registries and routines.

// The sorted registry of editor properties classes ("Name|Hint" descriptions).
TcxRegisteredClasses* GetRegisteredEditProperties();
// Every live properties object, in creation order.
const std::vector<TcxCustomEditProperties*>& CreatedEditPropertiesList();
namespace cxEditDetail {
// Properties objects join and leave the list themselves.
void AddCreatedProperties(TcxCustomEditProperties* AProperties);
void RemoveCreatedProperties(TcxCustomEditProperties* AProperties);
}  // namespace cxEditDetail
// Frees the slot of AProperties in every in-place editor list.
void ClearPropertiesDestroyingListeners(TcxCustomEditProperties* AProperties);
// The style controller that stands behind every editor not embedded in a host;
// nullptr outside the module's lifetime.
TcxEditStyleController* DefaultEditStyleController();
// The first component among APersistent and its owners, or nullptr.
TComponent* GetOwnerComponent(TPersistent* APersistent);

// Equal values of matching kinds: both numeric, both strings, or one type.
bool cxEditVarEquals(const Variant& V1, const Variant& V2);
// Equal values of the same variant type.
bool InternalVarEqualsExact(const Variant& V1, const Variant& V2);
bool IsSpaceChar(wchar_t C);
TShiftState ButtonToShift(TMouseButton Button);
TShiftState cxButtonToShift(TcxMouseButton Button);
void SendMouseEvent(TWinControl* AReceiver, UINT AMessage, TShiftState AShift,
                    const TPoint& APoint);
void SendKeyEvent(TWinControl* AReceiver, UINT AMessage, Word AKey, TShiftState AShift);
void SendKeyDown(TWinControl* AReceiver, Word Key, TShiftState Shift);
void SendKeyPress(TWinControl* AReceiver, wchar_t Key);
// One-pixel frames that then shrink ARect by the frame.
void DrawComplexFrameEx(TcxCanvas* ACanvas, TRect& ARect, TColor ALeftTopColor,
                        TColor ARightBottomColor);
void FrameRectEx(TcxCanvas* ACanvas, TRect& ARect, TColor AColor);
void UniteRegions(HRGN ADestRgn, HRGN ASrcRgn);

// The validation marks view infos draw; nullptr outside the module's lifetime.
TBitmap* cxEditErrorIcon();
TBitmap* cxEditWarningIcon();
TBitmap* cxEditInfoIcon();

// ---------------------------------------------------------------------------
// The horizontal and vertical alignment of an editor's value.
class TcxEditAlignment : public TPersistent {
  DECLARE_CLASS(TcxEditAlignment, TPersistent)
 public:
  explicit TcxEditAlignment(TPersistent* AOwner);
  TcxEditAlignment(TPersistent* AOwner, TcxEditVertAlignment ADefaultVertAlignment);
  TcxEditAlignment(TPersistent* AOwner, TAlignment ADefaultHorzAlignment,
                   TcxEditVertAlignment ADefaultVertAlignment);
  void Assign(TPersistent* Source) override;
  void Reset();

  TAlignment GetHorz() const { return FHorz; }
  void SetHorz(TAlignment Value);
  TcxEditVertAlignment GetVert() const { return FVert; }
  void SetVert(TcxEditVertAlignment Value);
  bool IsHorzAssigned() const { return FIsHorzAssigned; }
  bool IsHorzStored() { return FIsHorzAssigned || FHorz != FDefaultHorzAlignment; }
  bool IsVertStored() { return FVert != FDefaultVertAlignment; }

  const TNotifyEvent& OnChanged() const { return FOnChanged; }
  void SetOnChanged(const TNotifyEvent& AValue) { FOnChanged = AValue; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  void DoChanged();

  TPersistent* FOwner;
  TAlignment FDefaultHorzAlignment;
  TcxEditVertAlignment FDefaultVertAlignment;
  TAlignment FHorz;
  TcxEditVertAlignment FVert;
  bool FIsHorzAssigned = false;
  TNotifyEvent FOnChanged;
};

// Which of MaxValue, MinValue and ReadOnly the properties hold themselves
// rather than take from the default values provider.
class TcxCustomEditPropertiesValues : public TPersistent {
  DECLARE_CLASS(TcxCustomEditPropertiesValues, TPersistent)
 public:
  explicit TcxCustomEditPropertiesValues(TPersistent* AOwner) : FOwner(AOwner) {}
  void Assign(TPersistent* Source) override;
  virtual void RestoreDefaults();
  void BeginUpdate();
  void EndUpdate();

  bool GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(bool Value);
  bool GetMinValue() const { return FMinValue; }
  void SetMinValue(bool Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool IsMaxValueStored();
  bool IsMinValueStored();
  TcxCustomEditProperties* GetProperties();

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  void SetFlag(bool& AFlag, bool Value);
  bool IsPropertiesPropertyVisible(const String& APropertyName);

  TPersistent* FOwner;
  bool FMaxValue = false;
  bool FMinValue = false;
  bool FReadOnly = false;
};
using TcxCustomEditPropertiesValuesClass = TcxCustomEditPropertiesValues* (*)(TPersistent*);

// ---------------------------------------------------------------------------
// Editor buttons: the embedded buttons of an editor, kept by its properties.

class TcxCustomEditButtons;
class TcxEditButtonActionLink;

// One embedded button with its settings, optionally following an action.
class TcxCustomEditButton : public TCollectionItem {
  DECLARE_CLASS(TcxCustomEditButton, TCollectionItem)
 public:
  using TOwnerType = TCollection;
  explicit TcxCustomEditButton(TCollection* ACollection);
  ~TcxCustomEditButton() override;
  void BeforeDestruction() override;
  void Assign(TPersistent* Source) override;

  virtual void ChangeScale(Integer M, Integer D);
  // AComponent is going away: a linked action is dropped.
  virtual void FreeNotification(TComponent* AComponent);
  virtual TBasicAction* GetAction() const;
  virtual TClass GetActionLinkClass();
  virtual void InitiateAction();

  TcxEditButtonActionLink* ActionLink() const { return FActionLink.get(); }
  TcxCustomEditButtons* Buttons() const;
  void SetAction(TBasicAction* Value);
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  // The caption without accelerator marks, as it is measured and drawn.
  const String& GetVisibleCaption() const { return FVisibleCaption; }
  TAlignment GetContentAlignment() const { return FContentAlignment; }
  void SetContentAlignment(TAlignment Value);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TdxSmartGlyph* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TdxSmartGlyph* Value);
  const String& GetHint() const { return FHint; }
  void SetHint(const String& Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TcxEditButtonKind GetKind() const { return FKind; }
  void SetKind(TcxEditButtonKind Value);
  bool GetLeftAlignment() const { return FLeftAlignment; }
  void SetLeftAlignment(bool Value);
  bool GetStretchable() const { return FStretchable; }
  void SetStretchable(bool Value);
  NativeInt GetTag() const { return FTag; }
  void SetTag(NativeInt Value);
  TColor GetTextColor() const { return FTextColor; }
  void SetTextColor(TColor Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // 0 is the automatic width. A negative width is refused.
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);

  // A value the linked action supplies is not stored.
  bool IsCaptionStored();
  bool IsEnabledStored();
  bool IsHintStored();
  bool IsImageIndexStored();
  bool IsVisibleStored();
  bool IsTagStored() const { return FTag != 0; }

 protected:
  // Takes the action's state; with CheckDefaults only into values that still
  // hold their defaults.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

 private:
  friend class TcxEditButtonActionLink;
  void DoActionChange(TObject* Sender);
  void GlyphChanged(TObject* Sender);
  void DropAction();

  TOwned<TcxEditButtonActionLink> FActionLink;
  String FCaption;
  String FVisibleCaption;
  TAlignment FContentAlignment = taCenter;
  bool FDefault = false;
  bool FEnabled = true;
  TOwned<TdxSmartGlyph> FGlyph;
  String FHint;
  Integer FImageIndex = -1;
  TcxEditButtonKind FKind = bkDown;
  bool FLeftAlignment = false;
  bool FStretchable = true;
  NativeInt FTag = 0;
  TColor FTextColor = clBtnText;
  bool FVisible = true;
  Integer FWidth = 0;
};

// The buttons of one properties object; reports every change through OnChange
// and watches the linked actions for destruction.
class TcxCustomEditButtons : public TCollection {
  DECLARE_CLASS(TcxCustomEditButtons, TCollection)
 public:
  TcxCustomEditButtons(TPersistent* AOwner, TClass AButtonClass);
  ~TcxCustomEditButtons() override;

  virtual void ChangeScale(Integer M, Integer D);
  virtual void InitiateActions();
  virtual TClass GetButtonClass() { return TcxCustomEditButton::StaticClass(); }

  void AddFreeNotificatorSender(TComponent* ASender);
  void RemoveFreeNotificatorSender(TComponent* ASender);
  Integer GetVisibleCount() const;
  TcxCustomEditButton* Items(Integer Index) const {
    return static_cast<TcxCustomEditButton*>(TCollection::Items(Index));
  }
  // The image list of the buttons' ImageIndex (the properties' Images).
  TCustomImageList* GetImages() const { return FImages; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& Value) { FOnChange = Value; }

 protected:
  virtual void DoFreeNotification(TComponent* Sender);
  TPersistent* GetOwner() override { return FOwner; }
  void Update(TCollectionItem* Item) override;

 private:
  friend class TcxCustomEditProperties;
  TOwned<TcxFreeNotificator> FFreeNotificator;
  TPersistent* FOwner;
  TCustomImageList* FImages = nullptr;
  TNotifyEvent FOnChange;
};

class TcxEditButton : public TcxCustomEditButton {
  DECLARE_CLASS(TcxEditButton, TcxCustomEditButton)
 public:
  using TcxCustomEditButton::TcxCustomEditButton;
};

class TcxEditButtons : public TcxCustomEditButtons {
  DECLARE_CLASS(TcxEditButtons, TcxCustomEditButtons)
 public:
  using TOwnerType = TPersistent;
  explicit TcxEditButtons(TPersistent* AOwner)
      : TcxCustomEditButtons(AOwner, TcxEditButton::StaticClass()) {}
  TClass GetButtonClass() override { return TcxEditButton::StaticClass(); }
  TcxEditButton* Add() { return static_cast<TcxEditButton*>(TCollection::Add()); }
  TcxEditButton* Items(Integer Index) const {
    return static_cast<TcxEditButton*>(TCollection::Items(Index));
  }
};
using TcxEditButtonsClass = TcxEditButtons* (*)(TPersistent* AOwner);

// What the view data fills for one visible button and its painting reads.
struct TcxEditButtonViewInfoData {
  TcxEditButtonActionLink* ActionLink = nullptr;
  TColor BackgroundColor = clDefault;
  String Caption;
  TAlignment ContentAlignment = taCenter;
  bool Default = false;
  bool Gradient = false;
  String Hint;
  bool IsInplace = false;
  TcxEditButtonKind Kind = bkDown;
  bool LeftAlignment = false;
  bool Leftmost = false;
  bool NativeStyle = false;
  bool Rightmost = false;
  TcxEditButtonState State = ebsNormal;
  TcxEditButtonStyle Style = btsDefault;
  TColor TextColor = clBtnText;
  bool Transparent = false;
  String VisibleCaption;
  bool BackgroundPartiallyTransparent = false;
  bool ComboBoxStyle = false;
  Integer NativePart = 0;
  Integer NativeState = 0;
  bool UseSkins = false;
};

class TcxEditButtonFadingHelper;

// One visible button inside an editor's view info.
class TcxEditButtonViewInfo : public TPersistent {
  DECLARE_CLASS(TcxEditButtonViewInfo, TPersistent)
 public:
  // Copies what decides whether the button must be redrawn: native state,
  // background colour, bounds, style and state.
  void Assign(TPersistent* Source) override;
  // On the previous view info: empty when the button looks the same in
  // AViewInfo, else the button's bounds (a region the caller owns).
  virtual TRegionHandle GetUpdateRegion(TcxEditButtonViewInfo* AViewInfo);
  // On the previous view info: when the button looks different in
  // AViewInfo, invalidates its bounds (moved by AEditPosition) on
  // AControl's window, erasing when it has a background; true when it did.
  virtual bool Repaint(TWinControl* AControl, TcxEditButtonViewInfo* AViewInfo,
                       const TPoint& AEditPosition);

  TRect Bounds{};
  Integer ButtonIndex = 0;
  Integer ButtonVisibleIndex = 0;
  TcxEditButtonViewInfoData Data;
  TcxCustomEditViewInfo* EditViewInfo = nullptr;
  TdxSmartGlyph* Glyph = nullptr;
  bool HasBackground = false;
  Integer ImageIndex = -1;
  TCustomImageList* Images = nullptr;
  bool Stretchable = true;
  TRect VisibleBounds{};
  Integer Width = 0;

  // Fading of the button (painting).
  void AfterConstruction() override;
  ~TcxEditButtonViewInfo() override;
  virtual TcxEditButtonFadingHelper* CreateFadingHelper();
  // The editor view info's.
  TdxScaleFactor* GetScaleFactor() const;
  TcxEditButtonFadingHelper* FadingHelper = nullptr;

 private:
  bool LooksDifferentIn(const TcxEditButtonViewInfo* AViewInfo) const;
};

// A button's link to its action: a value follows the action while the
// button's value still equals the action's.
class TcxEditButtonActionLink : public TActionLink {
  DECLARE_CLASS(TcxEditButtonActionLink, TActionLink)
 public:
  using TActionLink::TActionLink;
  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsVisibleLinked() override;
  void SetCaption(const String& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const String& Value) override;
  void SetImageIndex(Integer Value) override;
  void SetVisible(bool Value) override;
  // The hint the button shows: the action's hint handling, then its shortcut
  // in parentheses when the application shows shortcuts in hints. False when
  // the action's hint handler refuses the hint.
  virtual bool PrepareHint(String& HintStr);

 protected:
  void AssignClient(TObject* AClient) override;
  TcxCustomEditButton* FClient = nullptr;
};

// ---------------------------------------------------------------------------
// The settings object of one kind of editor; shareable through a repository.
class TcxCustomEditProperties : public TcxInterfacedPersistent {
  DECLARE_CLASS(TcxCustomEditProperties, TcxInterfacedPersistent)
 public:
  explicit TcxCustomEditProperties(TPersistent* AOwner);
  ~TcxCustomEditProperties() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Assign(TPersistent* Source) override;

  // Batching.
  void BeginUpdate();
  void EndUpdate(bool AInvokeChanged = true);
  void Changed();
  bool ChangedLocked() const { return FChangedLocked || FUpdateCount > 0; }
  void LockUpdate(bool ALock) { FChangedLocked = ALock; }
  void Update(TcxCustomEditProperties* AProperties);
  bool IsChanging() const { return FIsChangingCount > 0; }

  virtual void RestoreDefaults();
  void FillMinMaxValues(Double AMaxValue, Double AMinValue);
  // A new object of the same class for AOwner with these settings.
  TcxCustomEditProperties* Clone(TPersistent* AOwner);
  virtual TcxCustomEditProperties* CreatePreviewProperties();

  bool CanModify();
  bool GetReadOnly();
  virtual Double GetMaxValue();
  virtual Double GetMinValue();
  bool IsDesigning();

  // Queries the editors ask.
  virtual bool CanValidate() { return false; }
  virtual bool CanCompareEditValue() { return false; }
  virtual bool AllowRepositorySharing() { return true; }
  bool SupportsMultiThreading() { return AllowRepositorySharing(); }
  virtual bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2);
  virtual TcxEditDisplayFormatOptions GetDisplayFormatOptions() { return {}; }
  virtual String GetDisplayText(const Variant& AEditValue, bool AFullText = false,
                                bool AIsInplace = true);
  virtual TcxEditEditValueSource GetEditValueSource(bool AEditFocused);
  virtual TcxEditSpecialFeatures GetSpecialFeatures() { return {}; }
  virtual TcxEditSupportedOperations GetSupportedOperations();
  virtual bool HasDisplayValue() { return false; }
  virtual bool InnerEditNeedsTabs() { return false; }
  virtual bool IsActivationKey(wchar_t AKey) { return false; }
  virtual bool IsEditValueConversionDependOnFocused() { return true; }
  virtual bool IsEditValueValid(Variant& EditValue, bool AEditFocused) { return true; }
  virtual bool IsResetEditClass() { return false; }
  virtual bool IsValueFormattedByProperties() { return false; }
  virtual bool IsValueFormattedByProvider();
  virtual void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                                   bool AEditFocused);
  virtual String GetValidateErrorText(TcxEditErrorKind AErrorKind);
  virtual TcxEditEditValueSource GetValueEditorEditValueSource(bool AEditFocused);
  virtual TAlignment GetDefaultHorzAlignment();
  virtual TcxEditVertAlignment GetDefaultVertAlignment() { return cxEditDefaultVertAlignment; }
  virtual bool DefaultUseLeftAlignmentOnEditing() { return true; }
  virtual void DataChanged() {}
  virtual void RefreshNonShareable() {}
  virtual void DefaultValuesProviderDestroyed() { FIDefaultValuesProvider = nullptr; }

  // The settings.
  TcxEditAlignment* GetAlignment();
  void SetAlignment(TcxEditAlignment* Value) { BaseSetAlignment(Value); }
  bool IsAlignmentStored() {
    return FInnerAlignment->IsHorzStored() || FInnerAlignment->IsVertStored();
  }
  TcxCustomEditPropertiesValues* GetAssignedValues() const { return FAssignedValues.get(); }
  void SetAssignedValues(TcxCustomEditPropertiesValues* Value) { FAssignedValues->Assign(Value); }
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value);
  bool GetBeepOnError() const { return FBeepOnError; }
  void SetBeepOnError(bool Value) { FBeepOnError = Value; }
  TcxEditButtonsViewStyle GetButtonsViewStyle() const { return FButtonsViewStyle; }
  void SetButtonsViewStyle(TcxEditButtonsViewStyle Value);
  TShortCut GetClearKey() const { return FClearKey; }
  void SetClearKey(TShortCut Value) { FClearKey = Value; }
  TShortCut GetClickKey() const { return FClickKey; }
  void SetClickKey(TShortCut Value) { FClickKey = Value; }
  bool GetImmediatePost() const { return FImmediatePost; }
  void SetImmediatePost(bool Value) { FImmediatePost = Value; }
  Double PublishedMaxValue() { return GetMaxValue(); }
  void SetMaxValue(Double Value);
  bool IsMaxValueStored() { return FAssignedValues->GetMaxValue(); }
  Double PublishedMinValue() { return GetMinValue(); }
  void SetMinValue(Double Value);
  bool IsMinValueStored() { return FAssignedValues->GetMinValue(); }
  bool PublishedReadOnly() { return GetReadOnly(); }
  void SetReadOnly(bool Value);
  bool IsReadOnlyStored() { return FAssignedValues->GetReadOnly(); }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool GetUseLeftAlignmentOnEditing() const { return FUseLeftAlignmentOnEditing; }
  void SetUseLeftAlignmentOnEditing(bool Value);
  bool IsUseLeftAlignmentOnEditingStored() {
    return FUseLeftAlignmentOnEditing != DefaultUseLeftAlignmentOnEditing();
  }
  bool GetUseMouseWheel() const { return FUseMouseWheel; }
  void SetUseMouseWheel(bool Value) { FUseMouseWheel = Value; }
  bool GetValidateOnEnter() const { return FValidateOnEnter; }
  void SetValidateOnEnter(bool Value) { FValidateOnEnter = Value; }
  TAlignment GetValidationErrorIconAlignment() const { return FValidationErrorIconAlignment; }
  void SetValidationErrorIconAlignment(TAlignment Value);
  TcxEditValidationOptions GetValidationOptions() const { return FValidationOptions; }
  void SetValidationOptions(TcxEditValidationOptions Value);
  TcxEditValidationOptions& InternalValidationOptions() { return FInternalValidationOptions; }
  IcxEditDefaultValuesProvider* GetIDefaultValuesProvider() const {
    return FIDefaultValuesProvider;
  }
  void SetIDefaultValuesProvider(IcxEditDefaultValuesProvider* Value);
  TdxScaleFactor* GetScaleFactor() const { return FScaleFactor.get(); }

  // Buttons and their images.
  TcxEditButtons* GetButtons() const { return FButtons.get(); }
  void SetButtons(TcxEditButtons* Value);
  TCustomImageList* GetImages() const { return FButtons->GetImages(); }
  void SetImages(TCustomImageList* Value);
  virtual void InitiateActions();

  const TcxEditButtonClickEvent& OnButtonClick() const { return FOnButtonClick; }
  void SetOnButtonClick(const TcxEditButtonClickEvent& V) { FOnButtonClick = V; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& V) { FOnChange = V; }
  const TcxEditClosePopupEvent& OnClosePopup() const { return FOnClosePopup; }
  void SetOnClosePopup(const TcxEditClosePopupEvent& V) { FOnClosePopup = V; }
  const TNotifyEvent& OnEditValueChanged() const { return FOnEditValueChanged; }
  void SetOnEditValueChanged(const TNotifyEvent& V) { FOnEditValueChanged = V; }
  const TcxEditValidateEvent& OnValidate() const { return FOnValidate; }
  void SetOnValidate(const TcxEditValidateEvent& V) { FOnValidate = V; }
  const TNotifyEvent& OnPropertiesChanged() const { return FOnPropertiesChanged; }
  void SetOnPropertiesChanged(const TNotifyEvent& V) { FOnPropertiesChanged = V; }

  // --- What the editors of these properties are made of, and validation.
  virtual TcxCustomEditClass GetContainerClass();
  virtual TcxContainerStyleClass GetStyleClass();
  virtual TcxCustomEditViewDataClass GetViewDataClass();
  virtual TcxContainerViewInfoClass GetViewInfoClass();
  TcxCustomEditViewData* CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace,
                                        bool APreviewMode = false);
  TSize GetEditSize(TcxCanvas* ACanvas, TcxCustomEditStyle* AEditStyle, bool AIsInplace,
                    const Variant& AEditValue, const TcxEditSizeProperties& AEditSizeProperties);
  // Runs the editor's validation handlers over ADisplayValue; see DoValidate.
  virtual void ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError,
                                    TcxCustomEdit* AEdit);

 protected:
  // Stores Value and announces the change, only when it differs.
  template <class T>
  void SetField(T& AField, const T& Value) {
    if (AField == Value) return;
    AField = Value;
    Changed();
  }
  virtual void AlignmentChangedHandler(TObject* Sender);
  virtual void BaseSetAlignment(TcxEditAlignment* Value);
  virtual void ChangeScale(Integer M, Integer D);
  virtual void ChangeHandler(TObject* Sender) { Changed(); }
  virtual void DoAssign(TcxCustomEditProperties* AProperties);
  virtual void DoChanged();
  virtual void DoUpdate(TcxCustomEditProperties* AProperties) {}
  virtual TcxCustomEditPropertiesValuesClass GetAssignedValuesClass();
  virtual void DoValidate(Variant& ADisplayValue, String& AErrorText, bool& AError,
                          TcxCustomEdit* AEdit, bool& AIsUserErrorDisplayValue);

  // Buttons and their images.
  virtual TcxEditButtonsClass GetButtonsClass();
  virtual void FreeNotification(TComponent* Sender);
  void ImageListChange(TObject* Sender);

 private:
  void ScaleFactorChangeHandler(TObject* Sender, Integer M, Integer D, bool IsLoading);
  void CreateButtonsPart();
  void AssignButtonsPart(TcxCustomEditProperties* AProperties);

  bool FAutoSelect = true;
  bool FBeepOnError = false;
  TcxEditButtonsViewStyle FButtonsViewStyle = bvsNormal;
  bool FChangedOccurred = false;
  bool FChangedLocked = false;
  TShortCut FClearKey = 0;
  TShortCut FClickKey = 0x400D;
  bool FImmediatePost = false;
  Integer FIsChangingCount = 0;
  Double FMaxValue = 0;
  Double FMinValue = 0;
  bool FReadOnly = false;
  bool FTransparent = false;
  Integer FUpdateCount = 0;
  bool FUseLeftAlignmentOnEditing = true;
  bool FUseMouseWheel = true;
  bool FValidateOnEnter = false;
  TAlignment FValidationErrorIconAlignment = taLeftJustify;
  TcxEditValidationOptions FValidationOptions;
  TcxEditValidationOptions FInternalValidationOptions;
  IcxEditDefaultValuesProvider* FIDefaultValuesProvider = nullptr;
  TOwned<TcxEditAlignment> FAlignment;
  TOwned<TcxEditAlignment> FInnerAlignment;
  TOwned<TcxCustomEditPropertiesValues> FAssignedValues;
  TOwned<TdxOwnedScaleFactor> FScaleFactor;
  TcxEditButtonClickEvent FOnButtonClick;
  TNotifyEvent FOnChange;
  TcxEditClosePopupEvent FOnClosePopup;
  TNotifyEvent FOnEditValueChanged;
  TcxEditValidateEvent FOnValidate;
  TNotifyEvent FOnPropertiesChanged;
  // Buttons and their images.
  TOwned<TcxFreeNotificator> FFreeNotificator;
  TOwned<TChangeLink> FImageChangeLink;
  TOwned<TcxEditButtons> FButtons;
};

// ---------------------------------------------------------------------------
// Repositories of shared properties and the default values provider.

// An editor that uses a repository item's properties hears of their changes
// and of the item's end.
class IcxEditRepositoryItemListener {
 public:
  virtual void ItemRemoved(TcxEditRepositoryItem* Sender) = 0;
  virtual void PropertiesChanged(TcxEditRepositoryItem* Sender) = 0;

 protected:
  ~IcxEditRepositoryItemListener() = default;
};

// A named properties object of a repository that any number of editors share.
class TcxEditRepositoryItem : public TComponent, public IdxScaleFactor {
  DECLARE_CLASS(TcxEditRepositoryItem, TComponent)
 public:
  using TOwnerType = TComponent;
  explicit TcxEditRepositoryItem(TComponent* AOwner);
  ~TcxEditRepositoryItem() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return FScaleFactor.get(); }

  // Listeners are kept once each; the last added hears first.
  virtual void AddListener(IcxEditRepositoryItemListener* AListener);
  virtual void RemoveListener(IcxEditRepositoryItemListener* AListener);
  Integer ListenerCount() const { return static_cast<Integer>(FListenerList.size()); }
  // The name new items of this class start from.
  virtual String GetBaseName();
  // The properties are of AClass or a descendant.
  bool ArePropertiesCompatible(TClass AClass) const;

  TcxCustomEditProperties* GetProperties() const { return FProperties.get(); }
  void SetProperties(TcxCustomEditProperties* Value);
  TcxEditRepository* GetRepository() const { return FRepository; }
  void SetRepository(TcxEditRepository* Value);
  // Where designers show the properties' events; holds nothing itself.
  const TNotifyEvent& GetPropertiesEvents() const { return FPropertiesEvents; }
  void SetPropertiesEvents(const TNotifyEvent& Value) { FPropertiesEvents = Value; }

  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return FRepository != nullptr; }
  void SetParentComponent(TComponent* Value) override;
  void ReadState(TReader* Reader) override;

 protected:
  virtual void PropertiesChanged(TObject* Sender);
  // The properties class of the item's editor.
  virtual TClass GetEditPropertiesClass();

 private:
  // The properties listen to the scale factor: it goes last.
  TOwned<TdxOwnedScaleFactor> FScaleFactor;
  std::vector<IcxEditRepositoryItemListener*> FListenerList;
  TOwned<TcxCustomEditProperties> FProperties;
  TNotifyEvent FPropertiesEvents;
  TcxEditRepository* FRepository = nullptr;
};

// A non-visual component that lists repository items; its items' scale
// follows its own.
class TcxEditRepository : public TcxScalableComponent {
  DECLARE_CLASS(TcxEditRepository, TcxScalableComponent)
 public:
  using TOwnerType = TComponent;
  using TcxScalableComponent::TcxScalableComponent;
  ~TcxEditRepository() override;
  void BeforeDestruction() override;

  // Frees the items, the last first.
  void Clear();
  TcxEditRepositoryItem* CreateItem(TClass ARepositoryItemClass);
  virtual TcxEditRepositoryItem* CreateItemEx(TClass ARepositoryItemClass, TComponent* AOwner);
  // The first item with that name, letter case ignored; nullptr when none.
  TcxEditRepositoryItem* ItemByName(const String& ARepositoryItemName) const;
  void AddItem(TcxEditRepositoryItem* AItem);
  void RemoveItem(TcxEditRepositoryItem* AItem);
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxEditRepositoryItem* Items(Integer Index) const;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 private:
  std::vector<TcxEditRepositoryItem*> FItems;
};

// The module's repository, made on first use and freed at shut-down; nullptr
// once shut-down has begun.
TcxEditRepository* DefaultEditRepository();
namespace cxEditDetail {
void FreeDefaultEditRepository();
}  // namespace cxEditDetail

// The blob kinds a data field may hold.
enum TcxBlobKind { bkNone, bkBlob, bkGraphic, bkMemo, bkOle };

// The neutral defaults of an editor not bound to data; data-aware editors
// answer from their field. Freeing a provider makes every properties object
// that uses it drop it.
class TcxCustomEditDefaultValuesProvider : public TcxInterfacedPersistent,
                                           public IcxEditDefaultValuesProvider {
  DECLARE_CLASS(TcxCustomEditDefaultValuesProvider, TcxInterfacedPersistent)
 public:
  using TcxInterfacedPersistent::TcxInterfacedPersistent;
  void BeforeDestruction() override;

  bool CanSetEditMode() override { return true; }
  TAlignment DefaultAlignment() override { return cxEditDefaultHorzAlignment; }
  virtual TcxBlobKind DefaultBlobKind() { return bkMemo; }
  bool DefaultCanModify() override { return true; }
  virtual String DefaultDisplayFormat() { return String(); }
  virtual String DefaultEditFormat() { return String(); }
  virtual String DefaultEditMask() { return String(); }
  virtual bool DefaultIsFloatValue() { return false; }
  virtual Integer DefaultMaxLength() { return 0; }
  Double DefaultMaxValue() override { return 0; }
  Double DefaultMinValue() override { return 0; }
  virtual Integer DefaultPrecision() { return 15; }
  bool DefaultReadOnly() override { return false; }
  virtual bool DefaultRequired() { return false; }
  virtual bool IsBlob() { return false; }
  virtual bool IsCurrency() { return false; }
  virtual bool IsDataAvailable() { return true; }
  virtual bool IsDataStorage() { return false; }
  bool IsDisplayFormatDefined(bool AIsCurrencyValueAccepted) override { return false; }
  virtual bool IsOnGetTextAssigned() { return false; }
  virtual bool IsOnSetTextAssigned() { return false; }
  virtual bool IsValidChar(wchar_t AChar) { return true; }
  // The provider object behind the interface.
  TcxCustomEditDefaultValuesProvider* GetInstance() { return this; }
};

// ---------------------------------------------------------------------------
// Module start-up and shut-down.
void cxEdit_Initialize();
void cxEdit_Finalize();

// ---------------------------------------------------------------------------
// Editor styles: the container style plus the values only editors have.

using TcxEditGradientDirection = TcxDirection;  // dirLeft .. dirDown

// The editor values continue the container's numbering.
constexpr TcxContainerStyleValue svButtonStyle = static_cast<TcxContainerStyleValue>(10);
constexpr TcxContainerStyleValue svButtonTransparency = static_cast<TcxContainerStyleValue>(11);
constexpr TcxContainerStyleValue svPopupBorderStyle = static_cast<TcxContainerStyleValue>(12);
constexpr TcxContainerStyleValue svGradientButtons = static_cast<TcxContainerStyleValue>(13);
constexpr TcxContainerStyleValue svGradient = static_cast<TcxContainerStyleValue>(14);
constexpr TcxContainerStyleValue svGradientDirection = static_cast<TcxContainerStyleValue>(15);
constexpr Integer cxEditStyleValueCount = 16;
extern const wchar_t* const
    cxEditStyleValueNameA[cxEditStyleValueCount - cxContainerStyleValueCount];

class TcxCustomEditStyle : public TcxContainerStyle {
  DECLARE_CLASS(TcxCustomEditStyle, TcxContainerStyle)
 public:
  TcxCustomEditStyle(TPersistent* AOwner, bool ADirectAccessMode, TcxContainerStyle* AParentStyle,
                     TcxContainerStateItem AState);
  void Assign(TPersistent* Source) override;

  TcxEditButtonStyle GetButtonStyle();
  void SetButtonStyle(TcxEditButtonStyle Value);
  TcxEditButtonTransparency GetButtonTransparency();
  void SetButtonTransparency(TcxEditButtonTransparency Value);
  bool GetGradient();
  void SetGradient(bool Value);
  bool GetGradientButtons();
  void SetGradientButtons(bool Value);
  TcxEditGradientDirection GetGradientDirection();
  void SetGradientDirection(TcxEditGradientDirection Value);
  TcxEditPopupBorderStyle GetPopupBorderStyle();
  void SetPopupBorderStyle(TcxEditPopupBorderStyle Value);
  bool GetPopupCloseButton();
  void SetPopupCloseButton(bool Value);
  // Takes a host's view parameters (its bitmap is not used) in one update.
  void Init(const TcxViewParams& AParams);

  TcxEditBorderStyle GetEditBorderStyle() {
    return static_cast<TcxEditBorderStyle>(GetBorderStyle());
  }
  void SetEditBorderStyle(TcxEditBorderStyle Value) {
    SetBorderStyle(static_cast<TcxContainerBorderStyle>(Value));
  }
  // The editor the style belongs to, if any.
  TcxCustomEdit* GetEdit();
  TcxCustomEditStyle* GetEditBaseStyle() {
    return static_cast<TcxCustomEditStyle*>(GetBaseStyle());
  }

  // Whether the value is assigned here or in the controller's style of this
  // state, and the value when it is.
  bool InternalGetButtonStyle(TcxEditButtonStyle& AValue);
  bool InternalGetButtonTransparency(TcxEditButtonTransparency& AValue);
  bool InternalGetGradient(bool& AValue);
  bool InternalGetGradientButtons(bool& AValue);
  bool InternalGetGradientDirection(TcxEditGradientDirection& AValue);
  bool InternalGetPopupBorderStyle(TcxEditPopupBorderStyle& AValue);

  Integer GetStyleValueCount() override { return cxEditStyleValueCount; }
  bool GetStyleValueName(Integer AValue, String& AName) override;
  bool IsValueAssigned(TcxContainerStyleValue AValue) override;

 protected:
  virtual TcxEditButtonStyle DefaultButtonStyle();
  virtual TcxEditButtonTransparency DefaultButtonTransparency();
  virtual bool DefaultGradient();
  virtual bool DefaultGradientButtons();
  virtual TcxEditGradientDirection DefaultGradientDirection();
  virtual TcxEditPopupBorderStyle DefaultPopupBorderStyle();
  TcxStyleController* GetDefaultStyleController() override;
  TcxContainerStyleValues InternalGetNotPublishedExtendedStyleValues() override;

 private:
  template <class T>
  bool InternalGet(TcxContainerStyleValue V, T TcxCustomEditStyle::*AField, T& AValue,
                   Integer ADepth = 0);
  template <class T>
  T Resolve(TcxContainerStyleValue V, T TcxCustomEditStyle::*AField,
            T (TcxCustomEditStyle::*ADefault)());
  template <class T>
  void SetValue(TcxContainerStyleValue V, T TcxCustomEditStyle::*AField, T Value);

  TcxEditButtonStyle FButtonStyle = btsDefault;
  TcxEditButtonTransparency FButtonTransparency = ebtNone;
  bool FGradient = false;
  bool FGradientButtons = false;
  TcxEditGradientDirection FGradientDirection = dirDown;
  TcxEditPopupBorderStyle FPopupBorderStyle = epbsDefault;
  bool FPopupCloseButton = true;
};

// The published editor style.
class TcxEditStyle : public TcxCustomEditStyle {
  DECLARE_CLASS(TcxEditStyle, TcxCustomEditStyle)
 public:
  using TcxCustomEditStyle::TcxCustomEditStyle;
};

// The shared set of four editor styles many editors point to.
class TcxEditStyleController : public TcxStyleController {
  DECLARE_CLASS(TcxEditStyleController, TcxStyleController)
 public:
  using TcxStyleController::TcxStyleController;
  TcxEditStyle* GetEditStyle() const { return static_cast<TcxEditStyle*>(GetStyle()); }
  TcxEditStyle* GetEditInternalStyle(TcxContainerStateItem AState) const {
    return static_cast<TcxEditStyle*>(GetInternalStyle(AState));
  }

 protected:
  TcxContainerStyleClass GetStyleClass() override;
};

// ---------------------------------------------------------------------------
// The editor control's errors and its one way to beep.

DECLARE_EXCEPTION(EcxEditValidationError, EcxEditError)

// Every beep of the editors goes through here, so tests can count them.
struct TcxEditBeepLink {
  void (*Beep)();
};
TcxEditBeepLink& cxEditBeepLink();
void cxEditMessageBeep();

// ---------------------------------------------------------------------------
// The inner edit and the data binding the editor control needs.

// How an editor drives its inner control.
class IcxCustomInnerEdit {
 public:
  virtual TWinControl* GetControl() = 0;
  virtual bool CanProcessClipboardMessages() = 0;
  virtual bool GetReadOnly() = 0;
  virtual void SetReadOnly(bool Value) = 0;
  virtual void SetOnChange(const TNotifyEvent& Value) = 0;

 protected:
  ~IcxCustomInnerEdit() = default;
};

// ---------------------------------------------------------------------------
// View info: what the view data calculated for one editor, its hit tests and
// hints, and the repainting of what changed.

enum TcxEditErrorType { eetNone, eetError, eetWarning, eetInfo, eetCustom };

// The validation state the editor's mark shows.
class TcxEditValidateInfo : public TObject {
  DECLARE_CLASS(TcxEditValidateInfo, TObject)
 public:
  TcxEditValidateInfo();
  ~TcxEditValidateInfo() override;
  bool IsError() const { return FErrorType != eetNone; }
  void Reset();
  TdxSmartGlyph* ErrorIcon() const { return FErrorIcon.get(); }
  void SetErrorIcon(TdxSmartGlyph* Value);
  const String& ErrorText() const { return FErrorText; }
  void SetErrorText(const String& Value) { FErrorText = Value; }
  TcxEditErrorType ErrorType() const { return FErrorType; }
  // A change loads the type's own glyph (eetCustom keeps the icon).
  void SetErrorType(TcxEditErrorType Value);

 private:
  TOwned<TdxSmartGlyph> FErrorIcon;
  String FErrorText;
  TcxEditErrorType FErrorType = eetNone;
};

enum TcxEditBackgroundPaintingStyle { bpsSolid, bpsComboEdit, bpsComboListEdit };
enum TcxDrawBackgroundStyle {
  dbsCustom,
  dbsCustomEdit,
  dbsNone,
  dbsSimpleFill,
  dbsSimpleParent,
  dbsThemeParent
};
enum TcxEditViewInfoState { evsPaintButtons };
using TcxEditViewInfoStates = TSet<TcxEditViewInfoState>;

class TcxBitmap32;
using TcxEditAfterDrawEvent = TdxMulticastMethod<void(TcxCanvas* ACanvas)>;
using TcxEditCalculateEditorBoundsEvent =
    TdxMulticastMethod<void(TcxCustomEditViewInfo* Sender, TRect& ABounds)>;
using TcxEditCanDrawEditValueEvent =
    TdxMulticastMethod<void(TcxCustomEditViewInfo* Sender, bool& ACanDraw)>;
using TcxEditCanStartButtonFadingEvent =
    TMethodPtr<void(TcxCustomEditViewInfo* Sender, bool& ACanStart)>;
using TcxEditDrawBackgroundEvent =
    TMethodPtr<void(TcxCustomEditViewInfo* Sender, TcxCanvas* ACanvas, bool& AHandled)>;
using TcxEditDrawButtonEvent =
    TMethodPtr<void(TcxEditButtonViewInfo* Sender, TcxCanvas* ACanvas, bool& AHandled)>;
using TcxEditDrawButtonBackgroundEvent = TMethodPtr<void(
    TcxEditButtonViewInfo* Sender, TcxCanvas* ACanvas, const TRect& ARect, bool& AHandled)>;
using TcxEditDrawButtonBorderEvent =
    TMethodPtr<void(TcxEditButtonViewInfo* Sender, TcxCanvas* ACanvas, TRect& ABackgroundRect,
                    TRect& AContentRect, bool& AHandled)>;
using TcxEditGetButtonContentColorEvent =
    TMethodPtr<void(TcxEditButtonViewInfo* Sender, TColor& AColor)>;
using TcxEditGetButtonStateEvent =
    TMethodPtr<void(TcxEditButtonViewInfo* Sender, TcxEditButtonState& AState)>;
using TcxEditPaintEvent = TMethodPtr<void(TcxCustomEditViewInfo* Sender, TcxCanvas* ACanvas)>;
using TcxEditPrepareButtonFadingImageEvent =
    TMethodPtr<void(TcxEditButtonViewInfo* Sender, TcxEditButtonState AState, TcxBitmap32*& AImage,
                    bool& AHandled)>;

using TcxEditButtonViewInfoClass = TcxEditButtonViewInfo* (*)();

// Frees the hint window the editors measure hints with (module shut-down).
void cxEditFreeHintWindow();

class TcxCustomEditViewInfo : public TcxContainerViewInfo {
  DECLARE_CLASS(TcxCustomEditViewInfo, TcxContainerViewInfo)
 public:
  TcxCustomEditViewInfo();
  ~TcxCustomEditViewInfo() override;
  // Colours, border, states and buttons of another editor view info, then
  // the container's values.
  void Assign(TObject* Source) override;
  void Offset(Integer DX, Integer DY) override;
  TcxContainerBorderStyle GetContainerBorderStyle() override {
    return static_cast<TcxContainerBorderStyle>(BorderStyle);
  }
  // Against the previous view info: the buttons that changed, or the whole
  // bounds when more than buttons did (a region the caller owns).
  TRegionHandle GetUpdateRegion(TcxContainerViewInfo* AViewInfo) override;

  void SetButtonCount(Integer ACount);
  Integer ButtonCount() const { return static_cast<Integer>(ButtonsInfo.size()); }
  void CalculateEditorBounds();
  // Stores a new origin and answers the old one.
  TPoint SetOrigin(const TPoint& APoint);
  void ResetValidationInfo() { FErrorData->Reset(); }
  bool GetHasButtonsStateChanges() const {
    return PressedButton != LastPressedButton || SelectedButton != LastSelectedButton;
  }
  bool HasNonClientArea();
  bool DoCanStartButtonFading();
  bool IsButtonsPainting() const { return FState.Contains(evsPaintButtons); }

  virtual void CheckCursor(const TPoint&) {}
  virtual void InplaceMouseDown(TMouseButton, TShiftState, Integer, Integer) {}
  virtual TcxEditBackgroundPaintingStyle GetBackgroundPaintingStyle() { return bpsSolid; }
  virtual TcxEditButtonViewInfoClass GetButtonViewInfoClass();
  virtual void GetColorSettingsByPainter(TColor& AFillColor, TColor& ATextColor);
  virtual String GetHintText(Integer APart);
  // A button's visible index, ecpErrorIcon, ecpControl (inside the border)
  // or ecpNone.
  virtual Integer GetPart(const TPoint& P);
  virtual TRect GetPartRect(Integer APart);
  virtual bool IsRepaintOnStateChangingNeeded() { return true; }
  virtual void StoreLastState();
  virtual bool CanDrawEditValue();
  virtual bool IsFadingAvailable();
  // Some button is hot.
  virtual bool IsHotTrack();
  // P (in the control's coordinates) lies on a button.
  virtual bool IsHotTrack(const TPoint& P);
  virtual bool NeedShowHint(TcxCanvas* ACanvas, const TPoint& P, const TRect& AVisibleBounds,
                            String& AText, bool& AIsMultiLine, TRect& ATextRect,
                            Integer AMaxLineCount = 0);
  virtual void PrepareCanvasFont(TcxCanvas*) {}
  // Against the previous view info (nullptr: everything): invalidates what
  // changed on the control's window; true when anything was.
  virtual bool Repaint(TWinControl* AControl, TcxCustomEditViewInfo* AViewInfo);
  virtual bool Repaint(TWinControl* AControl, const TRect& AInnerEditRect,
                       TcxCustomEditViewInfo* AViewInfo);
  TRect GetHintTextRect(const TPoint& P, Integer APart);

  TcxCustomEdit* GetEdit() const { return FEdit; }
  void SetEdit(TcxCustomEdit* Value) { FEdit = Value; }
  TdxScaleFactor* GetScaleFactor() const { return FScaleFactor.get(); }
  TcxEditValidateInfo* ErrorData() const { return FErrorData.get(); }
  const TRect& ErrorBounds() const { return FErrorBounds; }
  const TRect& EditorBounds() const { return FEditorBounds; }
  bool NeedShowErrorIcon() const { return FNeedShowErrorIcon; }

  TcxEditAfterDrawEvent& OnAfterDrawBackground() { return FOnAfterDrawBackground; }
  TcxEditAfterDrawEvent& OnAfterDrawValue() { return FOnAfterDrawValue; }
  TcxEditCalculateEditorBoundsEvent& OnCalculateEditorBounds() { return FOnCalculateEditorBounds; }
  TcxEditCanDrawEditValueEvent& OnCanDrawEditValue() { return FOnCanDrawEditValue; }
  const TcxEditCanStartButtonFadingEvent& OnCanStartButtonFading() const {
    return FOnCanStartButtonFading;
  }
  void SetOnCanStartButtonFading(const TcxEditCanStartButtonFadingEvent& V) {
    FOnCanStartButtonFading = V;
  }
  const TcxEditDrawBackgroundEvent& OnDrawBackground() const { return FOnDrawBackground; }
  virtual void SetOnDrawBackground(const TcxEditDrawBackgroundEvent& V) { FOnDrawBackground = V; }
  const TcxEditDrawButtonEvent& OnDrawButton() const { return FOnDrawButton; }
  void SetOnDrawButton(const TcxEditDrawButtonEvent& V) { FOnDrawButton = V; }
  const TcxEditDrawButtonBackgroundEvent& OnDrawButtonBackground() const {
    return FOnDrawButtonBackground;
  }
  void SetOnDrawButtonBackground(const TcxEditDrawButtonBackgroundEvent& V) {
    FOnDrawButtonBackground = V;
  }
  const TcxEditDrawButtonBorderEvent& OnDrawButtonBorder() const { return FOnDrawButtonBorder; }
  void SetOnDrawButtonBorder(const TcxEditDrawButtonBorderEvent& V) { FOnDrawButtonBorder = V; }
  const TcxEditGetButtonContentColorEvent& OnGetButtonContentColor() const {
    return FOnGetButtonContentColor;
  }
  void SetOnGetButtonContentColor(const TcxEditGetButtonContentColorEvent& V) {
    FOnGetButtonContentColor = V;
  }
  const TcxEditGetButtonStateEvent& OnGetButtonState() const { return FOnGetButtonState; }
  void SetOnGetButtonState(const TcxEditGetButtonStateEvent& V) { FOnGetButtonState = V; }
  const TcxEditPaintEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(const TcxEditPaintEvent& V) { FOnPaint = V; }
  const TcxEditPrepareButtonFadingImageEvent& OnPrepareButtonFadingImage() const {
    return FOnPrepareButtonFadingImage;
  }
  void SetOnPrepareButtonFadingImage(const TcxEditPrepareButtonFadingImageEvent& V) {
    FOnPrepareButtonFadingImage = V;
  }

  TRect BorderExtent{};
  // The editor's border style; the container's BorderStyle carries the same.
  TcxEditBorderStyle BorderStyle = ebsNone;
  // Owned.
  std::vector<TcxEditButtonViewInfo*> ButtonsInfo;
  TcxCustomEditProperties* EditProperties = nullptr;
  Integer Data = 0;
  bool Enabled = true;
  bool Focused = false;
  bool HasBackground = false;
  bool HasContentOffsets = false;
  bool HasInnerEdit = false;
  bool HasTextButtons = false;
  Integer HitTestInfo = 0;
  TRect InnerEditRect{};
  bool IsButtonReallyPressed = false;
  bool IsContainerInnerControl = false;
  bool IsDBEditPaintCopyDrawing = false;
  bool IsDesigning = false;
  bool IsInplace = false;
  bool IsSelected = false;
  Integer LastPressedButton = -1;
  Integer LastSelectedButton = -1;
  Integer Left = 0;
  Integer Top = 0;
  TcxEditPaintOptions PaintOptions;
  TcxEditPopupBorderStyle PopupBorderStyle = epbsDefault;
  Integer PressedButton = -1;
  Integer SelectedButton = -1;
  TRect ShadowRect{};
  TColor TextColor = clDefault;
  bool Transparent = false;
  HWND WindowHandle = nullptr;
  bool UseRightToLeftAlignment = false;

  // Painting
  void Paint(TcxCanvas* ACanvas) override;
  // Paints at the view info's origin (Left, Top), as hosts paint their cells.
  void PaintEx(TcxCanvas* ACanvas);
  // The parent's background where it shows through, background and border,
  // the validation mark, then the buttons.
  virtual void DrawCustomEdit(TcxCanvas* ACanvas, bool ACanDrawBackground,
                              bool ACanDrawValidationMark);
  // For editors that paint a glyph area: the background of ARect by the
  // background style, AGlyphRect left alone unless it is transparent.
  void DrawEditBackground(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AGlyphRect,
                          bool AGlyphTransparent);
  // True when an in-place editor's host painted the background.
  bool DrawBackground(TcxCanvas* ACanvas);
  bool DrawBackground(TcxCanvas* ACanvas, const TPoint& APos);
  virtual void DrawNativeStyleEditBackground(TcxCanvas* ACanvas, bool ADrawBackground,
                                             HBRUSH ABackgroundBrush);
  virtual bool IsBackgroundPartiallyTransparent();
  // The theme object and part of the editor's native frame.
  void CalculateNativeInfo(TdxThemedObjectType& AThemedObjectType, Integer& ANativePart);
  TcxDrawBackgroundStyle GetDrawBackgroundStyle();
  bool IsBackgroundTransparent();
  bool IsCustomBackground();
  // The view info's or the editor's own transparency.
  bool IsTransparent();
  // The first button's background lets the editor's through.
  bool IsButtonsBackgroundPartiallyTransparent();

  void DrawButtons(TcxCanvas* ACanvas);
  virtual void DrawButton(TcxCanvas* ACanvas, Integer AButtonVisibleIndex);
  virtual void DrawEditButton(TcxCanvas* ACanvas, Integer AButtonVisibleIndex);
  // Border and background of a button (only the rectangles and colours
  // with ACalculateOnly, as under a fade image).
  void InternalPrepareEditButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                           TRect& AContentRect, TRect& ABackgroundRect,
                                           TColor& APenColor, TColor& ABrushColor,
                                           bool ACalculateOnly);
  // Each border receives the button's bounds in ARect and leaves there its
  // background rectangle; AContentRect, APenColor (content) and ABrushColor
  // (fill) are results.
  virtual void DrawButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                                TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                TColor& ABrushColor);
  virtual void Draw3DButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                                  TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                  TColor& ABrushColor);
  virtual void DrawFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                                    TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                    TColor& ABrushColor);
  virtual void DrawHotFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                                       TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                       TColor& ABrushColor);
  virtual void DrawNativeButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                                      TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                      TColor& ABrushColor);
  virtual void DrawSimpleButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                                      TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                      TColor& ABrushColor);
  virtual void DrawUltraFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                                         bool AIsOffice11Style, TRect& ARect, TRect& AContentRect,
                                         TColor& APenColor, TColor& ABrushColor);
  virtual void DrawButtonBorderByPainter(TcxEditButtonViewInfo* AButtonViewInfo, TRect& ARect,
                                         TRect& AContentRect, TColor& APenColor,
                                         TColor& ABrushColor);
  virtual void DrawButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                    const TRect& ARect, const TRect& AContentRect,
                                    TColor ABrushColor);
  virtual void DrawNativeButtonBackground(TcxCanvas* ACanvas,
                                          TcxEditButtonViewInfo* AButtonViewInfo,
                                          const TRect& ARect);
  virtual void DrawUsualButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                                         const TRect& ARect, TColor ABrushColor);
  virtual void DrawButtonContent(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                 const TRect& AContentRect, TColor APenColor, TColor ABrushColor,
                                 bool ANeedOffsetContent);
  // Whether the host's events would draw a button, its background, its
  // border, or any of the three (asked without a canvas).
  bool IsCustomButton(Integer AButtonVisibleIndex);
  bool IsCustomButtonBackground(Integer AButtonVisibleIndex);
  bool IsCustomButtonBorder(Integer AButtonVisibleIndex);
  bool IsCustomDrawButton(Integer AButtonVisibleIndex);
  IdxColorPalette* GetButtonColorPalette(TcxButtonState AState);

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;
  void DrawValidationMark(TcxCanvas* ACanvas);
  TcxEditButtonBorderData GetButtonBorderData(TcxEditButtonViewInfo* AButtonViewInfo,
                                              TcxEditButtonStyle AStyle);
  void DrawClassicButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo,
                               TcxEditButtonStyle AStyle, TRect& ARect, TRect& AContentRect,
                               TColor& APenColor, TColor& ABrushColor);
  void DrawButtonGlyph(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                       const TRect& AContentRect, bool AOffsetContent);
  void DrawButtonCaption(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                         const TRect& AContentRect, TColor APenColor, bool AOffsetContent);

 protected:
  // The excluded rectangle of Repaint: AInnerEditRect clamped to the client
  // rectangle.
  TRect GetInnerEditRect(const TRect& AInnerEditRect);
  bool IsValidButtonIndex(Integer AIndex) const { return AIndex >= 0 && AIndex < ButtonCount(); }

  TOwned<TdxScaleFactor> FScaleFactor;
  TcxEditAfterDrawEvent FOnAfterDrawBackground;
  TcxEditAfterDrawEvent FOnAfterDrawValue;
  TcxEditCalculateEditorBoundsEvent FOnCalculateEditorBounds;
  TcxEditCanDrawEditValueEvent FOnCanDrawEditValue;
  TcxEditCanStartButtonFadingEvent FOnCanStartButtonFading;
  TcxEditDrawBackgroundEvent FOnDrawBackground;
  TcxEditDrawButtonEvent FOnDrawButton;
  TcxEditDrawButtonBackgroundEvent FOnDrawButtonBackground;
  TcxEditDrawButtonBorderEvent FOnDrawButtonBorder;
  TcxEditGetButtonContentColorEvent FOnGetButtonContentColor;
  TcxEditGetButtonStateEvent FOnGetButtonState;
  TcxEditPaintEvent FOnPaint;
  TcxEditPrepareButtonFadingImageEvent FOnPrepareButtonFadingImage;
  TcxCustomEdit* FEdit = nullptr;
  TcxEditViewInfoStates FState;
  TRect FErrorBounds{};
  TRect FEditorBounds{};
  TOwned<TcxEditValidateInfo> FErrorData;
  bool FNeedShowErrorIcon = false;

 private:
  friend class TcxCustomEditViewData;
  void ClearButtons();
};

// ---------------------------------------------------------------------------
// Painting: the editor's owner as button fading sees it, the fading of
// buttons, and the background and border of an editor.

// What a button's fade needs from the control (or host) that shows the
// editor: a view data to recalculate the button's theme state with (freed by
// the caller when AIsViewDataCreated), and the invalidation of a rectangle.
class IcxEditOwner {
 public:
  virtual TcxCustomEditViewData* GetViewData(bool& AIsViewDataCreated) = 0;
  virtual void InvalidateRect(const TRect& R, bool AEraseBackground) = 0;

 protected:
  ~IcxEditOwner() = default;
};

class TcxCustomEditFadingHelper : public TdxFadingObjectHelper {
  DECLARE_CLASS(TcxCustomEditFadingHelper, TdxFadingObjectHelper)
 public:
  // The editor allows fading (native or skinned), shows in an owner, and
  // OnCanStartButtonFading does not refuse.
  bool STDMETHODCALLTYPE CanFade() override;
  void STDMETHODCALLTYPE DrawFadeImage() override;

 protected:
  virtual TcxCustomEditViewInfo* GetEditViewInfo() = 0;
  virtual void Invalidate() = 0;
  // The view info's editor, else its owner when that shows editors.
  static IcxEditOwner* GetEditOwner(TcxCustomEditViewInfo* AViewInfo);
};

// Cross-fades one button between its normal and its hot look; only the
// border and background fade, the content is painted live over them.
class TcxEditButtonFadingHelper : public TcxCustomEditFadingHelper {
  DECLARE_CLASS(TcxEditButtonFadingHelper, TcxCustomEditFadingHelper)
 public:
  explicit TcxEditButtonFadingHelper(TcxEditButtonViewInfo* AViewInfo);
  bool STDMETHODCALLTYPE CanFade() override;
  void STDMETHODCALLTYPE GetFadingImages(TcxBitmap*& AFadeOutImage,
                                         TcxBitmap*& AFadeInImage) override;
  // After a calculation: a new state asks the fader for a fade from the old.
  void UpdateState();
  TcxEditButtonState State() const { return FState; }

 protected:
  TcxCustomEditViewInfo* GetEditViewInfo() override;
  void Invalidate() override;
  virtual void DrawButton(TcxCanvas* ACanvas);
  virtual TRect GetButtonRect();
  // The button's border and background in AState, as a new bitmap.
  virtual TcxBitmap32* PrepareFadingImage(TcxEditButtonState AState);

 private:
  TcxEditButtonState FState = ebsNormal;
  TcxEditButtonViewInfo* FViewInfo;
};

// Background and border of an editor, buttons left out unless their
// background lets the editor's through.
void DrawCustomEditBackground(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                              bool ACanDrawBackground);

// ---------------------------------------------------------------------------
// View data: calculates an editor's view info from its properties and style.

enum TcxEditContentOption { ecoShowFocusRectWhenInplace, ecoOffsetButtonContent };
using TcxEditContentOptions = TSet<TcxEditContentOption>;
struct TcxEditContentParams {
  TRect ExternalBorderBounds{};
  TRect Offsets{};
  TcxEditContentOptions Options;
  TSize SizeCorrection{};
};
// Where a host placed an in-place editor; hosts fill and read it.
struct TcxInplaceEditPosition {
  TObject* Item = nullptr;
  Integer RecordIndex = -1;
};
struct TcxInplaceEditParams {
  bool MultiRowParent = false;
  TcxInplaceEditPosition Position{};
};

using TcxEditGetDefaultButtonWidthEvent =
    TMethodPtr<void(TcxCustomEditViewData* Sender, Integer AIndex, Integer& ADefaultWidth)>;
using TcxEditViewDataGetDisplayTextEvent =
    TMethodPtr<void(TcxCustomEditViewData* Sender, String& AText)>;

// The content offsets of an editor by placement (standalone, in place).
extern const TRect cxEditContentDefaultOffsets[2];

class TcxCustomEditViewData : public TPersistent {
  DECLARE_CLASS(TcxCustomEditViewData, TPersistent)
  // A fading button recalculates its theme state in the state it fades to.
  friend class TcxEditButtonFadingHelper;

 public:
  TcxCustomEditViewData(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle,
                        bool AIsInplace);
  ~TcxCustomEditViewData() override;
  void AfterConstruction() override;

  virtual void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                         TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                         bool AIsMouseEvent);
  // For bounds that do not start at the origin: the view info keeps their
  // top-left as its origin.
  void CalculateEx(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                   TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  // The whole size of the editor for a value, not editing and editing.
  virtual TSize GetEditSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                            const TcxEditSizeProperties& AEditSizeProperties,
                            TcxCustomEditViewInfo* AViewInfo = nullptr);
  TSize GetEditingSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                       const TcxEditSizeProperties& AEditSizeProperties,
                       TcxCustomEditViewInfo* AViewInfo = nullptr);
  virtual TSize GetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                   const TcxEditSizeProperties& AEditSizeProperties,
                                   TcxEditValidateInfo* AErrorData = nullptr);
  virtual TSize GetEditingContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                      const TcxEditSizeProperties& AEditSizeProperties);
  virtual TSize GetEditConstantPartSize(TcxCanvas* ACanvas,
                                        const TcxEditSizeProperties& AEditSizeProperties,
                                        TSize& MinContentSize,
                                        TcxCustomEditViewInfo* AViewInfo = nullptr);
  virtual TSize GetEditContentSizeCorrection();
  String EditValueToDisplayText(const Variant& AEditValue);
  virtual void EditValueToDrawValue(const Variant&, TcxCustomEditViewInfo*) {}
  // Mirrors a calculated view info for right-to-left editors.
  virtual void DoRightToLeftConversion(TcxCustomEditViewInfo*, const TRect&) {}

  virtual TRect GetClientExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo);
  virtual TRect GetBorderExtent();
  virtual TRect GetButtonsExtent(TcxCanvas* ACanvas);
  virtual TcxEditBorderStyle GetBorderStyle();
  virtual TColor GetBorderColor();
  virtual Integer GetEditNativeState(TcxCustomEditViewInfo* AViewInfo);
  virtual TcxContainerState GetContainerState(const TRect& ABounds, const TPoint& P,
                                              TcxMouseButton Button, TShiftState Shift,
                                              bool AIsMouseEvent);
  TcxEditButtonStyle GetButtonsStyle();
  Integer GetCaptureButtonVisibleIndex();
  bool InternalFocused();
  Integer GetErrorIconWidth(TcxEditValidateInfo* AErrorData);
  bool NeedShowErrorIcon(TcxEditValidateInfo* AErrorData);
  virtual bool HasShadow();
  virtual bool IsNativeStyle(TcxLookAndFeel* ALookAndFeel);
  virtual void InitCacheData();

  TcxCustomEdit* GetEdit() const { return FEdit; }
  void SetEdit(TcxCustomEdit* Value) { FEdit = Value; }
  TcxCustomEditProperties* GetProperties() const { return FProperties; }
  TcxCustomEditStyle* GetStyle() const { return FStyle; }
  void SetStyle(TcxCustomEditStyle* Value) { FStyle = Value; }
  bool IsInplace() const { return FIsInplace; }
  TObject* GetData() const { return FData; }
  void SetData(TObject* Value) { FData = Value; }
  TdxScaleFactor* GetScaleFactor() const { return FScaleFactor.get(); }
  const TcxEditGetDefaultButtonWidthEvent& OnGetDefaultButtonWidth() const {
    return FOnGetDefaultButtonWidth;
  }
  void SetOnGetDefaultButtonWidth(const TcxEditGetDefaultButtonWidthEvent& V) {
    FOnGetDefaultButtonWidth = V;
  }
  const TcxEditViewDataGetDisplayTextEvent& OnGetDisplayText() const { return FOnGetDisplayText; }
  void SetOnGetDisplayText(const TcxEditViewDataGetDisplayTextEvent& V) { FOnGetDisplayText = V; }

  bool ButtonsOnlyStyle = false;
  Integer ButtonVisibleCount = 0;
  TcxContainerState ContainerState{csNormal};
  TRect ContentOffset{};
  TcxEditContentParams EditContentParams;
  bool Enabled = true;
  bool Focused = false;
  TAlignment HorzAlignment = taLeftJustify;
  IcxControlScrollBar* HScrollBar = nullptr;
  IcxControlScrollBar* VScrollBar = nullptr;
  IcxCustomInnerEdit* InnerEdit = nullptr;
  TcxInplaceEditParams InplaceEditParams;
  bool IsDesigning = false;
  bool IsSelected = false;
  bool IsTouchScrollUIMode = false;
  bool IsValueSource = false;
  Integer MaxLineCount = 0;
  bool NativeStyle = false;
  TcxEditPaintOptions PaintOptions;
  bool PreviewMode = false;
  bool Selected = false;
  Integer SelStart = 0;
  Integer SelLength = 0;
  TColor SelTextColor = clDefault;
  TColor SelBackgroundColor = clDefault;
  bool SupportsTouchMode = false;
  bool UseRightToLeftAlignment = false;
  bool UseRightToLeftReading = false;
  bool UseRightToLeftScrollBar = false;
  TcxEditVertAlignment VertAlignment = taTopJustify;
  HWND WindowHandle = nullptr;

 protected:
  virtual void CalculateButtonNativeInfo(TcxEditButtonViewInfo* AButtonViewInfo);
  virtual void CalculateButtonNativePartInfo(HTHEME ATheme, TcxEditButtonViewInfo* AButtonViewInfo);
  virtual HTHEME GetButtonNativeTheme(TcxEditButtonViewInfo* AButtonViewInfo);
  virtual TcxEditPaintOptions CalculatePaintOptions();
  virtual bool CanPressButton(TcxCustomEditViewInfo*, Integer) { return true; }
  virtual TRect GetEditContentDefaultOffsets();
  virtual void InitEditContentParams(TcxEditContentParams& AParams);
  virtual void Initialize();
  virtual String InternalEditValueToDisplayText(const Variant&) { return String(); }
  virtual TSize InternalGetEditConstantPartSize(TcxCanvas* ACanvas, bool AIsInplace,
                                                const TcxEditSizeProperties& AEditSizeProperties,
                                                TSize& MinContentSize,
                                                TcxCustomEditViewInfo* AViewInfo);
  virtual TSize InternalGetEditContentSize(TcxCanvas*, const Variant&,
                                           const TcxEditSizeProperties&) {
    return TSize{0, 0};
  }
  virtual bool IsButtonPressed(TcxCustomEditViewInfo*, Integer) { return false; }
  virtual void CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                     Integer AButtonVisibleIndex, TRect& ButtonsRect);
  virtual void CalculateButtonsViewInfo(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                        TcxMouseButton Button, TShiftState Shift,
                                        TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  virtual void CalculateButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                       Integer AButtonVisibleIndex, TRect& ButtonsRect);
  virtual void DoCalculateButtonViewInfos(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                          TRect& AButtonsRect);
  virtual void CheckButtonsOnly(TcxCustomEditViewInfo* AViewInfo, Integer APrevButtonsWidth,
                                Integer AButtonsWidth);
  virtual void CheckStartButtonsFading(TcxCustomEditViewInfo* AViewInfo);
  virtual void InitializeButtonInfo(TcxEditButton* AButton, TcxEditButtonViewInfo* AButtonViewInfo,
                                    bool AIsTextButton);
  virtual TColor GetBorderColorByPainter(bool AIsHighlight);
  virtual TRect GetBorderExtentByEdges(Integer ABorderWidth);
  virtual TRect GetBorderExtentByPainter();
  virtual bool IgnoreButtonWhileStretching(Integer) { return false; }
  virtual bool IsButtonLeftAligned(TcxEditButtonViewInfo* AButtonViewInfo);
  virtual void CalculateViewInfo(TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  TcxEditButtonStyle GetDefaultButtonStyle();
  TcxEditPopupBorderStyle GetPopupBorderStyle();
  TcxLookAndFeel* GetLookAndFeel();
  TcxCustomLookAndFeelPainter* GetSkinPainter();

  // Visible indexes of the outermost buttons on each side; -1 for none.
  Integer FLeftSideLeftmostButtonIndex = -1;
  Integer FLeftSideRightmostButtonIndex = -1;
  Integer FRightSideLeftmostButtonIndex = -1;
  Integer FRightSideRightmostButtonIndex = -1;
  TAlignment FValidationErrorIconAlignment = taLeftJustify;

 private:
  void CalculateContainerState(const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                               TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                               bool AIsMouseEvent);
  void CalculateButtonStates(TcxCustomEditViewInfo* AViewInfo, const TPoint& P,
                             TcxMouseButton Button, TShiftState Shift, Integer APrevPressedButton,
                             bool AIsMouseEvent);
  void CorrectButtonBounds(TcxCustomEditViewInfo* AViewInfo);
  void CalculateErrorData(TcxCustomEditViewInfo* AViewInfo);
  void CalculateErrorBounds(TcxCustomEditViewInfo* AViewInfo);
  // One drop-down button and nothing else: drawn as a combo box's.
  bool IsComboBoxStyle();
  void StretchButton(TcxCustomEditViewInfo* AViewInfo, Integer AIndex, Integer ADelta);
  void GetColorSettings(TcxCustomEditViewInfo* AViewInfo, TColor& AFillColor, TColor& ATextColor);
  TSize InternalGetEditSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                            const TcxEditSizeProperties& AEditSizeProperties,
                            TcxCustomEditViewInfo* AViewInfo, bool AEditing);

  TObject* FData = nullptr;
  bool FIsInplace;
  TOwned<TdxScaleFactor> FScaleFactor;
  TcxEditGetDefaultButtonWidthEvent FOnGetDefaultButtonWidth;
  TcxEditViewDataGetDisplayTextEvent FOnGetDisplayText;
  TcxCustomEdit* FEdit = nullptr;
  TcxCustomEditProperties* FProperties;
  TcxCustomEditStyle* FStyle;
};

// 1 for an in-place editor with buttons: its text sits one pixel lower.
Integer GetNativeInnerTextEditContentHeightCorrection(TcxCustomEditProperties* AProperties,
                                                      bool AIsInplace);
// A shadow is drawn when the style asks for one and the editor is not native.
bool IsShadowDrawingNeeded(TcxCustomEditViewData* AViewData);

// The editor's link to the value it shows. The base binding stands for the
// editor's own value and modified state; data-aware editors derive their own.
// It owns the default values provider the editor's properties fall back to.
class TcxEditDataBinding : public TPersistent {
  DECLARE_CLASS(TcxEditDataBinding, TPersistent)
 public:
  explicit TcxEditDataBinding(TcxCustomEdit* AEdit);
  ~TcxEditDataBinding() override;

  // The active properties report a change of their defaults.
  virtual void DefaultValuesChanged();
  virtual Variant GetDisplayValue();
  virtual bool GetIsDataAvailable();
  virtual bool GetEditing();
  virtual bool GetModified();
  virtual Variant GetStoredValue();
  virtual bool IsInnerControlHaveToBeReadOnly() { return !GetIsDataAvailable(); }
  virtual bool IsNull() { return false; }
  virtual void Reset();
  virtual void SetDisplayValue(const Variant& Value);
  virtual bool SetEditMode();
  virtual void SetStoredValue(const Variant& AValue) {}
  virtual bool CanCheckEditorValue();
  virtual bool CanModify() { return GetIsDataAvailable(); }
  virtual bool CanPostEditorValue() { return GetModified(); }
  virtual bool ExecuteAction(TBasicAction* Action) { return false; }
  virtual void SetModified();
  virtual bool UpdateAction(TBasicAction* Action) { return false; }
  virtual void UpdateDisplayValue();
  virtual void UpdateNotConnectedDBEditDisplayValue() {}
  // The provider's answer; a data-aware binding stores the value elsewhere.
  bool IsDataStorage();

  IcxEditDefaultValuesProvider* GetIDefaultValuesProvider();
  TcxCustomEditDefaultValuesProvider* GetDefaultValuesProvider() const {
    return FIDefaultValuesProvider.get();
  }
  TcxCustomEdit* Edit() const { return FEdit; }
  TPersistent* GetOwner() override;

 protected:
  // Makes the provider; data-aware bindings make one that answers for their field.
  virtual TcxCustomEditDefaultValuesProvider* CreateDefaultValuesProvider();

 private:
  TcxCustomEdit* FEdit;
  TOwned<TcxCustomEditDefaultValuesProvider> FIDefaultValuesProvider;
};
using TcxEditDataBindingClass = TcxEditDataBinding* (*)(TcxCustomEdit* AEdit);

// ---------------------------------------------------------------------------
// The editor control.

// Holds back an editor's change events while locked: any number of changes
// give at most one OnChange and one OnEditValueChanged at the unlock.
class TcxEditChangeEventsCatcher : public TObject {
  DECLARE_CLASS(TcxEditChangeEventsCatcher, TObject)
 public:
  explicit TcxEditChangeEventsCatcher(TcxCustomEdit* AEdit) : FEdit(AEdit) {}
  void Lock(bool ALock, bool AInvokeChangedOnUnlock = true);
  bool IsLocked() const { return FLockCount > 0; }
  void InvokeEditChangedEvents();
  void CatchChange() { FOnChangeEvent = true; }
  void CatchEditValueChange() { FOnEditValueChangedEvent = true; }

 private:
  TcxCustomEdit* FEdit;
  Integer FLockCount = 0;
  bool FOnChangeEvent = false;
  bool FOnEditValueChangedEvent = false;
};

// The base of editors and of the editors' inner containers.
class TcxCustomEditContainer : public TcxContainer {
  DECLARE_CLASS(TcxCustomEditContainer, TcxContainer)
 public:
  using TcxContainer::TcxContainer;
  virtual bool IsCaptureMouse();
  virtual bool PtInCaller(const TPoint& P);

 protected:
  void MouseEnter(TControl* AControl) override;
  void MouseLeave(TControl* AControl) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
};

using TcxEditEditingEvent = TMethodPtr<void(TObject* Sender, bool& CanEdit)>;

class TcxCustomEdit : public TcxCustomEditContainer, public IcxEditOwner {
  DECLARE_CLASS(TcxCustomEdit, TcxCustomEditContainer)
  DECLARE_MESSAGE_TABLE()
  friend class TcxEditDataBinding;
  // The view data and view info ask the editor what only it knows (its
  // painter's colours, background, non-client area, transparency).
  friend class TcxCustomEditViewData;
  friend class TcxCustomEditViewInfo;

 public:
  TcxCustomEdit(TComponent* AOwner, bool AIsInplace);
  explicit TcxCustomEdit(TComponent* AOwner) : TcxCustomEdit(AOwner, false) {}
  ~TcxCustomEdit() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  // Painting: what button fading and the view info ask of the editor.
  TcxCustomEditViewData* GetViewData(bool& AIsViewDataCreated) override;
  void InvalidateRect(const TRect& R, bool AEraseBackground) override;
  // A device context the editor paints its buttons into on its own.
  virtual bool IsButtonDC(HDC) { return false; }
  // Computed once, when the editor is made, by a view data of its own.
  TcxEditContentParams ContentParams;

  // Properties.
  virtual TClass GetPropertiesClass();
  TcxCustomEditProperties* GetProperties() const { return FProperties.get(); }
  void SetProperties(TcxCustomEditProperties* Value) { FProperties->Assign(Value); }
  // The repository item's properties when one is assigned, else the own.
  TcxCustomEditProperties* GetActiveProperties();
  TcxEditDataBinding* DataBinding() const { return FDataBinding.get(); }
  // Shared properties: an item whose properties this editor cannot use is
  // refused with EcxEditError and the old item kept.
  TcxEditRepositoryItem* GetRepositoryItem() const { return FRepositoryItem; }
  void SetRepositoryItem(TcxEditRepositoryItem* Value);
  bool IsRepositoryItemAcceptable(TcxEditRepositoryItem* ARepositoryItem);
  TcxCustomEditStyle* GetEditStyle() const;
  TcxCustomEditStyle* GetEditActiveStyle();
  TcxCustomEditViewInfo* GetEditViewInfo() const;
  bool IsInplace() override { return FIsInplace; }
  IcxCustomInnerEdit* InnerEdit() const { return FInnerEdit; }
  // The style the editor shows in a container state.
  TcxCustomEditStyle* GetEditStyleForState(const TcxContainerState& AState);
  // The visible button that holds the mouse capture; -1 for none.
  Integer CaptureButtonVisibleIndex() const { return FCaptureButtonVisibleIndex; }
  // The first visible button whose bounds hold P, else -1.
  Integer ButtonVisibleIndexAt(const TPoint& P);
  // The first visible button marked default, else -1.
  Integer GetDefaultButtonVisibleIndex();

  // Value.
  Variant GetEditValue() { return FEditValue; }
  virtual void SetEditValue(const Variant& Value);
  void SetInternalEditValue(const Variant& Value);
  void SetValidatableEditValue(const Variant& Value);
  Variant GetEditingValue();
  virtual Variant GetDisplayValue();
  virtual void SetInternalDisplayValue(const Variant& Value) {}
  virtual void PrepareEditValue(const Variant& ADisplayValue, Variant& EditValue,
                                bool AEditFocused) {
    EditValue = Unassigned();
  }
  bool IsEditValueStored() { return !VarIsNull(FEditValue); }
  virtual void Clear();
  void Reset() { FDataBinding->Reset(); }
  virtual void ResetEditValue();

  // Modification flags.
  bool Modified() const { return FModified; }
  void SetModified(bool Value);
  bool ModifiedAfterEnter() const { return FModifiedAfterEnter; }
  void SetModifiedAfterEnter(bool Value);
  void SaveModified();
  void RestoreModified();
  bool IsEditValidated() const { return FIsEditValidated; }
  bool ValidationError() const { return FValidationError; }
  const String& ValidationErrorText() const { return FValidationErrorText; }

  // Brackets.
  void BeginUserAction() { ++FUserActionCount; }
  void EndUserAction() {
    if (FUserActionCount > 0) --FUserActionCount;
  }
  void DisableUserAction() { ++FUserActionDisabledCount; }
  void EnableUserAction() { --FUserActionDisabledCount; }
  bool IsUserAction() const { return FUserActionDisabledCount == 0 && FUserActionCount >= 1; }
  bool IsUserActionDisabled() const { return FUserActionDisabledCount > 0; }
  void LockChangeEvents(bool ALock, bool AInvokeChangedOnUnlock = true) {
    FChangeEventsCatcher->Lock(ALock, AInvokeChangedOnUnlock);
  }
  bool AreChangeEventsLocked() const { return FChangeEventsCatcher->IsLocked(); }
  void LockClick(bool ALock);
  void LockEditValueChanging(bool ALock);
  bool IsEditValueChangingLocked() const { return FEditValueChangingLockCount > 0; }
  void SetInplaceInitializing(bool AValue) { FIsInplaceInitializing = AValue; }

  // Editing, validation and posting.
  bool DoEditing();
  virtual bool CanModify();
  bool ValidateEdit(bool ARaiseExceptionOnError);
  bool ValidateEdit();
  void PostEditValue();
  bool CanPostEditValue();
  void DoOnValidate(Variant& ADisplayValue, String& AErrorText, bool& AError);
  bool HasOnValidate();

  // In-place activation.
  void Activate(TcxCustomEditData*& AEditData, bool ANeedSetFocus = true);
  void ActivateByKey(wchar_t Key, TcxCustomEditData*& AEditData);
  void ActivateByMouse(TShiftState Shift, Integer X, Integer Y, TcxCustomEditData*& AEditData);
  bool Deactivate();
  void DoClearEditData(TcxCustomEditData* AEditData);
  virtual TClass GetEditDataClass() { return nullptr; }
  TcxCustomEditData* EditData() const { return FEditData; }

  // Clipboard and selection; the editors with text fill them.
  virtual void CopyToClipboard() {}
  virtual void CutToClipboard() {}
  virtual void PasteFromClipboard() {}
  virtual void SelectAll() {}
  virtual bool IsEditClass() { return false; }
  bool IsChildWindow(HWND AWnd);
  void SetParent(TWinControl* AParent) override;
  void GetTabOrderList(std::vector<TWinControl*>& List) override;

  Integer AnchorX() const { return FAnchorX; }
  Integer AnchorY() const { return FAnchorY; }
  // Spell checking: the base editor offers none.
  virtual bool SupportsSpelling() { return false; }
  void SpellCheckerSetIsBarControl(bool AValue) { FIsBarControl = AValue; }
  virtual void SpellCheckerSetSelText(const String& AValue, bool APost = false) {}
  virtual void SpellCheckerSetValue(const Variant& AValue) { InternalSetEditValue(AValue, false); }
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { SetEditAutoSize(Value); }
  TcxEditStateColorKind GetEditStateColorKind();

  const TcxEditEditingEvent& OnEditing() const { return FOnEditing; }
  void SetOnEditing(const TcxEditEditingEvent& V) { FOnEditing = V; }
  const TNotifyEvent& OnPostEditValue() const { return FOnPostEditValue; }
  void SetOnPostEditValue(const TNotifyEvent& V) { FOnPostEditValue = V; }
  const TKeyEvent& OnAfterKeyDown() const { return FOnAfterKeyDown; }
  void SetOnAfterKeyDown(const TKeyEvent& V) { FOnAfterKeyDown = V; }

  friend class TcxEditChangeEventsCatcher;

  // -- Read by the text editors' lookup lists: whether the editor is
  // switching its edit mode, and whether its popup window is up.
  bool IsEditModeSetting() const { return FEditModeSetting; }
  bool EditHasPopupWindow() { return HasPopupWindow(); }

 protected:
  // Layout and content.
  void AdjustInnerEditPosition();
  virtual void AfterPosting() { FIsPosting = false; }
  virtual void BeforePosting() { FIsPosting = true; }
  void CalculateViewInfo(const TPoint& P, bool AMouseTracking) override;
  // Calculates a view info for the control rectangle; the virtual one the
  // editor's own.
  void CalculateViewInfo(TcxCustomEditViewInfo* AViewInfo, const TPoint& P, TcxMouseButton Button,
                         TShiftState Shift, bool AIsMouseEvent);
  virtual void CalculateViewInfo(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                                 bool AIsMouseEvent);
  bool DoRefreshContainer(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                          bool AIsMouseEvent) override;
  // Button state changes turned into button down, up and click.
  virtual void DoProcessEventsOnViewInfoChanging(TcxCustomEditViewInfo* AOldViewInfo,
                                                 const TPoint& P);
  TRect GetWindowRegionAddon() override;
  virtual void ChangeHandler(TObject* Sender);
  virtual void CreateInnerEdit();
  virtual TcxCustomEditViewData* CreateViewData();
  // Buttons: the view info's buttons call these; the default button's key
  // needs a default button, which the buttons' layout gives.
  virtual void DefaultButtonClick();
  virtual void DoButtonClick(Integer AButtonVisibleIndex);
  virtual void DoButtonDown(Integer AButtonVisibleIndex) {}
  virtual void DoButtonUp(Integer AButtonVisibleIndex) {}
  void DoClosePopup(TcxEditCloseUpReason AReason);
  virtual bool IsDefaultButtonKey(TShortCut AShortCut);
  virtual void DoAutoSizeChanged() {}
  // Events and keys.
  virtual void DoChange();
  virtual void DoEditValueChanged();
  virtual void DoEditKeyDown(Word& Key, TShiftState Shift);
  virtual void DoEditKeyPress(Char& Key) { ValidateKeyPress(Key); }
  virtual void DoEditKeyUp(Word& Key, TShiftState Shift) {}
  virtual void DoEditProcessTab(TShiftState Shift) {}
  virtual void DoFocusChanged();
  virtual void DoHideEdit(bool AExit);
  virtual void DoOnChange();
  virtual void DoOnEditValueChanged();
  virtual void DoSetFocusWhenActivate();
  virtual void DoShowEdit();
  virtual void DoValidateOnEnter();
  // Values and classes.
  virtual Variant GetClearValue() { return Null(); }
  virtual TcxEditDataBindingClass GetDataBindingClass();
  virtual String GetDisplayText() { return String(); }
  virtual TClass GetInnerEditClass() { return nullptr; }
  virtual void PopulateSizeProperties(TcxEditSizeProperties& AEditSizeProperties);
  TcxContainerStyleClass GetStyleClass() override;
  TcxContainerViewInfoClass GetViewInfoClass() override;
  // Initialisation.
  virtual void Initialize();
  virtual void InitializeEditData() {}
  virtual void InitializeInnerEdit();
  virtual void InitializeViewData(TcxCustomEditViewData* AViewData);
  // Value internals.
  virtual bool InternalDoEditing() { return true; }
  virtual Variant InternalGetEditingValue() { return FEditValue; }
  virtual void InternalSetDisplayValue(const Variant& Value) {}
  void InternalSetEditValue(const Variant& Value, bool AValidateEditValue);
  virtual void InternalStoreEditValue(const Variant& Value) { FEditValue = Value; }
  // Size.
  virtual bool CanAutoSize() { return !FIsInplace && FAutoSize; }
  virtual bool CanAutoHeight() { return true; }
  virtual bool CanAutoWidth();
  virtual bool IsHeightDependOnWidth() { return false; }
  bool IsAutoHeight();
  bool IsAutoWidth();
  void InternalCanResize(Integer& ANewWidth, Integer& ANewHeight);
  void DoSetSize() override;
  virtual void SetEditAutoSize(bool Value);
  // Anchors kept while auto-sizing.
  virtual bool UseAnchors() { return UseAnchorX() || UseAnchorY(); }
  virtual bool UseAnchorX() { return false; }
  virtual bool UseAnchorY() { return false; }
  void CalculateAnchors();
  void DefineProperties(TFiler* Filer) override;
  void ChangeScaleEx(Integer M, Integer D) override;
  // Key and state queries.
  virtual bool CanKeyDownModifyEdit(Word Key, TShiftState Shift) { return false; }
  virtual bool CanKeyPressModifyEdit(Char Key) { return false; }
  virtual bool IsActiveControl();
  virtual bool IsClickEnabledDuringLoading() { return false; }
  virtual bool IsEditorKey(Word Key, TShiftState Shift);
  virtual bool IsValidChar(Char AChar);
  virtual bool NeedsInvokeAfterKeyDown(Word AKey, TShiftState AShift);
  virtual bool SendActivationKey(wchar_t Key) { return true; }
  virtual bool TabsNeeded() { return FIsInplace; }
  virtual bool UpdateContentOnFocusChanging() { return true; }
  virtual void UpdateDrawValue() {}
  virtual bool ValidateKeyDown(Word& Key, TShiftState Shift);
  virtual bool ValidateKeyPress(Char& Key);
  virtual bool WantNavigationKeys() { return false; }
  // Validation.
  virtual bool CanShowValidationErrorOnPostEditValue() { return !FIsInplace; }
  virtual void DoValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError);
  virtual Variant InternalGetValueToValidate() { return Variant(VarToStr(FEditValue)); }
  virtual void InternalValidateDisplayValue(const Variant& ADisplayValue);
  virtual void HandleValidationError(const String& AErrorText,
                                     TcxEditValidationOptions AValidationOptions,
                                     bool ACanAbortExecution);
  bool InternalValidateEdit(TcxEditValidationOptions AValidationOptions, bool AForceValidation);
  bool InternalValidateEdit(bool AForceValidation);
  void InternalPostEditValue(bool AValidateEdit = false);
  void InternalPostValue();
  virtual void DoPostEditValue();
  void RollBackErrorState();
  void SetPrevEditValue(const Variant& Value);
  // Painting and properties.
  virtual void PropertiesChanged(TObject* Sender);
  virtual void RepositoryItemAssigning() {}
  virtual void RepositoryItemAssigned() {}
  virtual void RepositoryItemListenerItemRemoved(TcxEditRepositoryItem* Sender);
  virtual void RepositoryItemListenerPropertiesChanged(TcxEditRepositoryItem* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool RealReadOnly();
  bool PropertiesChangeLocked();
  virtual void SynchronizeDisplayValue() {}
  virtual void SynchronizeEditValue() {}
  virtual bool DoubleClickActivation() { return true; }

  // Overrides of the control.
  void Click() override;
  void DblClick() override;
  void DoEnter() override;
  void DoExit() override;
  void FocusChanged() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;
  void CreateHandle() override;
  void CMEnter(TMessage& Message) override;
  void CMShowingChanged(TMessage& Message) override;
  bool CanFocusOnClick() override;
  // An in-place editor paints its host's background itself: never
  // transparent.
  virtual bool IsNativeBackground() { return false; }
  virtual bool IsTransparent() { return !FIsInplace && Transparent(); }
  bool IsTransparentBackground() override { return IsNativeBackground() || IsTransparent(); }
  void TransparentChanged() override;
  void ReadState(TReader* Reader) override;
  bool CanContainerHandleTabs() override { return false; }
  bool IsReadOnly() override { return RealReadOnly(); }
  virtual void CMHintShow(TMessage& Message);
  String GetStatusHint(const TPoint& APoint) override;
  // The hint of the part at P: its own text, else the control's Hint when
  // ShowHint is set.
  String GetHintText(Integer APart);
  virtual void WMCopy(TMessage& Message);
  virtual void WMCut(TMessage& Message);
  virtual void WMPaste(TMessage& Message);

  bool IsHiding() const { return FIsHiding; }
  bool IsPosting() const { return FIsPosting; }
  bool IsValidateErrorProcessing() const { return FValidateErrorProcessing; }

 private:
  struct TModifiedState {
    bool Modified;
    bool ModifiedAfterEnter;
  };
  Variant GetValueToValidate();
  void DoAfterKeyDown(Word& Key, TShiftState Shift);
  void DblClickTimerHandler(TObject* Sender);
  bool NeedStoreHeight();
  bool NeedStoreWidth();
  void ReadHeight(TReader* Reader);
  void ReadWidth(TReader* Reader);
  void WriteHeight(TWriter* Writer);
  void WriteWidth(TWriter* Writer);
  void ReadAnchorX(TReader* Reader);
  void ReadAnchorY(TReader* Reader);
  void WriteAnchorX(TWriter* Writer);
  void WriteAnchorY(TWriter* Writer);
  void InitContentParams();
  void SetReplicatableFlag();
  void ProcessCut();
  void ProcessPaste();

  // Hears the repository item for the editor; a member rather than a base
  // keeps the listener's names apart from the editor's own.
  class TRepositoryItemListener final : public IcxEditRepositoryItemListener {
   public:
    explicit TRepositoryItemListener(TcxCustomEdit* AEdit) : FEdit(AEdit) {}
    void ItemRemoved(TcxEditRepositoryItem* Sender) override {
      FEdit->RepositoryItemListenerItemRemoved(Sender);
    }
    void PropertiesChanged(TcxEditRepositoryItem* Sender) override {
      FEdit->RepositoryItemListenerPropertiesChanged(Sender);
    }

   private:
    TcxCustomEdit* FEdit;
  };

  TOwned<TcxEditChangeEventsCatcher> FChangeEventsCatcher;
  TOwned<TcxCustomEditProperties> FProperties;
  TOwned<TcxEditDataBinding> FDataBinding;
  TRepositoryItemListener FRepositoryItemListener{this};
  TcxEditRepositoryItem* FRepositoryItem = nullptr;
  TOwned<TcxTimer> FDblClickTimer;
  TcxCustomEditData* FEditData = nullptr;
  IcxCustomInnerEdit* FInnerEdit = nullptr;
  Integer FAnchorX;
  Integer FAnchorY;
  bool FAutoHeight = true;
  bool FAutoSize = true;
  bool FAutoWidth = true;
  bool FIsBarControl = false;
  bool FIsFirstSetSize = false;
  // Anchors read from a form and still to be scaled.
  bool FAnchorXRead = false;
  bool FAnchorYRead = false;
  Integer FCaptureButtonVisibleIndex = -1;
  Integer FClickLockCount = 0;
  bool FEditModeSetting = false;
  bool FFocused = false;
  Integer FUserActionCount = 0;
  Integer FUserActionDisabledCount = 0;
  bool FModified = false;
  bool FModifiedAfterEnter = false;
  bool FNeedFocusOnClick = true;
  std::vector<TModifiedState> FPrevModifiedList;
  bool FIsContentParamsInitialized = false;
  bool FIsKeyPressHandled = false;
  bool FIsHiding = false;
  bool FIsInplace;
  bool FIsInplaceInitializing = false;
  bool FIsJustCreated = false;
  bool FIsPosting = false;
  bool FIsEditValidated = false;
  bool FIsEditValidating = false;
  Integer FLockValidate = 0;
  bool FValidateErrorProcessing = false;
  bool FValidationError = false;
  String FValidationErrorText;
  Variant FPrevEditValue;
  bool FPrevValidationError = false;
  Integer FEditValueChangingLockCount = 0;
  Variant FEditValue;
  TKeyEvent FOnAfterKeyDown;
  TcxEditEditingEvent FOnEditing;
  TNotifyEvent FOnPostEditValue;
};

namespace cxEditDetail {
// Runs AProc inside a user action of the editor, or with its user actions
// disabled.
template <class F>
void AsUserAction(TcxCustomEdit* AEdit, F AProc) {
  AEdit->BeginUserAction();
  auto AEnd = Finally([AEdit] { AEdit->EndUserAction(); });
  AProc();
}
template <class F>
void WithoutUserAction(TcxCustomEdit* AEdit, F AProc) {
  AEdit->DisableUserAction();
  auto AEnable = Finally([AEdit] { AEdit->EnableUserAction(); });
  AProc();
}
}  // namespace cxEditDetail

// What a host keeps of an in-place editor between activations.
class TcxCustomEditData : public TObject {
  DECLARE_CLASS(TcxCustomEditData, TObject)
 public:
  using TOwnerType = TcxCustomEdit;
  explicit TcxCustomEditData(TcxCustomEdit* AEdit);
  ~TcxCustomEditData() override;
  void Clear();
  bool Cleared() const { return FCleared; }
  void SetCleared(bool AValue) { FCleared = AValue; }
  TcxCustomEdit* Edit() const { return FEdit; }

 private:
  void EditFreed(TComponent* AComponent);
  bool FCleared = false;
  TcxCustomEdit* FEdit;
  TOwned<TcxFreeNotificator> FFreeNotificator;
};

// One hidden editor per properties object, kept for a host to reuse.
class TcxInplaceEditList : public TObject {
  DECLARE_CLASS(TcxInplaceEditList, TObject)
 public:
  explicit TcxInplaceEditList(TComponent* AEditorOwner);
  ~TcxInplaceEditList() override;
  // The editor of AProperties (claiming a free one of the class or making
  // one), initialised from AProperties.
  TcxCustomEdit* GetEdit(TcxCustomEditProperties* AProperties);
  // A free editor of the properties class, made when none is free.
  TcxCustomEdit* GetEdit(TClass APropertiesClass);
  TcxCustomEdit* FindEdit(TcxCustomEditProperties* AProperties);
  TcxCustomEdit* FindEdit(TClass APropertiesClass);
  void RemoveItem(TcxCustomEditProperties* AProperties);
  void RemoveItem(TClass APropertiesClass);
  void DisconnectProperties(TcxCustomEditProperties* AProperties);
  Integer Count() const { return static_cast<Integer>(FItems.size()); }

 private:
  struct TcxEditListItem {
    TcxCustomEdit* Edit;
    TcxCustomEditProperties* Properties;
  };
  TcxCustomEdit* CreateEdit(const TcxCustomEditClass& AEditClass);
  Integer FindItem(TcxCustomEditProperties* AProperties, bool ACanUseFreeEditors);
  Integer FindItem(TClass APropertiesClass);
  Integer FindFreeItem(TClass AEditClass);
  void InitEdit(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties);
  void RemoveItemAt(Integer AIndex);
  void EditFreed(TComponent* AComponent);

  TComponent* FEditorOwner;
  std::vector<TcxEditListItem> FItems;
  // An editor its owner frees first leaves the list instead of dangling,
  // and a freed owner is given to no new editor.
  TOwned<TcxFreeNotificator> FFreeNotificator;
};
// How many in-place editor lists exist; the module keeps its list of them
// only while there is one.
Integer cxInplaceEditListCount();
// The editor class a properties class makes.
TcxCustomEditClass cxGetContainerClass(TClass APropertiesClass);
