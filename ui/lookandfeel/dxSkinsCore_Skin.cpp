// Elements, control groups, the skin, and the multi-skin container.
#include <algorithm>

#include "dxGDIPlusAPI.h"
#include "dxSkinsCore.h"

namespace {
template <class T>
struct TUpdateScope {
  T* Object;
  explicit TUpdateScope(T* AObject) : Object(AObject) { Object->BeginUpdate(); }
  ~TUpdateScope() { Object->EndUpdate(); }
};

const wchar_t* const SInvalidStreamFormat = L"Invalid stream format";
}  // namespace

// ===========================================================================
// TdxSkinElement
// ===========================================================================

IMPLEMENT_CREATABLE_CLASS(TdxSkinElement)

TdxSkinElement::TdxSkinElement(TPersistent* AOwner, const String& AName)
    : TdxSkinPersistent(AOwner, AName) {
  FColor.Initialize(this, clDefault);
  FTextColor.Initialize(this, clDefault);
}

void TdxSkinElement::AfterConstruction() {
  inherited::AfterConstruction();
  FImage = Create<TdxSkinImage>(this);
  FImage->SetOnChange(MakeEvent<&TdxSkinElement::ImageChanged>(this));
  FGlyph = Create<TdxSkinImage>(this);
  FGlyph->SetOnChange(MakeEvent<&TdxSkinElement::ImageChanged>(this));
  FContentOffset = Create<TcxRect>(this);
  FContentOffset->SetOnChange(MakeEvent<&TdxSkinElement::ImageChanged>(this));
  FBorders = Create<TdxSkinBorders>(this, String(L"Borders"));
  FBorders->SetOnChange(MakeEvent<&TdxSkinElement::BordersChanged>(this));
  FMinSize = Create<TcxSize>(this);
  FMinSize->SetOnChange(MakeEvent<&TdxSkinElement::ImageChanged>(this));
}

TdxSkinElement::~TdxSkinElement() {
  SetUseCache(false);
  if (FBorders) FBorders->SetOnChange(nullptr);
  FreeAndNil(FMinSize);
  FreeAndNil(FBorders);
  FreeAndNil(FContentOffset);
  FreeAndNil(FGlyph);
  FreeAndNil(FImage);
}

TdxSkinControlGroup* TdxSkinElement::Group() { return As<TdxSkinControlGroup>(GetOwner()); }

Integer TdxSkinElement::ImageCount() const { return FImage->ImageCount(); }
TSize TdxSkinElement::Size() { return FImage->Size(); }
TdxSkinElementStates TdxSkinElement::States() const { return FImage->States(); }

String TdxSkinElement::Path() {
  auto* AGroup = AsOrNull<TdxSkinControlGroup>(GetOwner());
  return AGroup ? AGroup->Name() + L"\\" : String();
}

void TdxSkinElement::SetAlpha(Byte AValue) { SetContentField(FAlpha, AValue); }

void TdxSkinElement::SetUseCache(bool AValue) {
  if (AValue == UseCache()) return;
  if (AValue)
    FCache = Create<TdxSkinElementCacheList>(8);
  else
    FreeAndNil(FCache);
}

void TdxSkinElement::DoChanged(TdxSkinChanges AChanges) {
  if (FCache) FCache->Flush();
  if (AChanges.Contains(scStruct)) FAlternateImageSetDirty = true;
  inherited::DoChanged(AChanges);
}

void TdxSkinElement::FlushCache() {
  inherited::FlushCache();
  FColor.FlushCache();
  FTextColor.FlushCache();
  FBorders->FlushCache();
  FImage->FlushCache();
  FGlyph->FlushCache();
  if (FCache) FCache->Flush();
}

void TdxSkinElement::Dormant() {
  FImage->Dormant();
  FGlyph->Dormant();
  if (FCache) FCache->Flush();
}

TdxSkinAlternateImageAttributes* TdxSkinElement::AddAlternateImageAttributes(
    TdxSkinElementState AState, Integer AImageIndex) {
  return static_cast<TdxSkinAlternateImageAttributes*>(
      AddProperty(dxSkinGetAlternateImageAttrsPropertyName(AState, AImageIndex),
                  TdxSkinAlternateImageAttributes::StaticClass()));
}

