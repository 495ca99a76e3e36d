#include "dxSmartImage.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "Clipbrd.h"
#include "SysUtils.h"
#include "cxLibraryStrs.h"
#include "dxHash.h"

const TResStringRec sdxUnsupportedImageFormat{nullptr, IDS_sdxUnsupportedImageFormat};
const TResStringRec sdxOperationNotSupported{nullptr, IDS_sdxOperationNotSupported};
const TResStringRec sdxCodecFailedToExport{nullptr, IDS_sdxCodecFailedToExport};

Word ImageClipboardFormats[dxImageDataFormatCount] = {};

namespace {
// Puts a stream's position back when the scope ends.
class TPositionKeeper {
 public:
  explicit TPositionKeeper(TStream* AStream) : FStream(AStream), FPosition(AStream->Position()) {}
  ~TPositionKeeper() { FStream->SetPosition(FPosition); }
  TPositionKeeper(const TPositionKeeper&) = delete;
  TPositionKeeper& operator=(const TPositionKeeper&) = delete;

 private:
  TStream* FStream;
  Int64 FPosition;
};

std::vector<TdxSmartImageCodecClass>* CodecList = nullptr;

[[noreturn]] void RaiseUnsupportedImageFormat() {
  throw EdxException(cxGetResourceString(&sdxUnsupportedImageFormat));
}

Byte MulDivByte(Integer AValue, Integer AMul, Integer ADiv) {
  return static_cast<Byte>(MulDiv(AValue, AMul, ADiv));
}

void AddSmartImageResourceStringNames(TdxProductResourceStrings* AProduct) {
  AProduct->Add(L"sdxUnsupportedImageFormat", &sdxUnsupportedImageFormat);
  AProduct->Add(L"sdxOperationNotSupported", &sdxOperationNotSupported);
  AProduct->Add(L"sdxCodecFailedToExport", &sdxCodecFailedToExport);
}
}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxSmartImageDataStream)

TdxSmartImageDataStream* TdxSmartImageDataStream::Clone() {
  TOwned<TdxSmartImageDataStream> Result(
      static_cast<TdxSmartImageDataStream*>(ClassType()->Create()));
  if (Size() > 0) Result->WriteBuffer(Memory(), static_cast<Integer>(Size()));
  Result->SetPosition(0);
  return Result.release();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxSmartImageData)

TdxSmartImageData::TdxSmartImageData() = default;
TdxSmartImageData::~TdxSmartImageData() = default;

void TdxSmartImageData::FreeImageData() {
  TRGBColors().swap(FBits);
  FData.reset();
  FSize = TSize{0, 0};
  FNewSize = TSize{0, 0};
}

void TdxSmartImageData::LoadFromBitmap(TBitmap* ABitmap) {
  FreeImageData();
  FTransparent = FTransparent || ABitmap->Transparent();
  FTransparentColor = ABitmap->TransparentColor();
  FTransparentMode = ABitmap->TransparentMode();
  TRGBColors Bits;
  if (!GetBitmapBits(ABitmap, Bits, true)) return;
  FBits.swap(Bits);
  FBitsFormat = ABitmap->AlphaFormat();
  if (FBitsFormat == TAlphaFormat::afIgnored && cxGetBitmapPixelFormat(ABitmap) == 32 &&
      TdxSmartImageHelper::HasAlpha(FBits))
    FBitsFormat = TdxSmartImageHelper::AreColorsPremultiplied(FBits) ? TAlphaFormat::afPremultiplied
                                                                     : TAlphaFormat::afDefined;
  FSize = TSize{ABitmap->Width(), ABitmap->Height()};
  ApplyMask();
}

void TdxSmartImageData::LoadFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                                     TAlphaFormat AAlphaFormat) {
  FreeImageData();
  FBits = ABits;
  FBits.resize(static_cast<size_t>(std::max(0, AWidth)) * std::max(0, AHeight));
  FBitsFormat = AAlphaFormat;
  FSize = TSize{AWidth, AHeight};
  ApplyMask();
}

void TdxSmartImageData::LoadFromStream(TStream* AStream) {
  FreeImageData();
  Int64 Left = AStream->Size() - AStream->Position();
  if (Left <= 0) return;
  FData.reset(Create<TdxSmartImageDataStream>());
  FData->CopyFrom(AStream, Left);
  FData->SetPosition(0);
}

void TdxSmartImageData::Assign(TdxSmartImageData* ASource) {
  if (!ASource || ASource == this) return;
  FBits = ASource->FBits;
  FBitsFormat = ASource->FBitsFormat;
  FSize = ASource->FSize;
  FNewSize = ASource->FNewSize;
  FData.reset(TdxSmartImageDataStream::Clone(ASource->FData.get()));
}

void TdxSmartImageData::ApplyMask() {
  if (FBitsFormat != TAlphaFormat::afIgnored) return;
  Cardinal Key = 0;
  if (FTransparentMode == TTransparentMode::tmFixed) {
    COLORREF C = static_cast<COLORREF>(FTransparentColor);
    Key = (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C);
  } else if (!FBits.empty() && FSize.cy > 0) {
    std::memcpy(&Key, &FBits[static_cast<size_t>(FSize.cy - 1) * FSize.cx], sizeof Key);
  }
  for (RGBQUAD& P : FBits) {
    Cardinal V;
    std::memcpy(&V, &P, sizeof V);
    P.rgbReserved = FTransparent && V == Key ? 0 : 255;
  }
  FBitsFormat = TAlphaFormat::afPremultiplied;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TdxSmartImageCustomHandle)

bool TdxSmartImageCustomHandle::Empty() {
  TSize S = GetSize();
  return S.cx < 1 || S.cy < 1;
}

TdxAlphaState TdxSmartImageCustomHandle::GetAlphaState() {
  if (Empty()) return asNoAlpha;
  return dxGetAlphaState(GetAsBitmapBits());
}

TBitmap* TdxSmartImageCustomHandle::GetAsBitmap() {
  TOwned<TBitmap> Result = MakeOwned<TBitmap>();
  TSize S = GetSize();
  Result->SetSize(S.cx, S.cy);
  if (!Result->Empty()) Draw(Result->Canvas()->Handle(), ClientRect(), ClientRect(), 255, nullptr);
  return Result.release();
}

