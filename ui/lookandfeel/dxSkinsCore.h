// The skin model: a tree of named objects (skin, control groups, elements)
// with typed properties and colour palettes, the textured element image with
// nine-part scaling, the per-element picture cache, and the binary skin
// stream and multi-skin container.
#pragma once

#ifndef RC_INVOKED
#include <array>
#include <vector>

#include "ComObj.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "dxCore.h"
#include "dxFading.h"
#include "dxGDIPlusClasses.h"
#endif

#ifndef RC_INVOKED

DECLARE_EXCEPTION(EdxSkinError, EdxException)

class TdxSkin;
class TdxSkinControlGroup;
class TdxSkinElement;
class TdxSkinImage;
class TdxSkinElementCacheList;

// ---------------------------------------------------------------------------
// Switches and vocabulary

// Which pictures skin elements draw with: their textures, or the alternate
// flat attributes (which the default choice takes in low-colour modes).
enum TdxSkinImageSet { imsDefault, imsOriginal, imsAlternate };
TdxSkinImageSet dxSkinsUseImageSet();
void dxSetSkinsUseImageSet(TdxSkinImageSet AValue);

enum TdxSkinChange { scStruct, scContent, scDetails };
using TdxSkinChanges = TSet<TdxSkinChange>;
enum TdxSkinObjectState { sosUnassigned, sosUnused };
using TdxSkinObjectStates = TSet<TdxSkinObjectState>;
using TdxSkinChangeNotify = TMethodPtr<void(TObject* Sender, TdxSkinChanges AChanges)>;
void dxSkinChangeNotify(TObject* Sender, TdxSkinChanges AChanges,
                        const TdxSkinChangeNotify& AEvent);

enum TdxSkinIconSize { sis16, sis48 };
enum TdxSkinImageLayout { ilHorizontal, ilVertical };
enum TdxSkinStretchMode { smStretch, smTile, smNoResize };
enum TdxSkinGradientMode { gmHorizontal, gmVertical, gmForwardDiagonal, gmBackwardDiagonal };
enum TdxSkinImagePart {
  sipTopLeft,
  sipTop,
  sipTopRight,
  sipLeft,
  sipCenter,
  sipRight,
  sipBottomLeft,
  sipBottom,
  sipBottomRight
};
enum TdxSkinElementState {
  esNormal,
  esHot,
  esPressed,
  esDisabled,
  esActive,
  esFocused,
  esDroppedDown,
  esChecked,
  esHotCheck,
  esActiveDisabled,
  esCheckPressed
};
inline constexpr Integer dxSkinElementStateCount = esCheckPressed + 1;
using TdxSkinElementStates = TSet<TdxSkinElementState, 16>;

extern const wchar_t* const dxSkinElementStateNames[dxSkinElementStateCount];
// Indexed by TcxButtonState; cxbsDefault has none.
extern const wchar_t* const dxSkinElementTextColorPropertyNames[5];
extern const LinearGradientMode dxSkinsGradientModeMap[4];

inline constexpr const char dxSkinSignature[] = "dxSkin";
inline constexpr Double dxSkinStreamVersion = 1.25;
// A colour reference not yet resolved.
inline constexpr TColor dxSkinColorUnresolved = 0x1FFFFFFE;

// ---------------------------------------------------------------------------
// Details

class TdxSkinDetails : public TPersistent {
  DECLARE_CLASS(TdxSkinDetails, TPersistent)
 public:
  TdxSkinDetails();
  void AfterConstruction() override;
  ~TdxSkinDetails() override;

  void Assign(TPersistent* Source) override;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  virtual void Clear();
  TdxSmartImage* GetIcon(TdxSkinIconSize ASize) const { return FIcons[ASize]; }
  void ResetIcon(TdxSkinIconSize ASize);
  // Reads only the details of the skin stream that starts at the position;
  // false when its signature fails.
  bool LoadFromStream(TStream* AStream);
  virtual void DataRead(TStream* AStream, Double AVersion);
  virtual void DataWrite(TStream* AStream);

  const String& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const String& AValue);
  const String& GroupName() const { return FGroupName; }
  void SetGroupName(const String& AValue);
  const String& Name() const { return FName; }
  void SetName(const String& AValue);
  const String& Notes() const { return FNotes; }
  void SetNotes(const String& AValue);
  Int64 DataOffset() const { return FDataOffset; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& AValue) { FOnChange = AValue; }

 protected:
  virtual void Changed();

 private:
  friend class TdxSkinBinaryReader;
  void IconChanged(TObject* Sender) { Changed(); }
  void SetText(String& AField, const String& AValue);

  String FDisplayName;
  String FGroupName;
  std::array<TdxSmartImage*, 2> FIcons{};
  String FName;
  String FNotes;
  Integer FUpdateCount = 0;
  TNotifyEvent FOnChange;
  Int64 FDataOffset = 0;
};

// ---------------------------------------------------------------------------
// Object model

// A skin object that answers palette queries of the colours below it.
struct IdxSkinColorPalette : public IUnknown {
  virtual bool STDMETHODCALLTYPE GetColor(const String& AName, TColor& AColor) = 0;
};
__CRT_UUID_DECL(IdxSkinColorPalette, 0xA7511E95, 0x1577, 0x41D3, 0xAB, 0x8A, 0x12, 0xF3, 0x4E, 0x79,
                0xAF, 0x1B)

// Named, with batched change notification; answers interface queries without
// reference counting.
class TdxSkinCustomObject : public TPersistent, public IUnknown {
  DECLARE_CLASS(TdxSkinCustomObject, TPersistent)
 public:
  using TOwnerType = TPersistent;
  explicit TdxSkinCustomObject(TPersistent* AOwner, const String& AName = String());

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  void Assign(TPersistent* Source) override;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void CancelUpdate();
  virtual void DataRead(TStream* AStream, Double AVersion) {}
  virtual void DataWrite(TStream* AStream) {}
  virtual void FlushCache() {}
  virtual void Changed(TdxSkinChanges AChanges);
  TPersistent* GetOwner() override { return FOwner; }

