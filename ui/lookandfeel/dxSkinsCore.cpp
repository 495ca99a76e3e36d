#include "dxSkinsCore.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dxGDIPlusAPI.h"

namespace {
TdxSkinImageSet UseImageSet = imsDefault;
TList* FRegisteredPropertyTypes = nullptr;
TdxSkinElement* FEmptyElement = nullptr;

String ReplaceIgnoringCase(const String& S, const String& APattern) {
  return StringReplace(S, APattern, String(), {rfReplaceAll, rfIgnoreCase});
}
}  // namespace

TdxSkinImageSet dxSkinsUseImageSet() { return UseImageSet; }
void dxSetSkinsUseImageSet(TdxSkinImageSet AValue) { UseImageSet = AValue; }

const wchar_t* const dxSkinElementStateNames[dxSkinElementStateCount] = {
    L"Normal",      L"Hot",     L"Pressed",  L"Disabled",       L"Active",      L"Focused",
    L"DroppedDown", L"Checked", L"HotCheck", L"ActiveDisabled", L"CheckPressed"};
const wchar_t* const dxSkinElementTextColorPropertyNames[5] = {
    L"", L"TextColor", L"TextColorHot", L"TextColorPressed", L"TextColorDisabled"};
const LinearGradientMode dxSkinsGradientModeMap[4] = {
    LinearGradientModeHorizontal, LinearGradientModeVertical, LinearGradientModeForwardDiagonal,
    LinearGradientModeBackwardDiagonal};

void dxSkinChangeNotify(TObject* Sender, TdxSkinChanges AChanges,
                        const TdxSkinChangeNotify& AEvent) {
  if (AEvent && !AChanges.Empty()) AEvent(Sender, AChanges);
}

// ===========================================================================
// Primitives
// ===========================================================================

Int64 dxSkinBytesLeft(TStream* AStream) {
  return std::max<Int64>(0, AStream->Size() - AStream->Position());
}

void dxSkinCheckBytesLeft(TStream* AStream, Int64 ACount) {
  if (ACount < 0 || ACount > dxSkinBytesLeft(AStream)) throw EReadError(L"Stream read error");
}

Integer dxSkinReadIntegerFromStream(TStream* AStream) {
  Integer AValue;
  AStream->ReadBuffer(&AValue, sizeof AValue);
  return AValue;
}

Byte dxSkinReadByteFromStream(TStream* AStream) {
  Byte AValue;
  AStream->ReadBuffer(&AValue, sizeof AValue);
  return AValue;
}

Word dxSkinReadWordFromStream(TStream* AStream) {
  Word AValue;
  AStream->ReadBuffer(&AValue, sizeof AValue);
  return AValue;
}

TColor dxSkinReadColorFromStream(TStream* AStream) { return dxSkinReadIntegerFromStream(AStream); }

TRect dxSkinReadRectFromStream(TStream* AStream) {
  Integer V[4];
  AStream->ReadBuffer(V, sizeof V);
  return TRect{V[0], V[1], V[2], V[3]};
}

TSize dxSkinReadSizeFromStream(TStream* AStream) {
  Integer V[2];
  AStream->ReadBuffer(V, sizeof V);
  return TSize{V[0], V[1]};
}

String dxSkinReadStringFromStream(TStream* AStream) {
  const Integer ALength = dxSkinReadIntegerFromStream(AStream);
  if (ALength <= 0) return String();
  dxSkinCheckBytesLeft(AStream, ALength);
  UTF8String ABytes(static_cast<size_t>(ALength), '\0');
  AStream->ReadBuffer(ABytes.data(), ALength);
  return UTF8ToString(ABytes);
}

String dxSkinReadWideStringFromStream(TStream* AStream) {
  const Integer ALength = dxSkinReadIntegerFromStream(AStream);
  if (ALength <= 0) return String();
  dxSkinCheckBytesLeft(AStream, Int64(ALength) * 2);
  String AValue(static_cast<size_t>(ALength), L'\0');
  AStream->ReadBuffer(AValue.data(), ALength * 2);
  return AValue;
}

void dxSkinReadSmartImageFromStream(TStream* AStream, TdxSmartImage* AImage) {
  const Integer ASize = dxSkinReadIntegerFromStream(AStream);
  if (ASize <= 0) {
    AImage->Clear();
    return;
  }
  dxSkinCheckBytesLeft(AStream, ASize);
  const Int64 AStart = AStream->Position();
  {
    TOwned<TdxSkinPartStream> APart(Create<TdxSkinPartStream>(AStream, AStart, AStart + ASize));
    AImage->LoadFromStream(APart.get());
  }
  AStream->SetPosition(AStart + ASize);
}

void dxSkinWriteIntegerToStream(TStream* AStream, Integer AValue) {
  AStream->WriteBuffer(&AValue, sizeof AValue);
}

void dxSkinWriteByteToStream(TStream* AStream, Byte AValue) {
  AStream->WriteBuffer(&AValue, sizeof AValue);
}

void dxSkinWriteWordToStream(TStream* AStream, Word AValue) {
  AStream->WriteBuffer(&AValue, sizeof AValue);
}

void dxSkinWriteColorToStream(TStream* AStream, TColor AValue) {
  dxSkinWriteIntegerToStream(AStream, AValue);
}

void dxSkinWriteRectToStream(TStream* AStream, const TRect& AValue) {
  const Integer V[4] = {AValue.left, AValue.top, AValue.right, AValue.bottom};
  AStream->WriteBuffer(V, sizeof V);
}

void dxSkinWriteSizeToStream(TStream* AStream, const TSize& AValue) {
  const Integer V[2] = {AValue.cx, AValue.cy};
  AStream->WriteBuffer(V, sizeof V);
}

void dxSkinWriteStringToStream(TStream* AStream, const String& AValue) {
  const UTF8String ABytes = UTF8Encode(AValue);
  dxSkinWriteIntegerToStream(AStream, static_cast<Integer>(ABytes.size()));
  if (!ABytes.empty()) AStream->WriteBuffer(ABytes.data(), static_cast<Integer>(ABytes.size()));
}

void dxSkinWriteWideStringToStream(TStream* AStream, const String& AValue) {
  dxSkinWriteIntegerToStream(AStream, Length(AValue));
  if (!AValue.empty()) AStream->WriteBuffer(AValue.data(), Length(AValue) * 2);
}

namespace {
// The format in which the texture's bytes are stored, without decoding them.
TdxSmartImageCodecClass StoredCodec(TdxSmartImage* AImage) {
  TdxSmartImageDataStream* AData = AImage->ImageData()->Data();
  if (!AData) return nullptr;
  AData->SetPosition(0);
  return TdxSmartImageCodecsRepository::GetFormatFromStream(AData);
}

bool IsVectorImage(TdxSmartImage* AImage) {
  IUnknown* AVector = nullptr;
  return AImage->GetHandle()->GetInterface(__uuidof(IdxVectorImage),
                                           reinterpret_cast<void**>(&AVector)) &&
         AVector;
}

// Whether the stored bytes go into a stream as they are: PNG, GIF, vector
// sources, and bytes that no codec decodes (so that nothing is lost); other
// raster pictures are re-encoded as PNG.
bool KeepsStoredBytes(TdxSmartImage* AImage) {
  TdxSmartImageCodecClass ACodec = StoredCodec(AImage);
  if (!ACodec || ACodec->ID() == dxImagePng || ACodec->ID() == dxImageGif) return true;
  try {
    return IsVectorImage(AImage);
  } catch (const Exception&) {
    return true;
  }
}
}  // namespace

