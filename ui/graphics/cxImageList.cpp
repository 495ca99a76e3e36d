#include "cxImageList.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#include "cxClasses.h"
#include "cxLibraryStrs.h"

const TResStringRec sdxInvalidGraphicClass{nullptr, IDS_sdxInvalidGraphicClass};
const TResStringRec sdxGraphicCannotBeResized{nullptr, IDS_sdxGraphicCannotBeResized};

namespace {

void AddImageListResourceStringNames(TdxProductResourceStrings* AProduct) {
  AProduct->Add(L"sdxInvalidGraphicClass", &sdxInvalidGraphicClass);
  AProduct->Add(L"sdxGraphicCannotBeResized", &sdxGraphicCannotBeResized);
}

bool IsVectorImage(TGraphic* AImage) {
  return AImage && Supports(AImage, __uuidof(IdxVectorImage));
}

// An update of the list for the length of a scope: the change is told when
// the scope ends normally; when it ends by an exception the lock is only
// dropped, and the error goes on.
class TListUpdate {
 public:
  explicit TListUpdate(TcxCustomImageList* AList)
      : FList(AList), FExceptions(std::uncaught_exceptions()) {
    FList->BeginUpdate();
  }
  ~TListUpdate() noexcept(false) {
    if (std::uncaught_exceptions() > FExceptions)
      FList->CancelUpdate();
    else
      FList->EndUpdate();
  }
  TListUpdate(const TListUpdate&) = delete;
  TListUpdate& operator=(const TListUpdate&) = delete;

 private:
  TcxCustomImageList* FList;
  int FExceptions;
};

// A monochrome bitmap handle whose bits are all 0: a mask that hides
// nothing.
class TEmptyMask {
 public:
  TEmptyMask(Integer AWidth, Integer AHeight) {
    std::vector<Byte> Zeros(static_cast<size_t>((AWidth + 15) / 16 * 2) * AHeight, 0);
    FHandle = CreateBitmap(AWidth, AHeight, 1, 1, Zeros.data());
  }
  ~TEmptyMask() {
    if (FHandle) DeleteObject(FHandle);
  }
  TEmptyMask(const TEmptyMask&) = delete;
  TEmptyMask& operator=(const TEmptyMask&) = delete;
  HBITMAP Handle() const { return FHandle; }