  const String& Name() const { return FName; }
  virtual void SetName(const String& AValue);
  TdxSkinObjectStates State() const { return FState; }
  void SetState(TdxSkinObjectStates AValue) { FState = AValue; }
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt AValue) { FTag = AValue; }
  const TdxSkinChangeNotify& OnChange() const { return FOnChange; }
  void SetOnChange(const TdxSkinChangeNotify& AValue) { FOnChange = AValue; }
  // Sets the name of an object made through its class reference.
  void InitName(const String& AName) { FName = AName; }

 protected:
  virtual void AssignCore(TPersistent* Source);
  virtual void DoChanged(TdxSkinChanges AChanges);
  Integer UpdateCount() const { return FUpdateCount; }
  // Stores a value that differs and announces the content change.
  template <class T>
  void SetContentField(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed({scContent});
  }
  // Takes the value of an object of class T; false for another source.
  template <class T>
  bool AssignValueOf(TPersistent* Source) {
    auto* S = AsOrNull<T>(Source);
    if (S) static_cast<T*>(this)->SetValue(S->Value());
    return S != nullptr;
  }

 private:
  TdxSkinChanges FChanges;
  String FName;
  TPersistent* FOwner;
  TdxSkinObjectStates FState{sosUnused};
  NativeInt FTag = 0;
  Integer FUpdateCount = 0;
  TdxSkinChangeNotify FOnChange;
};

// An owning list of named objects, sorted by name on demand.
class TdxSkinCustomObjectList : public TObjectList {
  DECLARE_CLASS(TdxSkinCustomObjectList, TObjectList)
 public:
  explicit TdxSkinCustomObjectList(TPersistent* AOwner) : FOwner(AOwner) {}
  TdxSkinCustomObjectList(TPersistent* AOwner, const TdxSkinChangeNotify& AChangeHandler)
      : FOwner(AOwner), FOnChange(AChangeHandler) {}
  ~TdxSkinCustomObjectList() override;

  TdxSkinCustomObject* Items(Integer AIndex) const {
    return static_cast<TdxSkinCustomObject*>(Get(AIndex));
  }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void Clear();
  void Exchange(Integer I1, Integer I2);
  bool Find(const String& AName, TdxSkinCustomObject*& AObject);
  Integer IndexOf(const String& AName);
  using TObjectList::IndexOf;
  void Sort(bool ASortChildren = false);
  void FlushCache();
  void DataRead(TStream* AStream, Double AVersion);
  void DataWrite(TStream* AStream);
  virtual void Changed(TdxSkinChanges AChanges);
  void SubItemChanged(TObject* Sender, TdxSkinChanges AChanges) { Changed(AChanges); }

  TPersistent* Owner() const { return FOwner; }
  const TdxSkinChangeNotify& OnChange() const { return FOnChange; }
  void SetOnChange(const TdxSkinChangeNotify& AValue) { FOnChange = AValue; }

 protected:
  void Notify(Pointer Ptr, TListNotification Action) override;
  virtual void SortChildren() {}
  virtual void DataReadItem(TStream* AStream, Double AVersion) = 0;
  virtual void DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) = 0;
  // The fewest bytes one stored item takes, to check a count against the
  // bytes left before reading it.
  virtual Integer MinItemSize() const { return 4; }
  // Subscribes the list to the item and appends it.
  Integer AddItem(TdxSkinCustomObject* AItem);

 private:
  TdxSkinChanges FChanges;
  TPersistent* FOwner;
  bool FSorted = false;
  Integer FUpdateCount = 0;
  TdxSkinChangeNotify FOnChange;
};

class TdxSkinProperty;
using TdxSkinPropertyClass = TClass;

// The kinds of property a stored property list may hold.
enum TdxSkinPropertyListKind { plkAny, plkColors, plkPalettes };

class TdxSkinProperties : public TdxSkinCustomObjectList {
  DECLARE_CLASS(TdxSkinProperties, TdxSkinCustomObjectList)
 public:
  using TdxSkinCustomObjectList::TdxSkinCustomObjectList;
  TdxSkinProperty* Items(Integer AIndex) const;
  TdxSkinProperty* Add(const String& AName, TdxSkinPropertyClass AClass);
  void Assign(TdxSkinProperties* ASource);
  bool Compare(TdxSkinProperties* AProperties);
  TdxSkinPropertyListKind Kind() const { return FKind; }
  void SetKind(TdxSkinPropertyListKind AValue) { FKind = AValue; }

 protected:
  void DataReadItem(TStream* AStream, Double AVersion) override;
  void DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) override;
  Integer MinItemSize() const override { return 8; }

 private:
  // The class a stored name stands for, when this list may hold it; the
  // framework's class-not-found error otherwise.
  TdxSkinPropertyClass AcceptedClass(const String& AClassName) const;
  TdxSkinPropertyListKind FKind = plkAny;
};

class TdxSkinColor;
class TdxSkinColors : public TdxSkinProperties {
  DECLARE_CLASS(TdxSkinColors, TdxSkinProperties)
 public:
  TdxSkinColors(TPersistent* AOwner, const TdxSkinChangeNotify& AChangeHandler)
      : TdxSkinProperties(AOwner, AChangeHandler) {
    SetKind(plkColors);
  }
  TdxSkinColor* Add(const String& AName, TColor AColor);
  TdxSkinColor* Items(Integer AIndex) const;
};

class TdxSkinPersistent : public TdxSkinCustomObject {
  DECLARE_CLASS(TdxSkinPersistent, TdxSkinCustomObject)
 public:
  explicit TdxSkinPersistent(TPersistent* AOwner, const String& AName = String());
  ~TdxSkinPersistent() override;

  virtual void Clear();
  TdxSkinProperty* AddProperty(const String& AName, TdxSkinPropertyClass APropertyClass);
  TdxSkinProperty* AddPropertyBool(const String& AName, bool AValue);
  TdxSkinProperty* AddPropertyColor(const String& AName, TColor AValue);
  TdxSkinProperty* AddPropertyInteger(const String& AName, Integer AValue);
  virtual void DeleteProperty(TdxSkinProperty* AProperty);
  void DeleteProperty(const String& AName);
  void ExchangeProperty(Integer AIndex1, Integer AIndex2);
  TdxSkinProperty* GetPropertyByName(const String& AName);
  bool GetPropertyByName(const String& AName, TdxSkinProperty*& AProperty);
  virtual void Sort(bool ASortChildren = false);
  void FlushCache() override;
  void Changed(TdxSkinChanges AChanges) override;

  bool Modified() const { return FModified; }
  void SetModified(bool AValue) { FModified = AValue; }
  Integer PropertyCount() const { return FProperties->Count(); }
  TdxSkinProperty* Properties(Integer AIndex) const { return FProperties->Items(AIndex); }
  TdxSkinProperties* PropertyList() const { return FProperties.get(); }

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  void PropertiesChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }
  bool FModified = false;
  TOwned<TdxSkinProperties> FProperties;
};