bool TdxSkinElement::CanUseAlternateImageSet(TdxSkinElementState AState, Integer AImageIndex,
                                             bool ALowColorsMode,
                                             TdxSkinAlternateImageAttributes*& AStateAttributes) {
  AStateAttributes = nullptr;
  const TdxSkinImageSet ASet = dxSkinsUseImageSet();
  if (!(FImage->Empty() || ASet == imsAlternate || (ALowColorsMode && ASet == imsDefault)))
    return false;
  FImage->CheckState(AState, AImageIndex);
  if (FAlternateImageSetDirty || FAlternateImageSetIndex != AImageIndex) {
    for (Integer S = 0; S < dxSkinElementStateCount; ++S)
      FAlternateImageSet[S] = AsOrNull<TdxSkinAlternateImageAttributes>(
          GetPropertyByName(dxSkinGetAlternateImageAttrsPropertyName(
              static_cast<TdxSkinElementState>(S), AImageIndex)));
    FAlternateImageSetIndex = AImageIndex;
    FAlternateImageSetDirty = false;
  }
  AStateAttributes = FAlternateImageSet[AState];
  return AStateAttributes != nullptr;
}

void TdxSkinElement::DrawCore(TdxGPCanvas* ACanvas, const TRect& ARect,
                              TdxScaleFactor* AScaleFactor, Integer AImageIndex,
                              TdxSkinElementState AState) {
  ACanvas->FillRectangle(ARect, dxColorToAlphaColor(Color(), FAlpha));
  TdxSkinAlternateImageAttributes* AAttributes;
  if (CanUseAlternateImageSet(AState, AImageIndex, ACanvas->IsLowColorsMode(), AAttributes))
    AAttributes->Draw(ACanvas, ARect);
  else
    FImage->DrawEx(ACanvas, ARect, AScaleFactor, AImageIndex, AState);
  FBorders->Draw(ACanvas, ARect);
  FGlyph->DrawEx(ACanvas, cxRectContent(ARect, FContentOffset->Rect()), AScaleFactor, AImageIndex,
                 AState);
}

void TdxSkinElement::DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                            Integer AImageIndex, TdxSkinElementState AState) {
  DrawCore(ACanvas, ARect, AScaleFactor ? AScaleFactor : dxSystemScaleFactor(), AImageIndex,
           AState);
}

void TdxSkinElement::Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                          Integer AImageIndex, TdxSkinElementState AState) {
  if (cxRectIsEmpty(ARect) || !RectVisible(DC, &ARect)) return;
  if (FCache) {
    FCache->DrawElement(DC, this, AState, AImageIndex, AScaleFactor, ARect);
    return;
  }
  TdxGPCustomPaintCanvas* ACanvas = dxGpBeginPaint(DC, ARect);
  struct TEnd {
    TdxGPCustomPaintCanvas*& Canvas;
    ~TEnd() { dxGpEndPaint(Canvas); }
  } AEnd{ACanvas};
  DrawEx(ACanvas, ARect, AScaleFactor, AImageIndex, AState);
}

void TdxSkinElement::Draw(HDC DC, const TRect& ARect, Integer AImageIndex,
                          TdxSkinElementState AState) {
  Draw(DC, ARect, dxSystemScaleFactor(), AImageIndex, AState);
}

void TdxSkinElement::DrawRTL(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                             Integer AImageIndex, TdxSkinElementState AState) {
  if (cxRectIsEmpty(ARect) || !RectVisible(DC, &ARect)) return;
  TdxGPCustomPaintCanvas* ACanvas = dxGpBeginPaint(DC, ARect);
  struct TEnd {
    TdxGPCustomPaintCanvas*& Canvas;
    Integer Offset;
    ~TEnd() {
      Canvas->SetPixelOffsetMode(Offset);
      Canvas->RestoreWorldTransform();
      dxGpEndPaint(Canvas);
    }
  } AEnd{ACanvas, ACanvas->GetPixelOffsetMode()};
  ACanvas->SaveWorldTransform();
  ACanvas->FlipWorldTransform(true, false, (ARect.left + ARect.right) / 2.0f,
                              (ARect.top + ARect.bottom) / 2.0f);
  ACanvas->SetPixelOffsetMode(PixelOffsetModeHalf);
  if (FCache)
    FCache->DrawElement(ACanvas, this, AState, AImageIndex, AScaleFactor, ARect);
  else
    DrawEx(ACanvas, ARect, AScaleFactor, AImageIndex, AState);
}

TSize TdxSkinElement::CalculateMinSize() {
  TSize R = FMinSize->GetSize();
  for (TdxSkinImage* AImage : {FImage, FGlyph})
    if (AImage->Stretch() == smNoResize) {
      const TSize S = AImage->Size();
      R.cx = std::max(R.cx, S.cx);
      R.cy = std::max(R.cy, S.cy);
    }
  return R;
}

TdxSmartImage* TdxSkinElement::GetImage(Integer AImageIndex, const TSize& ASize,
                                        TdxSkinElementState AState, TdxScaleFactor* AScaleFactor) {
  TSize S = ASize;
  if (S.cx == 0 || S.cy == 0) {
    S = CalculateMinSize();
    if (AScaleFactor && AScaleFactor->Assigned()) S = AScaleFactor->Apply(S);
  }
  TOwned<TdxSmartImage> AResult(TdxSmartImage::CreateSize<TdxSmartImage>(S));
  {
    TOwned<TdxGPCanvas> ACanvas(AResult->CreateCanvas());
    DrawEx(ACanvas.get(), TRect{0, 0, S.cx, S.cy}, AScaleFactor, AImageIndex, AState);
  }
  return AResult.release();
}