 private:
  HBITMAP FHandle;
};

// The platform reads a bitmap that no device context holds.
HBITMAP ReadableHandle(TBitmap* ABitmap) {
  if (!ABitmap) return nullptr;
  ABitmap->Dormant();
  return ABitmap->Handle();
}

// An area of a bitmap handle as a new 32-bit bitmap. The handle may belong
// to a platform image list and be selected into its device context, so it
// is read, not selected.
TBitmap* ReadBitmapArea(HBITMAP ABitmap, const TRect& AArea) {
  BITMAP Data{};
  TOwned<TBitmap> Result = MakeOwned<TBitmap>();
  Result->SetPixelFormat(TPixelFormat::pf32bit);
  if (!dxGetBitmapData(ABitmap, Data)) return Result.release();
  TRect Area = AArea;
  Area.left = std::clamp<LONG>(Area.left, 0, Data.bmWidth);
  Area.right = std::clamp<LONG>(Area.right, Area.left, Data.bmWidth);
  Area.top = std::clamp<LONG>(Area.top, 0, Data.bmHeight);
  Area.bottom = std::clamp<LONG>(Area.bottom, Area.top, Data.bmHeight);
  Integer W = Area.right - Area.left, H = Area.bottom - Area.top;
  Result->SetSize(W, H);
  if (W == 0 || H == 0) return Result.release();
  BITMAPINFO Info{};
  dxFillBitmapInfoHeader(Info.bmiHeader, Data.bmWidth, Data.bmHeight, false);
  TRGBColors Rows(static_cast<size_t>(Data.bmWidth) * H);
  // Bottom-up scan lines: the area's lowest row comes first.
  GetDIBits(TMemoryDC(CreateCompatibleDC(nullptr)).Get(), ABitmap,
            static_cast<UINT>(Data.bmHeight - Area.bottom), static_cast<UINT>(H), Rows.data(),
            &Info, DIB_RGB_COLORS);
  for (Integer Y = 0; Y < H; ++Y)
    std::memcpy(Result->ScanLine(H - 1 - Y),
                Rows.data() + static_cast<size_t>(Y) * Data.bmWidth + Area.left,
                static_cast<size_t>(W) * sizeof(RGBQUAD));
  return Result.release();
}

TRect WholeBitmap(HBITMAP ABitmap) {
  BITMAP Data{};
  dxGetBitmapData(ABitmap, Data);
  return TRect{0, 0, Data.bmWidth, Data.bmHeight};
}

// The whole of a bitmap handle into ADest, which takes its size.
void CopyWholeBitmap(TBitmap* ADest, HBITMAP ASource) {
  TOwned<TBitmap> Copy(ReadBitmapArea(ASource, WholeBitmap(ASource)));
  ADest->SetSize(Copy->Width(), Copy->Height());
  cxStretchGraphic(ADest, Copy.get(), false);
}

// An entry's image drawn into ADest, recoloured by APalette when it is a
// smart image.
void StretchEntry(TBitmap* ADest, TGraphic* ASource, bool ASmooth, IdxColorPalette* APalette) {
  auto* Smart = AsOrNull<TdxCustomSmartImage>(ASource);
  if (!APalette || !Smart) {
    cxStretchGraphic(ADest, ASource, ASmooth);
    return;
  }
  cxClearBitmap(ADest);
  Smart->StretchDraw(ADest->Canvas()->Handle(), cxGetImageClientRect(ADest),
                     cxGetImageClientRect(Smart), 255, APalette);
  ADest->SetModified(true);
}

TcxBitmap* NewCellBitmap(Integer AWidth, Integer AHeight, TPixelFormat AFormat) {
  return TcxBitmap::CreateSize(AWidth, AHeight, AFormat);
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxImageInfo
IMPLEMENT_CREATABLE_CLASS(TcxImageInfo)

TcxImageInfo::TcxImageInfo()
    : FImage(Create<TcxBitmap>()), FMask(Create<TcxBitmap>()), FInternalMask(Create<TcxBitmap>()) {}

TcxImageInfo::~TcxImageInfo() {
  FInternalMask.reset();
  FMask.reset();
  FImage.reset();
}

void TcxImageInfo::Assign(TPersistent* Source) {
  if (auto* Info = AsOrNull<TcxImageInfo>(Source)) {
    SetImage(Info->Image());
    SetMask(Info->Mask());
    FMaskColor = Info->MaskColor();
    return;
  }
  inherited::Assign(Source);
}

void TcxImageInfo::SetImage(TGraphic* Value) {
  if (Value) SetImageClass(Value->ClassType());
  FImage->Assign(Value);
  FIsAlphaUsed = bDefault;
}

void TcxImageInfo::SetImageClass(TClass AValue) {
  if (!AValue || (FImage && AValue == FImage->ClassType())) return;
  TOwned<TObject> Instance(AValue->Create(nullptr));
  FImage.reset(As<TGraphic>(Instance.get()));
  Instance.release();
  FIsAlphaUsed = bDefault;
}

String TcxImageInfo::ImageType() {
  if (FImage->Is<TBitmap>()) return L"BMP";
  if (auto* Smart = AsOrNull<TdxCustomSmartImage>(FImage.get()))
    if (TdxSmartImageCodecClass Codec = Smart->ImageCodec()) {
      String Ext = UpperCase(Codec->Ext());
      if (!Ext.empty()) return Ext.substr(1);
    }
  return L"IMG";
}

bool TcxImageInfo::IsAlphaUsed() {
  if (FIsAlphaUsed == bDefault)
    FIsAlphaUsed = dxBooleanToDefaultBoolean(TcxImageInfoHelper::IsAlphaUsed(FImage.get()));
  return FIsAlphaUsed == bTrue;
}

void TcxImageInfo::SetMask(TBitmap* Value) { FMask->Assign(Value); }

void TcxImageInfo::FlushMask() {
  SetMask(nullptr);
  FMaskColor = clNone;
}

bool TcxImageInfo::HasMask() const { return cxColorIsValid(FMaskColor) || !FMask->Empty(); }

bool TcxImageInfo::HasNativeHandle() const { return FImage->Is<TBitmap>(); }

void TcxImageInfo::ConvertTo32Bit() {
  if (HasMask()) {
    TOwned<TcxAlphaBitmap> Buffer(TcxAlphaBitmap::CreateSize(FImage->Width(), FImage->Height()));
    TcxImageInfoHelper::CopyRect(Buffer.get(), Buffer->ClientRect(), FImage.get());
    if (cxColorIsValid(FMaskColor)) {
      Buffer->RecoverTransparency(FMaskColor);
    } else {
      if (!IsAlphaUsed()) Buffer->TransformBitmap(btmSetOpaque);
      if (!FMask->Empty()) {
        // What the mask hides (its white pixels) becomes transparent black.
        if (TRegionHandle Hidden{cxCreateRegionFromBitmap(FMask.get(), clBlack)}) {
          HDC DC = Buffer->Canvas()->Handle();
          SelectClipRgn(DC, Hidden.Get());
          cxClearBitmap(Buffer.get());
          SelectClipRgn(DC, nullptr);
          Buffer->SetModified(true);
        }
      }
    }
    SetImageClass(TBitmap::StaticClass());
    FImage->Assign(Buffer.get());
    FIsAlphaUsed = bDefault;
  }
  FlushMask();
}

void TcxImageInfo::Resize(const TSize& ASize) {
  ConvertTo32Bit();
  TcxImageInfoHelper::Resize(FImage.get(), ASize);
  FIsAlphaUsed = bDefault;
}

void TcxImageInfo::Dormant() {
  if (!FMask->Empty()) FMask->Dormant();
  if (!FImage->Empty()) TcxImageInfoHelper::Dormant(FImage.get());
}

// ---------------------------------------------------------------------------
// TcxImageInfoItem
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxImageInfoItem) {
  P.Property<&TcxImageInfoItem::ImageClass, &TcxImageInfoItem::SetImageClass>(L"ImageClass")
      .Stored<&TcxImageInfoItem::IsImageClassStored>();
  P.Property<&TcxImageInfoItem::Image, &TcxImageInfoItem::SetImage>(L"Image");
  P.Property<&TcxImageInfoItem::Mask, &TcxImageInfoItem::SetMask>(L"Mask");
  P.Property<&TcxImageInfoItem::MaskColor, &TcxImageInfoItem::SetMaskColor>(L"MaskColor")
      .Default(clNone)
      .Idents(&IdentToColor, &ColorToIdent);
}

TcxImageInfoItem::TcxImageInfoItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FImageInfo(Create<TcxImageInfo>()) {}

TcxImageInfoItem::~TcxImageInfoItem() = default;

void TcxImageInfoItem::AfterConstruction() {
  inherited::AfterConstruction();
  if (auto* Owner = AsOrNull<TcxImageInfoCollection>(Collection()))
    SetCompressData(Owner->CompressData());
}

void TcxImageInfoItem::Assign(TPersistent* Source) {
  if (auto* Item = AsOrNull<TcxImageInfoItem>(Source)) {
    FImageInfo->Assign(Item->ImageInfo());
    return;
  }
  inherited::Assign(Source);
}

String TcxImageInfoItem::ImageClass() const {
  return FImageInfo->Image() ? FImageInfo->Image()->ClassName() : String();
}

void TcxImageInfoItem::SetImageClass(const String& AValue) {
  TClass Class = GetClass(AValue);
  if (!Class || !Class->InheritsFrom(TGraphic::StaticClass()))
    throw EdxException(Format(cxGetResourceString(&sdxInvalidGraphicClass), {AValue}));
  TOwned<TObject> Instance(Class->Create(nullptr));
  if (!Instance) throw EdxException(Format(cxGetResourceString(&sdxInvalidGraphicClass), {AValue}));
  SetImage(As<TGraphic>(Instance.get()));
}

bool TcxImageInfoItem::IsImageClassStored() const {
  return FImageInfo->Image() && FImageInfo->Image()->ClassType() != TcxBitmap::StaticClass();
}

bool TcxImageInfoItem::CompressData() const {
  bool Result = FImageInfo->Mask()->CompressData();
  if (auto* Bitmap = AsOrNull<TcxBitmap>(FImageInfo->Image()))
    Result = Result && Bitmap->CompressData();
  return Result;
}

void TcxImageInfoItem::SetCompressData(bool AValue) {
  if (AValue == CompressData()) return;
  if (auto* Bitmap = AsOrNull<TcxBitmap>(FImageInfo->Image())) Bitmap->SetCompressData(AValue);
  FImageInfo->Mask()->SetCompressData(AValue);
}

// ---------------------------------------------------------------------------
// TcxImageInfoCollection
IMPLEMENT_CLASS(TcxImageInfoCollection)

TcxImageInfoCollection::TcxImageInfoCollection(TcxCustomImageList* AImageList)
    : TCollection(TcxImageInfoItem::StaticClass()), FImageList(AImageList) {}

TPersistent* TcxImageInfoCollection::GetOwner() { return FImageList; }

TcxImageInfoItem* TcxImageInfoCollection::Add(TGraphic* AImage, TBitmap* AMask, TColor AMaskColor) {
  auto* Item = static_cast<TcxImageInfoItem*>(TCollection::Add());
  Item->SetImage(AImage);
  Item->SetMask(AMask);
  Item->SetMaskColor(AMaskColor);
  return Item;
}

TcxImageInfoItem* TcxImageInfoCollection::Items(Integer AIndex) const {
  return static_cast<TcxImageInfoItem*>(TCollection::Items(AIndex));
}

void TcxImageInfoCollection::Move(Integer ACurrentIndex, Integer ANewIndex) {
  Items(ACurrentIndex)->SetIndex(ANewIndex);
}

void TcxImageInfoCollection::Delete(Integer AIndex) {
  if (AIndex == -1)
    Clear();
  else
    TCollection::Delete(AIndex);
}

void TcxImageInfoCollection::SetCompressData(bool AValue) {
  if (AValue == FCompressData) return;
  FCompressData = AValue;
  for (Integer I = 0; I < Count(); ++I) Items(I)->SetCompressData(AValue);
}

Integer TcxImageInfoCollection::VectorImageCount() const {
  Integer Result = 0;
  for (Integer I = 0; I < Count(); ++I)
    if (IsVectorImage(Items(I)->Image())) ++Result;
  return Result;
}

// ---------------------------------------------------------------------------
// TcxImageInfoHelper

void TcxImageInfoHelper::CopyRect(TBitmap* ADest, const TRect& ADestRect, TGraphic* ASource) {
  CopyRect(ADest, ADestRect, cxGetImageClientRect(ASource), ASource);
}

void TcxImageInfoHelper::CopyRect(TBitmap* ADest, const TRect& ADestRect, const TRect& ASourceRect,
                                  TGraphic* ASource) {
  if (auto* Bitmap = AsOrNull<TBitmap>(ASource)) {
    ADest->Canvas()->CopyRect(ADestRect, Bitmap->Canvas(), ASourceRect);
  } else if (auto* Smart = AsOrNull<TdxCustomSmartImage>(ASource)) {
    Smart->StretchDraw(ADest->Canvas()->Handle(), ADestRect, ASourceRect, 255, nullptr);
    ADest->SetModified(true);
  }
}

void TcxImageInfoHelper::Dormant(TGraphic* AGraphic) {
  if (auto* Bitmap = AsOrNull<TBitmap>(AGraphic))
    Bitmap->Dormant();
  else if (auto* Smart = AsOrNull<TdxCustomSmartImage>(AGraphic))
    Smart->Dormant();
}

TColor TcxImageInfoHelper::GetDefaultTransparentColor(TGraphic* AImage, TBitmap* AMask) {
  if ((AMask && !AMask->Empty()) || !AImage || !AImage->Is<TBitmap>() || IsAlphaUsed(AImage))
    return clNone;
  return GetPixel(AImage, 0, AImage->Height() - 1);
}

TColor TcxImageInfoHelper::GetPixel(TGraphic* AGraphic, Integer X, Integer Y) {
  if (auto* Bitmap = AsOrNull<TBitmap>(AGraphic)) return Bitmap->Canvas()->Pixels(X, Y);
  return clNone;
}

TPixelFormat TcxImageInfoHelper::GetPixelFormat(TGraphic* AGraphic) {
  if (auto* Bitmap = AsOrNull<TBitmap>(AGraphic)) return Bitmap->PixelFormat();
  if (AGraphic && AGraphic->Is<TMetafile>()) return TPixelFormat::pf24bit;
  return TPixelFormat::pf32bit;
}

bool TcxImageInfoHelper::IsAlphaUsed(TGraphic* AGraphic) {
  if (auto* Bitmap = AsOrNull<TBitmap>(AGraphic)) return dxIsAlphaUsed(Bitmap);
  if (auto* Smart = AsOrNull<TdxCustomSmartImage>(AGraphic)) return Smart->IsAlphaUsed();
  return false;
}

void TcxImageInfoHelper::Resize(TGraphic* AGraphic, const TSize& ASize) {
  if (auto* Smart = AsOrNull<TdxCustomSmartImage>(AGraphic)) {
    Smart->Resize(ASize);
  } else if (auto* Bitmap = AsOrNull<TBitmap>(AGraphic)) {
    TOwned<TcxBitmap32> Resized(TcxBitmap32::CreateSize(ASize.cx, ASize.cy, true));
    cxStretchGraphic(Resized.get(), Bitmap, true);
    Bitmap->Assign(Resized.get());
  } else {
    // Naming the class tells the caller which image could not be fitted.
    throw Exception(Format(cxGetResourceString(&sdxGraphicCannotBeResized),
                           {AGraphic ? AGraphic->ClassName() : String(L"nil")}));
  }
}

// ---------------------------------------------------------------------------
// TcxBaseImageList
IMPLEMENT_PUBLISHED_CLASS(TcxBaseImageList) {
  P.Property<&TcxBaseImageList::SourceDPI, &TcxBaseImageList::SetSourceDPI>(L"SourceDPI")
      .Default(dxDefaultDPI);
}

void TcxBaseImageList::AfterConstruction() {
  inherited::AfterConstruction();
  FSourceDPI = dxDefaultDPI;
}

void TcxBaseImageList::BeforeDestruction() {
  inherited::BeforeDestruction();
  cxBroadcastRemoveNotifications(this);
}

HRESULT STDMETHODCALLTYPE TcxBaseImageList::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxBaseImageList::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxSourceDPI))) {
    *AObj = static_cast<IdxSourceDPI*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TcxBaseImageList::SetSourceDPI(Integer AValue) { FSourceDPI = dxCheckDPIValue(AValue); }

// ---------------------------------------------------------------------------
// TcxCustomImageList
namespace {
const wchar_t* const ColorDepthNames[] = {L"cdDeviceDependent", L"cd4Bit",  L"cd8Bit",
                                          L"cd16Bit",           L"cd24Bit", L"cd32Bit"};
const TEnumInfo ColorDepthInfo = MakeEnumInfo(L"TColorDepth", ColorDepthNames);
}  // namespace

IMPLEMENT_PUBLISHED_CLASS(TcxCustomImageList) {
  P.Property<&TcxCustomImageList::ColorDepth, &TcxCustomImageList::SetColorDepth>(L"ColorDepth",
                                                                                  ColorDepthInfo)
      .Default(cd32Bit);
  P.Property<&TcxCustomImageList::CompressData, &TcxCustomImageList::SetCompressData>(
       L"CompressData")
      .Default(0);
  P.Property<&TcxCustomImageList::GetOnChange, &TcxCustomImageList::SetOnChange>(L"OnChange");
}

TcxCustomImageList::~TcxCustomImageList() = default;

void TcxCustomImageList::Initialize() {
  BeginUpdate();
  inherited::Initialize();
  FImages.reset(Create<TcxImageInfoCollection>(this));
  FAlphaBlending = true;
  SetColorDepth(cd32Bit);
  CancelUpdate();
}

bool TcxCustomImageList::IsLoadingOrDestroying() const {
  TComponentState S = ComponentState();
  return S.Contains(csLoading) || S.Contains(csReading) || S.Contains(csDestroying);
}

void TcxCustomImageList::SetSize(Integer AWidth, Integer AHeight) {
  AWidth = std::max<Integer>(AWidth, 1);
  AHeight = std::max<Integer>(AHeight, 1);
  if (AWidth == Width() && AHeight == Height()) return;
  TListUpdate Update(this);
  Clear();
  inherited::SetSize(AWidth, AHeight);
}

void TcxCustomImageList::SetSourceDPI(Integer AValue) {
  AValue = dxCheckDPIValue(AValue);
  if (AValue == FSourceDPI) return;
  FSourceDPI = AValue;
  Change();
}

bool TcxCustomImageList::CompressData() const { return FImages->CompressData(); }

void TcxCustomImageList::SetCompressData(bool AValue) { FImages->SetCompressData(AValue); }

void TcxCustomImageList::EndUpdate() {
  if (--FLockCount == 0) Change();
}

void TcxCustomImageList::Change() {
  if (ChangeLocked() || IsLoadingOrDestroying()) return;
  TdxImageListPaintCache::InvalidateImageList(this);
  if (Count() == FImages->Count())
    inherited::Change();
  else
    SynchronizeImageInfo();
}

// ---------------------------------------------------------------------------
// Adding

Integer TcxCustomImageList::Add(TGraphic* AImage, TBitmap* AMask) {
  Assert(AImage || AMask, "An image list needs an image or a mask to add");
  TOwned<TBitmap> Converted;
  HBITMAP ImageHandle = nullptr;
  if (auto* Bitmap = AsOrNull<TBitmap>(AImage)) {
    ImageHandle = ReadableHandle(Bitmap);
  } else if (AImage) {
    if (IsVectorImage(AImage)) {
      // A vector image is never cut into cells: it is drawn at the cell size.
      Converted.reset(NewCellBitmap(Width(), Height(), TPixelFormat::pf32bit));
      cxStretchGraphic(Converted.get(), AImage, true);
    } else {
      Converted.reset(cxGetAsBitmap(AImage));
    }
    ImageHandle = ReadableHandle(Converted.get());
  }
  Integer Result;
  if (AMask) {
    Result = ImageList_Add(Handle(), ImageHandle, ReadableHandle(AMask));
  } else {
    // A mask that hides nothing, as wide as the image, so that every cell
    // the platform cuts has one.
    BITMAP Data{};
    dxGetBitmapData(ImageHandle, Data);
    TEmptyMask Mask(std::max<Integer>(Data.bmWidth, Width()),
                    std::max<Integer>(Data.bmHeight, Height()));
    Result = ImageList_Add(Handle(), ImageHandle, Mask.Handle());
  }
  if (!IsSynchronizationLocked() && Result != -1) AddToInternalCollection(AImage, AMask, clNone);
  Change();
  return Result;
}

Integer TcxCustomImageList::AddMasked(TGraphic* AImage, TColor AMaskColor) {
  if (AMaskColor == clNone) return Add(AImage, nullptr);
  TListUpdate Update(this);
  // The platform blackens the masked pixels of what it is given: it gets a
  // copy.
  TOwned<TBitmap> Copy(cxGetAsBitmap(AImage));
  Integer Result =
      ImageList_AddMasked(Handle(), ReadableHandle(Copy.get()), ColorToRGB(AMaskColor));
  if (Result >= Count()) Result = -1;
  if (!IsSynchronizationLocked() && Result != -1)
    AddToInternalCollection(AImage, nullptr, AMaskColor);
  return Result;
}

Integer TcxCustomImageList::AddIcon(TIcon* AIcon) {
  if (!AIcon || AIcon->Empty()) return -1;
  TListUpdate Update(this);
  Integer Result = ImageList_AddIcon(Handle(), AIcon->Handle());
  if (!IsSynchronizationLocked() && Result != -1) {
    TOwned<TcxBitmap> Image(NewCellBitmap(Width(), Height(), TPixelFormat::pf32bit));
    TOwned<TcxBitmap> Mask(NewCellBitmap(Width(), Height(), TPixelFormat::pf1bit));
    GetImageInfo(Handle(), Count() - 1, Image.get(), Mask.get());
    AddToInternalCollection(Image.get(), Mask.get(), clNone);
  }
  return Result;
}

Integer TcxCustomImageList::AddBitmap(TBitmap* AImage, TBitmap* AMask, TColor AMaskColor,
                                      bool AStretch, bool ASmooth) {
  auto Fit = [this, AStretch](TBitmap* ASource, bool ASmoothFit, TColor AFill) {
    TOwned<TcxBitmap32> Copy(TcxBitmap32::CreateSize(ASource->Width(), ASource->Height()));
    Copy->CopyBitmap(ASource);
    Copy->Resize(Width(), Height(), AStretch, ASmoothFit, AFill);
    return Copy;
  };
  auto CellSized = [this](TBitmap* B) { return B->Width() == Width() && B->Height() == Height(); };
  TOwned<TcxBitmap32> Image, Mask;
  TBitmap* UsedImage = AImage;
  TBitmap* UsedMask = AMask;
  if (AImage && !CellSized(AImage)) {
    Image = Fit(AImage, ASmooth && AStretch && AImage->PixelFormat() == TPixelFormat::pf32bit,
                AMaskColor);
    UsedImage = Image.get();
  }
  if (AMask && !AMask->Empty() && !CellSized(AMask)) {
    Mask = Fit(AMask, false, clNone);
    UsedMask = Mask.get();
  }
  if (UsedMask) return Add(UsedImage, UsedMask);
  return AddMasked(UsedImage, AMaskColor);
}

Integer TcxCustomImageList::AddImage(TCustomImageList* AImages, Integer AIndex) {
  if (!AImages || AIndex >= AImages->Count()) return -1;
  Integer Result = Count();
  CopyImages(AImages, AIndex, AIndex);
  return Result;
}

void TcxCustomImageList::AddImages(TCustomImageList* AImages) {
  if (AImages) CopyImages(AImages, 0, -1);
}

void TcxCustomImageList::CopyImages(TCustomImageList* AImages, Integer AStartIndex,
                                    Integer AEndIndex) {
  TListUpdate Update(this);
  auto* Source = AsOrNull<TcxCustomImageList>(AImages);
  TOwned<TcxImageList> Temporary;
  if (!Source) {
    // The cells of another list become entries first.
    Temporary.reset(Create<TcxImageList>(nullptr));
    Temporary->Assign(AImages);
    Source = Temporary.get();
  }
  Integer Last = Source->Images()->Count() - 1;
  if (AEndIndex < 0 || AEndIndex > Last) AEndIndex = Last;
  AStartIndex = std::max<Integer>(AStartIndex, 0);
  for (Integer I = AStartIndex; I <= AEndIndex; ++I) AddImageInfo(Source->GetImageInfo(I));
}

Integer TcxCustomImageList::AddImageInfo(TcxImageInfo* AImageInfo) {
  if (!AImageInfo->Mask()->Empty()) return Add(AImageInfo->Image(), AImageInfo->Mask());
  return AddMasked(AImageInfo->Image(), AImageInfo->MaskColor());
}

void TcxCustomImageList::Assign(TPersistent* Source) {
  auto* Other = AsOrNull<TCustomImageList>(Source);
  if (!Other || Other == this) return;
  TListUpdate Update(this);
  inherited::Assign(Source);
  Clear();
  if (auto* Library = AsOrNull<TcxCustomImageList>(Other)) {
    for (Integer I = 0; I < Library->Images()->Count(); ++I) AddImageInfo(Library->GetImageInfo(I));
    return;
  }
  TOwned<TcxBitmap> Image(NewCellBitmap(Width(), Height(), TPixelFormat::pf32bit));
  TOwned<TcxBitmap> Mask(NewCellBitmap(Width(), Height(), TPixelFormat::pf1bit));
  for (Integer I = 0; I < Other->Count(); ++I) {
    GetImageInfo(Other->Handle(), I, Image.get(), Mask.get());
    Add(Image.get(), Mask.get());
  }
}

void TcxCustomImageList::SetHandle(HIMAGELIST Value) {
  // Value is copied in through a list that only wraps it, and destroyed
  // here, once: the wrapper shares it and leaves it alone.
  struct TDestroyer {
    HIMAGELIST Handle;
    ~TDestroyer() {
      if (Handle) ImageList_Destroy(Handle);
    }
  } Destroyer{Value};
  TOwned<TImageList> Wrapper(Create<TImageList>(nullptr));
  Wrapper->SetShareImages(true);
  Wrapper->SetHandle(Value);
  Assign(Wrapper.get());
}

// ---------------------------------------------------------------------------
// Editing

void TcxCustomImageList::Insert(Integer AIndex, TGraphic* AImage, TBitmap* AMask) {
  if (AIndex < 0 || AIndex > Count()) return;
  TListUpdate Update(this);
  Integer Previous = Count();
  if (Add(AImage, AMask) == -1) return;
  for (Integer I = 0; I < GetImageCount(AImage, Width(), Height()); ++I)
    Move(Previous + I, AIndex + I);
}

void TcxCustomImageList::InsertMasked(Integer AIndex, TGraphic* AImage, TColor AMaskColor) {
  if (AIndex < 0 || AIndex > Count()) return;
  TListUpdate Update(this);
  Integer Previous = Count();
  if (AddMasked(AImage, AMaskColor) == -1) return;
  for (Integer I = 0; I < GetImageCount(AImage, Width(), Height()); ++I)
    Move(Previous + I, AIndex + I);
}

void TcxCustomImageList::InsertIcon(Integer AIndex, TIcon* AIcon) {
  if (AIndex < 0 || AIndex > Count()) return;
  TListUpdate Update(this);
  Integer Added = AddIcon(AIcon);
  if (Added != -1) Move(Added, AIndex);
}

void TcxCustomImageList::Move(Integer ACurIndex, Integer ANewIndex) {
  if (ACurIndex == ANewIndex) return;
  TListUpdate Update(this);
  inherited::Move(ACurIndex, ANewIndex);
  if (!IsSynchronizationLocked()) FImages->Move(ACurIndex, ANewIndex);
}

void TcxCustomImageList::Delete(Integer AIndex) {
  TListUpdate Update(this);
  inherited::Delete(AIndex);
  if (!IsSynchronizationLocked()) FImages->Delete(AIndex);
}

void TcxCustomImageList::Replace(Integer AIndex, TGraphic* AImage, TBitmap* AMask) {
  TListUpdate Update(this);
  Delete(AIndex);
  Insert(AIndex, AImage, AMask);
}

void TcxCustomImageList::ReplaceMasked(Integer AIndex, TGraphic* AImage, TColor AMaskColor) {
  TListUpdate Update(this);
  Delete(AIndex);
  InsertMasked(AIndex, AImage, AMaskColor);
}

void TcxCustomImageList::ReplaceIcon(Integer AIndex, TIcon* AIcon) {
  TListUpdate Update(this);
  Delete(AIndex);
  InsertIcon(AIndex, AIcon);
}

// ---------------------------------------------------------------------------
// Loading

bool TcxCustomImageList::FileLoad(TResType AResType, const String& AName, TColor AMaskColor) {
  TListUpdate Update(this);
  bool Result = inherited::FileLoad(AResType, AName, AMaskColor);
  SynchronizeImageInfo();
  return Result;
}

bool TcxCustomImageList::GetResource(TResType AResType, const String& AName, Integer AWidth,
                                     TLoadResources ALoadFlags, TColor AMaskColor) {
  TListUpdate Update(this);
  bool Result = inherited::GetResource(AResType, AName, AWidth, ALoadFlags, AMaskColor);
  SynchronizeImageInfo();
  return Result;
}

bool TcxCustomImageList::GetInstRes(HINSTANCE AInstance, TResType AResType, const String& AName,
                                    Integer AWidth, TLoadResources ALoadFlags, TColor AMaskColor) {
  TListUpdate Update(this);
  bool Result = inherited::GetInstRes(AInstance, AResType, AName, AWidth, ALoadFlags, AMaskColor);
  SynchronizeImageInfo();
  return Result;
}

bool TcxCustomImageList::GetInstRes(HINSTANCE AInstance, TResType AResType, DWORD AResID,
                                    Integer AWidth, TLoadResources ALoadFlags, TColor AMaskColor) {
  TListUpdate Update(this);
  bool Result = inherited::GetInstRes(AInstance, AResType, AResID, AWidth, ALoadFlags, AMaskColor);
  SynchronizeImageInfo();
  return Result;
}

bool TcxCustomImageList::ResourceLoad(TResType AResType, const String& AName, TColor AMaskColor) {
  TListUpdate Update(this);
  bool Result = inherited::ResourceLoad(AResType, AName, AMaskColor);
  SynchronizeImageInfo();
  return Result;
}

bool TcxCustomImageList::ResInstLoad(HINSTANCE AInstance, TResType AResType, const String& AName,
                                     TColor AMaskColor) {
  TListUpdate Update(this);
  bool Result = inherited::ResInstLoad(AInstance, AResType, AName, AMaskColor);
  SynchronizeImageInfo();
  return Result;
}

bool TcxCustomImageList::LoadImage(HINSTANCE AInstance, const String& AResourceName,
                                   TColor AMaskColor, Integer AWidth, TLoadResources AFlags) {
  static const UINT FlagMap[] = {
      0, LR_DEFAULTSIZE, LR_LOADFROMFILE, LR_LOADMAP3DCOLORS, LR_LOADTRANSPARENT, LR_MONOCHROME};
  UINT Flags = LR_CREATEDIBSECTION;
  for (Integer I = lrDefaultColor; I <= lrMonoChrome; ++I)
    if (AFlags.Contains(static_cast<TLoadResource>(I))) Flags |= FlagMap[I];
  HIMAGELIST Loaded = ImageList_LoadImageW(AInstance, AResourceName.c_str(), AWidth, AllocBy(),
                                           GetImageListColor(AMaskColor), IMAGE_BITMAP, Flags);
  if (!Loaded) return false;
  TOwned<TImageList> Wrapper(Create<TImageList>(this));
  Wrapper->SetHandle(Loaded);
  CopyImages(Wrapper.get());
  return true;
}

// ---------------------------------------------------------------------------
// Reading images back

TcxImageInfo* TcxCustomImageList::GetImageInfo(Integer AIndex) {
  return FImages->Items(AIndex)->ImageInfo();
}

void TcxCustomImageList::CheckImageSize(TBitmap* AImage, Integer AWidth, Integer AHeight) {
  if (AImage->Width() == 0 || AImage->Height() == 0) AImage->SetSize(AWidth, AHeight);
}

void TcxCustomImageList::ReadNativeCell(Integer AIndex, TBitmap* AImage, TBitmap* AMask) {
  GetImageInfo(Handle(), AIndex, AImage, AMask);
}

void TcxCustomImageList::GetImageInfoCore(Integer AIndex, TBitmap* AImage, TBitmap* AMask,
                                          IdxColorPalette* APalette,
                                          TdxDefaultBoolean& AIsAlphaUsed) {
  if (AIndex == -1) {
    ReadNativeCell(-1, AImage, AMask);
    return;
  }
  if (AIndex < 0 || AIndex >= Count() || AIndex >= FImages->Count()) return;
  TcxImageInfo* Info = GetImageInfo(AIndex);
  if (TcxImageInfoHelper::GetPixelFormat(Info->Image()) == TPixelFormat::pf32bit ||
      cxGraphicsPlatform().IsWin9X) {
    if (AImage) {
      CheckImageSize(AImage, Width(), Height());
      StretchEntry(AImage, Info->Image(), !Info->HasMask(), APalette);
      if (AIsAlphaUsed == bDefault) AIsAlphaUsed = dxBooleanToDefaultBoolean(Info->IsAlphaUsed());
    }
    if (AMask) {
      CheckImageSize(AMask, Width(), Height());
      TBitmap* Source = Info->Mask();
      if (Source->Empty()) {
        Source = Info->InternalMask();
        if (Source->Empty()) {
          Info->InternalMask()->SetPixelFormat(TPixelFormat::pf1bit);
          Info->InternalMask()->SetSize(Width(), Height());
          ReadNativeCell(AIndex, nullptr, Info->InternalMask());
        }
      }
      StretchEntry(AMask, Source, false, APalette);
    }
  } else {
    ReadNativeCell(AIndex, AImage, AMask);
  }
  if (Info->HasNativeHandle()) Info->Dormant();
}

void TcxCustomImageList::GetImageInfo(Integer AIndex, TBitmap* AImage, TBitmap* AMask,
                                      IdxColorPalette* APalette) {
  TdxDefaultBoolean Dropped = bFalse;
  GetImageInfoCore(AIndex, AImage, AMask, APalette, Dropped);
}

void TcxCustomImageList::GetImage(Integer AIndex, TBitmap* AImage) {
  GetImageInfo(AIndex, AImage, nullptr, nullptr);
}

void TcxCustomImageList::GetMask(Integer AIndex, TBitmap* AMask) {
  GetImageInfo(AIndex, nullptr, AMask, nullptr);
}

void TcxCustomImageList::GetImage(Integer AIndex, TdxCustomSmartImage* AImage) {
  if (AIndex < 0 || AIndex >= FImages->Count()) return;
  TcxImageInfo* Info = GetImageInfo(AIndex);
  if (TcxImageInfoHelper::GetPixelFormat(Info->Image()) == TPixelFormat::pf32bit) {
    AImage->Assign(Info->Image());
    return;
  }
  TOwned<TcxBitmap> Bitmap(Create<TcxBitmap>());
  GetImageInfo(AIndex, Bitmap.get(), nullptr, nullptr);
  AImage->Assign(Bitmap.get());
}

void TcxCustomImageList::GetImageInfoCore(TCustomImageList* AImages, Integer AIndex,
                                          TBitmap* AImage, TBitmap* AMask,
                                          IdxColorPalette* APalette,
                                          TdxDefaultBoolean& AIsAlphaUsed) {
  if (auto* Library = AsOrNull<TcxCustomImageList>(AImages))
    Library->GetImageInfoCore(AIndex, AImage, AMask, APalette, AIsAlphaUsed);
  else if (AImages)
    GetImageInfo(AImages->Handle(), AIndex, AImage, AMask);
}

void TcxCustomImageList::GetImageInfo(TCustomImageList* AImages, Integer AIndex, TBitmap* AImage,
                                      TBitmap* AMask, IdxColorPalette* APalette) {
  TdxDefaultBoolean Dropped = bFalse;
  GetImageInfoCore(AImages, AIndex, AImage, AMask, APalette, Dropped);
}

void TcxCustomImageList::GetImageInfo(HIMAGELIST AHandle, Integer AIndex, TBitmap* AImage,
                                      TBitmap* AMask) {
  IMAGEINFO Info{};
  if (!AHandle || !ImageList_GetImageInfo(AHandle, AIndex == -1 ? 0 : AIndex, &Info)) return;
  // The two bitmaps belong to the platform's list: they are only read.
  if (AIndex == -1) {
    if (AImage) CopyWholeBitmap(AImage, Info.hbmImage);
    if (AMask) {
      if (Info.hbmMask)
        CopyWholeBitmap(AMask, Info.hbmMask);
      else
        cxClearBitmap(AMask);
    }
    return;
  }
  Integer W = cxRectWidth(Info.rcImage), H = cxRectHeight(Info.rcImage);
  if (AImage) {
    CheckImageSize(AImage, W, H);
    TOwned<TBitmap> Cell(ReadBitmapArea(Info.hbmImage, Info.rcImage));
    cxStretchGraphic(AImage, Cell.get(), !Info.hbmMask);
    if (dxIsAlphaUsed(AImage)) dxCorrectAlphaChannel(AImage);
  }
  if (AMask) {
    if (Info.hbmMask) {
      CheckImageSize(AMask, W, H);
      TOwned<TBitmap> Cell(ReadBitmapArea(Info.hbmMask, Info.rcImage));
      cxStretchGraphic(AMask, Cell.get(), false);
    } else {
      cxClearBitmap(AMask);
    }
  }
}

Integer TcxCustomImageList::GetPixelFormat(HIMAGELIST AHandle) {
  IMAGEINFO Info{};
  BITMAP Data{};
  if (!AHandle || ImageList_GetImageCount(AHandle) == 0 ||
      !ImageList_GetImageInfo(AHandle, 0, &Info) || !dxGetBitmapData(Info.hbmImage, Data))
    return 0;
  return Data.bmBitsPixel;
}

bool TcxCustomImageList::IsEquals(TCustomImageList* AImages1, TCustomImageList* AImages2) {
  if (AImages1->Count() != AImages2->Count()) return false;
  if (AImages1->Count() == 0) return true;
  auto Written = [](TCustomImageList* AImages) {
    TOwned<TMemoryStream> Stream = MakeOwned<TMemoryStream>();
    TStreamAdapter* Adapter = Create<TStreamAdapter>(Stream.get());
    ImageList_Write(AImages->Handle(), Adapter);
    Adapter->Release();
    return Stream;
  };
  TOwned<TMemoryStream> A = Written(AImages1), B = Written(AImages2);
  return A->Size() == B->Size() &&
         std::memcmp(A->Memory(), B->Memory(), static_cast<size_t>(A->Size())) == 0;
}

// ---------------------------------------------------------------------------
// Drawing

void TcxCustomImageList::Draw(TCanvas* ACanvas, const TRect& ARect, Integer AIndex, bool AStretch,
                              bool ASmoothResize, bool AEnabled) {
  DoDrawEx(AIndex, ACanvas, ARect, GetImageListStyle(DrawingStyle(), ImageType()), AStretch,
           ASmoothResize, AEnabled);
}

void TcxCustomImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style,
                                bool Enabled) {
  DoDrawEx(Index, Canvas, TRect{X, Y, X + Width(), Y + Height()}, Style, false, false, Enabled);
}