// A colour that may name a palette colour instead of holding one.
struct TdxSkinColorValue {
  TColor FDefaultValue = clDefault;
  TdxSkinCustomObject* FOwner = nullptr;
  TColor FValue = clDefault;
  String FValueReference;

  void Initialize(TdxSkinCustomObject* AOwner, TColor ADefaultValue);
  TColor Value();
  void SetValue(TColor AValue);
  const String& ValueReference() const { return FValueReference; }
  void SetValueReference(const String& AValue);
  void Assign(const TdxSkinColorValue& ASource);
  void Changed();
  void FlushCache();
  void ResetToDefaults() { SetValue(FDefaultValue); }
  bool operator==(const TdxSkinColorValue& AValue) const {
    return FValue == AValue.FValue && FValueReference == AValue.FValueReference;
  }
  void Read(TStream* AStream, Double AVersion);
  void Write(TStream* AStream);
};

// ---------------------------------------------------------------------------
// Properties

class TdxSkinProperty : public TdxSkinCustomObject {
  DECLARE_CLASS(TdxSkinProperty, TdxSkinCustomObject)
 public:
  using TdxSkinCustomObject::TdxSkinCustomObject;
  virtual String Description();
  virtual bool Compare(TdxSkinProperty* AProperty);
  static void Register(TdxSkinPropertyClass AClass);
  static void Unregister(TdxSkinPropertyClass AClass);
};

class TdxSkinIntegerProperty : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinIntegerProperty, TdxSkinProperty)
 public:
  using TdxSkinProperty::TdxSkinProperty;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  Integer FValue = 0;
};

class TdxSkinBooleanProperty : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinBooleanProperty, TdxSkinProperty)
 public:
  using TdxSkinProperty::TdxSkinProperty;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  bool Value() const { return FValue; }
  void SetValue(bool AValue);

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  bool FValue = false;
};

class TdxSkinColor : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinColor, TdxSkinProperty)
 public:
  explicit TdxSkinColor(TPersistent* AOwner, const String& AName = String());
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  void FlushCache() override { FValue.FlushCache(); }
  TColor Value() { return FValue.Value(); }
  void SetValue(TColor AValue) { FValue.SetValue(AValue); }
  const String& ValueReference() const { return FValue.ValueReference(); }
  void SetValueReference(const String& AValue) { FValue.SetValueReference(AValue); }
  virtual TdxAlphaColor GetValueAsAlphaColor();
  TdxAlphaColor ValueAsAlphaColor() { return GetValueAsAlphaColor(); }

 protected:
  void AssignCore(TPersistent* Source) override;
  TdxSkinColorValue FValue;
};

class TdxSkinAlphaColor : public TdxSkinColor {
  DECLARE_CLASS(TdxSkinAlphaColor, TdxSkinColor)
 public:
  using TdxSkinColor::TdxSkinColor;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  TdxAlphaColor GetValueAsAlphaColor() override;
  Byte ValueAlpha() const { return FValueAlpha; }
  void SetValueAlpha(Byte AValue);

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  Byte FValueAlpha = 255;
};

class TdxSkinRectProperty : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinRectProperty, TdxSkinProperty)
 public:
  explicit TdxSkinRectProperty(TPersistent* AOwner, const String& AName = String());
  ~TdxSkinRectProperty() override;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  TRect Value() const { return FValue->Rect(); }
  void SetValue(const TRect& AValue) { FValue->SetRect(AValue); }
  TcxRect* ValueObject() const { return FValue; }

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  void ValueChanged(TObject*) { Changed({scContent}); }
  TcxRect* FValue;
};

class TdxSkinSizeProperty : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinSizeProperty, TdxSkinProperty)
 public:
  using TdxSkinProperty::TdxSkinProperty;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  const TSize& Value() const { return FValue; }
  void SetValue(const TSize& AValue);
  void SetCx(Integer AValue) { SetValue(TSize{AValue, FValue.cy}); }
  void SetCy(Integer AValue) { SetValue(TSize{FValue.cx, AValue}); }

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  TSize FValue{};
};

class TdxSkinStringProperty : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinStringProperty, TdxSkinProperty)
 public:
  using TdxSkinProperty::TdxSkinProperty;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  const String& Value() const { return FValue; }
  void SetValue(const String& AValue);

 protected:
  void AssignCore(TPersistent* Source) override;
  String FValue;
};

class TdxSkinWideStringProperty : public TdxSkinStringProperty {
  DECLARE_CLASS(TdxSkinWideStringProperty, TdxSkinStringProperty)
 public:
  using TdxSkinStringProperty::TdxSkinStringProperty;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
};

class TdxSkinBorder : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinBorder, TdxSkinProperty)
 public:
  TdxSkinBorder(TPersistent* AOwner, TcxBorder AKind);
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  void FlushCache() override { FColor.FlushCache(); }
  virtual void Draw(HDC DC, const TRect& ABounds);
  virtual void DrawEx(TdxGPCanvas* ACanvas, const TRect& ABounds);
  virtual void ResetToDefaults();

  TColor Color() { return FColor.Value(); }
  void SetColor(TColor AValue) { FColor.SetValue(AValue); }
  const String& ColorReference() const { return FColor.ValueReference(); }
  void SetColorReference(const String& AValue) { FColor.SetValueReference(AValue); }
  TcxBorder Kind() const { return FKind; }
  Integer Thin() const { return FThin; }
  void SetThin(Integer AValue);
  Integer ContentMargin() { return Color() != clNone ? FThin : 0; }

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  TdxSkinColorValue FColor;
  TcxBorder FKind;
  Integer FThin = 1;
};

class TdxSkinBorders : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinBorders, TdxSkinProperty)
 public:
  explicit TdxSkinBorders(TPersistent* AOwner, const String& AName = String());
  ~TdxSkinBorders() override;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  void FlushCache() override;
  virtual void Draw(TdxGPCanvas* ACanvas, const TRect& ABounds);
  virtual void ResetToDefaults();

  TdxSkinBorder* Items(TcxBorder ASide) const { return FBorders[ASide]; }
  TdxSkinBorder* Left() const { return FBorders[bLeft]; }
  TdxSkinBorder* Top() const { return FBorders[bTop]; }
  TdxSkinBorder* Right() const { return FBorders[bRight]; }
  TdxSkinBorder* Bottom() const { return FBorders[bBottom]; }
  TRect ContentMargins() const;

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  void BorderChanged(TObject* Sender, TdxSkinChanges AChanges) { Changed(AChanges); }
  std::array<TdxSkinBorder*, 4> FBorders{};
};