void dxSkinWriteSmartImageToStream(TStream* AStream, TdxSmartImage* AImage) {
  if (!AImage || AImage->Empty()) {
    dxSkinWriteIntegerToStream(AStream, 0);
    return;
  }
  TdxSmartImageDataStream* AStored = AImage->ImageData()->Data();
  if (AStored && KeepsStoredBytes(AImage)) {
    dxSkinWriteIntegerToStream(AStream, static_cast<Integer>(AStored->Size()));
    AStored->SetPosition(0);
    AStream->CopyFrom(AStored, AStored->Size());
    return;
  }
  TOwned<TMemoryStream> AData(Create<TMemoryStream>());
  AImage->SaveToStreamByCodec(AData.get(), dxImagePng);
  dxSkinWriteIntegerToStream(AStream, static_cast<Integer>(AData->Size()));
  AData->SetPosition(0);
  if (AData->Size() > 0) AStream->CopyFrom(AData.get(), AData->Size());
}

Integer dxSkinVersionHundredths(Double AVersion) {
  if (!(AVersion > 0)) return 0;
  if (AVersion > 1e6) return 100000000;
  return static_cast<Integer>(std::floor(AVersion * 100 + 0.5));
}

bool dxSkinCheckSignature(TStream* AStream, Double& AVersion) {
  Byte AHeader[18];
  AVersion = 0;
  if (AStream->Read(AHeader, sizeof AHeader) != static_cast<Integer>(sizeof AHeader)) return false;
  if (std::memcmp(AHeader + 4, dxSkinSignature, 6) != 0) return false;
  std::memcpy(&AVersion, AHeader + 10, sizeof AVersion);
  return dxSkinVersionHundredths(AVersion) >= 100;
}

void dxSkinWriteSignature(TStream* AStream) {
  Byte AHeader[18] = {};
  std::memcpy(AHeader + 4, dxSkinSignature, 6);
  const Double AVersion = dxSkinStreamVersion;
  std::memcpy(AHeader + 10, &AVersion, sizeof AVersion);
  AStream->WriteBuffer(AHeader, sizeof AHeader);
}

// ===========================================================================
// TdxSkinPartStream
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinPartStream)

TdxSkinPartStream::TdxSkinPartStream(TStream* ASource, Int64 APosStart, Int64 APosEnd)
    : FPosEnd(APosEnd), FPosStart(APosStart), FSource(ASource) {}

TdxSkinPartStream::TdxSkinPartStream(TStream* ASource)
    : FPosEnd(ASource->Size()), FPosStart(ASource->Position()), FSource(ASource) {}

void TdxSkinPartStream::Initialize(Int64 APosStart, Int64 APosEnd) {
  FPosStart = APosStart;
  FPosEnd = APosEnd;
}

Integer TdxSkinPartStream::Read(void* Buffer, Integer Count) {
  // Reads stop at the window's end.
  const Int64 ALeft = FPosEnd - FSource->Position();
  if (ALeft <= 0) return 0;
  return FSource->Read(Buffer, static_cast<Integer>(std::min<Int64>(Count, ALeft)));
}

Integer TdxSkinPartStream::Write(const void* Buffer, Integer Count) {
  const Integer AResult = FSource->Write(Buffer, Count);
  FPosEnd = std::max(FPosEnd, FSource->Position());
  return AResult;
}

Int64 TdxSkinPartStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Int64 APosition;
  switch (Origin) {
    case soBeginning:
      APosition = FPosStart + Offset;
      break;
    case soEnd:
      APosition = FPosEnd + Offset;
      break;
    default:
      APosition = FSource->Position() + Offset;
      break;
  }
  APosition = std::clamp(APosition, FPosStart, FPosEnd);
  return FSource->Seek(APosition, soBeginning) - FPosStart;
}

// ===========================================================================
// TdxSkinDetails
// ===========================================================================

IMPLEMENT_CREATABLE_CLASS(TdxSkinDetails)

TdxSkinDetails::TdxSkinDetails() = default;

void TdxSkinDetails::AfterConstruction() {
  inherited::AfterConstruction();
  for (TdxSmartImage*& AIcon : FIcons) {
    AIcon = Create<TdxSmartImage>();
    AIcon->OnChange = MakeEvent<&TdxSkinDetails::IconChanged>(this);
  }
}

TdxSkinDetails::~TdxSkinDetails() {
  for (TdxSmartImage*& AIcon : FIcons)
    if (AIcon) {
      AIcon->OnChange = nullptr;
      FreeAndNil(AIcon);
    }
}

void TdxSkinDetails::SetText(String& AField, const String& AValue) {
  if (AField == AValue) return;
  AField = AValue;
  Changed();
}

void TdxSkinDetails::SetDisplayName(const String& AValue) { SetText(FDisplayName, AValue); }
void TdxSkinDetails::SetGroupName(const String& AValue) { SetText(FGroupName, AValue); }
void TdxSkinDetails::SetName(const String& AValue) { SetText(FName, AValue); }
void TdxSkinDetails::SetNotes(const String& AValue) { SetText(FNotes, AValue); }

void TdxSkinDetails::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TdxSkinDetails::Changed() {
  if (FUpdateCount == 0 && FOnChange) FOnChange(this);
}

void TdxSkinDetails::Assign(TPersistent* Source) {
  auto* ASource = AsOrNull<TdxSkinDetails>(Source);
  if (!ASource) return;
  auto Updating = UpdateScope(this);
  SetName(ASource->Name());
  SetNotes(ASource->Notes());
  SetGroupName(ASource->GroupName());
  SetDisplayName(ASource->DisplayName());
  FIcons[sis16]->Assign(ASource->GetIcon(sis16));
  FIcons[sis48]->Assign(ASource->GetIcon(sis48));
}

void TdxSkinDetails::Clear() {
  BeginUpdate();
  FDisplayName.clear();
  FGroupName.clear();
  FName.clear();
  FNotes.clear();
  FIcons[sis16]->Clear();
  FIcons[sis48]->Clear();
  EndUpdate();
}

void TdxSkinDetails::ResetIcon(TdxSkinIconSize ASize) {
  static constexpr const wchar_t* Names[2] = {L"DEFAULTSKINICONSMALL", L"DEFAULTSKINICONLARGE"};
  TOwned<TResourceStream> AStream(
      Create<TResourceStream>(GetModuleHandleW(nullptr), String(Names[ASize]), L"DXSKINS"));
  FIcons[ASize]->LoadFromStream(AStream.get());
}

void TdxSkinDetails::DataRead(TStream* AStream, Double AVersion) {
  BeginUpdate();
  struct TEnd {
    TdxSkinDetails* Self;
    ~TEnd() { Self->EndUpdate(); }
  } AEnd{this};
  Clear();
  FName = dxSkinReadStringFromStream(AStream);
  if (dxSkinVersionHundredths(AVersion) >= 104) {
    FDisplayName = dxSkinReadStringFromStream(AStream);
    FGroupName = dxSkinReadStringFromStream(AStream);
    FNotes = dxSkinReadWideStringFromStream(AStream);
    dxSkinReadSmartImageFromStream(AStream, FIcons[sis16]);
    dxSkinReadSmartImageFromStream(AStream, FIcons[sis48]);
  }
  for (TdxSkinIconSize ASize : {sis16, sis48})
    if (FIcons[ASize]->Empty()) ResetIcon(ASize);
}