void TcxCustomImageList::DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex,
                                     TOverlay Overlay, TDrawingStyle ADrawingStyle,
                                     TImageType AImageType, bool Enabled) {
  if (!HandleAllocated()) return;
  // The platform draws overlays; the entries know nothing of them.
  inherited::DoDraw(
      ImageIndex, Canvas, X, Y,
      GetImageListStyle(ADrawingStyle, AImageType) | (INDEXTOOVERLAYMASK(Overlay + 1) & 0xF00),
      Enabled);
}

void TcxCustomImageList::DoDrawEx(Integer AIndex, TCanvas* ACanvas, const TRect& ARect, UINT AStyle,
                                  bool AStretch, bool ASmoothResize, bool AEnabled) {
  if (cxRectWidth(ARect) == Width() && cxRectHeight(ARect) == Height()) AStretch = false;
  TRect Glyph = ARect;
  if (!AStretch) {
    auto FloorHalf = [](Integer V) { return static_cast<Integer>(std::floor(V / 2.0)); };
    Glyph.left = FloorHalf(ARect.left + ARect.right - Width());
    Glyph.top = FloorHalf(ARect.top + ARect.bottom - Height());
    Glyph.right = Glyph.left + Width();
    Glyph.bottom = Glyph.top + Height();
  }
  TcxImageDrawMode Mode = EnabledImageDrawModeMap(AEnabled);
  if (FAlphaBlending) {
    cxDrawImage(ACanvas->Handle(), Glyph, ARect, nullptr, this, AIndex, Mode, ASmoothResize,
                nullptr, clNone, true);
  } else if (AStretch) {
    TOwned<TBitmap> Cell(cxCreateBitmap(Width(), Height(), TPixelFormat::pf24bit));
    inherited::DoDraw(AIndex, Cell->Canvas(), 0, 0, AStyle, AEnabled);
    cxDrawImage(ACanvas->Handle(), Glyph, ARect, Cell.get(), nullptr, -1, Mode, ASmoothResize,
                nullptr, clNone, true);
  } else {
    inherited::DoDraw(AIndex, ACanvas, Glyph.left, Glyph.top, AStyle, AEnabled);
  }
}