class TdxSkinCustomListProperty : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinCustomListProperty, TdxSkinProperty)
 public:
  explicit TdxSkinCustomListProperty(TPersistent* AOwner, const String& AName = String());
  void AfterConstruction() override;
  void BeforeDestruction() override;
  ~TdxSkinCustomListProperty() override;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  void FlushCache() override;

  void Clear();
  void Delete(TdxSkinProperty* AProperty);
  void Delete(Integer AIndex);
  void Delete(const String& AName);
  bool Find(const String& AName, TdxSkinProperty*& AProperty);
  void Sort() { FProperties->Sort(); }
  Integer Count() const { return FProperties->Count(); }
  TdxSkinProperty* Items(Integer AIndex) const { return FProperties->Items(AIndex); }

 protected:
  virtual TdxSkinProperties* CreateProperties();
  void AssignCore(TPersistent* Source) override;
  void PropertiesChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }
  TdxSkinProperties* FProperties = nullptr;
};

class TdxSkinColorPalette : public TdxSkinCustomListProperty, public IdxColorPalette {
  DECLARE_CLASS(TdxSkinColorPalette, TdxSkinCustomListProperty)
 public:
  explicit TdxSkinColorPalette(TPersistent* AOwner, const String& AName = String());
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TdxSkinCustomObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  TdxSkinColor* Add(const String& AName, TColor AValue);
  TdxSkinColor* Add(const String& AName, const String& AValueReference);
  TdxSkinColor* Items(Integer AIndex) const;
  void FlushCache() override;

  TGUID STDMETHODCALLTYPE GetID() override;
  TdxAlphaColor STDMETHODCALLTYPE GetFillColor(const String& AName) override;
  TdxAlphaColor STDMETHODCALLTYPE GetStrokeColor(const String& AName) override {
    return GetFillColor(AName);
  }
  TClass DefaultColorClass() const { return FDefaultColorClass; }

 protected:
  TdxSkinProperties* CreateProperties() override;
  void DoChanged(TdxSkinChanges AChanges) override;

 private:
  TGUID FID{};
  TClass FDefaultColorClass;
};

class TdxSkinColorPalettes : public TdxSkinCustomListProperty {
  DECLARE_CLASS(TdxSkinColorPalettes, TdxSkinCustomListProperty)
 public:
  explicit TdxSkinColorPalettes(TPersistent* AOwner, const String& AName = String());
  TdxSkinColorPalette* Add(const String& AName);
  TdxSkinColorPalette* Items(Integer AIndex) const;
  TdxSkinColorPalette* Find(const String& AName);
  TClass DefaultColorClass() const { return FDefaultColorClass; }
  void SetDefaultColorClass(TClass AValue) { FDefaultColorClass = AValue; }

 protected:
  TdxSkinProperties* CreateProperties() override;

 private:
  TClass FDefaultColorClass;
};

class TdxSkinGeneralColorPalette : public TdxSkinColorPalette {
  DECLARE_CLASS(TdxSkinGeneralColorPalette, TdxSkinColorPalette)
 public:
  using TdxSkinColorPalette::TdxSkinColorPalette;

 protected:
  void AssignCore(TPersistent* Source) override;
};

class TdxSkinAlternateImageAttributes : public TdxSkinProperty {
  DECLARE_CLASS(TdxSkinAlternateImageAttributes, TdxSkinProperty)
 public:
  explicit TdxSkinAlternateImageAttributes(TPersistent* AOwner, const String& AName = String());
  ~TdxSkinAlternateImageAttributes() override;
  bool Compare(TdxSkinProperty* AProperty) override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;
  void FlushCache() override;
  void Draw(TdxGPCanvas* ACanvas, const TRect& R);

  Byte Alpha() const { return FAlpha; }
  void SetAlpha(Byte AValue);
  TdxSkinBorders* Borders() const { return FBorders; }
  TdxSkinBorders* BordersInner() const { return FBordersInner; }
  TcxRect* ContentOffsets() const { return FContentOffsets; }
  TdxSkinGradientMode Gradient() const { return FGradient; }
  void SetGradient(TdxSkinGradientMode AValue);
  TColor GradientBeginColor() { return FGradientBeginColor.Value(); }
  void SetGradientBeginColor(TColor AValue) { FGradientBeginColor.SetValue(AValue); }
  const String& GradientBeginColorReference() const { return FGradientBeginColor.ValueReference(); }
  void SetGradientBeginColorReference(const String& AValue) {
    FGradientBeginColor.SetValueReference(AValue);
  }
  TColor GradientEndColor() { return FGradientEndColor.Value(); }
  void SetGradientEndColor(TColor AValue) { FGradientEndColor.SetValue(AValue); }
  const String& GradientEndColorReference() const { return FGradientEndColor.ValueReference(); }
  void SetGradientEndColorReference(const String& AValue) {
    FGradientEndColor.SetValueReference(AValue);
  }
  bool IsAlphaUsed() const;

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  void SubChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }
  void OffsetsChanged(TObject*) { Changed({scContent}); }
  Byte FAlpha = 255;
  TdxSkinBorders* FBorders;
  TdxSkinBorders* FBordersInner;
  TcxRect* FContentOffsets;
  TdxSkinGradientMode FGradient = gmHorizontal;
  TdxSkinColorValue FGradientBeginColor;
  TdxSkinColorValue FGradientEndColor;
};

String dxSkinGetAlternateImageAttrsPropertyName(TdxSkinElementState AState, Integer AImageIndex);

// ---------------------------------------------------------------------------
// Skin image

class TdxSkinRender {
 public:
  TdxSkinRender() = delete;
  static void FillRectByGradient(TdxGPCanvas* ACanvas, const TRect& R, TColor AColor1,
                                 TColor AColor2, TdxSkinGradientMode AMode, Byte AAlpha);
};

using TdxSkinImagePartsBounds = std::array<TRect, 9>;
TdxSkinImagePartsBounds dxSkinsCalculatePartsBounds(const TRect& R, const TRect& AMargins);
// Fits the margins into R: negative ones become 0, and a pair wider than its
// extent shrinks in proportion.
void dxSkinsCheckMargins(TRect& AMargins, const TRect& R);

class TdxSkinImage : public TPersistent {
  DECLARE_CLASS(TdxSkinImage, TPersistent)
 public:
  using TOwnerType = TdxSkinElement;
  explicit TdxSkinImage(TdxSkinElement* AOwner);
  void AfterConstruction() override;
  ~TdxSkinImage() override;