TRGBColors TdxSmartImageCustomHandle::GetAsBitmapBits() {
  TOwned<TBitmap> B(GetAsBitmap());
  TRGBColors Result;
  GetBitmapBits(B.get(), Result, true);
  return Result;
}

void TdxSmartImageCustomHandle::Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource,
                                     Byte AAlpha, IdxColorPalette* APalette) {
  auto T = [](const TdxRectF& R) {
    return TRect{static_cast<LONG>(R.Left), static_cast<LONG>(R.Top), static_cast<LONG>(R.Right),
                 static_cast<LONG>(R.Bottom)};
  };
  Draw(DC, T(ADest), T(ASource), AAlpha, APalette);
}

IMPLEMENT_CREATABLE_CLASS(TdxSmartImageEmptyHandle)

// ---------------------------------------------------------------------------
TdxSmartImageCodecClass TdxSmartImageCodec::Class() {
  static constexpr TdxSmartImageCodec Codec;
  return &Codec;
}

String TdxSmartImageCodec::Description() const {
  String E = UpperCase(Ext());
  if (!E.empty()) E.erase(0, 1);
  return E + L" graphics from Vosk";
}

void TdxSmartImageCodecsRepository::Register(TdxSmartImageCodecClass ACodec) {
  if (!CodecList) CodecList = new std::vector<TdxSmartImageCodecClass>;
  CodecList->push_back(ACodec);
}

void TdxSmartImageCodecsRepository::Unregister(TdxSmartImageCodecClass ACodec) {
  if (!CodecList) return;
  auto It = std::find(CodecList->begin(), CodecList->end(), ACodec);
  if (It != CodecList->end()) CodecList->erase(It);
  if (CodecList->empty()) {
    delete CodecList;
    CodecList = nullptr;
  }
}

bool TdxSmartImageCodecsRepository::Contains(TdxSmartImageCodecClass ACodec) {
  return CodecList && std::find(CodecList->begin(), CodecList->end(), ACodec) != CodecList->end();
}

Integer TdxSmartImageCodecsRepository::GetCount() {
  return CodecList ? static_cast<Integer>(CodecList->size()) : 0;
}

TdxSmartImageCodecClass TdxSmartImageCodecsRepository::GetItem(Integer Index) {
  if (Index < 0 || Index >= GetCount())
    throw EListError(Format(L"List index out of bounds (%d)", {Index}));
  return (*CodecList)[static_cast<size_t>(Index)];
}

TdxSmartImageCodecClass TdxSmartImageCodecsRepository::GetFormatByID(TdxImageDataFormat ID) {
  for (Integer I = 0; I < GetCount(); ++I)
    if (GetItem(I)->ID() == ID) return GetItem(I);
  return nullptr;
}

TdxSmartImageCodecClass TdxSmartImageCodecsRepository::GetFormatByExt(const String& Ext) {
  if (Ext.empty()) return nullptr;
  for (Integer I = 0; I < GetCount(); ++I)
    if (SameText(GetItem(I)->Ext(), Ext)) return GetItem(I);
  return nullptr;
}

TdxSmartImageCodecClass TdxSmartImageCodecsRepository::GetFormatFromStream(TStream* AStream) {
  for (Integer I = 0; I < GetCount(); ++I)
    if (GetItem(I)->CanLoadStream(AStream)) return GetItem(I);
  return nullptr;
}

bool TdxSmartImageCodecsRepository::GetImageInfo(TStream* AStream, TSize& ASize,
                                                 TdxSmartImageCodecClass& ACodec) {
  Int64 Start = AStream->Position();
  for (Integer I = 0; I < GetCount(); ++I) {
    AStream->SetPosition(Start);
    if (GetItem(I)->GetSize(AStream, ASize)) {
      ACodec = GetItem(I);
      return true;
    }
  }
  AStream->SetPosition(Start);
  return false;
}

bool TdxSmartImageCodecsRepository::GetImageInfo(const String& AFileName, TSize& ASize,
                                                 TdxSmartImageCodecClass& ACodec) {
  TOwned<TFileStream> Stream(Create<TFileStream>(AFileName, fmOpenRead | fmShareDenyNone));
  return GetImageInfo(Stream.get(), ASize, ACodec);
}

bool TdxSmartImageCodecsRepository::GetImageInfo(TdxSmartImageData* AImageData, TSize& ASize,
                                                 TdxSmartImageCodecClass& ACodec) {
  if (AImageData->GetIsEmpty()) return false;
  if (!AImageData->Bits().empty()) {
    for (Integer I = 0; I < GetCount(); ++I)
      if (GetItem(I)->CanLoadFromBits()) {
        ASize = AImageData->Size();
        ACodec = GetItem(I);
        return true;
      }
    return false;
  }
  AImageData->Data()->SetPosition(0);
  return GetImageInfo(AImageData->Data(), ASize, ACodec);
}

bool TdxSmartImageCodecsRepository::Load(TRGBColors& ABits, TAlphaFormat AAlphaFormat,
                                         Integer AWidth, Integer AHeight,
                                         TdxSmartImageCustomHandle*& AHandle) {
  for (Integer I = 0; I < GetCount(); ++I)
    if (GetItem(I)->Load(ABits, AAlphaFormat, AWidth, AHeight, AHandle)) return true;
  return false;
}

bool TdxSmartImageCodecsRepository::Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle) {
  Int64 Start = AStream->Position();
  for (Integer I = 0; I < GetCount(); ++I) {
    if (GetItem(I)->Load(AStream, AHandle)) return true;
    AStream->SetPosition(Start);
  }
  return false;
}

bool TdxSmartImageCodecsRepository::Load(TdxSmartImageData* AImageData,
                                         TdxSmartImageCustomHandle*& AHandle) {
  if (!AImageData->Bits().empty())
    return Load(AImageData->Bits(), AImageData->BitsFormat(), AImageData->Size().cx,
                AImageData->Size().cy, AHandle);
  if (!AImageData->Data()) return false;
  AImageData->Data()->SetPosition(0);
  return Load(AImageData->Data(), AHandle);
}