// ---------------------------------------------------------------------------
// Entries

bool TcxCustomImageList::CanSplitImage(TGraphic* AImage) {
  if (!AImage || AImage->Empty()) return false;
  Integer W = AImage->Width(), H = AImage->Height();
  if (W == Width() && H == Height()) return false;
  return W % Width() == 0 && H % Height() == 0 && !IsVectorImage(AImage);
}

Integer TcxCustomImageList::GetImageCount(TGraphic* AImage, Integer AWidth, Integer AHeight) {
  if (!CanSplitImage(AImage)) return 1;
  return (AImage->Width() / AWidth) * (AImage->Height() / AHeight);
}

void TcxCustomImageList::AddToInternalCollection(TGraphic* AImage, TBitmap* AMask,
                                                 TColor AMaskColor) {
  if (!CanSplitImage(AImage)) {
    FImages->Add(AImage, AMask, AMaskColor)->ImageInfo()->Dormant();
    return;
  }
  Integer W = Width(), H = Height();
  Integer Columns = AImage->Width() / W, Rows = AImage->Height() / H;
  TOwned<TcxBitmap> Image(NewCellBitmap(W, H, TcxImageInfoHelper::GetPixelFormat(AImage)));
  TOwned<TcxBitmap> Mask;
  bool HasMaskBitmap = AMask && !AMask->Empty();
  if (HasMaskBitmap) Mask.reset(NewCellBitmap(W, H, AMask->PixelFormat()));
  for (Integer Row = 0; Row < Rows; ++Row)
    for (Integer Column = 0; Column < Columns; ++Column) {
      cxClearBitmap(Image.get());
      TRect Source{Column * W, Row * H, (Column + 1) * W, (Row + 1) * H};
      TcxImageInfoHelper::CopyRect(Image.get(), Image->ClientRect(), Source, AImage);
      if (HasMaskBitmap) Mask->Canvas()->CopyRect(Mask->ClientRect(), AMask->Canvas(), Source);
      FImages->Add(Image.get(), Mask.get(), AMaskColor)->ImageInfo()->Dormant();
    }
}