  void Assign(TPersistent* Source) override;
  void Clear();
  virtual bool Compare(TdxSkinImage* AImage);
  virtual void Dormant();
  virtual void FlushCache();
  virtual void DataRead(TStream* AStream, Double AVersion, Integer AReadImageCount);
  virtual void DataWrite(TStream* AStream);
  virtual void Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                    Integer AImageIndex = 0, TdxSkinElementState AState = esNormal);
  void Draw(HDC DC, const TRect& ARect, Integer AImageIndex = 0,
            TdxSkinElementState AState = esNormal);
  virtual void DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                      Integer AImageIndex = 0, TdxSkinElementState AState = esNormal);
  virtual void DrawRTL(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                       Integer AImageIndex = 0, TdxSkinElementState AState = esNormal);
  void GetBitmap(Integer AImageIndex, TdxSkinElementState AState, TBitmap* ABitmap,
                 TColor ABackgroundColor = clNone);
  IdxColorPalette* GetPalette(TdxSkinElementState AState, bool ACanUseGlobalPalette);
  TRect GetStateBounds(Integer AImageIndex, TdxSkinElementState AState);
  void CheckState(TdxSkinElementState& AState, Integer& AImageIndex);
  void LoadFromFile(const String& AFileName);
  void LoadFromResource(HINSTANCE AInstance, const String& AName, const wchar_t* AType);
  void LoadFromStream(TStream* AStream);
  void SaveToFile(const String& AFileName);
  void SaveToStream(TStream* AStream);
  void SetStateMapping(const std::vector<TdxSkinElementState>& ATargetStateOrder);
  virtual Integer GetSourceDPI() { return dxDefaultDPI; }

  bool Empty() const;
  String Name();
  String SourceName();
  TdxSkinColorPalettes* ColorPalettes() const { return FColorPalettes; }
  TdxSkinGradientMode Gradient() const { return FGradient; }
  void SetGradient(TdxSkinGradientMode AValue);
  TColor GradientBeginColor() { return FGradientBeginColor.Value(); }
  void SetGradientBeginColor(TColor AValue) { FGradientBeginColor.SetValue(AValue); }
  const String& GradientBeginColorReference() const { return FGradientBeginColor.ValueReference(); }
  void SetGradientBeginColorReference(const String& AValue) {
    FGradientBeginColor.SetValueReference(AValue);
  }
  TColor GradientEndColor() { return FGradientEndColor.Value(); }
  void SetGradientEndColor(TColor AValue) { FGradientEndColor.SetValue(AValue); }
  const String& GradientEndColorReference() const { return FGradientEndColor.ValueReference(); }
  void SetGradientEndColorReference(const String& AValue) {
    FGradientEndColor.SetValueReference(AValue);
  }
  Integer ImageCount() const { return FImageCount; }
  void SetImageCount(Integer AValue);
  TdxSkinImageLayout ImageLayout() const { return FImageLayout; }
  void SetImageLayout(TdxSkinImageLayout AValue);
  TdxGPInterpolationMode InterpolationMode() const { return FInterpolationMode; }
  void SetInterpolationMode(TdxGPInterpolationMode AValue);
  TcxMargin* Margins() const { return FMargins; }
  TdxSkinElement* Owner() const { return FOwner; }
  TSize Size();
  Integer StateCount();
  TdxSkinElementStates States() const { return FStates; }
  void SetStates(TdxSkinElementStates AValue);
  TdxSkinStretchMode Stretch() const { return FStretch; }
  void SetStretch(TdxSkinStretchMode AValue);
  TdxSmartImage* Texture() const { return FTexture; }
  bool IsVectorTexture();
  const TdxSkinImagePartsBounds& PartsBounds();
  const std::array<bool, 9>& PartsVisibility();
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& AValue) { FOnChange = AValue; }
  // The alpha use of the texture; false for an empty or undecodable one.
  bool IsAlphaUsed();

 protected:
  virtual TdxSmartImage* CreateTexture();
  virtual void Changed();
  virtual void InitializeInfo();
  void CheckInfo();

 private:
  void CheckCalculatePartsBounds(const TSize& AFrameSize);
  void DrawPart(TdxGPCanvas* ACanvas, GpImage* AImage, TdxSkinImagePart APart, const TRect& ADest,
                const TRect& ASource);
  void TextureChanged(TObject*);
  void MarginsChanged(TObject*) { Changed(); }
  void PalettesChanged(TObject*, TdxSkinChanges) { Changed(); }

  TdxSkinColorPalettes* FColorPalettes = nullptr;
  TdxSkinGradientMode FGradient = gmHorizontal;
  TdxSkinColorValue FGradientBeginColor;
  TdxSkinColorValue FGradientEndColor;
  Integer FImageCount = 1;
  TdxSkinImageLayout FImageLayout = ilHorizontal;
  TdxGPInterpolationMode FInterpolationMode = imDefault;
  bool FIsDirty = true;
  TcxMargin* FMargins = nullptr;
  TdxSkinElement* FOwner;
  TdxSkinImagePartsBounds FPartsBounds{};
  TSize FPartsBoundsSourceSize{};
  std::array<bool, 9> FPartsVisibility{};
  bool FScaleMargins = false;
  TSize FSize{};
  String FSourceName;
  std::array<TRect, dxSkinElementStateCount> FStateBounds{};
  Integer FStateCount = 0;
  TdxSkinElementStates FStates{esNormal};
  TdxSkinStretchMode FStretch = smStretch;
  TdxSmartImage* FTexture = nullptr;
  TdxDefaultBoolean FTextureIsVector = bDefault;
  TNotifyEvent FOnChange;
};

// ---------------------------------------------------------------------------
// Skin, groups and elements

class TdxSkinElement : public TdxSkinPersistent {
  DECLARE_CLASS(TdxSkinElement, TdxSkinPersistent)
 public:
  explicit TdxSkinElement(TPersistent* AOwner, const String& AName = String());
  void AfterConstruction() override;
  ~TdxSkinElement() override;