void TdxSkinDetails::DataWrite(TStream* AStream) {
  dxSkinWriteStringToStream(AStream, FName);
  dxSkinWriteStringToStream(AStream, FDisplayName);
  dxSkinWriteStringToStream(AStream, FGroupName);
  dxSkinWriteWideStringToStream(AStream, FNotes);
  dxSkinWriteSmartImageToStream(AStream, FIcons[sis16]);
  dxSkinWriteSmartImageToStream(AStream, FIcons[sis48]);
}

bool TdxSkinDetails::LoadFromStream(TStream* AStream) {
  FDataOffset = AStream->Position();
  Double AVersion;
  if (!dxSkinCheckSignature(AStream, AVersion)) return false;
  if (dxSkinVersionHundredths(AVersion) < 104) {
    // Old streams keep only the name at the head: the whole skin tells the
    // rest (the default icons).
    TOwned<TdxSkin> ASkin(Create<TdxSkin>(String()));
    AStream->SetPosition(FDataOffset);
    ASkin->LoadFromStream(AStream);
    Assign(ASkin->Details());
  } else {
    DataRead(AStream, AVersion);
  }
  return true;
}

// ===========================================================================
// TdxSkinCustomObject
// ===========================================================================

IMPLEMENT_CREATABLE_CLASS(TdxSkinCustomObject)

TdxSkinCustomObject::TdxSkinCustomObject(TPersistent* AOwner, const String& AName)
    : FName(AName), FOwner(AOwner) {}

HRESULT STDMETHODCALLTYPE TdxSkinCustomObject::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TdxSkinCustomObject::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IUnknown*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TdxSkinCustomObject::Assign(TPersistent* Source) {
  BeginUpdate();
  struct TEnd {
    TdxSkinCustomObject* Self;
    ~TEnd() { Self->EndUpdate(); }
  } AEnd{this};
  AssignCore(Source);
}

void TdxSkinCustomObject::AssignCore(TPersistent* Source) { TPersistent::Assign(Source); }

void TdxSkinCustomObject::EndUpdate() {
  if (--FUpdateCount == 0) Changed(FChanges);
}

void TdxSkinCustomObject::CancelUpdate() {
  --FUpdateCount;
  if (FUpdateCount == 0) FChanges = TdxSkinChanges();
}

void TdxSkinCustomObject::Changed(TdxSkinChanges AChanges) {
  FChanges += AChanges;
  if (FUpdateCount == 0) {
    const TdxSkinChanges AGathered = FChanges;
    FChanges = TdxSkinChanges();
    DoChanged(AGathered);
  }
}

void TdxSkinCustomObject::DoChanged(TdxSkinChanges AChanges) {
  dxSkinChangeNotify(this, AChanges, FOnChange);
}

void TdxSkinCustomObject::SetName(const String& AValue) {
  if (FName == AValue) return;
  FName = AValue;
  Changed({scStruct});
}

// ===========================================================================
// TdxSkinCustomObjectList
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinCustomObjectList)

TdxSkinCustomObjectList::~TdxSkinCustomObjectList() {
  FOnChange = nullptr;
  ++FUpdateCount;
  TObjectList::Clear();
}

void TdxSkinCustomObjectList::EndUpdate() {
  if (--FUpdateCount == 0) Changed(TdxSkinChanges());
}

void TdxSkinCustomObjectList::Clear() {
  BeginUpdate();
  struct TEnd {
    TdxSkinCustomObjectList* Self;
    ~TEnd() { Self->EndUpdate(); }
  } AEnd{this};
  TObjectList::Clear();
}

void TdxSkinCustomObjectList::Exchange(Integer I1, Integer I2) {
  TList::Exchange(I1, I2);
  Changed({scStruct});
}

void TdxSkinCustomObjectList::Notify(Pointer Ptr, TListNotification Action) {
  TObjectList::Notify(Ptr, Action);
  Changed({scStruct});
}

Integer TdxSkinCustomObjectList::AddItem(TdxSkinCustomObject* AItem) {
  AItem->SetOnChange(MakeEvent<&TdxSkinCustomObjectList::SubItemChanged>(this));
  return TObjectList::Add(AItem);
}

void TdxSkinCustomObjectList::Changed(TdxSkinChanges AChanges) {
  if (AChanges.Contains(scStruct)) FSorted = false;
  FChanges += AChanges;
  if (FUpdateCount == 0) {
    const TdxSkinChanges AGathered = FChanges;
    FChanges = TdxSkinChanges();
    dxSkinChangeNotify(this, AGathered, FOnChange);
  }
}

namespace {
Integer CompareByName(Pointer Item1, Pointer Item2) {
  return AnsiCompareStr(static_cast<TdxSkinCustomObject*>(Item1)->Name(),
                        static_cast<TdxSkinCustomObject*>(Item2)->Name());
}
}  // namespace

void TdxSkinCustomObjectList::Sort(bool ASortChildren) {
  if (!FSorted) {
    TList::Sort(&CompareByName);
    FSorted = true;
  }
  if (ASortChildren) SortChildren();
}

bool TdxSkinCustomObjectList::Find(const String& AName, TdxSkinCustomObject*& AObject) {
  Sort();
  Integer L = 0, H = Count() - 1;
  while (L <= H) {
    const Integer M = (L + H) / 2;
    const Integer C = AnsiCompareStr(Items(M)->Name(), AName);
    if (C == 0) {
      AObject = Items(M);
      return true;
    }
    if (C < 0)
      L = M + 1;
    else
      H = M - 1;
  }
  AObject = nullptr;
  return false;
}

Integer TdxSkinCustomObjectList::IndexOf(const String& AName) {
  TdxSkinCustomObject* AObject;
  return Find(AName, AObject) ? TObjectList::IndexOf(AObject) : -1;
}

void TdxSkinCustomObjectList::FlushCache() {
  for (Integer I = 0; I < Count(); ++I) Items(I)->FlushCache();
}

void TdxSkinCustomObjectList::DataRead(TStream* AStream, Double AVersion) {
  BeginUpdate();
  struct TEnd {
    TdxSkinCustomObjectList* Self;
    ~TEnd() { Self->EndUpdate(); }
  } AEnd{this};
  const Integer ACount = dxSkinReadIntegerFromStream(AStream);
  if (ACount > 0) dxSkinCheckBytesLeft(AStream, Int64(ACount) * MinItemSize());
  for (Integer I = 0; I < ACount; ++I) DataReadItem(AStream, AVersion);
}

void TdxSkinCustomObjectList::DataWrite(TStream* AStream) {
  dxSkinWriteIntegerToStream(AStream, Count());
  for (Integer I = 0; I < Count(); ++I) DataWriteItem(AStream, Items(I));
}

// ===========================================================================
// TdxSkinProperties
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinProperties)
IMPLEMENT_CLASS(TdxSkinColors)

TdxSkinProperty* TdxSkinProperties::Items(Integer AIndex) const {
  return static_cast<TdxSkinProperty*>(TdxSkinCustomObjectList::Items(AIndex));
}

TdxSkinProperty* TdxSkinProperties::Add(const String& AName, TdxSkinPropertyClass AClass) {
  auto* AProperty = static_cast<TdxSkinProperty*>(AClass->Create(Owner()));
  if (!AProperty)
    throw EdxSkinError(L"The property class " + AClass->ClassName() + L" is abstract");
  AProperty->InitName(AName);
  AddItem(AProperty);
  return AProperty;
}