void TcxCustomImageList::DormantImage(Integer AIndex) { GetImageInfo(AIndex)->Dormant(); }

void TcxCustomImageList::SynchronizeImageInfo() {
  TListUpdate Update(this);
  FImages->BeginUpdate();
  struct TEnd {
    TCollection* C;
    ~TEnd() { C->EndUpdate(); }
  } End{FImages.get()};
  FImages->Clear();
  TOwned<TcxBitmap> Image(NewCellBitmap(Width(), Height(), TPixelFormat::pf32bit));
  TOwned<TcxBitmap> Mask(NewCellBitmap(Width(), Height(), TPixelFormat::pf1bit));
  for (Integer I = 0; I < Count(); ++I) {
    ReadNativeCell(I, Image.get(), Mask.get());
    FImages->Add(Image.get(), Mask.get(), clNone)->ImageInfo()->Dormant();
  }
}

void TcxCustomImageList::SynchronizeHandle() {
  TListUpdate Update(this);
  ++FSynchronizationLockCount;
  struct TUnlock {
    Integer& Count;
    ~TUnlock() { --Count; }
  } Unlock{FSynchronizationLockCount};
  Clear();
  for (Integer I = 0; I < FImages->Count();) {
    if (AddImageInfo(GetImageInfo(I)) == -1) {
      FImages->Delete(I);
    } else {
      DormantImage(I);
      ++I;
    }
  }
}