void TdxSkinElement::SetStateMapping(const std::vector<TdxSkinElementState>& AStateOrder) {
  FImage->SetStateMapping(AStateOrder);
  FGlyph->SetStateMapping(AStateOrder);
}

bool TdxSkinElement::IsAlphaUsed() {
  if (!FImage->Empty()) return !cxColorIsValid(Color()) && FImage->IsAlphaUsed();
  return !(cxColorIsValid(Color()) && FAlpha == 255);
}

TColor TdxSkinElement::GetTextColor(TcxButtonState AState, const String& APropertyPrefix) {
  TColor AResult = clDefault;
  const String AName = dxSkinElementTextColorPropertyNames[AState];
  if (!AName.empty())
    if (TdxSkinProperty* AProperty = GetPropertyByName(APropertyPrefix + AName))
      AResult = As<TdxSkinColor>(AProperty)->Value();
  if (AResult == clDefault)
    AResult = AState == cxbsNormal ? TextColor() : GetTextColor(cxbsNormal, APropertyPrefix);
  return AResult;
}

bool TdxSkinElement::Compare(TdxSkinElement* AElement) {
  return AElement && CompareText(Name(), AElement->Name()) == 0 && Color() == AElement->Color() &&
         FAlpha == AElement->FAlpha && TextColor() == AElement->TextColor() &&
         FMinSize->IsEqual(AElement->FMinSize) &&
         FContentOffset->IsEqual(AElement->FContentOffset) &&
         FBorders->Compare(AElement->FBorders) &&
         PropertyList()->Compare(AElement->PropertyList()) && FImage->Compare(AElement->FImage) &&
         FGlyph->Compare(AElement->FGlyph);
}

void TdxSkinElement::AssignCore(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxSkinElement>(Source)) {
    FImage->Assign(S->FImage);
    FGlyph->Assign(S->FGlyph);
    SetAlpha(S->FAlpha);
    FContentOffset->Assign(S->FContentOffset);
    FBorders->Assign(S->FBorders);
    FMinSize->Assign(S->FMinSize);
    FColor.Assign(S->FColor);
    FTextColor.Assign(S->FTextColor);
    SetUseCache(S->UseCache());
  }
  inherited::AssignCore(Source);
}

void TdxSkinElement::DataRead(TStream* AStream, Double AVersion) {
  FColor.Read(AStream, AVersion);
  FAlpha = dxSkinReadByteFromStream(AStream);
  if (dxSkinVersionHundredths(AVersion) < 110)
    FReadImageCount = dxSkinReadIntegerFromStream(AStream);
  FContentOffset->SetRect(dxSkinReadRectFromStream(AStream));
  FGlyph->DataRead(AStream, AVersion, FReadImageCount);
  FImage->DataRead(AStream, AVersion, FReadImageCount);
  FBorders->DataRead(AStream, AVersion);
  FTextColor.Read(AStream, AVersion);
  FMinSize->SetSize(dxSkinReadSizeFromStream(AStream));
  PropertyList()->DataRead(AStream, AVersion);
}

void TdxSkinElement::DataWrite(TStream* AStream) {
  FColor.Write(AStream);
  dxSkinWriteByteToStream(AStream, FAlpha);
  dxSkinWriteRectToStream(AStream, FContentOffset->Rect());
  FGlyph->DataWrite(AStream);
  FImage->DataWrite(AStream);
  FBorders->DataWrite(AStream);
  FTextColor.Write(AStream);
  dxSkinWriteSizeToStream(AStream, FMinSize->GetSize());
  PropertyList()->DataWrite(AStream);
}

IMPLEMENT_CREATABLE_CLASS(TdxSkinEmptyElement)

void TdxSkinEmptyElement::Draw(HDC DC, const TRect& ARect, TdxScaleFactor*, Integer,
                               TdxSkinElementState) {
  FillRect(DC, &ARect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  TBrushHandle ABrush(CreateSolidBrush(0x0000FF));
  FrameRect(DC, &ARect, ABrush.Get());
}

// ===========================================================================
// Element and group lists
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinElements)

TdxSkinElement* TdxSkinElements::Add(const String& AName, TClass AElementClass) {
  auto* AElement = AsOrNull<TdxSkinElement>(AElementClass->Create(Owner()));
  if (!AElement) throw EdxSkinError(L"Not an element class: " + AElementClass->ClassName());
  AElement->InitName(AName);
  AddItem(AElement);
  return AElement;
}