// ---------------------------------------------------------------------------
TRGBColors TdxSmartImageHelper::AllocColors(Integer AWidth, Integer AHeight, TdxAlphaColor AColor) {
  return TRGBColors(static_cast<size_t>(std::max(0, AWidth)) * std::max(0, AHeight),
                    dxAlphaColorToRGBQuad(AColor));
}

bool TdxSmartImageHelper::AreColorsPremultiplied(const TRGBColors& ABits) {
  return std::all_of(ABits.begin(), ABits.end(), [](const RGBQUAD& P) {
    return P.rgbRed <= P.rgbReserved && P.rgbGreen <= P.rgbReserved && P.rgbBlue <= P.rgbReserved;
  });
}

bool TdxSmartImageHelper::HasAlpha(const TRGBColors& ABits) {
  if (ABits.empty()) return false;
  bool AllZero = true;
  for (const RGBQUAD& P : ABits) {
    if (P.rgbReserved != 0) return true;
    AllZero = AllZero && P.rgbRed == 0 && P.rgbGreen == 0 && P.rgbBlue == 0;
  }
  return AllZero;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxCustomSmartImage)

TdxCustomSmartImage::TdxCustomSmartImage() : FImageData(Create<TdxSmartImageData>()) {}

TdxCustomSmartImage::~TdxCustomSmartImage() {
  // A running animation reads the image; the handle may read the storage.
  FAnimationController.reset();
  FCache.reset();
  FHandle.reset();
  FImageData.reset();
}

void TdxCustomSmartImage::InitSize(Integer AWidth, Integer AHeight, TdxAlphaColor AColor) {
  CreateHandleFromBits(AWidth, AHeight, TdxSmartImageHelper::AllocColors(AWidth, AHeight, AColor),
                       TAlphaFormat::afPremultiplied);
}

void TdxCustomSmartImage::InitFromHBitmap(HBITMAP ABitmap) {
  BITMAP Data;
  if (!dxGetBitmapData(ABitmap, Data)) return;
  TOwned<TBitmap> B = MakeOwned<TBitmap>();
  B->SetPixelFormat(Data.bmBitsPixel == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
  B->SetSize(Data.bmWidth, Data.bmHeight);
  {
    TMemoryDC Source(CreateCompatibleDC(nullptr));
    TSelectObjectGuard Selection(Source.Get(), ABitmap);
    BitBlt(B->Canvas()->Handle(), 0, 0, Data.bmWidth, Data.bmHeight, Source.Get(), 0, 0, SRCCOPY);
  }
  CreateHandleFromBitmap(B.get());
}

void TdxCustomSmartImage::FreeDecodedHandle() {
  FCache.reset();
  FHandle.reset();
}

void TdxCustomSmartImage::FreeHandle() {
  FreeDecodedHandle();
  FImageData->FreeImageData();
}

void TdxCustomSmartImage::FreeCache() { FCache.reset(); }

void TdxCustomSmartImage::Changed(TObject* Sender) {
  FreeCache();
  FAlphaStateAssigned = false;
  TGraphic::Changed(Sender);
}

// ---------------------------------------------------------------------------
// Storing

bool TdxCustomSmartImage::IsBitmapStream(TStream* AStream) {
  TPositionKeeper Keep(AStream);
  Byte Header[14];
  return AStream->Read(Header, sizeof Header) == sizeof Header && Header[0] == 'B' &&
         Header[1] == 'M';
}

void TdxCustomSmartImage::LoadStreamCore(TStream* AStream) {
  FreeHandle();
  if (IsBitmapStream(AStream)) {
    Int64 Start = AStream->Position();
    TOwned<TBitmap> B = MakeOwned<TBitmap>();
    try {
      B->LoadFromStream(AStream);
      CreateHandleFromBitmap(B.get());
      return;
    } catch (const EInvalidGraphic&) {
      // A BMP the framework cannot read (an old core header, say) is kept
      // as it came, for the codecs.
      AStream->SetPosition(Start);
    }
  }
  FImageData->LoadFromStream(AStream);
}

void TdxCustomSmartImage::LoadFromStream(TStream* AStream) {
  LoadStreamCore(AStream);
  Changed(this);
}

void TdxCustomSmartImage::CreateHandleFromBitmap(TBitmap* ABitmap) {
  FreeHandle();
  FImageData->LoadFromBitmap(ABitmap);
}

void TdxCustomSmartImage::CreateHandleFromBits(Integer AWidth, Integer AHeight,
                                               const TRGBColors& ABits, TAlphaFormat AAlphaFormat) {
  FreeHandle();
  FImageData->LoadFromBits(AWidth, AHeight, ABits, AAlphaFormat);
}

void TdxCustomSmartImage::LoadFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                                       bool AHasAlphaChannel) {
  LoadFromBits(AWidth, AHeight, ABits,
               AHasAlphaChannel ? TAlphaFormat::afPremultiplied : TAlphaFormat::afIgnored);
}

void TdxCustomSmartImage::LoadFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                                       TAlphaFormat AAlphaFormat) {
  CreateHandleFromBits(AWidth, AHeight, ABits, AAlphaFormat);
  Changed(this);
}

void TdxCustomSmartImage::SetBitmap(TBitmap* ABitmap) {
  CreateHandleFromBitmap(ABitmap);
  Changed(this);
}

// ---------------------------------------------------------------------------
// Decoding and querying

TdxSmartImageCustomHandle* TdxCustomSmartImage::GetHandle() {
  if (FHandle) return FHandle.get();
  if (FImageData->GetIsEmpty()) {
    FHandle.reset(Create<TdxSmartImageEmptyHandle>());
    return FHandle.get();
  }
  TdxSmartImageCustomHandle* Handle = nullptr;
  if (!TdxSmartImageCodecsRepository::Load(FImageData.get(), Handle)) RaiseUnsupportedImageFormat();
  FHandle.reset(Handle);
  TSize NewSize = FImageData->NewSize();
  if (NewSize.cx > 0 && NewSize.cy > 0) Resize(NewSize);
  return FHandle.get();
}