  TdxSkinAlternateImageAttributes* AddAlternateImageAttributes(TdxSkinElementState AState,
                                                               Integer AImageIndex);
  virtual bool Compare(TdxSkinElement* AElement);
  virtual TColor GetTextColor(TcxButtonState AState, const String& APropertyPrefix = String());
  virtual void Dormant();
  virtual void Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                    Integer AImageIndex = 0, TdxSkinElementState AState = esNormal);
  void Draw(HDC DC, const TRect& ARect, Integer AImageIndex = 0,
            TdxSkinElementState AState = esNormal);
  virtual void DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                      Integer AImageIndex = 0, TdxSkinElementState AState = esNormal);
  void DrawRTL(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor, Integer AImageIndex = 0,
               TdxSkinElementState AState = esNormal);
  TdxSmartImage* GetImage(Integer AImageIndex, const TSize& ASize, TdxSkinElementState AState,
                          TdxScaleFactor* AScaleFactor = nullptr);
  TSize CalculateMinSize();
  void SetStateMapping(const std::vector<TdxSkinElementState>& AStateOrder);
  bool CanUseAlternateImageSet(TdxSkinElementState AState, Integer AImageIndex, bool ALowColorsMode,
                               TdxSkinAlternateImageAttributes*& AStateAttributes);
  void FlushCache() override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;

  Byte Alpha() const { return FAlpha; }
  void SetAlpha(Byte AValue);
  TdxSkinBorders* Borders() const { return FBorders; }
  TColor Color() { return FColor.Value(); }
  void SetColor(TColor AValue) { FColor.SetValue(AValue); }
  const String& ColorReference() const { return FColor.ValueReference(); }
  void SetColorReference(const String& AValue) { FColor.SetValueReference(AValue); }
  TcxRect* ContentOffset() const { return FContentOffset; }
  TdxSkinImage* Glyph() const { return FGlyph; }
  TdxSkinImage* Image() const { return FImage; }
  TcxSize* MinSize() const { return FMinSize; }
  TColor TextColor() { return FTextColor.Value(); }
  void SetTextColor(TColor AValue) { FTextColor.SetValue(AValue); }
  const String& TextColorReference() const { return FTextColor.ValueReference(); }
  void SetTextColorReference(const String& AValue) { FTextColor.SetValueReference(AValue); }
  bool UseCache() const { return FCache != nullptr; }
  void SetUseCache(bool AValue);
  TdxSkinElementCacheList* Cache() const { return FCache; }
  TdxSkinControlGroup* Group();
  Integer ImageCount() const;
  bool IsAlphaUsed();
  String Path();
  TSize Size();
  TdxSkinElementStates States() const;

 protected:
  void AssignCore(TPersistent* Source) override;
  void DoChanged(TdxSkinChanges AChanges) override;

 private:
  void DrawCore(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                Integer AImageIndex, TdxSkinElementState AState);
  void ImageChanged(TObject*) { Changed({scContent}); }
  void BordersChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }

  Byte FAlpha = 255;
  bool FAlternateImageSetDirty = true;
  Integer FAlternateImageSetIndex = -1;
  TdxSkinBorders* FBorders = nullptr;
  TdxSkinElementCacheList* FCache = nullptr;
  TdxSkinColorValue FColor;
  TcxRect* FContentOffset = nullptr;
  TdxSkinImage* FGlyph = nullptr;
  TdxSkinImage* FImage = nullptr;
  TcxSize* FMinSize = nullptr;
  TdxSkinColorValue FTextColor;
  std::array<TdxSkinAlternateImageAttributes*, dxSkinElementStateCount> FAlternateImageSet{};
  Integer FReadImageCount = 1;
};

// Drawn where an element is missing: white with a red frame.
class TdxSkinEmptyElement : public TdxSkinElement {
  DECLARE_CLASS(TdxSkinEmptyElement, TdxSkinElement)
 public:
  using TdxSkinElement::Draw;
  using TdxSkinElement::TdxSkinElement;
  void Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor, Integer AImageIndex = 0,
            TdxSkinElementState AState = esNormal) override;
};
// The shared empty element; nullptr outside the module's start-up.
TdxSkinElement* dxSkinEmptyElement();

class TdxSkinElements : public TdxSkinCustomObjectList {
  DECLARE_CLASS(TdxSkinElements, TdxSkinCustomObjectList)
 public:
  using TdxSkinCustomObjectList::TdxSkinCustomObjectList;
  TdxSkinElement* Items(Integer AIndex) const {
    return static_cast<TdxSkinElement*>(TdxSkinCustomObjectList::Items(AIndex));
  }
  TdxSkinElement* Add(const String& AName, TClass AElementClass);

 protected:
  void SortChildren() override;
  void DataReadItem(TStream* AStream, Double AVersion) override;
  void DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) override;
};

class TdxSkinControlGroup : public TdxSkinPersistent {
  DECLARE_CLASS(TdxSkinControlGroup, TdxSkinPersistent)
 public:
  explicit TdxSkinControlGroup(TPersistent* AOwner, const String& AName = String());
  ~TdxSkinControlGroup() override;

  TdxSkinElement* AddElement(const String& AName);
  TdxSkinElement* AddElementEx(const String& AName, TClass AElementClass);
  void Clear() override;
  void ClearModified();
  void Delete(Integer AIndex);
  virtual void Dormant();
  void ExchangeElements(Integer AIndex1, Integer AIndex2);
  TdxSkinElement* GetElementByName(const String& AName);
  bool GetElementByName(const String& AName, TdxSkinElement*& AElement);
  void RemoveElement(TdxSkinElement* AElement);
  void RemoveElementByName(const String& AName);
  void SetElement(Integer AIndex, TdxSkinElement* AElement);
  void Sort(bool ASortChildren = false) override;
  void FlushCache() override;
  void DataRead(TStream* AStream, Double AVersion) override;
  void DataWrite(TStream* AStream) override;

  Integer Count() const { return FElements->Count(); }
  TdxSkinElement* Elements(Integer AIndex) const { return FElements->Items(AIndex); }
  bool HasMissingElements() const;
  TdxSkin* Skin();

 protected:
  void AssignCore(TPersistent* Source) override;

 private:
  void ElementsChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }
  TOwned<TdxSkinElements> FElements;
};

class TdxSkinControlGroups : public TdxSkinCustomObjectList {
  DECLARE_CLASS(TdxSkinControlGroups, TdxSkinCustomObjectList)
 public:
  using TdxSkinCustomObjectList::TdxSkinCustomObjectList;
  TdxSkinControlGroup* Items(Integer AIndex) const {
    return static_cast<TdxSkinControlGroup*>(TdxSkinCustomObjectList::Items(AIndex));
  }
  TdxSkinControlGroup* Add(const String& AName);

 protected:
  void SortChildren() override;
  void DataReadItem(TStream* AStream, Double AVersion) override;
  void DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) override;
};