void TdxSkinElements::SortChildren() {
  for (Integer I = 0; I < Count(); ++I) Items(I)->Sort(true);
}

void TdxSkinElements::DataReadItem(TStream* AStream, Double AVersion) {
  const String AName = dxSkinReadStringFromStream(AStream);
  Add(AName, TdxSkinElement::StaticClass())->DataRead(AStream, AVersion);
}

void TdxSkinElements::DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) {
  dxSkinWriteStringToStream(AStream, AItem->Name());
  AItem->DataWrite(AStream);
}

IMPLEMENT_CLASS(TdxSkinControlGroups)

TdxSkinControlGroup* TdxSkinControlGroups::Add(const String& AName) {
  auto* AGroup = Create<TdxSkinControlGroup>(Owner(), AName);
  AddItem(AGroup);
  return AGroup;
}

void TdxSkinControlGroups::SortChildren() {
  for (Integer I = 0; I < Count(); ++I) Items(I)->Sort(true);
}

void TdxSkinControlGroups::DataReadItem(TStream* AStream, Double AVersion) {
  const String AName = dxSkinReadStringFromStream(AStream);
  Add(AName)->DataRead(AStream, AVersion);
}

void TdxSkinControlGroups::DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) {
  dxSkinWriteStringToStream(AStream, AItem->Name());
  AItem->DataWrite(AStream);
}

// ===========================================================================
// TdxSkinControlGroup
// ===========================================================================

IMPLEMENT_CREATABLE_CLASS(TdxSkinControlGroup)

TdxSkinControlGroup::TdxSkinControlGroup(TPersistent* AOwner, const String& AName)
    : TdxSkinPersistent(AOwner, AName) {
  FElements.reset(
      Create<TdxSkinElements>(this, MakeEvent<&TdxSkinControlGroup::ElementsChanged>(this)));
}

TdxSkinControlGroup::~TdxSkinControlGroup() {
  FElements->SetOnChange(nullptr);
  FElements.reset();
}

TdxSkin* TdxSkinControlGroup::Skin() { return As<TdxSkin>(GetOwner()); }

TdxSkinElement* TdxSkinControlGroup::AddElement(const String& AName) {
  return FElements->Add(AName, TdxSkinElement::StaticClass());
}

TdxSkinElement* TdxSkinControlGroup::AddElementEx(const String& AName, TClass AElementClass) {
  return FElements->Add(AName, AElementClass);
}

void TdxSkinControlGroup::Clear() {
  TUpdateScope<TdxSkinControlGroup> AScope(this);
  inherited::Clear();
  FElements->Clear();
}

void TdxSkinControlGroup::ClearModified() {
  SetModified(false);
  for (Integer I = 0; I < Count(); ++I) Elements(I)->SetModified(false);
}

void TdxSkinControlGroup::Delete(Integer AIndex) { FElements->Delete(AIndex); }

void TdxSkinControlGroup::Dormant() {
  for (Integer I = 0; I < Count(); ++I) Elements(I)->Dormant();
}

void TdxSkinControlGroup::ExchangeElements(Integer AIndex1, Integer AIndex2) {
  FElements->Exchange(AIndex1, AIndex2);
}

TdxSkinElement* TdxSkinControlGroup::GetElementByName(const String& AName) {
  TdxSkinCustomObject* AObject;
  return FElements->Find(AName, AObject) ? static_cast<TdxSkinElement*>(AObject) : nullptr;
}

bool TdxSkinControlGroup::GetElementByName(const String& AName, TdxSkinElement*& AElement) {
  AElement = GetElementByName(AName);
  return AElement != nullptr;
}

void TdxSkinControlGroup::RemoveElement(TdxSkinElement* AElement) { FElements->Remove(AElement); }

void TdxSkinControlGroup::RemoveElementByName(const String& AName) {
  if (TdxSkinElement* AElement = GetElementByName(AName)) RemoveElement(AElement);
}

void TdxSkinControlGroup::SetElement(Integer AIndex, TdxSkinElement* AElement) {
  Elements(AIndex)->Assign(AElement);
}

void TdxSkinControlGroup::Sort(bool ASortChildren) {
  inherited::Sort(ASortChildren);
  FElements->Sort(ASortChildren);
}

void TdxSkinControlGroup::FlushCache() {
  inherited::FlushCache();
  FElements->FlushCache();
}

bool TdxSkinControlGroup::HasMissingElements() const {
  if (State().Contains(sosUnassigned)) return true;
  for (Integer I = 0; I < Count(); ++I)
    if (Elements(I)->State().Contains(sosUnassigned)) return true;
  return false;
}

void TdxSkinControlGroup::AssignCore(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxSkinControlGroup>(Source)) {
    FElements->Clear();
    for (Integer I = 0; I < S->Count(); ++I) {
      TdxSkinElement* ASource = S->Elements(I);
      FElements->Add(ASource->Name(), ASource->ClassType())->Assign(ASource);
    }
  }
  inherited::AssignCore(Source);
}