TSize TdxCustomSmartImage::GetSize() {
  if (FHandle) return FHandle->GetSize();
  if (FImageData->GetIsEmpty()) return TSize{0, 0};
  TSize S = FImageData->NewSize();
  if (S.cx > 0 && S.cy > 0) return S;
  S = FImageData->Size();
  if (S.cx > 0 && S.cy > 0) return S;
  TdxSmartImageCodecClass Codec = nullptr;
  if (TdxSmartImageCodecsRepository::GetImageInfo(FImageData.get(), S, Codec)) {
    FImageData->SetSize(S);
    return S;
  }
  return GetHandle()->GetSize();
}

bool TdxCustomSmartImage::Empty() const {
  // Stored data counts as an image without decoding it, so that bytes that
  // cannot be decoded can still be saved as they came.
  if (FHandle) return FHandle->Empty();
  return FImageData->GetIsEmpty();
}

Integer TdxCustomSmartImage::Width() const {
  return const_cast<TdxCustomSmartImage*>(this)->GetSize().cx;
}

Integer TdxCustomSmartImage::Height() const {
  return const_cast<TdxCustomSmartImage*>(this)->GetSize().cy;
}

TdxAlphaState TdxCustomSmartImage::GetAlphaState() {
  if (!FAlphaStateAssigned) {
    FAlphaState = GetHandle()->GetAlphaState();
    FAlphaStateAssigned = true;
  }
  return FAlphaState;
}

bool TdxCustomSmartImage::Transparent() const {
  return const_cast<TdxCustomSmartImage*>(this)->GetAlphaState() != asOpaque;
}

TdxSmartImageCodecClass TdxCustomSmartImage::ImageCodec() {
  TdxSmartImageCustomHandle* H = GetHandle();
  IdxImageDataFormatEx* Ex = nullptr;
  if (H->GetInterface(__uuidof(IdxImageDataFormatEx), reinterpret_cast<void**>(&Ex)) && Ex)
    return Ex->GetImageCodec();
  IdxImageDataFormat* F = nullptr;
  if (H->GetInterface(__uuidof(IdxImageDataFormat), reinterpret_cast<void**>(&F)) && F)
    return TdxSmartImageCodecsRepository::GetFormatByID(F->GetImageFormat());
  return nullptr;
}

TdxImageDataFormat TdxCustomSmartImage::ImageDataFormat() {
  TdxSmartImageCustomHandle* H = GetHandle();
  IdxImageDataFormatEx* Ex = nullptr;
  if (H->GetInterface(__uuidof(IdxImageDataFormatEx), reinterpret_cast<void**>(&Ex)) && Ex)
    return Ex->GetImageCodec()->ID();
  IdxImageDataFormat* F = nullptr;
  if (H->GetInterface(__uuidof(IdxImageDataFormat), reinterpret_cast<void**>(&F)) && F)
    return F->GetImageFormat();
  return dxImageUnknown;
}

void TdxCustomSmartImage::SetImageCodec(TdxSmartImageCodecClass AValue) {
  if (AValue == ImageCodec()) return;
  TOwned<TMemoryStream> Stream = MakeOwned<TMemoryStream>();
  SaveToStreamByCodec(Stream.get(), AValue);
  Stream->SetPosition(0);
  LoadFromStream(Stream.get());
}

void TdxCustomSmartImage::SetImageDataFormat(TdxImageDataFormat AValue) {
  SetImageCodec(TdxSmartImageCodecsRepository::GetFormatByID(AValue));
}

TBitmap* TdxCustomSmartImage::GetAsBitmap() { return GetHandle()->GetAsBitmap(); }

TRGBColors TdxCustomSmartImage::GetBitmapBits() { return GetHandle()->GetAsBitmapBits(); }

bool TdxCustomSmartImage::Compare(TdxCustomSmartImage* AImage) {
  if (!AImage) return false;
  if (AImage == this) return true;
  TdxSmartImageCustomHandle* A = GetHandle();
  TdxSmartImageCustomHandle* B = AImage->GetHandle();
  if (A->GetSize() != B->GetSize()) return false;
  if (A->Empty() || B->Empty()) return true;
  TRGBColors PA = A->GetAsBitmapBits(), PB = B->GetAsBitmapBits();
  return PA.size() == PB.size() &&
         std::memcmp(PA.data(), PB.data(), PA.size() * sizeof(RGBQUAD)) == 0;
}

bool TdxCustomSmartImage::Equals(TGraphic* AGraphic) {
  if (auto* Image = AsOrNull<TdxCustomSmartImage>(AGraphic)) return Compare(Image);
  return TGraphic::Equals(AGraphic);
}

Cardinal TdxCustomSmartImage::GetHashCode() {
  if (Empty()) return 0;
  TRGBColors Bits = GetBitmapBits();
  return dxCRC32(Bits.data(), Bits.size() * sizeof(RGBQUAD));
}

// ---------------------------------------------------------------------------
// Saving

void TdxCustomSmartImage::SaveToStream(TStream* AStream) {
  if (!Empty() && !FHandle && FImageData->Data()) {
    FImageData->Data()->SetPosition(0);
    AStream->CopyFrom(FImageData->Data(), FImageData->Data()->Size());
    return;
  }
  SaveToStreamByCodec(AStream, ImageDataFormat());
}

void TdxCustomSmartImage::SaveToStreamByCodec(TStream* AStream, TdxImageDataFormat AFormat) {
  SaveToStreamByCodec(AStream, TdxSmartImageCodecsRepository::GetFormatByID(AFormat));
}

void TdxCustomSmartImage::SaveToStreamByCodec(TStream* AStream, TdxSmartImageCodecClass ACodec) {
  if (Empty()) return;
  TOwned<TMemoryStream> Encoded(ExportToStream(ACodec));
  if (Encoded) AStream->CopyFrom(Encoded.get(), Encoded->Size());
}