// ---------------------------------------------------------------------------
// Form resources

void TcxCustomImageList::DefineProperties(TFiler* Filer) {
  bool Reading = Filer->Is<TReader>();
  Filer->DefineProperty(L"FormatVersion", MakeEvent<&TcxCustomImageList::ReadFormatVersion>(this),
                        MakeEvent<&TcxCustomImageList::WriteFormatVersion>(this), true);
  // The platform's own data is worth writing only for lists that are mostly
  // vector images, whose entries would otherwise have to be drawn again.
  Filer->DefineBinaryProperty(NativeDataName, MakeEvent<&TcxCustomImageList::ReadNativeData>(this),
                              MakeEvent<&TcxCustomImageList::WriteNativeData>(this),
                              Reading || MulDiv(Count(), 1, 3) < FImages->VectorImageCount());
  Filer->DefineProperty(L"DesignInfo", MakeEvent<&TcxCustomImageList::ReadDesignInfo>(this),
                        MakeEvent<&TcxCustomImageList::WriteDesignInfo>(this), true);
  Filer->DefineProperty(L"ImageInfo", MakeEvent<&TcxCustomImageList::ReadImageInfo>(this),
                        MakeEvent<&TcxCustomImageList::WriteImageInfo>(this), Count() > 0);
  // A resource written before the entries existed has only the platform's
  // data: the entries come from it.
  if (Reading && FFormatVersion == 0) SynchronizeImageInfo();
}