void TdxSkinProperties::Assign(TdxSkinProperties* ASource) {
  BeginUpdate();
  struct TEnd {
    TdxSkinProperties* Self;
    ~TEnd() { Self->EndUpdate(); }
  } AEnd{this};
  Clear();
  for (Integer I = 0; I < ASource->Count(); ++I) {
    TdxSkinProperty* AItem = ASource->Items(I);
    Add(AItem->Name(), AItem->ClassType())->Assign(AItem);
  }
}

bool TdxSkinProperties::Compare(TdxSkinProperties* AProperties) {
  if (Count() != AProperties->Count()) return false;
  for (Integer I = 0; I < Count(); ++I)
    if (!Items(I)->Compare(AProperties->Items(I))) return false;
  return true;
}

TdxSkinPropertyClass TdxSkinProperties::AcceptedClass(const String& AClassName) const {
  TClass AClass = GetClass(AClassName);
  bool AAccepted = false;
  if (AClass) switch (FKind) {
      case plkColors:
        AAccepted = AClass->InheritsFrom(TdxSkinColor::StaticClass());
        break;
      case plkPalettes:
        AAccepted = AClass->InheritsFrom(TdxSkinColorPalette::StaticClass());
        break;
      default:
        AAccepted = FRegisteredPropertyTypes &&
                    FRegisteredPropertyTypes->IndexOf(const_cast<TMetaClass*>(AClass)) >= 0;
        break;
    }
  if (!AAccepted) throw EClassNotFound(Format(L"Class %s not found", {AClassName}));
  return AClass;
}

void TdxSkinProperties::DataReadItem(TStream* AStream, Double AVersion) {
  const String AClassName = dxSkinReadStringFromStream(AStream);
  const String AName = dxSkinReadStringFromStream(AStream);
  Add(AName, AcceptedClass(AClassName))->DataRead(AStream, AVersion);
}

void TdxSkinProperties::DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) {
  dxSkinWriteStringToStream(AStream, AItem->ClassName());
  dxSkinWriteStringToStream(AStream, AItem->Name());
  AItem->DataWrite(AStream);
}

TdxSkinColor* TdxSkinColors::Add(const String& AName, TColor AColor) {
  BeginUpdate();
  struct TEnd {
    TdxSkinColors* Self;
    ~TEnd() { Self->EndUpdate(); }
  } AEnd{this};
  auto* AResult =
      static_cast<TdxSkinColor*>(TdxSkinProperties::Add(AName, TdxSkinColor::StaticClass()));
  AResult->SetValue(AColor);
  return AResult;
}

TdxSkinColor* TdxSkinColors::Items(Integer AIndex) const {
  return static_cast<TdxSkinColor*>(TdxSkinProperties::Items(AIndex));
}

// ===========================================================================
// TdxSkinPersistent
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinPersistent)

TdxSkinPersistent::TdxSkinPersistent(TPersistent* AOwner, const String& AName)
    : TdxSkinCustomObject(AOwner, AName) {
  FProperties.reset(
      Create<TdxSkinProperties>(this, MakeEvent<&TdxSkinPersistent::PropertiesChanged>(this)));
}

TdxSkinPersistent::~TdxSkinPersistent() {
  if (FProperties) FProperties->SetOnChange(nullptr);
  FProperties.reset();
}

void TdxSkinPersistent::Clear() { FProperties->Clear(); }

TdxSkinProperty* TdxSkinPersistent::AddProperty(const String& AName,
                                                TdxSkinPropertyClass APropertyClass) {
  return FProperties->Add(AName, APropertyClass);
}

TdxSkinProperty* TdxSkinPersistent::AddPropertyBool(const String& AName, bool AValue) {
  BeginUpdate();
  auto* AProperty = static_cast<TdxSkinBooleanProperty*>(
      AddProperty(AName, TdxSkinBooleanProperty::StaticClass()));
  AProperty->SetValue(AValue);
  EndUpdate();
  return AProperty;
}

TdxSkinProperty* TdxSkinPersistent::AddPropertyColor(const String& AName, TColor AValue) {
  BeginUpdate();
  auto* AProperty = static_cast<TdxSkinColor*>(AddProperty(AName, TdxSkinColor::StaticClass()));
  AProperty->SetValue(AValue);
  EndUpdate();
  return AProperty;
}

TdxSkinProperty* TdxSkinPersistent::AddPropertyInteger(const String& AName, Integer AValue) {
  BeginUpdate();
  auto* AProperty = static_cast<TdxSkinIntegerProperty*>(
      AddProperty(AName, TdxSkinIntegerProperty::StaticClass()));
  AProperty->SetValue(AValue);
  EndUpdate();
  return AProperty;
}

void TdxSkinPersistent::DeleteProperty(TdxSkinProperty* AProperty) {
  FProperties->Remove(AProperty);
}

void TdxSkinPersistent::DeleteProperty(const String& AName) {
  if (TdxSkinProperty* AProperty = GetPropertyByName(AName)) DeleteProperty(AProperty);
}

void TdxSkinPersistent::ExchangeProperty(Integer AIndex1, Integer AIndex2) {
  FProperties->Exchange(AIndex1, AIndex2);
}

TdxSkinProperty* TdxSkinPersistent::GetPropertyByName(const String& AName) {
  TdxSkinCustomObject* AObject;
  return FProperties->Find(AName, AObject) ? static_cast<TdxSkinProperty*>(AObject) : nullptr;
}

bool TdxSkinPersistent::GetPropertyByName(const String& AName, TdxSkinProperty*& AProperty) {
  AProperty = GetPropertyByName(AName);
  return AProperty != nullptr;
}

void TdxSkinPersistent::Sort(bool ASortChildren) { FProperties->Sort(ASortChildren); }

void TdxSkinPersistent::FlushCache() { FProperties->FlushCache(); }

void TdxSkinPersistent::Changed(TdxSkinChanges AChanges) {
  FModified = true;
  inherited::Changed(AChanges);
}

void TdxSkinPersistent::AssignCore(TPersistent* Source) {
  if (auto* ASource = AsOrNull<TdxSkinPersistent>(Source))
    FProperties->Assign(ASource->PropertyList());
  else
    inherited::AssignCore(Source);
}

// ===========================================================================
// TdxSkinColorValue
// ===========================================================================

void TdxSkinColorValue::Initialize(TdxSkinCustomObject* AOwner, TColor ADefaultValue) {
  FOwner = AOwner;
  FDefaultValue = ADefaultValue;
  FValue = ADefaultValue;
  FValueReference.clear();
}

TColor TdxSkinColorValue::Value() {
  if (FValue == dxSkinColorUnresolved) {
    FValue = FDefaultValue;
    if (!FValueReference.empty()) {
      for (TdxSkinCustomObject* AObject = FOwner; AObject;
           AObject = AsOrNull<TdxSkinCustomObject>(AObject->GetOwner())) {
        IdxSkinColorPalette* APalette = nullptr;
        if (Supports(AObject, __uuidof(IdxSkinColorPalette), reinterpret_cast<void**>(&APalette)) &&
            APalette) {
          TColor AColor;
          if (APalette->GetColor(FValueReference, AColor)) FValue = AColor;
          break;
        }
      }
    }
  }
  return FValue;
}