TMemoryStream* TdxCustomSmartImage::ExportToStream(TdxSmartImageCodecClass ACodec) {
  if (Empty()) return nullptr;
  if (!ACodec) throw EdxException(cxGetResourceString(&sdxOperationNotSupported));
  TdxImageDataFormat DataFormat = ImageDataFormat();
  if (ACodec->ID() == DataFormat && DataFormat != dxImageUnknown && FImageData->Data())
    return TdxSmartImageDataStream::Clone(FImageData->Data());
  TOwned<TMemoryStream> Result(Create<TdxSmartImageDataStream>());
  if (!ACodec->Save(Result.get(), GetHandle()))
    throw EdxException(Format(cxGetResourceString(&sdxCodecFailedToExport),
                              {String(ACodec->ClassName()), static_cast<Integer>(DataFormat)}));
  Result->SetPosition(0);
  return Result.release();
}

void TdxCustomSmartImage::ExportInto(TStream* AStream, TdxSmartImageCodecClass ACodec) {
  if (ACodec)
    SaveToStreamByCodec(AStream, ACodec);
  else
    SaveToStream(AStream);
}

void TdxCustomSmartImage::SaveToFile(const String& AFileName) {
  TdxSmartImageCodecClass Codec =
      TdxSmartImageCodecsRepository::GetFormatByExt(ExtractFileExt(AFileName));
  TOwned<TMemoryStream> Encoded = MakeOwned<TMemoryStream>();
  ExportInto(Encoded.get(), Codec);
  dxCommitToFile(Encoded.get(), AFileName);
}

// ---------------------------------------------------------------------------
// Changing

void TdxCustomSmartImage::Clear() {
  if (!FHandle && FImageData->GetIsEmpty()) return;
  FreeHandle();
  Changed(this);
}

void TdxCustomSmartImage::Resize(Integer AWidth, Integer AHeight) {
  TSize S{AWidth, AHeight};
  if (!FHandle) {
    FImageData->SetNewSize(S);
  } else if (FHandle->Is<TdxSmartImageEmptyHandle>()) {
    CreateHandleFromBits(AWidth, AHeight,
                         TdxSmartImageHelper::AllocColors(AWidth, AHeight, dxacNone),
                         TAlphaFormat::afPremultiplied);
  } else {
    if (FHandle->GetSize() == S) return;
    FHandle->SetSize(S);
    // The stored file no longer matches: later saves encode the handle.
    FImageData->FreeImageData();
  }
  Changed(this);
}

void TdxCustomSmartImage::Scale(Integer M, Integer D) {
  Resize(MulDiv(Width(), M, D), MulDiv(Height(), M, D));
}

void TdxCustomSmartImage::ChangeColor(TColor AColor) {
  if (AColor == clDefault || AColor == clNone || Empty()) return;
  COLORREF C = dxColorToRGB(AColor);
  TRGBColors Bits = GetBitmapBits();
  for (RGBQUAD& P : Bits) {
    P.rgbBlue = MulDivByte(GetBValue(C), P.rgbReserved, 255);
    P.rgbGreen = MulDivByte(GetGValue(C), P.rgbReserved, 255);
    P.rgbRed = MulDivByte(GetRValue(C), P.rgbReserved, 255);
  }
  TSize S = GetSize();
  LoadFromBits(S.cx, S.cy, Bits, TAlphaFormat::afPremultiplied);
}

void TdxCustomSmartImage::SetHandle(TdxSmartImageCustomHandle* AHandle) {
  if (AHandle == GetHandle()) return;
  FreeHandle();
  FHandle.reset(AHandle);
  Changed(this);
}

void TdxCustomSmartImage::ConvertToBitmap() {
  if (Empty()) return;
  TdxImageDataFormat F = ImageDataFormat();
  if (F == dxImageBitmap || F == dxImageMemoryBmp) return;
  TOwned<TBitmap> B(GetAsBitmap());
  SetBitmap(B.get());
}

void TdxCustomSmartImage::Dormant() {
  if (!FHandle) return;
  if (!Empty() && !FImageData->Data()) {
    TOwned<TMemoryStream> Encoded(ExportToStream(ImageCodec()));
    FreeDecodedHandle();
    FImageData->FreeImageData();
    if (Encoded) FImageData->LoadFromStream(Encoded.get());
    return;
  }
  FreeDecodedHandle();
}

void TdxCustomSmartImage::Assign(TPersistent* ASource) {
  if (!ASource) {
    Clear();
  } else if (auto* Image = AsOrNull<TdxCustomSmartImage>(ASource)) {
    if (Image != this) AssignFromSmartImage(Image);
  } else if (auto* Graphic = AsOrNull<TGraphic>(ASource)) {
    AssignFromGraphic(Graphic);
  } else if (ASource->Is<TClipboard>()) {
    PasteFromClipboard();
  } else {
    TGraphic::Assign(ASource);
  }
}

void TdxCustomSmartImage::AssignFromGraphic(TGraphic* AGraphic) {
  if (auto* Bitmap = AsOrNull<TBitmap>(AGraphic)) {
    SetBitmap(Bitmap);
  } else if (AGraphic->Is<TMetafile>()) {
    TOwned<TMemoryStream> Stream = MakeOwned<TMemoryStream>();
    AGraphic->SaveToStream(Stream.get());
    Stream->SetPosition(0);
    LoadFromStream(Stream.get());
  } else if (AGraphic->Is<TIcon>()) {
    TOwned<TBitmap> Bitmap = MakeOwned<TBitmap>();
    Bitmap->Assign(AGraphic);
    SetBitmap(Bitmap.get());
  } else {
    TOwned<TBitmap> Bitmap = MakeOwned<TBitmap>();
    Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    Bitmap->SetSize(AGraphic->Width(), AGraphic->Height());
    Bitmap->Canvas()->Draw(0, 0, AGraphic);
    SetBitmap(Bitmap.get());
  }
}