void TdxSkinControlGroup::DataRead(TStream* AStream, Double AVersion) {
  FElements->DataRead(AStream, AVersion);
  PropertyList()->DataRead(AStream, AVersion);
}

void TdxSkinControlGroup::DataWrite(TStream* AStream) {
  FElements->DataWrite(AStream);
  PropertyList()->DataWrite(AStream);
}

// ===========================================================================
// TdxSkin
// ===========================================================================

IMPLEMENT_CLASS(TdxSkin)

TdxSkin::TdxSkin(const String& AName, bool ALoadOnCreate, HINSTANCE hInst)
    : TdxSkinPersistent(nullptr, AName),
      FInitialName(AName),
      FLoadOnCreate(ALoadOnCreate),
      FInstance(hInst) {}

void TdxSkin::AfterConstruction() {
  inherited::AfterConstruction();
  FDetails = Create<TdxSkinDetails>();
  FDetails->SetName(FInitialName);
  FDetails->SetOnChange(MakeEvent<&TdxSkin::DetailsChanged>(this));
  FColors = Create<TdxSkinColors>(this, MakeEvent<&TdxSkin::ColorsChanged>(this));
  FGroups = Create<TdxSkinControlGroups>(this, MakeEvent<&TdxSkin::GroupsChanged>(this));
  FColorPalette = Create<TdxSkinGeneralColorPalette>(this, String(L"Default"));
  FColorPalettes = Create<TdxSkinColorPalettes>(this, String());
  FColorPalettes->SetOnChange(MakeEvent<&TdxSkin::PalettesChanged>(this));
  if (FLoadOnCreate) LoadFromResource(FInstance);
}

void TdxSkin::BeforeDestruction() {
  FDestroying = true;
  inherited::BeforeDestruction();
}

TdxSkin::~TdxSkin() {
  FDestroying = true;
  FListeners.clear();
  if (FColorPalettes) FColorPalettes->SetOnChange(nullptr);
  FreeAndNil(FColorPalettes);
  FreeAndNil(FColorPalette);
  if (FGroups) FGroups->SetOnChange(nullptr);
  FreeAndNil(FGroups);
  if (FColors) FColors->SetOnChange(nullptr);
  FreeAndNil(FColors);
  if (FDetails) FDetails->SetOnChange(nullptr);
  FreeAndNil(FDetails);
}