void TdxSkinColorValue::SetValue(TColor AValue) {
  if (FValue == AValue && FValueReference.empty()) return;
  FValue = AValue;
  FValueReference.clear();
  Changed();
}

void TdxSkinColorValue::SetValueReference(const String& AValue) {
  if (FValueReference == AValue) return;
  if (AValue.empty()) {
    FValue = Value();
    FValueReference.clear();
  } else {
    FValueReference = AValue;
  }
  Changed();
}

void TdxSkinColorValue::Assign(const TdxSkinColorValue& ASource) {
  FValue = ASource.FValue;
  FValueReference = ASource.FValueReference;
  Changed();
}

void TdxSkinColorValue::FlushCache() {
  if (!FValueReference.empty()) FValue = dxSkinColorUnresolved;
}

void TdxSkinColorValue::Changed() {
  FlushCache();
  if (FOwner) FOwner->Changed({scContent});
}

void TdxSkinColorValue::Read(TStream* AStream, Double AVersion) {
  FValue = dxSkinReadColorFromStream(AStream);
  FValueReference.clear();
  if (dxSkinVersionHundredths(AVersion) >= 115)
    FValueReference = dxSkinReadStringFromStream(AStream);
  // A reference read with a resolved value is resolved again on use.
  FlushCache();
}

void TdxSkinColorValue::Write(TStream* AStream) {
  dxSkinWriteColorToStream(AStream, FValue);
  dxSkinWriteStringToStream(AStream, FValueReference);
}

// ===========================================================================
// Properties
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinProperty)

String TdxSkinProperty::Description() {
  return ReplaceIgnoringCase(ReplaceIgnoringCase(ClassName(), L"TdxSkin"), L"Property");
}

bool TdxSkinProperty::Compare(TdxSkinProperty* AProperty) {
  return AProperty == this || (AProperty && CompareText(Name(), AProperty->Name()) == 0);
}

void TdxSkinProperty::Register(TdxSkinPropertyClass AClass) {
  if (!FRegisteredPropertyTypes) FRegisteredPropertyTypes = Create<TList>();
  FRegisteredPropertyTypes->Add(const_cast<TMetaClass*>(AClass));
  RegisterClass(AClass);
}

void TdxSkinProperty::Unregister(TdxSkinPropertyClass AClass) {
  UnRegisterClass(AClass);
  if (!FRegisteredPropertyTypes) return;
  FRegisteredPropertyTypes->Remove(const_cast<TMetaClass*>(AClass));
  if (FRegisteredPropertyTypes->Count() == 0) FreeAndNil(FRegisteredPropertyTypes);
}

// Comparison of one class's values: the base comparison, the same class, and
// AEqual on the two.
template <class T, class F>
static bool CompareSameClass(T* ASelf, TdxSkinProperty* AProperty, F AEqual) {
  return ASelf->TdxSkinProperty::Compare(AProperty) &&
         AProperty->ClassType() == ASelf->ClassType() && AEqual(static_cast<T*>(AProperty));
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinIntegerProperty)

bool TdxSkinIntegerProperty::Compare(TdxSkinProperty* AProperty) {
  return CompareSameClass(this, AProperty,
                          [this](TdxSkinIntegerProperty* P) { return P->FValue == FValue; });
}
void TdxSkinIntegerProperty::DataRead(TStream* AStream, Double) {
  FValue = dxSkinReadIntegerFromStream(AStream);
}
void TdxSkinIntegerProperty::DataWrite(TStream* AStream) {
  dxSkinWriteIntegerToStream(AStream, FValue);
}
void TdxSkinIntegerProperty::SetValue(Integer AValue) { SetContentField(FValue, AValue); }
void TdxSkinIntegerProperty::AssignCore(TPersistent* Source) {
  if (!AssignValueOf<TdxSkinIntegerProperty>(Source)) inherited::AssignCore(Source);
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinBooleanProperty)

bool TdxSkinBooleanProperty::Compare(TdxSkinProperty* AProperty) {
  return CompareSameClass(this, AProperty,
                          [this](TdxSkinBooleanProperty* P) { return P->FValue == FValue; });
}
void TdxSkinBooleanProperty::DataRead(TStream* AStream, Double) {
  FValue = dxSkinReadByteFromStream(AStream) != 0;
}
void TdxSkinBooleanProperty::DataWrite(TStream* AStream) {
  dxSkinWriteByteToStream(AStream, FValue ? 1 : 0);
}
void TdxSkinBooleanProperty::SetValue(bool AValue) { SetContentField(FValue, AValue); }
void TdxSkinBooleanProperty::AssignCore(TPersistent* Source) {
  if (!AssignValueOf<TdxSkinBooleanProperty>(Source)) inherited::AssignCore(Source);
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinColor)

TdxSkinColor::TdxSkinColor(TPersistent* AOwner, const String& AName)
    : TdxSkinProperty(AOwner, AName) {
  FValue.Initialize(this, clDefault);
}

bool TdxSkinColor::Compare(TdxSkinProperty* AProperty) {
  return CompareSameClass(this, AProperty, [this](TdxSkinColor* P) { return P->FValue == FValue; });
}
void TdxSkinColor::DataRead(TStream* AStream, Double AVersion) { FValue.Read(AStream, AVersion); }
void TdxSkinColor::DataWrite(TStream* AStream) { FValue.Write(AStream); }
TdxAlphaColor TdxSkinColor::GetValueAsAlphaColor() { return dxColorToAlphaColor(Value(), 255); }
void TdxSkinColor::AssignCore(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxSkinColor>(Source))
    FValue.Assign(S->FValue);
  else
    inherited::AssignCore(Source);
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinAlphaColor)

bool TdxSkinAlphaColor::Compare(TdxSkinProperty* AProperty) {
  return TdxSkinColor::Compare(AProperty) &&
         static_cast<TdxSkinAlphaColor*>(AProperty)->FValueAlpha == FValueAlpha;
}
void TdxSkinAlphaColor::DataRead(TStream* AStream, Double AVersion) {
  TdxSkinColor::DataRead(AStream, AVersion);
  FValueAlpha = static_cast<Byte>(dxSkinReadIntegerFromStream(AStream));
}
void TdxSkinAlphaColor::DataWrite(TStream* AStream) {
  TdxSkinColor::DataWrite(AStream);
  dxSkinWriteIntegerToStream(AStream, FValueAlpha);
}
TdxAlphaColor TdxSkinAlphaColor::GetValueAsAlphaColor() {
  return dxColorToAlphaColor(Value(), FValueAlpha);
}
void TdxSkinAlphaColor::SetValueAlpha(Byte AValue) { SetContentField(FValueAlpha, AValue); }
void TdxSkinAlphaColor::AssignCore(TPersistent* Source) {
  TdxSkinColor::AssignCore(Source);
  if (auto* S = AsOrNull<TdxSkinAlphaColor>(Source)) SetValueAlpha(S->ValueAlpha());
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinRectProperty)