void TdxCustomSmartImage::AssignTo(TPersistent* ADest) {
  if (auto* Image = AsOrNull<TdxCustomSmartImage>(ADest)) {
    Image->Assign(this);
  } else if (auto* Metafile = AsOrNull<TMetafile>(ADest)) {
    AssignToMetaFile(Metafile);
  } else if (auto* Bitmap = AsOrNull<TBitmap>(ADest)) {
    TOwned<TBitmap> Pixels(GetAsBitmap());
    Bitmap->Assign(Pixels.get());
  } else {
    TGraphic::AssignTo(ADest);
  }
}

void TdxCustomSmartImage::AssignToMetaFile(TMetafile* ADest) {
  TdxSmartImageCodecClass Codec =
      TdxSmartImageCodecsRepository::GetFormatByID(ADest->Enhanced() ? dxImageEmf : dxImageWmf);
  TOwned<TMemoryStream> Stream(ExportToStream(Codec));
  if (!Stream) {
    ADest->Clear();
    return;
  }
  Stream->SetPosition(0);
  ADest->LoadFromStream(Stream.get());
}

void TdxCustomSmartImage::AssignFromSmartImage(TdxCustomSmartImage* AImage) {
  if (AImage->Empty()) {
    Clear();
  } else if (!AImage->FImageData->GetIsEmpty()) {
    FreeHandle();
    FImageData->Assign(AImage->FImageData.get());
    Changed(this);
  } else if (AImage->ImageDataFormat() == dxImageBitmap) {
    TOwned<TBitmap> B(AImage->GetAsBitmap());
    SetBitmap(B.get());
  } else {
    TOwned<TMemoryStream> Stream = MakeOwned<TMemoryStream>();
    AImage->SaveToStream(Stream.get());
    Stream->SetPosition(0);
    LoadFromStream(Stream.get());
  }
}

void TdxCustomSmartImage::LoadFromResource(HINSTANCE AInstance, const String& AResName,
                                           const wchar_t* AResType) {
  if (AResType == RT_BITMAP) {
    TOwned<TBitmap> Bitmap = MakeOwned<TBitmap>();
    Bitmap->LoadFromResourceName(AInstance, AResName);
    SetBitmap(Bitmap.get());
    return;
  }
  TOwned<TResourceStream> Stream(Create<TResourceStream>(AInstance, AResName, AResType));
  LoadFromStream(Stream.get());
}

namespace {
// The bytes of a blob value: a byte array, or a string carrying bytes (a
// binary string, as COM passes bytes as text); nothing for other values.
TBytes BlobBytes(const Variant& AValue) {
  const VARIANT& V = AValue.Var();
  if (V.vt == VT_BSTR) {
    UINT Size = V.bstrVal ? SysStringByteLen(V.bstrVal) : 0;
    const auto* P = reinterpret_cast<const Byte*>(V.bstrVal);
    return Size ? TBytes(P, P + Size) : TBytes();
  }
  if (V.vt != (VT_ARRAY | VT_UI1) || !V.parray || SafeArrayGetDim(V.parray) != 1) return TBytes();
  LONG Low = 0, High = -1;
  SafeArrayGetLBound(V.parray, 1, &Low);
  SafeArrayGetUBound(V.parray, 1, &High);
  if (High < Low) return TBytes();
  void* Data = nullptr;
  if (FAILED(SafeArrayAccessData(V.parray, &Data))) return TBytes();
  const auto* P = static_cast<const Byte*>(Data);
  TBytes Result(P, P + (static_cast<size_t>(High) - Low + 1));
  SafeArrayUnaccessData(V.parray);
  return Result;
}

// A graphic field stores a header before the file: 1, $0100 (16-bit each)
// and the length of what follows (32-bit), little-endian.
constexpr size_t GraphicFieldHeaderSize = 8;
bool HasGraphicFieldHeader(const TBytes& ABytes) {
  if (ABytes.size() < GraphicFieldHeaderSize) return false;
  auto U16 = [&](size_t I) { return static_cast<Word>(ABytes[I] | (ABytes[I + 1] << 8)); };
  Cardinal Count = static_cast<Cardinal>(ABytes[4]) | (static_cast<Cardinal>(ABytes[5]) << 8) |
                   (static_cast<Cardinal>(ABytes[6]) << 16) |
                   (static_cast<Cardinal>(ABytes[7]) << 24);
  return U16(0) == 1 && U16(2) == 0x0100 && Count == ABytes.size() - GraphicFieldHeaderSize;
}
}  // namespace

void TdxCustomSmartImage::LoadFromFieldValue(const Variant& AValue) {
  TBytes Bytes = BlobBytes(AValue);
  if (Bytes.size() < GraphicFieldHeaderSize) return;
  size_t Start = HasGraphicFieldHeader(Bytes) ? GraphicFieldHeaderSize : 0;
  TOwned<TMemoryStream> Stream = MakeOwned<TMemoryStream>();
  if (Bytes.size() > Start)
    Stream->WriteBuffer(Bytes.data() + Start, static_cast<Integer>(Bytes.size() - Start));
  Stream->SetPosition(0);
  LoadFromStream(Stream.get());
}

// ---------------------------------------------------------------------------
// Clipboard

namespace {
// The order in which pasting looks for image data.
const TdxImageDataFormat SupportedFormats[] = {dxImagePng, dxImageGif, dxImageTiff, dxImageJpeg,
                                               dxImageBitmap};

// A global memory block owned until it is handed over.
class TGlobalBlock {
 public:
  explicit TGlobalBlock(SIZE_T ASize) : FHandle(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, ASize)) {
    if (!FHandle) throw EOutOfMemory(L"Out of memory");
  }
  ~TGlobalBlock() {
    if (FHandle) GlobalFree(FHandle);
  }
  TGlobalBlock(const TGlobalBlock&) = delete;
  TGlobalBlock& operator=(const TGlobalBlock&) = delete;
  HGLOBAL Handle() const { return FHandle; }
  HGLOBAL Release() {
    HGLOBAL H = FHandle;
    FHandle = nullptr;
    return H;
  }

 private:
  HGLOBAL FHandle;
};