struct IdxSkinChangeListener : public IUnknown {
  virtual void STDMETHODCALLTYPE SkinChanged(TdxSkin* Sender) = 0;
};
__CRT_UUID_DECL(IdxSkinChangeListener, 0x28681774, 0x0475, 0x43AE, 0x87, 0x04, 0x1C, 0x90, 0x4D,
                0x29, 0x47, 0x42)
struct IdxSkinChangeListener2 : public IUnknown {
  virtual void STDMETHODCALLTYPE SkinChanged(TdxSkin* Sender, TdxSkinChanges AChanges) = 0;
};
__CRT_UUID_DECL(IdxSkinChangeListener2, 0x0D7C0942, 0xD2C4, 0x4579, 0xAD, 0x03, 0xA3, 0xCB, 0x5B,
                0xBF, 0xC5, 0xAF)

class TdxSkin : public TdxSkinPersistent, public IdxSkinColorPalette, public IdxColorPalette {
  DECLARE_CLASS(TdxSkin, TdxSkinPersistent)
 public:
  TdxSkin(const String& AName, bool ALoadOnCreate = false, HINSTANCE hInst = nullptr);
  void AfterConstruction() override;
  void BeforeDestruction() override;
  ~TdxSkin() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TdxSkinCustomObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  bool STDMETHODCALLTYPE GetColor(const String& AName, TColor& AColor) override;
  TGUID STDMETHODCALLTYPE GetID() override { return FColorPalette->GetID(); }
  TdxAlphaColor STDMETHODCALLTYPE GetFillColor(const String& AName) override {
    return FColorPalette->GetFillColor(AName);
  }
  TdxAlphaColor STDMETHODCALLTYPE GetStrokeColor(const String& AName) override {
    return FColorPalette->GetStrokeColor(AName);
  }

  TdxSkinColor* AddColor(const String& AName, TColor AColor);
  TdxSkinColor* GetColorByName(const String& AName);
  void ExchangeColors(Integer AIndex1, Integer AIndex2);
  TdxSkinControlGroup* AddGroup(const String& AName = String());
  TdxSkinControlGroup* GetGroupByName(const String& AName);
  bool GetGroupByName(const String& AName, TdxSkinControlGroup*& AGroup);
  virtual void DeleteGroup(TdxSkinControlGroup* AGroup);
  void ExchangeGroups(Integer AIndex1, Integer AIndex2);
  void DeleteProperty(TdxSkinProperty* AProperty) override;
  using TdxSkinPersistent::DeleteProperty;
  void AddListener(IUnknown* AListener);
  void RemoveListener(IUnknown* AListener);
  void Clear() override;
  void ClearModified();
  virtual TdxSkin* Clone(const String& AName);
  virtual void Dormant();
  void Sort(bool ASortChildren = false) override;
  void FlushCache() override;
  void GetGlyphColorPalette(TdxSkinElementState AState, IdxColorPalette*& APalette);
  void SelectColorPalette(const String& AName);

  virtual void LoadFromStream(TStream* AStream);
  virtual void SaveToStream(TStream* AStream);
  void LoadFromFile(const String& AFileName);
  void SaveToFile(const String& AFileName);
  virtual void LoadFromResource(HINSTANCE hInst);
  void LoadFromBinaryFile(const String& AFileName);
  void LoadFromBinaryStream(TStream* AStream);
  void SaveToBinaryFile(const String& AFileName);
  void SaveToBinaryStream(TStream* AStream);

  TdxSkinGeneralColorPalette* ActiveColorPalette() const { return FColorPalette; }
  String ActiveColorPaletteName() const { return FColorPalette->Name(); }
  void SetActiveColorPaletteName(const String& AValue);
  TdxSkinColorPalettes* ColorPalettes() const { return FColorPalettes; }
  Integer ColorCount() const { return FColors->Count(); }
  TdxSkinColor* Colors(Integer AIndex) const { return FColors->Items(AIndex); }
  TdxSkinDetails* Details() const { return FDetails; }
  String DisplayName() const;
  Integer GroupCount() const { return FGroups->Count(); }
  TdxSkinControlGroup* Groups(Integer AIndex) const { return FGroups->Items(AIndex); }
  bool HasMissingElements() const;
  // The skin's name is its details' name.
  void SetName(const String& AValue) override;

 protected:
  void AssignCore(TPersistent* Source) override;
  void DoChanged(TdxSkinChanges AChanges) override;
  // Reads the stream into this (empty) skin; the caller keeps the skin
  // unchanged when it fails.
  void ReadSkinStream(TStream* AStream);

 private:
  void DetailsChanged(TObject*);
  void GroupsChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }
  void ColorsChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }
  void PalettesChanged(TObject*, TdxSkinChanges AChanges);
  void NotifyListeners(TdxSkinChanges AChanges);

  TdxSkinGeneralColorPalette* FColorPalette = nullptr;
  TdxSkinColorPalettes* FColorPalettes = nullptr;
  bool FDestroying = false;
  TdxSkinDetails* FDetails = nullptr;
  TdxSkinControlGroups* FGroups = nullptr;
  std::vector<TComPtr<IUnknown>> FListeners;
  TdxSkinColors* FColors = nullptr;
  String FInitialName;
  bool FLoadOnCreate;
  HINSTANCE FInstance;
};

// ---------------------------------------------------------------------------
// Element cache

class TdxSkinElementCache : public TObject {
  DECLARE_CLASS(TdxSkinElementCache, TObject)
 public:
  TdxSkinElementCache();
  ~TdxSkinElementCache() override;
  void CheckCacheState(TdxSkinElement* AElement, const TRect& R, Integer AImageIndex,
                       TdxSkinElementState AState, TdxScaleFactor* AScaleFactor = nullptr);
  void Draw(HDC DC, const TRect& R);
  void Draw(TdxGPCanvas* ACanvas, const TRect& R);
  void DrawEx(HDC DC, TdxSkinElement* AElement, Integer AImageIndex, TdxSkinElementState AState,
              TdxScaleFactor* AScaleFactor, const TRect& R);
  void DrawEx(TdxGPCanvas* ACanvas, TdxSkinElement* AElement, Integer AImageIndex,
              TdxSkinElementState AState, TdxScaleFactor* AScaleFactor, const TRect& R);
  void Flush();

  TdxSkinElement* Element() const { return FElement; }
  Integer ImageIndex() const { return FImageIndex; }
  TdxSkinElementState State() const { return FState; }
  const TRect& Rect() const { return FRect; }
  bool HasPicture() const { return FCache || FCacheOpaque; }