TdxSkinRectProperty::TdxSkinRectProperty(TPersistent* AOwner, const String& AName)
    : TdxSkinProperty(AOwner, AName), FValue(Create<TcxRect>(this)) {
  FValue->SetOnChange(MakeEvent<&TdxSkinRectProperty::ValueChanged>(this));
}
TdxSkinRectProperty::~TdxSkinRectProperty() { FValue->Free(); }
bool TdxSkinRectProperty::Compare(TdxSkinProperty* AProperty) {
  return CompareSameClass(this, AProperty,
                          [this](TdxSkinRectProperty* P) { return P->Value() == Value(); });
}
void TdxSkinRectProperty::DataRead(TStream* AStream, Double) {
  SetValue(dxSkinReadRectFromStream(AStream));
}
void TdxSkinRectProperty::DataWrite(TStream* AStream) { dxSkinWriteRectToStream(AStream, Value()); }
void TdxSkinRectProperty::AssignCore(TPersistent* Source) {
  if (!AssignValueOf<TdxSkinRectProperty>(Source)) inherited::AssignCore(Source);
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinSizeProperty)

bool TdxSkinSizeProperty::Compare(TdxSkinProperty* AProperty) {
  return CompareSameClass(this, AProperty,
                          [this](TdxSkinSizeProperty* P) { return P->FValue == FValue; });
}
void TdxSkinSizeProperty::DataRead(TStream* AStream, Double) {
  FValue = dxSkinReadSizeFromStream(AStream);
}
void TdxSkinSizeProperty::DataWrite(TStream* AStream) { dxSkinWriteSizeToStream(AStream, FValue); }
void TdxSkinSizeProperty::SetValue(const TSize& AValue) { SetContentField(FValue, AValue); }
void TdxSkinSizeProperty::AssignCore(TPersistent* Source) {
  if (!AssignValueOf<TdxSkinSizeProperty>(Source)) inherited::AssignCore(Source);
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinStringProperty)

bool TdxSkinStringProperty::Compare(TdxSkinProperty* AProperty) {
  return CompareSameClass(this, AProperty, [this](TdxSkinStringProperty* P) {
    return AnsiCompareStr(P->FValue, FValue) == 0;
  });
}
void TdxSkinStringProperty::DataRead(TStream* AStream, Double) {
  FValue = dxSkinReadStringFromStream(AStream);
}
void TdxSkinStringProperty::DataWrite(TStream* AStream) {
  dxSkinWriteStringToStream(AStream, FValue);
}
void TdxSkinStringProperty::SetValue(const String& AValue) { SetContentField(FValue, AValue); }
void TdxSkinStringProperty::AssignCore(TPersistent* Source) {
  if (!AssignValueOf<TdxSkinStringProperty>(Source)) inherited::AssignCore(Source);
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinWideStringProperty)

void TdxSkinWideStringProperty::DataRead(TStream* AStream, Double) {
  FValue = dxSkinReadWideStringFromStream(AStream);
}
void TdxSkinWideStringProperty::DataWrite(TStream* AStream) {
  dxSkinWriteWideStringToStream(AStream, FValue);
}

// ---------------------------------------------------------------------------
// Borders

IMPLEMENT_CLASS(TdxSkinBorder)

namespace {
const wchar_t* const BorderNames[4] = {L"Left", L"Top", L"Right", L"Bottom"};
}

TdxSkinBorder::TdxSkinBorder(TPersistent* AOwner, TcxBorder AKind)
    : TdxSkinProperty(AOwner, BorderNames[AKind]), FKind(AKind) {
  FColor.Initialize(this, clNone);
}

bool TdxSkinBorder::Compare(TdxSkinProperty* AProperty) {
  auto* B = AsOrNull<TdxSkinBorder>(AProperty);
  return B && B->FKind == FKind && B->FThin == FThin && B->FColor == FColor;
}

void TdxSkinBorder::DataRead(TStream* AStream, Double AVersion) {
  if (dxSkinVersionHundredths(AVersion) <= 109) {
    dxSkinReadStringFromStream(AStream);
    dxSkinReadStringFromStream(AStream);
  }
  FColor.Read(AStream, AVersion);
  FThin = dxSkinReadIntegerFromStream(AStream);
}

void TdxSkinBorder::DataWrite(TStream* AStream) {
  FColor.Write(AStream);
  dxSkinWriteIntegerToStream(AStream, FThin);
}

void TdxSkinBorder::SetThin(Integer AValue) { SetContentField(FThin, AValue); }

void TdxSkinBorder::ResetToDefaults() {
  BeginUpdate();
  FColor.ResetToDefaults();
  SetThin(1);
  EndUpdate();
}

void TdxSkinBorder::Draw(HDC DC, const TRect& ABounds) {
  TdxGPCustomPaintCanvas* ACanvas = dxGpBeginPaint(DC, ABounds);
  struct TEnd {
    TdxGPCustomPaintCanvas*& Canvas;
    ~TEnd() { dxGpEndPaint(Canvas); }
  } AEnd{ACanvas};
  DrawEx(ACanvas, ABounds);
}

void TdxSkinBorder::DrawEx(TdxGPCanvas* ACanvas, const TRect& ABounds) {
  const TColor AColor = Color();
  if (AColor == clNone) return;
  TRect R = ABounds;
  switch (FKind) {
    case bLeft:
      R.right = std::min(R.right, R.left + FThin);
      break;
    case bTop:
      R.bottom = std::min(R.bottom, R.top + FThin);
      break;
    case bRight:
      R.left = std::max(R.left, R.right - FThin);
      break;
    default:
      R.top = std::max(R.top, R.bottom - FThin);
      break;
  }
  ACanvas->FillRectangle(R, dxColorToAlphaColor(AColor, 255));
}

void TdxSkinBorder::AssignCore(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxSkinBorder>(Source)) {
    FColor.Assign(S->FColor);
    SetThin(S->Thin());
  } else {
    inherited::AssignCore(Source);
  }
}

IMPLEMENT_CLASS(TdxSkinBorders)

TdxSkinBorders::TdxSkinBorders(TPersistent* AOwner, const String& AName)
    : TdxSkinProperty(AOwner, AName) {
  for (TcxBorder ASide : {bLeft, bTop, bRight, bBottom}) {
    FBorders[ASide] = Create<TdxSkinBorder>(this, ASide);
    FBorders[ASide]->SetOnChange(MakeEvent<&TdxSkinBorders::BorderChanged>(this));
  }
}

TdxSkinBorders::~TdxSkinBorders() {
  for (TdxSkinBorder*& ABorder : FBorders) FreeAndNil(ABorder);
}

bool TdxSkinBorders::Compare(TdxSkinProperty* AProperty) {
  auto* B = AsOrNull<TdxSkinBorders>(AProperty);
  if (!B) return false;
  for (Integer I = 0; I < 4; ++I)
    if (!FBorders[I]->Compare(B->FBorders[I])) return false;
  return true;
}

void TdxSkinBorders::DataRead(TStream* AStream, Double AVersion) {
  for (TdxSkinBorder* ABorder : FBorders) ABorder->DataRead(AStream, AVersion);
}

void TdxSkinBorders::DataWrite(TStream* AStream) {
  for (TdxSkinBorder* ABorder : FBorders) ABorder->DataWrite(AStream);
}

void TdxSkinBorders::FlushCache() {
  for (TdxSkinBorder* ABorder : FBorders) ABorder->FlushCache();
}

void TdxSkinBorders::Draw(TdxGPCanvas* ACanvas, const TRect& ABounds) {
  for (TdxSkinBorder* ABorder : FBorders) ABorder->DrawEx(ACanvas, ABounds);
}

void TdxSkinBorders::ResetToDefaults() {
  BeginUpdate();
  for (TdxSkinBorder* ABorder : FBorders) ABorder->ResetToDefaults();
  EndUpdate();
}