// The bytes of a global memory block for the length of a scope.
class TGlobalLock {
 public:
  explicit TGlobalLock(HGLOBAL AHandle) : FHandle(AHandle), FData(GlobalLock(AHandle)) {}
  ~TGlobalLock() {
    if (FData) GlobalUnlock(FHandle);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  void* Data() const { return FData; }

 private:
  HGLOBAL FHandle;
  void* FData;
};

// Clipboard data of a GDI kind, deleted unless the clipboard took it.
class TClipboardObject {
 public:
  explicit TClipboardObject(HANDLE AHandle) : FHandle(AHandle) {}
  ~TClipboardObject() {
    if (FHandle) DeleteObject(FHandle);
  }
  TClipboardObject(const TClipboardObject&) = delete;
  TClipboardObject& operator=(const TClipboardObject&) = delete;
  void PutOn(UINT AFormat) {
    if (!FHandle) return;
    Clipboard()->SetAsHandle(AFormat, FHandle);
    FHandle = nullptr;
  }

 private:
  HANDLE FHandle;
};
}  // namespace

bool TdxCustomSmartImage::HasClipboardFormat() {
  for (TdxImageDataFormat F : SupportedFormats)
    if (Word Format = ImageClipboardFormats[F]; Format && IsClipboardFormatAvailable(Format))
      return true;
  return false;
}

bool TdxCustomSmartImage::IsSupportClipboardFormat(Word AFormat) {
  return AFormat != 0 &&
         std::find(std::begin(ImageClipboardFormats), std::end(ImageClipboardFormats), AFormat) !=
             std::end(ImageClipboardFormats);
}

bool TdxCustomSmartImage::AssignFromClipboard() {
  TClipboard* Board = Clipboard();
  for (TdxImageDataFormat F : SupportedFormats) {
    Word Format = ImageClipboardFormats[F];
    if (!Format || !Board->HasFormat(Format)) continue;
    LoadFromClipboardFormat(Format, Board->GetAsHandle(Format), nullptr);
    return true;
  }
  return false;
}

void TdxCustomSmartImage::PasteFromClipboard() {
  TClipboard::TOpened Opened(Clipboard());
  AssignFromClipboard();
}

void TdxCustomSmartImage::LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette) {
  if (AFormat == CF_BITMAP) {
    TOwned<TBitmap> Bitmap = MakeOwned<TBitmap>();
    Bitmap->SetHandleType(TBitmapHandleType::bmDIB);
    Bitmap->LoadFromClipboardFormat(AFormat, AData, APalette);
    Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    SetBitmap(Bitmap.get());
    return;
  }
  if (!IsSupportClipboardFormat(AFormat) || !AData) return;
  TOwned<TMemoryStream> Stream = MakeOwned<TMemoryStream>();
  {
    TGlobalLock Lock(AData);
    if (!Lock.Data()) return;
    Stream->WriteBuffer(Lock.Data(), static_cast<Integer>(GlobalSize(AData)));
  }
  Stream->SetPosition(0);
  LoadFromStream(Stream.get());
}

void TdxCustomSmartImage::SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette) {
  TSize S = GetSize();
  TOwned<TBitmap> Bitmap = MakeOwned<TBitmap>();
  Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  Bitmap->SetSize(S.cx, S.cy);
  Bitmap->Canvas()->Brush()->SetColor(clWhite);
  Bitmap->Canvas()->FillRect(TRect{0, 0, S.cx, S.cy});
  StretchDraw(Bitmap->Canvas()->Handle(), TRect{0, 0, S.cx, S.cy});
  Bitmap->SaveToClipboardFormat(AFormat, AData, APalette);
  // An image kept as a bitmap has no file of its own to offer: CF_BITMAP
  // data must be a bitmap handle, never the bytes of a BMP file.
  Word Own = ImageClipboardFormats[ImageDataFormat()];
  if (Own == 0 || Own == CF_BITMAP) return;
  TClipboardObject BitmapData(AData), PaletteData(APalette);
  AData = nullptr;
  APalette = nullptr;
  BitmapData.PutOn(AFormat);
  PaletteData.PutOn(CF_PALETTE);
  TOwned<TMemoryStream> File = MakeOwned<TMemoryStream>();
  SaveToStream(File.get());
  TGlobalBlock Block(static_cast<SIZE_T>(File->Size()));
  {
    TGlobalLock Lock(Block.Handle());
    if (!Lock.Data()) RaiseLastOSError();
    std::memcpy(Lock.Data(), File->Memory(), static_cast<size_t>(File->Size()));
  }
  AFormat = Own;
  AData = Block.Release();
}

void TdxCustomSmartImage::CopyToClipboard() {
  if (Empty()) return;
  Clipboard()->Assign(this);
}

void TdxCustomSmartImage::CutToClipboard() {
  CopyToClipboard();
  Clear();
}

TdxCustomSmartImage* TdxCustomSmartImage::Clone() {
  TOwned<TdxCustomSmartImage> Result(static_cast<TdxCustomSmartImage*>(ClassType()->Create()));
  Result->Assign(this);
  return Result.release();
}

// ---------------------------------------------------------------------------
// Frames

namespace {
IdxAnimatedImage* AnimatedHandle(TdxSmartImageCustomHandle* AHandle) {
  IdxAnimatedImage* Result = nullptr;
  AHandle->GetInterface(__uuidof(IdxAnimatedImage), reinterpret_cast<void**>(&Result));
  return Result;
}
}  // namespace

Integer TdxCustomSmartImage::ActiveFrame() {
  IdxAnimatedImage* A = AnimatedHandle(GetHandle());
  return A ? A->GetActiveFrame() : 0;
}

void TdxCustomSmartImage::SetActiveFrame(Integer AValue) {
  IdxAnimatedImage* A = AnimatedHandle(GetHandle());
  if (!A) return;
  Integer Count = A->GetAnimationFrameCount();
  Integer Loops = A->GetAnimationLoopCount();
  if (AValue >= Count) {
    bool Stay = FAnimationLoop == bFalse ||
                (FAnimationLoop == bDefault && Loops != 0 && FAnimationLoopIndex >= Loops);
    if (Stay) {
      AValue = std::max(0, Count - 1);
    } else {
      AValue = 0;
      if (FAnimationLoop == bDefault && Loops != 0) ++FAnimationLoopIndex;
    }
  }
  if (AValue == A->GetActiveFrame()) return;
  A->SetActiveFrame(AValue);
  Changed(this);
}