 private:
  void FreePictures();
  void BuildPicture();
  GpBitmap* FCache = nullptr;
  TcxBitmap* FCacheOpaque = nullptr;
  TdxSkinElement* FElement = nullptr;
  Integer FImageIndex = 0;
  TdxSkinElementState FState = esNormal;
  TdxSkinImageSet FImageSet = imsDefault;
  TRect FRect{};
  TOwned<TdxScaleFactor> FScaleFactor;
};

class TdxSkinElementCacheList : public TObject {
  DECLARE_CLASS(TdxSkinElementCacheList, TObject)
 public:
  explicit TdxSkinElementCacheList(Integer ACapacity = 8);
  ~TdxSkinElementCacheList() override;
  void DrawElement(HDC DC, TdxSkinElement* AElement, TdxSkinElementState AState,
                   Integer AImageIndex, TdxScaleFactor* AScaleFactor, const TRect& R);
  void DrawElement(HDC DC, TdxSkinElement* AElement, TdxSkinElementState AState,
                   Integer AImageIndex, const TRect& R);
  void DrawElement(TdxGPCanvas* ACanvas, TdxSkinElement* AElement, TdxSkinElementState AState,
                   Integer AImageIndex, TdxScaleFactor* AScaleFactor, const TRect& R);
  void Flush();
  TdxSkinElementCache* GetCacheItem(TdxSkinElement* AElement, const TRect& R,
                                    TdxSkinElementState AState, Integer AImageIndex);
  Integer Capacity() const { return FCapacity; }
  void SetCapacity(Integer AValue);
  Integer Count() const { return static_cast<Integer>(FData.size()); }
  TdxSkinElementCache* Items(Integer AIndex) const { return FData[AIndex].get(); }

 private:
  template <class TTarget>
  void DrawWith(TTarget ATarget, TdxSkinElement* AElement, TdxSkinElementState AState,
                Integer AImageIndex, TdxScaleFactor* AScaleFactor, const TRect& R);
  Integer FCapacity;
  std::vector<TOwned<TdxSkinElementCache>> FData;
};

// ---------------------------------------------------------------------------
// Streams

// A window on a part of another stream.
class TdxSkinPartStream : public TStream {
  DECLARE_CLASS(TdxSkinPartStream, TStream)
 public:
  TdxSkinPartStream(TStream* ASource, Int64 APosStart, Int64 APosEnd);
  explicit TdxSkinPartStream(TStream* ASource);
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return FPosEnd - FPosStart; }
  void Initialize(Int64 APosStart, Int64 APosEnd);
  Int64 PosEnd() const { return FPosEnd; }
  Int64 PosStart() const { return FPosStart; }
  TStream* Source() const { return FSource; }

 private:
  Int64 FPosEnd;
  Int64 FPosStart;
  TStream* FSource;
};

// The bytes left from the stream's position.
Int64 dxSkinBytesLeft(TStream* AStream);
// Raises the read error when fewer than ACount bytes are left.
void dxSkinCheckBytesLeft(TStream* AStream, Int64 ACount);

String dxSkinReadStringFromStream(TStream* AStream);
String dxSkinReadWideStringFromStream(TStream* AStream);
TColor dxSkinReadColorFromStream(TStream* AStream);
Integer dxSkinReadIntegerFromStream(TStream* AStream);
Byte dxSkinReadByteFromStream(TStream* AStream);
Word dxSkinReadWordFromStream(TStream* AStream);
TRect dxSkinReadRectFromStream(TStream* AStream);
TSize dxSkinReadSizeFromStream(TStream* AStream);
void dxSkinReadSmartImageFromStream(TStream* AStream, TdxSmartImage* AImage);
void dxSkinWriteStringToStream(TStream* AStream, const String& AValue);
void dxSkinWriteWideStringToStream(TStream* AStream, const String& AValue);
void dxSkinWriteColorToStream(TStream* AStream, TColor AValue);
void dxSkinWriteIntegerToStream(TStream* AStream, Integer AValue);
void dxSkinWriteByteToStream(TStream* AStream, Byte AValue);
void dxSkinWriteWordToStream(TStream* AStream, Word AValue);
void dxSkinWriteRectToStream(TStream* AStream, const TRect& AValue);
void dxSkinWriteSizeToStream(TStream* AStream, const TSize& AValue);
void dxSkinWriteSmartImageToStream(TStream* AStream, TdxSmartImage* AImage);
bool dxSkinCheckSignature(TStream* AStream, Double& AVersion);
void dxSkinWriteSignature(TStream* AStream);

// The stored version in hundredths, which the version tests compare: a
// version stored as 1.15 reads as 115, whatever its last binary digits.
Integer dxSkinVersionHundredths(Double AVersion);

class TdxSkinBinaryWriter : public TObject {
  DECLARE_CLASS(TdxSkinBinaryWriter, TObject)
 public:
  explicit TdxSkinBinaryWriter(TStream* AStream);
  void AfterConstruction() override;
  ~TdxSkinBinaryWriter() override;
  void AddSkin(TdxSkin* ASkin);
  Integer Count() const { return FCount; }

 private:
  void WriteHeader();
  Integer FCount = 0;
  Int64 FHeaderPosition = 0;
  TStream* FStream;
};

class TdxSkinBinaryReader : public TObject {
  DECLARE_CLASS(TdxSkinBinaryReader, TObject)
 public:
  explicit TdxSkinBinaryReader(TStream* AStream);
  void AfterConstruction() override;
  ~TdxSkinBinaryReader() override;

  Integer Count() const { return static_cast<Integer>(FSkins.size()); }
  Integer IndexOf(const String& AName) const;
  bool LoadSkin(TdxSkin* ASkin, Integer ASkinIndex);
  bool LoadSkin(TdxSkin* ASkin, const String& ASkinName);
  TdxSkinDetails* SkinDetails(Integer AIndex) const { return FSkins[AIndex].Details.get(); }
  String SkinName(Integer AIndex) const { return SkinDetails(AIndex)->Name(); }
  String SkinDisplayName(Integer AIndex) const { return SkinDetails(AIndex)->DisplayName(); }
  Int64 SkinOffset(Integer AIndex) const { return SkinDetails(AIndex)->DataOffset(); }

 private:
  struct TSkinEntry {
    TOwned<TdxSkinDetails> Details;
    Int64 Length;
  };
  bool ReadContainer();
  void ReadPlainSkin();
  void ReadSkinList();
  std::vector<TSkinEntry> FSkins;
  TStream* FStream;
};

void dxSkinsCore_Initialize();
void dxSkinsCore_Finalize();

#endif