void TcxCustomImageList::ReadFormatVersion(TReader* AReader) {
  FFormatVersion = AReader->ReadInteger();
}

void TcxCustomImageList::WriteFormatVersion(TWriter* AWriter) {
  FFormatVersion = DXILVersion;
  AWriter->WriteInteger(FFormatVersion);
}

void TcxCustomImageList::ReadDesignInfo(TReader* AReader) { SetDesignInfo(AReader->ReadInteger()); }

void TcxCustomImageList::WriteDesignInfo(TWriter* AWriter) { AWriter->WriteInteger(DesignInfo()); }

void TcxCustomImageList::ReadImageInfo(TReader* AReader) {
  FImages->Clear();
  AReader->CheckValue(vaCollection);
  AReader->ReadCollection(FImages.get());
  for (Integer I = 0; I < FImages->Count(); ++I) DormantImage(I);
  if (Count() != FImages->Count()) SynchronizeHandle();
}

void TcxCustomImageList::WriteImageInfo(TWriter* AWriter) {
  AWriter->WriteCollection(FImages.get());
}

void TcxCustomImageList::ReadNativeData(TStream* AStream) { ReadData(AStream); }

void TcxCustomImageList::WriteNativeData(TStream* AStream) { WriteData(AStream); }

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TcxImageList)

void cxImageList_Initialize() {
  RegisterClass(TcxImageList::StaticClass());
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RegisterProduct(cxLibraryProductName, &AddImageListResourceStringNames);
}

void cxImageList_Finalize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->UnRegisterProduct(cxLibraryProductName, &AddImageListResourceStringNames);
  UnRegisterClass(TcxImageList::StaticClass());
}