Integer TdxCustomSmartImage::AnimationFrameCount() {
  IdxAnimatedImage* A = AnimatedHandle(GetHandle());
  return A ? A->GetAnimationFrameCount() : 1;
}

Integer TdxCustomSmartImage::AnimationFrameDelay() {
  if (FAnimationFrameDelay != 0) return FAnimationFrameDelay;
  IdxAnimatedImage* A = AnimatedHandle(GetHandle());
  return A ? A->GetAnimationFrameDelay() : 0;
}

void TdxCustomSmartImage::SetAnimationFrameDelay(Integer AValue) {
  AValue = std::max(0, AValue);
  if (AValue == FAnimationFrameDelay) return;
  FAnimationFrameDelay = AValue;
  if (FAnimationController) {
    StopAnimation();
    StartAnimation();
  }
}

bool TdxCustomSmartImage::Animation() {
  return FAnimationController && FAnimationController->GetActive();
}

void TdxCustomSmartImage::SetAnimation(bool AValue) {
  if (!AValue) {
    StopAnimation();
    return;
  }
  // The pages of a TIFF are not frames of an animation.
  if (AnimatedHandle(GetHandle()) && ImageDataFormat() != dxImageTiff) StartAnimation();
}

void TdxCustomSmartImage::StartAnimation() {
  if (FAnimationController || AnimationFrameCount() < 2) return;
  FAnimationController.reset(
      As<TdxSmartImageAnimationController>(ImageAnimationControllerClass()->Create(this)));
  FAnimationController->StartAnimation();
}

void TdxCustomSmartImage::StopAnimation() { FAnimationController.reset(); }

// ---------------------------------------------------------------------------
// Animation controller

namespace {
TClass FAnimationControllerClass = nullptr;
}  // namespace

TClass ImageAnimationControllerClass() {
  return FAnimationControllerClass ? FAnimationControllerClass
                                   : TdxSmartImageAnimationController::StaticClass();
}

void SetImageAnimationControllerClass(TClass AClass) { FAnimationControllerClass = AClass; }

IMPLEMENT_CREATABLE_CLASS(TdxSmartImageAnimationController)

bool TdxSmartImageAnimationController::GetActive() {
  return FImage->AnimationFrameCount() > 1 && IsTimerActive();
}

void TdxSmartImageAnimationController::TimerHandler(TObject*) {
  // Only locals from here on: stopping the animation frees this object.
  TdxCustomSmartImage* Image = FImage;
  DeactivateTimer();
  Integer Previous = Image->ActiveFrame();
  Integer Current = Previous;
  std::exception_ptr Error;
  try {
    Image->SetActiveFrame(Previous + 1);
    Current = Image->ActiveFrame();
  } catch (...) {
    Error = std::current_exception();
  }
  if (Current != Previous)
    ActivateTimer();
  else
    Image->StopAnimation();
  if (Error) std::rethrow_exception(Error);
}

Integer TdxCustomSmartImage::AnimationLoopCount() {
  IdxAnimatedImage* A = AnimatedHandle(GetHandle());
  return A ? A->GetAnimationLoopCount() : 0;
}

// ---------------------------------------------------------------------------
// Drawing

bool TdxCustomSmartImage::CanCreateCache(const TSize& AImageSize, const TSize& ADestSize) {
  return ADestSize.cx < AImageSize.cx && ADestSize.cy < AImageSize.cy &&
         static_cast<Int64>(ADestSize.cx) * ADestSize.cy * 4 <
             static_cast<Int64>(AImageSize.cx) * AImageSize.cy;
}

TdxSmartImageCustomHandle* TdxCustomSmartImage::PrepareCache(const TSize& ADestSize,
                                                             IdxColorPalette* APalette) {
  if (APalette && !IsEqualGUID(APalette->GetID(), FCachePaletteID)) FreeCache();
  if (FCache && FCache->GetSize() == ADestSize) return FCache.get();
  FreeCache();
  if (CanCreateCache(GetHandle()->GetSize(), ADestSize)) {
    FCache.reset(CreateCache(ADestSize));
    if (APalette) FCachePaletteID = APalette->GetID();
  }
  return FCache.get();
}

void TdxCustomSmartImage::StretchDraw(HDC DC, const TRect& ADest, Byte AAlpha,
                                      IdxColorPalette* APalette) {
  if (FUseCache) {
    if (TdxSmartImageCustomHandle* Cache =
            PrepareCache(TSize{ADest.right - ADest.left, ADest.bottom - ADest.top}, APalette)) {
      Cache->Draw(DC, ADest, Cache->ClientRect(), AAlpha, APalette);
      return;
    }
  }
  TdxSmartImageCustomHandle* H = GetHandle();
  H->Draw(DC, ADest, H->ClientRect(), AAlpha, APalette);
}

void TdxCustomSmartImage::StretchDraw(HDC DC, const TRect& ADest, const TRect& ASource, Byte AAlpha,
                                      IdxColorPalette* APalette) {
  GetHandle()->Draw(DC, ADest, ASource, AAlpha, APalette);
}

void TdxCustomSmartImage::StretchDraw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource,
                                      Byte AAlpha, IdxColorPalette* APalette) {
  GetHandle()->Draw(DC, ADest, ASource, AAlpha, APalette);
}

void TdxCustomSmartImage::Draw(TCanvas* ACanvas, const TRect& ARect) {
  StretchDraw(ACanvas->Handle(), ARect, 255, nullptr);
}

bool TdxCustomSmartImage::GetInterface(const IID& AIID, void** AObj) {
  if (TGraphic::GetInterface(AIID, AObj)) return true;
  return GetHandle()->GetInterface(AIID, AObj);
}

// ---------------------------------------------------------------------------

void dxSmartImage_Initialize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RegisterProduct(cxLibraryProductName, &AddSmartImageResourceStringNames);
}

void dxSmartImage_Finalize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->UnRegisterProduct(cxLibraryProductName, &AddSmartImageResourceStringNames);
}