TRect TdxSkinBorders::ContentMargins() const {
  return TRect{FBorders[bLeft]->ContentMargin(), FBorders[bTop]->ContentMargin(),
               FBorders[bRight]->ContentMargin(), FBorders[bBottom]->ContentMargin()};
}

void TdxSkinBorders::AssignCore(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxSkinBorders>(Source)) {
    for (Integer I = 0; I < 4; ++I) FBorders[I]->Assign(S->FBorders[I]);
  } else {
    inherited::AssignCore(Source);
  }
}

// ---------------------------------------------------------------------------
// List properties and palettes

IMPLEMENT_CLASS(TdxSkinCustomListProperty)

TdxSkinCustomListProperty::TdxSkinCustomListProperty(TPersistent* AOwner, const String& AName)
    : TdxSkinProperty(AOwner, AName) {}

void TdxSkinCustomListProperty::AfterConstruction() {
  inherited::AfterConstruction();
  FProperties = CreateProperties();
}

TdxSkinProperties* TdxSkinCustomListProperty::CreateProperties() {
  return Create<TdxSkinProperties>(this,
                                   MakeEvent<&TdxSkinCustomListProperty::PropertiesChanged>(this));
}

void TdxSkinCustomListProperty::BeforeDestruction() {
  if (FProperties) {
    FProperties->SetOnChange(nullptr);
    FProperties->Clear();
  }
  inherited::BeforeDestruction();
}

TdxSkinCustomListProperty::~TdxSkinCustomListProperty() {
  if (FProperties) {
    FProperties->SetOnChange(nullptr);
    FreeAndNil(FProperties);
  }
}

bool TdxSkinCustomListProperty::Compare(TdxSkinProperty* AProperty) {
  return CompareSameClass(this, AProperty, [this](TdxSkinCustomListProperty* P) {
    return FProperties->Compare(P->FProperties);
  });
}

void TdxSkinCustomListProperty::DataRead(TStream* AStream, Double AVersion) {
  FProperties->DataRead(AStream, AVersion);
}

void TdxSkinCustomListProperty::DataWrite(TStream* AStream) { FProperties->DataWrite(AStream); }

void TdxSkinCustomListProperty::FlushCache() { FProperties->FlushCache(); }

void TdxSkinCustomListProperty::Clear() { FProperties->Clear(); }

void TdxSkinCustomListProperty::Delete(TdxSkinProperty* AProperty) {
  BeginUpdate();
  FProperties->Remove(AProperty);
  EndUpdate();
}

void TdxSkinCustomListProperty::Delete(Integer AIndex) {
  BeginUpdate();
  FProperties->Delete(AIndex);
  EndUpdate();
}

void TdxSkinCustomListProperty::Delete(const String& AName) {
  TdxSkinProperty* AProperty;
  if (Find(AName, AProperty)) Delete(AProperty);
}

bool TdxSkinCustomListProperty::Find(const String& AName, TdxSkinProperty*& AProperty) {
  TdxSkinCustomObject* AObject;
  const bool AResult = FProperties->Find(AName, AObject);
  AProperty = static_cast<TdxSkinProperty*>(AObject);
  return AResult;
}

void TdxSkinCustomListProperty::AssignCore(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxSkinCustomListProperty>(Source)) FProperties->Assign(S->FProperties);
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinColorPalette)

TdxSkinColorPalette::TdxSkinColorPalette(TPersistent* AOwner, const String& AName)
    : TdxSkinCustomListProperty(AOwner, AName), FDefaultColorClass(TdxSkinColor::StaticClass()) {
  // The owner of a palette is the palette list's owner property.
  if (auto* APalettes = AsOrNull<TdxSkinColorPalettes>(AOwner))
    FDefaultColorClass = APalettes->DefaultColorClass();
}

TdxSkinProperties* TdxSkinColorPalette::CreateProperties() {
  TdxSkinProperties* AResult = TdxSkinCustomListProperty::CreateProperties();
  AResult->SetKind(plkColors);
  return AResult;
}