bool TdxSkin::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxSkinColorPalette))) {
    *AObj = static_cast<IdxSkinColorPalette*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxColorPalette))) {
    *AObj = static_cast<IdxColorPalette*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

bool STDMETHODCALLTYPE TdxSkin::GetColor(const String& AName, TColor& AColor) {
  TdxSkinProperty* AProperty;
  if (!FColorPalette->Find(AName, AProperty)) return false;
  auto* AColorProperty = AsOrNull<TdxSkinColor>(AProperty);
  if (!AColorProperty) return false;
  AColor = AColorProperty->Value();
  return true;
}

void TdxSkin::DetailsChanged(TObject*) {
  InitName(FDetails->Name());
  Changed({scDetails});
}

void TdxSkin::SetName(const String& AValue) { FDetails->SetName(AValue); }

String TdxSkin::DisplayName() const {
  return FDetails->DisplayName().empty() ? FDetails->Name() : FDetails->DisplayName();
}

TdxSkinColor* TdxSkin::AddColor(const String& AName, TColor AColor) {
  return FColors->Add(AName, AColor);
}

TdxSkinColor* TdxSkin::GetColorByName(const String& AName) {
  TdxSkinCustomObject* AObject;
  return FColors->Find(AName, AObject) ? static_cast<TdxSkinColor*>(AObject) : nullptr;
}

void TdxSkin::ExchangeColors(Integer AIndex1, Integer AIndex2) {
  FColors->Exchange(AIndex1, AIndex2);
}

TdxSkinControlGroup* TdxSkin::AddGroup(const String& AName) { return FGroups->Add(AName); }

TdxSkinControlGroup* TdxSkin::GetGroupByName(const String& AName) {
  TdxSkinCustomObject* AObject;
  return FGroups->Find(AName, AObject) ? static_cast<TdxSkinControlGroup*>(AObject) : nullptr;
}

bool TdxSkin::GetGroupByName(const String& AName, TdxSkinControlGroup*& AGroup) {
  AGroup = GetGroupByName(AName);
  return AGroup != nullptr;
}

void TdxSkin::DeleteGroup(TdxSkinControlGroup* AGroup) { FGroups->Remove(AGroup); }

void TdxSkin::ExchangeGroups(Integer AIndex1, Integer AIndex2) {
  FGroups->Exchange(AIndex1, AIndex2);
}

void TdxSkin::DeleteProperty(TdxSkinProperty* AProperty) {
  if (FColors->TObjectList::IndexOf(AProperty) >= 0)
    FColors->Remove(AProperty);
  else
    inherited::DeleteProperty(AProperty);
}

void TdxSkin::AddListener(IUnknown* AListener) {
  FListeners.push_back(TComPtr<IUnknown>::Borrow(AListener));
}

void TdxSkin::RemoveListener(IUnknown* AListener) {
  auto It = std::find_if(FListeners.begin(), FListeners.end(),
                         [AListener](const TComPtr<IUnknown>& L) { return L.Get() == AListener; });
  if (It != FListeners.end()) FListeners.erase(It);
}

void TdxSkin::NotifyListeners(TdxSkinChanges AChanges) {
  BeginUpdate();
  struct TEnd {
    TdxSkin* Self;
    ~TEnd() { Self->CancelUpdate(); }
  } AEnd{this};
  const std::vector<TComPtr<IUnknown>> AListeners = FListeners;
  for (const TComPtr<IUnknown>& L : AListeners) {
    IdxSkinChangeListener2* L2 = nullptr;
    IdxSkinChangeListener* L1 = nullptr;
    if (SUCCEEDED(
            L->QueryInterface(__uuidof(IdxSkinChangeListener2), reinterpret_cast<void**>(&L2))) &&
        L2) {
      auto AHold = TComPtr<IdxSkinChangeListener2>::Attach(L2);
      L2->SkinChanged(this, AChanges);
    } else if (SUCCEEDED(L->QueryInterface(__uuidof(IdxSkinChangeListener),
                                           reinterpret_cast<void**>(&L1))) &&
               L1) {
      auto AHold = TComPtr<IdxSkinChangeListener>::Attach(L1);
      L1->SkinChanged(this);
    }
  }
}

void TdxSkin::DoChanged(TdxSkinChanges AChanges) {
  if (FDestroying) return;
  FlushCache();
  NotifyListeners(AChanges);
  inherited::DoChanged(AChanges);
}

void TdxSkin::FlushCache() {
  inherited::FlushCache();
  FColorPalette->FlushCache();
  FColors->FlushCache();
  FGroups->FlushCache();
}

void TdxSkin::PalettesChanged(TObject*, TdxSkinChanges AChanges) {
  if (FDestroying) return;
  TUpdateScope<TdxSkin> AScope(this);
  SelectColorPalette(FColorPalette->Name());
  Changed(AChanges);
}

void TdxSkin::SelectColorPalette(const String& AName) {
  TdxSkinColorPalette* APalette = FColorPalettes->Find(AName);
  if (!APalette) APalette = FColorPalettes->Find(L"Default");
  if (!APalette && FColorPalettes->Count() > 0) APalette = FColorPalettes->Items(0);
  if (APalette) {
    FColorPalette->Assign(APalette);
  } else {
    FColorPalette->Clear();
    FColorPalette->SetName(L"Default");
  }
  Changed({scContent});
}

void TdxSkin::SetActiveColorPaletteName(const String& AValue) {
  if (AValue != FColorPalette->Name()) SelectColorPalette(AValue);
}

void TdxSkin::GetGlyphColorPalette(TdxSkinElementState AState, IdxColorPalette*& APalette) {
  if (auto* APalettes =
          AsOrNull<TdxSkinColorPalettes>(GetPropertyByName(L"DefaultGlyphColorPalettes"))) {
    TdxSkinColorPalette* P = APalettes->Find(dxSkinElementStateNames[AState]);
    if (!P && AState != esNormal) P = APalettes->Find(dxSkinElementStateNames[esNormal]);
    APalette = P;
  } else {
    APalette = FColorPalette;
  }
}

bool TdxSkin::HasMissingElements() const {
  for (Integer I = 0; I < GroupCount(); ++I)
    if (Groups(I)->HasMissingElements()) return true;
  return false;
}

void TdxSkin::Clear() {
  TUpdateScope<TdxSkin> AScope(this);
  inherited::Clear();
  FDetails->Clear();
  FColorPalettes->Clear();
  FGroups->Clear();
  FColors->Clear();
}

void TdxSkin::ClearModified() {
  SetModified(false);
  for (Integer I = 0; I < GroupCount(); ++I) Groups(I)->ClearModified();
}

TdxSkin* TdxSkin::Clone(const String& AName) {
  TOwned<TdxSkin> AResult(Create<TdxSkin>(Name()));
  AResult->Assign(this);
  AResult->SetName(AName);
  return AResult.release();
}

void TdxSkin::Dormant() {
  for (Integer I = 0; I < GroupCount(); ++I) Groups(I)->Dormant();
}

void TdxSkin::Sort(bool ASortChildren) {
  inherited::Sort(ASortChildren);
  FColorPalettes->Sort();
  FGroups->Sort(ASortChildren);
  FColors->Sort();
}

void TdxSkin::AssignCore(TPersistent* Source) {
  if (auto* S = AsOrNull<TdxSkin>(Source)) {
    FDetails->Assign(S->FDetails);
    FColors->Assign(S->FColors);
    FGroups->Clear();
    for (Integer I = 0; I < S->GroupCount(); ++I)
      AddGroup(S->Groups(I)->Name())->Assign(S->Groups(I));
    FColorPalettes->Assign(S->FColorPalettes);
    FColorPalette->Assign(S->FColorPalette);
  }
  inherited::AssignCore(Source);
}

void TdxSkin::ReadSkinStream(TStream* AStream) {
  Double AVersion;
  if (!dxSkinCheckSignature(AStream, AVersion)) throw EdxSkinError(SInvalidStreamFormat);
  TUpdateScope<TdxSkin> AScope(this);
  Clear();
  FDetails->DataRead(AStream, AVersion);
  FColors->DataRead(AStream, AVersion);
  PropertyList()->DataRead(AStream, AVersion);
  FGroups->DataRead(AStream, AVersion);
  if (dxSkinVersionHundredths(AVersion) >= 115) FColorPalettes->DataRead(AStream, AVersion);
}

void TdxSkin::LoadFromStream(TStream* AStream) {
  if (!CheckGdiPlus(false)) throw EdxSkinError(L"Skins cannot be loaded: GDI+ is not available");
  // The stream is read into a skin of its own, so that a stream that fails
  // half way leaves this skin as it was.
  TOwned<TdxSkin> ALoaded(Create<TdxSkin>(String()));
  ALoaded->ReadSkinStream(AStream);
  Assign(ALoaded.get());
}

void TdxSkin::SaveToStream(TStream* AStream) {
  dxSkinWriteSignature(AStream);
  FDetails->DataWrite(AStream);
  FColors->DataWrite(AStream);
  PropertyList()->DataWrite(AStream);
  FGroups->DataWrite(AStream);
  FColorPalettes->DataWrite(AStream);
}

void TdxSkin::LoadFromFile(const String& AFileName) {
  TOwned<TFileStream> AStream(Create<TFileStream>(AFileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(AStream.get());
}

void TdxSkin::SaveToFile(const String& AFileName) {
  TOwned<TMemoryStream> AData(Create<TMemoryStream>());
  SaveToStream(AData.get());
  dxCommitToFile(AData.get(), AFileName);
}

void TdxSkin::LoadFromResource(HINSTANCE hInst) {
  TOwned<TResourceStream> AStream(Create<TResourceStream>(hInst, Name(), L"DXSKINS"));
  LoadFromStream(AStream.get());
}

void TdxSkin::LoadFromBinaryFile(const String& AFileName) {
  TOwned<TFileStream> AStream(Create<TFileStream>(AFileName, fmOpenRead | fmShareDenyWrite));
  LoadFromBinaryStream(AStream.get());
}

void TdxSkin::LoadFromBinaryStream(TStream* AStream) {
  TOwned<TdxSkinBinaryReader> AReader(Create<TdxSkinBinaryReader>(AStream));
  if (!AReader->LoadSkin(this, 0)) throw EdxSkinError(SInvalidStreamFormat);
}

void TdxSkin::SaveToBinaryFile(const String& AFileName) {
  TOwned<TMemoryStream> AData(Create<TMemoryStream>());
  SaveToBinaryStream(AData.get());
  dxCommitToFile(AData.get(), AFileName);
}

void TdxSkin::SaveToBinaryStream(TStream* AStream) {
  TOwned<TdxSkinBinaryWriter> AWriter(Create<TdxSkinBinaryWriter>(AStream));
  AWriter->AddSkin(this);
}

// ===========================================================================
// Container
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinBinaryWriter)

TdxSkinBinaryWriter::TdxSkinBinaryWriter(TStream* AStream) : FStream(AStream) {}

void TdxSkinBinaryWriter::AfterConstruction() {
  inherited::AfterConstruction();
  FHeaderPosition = FStream->Position();
  WriteHeader();
}

TdxSkinBinaryWriter::~TdxSkinBinaryWriter() {
  // The header carries the count since the last AddSkin; leave the stream
  // just after it.
  try {
    FStream->SetPosition(FHeaderPosition + 22);
  } catch (...) {
  }
}

void TdxSkinBinaryWriter::WriteHeader() {
  dxSkinWriteSignature(FStream);
  dxSkinWriteIntegerToStream(FStream, FCount);
}

void TdxSkinBinaryWriter::AddSkin(TdxSkin* ASkin) {
  const Int64 ALengthPosition = FStream->Position();
  dxSkinWriteIntegerToStream(FStream, 0);
  ASkin->SaveToStream(FStream);
  const Int64 AEnd = FStream->Position();
  FStream->SetPosition(ALengthPosition);
  dxSkinWriteIntegerToStream(FStream, static_cast<Integer>(AEnd - ALengthPosition - 4));
  ++FCount;
  FStream->SetPosition(FHeaderPosition);
  WriteHeader();
  FStream->SetPosition(AEnd);
}

IMPLEMENT_CLASS(TdxSkinBinaryReader)

TdxSkinBinaryReader::TdxSkinBinaryReader(TStream* AStream) : FStream(AStream) {}

void TdxSkinBinaryReader::AfterConstruction() {
  inherited::AfterConstruction();
  ReadSkinList();
}

TdxSkinBinaryReader::~TdxSkinBinaryReader() = default;

namespace {
// Reads the details of the skin stream in the window; false when it is no
// skin stream or its details do not read.
TOwned<TdxSkinDetails> ReadDetails(TStream* AStream, Int64 AStart, Int64 ALength) {
  TOwned<TdxSkinDetails> ADetails(Create<TdxSkinDetails>());
  TOwned<TdxSkinPartStream> APart(Create<TdxSkinPartStream>(AStream, AStart, AStart + ALength));
  APart->SetPosition(0);
  try {
    if (!ADetails->LoadFromStream(APart.get())) return nullptr;
  } catch (const EReadError&) {
    return nullptr;
  } catch (const EdxSkinError&) {
    return nullptr;
  } catch (const EClassNotFound&) {
    return nullptr;
  }
  return ADetails;
}
}  // namespace

bool TdxSkinBinaryReader::ReadContainer() {
  Double AVersion;
  if (!dxSkinCheckSignature(FStream, AVersion) || dxSkinBytesLeft(FStream) < 4) return false;
  const Integer ACount = dxSkinReadIntegerFromStream(FStream);
  // Every skin takes its length and a signature at least.
  if (ACount < 0 || Int64(ACount) * 22 > dxSkinBytesLeft(FStream)) return false;
  std::vector<TSkinEntry> ASkins;
  for (Integer I = 0; I < ACount; ++I) {
    if (dxSkinBytesLeft(FStream) < 4) return false;
    const Integer ALength = dxSkinReadIntegerFromStream(FStream);
    if (ALength < 18 || ALength > dxSkinBytesLeft(FStream)) return false;
    const Int64 AStart = FStream->Position();
    TOwned<TdxSkinDetails> ADetails = ReadDetails(FStream, AStart, ALength);
    if (!ADetails) return false;
    ADetails->FDataOffset = AStart;
    ASkins.push_back(TSkinEntry{std::move(ADetails), ALength});
    FStream->SetPosition(AStart + ALength);
  }
  // A plain skin stream whose name is empty looks like a container of no
  // skins with bytes after it.
  if (ACount == 0 && dxSkinBytesLeft(FStream) > 0) return false;
  FSkins = std::move(ASkins);
  return true;
}

void TdxSkinBinaryReader::ReadPlainSkin() {
  const Int64 AStart = FStream->Position();
  const Int64 ALength = dxSkinBytesLeft(FStream);
  TOwned<TdxSkinDetails> ADetails = ReadDetails(FStream, AStart, ALength);
  if (!ADetails) return;
  ADetails->FDataOffset = AStart;
  FSkins.push_back(TSkinEntry{std::move(ADetails), ALength});
}

void TdxSkinBinaryReader::ReadSkinList() {
  const Int64 AStart = FStream->Position();
  bool AContainer;
  try {
    AContainer = ReadContainer();
  } catch (const EReadError&) {
    AContainer = false;
  }
  if (AContainer) return;
  FSkins.clear();
  FStream->SetPosition(AStart);
  ReadPlainSkin();
}

Integer TdxSkinBinaryReader::IndexOf(const String& AName) const {
  for (Integer I = 0; I < Count(); ++I)
    if (SameText(SkinName(I), AName) || AnsiSameText(SkinName(I), AName)) return I;
  return -1;
}

bool TdxSkinBinaryReader::LoadSkin(TdxSkin* ASkin, Integer ASkinIndex) {
  if (ASkinIndex < 0 || ASkinIndex >= Count()) return false;
  const Int64 AStart = SkinOffset(ASkinIndex);
  TOwned<TdxSkinPartStream> APart(
      Create<TdxSkinPartStream>(FStream, AStart, AStart + FSkins[ASkinIndex].Length));
  APart->SetPosition(0);
  ASkin->LoadFromStream(APart.get());
  return true;
}

bool TdxSkinBinaryReader::LoadSkin(TdxSkin* ASkin, const String& ASkinName) {
  return LoadSkin(ASkin, ASkinName.empty() ? 0 : IndexOf(ASkinName));
}