bool TdxSkinColorPalette::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxColorPalette))) {
    *AObj = static_cast<IdxColorPalette*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

TdxSkinColor* TdxSkinColorPalette::Add(const String& AName, TColor AValue) {
  BeginUpdate();
  auto* AColor = static_cast<TdxSkinColor*>(FProperties->Add(AName, FDefaultColorClass));
  AColor->SetValue(AValue);
  EndUpdate();
  return AColor;
}

TdxSkinColor* TdxSkinColorPalette::Add(const String& AName, const String& AValueReference) {
  BeginUpdate();
  auto* AColor = static_cast<TdxSkinColor*>(FProperties->Add(AName, FDefaultColorClass));
  AColor->SetValue(clDefault);
  AColor->SetValueReference(AValueReference);
  EndUpdate();
  return AColor;
}

TdxSkinColor* TdxSkinColorPalette::Items(Integer AIndex) const {
  return static_cast<TdxSkinColor*>(FProperties->Items(AIndex));
}

void TdxSkinColorPalette::FlushCache() {
  inherited::FlushCache();
  FID = TGUID{};
}

void TdxSkinColorPalette::DoChanged(TdxSkinChanges AChanges) {
  FlushCache();
  inherited::DoChanged(AChanges);
}

TGUID STDMETHODCALLTYPE TdxSkinColorPalette::GetID() {
  if (FID.Data1 == 0) {
    CoCreateGuid(&FID);
    if (FID.Data1 == 0) FID.Data1 = 0xFFFF;
  }
  return FID;
}

TdxAlphaColor STDMETHODCALLTYPE TdxSkinColorPalette::GetFillColor(const String& AName) {
  TdxSkinProperty* AProperty;
  if (Find(AName, AProperty))
    if (auto* AColor = AsOrNull<TdxSkinColor>(AProperty)) return AColor->ValueAsAlphaColor();
  return dxacDefault;
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinColorPalettes)

TdxSkinColorPalettes::TdxSkinColorPalettes(TPersistent* AOwner, const String& AName)
    : TdxSkinCustomListProperty(AOwner, AName), FDefaultColorClass(TdxSkinColor::StaticClass()) {}

TdxSkinProperties* TdxSkinColorPalettes::CreateProperties() {
  TdxSkinProperties* AResult = TdxSkinCustomListProperty::CreateProperties();
  AResult->SetKind(plkPalettes);
  return AResult;
}

TdxSkinColorPalette* TdxSkinColorPalettes::Add(const String& AName) {
  return static_cast<TdxSkinColorPalette*>(
      FProperties->Add(AName, TdxSkinColorPalette::StaticClass()));
}

TdxSkinColorPalette* TdxSkinColorPalettes::Items(Integer AIndex) const {
  return static_cast<TdxSkinColorPalette*>(FProperties->Items(AIndex));
}

TdxSkinColorPalette* TdxSkinColorPalettes::Find(const String& AName) {
  TdxSkinProperty* AProperty;
  return TdxSkinCustomListProperty::Find(AName, AProperty)
             ? AsOrNull<TdxSkinColorPalette>(AProperty)
             : nullptr;
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinGeneralColorPalette)

void TdxSkinGeneralColorPalette::AssignCore(TPersistent* Source) {
  inherited::AssignCore(Source);
  if (auto* S = AsOrNull<TdxSkinColorPalette>(Source)) SetName(S->Name());
}

// ---------------------------------------------------------------------------
// Alternate image attributes

IMPLEMENT_CREATABLE_CLASS(TdxSkinAlternateImageAttributes)

TdxSkinAlternateImageAttributes::TdxSkinAlternateImageAttributes(TPersistent* AOwner,
                                                                 const String& AName)
    : TdxSkinProperty(AOwner, AName),
      FBorders(Create<TdxSkinBorders>(this, String(L"Borders"))),
      FBordersInner(Create<TdxSkinBorders>(this, String(L"BordersInner"))),
      FContentOffsets(Create<TcxRect>(this)) {
  FGradientBeginColor.Initialize(this, clNone);
  FGradientEndColor.Initialize(this, clNone);
  FBorders->SetOnChange(MakeEvent<&TdxSkinAlternateImageAttributes::SubChanged>(this));
  FBordersInner->SetOnChange(MakeEvent<&TdxSkinAlternateImageAttributes::SubChanged>(this));
  FContentOffsets->SetOnChange(MakeEvent<&TdxSkinAlternateImageAttributes::OffsetsChanged>(this));
}

TdxSkinAlternateImageAttributes::~TdxSkinAlternateImageAttributes() {
  FreeAndNil(FContentOffsets);
  FreeAndNil(FBordersInner);
  FreeAndNil(FBorders);
}

bool TdxSkinAlternateImageAttributes::Compare(TdxSkinProperty* AProperty) {
  return CompareSameClass(this, AProperty, [this](TdxSkinAlternateImageAttributes* P) {
    return P->FAlpha == FAlpha && P->FGradient == FGradient &&
           P->FGradientBeginColor == FGradientBeginColor &&
           P->FGradientEndColor == FGradientEndColor && FBorders->Compare(P->FBorders) &&
           FBordersInner->Compare(P->FBordersInner) && FContentOffsets->IsEqual(P->FContentOffsets);
  });
}

void TdxSkinAlternateImageAttributes::DataRead(TStream* AStream, Double AVersion) {
  FAlpha = dxSkinReadByteFromStream(AStream);
  FGradient = static_cast<TdxSkinGradientMode>(dxSkinReadByteFromStream(AStream) & 3);
  FGradientBeginColor.Read(AStream, AVersion);
  FGradientEndColor.Read(AStream, AVersion);
  FBorders->DataRead(AStream, AVersion);
  FBordersInner->DataRead(AStream, AVersion);
  FContentOffsets->SetRect(dxSkinReadRectFromStream(AStream));
}

void TdxSkinAlternateImageAttributes::DataWrite(TStream* AStream) {
  dxSkinWriteByteToStream(AStream, FAlpha);
  dxSkinWriteByteToStream(AStream, static_cast<Byte>(FGradient));
  FGradientBeginColor.Write(AStream);
  FGradientEndColor.Write(AStream);
  FBorders->DataWrite(AStream);
  FBordersInner->DataWrite(AStream);
  dxSkinWriteRectToStream(AStream, FContentOffsets->Rect());
}

void TdxSkinAlternateImageAttributes::FlushCache() {
  FGradientBeginColor.FlushCache();
  FGradientEndColor.FlushCache();
  FBorders->FlushCache();
  FBordersInner->FlushCache();
}

void TdxSkinAlternateImageAttributes::SetAlpha(Byte AValue) { SetContentField(FAlpha, AValue); }

void TdxSkinAlternateImageAttributes::SetGradient(TdxSkinGradientMode AValue) {
  SetContentField(FGradient, AValue);
}

bool TdxSkinAlternateImageAttributes::IsAlphaUsed() const {
  return FAlpha != 255 || FContentOffsets->Rect() != TRect{};
}

void TdxSkinAlternateImageAttributes::Draw(TdxGPCanvas* ACanvas, const TRect& R) {
  const TRect R1 = cxRectContent(R, FContentOffsets->Rect());
  TdxSkinRender::FillRectByGradient(ACanvas, R1, GradientBeginColor(), GradientEndColor(),
                                    FGradient, FAlpha);
  FBorders->Draw(ACanvas, R1);
  FBordersInner->Draw(ACanvas, cxRectContent(R1, FBorders->ContentMargins()));
}

void TdxSkinAlternateImageAttributes::AssignCore(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxSkinAlternateImageAttributes>(Source)) {
    SetAlpha(S->FAlpha);
    FBorders->Assign(S->FBorders);
    FBordersInner->Assign(S->FBordersInner);
    FContentOffsets->Assign(S->FContentOffsets);
    SetGradient(S->FGradient);
    FGradientBeginColor.Assign(S->FGradientBeginColor);
    FGradientEndColor.Assign(S->FGradientEndColor);
  } else {
    inherited::AssignCore(Source);
  }
}

String dxSkinGetAlternateImageAttrsPropertyName(TdxSkinElementState AState, Integer AImageIndex) {
  return L"AlternateImage" + IntToStr(AImageIndex + 1) + dxSkinElementStateNames[AState];
}

// ===========================================================================
// Module start-up
// ===========================================================================

TdxSkinElement* dxSkinEmptyElement() { return FEmptyElement; }

namespace {
void SkinsInitialize() {
  if (FEmptyElement) return;
  RegisterClass(TdxSkinControlGroup::StaticClass());
  RegisterClass(TdxSkinElement::StaticClass());
  RegisterClass(TdxSkinImage::StaticClass());
  RegisterClass(TdxSkinColorPalette::StaticClass());
  RegisterClass(TdxSkinAlphaColor::StaticClass());
  for (TClass AClass :
       {TdxSkinAlternateImageAttributes::StaticClass(), TdxSkinBooleanProperty::StaticClass(),
        TdxSkinColor::StaticClass(), TdxSkinColorPalettes::StaticClass(),
        TdxSkinIntegerProperty::StaticClass(), TdxSkinRectProperty::StaticClass(),
        TdxSkinSizeProperty::StaticClass(), TdxSkinStringProperty::StaticClass(),
        TdxSkinWideStringProperty::StaticClass()})
    TdxSkinProperty::Register(AClass);
  FEmptyElement = Create<TdxSkinEmptyElement>(nullptr, String());
  if (CheckGdiPlus(false)) CheckPngCodec();
}

void SkinsFinalize() {
  if (!FEmptyElement && !FRegisteredPropertyTypes) return;
  UnRegisterClass(TdxSkinControlGroup::StaticClass());
  UnRegisterClass(TdxSkinElement::StaticClass());
  UnRegisterClass(TdxSkinImage::StaticClass());
  UnRegisterClass(TdxSkinColorPalette::StaticClass());
  UnRegisterClass(TdxSkinAlphaColor::StaticClass());
  for (TClass AClass :
       {TdxSkinAlternateImageAttributes::StaticClass(), TdxSkinBooleanProperty::StaticClass(),
        TdxSkinColor::StaticClass(), TdxSkinColorPalettes::StaticClass(),
        TdxSkinIntegerProperty::StaticClass(), TdxSkinRectProperty::StaticClass(),
        TdxSkinSizeProperty::StaticClass(), TdxSkinStringProperty::StaticClass(),
        TdxSkinWideStringProperty::StaticClass()})
    TdxSkinProperty::Unregister(AClass);
  FreeAndNil(FEmptyElement);
}
}  // namespace

void dxSkinsCore_Initialize() {
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->AddUnit(&SkinsInitialize, &SkinsFinalize);
}

void dxSkinsCore_Finalize() {
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->RemoveUnit(&SkinsFinalize);
}
